// The grid: the white sheet, the readable display step, the grid points and snapping.
#include <gtest/gtest.h>

#include <QImage>

#include "model/CadView.h"
#include "model/PaperInfo.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/QtGdi.h"
#include "view/Grid.h"

namespace {

// A4 landscape at 1 : 100, origin at the top left, 96 dpi.
struct GridSetup {
    MPaperInfo paper{MPaperSizeInfo("A4", "", 297, 210), MPaperScaleInfo("1 : 100", 0.01), 1,
                     MPaperInfo::kOriginTopLeft};
    MCadView view{&paper};
    MGrid grid{297, 210, 1000, 1000};
};

int CountBlack(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == 0) ++n;
    return n;
}

}  // namespace

TEST(Grid, TheDisplayStepDoublesAtAGrowingRateUntilReadable) {
    GridSetup g;
    // 1000 units are 10 mm on paper: 37.8 pixels at zoom 1, readable at once.
    EXPECT_DOUBLE_EQ(g.grid.DisplayStepX(&g.view), 1000.0);
    // At a zoom where 1000 units are 5 pixels: 1000 (5), 2000 (10), 8000 (40).
    g.view.SetScale(nullptr, 5.0 / (96 / 25.4 * 10));
    EXPECT_EQ(g.view.DocToLogicalSize(1000, 0).cx, 5);
    EXPECT_DOUBLE_EQ(g.grid.DisplayStepX(&g.view), 8000.0);
    EXPECT_DOUBLE_EQ(g.grid.DisplayStepY(&g.view), 8000.0);
    // A pitch that is not a length never gives a step (and never loops).
    MGrid broken(297, 210, 0.0, -5.0);
    EXPECT_EQ(broken.DisplayStepX(&g.view), 0.0);
    EXPECT_EQ(broken.DisplayStepY(&g.view), 0.0);
    // A tiny pitch still reaches a readable step in a bounded number of rounds.
    MGrid tiny(297, 210, 1e-300, 1e-300);
    EXPECT_GE(g.view.DocToLogicalSize(tiny.DisplayStepX(&g.view), 0).cx, 16);
}

TEST(Grid, SnappingRoundsToTheTruePitchAboutTheOrigin) {
    GridSetup g;
    g.view.userOrigin = MFloatPoint(100, -50);
    EXPECT_EQ(g.grid.SnapDocPoint(&g.view, MFloatPoint(100 + 499, -50)), MFloatPoint(100, -50));
    EXPECT_EQ(g.grid.SnapDocPoint(&g.view, MFloatPoint(100 + 500, -50 - 1501)), MFloatPoint(1100, -2050));
    // Through the device: the view's logical-to-drawing conversion (no preparation off screen).
    const CPoint device = g.view.DocToLogical(2700, -3400);
    EXPECT_EQ(g.grid.SnapToGrid(&g.view, device), MFloatPoint(3100, -3050));
}

TEST(Grid, TheSheetIsWhiteAndPointsLieOnTheGrid) {
    GridSetup g;
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(1200, 900));
    dc.FillSolidRect(0, 0, 1200, 900, RGB(128, 128, 128));
    g.grid.Draw(&g.view, &dc, FALSE);
    QImage sheetOnly = GetDCImage(dc)->copy();
    const CPoint corner = g.view.DocToLogical(29700, -21000);
    EXPECT_EQ(FromQRgb(sheetOnly.pixel(5, 5)), RGB(255, 255, 255));
    EXPECT_EQ(FromQRgb(sheetOnly.pixel(corner.x + 3, corner.y + 3)), RGB(128, 128, 128));
    EXPECT_EQ(CountBlack(sheetOnly), 0);

    g.grid.Draw(&g.view, &dc, TRUE);
    const QImage withGrid = *GetDCImage(dc);
    // Columns at 0, 1000, ... 29000 and rows at 0, -1000, ... -20000 inside the sheet; the right
    // and bottom edges themselves are left out.
    EXPECT_EQ(CountBlack(withGrid), 30 * 21);
    const CPoint p = g.view.DocToLogical(3000, -4000);
    EXPECT_EQ(FromQRgb(withGrid.pixel(p.x, p.y)), RGB(0, 0, 0));
    EXPECT_EQ(FromQRgb(withGrid.pixel(p.x + 1, p.y)), RGB(255, 255, 255));
}

TEST(Grid, OnlyTheClippedPartIsDrawn) {
    GridSetup g;
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(1200, 900));
    dc.IntersectClipRect(0, 0, 200, 100);
    g.grid.Draw(&g.view, &dc, TRUE);
    const QImage image = *GetDCImage(dc);
    EXPECT_GT(CountBlack(image), 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == 0) ASSERT_TRUE(x < 200 && y < 100);
}
