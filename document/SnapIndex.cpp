#include "document/SnapIndex.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

#include "model/SnapPoint.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/containers/ShapeArray.h"

namespace {

// A shape spread over more buckets than this goes to the list of large ones.
constexpr int kMaxCellsPerShape = 16;
constexpr int kMaxCellsPerSide = 4096;
constexpr double kHuge = 1e300;

bool IsFinite(const MFloatRect& r) {
    return std::isfinite(r.left) && std::isfinite(r.right) && std::isfinite(r.top) && std::isfinite(r.bottom);
}

void Grow(MFloatRect& r, const MFloatRect& o) {
    r.left = std::min({r.left, o.left, o.right});
    r.right = std::max({r.right, o.left, o.right});
    r.bottom = std::min({r.bottom, o.bottom, o.top});
    r.top = std::max({r.top, o.bottom, o.top});
}

// Everywhere the shape can offer or cross anything: its extents and the points its SnapPoints offers
// for every kind but intersections (a crossing lies on both shapes, inside both extents).
MFloatRect Reach(MCadShape* shape) {
    const MFloatRect extent = shape->GetExtent();
    MFloatRect reach(std::min(extent.left, extent.right), std::min(extent.bottom, extent.top),
                     std::max(extent.left, extent.right), std::max(extent.bottom, extent.top));
    const MFloatRect drawn = shape->GetDrawExtent();
    if (!drawn.IsNull()) Grow(reach, drawn);
    MFloatRect offered(kHuge, kHuge, -kHuge, -kHuge);
    {
        const MSnapOfferWatch watch(&offered);
        MSnapPoint ignored;
        shape->SnapPoints(ignored, MFloatPoint(), MFloatRect(-kHuge, -kHuge, kHuge, kHuge),
                          0xFFFF & ~kSnapIntersection, DBL_MAX);
    }
    if (offered.left <= offered.right) Grow(reach, offered);
    if (!IsFinite(reach)) reach = MFloatRect(-kHuge, -kHuge, kHuge, kHuge);
    return reach;
}

}  // namespace

void MSnapIndex::CellRange(const MFloatRect& r, int& x0, int& y0, int& x1, int& y1) const {
    const auto cell = [](double v, double origin, double size, int n) {
        const double c = std::floor((v - origin) / size);
        if (!(c >= 0)) return 0;  // NaN too
        return c >= n - 1 ? n - 1 : static_cast<int>(c);
    };
    x0 = cell(std::min(r.left, r.right), m_left, m_cellW, m_nx);
    x1 = cell(std::max(r.left, r.right), m_left, m_cellW, m_nx);
    y0 = cell(std::min(r.bottom, r.top), m_bottom, m_cellH, m_ny);
    y1 = cell(std::max(r.bottom, r.top), m_bottom, m_cellH, m_ny);
}

void MSnapIndex::Update(const MShapeArray& shapes, std::uint64_t stamp) {
    const int n = shapes.GetSize();
    if (m_built && stamp == m_stamp && n == m_count) return;
    m_built = true;
    m_stamp = stamp;
    m_count = n;
    m_start.clear();
    m_entries.clear();
    m_large.clear();

    // Shapes whose SnapPoints asks whether the search is cancelled (groups) must offer everything here.
    const MSnapCancelScope uncancelled(nullptr);
    std::vector<MFloatRect> reach(n);
    std::vector<bool> present(n, false);
    MFloatRect bounds(kHuge, kHuge, -kHuge, -kHuge);
    for (int i = 0; i < n; ++i) {
        MCadShape* s = shapes.GetAt(i);
        if (!s) continue;
        present[i] = true;
        reach[i] = Reach(s);
        if (reach[i].left > -kHuge) Grow(bounds, reach[i]);
    }

    if (bounds.left > bounds.right) bounds = MFloatRect(0, 0, 1, 1);
    const double w = std::max(bounds.right - bounds.left, 1e-9);
    const double h = std::max(bounds.top - bounds.bottom, 1e-9);
    const double target = std::max(1.0, n / 2.0);
    m_nx = std::clamp(static_cast<int>(std::ceil(std::sqrt(target * w / h))), 1, kMaxCellsPerSide);
    m_ny = std::clamp(static_cast<int>(std::ceil(target / m_nx)), 1, kMaxCellsPerSide);
    m_left = bounds.left;
    m_bottom = bounds.bottom;
    m_cellW = w / m_nx;
    m_cellH = h / m_ny;

    // Bucket counts, then the buckets filled in shape order so that each stays ascending.
    m_start.assign(static_cast<std::size_t>(m_nx) * m_ny + 1, 0);
    std::vector<bool> large(n, false);
    for (int i = 0; i < n; ++i) {
        if (!present[i]) continue;
        int x0, y0, x1, y1;
        CellRange(reach[i], x0, y0, x1, y1);
        if (reach[i].left <= -kHuge || (x1 - x0 + 1) * (y1 - y0 + 1) > kMaxCellsPerShape) {
            large[i] = true;
            m_large.push_back({static_cast<std::uint32_t>(i), reach[i]});
            continue;
        }
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                ++m_start[static_cast<std::size_t>(y) * m_nx + x + 1];
    }
    for (std::size_t c = 1; c < m_start.size(); ++c)
        m_start[c] += m_start[c - 1];
    m_entries.resize(m_start.back());
    std::vector<std::uint32_t> fill(m_start.begin(), m_start.end() - 1);
    for (int i = 0; i < n; ++i) {
        if (!present[i] || large[i]) continue;
        int x0, y0, x1, y1;
        CellRange(reach[i], x0, y0, x1, y1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                m_entries[fill[static_cast<std::size_t>(y) * m_nx + x]++] = static_cast<std::uint32_t>(i);
    }
    m_large.shrink_to_fit();
}

void MSnapIndex::Query(const MFloatRect& rect, std::vector<int>& out) const {
    const std::size_t first = out.size();
    if (m_nx > 0 && m_ny > 0) {
        int x0, y0, x1, y1;
        CellRange(rect, x0, y0, x1, y1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const std::size_t c = static_cast<std::size_t>(y) * m_nx + x;
                out.insert(out.end(), m_entries.begin() + m_start[c], m_entries.begin() + m_start[c + 1]);
            }
    }
    for (const Large& l : m_large)
        if (l.reach.Overlaps(rect)) out.push_back(static_cast<int>(l.index));
    std::sort(out.begin() + first, out.end());
    out.erase(std::unique(out.begin() + first, out.end()), out.end());
}

std::size_t MSnapIndex::MemoryBytes() const {
    return m_start.capacity() * sizeof(std::uint32_t) + m_entries.capacity() * sizeof(std::uint32_t) +
           m_large.capacity() * sizeof(Large);
}
