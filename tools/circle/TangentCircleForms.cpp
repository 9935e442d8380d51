// The closed forms. Unknown: the circle (X, ρ), ρ signed, with |X|² = (ρ + r0)² for the circle at the
// origin. Each further touch is a plane in (x, y, ρ): a circle (c, r) gives 2c·X + 2(r - r0)ρ =
// |c|² + r0² - r², a line with unit normal n and offset k gives n·X - ρ = k. Two planes meet in a line
// v0 + t·N of that space, and the cone gives a quadratic in t. Working on the planes' line rather than
// solving for X in terms of ρ keeps collinear centres and parallel lines well posed.
#include <algorithm>
#include <cmath>

#include "tools/circle/TangentCircles.h"
#include "tools/circle/TangentSupport.h"

namespace {

struct Vec3 {
    double x, y, z;
    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator*(double f) const { return {x * f, y * f, z * f}; }
    Vec3 Cross(const Vec3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    double Length() const { return std::sqrt(x * x + y * y + z * z); }
};

// One touch besides the circle at the origin.
struct Touch {
    bool isLine;
    MFloatPoint v;  // a circle's centre, a line's unit normal
    double s;       // a circle's signed radius, a line's offset

    static Touch Circle(const MFloatPoint& c, double r) { return {false, c, r}; }
    static Touch Line(const MFloatPoint& n, double k) { return {true, n, k}; }

