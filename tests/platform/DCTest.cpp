#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/QtGdi.h"
#include "platform/gdi/SelectScope.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kRed = RGB(255, 0, 0);

struct InkBox {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN, count = 0;
};

// The bounding box of every pixel that differs from the background.
InkBox FindInk(CDC& dc, COLORREF background = kWhite) {
    const QImage* image = GetDCImage(dc);
    InkBox box;
    for (int y = 0; y < image->height(); ++y)
        for (int x = 0; x < image->width(); ++x)
            if (FromQRgb(image->pixel(x, y)) != background) {
                box.left = std::min(box.left, x), box.right = std::max(box.right, x);
                box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
                ++box.count;
            }
    return box;
}

QImage Snapshot(CDC& dc) {
    return GetDCImage(dc)->copy();
}

// A colourful background, so that XOR results differ from plain colours.
void PaintPattern(CDC& dc, int w, int h) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            dc.SetPixel(x, y, RGB(x * 7 % 256, y * 11 % 256, (x + y) * 5 % 256));
}

}  // namespace

TEST(DCTest, ImageContextReportsScreenResolutionAndSize) {
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(120, 80));
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 120);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 80);
    EXPECT_FALSE(dc.IsPrinting());
    EXPECT_TRUE(dc.HasAttribDC());
    EXPECT_EQ(dc.GetPixel(5, 5), kWhite);
    EXPECT_EQ(dc.GetPixel(120, 5), 0xFFFFFFFFu);

    CDC none;  // no target: nothing is drawn, the screen resolution still answers
    EXPECT_EQ(none.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_TRUE(none.LineTo(10, 10));
    EXPECT_FALSE(none.CreateImageDC(0, 10));
}

TEST(DCTest, LinesLeaveOutTheirLastPixelButPolylinesKeepVertices) {
    CDC dc;
    dc.CreateImageDC(20, 20);
    dc.MoveTo(2, 2);
    dc.LineTo(8, 2);
    EXPECT_EQ(dc.GetPixel(2, 2), kBlack);
    EXPECT_EQ(dc.GetPixel(7, 2), kBlack);
    EXPECT_EQ(dc.GetPixel(8, 2), kWhite);
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(8, 2));

    const POINT pts[] = {{2, 5}, {10, 5}, {10, 12}};
    dc.Polyline(pts, 3);
    EXPECT_EQ(dc.GetPixel(10, 5), kBlack);  // the corner
    EXPECT_EQ(dc.GetPixel(10, 11), kBlack);
    EXPECT_EQ(dc.GetPixel(10, 12), kWhite);  // the end

    // A line of zero length draws nothing.
    dc.MoveTo(15, 15);
    dc.LineTo(15, 15);
    EXPECT_EQ(dc.GetPixel(15, 15), kWhite);
}

TEST(DCTest, PenColourWidthAndSelectionReturnPrevious) {
    CDC dc;
    dc.CreateImageDC(40, 40);
    CPen red(PS_SOLID, 1, kRed);
    CPen* old = dc.SelectObject(&red);
    EXPECT_EQ(old, GetStockObject(BLACK_PEN));
    dc.MoveTo(5, 5);
    dc.LineTo(30, 5);
    EXPECT_EQ(dc.GetPixel(10, 5), kRed);  // 0x00BBGGRR: red is 0x0000FF
    EXPECT_EQ(dc.SelectObject(old), &red);

    CPen wide(PS_SOLID, 5, kBlack);
    dc.SelectObject(&wide);
    dc.MoveTo(5, 20);
    dc.LineTo(30, 20);
    EXPECT_EQ(dc.GetPixel(15, 18), kBlack);
    EXPECT_EQ(dc.GetPixel(15, 22), kBlack);
    EXPECT_EQ(dc.GetPixel(15, 24), kWhite);
    EXPECT_EQ(dc.GetPixel(15, 16), kWhite);

    CPen none(PS_NULL, 1, kBlack);
    dc.SelectObject(&none);
    dc.MoveTo(5, 35);
    dc.LineTo(30, 35);
    EXPECT_EQ(dc.GetPixel(10, 35), kWhite);
    CPen invalid;
    EXPECT_EQ(dc.SelectObject(&invalid), nullptr);  // an uncreated pen is refused
    EXPECT_EQ(dc.GetCurrentPen(), &none);
}

