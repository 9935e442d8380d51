#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <memory>
#include <random>
#include <typeinfo>

#include "interchange/DxfOutStream.h"
#include "interchange/DxfShapeExport.h"
#include "interchange/JwcRecords.h"
#include "interchange/JwcShapeExport.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/curves/CircleShape.h"
#include "tests/model/shapes/curves/CurveTestSupport.h"

using namespace shapetest;
using namespace curvetest;

namespace {

class CircleShapeTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureRegistered();
        PointEditFlag = FALSE;
    }
    void TearDown() override { PointEditFlag = FALSE; }
    TestView view;
};

MCircleShape Circle(double cx, double cy, double r) {
    MCircleShape c;
    c.SetCircle(cx, cy, r);
    return c;
}

void ExpectNear(const MFloatPoint& a, const MFloatPoint& b, double tol = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
}

}  // namespace

TEST_F(CircleShapeTest, OutlineHas48PointsCounterClockwiseFromPlusX) {
    MCircleShape c = Circle(0, 0, 10);
    ASSERT_EQ(c.GetPointCount(), 48);
    ExpectNear(c.GetPoint(0), {10, 0});
    ExpectNear(c.GetPoint(12), {0, 10});
    ExpectNear(c.GetPoint(24), {-10, 0});
    ExpectNear(c.GetPoint(36), {0, -10});
    EXPECT_NEAR(c.GetArea(), 314.1592653589793, 1e-9);
    EXPECT_TRUE(c.IsClosed());
    EXPECT_FALSE(c.IsVertexSnap());
    EXPECT_EQ(c.GetTypeId(), 2);
    EXPECT_EQ(c.GetTypeName(), "CIRCLE");
    EXPECT_TRUE(c.IsValid());
    EXPECT_FALSE(Circle(0, 0, 0).IsValid());
    EXPECT_FALSE(c.IsPointEditMode());
    EXPECT_FALSE(c.HasDirection());
    EXPECT_FALSE(c.HasNormal());
    EXPECT_TRUE(c.HasTangent());
}

TEST_F(CircleShapeTest, ScalingKeepsACircle) {
    MCircleShape c = Circle(0, 0, 10);
    c.ScaleXY({0, 0}, 2, 4);
    EXPECT_EQ(c.m_radius, 30.0);
    EXPECT_EQ(c.m_center, MFloatPoint(0, 0));
    ExpectNear(c.GetPoint(12), {0, 30});
    c.ScaleXY({0, 0}, 2, 1e-16);  // a vanishing factor changes nothing
    EXPECT_EQ(c.m_radius, 30.0);

    // Negative factors mirror the centre; the radius takes the absolute mean.
    MCircleShape m = Circle(3, 0, 2);
    m.ScaleXY({1, 0}, -2, 1);
    ExpectNear(m.m_center, {-3, 0});
    EXPECT_DOUBLE_EQ(m.m_radius, 3.0);
    ExpectNear(m.GetPoint(0), {0, 0});
}

TEST_F(CircleShapeTest, RadiusHandlesInPointEditMode) {
    MCircleShape c = Circle(0, 0, 10);
    c.Recalc(&view);
    EXPECT_EQ(c.GetHandleCount(), 8);
    ExpectNear(c.GetHandle(kHandleTopRight), {10, 10});
    PointEditFlag = TRUE;
    ASSERT_EQ(c.GetHandleCount(), 4);
    EXPECT_EQ(c.GetHandle(0), MFloatPoint(0, 10));
    EXPECT_EQ(c.GetHandle(3), MFloatPoint(-10, 0));
    EXPECT_EQ(c.GetHandle(9), MFloatPoint(0, 0));
    int index = 1;
    c.MoveHandle(&index, {25, 3}, FALSE);
    EXPECT_EQ(c.m_radius, 25.0);
    ExpectNear(c.GetPoint(0), {25, 0});
    c.MoveHandle(&index, {0, 40}, FALSE);  // onto the centre's x: nothing
    EXPECT_EQ(c.m_radius, 25.0);
    index = 2;
    c.MoveHandle(&index, {100, -7}, FALSE);
    EXPECT_EQ(c.m_radius, 7.0);
    index = 5;
    c.MoveHandle(&index, {50, 50}, FALSE);
    EXPECT_EQ(c.m_radius, 7.0);
}

