// The line-style pictures of menus: their size and samples, and the popup built from them.
#include <gtest/gtest.h>

#include "model/settings/LineStyle.h"
#include "platform/gdi/DC.h"
#include "platform/ui/DialogRunner.h"
#include "tools/controls/MenuBitmaps.h"

namespace {

constexpr COLORREF kMenu = 0xC0C0C0;

class MenuBitmaps : public ::testing::Test {
protected:
    void SetUp() override {
        InitLineStyles();
        InitLineStyleBitmaps();
    }
    // The height of the menu font's characters.
    static int MenuFontHeight() {
        NONCLIENTMETRICS metrics;
        GetNonClientMetrics(&metrics);
        CDC dc;
        dc.CreateImageDC(1, 1);
        CFont font;
        font.CreateFontIndirect(&metrics.lfMenuFont);
        dc.SelectObject(&font);
        TEXTMETRIC tm;
        dc.GetTextMetrics(&tm);
        return tm.tmHeight;
    }
};

TEST_F(MenuBitmaps, EachStyleHasAPicture24MillimetresWideAsHighAsTheMenuFont) {
    const auto& bitmaps = GetLineStyleBitmaps();
    ASSERT_EQ(bitmaps.size(), 9u);
    const int height = MenuFontHeight();
    ASSERT_GT(height, 8);
    for (const auto& bitmap : bitmaps) {
        BITMAP info;
        ASSERT_TRUE(bitmap->GetBitmap(&info));
        EXPECT_EQ(info.bmWidth, 90);  // 24 mm at 96 dpi, truncated
        EXPECT_EQ(info.bmHeight, height);
        EXPECT_FALSE(bitmap->IsMonochrome());
    }
    InitLineStyleBitmaps();  // built once: menus keep pointing at the same pictures
    EXPECT_EQ(&GetLineStyleBitmaps(), &bitmaps);
    EXPECT_EQ(GetLineStyleBitmaps().size(), 9u);
}

TEST_F(MenuBitmaps, PicturesShowTheStylesDashesOnTheMenuColour) {
    const auto& bitmaps = GetLineStyleBitmaps();
    const int y = MenuFontHeight() / 2;
    const CBitmap& continuous = *bitmaps[0];
    for (int x = 0; x < 90; ++x)
        ASSERT_EQ(continuous.GetPixel(x, y), 0u) << x;
    EXPECT_EQ(continuous.GetPixel(45, 0), kMenu);
    const CBitmap& dashed = *bitmaps[2];  // 2.5 mm: 9 pixels on, 9 off
    EXPECT_EQ(dashed.GetPixel(0, y), 0u);
    EXPECT_EQ(dashed.GetPixel(8, y), 0u);
    EXPECT_EQ(dashed.GetPixel(9, y), kMenu);
    EXPECT_EQ(dashed.GetPixel(17, y), kMenu);
    EXPECT_EQ(dashed.GetPixel(18, y), 0u);
    int ink = 0;
    const CBitmap& dots = *bitmaps[8];
    for (int x = 0; x < 90; ++x)
        ink += dots.GetPixel(x, y) == 0;
    EXPECT_EQ(ink, 10 * 2);  // 2 on, 7 off: ten dots in 90 pixels
}

TEST_F(MenuBitmaps, APopupOfPicturesCarriesTheLineStyleCommands) {
    CMenu popup;
    ASSERT_TRUE(BuildLineStyleMenu(popup));
    ASSERT_EQ(popup.GetMenuItemCount(), 9u);
    for (UINT i = 0; i < 9; ++i) {
        const CMenu::Item& item = popup.Items()[i];
        EXPECT_EQ(item.id, 400 + i);
        EXPECT_NE(item.flags & MF_BITMAP, 0u);
        EXPECT_EQ(item.bitmap, GetLineStyleBitmaps()[i].get());
    }
    // Chosen like any popup: the command comes back.
    DialogRunner runner;
    runner.ScriptPopupMenu(403);
    EXPECT_EQ(popup.TrackPopupMenu(TPM_RETURNCMD, 0, 0, nullptr), 403);
    EXPECT_NE(runner.Popups().back().items[3].flags & MF_BITMAP, 0u);
}

}  // namespace
