// The numeric conventions of the drawing code and the free geometry routines.
#pragma once

#include <cfloat>
#include <cmath>

#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatPointArray.h"
#include "model/geometry/FloatRect.h"
#include "platform/WinTypes.h"

// Lengths, determinants, scale factors and radii below this (ten machine epsilons) count as zero.
inline constexpr double kZeroTolerance = 2.220446e-15;
// What distance and angle queries return when they have nothing to report.
inline constexpr double kNoAnswer = DBL_MAX;
// Parameter window of IntersectSegments' bounded tests: [kZeroTolerance, 1 - kZeroTolerance].
inline constexpr double kSegmentParamMin = 2.220446e-15;
inline constexpr double kSegmentParamMax = 0.9999999999999978;

inline constexpr double kPi = 3.14159265358979323846;
// 2 kPi, written out: a test with a file-local kPi of its own may share a unity batch with this header.
inline constexpr double kTwoPi = 6.283185307179586;

inline bool IsNearZero(double v) {
    return std::fabs(v) < kZeroTolerance;
}

// |x| * 10 machine epsilons.
inline double GetRelativeTolerance(double x) {
    return std::fabs(x * 2.220446e-16 * 10);
}

// Into [-pi, pi]: 3·pi gives pi and -3·pi gives -pi. NaN and infinities give 0.
double NormalizeAngle(double angle);

// The direction halfway along the counter-clockwise turn from a to b.
double GetBisectorAngle(double a, double b);
inline void GetBisectorAngle(double* out, double a, double b) {
    *out = GetBisectorAngle(a, b);
}

// Crossing of p1 + s·d1 with p2 + u·d2. Returns t = -s, so that out = p1 - t·d1. Parallel lines
// (squared cross product of the directions not above the tolerance): out = p1, result 0.
double IntersectLines(MFloatPoint* out, const MFloatPoint& p1, const MFloatPoint& p2, const MFloatPoint& d1,
                      const MFloatPoint& d2);

BOOL AreLinesParallel(const MFloatPoint& a1, const MFloatPoint& a2, const MFloatPoint& b1,
                      const MFloatPoint& b2);

// Flags for IntersectSegments: the crossing must lie inside segment a (1) and/or segment b (2),
// ends excluded; 0 intersects the infinite lines.
inline constexpr int kBoundedA = 1;
inline constexpr int kBoundedB = 2;
// FALSE for parallel lines and for crossings outside a required segment; else out = the crossing.
BOOL IntersectSegments(const MFloatPoint& a1, const MFloatPoint& a2, const MFloatPoint& b1,
                       const MFloatPoint& b2, MFloatPoint* out, int flags);

// Foot of the perpendicular from p on the infinite line through a and b (p itself when a = b).
void GetPerpendicularFoot(MFloatPoint* out, const MFloatPoint& a, const MFloatPoint& b, const MFloatPoint& p);
// Computes the foot into out; TRUE when it lies on the segment, ends included.
BOOL IsPerpendicularFootOnSegment(const MFloatPoint& a, const MFloatPoint& b, const MFloatPoint& p,
                                  MFloatPoint* out);

// a·x² + b·x + c = 0. Roots as (real, imaginary) pairs. Returns the number of roots, 0 for none and
// -1 when every x solves it (a = b = c = 0).
int SolveQuadratic(double a, double b, double c, double* re1, double* im1, double* re2, double* im2);

// Crossing lines: out1 = the crossing X, out2 = X + half the sum of the unit directions from X
// towards the picks (the bisector of the picked angle). Parallel lines: the mid-line, its ends the
// midpoints of corresponding ends. Independent of where the origin lies. FALSE when a line is
// shorter than the zero tolerance.
BOOL GetBisectorLine(const MFloatPoint& a0, const MFloatPoint& a1, const MFloatPoint& b0,
                     const MFloatPoint& b1, const MFloatPoint& pickA, const MFloatPoint& pickB,
                     MFloatPoint* out1, MFloatPoint* out2);

// Index of the segment whose infinite line is nearest p (the first on ties); the closing segment,
// when closed, has index n - 1. A zero-length segment counts by the distance to its point.
// -1 for fewer than 2 points.
int FindNearestSegment(const MFloatPointArray& points, BOOL closed, const MFloatPoint& p);

// Empties out, then appends the count - 1 points that divide the path along the polyline from a to b
// into count equal lengths; on a closed ring the way round that holds hint. Nothing for fewer than
// 2 points or count <= 0.
void DividePolyline(const MFloatPoint& a, const MFloatPoint& b, const MFloatPointArray& points, BOOL closed,
                    int count, MFloatPointArray& out, const MFloatPoint& hint);

// DividePolyline for one set of ends and many hints: the ends are found once and each way round
// is walked once. The points must stay as they are while it is used.
class MPolylineDivision {
public:
    MPolylineDivision(const MFloatPoint& a, const MFloatPoint& b, const MFloatPointArray& points, BOOL closed,
                      int count);
    // It was made from these arguments (the points by their address).
    bool Matches(const MFloatPoint& a, const MFloatPoint& b, const MFloatPointArray& points, BOOL closed,
                 int count) const;
    // As DividePolyline(a, b, points, closed, count, out, hint).
    void Divide(const MFloatPoint& hint, MFloatPointArray& out);

private:
    // The path from p (on segment s, past vertex s) to q (past vertex e, counted on past n round
    // the ring).
    struct Way {
        MFloatPoint p, q;
        int s = 0, e = 0;
    };
    void Walk(const Way& way, MFloatPointArray& out) const;

    MFloatPoint m_a, m_b;
    const MFloatPointArray& m_points;
    BOOL m_closed;
    int m_count;
    bool m_divides = false;
    // On a ring with ends apart the hint chooses between way 0 and the way round, way 1.
    bool m_hintChooses = false;
    Way m_way[2];
    bool m_walked[2] = {false, false};
    MFloatPointArray m_divided[2];
};

// MRadian normalises with NormalizeAngle above.
#include "model/geometry/Radian.h"  // IWYU pragma: export