TEST_F(CircleShapeTest, ExtentHandlesStretchThroughScaling) {
    MCircleShape c = Circle(0, 0, 10);
    c.Recalc(&view);
    int index = kHandleTopRight;
    c.MoveHandle(&index, {30, 30}, FALSE);  // anchor (-10, -10), factor 2 on both axes
    ExpectNear(c.m_center, {10, 10});
    EXPECT_DOUBLE_EQ(c.m_radius, 20.0);
    ExpectNear(c.GetPoint(0), {30, 10});
}

TEST_F(CircleShapeTest, TangentAngles) {
    MCircleShape c = Circle(0, 0, 10);
    EXPECT_DOUBLE_EQ(c.GetTangentAngle({0, 10}, nullptr), kPi);
    EXPECT_DOUBLE_EQ(c.GetTangentAngle({0, -10}, nullptr), -kPi);
    EXPECT_DOUBLE_EQ(c.GetTangentAngle({10, 0}, nullptr), kPi / 2);
    // Off the circle the cosine would leave [-1, 1]: the nearest circle point answers, never NaN.
    EXPECT_DOUBLE_EQ(c.GetTangentAngle({10.5, 1}, nullptr), kPi / 2);
    EXPECT_DOUBLE_EQ(c.GetTangentAngle({-30, 1}, nullptr), 1.5 * kPi);

    MFloatPoint inside(3, 0), on(10, 0), outside(20, 0);
    EXPECT_EQ(c.GetTangentAngle({5, 5}, &inside), DBL_MAX);
    EXPECT_EQ(c.GetTangentAngle({5, 5}, &on), DBL_MAX);
    EXPECT_NEAR(c.GetTangentAngle({5, 8}, &outside), kPi - std::asin(0.5), 1e-12);
    EXPECT_NEAR(c.GetTangentAngle({5, -8}, &outside), kPi + std::asin(0.5), 1e-12);
    EXPECT_EQ(Circle(0, 0, 0).GetTangentAngle({1, 1}, nullptr), DBL_MAX);
}

TEST_F(CircleShapeTest, IntersectionsWithCircles) {
    MCircleShape c = Circle(0, 0, 10);
    MFloatPointArray out;
    EXPECT_EQ(c.IntersectCircle(0, 0, 7, 3, 10, &out), 1);
    ASSERT_EQ(out.GetSize(), 1);
    EXPECT_EQ(out[0], MFloatPoint(7, 3));
    EXPECT_EQ(c.IntersectCircle(0, 0, 7, 3, 11, &out), 0);
    // Callers that hold any shape (the circle search of numeric input) reach the same answer.
    const MCadShape& shape = c;
    EXPECT_EQ(shape.IntersectCircle(0, 0, -6, 8, 10, &out), 1);
    ASSERT_EQ(out.GetSize(), 2);
    EXPECT_EQ(out[1], MFloatPoint(-6, 8));

    MFloatPointArray crossings;
    ASSERT_EQ(c.IntersectCircle(10, 0, 5, 5, 10, &crossings), 2);
    for (const MFloatPoint& p : crossings) {
        EXPECT_NEAR(p.x, 5, 0.1);
        EXPECT_NEAR(std::fabs(p.y), 8.66, 0.1);
    }
    MFloatPointArray line;
    EXPECT_EQ(c.IntersectSegment({-20, 1}, {20, 1}, &line, kBoundedA | kBoundedB), 2);
}

TEST_F(CircleShapeTest, HitTestOnTheOutlineOnly) {
    MCircleShape c = Circle(0, 0, 10);
    c.SetFillStyle(MFillStyle(RGB(255, 0, 0)));
    MFloatPoint foot(-1, -1);
    EXPECT_FALSE(c.HitTest(&view, CPoint(0, 0), &foot, 3));  // the centre never hits
    EXPECT_EQ(foot, MFloatPoint(-1, -1));
    EXPECT_TRUE(c.HitTest(&view, CPoint(102, 0), &foot, 3));
    ExpectNear(foot, {10, 0});
    EXPECT_FALSE(c.HitTest(&view, CPoint(103, 0), &foot, 3));
    EXPECT_TRUE(c.HitTest(&view, CPoint(0, -98), &foot, 3));  // logical y points down
    ExpectNear(foot, {0, 10});
    EXPECT_FALSE(c.HitTest(&view, CPoint(40, 0), &foot, 3));  // inside, filled or not
}

