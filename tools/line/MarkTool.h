// The mark tool: one point mark per click, where the button is released.
#pragma once

#include "tools/DrawTool.h"

class MMarkTool : public MDrawTool {
public:
    explicit MMarkTool(int toolId);

    MCadShape* NewShape(MTessarayView* view) override;
    // The mark follows the pointer while the button is down; the release commits it.
    int OnPoint(MTessarayView* view, double x, double y, int phase, UINT flags) override;
};
