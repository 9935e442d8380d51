#include "model/geometry/ReplacementOrder.h"

MReplacementOrder OrderReplacements(std::span<const int> pieceCounts) {
    MReplacementOrder out;
    const int n = static_cast<int>(pieceCounts.size());
    for (int i = 0; i < n; ++i)
        if (pieceCounts[i] > 0) out.originals.push_back(i), out.pieces.push_back({i, 0});
    out.pairs = static_cast<int>(out.originals.size());
    for (int i = 0; i < n; ++i)
        if (pieceCounts[i] == 0) out.originals.push_back(i);
    for (int i = 0; i < n; ++i)
        for (int k = 1; k < pieceCounts[i]; ++k)
            out.pieces.push_back({i, k});
    return out;
}
