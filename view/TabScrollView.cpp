#include "view/TabScrollView.h"

#include <QPainter>
#include <QResizeEvent>
#include <QWidget>
#include <algorithm>

#include "platform/Exceptions.h"
#include "platform/gdi/QtGdi.h"
#include "platform/gdi/SelectScope.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/MessageTranslation.h"

namespace {

const char* const kTabFontFace = "ＭＳ ゴシック";
constexpr COLORREF kGreyTabBrush = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kHiddenTabText = RGB(0x80, 0x80, 0x80);

enum : UINT { kVertBarId = 1, kHorzBarId = 2, kTabArrowsId = 3 };

HCURSOR SplitterCursor() {
    static HCURSOR cursor = AfxLoadStandardCursor(IDC_SIZEWE);
    return cursor;
}

// The frame of the view: lays its children out whenever it is resized.
class TabFrameWidget : public QWidget {
public:
    TabFrameWidget(QWidget* parent, MTabScrollView* view) : QWidget(parent), m_view(view) {}
    void Forget() { m_view = nullptr; }

protected:
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        if (m_view) AfxTryCall([&] { m_view->LayoutFrame(e->size().width(), e->size().height()); });
    }

private:
    MTabScrollView* m_view;
};

// The tab row below the client area: painted by the view in its window coordinates.
class TabRowWidget : public QWidget {
public:
    TabRowWidget(QWidget* parent, MTabScrollView* view) : QWidget(parent), m_view(view) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::NoFocus);
    }
    void Forget() { m_view = nullptr; }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!m_view) return;
        QPainter painter(this);
        PainterTargetInfo info;
        info.pixelSize = CSize(width(), height());
        info.physicalSize = info.pixelSize;
        CDC dc;
        dc.AttachBackend(MakePainterBackend(&painter, info));
        // Window coordinates: the view's client origin, which lies above the row.
        dc.SetViewportOrg(-x(), -y());
        AfxTryCall([&] {
            m_view->PaintTabRowFrame(&dc);
            m_view->PaintTabs(&dc);
        });
    }

private:
    MTabScrollView* m_view;
};

void Draw3dRect(CDC* dc, const CRect& r, COLORREF topLeft, COLORREF bottomRight) {
    if (r.Width() <= 0 || r.Height() <= 0) return;
    dc->FillSolidRect(r.left, r.top, r.Width() - 1, 1, topLeft);
    dc->FillSolidRect(r.left, r.top, 1, r.Height() - 1, topLeft);
    dc->FillSolidRect(r.right - 1, r.top, 1, r.Height(), bottomRight);
    dc->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, bottomRight);
}

void MakeTabFont(CFont& font, int height, BOOL bold, BOOL underline) {
    font.CreateFont(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, underline ? 1 : 0, 0, SHIFTJIS_CHARSET, 0,
                    0, 0, 0, kTabFontFace);
}

}  // namespace

MTabScrollView::MTabScrollView()
    : m_splitterWidth(GetSystemMetrics(SM_CXHSCROLL) / 2),
      m_ncRowHeight(GetSystemMetrics(SM_CYHSCROLL)),
      m_rowHeight(GetSystemMetrics(SM_CYHSCROLL)) {
    SplitterCursor();
}

MTabScrollView::~MTabScrollView() {
    m_horzBar.reset();
    m_vertBar.reset();
    m_tabArrows.reset();
    m_tabs.clear();
    if (m_row) {
        if (auto* row = dynamic_cast<TabRowWidget*>(m_row->GetWidget())) row->Forget();
        m_row->Detach();
    }
    if (m_frame) {
        QWidget* frame = m_frame->Detach();
        if (auto* f = dynamic_cast<TabFrameWidget*>(frame)) f->Forget();
        delete frame;
    }
}

