#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "interchange/DxfOutStream.h"
#include "interchange/DxfShapeExport.h"
#include "interchange/JwcRecords.h"
#include "interchange/JwcShapeExport.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/curves/EllipseShape.h"
#include "tests/model/shapes/curves/CurveTestSupport.h"

using namespace shapetest;
using namespace curvetest;

namespace {

class EllipseShapeTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureRegistered();
        PointEditFlag = FALSE;
    }
    void TearDown() override { PointEditFlag = FALSE; }
    TestView view;
};

MEllipseShape Ellipse(double cx, double cy, double rx, double ry) {
    MEllipseShape e;
    e.SetEllipse(cx, cy, rx, ry);
    return e;
}

void ExpectNear(const MFloatPoint& a, const MFloatPoint& b, double tol = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
}

// Every vertex of a has a vertex of b within tol (the same outline, whatever the start vertex).
void ExpectSameOutline(const MFloatPointArray& a, const MFloatPointArray& b, double tol = 1e-9) {
    ASSERT_EQ(a.GetSize(), b.GetSize());
    for (const MFloatPoint& p : a) {
        double nearest = 1e300;
        for (const MFloatPoint& q : b)
            nearest = std::min(nearest, (p - q).GetLength());
        EXPECT_LT(nearest, tol) << p.x << " " << p.y;
    }
}

// What the stored form says: a copy read back from the archive has the shape's own outline.
void ExpectStoredFormMatches(const MEllipseShape& e) {
    std::unique_ptr<MEllipseShape> stored = LoadObject<MEllipseShape>(StoreObject(&e));
    ASSERT_TRUE(stored);
    ExpectSameOutline(stored->GetPoints(), e.GetPoints());
}

}  // namespace

TEST_F(EllipseShapeTest, OutlineFromCentreAndRadii) {
    MEllipseShape e = Ellipse(0, 0, 4, 2);
    ASSERT_EQ(e.GetPointCount(), 48);
    ExpectNear(e.GetPoint(0), {4, 0});
    ExpectNear(e.GetPoint(12), {0, 2});
    ExpectNear(e.GetPoint(36), {0, -2});
    EXPECT_TRUE(e.IsClosed());
    EXPECT_FALSE(e.IsVertexSnap());
    EXPECT_FALSE(e.HasDirection());
    EXPECT_FALSE(e.HasNormal());
    EXPECT_FALSE(e.HasTangent());
    EXPECT_FALSE(e.IsPointEditMode());
    EXPECT_EQ(e.GetTypeName(), "ELLIPSE");
    EXPECT_EQ(e.GetTypeId(), 5);
}

TEST_F(EllipseShapeTest, CreateRotatedByQuarterTurnsStaysAnEllipse) {
    MEllipseShape e = Ellipse(0, 0, 4, 2);
    std::unique_ptr<MCadShape> quarter(e.CreateRotated(0, 0, kPi / 2));
    ASSERT_EQ(quarter->GetRuntimeClass(), RUNTIME_CLASS(MEllipseShape));
    auto* q = static_cast<MEllipseShape*>(quarter.get());
    EXPECT_EQ(q->m_radiusX, 2.0);
    EXPECT_EQ(q->m_radiusY, 4.0);
    std::unique_ptr<MCadShape> half(e.CreateRotated(0, 0, kPi));
    auto* h = static_cast<MEllipseShape*>(half.get());
    EXPECT_EQ(h->m_radiusX, 4.0);
    EXPECT_EQ(h->m_radiusY, 2.0);
    std::unique_ptr<MCadShape> back(Ellipse(1, 0, 4, 2).CreateRotated(0, 0, -kPi / 2));
    auto* b = static_cast<MEllipseShape*>(back.get());
    ExpectNear(b->m_center, {0, -1});
    EXPECT_EQ(b->m_radiusX, 2.0);

    // Any other angle gives the turned outline as a polygon, also in point-edit mode.
    for (BOOL pointEdit : {FALSE, TRUE}) {
        PointEditFlag = pointEdit;
        std::unique_ptr<MCadShape> turned(e.CreateRotated(0, 0, kPi / 6));
        ASSERT_EQ(turned->GetRuntimeClass(), RUNTIME_CLASS(MPolygonShape));
        ExpectNear(turned->GetPoints()[0], {4 * std::cos(kPi / 6), 4 * std::sin(kPi / 6)});
    }
}

