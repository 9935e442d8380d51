#include <gtest/gtest.h>

#include <cstring>

#include "interchange/DxfOutStream.h"
#include "interchange/DxfShapeExport.h"
#include "interchange/JwcRecords.h"
#include "interchange/JwcShapeExport.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/gdi/DC.h"
#include "tests/model/shapes/ShapeTestSupport.h"

using namespace shapetest;

namespace {

class PolygonShapeTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureRegistered();
        PointEditFlag = FALSE;
    }
    void TearDown() override { PointEditFlag = FALSE; }
    TestView view;
};

MPolygonShape MakePolygon(std::initializer_list<MFloatPoint> points, BOOL closed) {
    MPolygonShape p(closed);
    for (const MFloatPoint& q : points)
        p.AddPoint(q);
    return p;
}

MPolygonShape UnitSquare() {
    return MakePolygon({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, TRUE);
}

}  // namespace

TEST_F(PolygonShapeTest, ConstructorsSetTheFlags) {
    EXPECT_EQ(MPolygonShape().GetFlags(), 3u);
    EXPECT_EQ(MPolygonShape(FALSE).GetFlags(), 2u);
    EXPECT_EQ(MPolygonShape(4, TRUE).GetPointCount(), 4);
    MPolygonShape p;
    EXPECT_TRUE(p.GetFillStyle().IsNone());
    EXPECT_EQ(p.GetColor(), 0u);
    EXPECT_TRUE(p.m_extent.IsNull());
}

TEST_F(PolygonShapeTest, AreaIsPositiveInEitherOrientation) {
    EXPECT_DOUBLE_EQ(UnitSquare().GetArea(), 1.0);
    MPolygonShape clockwise = MakePolygon({{0, 0}, {0, 1}, {1, 1}, {1, 0}}, TRUE);
    EXPECT_DOUBLE_EQ(clockwise.GetArea(), 1.0);
    EXPECT_DOUBLE_EQ(UnitSquare().GetSignedArea(), 1.0);
    EXPECT_DOUBLE_EQ(clockwise.GetSignedArea(), -1.0);
    EXPECT_EQ(MakePolygon({{0, 0}, {5, 5}}, TRUE).GetArea(), 0.0);
}

TEST_F(PolygonShapeTest, AClosedPolygonHasNoArrows) {
    MPolygonShape square = UnitSquare();
    square.SetArrowsEx(1, 3.0, 1, 3.0);
    EXPECT_EQ(square.GetArrows(), MArrowInfo());
    MPolygonShape open = MakePolygon({{0, 0}, {1, 0}}, FALSE);
    open.SetArrowsEx(1, 3.0, 1, 3.0);
    EXPECT_EQ(open.GetArrows(), MArrowInfo(1, 3.0, 1, 3.0));
}

TEST_F(PolygonShapeTest, InsertVertexSplitsAnEdge) {
    MPolygonShape square = UnitSquare();
    square.InsertVertex(3);
    ASSERT_EQ(square.GetPointCount(), 5);
    EXPECT_EQ(square.GetPoint(0), MFloatPoint(0, 0.5));
    EXPECT_EQ(square.GetPoint(1), MFloatPoint(0, 0));
    square.InsertVertex(1);
    EXPECT_EQ(square.GetPoint(2), MFloatPoint(0.5, 0));

    MPolygonShape open = MakePolygon({{0, 0}, {2, 0}, {2, 2}, {4, 2}}, FALSE);
    open.InsertVertex(3);
    ASSERT_EQ(open.GetPointCount(), 5);
    EXPECT_EQ(open.GetPoint(3), MFloatPoint(3, 2));
    EXPECT_EQ(open.GetPoint(4), MFloatPoint(4, 2));

    MPolygonShape single = MakePolygon({{1, 1}}, FALSE);
    single.InsertVertex(0);  // nothing to split
    EXPECT_EQ(single.GetPointCount(), 1);
}

