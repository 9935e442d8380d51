// AND, OR and minus of two closed outlines, for the fusion tool.
//
// Usage:
//     MFusionResult r = CombineOutlines(first.m_points, second.m_points, MFusionOperation::Or);
//     if (!r.IsDone() || r.loops.empty()) -> no change
//     else every loop becomes one new closed polygon; together they replace both picks
//
// The outlines are closed point lists (the last point joins the first) filled by the even-odd rule,
// in either direction, and may touch, share edges, meet in T-junctions, lie one inside the other or
// cross themselves. The result is the complete set of loops or nothing: each loop has at least three
// points, lies on the outlines' edges (crossings and T-junctions added, straight-through points
// dropped) and is simple; loops meet only at single points and never cross. Outer outlines run
// counter-clockwise, holes clockwise and come as separate loops; the even-odd union of the loops is
// the result. Points closer than 2^-40 of the largest coordinate count as one point.
#pragma once

#include <vector>

#include "model/geometry/FloatPointArray.h"
#include "model/geometry/FusionVertexArray.h"

// The numbers are the fusion dialog's operation values.
enum class MFusionOperation { And = 1, Or = 2, Minus = 3 };

enum class MFusionStatus {
    Done,          // loops holds the whole result (none for an empty one, e.g. AND of separate shapes)
    BadOutline,    // an outline has fewer than three distinct points or a coordinate that is not finite
    Inconsistent,  // the graph failed a structural check; nothing is returned
};

struct MFusionResult {
    MFusionStatus status = MFusionStatus::Done;
    std::vector<MFloatPointArray> loops;

    bool IsDone() const { return status == MFusionStatus::Done; }
};

// first AND second, first OR second, or first minus second (any other operation value: no loops).
MFusionResult CombineOutlines(const MFloatPointArray& first, const MFloatPointArray& second,
                              MFusionOperation op);

// The steps after building, on any graph whose edges meet only at vertices (outline s: shape s): the
// faces between the edges are labelled inside or outside each outline by the edges' runs, starting
// from the outside of everything; the edges between a face in the result and one outside it are
// kept, directed with the result on their left, and walked into loops. Fails with Inconsistent when
// the labels contradict each other (an outline that does not close, a graph that is not planar) or
// when a kept edge ends in no loop. Sorts the graph's neighbour lists.
MFusionResult ExtractFusionLoops(MFusionVertexArray& graph, MFusionOperation op);
