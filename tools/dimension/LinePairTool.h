// What the line angle dimension and the angle measuring tool share: two picked straight lines,
// where they cross, and from the crossing the ray of each line towards the side it was picked on.
#pragma once

#include <optional>

#include "model/geometry/LineEdit.h"
#include "tools/DrawTool.h"

struct MPickedLineRays {
    MFloatPoint crossing;
    double ray0 = 0.0;  // radians, -pi to pi
    double ray1 = 0.0;
};

// Each line's direction, turned round when its pick lies behind the crossing along it. Nothing for
// parallel lines and lines without a direction (CrossLines).
std::optional<MPickedLineRays> GetRaysTowardPicks(const MLineEnds& line0, const MFloatPoint& pick0,
                                                  const MLineEnds& line1, const MFloatPoint& pick1);
// The angle between two rays, 0 to pi.
double GetAngleBetweenRays(double ray0, double ray1);

class MLinePairTool : public MDrawTool {
public:
    using MDrawTool::MDrawTool;

    // Straight lines only.
    MCadShape* FilterPickTarget(MCadShape* shape) override;
    // Picks where the user pressed: a snap onto an end point or the crossing must not change which
    // side of the crossing is meant.
    int OnPickAt(MTessarayView* view, double x, double y, UINT flags) override;

protected:
    // The rays of the first two picks; nothing with fewer picks or for lines that do not cross.
    std::optional<MPickedLineRays> PickedRays() const;
};
