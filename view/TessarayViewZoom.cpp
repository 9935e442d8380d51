// Zoom and scrolling of the drawing view.
#include <algorithm>
#include <cmath>
#include <limits>

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

// The sheet in paper millimetres: y runs from -height (its lower edge) to 0.
MFloatRect SheetRect(const MFloatSize& size) {
    MFloatRect r;
    r.left = 0.0;
    r.top = 0.0;
    r.right = size.cx;
    r.bottom = -size.cy;
    return r;
}

// Whether the rectangle holds the other one (both taken normalised).
bool Encloses(MFloatRect outer, MFloatRect inner) {
    outer.Normalize();
    inner.Normalize();
    return outer.left <= inner.left && outer.right >= inner.right && outer.bottom <= inner.bottom &&
           outer.top >= inner.top;
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

bool MTessarayView::SheetFits() {
    RecalcScale();
    const MFloatSize size = PaperSize(GetPaperInfo());
    return std::fabs(size.cx * paperScaleX) <= kMaxSheetPixels &&
           std::fabs(size.cy * paperScaleY) <= kMaxSheetPixels;
}

void MTessarayView::ZoomAt(const MFloatPoint& centre, double factor, BOOL relative) {
    // The user has chosen a view: from now on a resize keeps it.
    m_firstViewPending = false;
    const bool crossShown = HideCrosshair();
    const double old = zoom;
    zoom = relative ? zoom * factor : factor;
    if (!(zoom > 0.0) || !std::isfinite(zoom)) zoom = old;
    // A step that would make the sheet too large for the scroll view is refused as a whole.
    if (zoom > old && !SheetFits()) zoom = old;
    RecalcScrollSizes();
    const CPoint p = DocToLogical(centre);
    CRect client;
    GetClientRect(&client);
    ScrollToPosition(
        CPoint(std::max<LONG>(0, p.x - client.Width() / 2), std::max<LONG>(0, p.y - client.Height() / 2)));
    UpdateScrollSizes();
    Invalidate();
    if (!m_paintWhenShown) UpdateWindow();
    if (crossShown) ShowCrosshair();
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
    const bool pending = m_firstViewPending;
    ZoomAt(p.GetCenter(), factor, TRUE);
    m_firstViewPending = pending;
}

void MTessarayView::FitPaperScaleToDrawing() {
    FitAndCentreDrawing();
    if (!RecalculatedForMapping()) RecalcDrawing();
}

void MTessarayView::FitAndCentreDrawing() {
    MTessarayDoc* doc = m_document;
    if (!doc) return;
    // The limits a file states are taken only when they hold the drawing: many files leave them
    // at a default that has nothing to do with it.
    const auto extent = [doc] {
        const MFloatRect& imported = doc->m_importedExtents;
        const MFloatRect drawing = doc->GetLayers()->GetExtent();
        if (doc->m_importedExtentsValid && imported.GetWidth() != 0.0 && imported.GetHeight() != 0.0 &&
            Encloses(imported, drawing))
            return imported;
        return drawing;
    };
    // Only the union of the extents counts until the drawing is recalculated after the move.
    const bool followsScale = doc->GetLayers()->RecalcForFit(this);
    m_recalculatedMapping.reset();
    const std::array<double, 6> fitMapping = CurrentMapping();
    MFloatRect e = extent();
    if (e.IsNull()) return;
    const double w = std::fabs(e.right - e.left);
    const double h = std::fabs(e.top - e.bottom);
    const MFloatSize paper = doc->GetPaperInfo().GetSize();
    if (w > kZeroLength || h > kZeroLength) {
        // The tighter of the two directions, so that the drawing fits the sheet both ways.
        double ratio = std::numeric_limits<double>::infinity();
        if (w > kZeroLength) ratio = std::fabs(paper.cx / w);
        if (h > kZeroLength) ratio = std::min(ratio, std::fabs(paper.cy / h));
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
    if (followsScale && CurrentMapping() != fitMapping) {
        // Only the extent at the new scale is needed here; the whole drawing is recalculated once
        // it has moved.
        doc->GetLayers()->RecalcScaledExtents(this);
        e = extent();
    }
    const MFloatPoint paperCentre = PaperToDocRect(SheetRect(doc->GetPaperInfo().GetSize())).GetCenter();
    const MFloatPoint shift = paperCentre - e.GetCenter();
    doc->MoveAll(shift.x, shift.y);
    m_recalculatedMapping.reset();
}

void MTessarayView::RecalcDrawing() {
    if (m_document) m_document->RecalcAll(this);
    m_recalculatedMapping = CurrentMapping();
}

std::array<double, 6> MTessarayView::CurrentMapping() const {
    return {unitScaleX, unitScaleY, paperScaleX, paperScaleY, OriginOffsetX(), OriginOffsetY()};
}

bool MTessarayView::RecalculatedForMapping() const {
    return m_recalculatedMapping && *m_recalculatedMapping == CurrentMapping();
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
    const bool crossShown = bDoScroll && HideCrosshair();
    const BOOL scrolled = MTabScrollView::OnScrollBy(sizeScroll, bDoScroll);
    if (scrolled && bDoScroll) UpdateWindow();
    if (crossShown) ShowCrosshair();
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

void MTessarayView::OnMButtonDown(UINT nFlags, CPoint point) {
    const bool crossShown = HideCrosshair();
    MTabScrollView::OnMButtonDown(nFlags, point);
    if (crossShown) ShowCrosshair();
}

void MTessarayView::OnSize(UINT nType, int cx, int cy) {
    const bool crossShown = HideCrosshair();
    MTabScrollView::OnSize(nType, cx, cy);
    if (m_initialised) {
        UpdateScrollSizes();
        // A drawing opened before the window had its size (at start-up) is shown whole in the
        // window it gets, as one opened later is.
        if (m_firstViewPending) ZoomToPaper();
        // The bars' idle pass waits for input, and a resize is none.
        ShowZoomInFrame();
        Invalidate();
    }
    if (crossShown) ShowCrosshair();
}