TEST_F(CircleShapeTest, SnapsCentreAndEightRimPoints) {
    MCircleShape c = Circle(1, 1, 10);
    MSnapPoint centre = Snap(c, {1.5, 1}, kSnapEndPoint | kSnapMidPoint | kSnapCenter);
    EXPECT_EQ(centre.kind, kSnapCenter);
    EXPECT_EQ(centre.GetPoint(), MFloatPoint(1, 1));
    MSnapPoint top = Snap(c, {1, 10}, kSnapMidPoint | kSnapCenter);
    EXPECT_EQ(top.kind, kSnapMidPoint);
    EXPECT_EQ(top.GetPoint(), MFloatPoint(1, 11));
    const double b = 10 / std::sqrt(2.0);
    MSnapPoint diagonal = Snap(c, {8, -6}, kSnapMidPoint);
    ExpectNear(diagonal.GetPoint(), {1 + b, 1 - b});
    EXPECT_EQ(Snap(c, {11, 1}, kSnapEndPoint).kind, 0);  // no end points, nor vertices
    EXPECT_EQ(Snap(c, {11, 1}, kSnapIntersection).kind, 0);
}

TEST_F(CircleShapeTest, CloneIsAPolygonOutsidePointEdit) {
    MCircleShape c = Circle(0, 0, 5);
    c.SetColor(RGB(1, 2, 3));
    std::unique_ptr<MCadShape> plain(c.Clone());
    EXPECT_EQ(plain->GetRuntimeClass(), RUNTIME_CLASS(MPolygonShape));
    EXPECT_EQ(plain->GetTypeName(), "POLYGON");
    EXPECT_EQ(plain->GetPoints().GetSize(), 48);
    EXPECT_EQ(plain->GetColor(), RGB(1, 2, 3));
    PointEditFlag = TRUE;
    std::unique_ptr<MCadShape> circle(c.Clone());
    EXPECT_EQ(circle->GetRuntimeClass(), RUNTIME_CLASS(MCircleShape));
}

TEST_F(CircleShapeTest, MirrorsAndRotationsMoveTheCentre) {
    MCircleShape c = Circle(1, 2, 3);
    c.MirrorX(5, 0);
    ExpectNear(c.m_center, {9, 2});
    ExpectNear(c.GetPoint(0), {12, 2});
    c.MirrorY(0, -1);
    ExpectNear(c.m_center, {9, -4});
    c.Rotate(0, 0, kPi / 2);
    ExpectNear(c.m_center, {4, 9});
    ExpectNear(c.GetPoint(0), {7, 9});

    // The copies stay circles whatever the point-edit flag says.
    std::unique_ptr<MCadShape> turned(c.CreateRotated(4, 0, kPi));
    ASSERT_EQ(turned->GetRuntimeClass(), RUNTIME_CLASS(MCircleShape));
    ExpectNear(static_cast<MCircleShape*>(turned.get())->m_center, {4, -9});
    std::unique_ptr<MCadShape> mirrored(c.CreateMirroredX(0, 0));
    ASSERT_EQ(mirrored->GetRuntimeClass(), RUNTIME_CLASS(MCircleShape));
    ExpectNear(static_cast<MCircleShape*>(mirrored.get())->m_center, {-4, 9});
    std::unique_ptr<MCadShape> flipped(c.CreateMirroredY(0, 10));
    ExpectNear(static_cast<MCircleShape*>(flipped.get())->m_center, {4, 11});
    ExpectNear(c.m_center, {4, 9});  // the source is untouched

    c.Move({1, 1});
    ExpectNear(c.m_center, {5, 10});
    ExpectNear(c.GetPoint(0), {8, 10});
}

