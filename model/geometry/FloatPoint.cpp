#include "model/geometry/FloatPoint.h"

#include <istream>
#include <ostream>

#include "model/geometry/Geometry.h"
#include "platform/Archive.h"

double MFloatPoint::GetAngle() const {
    const double len = GetLength();
    if (len == 0.0) return 0.0;
    const double c = std::clamp(x / len, -1.0, 1.0);
    const double a = std::acos(c);
    return y < 0 ? -a : a;
}

MFloatPoint MFloatPoint::GetUnit() const {
    const double len = GetLength();
    if (len < kZeroTolerance) return {};
    return {x / len, y / len};
}

void MFloatPoint::Rotate(double angle) {
    *this = GetRotated(angle);
}

MFloatPoint MFloatPoint::GetRotated(double angle) const {
    const double c = std::cos(angle), s = std::sin(angle);
    return {x * c - y * s, x * s + y * c};
}

void MFloatPoint::RotateAbout(const MFloatPoint& centre, double angle) {
    *this = GetRotatedAbout(centre, angle);
}

MFloatPoint MFloatPoint::GetRotatedAbout(const MFloatPoint& centre, double angle) const {
    return (*this - centre).GetRotated(angle) + centre;
}

void MFloatPoint::SetOnCircle(double cx, double cy, double r, double angle) {
    x = cx + r * std::cos(angle);
    y = cy + r * std::sin(angle);
}

BOOL MFloatPoint::IsEqual(const MFloatPoint& o) const {
    return (*this - o).GetLength() <= 10 * 2.220446e-16 * (GetLength() + o.GetLength());
}

CArchive& operator<<(CArchive& ar, const MFloatPoint& p) {
    return ar << p.x << p.y;
}
CArchive& operator>>(CArchive& ar, MFloatPoint& p) {
    return ar >> p.x >> p.y;
}
std::ostream& operator<<(std::ostream& os, const MFloatPoint& p) {
    return os << p.x << ' ' << p.y;
}
std::istream& operator>>(std::istream& is, MFloatPoint& p) {
    return is >> p.x >> p.y;
}

CArchive& operator<<(CArchive& ar, const MFloatSize& s) {
    return ar << s.cx << s.cy;
}
CArchive& operator>>(CArchive& ar, MFloatSize& s) {
    return ar >> s.cx >> s.cy;
}
std::ostream& operator<<(std::ostream& os, const MFloatSize& s) {
    return os << s.cx << ' ' << s.cy;
}
std::istream& operator>>(std::istream& is, MFloatSize& s) {
    return is >> s.cx >> s.cy;
}
