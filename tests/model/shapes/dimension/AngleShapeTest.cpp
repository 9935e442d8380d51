#include <gtest/gtest.h>

#include <cmath>

#include "interchange/DxfShapeExport.h"
#include "interchange/JwcRecords.h"
#include "interchange/JwcShapeExport.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/dimension/AngleShape.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "model/shapes/text/TextShape.h"
#include "tests/model/shapes/annotation/AnnotationTestSupport.h"

using namespace shapetest;
using namespace annotationtest;

namespace {

class AngleShapeTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureRegistered();
        ResetSizeFormats();
        GetDefaultSizeStyle() = MSizeStyle();
    }
    TestView view;
};

MCircleArcShape* Arc(MGroupShape& s, int i) {
    return dynamic_cast<MCircleArcShape*>(s.GetShapeAt(i));
}

void ExpectNear(const MFloatPoint& a, const MFloatPoint& b, double tolerance = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
}

}  // namespace

TEST_F(AngleShapeTest, ARightAngleWithTheTextInside) {
    MAngleShape a;
    EXPECT_EQ(a.GetTypeName(), "ANGLE");
    EXPECT_EQ(a.GetTypeId(), 14);
    a.SetAngles({0, 0}, 10, 0, kPi / 2, kPi / 4);
    a.UpdateText();
    EXPECT_EQ(a.GetText(), " 90°");
    a.Recalc(&view);
    ASSERT_EQ(a.GetShapeCount(), 2);
    auto* text = dynamic_cast<MTextShape*>(a.GetShapeAt(0));
    ASSERT_TRUE(text);
    // Tangent to the arc, upright, on its outer side.
    EXPECT_NEAR(text->GetAngle(), -kPi / 4, 1e-12);
    EXPECT_EQ(text->GetAlignment(), 9);
    ExpectNear(text->GetPoint(), {11 * std::cos(kPi / 4), 11 * std::sin(kPi / 4)});
    auto* arc = Arc(a, 1);
    ASSERT_TRUE(arc);
    EXPECT_DOUBLE_EQ(arc->m_radius, 10);
    EXPECT_DOUBLE_EQ(arc->m_startAngle, 0);
    EXPECT_DOUBLE_EQ(arc->m_endAngle, kPi / 2);
    EXPECT_EQ(arc->GetArrows(), MArrowInfo(1, 3.0, 1, 3.0));
    ExpectNear(a.GetHandle(0), {10, 0});
    ExpectNear(a.GetHandle(1), {0, 10});

    // Below the x axis the text turns the other way and hangs from its anchor.
    a.SetAngles({0, 0}, 10, -kPi / 2, 0, -kPi / 4);
    a.Recalc(&view);
    text = dynamic_cast<MTextShape*>(a.GetShapeAt(0));
    EXPECT_NEAR(text->GetAngle(), kPi / 4, 1e-12);
    EXPECT_EQ(text->GetAlignment(), 1);
}

TEST_F(AngleShapeTest, TheEndIsKeptAboveTheStart) {
    MAngleShape a;
    a.SetAngles({0, 0}, 10, 3 * kPi / 4, -3 * kPi / 4, kPi);
    EXPECT_DOUBLE_EQ(a.GetEndAngle(), 5 * kPi / 4);
    a.UpdateText();
    EXPECT_EQ(a.GetText(), " 90°");
    a.SetAngles({0, 0}, 10, 0, -kPi / 2, 0);
    a.UpdateText();
    EXPECT_EQ(a.GetText(), " 270°");
}