TEST_F(CircleShapeTest, ArchiveFormRoundTripsAndRebuildsTheOutline) {
    MCircleShape c = Circle(1.25, -2.5, 3.75);
    c.SetColor(RGB(10, 20, 30));
    c.SetLineWidth(0.35);
    c.SetLineStyle(2);
    c.SetFillStyle(MFillStyle(kFillCircular, 0.5, 0.5, RGB(255, 0, 0), RGB(0, 0, 255)));
    c.m_arrows = MArrowInfo(1, 2.0, 3, 4.0);  // part of the archive form, not of the text form
    std::unique_ptr<MCircleShape> copy = ArchiveRoundTrip(c);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->m_center, c.m_center);
    EXPECT_EQ(copy->m_radius, c.m_radius);
    EXPECT_EQ(copy->GetFillStyle(), c.GetFillStyle());
    EXPECT_EQ(copy->m_arrows, c.m_arrows);
    ASSERT_EQ(copy->GetPointCount(), 48);
    EXPECT_EQ(copy->GetPoint(7), c.GetPoint(7));

    // 2 + 8 + 4 + 8 + 4 doubles and ints, the fill and the arrows; no vertex list.
    const std::vector<BYTE> bytes = StoreObject(&c);
    EXPECT_LT(bytes.size(), 200u);
}

TEST_F(CircleShapeTest, TextFormKeepsEverythingButTheArrows) {
    MCircleShape c = Circle(1.5, -2, 3);
    c.SetColor(RGB(255, 0, 0));
    c.SetLineStyle(3);
    c.SetLineWidth(0.5);
    c.SetFillStyle(MFillStyle(RGB(0, 255, 0)));
    c.m_arrows = MArrowInfo(1, 2.0, 1, 2.0);
    EXPECT_EQ(ShapeText(c), "CIRCLE\n\t1.5 -2 3 255 3 0.5 65280\n");
    std::unique_ptr<MCircleShape> copy = TextRoundTrip(c);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->m_center, c.m_center);
    EXPECT_EQ(copy->GetColor(), c.GetColor());
    EXPECT_EQ(copy->GetFillStyle(), c.GetFillStyle());
    EXPECT_EQ(copy->m_arrows, MArrowInfo());
    ExpectNear(copy->GetPoint(12), {1.5, 1});

    // Extra fields are skipped; a damaged record gives no shape.
    std::unique_ptr<MCadShape> extra = ReadShape("CIRCLE\n\t0 0 2 0 0 0 16777216 whatever\n");
    ASSERT_TRUE(extra);
    EXPECT_EQ(static_cast<MCircleShape*>(extra.get())->m_radius, 2.0);
    EXPECT_FALSE(ReadShape("CIRCLE\n\t0 0 x\n"));
}

TEST_F(CircleShapeTest, DxfCircleEntity) {
    MCircleShape c = Circle(3, 4, 2.5);
    MDXFOutStream out;
    ExportShapeDxf(c, out, "L1", {1, 1}, 1.0);
    EXPECT_EQ(out.GetText(), "  0\nCIRCLE\n  8\nL1\n  6\nCONTINUOUS\n 62\n7\n 10\n2\n 20\n3\n 40\n2.5\n");
}

TEST_F(CircleShapeTest, JwcFullCircleRecord) {
    MCircleShape c = Circle(3, 4, 2.5);
    c.SetColor(RGB(255, 0, 0));
    c.SetLineStyle(1);
    MJWCArcArray arcs;
    ExportShapeJwcArcs(c, arcs, 5, 2.0, 1.0);
    ASSERT_EQ(arcs.GetSize(), 1);
    const MJWCArc& r = arcs[0];
    EXPECT_EQ(r.cx, 6.0f);
    EXPECT_EQ(r.cy, 8.0f);
    EXPECT_EQ(r.radius, 5.0f);
    EXPECT_EQ(r.flatness, 10000);
    EXPECT_EQ(r.startAngle, 0);
    EXPECT_EQ(r.endAngle, 0);
    EXPECT_EQ(r.tilt, 0);
    EXPECT_EQ(r.lineType, 2);
    EXPECT_EQ(r.pen, 2);
    EXPECT_EQ(r.layer, 5);
    // The record as the file holds it: three floats, the flatness, three angles, three bytes, padding.
    std::string bytes;
    arcs.AppendTo(bytes);
    std::string expected;
    for (float f : {6.0f, 8.0f, 5.0f})
        expected.append(reinterpret_cast<const char*>(&f), 4);
    expected += std::string("\x10\x27", 2) + std::string(12, '\0') + "\x02\x02\x05" + std::string(3, '\0');
    EXPECT_EQ(bytes, expected);
    MJWCLineArray lines;
    ExportShapeJwcLines(c, lines, 5, 2.0, 1.0);
    EXPECT_EQ(lines.GetSize(), 0);
}

