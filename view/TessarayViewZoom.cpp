// Zoom and scrolling of the drawing view.
#include <algorithm>
#include <cmath>

#include "document/PaperSettings.h"
#include "document/TessarayDoc.h"
#include "model/shapes/CadShape.h"
#include "platform/Exceptions.h"
#include "platform/TextFile.h"
#include "platform/gdi/DC.h"
#include "platform/ui/MessageTranslation.h"
#include "view/Grid.h"
#include "view/TessarayView.h"

namespace {

// Scroll positions and logical coordinates of the scroll view are 16-bit quantities.
constexpr double kMaxSheetPixels = 32767.0;
constexpr double kZeroLength = 2.220446e-15;

MFloatRect SheetRect(const MFloatSize& size) {
    MFloatRect r;
    r.left = 0.0;
    r.top = size.cy;
    r.right = size.cx;
    r.bottom = 0.0;
    return r;
}

MFloatSize PaperSize(const MPaperInfo* paper) {
    return paper ? paper->GetSize() : MFloatSize(0.0, 0.0);
}

}  // namespace

void MTessarayView::SetGridPitch(double x, double y) {
    m_gridPitch = MFloatPoint(x, y);
}

void MTessarayView::RecalcScrollSizes() {
    RecalcScale();
    const MFloatSize size = PaperSize(GetPaperInfo());
    double w = size.cx * paperScaleX;
    double h = size.cy * paperScaleY;
    while ((std::fabs(w) > kMaxSheetPixels || std::fabs(h) > kMaxSheetPixels)) {
        const double halved = zoom * 0.5;
        // A sheet that no positive zoom brings under the limit (a damaged paper size) keeps the
        // smallest zoom there is; the sizes below are clamped instead.
        if (!(halved > 0.0)) break;
        zoom = halved;
        RecalcScale();
        w = size.cx * paperScaleX;
        h = size.cy * paperScaleY;
    }
    const auto pixels = [](double v) {
        v = std::fabs(v);
        return static_cast<LONG>(std::isfinite(v) ? std::min(v, kMaxSheetPixels) : kMaxSheetPixels);
    };
    SetScrollSizes(MM_TEXT, CSize(pixels(w), pixels(h)));
    m_grid = std::make_unique<MGrid>(size.cx, size.cy, m_gridPitch.x, m_gridPitch.y);
}

void MTessarayView::UpdateScrollSizes() {
    RecalcScrollSizes();
    std::unique_ptr<CDC> dc = GetPreparedClientDC();
    const CRect sheet = PaperToDeviceRect(dc.get(), SheetRect(PaperSize(GetPaperInfo())));
    CRect client;
    GetClientRect(&client);
    const auto offset = [](LONG clientExtent, LONG paperExtent) -> LONG {
        if (std::labs(clientExtent) > std::labs(paperExtent)) return (clientExtent - paperExtent) / 2;
        return 0;
    };
    m_centreOffset = CPoint(offset(client.Width(), sheet.Width()), offset(client.Height(), sheet.Height()));
}

MFloatPoint MTessarayView::GetClientCentre() {
    CRect client;
    GetClientRect(&client);
    const CPoint pos = GetScrollPosition();
    return LogicalToDoc(CPoint(pos.x + client.Width() / 2, pos.y + client.Height() / 2));
}

void MTessarayView::ZoomAt(const MFloatPoint& centre, double factor, BOOL relative) {
    const double old = zoom;
    zoom = relative ? zoom * factor : factor;
    if (!(zoom > 0.0) || !std::isfinite(zoom)) zoom = old;
    RecalcScrollSizes();
    const CPoint p = DocToLogical(centre);
    CRect client;
    GetClientRect(&client);
    ScrollToPosition(
        CPoint(std::max<LONG>(0, p.x - client.Width() / 2), std::max<LONG>(0, p.y - client.Height() / 2)));
    UpdateScrollSizes();
    Invalidate();
    UpdateWindow();
}

void MTessarayView::ZoomToPaper() {
    std::unique_ptr<CDC> dc = GetPreparedClientDC();
    CRect client;
    GetClientRect(&client);
    const MFloatRect v = DeviceRectToDoc(dc.get(), client);
    const MFloatRect p = PaperToDocRect(SheetRect(PaperSize(GetPaperInfo())));
    dc.reset();
    if (v.GetWidth() == 0.0 || v.GetHeight() == 0.0 || p.GetWidth() == 0.0 || p.GetHeight() == 0.0) return;
    const double factor =
        std::min(std::fabs(v.GetHeight() / p.GetHeight()), std::fabs(v.GetWidth() / p.GetWidth()));
    ZoomAt(p.GetCenter(), factor, TRUE);
}