// Scopes restore in reverse order, also when an exception leaves them, and select nothing for an
// unusable object.
TEST(DCTest, SelectScopesPutThePreviousObjectsBack) {
    CDC dc;
    dc.CreateImageDC(10, 10);
    CGdiObject* blackPen = GetStockObject(BLACK_PEN);
    CGdiObject* whiteBrush = GetStockObject(WHITE_BRUSH);
    CPen red(PS_SOLID, 1, kRed);
    CPen invalid;
    try {
        CSelectScope selectRed(&dc, &red);
        CSelectScope selectBrush(&dc, NULL_BRUSH);
        EXPECT_EQ(selectRed.Previous(), blackPen);
        EXPECT_EQ(dc.GetCurrentPen(), &red);
        {
            CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
            CSelectScope selectBlue(&dc, &blue);
            CSelectScope selectNothing(&dc, &invalid);
            EXPECT_EQ(selectNothing.Previous(), nullptr);
            EXPECT_EQ(dc.GetCurrentPen(), &blue);
        }
        EXPECT_EQ(dc.GetCurrentPen(), &red);
        AfxThrowInvalidArgException();
    } catch (const CException&) {
    }
    EXPECT_EQ(dc.GetCurrentPen(), blackPen);
    EXPECT_EQ(dc.GetCurrentBrush(), whiteBrush);
}

TEST(DCTest, DottedPenLeavesGaps) {
    CDC dc;
    dc.CreateImageDC(40, 5);
    CPen dot(PS_DOT, 1, kBlack);
    dc.SelectObject(&dot);
    dc.MoveTo(0, 2);
    dc.LineTo(40, 2);
    int ink = 0;
    for (int x = 0; x < 40; ++x)
        ink += dc.GetPixel(x, 2) == kBlack;
    EXPECT_GT(ink, 10);
    EXPECT_LT(ink, 30);

    // A long styled line painted in two clipped parts (as a scrolled view repaints a strip) has
    // its dots where one painting puts them, wherever it is cut and wherever it starts.
    for (int split : {1, 37, 50, 101})
        for (int start : {-500, -45, -2, 3}) {
            CDC whole, parts;
            whole.CreateImageDC(200, 5);
            parts.CreateImageDC(200, 5);
            whole.SelectObject(&dot);
            whole.MoveTo(start, 2);
            whole.LineTo(700, 2);
            parts.SelectObject(&dot);
            parts.IntersectClipRect(0, 0, split, 5);
            parts.MoveTo(start, 2);
            parts.LineTo(700, 2);
            parts.SelectClipRgn(nullptr);
            parts.IntersectClipRect(split, 0, 200, 5);
            parts.MoveTo(start, 2);
            parts.LineTo(700, 2);
            EXPECT_TRUE(Snapshot(whole) == Snapshot(parts)) << "split " << split << ", start " << start;
        }
}

TEST(DCTest, RectangleFrameInsideAndFillWithin) {
    CDC dc;
    dc.CreateImageDC(30, 30);
    CBrush red(kRed);
    dc.SelectObject(&red);
    dc.Rectangle(10 - 4, 10 - 4, 10 + 5, 10 + 5);  // 9 by 9 pixels around (10, 10)
    const InkBox box = FindInk(dc);
    EXPECT_EQ(box.left, 6);
    EXPECT_EQ(box.top, 6);
    EXPECT_EQ(box.right, 14);
    EXPECT_EQ(box.bottom, 14);
    EXPECT_EQ(dc.GetPixel(6, 10), kBlack);
    EXPECT_EQ(dc.GetPixel(14, 10), kBlack);
    EXPECT_EQ(dc.GetPixel(10, 10), kRed);
    EXPECT_EQ(dc.GetPixel(13, 13), kRed);

    // Without a pen GDI's rectangle is one pixel smaller.
    CDC dc2;
    dc2.CreateImageDC(30, 30);
    dc2.SelectStockObject(NULL_PEN);
    dc2.SelectStockObject(BLACK_BRUSH);
    dc2.Rectangle(0, 0, 10, 10);
    const InkBox box2 = FindInk(dc2);
    EXPECT_EQ(box2.right, 8);
    EXPECT_EQ(box2.bottom, 8);
    EXPECT_EQ(box2.count, 81);
}