BOOL MTabScrollView::Create(CWnd* pParent, UINT nID) {
    QWidget* parentWidget = pParent ? pParent->GetWidget() : nullptr;
    auto* frameWidget = new TabFrameWidget(parentWidget, this);
    m_frame = std::make_unique<CWnd>();
    m_frame->Attach(frameWidget, false);
    if (!CView::Create(m_frame.get(), nID)) return FALSE;

    auto* rowWidget = new TabRowWidget(frameWidget, this);
    m_row = std::make_unique<CWnd>();
    m_row->Attach(rowWidget, false);
    EnableMessageTranslation(rowWidget);

    CRect client;
    GetClientRect(&client);
    m_horzBarWidth = client.Width() / 2;
    m_vertBar = std::make_unique<CScrollBar>();
    m_vertBar->Create(SBS_VERT, CRect(), m_frame.get(), kVertBarId);
    m_horzBar = std::make_unique<CScrollBar>();
    m_horzBar->Create(SBS_HORZ | SBS_BOTTOMALIGN, CRect(), m_frame.get(), kHorzBarId);
    m_tabArrows = std::make_unique<CScrollBar>();
    m_tabArrows->Create(SBS_HORZ | SBS_BOTTOMALIGN, CRect(), m_frame.get(), kTabArrowsId);
    // The arrows only step: a small range keeps both of them active.
    SCROLLINFO arrows;
    arrows.nMin = 0;
    arrows.nMax = 2;
    arrows.nPage = 1;
    arrows.nPos = 1;
    m_tabArrows->SetScrollInfo(arrows);
    for (CScrollBar* bar : {m_vertBar.get(), m_horzBar.get(), m_tabArrows.get()}) {
        bar->SetOwner(this);
        bar->BringWindowToTop();
    }
    LayoutFrame(frameWidget->width(), frameWidget->height());
    return TRUE;
}

void MTabScrollView::LayoutFrame(int width, int height) {
    if (!GetWidget()) return;
    const int clientWidth = std::max(0, width - GetSystemMetrics(SM_CXVSCROLL));
    const int clientHeight = std::max(0, height - m_ncRowHeight);
    MoveWindow(0, 0, clientWidth, clientHeight, FALSE);
    if (m_row) m_row->MoveWindow(0, clientHeight, width, m_ncRowHeight, TRUE);
    RepositionBars();
}

// ----- geometry ---------------------------------------------------------------------------------

CRect MTabScrollView::GetRowRect() const {
    CRect client;
    GetClientRect(&client);
    return CRect(client.left, client.bottom, client.right, client.bottom + m_rowHeight);
}

CRect MTabScrollView::GetTabAreaRect() const {
    const CRect row = GetRowRect();
    return CRect(row.left + 2 * GetSystemMetrics(SM_CXHSCROLL), row.top,
                 row.right - m_splitterWidth - m_horzBarWidth, row.bottom);
}

CRect MTabScrollView::GetSplitterRect() const {
    const CRect row = GetRowRect();
    return CRect(row.right - m_horzBarWidth - m_splitterWidth, row.top, row.right - m_horzBarWidth,
                 row.bottom);
}

void MTabScrollView::RepositionBars() {
    if (!GetWidget()) return;
    CRect client;
    GetClientRect(&client);
    const CRect row = GetRowRect();
    const int arrows = 2 * GetSystemMetrics(SM_CXHSCROLL);
    if (client.Width() < m_splitterWidth + arrows + m_horzBarWidth)
        m_horzBarWidth = client.Width() - m_splitterWidth - arrows;
    else
        m_horzBarWidth = std::max(m_horzBarWidth, arrows);
    // The view's client origin is the frame's origin, so client rectangles are frame coordinates.
    if (m_horzBar)
        m_horzBar->MoveWindow(row.right - std::max(0, m_horzBarWidth), row.top, std::max(0, m_horzBarWidth),
                              row.Height(), TRUE);
    if (m_vertBar)
        m_vertBar->MoveWindow(client.right, client.top, GetSystemMetrics(SM_CXVSCROLL), client.Height(),
                              TRUE);
    if (m_tabArrows) m_tabArrows->MoveWindow(row.left, row.top, arrows, row.Height(), TRUE);
    if (m_row && m_row->GetWidget()) m_row->GetWidget()->update();
}

CScrollBar* MTabScrollView::GetScrollBarCtrl(int nBar) const {
    if (nBar == SB_VERT) return m_vertBar.get();
    if (nBar == SB_HORZ) return m_horzBar.get();
    return nullptr;
}

