#include "tools/line/MarkTool.h"

#include "model/shapes/lines/MarkShape.h"
#include "resources/ResourceIds.h"

MMarkTool::MMarkTool(int toolId) : MDrawTool(toolId) {
    LoadPrompt(IDS_MARK_STEPS, 0);
}

MCadShape* MMarkTool::NewShape(MTessarayView*) {
    return new MMarkShape();
}

int MMarkTool::OnPoint(MTessarayView*, double x, double y, int phase, UINT) {
    if (auto* mark = dynamic_cast<MMarkShape*>(GetNewShape(0))) mark->m_position = MFloatPoint(x, y);
    return phase == kPhaseTest ? 1 : 0;
}