TEST_F(EllipseShapeTest, ScalingUsesAbsoluteFactors) {
    MEllipseShape e = Ellipse(0, 0, 4, 2);
    e.ScaleXY({0, 0}, -2, 1);
    EXPECT_EQ(e.m_center, MFloatPoint(0, 0));
    EXPECT_EQ(e.m_radiusX, 8.0);
    EXPECT_EQ(e.m_radiusY, 2.0);
    MEllipseShape off = Ellipse(3, 1, 1, 1);
    off.ScaleXY({1, 0}, -1, -3);
    ExpectNear(off.m_center, {-1, -3});
    EXPECT_EQ(off.m_radiusY, 3.0);
    off.ScaleXY({0, 0}, 1e-16, 1);
    ExpectNear(off.m_center, {-1, -3});
}

TEST_F(EllipseShapeTest, PointEditHandlesSetOneRadius) {
    MEllipseShape e = Ellipse(0, 0, 4, 2);
    PointEditFlag = TRUE;
    ASSERT_EQ(e.GetHandleCount(), 4);
    EXPECT_EQ(e.GetHandle(0), MFloatPoint(0, 2));
    EXPECT_EQ(e.GetHandle(1), MFloatPoint(4, 0));
    int index = 1;
    e.MoveHandle(&index, {0, 7}, FALSE);  // onto the centre's x: nothing
    EXPECT_EQ(e.m_radiusX, 4.0);
    e.MoveHandle(&index, {-6, 7}, FALSE);
    EXPECT_EQ(e.m_radiusX, 6.0);
    EXPECT_EQ(e.m_radiusY, 2.0);
    index = 2;
    e.MoveHandle(&index, {9, -5}, FALSE);
    EXPECT_EQ(e.m_radiusY, 5.0);
    ExpectNear(e.GetPoint(12), {0, 5});
}

TEST_F(EllipseShapeTest, InPlaceTransformsKeepTheStoredFormAndOutlineOne) {
    MEllipseShape e = Ellipse(2, 1, 4, 2);
    e.Rotate(0, 0, kPi / 2);
    ExpectNear(e.m_center, {-1, 2});
    EXPECT_EQ(e.m_radiusX, 2.0);
    EXPECT_EQ(e.m_radiusY, 4.0);
    ExpectStoredFormMatches(e);

    // The quarter turn gives the outline a rotation of the vertices would give.
    MEllipseShape original = Ellipse(2, 1, 4, 2);
    std::unique_ptr<MPolygonShape> turned(original.CopyAsPolygon());
    turned->Rotate(0, 0, kPi / 2);
    ExpectSameOutline(e.GetPoints(), turned->GetPoints());

    // An axis-parallel ellipse cannot take 30 degrees: its centre turns and it stays what it stores.
    MEllipseShape tilted = Ellipse(2, 0, 4, 2);
    tilted.Rotate(0, 0, kPi / 6);
    ExpectNear(tilted.m_center, {2 * std::cos(kPi / 6), 2 * std::sin(kPi / 6)});
    EXPECT_EQ(tilted.m_radiusX, 4.0);
    ExpectStoredFormMatches(tilted);

    MEllipseShape mirrored = Ellipse(2, 1, 4, 2);
    mirrored.MirrorX(5, 0);
    ExpectNear(mirrored.m_center, {8, 1});
    ExpectStoredFormMatches(mirrored);
    mirrored.MirrorY(0, -1);
    ExpectNear(mirrored.m_center, {8, -3});
    ExpectStoredFormMatches(mirrored);
    mirrored.ScaleXY({1, 1}, -0.5, 3);
    ExpectStoredFormMatches(mirrored);
    mirrored.Move({0.5, 0.25});
    ExpectStoredFormMatches(mirrored);
}

TEST_F(EllipseShapeTest, CloneAndMirroredCopies) {
    MEllipseShape e = Ellipse(1, 1, 3, 2);
    std::unique_ptr<MCadShape> clone(e.Clone());
    EXPECT_EQ(clone->GetRuntimeClass(), RUNTIME_CLASS(MPolygonShape));
    PointEditFlag = TRUE;
    std::unique_ptr<MCadShape> same(e.Clone());
    EXPECT_EQ(same->GetRuntimeClass(), RUNTIME_CLASS(MEllipseShape));
    PointEditFlag = FALSE;
    std::unique_ptr<MCadShape> mx(e.CreateMirroredX(0, 0));
    ASSERT_EQ(mx->GetRuntimeClass(), RUNTIME_CLASS(MEllipseShape));
    ExpectNear(static_cast<MEllipseShape*>(mx.get())->m_center, {-1, 1});
    std::unique_ptr<MCadShape> my(e.CreateMirroredY(0, 3));
    ExpectNear(static_cast<MEllipseShape*>(my.get())->m_center, {1, 5});
}

