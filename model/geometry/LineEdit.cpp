#include "model/geometry/LineEdit.h"

#include <algorithm>
#include <cmath>

#include "model/geometry/Geometry.h"

bool AreDirectionsParallel(const MFloatPoint& d0, const MFloatPoint& d1) {
    // Written so that a NaN counts as parallel: such a line is never edited.
    return !(std::fabs(d0.Cross(d1)) > kParallelSine * d0.GetLength() * d1.GetLength());
}

bool HasDirection(const MLineEnds& line) {
    const double size = std::max({1.0, std::fabs(line.start.x), std::fabs(line.start.y),
                                  std::fabs(line.end.x), std::fabs(line.end.y)});
    return line.Direction().GetLength() > kZeroTolerance * size;
}

double GetLineParameter(const MLineEnds& line, const MFloatPoint& p) {
    const MFloatPoint d = line.Direction();
    const double len2 = d.Dot(d);
    if (!(len2 > 0)) return 0.0;
    return (p - line.start).Dot(d) / len2;
}

double GetDistanceToLine(const MLineEnds& line, const MFloatPoint& p) {
    const MFloatPoint d = line.Direction();
    const double len = d.GetLength();
    if (!(len > 0)) return (p - line.start).GetLength();
    return std::fabs(d.Cross(p - line.start)) / len;
}

std::optional<MLineCrossing> CrossLines(const MLineEnds& l0, const MLineEnds& l1) {
    if (!HasDirection(l0) || !HasDirection(l1)) return std::nullopt;
    const MFloatPoint d0 = l0.Direction();
    const MFloatPoint d1 = l1.Direction();
    if (AreDirectionsParallel(d0, d1)) return std::nullopt;
    const double det = d0.Cross(d1);
    const MFloatPoint w = l1.start - l0.start;
    MLineCrossing x;
    x.t0 = w.Cross(d1) / det;
    x.t1 = w.Cross(d0) / det;
    x.point = l0.At(x.t0);
    return x;
}

MLineEnd GetKeptEnd(double tCut, double tClick) {
    // A click a little beyond an end (within the pick distance) still picks the line up to that end.
    const double t = std::clamp(tClick, 0.0, 1.0);
    if (tCut < t - kSameParameter) return MLineEnd::End;
    if (tCut > t + kSameParameter) return MLineEnd::Start;
    return 1.0 - tCut >= tCut ? MLineEnd::End : MLineEnd::Start;
}

MLineEnds WithMovedEnd(const MLineEnds& line, MLineEnd kept, const MFloatPoint& p) {
    return kept == MLineEnd::Start ? MLineEnds{line.start, p} : MLineEnds{p, line.end};
}

// ----- extend and cut -------------------------------------------------------------------------

std::optional<MLineEnds> ExtendToLine(const MLineEnds& line, const MFloatPoint& click,
                                      const MLineEnds& boundary) {
    const std::optional<MLineCrossing> x = CrossLines(line, boundary);
    if (!x) return std::nullopt;
    const MLineEnd kept = GetKeptEnd(x->t0, GetLineParameter(line, click));
    const double tKept = kept == MLineEnd::Start ? 0.0 : 1.0;
    const double tMoved = 1.0 - tKept;
    if (std::fabs(x->t0 - tMoved) <= kSameParameter) return std::nullopt;  // already on the boundary
    if (std::fabs(x->t0 - tKept) <= kSameParameter) return std::nullopt;   // nothing would remain
    return WithMovedEnd(line, kept, x->point);
}

namespace {

bool IsStrictlyInside(double t) {
    return t > kSameParameter && t < 1.0 - kSameParameter;
}

MLineCut MakeCut(const MLineEnds& line, const MFloatPoint& p) {
    return {p, {line.start, p}, {p, line.end}};
}

}  // namespace

std::optional<MLineCut> CutAtCrossing(const MLineEnds& line, const MLineEnds& cutter) {
    const std::optional<MLineCrossing> x = CrossLines(line, cutter);
    if (!x || !IsStrictlyInside(x->t0)) return std::nullopt;
    return MakeCut(line, x->point);
}

std::optional<MLineCut> CutAtFoot(const MLineEnds& line, const MFloatPoint& q) {
    if (!HasDirection(line)) return std::nullopt;
    const double t = GetLineParameter(line, q);
    if (!IsStrictlyInside(t)) return std::nullopt;
    return MakeCut(line, line.At(t));
}

