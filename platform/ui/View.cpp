#include "platform/ui/View.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <algorithm>
#include <climits>

#include "platform/StartupMarks.h"
#include "platform/gdi/QtGdi.h"
#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/QtView.h"
#include "platform/ui/detail/WndImpl.h"

struct CView::Surface {
    QPointer<QWidget> widget;
    QImage image;
    QRegion invalid;
    bool erase = false;

    QRect ClientRect() const { return widget ? QRect(QPoint(0, 0), widget->size()) : QRect(); }

    // The surface follows the window's size; a new size is repainted whole.
    void Ensure() {
        if (!widget) return;
        const QSize size = widget->size().expandedTo(QSize(1, 1));
        if (image.size() == size) return;
        QImage grown(size, QImage::Format_RGB32);
        grown.fill(Qt::white);
        image = std::move(grown);
        invalid = QRegion(ClientRect());
        erase = true;
    }
};

// The view's window: shows the surface, and paints the invalid region first, as WM_PAINT does.
class ViewWidget : public QWidget {
public:
    explicit ViewWidget(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        auto* view = dynamic_cast<CView*>(CWnd::FromWidget(this));
        if (!view) return;
        view->PaintInvalid();
        QPainter p(this);
        const QImage& image = view->GetSurface().image;
        p.drawImage(e->rect(), image, e->rect());
        AfxStartupMark("painted");
    }
};

