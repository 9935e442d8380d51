// Cutting a line in two: where another picked line crosses it, or at the foot of the
// perpendicular from a clicked point. The pieces keep the line's attributes; the new ends at the
// cut get no arrow heads.
#pragma once

#include "tools/edit/LineEditTool.h"

// Pick the line to cut, then the line that cuts it: the cut is made at once.
class MLineLineCutTool : public MLineEditTool {
public:
    explicit MLineLineCutTool(int toolId);
    UINT GetPickTraits() override { return kPickTraitsDefault | kPicking; }
    int OnPickShape(MTessarayView* view, double x, double y, UINT flags) override;
};

// Pick the line, then click twice where to cut it (the release of the second click cuts); a cross
// marks the cut point while the foot of the perpendicular lies inside the line, and only then does
// a click count.
class MLineCutTool : public MLineEditTool {
public:
    explicit MLineCutTool(int toolId);
    UINT GetPickTraits() override {
        return kPickTraitsDefault | (Lists().PickCount() == 0 ? kPicking : kNoPickTrait);
    }
    int CreateAndAddShape(MTessarayView* view) override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    // Only a point with a cut there takes the step.
    BOOL IsStepPointSound() override { return Tracker().crossMarkShown; }
    void DrawTracker(MTessarayView* view, CDC* dc) override;
};
