#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "tests/model/render/RecordingBackend.h"
#include "model/CadView.h"
#include "model/FillStyle.h"
#include "model/PaperInfo.h"
#include "model/render/DrawFlags.h"
#include "model/render/PolyFace.h"
#include "model/render/PolyLine.h"
#include "model/settings/LineStyle.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/QtGdi.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0;

// Paper at 1 : 1 with the origin at the sheet's top-left corner; 10 pixels per millimetre, so
// drawing point (x, y) is logical point (10x, -10y).
class RenderTest : public ::testing::Test {
protected:
    void SetUp() override { view.SetScale(nullptr, 254.0 / 96.0); }

    // A black brush and pen, as the shapes select them for their lines.
    void SelectInk(CDC& dc) {
        dc.SelectStockObject(BLACK_PEN);
        dc.SelectStockObject(BLACK_BRUSH);
        dc.SetPolyFillMode(WINDING);
    }

    RecordingBackend* Record(CDC& dc, bool printing = false) {
        auto backend = std::make_unique<RecordingBackend>(CRect(0, 0, 1000, 1000), 96, printing);
        RecordingBackend* raw = backend.get();
        dc.AttachBackend(std::move(backend), printing);
        return raw;
    }

    MPaperInfo paper{MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("1 : 1", 1.0), 1, 0};
    MCadView view{&paper};
    MPolyLine& lines = GetPolyLineRenderer();
    MPolyFace& faces = GetPolyFaceRenderer();
};

COLORREF Pixel(CDC& dc, int x, int y) {
    return dc.GetPixel(x, y);
}

}  // namespace

TEST_F(RenderTest, OpenWideLineIsOneRectangleExtendedByHalfTheWidth) {
    CDC dc;
    dc.CreateImageDC(400, 200);
    SelectInk(dc);
    const MFloatPoint pts[] = {{5, -10}, {25, -10}};
    lines.Draw(&view, &dc, pts, 2, 1.0, 0, FALSE);  // 1 mm wide: 10 pixels
    EXPECT_EQ(Pixel(dc, 46, 100), kBlack);
    EXPECT_EQ(Pixel(dc, 253, 100), kBlack);
    EXPECT_EQ(Pixel(dc, 150, 96), kBlack);
    EXPECT_EQ(Pixel(dc, 150, 104), kBlack);
    EXPECT_EQ(Pixel(dc, 43, 100), kWhite);
    EXPECT_EQ(Pixel(dc, 257, 100), kWhite);
    EXPECT_EQ(Pixel(dc, 150, 93), kWhite);
    EXPECT_EQ(Pixel(dc, 150, 107), kWhite);

    CDC rec;
    RecordingBackend* r = Record(rec);
    lines.Draw(&view, &rec, pts, 2, 1.0, 0, FALSE);
    ASSERT_EQ(r->calls.size(), 1u);
    ASSERT_EQ(r->calls[0].runs.size(), 1u);
    EXPECT_EQ(r->calls[0].runs[0].size(), 4u);
    EXPECT_DOUBLE_EQ(r->calls[0].runs[0][0].x, 45);
}

TEST_F(RenderTest, ClosedSquareMitresOnlyWhenTraversedCounterClockwise) {
    const MFloatPoint ccw[] = {{10, -30}, {30, -30}, {30, -10}, {10, -10}};
    const MFloatPoint cw[] = {{10, -10}, {30, -10}, {30, -30}, {10, -30}};
    auto corner = [&](const MFloatPoint* pts) {
        CDC dc;
        dc.CreateImageDC(400, 400);
        SelectInk(dc);
        lines.Draw(&view, &dc, pts, 4, 1.0, 0, TRUE);
        return Pixel(dc, 304, 96);  // inside the mitre at corner (300, 100), outside a bevel
    };
    EXPECT_EQ(corner(ccw), kBlack);
    EXPECT_EQ(corner(cw), kWhite);

    // One polygon that starts and ends in the middle of the closing edge.
    CDC rec;
    RecordingBackend* r = Record(rec);
    lines.Draw(&view, &rec, ccw, 4, 1.0, 0, TRUE);
    ASSERT_EQ(r->calls.size(), 1u);
    ASSERT_EQ(r->calls[0].runs.size(), 1u);
    const auto& poly = r->calls[0].runs[0];
    EXPECT_DOUBLE_EQ(poly.front().x, 100 - 5);  // midpoint (10, -20) of the closing edge, outer side
    EXPECT_DOUBLE_EQ(poly.front().y, 200);
}

