#include "tools/edit/LineExtendTool.h"

#include "model/shapes/lines/LineShape.h"
#include "resources/ResourceIds.h"

MLineExtendTool::MLineExtendTool(int toolId) : MLineEditTool(toolId) {
    LoadPrompt(0, IDS_LINEEXTEND_PICKS);
    m_rightButtonEnds = TRUE;
}

int MLineExtendTool::OnPickShape(MTessarayView*, double, double, UINT) {
    if (Lists().PickCount() < 2) return 0;
    const MLineEnds boundary = EndsOf(Lists().Pick(0));
    for (int i = Lists().PickCount() - 1; i >= 1; --i) {
        if (auto moved = ExtendToLine(EndsOf(Lists().Pick(i)), Lists().PickPoint(i), boundary))
            Lists().AddReplacement(CopyWithEnds(Lists().Pick(i), *moved), i);
        Lists().RemovePickAt(i);
    }
    return Lists().NewCount() > 0;
}