TEST(DCTest, PolygonFillCoversPixelCentresInside) {
    CDC dc;
    dc.CreateImageDC(20, 20);
    dc.SelectStockObject(NULL_PEN);
    dc.SelectStockObject(BLACK_BRUSH);
    const POINT square[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
    dc.Polygon(square, 4);
    const InkBox box = FindInk(dc);
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.right, 11);  // right and bottom exclusive
    EXPECT_EQ(box.count, 100);
}

TEST(DCTest, PolyPolygonIsOneFigureUnderTheFillMode) {
    const POINT pts[] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {5, 5}, {15, 5}, {15, 15}, {5, 15}};
    const int counts[] = {4, 4};
    CDC dc;
    dc.CreateImageDC(20, 20);
    dc.SelectStockObject(NULL_PEN);
    dc.SelectStockObject(BLACK_BRUSH);
    dc.SetPolyFillMode(ALTERNATE);
    dc.PolyPolygon(pts, counts, 2);
    EXPECT_EQ(dc.GetPixel(10, 10), kWhite);  // the hole
    EXPECT_EQ(dc.GetPixel(2, 2), kBlack);
    dc.SetPolyFillMode(WINDING);
    dc.PolyPolygon(pts, counts, 2);
    EXPECT_EQ(dc.GetPixel(10, 10), kBlack);  // same direction: no hole under winding
}

TEST(DCTest, XorDrawnTwiceLeavesTheImageUnchanged) {
    CDC dc;
    dc.CreateImageDC(64, 64);
    PaintPattern(dc, 64, 64);
    const QImage before = Snapshot(dc);
    CPen pen(PS_SOLID, 1, RGB(0, 255, 0));
    CPen wide(PS_SOLID, 4, RGB(0, 0, 255));
    CBrush brush(RGB(200, 100, 50));
    dc.SetROP2(R2_XORPEN);
    auto drawAll = [&] {
        dc.SelectObject(&pen);
        const POINT star[] = {{5, 5}, {60, 30}, {5, 60}, {40, 2}, {30, 62}};
        dc.Polyline(star, 5);  // crosses itself
        dc.SelectObject(&brush);
        dc.Polygon(star, 5);
        dc.Rectangle(10, 10, 30, 30);
        dc.Ellipse(20, 20, 60, 50);
        dc.SelectObject(&wide);
        dc.Polyline(star, 5);
    };
    drawAll();
    EXPECT_NE(Snapshot(dc), before);
    drawAll();
    EXPECT_EQ(Snapshot(dc), before);

    // R2_NOT inverts; twice restores.
    dc.SetROP2(R2_NOT);
    dc.SelectStockObject(BLACK_PEN);
    dc.MoveTo(0, 40);
    dc.LineTo(64, 40);
    EXPECT_EQ(dc.GetPixel(3, 40), ~FromQRgb(before.pixel(3, 40)) & 0xFFFFFF);
    dc.MoveTo(0, 40);
    dc.LineTo(64, 40);
    EXPECT_EQ(Snapshot(dc), before);
}

TEST(DCTest, HatchedBrushPaintsLinesOnlyInTransparentMode) {
    CDC dc;
    dc.CreateImageDC(32, 32);
    CBrush hatch(HS_BDIAGONAL, kBlack);
    dc.SelectObject(&hatch);
    dc.SelectStockObject(NULL_PEN);
    dc.SetBkMode(TRANSPARENT);
    dc.Rectangle(0, 0, 33, 33);
    const InkBox box = FindInk(dc);
    EXPECT_GT(box.count, 32 * 32 / 16);
    EXPECT_LT(box.count, 32 * 32 / 2);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(kRed);
    dc.Rectangle(0, 0, 33, 33);
    EXPECT_EQ(FindInk(dc).count, 32 * 32);  // background filled where no line is
}