TEST_F(PolygonShapeTest, DeleteVertexKeepsAtLeastTwo) {
    MPolygonShape two = MakePolygon({{0, 0}, {1, 0}}, FALSE);
    two.DeleteVertex(0);
    EXPECT_EQ(two.GetPointCount(), 2);
    MPolygonShape three = MakePolygon({{0, 0}, {1, 0}, {1, 1}}, FALSE);
    three.DeleteVertex(0);
    ASSERT_EQ(three.GetPointCount(), 2);
    EXPECT_EQ(three.GetPoint(0), MFloatPoint(1, 0));
    MPolygonShape four = UnitSquare();
    EXPECT_THROW(four.DeleteVertex(4), CInvalidArgException);
}

TEST_F(PolygonShapeTest, HandlesAreTheVerticesInPointEditMode) {
    MPolygonShape p = MakePolygon({{0, 0}, {4, 0}, {4, 2}, {2, 3}, {0, 2}}, TRUE);
    p.Recalc(&view);
    EXPECT_EQ(p.GetHandleCount(), 8);
    EXPECT_EQ(p.GetHandle(0), MFloatPoint(4, 3));
    PointEditMode = TRUE;  // the tools' name for the same flag
    EXPECT_TRUE(PointEditFlag);
    EXPECT_EQ(p.GetHandleCount(), 5);
    EXPECT_EQ(p.GetHandle(3), MFloatPoint(2, 3));
    EXPECT_TRUE(p.IsPointEditMode());
    int index = 3;
    p.MoveHandle(&index, {2, 5}, TRUE);
    EXPECT_EQ(p.GetPoint(3), MFloatPoint(2, 5));
    EXPECT_THROW(p.GetHandle(5), CInvalidArgException);
    index = -1;
    EXPECT_THROW(p.MoveHandle(&index, {0, 0}, FALSE), CInvalidArgException);
}

TEST_F(PolygonShapeTest, ExtentHandlesStretchTheVertices) {
    MPolygonShape p = MakePolygon({{0, 0}, {4, 0}, {4, 2}, {0, 2}}, TRUE);
    p.Recalc(&view);
    int index = kHandleTopRight;
    p.MoveHandle(&index, {8, 3}, FALSE);
    EXPECT_EQ(p.GetPoint(2), MFloatPoint(8, 3));
    EXPECT_EQ(index, kHandleTopRight);
    p.Recalc(&view);
    // Dragged to the left of the anchor the handle becomes the top-left one and the shape mirrors.
    p.MoveHandle(&index, {-4, 3}, FALSE);
    EXPECT_EQ(index, kHandleTopLeft);
    EXPECT_EQ(p.GetPoint(1), MFloatPoint(-4, 0));
    p.Recalc(&view);
    // Onto the anchor's x: nothing changes.
    index = kHandleTopRight;
    const MFloatPointArray before = p.m_points;
    p.MoveHandle(&index, {-4, 5}, FALSE);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(p.GetPoint(i), before[i]);
}

TEST_F(PolygonShapeTest, SideIsDecidedByCrossingParity) {
    // A ray through two vertices of a diamond crosses its outline once.
    MPolygonShape diamond = MakePolygon({{0, -1}, {1, 0}, {0, 1}, {-1, 0}}, TRUE);
    EXPECT_EQ(diamond.GetSide(0, 0), 1);
    EXPECT_EQ(diamond.GetSide(-2, 0), -1);
    EXPECT_EQ(diamond.GetSide(2, 0), -1);
    // A ray grazing an apex does not enter.
    MPolygonShape triangle = MakePolygon({{0, 0}, {2, 0}, {1, 1}}, TRUE);
    EXPECT_EQ(triangle.GetSide(-1, 1), -1);
    EXPECT_EQ(triangle.GetSide(1, 0.5), 1);
    // Horizontal edges never count.
    MPolygonShape square = UnitSquare();
    EXPECT_EQ(square.GetSide(0.5, 0), 1);
    EXPECT_EQ(square.GetSide(0.5, 0.5), 1);
    EXPECT_EQ(square.GetSide(1.5, 0.5), -1);
    EXPECT_EQ(MakePolygon({{0, 0}, {1, 0}, {1, 1}}, FALSE).GetSide(0.9, 0.1), 0);
}

