// Points, vectors and sizes in drawing coordinates (y axis up).
#pragma once

#include <cmath>
#include <initializer_list>
#include <iosfwd>

#include "platform/WinTypes.h"

class CArchive;

// A position or a vector of two doubles.
class MFloatPoint {
public:
    double x = 0.0;
    double y = 0.0;

    constexpr MFloatPoint() = default;
    constexpr MFloatPoint(double px, double py) : x(px), y(py) {}

    constexpr MFloatPoint operator+(const MFloatPoint& o) const { return {x + o.x, y + o.y}; }
    constexpr MFloatPoint operator-(const MFloatPoint& o) const { return {x - o.x, y - o.y}; }
    constexpr MFloatPoint operator-() const { return {-x, -y}; }
    constexpr MFloatPoint operator*(double f) const { return {x * f, y * f}; }
    constexpr MFloatPoint operator/(double f) const { return {x / f, y / f}; }
    MFloatPoint& operator+=(const MFloatPoint& o) { return x += o.x, y += o.y, *this; }
    MFloatPoint& operator-=(const MFloatPoint& o) { return x -= o.x, y -= o.y, *this; }
    MFloatPoint& operator*=(double f) { return x *= f, y *= f, *this; }
    MFloatPoint& operator/=(double f) { return x /= f, y /= f, *this; }
    // Exact comparison; IsEqual is the tolerant one.
    constexpr bool operator==(const MFloatPoint& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const MFloatPoint& o) const { return !(*this == o); }

    constexpr double Dot(const MFloatPoint& o) const { return x * o.x + y * o.y; }
    // The z component of the cross product (this × o).
    constexpr double Cross(const MFloatPoint& o) const { return x * o.y - y * o.x; }
    double GetLength() const { return std::hypot(x, y); }
    // Direction in (-pi, pi]; 0 for the zero vector.
    double GetAngle() const;
    // The zero vector when the length is below the zero tolerance.
    MFloatPoint GetUnit() const;

    void Rotate(double angle);
    MFloatPoint GetRotated(double angle) const;
    void RotateAbout(const MFloatPoint& centre, double angle);
    MFloatPoint GetRotatedAbout(const MFloatPoint& centre, double angle) const;
    void SetOnCircle(double cx, double cy, double r, double angle);

    // Equal within 10 machine epsilons relative to both points' distances from the origin.
    BOOL IsEqual(const MFloatPoint& o) const;
};

inline constexpr MFloatPoint operator*(double f, const MFloatPoint& p) {
    return p * f;
}

inline bool IsFinite(const MFloatPoint& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

inline bool AllFinite(std::initializer_list<double> values) {
    for (const double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

// Archive form: x, then y (little-endian doubles).
CArchive& operator<<(CArchive& ar, const MFloatPoint& p);
CArchive& operator>>(CArchive& ar, MFloatPoint& p);
// Text form: x, one blank, y, in the stream's current number formatting; no line end.
std::ostream& operator<<(std::ostream& os, const MFloatPoint& p);
std::istream& operator>>(std::istream& is, MFloatPoint& p);

// A width and a height (bitmap and paper sizes); same forms as MFloatPoint.
class MFloatSize {
public:
    double cx = 0.0;
    double cy = 0.0;

    constexpr MFloatSize() = default;
    constexpr MFloatSize(double w, double h) : cx(w), cy(h) {}
    constexpr bool operator==(const MFloatSize& o) const { return cx == o.cx && cy == o.cy; }
    constexpr bool operator!=(const MFloatSize& o) const { return !(*this == o); }
};

CArchive& operator<<(CArchive& ar, const MFloatSize& s);
CArchive& operator>>(CArchive& ar, MFloatSize& s);
std::ostream& operator<<(std::ostream& os, const MFloatSize& s);
std::istream& operator>>(std::istream& is, MFloatSize& s);
