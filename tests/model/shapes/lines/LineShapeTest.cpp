#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>

#include "interchange/DxfOutStream.h"
#include "interchange/DxfShapeExport.h"
#include "interchange/JwcRecords.h"
#include "interchange/JwcShapeExport.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/gdi/DC.h"
#include "tests/model/shapes/ShapeTestSupport.h"

using namespace shapetest;

namespace {

class LineShapeTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureRegistered(); }
    TestView view;
};

// The (code, value) pairs of DXF text.
std::vector<std::pair<int, std::string>> DxfGroups(const std::string& text) {
    std::vector<std::pair<int, std::string>> groups;
    std::istringstream in(text);
    std::string code, value;
    while (std::getline(in, code) && std::getline(in, value))
        groups.emplace_back(std::stoi(code), value);
    return groups;
}

std::string FloatBytes(std::initializer_list<float> values) {
    std::string bytes;
    for (float f : values)
        bytes.append(reinterpret_cast<const char*>(&f), 4);
    return bytes;
}

}  // namespace

TEST_F(LineShapeTest, StartsZeroed) {
    MLineShape line;
    EXPECT_EQ(line.GetLineWidth(), 0.0);
    EXPECT_EQ(line.GetLineStyle(), 0);
    EXPECT_EQ(line.GetColor(), 0u);
    EXPECT_EQ(line.GetArrows(), MArrowInfo());
    EXPECT_EQ(line.m_start, MFloatPoint());
    EXPECT_EQ(line.m_end, MFloatPoint());
    EXPECT_TRUE(line.m_extent.IsNull());
    EXPECT_FALSE(line.IsValid());
    EXPECT_FALSE(line.IsClosed());
    EXPECT_EQ(line.GetTypeId(), 1);
    EXPECT_EQ(line.GetTypeName(), "LINE");
}

TEST_F(LineShapeTest, AuxiliaryStyleForcesItsColour) {
    MLineShape line({0, 0}, {1, 0});
    line.SetLineStyle(0x81);
    EXPECT_EQ(line.m_stroke.color, 0xFF0000u);
    EXPECT_EQ(line.GetColor(), kNoColor);
    line.SetColor(0x00FF00);
    EXPECT_EQ(line.m_stroke.color, 0xFF0000u);
    EXPECT_EQ(line.GetLineStyleName(), "HOJO");
    EXPECT_EQ(GetJWCLineType(line.GetLineStyle()), 9);
    line.SetLineStyle(2);
    line.SetColor(0x00FF00);
    EXPECT_EQ(line.GetColor(), 0x00FF00u);
    EXPECT_EQ(GetJWCLineType(line.GetLineStyle()), 3);
}

TEST_F(LineShapeTest, NearestPointClampsToTheEnds) {
    MLineShape line({0, 0}, {10, 0});
    MFloatPoint p;
    line.NearestPoint(&p, {-3, 4});
    EXPECT_EQ(p, MFloatPoint(0, 0));
    line.NearestPoint(&p, {13, -4});
    EXPECT_EQ(p, MFloatPoint(10, 0));
    line.NearestPoint(&p, {4, 4});
    EXPECT_EQ(p, MFloatPoint(4, 0));
    MLineShape dot({2, 2}, {2, 2});
    dot.NearestPoint(&p, {5, 5});
    EXPECT_EQ(p, MFloatPoint(2, 2));
}

TEST_F(LineShapeTest, SideIsTheSignOfTheCrossProduct) {
    MLineShape line({0, 0}, {10, 0});
    EXPECT_EQ(line.GetSide(5, 0), 0);
    EXPECT_EQ(line.GetSide(20, 0), 0);
    EXPECT_EQ(line.GetSide(5, 1), 1);
    EXPECT_EQ(line.GetSide(5, -1), -1);
}

TEST_F(LineShapeTest, DrawExtentGrowsByWidthAndRealArrowHeadsOnly) {
    MLineShape line({0, 0}, {10, 5});
    line.Recalc(&view);
    EXPECT_EQ(line.m_extent, MFloatRect(0, 0, 10, 5));
    EXPECT_EQ(line.GetDrawExtent(), line.m_extent);
    EXPECT_EQ(line.GetMid(), MFloatPoint(5, 2.5));
    line.SetLineWidth(-1.0);
    line.Recalc(&view);
    EXPECT_EQ(line.GetDrawExtent(), line.m_extent);
    line.SetLineWidth(0.5);
    line.SetArrowsEx(0, 9.0, 1, 2.0);  // a style-0 end does not count
    line.Recalc(&view);
    EXPECT_EQ(line.GetDrawExtent(), MFloatRect(-2.5, -2.5, 12.5, 7.5));
}

