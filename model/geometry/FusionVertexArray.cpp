#include "model/geometry/FusionVertexArray.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "model/geometry/ExactOrientation.h"

namespace {
constexpr double kCellsPerTolerance = 16.0;
}  // namespace

MFusionVertex::MFusionVertex(const MFloatPoint& position, int shape) : m_position(position) {
    AddShape(shape);
}

int MFusionVertex::GetShapeCount() const {
    return std::popcount(m_shapes);
}

int MFusionVertex::FindNeighbour(int vertex) const {
    for (std::size_t i = 0; i < m_links.size(); ++i)
        if (m_links[i].vertex == vertex) return static_cast<int>(i);
    return -1;
}

int MFusionVertex::RemoveNeighbour(int vertex) {
    const int i = FindNeighbour(vertex);
    if (i >= 0) m_links.erase(m_links.begin() + i);
    return i;
}

// The key's slot, or the empty slot where it belongs (linear probing).
std::size_t MFusionVertexArray::SlotOf(const CellKey& k) const {
    std::uint64_t h = static_cast<std::uint64_t>(k.x) * 0x9E3779B97F4A7C15ull;
    h ^= (static_cast<std::uint64_t>(k.y) + 0x7F4A7C159E3779B9ull) * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 29;
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = static_cast<std::size_t>(h) & mask;
    while (m_slots[i].first >= 0 && !(m_slots[i].key == k))
        i = (i + 1) & mask;
    return i;
}

MFusionVertexArray::MFusionVertexArray(double mergeTolerance)
    : m_tolerance(std::isfinite(mergeTolerance) && mergeTolerance > 0 ? mergeTolerance : 0.0) {}

MFusionVertexArray::CellKey MFusionVertexArray::CellOf(const MFloatPoint& p) const {
    if (m_tolerance == 0.0) {
        // Equal positions have equal bits once -0 is folded into +0.
        return {std::bit_cast<std::int64_t>(p.x + 0.0), std::bit_cast<std::int64_t>(p.y + 0.0)};
    }
    constexpr double kLimit = 4e18;
    const double size = m_tolerance * kCellsPerTolerance;
    const auto cell = [&](double v) {
        return static_cast<std::int64_t>(std::clamp(std::floor(v / size), -kLimit, kLimit));
    };
    return {cell(p.x), cell(p.y)};
}

int MFusionVertexArray::Find(const MFloatPoint& p) const {
    const CellKey centre = CellOf(p);
    if (m_tolerance == 0.0) {
        for (int v = FirstInCell(centre); v >= 0; v = m_nextInCell[v])
            if (m_vertices[v].m_position == p) return v;
        return -1;
    }
    // Cells are kCellsPerTolerance tolerances wide: only a point near a cell's border looks beyond it.
    const double cell = m_tolerance * kCellsPerTolerance;
    const double fx = p.x / cell - static_cast<double>(centre.x),
                 fy = p.y / cell - static_cast<double>(centre.y);
    const double near = 1.0 / kCellsPerTolerance + 1e-9;
    const std::int64_t x0 = fx < near ? -1 : 0, x1 = fx > 1 - near ? 1 : 0;
    const std::int64_t y0 = fy < near ? -1 : 0, y1 = fy > 1 - near ? 1 : 0;
    int best = -1;
    double bestDistance = m_tolerance;
    for (std::int64_t dx = x0; dx <= x1; ++dx) {
        for (std::int64_t dy = y0; dy <= y1; ++dy) {
            for (int v = FirstInCell({centre.x + dx, centre.y + dy}); v >= 0; v = m_nextInCell[v]) {
                const double d = (m_vertices[v].m_position - p).GetLength();
                if (d <= bestDistance && (best < 0 || d < bestDistance || v < best)) {
                    best = v;
                    bestDistance = d;
                }
            }
        }
    }
    return best;
}

void MFusionVertexArray::Index(int vertex) {
    if (2 * (m_usedSlots + 1) > m_slots.size()) {
        m_slots.assign(std::max<std::size_t>(16, 2 * m_slots.size()), Slot{});
        m_usedSlots = 0;
        m_nextInCell.clear();
        for (int v = 0; v < vertex; ++v)
            Index(v);
    }
    const CellKey key = CellOf(m_vertices[vertex].m_position);
    Slot& slot = m_slots[SlotOf(key)];
    m_nextInCell.push_back(slot.first);
    if (slot.first < 0) {
        slot.key = key;
        ++m_usedSlots;
    }
    slot.first = vertex;
}

void MFusionVertexArray::RebuildIndex() {
    std::fill(m_slots.begin(), m_slots.end(), Slot{});
    m_usedSlots = 0;
    m_nextInCell.clear();
    for (int v = 0; v < GetSize(); ++v)
        Index(v);
}

int MFusionVertexArray::AddVertex(const MFloatPoint& p, int shape) {
    const int found = Find(p);
    if (found >= 0) {
        m_vertices[found].AddShape(shape);
        return found;
    }
    m_vertices.emplace_back(p, shape);
    Index(GetSize() - 1);
    return GetSize() - 1;
}

void MFusionVertexArray::AddEdge(const MFloatPoint& a, const MFloatPoint& b, int shape) {
    const int ia = AddVertex(a, shape);
    AddEdgeBetween(ia, AddVertex(b, shape), shape);
}

void MFusionVertexArray::AddEdgeBetween(int a, int b, int shape) {
    if (a == b) return;
    MFusionVertex& va = m_vertices[a];
    MFusionVertex& vb = m_vertices[b];
    va.AddShape(shape);
    vb.AddShape(shape);
    const int ia = va.FindNeighbour(b);
    const int ib = vb.FindNeighbour(a);
    if (ia >= 0 && ib >= 0) {
        ++va.m_links[ia].runs[shape];
        ++vb.m_links[ib].runs[shape];
        return;
    }
    // A half-removed edge is dropped and made anew, so both ends again agree on it.
    if (ia >= 0) va.m_links.erase(va.m_links.begin() + ia);
    if (ib >= 0) vb.m_links.erase(vb.m_links.begin() + ib);
    MFusionVertex::Link link{b, {0, 0}};
    link.runs[shape] = 1;
    va.m_links.push_back(link);
    link.vertex = a;
    vb.m_links.push_back(link);
}

void MFusionVertexArray::RemoveAt(int index) {
    if (index < 0 || index >= GetSize()) return;
    m_vertices.erase(m_vertices.begin() + index);
    for (MFusionVertex& v : m_vertices) {
        std::erase_if(v.m_links, [index](const MFusionVertex::Link& l) { return l.vertex == index; });
        for (MFusionVertex::Link& l : v.m_links)
            if (l.vertex > index) --l.vertex;
    }
    RebuildIndex();
}

bool MFusionVertexArray::SortNeighboursByAngle() {
    bool distinct = true;
    for (MFusionVertex& v : m_vertices) {
        const MFloatPoint& o = v.m_position;
        std::sort(v.m_links.begin(), v.m_links.end(), [&](const auto& l, const auto& r) {
            return CompareDirectionsAround(o, m_vertices[l.vertex].m_position,
                                           m_vertices[r.vertex].m_position) < 0;
        });
        for (std::size_t i = 1; i < v.m_links.size(); ++i) {
            const MFloatPoint& p = m_vertices[v.m_links[i - 1].vertex].m_position;
            if (CompareDirectionsAround(o, p, m_vertices[v.m_links[i].vertex].m_position) == 0)
                distinct = false;
        }
    }
    return distinct;
}
