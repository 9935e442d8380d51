// Hatching: parallel lines laid through a point in up to four directions, in groups, and cut into
// the pieces that lie in the region the picked boundaries enclose. Toolkit-free: the tool turns
// its picks into boundaries and the pieces into line shapes of one group.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "model/geometry/SegmentCuts.h"

// The four hatch directions, in the order of the direction flags.
enum class MHatchDirection { Horizontal, Vertical, Falling, Rising };

// One picked boundary shape.
struct MHatchBoundary {
    // A line has sides (its carrier divides the plane); an open polyline has none; a closed outline
    // has an inside and an outside.
    enum class Kind { Line, Open, Closed };

    Kind kind = Kind::Closed;
    std::vector<MFloatPoint> points;

    static MHatchBoundary Line(const MFloatPoint& a, const MFloatPoint& b) { return {Kind::Line, {a, b}}; }
    static MHatchBoundary Outline(std::span<const MFloatPoint> points, bool closed) {
        return {closed ? Kind::Closed : Kind::Open, {points.begin(), points.end()}};
    }
};

struct MHatchSettings {
    // Drawing lengths along the direction's step vector (horizontal (0, 1), vertical (1, 0),
    // falling (1, 1), rising (1, -1)): diagonal lines lie √2 times these apart.
    double pitch = 3.0;    // from one group of lines to the next
    double spacing = 1.0;  // between the lines of one group
    int lineCount = 1;     // lines per group, at least 1
    // 0: alternate pieces (even-odd over every crossing); 1: the pieces on the side point's side of
    // every boundary.
    int mode = 1;
    std::array<bool, 4> directions{false, false, false, true};  // by MHatchDirection
};

struct MHatchEstimate {
    double lines = 0.0;  // about how many hatch lines the settings lay over the boundaries' extent
    // The pitch (or a spacing in use) is too small to move a line at these coordinates: nothing
    // can be laid. Also set for a pitch that is not positive or not finite.
    bool belowResolution = false;
};

// Cheap, before laying: from the extent's diagonal, the pitch, spacing, line count and directions.
MHatchEstimate EstimateHatchLines(std::span<const MHatchBoundary> boundaries, const MFloatPoint& through,
                                  const MHatchSettings& settings);

// The hatch pieces. Lines pass through `through` (the snapped click: the first line of each
// direction runs through it exactly) and repeat in groups across the boundaries' extent. Crossings
// follow the half-open rule of CrossLineFamily; equal crossings of different boundaries are all
// kept. In mode 1 the sides are taken at `sidePoint` (the click before snapping, which may lie on
// a boundary): a closed outline by even-odd with its boundary outside, a line by its carrier (a
// side point on the carrier does not restrict), an open polyline not at all. Each piece runs
// between two neighbouring crossings along its direction and is never shorter than the
// tolerance. Nothing for settings that cannot be laid (see MHatchEstimate).
std::vector<MFloatSegment> LayHatch(std::span<const MHatchBoundary> boundaries, const MFloatPoint& through,
                                    const MFloatPoint& sidePoint, const MHatchSettings& settings);