TEST_F(LineShapeTest, TransformsMatchHandComputedGeometry) {
    MLineShape line({1, 2}, {4, 6});
    line.Move({1, -1});
    EXPECT_EQ(line.m_start, MFloatPoint(2, 1));
    EXPECT_EQ(line.m_end, MFloatPoint(5, 5));
    line.ScaleXY({2, 1}, 2, -1);
    EXPECT_EQ(line.m_end, MFloatPoint(8, -3));
    EXPECT_EQ(line.m_extent, MFloatRect(2, -3, 8, 1));
    line.Scale({0, 0}, 1e-16);  // a zero factor changes nothing
    EXPECT_EQ(line.m_end, MFloatPoint(8, -3));
    line.MirrorX(0, 99);
    EXPECT_EQ(line.m_start, MFloatPoint(-2, 1));
    line.MirrorY(99, 1);
    EXPECT_EQ(line.m_end, MFloatPoint(-8, 5));
    line.Rotate(-2, 1, kPi / 2);
    EXPECT_NEAR(line.m_end.x, -6, 1e-12);
    EXPECT_NEAR(line.m_end.y, -5, 1e-12);
    EXPECT_EQ(line.m_start, MFloatPoint(-2, 1));

    std::unique_ptr<MCadShape> rotated(line.CreateRotated(-2, 1, -kPi / 2));
    auto* r = static_cast<MLineShape*>(rotated.get());
    EXPECT_NEAR(r->m_end.x, -8, 1e-12);
    EXPECT_NEAR(r->m_end.y, 5, 1e-12);
    std::unique_ptr<MCadShape> mirrored(line.CreateMirroredX(0, 0));
    EXPECT_NEAR(static_cast<MLineShape*>(mirrored.get())->m_end.x, 6, 1e-12);
}

TEST_F(LineShapeTest, MoveHandleWithAndWithoutConstraint) {
    MLineShape line({0, 0}, {10, 0});
    int index = 1;
    line.MoveHandle(&index, {3, 4}, FALSE);
    EXPECT_EQ(line.m_end, MFloatPoint(3, 4));
    EXPECT_EQ(line.m_extent, MFloatRect(0, 0, 3, 4));

    MLineShape constrained({0, 0}, {10, 0});
    MFloatRect out;
    index = 1;
    constrained.MoveHandle(&index, {3, 4}, TRUE, &out);  // stays on the x axis, length 5
    EXPECT_NEAR(constrained.m_end.x, 5, 1e-12);
    EXPECT_NEAR(constrained.m_end.y, 0, 1e-12);
    EXPECT_EQ(out, constrained.m_extent);
    index = 0;
    // The start keeps the line's direction from the fixed end: dragged towards (9, 1) it lands beyond it.
    constrained.MoveHandle(&index, {9, 1}, TRUE);
    EXPECT_NEAR(constrained.m_start.x, 5 + std::hypot(4, 1), 1e-12);
    EXPECT_NEAR(constrained.m_start.y, 0, 1e-12);
    EXPECT_EQ(line.GetHandleCount(), 2);
    EXPECT_EQ(line.GetHandle(0), MFloatPoint(0, 0));
}

TEST_F(LineShapeTest, SnapsOfferEndAndMidPoints) {
    MLineShape line({0, 0}, {10, 0});
    line.Recalc(&view);
    MSnapPoint snap;
    double best =
        line.SnapPoints(snap, {9, 1}, MFloatRect(-20, -20, 20, 20), kSnapEndPoint | kSnapMidPoint, DBL_MAX);
    EXPECT_EQ(snap.kind, kSnapEndPoint);
    EXPECT_EQ(snap.GetPoint(), MFloatPoint(10, 0));
    EXPECT_EQ(snap.shape1, &line);
    EXPECT_NEAR(best, std::hypot(1, 1), 1e-12);
    MSnapPoint mid;
    line.SnapPoints(mid, {5.5, 0}, MFloatRect(-20, -20, 20, 20), kSnapMidPoint | kSnapCenter, DBL_MAX);
    EXPECT_EQ(mid.kind, kSnapMidPoint);
    EXPECT_EQ(mid.GetPoint(), MFloatPoint(5, 0));
    MSnapPoint none;
    line.SnapPoints(none, {5, 0}, MFloatRect(1, 1, 2, 2), kSnapEndPoint | kSnapMidPoint, DBL_MAX);
    EXPECT_EQ(none.kind, 0);
}