namespace {

// A client context: draws on the view's surface and shows the result when it goes.
class SurfaceClientDC : public CDC {
public:
    explicit SurfaceClientDC(CView::Surface& surface) : m_widget(surface.widget) {
        AttachImage(*this, &surface.image);
    }
    ~SurfaceClientDC() override {
        Flush();
        if (m_widget) m_widget->update();
    }

private:
    QPointer<QWidget> m_widget;
};

CRect ToCRect(const QRect& r) {
    return CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

}  // namespace

// ----- CView ------------------------------------------------------------------------------------

CView::CView() : m_surface(std::make_unique<Surface>()) {}

CView::~CView() = default;

BOOL CView::Create(CWnd* pParent, UINT nID) {
    auto* w = new ViewWidget(pParent ? pParent->GetWidget() : nullptr);
    Attach(w, pParent == nullptr || pParent->GetWidget() == nullptr);
    m_surface->widget = w;
    SetDlgCtrlID(nID);
    if (pParent) pParent->RegisterDlgItem(nID, this);
    EnableMessageTranslation();
    m_surface->Ensure();
    return TRUE;
}

void CView::OnPrepareDC(CDC*, CPrintInfo*) {}

BOOL CView::OnEraseBkgnd(CDC* pDC) {
    CRect r;
    GetClientRect(&r);
    pDC->FillSolidRect(&r, GetSysColor(COLOR_WINDOW));
    return TRUE;
}

void CView::Invalidate(BOOL bErase) {
    InvalidateRect(nullptr, bErase);
}

void CView::InvalidateRect(const CRect* rect, BOOL bErase) {
    Surface& s = *m_surface;
    if (!s.widget) return;
    const QRect client = s.ClientRect();
    QRect r = client;
    if (rect) {
        CRect n = *rect;
        n.NormalizeRect();
        // Clamp before converting: a rectangle far outside must not overflow Qt's int geometry.
        const LONG lim = 1 << 28;
        r = QRect(QPoint(std::clamp<LONG>(n.left, -lim, lim), std::clamp<LONG>(n.top, -lim, lim)),
                  QPoint(std::clamp<LONG>(n.right, -lim, lim) - 1, std::clamp<LONG>(n.bottom, -lim, lim) - 1))
                .intersected(client);
    }
    if (r.isEmpty()) return;
    s.invalid += r;
    s.erase = s.erase || bErase;
    s.widget->update(r);
}

void CView::ValidateRect(const CRect* rect) {
    Surface& s = *m_surface;
    if (!rect) {
        s.invalid = QRegion();
        return;
    }
    CRect n = *rect;
    n.NormalizeRect();
    s.invalid -= QRect(n.left, n.top, n.Width(), n.Height());
}

void CView::UpdateWindow() {
    PaintInvalid();
}

BOOL CView::IsOnScreen() const {
    const QWidget* w = m_surface->widget;
    return w && w->isVisible() ? TRUE : FALSE;
}

BOOL CView::GetUpdateRect(CRect* rect) const {
    const QRegion region = m_surface->invalid & m_surface->ClientRect();
    if (rect) *rect = region.isEmpty() ? CRect() : ToCRect(region.boundingRect());
    return !region.isEmpty();
}

void CView::PaintInvalid() {
    Surface& s = *m_surface;
    if (!s.widget) return;
    s.Ensure();
    const QRegion region = s.invalid & s.ClientRect();
    const bool erase = s.erase;
    // As BeginPaint: the region is valid from now on, whatever the drawing does.
    s.invalid = QRegion();
    s.erase = false;
    if (region.isEmpty()) return;
    ++m_paintCount;
    {
        CDC dc;
        AttachImage(dc, &s.image);
        // The whole client needs no clip (the surface bounds it); one rectangle needs no region.
        if (region.rectCount() == 1) {
            const QRect r = region.boundingRect();
            if (r != s.ClientRect())
                dc.IntersectClipRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
        } else {
            CRgn clip;
            bool first = true;
            for (const QRect& r : region) {
                CRgn part;
                part.CreateRectRgn(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
                if (first) {
                    clip = part;
                    first = false;
                } else {
                    CRgn joined;
                    joined.CombineRgn(&clip, &part, RGN_OR);
                    clip = joined;
                }
            }
            dc.SelectClipRgn(&clip);
        }
        AfxTryCall([&] {
            if (erase) {
                const int saved = dc.SaveDC();
                OnEraseBkgnd(&dc);
                dc.RestoreDC(saved);
            }
            OnPrepareDC(&dc, nullptr);
            OnDraw(&dc);
        });
        dc.Flush();
    }
    s.widget->update(region);
}

void CView::ScrollWindow(int dx, int dy) {
    Surface& s = *m_surface;
    if (!s.widget || (dx == 0 && dy == 0)) return;
    s.Ensure();
    const QRect client = s.ClientRect();
    const QRect kept = client.translated(dx, dy).intersected(client);
    if (!kept.isEmpty()) {
        // Copied through a device context so that any client context drawing on the surface now
        // finishes first.
        const QImage old = s.image.copy();
        BITMAPINFO info{};
        info.bmiHeader.biWidth = old.width();
        info.bmiHeader.biHeight = -old.height();
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        CDC dc;
        AttachImage(dc, &s.image);
        dc.StretchDIBits(dx, dy, old.width(), old.height(), 0, 0, old.width(), old.height(), old.constBits(),
                         &info, DIB_RGB_COLORS, SRCCOPY);
        dc.Flush();
    }
    s.invalid.translate(dx, dy);
    s.invalid = (s.invalid + (QRegion(client) - QRegion(kept))) & client;
    s.erase = true;
    s.widget->update();
}

std::unique_ptr<CDC> CView::GetClientDC() {
    if (!m_surface->widget) return std::make_unique<CDC>();
    m_surface->Ensure();
    return std::make_unique<SurfaceClientDC>(*m_surface);
}

const QImage& ViewSurfaceImage(const CView& view) {
    view.GetSurface().Ensure();
    return view.GetSurface().image;
}

// ----- CScrollView ------------------------------------------------------------------------------

CScrollView::CScrollView() = default;
CScrollView::~CScrollView() = default;

void CScrollView::SetScrollSizes(int, CSize sizeTotal, CSize sizePage, CSize sizeLine) {
    m_totalDev = CSize(std::max<LONG>(0, sizeTotal.cx), std::max<LONG>(0, sizeTotal.cy));
    m_pageDev = sizePage;
    if (m_pageDev.cx == 0) m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy == 0) m_pageDev.cy = m_totalDev.cy / 10;
    m_lineDev = sizeLine;
    if (m_lineDev.cx == 0) m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy == 0) m_lineDev.cy = m_pageDev.cy / 10;
    UpdateBars();
}

CSize CScrollView::GetScrollLimit() const {
    CRect client;
    GetClientRect(&client);
    return CSize(std::max<LONG>(0, m_totalDev.cx - client.Width()),
                 std::max<LONG>(0, m_totalDev.cy - client.Height()));
}

void CScrollView::SetPosition(CPoint pos) {
    m_scrollPos = pos;
    if (CScrollBar* bar = GetScrollBarCtrl(SB_HORZ)) bar->SetScrollPos(pos.x);
    if (CScrollBar* bar = GetScrollBarCtrl(SB_VERT)) bar->SetScrollPos(pos.y);
}

