// The tracking figures of the tools: thin lines combined by exclusive or, drawn once to show and
// once more to vanish, with the same pixels whatever the clip.
#include <gtest/gtest.h>

#include "platform/gdi/DC.h"
#include "platform/gdi/QtGdi.h"
#include "platform/gdi/SelectScope.h"

namespace {

// A colourful background, so that XOR results differ from plain colours.
void PaintPattern(CDC& dc, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            dc.SetPixel(x, y, RGB(x * 7 % 256, y * 11 % 256, (x + y) * 5 % 256));
}

// A star of thin lines from (60, 40) and a closed quadrilateral, in the pen selected.
void DrawFigures(CDC& dc) {
    for (int k = 0; k < 8; ++k) {
        dc.MoveTo(60, 40);
        dc.LineTo(60 + (k - 4) * 13, 40 + (k % 3 - 1) * 30);
    }
    const POINT ring[] = {{5, 5}, {110, 12}, {100, 75}, {12, 70}, {5, 5}};
    dc.Polyline(ring, 5);
}

int Differ(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

}  // namespace

TEST(DCTracking, ThinXorLinesTakeTheCopiedPixelsAndASecondDrawTakesThemAway) {
    CDC copied, flipped;
    ASSERT_TRUE(copied.CreateImageDC(120, 80));
    ASSERT_TRUE(flipped.CreateImageDC(120, 80));
    PaintPattern(flipped, 120, 80);
    flipped.Flush();
    const QImage background = GetDCImage(flipped)->copy();
    CPen pen(PS_SOLID, 1, RGB(0, 255, 0));
    CSelectScope copiedPen(&copied, &pen);
    CSelectScope flippedPen(&flipped, &pen);
    DrawFigures(copied);
    flipped.SetROP2(R2_XORPEN);
    DrawFigures(flipped);
    copied.Flush();
    flipped.Flush();
    const QImage* ink = GetDCImage(copied);
    const QImage* shown = GetDCImage(flipped);
    // Every pixel flipped is one the copy inks; a pixel that two lines of the star share is
    // flipped twice and keeps the background.
    int marked = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) {
            const QRgb flippedOnce = (background.pixel(x, y) ^ 0x00FF00u) | 0xFF000000u;
            if (ink->pixel(x, y) == qRgb(255, 255, 255))
                EXPECT_EQ(shown->pixel(x, y), background.pixel(x, y)) << x << ", " << y;
            else
                marked += shown->pixel(x, y) == flippedOnce;
        }
    EXPECT_GT(marked, 300);
    DrawFigures(flipped);
    flipped.Flush();
    EXPECT_EQ(Differ(*GetDCImage(flipped), background), 0);
}

TEST(DCTracking, AClipOfSeveralRectanglesFlipsThePixelsTheWholeDrawingFlipsThere) {
    CDC whole, parts;
    ASSERT_TRUE(whole.CreateImageDC(120, 80));
    ASSERT_TRUE(parts.CreateImageDC(120, 80));
    CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
    for (CDC* dc : {&whole, &parts}) {
        PaintPattern(*dc, 120, 80);
        dc->SetROP2(R2_XORPEN);
        dc->SelectObject(&pen);
    }
    CRgn a, b, region;
    a.CreateRectRgn(0, 0, 50, 30);
    b.CreateRectRgn(40, 25, 110, 78);
    region.CreateRectRgn(0, 0, 1, 1);
    region.CombineRgn(&a, &b, RGN_OR);
    parts.SelectClipRgn(&region);
    DrawFigures(whole);
    DrawFigures(parts);
    whole.Flush();
    parts.Flush();
    int inside = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            if (region.PtInRegion(x, y)) {
                EXPECT_EQ(GetDCImage(parts)->pixel(x, y), GetDCImage(whole)->pixel(x, y)) << x << ", " << y;
                ++inside;
            }
    EXPECT_GT(inside, 1000);
}

TEST(DCTracking, DottedXorLinesShowAwayFromTheOrigin) {
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(300, 200));
    const CRect all(0, 0, 300, 200);
    dc.FillSolidRect(&all, RGB(255, 255, 255));
    dc.SetROP2(R2_XORPEN);
    CPen pen(PS_DOT, 1, RGB(255, 255, 255));
    CSelectScope selectPen(&dc, &pen);
    dc.MoveTo(10, 150);
    dc.LineTo(250, 150);
    dc.Flush();
    int dots = 0;
    for (int x = 0; x < 300; ++x)
        dots += dc.GetPixel(x, 150) == RGB(0, 0, 0);
    EXPECT_GT(dots, 60);
    EXPECT_LT(dots, 240) << "dotted, not solid";
    dc.MoveTo(10, 150);
    dc.LineTo(250, 150);
    dc.Flush();
    dots = 0;
    for (int x = 0; x < 300; ++x)
        dots += dc.GetPixel(x, 150) != RGB(255, 255, 255);
    EXPECT_EQ(dots, 0);
}