TEST_F(LineShapeTest, MidPointIsTheHalfSumOfTheEndsBitForBit) {
    std::mt19937 rng(7u);
    std::uniform_real_distribution<double> coord(-1e7, 1e7);
    for (int i = 0; i < 2000; ++i) {
        const MFloatPoint a(coord(rng), coord(rng)), b(coord(rng) / 3, coord(rng) * 1e-9);
        const MFloatPoint expected((a.x + b.x) / 2, (a.y + b.y) / 2);
        MLineShape line(a, b);
        line.Recalc(&view);
        const MFloatPoint mid = line.GetMid();
        EXPECT_EQ(std::memcmp(&mid, &expected, sizeof expected), 0);
        // The snap offers the same point, from a cursor right on it.
        MSnapPoint snap;
        const MFloatRect aperture(expected.x - 1, expected.y - 1, expected.x + 1, expected.y + 1);
        line.SnapPoints(snap, expected, aperture, kSnapMidPoint, DBL_MAX);
        ASSERT_EQ(snap.kind, kSnapMidPoint);
        const MFloatPoint offered = snap.GetPoint();
        EXPECT_EQ(std::memcmp(&offered, &expected, sizeof expected), 0);
    }
}

TEST_F(LineShapeTest, IntersectionSnapsNameBothShapes) {
    MLineShape a({0, 0}, {10, 10});
    MLineShape b({0, 10}, {10, 0});
    MSnapPoint snap;
    const double best = a.SnapIntersection(&b, snap, {5, 6}, MFloatRect(0, 0, 10, 10), DBL_MAX);
    EXPECT_EQ(snap.kind, kSnapIntersection);
    EXPECT_EQ(snap.GetPoint(), MFloatPoint(5, 5));
    EXPECT_EQ(snap.shape1, &b);
    EXPECT_EQ(snap.shape2, &a);
    EXPECT_DOUBLE_EQ(best, 1.0);
    MLineShape far({20, 0}, {30, 0});
    MSnapPoint none;
    EXPECT_EQ(a.SnapIntersection(&far, none, {5, 5}, MFloatRect(0, 0, 40, 40), 3.0), 3.0);
}

TEST_F(LineShapeTest, SegmentAndCircleIntersections) {
    MLineShape line({0, 0}, {10, 0});
    MFloatPointArray out;
    EXPECT_EQ(line.IntersectSegment({5, -1}, {5, 1}, &out, 3), 1);
    EXPECT_EQ(out[0], MFloatPoint(5, 0));
    EXPECT_EQ(line.IntersectSegment({5, 1}, {5, 2}, &out, 3), 0);
    EXPECT_EQ(line.IntersectSegment({5, 1}, {5, 2}, &out, 1), 1);  // the infinite other line
    out.RemoveAll();
    EXPECT_EQ(line.IntersectCircle(5, 0, 5, 0, 3, &out), 2);
    EXPECT_NEAR(out[0].x + out[1].x, 10, 1e-12);
    EXPECT_EQ(line.IntersectCircle(5, 5, 5, 5, 3, &out), 0);
    out.RemoveAll();
    EXPECT_EQ(line.IntersectCircle(0, 0, 4, 0, 4, &out), 1);  // the other root lies before the start
    EXPECT_NEAR(out[0].x, 4, 1e-12);
    MFloatPoint crossing;
    EXPECT_TRUE(line.GetIntersection({2, 3}, {2, 4}, &crossing, 1));
    EXPECT_EQ(crossing, MFloatPoint(2, 0));
}

TEST_F(LineShapeTest, HitTestIsStrictlyInsideTheTolerance) {
    MLineShape line({0, 0}, {10, 0});
    line.Recalc(&view);
    MFloatPoint foot;
    EXPECT_FALSE(line.HitTest(&view, CPoint(50, -3), &foot, 3));  // exactly 3 pixels away
    EXPECT_EQ(foot, MFloatPoint(5, 0));
    EXPECT_TRUE(line.HitTest(&view, CPoint(50, -3), &foot, 4));
    EXPECT_TRUE(line.HitTest(&view, CPoint(50, 2), &foot, 3));
    EXPECT_FALSE(line.HitTest(&view, CPoint(101, 0), &foot, 3));  // the foot lies beyond the end
}