TEST_F(RenderTest, SharpTurnGetsABevelAndGentleTurnAMitre) {
    auto countPoints = [&](double degrees) {
        const double a = degrees * 3.14159265358979 / 180;
        const MFloatPoint pts[] = {{0, -20}, {20, -20}, {20 - 20 * std::cos(a), -20 + 20 * std::sin(a)}};
        CDC rec;
        RecordingBackend* r = Record(rec);
        lines.Draw(&view, &rec, pts, 3, 1.0, 0, FALSE);
        return r->calls.empty() ? 0 : r->calls[0].runs[0].size();
    };
    EXPECT_EQ(countPoints(10), 7u);  // turn of 170 degrees: mitre farther than one width
    EXPECT_EQ(countPoints(90), 6u);  // right angle: mitre point
}

TEST_F(RenderTest, AllEqualPointsDrawNothingWhenWide) {
    CDC rec;
    RecordingBackend* r = Record(rec);
    const MFloatPoint pts[] = {{5, -5}, {5, -5}, {5, -5}};
    lines.Draw(&view, &rec, pts, 3, 0.5, 0, FALSE);
    lines.Draw(&view, &rec, pts, 1, 0.0, 0, FALSE);
    EXPECT_TRUE(r->calls.empty());
}

TEST_F(RenderTest, DashPatternContinuesAcrossVertices) {
    MLineStyle style("T", "");
    style.m_dashes.Add(3.0);
    style.m_dashes.Add(-1.0);
    CDC rec;
    RecordingBackend* r = Record(rec);
    // 5 mm along x, then down: the second dash starts 1 mm before the corner and bends round it.
    const MFloatPoint pts[] = {{0, -10}, {5, -10}, {5, -20}};
    lines.DrawStyled(&view, &rec, pts, 3, 0.0, &style, FALSE, FALSE);
    ASSERT_EQ(r->calls.size(), 1u);
    const auto& runs = r->calls[0].runs;
    ASSERT_GE(runs.size(), 3u);
    EXPECT_EQ(runs[0].size(), 2u);
    EXPECT_DOUBLE_EQ(runs[0][1].x, 30);
    ASSERT_EQ(runs[1].size(), 3u);
    EXPECT_DOUBLE_EQ(runs[1][0].x, 40);
    EXPECT_DOUBLE_EQ(runs[1][1].x, 50);  // the corner
    EXPECT_DOUBLE_EQ(runs[1][1].y, 100);
    EXPECT_DOUBLE_EQ(runs[1][2].y, 120);  // 2 mm down the second segment
    EXPECT_DOUBLE_EQ(runs[2][0].y, 130);  // after a 1 mm gap
}

TEST_F(RenderTest, WideDashesAreSquareCutPolygons) {
    CDC dc;
    dc.CreateImageDC(600, 100);
    SelectInk(dc);
    const MFloatPoint pts[] = {{0, -5}, {50, -5}};
    lines.Draw(&view, &dc, pts, 2, 0.6, 2, FALSE);  // DASHED2: 2.5 mm dash, 2.5 mm gap
    EXPECT_EQ(Pixel(dc, 1, 50), kBlack);
    EXPECT_EQ(Pixel(dc, 23, 50), kBlack);
    EXPECT_EQ(Pixel(dc, 27, 50), kWhite);
    EXPECT_EQ(Pixel(dc, 48, 50), kWhite);
    EXPECT_EQ(Pixel(dc, 52, 50), kBlack);
}

