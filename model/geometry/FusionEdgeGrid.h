// Candidate pairs of edges for the crossing search: a uniform grid, not all pairs.
#pragma once

#include <cstdint>
#include <vector>

#include "model/geometry/FloatPoint.h"

// An edge of an outline: its vertex indices, its outline and the vertices' positions.
struct MFusionEdge {
    int a, b;
    int shape;
    MFloatPoint from, to;
};

// Buckets the edges into square cells, each edge widened by pad, so that edges that meet or pass
// closer than pad share a cell.
class MFusionEdgeGrid {
public:
    MFusionEdgeGrid(const std::vector<MFusionEdge>& edges, double pad);
    // visit(i, j) with i < j, once for each pair of edges that share a cell.
    template <class Visit>
    void ForEachPair(Visit visit) const;

private:
    void Insert(int index, const MFloatPoint& a, const MFloatPoint& b);
    std::int64_t Column(double x) const;
    std::int64_t Row(double y) const;
    void SortEntries();

    MFloatPoint m_origin;
    double m_cell = 1.0;
    double m_pad;
    std::int64_t m_columns = 1, m_rows = 1;

    // Entries (an edge in a cell) in the order added: edge i has m_edgeFirst[i] .. m_edgeFirst[i + 1] - 1.
    std::vector<std::uint32_t> m_entryCell, m_edgeFirst;
    // The entries ordered by cell and, within a cell, by edge; m_rank maps an entry to its place.
    std::vector<std::uint32_t> m_sortedCell, m_sortedEdge, m_rank;
};

// For each edge i, the later edges of each of its cells; a stamp per edge skips repeats.
template <class Visit>
void MFusionEdgeGrid::ForEachPair(Visit visit) const {
    const int n = static_cast<int>(m_edgeFirst.size()) - 1;
    const std::size_t count = m_sortedCell.size();
    std::vector<int> seenBy(n, -1);
    for (int i = 0; i < n; ++i) {
        for (std::uint32_t k = m_edgeFirst[i]; k < m_edgeFirst[i + 1]; ++k) {
            const std::uint32_t cell = m_entryCell[k];
            for (std::size_t next = m_rank[k] + 1; next < count && m_sortedCell[next] == cell; ++next) {
                const int j = static_cast<int>(m_sortedEdge[next]);
                if (seenBy[j] == i) continue;
                seenBy[j] = i;
                visit(i, j);
            }
        }
    }
}