// ----- tabs -------------------------------------------------------------------------------------

void MTabScrollView::CheckTabIndex(int index) const {
    if (index < 0 || index >= GetTabCount()) AfxThrowInvalidArgException();
}

BOOL MTabScrollView::AddTab(const CString& name, int flag, BOOL force) {
    return InsertTab(-1, name, flag, force);
}

BOOL MTabScrollView::InsertTab(int index, const CString& name, int flag, BOOL force) {
    if (!force && (name.empty() || FindTab(name) >= 0)) return FALSE;
    auto tab = std::make_unique<MTabData>(name, flag);
    if (index < 0 || index >= GetTabCount())
        m_tabs.push_back(std::move(tab));
    else
        m_tabs.insert(m_tabs.begin() + index, std::move(tab));
    return TRUE;
}

void MTabScrollView::RemoveTab(int index) {
    CheckTabIndex(index);
    m_tabs.erase(m_tabs.begin() + index);
    // Keep the painted range inside the tabs that are left.
    if (m_firstVisibleTab > 0 && m_firstVisibleTab >= GetTabCount())
        m_firstVisibleTab = std::max(0, GetTabCount() - 1);
}

void MTabScrollView::RemoveAllTabs() {
    m_tabs.clear();
    m_firstVisibleTab = 0;
}

int MTabScrollView::FindTab(const CString& name) const {
    for (int i = 0; i < GetTabCount(); ++i)
        if (m_tabs[static_cast<std::size_t>(i)]->m_name == name) return i;
    return -1;
}

const CString& MTabScrollView::GetTabName(int index) const {
    CheckTabIndex(index);
    return m_tabs[static_cast<std::size_t>(index)]->m_name;
}

void MTabScrollView::SetTabName(int index, const CString& name) {
    CheckTabIndex(index);
    m_tabs[static_cast<std::size_t>(index)]->m_name = name;
}

BOOL MTabScrollView::IsTabActive(int index) {
    return index >= 0 && index < GetTabCount() && m_tabs[static_cast<std::size_t>(index)]->m_flag == 1;
}

BOOL MTabScrollView::IsTabHidden(int) {
    return FALSE;
}
BOOL MTabScrollView::IsTabPrintable(int) {
    return FALSE;
}
BOOL MTabScrollView::IsTabSelectable(int) {
    return FALSE;
}

void MTabScrollView::SetActiveTab(int index) {
    CheckTabIndex(index);
    if (m_tabs[static_cast<std::size_t>(index)]->m_flag == 1) return;
    for (auto& tab : m_tabs)
        tab->m_flag = 0;
    m_tabs[static_cast<std::size_t>(index)]->m_flag = 1;
}

void MTabScrollView::RedrawTabs() {
    if (m_row && m_row->GetWidget()) m_row->GetWidget()->update();
}

void MTabScrollView::OnTabSelect(int index, UINT, int, int) {
    if (index < 0) return;
    m_currentTab = index;
    SetActiveTab(index);
    RedrawTabs();
}

void MTabScrollView::OnTabRowLButtonDown(UINT flags, int x, int y) {
    OnTabSelect(TabHitTest(x, y), flags, x, y);
}

void MTabScrollView::OnTabRowDblClk(UINT flags, int x, int y) {
    OnTabDblClk(TabHitTest(x, y), flags, x, y);
}

void MTabScrollView::OnTabRowRButtonDown(UINT flags, int x, int y) {
    OnTabRClick(TabHitTest(x, y), flags, x, y);
}

int MTabScrollView::TabHitTest(int x, int y) {
    std::unique_ptr<CDC> dc = GetClientDC();
    CFont font;
    MakeTabFont(font, m_rowHeight - 3, FALSE, FALSE);
    CSelectScope selectFont(dc.get(), &font);
    const CRect row = GetRowRect();
    int left = row.left + m_rowHeight / 4 + 2 * GetSystemMetrics(SM_CXHSCROLL);
    int hit = -1;
    for (int i = std::max(0, m_firstVisibleTab); i < GetTabCount(); ++i) {
        const int width = dc->GetTextExtent(m_tabs[static_cast<std::size_t>(i)]->m_name).cx +
                          m_rowHeight / 2 + m_tabPadding;
        const CRect r(left, row.top, left + width, row.bottom);
        if (r.PtInRect(CPoint(x, y))) {
            hit = i;
            break;
        }
        left += width;
    }
    return hit;
}