TEST(DCTest, ClipRegionsLimitDrawingAndStack) {
    CDC dc;
    dc.CreateImageDC(40, 40);
    const POINT tri[] = {{0, 0}, {40, 0}, {0, 40}};
    CRgn rgn;
    ASSERT_TRUE(rgn.CreatePolygonRgn(tri, 3, WINDING));
    const int saved = dc.SaveDC();
    EXPECT_NE(dc.SelectClipRgn(&rgn, RGN_AND), RGN_ERROR);
    RECT box;
    EXPECT_EQ(dc.GetClipBox(&box), COMPLEXREGION);
    EXPECT_EQ(CRect(box), CRect(0, 0, 40, 40));
    const RECT inside{2, 2, 5, 5}, outside{35, 35, 39, 39};
    EXPECT_TRUE(dc.RectVisible(&inside));
    EXPECT_FALSE(dc.RectVisible(&outside));
    dc.SelectStockObject(BLACK_BRUSH);
    dc.Rectangle(0, 0, 40, 40);
    EXPECT_EQ(dc.GetPixel(5, 5), kBlack);
    EXPECT_EQ(dc.GetPixel(35, 35), 0xFFFFFFFFu);  // outside the clip GetPixel has no answer
    EXPECT_EQ(GetDCImage(dc)->pixel(35, 35), qRgb(255, 255, 255));

    CRgn small;
    small.CreateRectRgn(0, 0, 10, 10);
    dc.SelectClipRgn(&small, RGN_AND);
    EXPECT_EQ(dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(CRect(box), CRect(0, 0, 10, 10));

    ASSERT_TRUE(dc.RestoreDC(saved));
    dc.GetClipBox(&box);
    EXPECT_EQ(CRect(box), CRect(0, 0, 40, 40));
    EXPECT_TRUE(dc.RectVisible(&outside));
    EXPECT_FALSE(dc.RestoreDC(-1));  // nothing left to restore
}

TEST(DCTest, ClipBoxAndMappingFollowTheOrigins) {
    CDC dc;
    dc.CreateImageDC(100, 50);
    dc.SetWindowOrg(10, 20);
    dc.SetViewportOrg(5, 0);
    POINT p{10, 20};
    dc.LPtoDP(&p);
    EXPECT_EQ(CPoint(p), CPoint(5, 0));
    dc.DPtoLP(&p);
    EXPECT_EQ(CPoint(p), CPoint(10, 20));
    RECT box;
    dc.GetClipBox(&box);
    EXPECT_EQ(CRect(box), CRect(5, 20, 105, 70));
    dc.SetPixel(12, 21, kRed);
    EXPECT_EQ(GetDCImage(dc)->pixel(7, 1), qRgb(255, 0, 0));
}

TEST(DCTest, DeepZoomCoordinatesAreClampedAndClippedQuickly) {
    CDC dc;
    dc.CreateImageDC(200, 100);
    // A line from far left to far right through the middle row, and a huge circle whose edge
    // crosses the image.
    const POINT line[] = {{-2000000000, 50}, {2000000000, 50}};
    dc.Polyline(line, 2);
    dc.SelectStockObject(NULL_BRUSH);
    dc.Ellipse(-100000000 + 100, 20, 100000000 + 100, 200000000 + 20);
    const POINT far[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}};
    dc.SelectStockObject(NULL_BRUSH);
    dc.Polygon(far, 4);
    EXPECT_EQ(dc.GetPixel(0, 50), kBlack);
    EXPECT_EQ(dc.GetPixel(199, 50), kBlack);
    EXPECT_EQ(dc.GetPixel(100, 20), kBlack);  // top of the circle
    EXPECT_EQ(dc.GetPixel(100, 25), kWhite);
}

TEST(DCTest, TextAlignmentPlacesTheCellAroundTheReference) {
    CFont font;
    LOGFONT lf;
    lf.lfHeight = 30;
    lf.lfFaceName = "ＭＳ ゴシック";
    font.CreateFontIndirect(&lf);
    auto inkOf = [&](UINT align) {
        CDC dc;
        dc.CreateImageDC(300, 200);
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextAlign(align);
        dc.TextOut(150, 100, "Hg漢");
        return FindInk(dc);
    };
    const InkBox topLeft = inkOf(TA_LEFT | TA_TOP);
    EXPECT_GE(topLeft.left, 150);
    EXPECT_GE(topLeft.top, 100);
    EXPECT_LE(topLeft.bottom, 130);
    const InkBox bottomRight = inkOf(TA_RIGHT | TA_BOTTOM);
    EXPECT_LE(bottomRight.right, 150);
    EXPECT_LE(bottomRight.bottom, 100);
    EXPECT_GE(bottomRight.top, 70);
    const InkBox centreBase = inkOf(TA_CENTER | TA_BASELINE);
    EXPECT_LT(centreBase.left, 150);
    EXPECT_GT(centreBase.right, 150);
    EXPECT_LT(centreBase.top, 100);
    EXPECT_GT(centreBase.bottom, 100);  // the descender of "g"

    CDC dc;
    dc.CreateImageDC(10, 10);
    dc.SelectObject(&font);
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    EXPECT_EQ(tm.tmHeight, 30);  // a positive height is the cell height
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, 30);
    const CSize ext = dc.GetTextExtent("Hg漢");
    EXPECT_EQ(ext.cy, 30);
    EXPECT_NEAR(ext.cx, topLeft.right - topLeft.left, 8);
}

