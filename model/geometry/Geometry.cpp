#include "model/geometry/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

double NormalizeAngle(double angle) {
    if (!std::isfinite(angle)) return 0.0;
    // Far-off angles are first brought near the range in one step; nearby ones take the same
    // additions as always, so ordinary results stay bit for bit the same.
    if (std::fabs(angle) > 16 * kPi) angle = std::fmod(angle, kTwoPi);
    while (angle < -kPi)
        angle += kTwoPi;
    while (angle > kPi)
        angle -= kTwoPi;
    return angle;
}

double GetBisectorAngle(double a, double b) {
    double h = NormalizeAngle(NormalizeAngle(b - a) * 0.5);
    if (h < 0) h = NormalizeAngle(h + kPi);
    return NormalizeAngle(a + h);
}

double IntersectLines(MFloatPoint* out, const MFloatPoint& p1, const MFloatPoint& p2, const MFloatPoint& d1,
                      const MFloatPoint& d2) {
    const double det = d1.Cross(d2);
    if (det * det <= kZeroTolerance) {
        *out = p1;
        return 0.0;
    }
    const double s = (p2 - p1).Cross(d2) / det;
    *out = p1 + d1 * s;
    return -s;
}

BOOL AreLinesParallel(const MFloatPoint& a1, const MFloatPoint& a2, const MFloatPoint& b1,
                      const MFloatPoint& b2) {
    const double c = (a2 - a1).Cross(b2 - b1);
    return c * c < kZeroTolerance;
}

BOOL IntersectSegments(const MFloatPoint& a1, const MFloatPoint& a2, const MFloatPoint& b1,
                       const MFloatPoint& b2, MFloatPoint* out, int flags) {
    const MFloatPoint da = a2 - a1;
    const MFloatPoint db = b2 - b1;
    const double det = da.Cross(db);
    if (det * det < kZeroTolerance) return FALSE;
    const MFloatPoint w = b1 - a1;
    const double s = w.Cross(db) / det;
    const double u = w.Cross(da) / det;
    auto inside = [](double v) { return v >= kSegmentParamMin && v <= kSegmentParamMax; };
    if ((flags & kBoundedA) && !inside(s)) return FALSE;
    if ((flags & kBoundedB) && !inside(u)) return FALSE;
    *out = a1 + da * s;
    return TRUE;
}

namespace {

// The foot of p on the line from base along d, and its parameter along d. A direction shorter than
// the zero tolerance gives base itself (parameter 0): the nearest point of a degenerate segment.
double ProjectOnLine(const MFloatPoint& base, const MFloatPoint& d, const MFloatPoint& p, MFloatPoint* foot) {
    const double len2 = d.Dot(d);
    if (IsNearZero(std::sqrt(len2))) {
        *foot = base;
        return 0.0;
    }
    const double u = (p - base).Dot(d) / len2;
    *foot = base + d * u;
    return u;
}

}  // namespace

void GetPerpendicularFoot(MFloatPoint* out, const MFloatPoint& a, const MFloatPoint& b,
                          const MFloatPoint& p) {
    ProjectOnLine(a, b - a, p, out);
}

BOOL IsPerpendicularFootOnSegment(const MFloatPoint& a, const MFloatPoint& b, const MFloatPoint& p,
                                  MFloatPoint* out) {
    const double u = ProjectOnLine(b, a - b, p, out);
    return u >= 0.0 && u <= 1.0;
}

int SolveQuadratic(double a, double b, double c, double* re1, double* im1, double* re2, double* im2) {
    *re1 = *im1 = *re2 = *im2 = 0.0;
    if (a == 0.0) {
        if (b == 0.0) return c == 0.0 ? -1 : 0;
        *re1 = -c / b;
        return 1;
    }
    const double bb = b / a;
    const double cc = c / a;
    if (cc == 0.0) {
        *re1 = -bb;
        *re2 = 0.0;
        return 2;
    }
    const double half = bb / 2;
    const double h = half * half - cc;
    if (h > 0) {
        // The root of larger magnitude first, the other from the product of the roots: no cancellation.
        const double m = half > 0 ? -half - std::sqrt(h) : std::sqrt(h) - half;
        *re1 = m;
        *re2 = cc / m;
        return 2;
    }
    if (h == 0) {
        *re1 = -half;
        return 1;
    }
    *re1 = *re2 = -half;
    *im1 = std::sqrt(-h);
    *im2 = -std::sqrt(-h);
    return 2;
}

BOOL GetBisectorLine(const MFloatPoint& a0, const MFloatPoint& a1, const MFloatPoint& b0,
                     const MFloatPoint& b1, const MFloatPoint& pickA, const MFloatPoint& pickB,
                     MFloatPoint* out1, MFloatPoint* out2) {
    const MFloatPoint da = a1 - a0;
    const MFloatPoint db = b1 - b0;
    if (!(da.GetLength() > kZeroTolerance) || !(db.GetLength() > kZeroTolerance)) return FALSE;

    MFloatPoint x;
    if (IntersectSegments(a0, a1, b0, b1, &x, 0)) {
        // Each line's direction is taken from the crossing towards its pick, so the result is the
        // bisector of the angle the user picked whatever the lines' own orientation.
        MFloatPoint ua = da.GetUnit();
        MFloatPoint ub = db.GetUnit();
        if (ua.Dot(pickA - x) < 0) ua = -ua;
        if (ub.Dot(pickB - x) < 0) ub = -ub;
        *out1 = x;
        *out2 = x + (ua + ub) * 0.5;
        return TRUE;
    }
    // Parallel: pair the ends that lie on the same side, judged by the directions (not by position
    // vectors, which would depend on where the origin is).
    MFloatPoint c0 = b0, c1 = b1;
    if (da.Dot(db) < 0) std::swap(c0, c1);
    *out1 = (a0 + c0) * 0.5;
    *out2 = (a1 + c1) * 0.5;
    return TRUE;
}

