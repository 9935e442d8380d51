// Axis-aligned rectangles in drawing coordinates: the y axis points up, so top >= bottom once
// normalised. The all-zero rectangle means empty.
#pragma once

#include <iosfwd>

#include "model/geometry/FloatPoint.h"
#include "platform/WinTypes.h"

class CArchive;

class MFloatRect {
public:
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;

    constexpr MFloatRect() = default;
    // External order x0 = left, y0 = bottom, x1 = right, y1 = top; not normalised.
    constexpr MFloatRect(double x0, double y0, double x1, double y1)
        : left(x0), top(y1), right(x1), bottom(y0) {}
    constexpr MFloatRect(const MFloatPoint& p0, const MFloatPoint& p1)
        : left(p0.x), top(p1.y), right(p1.x), bottom(p0.y) {}
    constexpr MFloatRect(const MFloatPoint& origin, const MFloatSize& size)
        : left(origin.x), top(origin.y + size.cy), right(origin.x + size.cx), bottom(origin.y) {}

    constexpr bool operator==(const MFloatRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const MFloatRect& o) const { return !(*this == o); }
    // The all-zero rectangle, which stands for "empty".
    constexpr bool IsNull() const { return left == 0.0 && top == 0.0 && right == 0.0 && bottom == 0.0; }
    void SetNull() { left = top = right = bottom = 0.0; }

    constexpr MFloatPoint GetCenter() const { return {(left + right) / 2, (top + bottom) / 2}; }
    constexpr MFloatSize GetSize() const { return {right - left, top - bottom}; }
    constexpr double GetWidth() const { return right - left; }
    constexpr double GetHeight() const { return top - bottom; }
    constexpr MFloatPoint TopLeft() const { return {left, top}; }
    constexpr MFloatPoint TopRight() const { return {right, top}; }
    constexpr MFloatPoint BottomRight() const { return {right, bottom}; }
    constexpr MFloatPoint BottomLeft() const { return {left, bottom}; }

    // left <= right and top >= bottom afterwards.
    void Normalize();
    // Bounding box of four points.
    void SetFromPoints(const MFloatPoint& p0, const MFloatPoint& p1, const MFloatPoint& p2,
                       const MFloatPoint& p3);
    // Grows to include p.
    void AddPoint(const MFloatPoint& p);
    void Inflate(double dx, double dy);
    void Offset(const MFloatPoint& d);
    // Scales the edges about the centre. A positive sy leaves top and bottom exchanged: callers
    // normalise afterwards.
    void Scale(const MFloatPoint& centre, double sx, double sy);
    // Becomes the bounding box of its corners rotated about the centre.
    void RotateBounds(const MFloatPoint& centre, double angle);

    // Grows this to include other and copies the result to out when given.
    void Union(const MFloatRect& other, MFloatRect* out = nullptr);
    // The overlap; the all-zero rectangle when there is none (touching edges overlap with zero width).
    MFloatRect GetIntersection(const MFloatRect& other) const;
    // This becomes the overlap (all zero when none); copied to out when given.
    void Intersect(const MFloatRect& other, MFloatRect* out = nullptr);

    // Edges included. Inline: the snap search and picking ask these of every shape of a drawing.
    BOOL ContainsPoint(const MFloatPoint& p) const {
        return left <= p.x && p.x <= right && bottom <= p.y && p.y <= top;
    }
    BOOL ContainsRect(const MFloatRect& o) const {
        return left <= o.left && o.right <= right && bottom <= o.bottom && o.top <= top;
    }
    // Overlap on both axes; touching edges count.
    BOOL Overlaps(const MFloatRect& o) const {
        return o.left <= right && left <= o.right && o.bottom <= top && bottom <= o.top;
    }
};

// Archive and text forms: left, bottom, right, top.
CArchive& operator<<(CArchive& ar, const MFloatRect& r);
CArchive& operator>>(CArchive& ar, MFloatRect& r);
std::ostream& operator<<(std::ostream& os, const MFloatRect& r);
std::istream& operator>>(std::istream& is, MFloatRect& r);
