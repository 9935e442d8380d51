#include <gtest/gtest.h>

#include "model/geometry/ReplacementOrder.h"

namespace {

TEST(OrderReplacements, EachKeptOriginalPairsWithItsOwnFirstPiece) {
    // 0 erased whole, 1 into three pieces, 2 untouched, 3 into one, 4 erased whole.
    const int counts[] = {0, 3, -1, 1, 0};
    const MReplacementOrder order = OrderReplacements(counts);
    EXPECT_EQ(order.originals, (std::vector<int>{1, 3, 0, 4}));
    EXPECT_EQ(order.pieces, (std::vector<MPieceRef>{{1, 0}, {3, 0}, {1, 1}, {1, 2}}));
    EXPECT_EQ(order.pairs, 2);
    for (int j = 0; j < order.pairs; ++j)
        EXPECT_EQ(order.pieces[j].original, order.originals[j]);
}

TEST(OrderReplacements, NothingToReplace) {
    const int untouched[] = {-1, -1};
    const MReplacementOrder none = OrderReplacements(untouched);
    EXPECT_TRUE(none.originals.empty());
    EXPECT_TRUE(none.pieces.empty());
    EXPECT_EQ(none.pairs, 0);
    const int erased[] = {0, -1, 0};
    const MReplacementOrder gone = OrderReplacements(erased);
    EXPECT_EQ(gone.originals, (std::vector<int>{0, 2}));
    EXPECT_EQ(gone.pairs, 0);
}

}  // namespace