int FindNearestSegment(const MFloatPointArray& points, BOOL closed, const MFloatPoint& p) {
    const int n = points.GetSize();
    if (n < 2) return -1;
    const int segments = closed ? n : n - 1;
    auto footOf = [&](int index) {
        MFloatPoint foot;
        GetPerpendicularFoot(&foot, points[index], points[index + 1 < n ? index + 1 : 0], p);
        return foot - p;
    };
    // Squared distances first: the exact lengths, whose comparison decides, are measured only
    // for the segments that can be the nearest. Those lie within a relative margin far above the
    // rounding of either measure; tiny distances all count, and a NaN anywhere measures them all.
    std::vector<double> squared(static_cast<std::size_t>(segments));
    double least = std::numeric_limits<double>::infinity();
    bool measureAll = false;
    for (int i = 0; i < segments; ++i) {
        const MFloatPoint d = footOf(i);
        squared[i] = d.Dot(d);
        if (std::isnan(squared[i])) measureAll = true;
        least = std::min(least, squared[i]);
    }
    constexpr double kTiny = 1e-280, kMargin = 1e-9;
    const double limit = std::max(least, kTiny) * (1 + kMargin);
    int best = -1;
    double bestDist = 0.0;
    for (int i = 0; i < segments; ++i) {
        if (!measureAll && squared[i] > limit) continue;
        const double d = footOf(i).GetLength();
        if (best < 0 || d < bestDist) {
            best = i;
            bestDist = d;
        }
    }
    return best;
}

void DividePolyline(const MFloatPoint& a, const MFloatPoint& b, const MFloatPointArray& points, BOOL closed,
                    int count, MFloatPointArray& out, const MFloatPoint& hint) {
    MPolylineDivision(a, b, points, closed, count).Divide(hint, out);
}

MPolylineDivision::MPolylineDivision(const MFloatPoint& a, const MFloatPoint& b,
                                     const MFloatPointArray& points, BOOL closed, int count)
    : m_a(a), m_b(b), m_points(points), m_closed(closed), m_count(count) {
    const int n = points.GetSize();
    if (n < 2 || count <= 0) return;
    m_divides = true;
    Way& way = m_way[0];
    way.p = a;
    way.q = b;
    way.s = FindNearestSegment(points, closed, way.p);
    way.e = FindNearestSegment(points, closed, way.q);
    if (way.e < way.s) {
        std::swap(way.p, way.q);
        std::swap(way.s, way.e);
    }
    const MFloatPoint& first = points[way.s % n];
    if (way.s == way.e && (way.q - first).GetLength() < (way.p - first).GetLength()) std::swap(way.p, way.q);
    if (!closed) return;
    if ((way.q - way.p).GetLength() > kZeroTolerance) {
        // The other way round the ring: from q forwards past the ring's start to p.
        m_hintChooses = true;
        m_way[1] = Way{way.q, way.p, way.e, way.s + n};
    } else {
        way.e += n;
    }
}

bool MPolylineDivision::Matches(const MFloatPoint& a, const MFloatPoint& b, const MFloatPointArray& points,
                                BOOL closed, int count) const {
    return a == m_a && b == m_b && &points == &m_points && closed == m_closed && count == m_count;
}

void MPolylineDivision::Divide(const MFloatPoint& hint, MFloatPointArray& out) {
    out.RemoveAll();
    if (!m_divides) return;
    int way = 0;
    if (m_hintChooses) {
        const int r = FindNearestSegment(m_points, m_closed, hint);
        if (r < m_way[0].s || r > m_way[0].e) way = 1;
    }
    if (!m_walked[way]) {
        Walk(m_way[way], m_divided[way]);
        m_walked[way] = true;
    }
    out = m_divided[way];
}

void MPolylineDivision::Walk(const Way& way, MFloatPointArray& out) const {
    out.RemoveAll();
    const int n = m_points.GetSize(), count = m_count, s = way.s, e = way.e;
    const MFloatPoint &p = way.p, &q = way.q;
    auto vertex = [&](int i) -> const MFloatPoint& { return m_points[i % n]; };

    double sum = 0.0;
    for (int i = s; i < e; ++i)
        sum += (vertex(i + 1) - vertex(i)).GetLength();
    // The path runs from p (on segment s, past vertex s) to q (past vertex e).
    const double length = sum - (p - vertex(s)).GetLength() + (q - vertex(e)).GetLength();
    const double step = length / count;

    MFloatPoint current = p;
    double accumulated = 0.0;
    if (s < e && count > 1) {
        for (int target = s + 1; target <= e && out.GetSize() < count - 1;) {
            const MFloatPoint& v = vertex(target);
            const double gap = (v - current).GetLength();
            const double reach = accumulated + gap;
            if (step <= reach) {
                if (gap > kZeroTolerance) current = current + (v - current) * ((step - accumulated) / gap);
                out.Add(current);
                accumulated = 0.0;
            } else {
                current = v;
                accumulated = reach;
                ++target;
            }
        }
    }

    // The rest lies on the last segment, from vertex e towards q.
    const MFloatPoint towardsQ = q - vertex(e);
    const MFloatPoint dir = towardsQ.GetLength() < kZeroTolerance ? MFloatPoint() : towardsQ.GetUnit();
    double offset = step - accumulated;
    while (out.GetSize() < count - 1) {
        out.Add(current + dir * offset);
        offset += step;
    }
}
