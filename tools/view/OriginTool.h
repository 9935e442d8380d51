// The origin tool: a click makes the point the drawing's origin; numeric input moves the origin by
// a typed offset. The origin is the document's (saved with it) as well as the view's, outside
// undo; either change marks the drawing modified so that closing it asks to save.
#pragma once

#include "tools/DrawTool.h"

class MOriginTool : public MDrawTool {
public:
    explicit MOriginTool(int toolId);

    void OnButtonDownAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) override;
    BOOL CanNumericInput() override { return TRUE; }
    void OnNumericInput(MTessarayView* view) override;

private:
    void MoveOrigin(MTessarayView* view, const MFloatPoint& origin);
};