TEST_F(RenderTest, ContinuousStyleOrUnknownIndexDrawsOnePiece) {
    CDC rec;
    RecordingBackend* r = Record(rec);
    const MFloatPoint pts[] = {{0, -5}, {50, -5}};
    lines.Draw(&view, &rec, pts, 2, 0.0, 0, FALSE);
    lines.Draw(&view, &rec, pts, 2, 0.0, 0x7F, FALSE);  // beyond the table
    ASSERT_EQ(r->calls.size(), 2u);
    EXPECT_EQ(r->calls[0].runs.size(), 1u);
    EXPECT_EQ(r->calls[1].runs.size(), 1u);
    // A thin open line is lengthened by one pixel's diagonal so that its end pixel shows.
    EXPECT_NEAR(r->calls[0].runs[0][1].x, 501, 0.01);
    SetMetafileDrawing(true);
    lines.Draw(&view, &rec, pts, 2, 0.0, 0, FALSE);
    SetMetafileDrawing(false);
    EXPECT_DOUBLE_EQ(r->calls[2].runs[0][1].x, 500);
}

TEST_F(RenderTest, AuxiliaryLinesAreBlueOnScreenAndAbsentOnPrinters) {
    CDC dc;
    dc.CreateImageDC(300, 100);
    SelectInk(dc);
    const MFloatPoint pts[] = {{1, -5}, {20, -5}};
    lines.Draw(&view, &dc, pts, 2, 0.0, 0x80, FALSE);
    EXPECT_EQ(Pixel(dc, 100, 50), 0xFF0000u);
    lines.Draw(&view, &dc, pts, 2, 0.0, 0x80 | 2, FALSE);      // dashed auxiliary
    EXPECT_EQ(dc.GetCurrentPen(), GetStockObject(BLACK_PEN));  // the caller's pen is back
    const MFloatPoint wide[] = {{1, -8}, {20, -8}};
    lines.Draw(&view, &dc, wide, 2, 1.0, 0x80, FALSE);
    EXPECT_EQ(Pixel(dc, 100, 80), 0xFF0000u);
    EXPECT_EQ(dc.GetCurrentBrush(), GetStockObject(BLACK_BRUSH));

    CDC printer;
    RecordingBackend* r = Record(printer, true);
    lines.Draw(&view, &printer, pts, 2, 0.0, 0x80, FALSE);
    EXPECT_TRUE(r->calls.empty());
    lines.Draw(&view, &printer, pts, 2, 0.0, 0, FALSE);
    EXPECT_EQ(r->calls.size(), 1u);
}

TEST_F(RenderTest, TinyPatternsDrawContinuousAndDeepZoomStaysBounded) {
    const MFloatPoint pts[] = {{-1e6, -0.1}, {1e6, -0.1}};
    {
        // Zoomed far out: the pattern repeats within a fraction of a pixel.
        MCadView far(&paper);
        far.SetScale(nullptr, 1e-4);
        CDC rec;
        RecordingBackend* r = Record(rec);
        lines.Draw(&far, &rec, pts, 2, 0.0, 1, FALSE);
        ASSERT_EQ(r->calls.size(), 1u);
        EXPECT_EQ(r->calls[0].runs.size(), 1u);
    }
    {
        // Zoomed far in on a two-kilometre dashed line: only the visible dashes are made.
        MCadView near(&paper);
        near.SetScale(nullptr, 1000.0);
        CDC rec;
        RecordingBackend* r = Record(rec);
        lines.Draw(&near, &rec, pts, 2, 0.5, 1, FALSE);
        ASSERT_EQ(r->calls.size(), 1u);
        EXPECT_LT(r->calls[0].runs.size(), 100u);
        for (const auto& run : r->calls[0].runs)
            for (const GdiPointF& p : run)
                EXPECT_LT(std::fabs(p.x), 1e5);
    }
    {
        // A style whose entries are all nearly zero never stalls.
        MLineStyle tiny("T", "");
        tiny.m_dashes.Add(1e-300);
        tiny.m_dashes.Add(-1e-300);
        CDC rec;
        RecordingBackend* r = Record(rec);
        lines.DrawStyled(&view, &rec, pts, 2, 0.0, &tiny, FALSE, FALSE);
        ASSERT_EQ(r->calls.size(), 1u);
        EXPECT_EQ(r->calls[0].runs.size(), 1u);
    }
    for (const double width : {0.0, 0.5}) {
        // A segment 1e17 times longer than a dash: where the visible part begins, adding a dash no
        // longer moves the position; that part is drawn continuous instead of piling up pieces.
        const MFloatPoint huge[] = {{-1e17, -10}, {80, -10}};
        CDC rec;
        SelectInk(rec);
        RecordingBackend* r = Record(rec);
        lines.Draw(&view, &rec, huge, 2, width, 1, FALSE);
        ASSERT_EQ(r->calls.size(), 1u) << width;
        ASSERT_EQ(r->calls[0].runs.size(), 1u) << width;
        double left = 1e300, right = -1e300;
        for (const GdiPointF& p : r->calls[0].runs[0])
            left = std::min(left, p.x), right = std::max(right, p.x);
        EXPECT_LE(left, 0.0) << width;
        EXPECT_GE(right, 799.0) << width;
    }
}