TEST(DCTest, FitCountsAreWholeCp932Characters) {
    CDC dc;
    CFont font;
    LOGFONT lf;
    lf.lfHeight = 20;
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    const std::string text = "漢字かな";
    const int width = dc.GetTextExtent(text).cx;
    int fit = -1;
    SIZE size;
    dc.GetTextExtentExPoint(text, width, &fit, &size);
    EXPECT_EQ(fit, 8);  // four double-byte characters
    dc.GetTextExtentExPoint(text, width / 2 + 1, &fit, &size);
    EXPECT_EQ(fit, 4);
    dc.GetTextExtentExPoint(text, 0, &fit, &size);
    EXPECT_EQ(fit, 0);
    dc.GetTextExtentExPoint("ab漢", 1000, &fit, &size);
    EXPECT_EQ(fit, 4);
}

TEST(DCTest, EscapementRotatesAndVerticalFacesRunDownwards) {
    LOGFONT lf;
    lf.lfHeight = 24;
    lf.lfFaceName = "ＭＳ ゴシック";
    lf.lfEscapement = 900;  // upwards
    CFont up;
    up.CreateFontIndirect(&lf);
    CDC dc;
    dc.CreateImageDC(200, 200);
    dc.SelectObject(&up);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(100, 150, "ABCDEF");
    InkBox box = FindInk(dc);
    EXPECT_LT(box.bottom, 152);
    EXPECT_LT(box.top, 100);
    EXPECT_LT(box.right - box.left, 30);

    lf.lfFaceName = "@ＭＳ ゴシック";
    lf.lfEscapement = -900;
    CFont vertical;
    vertical.CreateFontIndirect(&lf);
    CDC v;
    v.CreateImageDC(200, 200);
    v.SelectObject(&vertical);
    v.SetBkMode(TRANSPARENT);
    v.TextOut(100, 20, "縦書き");
    box = FindInk(v);
    EXPECT_GE(box.top, 18);
    EXPECT_GT(box.bottom - box.top, 40);  // three characters of about 17 pixels stacked
    EXPECT_LT(box.right - box.left, 30);
    EXPECT_LE(box.right, 100);  // the cell lies left of the run, as a rotated top-left cell does
}

TEST(DCTest, VerticalFacesKeepFullWidthCharactersUpright) {
    LOGFONT lf;
    lf.lfHeight = 40;
    lf.lfFaceName = "@ＭＳ ゴシック";
    lf.lfEscapement = -900;
    CFont vertical;
    vertical.CreateFontIndirect(&lf);
    auto inkOf = [&](const char* text) {
        CDC dc;
        dc.CreateImageDC(200, 200);
        dc.SelectObject(&vertical);
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(150, 20, text);
        return FindInk(dc);
    };
    const InkBox bar = inkOf("一");  // a horizontal stroke stays horizontal
    EXPECT_GT(bar.right - bar.left, 3 * (bar.bottom - bar.top));
    const InkBox dash = inkOf("-");  // a half-width character lies along the run
    EXPECT_GT(dash.bottom - dash.top, dash.right - dash.left);
}