// ----- painting ---------------------------------------------------------------------------------

void MTabScrollView::PaintTabRowFrame(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    const CRect row = GetRowRect();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const CRect tabs = GetTabAreaRect();
    if (tabs.Width() > 0) dc->FillSolidRect(&tabs, face);
    const CRect corner(client.right, row.top, client.right + GetSystemMetrics(SM_CXVSCROLL), row.bottom);
    dc->FillSolidRect(&corner, face);
    const CRect splitter = GetSplitterRect();
    if (splitter.Width() <= 0) return;
    dc->FillSolidRect(&splitter, face);
    CPen black(PS_SOLID, 1, RGB(0, 0, 0));
    {
        CSelectScope selectPen(dc, &black);
        dc->MoveTo(splitter.left, row.top);
        dc->LineTo(splitter.left, row.bottom);
    }
    Draw3dRect(dc, splitter, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    CRect inner = splitter;
    inner.DeflateRect(1, 1);
    Draw3dRect(dc, inner, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

void MTabScrollView::PaintTabs(CDC* dc) {
    const CRect row = GetRowRect();
    const int saved = dc->SaveDC();
    CPen blackPen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen whitePen(PS_SOLID, 1, RGB(255, 255, 255));
    CBrush greyBrush(kGreyTabBrush);
    CBrush whiteBrush(RGB(255, 255, 255));
    dc->SetBkMode(TRANSPARENT);
    dc->IntersectClipRect(row.left, row.top, row.right - m_horzBarWidth - m_splitterWidth, row.bottom);
    dc->SelectObject(&blackPen);

    int x = row.left + 2 * GetSystemMetrics(SM_CXHSCROLL);
    const int l = row.top;
    const int h = m_ncRowHeight;
    const int m = h / 2;
    dc->MoveTo(row.left, l);
    dc->LineTo(row.right, l);

    auto selectFont = [&](CFont& font, int i) {
        MakeTabFont(font, h - 4, IsTabPrintable(i), IsTabSelectable(i));
        dc->SelectObject(&font);
    };
    auto drawTab = [&](int i, int left, int g, CBrush* brush) {
        dc->SelectObject(brush);
        const POINT shape[4] = {
            {left, l}, {left + m, l + h - 1}, {left + g + m, l + h - 1}, {left + g + 2 * m, l}};
        dc->Polygon(shape, 4);
    };
    auto drawText = [&](int i, int left) {
        dc->SetTextColor(IsTabHidden(i) ? kHiddenTabText : RGB(0, 0, 0));
        dc->TextOut(left + (m_tabPadding + h) / 2, l + 1, m_tabs[static_cast<std::size_t>(i)]->m_name);
    };

    int currentX = 0;
    int currentG = 0;
    bool currentSeen = false;
    for (int i = std::max(0, m_firstVisibleTab); i < GetTabCount(); ++i) {
        CFont font;
        selectFont(font, i);
        const int g = m_tabPadding + dc->GetTextExtent(m_tabs[static_cast<std::size_t>(i)]->m_name).cx;
        if (i == m_currentTab) {
            currentX = x;
            currentG = g;
            currentSeen = true;
        } else {
            drawTab(i, x, g, IsTabActive(i) ? &whiteBrush : &greyBrush);
            drawText(i, x);
        }
        x += g + m;
    }
    // The current tab lies on top of its neighbours and opens towards the drawing.
    if (currentSeen) {
        CFont font;
        selectFont(font, m_currentTab);
        dc->SelectObject(&blackPen);
        drawTab(m_currentTab, currentX, currentG, &whiteBrush);
        dc->SelectObject(&whitePen);
        dc->MoveTo(currentX + 1, l);
        dc->LineTo(currentX + currentG + 2 * m, l);
        drawText(m_currentTab, currentX);
    }
    dc->RestoreDC(saved);
}

// ----- messages ---------------------------------------------------------------------------------

void MTabScrollView::OnInitialUpdate() {
    CScrollView::OnInitialUpdate();
    m_ncRowHeight = GetSystemMetrics(SM_CYHSCROLL);
    m_rowHeight = GetSystemMetrics(SM_CYHSCROLL);
    CRect client;
    GetClientRect(&client);
    m_horzBarWidth = client.Width() / 4;
    m_dragging = 0;
    m_firstVisibleTab = 0;
    m_currentTab = 0;
    RemoveAllTabs();
    RepositionBars();
}

void MTabScrollView::OnSize(UINT nType, int cx, int cy) {
    CScrollView::OnSize(nType, cx, cy);
    RepositionBars();
}

void MTabScrollView::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_dragging) return;
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point)) {
        OnClientLButtonDown(nFlags, point.x, point.y);
    } else if (GetSplitterRect().PtInRect(point)) {
        // The row keeps the mouse while the button is down, so the drag goes on outside it.
        m_dragging = 1;
        m_dragX = point.x;
        m_dragY = point.y;
    } else if (GetTabAreaRect().PtInRect(point)) {
        OnTabRowLButtonDown(nFlags, point.x, point.y);
    }
}

