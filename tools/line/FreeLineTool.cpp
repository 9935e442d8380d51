#include "tools/line/FreeLineTool.h"

#include "model/shapes/lines/PolygonShape.h"
#include "resources/ResourceIds.h"

MFreeLineTool::MFreeLineTool(int toolId) : MDrawTool(toolId) {
    LoadPrompt(IDS_FREELINE_STEPS, 0);
    ClearConstraint();
}

MCadShape* MFreeLineTool::NewShape(MTessarayView*) {
    return new MPolygonShape(FALSE);
}

int MFreeLineTool::OnPoint(MTessarayView*, double x, double y, int phase, UINT) {
    if (auto* trace = GetNewCount() > 0 ? dynamic_cast<MPolygonShape*>(GetNewShape(0)) : nullptr)
        trace->AddPoint(MFloatPoint(x, y));
    return phase == kPhaseTest ? 1 : 0;
}