TEST_F(PolygonShapeTest, OnlyEdgesCanBeHit) {
    MPolygonShape square = MakePolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, TRUE);
    square.SetFillStyle(MFillStyle(RGB(255, 0, 0)));
    square.Recalc(&view);
    MFloatPoint foot;
    EXPECT_FALSE(square.HitTest(&view, CPoint(50, -50), &foot, 3));  // inside, far from the edges
    EXPECT_FALSE(square.HitTest(&view, CPoint(50, 3), &foot, 3));    // exactly 3 pixels below
    EXPECT_TRUE(square.HitTest(&view, CPoint(50, 2), &foot, 3));
    EXPECT_EQ(foot, MFloatPoint(5, 0));
    EXPECT_TRUE(square.HitTest(&view, CPoint(2, -50), &foot, 3));  // the closing edge
    EXPECT_EQ(foot, MFloatPoint(0, 5));
    EXPECT_FALSE(square.HitTest(&view, CPoint(-2, 2), &foot, 5));  // near a vertex, no foot
}

TEST_F(PolygonShapeTest, ArchiveLoadingReplacesTheVertices) {
    MPolygonShape source = MakePolygon({{0, 0}, {4, 0}, {4, 3}}, FALSE);
    source.SetFillStyle(MFillStyle(kFillLinear, 0.5, RGB(1, 2, 3), RGB(4, 5, 6)));
    source.SetArrowsEx(1, 2.0, 4, 3.0);
    source.SetLineStyle(0x82);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        source.Serialize(ar);
    }
    MPolygonShape target(5, TRUE);  // presized, as the derived shapes are
    CMemFile in(file.Detach());
    CArchive ar(&in, CArchive::load);
    target.Serialize(ar);
    ASSERT_EQ(target.GetPointCount(), 3);
    EXPECT_EQ(target.GetPoint(2), MFloatPoint(4, 3));
    EXPECT_EQ(target.GetFillStyle(), source.GetFillStyle());
    EXPECT_EQ(target.GetArrows(), source.GetArrows());
    EXPECT_EQ(target.GetFlags(), 2u);
    EXPECT_EQ(target.m_stroke.color, 0xFF0000u);
}

TEST_F(PolygonShapeTest, ADamagedVertexCountIsRefused) {
    MPolygonShape source = UnitSquare();
    std::vector<BYTE> bytes = StoreObject(&source);
    // The vertex count sits right before the 64 bytes of the four vertices.
    const std::size_t at = bytes.size() - 64 - 4;
    for (std::int32_t bad : {-1, 1000000, 5}) {
        std::vector<BYTE> damaged = bytes;
        std::memcpy(&damaged[at], &bad, 4);
        EXPECT_THROW(LoadObject<MPolygonShape>(damaged), CArchiveException) << bad;
    }
}

TEST_F(PolygonShapeTest, TextFormRoundTripsByteForByte) {
    MPolygonShape p = MakePolygon({{0.5, 1}, {2, -3.25}, {1e-7, 4}}, FALSE);
    p.SetColor(255);
    p.SetLineWidth(0.13);
    p.SetLineStyle(4);
    p.SetFillStyle(MFillStyle(kFillSquare, 0.5, 0.25, 0.75, 255, 65280));
    p.SetArrowsEx(2, 3.5, 0, 0);
    const std::string text = ShapeText(p);
    EXPECT_EQ(text,
              "POLYGON\n\t255 4 0.13 G2 0.5 0.25 0.75 2 255 65280 2 2 3.5 0 0\n"
              "\t3\n\t0.5 1\n\t2 -3.25\n\t1e-07 4\n");
    std::unique_ptr<MCadShape> back = ReadShape(text);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(ShapeText(*back), text);

    MPolygonShape closed = UnitSquare();
    const std::string closedText = ShapeText(closed);
    EXPECT_EQ(closedText, "POLYGON\n\t0 0 0 16777216 3 0 0 0 0\n\t4\n\t0 0\n\t1 0\n\t1 1\n\t0 1\n");
    EXPECT_EQ(ShapeText(*ReadShape(closedText)), closedText);
}

