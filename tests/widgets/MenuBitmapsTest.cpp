// The line-style pictures of menus: their size and samples, and the popup built from them.
#include <gtest/gtest.h>

#include "model/settings/LineStyle.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/ui/DialogRunner.h"
#include "widgets/MenuBitmaps.h"

namespace {

constexpr COLORREF kMenu = 0xC0C0C0;

class MenuBitmaps : public ::testing::Test {
protected:
    void SetUp() override {
        InitLineStyles();
        InitLineStyleBitmaps();
        InitColorSwatchBitmaps();
    }
    // The extent of "透明" in the menu font.
    static CSize TransparentExtent() {
        CDC dc;
        CFont font;
        SelectMenuFont(dc, font);
        return dc.GetTextExtent(AfxLoadString(62712));
    }
    static void SelectMenuFont(CDC& dc, CFont& font) {
        NONCLIENTMETRICS metrics;
        GetNonClientMetrics(&metrics);
        dc.CreateImageDC(1, 1);
        font.CreateFontIndirect(&metrics.lfMenuFont);
        dc.SelectObject(&font);
    }
    // The height of the menu font's characters.
    static int MenuFontHeight() {
        CDC dc;
        CFont font;
        SelectMenuFont(dc, font);
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

TEST_F(MenuBitmaps, ColourSwatchesAreTwiceAsWideAsTransparentAndTheLastSaysIt) {
    const auto& swatches = GetColorSwatchBitmaps();
    ASSERT_EQ(swatches.size(), 16u);
    const CSize text = TransparentExtent();
    ASSERT_GT(text.cx, 8);
    const int w = 2 * text.cx, h = text.cy;
    for (const auto& swatch : swatches) {
        BITMAP info;
        ASSERT_TRUE(swatch->GetBitmap(&info));
        EXPECT_EQ(info.bmWidth, w);
        EXPECT_EQ(info.bmHeight, h);
    }
    // The colour, outlined in black.
    EXPECT_EQ(swatches[1]->GetPixel(w / 2, h / 2), 0xFF0000u);
    EXPECT_EQ(swatches[1]->GetPixel(0, h / 2), 0u);
    EXPECT_EQ(swatches[1]->GetPixel(w - 1, h - 1), 0u);
    EXPECT_EQ(swatches[14]->GetPixel(w / 2, h / 2), 0x808080u);
    // No colour: "透明" from a quarter of the width, on the menu colour.
    const CBitmap& none = *swatches[15];
    int ink = 0, before = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            (x < w / 4 ? before : ink) += none.GetPixel(x, y) != kMenu;
    EXPECT_EQ(before, 0);
    EXPECT_GT(ink, 20);
    InitColorSwatchBitmaps();
    EXPECT_EQ(GetColorSwatchBitmaps().size(), 16u);
}

TEST_F(MenuBitmaps, ColourMenusCarryTheLineOrFillColourCommands) {
    CMenu fill;
    ASSERT_TRUE(BuildColorSwatchMenu(fill, kFaceColorCommandFirst));
    ASSERT_EQ(fill.GetMenuItemCount(), 16u);
    for (UINT i = 0; i < 16; ++i) {
        EXPECT_EQ(fill.Items()[i].id, 300 + i);
        EXPECT_EQ(fill.Items()[i].bitmap, GetColorSwatchBitmaps()[i].get());
    }
    CMenu line;
    ASSERT_TRUE(BuildColorSwatchMenu(line, kLineColorCommandFirst));
    EXPECT_EQ(line.Items()[15].id, 215u);
}

}  // namespace
