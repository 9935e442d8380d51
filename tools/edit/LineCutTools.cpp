#include "tools/edit/LineCutTools.h"

#include <memory>
#include <optional>

#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/gdi/DC.h"
#include "resources/ResourceIds.h"
#include "tools/PickList.h"
#include "view/TessarayView.h"

// ----- at a crossing ----------------------------------------------------------------------------

MLineLineCutTool::MLineLineCutTool(int toolId) : MLineEditTool(toolId) {
    LoadPrompt(0, IDS_LINELINECUT_PICKS);
    m_rightButtonEnds = TRUE;
}

int MLineLineCutTool::OnPickShape(MTessarayView*, double, double, UINT) {
    if (Lists().PickCount() < 2) return 0;
    const MLineEnds line = EndsOf(Lists().Pick(0));
    std::optional<MLineCut> cut;
    for (int i = Lists().PickCount() - 1; i >= 1 && !cut; --i)
        cut = CutAtCrossing(line, EndsOf(Lists().Pick(i)));
    if (cut) AddCutPieces(0, *cut);
    Lists().ClearPicks();
    return cut.has_value();
}

// ----- at a point -------------------------------------------------------------------------------

MLineCutTool::MLineCutTool(int toolId) : MLineEditTool(toolId) {
    // After the pick the cut point follows the pointer through two steps; the release that ends
    // the second cuts there.
    DeclareSteps(0, IDS_LINECUT_PICKS, {MToolStep(), MToolStep()});
}

int MLineCutTool::CreateAndAddShape(MTessarayView*) {
    if (Lists().PickCount() < 1) return 0;
    MCadShape* line = Lists().Pick(0);
    const MLineEnds ends = EndsOf(line);
    // Whole copies until a cut point is found; only a found one is shown or committed.
    AddCutPieces(0, MLineCut{ends.start, ends, ends});
    Tracker().crossMarkShown = FALSE;
    return 2;
}

void MLineCutTool::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT) {
    if (Lists().NewCount() < 2 || Lists().EditedCount() < 1) return;
    const MCadShape* line = Lists().Edited(0);
    const std::optional<MLineCut> cut = CutAtFoot(EndsOf(line), cursor);
    Tracker().crossMarkShown = cut.has_value();
    if (cut) {
        static_cast<MLineShape*>(Lists().NewShape(0))->m_end = cut->point;
        static_cast<MLineShape*>(Lists().NewShape(1))->m_start = cut->point;
        Tracker().crossMarkPoint = cut->point;
    }
}

void MLineCutTool::DrawTracker(MTessarayView* view, CDC* dc) {
    if (!view || !dc) return;
    const int oldRop = dc->SetROP2(R2_XORPEN);
    if (Lists().PickCount() > 0) Lists().Picks().GetShapes().DrawMarked(view, dc);
    if (Tracker().crossMarkShown) {
        const CPoint p = view->DocToLogical(Tracker().crossMarkPoint);
        CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
        CPen* oldPen = dc->SelectObject(&pen);
        dc->MoveTo(p.x - 4, p.y);
        dc->LineTo(p.x + 5, p.y);
        dc->MoveTo(p.x, p.y - 4);
        dc->LineTo(p.x, p.y + 5);
        dc->SelectObject(oldPen);
    }
    dc->SetROP2(oldRop);
}