TEST_F(PolygonShapeTest, TransformsMatchHandComputedGeometry) {
    MPolygonShape p = MakePolygon({{1, 1}, {3, 1}, {3, 2}}, TRUE);
    p.Recalc(&view);
    p.ScaleXY({1, 1}, -2, 3);
    EXPECT_EQ(p.GetPoint(1), MFloatPoint(-3, 1));
    EXPECT_EQ(p.GetPoint(2), MFloatPoint(-3, 4));
    EXPECT_EQ(p.m_extent, MFloatRect(-3, 1, 1, 4));
    p.Move({3, -1});
    EXPECT_EQ(p.GetPoint(2), MFloatPoint(0, 3));
    p.MirrorX(1, 0);
    EXPECT_EQ(p.GetPoint(0), MFloatPoint(-2, 0));
    p.MirrorY(0, 1);
    EXPECT_EQ(p.GetPoint(2), MFloatPoint(2, -1));
    p.Rotate(0, 0, kPi);
    EXPECT_NEAR(p.GetPoint(2).x, -2, 1e-12);
    EXPECT_NEAR(p.GetPoint(2).y, 1, 1e-12);
}

TEST_F(PolygonShapeTest, SnapsOfferCentreVerticesAndMidpoints) {
    MPolygonShape square = MakePolygon({{0, 0}, {4, 0}, {4, 4}, {0, 4}}, TRUE);
    const MFloatRect all(-10, -10, 10, 10);
    MSnapPoint centre;
    square.SnapPoints(centre, {2.5, 2}, all, kSnapCenter | kSnapEndPoint, DBL_MAX);
    EXPECT_EQ(centre.kind, kSnapCenter);
    EXPECT_EQ(centre.GetPoint(), MFloatPoint(2, 2));
    MSnapPoint mid;
    square.SnapPoints(mid, {-0.5, 2.2}, all, kSnapMidPoint, DBL_MAX);
    EXPECT_EQ(mid.kind, kSnapMidPoint);
    EXPECT_EQ(mid.GetPoint(), MFloatPoint(0, 2));  // the closing edge's midpoint
    square.SetVertexSnap(FALSE);
    MSnapPoint none;
    square.SnapPoints(none, {0, 0}, all, kSnapEndPoint | kSnapMidPoint, DBL_MAX);
    EXPECT_EQ(none.kind, 0);
    MPolygonShape open = MakePolygon({{0, 0}, {4, 0}, {4, 4}}, FALSE);
    MSnapPoint openCentre;
    open.SnapPoints(openCentre, {3, 1}, all, kSnapCenter, DBL_MAX);
    EXPECT_EQ(openCentre.kind, 0);
}

