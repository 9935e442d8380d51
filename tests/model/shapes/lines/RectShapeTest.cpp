#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "interchange/DxfOutStream.h"
#include "interchange/DxfShapeExport.h"
#include "interchange/JwcRecords.h"
#include "interchange/JwcShapeExport.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/lines/RectShape.h"
#include "tests/model/shapes/curves/CurveTestSupport.h"

using namespace shapetest;
using namespace curvetest;

namespace {

class RectShapeTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureRegistered();
        PointEditFlag = FALSE;
    }
    void TearDown() override { PointEditFlag = FALSE; }
    TestView view;
};

MRectShape Rect(double x, double y, double w, double h) {
    MRectShape r;
    r.SetRect(x, y, w, h);
    return r;
}

// The corners as a set, so that the turning order does not matter.
std::vector<std::pair<double, double>> Corners(const MFloatPointArray& points) {
    std::vector<std::pair<double, double>> c;
    for (const MFloatPoint& p : points)
        c.emplace_back(std::round(p.x * 1e9) / 1e9 + 0.0, std::round(p.y * 1e9) / 1e9 + 0.0);
    std::sort(c.begin(), c.end());
    return c;
}

// Origin and size, which are all that is stored, describe the same corners as the outline.
void ExpectStoredFormMatches(const MRectShape& r) {
    std::unique_ptr<MRectShape> stored = LoadObject<MRectShape>(StoreObject(&r));
    ASSERT_TRUE(stored);
    EXPECT_EQ(Corners(stored->GetPoints()), Corners(r.GetPoints()));
    // The text form keeps six significant digits.
    std::unique_ptr<MCadShape> read = ReadShape(ShapeText(r));
    ASSERT_TRUE(read);
    const auto expected = Corners(r.GetPoints()), got = Corners(read->GetPoints());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(got[i].first, expected[i].first, 1e-4);
        EXPECT_NEAR(got[i].second, expected[i].second, 1e-4);
    }
}

}  // namespace

TEST_F(RectShapeTest, CornersClockwiseFromTopLeft) {
    MRectShape r = Rect(0, 0, 10, 5);
    ASSERT_EQ(r.GetPointCount(), 4);
    EXPECT_EQ(r.GetPoint(0), MFloatPoint(0, 5));
    EXPECT_EQ(r.GetPoint(1), MFloatPoint(10, 5));
    EXPECT_EQ(r.GetPoint(2), MFloatPoint(10, 0));
    EXPECT_EQ(r.GetPoint(3), MFloatPoint(0, 0));
    EXPECT_TRUE(r.IsValid());
    EXPECT_FALSE(Rect(0, 0, 10, 0).IsValid());
    EXPECT_FALSE(Rect(0, 0, 0, 3).IsValid());
    EXPECT_TRUE(r.IsClosed());
    EXPECT_TRUE(r.IsVertexSnap());
    EXPECT_FALSE(r.IsPointEditMode());
    EXPECT_EQ(r.GetTypeName(), "RECT");
    EXPECT_EQ(r.GetTypeId(), 6);
    EXPECT_DOUBLE_EQ(r.GetArea(), 50.0);

    // A negative size gives the same corners in the opposite turning order.
    MRectShape n = Rect(10, 5, -10, -5);
    EXPECT_EQ(n.GetPoint(0), MFloatPoint(10, 0));
    EXPECT_EQ(n.GetPoint(1), MFloatPoint(0, 0));
    EXPECT_EQ(n.GetPoint(2), MFloatPoint(0, 5));
    EXPECT_EQ(n.GetPoint(3), MFloatPoint(10, 5));
    EXPECT_EQ(Corners(n.GetPoints()), Corners(r.GetPoints()));
}

TEST_F(RectShapeTest, MoveCarriesTheOrigin) {
    MRectShape r = Rect(0, 0, 10, 5);
    r.Move({1, 1});
    EXPECT_EQ(r.m_origin, MFloatPoint(1, 1));
    EXPECT_EQ(r.GetPoint(1), MFloatPoint(11, 6));
    EXPECT_EQ(ShapeText(r), "RECT\n\t1 1 10 5 0 0 0 16777216\n");
}

