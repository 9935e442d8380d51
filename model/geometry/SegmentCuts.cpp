#include "model/geometry/SegmentCuts.h"

#include <algorithm>
#include <cmath>

#include "model/geometry/ExactOrientation.h"

namespace {

// Points farther than this fraction of the region's size from the line through the others give
// it an area.
constexpr double kRegionFlatness = 1e-12;

bool EnclosesArea(std::span<const MFloatPoint> points, const MFloatRect& bounds) {
    if (points.size() < 3) return false;
    const MFloatPoint& p0 = points[0];
    MFloatPoint farthest = p0;
    double reach = 0.0;
    for (const MFloatPoint& p : points) {
        if (!IsFinite(p)) return false;
        const double l = (p - p0).GetLength();
        if (l > reach) reach = l, farthest = p;
    }
    const double size = std::hypot(bounds.GetWidth(), bounds.GetHeight());
    if (!(reach > kRegionFlatness * size)) return false;
    const MFloatPoint d = farthest - p0;
    return std::any_of(points.begin(), points.end(), [&](const MFloatPoint& p) {
        return std::fabs(d.Cross(p - p0)) / reach > kRegionFlatness * size;
    });
}

// Parameters along a + t·d of every place where the segment meets the outline, and 0 and 1. The
// side of each vertex is computed once, so the two edges at a vertex near the carrier agree on it
// and a crossing there is found exactly once or twice, never missed.
void CollectContacts(const MFloatPoint& a, const MFloatPoint& d, std::span<const MFloatPoint> outline,
                     std::vector<double>& t) {
    const double len2 = d.Dot(d);
    auto param = [&](const MFloatPoint& p) { return (p - a).Dot(d) / len2; };
    auto side = [&](const MFloatPoint& p) { return d.Cross(p - a); };
    t.assign({0.0, 1.0});
    const std::size_t n = outline.size();
    double sp = side(outline[n - 1]);
    for (std::size_t k = 0; k < n; ++k) {
        const MFloatPoint& p = outline[k == 0 ? n - 1 : k - 1];
        const MFloatPoint& q = outline[k];
        const double sq = side(q);
        if (sp == 0.0 && sq == 0.0) {
            // Collinear: the ends of the overlap are the edge's ends clipped to the segment.
            t.push_back(param(p));
            t.push_back(param(q));
        } else if (!((sp > 0 && sq > 0) || (sp < 0 && sq < 0))) {
            const MFloatPoint x = sp == 0.0 ? p : (sq == 0.0 ? q : p + (q - p) * (sp / (sp - sq)));
            t.push_back(param(x));
        }
        sp = sq;
    }
}

// Sorted contacts inside [0, 1], those within the tolerance of each other merged; 0 and 1 stay exact.
void MergeContacts(std::vector<double>& t, std::vector<double>& cuts) {
    std::sort(t.begin(), t.end());
    cuts.clear();
    for (double v : t) {
        if (!(v >= -kCutParamTolerance && v <= 1 + kCutParamTolerance)) continue;
        v = std::clamp(v, 0.0, 1.0);
        if (cuts.empty()) {
            cuts.push_back(v);
        } else if (v - cuts.back() <= kCutParamTolerance) {
            if (v == 1.0 && cuts.size() > 1) cuts.back() = 1.0;
        } else {
            cuts.push_back(v);
        }
    }
}

// The segments p-q and r-s cross at a point inside both (touching is no crossing).
bool CrossesProperly(const MFloatPoint& p, const MFloatPoint& q, const MFloatPoint& r, const MFloatPoint& s) {
    return GetOrientationSign(p, q, r) * GetOrientationSign(p, q, s) < 0 &&
           GetOrientationSign(r, s, p) * GetOrientationSign(r, s, q) < 0;
}

// A quadrilateral's opposite sides cross: it is a bow-tie.
bool SidesCross(std::span<const MFloatPoint> c) {
    return CrossesProperly(c[0], c[1], c[2], c[3]) || CrossesProperly(c[1], c[2], c[3], c[0]);
}

}  // namespace

MCutRegion::MCutRegion(std::span<const MFloatPoint> outline) {
    for (const MFloatPoint& p : outline)
        m_outline.Add(p);
    if (!outline.empty()) {
        m_bounds = MFloatRect(outline[0], outline[0]);
        for (const MFloatPoint& p : outline)
            m_bounds.AddPoint(p);
    }
    m_canCut = EnclosesArea(outline, m_bounds);
    m_band = kRegionFlatness * std::hypot(m_bounds.GetWidth(), m_bounds.GetHeight());
}

MCutRegion MCutRegion::Rectangle(const MFloatPoint& p, const MFloatPoint& q) {
    const double x0 = std::min(p.x, q.x), x1 = std::max(p.x, q.x);
    const double y0 = std::min(p.y, q.y), y1 = std::max(p.y, q.y);
    const MFloatPoint corners[] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    MCutRegion region(corners);
    region.m_isRectangle = true;
    return region;
}