TEST(DCTest, WindowsFacesAreSubstitutedByInstalledJapaneseFaces) {
    EXPECT_EQ(SubstituteFaceName("ＭＳ ゴシック"), QString("Noto Sans CJK JP"));
    EXPECT_EQ(SubstituteFaceName("@ＭＳ ゴシック"), QString("Noto Sans CJK JP"));
    EXPECT_EQ(SubstituteFaceName("MS PGothic"), QString("Noto Sans CJK JP"));
    EXPECT_EQ(SubstituteFaceName("ＭＳ 明朝"), QString("Noto Serif CJK JP"));
    EXPECT_EQ(SubstituteFaceName("ＭＳ Ｐ明朝"), QString("Noto Serif CJK JP"));
    EXPECT_EQ(SubstituteFaceName(""), QString("Noto Sans CJK JP"));
    EXPECT_EQ(SubstituteFaceName("No Such Face 123"), QString("Noto Sans CJK JP"));
}

TEST(DCTest, DrawTextMeasuresAndPlacesLines) {
    CDC dc;
    dc.CreateImageDC(200, 100);
    CFont font;
    LOGFONT lf;
    lf.lfHeight = 16;
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    RECT r{10, 10, 10, 10};
    const int h = dc.DrawText("ab\nlonger line", &r, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(h, 32);
    EXPECT_EQ(r.bottom, 42);
    EXPECT_EQ(r.right - r.left, dc.GetTextExtent("longer line").cx);
    RECT one{10, 10, 10, 10};
    dc.DrawText("a&&b", &one, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(one.right - one.left, dc.GetTextExtent("a&b").cx);

    RECT empty{50, 50, 50, 50};
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText("Text", &empty, DT_NOCLIP);
    const InkBox box = FindInk(dc);
    EXPECT_GE(box.left, 50);
    EXPECT_GE(box.top, 50);
    EXPECT_LE(box.bottom, 66);
}

namespace {

// A 2 x 2 bottom-up 24-bit DIB: bottom row red, green; top row blue, white.
struct SmallDib {
    BITMAPINFO info{};
    BYTE bits[16] = {0,   0, 255, 0,   255, 0,   0, 0,  // bottom row (stored first), padded to 8 bytes
                     255, 0, 0,   255, 255, 255, 0, 0};
    SmallDib() {
        info.bmiHeader.biWidth = 2;
        info.bmiHeader.biHeight = 2;
        info.bmiHeader.biBitCount = 24;
    }
};

}  // namespace

TEST(DCTest, StretchDIBitsShowsBottomUpBitmapsUprightAndMirrors) {
    SmallDib dib;
    CDC dc;
    dc.CreateImageDC(8, 8);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 8, 8, 0, 0, 2, 2, dib.bits, &dib.info, DIB_RGB_COLORS, SRCCOPY), 2);
    EXPECT_EQ(dc.GetPixel(1, 1), RGB(0, 0, 255));  // top left: blue
    EXPECT_EQ(dc.GetPixel(6, 1), kWhite);
    EXPECT_EQ(dc.GetPixel(1, 6), kRed);
    EXPECT_EQ(dc.GetPixel(6, 6), RGB(0, 255, 0));

    // Negative destination width mirrors left-right.
    dc.StretchDIBits(7, 0, -8, 8, 0, 0, 2, 2, dib.bits, &dib.info, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(dc.GetPixel(1, 6), RGB(0, 255, 0));
    // A top-down bitmap (negative height) puts its first row at the top.
    SmallDib top;
    top.info.bmiHeader.biHeight = -2;
    dc.StretchDIBits(0, 0, 8, 8, 0, 0, 2, 2, top.bits, &top.info, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(dc.GetPixel(1, 1), kRed);
    // The bottom source row alone, counted from the bottom of a bottom-up bitmap.
    dc.StretchDIBits(0, 0, 8, 8, 0, 0, 2, 1, dib.bits, &dib.info, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(dc.GetPixel(1, 1), kRed);

    // Broken headers are refused.
    SmallDib bad;
    bad.info.bmiHeader.biBitCount = 7;
    EXPECT_EQ(dc.StretchDIBits(0, 0, 8, 8, 0, 0, 2, 2, bad.bits, &bad.info, DIB_RGB_COLORS, SRCCOPY), 0);
    bad.info.bmiHeader.biBitCount = 24;
    bad.info.bmiHeader.biCompression = BI_RLE8;
    EXPECT_EQ(dc.StretchDIBits(0, 0, 8, 8, 0, 0, 2, 2, bad.bits, &bad.info, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 8, 8, 5, 5, 2, 2, dib.bits, &dib.info, DIB_RGB_COLORS, SRCCOPY), 0);
}

TEST(DCTest, BlackOnWhiteKeepsThinBlackLinesWhenShrinking) {
    // 8 x 8 white, 1-bit, with a black column at x = 3.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colours[2];
    } info{};
    info.h.biWidth = 8;
    info.h.biHeight = 8;
    info.h.biBitCount = 1;
    info.colours[0] = RGBQUAD{0, 0, 0, 0};
    info.colours[1] = RGBQUAD{255, 255, 255, 0};
    BYTE bits[32];
    for (int row = 0; row < 8; ++row)
        bits[row * 4] = 0xEF, bits[row * 4 + 1] = bits[row * 4 + 2] = bits[row * 4 + 3] = 0;
    const auto* bi = reinterpret_cast<const BITMAPINFO*>(&info);
    CDC dc;
    dc.CreateImageDC(2, 2);
    dc.SetStretchBltMode(COLORONCOLOR);
    dc.StretchDIBits(0, 0, 2, 2, 0, 0, 8, 8, bits, bi, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(dc.GetPixel(0, 0), kWhite);  // the sample misses the line
    dc.SetStretchBltMode(BLACKONWHITE);
    dc.StretchDIBits(0, 0, 2, 2, 0, 0, 8, 8, bits, bi, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(dc.GetPixel(0, 0), kBlack);
    EXPECT_EQ(dc.GetPixel(1, 0), kWhite);
}

TEST(DCTest, HitTestImagesAreMonochromeWithoutAntialiasing) {
    CDC screen;
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&screen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&mem, 20, 20));  // a fresh memory DC gives one bit
    EXPECT_TRUE(bitmap.IsMonochrome());
    mem.SelectObject(&bitmap);
    mem.SetWindowOrg(100, 100);
    mem.PatBlt(100, 100, 20, 20, WHITENESS);
    CPen red(PS_SOLID, 1, kRed);
    mem.SelectObject(&red);
    mem.MoveTo(100, 110);
    mem.LineTo(120, 113);
    int black = 0, other = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const COLORREF c = bitmap.GetPixel(x, y);
            black += c == kBlack;
            other += c != kBlack && c != kWhite;
        }
    EXPECT_EQ(other, 0);
    EXPECT_EQ(black, 20);

    CBitmap colour;
    ASSERT_TRUE(colour.CreateCompatibleBitmap(&screen, 4, 4));
    EXPECT_FALSE(colour.IsMonochrome());
}

TEST(DCTest, BitBltInvertTwiceRestoresAndMonochromeTakesTextColours) {
    CDC dc;
    dc.CreateImageDC(32, 32);
    PaintPattern(dc, 32, 32);
    const QImage before = Snapshot(dc);
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, 16, 16);
    mem.SelectObject(&bitmap);
    mem.PatBlt(0, 0, 16, 16, BLACKNESS);
    mem.SetTextColor(kWhite);
    CBrush brush(RGB(10, 200, 30));
    const CRect fill(4, 4, 12, 12);
    mem.FillRect(&fill, &brush);
    dc.BitBlt(8, 8, 16, 16, &mem, 0, 0, SRCINVERT);
    EXPECT_NE(Snapshot(dc), before);
    EXPECT_EQ(dc.GetPixel(9, 9), FromQRgb(before.pixel(9, 9)));  // black XOR is no change
    dc.BitBlt(8, 8, 16, 16, &mem, 0, 0, SRCINVERT);
    EXPECT_EQ(Snapshot(dc), before);

    CDC monoDc;
    monoDc.CreateCompatibleDC(nullptr);
    CBitmap mono;
    mono.CreateBitmap(4, 1, 1, 1, nullptr);  // black
    monoDc.SelectObject(&mono);
    monoDc.SetPixel(1, 0, kWhite);
    dc.SetTextColor(kRed);
    dc.SetBkColor(RGB(0, 0, 255));
    dc.BitBlt(0, 0, 4, 1, &monoDc, 0, 0, SRCCOPY);
    EXPECT_EQ(dc.GetPixel(0, 0), kRed);            // 0 bits take the text colour
    EXPECT_EQ(dc.GetPixel(1, 0), RGB(0, 0, 255));  // 1 bits the background colour
}