TEST_F(CircleShapeTest, FactoryMakesCircles) {
    std::unique_ptr<MCadShape> byName(GetShapeFactory().CreateByName("CIRCLE"));
    ASSERT_TRUE(byName);
    EXPECT_EQ(byName->GetRuntimeClass(), RUNTIME_CLASS(MCircleShape));
    std::unique_ptr<MCadShape> byId(GetShapeFactory().CreateById(2));
    ASSERT_TRUE(byId);
    EXPECT_EQ(byId->GetTypeName(), "CIRCLE");
}

// Block placements copy circles by the thousand: the direct copy must be what storing and loading
// gave, whatever the circle's style, fill, arrows, moves and kept vertices.
TEST_F(CircleShapeTest, DuplicateIsWhatStoringAndLoadingGave) {
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> coordinate(-1e7, 1e7), unit(0.0, 1.0);
    for (int i = 0; i < 500; ++i) {
        MCircleShape circle = Circle(coordinate(rng), coordinate(rng), unit(rng) * std::pow(10.0, i % 9 - 3));
        circle.m_stroke = MStroke{static_cast<COLORREF>(rng()), static_cast<int>(rng() % 300) - 1, unit(rng)};
        switch (i % 4) {
            case 0:
                break;
            case 1:
                circle.SetFillStyle(MFillStyle(kFillLinear, unit(rng), unit(rng), unit(rng),
                                               static_cast<COLORREF>(rng() & 0xFFFFFF), 0x00FF00));
                break;
            case 2: {
                // Cleared after a gradation: no colours, but the centre and angle still set.
                MFillStyle cleared(kFillLinear, 1.5, 0.25, 0.75, 0xFF, 0xFF00);
                cleared.Clear();
                circle.SetFillStyle(cleared);
                break;
            }
            default:
                circle.SetFillStyle(MFillStyle());
                circle.m_fill.SetColor(static_cast<COLORREF>(rng() & 0xFFFFFF));
                break;
        }
        circle.m_arrows =
            MArrowInfo(static_cast<int>(rng() % 5), unit(rng), static_cast<int>(rng() % 5), unit(rng));
        for (int m = 0; m < i % 4; ++m)
            circle.Move(MFloatPoint(coordinate(rng) * 1e-3, coordinate(rng)));
        if (i % 7 == 0) circle.SetPoint(0, circle.GetPoint(0));
        circle.Recalc(&view);

        const std::unique_ptr<MCadShape> direct(circle.Duplicate());
        const std::unique_ptr<MCadShape> stored(circle.MCadShape::Duplicate());
        ASSERT_EQ(typeid(*direct), typeid(MCircleShape));
        EXPECT_EQ(StoreObject(direct.get()), StoreObject(stored.get())) << i;
        const auto& a = static_cast<const MCircleShape&>(*direct);
        const auto& b = static_cast<const MCircleShape&>(*stored);
        EXPECT_EQ(a.GetFlags(), b.GetFlags());
        EXPECT_EQ(a.m_fill.GetKind(), b.m_fill.GetKind());
        EXPECT_EQ(a.m_fill.GetCenterX(), b.m_fill.GetCenterX());
        EXPECT_EQ(a.m_fill.GetAngle(), b.m_fill.GetAngle());
        EXPECT_TRUE(a.GetExtent() == b.GetExtent());
        const MFloatPointArray& pa = a.GetPoints();
        const MFloatPointArray& pb = b.GetPoints();
        ASSERT_EQ(pa.GetSize(), pb.GetSize());
        for (int k = 0; k < pa.GetSize(); ++k)
            ASSERT_TRUE(pa[k].x == pb[k].x && pa[k].y == pb[k].y) << i << " vertex " << k;
    }
}
