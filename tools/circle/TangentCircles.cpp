#include "tools/circle/TangentCircles.h"

#include <cfloat>
#include <vector>

#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/LineShape.h"
#include "tools/circle/TangentSupport.h"

namespace {

MLineEnds Shifted(const MTouchLine& line, const MFloatPoint& origin) {
    return {line.start - origin, line.end - origin};
}

// The counting rule: a circle, not a point, whose centre is off the given centres.
bool IsUsable(const MTangentCircle& t, const MTouchExtent& extent,
              std::initializer_list<MFloatPoint> centres) {
    if (!IsFinite(t) || !(t.radius > extent.Point())) return false;
    for (const MFloatPoint& c : centres)
        if (!((t.centre - c).GetLength() > extent.Zero())) return false;
    return true;
}

// The point of the candidate in the direction of c.
MFloatPoint Contact(const MTangentCircle& t, const MFloatPoint& c) {
    const MFloatPoint v = t.centre - c;
    const double d = v.GetLength();
    return d > 0 ? t.centre - v * (t.radius / d) : t.centre;
}

// The counted candidate of least score (a strictly lower score replaces), or the first candidate
// when none counts.
template <class Counts, class Score>
MTangentCircle Choose(const std::vector<MTangentCircle>& candidates, Counts counts, Score score) {
    size_t best = 0;
    double bestScore = DBL_MAX;
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (!counts(candidates[i])) continue;
        const double s = score(candidates[i]);
        if (s < bestScore) {
            best = i;
            bestScore = s;
        }
    }
    return candidates[best];
}

// One by one: GCC 12 at -O3 misreads a range insert from the pair as reading past it.
void Append(std::vector<MTangentCircle>& list, const MTangentPair& pair) {
    for (const MTangentCircle& circle : pair)
        list.push_back(circle);
}

}  // namespace

MTangentCircle SolveTouchCircle(const MTouchInput& in, const MTouchCircle& a) {
    const MFloatPoint p = in.cursor;
    const double d = (p - a.centre).GetLength();
    if (in.radiusFixed) {
        const MTouchExtent extent = MTouchExtent(a.centre).Add(p).Add(a.radius);
        const MFloatPoint u = d > extent.Zero() ? (p - a.centre) / d : MFloatPoint(1, 0);
        const double m = d < a.radius ? a.radius - in.radius : a.radius + in.radius;
        return Finite({a.centre + u * m, in.radius}, in);
    }
    const bool farSide = (a.centre - a.pick).Dot(a.centre - p) < 0;
    return Finite({p, farSide ? d + a.radius : std::fabs(a.radius - d)}, in);
}