TEST(DCTest, ArcsPiesAndChordsFollowGdiDirection) {
    CDC dc;
    dc.CreateImageDC(41, 41);
    // Counter-clockwise from the right (0 degrees) to the top (90 degrees): the upper right quarter.
    dc.Arc(0, 0, 41, 41, 40, 20, 20, 0);
    EXPECT_GT(FindInk(dc).count, 20);
    const InkBox arc = FindInk(dc);
    EXPECT_GE(arc.left, 19);
    EXPECT_LE(arc.bottom, 21);

    CDC pie;
    pie.CreateImageDC(41, 41);
    pie.SelectStockObject(BLACK_BRUSH);
    pie.Pie(0, 0, 41, 41, 40, 20, 20, 0);
    EXPECT_EQ(pie.GetPixel(28, 12), kBlack);
    EXPECT_EQ(pie.GetPixel(12, 28), kWhite);
    CDC chord;
    chord.CreateImageDC(41, 41);
    chord.SelectStockObject(BLACK_BRUSH);
    chord.Chord(0, 0, 41, 41, 40, 20, 20, 0);
    EXPECT_EQ(chord.GetPixel(33, 7), kBlack);
    EXPECT_EQ(chord.GetPixel(24, 16), kWhite);  // between the chord and the centre
}