MArrowInfo CutPieceArrows(const MArrowInfo& whole, MLineEnd kept) {
    MArrowInfo arrows = whole;
    if (kept == MLineEnd::Start)
        arrows.endStyle = kArrowNone;
    else
        arrows.startStyle = kArrowNone;
    return arrows;
}

// ----- corners --------------------------------------------------------------------------------

std::optional<MLineCorner> MakeLineCorner(const MLineEnds& line0, const MLineEnds& line1) {
    const std::optional<MLineCrossing> x = CrossLines(line0, line1);
    if (!x) return std::nullopt;
    return MLineCorner{line0, line1, *x};
}

namespace {

// A corner's lines have a direction, so their length is positive.
MFloatPoint UnitDirection(const MLineEnds& line) {
    const MFloatPoint d = line.Direction();
    return d / d.GetLength();
}

struct Circle {
    MFloatPoint centre;
    double radius;
};

// The larger circle through q touching both lines, its centre on a bisector C + t·D. With the
// distance from the centre to either line |t|·|D × u0|, passing through q is the quadratic
// (D·u0)² t² - 2 (W·D) t + |W|² = 0, W = q - C; q on a line or on C makes it a double root (none).
std::optional<Circle> FilletCircleThrough(const MLineCorner& corner, const MFloatPoint& q) {
    const MFloatPoint u0 = UnitDirection(corner.line0);
    const MFloatPoint u1 = UnitDirection(corner.line1);
    const MFloatPoint c = corner.crossing.point;
    const MFloatPoint w = q - c;
    const MFloatPoint sum = u0 + u1;
    const MFloatPoint bisectors[2] = {sum, MFloatPoint(-sum.y, sum.x)};
    for (const MFloatPoint& d : bisectors) {
        const double along = d.Dot(u0);
        const double a = along * along;
        const double b = w.Dot(d);
        const double disc = b * b - a * w.Dot(w);
        if (!(a > 0) || !(disc > 1e-12 * b * b)) continue;
        // The root of larger magnitude, free of cancellation, is the larger circle.
        const double t = (b + std::copysign(std::sqrt(disc), b)) / a;
        const double radius = std::fabs(t * d.Cross(u0));
        if (radius > 0 && std::isfinite(radius)) return Circle{c + d * t, radius};
    }
    return std::nullopt;
}

// Line i of the corner trimmed or lengthened to the foot of the centre; the kept end is the one on
// the side of `side` (a point off the crossing) as seen from the crossing.
struct FilletSide {
    MFloatPoint tangent;
    MLineEnds copy;
    bool valid;
};

FilletSide MakeFilletSide(const MLineEnds& line, double tCrossing, const MFloatPoint& centre,
                          const MFloatPoint& side) {
    const double g = GetLineParameter(line, centre);
    const MFloatPoint tangent = line.At(g);
    const MLineEnd kept = GetLineParameter(line, side) >= tCrossing ? MLineEnd::End : MLineEnd::Start;
    const double before = kept == MLineEnd::End ? 1.0 - g : g;
    return {tangent, WithMovedEnd(line, kept, tangent), before > kSameParameter};
}

std::optional<MFillet> MakeFillet(const MLineCorner& corner, const MFloatPoint& centre,
                                  const MFloatPoint& side, double radius) {
    const FilletSide s0 = MakeFilletSide(corner.line0, corner.crossing.t0, centre, side);
    const FilletSide s1 = MakeFilletSide(corner.line1, corner.crossing.t1, centre, side);
    if (!s0.valid || !s1.valid) return std::nullopt;
    MFillet f;
    f.centre = centre;
    f.radius = radius;
    f.tangent0 = s0.tangent;
    f.tangent1 = s1.tangent;
    f.line0 = s0.copy;
    f.line1 = s1.copy;
    // The shorter way round between the tangent points, counter-clockwise.
    const double a0 = (s0.tangent - centre).GetAngle();
    const double a1 = (s1.tangent - centre).GetAngle();
    const double lo = std::min(a0, a1), hi = std::max(a0, a1);
    if (hi - lo <= kPi) {
        f.startAngle = lo;
        f.endAngle = hi;
    } else {
        f.startAngle = hi;
        f.endAngle = lo + 2 * kPi;
    }
    return f;
}

}  // namespace