TEST_F(RectShapeTest, CloneIsAPlainPolygon) {
    MRectShape r = Rect(0, 0, 10, 5);
    r.SetColor(RGB(9, 9, 9));
    for (BOOL pointEdit : {FALSE, TRUE}) {
        PointEditFlag = pointEdit;
        std::unique_ptr<MCadShape> clone(r.Clone());
        EXPECT_EQ(clone->GetRuntimeClass(), RUNTIME_CLASS(MPolygonShape));
        EXPECT_EQ(clone->GetTypeName(), "POLYGON");
        EXPECT_EQ(clone->GetPoints().GetSize(), 4);
        EXPECT_EQ(clone->GetColor(), RGB(9, 9, 9));
    }
    // The copies the tools make through Clone are polygons as well.
    std::unique_ptr<MCadShape> turned(r.CreateRotated(0, 0, kPi / 6));
    EXPECT_EQ(turned->GetTypeName(), "POLYGON");
    std::unique_ptr<MCadShape> mirrored(r.CreateMirroredX(0, 0));
    EXPECT_EQ(mirrored->GetTypeName(), "POLYGON");
    EXPECT_EQ(mirrored->GetPoints()[1], MFloatPoint(-10, 5));
}

TEST_F(RectShapeTest, InPlaceTransformsKeepOriginSizeAndCornersOne) {
    MRectShape r = Rect(1, 2, 4, 3);
    r.ScaleXY({0, 0}, -2, 1);
    EXPECT_EQ(r.m_origin, MFloatPoint(-2, 2));
    EXPECT_EQ(r.m_size, MFloatSize(-8, 3));
    EXPECT_EQ(Corners(r.GetPoints()),
              (std::vector<std::pair<double, double>>{{-10, 2}, {-10, 5}, {-2, 2}, {-2, 5}}));
    ExpectStoredFormMatches(r);

    MRectShape m = Rect(1, 2, 4, 3);
    m.MirrorX(0, 0);
    EXPECT_EQ(Corners(m.GetPoints()),
              (std::vector<std::pair<double, double>>{{-5, 2}, {-5, 5}, {-1, 2}, {-1, 5}}));
    ExpectStoredFormMatches(m);
    m.MirrorY(0, 1);
    EXPECT_EQ(Corners(m.GetPoints()),
              (std::vector<std::pair<double, double>>{{-5, -3}, {-5, 0}, {-1, -3}, {-1, 0}}));
    ExpectStoredFormMatches(m);

    MRectShape q = Rect(1, 2, 4, 3);
    q.Rotate(0, 0, kPi / 2);
    EXPECT_EQ(Corners(q.GetPoints()),
              (std::vector<std::pair<double, double>>{{-5, 1}, {-5, 5}, {-2, 1}, {-2, 5}}));
    ExpectStoredFormMatches(q);
    q.Rotate(1, 1, -kPi);
    EXPECT_EQ(Corners(q.GetPoints()),
              (std::vector<std::pair<double, double>>{{4, -3}, {4, 1}, {7, -3}, {7, 1}}));
    ExpectStoredFormMatches(q);

    // Thirty degrees cannot be an axis-parallel rectangle: the centre turns, the size stays.
    MRectShape t = Rect(-1, -1, 2, 2);
    t.Move({10, 0});
    t.Rotate(0, 0, kPi / 6);
    const MFloatPoint centre = t.m_origin + MFloatPoint(1, 1);
    EXPECT_NEAR(centre.x, 10 * std::cos(kPi / 6), 1e-9);
    EXPECT_NEAR(centre.y, 10 * std::sin(kPi / 6), 1e-9);
    EXPECT_EQ(t.m_size, MFloatSize(2, 2));
    ExpectStoredFormMatches(t);
}