TEST_F(AngleShapeTest, ATextOutsideTheSpanGetsLeadersFromOutside) {
    MAngleShape a;
    a.SetAngles({0, 0}, 20, 0, kPi / 4, kPi / 2);  // text beyond the end
    a.UpdateText();
    a.Recalc(&view);
    ASSERT_EQ(a.GetShapeCount(), 4);
    const double w = dynamic_cast<MTextShape*>(a.GetShapeAt(0))->GetBoxWidth();
    const double h = std::atan2(w / 2, 20), g = std::atan2(8, 20);
    auto* atStart = Arc(a, 1);
    auto* atEnd = Arc(a, 2);
    auto* plain = Arc(a, 3);
    EXPECT_NEAR(atStart->m_startAngle, -g, 1e-12);
    EXPECT_NEAR(atStart->m_endAngle, 0, 1e-12);  // up to the start direction
    EXPECT_EQ(atStart->GetArrows(), MArrowInfo(0, 0.0, 1, 3.0));
    EXPECT_NEAR(atEnd->m_startAngle, kPi / 4, 1e-12);
    EXPECT_NEAR(atEnd->m_endAngle, kPi / 2 + h, 1e-12);  // on past the text
    EXPECT_EQ(atEnd->GetArrows(), MArrowInfo(1, 3.0, 0, 0.0));
    EXPECT_NEAR(plain->m_startAngle, 0, 1e-12);
    EXPECT_NEAR(plain->m_endAngle, kPi / 4, 1e-12);
    EXPECT_EQ(plain->GetArrows(), MArrowInfo());

    // Nearer the start: the leader on that side runs on under the text.
    a.SetAngles({0, 0}, 20, 0, kPi / 4, -kPi / 4);
    a.Recalc(&view);
    ASSERT_EQ(a.GetShapeCount(), 4);
    EXPECT_NEAR(Arc(a, 1)->m_startAngle, -kPi / 4 - h, 1e-9);
    EXPECT_NEAR(Arc(a, 2)->m_endAngle, kPi / 4 + g, 1e-12);
}

TEST_F(AngleShapeTest, HandlesTurnTheEndsOrTheRadius) {
    MAngleShape a;
    a.SetAngles({0, 0}, 10, 0, kPi / 2, kPi / 4);
    int index = 1;
    a.MoveHandle(&index, {-5, 0}, FALSE);
    EXPECT_DOUBLE_EQ(a.GetEndAngle(), kPi);
    EXPECT_DOUBLE_EQ(a.GetTextDirection(), kPi / 2);  // keeps its relative place
    EXPECT_EQ(a.GetText(), " 180°");
    // An end dragged onto the other changes nothing but the text place.
    index = 0;
    a.MoveHandle(&index, {-3, 0}, FALSE);
    EXPECT_DOUBLE_EQ(a.GetStartAngle(), 0);
    // With keepRatio only the radius follows and the text stays.
    a.SetText("kept");
    index = 0;
    a.MoveHandle(&index, {0, -30}, TRUE);
    EXPECT_DOUBLE_EQ(a.GetRadius(), 30);
    EXPECT_DOUBLE_EQ(a.GetStartAngle(), 0);
    EXPECT_EQ(a.GetText(), "kept");
    // The text handle may leave the span.
    index = 2;
    a.MoveHandle(&index, {0, -1}, FALSE);
    EXPECT_DOUBLE_EQ(a.GetTextDirection(), -kPi / 2);
    EXPECT_EQ(a.GetText(), " 180°");
}

TEST_F(AngleShapeTest, ATextDirectionATurnOffStaysUpright) {
    MAngleShape a;
    a.SetAngles({0, 0}, 10, kPi / 2, 3 * kPi / 2 - 0.2, kPi);
    int index = 1;  // the text keeps its share of the span: a direction beyond pi
    a.MoveHandle(&index, MFloatPoint(std::cos(-0.4), std::sin(-0.4)), FALSE);
    ASSERT_GT(a.GetTextDirection(), kPi);
    a.Recalc(&view);
    auto* text = dynamic_cast<MTextShape*>(a.GetShapeAt(0));
    EXPECT_LE(std::fabs(text->GetAngle()), kPi / 2 + 1e-12);
}

TEST_F(AngleShapeTest, MirrorsKeepTheArcCounterClockwise) {
    MAngleShape a;
    a.SetAngles({5, 0}, 10, 0, kPi / 2, kPi / 4);
    a.MirrorX(0, 0);
    EXPECT_DOUBLE_EQ(a.GetStartAngle(), kPi / 2);
    EXPECT_DOUBLE_EQ(a.GetEndAngle(), kPi);
    EXPECT_DOUBLE_EQ(a.GetTextDirection(), 3 * kPi / 4);
    ExpectNear(a.GetVertex(), {-5, 0});
    a.MirrorY(0, 1);
    EXPECT_DOUBLE_EQ(a.GetStartAngle(), -kPi);
    EXPECT_DOUBLE_EQ(a.GetEndAngle(), -kPi / 2);
    ExpectNear(a.GetVertex(), {-5, 2});
    a.UpdateText();
    EXPECT_EQ(a.GetText(), " 90°");
    a.Rotate(0, 0, kPi);
    EXPECT_NEAR(a.GetStartAngle(), 0, 1e-12);
    EXPECT_NEAR(a.GetEndAngle(), kPi / 2, 1e-12);
}