void MTessarayView::FitPaperScaleToDrawing() {
    MTessarayDoc* doc = m_document;
    if (!doc) return;
    const auto extent = [doc] {
        const MFloatRect& imported = doc->m_importedExtents;
        if (doc->m_importedExtentsValid && imported.GetWidth() != 0.0 && imported.GetHeight() != 0.0)
            return imported;
        return doc->GetLayers()->GetExtent();
    };
    doc->RecalcAll(this);
    MFloatRect e = extent();
    if (e.IsNull()) return;
    const double w = std::fabs(e.right - e.left);
    const double h = std::fabs(e.top - e.bottom);
    const MFloatSize paper = doc->GetPaperInfo().GetSize();
    if (w > kZeroLength || h > kZeroLength) {
        const double ratio = std::fabs(w <= h ? paper.cy / h : paper.cx / w);
        const std::vector<MPaperScaleInfo>& table = GetPaperScaleTable();
        std::string name;
        double factor = ratio;
        bool fromTable = false;
        if (ratio > kZeroLength) {
            if (table.empty()) AfxThrowInvalidArgException();
            if (table.size() > 1 && ratio >= table.front().m_scale) {
                for (std::size_t i = 1; i < table.size(); ++i) {
                    if (ratio <= table[i].m_scale) {
                        factor = table[i - 1].m_scale;
                        name = table[i - 1].m_name;
                        fromTable = true;
                        break;
                    }
                }
            }
        }
        if (!fromTable) name = FormatG(factor);
        // A ratio that is no usable scale leaves the paper's scale as it is.
        if (factor > 0.0 && std::isfinite(factor)) doc->GetPaperInfo().SetScale(name, factor);
    }
    RecalcScale();
    doc->RecalcAll(this);
    e = extent();
    const MFloatPoint paperCentre = PaperToDocRect(SheetRect(doc->GetPaperInfo().GetSize())).GetCenter();
    const MFloatPoint shift = paperCentre - e.GetCenter();
    doc->MoveAll(shift.x, shift.y);
    doc->RecalcAll(this);
}

void MTessarayView::PlaceAtViewCentre(MCadShape* shape) {
    if (!shape) return;
    shape->Recalc(this);
    std::unique_ptr<CDC> dc = GetPreparedClientDC();
    CRect client;
    GetClientRect(&client);
    const MFloatPoint centre = DeviceToDoc(dc.get(), client.CenterPoint());
    shape->Move(centre - shape->GetExtent().GetCenter());
    shape->Recalc(this);
}

BOOL MTessarayView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll) {
    const BOOL scrolled = MTabScrollView::OnScrollBy(sizeScroll, bDoScroll);
    if (scrolled && bDoScroll) UpdateWindow();
    return scrolled;
}

BOOL MTessarayView::OnMouseWheel(UINT nFlags, short zDelta, CPoint) {
    const int n = zDelta / WHEEL_DELTA;
    if (n == 0) return TRUE;
    if (!(nFlags & MK_CONTROL)) {
        OnScrollBy(CSize(0, -n * GetLineSize().cy), TRUE);
    } else {
        const double factor = n > 0 ? 1.2 * n : -0.8 / n;
        ZoomAt(GetClientCentre(), factor, TRUE);
    }
    return TRUE;
}

void MTessarayView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    UINT code = 0;
    switch (nChar) {
        case VK_PRIOR:
            code = 0x02FF;
            break;
        case VK_NEXT:
            code = 0x03FF;
            break;
        case VK_HOME:
            code = 0xFF06;
            break;
        case VK_END:
            code = 0xFF07;
            break;
        case VK_LEFT:
            code = 0xFF00;
            break;
        case VK_RIGHT:
            code = 0xFF01;
            break;
        case VK_UP:
            code = 0x00FF;
            break;
        case VK_DOWN:
            code = 0x01FF;
            break;
        default:
            MTabScrollView::OnKeyDown(nChar, nRepCnt, nFlags);
            return;
    }
    OnScroll(code, 0, TRUE);
}

void MTessarayView::OnSize(UINT nType, int cx, int cy) {
    MTabScrollView::OnSize(nType, cx, cy);
    if (m_initialised) {
        UpdateScrollSizes();
        Invalidate();
    }
}
