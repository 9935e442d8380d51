// The arrow-kind combos: heads at the start or at the end, grey when disabled, the selection by
// kind.
#include <gtest/gtest.h>

#include "tests/widgets/ControlsTestSupport.h"
#include "widgets/ArrowStyleCombo.h"

using namespace controlstest;

namespace {

constexpr int kWidth = 80;
constexpr int kHeight = 16;

class ArrowStyleComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent.Create(nullptr, 0);
        ASSERT_TRUE(start.Create(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, &parent, 1272));
        ASSERT_TRUE(end.Create(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, &parent, 1273));
        start.FillStyles(0, kHeight);
        end.FillStyles(1, kHeight);
    }
    CWnd parent;
    MArrowStyleCombo start;
    MArrowStyleCombo end;
};

// Ink in the quarter of the item at the left and at the right, off the line's own row.
struct HeadInk {
    int left;
    int right;
};
HeadInk InkOffTheLine(CDC& dc, COLORREF color) {
    const int line = kHeight / 2;
    return {CountColor(dc, color, 0, 0, kWidth / 4, line) +
                CountColor(dc, color, 0, line + 1, kWidth / 4, kHeight),
            CountColor(dc, color, 3 * kWidth / 4, 0, kWidth, line) +
                CountColor(dc, color, 3 * kWidth / 4, line + 1, kWidth, kHeight)};
}

TEST_F(ArrowStyleComboTest, SevenKindsWithTheirItemHeight) {
    ASSERT_EQ(start.GetCount(), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(end.GetItemData(i), static_cast<DWORD_PTR>(i));
    EXPECT_EQ(end.GetItemHeight(0), kHeight);
    EXPECT_EQ(end.GetItemHeight(-1), kHeight);
}

TEST_F(ArrowStyleComboTest, TheTriangleSitsAtTheStartOrAtTheEnd) {
    auto left = PaintItem(start, 2, ODA_DRAWENTIRE, 0, kWidth, kHeight);
    const HeadInk a = InkOffTheLine(*left, kBlack);
    EXPECT_GT(a.left, 8);  // a filled triangle, not only its outline
    EXPECT_EQ(a.right, 0);
    EXPECT_EQ(left->GetPixel(kWidth / 2, kHeight / 2), kBlack);  // the line

    auto right = PaintItem(end, 2, ODA_DRAWENTIRE, 0, kWidth, kHeight);
    const HeadInk b = InkOffTheLine(*right, kBlack);
    EXPECT_EQ(b.left, 0);
    EXPECT_GT(b.right, 8);
    EXPECT_EQ(right->GetPixel(kWidth / 2, kHeight / 2), kBlack);

    auto none = PaintItem(start, 0, ODA_DRAWENTIRE, 0, kWidth, kHeight);
    EXPECT_EQ(InkOffTheLine(*none, kBlack).left, 0);
}

TEST_F(ArrowStyleComboTest, DisabledItemsFillTheirHeadsInGrey) {
    for (int kind : {2, 6}) {
        for (MArrowStyleCombo* combo : {&start, &end}) {
            auto dc = PaintItem(*combo, kind, ODA_DRAWENTIRE, ODS_DISABLED | ODS_GRAYED, kWidth, kHeight);
            EXPECT_EQ(CountColor(*dc, kBlack, 0, 0, kWidth, kHeight), 0) << kind;
            const HeadInk ink = InkOffTheLine(*dc, kGrey);
            EXPECT_GT(ink.left + ink.right, 8) << kind;
        }
    }
    auto selected = PaintItem(start, 1, ODA_SELECT, ODS_SELECTED, kWidth, kHeight);
    EXPECT_EQ(CountColor(*selected, kBlack, 0, 0, kWidth, kHeight), 2 * kWidth + 2 * kHeight - 4);
}

TEST_F(ArrowStyleComboTest, NothingSelectedReads255AndUnknownKindsClear) {
    EXPECT_EQ(start.GetCurStyle(), 255);
    start.SelectStyle(6);
    EXPECT_EQ(start.GetCurSel(), 6);
    EXPECT_EQ(start.GetCurStyle(), 6);
    start.SelectStyle(7);
    EXPECT_EQ(start.GetCurStyle(), 255);
    start.SelectStyle(3);
    start.SelectStyle(255);
    EXPECT_EQ(start.GetCurSel(), -1);
}

}  // namespace
