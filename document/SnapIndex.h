// Where the shapes of one layer can take part in a snap search: a grid of buckets of shape indices
// over the layer, so that a search near the cursor looks only at the shapes whose reach (extent,
// draw extent and every point they offer) comes near it. Shapes too large for a few buckets are
// kept in one list with their reach and tested one by one.
#pragma once

#include <cstdint>
#include <vector>

#include "model/geometry/FloatRect.h"

class MShapeArray;

class MSnapIndex {
public:
    // Rebuilds for the shapes when the stamp or their count differs from the last build.
    void Update(const MShapeArray& shapes, std::uint64_t stamp);
    // Appends to out, ascending and once each, the index of every shape whose reach may overlap
    // rect (others offer nothing there and cannot cross anything there).
    void Query(const MFloatRect& rect, std::vector<int>& out) const;
    // The buckets' share of memory, in bytes.
    std::size_t MemoryBytes() const;

private:
    struct Large {
        std::uint32_t index;
        MFloatRect reach;
    };

    void CellRange(const MFloatRect& r, int& x0, int& y0, int& x1, int& y1) const;

    bool m_built = false;
    std::uint64_t m_stamp = 0;
    int m_count = 0;
    double m_left = 0, m_bottom = 0, m_cellW = 1, m_cellH = 1;
    int m_nx = 0, m_ny = 0;
    // Bucket c holds m_entries[m_start[c] .. m_start[c + 1]).
    std::vector<std::uint32_t> m_start;
    std::vector<std::uint32_t> m_entries;
    std::vector<Large> m_large;
};
