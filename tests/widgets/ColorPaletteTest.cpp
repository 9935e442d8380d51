// The colour tables (the buttons' 64-colour palette, the 16 menu colours, the list's 71) and the
// colour list box that shows the 71.
#include <gtest/gtest.h>

#include <set>

#include "tests/widgets/ControlsTestSupport.h"
#include "widgets/ColorListBox.h"
#include "widgets/ColorMenu.h"
#include "widgets/ColorPalette.h"

using namespace controlstest;

namespace {

TEST(ColorPalette, HoldsPureColoursShadesTintsAndGreysInMenuOrder) {
    const auto& p = GetColorPalette();
    EXPECT_EQ(p[0], 0x000000u);
    EXPECT_EQ(p[1], 0xFF0000u);  // blue: the low bit
    EXPECT_EQ(p[2], 0x0000FFu);  // red
    EXPECT_EQ(p[4], 0x00FF00u);  // green: the high bit
    EXPECT_EQ(p[7], 0xFFFFFFu);
    EXPECT_EQ(p[8], 0x580000u);  // blue at 88
    EXPECT_EQ(p[12], 0xFF0000u);
    EXPECT_EQ(p[13], 0xFF8C8Cu);  // the first blue tint
    EXPECT_EQ(p[15], 0xFFCCCCu);
    EXPECT_EQ(p[16], 0x000058u);  // red's first shade
    EXPECT_EQ(p[55], 0xCCFFFFu);  // the last yellow tint
    EXPECT_EQ(p[56], 0x585858u);
    EXPECT_EQ(p[63], 0xE4E4E4u);
    // Each hue at full strength repeats its pure colour.
    EXPECT_EQ(std::set<COLORREF>(p.begin(), p.end()).size(), 64u - 6u);
}

TEST(ColorPalette, CommandsAndColoursAgreeAndColoursOutsideAnswerZero) {
    const auto& p = GetColorPalette();
    for (UINT i = 0; i < 64; ++i) {
        EXPECT_EQ(ColorOfCommand(1000 + i, 1000), p[i]);
        // The first entry of a colour answers: blue 255 (entries 1 and 12) is command 1001.
        EXPECT_EQ(ColorOfCommand(CommandOfColor(p[i], 1000), 1000), p[i]) << i;
    }
    EXPECT_EQ(CommandOfColor(0xFF0000, 500), 501u);
    EXPECT_EQ(CommandOfColor(0x123456, 500), 0u);
    EXPECT_EQ(CommandOfColor(kNoColor, 1), 0u);
    EXPECT_EQ(ColorOfCommand(999, 1000), kNoColor);
    EXPECT_EQ(ColorOfCommand(1064, 1000), kNoColor);
}

TEST(ColorPalette, EveryMenuBuildsItsItemsFromTheSamePalette) {
    const COLORREF* before = GetColorPalette().data();
    MColorMenu first;
    first.AppendPalette(1000);
    MColorMenu second;
    second.AppendPalette(500);
    EXPECT_EQ(GetColorPalette().data(), before);
    ASSERT_EQ(first.GetMenuItemCount(), 64u);
    for (int i = 0; i < 64; ++i) {
        const CMenu::Item& item = first.Items()[static_cast<std::size_t>(i)];
        EXPECT_EQ(item.id, 1000u + static_cast<UINT>(i));
        EXPECT_EQ(item.data, GetColorPalette()[static_cast<std::size_t>(i)]);
        EXPECT_EQ(second.Items()[static_cast<std::size_t>(i)].data, item.data);
        EXPECT_NE(item.flags & MF_OWNERDRAW, 0u);
        EXPECT_EQ((item.flags & MF_MENUBREAK) != 0, i > 0 && i % 8 == 0) << i;
    }
    MEASUREITEMSTRUCT mis;
    first.MeasureItem(&mis);
    EXPECT_EQ(mis.itemWidth, 5u);
    EXPECT_EQ(mis.itemHeight, 18u);  // 5 + the 13 of the check mark
}

TEST(ColorPalette, MenuColoursAreThePureAndHalfColoursThenNoColour) {
    const auto& m = GetMenuColors();
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(m[static_cast<std::size_t>(i)], GetColorPalette()[static_cast<std::size_t>(i)]);
    EXPECT_EQ(m[8], 0x800000u);
    EXPECT_EQ(m[9], 0x000080u);
    EXPECT_EQ(m[14], 0x808080u);
    EXPECT_EQ(m[15], kNoColor);
}

// A menu item of the palette as the popup draws it.
std::unique_ptr<CDC> DrawMenuItem(MColorMenu& menu, int index, UINT state) {
    auto dc = std::make_unique<CDC>();
    dc->CreateImageDC(18, 18);
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_MENU;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.itemData = menu.Items()[static_cast<std::size_t>(index)].data;
    dis.hDC = dc.get();
    dis.rcItem = CRect(0, 0, 18, 18);
    menu.DrawItem(&dis);
    dc->Flush();
    return dc;
}

TEST(ColorPalette, MenuItemsShowTheirColourFramedByState) {
    MColorMenu menu;
    menu.AppendPalette(1);
    auto plain = DrawMenuItem(menu, 13, 0);
    EXPECT_EQ(plain->GetPixel(9, 9), 0xFF8C8Cu);
    EXPECT_EQ(plain->GetPixel(0, 0), GetSysColor(COLOR_MENU));
    EXPECT_EQ(plain->GetPixel(1, 1), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(plain->GetPixel(16, 16), GetSysColor(COLOR_BTNSHADOW));
    auto checked = DrawMenuItem(menu, 13, ODS_CHECKED | ODS_SELECTED);
    EXPECT_EQ(checked->GetPixel(0, 0), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(checked->GetPixel(1, 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(checked->GetPixel(16, 16), GetSysColor(COLOR_BTNHIGHLIGHT));
    auto grey = DrawMenuItem(menu, 2, ODS_GRAYED);
    EXPECT_EQ(grey->GetPixel(5, 5), 0x0000FFu);  // dithered: every other pixel
    EXPECT_EQ(grey->GetPixel(5, 6), GetSysColor(COLOR_MENU));
}

class ColorListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent.Create(nullptr, 0);
        ASSERT_TRUE(list.Create(LBS_OWNERDRAWFIXED | LBS_MULTICOLUMN, &parent, 1200));
        list.SetItemHeight(0, 14);
        list.FillColors();
    }
    CWnd parent;
    MColorListBox list;
};

TEST_F(ColorListBoxTest, HoldsTheSeventyOneColoursInColumnsAsWideAsAnItemIsHigh) {
    ASSERT_EQ(list.GetCount(), 71);
    EXPECT_EQ(list.GetItemData(0), kNoColor);
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(list.GetItemData(i), GetColorPalette()[static_cast<std::size_t>(i - 1)]);
    EXPECT_EQ(list.GetItemData(9), 0x580000u);
    EXPECT_EQ(list.GetItemData(13), 0xFF0000u);
    EXPECT_EQ(list.GetItemData(14), 0xFF8080u);  // the tint at 128
    EXPECT_EQ(list.GetItemData(17), 0xFFCCCCu);
    EXPECT_EQ(list.GetItemData(18), 0x000058u);
    EXPECT_EQ(list.GetItemData(63), 0x585858u);
    EXPECT_EQ(list.GetItemData(70), 0xE4E4E4u);
    EXPECT_EQ(list.GetColumnWidth(), 14);
    EXPECT_EQ(list.GetColumnWidth(), list.GetItemHeight(0));
    list.SelectColor(0xFF8080);
    EXPECT_EQ(list.GetCurSel(), 14);
    EXPECT_EQ(list.GetCurColor(), 0xFF8080u);
    list.SelectColor(0x123456);
    EXPECT_EQ(list.GetCurColor(7), 7u);
}

TEST_F(ColorListBoxTest, ItemsShowTheirSwatchNoColourACrossAndTheFrames) {
    auto red = PaintItem(list, 3, ODA_DRAWENTIRE, ODS_SELECTED, 14, 14);
    EXPECT_EQ(red->GetPixel(7, 7), 0x0000FFu);
    EXPECT_EQ(red->GetPixel(0, 0), kBlack);  // selected
    EXPECT_EQ(red->GetPixel(1, 7), kWhite);  // between the frame and the swatch
    auto none = PaintItem(list, 0, ODA_DRAWENTIRE, 0, 14, 14);
    EXPECT_EQ(none->GetPixel(4, 4), kBlack);  // on the diagonal
    EXPECT_EQ(none->GetPixel(9, 4), kBlack);  // on the other
    EXPECT_EQ(none->GetPixel(7, 4), kWhite);  // the window colour between them
    EXPECT_EQ(none->GetPixel(2, 7), kBlack);  // the outline
    auto disabled = PaintItem(list, 3, ODA_DRAWENTIRE, ODS_DISABLED | ODS_SELECTED, 14, 14);
    EXPECT_EQ(disabled->GetPixel(7, 7), kGrey);
    EXPECT_EQ(disabled->GetPixel(0, 0), kGrey);
    auto focus = PaintItem(list, 3, ODA_FOCUS, ODS_FOCUS, 14, 14);
    EXPECT_EQ(focus->GetPixel(1, 1), kGrey);
    EXPECT_EQ(focus->GetPixel(7, 7), kWhite);
}

}  // namespace