MCutRegion MCutRegion::BetweenLines(const MFloatPoint& a0, const MFloatPoint& b0, const MFloatPoint& a1,
                                    const MFloatPoint& b1) {
    // The directions alone mislead when one line lies off to the side of the other's end.
    const MFloatPoint facing[] = {a0, b0, a1, b1};
    const MFloatPoint alike[] = {a0, b0, b1, a1};
    const bool opposite = (b0 - a0).Dot(b1 - a1) < 0;
    const std::span<const MFloatPoint> first = opposite ? facing : alike;
    const std::span<const MFloatPoint> second = opposite ? alike : facing;
    return MCutRegion(SidesCross(first) && !SidesCross(second) ? second : first);
}

bool MCutRegion::IsInside(const MFloatPoint& p) const {
    if (!m_canCut || !m_bounds.ContainsPoint(p)) return false;
    // Within rounding of an edge is on it. The even-odd ray alone decides such points by the
    // rounding of a nearly level edge's crossing, so a line along an edge could go either way.
    if (m_isRectangle) {
        return p.x > m_bounds.left + m_band && p.x < m_bounds.right - m_band &&
               p.y > m_bounds.bottom + m_band && p.y < m_bounds.top - m_band;
    }
    const int n = m_outline.GetSize();
    for (int i = 0; i < n; ++i) {
        const MFloatPoint& a = m_outline[i];
        const MFloatPoint d = m_outline[(i + 1) % n] - a;
        const double len2 = d.Dot(d);
        const double t = len2 > 0 ? std::clamp((p - a).Dot(d) / len2, 0.0, 1.0) : 0.0;
        const MFloatPoint off = a + d * t - p;
        if (off.Dot(off) <= m_band * m_band) return false;
    }
    return m_outline.IsPointInside(p);
}

MFloatPoint PointAt(const MFloatPoint& a, const MFloatPoint& b, double t) {
    if (t == 0.0) return a;
    if (t == 1.0) return b;
    return a + (b - a) * t;
}

const MSegmentCut& MSegmentCutter::Cut(const MFloatPoint& a, const MFloatPoint& b) {
    MSegmentCut& out = m_result;
    out.kept.assign({{0.0, 1.0}});
    out.reachesInside = false;
    if (!m_region.CanCut() || !IsFinite(a) || !IsFinite(b)) return out;
    const MFloatRect& bounds = m_region.GetBounds();
    if (std::max(a.x, b.x) < bounds.left || std::min(a.x, b.x) > bounds.right ||
        std::max(a.y, b.y) < bounds.bottom || std::min(a.y, b.y) > bounds.top)
        return out;
    if (a == b) {
        if (m_region.IsInside(a)) out.kept.clear(), out.reachesInside = true;
        return out;
    }
    CollectContacts(a, b - a, m_region.GetOutline(), m_contacts);
    MergeContacts(m_contacts, m_cuts);
    out.kept.clear();
    for (std::size_t i = 0; i + 1 < m_cuts.size(); ++i) {
        const double t0 = m_cuts[i], t1 = m_cuts[i + 1];
        if (m_region.IsInside(PointAt(a, b, (t0 + t1) / 2))) {
            out.reachesInside = true;
        } else if (!out.kept.empty() && out.kept.back().t1 == t0) {
            out.kept.back().t1 = t1;
        } else {
            out.kept.push_back({t0, t1});
        }
    }
    if (!out.reachesInside) out.kept.assign({{0.0, 1.0}});
    return out;
}

MSegmentCut CutSegment(const MFloatPoint& a, const MFloatPoint& b, const MCutRegion& region) {
    MSegmentCutter cutter(region);
    return cutter.Cut(a, b);
}

std::vector<MFamilyCrossing> CrossLineFamily(std::span<const MFloatPoint> outline, bool closed,
                                             const MLineFamily& family) {
    std::vector<MFamilyCrossing> out;
    const std::size_t n = outline.size();
    const std::vector<double>& offsets = family.offsets;
    if (n < 2 || offsets.empty()) return out;
    auto level = [&](const MFloatPoint& p) { return family.direction.Cross(p - family.origin); };
    const std::size_t edges = closed ? n : n - 1;
    double lp = level(outline[0]);
    for (std::size_t k = 0; k < edges; ++k) {
        const MFloatPoint& p = outline[k];
        const MFloatPoint& q = outline[(k + 1) % n];
        const double lq = level(q);
        // An end is positive above the line's offset: exactly one end is for lo <= offset < hi.
        const double lo = std::min(lp, lq), hi = std::max(lp, lq);
        if (lo < hi) {
            const auto first = std::lower_bound(offsets.begin(), offsets.end(), lo);
            const auto last = std::lower_bound(first, offsets.end(), hi);
            for (auto it = first; it != last; ++it) {
                const double c = *it;
                const MFloatPoint x = c == lp ? p : (c == lq ? q : p + (q - p) * ((c - lp) / (lq - lp)));
                out.push_back(
                    {static_cast<int>(it - offsets.begin()), family.direction.Dot(x - family.origin), x});
            }
        }
        lp = lq;
    }
    return out;
}
