// Lengthens or shortens lines to a boundary line: the first pick is the boundary, each further
// pick is moved to it at once in an undo step of its own, until the right button drops the
// boundary.
#pragma once

#include "tools/edit/LineEditTool.h"

class MLineExtendTool : public MLineEditTool {
public:
    explicit MLineExtendTool(int toolId);
    UINT GetPickTraits() override { return kPickTraitsDefault | kPicking; }
    int OnPickShape(MTessarayView* view, double x, double y, UINT flags) override;
};
