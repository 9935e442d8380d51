// The crossing helper of the erase, trim and hatch operations: where a segment meets a region
// outline, and where a family of parallel lines crosses an outline. Toolkit-free value types.
#pragma once

#include <span>
#include <vector>

#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatPointArray.h"
#include "model/geometry/FloatRect.h"

// Contacts closer than this fraction of a segment's length are one contact, and no piece is
// shorter. Far above the rounding of a crossing, far below anything a drawing shows.
inline constexpr double kCutParamTolerance = 1e-12;

// A straight piece from start to end.
struct MFloatSegment {
    MFloatPoint start;
    MFloatPoint end;

    constexpr bool operator==(const MFloatSegment& o) const { return start == o.start && end == o.end; }
    constexpr bool operator!=(const MFloatSegment& o) const { return !(*this == o); }
};

// The part a + t·(b − a), t0 <= t <= t1, of a segment from a to b.
struct MParamSpan {
    double t0 = 0.0;
    double t1 = 0.0;

    constexpr bool operator==(const MParamSpan& o) const { return t0 == o.t0 && t1 == o.t1; }
};

// A closed polygon that cuts. Inside is even-odd; a point on an edge or a vertex is not inside.
class MCutRegion {
public:
    MCutRegion() = default;
    explicit MCutRegion(std::span<const MFloatPoint> outline);
    // The axis-aligned rectangle with opposite corners p and q.
    static MCutRegion Rectangle(const MFloatPoint& p, const MFloatPoint& q);
    // The four-sided area between the lines a0-b0 and a1-b1, its corners ordered so that its
    // sides do not cross when the lines themselves do not: (a0, b0, a1, b1) for lines running
    // opposite ways, else (a0, b0, b1, a1), unless only the other order has no crossing sides.
    static MCutRegion BetweenLines(const MFloatPoint& a0, const MFloatPoint& b0, const MFloatPoint& a1,
                                   const MFloatPoint& b1);

    // False for fewer than three points, points all on one line (a zero-size drag, two collinear
    // lines) or coordinates that are not finite: such a region cuts nothing.
    bool CanCut() const { return m_canCut; }
    bool IsInside(const MFloatPoint& p) const;
    std::span<const MFloatPoint> GetOutline() const {
        return {m_outline.GetData(), m_outline.GetData() + m_outline.GetSize()};
    }
    const MFloatRect& GetBounds() const { return m_bounds; }

private:
    MFloatPointArray m_outline;
    MFloatRect m_bounds;
    double m_band = 0.0;  // points this close to an edge lie on it
    bool m_canCut = false;
    bool m_isRectangle = false;  // made by Rectangle: inside is a test against the bounds
};

// What a region leaves of one segment.
struct MSegmentCut {
    // Ascending, disjoint, none shorter than kCutParamTolerance; neighbouring kept parts are
    // joined, so a segment that only touches the region stays one span. The whole [0, 1] when
    // reachesInside is false.
    std::vector<MParamSpan> kept;
    // Some part lies inside the region: the segment is cut, or erased when kept is empty.
    bool reachesInside = false;
};

// Cuts a-b by the region: every contact counts (crossings, region vertices on the segment, the
// segment's ends on an edge, the ends of collinear overlaps); the parts between contacts are
// classified by their midpoints. A region that cannot cut leaves the segment whole.
MSegmentCut CutSegment(const MFloatPoint& a, const MFloatPoint& b, const MCutRegion& region);

// CutSegment for many segments by one region, reusing its buffers. The region must outlive it;
// each result is valid until the next Cut.
class MSegmentCutter {
public:
    explicit MSegmentCutter(const MCutRegion& region) : m_region(region) {}
    const MSegmentCut& Cut(const MFloatPoint& a, const MFloatPoint& b);

private:
    const MCutRegion& m_region;
    std::vector<double> m_contacts;
    std::vector<double> m_cuts;
    MSegmentCut m_result;
};

// The point a + t·(b − a), exactly a at 0 and exactly b at 1.
MFloatPoint PointAt(const MFloatPoint& a, const MFloatPoint& b, double t);

// Parallel lines {X : direction × (X − origin) = offset}; the positive side of a line is where
// direction × (X − origin) exceeds its offset (left of the direction). The direction need not be
// a unit vector: with integer directions, points on an integer grid give exact offsets.
struct MLineFamily {
    MFloatPoint origin;
    MFloatPoint direction;
    std::vector<double> offsets;  // ascending
};

// One crossing of a family line with an outline.
struct MFamilyCrossing {
    int line = 0;        // index into the family's offsets
    double along = 0.0;  // direction · (point − origin): the order along the line
    MFloatPoint point;   // on the outline; exactly the vertex when a vertex lies on the line
};

// The half-open rule: an edge crosses a line when exactly one of its ends lies strictly on the
// positive side; an end on the line is the crossing point. An outline passing through a vertex on
// the line crosses once there, one that only touches it zero or two times, and a run along the
// line counts by the edges around it, so the crossings of a closed outline along any line are even
// and their parity tells inside from outside. Grouped by edge, not sorted.
std::vector<MFamilyCrossing> CrossLineFamily(std::span<const MFloatPoint> outline, bool closed,
                                             const MLineFamily& family);