TEST_F(EllipseShapeTest, SnapsOnlyItsCentre) {
    MEllipseShape e = Ellipse(1, 1, 4, 2);
    MSnapPoint centre = Snap(e, {4, 1}, kSnapCenter | kSnapEndPoint | kSnapMidPoint);
    EXPECT_EQ(centre.kind, kSnapCenter);
    ExpectNear(centre.GetPoint(), {1, 1});
    EXPECT_EQ(Snap(e, {5, 1}, kSnapEndPoint | kSnapMidPoint).kind, 0);
}

TEST_F(EllipseShapeTest, RoundTrips) {
    MEllipseShape e = Ellipse(1.5, -2, 4, 2.5);
    e.SetColor(RGB(0, 128, 0));
    e.SetLineStyle(0x81);
    e.SetFillStyle(MFillStyle(kFillLinear, 0.5, RGB(0, 0, 0), RGB(255, 255, 255)));
    EXPECT_EQ(ShapeText(e), "ELLIPSE\n\t1.5 -2 4 2.5 16711680 129 0 G1 0.5 2 0 16777215\n");
    std::unique_ptr<MEllipseShape> text = TextRoundTrip(e);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->m_radiusY, 2.5);
    EXPECT_EQ(text->GetLineStyle(), 0x81);
    ExpectNear(text->GetPoint(12), {1.5, 0.5});
    std::unique_ptr<MEllipseShape> archived = ArchiveRoundTrip(e);
    ASSERT_TRUE(archived);
    EXPECT_EQ(archived->GetFillStyle(), e.GetFillStyle());
    EXPECT_EQ(archived->GetPoint(5), e.GetPoint(5));
}

TEST_F(EllipseShapeTest, DxfPolylineOfTheOutline) {
    MEllipseShape e = Ellipse(0, 0, 4, 2);
    MDXFOutStream out;
    ExportShapeDxf(e, out, "0", {0, 0}, 1.0);
    const std::vector<std::string> entities = DxfEntities(out.GetText());
    ASSERT_EQ(entities.size(), 50u);
    EXPECT_EQ(entities.front(), "POLYLINE");
    EXPECT_EQ(std::count(entities.begin(), entities.end(), "VERTEX"), 48);
    EXPECT_EQ(entities.back(), "SEQEND");
    EXPECT_NE(out.GetText().find(" 70\n1\n"), std::string::npos);
}

TEST_F(EllipseShapeTest, JwcFlatnessFitsItsSixteenBits) {
    MEllipseShape e = Ellipse(1, 2, 4, 2);
    MJWCArcArray arcs;
    ExportShapeJwcArcs(e, arcs, 3, 2.0, 1.0);
    ASSERT_EQ(arcs.GetSize(), 1);
    EXPECT_EQ(arcs[0].flatness, 5000);
    EXPECT_EQ(arcs[0].radius, 8.0f);
    EXPECT_EQ(arcs[0].cx, 2.0f);
    EXPECT_EQ(arcs[0].tilt, 0);
    EXPECT_EQ(arcs[0].startAngle, 0);
    EXPECT_EQ(arcs[0].layer, 3);
    MJWCLineArray lines;
    ExportShapeJwcLines(e, lines, 3, 2.0, 1.0);
    EXPECT_EQ(lines.GetSize(), 0);

    // Taller than wide within range: the ratio above 10000 as it always was.
    MJWCArcArray tall;
    ExportShapeJwcArcs(Ellipse(0, 0, 1, 6), tall, 0, 1.0, 1.0);
    EXPECT_EQ(tall[0].flatness, 60000);
    EXPECT_EQ(tall[0].radius, 1.0f);
    EXPECT_EQ(tall[0].tilt, 0);

    // Beyond 16 bits the y radius becomes the major axis, turned by a quarter.
    MJWCArcArray taller;
    ExportShapeJwcArcs(Ellipse(0, 0, 1, 10), taller, 0, 1.0, 1.0);
    EXPECT_EQ(taller[0].flatness, 1000);
    EXPECT_EQ(taller[0].radius, 10.0f);
    EXPECT_EQ(taller[0].tilt, 90 * 65536);

    MJWCArcArray flat;
    ExportShapeJwcArcs(Ellipse(0, 0, 0, 3), flat, 0, 1.0, 1.0);
    EXPECT_EQ(flat[0].flatness, 0);
    EXPECT_EQ(flat[0].radius, 3.0f);
    MJWCArcArray point;
    ExportShapeJwcArcs(Ellipse(0, 0, 0, 0), point, 0, 1.0, 1.0);
    EXPECT_EQ(point[0].radius, 0.0f);
    EXPECT_EQ(point[0].flatness, 10000);
}