TEST_F(RectShapeTest, PointEditCornerKeepsARectangle) {
    MRectShape r = Rect(0, 0, 10, 5);
    PointEditFlag = TRUE;
    ASSERT_EQ(r.GetHandleCount(), 4);
    EXPECT_EQ(r.GetHandle(1), MFloatPoint(10, 5));
    int index = 1;
    r.MoveHandle(&index, {12, 8}, FALSE);
    EXPECT_EQ(r.GetPoint(1), MFloatPoint(12, 8));
    EXPECT_EQ(r.GetPoint(3), MFloatPoint(0, 0));  // the opposite corner stays
    EXPECT_EQ(r.GetPoint(0), MFloatPoint(0, 8));
    EXPECT_EQ(r.GetPoint(2), MFloatPoint(12, 0));
    EXPECT_EQ(r.m_size, MFloatSize(12, 8));
    ExpectStoredFormMatches(r);
    index = 3;
    r.MoveHandle(&index, {-2, -1}, FALSE);
    EXPECT_EQ(r.m_origin, MFloatPoint(-2, -1));
    EXPECT_EQ(r.GetPoint(1), MFloatPoint(12, 8));
    index = 4;
    EXPECT_THROW(r.MoveHandle(&index, {0, 0}, FALSE), CInvalidArgException);

    PointEditFlag = FALSE;
    r.Recalc(&view);
    index = kHandleRight;
    r.MoveHandle(&index, {26, 0}, FALSE);  // the extent stretch doubles the width
    EXPECT_EQ(r.m_size, MFloatSize(28, 9));
    ExpectStoredFormMatches(r);
}

TEST_F(RectShapeTest, SnapsCornersMidpointsAndCentre) {
    MRectShape r = Rect(0, 0, 10, 4);
    EXPECT_EQ(Snap(r, {9, 3.5}, kSnapEndPoint).GetPoint(), MFloatPoint(10, 4));
    MSnapPoint mid = Snap(r, {5, 0.5}, kSnapEndPoint | kSnapMidPoint);
    EXPECT_EQ(mid.kind, kSnapMidPoint);
    EXPECT_EQ(mid.GetPoint(), MFloatPoint(5, 0));
    MSnapPoint centre = Snap(r, {5, 2}, kSnapCenter | kSnapMidPoint);
    EXPECT_EQ(centre.kind, kSnapCenter);
    EXPECT_EQ(centre.GetPoint(), MFloatPoint(5, 2));
}

TEST_F(RectShapeTest, RoundTrips) {
    MRectShape r = Rect(1.5, -2, 4, -3);
    r.SetColor(RGB(255, 0, 255));
    r.SetLineWidth(0.18);
    r.SetLineStyle(4);
    r.SetFillStyle(MFillStyle(RGB(0, 0, 128)));
    EXPECT_EQ(ShapeText(r), "RECT\n\t1.5 -2 4 -3 16711935 4 0.18 8388608\n");
    std::unique_ptr<MRectShape> text = TextRoundTrip(r);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->m_size, MFloatSize(4, -3));
    EXPECT_EQ(text->GetPoint(2), r.GetPoint(2));
    std::unique_ptr<MRectShape> archived = ArchiveRoundTrip(r);
    ASSERT_TRUE(archived);
    EXPECT_EQ(archived->GetPoint(0), r.GetPoint(0));
    EXPECT_EQ(archived->GetLineWidth(), 0.18);
    EXPECT_EQ(archived->GetFillStyle(), r.GetFillStyle());
    // origin, size, colour, width, style and a one-colour fill; no arrows, no vertices.
    std::unique_ptr<MRectShape> copy(static_cast<MRectShape*>(r.Duplicate()));
    EXPECT_EQ(copy->m_origin, r.m_origin);
}

TEST_F(RectShapeTest, ExportsAreThePolygons) {
    MRectShape r = Rect(0, 0, 2, 1);
    MDXFOutStream out;
    ExportShapeDxf(r, out, "0", {0, 0}, 1.0);
    EXPECT_EQ(DxfEntities(out.GetText()),
              (std::vector<std::string>{"POLYLINE", "VERTEX", "VERTEX", "VERTEX", "VERTEX", "SEQEND"}));
    MJWCLineArray lines;
    ExportShapeJwcLines(r, lines, 0, 1.0, 1.0);
    ASSERT_EQ(lines.GetSize(), 4);
    EXPECT_EQ(lines[3].x1, 0.0f);
    EXPECT_EQ(lines[3].y1, 0.0f);
    EXPECT_EQ(lines[3].x2, 0.0f);
    EXPECT_EQ(lines[3].y2, 1.0f);
}

TEST_F(RectShapeTest, HitTestOnTheEdges) {
    MRectShape r = Rect(0, 0, 10, 5);
    MFloatPoint foot;
    EXPECT_TRUE(r.HitTest(&view, CPoint(50, -48), &foot, 3));
    EXPECT_EQ(foot, MFloatPoint(5, 5));
    EXPECT_FALSE(r.HitTest(&view, CPoint(50, -25), &foot, 3));
}