TEST_F(RenderTest, HitTestImageFindsAOnePixelLineWithinTolerance) {
    // The pixel test of the shapes: a one-bit image over the square around the point, window
    // origin at its corner, the shape drawn in black, any black pixel a hit.
    auto hit = [&](int x, int y, int tolerance) {
        CDC screen;
        CDC mem;
        mem.CreateCompatibleDC(&screen);
        CBitmap bitmap;
        const CRect square(x - tolerance, y - tolerance, x + tolerance, y + tolerance);
        bitmap.CreateCompatibleBitmap(&mem, square.Width(), square.Height());
        mem.SelectObject(&bitmap);
        mem.SetWindowOrg(square.left, square.top);
        mem.PatBlt(square.left, square.top, square.Width(), square.Height(), WHITENESS);
        mem.SelectStockObject(BLACK_PEN);
        const MFloatPoint pts[] = {{0, -10}, {30, -10}};  // logical row 100
        lines.Draw(&view, &mem, pts, 2, 0.0, 0, FALSE);
        for (int px = square.left; px < square.right; ++px)
            for (int py = square.top; py < square.bottom; ++py)
                if (mem.GetPixel(px, py) == kBlack) return true;
        return false;
    };
    EXPECT_TRUE(hit(150, 100, 3));
    EXPECT_TRUE(hit(150, 97, 4));
    EXPECT_FALSE(hit(150, 94, 4));
    EXPECT_FALSE(hit(150, 106, 4));
}

TEST_F(RenderTest, XorRubberBandDrawnTwiceErases) {
    CDC dc;
    dc.CreateImageDC(300, 200);
    for (int y = 0; y < 200; y += 7)
        dc.FillSolidRect(0, y, 300, 3, RGB(y, 255 - y, 90));
    const QImage before = GetDCImage(dc)->copy();
    CPen pen(PS_SOLID, 1, RGB(255, 255, 255));
    dc.SelectObject(&pen);
    dc.SetROP2(R2_XORPEN);
    const MFloatPoint pts[] = {{1, -1}, {25, -3}, {10, -18}, {2, -6}};
    lines.DrawThin(&view, &dc, pts, 4, TRUE);
    EXPECT_NE(*GetDCImage(dc), before);
    lines.DrawThin(&view, &dc, pts, 4, TRUE);
    EXPECT_EQ(*GetDCImage(dc), before);
}

TEST_F(RenderTest, LineStyleSampleDrawsDashesAndSkipsUnknownStyles) {
    CDC dc;
    dc.CreateImageDC(200, 20);
    DrawLineStyleSample(&dc, 1, 0, 0, 100, 20);  // 1.25 mm: 4 pixels on, 4 off at 96 dpi
    EXPECT_EQ(Pixel(dc, 0, 10), kBlack);
    EXPECT_EQ(Pixel(dc, 3, 10), kBlack);
    EXPECT_EQ(Pixel(dc, 5, 10), kWhite);
    EXPECT_EQ(Pixel(dc, 8, 10), kBlack);
    EXPECT_NO_THROW(DrawLineStyleSample(&dc, 0x7F, 0, 0, 100, 20));
    EXPECT_NO_THROW(DrawLineStyleSample(&dc, 200, 0, 0, 100, 20));
    DrawLineStyleSample(&dc, -1, 0, 0, 100, 20);

    CDC aux;
    aux.CreateImageDC(200, 20);
    aux.SetBkMode(TRANSPARENT);
    DrawLineStyleSample(&aux, 0x80, 0, 0, 200, 16);
    int label = 0;  // the label "補助" comes first
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 16; ++y)
            label += Pixel(aux, x, y) != kWhite;
    EXPECT_GT(label, 10);
    EXPECT_EQ(Pixel(aux, 190, 8), kBlack);  // then the continuous line
}