TEST_F(LineShapeTest, DirectionAndNormal) {
    MLineShape line({0, 0}, {0, -3});
    EXPECT_DOUBLE_EQ(line.GetDirectionAngle({}), -kPi / 2);
    MFloatPoint foot;
    EXPECT_DOUBLE_EQ(line.GetNormalAngle({4, 7}, &foot), 0.0);
    EXPECT_EQ(foot, MFloatPoint(0, 7));
    EXPECT_EQ(MLineShape().GetAngle(), 0.0);
}

TEST_F(LineShapeTest, DuplicateAndArchiveKeepEveryField) {
    MLineShape line({1.25, -2}, {3, 4});
    line.SetLineWidth(0.35);
    line.SetLineStyle(0x83);
    line.SetArrowsEx(2, 3.0, 6, 1.5);
    line.Recalc(&view);
    std::unique_ptr<MCadShape> dup(line.Duplicate());
    auto* copy = dynamic_cast<MLineShape*>(dup.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->m_stroke.color, 0xFF0000u);
    EXPECT_EQ(copy->m_stroke.style, 0x83);
    EXPECT_EQ(copy->m_stroke.width, 0.35);
    EXPECT_EQ(copy->m_arrows, line.m_arrows);
    EXPECT_EQ(copy->m_end, line.m_end);
    EXPECT_EQ(copy->m_extent, line.m_extent);
    EXPECT_EQ(copy->GetDrawExtent(), line.GetDrawExtent());

    auto back = LoadObject<MLineShape>(StoreObject(&line));
    EXPECT_EQ(back->m_stroke.color, line.m_stroke.color);
    EXPECT_EQ(back->m_start, line.m_start);
    EXPECT_EQ(back->m_arrows, line.m_arrows);
    // The base class's archive round trip also carries the extents.
    std::unique_ptr<MCadShape> viaArchive(line.MCadShape::Duplicate());
    EXPECT_EQ(viaArchive->GetDrawExtent(), line.GetDrawExtent());
    EXPECT_EQ(static_cast<MLineShape*>(viaArchive.get())->m_stroke.width, 0.35);
}

TEST_F(LineShapeTest, TextFormRoundTripsByteForByte) {
    MLineShape line({1.5, -2}, {1e6, 0.333333333});
    line.SetColor(0x123456);
    line.SetLineWidth(0.25);
    line.SetArrowsEx(1, 2.5, 3, 4);
    const std::string text = ShapeText(line);
    EXPECT_EQ(text, "LINE\n\t1.5 -2 1e+06 0.333333 1193046 0 0.25 1 2.5 3 4\n");
    std::unique_ptr<MCadShape> back = ReadShape(text);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(ShapeText(*back), text);
    // A trailing field the reader does not know is skipped with the rest of the line.
    std::unique_ptr<MCadShape> extra = ReadShape("LINE\n\t0 0 1 1 0 0 0 0 0 0 0 77 88\n");
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(static_cast<MLineShape*>(extra.get())->m_end, MFloatPoint(1, 1));
}

TEST_F(LineShapeTest, DxfLineWithACircleHead) {
    MLineShape line({1, 2}, {11, 2});
    line.SetArrowsEx(0, 0, 5, 4.0);
    MDXFOutStream out;
    ExportShapeDxf(line, out, "L1", {1, 0}, 2.0);
    EXPECT_EQ(out.GetText(),
              "  0\nLINE\n  8\nL1\n  6\nCONTINUOUS\n 62\n7\n 10\n0\n 20\n2\n 11\n10\n 21\n2\n"
              "  0\nCIRCLE\n  8\nL1\n  6\nCONTINUOUS\n 62\n7\n 10\n10\n 20\n2\n 40\n1\n");
}