TEST_F(PolygonShapeTest, IntersectionsWithSegmentsCirclesAndOtherShapes) {
    MPolygonShape square = MakePolygon({{0, 0}, {4, 0}, {4, 4}, {0, 4}}, TRUE);
    MFloatPointArray out;
    EXPECT_EQ(square.IntersectSegment({-1, 2}, {5, 2}, &out, 3), 2);
    EXPECT_EQ(out[0], MFloatPoint(4, 2));
    EXPECT_EQ(out[1], MFloatPoint(0, 2));  // the closing edge comes last
    out.RemoveAll();
    EXPECT_EQ(square.IntersectCircle(0, 0, 2, 0, 2, &out), 2);
    MLineShape diagonal({-1, 3}, {3, -1});
    MSnapPoint snap;
    square.SnapIntersection(&diagonal, snap, {0.1, 2}, MFloatRect(-1, -1, 5, 5), DBL_MAX);
    EXPECT_EQ(snap.kind, kSnapIntersection);
    EXPECT_EQ(snap.GetPoint(), MFloatPoint(0, 2));
    MSnapPoint reverse;
    diagonal.SnapIntersection(&square, reverse, {2.1, 0}, MFloatRect(-1, -1, 5, 5), DBL_MAX);
    EXPECT_EQ(reverse.GetPoint(), MFloatPoint(2, 0));
    EXPECT_EQ(reverse.shape1, &square);
}

TEST_F(PolygonShapeTest, AreaSelection) {
    MPolygonShape square = MakePolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, TRUE);
    square.Recalc(&view);
    EXPECT_FALSE(square.IsInRect(MFloatRect(20, 20, 30, 30)));
    EXPECT_TRUE(square.IsInRect(MFloatRect(-1, 4, 1, 6)));  // on the closing edge
    EXPECT_TRUE(square.IsInRect(MFloatRect(4, 4, 6, 6)));   // holds the centre
    EXPECT_FALSE(square.IsInRect(MFloatRect(1, 1, 2, 2)));  // inside, away from edges and centre
    MPolygonShape open = MakePolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, FALSE);
    open.Recalc(&view);
    EXPECT_FALSE(open.IsInRect(MFloatRect(-1, 4, 1, 6)));
    EXPECT_TRUE(square.IntersectsRect(MFloatRect(5, 5, 15, 15)));
    EXPECT_FALSE(square.IntersectsRect(MFloatRect(-5, -5, 15, 15)));  // wholly inside
}

TEST_F(PolygonShapeTest, PointQueries) {
    MPolygonShape square = MakePolygon({{0, 0}, {4, 0}, {4, 4}, {0, 4}}, TRUE);
    EXPECT_TRUE(square.ContainsPoint({1, 1}));
    EXPECT_FALSE(square.ContainsPoint({0, 0}));
    EXPECT_TRUE(square.IsPointOnEdge({2, 0}));
    EXPECT_TRUE(square.IsPointOnEdge({0, 3}));
    EXPECT_FALSE(square.IsPointOnEdge({2, 0.001}));
    EXPECT_EQ(square.GetNearestEdge({2, 3.5}), 2);
    EXPECT_EQ(square.GetNearestEdge({-0.5, 2}), 3);
    MFloatPointArray feet;
    EXPECT_EQ(square.GetPerpendicularFeet({1, 1}, &feet), 4);
    MFloatPoint nearest;
    square.GetNearestPoint(&nearest, {1, 0.5});
    EXPECT_EQ(nearest, MFloatPoint(1, 0));
    square.GetNearestPoint(&nearest, {6, 7});
    EXPECT_EQ(nearest, MFloatPoint(4, 4));
    EXPECT_DOUBLE_EQ(square.GetDirectionAngle({2, 3.5}), kPi);
    MFloatPoint foot;
    EXPECT_DOUBLE_EQ(square.GetNormalAngle({5, 2}, &foot), kPi);
    EXPECT_EQ(foot, MFloatPoint(4, 2));
    EXPECT_EQ(MPolygonShape().GetDirectionAngle({0, 0}), DBL_MAX);
    MPolygonShape open = MakePolygon({{0, 0}, {4, 0}}, FALSE);
    EXPECT_FALSE(open.ContainsPoint({1, 0}));
    EXPECT_FALSE(open.IsPointOnEdge({1, 0}));
}

