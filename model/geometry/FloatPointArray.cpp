#include "model/geometry/FloatPointArray.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <ostream>

#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"

void MFloatPointArray::AddArray(const MFloatPointArray& other) {
    if (&other == this) {
        const std::vector<MFloatPoint> copy = m_data;
        m_data.insert(m_data.end(), copy.begin(), copy.end());
        return;
    }
    m_data.insert(m_data.end(), other.m_data.begin(), other.m_data.end());
}

const MFloatPoint& MFloatPointArray::GetAtWrapped(int index, BOOL wrap) const {
    const int n = GetSize();
    if (n == 0) AfxThrowInvalidArgException();
    if (wrap) index %= n;
    return GetAt(index);
}

void MFloatPointArray::SortByDistance(const MFloatPoint& from) {
    // The reference point travels in the comparison itself, so sorts may run inside one another.
    std::stable_sort(m_data.begin(), m_data.end(), [&from](const MFloatPoint& a, const MFloatPoint& b) {
        return (a - from).GetLength() < (b - from).GetLength();
    });
}

BOOL MFloatPointArray::IsPointInside(const MFloatPoint& p) const {
    const int n = GetSize();
    if (n < 3) return FALSE;

    // The sign test at a vertex that lies level with p compares the edge leaving the vertex with the
    // last edge that was not horizontal: a horizontal run between two rising edges is a step the ray
    // crosses once, between a rising and a falling edge a ridge it only touches.
    double prevDy = 0.0;
    for (int i = n - 1; i > 0 && prevDy == 0.0; --i)
        prevDy = m_data[i].y - m_data[i - 1].y;

    int crossings = 0;
    for (int i = 0; i < n; ++i) {
        const MFloatPoint& s = m_data[(i + n - 1) % n];
        const MFloatPoint& e = m_data[i];
        const double dx = e.x - s.x;
        const double dy = e.y - s.y;
        if (p.IsEqual(s)) return FALSE;
        if (dy != 0.0) {
            const bool inRange = dy > 0 ? (s.y <= p.y && p.y < e.y) : (e.y < p.y && p.y <= s.y);
            if (inRange) {
                MFloatPoint crossing;
                const double t = IntersectLines(&crossing, p, s, MFloatPoint(1, 0), MFloatPoint(dx, dy));
                const double tol = std::fabs((dx * dx + dy * dy + 1) * 2.220446e-16 * 10);
                if (t > tol) {
                    if (!(p.y == s.y && dy * prevDy <= 0)) ++crossings;
                } else if (std::fabs(t) <= tol) {
                    return FALSE;
                }
            }
            prevDy = dy;
        } else if (std::fabs(s.y - p.y) < kZeroTolerance && std::min(s.x, e.x) <= p.x &&
                   p.x <= std::max(s.x, e.x)) {
            return FALSE;
        }
    }
    return (crossings & 1) != 0;
}

void MFloatPointArray::WriteText(std::ostream& os) const {
    os << '\t' << GetSize() << '\n';
    for (const MFloatPoint& p : m_data)
        os << '\t' << p.x << ' ' << p.y << '\n';
}

void MFloatPointArray::ReadText(std::istream& is) {
    RemoveAll();
    int count = 0;
    if (!(is >> count)) return;
    SkipTextLine(is);
    if (count < 0) {
        is.setstate(std::ios::failbit);
        return;
    }
    for (int i = 0; i < count; ++i) {
        MFloatPoint p;
        if (!(is >> p.x >> p.y)) return;
        SkipTextLine(is);
        Add(p);
    }
}