TEST_F(AngleShapeTest, NegativeScaleFactorsKeepARealPositiveRadius) {
    MAngleShape a;
    a.SetAngles({10, 0}, 5, 0, kPi / 2, kPi / 4);
    a.ScaleXY({0, 0}, -1, 4);
    EXPECT_FALSE(std::isnan(a.GetRadius()));
    EXPECT_DOUBLE_EQ(a.GetRadius(), 10);
    ExpectNear(a.GetVertex(), {-10, 0});
    EXPECT_DOUBLE_EQ(a.GetStartAngle(), kPi / 2);  // mirrored as MirrorX does
    EXPECT_DOUBLE_EQ(a.GetEndAngle(), kPi);
    a.Scale({0, 0}, -0.5);
    EXPECT_DOUBLE_EQ(a.GetRadius(), 5);
    ExpectNear(a.GetVertex(), {5, 0});
    EXPECT_NEAR(a.GetStartAngle(), -kPi / 2, 1e-12);  // a point reflection turns by pi
    EXPECT_NEAR(a.GetEndAngle(), 0, 1e-12);
    EXPECT_EQ(a.GetText(), " 90°");
    a.ScaleXY({0, 0}, 0, 1);  // nothing
    EXPECT_DOUBLE_EQ(a.GetRadius(), 5);
}

TEST_F(AngleShapeTest, SnapsToTheArcEndsAndTheVertex) {
    MAngleShape a;
    a.SetAngles({0, 0}, 10, 0, kPi / 2, kPi / 4);
    const MFloatRect all(-100, -100, 100, 100);
    MSnapPoint snap;
    a.SnapPoints(snap, {1, 9}, all, kSnapEndPoint | kSnapCenter, DBL_MAX);
    ExpectNear(snap.GetPoint(), {0, 10});
    EXPECT_EQ(snap.kind, kSnapEndPoint);
    MSnapPoint centre;
    a.SnapPoints(centre, {1, 1}, all, kSnapEndPoint | kSnapCenter, DBL_MAX);
    EXPECT_EQ(centre.kind, kSnapCenter);
}

TEST_F(AngleShapeTest, RoundTripsAndExportWithoutDrawing) {
    MAngleShape a;
    a.SetAngles({1, 2}, 12.5, 0.5, 2.0, 1.0);
    a.SetColor(RGB(0, 0, 255));
    a.UpdateText();
    auto check = [&](MCadShape* shape) {
        auto* c = dynamic_cast<MAngleShape*>(shape);
        ASSERT_TRUE(c);
        EXPECT_EQ(c->GetVertex(), a.GetVertex());
        EXPECT_EQ(c->GetRadius(), a.GetRadius());
        EXPECT_EQ(c->GetStartAngle(), a.GetStartAngle());
        EXPECT_EQ(c->GetEndAngle(), a.GetEndAngle());
        EXPECT_EQ(c->GetTextDirection(), a.GetTextDirection());
        EXPECT_EQ(c->GetText(), a.GetText());
        EXPECT_EQ(c->GetColor(), RGB(0, 0, 255));
    };
    auto loaded = LoadObject<MAngleShape>(StoreObject(&a));
    check(loaded.get());
    auto read = ReadShape(ShapeText(a));
    check(read.get());
    MJWCArcArray arcs;
    ExportShapeJwcArcs(*read, arcs, 0, 1.0, 1.0);
    ASSERT_EQ(arcs.GetSize(), 1);
    EXPECT_FLOAT_EQ(arcs[0].radius, 12.5f);
    MDXFOutStream out;
    ExportShapeDxf(*loaded, out, "0", {0, 0}, 1.0);
    EXPECT_EQ(CountEntities(out.GetText(), "ARC"), 1);
    EXPECT_EQ(CountEntities(out.GetText(), "TEXT"), 1);
}
