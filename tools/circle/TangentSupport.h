// Shared by the tangent-circle solvers: tolerances relative to a configuration's size, the tests
// that a circle touches a line, a circle or a point, and small conversions.
#pragma once

#include <algorithm>
#include <cmath>

#include "model/geometry/Geometry.h"
#include "model/geometry/LineEdit.h"
#include "tools/circle/TangentCircles.h"

// The largest coordinate difference (from an origin) or radius of a configuration.
class MTouchExtent {
public:
    explicit MTouchExtent(const MFloatPoint& origin = {}) : m_origin(origin) {}
    MTouchExtent& Add(const MFloatPoint& p) {
        m_size = std::max({m_size, std::fabs(p.x - m_origin.x), std::fabs(p.y - m_origin.y)});
        return *this;
    }
    MTouchExtent& Add(double radius) {
        m_size = std::max(m_size, std::fabs(radius));
        return *this;
    }
    double GetSize() const { return m_size; }
    // The zero tolerance scaled to the configuration, for lengths.
    double Zero() const { return kZeroTolerance * m_size; }
    // How closely a result must touch its shapes.
    double Touch() const { return kTouchTolerance * m_size; }
    // Radii up to this are points: a double root at radius 0 (circles through one point) comes out
    // of the quadratic with noise of about the square root of the rounding, some 1e-8 of the size.
    double Point() const { return 1e-7 * m_size; }

private:
    MFloatPoint m_origin;
    double m_size = 0.0;
};

inline bool IsFinite(const MTangentCircle& t) {
    return std::isfinite(t.centre.x) && std::isfinite(t.centre.y) && std::isfinite(t.radius);
}

// Touching from outside (r + R) or inside (|r - R|).
inline bool TouchesCircle(const MTangentCircle& t, const MFloatPoint& c, double r, double tol) {
    const double d = (t.centre - c).GetLength();
    const double big = std::fabs(r);
    return std::fabs(d - (t.radius + big)) <= tol || std::fabs(d - std::fabs(t.radius - big)) <= tol;
}

inline bool TouchesLine(const MTangentCircle& t, const MFloatPoint& a, const MFloatPoint& b, double tol) {
    return std::fabs(GetDistanceToLine({a, b}, t.centre) - t.radius) <= tol;
}

inline bool PassesThrough(const MTangentCircle& t, const MFloatPoint& p, double tol) {
    return std::fabs((t.centre - p).GetLength() - t.radius) <= tol;
}

inline MLineEnds Ends(const MTouchLine& line) {
    return {line.start, line.end};
}

inline MFloatPoint Foot(const MLineEnds& line, const MFloatPoint& p) {
    return line.At(GetLineParameter(line, p));
}

inline MTangentCircle Moved(const MTangentCircle& t, const MFloatPoint& offset) {
    return {t.centre + offset, t.radius};
}

// A solver's answer, or a circle of radius 0 at the cursor when the input held no finite numbers.
inline MTangentCircle Finite(const MTangentCircle& t, const MTouchInput& in) {
    if (IsFinite(t)) return t;
    if (std::isfinite(in.cursor.x) && std::isfinite(in.cursor.y)) return {in.cursor, 0.0};
    return {};
}

// Solves m·x = rhs by Cramer's rule; false when |det| is not above minDet.
inline bool SolveLinear3(const double (&m)[3][3], const double (&rhs)[3], double minDet, double (&x)[3]) {
    auto det3 = [](const double(&k)[3][3]) {
        return k[0][0] * (k[1][1] * k[2][2] - k[1][2] * k[2][1]) -
               k[0][1] * (k[1][0] * k[2][2] - k[1][2] * k[2][0]) +
               k[0][2] * (k[1][0] * k[2][1] - k[1][1] * k[2][0]);
    };
    const double det = det3(m);
    if (!(std::fabs(det) > minDet)) return false;
    for (int col = 0; col < 3; ++col) {
        double k[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                k[i][j] = j == col ? rhs[i] : m[i][j];
        x[col] = det3(k) / det;
    }
    return true;
}
