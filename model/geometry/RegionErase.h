// Erasing the parts of lines and outlines that lie inside a region (a dragged rectangle or the
// area between two lines). What stays comes back as open runs; the tool makes a line of each
// two-point run and an open polyline of each longer one.
#pragma once

#include <span>
#include <vector>

#include "model/geometry/SegmentCuts.h"

// What a region leaves of one shape.
struct MRegionCut {
    // No part lies inside: the shape stays as it is, neither replaced nor copied; runs is empty.
    bool reachesInside = false;
    // The pieces outside the region, each at least two points without repeats. Ends that are the
    // shape's own ends are bit-exact copies of them (so their arrows can stay); the others are cut
    // ends. Empty with reachesInside: the shape is erased whole.
    std::vector<std::vector<MFloatPoint>> runs;
};

// A straight line a-b.
MRegionCut CutLineByRegion(const MFloatPoint& a, const MFloatPoint& b, const MCutRegion& region);

// A polyline, or a closed outline when closed (the closing edge from the last vertex back to the
// first is cut too, and the run through the first vertex comes back as one piece). Pieces of a
// closed outline are open.
MRegionCut CutOutlineByRegion(std::span<const MFloatPoint> points, bool closed, const MCutRegion& region);