TEST_F(LineShapeTest, DxfOpenArrowWingsLieFifteenDegreesOff) {
    MLineShape line({0, 0}, {10, 0});
    line.SetArrowsEx(1, 5.0, 0, 0);
    MDXFOutStream out;
    ExportShapeDxf(line, out, "0", {0, 0}, 1.0);
    const auto groups = DxfGroups(out.GetText());
    std::vector<MFloatPoint> vertices;
    bool polyline = false;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (groups[i] == std::make_pair(0, std::string("POLYLINE"))) polyline = true;
        if (groups[i].first == 0 && groups[i].second == "VERTEX") {
            ASSERT_EQ(groups[i + 1].first, 8);
            ASSERT_EQ(groups[i + 2].first, 10);
            vertices.emplace_back(std::stod(groups[i + 2].second), std::stod(groups[i + 3].second));
        }
    }
    EXPECT_TRUE(polyline);
    ASSERT_EQ(vertices.size(), 3u);
    const double c = 5 * std::cos(kPi / 12), s = 5 * std::sin(kPi / 12);
    EXPECT_NEAR(vertices[0].x, c, 1e-12);
    EXPECT_NEAR(vertices[0].y, -s, 1e-12);
    EXPECT_EQ(vertices[1], MFloatPoint(0, 0));
    EXPECT_NEAR(vertices[2].x, c, 1e-12);
    EXPECT_NEAR(vertices[2].y, s, 1e-12);
    EXPECT_EQ(groups.back(), std::make_pair(0, std::string("SEQEND")));
}

TEST_F(LineShapeTest, DxfExportSurvivesADamagedLineStyle) {
    MLineShape line({0, 0}, {1, 0});
    line.SetLineStyle(0x7F);  // outside the table
    MDXFOutStream out;
    EXPECT_NO_THROW(ExportShapeDxf(line, out, "0", {0, 0}, 1.0));
    EXPECT_NE(out.GetText().find("  6\nCONTINUOUS\n"), std::string::npos);
    line.SetLineStyle(-1);
    EXPECT_EQ(line.GetLineStyleName(), "");
}

TEST_F(LineShapeTest, JwcRecordsOfALineWithHeads) {
    MLineShape line({1, 2}, {5, 2});
    line.SetColor(RGB(0, 0, 255));  // blue: pen 6
    line.SetLineStyle(1);
    line.SetArrowsEx(2, 4.0, 6, 2.0);
    MJWCLineArray lines;
    ExportShapeJwcLines(line, lines, 7, 10.0, 2.0);
    ASSERT_EQ(lines.GetSize(), 4);  // the segment and the three sides of the filled head
    std::string bytes;
    lines[0].AppendTo(bytes);
    std::string expected = FloatBytes({10, 20, 50, 20});
    expected += std::string("\x02\x06\x07\x00\x00\x00", 6);
    EXPECT_EQ(bytes, expected);
    // The head's first side runs from a wing to the tip (start), 2 units long before scaling.
    EXPECT_NEAR(lines[1].x2, 10.0f, 1e-4);
    EXPECT_NEAR(std::hypot(lines[1].x1 - lines[1].x2, lines[1].y1 - lines[1].y2), 20.0, 1e-3);
    EXPECT_EQ(lines[3].x1, lines[2].x2);  // the closing side W2 -> W1

    MJWCArcArray arcs;
    ExportShapeJwcArcs(line, arcs, 7, 10.0, 2.0);
    ASSERT_EQ(arcs.GetSize(), 1);
    EXPECT_EQ(arcs[0].cx, 50.0f);
    EXPECT_EQ(arcs[0].cy, 20.0f);
    EXPECT_EQ(arcs[0].radius, 5.0f);  // 10 * (2 / 2) * 0.5
    EXPECT_EQ(arcs[0].flatness, 10000);
    EXPECT_EQ(arcs[0].pen, 6);
    EXPECT_EQ(arcs[0].lineType, 2);
    EXPECT_EQ(arcs[0].layer, 7);
    std::string arcBytes;
    arcs[0].AppendTo(arcBytes);
    std::string expectedArc = FloatBytes({50, 20, 5});
    expectedArc += std::string("\x10\x27", 2);                  // flatness 10000
    expectedArc += std::string(12, '\0');                       // start, end, tilt
    expectedArc += std::string("\x02\x06\x07\x00\x00\x00", 6);  // type, pen, layer, unused
    EXPECT_EQ(arcBytes, expectedArc);

    MLineShape dot({1, 1}, {1, 1});
    dot.SetArrowsEx(2, 4.0, 6, 2.0);
    MJWCLineArray dotLines;
    MJWCArcArray dotArcs;
    ExportShapeJwcLines(dot, dotLines, 0, 1.0, 1.0);
    ExportShapeJwcArcs(dot, dotArcs, 0, 1.0, 1.0);
    EXPECT_EQ(dotLines.GetSize(), 1);  // no heads on a zero-length line
    EXPECT_EQ(dotArcs.GetSize(), 0);
}