void CScrollView::UpdateBars() {
    CRect client;
    GetClientRect(&client);
    const CSize limit = GetScrollLimit();
    const CPoint old = m_scrollPos;
    const CPoint pos(std::clamp<LONG>(old.x, 0, limit.cx), std::clamp<LONG>(old.y, 0, limit.cy));
    const struct {
        int bar;
        LONG total;
        LONG page;
        LONG pos;
    } bars[] = {{SB_HORZ, m_totalDev.cx, client.Width(), pos.x},
                {SB_VERT, m_totalDev.cy, client.Height(), pos.y}};
    for (const auto& b : bars) {
        CScrollBar* ctrl = GetScrollBarCtrl(b.bar);
        if (!ctrl) continue;
        SCROLLINFO info;
        info.nMin = 0;
        info.nMax = std::max<LONG>(0, b.total - 1);
        info.nPage = static_cast<UINT>(std::max<LONG>(0, b.page));
        info.nPos = b.pos;
        ctrl->SetScrollInfo(info);
        ctrl->EnableWindow(b.total > b.page);
    }
    if (pos != old) {
        ScrollWindow(old.x - pos.x, old.y - pos.y);
        SetPosition(pos);
    }
}

void CScrollView::ScrollToPosition(CPoint pt) {
    const CSize limit = GetScrollLimit();
    const CPoint pos(std::clamp<LONG>(pt.x, 0, limit.cx), std::clamp<LONG>(pt.y, 0, limit.cy));
    const CPoint old = m_scrollPos;
    SetPosition(pos);
    ScrollWindow(old.x - pos.x, old.y - pos.y);
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
    CView::OnPrepareDC(pDC, pInfo);
    if (pDC && !pDC->IsPrinting()) pDC->SetViewportOrg(-m_scrollPos.x, -m_scrollPos.y);
}

BOOL CScrollView::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll) {
    long long x = m_scrollPos.x;
    long long y = m_scrollPos.y;
    switch (nScrollCode & 0xFF) {
        case SB_TOP:
            x = 0;
            break;
        case SB_BOTTOM:
            x = INT_MAX;
            break;
        case SB_LINEUP:
            x -= m_lineDev.cx;
            break;
        case SB_LINEDOWN:
            x += m_lineDev.cx;
            break;
        case SB_PAGEUP:
            x -= m_pageDev.cx;
            break;
        case SB_PAGEDOWN:
            x += m_pageDev.cx;
            break;
        case SB_THUMBTRACK:
            x = static_cast<int>(nPos);
            break;
        default:
            break;
    }
    switch ((nScrollCode >> 8) & 0xFF) {
        case SB_TOP:
            y = 0;
            break;
        case SB_BOTTOM:
            y = INT_MAX;
            break;
        case SB_LINEUP:
            y -= m_lineDev.cy;
            break;
        case SB_LINEDOWN:
            y += m_lineDev.cy;
            break;
        case SB_PAGEUP:
            y -= m_pageDev.cy;
            break;
        case SB_PAGEDOWN:
            y += m_pageDev.cy;
            break;
        case SB_THUMBTRACK:
            y = static_cast<int>(nPos);
            break;
        default:
            break;
    }
    const CSize limit = GetScrollLimit();
    x = std::clamp<long long>(x, 0, limit.cx);
    y = std::clamp<long long>(y, 0, limit.cy);
    const BOOL scrolled = OnScrollBy(
        CSize(static_cast<LONG>(x - m_scrollPos.x), static_cast<LONG>(y - m_scrollPos.y)), bDoScroll);
    if (scrolled && bDoScroll) UpdateWindow();
    return scrolled;
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll) {
    const CSize limit = GetScrollLimit();
    const CPoint old = m_scrollPos;
    const long long x = std::clamp<long long>(static_cast<long long>(old.x) + sizeScroll.cx, 0, limit.cx);
    const long long y = std::clamp<long long>(static_cast<long long>(old.y) + sizeScroll.cy, 0, limit.cy);
    if (x == old.x && y == old.y) return FALSE;
    if (bDoScroll) {
        ScrollWindow(static_cast<int>(old.x - x), static_cast<int>(old.y - y));
        SetPosition(CPoint(static_cast<LONG>(x), static_cast<LONG>(y)));
    }
    return TRUE;
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    if (pScrollBar != GetScrollBarCtrl(SB_HORZ)) return;
    OnScroll(0xFF00u | (nSBCode & 0xFF), nPos, TRUE);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    if (pScrollBar != GetScrollBarCtrl(SB_VERT)) return;
    OnScroll(((nSBCode & 0xFF) << 8) | 0xFFu, nPos, TRUE);
}

void CScrollView::OnSize(UINT, int, int) {
    UpdateBars();
}