    // The plane as a unit normal and its right-hand side; false when it is no plane at all.
    bool Plane(double r0, Vec3* normal, double* rhs) const {
        const Vec3 p = isLine ? Vec3{v.x, v.y, -1.0} : Vec3{2 * v.x, 2 * v.y, 2 * (s - r0)};
        const double d = isLine ? s : v.Dot(v) + r0 * r0 - s * s;
        const double len = p.Length();
        if (!(len > 0)) return false;
        *normal = p * (1.0 / len);
        *rhs = d / len;
        return true;
    }
    double Residual(const MFloatPoint& x, double rho) const {
        return isLine ? v.Dot(x) - s - rho : (x - v).GetLength() - std::fabs(rho + s);
    }
    // The residual's derivatives by x, y and ρ; false at a circle's centre, where it has none.
    bool Gradient(const MFloatPoint& x, double rho, double (&row)[3]) const {
        if (isLine) {
            row[0] = v.x, row[1] = v.y, row[2] = -1.0;
            return true;
        }
        const MFloatPoint d = x - v;
        const double len = d.GetLength();
        if (!(len > 0)) return false;
        row[0] = d.x / len, row[1] = d.y / len, row[2] = rho + s < 0 ? 1.0 : -1.0;
        return true;
    }
};

// Real roots of a·t² + b·t + c = 0 by the stable formula; a discriminant just below zero is taken as
// zero (a double root spoilt by rounding), the touch test judges the result.
int SolveQuadraticStable(double a, double b, double c, double t[2]) {
    const double disc = b * b - 4 * a * c;
    if (disc < -1e-12 * (b * b + std::fabs(4 * a * c))) return 0;
    const double q = -0.5 * (b + std::copysign(std::sqrt(std::max(disc, 0.0)), b));
    int n = 0;
    if (q != 0) t[n++] = c / q;
    if (a != 0) t[n++] = q / a;
    return n;
}

struct Root {
    MFloatPoint centre;
    double rho;
};

// The circles on the cone |X|² = (ρ + r0)² where both touches hold.
int SolveOnCone(double r0, const Touch& e1, const Touch& e2, Root roots[2]) {
    Vec3 n1, n2;
    double b1, b2;
    if (!e1.Plane(r0, &n1, &b1) || !e2.Plane(r0, &n2, &b2)) return 0;
    Vec3 dir = n1.Cross(n2);
    const double len = dir.Length();
    if (!(len > kZeroTolerance)) return 0;  // the touches do not fix a line: no circle, or infinitely many
    // The point of the line nearest the origin of (x, y, ρ).
    const Vec3 v0 = (n2.Cross(dir) * b1 + dir.Cross(n1) * b2) * (1.0 / (len * len));
    dir = dir * (1.0 / len);
    const Vec3 w0{v0.x, v0.y, v0.z + r0};
    const double qa = dir.x * dir.x + dir.y * dir.y - dir.z * dir.z;
    const double qb = 2 * (w0.x * dir.x + w0.y * dir.y - w0.z * dir.z);
    const double qc = w0.x * w0.x + w0.y * w0.y - w0.z * w0.z;
    double t[2];
    const int n = SolveQuadraticStable(qa, qb, qc, t);
    for (int i = 0; i < n; ++i) {
        const Vec3 v = v0 + dir * t[i];
        roots[i] = {{v.x, v.y}, v.z};
    }
    return n;
}

// Newton steps on the touch conditions themselves, which stay well posed where the planes of the
// elimination meet at a shallow angle (small circles among large ones); a step is taken only when it
// lowers the worst residual.
void Polish(const Touch (&touches)[3], Root& root) {
    auto worst = [&](const Root& r) {
        double w = 0;
        for (const Touch& t : touches)
            w = std::max(w, std::fabs(t.Residual(r.centre, r.rho)));
        return w;
    };
    double current = worst(root);
    for (int step = 0; step < 3 && current > 0; ++step) {
        double m[3][3], rhs[3], d[3];
        for (int i = 0; i < 3; ++i) {
            if (!touches[i].Gradient(root.centre, root.rho, m[i])) return;
            rhs[i] = -touches[i].Residual(root.centre, root.rho);
        }
        if (!SolveLinear3(m, rhs, 0.0, d)) return;
        const Root next{root.centre + MFloatPoint(d[0], d[1]), root.rho + d[2]};
        const double w = worst(next);
        if (!(w < current)) return;
        root = next;
        current = w;
    }
}

// The circle filling the gap between circle 1 at the origin and circle 2 on their line of centres;
// when they overlap, the circle inscribed in the overlap, which touches both from inside.
MTangentCircle GapCircle(const MFloatPoint& c2, double r1, double r2, const MTouchExtent& extent) {
    const double d = c2.GetLength();
    if (!(d > extent.Zero()) || !std::isfinite(d)) return {};
    const double g = (d - std::fabs(r1) - std::fabs(r2)) / 2;
    return {c2 * ((std::fabs(r1) + g) / d), std::fabs(g)};
}

// Both slots hold the roots that touch within the tolerance, the others `fallback`.
MTangentPair SolveForm(double r0, const Touch& e1, const Touch& e2, const MTouchExtent& extent,
                       const MTangentCircle& fallback) {
    MTangentPair pair{fallback, fallback};
    Root roots[2];
    const int n = SolveOnCone(r0, e1, e2, roots);
    const Touch touches[3] = {Touch::Circle({}, r0), e1, e2};
    const double tol = extent.Touch();
    for (int i = 0; i < n; ++i) {
        Root& r = roots[i];
        Polish(touches, r);
        const MTangentCircle circle{r.centre, std::fabs(r.rho)};
        bool fits = IsFinite(circle);
        for (const Touch& t : touches)
            fits = fits && std::fabs(t.Residual(r.centre, r.rho)) <= tol;
        if (fits) pair[i] = circle;
    }
    return pair;
}

// A line as a touch whose positive side holds `towards`, when that point is off the line; else the
// line's left. False for a line without a direction.
bool LineTouch(const MFloatPoint& a, const MFloatPoint& b, const MFloatPoint* towards, double zero,
               Touch* out) {
    const MFloatPoint d = b - a;
    const double len = d.GetLength();
    if (!(len > 0)) return false;
    MFloatPoint n(-d.y / len, d.x / len);
    double k = n.Dot(a);
    if (towards && n.Dot(*towards) - k < -zero) {
        n = -n;
        k = -k;
    }
    *out = Touch::Line(n, k);
    return true;
}

}  // namespace

MTangentPair CirclesThroughPointTouchingTwoCircles(const MFloatPoint& p, double r1, const MFloatPoint& c2,
                                                   double r2) {
    MTouchExtent extent;
    extent.Add(p).Add(c2).Add(r1).Add(r2);
    return SolveForm(r1, Touch::Circle(c2, r2), Touch::Circle(p, 0.0), extent, GapCircle(c2, r1, r2, extent));
}

MTangentPair CirclesTouchingLineAndTwoCircles(const MFloatPoint& a, const MFloatPoint& b, double r1,
                                              const MFloatPoint& c2, double r2) {
    MTouchExtent extent;
    extent.Add(a).Add(b).Add(c2).Add(r1).Add(r2);
    const MTangentCircle gap = GapCircle(c2, r1, r2, extent);
    // Circle 1's side, or circle 2's when circle 1's centre lies on the line.
    const MFloatPoint origin;
    Touch line{};
    if (!LineTouch(a, b, GetDistanceToLine({a, b}, origin) > extent.Zero() ? &origin : &c2, extent.Zero(),
                   &line))
        return {gap, gap};
    return SolveForm(r1, Touch::Circle(c2, r2), line, extent, gap);
}

MTangentPair CirclesTouchingTwoLinesAndCircle(const MFloatPoint& a1, const MFloatPoint& b1,
                                              const MFloatPoint& a2, const MFloatPoint& b2, double r) {
    MTouchExtent extent;
    extent.Add(a1).Add(b1).Add(a2).Add(b2).Add(r);
    const MFloatPoint origin;
    Touch line1{}, line2{};
    if (!LineTouch(a1, b1, nullptr, extent.Zero(), &line1) ||
        !LineTouch(a2, b2, &origin, extent.Zero(), &line2))
        return {};
    return SolveForm(r, line1, line2, extent, MTangentCircle{});
}

MTangentPair CirclesTouchingThreeCircles(double r1, const MFloatPoint& c2, double r2, const MFloatPoint& c3,
                                         double r3) {
    MTouchExtent extent;
    extent.Add(c2).Add(c3).Add(r1).Add(r2).Add(r3);
    return SolveForm(r1, Touch::Circle(c2, r2), Touch::Circle(c3, r3), extent, GapCircle(c2, r1, r2, extent));
}
