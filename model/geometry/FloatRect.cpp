#include "model/geometry/FloatRect.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <ostream>

#include "platform/Archive.h"

void MFloatRect::Normalize() {
    if (right < left) std::swap(left, right);
    if (bottom > top) std::swap(top, bottom);
}

void MFloatRect::SetFromPoints(const MFloatPoint& p0, const MFloatPoint& p1, const MFloatPoint& p2,
                               const MFloatPoint& p3) {
    left = std::min({p0.x, p1.x, p2.x, p3.x});
    right = std::max({p0.x, p1.x, p2.x, p3.x});
    bottom = std::min({p0.y, p1.y, p2.y, p3.y});
    top = std::max({p0.y, p1.y, p2.y, p3.y});
}

void MFloatRect::AddPoint(const MFloatPoint& p) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    bottom = std::min(bottom, p.y);
    top = std::max(top, p.y);
}

void MFloatRect::Inflate(double dx, double dy) {
    left -= dx;
    right += dx;
    top += dy;
    bottom -= dy;
}

void MFloatRect::Offset(const MFloatPoint& d) {
    left += d.x;
    right += d.x;
    top += d.y;
    bottom += d.y;
}

void MFloatRect::Scale(const MFloatPoint& centre, double sx, double sy) {
    left = centre.x + (left - centre.x) * sx;
    right = centre.x + (right - centre.x) * sx;
    const double oldTop = top;
    top = centre.y + (bottom - centre.y) * sy;
    bottom = centre.y + (oldTop - centre.y) * sy;
}

void MFloatRect::RotateBounds(const MFloatPoint& centre, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    auto turn = [&](const MFloatPoint& p) {
        const MFloatPoint d = p - centre;
        return MFloatPoint(centre.x + d.x * c - d.y * s, centre.y + d.x * s + d.y * c);
    };
    SetFromPoints(turn(TopLeft()), turn(TopRight()), turn(BottomRight()), turn(BottomLeft()));
}

void MFloatRect::Union(const MFloatRect& other, MFloatRect* out) {
    left = std::min(left, other.left);
    right = std::max(right, other.right);
    bottom = std::min(bottom, other.bottom);
    top = std::max(top, other.top);
    if (out) *out = *this;
}

MFloatRect MFloatRect::GetIntersection(const MFloatRect& other) const {
    MFloatRect r;
    r.left = std::max(left, other.left);
    r.right = std::min(right, other.right);
    r.bottom = std::max(bottom, other.bottom);
    r.top = std::min(top, other.top);
    if (r.left > r.right || r.bottom > r.top) r.SetNull();
    return r;
}

void MFloatRect::Intersect(const MFloatRect& other, MFloatRect* out) {
    *this = GetIntersection(other);
    if (out) *out = *this;
}

CArchive& operator<<(CArchive& ar, const MFloatRect& r) {
    return ar << r.left << r.bottom << r.right << r.top;
}
CArchive& operator>>(CArchive& ar, MFloatRect& r) {
    return ar >> r.left >> r.bottom >> r.right >> r.top;
}

std::ostream& operator<<(std::ostream& os, const MFloatRect& r) {
    return os << r.left << ' ' << r.bottom << ' ' << r.right << ' ' << r.top;
}

std::istream& operator>>(std::istream& is, MFloatRect& r) {
    return is >> r.left >> r.bottom >> r.right >> r.top;
}
