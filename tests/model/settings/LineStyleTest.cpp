#include <gtest/gtest.h>

#include <vector>

#include "model/settings/LineStyle.h"
#include "platform/Exceptions.h"

namespace {

std::vector<double> Dashes(const MLineStyle& s) {
    return std::vector<double>(s.m_dashes.begin(), s.m_dashes.end());
}

}  // namespace

TEST(LineStyle, TheTableHoldsTheNineStylesInOrder) {
    InitLineStyles();
    const MLineStyleTable& t = GetLineStyleTable();
    ASSERT_EQ(t.GetSize(), 9);
    const char* names[] = {"CONTINUOUS", "DASHED1",  "DASHED2",  "DASHED3", "CENTER1",
                           "CENTER2",    "PHANTOM1", "PHANTOM2", "DOT"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(t.GetAt(i).m_name, names[i]);

    EXPECT_EQ(Dashes(t.GetAt(0)), std::vector<double>{0});
    EXPECT_EQ(Dashes(t.GetAt(1)), (std::vector<double>{1.25, -1.25}));
    EXPECT_EQ(Dashes(t.GetAt(4)), (std::vector<double>{3.75, -1.25, 1.25, -1.25}));
    EXPECT_EQ(Dashes(t.GetAt(6)), (std::vector<double>{3.25, -1.25, 1.25, -1.25, 1.25, -1.25}));
    EXPECT_EQ(Dashes(t.GetAt(7)), (std::vector<double>{8, -2.5, 1.25, -2.5, 1.25, -2.5}));
    EXPECT_EQ(Dashes(t.GetAt(8)), (std::vector<double>{0.625, -1.875}));

    EXPECT_EQ(t.GetAt(0).m_picture, "----------");
    EXPECT_EQ(t.GetAt(5).m_picture, "----------  --  ----------  --  ");
    for (int i = 1; i < 9; ++i) {
        EXPECT_EQ(t.GetAt(i).m_picture.size(), 32u) << i;
        EXPECT_EQ(t.GetAt(i).m_picture.back(), ' ') << i;
    }
}

TEST(LineStyle, PatternLengthSumsTheAbsoluteLengths) {
    const MLineStyleTable& t = GetLineStyleTable();
    EXPECT_DOUBLE_EQ(t.GetAt(0).GetPatternLength(), 0.0);
    EXPECT_DOUBLE_EQ(t.GetAt(1).GetPatternLength(), 2.5);
    EXPECT_DOUBLE_EQ(t.GetAt(3).GetPatternLength(), 5.0);
    EXPECT_DOUBLE_EQ(t.GetAt(5).GetPatternLength(), 13.75);
    EXPECT_DOUBLE_EQ(t.GetAt(6).GetPatternLength(), 9.5);
    EXPECT_DOUBLE_EQ(t.GetAt(7).GetPatternLength(), 18.0);
    EXPECT_DOUBLE_EQ(t.GetAt(8).GetPatternLength(), 2.5);
    EXPECT_DOUBLE_EQ(MLineStyle("X", "").GetPatternLength(), 0.0);

    EXPECT_TRUE(t.GetAt(0).IsContinuous());
    EXPECT_FALSE(t.GetAt(8).IsContinuous());
}

TEST(LineStyle, WordsIndexByTheirLowSevenBits) {
    const MLineStyleTable& t = GetLineStyleTable();
    EXPECT_EQ(t.GetName(2), "DASHED2");
    // The auxiliary bit is not used for the index.
    EXPECT_EQ(t.GetName(0x80 | 8), "DOT");
    ASSERT_NE(t.Find(0x88), nullptr);
    EXPECT_EQ(t.Find(0x88)->m_name, "DOT");

    EXPECT_EQ(t.Find(9), nullptr);
    EXPECT_EQ(t.Find(-1), nullptr);
    EXPECT_THROW(t.GetName(9), CInvalidArgException);
    EXPECT_THROW(t.GetName(0x7F), CInvalidArgException);
    EXPECT_THROW(t.GetAt(-1), CInvalidArgException);
    EXPECT_THROW(t.GetAt(9), CInvalidArgException);
}

TEST(LineStyle, CopiesAreIndependent) {
    MLineStyle a("A", "--");
    a.m_dashes.Add(1.0);
    MLineStyle b = a;
    b.m_dashes.Add(-1.0);
    b.m_name = "B";
    EXPECT_EQ(a.m_dashes.GetSize(), 1);
    EXPECT_EQ(a.m_name, "A");
    EXPECT_EQ(b.m_picture, "--");
}
