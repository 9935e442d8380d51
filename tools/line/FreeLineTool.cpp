#include "tools/line/FreeLineTool.h"

#include "model/shapes/lines/PolygonShape.h"
#include "resources/ResourceIds.h"

MFreeLineTool::MFreeLineTool(int toolId) : MDrawTool(toolId) {
    DeclareSteps(IDS_FREELINE_STEPS, 0, {MToolStep()});
    ClearConstraint();
}

MCadShape* MFreeLineTool::NewShape(MTessarayView*) {
    return new MPolygonShape(FALSE);
}

void MFreeLineTool::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT) {
    // Every delivered point is a vertex: the trace is the points themselves.
    if (auto* trace = Lists().NewCount() > 0 ? dynamic_cast<MPolygonShape*>(Lists().NewShape(0)) : nullptr)
        trace->AddPoint(cursor);
}
