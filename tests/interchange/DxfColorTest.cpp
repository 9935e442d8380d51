#include <gtest/gtest.h>

#include "interchange/DxfColor.h"

TEST(DxfColor, ColourNumbersOfTheBrightAndDarkColours) {
    InitDXFColorTable();
    InitDXFColorNumberTable();
    struct Case {
        COLORREF color;
        int number;
    } cases[] = {
        {RGB(255, 0, 0), 1},
        {RGB(255, 255, 0), 2},
        {RGB(0, 255, 0), 3},
        {RGB(0, 255, 255), 4},
        {RGB(0, 0, 255), 5},
        {RGB(255, 0, 255), 6},
        {RGB(255, 255, 255), 0},
        {RGB(0, 0, 0), 7},
        {RGB(128, 0, 0), 9},
        {RGB(128, 128, 0), 10},
        {RGB(0, 128, 0), 11},
        {RGB(0, 128, 128), 12},
        {RGB(0, 0, 128), 13},
        {RGB(128, 0, 128), 14},
        {RGB(128, 128, 128), 8},
        // Values named by the writer's edge cases (COLORREF is 0x00BBGGRR).
        {0x000080, 9},
        {0x808080, 8},
        {0x00C0FF, 2},
        {0xFFFFFF, 0},
        {0x1000000, 7},
        {0x008080, 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetDXFColorNumber(c.color), c.number) << std::hex << c.color;
}

TEST(DxfColor, NearestColourByChannelThresholds) {
    // One channel of 100, the others 0: the dark shade of that channel.
    EXPECT_EQ(GetDXFColorNumber(RGB(100, 0, 0)), 9);
    EXPECT_EQ(GetDXFColorNumber(RGB(0, 100, 0)), 11);
    EXPECT_EQ(GetDXFColorNumber(RGB(0, 0, 100)), 13);
    // Every channel at most 64 is black; 65 is the first dark shade.
    EXPECT_EQ(GetDXFColorNumber(RGB(64, 64, 64)), 7);
    EXPECT_EQ(GetDXFColorNumber(RGB(65, 0, 0)), 9);
    // 128 is not above 128: still the dark range; 129 is bright.
    EXPECT_EQ(GetDXFColorNumber(RGB(128, 0, 0)), 9);
    EXPECT_EQ(GetDXFColorNumber(RGB(129, 0, 0)), 1);
    // Once any channel is bright the others count only above 128.
    EXPECT_EQ(GetDXFColorNumber(RGB(200, 100, 0)), 1);
    EXPECT_EQ(GetDXFColorNumber(RGB(200, 200, 100)), 2);
    // Every marker above 0xFFFFFF is "no colour".
    EXPECT_EQ(GetDXFColorNumber(0xFFFFFFFF), 7);
    EXPECT_EQ(GetDXFColorNumber(0x1000001), 7);
}

TEST(DxfColor, TablesBothWays) {
    const COLORREF colors[16] = {0x000000, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000,
                                 0xFF00FF, 0x000000, 0x808080, 0x000080, 0x008080, 0x008000,
                                 0x808000, 0x800000, 0x800080, 0x808080};
    const int numbers[16] = {7, 5, 1, 6, 3, 4, 2, 0, 0, 13, 9, 14, 11, 12, 10, 8};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(GetDXFTableColor(i), colors[i]) << i;
        EXPECT_EQ(GetDXFTableColorNumber(i), numbers[i]) << i;
    }
    EXPECT_EQ(GetDXFTableColor(-1), 0u);
    EXPECT_EQ(GetDXFTableColor(16), 0u);
    EXPECT_EQ(GetDXFTableColorNumber(16), 7);
    // The colours 1..6 of the table map back to their own numbers.
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(GetDXFColorNumber(GetDXFTableColor(n)), n);
    for (int n = 9; n <= 14; ++n)
        EXPECT_EQ(GetDXFColorNumber(GetDXFTableColor(n)), n);
}