namespace {

// Measures text in a font of the given height and width.
int Measure(const std::string& text, LONG height, LONG width = 0) {
    CDC dc;
    CFont font;
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfFaceName = "ＭＳ ゴシック";
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    return dc.GetTextExtent(text).cx;
}

}  // namespace

// Measures are kept per font and character; they stay what a first measure gives, also after
// hundreds of other fonts have pushed the first one out of the store.
TEST(DCTest, TextMeasuresStayTheSameAcrossManyFonts) {
    const std::string text = "Tessaray 図面 1234";
    const int first = Measure(text, 100);
    const int wide = Measure(text, 100, 80);
    EXPECT_GT(first, 0);
    EXPECT_NE(wide, first);
    std::vector<int> others;
    for (LONG height = 5; height < 405; ++height)
        others.push_back(Measure(text, height));
    EXPECT_EQ(Measure(text, 100), first);
    EXPECT_EQ(Measure(text, 100, 80), wide);
    for (LONG height = 5; height < 405; ++height)
        EXPECT_EQ(Measure(text, height), others[height - 5]) << height;
    EXPECT_LT(others.front(), others.back());
}

TEST(DCTest, BezierPiecesDrawTheirCurveWhereTheTargetKeepsNoCurves) {
    CDC dc;
    dc.CreateImageDC(120, 120);
    EXPECT_FALSE(dc.TakesCurves());
    // A circle of radius 50 about (60, 60) in four quarters (controls at 0.5523 of the radius).
    const POINT pts[] = {{110, 60}, {110, 32}, {88, 10},  {60, 10},  {32, 10},  {10, 32}, {10, 60},
                         {10, 88},  {32, 110}, {60, 110}, {88, 110}, {110, 88}, {110, 60}};
    EXPECT_FALSE(dc.PolyBezier(pts, 12)) << "1 + 3n points";
    EXPECT_TRUE(dc.PolyBezier(pts, 13));
    const InkBox box = FindInk(dc);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.right, 110);
    EXPECT_EQ(box.top, 10);
    EXPECT_EQ(box.bottom, 110);
    EXPECT_GT(box.count, 280);  // the circumference is 314 pixels
    const QImage* image = GetDCImage(dc);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 120; ++x)
            if (FromQRgb(image->pixel(x, y)) != kWhite) {
                EXPECT_NEAR(std::hypot(x - 60, y - 60), 50, 1.5) << x << "," << y;
            }

    // Far outside, the curve is cut to the target like a polyline.
    dc.FillSolidRect(0, 0, 120, 120, kWhite);
    const POINT far[] = {{-100000, 60}, {-50000, 60}, {50000, 60}, {100000, 60}};
    EXPECT_TRUE(dc.PolyBezier(far, 4));
    EXPECT_EQ(dc.GetPixel(0, 60), kBlack);
    EXPECT_EQ(dc.GetPixel(119, 60), kBlack);
}