namespace {

// The circles centred on the line from the cursor through the circle's centre c, touching the line
// and the circle. Relative to c, with u the unit direction from the cursor to c, h the signed
// distance of c from the line and s = sin(line, u), the centre c + τu has radius |h + sτ|; the two
// circles on the cursor's side are τ = -(R + h)/(1 + s) and (h - R)/(1 - s). Orienting the line so
// that s >= 0 makes the pair and its order independent of the way the line was drawn; a divisor
// below the tolerance (the line square to u) leaves one.
MTangentCircle TouchLineCircleOnRay(const MLineEnds& line, double radius, const MFloatPoint& p) {
    const double l = p.GetLength();
    const MFloatPoint u = -p / l;
    const MFloatPoint w = line.Direction() / line.Direction().GetLength();
    double s = w.Cross(u);
    double h = w.Cross(-line.start);
    if (s < 0) {
        s = -s;
        h = -h;
    }
    double taus[2] = {-(radius + h) / (1 + s), 0.0};
    const int count = 1 - s > kZeroTolerance ? 2 : 1;
    if (count == 2) taus[1] = (h - radius) / (1 - s);
    MTangentCircle best;
    double bestDistance = DBL_MAX;
    for (int i = 0; i < count; ++i) {
        const MFloatPoint centre = u * taus[i];
        const double distance = std::fabs(taus[i] + l);
        if (distance < bestDistance) {
            best = {centre, GetDistanceToLine(line, centre)};
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace

MTangentCircle SolveTouchLineCircle(const MTouchInput& in, const std::optional<MTouchLine>& a,
                                    const MTouchCircle& b) {
    if (!a) {
        const double d = (b.centre - in.centre).GetLength();
        const double outer = d + b.radius, inner = std::fabs(d - b.radius);
        const double g = (in.centre - b.pick).GetLength();
        return Finite({in.centre, std::fabs(g - inner) > std::fabs(g - outer) ? outer : inner}, in);
    }
    const MFloatPoint o = b.centre;
    if (!HasDirection(Ends(*a))) return Finite({in.centre, in.radius}, in);
    const MLineEnds line = Shifted(*a, o);
    const MFloatPoint p = in.cursor - o;
    const MTouchExtent extent = MTouchExtent().Add(p).Add(line.start).Add(line.end).Add(b.radius);
    const MFloatPoint foot = Foot(line, {});
    const double rho = foot.GetLength();
    if (!(p.GetLength() > extent.Zero())) {
        // The cursor on the centre: along the line's direction.
        const MFloatPoint w = line.Direction() / line.Direction().GetLength();
        return Finite(Moved({w * (rho + b.radius), rho}, o), in);
    }
    if (AreDirectionsParallel(line.Direction(), p)) {
        const MFloatPoint u = -p / p.GetLength();
        return Finite(Moved({-u * (rho + b.radius), rho}, o), in);
    }
    return Finite(Moved(TouchLineCircleOnRay(line, b.radius, p), o), in);
}

namespace {

// Two circles and one more shape, relative to circle 1's centre: three calls of a closed form for the
// signed radii (R1, R2), (-R1, R2), (R1, -R2); a candidate counts when it touches both circles and
// the third shape, the least sum of distances from the picks to its contacts with the two circles
// wins.
struct TwoCircles {
    MFloatPoint origin, c2, p1, p2;
    double r1, r2;

    TwoCircles(const MTouchCircle& a, const MTouchCircle& b)
        : origin(a.centre),
          c2(b.centre - a.centre),
          p1(a.pick - a.centre),
          p2(b.pick - a.centre),
          r1(a.radius),
          r2(b.radius) {}

    MTouchExtent Extent() const { return MTouchExtent().Add(c2).Add(r1).Add(r2); }

    template <class Form, class TouchesThird>
    MTangentCircle Solve(const MTouchInput& in, const MTouchExtent& extent, Form form,
                         TouchesThird third) const {
        std::vector<MTangentCircle> list;
        Append(list, form(r1, r2));
        Append(list, form(-r1, r2));
        Append(list, form(r1, -r2));
        const double tol = extent.Touch();
        const MFloatPoint c1;
        const MTangentCircle best = Choose(
            list,
            [&](const MTangentCircle& t) {
                return IsUsable(t, extent, {c1, c2}) && TouchesCircle(t, c1, r1, tol) &&
                       TouchesCircle(t, c2, r2, tol) && third(t, tol);
            },
            [&](const MTangentCircle& t) {
                return (Contact(t, c1) - p1).GetLength() + (Contact(t, c2) - p2).GetLength();
            });
        return Finite(Moved(best, origin), in);
    }
};

}  // namespace

MTangentCircle SolveTouchCircleCircle(const MTouchInput& in, const MTouchCircle& a, const MTouchCircle& b) {
    const TwoCircles two(a, b);
    const MFloatPoint p = in.cursor - two.origin;
    return two.Solve(
        in, two.Extent().Add(p),
        [&](double s1, double s2) { return CirclesThroughPointTouchingTwoCircles(p, s1, two.c2, s2); },
        [&](const MTangentCircle& t, double tol) { return PassesThrough(t, p, tol); });
}

MTangentCircle SolveTouchCircleCircleLine(const MTouchInput& in, const MTouchCircle& a, const MTouchCircle& b,
                                          const MTouchLine& c) {
    const TwoCircles two(a, b);
    const MLineEnds line = Shifted(c, two.origin);
    return two.Solve(
        in, two.Extent().Add(line.start).Add(line.end),
        [&](double s1, double s2) {
            return CirclesTouchingLineAndTwoCircles(line.start, line.end, s1, two.c2, s2);
        },
        [&](const MTangentCircle& t, double tol) { return TouchesLine(t, line.start, line.end, tol); });
}

MTangentCircle SolveTouchCircleCircleCircle(const MTouchInput& in, const MTouchCircle& a,
                                            const MTouchCircle& b, const MTouchCircle& c) {
    const TwoCircles two(a, b);
    const MFloatPoint c3 = c.centre - two.origin;
    return two.Solve(
        in, two.Extent().Add(c3).Add(c.radius),
        [&](double s1, double s2) { return CirclesTouchingThreeCircles(s1, two.c2, s2, c3, c.radius); },
        [&](const MTangentCircle& t, double tol) { return TouchesCircle(t, c3, c.radius, tol); });
}

MTangentCircle SolveTouchLineLineCircle(const MTouchInput& in, const MTouchLine& a, const MTouchLine& b,
                                        const MTouchCircle& c) {
    const MFloatPoint o = c.centre;
    const MLineEnds l1 = Shifted(a, o), l2 = Shifted(b, o);
    const MFloatPoint p1 = a.pick - o, p2 = b.pick - o, p3 = c.pick - o;
    const double r = c.radius;
    std::vector<MTangentCircle> list;
    Append(list, CirclesTouchingTwoLinesAndCircle(l1.start, l1.end, l2.start, l2.end, r));
    Append(list, CirclesTouchingTwoLinesAndCircle(l1.end, l1.start, l2.start, l2.end, r));
    Append(list, CirclesTouchingTwoLinesAndCircle(l1.start, l1.end, l2.start, l2.end, -r));
    Append(list, CirclesTouchingTwoLinesAndCircle(l1.end, l1.start, l2.start, l2.end, -r));
    const MTouchExtent extent = MTouchExtent().Add(l1.start).Add(l1.end).Add(l2.start).Add(l2.end).Add(r);
    const double tol = extent.Touch();
    const MFloatPoint centre;
    const MTangentCircle best = Choose(
        list,
        [&](const MTangentCircle& t) {
            return IsUsable(t, extent, {centre}) && TouchesLine(t, l1.start, l1.end, tol) &&
                   TouchesLine(t, l2.start, l2.end, tol) && TouchesCircle(t, centre, r, tol);
        },
        [&](const MTangentCircle& t) {
            return (Foot(l1, t.centre) - p1).GetLength() + (Foot(l2, t.centre) - p2).GetLength() +
                   (Contact(t, centre) - p3).GetLength();
        });
    return Finite(Moved(best, o), in);
}

// ----- for the tool ---------------------------------------------------------------------------

std::optional<MTouchShape> ReadTouchShape(const MCadShape* shape, const MFloatPoint& pick) {
    if (const auto* line = dynamic_cast<const MLineShape*>(shape)) {
        const MTouchLine touch{line->m_start, line->m_end, pick};
        if (!HasDirection(Ends(touch))) return std::nullopt;
        return touch;
    }
    if (const auto* circle = dynamic_cast<const MCircleShape*>(shape))
        return MTouchCircle{circle->m_center, circle->m_radius, pick};
    return std::nullopt;
}

namespace {

const MTouchLine* AsLine(const std::optional<MTouchShape>& s) {
    return s ? std::get_if<MTouchLine>(&*s) : nullptr;
}
const MTouchCircle* AsCircle(const std::optional<MTouchShape>& s) {
    return s ? std::get_if<MTouchCircle>(&*s) : nullptr;
}

MTangentCircle SolveThree(const MTouchInput& in, const MTouchShape& a, const MTouchShape& b,
                          const MTouchShape& c) {
    const auto* la = std::get_if<MTouchLine>(&a);
    const auto* lb = std::get_if<MTouchLine>(&b);
    const auto* lc = std::get_if<MTouchLine>(&c);
    const auto* ca = std::get_if<MTouchCircle>(&a);
    const auto* cb = std::get_if<MTouchCircle>(&b);
    const auto* cc = std::get_if<MTouchCircle>(&c);
    const int lines = (la != nullptr) + (lb != nullptr) + (lc != nullptr);
    if (lines == 3) return SolveTouchLineLineLine(in, *la, *lb, *lc);
    if (lines == 0) return SolveTouchCircleCircleCircle(in, *ca, *cb, *cc);
    if (lines == 2) {
        if (cc) return SolveTouchLineLineCircle(in, *la, *lb, *cc);
        if (cb) return SolveTouchLineLineCircle(in, *la, *lc, *cb);
        return SolveTouchLineLineCircle(in, *lb, *lc, *ca);
    }
    if (lc) return SolveTouchCircleCircleLine(in, *ca, *cb, *lc);
    if (lb) return SolveTouchCircleCircleLine(in, *ca, *cc, *lb);
    return SolveTouchCircleCircleLine(in, *cb, *cc, *la);
}

}  // namespace

MTangentCircle SolveTouch(const MTouchInput& in, const std::optional<MTouchShape>& a,
                          const std::optional<MTouchShape>& b, const std::optional<MTouchShape>& c) {
    if (!a) {
        if (const MTouchLine* lb = AsLine(b)) return SolveTouchLineLine(in, std::nullopt, *lb);
        if (const MTouchCircle* cb = AsCircle(b)) return SolveTouchLineCircle(in, std::nullopt, *cb);
        return {in.centre, in.radius};
    }
    if (!b) {
        if (const MTouchLine* la = AsLine(a)) return SolveTouchLine(in, *la);
        return SolveTouchCircle(in, *AsCircle(a));
    }
    if (c) return SolveThree(in, *a, *b, *c);
    const MTouchLine* la = AsLine(a);
    const MTouchLine* lb = AsLine(b);
    if (la && lb) return SolveTouchLineLine(in, *la, *lb);
    if (la) return SolveTouchLineCircle(in, *la, *AsCircle(b));
    if (lb) return SolveTouchLineCircle(in, *lb, *AsCircle(a));
    return SolveTouchCircleCircle(in, *AsCircle(a), *AsCircle(b));
}
