// Tidying the ends of straight lines with one dragged rectangle: lines whose extension a side
// crosses are stretched or cut back to their nearest meeting point with another line; lines that
// a side crosses keep the part on the crossed side, cut back at their nearest crossing with
// another line; lines inside are split where the crossed lines' carriers meet them.
#pragma once

#include <span>
#include <vector>

#include "model/geometry/SegmentCuts.h"

// What becomes of one line.
struct MTrimOutcome {
    // False: the line stays as it is (pieces is then the line itself).
    bool changed = false;
    // Along the line's own direction, none of zero length, none overlapping another. Ends that are
    // the line's own ends are bit-exact copies of them. Empty never happens for a line that takes
    // part: a changed line always keeps at least one piece.
    std::vector<MFloatSegment> pieces;
};

// Trims the lines touched by the rectangle that press and release span (the lines, not the
// rectangle, are the caller's pick). One outcome per line, in the same order. Fewer than two
// lines, or a rectangle without area, change nothing.
std::vector<MTrimOutcome> TrimLines(std::span<const MFloatSegment> lines, const MFloatPoint& press,
                                    const MFloatPoint& release);