namespace {

// An image DC of 100 x 40 pixels; drawing (x, -y) lands on pixel (10x, 10y) of the TestView.
struct Canvas {
    Canvas() { EXPECT_TRUE(dc.CreateImageDC(100, 40)); }
    COLORREF At(int x, int y) {
        dc.Flush();
        return dc.GetPixel(x, y);
    }
    CDC dc;
};

}  // namespace

TEST_F(LineShapeTest, DrawsInItsColourAndNothingWithoutOne) {
    MLineShape line({1, -1}, {9, -1});
    line.SetColor(RGB(255, 0, 0));
    line.Recalc(&view);
    Canvas red;
    line.Draw(&view, &red.dc);
    EXPECT_EQ(red.At(50, 10), RGB(255, 0, 0));
    EXPECT_EQ(red.At(50, 12), 0xFFFFFFu);

    line.SetColor(kNoColor);
    Canvas none;
    line.Draw(&view, &none.dc);
    EXPECT_EQ(none.At(50, 10), 0xFFFFFFu);

    line.SetLineStyle(0x80);  // auxiliary lines draw in their own colour
    Canvas aux;
    line.Draw(&view, &aux.dc);
    EXPECT_EQ(aux.At(50, 10), kAuxiliaryColor);
}

TEST_F(LineShapeTest, WideLinesAndFilledHeadsAreFilled) {
    MLineShape line({1, -2}, {9, -2});
    line.SetColor(RGB(0, 0, 255));
    line.SetLineWidth(0.6);  // 6 pixels
    line.SetArrowsEx(0, 0, 2, 4.0);
    line.Recalc(&view);
    Canvas canvas;
    line.Draw(&view, &canvas.dc);
    EXPECT_EQ(canvas.At(50, 22), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(50, 17), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(20, 26), 0xFFFFFFu);
    // Inside the filled head at the end, beside the line: the tip is at pixel 90, the head 40 pixels
    // long and 8 pixels wide on either side at x = 60.
    EXPECT_EQ(canvas.At(60, 14), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(60, 4), 0xFFFFFFu);
}

TEST_F(LineShapeTest, GrayedAndTrackingDrawings) {
    MLineShape line({1, -1}, {9, -1});
    line.Recalc(&view);
    Canvas grey;
    line.Render(&view, &grey.dc, MDrawMode::kGrayed);
    EXPECT_EQ(grey.At(50, 10), GetSysColor(COLOR_GRAYTEXT));
    Canvas tracking;
    CPen green(PS_SOLID, 1, RGB(0, 255, 0));
    tracking.dc.SelectObject(&green);
    line.Render(&view, &tracking.dc, MDrawMode::kTracking);
    EXPECT_EQ(tracking.At(50, 10), RGB(0, 255, 0));
}

TEST_F(LineShapeTest, PixelHitTestAtTheToleranceEdge) {
    MLineShape line({0, 0}, {10, 0});
    line.Recalc(&view);
    // The tested square runs from point - tolerance to point + tolerance with its right and bottom
    // edges excluded: from y = 3 it covers rows 0 to 5, from y = -3 rows -6 to -1.
    EXPECT_TRUE(line.HitTestPixel(&view, CPoint(50, 3), 3));
    EXPECT_FALSE(line.HitTestPixel(&view, CPoint(50, 4), 3));
    EXPECT_TRUE(line.HitTestPixel(&view, CPoint(50, -2), 3));
    EXPECT_FALSE(line.HitTestPixel(&view, CPoint(50, -3), 3));
    EXPECT_FALSE(line.HitTestPixel(&view, CPoint(120, 0), 3));  // the cheap extent test rejects it
    EXPECT_TRUE(line.IntersectsDeviceRectPixel(&view, CRect(40, -5, 45, 5)));
    EXPECT_FALSE(line.IntersectsDeviceRectPixel(&view, CRect(40, 2, 45, 5)));
    EXPECT_TRUE(line.IntersectsRectPixel(&view, CRect(40, -5, 45, 5), MFloatRect(4, -0.5, 4.5, 0.5)));
    EXPECT_FALSE(line.IntersectsRectPixel(&view, CRect(40, -5, 45, 5), MFloatRect(40, 40, 45, 45)));
}