TEST_F(RenderTest, PlainFillCoversTheFaceWithoutOutline) {
    CDC dc;
    dc.CreateImageDC(300, 300);
    SelectInk(dc);
    const MFloatPoint square[] = {{5, -5}, {20, -5}, {20, -20}, {5, -20}};
    const MFloatRect extent(5, -20, 20, -5);
    faces.DrawFill(&view, &dc, square, 4, extent, MFillStyle(RGB(0, 128, 0)));
    EXPECT_EQ(Pixel(dc, 50, 50), RGB(0, 128, 0));
    EXPECT_EQ(Pixel(dc, 199, 199), RGB(0, 128, 0));
    EXPECT_EQ(Pixel(dc, 200, 120), kWhite);  // no pen: the right edge is not drawn
    faces.DrawFill(&view, &dc, square, 2, extent, MFillStyle(kBlack));
    EXPECT_EQ(Pixel(dc, 100, 100), RGB(0, 128, 0));
    // White paints too: there is no special case for the background colour.
    faces.DrawFill(&view, &dc, square, 4, extent, MFillStyle(kWhite));
    EXPECT_EQ(Pixel(dc, 100, 100), kWhite);
}

TEST_F(RenderTest, LinearGradationPaints32BandsClippedToThePolygon) {
    CDC dc;
    dc.CreateImageDC(400, 400);
    const COLORREF c0 = RGB(255, 0, 0), c1 = RGB(0, 0, 255);
    const MFloatPoint square[] = {{0, 0}, {32, 0}, {32, -32}, {0, -32}};  // 320 x 320 pixels
    faces.DrawFill(&view, &dc, square, 4, MFloatRect(0, -32, 32, 0), MFillStyle(kFillLinear, 0.0, c0, c1));
    EXPECT_EQ(Pixel(dc, 2, 100), c0);
    EXPECT_EQ(Pixel(dc, 317, 100), c1);
    int changes = 0;
    int previousRed = 256;
    for (int x = 0; x < 320; ++x) {
        const COLORREF c = Pixel(dc, x, 160);
        EXPECT_LE(GetRValue(c), previousRed);
        if (GetRValue(c) != previousRed) ++changes;
        previousRed = GetRValue(c);
    }
    EXPECT_EQ(changes, 32);
    // Vertical bands: every row the same.
    EXPECT_EQ(Pixel(dc, 150, 10), Pixel(dc, 150, 300));

    CDC tri;
    tri.CreateImageDC(400, 400);
    const MFloatPoint triangle[] = {{0, 0}, {32, 0}, {0, -32}};
    faces.DrawFill(&view, &tri, triangle, 3, MFloatRect(0, -32, 32, 0), MFillStyle(kFillLinear, 0.0, c0, c1));
    EXPECT_EQ(Pixel(tri, 300, 300), kWhite);  // inside the extent, outside the polygon
    EXPECT_NE(Pixel(tri, 20, 20), kWhite);
    RECT box;
    EXPECT_EQ(tri.GetClipBox(&box), SIMPLEREGION);  // the clip is restored
}

TEST_F(RenderTest, CircularAndSquareGradations) {
    const COLORREF c0 = RGB(0, 0, 0), c1 = RGB(0, 255, 0), c2 = RGB(255, 255, 255);
    const MFloatPoint square[] = {{0, 0}, {30, 0}, {30, -30}, {0, -30}};
    const MFloatRect extent(0, -30, 30, 0);
    CDC dc;
    dc.CreateImageDC(300, 300);
    faces.DrawFill(&view, &dc, square, 4, extent, MFillStyle(kFillCircular, 0.5, 0.5, c0, c1, c2, 0.5));
    EXPECT_EQ(Pixel(dc, 150, 150), c0);  // the first colour at the centre
    // The middle colour at half the radius (the radius reaches the corners: about 213 pixels).
    const COLORREF half = Pixel(dc, 150 + 106, 150);
    EXPECT_NEAR(GetGValue(half), 255, 20);
    EXPECT_NEAR(GetRValue(half), 0, 20);

    auto squareImage = [&](double angle) {
        CDC s;
        s.CreateImageDC(300, 300);
        faces.DrawFill(&view, &s, square, 4, extent, MFillStyle(kFillSquare, angle, 0.5, 0.5, c0, c2));
        return GetDCImage(s)->copy();
    };
    EXPECT_EQ(squareImage(0.0), squareImage(3.14159265358979323846 / 2));
}