void MTabScrollView::DragSplitterTo(int x, int y) {
    m_horzBarWidth += m_dragX - x;
    m_dragX = x;
    m_dragY = y;
    CRect client;
    GetClientRect(&client);
    m_horzBarWidth = std::min(m_horzBarWidth, client.Width() - m_splitterWidth);
    RepositionBars();
    RedrawTabs();
}

void MTabScrollView::OnMouseMove(UINT nFlags, CPoint point) {
    if (!m_dragging) {
        CRect client;
        GetClientRect(&client);
        if (client.PtInRect(point)) OnClientMouseMove(nFlags, point.x, point.y);
        return;
    }
    DragSplitterTo(point.x, point.y);
}

void MTabScrollView::OnLButtonUp(UINT nFlags, CPoint point) {
    if (!m_dragging) {
        CRect client;
        GetClientRect(&client);
        if (client.PtInRect(point)) OnClientLButtonUp(nFlags, point.x, point.y);
        return;
    }
    DragSplitterTo(point.x, point.y);
    m_dragging = 0;
}

void MTabScrollView::OnLButtonDblClk(UINT nFlags, CPoint point) {
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point))
        OnClientLButtonDblClk(nFlags, point.x, point.y);
    else if (GetTabAreaRect().PtInRect(point))
        OnTabRowDblClk(nFlags, point.x, point.y);
}

void MTabScrollView::OnRButtonDown(UINT nFlags, CPoint point) {
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point))
        OnClientRButtonDown(nFlags, point.x, point.y);
    else if (GetTabAreaRect().PtInRect(point))
        OnTabRowRButtonDown(nFlags, point.x, point.y);
}

void MTabScrollView::OnMButtonDown(UINT, CPoint point) {
    CRect client;
    GetClientRect(&client);
    const CPoint centre = client.CenterPoint();
    const CPoint pos = GetScrollPosition();
    ScrollToPosition(CPoint(pos.x + point.x - centre.x, pos.y + point.y - centre.y));
}

BOOL MTabScrollView::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (pWnd == this) {
        CPoint p;
        GetCursorPos(&p);
        ScreenToClient(&p);
        if (GetSplitterRect().PtInRect(p)) {
            SetCursor(SplitterCursor());
            return TRUE;
        }
    }
    return CScrollView::OnSetCursor(pWnd, nHitTest, message);
}

void MTabScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    if (pScrollBar && pScrollBar == m_tabArrows.get()) {
        const int old = m_firstVisibleTab;
        if (nSBCode == SB_LINELEFT && m_firstVisibleTab > 0)
            --m_firstVisibleTab;
        else if (nSBCode == SB_LINERIGHT && m_firstVisibleTab < GetTabCount() - 1)
            ++m_firstVisibleTab;
        if (m_firstVisibleTab != old) RedrawTabs();
    }
    CScrollView::OnHScroll(nSBCode, nPos, pScrollBar);
}
