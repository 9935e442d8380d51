#include "tools/edit/CornerTool.h"

#include "model/shapes/lines/LineShape.h"
#include "resources/ResourceIds.h"

MCornerTool::MCornerTool(int toolId) : MLineEditTool(toolId) {
    LoadPrompt(0, IDS_CORNER_PICKS);
}

int MCornerTool::OnPickShape(MTessarayView*, double, double, UINT) {
    if (Lists().PickCount() < 2) return 0;
    const MLineEnds lines[2] = {EndsOf(Lists().Pick(0)), EndsOf(Lists().Pick(1))};
    const std::optional<MLineCrossing> crossing = CrossLines(lines[0], lines[1]);
    if (crossing) {
        const double at[2] = {crossing->t0, crossing->t1};
        for (int i = 0; i < 2; ++i) {
            const MLineEnd kept = GetKeptEnd(at[i], GetLineParameter(lines[i], Lists().PickPoint(i)));
            Lists().AddReplacement(
                CopyWithEnds(Lists().Pick(i), WithMovedEnd(lines[i], kept, crossing->point)), i);
        }
    }
    Lists().ClearPicks();
    return Lists().NewCount() > 0;
}