TEST_F(RenderTest, GradationWithTooFewColoursOrUnknownKindIsSafe) {
    CDC dc;
    dc.CreateImageDC(100, 100);
    const COLORREF one[] = {RGB(10, 20, 30)};
    DrawGradation(&dc, RECT{0, 0, 100, 100}, 32, kFillLinear, one, 1, 0.5, 0.0, 0.5, 0.5);
    EXPECT_EQ(Pixel(dc, 50, 50), RGB(10, 20, 30));
    const COLORREF two[] = {RGB(255, 0, 0), RGB(0, 0, 255)};
    DrawGradation(&dc, RECT{0, 0, 100, 100}, 32, 259, two, 2, 0.5, 0.0, 0.5, 0.5);
    DrawGradation(&dc, RECT{0, 0, 100, 100}, 32, kFillLinear, two, 0, 0.5, 0.0, 0.5, 0.5);
    EXPECT_EQ(Pixel(dc, 50, 50), RGB(10, 20, 30));
}

TEST_F(RenderTest, FaceDrawUsesTheSelectedPenAndBrush) {
    CDC dc;
    dc.CreateImageDC(200, 200);
    CBrush brush(RGB(0, 0, 200));
    dc.SelectObject(&brush);
    const MFloatPoint tri[] = {{2, -2}, {15, -2}, {2, -15}};
    faces.Draw(&view, &dc, tri, 3);
    EXPECT_EQ(Pixel(dc, 40, 40), RGB(0, 0, 200));
    EXPECT_EQ(Pixel(dc, 20, 20), kBlack);  // the corner at (20, 20) lies on the outline
    faces.Draw(&view, &dc, tri, 2);
}

namespace {

// What one thin polyline sends to the device: every run's points, exactly.
std::vector<std::vector<std::pair<double, double>>> Sent(const RecordingBackend& r) {
    std::vector<std::vector<std::pair<double, double>>> out;
    for (const auto& call : r.calls)
        for (const auto& run : call.runs) {
            out.emplace_back();
            for (const GdiPointF& p : run)
                out.back().emplace_back(p.x, p.y);
        }
    return out;
}

}  // namespace

TEST_F(RenderTest, ThinContinuousLinesSendWhatTheGeneralWalkSends) {
    // A pattern far finer than two pixels is drawn continuous by the general walk; a plain line
    // takes the direct way. Both must send the same points, on screen and into metafiles, for
    // open and closed lines, repeated points and lines that leave the sheet.
    MLineStyle fine("F", "");
    fine.m_dashes.Add(1e-4);
    fine.m_dashes.Add(-1e-4);
    std::mt19937 rng(7);
    // Mostly on the sheet's visible part; some lines reach a little or far outside it.
    std::uniform_real_distribution<double> inside(1.0, 99.0), near(-20.0, 120.0), far(-1e4, 1e4);
    for (int trial = 0; trial < 600; ++trial) {
        SCOPED_TRACE(trial);
        const int n = 2 + static_cast<int>(rng() % 40);
        auto& spread = trial % 10 == 0 ? far : trial % 10 == 1 ? near : inside;
        std::vector<MFloatPoint> pts;
        for (int i = 0; i < n; ++i) {
            if (i > 0 && rng() % 5 == 0)
                pts.push_back(pts.back());  // a zero-length edge
            else
                pts.emplace_back(spread(rng), -spread(rng));
        }
        const BOOL closed = trial % 2;
        SetMetafileDrawing(trial % 3 == 0);
        CDC direct, general;
        RecordingBackend* a = Record(direct);
        RecordingBackend* b = Record(general);
        lines.DrawStyled(&view, &direct, pts.data(), n, 0.0, nullptr, FALSE, closed);
        lines.DrawStyled(&view, &general, pts.data(), n, 0.0, &fine, FALSE, closed);
        EXPECT_EQ(Sent(*a), Sent(*b));
        if (trial % 10 > 1) EXPECT_FALSE(a->calls.empty());
    }
    SetMetafileDrawing(false);
}
