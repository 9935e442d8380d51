#include "tools/edit/LineEditTool.h"

#include <memory>

#include "model/shapes/lines/LineShape.h"
#include "platform/gdi/DC.h"
#include "view/TessarayView.h"

MCadShape* MLineEditTool::FilterPickTarget(MCadShape* shape) {
    return dynamic_cast<MLineShape*>(shape);
}

int MLineEditTool::OnPickAt(MTessarayView* view, double x, double y, UINT flags) {
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    const MFloatPoint pressed = view->DeviceToDoc(dc.get(), GetPressPoint());
    dc.reset();
    // A typed point has no press of its own: it is taken as given.
    const bool typed = GetPointConstraint().HasEntry();
    return typed ? MDrawTool::OnPickAt(view, x, y, flags)
                 : MDrawTool::OnPickAt(view, pressed.x, pressed.y, flags);
}

void MLineEditTool::OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) {
    if (!m_rightButtonEnds || Lists().PickCount() == 0) {
        MDrawTool::OnRButtonDown(view, x, y, flags);
        return;
    }
    RunGuarded(view, [&] { End(view, FALSE); });
}

MLineEnds MLineEditTool::EndsOf(const MCadShape* line) {
    const auto* l = static_cast<const MLineShape*>(line);
    return {l->m_start, l->m_end};
}

MLineShape* MLineEditTool::CopyWithEnds(const MCadShape* line, const MLineEnds& ends) {
    std::unique_ptr<MCadShape> copy(line->Duplicate());
    auto* l = static_cast<MLineShape*>(copy.get());
    l->m_start = ends.start;
    l->m_end = ends.end;
    copy.release();
    return l;
}

void MLineEditTool::AddCutPieces(int index, const MLineCut& cut) {
    MCadShape* line = Lists().Pick(index);
    const int layer = Lists().PickLayer(index);
    const MArrowInfo arrows = line->GetArrows();
    std::unique_ptr<MLineShape> second(CopyWithEnds(line, cut.second));
    second->SetArrows(CutPieceArrows(arrows, MLineEnd::End));
    MLineShape* first = CopyWithEnds(line, cut.first);
    first->SetArrows(CutPieceArrows(arrows, MLineEnd::Start));
    Lists().AddReplacement(first, index);
    Lists().AddNewExpanded(second.get(), layer);
    second.release();
}
