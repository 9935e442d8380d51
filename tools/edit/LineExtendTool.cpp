#include "tools/edit/LineExtendTool.h"

#include "model/shapes/lines/LineShape.h"
#include "resources/ResourceIds.h"

MLineExtendTool::MLineExtendTool(int toolId) : MLineEditTool(toolId) {
    LoadPrompt(0, IDS_LINEEXTEND_PICKS);
    m_rightButtonEnds = TRUE;
}

int MLineExtendTool::OnPickShape(MTessarayView*, double, double, UINT) {
    if (GetPickCount() < 2) return 0;
    const MLineEnds boundary = EndsOf(GetPickShape(0));
    for (int i = GetPickCount() - 1; i >= 1; --i) {
        if (auto moved = ExtendToLine(EndsOf(GetPickShape(i)), GetPickPoint(i), boundary))
            AddReplacement(CopyWithEnds(GetPickShape(i), *moved), i);
        RemovePickAt(i);
    }
    return GetNewCount() > 0;
}
