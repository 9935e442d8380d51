// The mark tool: one point mark per click, where the button is released.
#pragma once

#include "tools/DrawTool.h"

class MMarkTool : public MDrawTool {
public:
    explicit MMarkTool(int toolId);

    MCadShape* NewShape(MTessarayView* view) override;
    // The mark follows the pointer while the button is down; the release commits it.
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
};
