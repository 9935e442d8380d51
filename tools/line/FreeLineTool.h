// The freehand tool: while the button is held every delivered point becomes a vertex of an open
// polygon (the press, each move past the dead zone, the release); the release commits the trace.
#pragma once

#include "tools/DrawTool.h"

class MFreeLineTool : public MDrawTool {
public:
    explicit MFreeLineTool(int toolId);

    MCadShape* NewShape(MTessarayView* view) override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    BOOL CanNumericInput() override { return FALSE; }
};