TEST_F(PolygonShapeTest, ValidityAndCopies) {
    EXPECT_FALSE(MakePolygon({{1, 1}}, FALSE).IsValid());
    EXPECT_FALSE(MakePolygon({{1, 1}, {1, 1}, {1, 1}}, FALSE).IsValid());
    EXPECT_TRUE(MakePolygon({{1, 1}, {1, 1}, {1, 2}}, FALSE).IsValid());

    MPolygonShape p = MakePolygon({{0, 0}, {3, 0}, {3, 3}}, FALSE);
    p.SetLineStyle(0x85);
    p.SetLineWidth(0.7);
    p.SetArrowsEx(3, 1.0, 4, 2.0);
    p.SetVertexSnap(FALSE);
    p.Recalc(&view);
    std::unique_ptr<MCadShape> clone(p.Clone());
    auto* copy = dynamic_cast<MPolygonShape*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetFlags(), p.GetFlags());
    EXPECT_EQ(copy->GetPointCount(), 3);
    EXPECT_EQ(copy->m_stroke.style, 0x85);
    EXPECT_EQ(copy->m_stroke.color, 0xFF0000u);
    EXPECT_EQ(copy->GetArrows(), p.GetArrows());
    EXPECT_EQ(copy->GetDrawExtent(), p.GetDrawExtent());
    std::unique_ptr<MCadShape> dup(p.Duplicate());
    EXPECT_EQ(static_cast<MPolygonShape*>(dup.get())->m_stroke.width, 0.7);
    EXPECT_EQ(dup->m_extent, p.m_extent);
}

TEST_F(PolygonShapeTest, LastPointOperations) {
    MPolygonShape p(FALSE);
    p.SetLastPoint({1, 1});
    p.RemoveLastPoint();
    EXPECT_EQ(p.GetLastPoint(), MFloatPoint());
    p.AddPoint({0, 0});
    p.AddPoint({1, 0});
    p.MoveLastPoint({2, 2});
    EXPECT_EQ(p.GetLastPoint(), MFloatPoint(2, 2));
    p.RemoveLastPoint();
    EXPECT_EQ(p.GetPointCount(), 1);
    EXPECT_THROW(p.SetPoint(3, {0, 0}), CInvalidArgException);
    EXPECT_THROW(p.GetPoint(1), CInvalidArgException);
}

TEST_F(PolygonShapeTest, DxfPolylineWithHeads) {
    // The first two vertices coincide: the start head takes its direction from the next edge.
    MPolygonShape p = MakePolygon({{1, 1}, {1, 1}, {1, 3}, {4, 3}}, FALSE);
    p.SetArrowsEx(5, 2.0, 6, 4.0);
    MDXFOutStream out;
    ExportShapeDxf(p, out, "A", {1, 0}, 2.0);
    EXPECT_EQ(out.GetText(),
              "  0\nPOLYLINE\n  8\nA\n  6\nCONTINUOUS\n 62\n7\n 66\n1\n 10\n0\n 20\n0\n 30\n0\n"
              "  0\nVERTEX\n  8\nA\n 10\n0\n 20\n1\n"
              "  0\nVERTEX\n  8\nA\n 10\n0\n 20\n1\n"
              "  0\nVERTEX\n  8\nA\n 10\n0\n 20\n3\n"
              "  0\nVERTEX\n  8\nA\n 10\n3\n 20\n3\n"
              "  0\nSEQEND\n"
              "  0\nCIRCLE\n  8\nA\n  6\nCONTINUOUS\n 62\n7\n 10\n0\n 20\n1\n 40\n0.5\n"
              "  0\nCIRCLE\n  8\nA\n  6\nCONTINUOUS\n 62\n7\n 10\n3\n 20\n3\n 40\n1\n");

    MPolygonShape closed = UnitSquare();
    closed.SetColor(RGB(255, 0, 0));
    MDXFOutStream closedOut;
    ExportShapeDxf(closed, closedOut, "0", {0, 0}, 1.0);
    EXPECT_NE(closedOut.GetText().find(" 30\n0\n 70\n1\n  0\nVERTEX\n"), std::string::npos);
    EXPECT_EQ(closedOut.GetText().find("CIRCLE"), std::string::npos);
    MDXFOutStream nothing;
    ExportShapeDxf(MakePolygon({{1, 1}}, FALSE), nothing, "0", {0, 0}, 1.0);
    EXPECT_EQ(nothing.GetText(), "");
}