std::optional<MFillet> FilletThroughPoint(const MLineCorner& corner, const MFloatPoint& q) {
    const std::optional<Circle> circle = FilletCircleThrough(corner, q);
    if (!circle) return std::nullopt;
    return MakeFillet(corner, circle->centre, circle->centre, circle->radius);
}

std::optional<MFillet> FilletWithRadius(const MLineCorner& corner, const MFloatPoint& q, double radius) {
    if (!std::isfinite(radius)) return std::nullopt;
    const std::optional<Circle> circle = FilletCircleThrough(corner, q);
    if (!circle) return std::nullopt;
    const double r = std::fabs(radius);
    const MFloatPoint c = corner.crossing.point;
    // Scaled about the crossing along the same bisector; the sides come from the unscaled circle,
    // which lies off the crossing even when the radius is 0.
    const MFloatPoint centre = c + (circle->centre - c) * (r / circle->radius);
    return MakeFillet(corner, centre, circle->centre, r);
}

namespace {

// The part of a corner's line that stays: from the crossing towards the end on the far side of the
// click.
struct KeptRay {
    MLineEnd end;
    MFloatPoint unit;
    double length;
};

std::optional<KeptRay> GetKeptRay(const MLineEnds& line, double tCrossing, const MFloatPoint& crossing,
                                  const MFloatPoint& click) {
    const MLineEnd end = GetKeptEnd(tCrossing, GetLineParameter(line, click));
    const MFloatPoint v = GetEnd(line, end) - crossing;
    const double length = v.GetLength();
    if (!(length > 0)) return std::nullopt;
    return KeptRay{end, v / length, length};
}

MChamfer MakeChamfer(const MLineCorner& corner, const KeptRay& r0, const KeptRay& r1, const MFloatPoint& e0,
                     const MFloatPoint& e1) {
    return {{e0, e1}, WithMovedEnd(corner.line0, r0.end, e0), WithMovedEnd(corner.line1, r1.end, e1)};
}

bool IsShorterThan(double length, const KeptRay& ray) {
    return length < ray.length * (1.0 - kSameParameter);
}

}  // namespace

std::optional<MChamfer> ChamferWithLengths(const MLineCorner& corner, const MFloatPoint& click0,
                                           const MFloatPoint& click1, double length0, double length1) {
    if (!std::isfinite(length0) || !std::isfinite(length1)) return std::nullopt;
    const MFloatPoint x = corner.crossing.point;
    const std::optional<KeptRay> r0 = GetKeptRay(corner.line0, corner.crossing.t0, x, click0);
    const std::optional<KeptRay> r1 = GetKeptRay(corner.line1, corner.crossing.t1, x, click1);
    if (!r0 || !r1) return std::nullopt;
    const double l0 = std::fabs(length0), l1 = std::fabs(length1);
    if (!IsShorterThan(l0, *r0) || !IsShorterThan(l1, *r1)) return std::nullopt;
    return MakeChamfer(corner, *r0, *r1, x + r0->unit * l0, x + r1->unit * l1);
}

std::optional<MChamfer> ChamferThroughPoint(const MLineCorner& corner, const MFloatPoint& click0,
                                            const MFloatPoint& click1, const MFloatPoint& q) {
    const MFloatPoint x = corner.crossing.point;
    const std::optional<KeptRay> r0 = GetKeptRay(corner.line0, corner.crossing.t0, x, click0);
    const std::optional<KeptRay> r1 = GetKeptRay(corner.line1, corner.crossing.t1, x, click1);
    if (!r0 || !r1) return std::nullopt;
    // The line through q square to the bisector m of the kept rays cuts both at the same distance.
    const MFloatPoint m = (r0->unit + r1->unit) * 0.5;
    const double along = r0->unit.Dot(m);
    if (!(along > 0)) return std::nullopt;
    const double lambda = (q - x).Dot(m) / along;
    if (!std::isfinite(lambda)) return std::nullopt;
    if (!(lambda > kSameParameter * std::max(r0->length, r1->length)))
        return MakeChamfer(corner, *r0, *r1, x, x);
    if (!IsShorterThan(lambda, *r0) || !IsShorterThan(lambda, *r1)) return std::nullopt;
    return MakeChamfer(corner, *r0, *r1, x + r0->unit * lambda, x + r1->unit * lambda);
}
