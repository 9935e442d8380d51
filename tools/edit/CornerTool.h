// The corner tool ("コーナー"): two picked lines are made to meet at their crossing, each keeping
// the part on the side where it was picked, the other end trimmed or extended to the crossing. Both
// lines change in their places in one undo step; parallel lines stay as they are.
#pragma once

#include "tools/edit/LineEditTool.h"

class MCornerTool : public MLineEditTool {
public:
    explicit MCornerTool(int toolId);

    UINT GetPickTraits() override { return kPickTraitsDefault | kPicking; }
    // Every second picked line completes an operation.
    int OnPickShape(MTessarayView* view, double x, double y, UINT flags) override;
};