TEST_F(PolygonShapeTest, JwcRecordsIncludeTheClosingEdgeAndOpenHeadsOnly) {
    MPolygonShape square = UnitSquare();
    square.SetLineStyle(0x88);
    MJWCLineArray lines;
    ExportShapeJwcLines(square, lines, 2, 1.0, 1.0);
    ASSERT_EQ(lines.GetSize(), 4);
    EXPECT_EQ(lines[3].x1, 0.0f);
    EXPECT_EQ(lines[3].y1, 1.0f);
    EXPECT_EQ(lines[3].x2, 0.0f);
    EXPECT_EQ(lines[3].y2, 0.0f);
    EXPECT_EQ(lines[3].lineType, 9);
    EXPECT_EQ(lines[3].pen, 2);  // no colour

    MPolygonShape open = MakePolygon({{0, 0}, {2, 0}, {2, 2}}, FALSE);
    open.SetArrowsEx(4, 2.0, 5, 2.0);
    MJWCLineArray openLines;
    ExportShapeJwcLines(open, openLines, 0, 1.0, 1.0);
    EXPECT_EQ(openLines.GetSize(), 2 + 2);  // two edges and the crossed strokes at the start
    MJWCArcArray arcs;
    ExportShapeJwcArcs(open, arcs, 0, 1.0, 1.0);
    ASSERT_EQ(arcs.GetSize(), 1);
    EXPECT_EQ(arcs[0].cx, 2.0f);
    EXPECT_EQ(arcs[0].cy, 2.0f);
    MJWCArcArray none;
    ExportShapeJwcArcs(square, none, 0, 1.0, 1.0);
    EXPECT_EQ(none.GetSize(), 0);
}

TEST_F(PolygonShapeTest, DrawsItsFillAndOutline) {
    MPolygonShape square = MakePolygon({{1, -1}, {5, -1}, {5, -3}, {1, -3}}, TRUE);
    square.SetFillStyle(MFillStyle(RGB(255, 0, 0)));
    square.SetColor(RGB(0, 0, 255));
    square.Recalc(&view);
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(100, 40));
    square.Draw(&view, &dc);
    dc.Flush();
    EXPECT_EQ(dc.GetPixel(30, 20), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(30, 10), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(10, 20), RGB(0, 0, 255));  // the closing edge
    EXPECT_EQ(dc.GetPixel(70, 20), 0xFFFFFFu);

    // An open polyline is filled too, and without colour only its fill shows.
    MPolygonShape open = MakePolygon({{1, -1}, {5, -1}, {5, -3}, {1, -3}}, FALSE);
    open.SetFillStyle(MFillStyle(RGB(0, 255, 0)));
    open.SetColor(kNoColor);
    open.Recalc(&view);
    CDC dc2;
    ASSERT_TRUE(dc2.CreateImageDC(100, 40));
    open.Draw(&view, &dc2);
    dc2.Flush();
    EXPECT_EQ(dc2.GetPixel(30, 20), RGB(0, 255, 0));
}

TEST_F(PolygonShapeTest, PixelHitTestsSeeTheFilledFace) {
    MPolygonShape square = MakePolygon({{0, 0}, {10, 0}, {10, -10}, {0, -10}}, TRUE);
    square.Recalc(&view);
    EXPECT_FALSE(square.HitTestPixel(&view, CPoint(50, 50), 3));  // hollow: only the edges count
    EXPECT_TRUE(square.HitTestPixel(&view, CPoint(50, 2), 3));
    square.SetFillStyle(MFillStyle(RGB(255, 255, 0)));
    EXPECT_TRUE(square.HitTestPixel(&view, CPoint(50, 50), 3));
}
