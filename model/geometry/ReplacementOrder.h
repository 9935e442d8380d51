// The order in which an edit that cuts shapes into pieces hands them to a commit that replaces
// edited shape j by new shape j: every piece must land in its own original's place and layer.
#pragma once

#include <span>
#include <vector>

// Piece `piece` (0-based) of original `original`.
struct MPieceRef {
    int original = 0;
    int piece = 0;

    constexpr bool operator==(const MPieceRef& o) const { return original == o.original && piece == o.piece; }
};

// The two lists for the commit. The first `pairs` entries pair up: each original that keeps pieces
// with its own first piece, replaced in place on its layer. The originals after them are erased
// whole; the pieces after them are added, each on its own original's layer. A commit that paired
// every index while both lists last would put a remaining piece in the place (and on the layer) of
// an original erased whole, so only the first `pairs` may be paired.
struct MReplacementOrder {
    std::vector<int> originals;
    std::vector<MPieceRef> pieces;
    int pairs = 0;
};

// pieceCounts[i]: below 0, original i stays untouched and appears in neither list; 0, it is erased
// whole; k > 0, it is replaced by its k pieces. Originals and pieces keep their own order.
MReplacementOrder OrderReplacements(std::span<const int> pieceCounts);
