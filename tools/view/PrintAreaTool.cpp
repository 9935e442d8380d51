#include "tools/view/PrintAreaTool.h"

#include <memory>

#include "model/FillStyle.h"
#include "model/shapes/lines/RectShape.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "tools/ToolScopes.h"
#include "tools/view/ViewToolDialogs.h"
#include "view/TessarayView.h"

namespace {
constexpr COLORREF kFrameColor = 0x0000FF;
}  // namespace

MPrintAreaTool::MPrintAreaTool(int toolId) : MDrawTool(toolId) {}

MRectShape* MPrintAreaTool::GetFrame() const {
    return Lists().NewCount() > 0 ? dynamic_cast<MRectShape*>(Lists().NewShape(0)) : nullptr;
}

void MPrintAreaTool::EnsureFrame(MTessarayView* view) {
    if (Lists().NewCount() > 0) return;
    m_factor = view->m_printFactor;
    auto frame = std::make_unique<MRectShape>();
    frame->SetColor(kFrameColor);
    frame->SetFillStyle(MFillStyle());
    frame->SetLineStyle(0);
    const MFloatRect area = view->PaperToDocRect(view->GetPrintArea());
    m_centre = area.GetCenter();
    frame->SetRect(area.left, area.bottom, area.right - area.left, area.top - area.bottom);
    Lists().AddNewExpanded(frame.release(), -1);
}

void MPrintAreaTool::FollowTo(MTessarayView* view, CDC* dc, const MFloatPoint& pt) {
    MTrackerScope tracker(*this, view, dc);
    EnsureFrame(view);
    m_centre = pt;
    const MFloatPoint size =
        view->PaperToDocSize(m_factor * view->m_pageWidth, m_factor * view->m_pageHeight);
    GetFrame()->SetRect(pt.x - size.x / 2, pt.y - size.y / 2, size.x, size.y);
    Lists().RecalcNew(view);
}

void MPrintAreaTool::OnButtonDownAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT) {
    FollowTo(view, dc, pt);
    PlaceArea(view, dc);
    MViewTool* previous = PreviousTool();
    if (previous && previous != this && view->GetTool() == this) view->SendCommand(previous->GetCommandId());
}

void MPrintAreaTool::OnButtonUpAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT) {
    FollowTo(view, dc, pt);
}

void MPrintAreaTool::OnMoveAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT) {
    FollowTo(view, dc, pt);
}

void MPrintAreaTool::PlaceArea(MTessarayView* view, CDC* dc) {
    // The repaint leaves the frame out; the scope draws it again over the new area.
    MTrackerScope tracker(*this, view, dc);
    view->m_printFactor = m_factor;
    view->m_printCentre = view->DocToPaper(m_centre);
    if (view->m_pageWidth > 0 && view->m_pageHeight > 0) view->m_printArea = view->GetPrintArea();
    view->InvalidateRect(nullptr, TRUE);
    view->UpdateWindow();
}

void MPrintAreaTool::OnNumericInput(MTessarayView* view) {
    {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        MTrackerScope tracker(*this, view, dc.get());
        EnsureFrame(view);
        Lists().RecalcNew(view);
    }
    MInputPrintAreaDialog dialog(view, m_factor);
    if (dialog.DoModal() != IDOK) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    m_factor = dialog.GetFactor();
    FollowTo(view, dc.get(), m_centre);
}
