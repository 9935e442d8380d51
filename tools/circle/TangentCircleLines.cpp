// The circles touching one, two or three lines. A bisector is kept as an equation in the signed
// distances to its two lines (left of each line's direction positive) rather than as a crossing
// point and a direction: lines that cross far away, at a shallow angle, then lose no digits.
#include <cmath>

#include "tools/circle/TangentCircles.h"
#include "tools/circle/TangentSupport.h"

namespace {

MFloatPoint LeftNormal(const MLineEnds& line) {
    const MFloatPoint d = line.Direction() / line.Direction().GetLength();
    return {-d.y, d.x};
}

double SignedDistance(const MLineEnds& line, const MFloatPoint& p) {
    return LeftNormal(line).Dot(p - line.start);
}

double Sign(double v) {
    return v < 0 ? -1.0 : 1.0;
}

// The bisector of the angle between two picked lines on the side of their picks (their middle line
// when parallel): the points where sideA·dA = sideB·dB.
struct Bisector {
    MLineEnds a, b;
    double sideA, sideB;
    bool parallel;

    // The foot of p on the bisector.
    MFloatPoint Foot(const MFloatPoint& p) const {
        const MFloatPoint g = LeftNormal(a) * sideA - LeftNormal(b) * sideB;
        const double value = sideA * SignedDistance(a, p) - sideB * SignedDistance(b, p);
        return p - g * (value / g.Dot(g));
    }
};

std::optional<Bisector> PickedBisector(const MTouchLine& a, const MTouchLine& b) {
    const MLineEnds la = Ends(a), lb = Ends(b);
    if (!HasDirection(la) || !HasDirection(lb)) return std::nullopt;
    const MFloatPoint na = LeftNormal(la), nb = LeftNormal(lb);
    const std::optional<MLineCrossing> x = CrossLines(la, lb);
    if (!x) return Bisector{la, lb, 1.0, -Sign(na.Dot(nb)), true};
    // Each line's direction from the crossing towards its pick; the picked angle lies between them.
    MFloatPoint ua = la.Direction(), ub = lb.Direction();
    if (ua.Dot(a.pick - x->point) < 0) ua = -ua;
    if (ub.Dot(b.pick - x->point) < 0) ub = -ub;
    return Bisector{la, lb, Sign(na.Dot(ub)), Sign(nb.Dot(ua)), false};
}

// The point at signed distances da from line a and db from line b (lines that cross), solved near
// `near`.
MFloatPoint AtDistances(const MLineEnds& a, double da, const MLineEnds& b, double db,
                        const MFloatPoint& near) {
    const MFloatPoint na = LeftNormal(a), nb = LeftNormal(b);
    const double ra = da - SignedDistance(a, near), rb = db - SignedDistance(b, near);
    const double det = na.Cross(nb);
    return near + MFloatPoint(ra * nb.y - rb * na.y, na.x * rb - nb.x * ra) / det;
}

}  // namespace

MTangentCircle SolveTouchLine(const MTouchInput& in, const MTouchLine& a) {
    const MLineEnds line = Ends(a);
    // A line without a direction is a point: the circles through it.
    if (!HasDirection(line)) return SolveTouchCircle(in, {a.start, 0.0, a.pick});
    const MFloatPoint p = in.cursor;
    const MFloatPoint foot = Foot(line, p);
    const MFloatPoint v = p - foot;
    if (!in.radiusFixed) return Finite({p, v.GetLength()}, in);
    const MTouchExtent extent = MTouchExtent(p).Add(a.start).Add(a.end);
    // On the line: its left.
    const MFloatPoint n = v.GetLength() > extent.Zero() ? v / v.GetLength() : LeftNormal(line);
    return Finite({foot + n * in.radius, in.radius}, in);
}

MTangentCircle SolveTouchLineLine(const MTouchInput& in, const std::optional<MTouchLine>& a,
                                  const MTouchLine& b) {
    if (!a) return Finite({in.centre, GetDistanceToLine(Ends(b), in.centre)}, in);
    const MFloatPoint p = in.cursor;
    MFloatPoint centre = p;
    if (const std::optional<Bisector> bisector = PickedBisector(*a, b)) {
        if (in.radiusFixed && !bisector->parallel) {
            // On the bisector at distance r from both lines, on either side of the crossing: the one
            // left of line a unless the other is strictly nearer the cursor.
            const double r = in.radius, along = bisector->sideA * bisector->sideB;
            const MFloatPoint left = AtDistances(bisector->a, r, bisector->b, along * r, p);
            const MFloatPoint right = AtDistances(bisector->a, -r, bisector->b, -along * r, p);
            centre = (left - p).GetLength() < (right - p).GetLength() ? left : right;
        } else {
            centre = bisector->Foot(p);
        }
    }
    return Finite({centre, GetDistanceToLine(Ends(*a), centre)}, in);
}

MTangentCircle SolveTouchLineLineLine(const MTouchInput& in, const MTouchLine& a, const MTouchLine& b,
                                      const MTouchLine& c) {
    const std::optional<Bisector> first = PickedBisector(a, b);
    if (!first) return SolveTouchLine(in, a);
    const std::optional<Bisector> second = PickedBisector(b, c);
    if (!second) return SolveTouchLineLine(in, a, b);
    // Where the bisectors cross: dA = sA·t, dB = sB·t, dC = sC·t with the sides of both bisectors,
    // a linear system in (x, y, t) solved near the picks.
    const MLineEnds lines[3] = {first->a, first->b, second->b};
    const double sides[3] = {first->sideA, first->sideB, first->sideB * second->sideA * second->sideB};
    const MFloatPoint near = (a.pick + b.pick + c.pick) / 3;
    double m[3][3], rhs[3];
    for (int i = 0; i < 3; ++i) {
        const MFloatPoint n = LeftNormal(lines[i]);
        m[i][0] = n.x;
        m[i][1] = n.y;
        m[i][2] = -sides[i];
        rhs[i] = -SignedDistance(lines[i], near);
    }
    double y[3];
    if (!SolveLinear3(m, rhs, kParallelSine, y))
        return SolveTouchLineLine(in, a, b);  // the bisectors do not cross
    const MFloatPoint centre = near + MFloatPoint(y[0], y[1]);
    return Finite({centre, GetDistanceToLine(Ends(a), centre)}, in);
}
