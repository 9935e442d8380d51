#include "tools/line/MarkTool.h"

#include "model/shapes/lines/MarkShape.h"
#include "resources/ResourceIds.h"

MMarkTool::MMarkTool(int toolId) : MDrawTool(toolId) {
    DeclareSteps(IDS_MARK_STEPS, 0, {MToolStep()});
}

MCadShape* MMarkTool::NewShape(MTessarayView*) {
    return new MMarkShape();
}

void MMarkTool::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT) {
    if (auto* mark = dynamic_cast<MMarkShape*>(Lists().NewShape(0))) mark->m_position = cursor;
}
