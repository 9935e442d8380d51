// The snap searches' cancel test: how often it reads the pointer and how far it may move.
#include <gtest/gtest.h>

#include "view/PointerWatch.h"

namespace {

CPoint g_cursor;
int* g_reads = nullptr;

}  // namespace

TEST(PointerWatch, ReadsThePointerOnlyAfterAHundredCalls) {
    int reads = 0;
    g_reads = &reads;
    MPointerWatch watch([]() -> CPoint {
        ++*g_reads;
        return g_cursor;
    });
    g_cursor = CPoint(100, 100);
    watch.Reset(CPoint(100, 100));
    g_cursor = CPoint(200, 200);  // moved far away, but not looked at yet
    for (int i = 0; i <= 100; ++i)
        EXPECT_TRUE(watch.IsStill()) << i;
    EXPECT_EQ(reads, 0);
    EXPECT_FALSE(watch.IsStill());
    EXPECT_EQ(reads, 1);

    g_cursor = CPoint(10, 10);
    watch.Reset(CPoint(10, 10));
    for (int i = 0; i <= 100; ++i)
        watch.IsStill();
    g_cursor = CPoint(16, 10);  // exactly 6 pixels: still
    EXPECT_TRUE(watch.IsStill());
    // The count restarted, so the next 101 calls do not look.
    g_cursor = CPoint(100, 10);
    for (int i = 0; i <= 100; ++i)
        EXPECT_TRUE(watch.IsStill());
    EXPECT_FALSE(watch.IsStill());
}
