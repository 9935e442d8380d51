#include "model/geometry/FusionEdgeGrid.h"

#include <algorithm>
#include <cmath>

namespace {

// Columns and rows at most; cell numbers stay below 2^30 (the sort takes 33 bits).
constexpr double kMaxCells = 32767;

}  // namespace

MFusionEdgeGrid::MFusionEdgeGrid(const std::vector<MFusionEdge>& edges, double pad) : m_pad(pad) {
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY, length = 0.0;
    for (const MFusionEdge& e : edges) {
        const MFloatPoint &a = e.from, &b = e.to;
        minX = std::min({minX, a.x, b.x});
        minY = std::min({minY, a.y, b.y});
        maxX = std::max({maxX, a.x, b.x});
        maxY = std::max({maxY, a.y, b.y});
        length += std::fabs(b.x - a.x) + std::fabs(b.y - a.y);
    }
    const int n = static_cast<int>(edges.size());
    m_edgeFirst.assign(1, 0);
    if (n == 0) return;
    // Cells about twice the mean edge or the side of the area's share per edge, whichever is less:
    // few entries per edge and few edges per cell, for short and long edges alike. The cap on
    // columns and rows keeps cell numbers below 2^30.
    const double extent = std::max(maxX - minX, maxY - minY);
    const double perEdge = std::sqrt(std::max((maxX - minX) * (maxY - minY), extent * extent * 1e-6) / n);
    m_cell = std::max({2.0 * std::min(length / n, perEdge), extent / (kMaxCells - 8), 8.0 * pad});
    if (!(m_cell > 0.0)) m_cell = 1.0;
    m_origin = MFloatPoint(minX - 2 * pad, minY - 2 * pad);
    m_columns = Column(maxX + 2 * pad) + 1;
    m_rows = Row(maxY + 2 * pad) + 1;
    m_entryCell.reserve(edges.size() * 4);
    for (int i = 0; i < n; ++i) {
        Insert(i, edges[i].from, edges[i].to);
        m_edgeFirst.push_back(static_cast<std::uint32_t>(m_entryCell.size()));
    }
    SortEntries();
}

// Stable by cell, so each cell's entries stay in the order added, that is by edge: a plain sort for
// a few entries, else three counting passes over 11 bits of the cell number each.
void MFusionEdgeGrid::SortEntries() {
    const std::size_t count = m_entryCell.size();
    std::vector<std::uint32_t> order(count);
    if (count < 8192) {
        std::vector<std::uint64_t> keyed(count);
        for (std::size_t k = 0; k < count; ++k)
            keyed[k] = static_cast<std::uint64_t>(m_entryCell[k]) << 32 | k;
        std::sort(keyed.begin(), keyed.end());
        for (std::size_t k = 0; k < count; ++k)
            order[k] = static_cast<std::uint32_t>(keyed[k]);
    } else {
        std::vector<std::uint32_t> buffer(count);
        for (std::size_t k = 0; k < count; ++k)
            order[k] = static_cast<std::uint32_t>(k);
        for (const int shift : {0, 11, 22}) {
            std::vector<std::uint32_t> start(2049, 0);
            for (const std::uint32_t k : order)
                ++start[((m_entryCell[k] >> shift) & 0x7FFu) + 1];
            for (std::size_t b = 1; b < start.size(); ++b)
                start[b] += start[b - 1];
            for (const std::uint32_t k : order)
                buffer[start[(m_entryCell[k] >> shift) & 0x7FFu]++] = k;
            order.swap(buffer);
        }
    }
    m_sortedCell.resize(count);
    m_sortedEdge.resize(count);
    m_rank.resize(count);
    std::uint32_t edge = 0;
    std::vector<std::uint32_t> edgeOf(count);
    for (std::size_t k = 0; k < count; ++k) {
        while (m_edgeFirst[edge + 1] <= k)
            ++edge;
        edgeOf[k] = edge;
    }
    for (std::size_t at = 0; at < count; ++at) {
        m_sortedCell[at] = m_entryCell[order[at]];
        m_sortedEdge[at] = edgeOf[order[at]];
        m_rank[order[at]] = static_cast<std::uint32_t>(at);
    }
}

std::int64_t MFusionEdgeGrid::Column(double x) const {
    return static_cast<std::int64_t>(std::clamp(std::floor((x - m_origin.x) / m_cell), 0.0, kMaxCells));
}

std::int64_t MFusionEdgeGrid::Row(double y) const {
    return static_cast<std::int64_t>(std::clamp(std::floor((y - m_origin.y) / m_cell), 0.0, kMaxCells));
}

void MFusionEdgeGrid::Insert(int index, const MFloatPoint& a, const MFloatPoint& b) {
    // Column by column, the rows the edge passes, widened by the pad so that near misses meet.
    const double pad = m_pad + m_cell * 1e-9;
    const double x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x);
    const double slope = a.x == b.x ? 0.0 : (b.y - a.y) / (b.x - a.x);
    const std::int64_t lastColumn = std::min(Column(x1 + pad), m_columns - 1);
    for (std::int64_t c = std::min(Column(x0 - pad), m_columns - 1); c <= lastColumn; ++c) {
        double yLow = std::min(a.y, b.y), yHigh = std::max(a.y, b.y);
        if (a.x != b.x) {
            const double xa = std::clamp(m_origin.x + static_cast<double>(c) * m_cell - pad, x0, x1);
            const double xb = std::clamp(m_origin.x + static_cast<double>(c + 1) * m_cell + pad, x0, x1);
            const double ya = a.y + (xa - a.x) * slope, yb = a.y + (xb - a.x) * slope;
            yLow = std::max(yLow, std::min(ya, yb));
            yHigh = std::min(yHigh, std::max(ya, yb));
        }
        const std::int64_t lastRow = std::min(Row(yHigh + pad), m_rows - 1);
        for (std::int64_t r = std::min(Row(yLow - pad), m_rows - 1); r <= lastRow; ++r)
            m_entryCell.push_back(static_cast<std::uint32_t>(r * m_columns + c));
    }
}
