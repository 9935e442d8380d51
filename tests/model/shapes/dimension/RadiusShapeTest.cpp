#include <gtest/gtest.h>

#include <cmath>

#include "tests/model/shapes/annotation/AnnotationTestSupport.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/dimension/RadiusShape.h"
#include "model/shapes/text/TextShape.h"

using namespace shapetest;
using namespace annotationtest;

namespace {

class RadiusShapeTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureRegistered();
        ResetSizeFormats();
        GetDefaultSizeStyle() = MSizeStyle();
    }
    TestView view;
};

void ExpectNear(const MFloatPoint& a, const MFloatPoint& b, double tolerance = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
}

template <class T>
T* Member(MGroupShape& s, int i) {
    return dynamic_cast<T*>(s.GetShapeAt(i));
}

}  // namespace

TEST_F(RadiusShapeTest, TextInsideTheCircleGivesOneArrowedLineFromTheCentre) {
    MRadiusSizeShape r;
    EXPECT_EQ(r.GetTypeName(), "RADIUS");
    EXPECT_EQ(r.GetTypeId(), 12);
    r.SetCircle({0, 0}, 10, 0, 5);
    r.UpdateText();
    EXPECT_EQ(r.GetText(), "R10 ");
    r.Recalc(&view);
    ASSERT_EQ(r.GetShapeCount(), 2);
    auto* text = Member<MTextShape>(r, 0);
    ExpectNear(text->GetPoint(), {5, 1});
    EXPECT_EQ(text->GetAlignment(), 9);
    auto* line = Member<MPolygonShape>(r, 1);
    ExpectNear(line->GetPoint(0), {0, 0});
    ExpectNear(line->GetPoint(1), {10, 0});
    EXPECT_EQ(line->GetArrows(), MArrowInfo(0, 0.0, 1, 3.0));  // the head on the circle
    EXPECT_EQ(r.GetHandle(0), MFloatPoint(10, 0));
    EXPECT_EQ(r.GetHandle(1), MFloatPoint(5, 0));
    // On the circle counts as inside.
    r.SetCircle({0, 0}, 10, 0, 10);
    r.Recalc(&view);
    EXPECT_EQ(r.GetShapeCount(), 2);
}

TEST_F(RadiusShapeTest, TextOutsideTheCirclePointsTheArrowInward) {
    MRadiusSizeShape r;
    r.SetCircle({0, 0}, 10, kPi / 2, 20);
    r.UpdateText();
    r.Recalc(&view);
    ASSERT_EQ(r.GetShapeCount(), 3);
    const double w = Member<MTextShape>(r, 0)->GetBoxWidth();
    auto* leader = Member<MPolygonShape>(r, 1);
    ExpectNear(leader->GetPoint(0), {0, 10});
    ExpectNear(leader->GetPoint(1), {0, 10 + w / 2 + 10});  // half the text past the text point
    EXPECT_EQ(leader->GetArrows(), MArrowInfo(1, 3.0, 0, 0.0));
    auto* inside = Member<MLineShape>(r, 2);
    ExpectNear(inside->m_start, {0, 2});  // a leader length inside
    ExpectNear(inside->m_end, {0, 10});
    EXPECT_NEAR(Member<MTextShape>(r, 0)->GetAngle(), kPi / 2, 1e-12);

    r.SetFlags(MCircleSizeShape::kNoInsideLine);
    r.Recalc(&view);
    EXPECT_EQ(r.GetShapeCount(), 2);
    r.SetFlags(MCircleSizeShape::kLineFromCentre);
    r.Recalc(&view);
    ASSERT_EQ(r.GetShapeCount(), 3);
    ExpectNear(Member<MLineShape>(r, 2)->m_start, {0, 0});
    r.SetFlags(MCircleSizeShape::kNoInsideLine | MCircleSizeShape::kLineFromCentre);
    r.Recalc(&view);
    EXPECT_EQ(r.GetShapeCount(), 2);
}

TEST_F(RadiusShapeTest, DraggingTheCircleHandleKeepsTheTextsRelativePlace) {
    MRadiusSizeShape r;
    r.SetCircle({0, 0}, 10, 0, 5);
    int index = 0;
    r.MoveHandle(&index, {0, 20}, FALSE);
    EXPECT_DOUBLE_EQ(r.GetRadius(), 20);
    EXPECT_DOUBLE_EQ(r.GetTextDistance(), 10);
    EXPECT_DOUBLE_EQ(r.GetAngle(), kPi / 2);
    EXPECT_EQ(r.GetText(), "R20 ");
    EXPECT_FALSE(r.IsBuilt());
    // The text handle through the centre turns the dimension over.
    index = 1;
    r.MoveHandle(&index, {3, -30}, FALSE);
    EXPECT_DOUBLE_EQ(r.GetTextDistance(), 30);
    EXPECT_DOUBLE_EQ(r.GetAngle(), -kPi / 2);
    // Nothing moves a dimension without radius.
    MRadiusSizeShape zero;
    zero.SetCircle({0, 0}, 0, 0, 5);
    index = 0;
    zero.MoveHandle(&index, {7, 0}, FALSE);
    EXPECT_EQ(zero.GetRadius(), 0.0);
    EXPECT_FALSE(zero.IsValid());
}

TEST_F(RadiusShapeTest, DiameterDimension) {
    MDiameterSizeShape d;
    EXPECT_EQ(d.GetTypeName(), "DIAMETER");
    EXPECT_EQ(d.GetTypeId(), 13);
    d.SetCircle({0, 0}, 10, 0, 0);
    d.UpdateText();
    EXPECT_EQ(d.GetText(), "Φ20 ");
    d.Recalc(&view);
    ASSERT_EQ(d.GetShapeCount(), 2);  // text and one arrowed line: no extension lines
    auto* line = Member<MPolygonShape>(d, 1);
    ExpectNear(line->GetPoint(0), {-10, 0});
    ExpectNear(line->GetPoint(1), {10, 0});
    EXPECT_EQ(line->GetArrows(), MArrowInfo(1, 3.0, 1, 3.0));
    EXPECT_EQ(d.GetHandleCount(), 3);
    EXPECT_EQ(d.GetHandle(1), MFloatPoint(-10, 0));
    // The second circle handle sets theta opposite the pointer.
    int index = 1;
    d.MoveHandle(&index, {0, -15}, FALSE);
    EXPECT_DOUBLE_EQ(d.GetRadius(), 15);
    EXPECT_NEAR(d.GetAngle(), kPi / 2, 1e-12);
    ExpectNear(d.GetHandle(0), {0, 15});
    EXPECT_EQ(d.GetText(), "Φ30 ");
    // A small circle: the text goes outside and leaders point inward.
    MDiameterSizeShape small;
    small.SetCircle({0, 0}, 0.5, 0, 0);
    small.UpdateText();
    small.Recalc(&view);
    EXPECT_EQ(small.GetShapeCount(), 4);
}

TEST_F(RadiusShapeTest, NegativeScaleFactorsMirrorInsteadOfGivingNaN) {
    MRadiusSizeShape r;
    r.SetCircle({10, 0}, 5, kPi / 4, 2);
    r.ScaleXY({0, 0}, -1, 1);
    EXPECT_FALSE(std::isnan(r.GetRadius()));
    EXPECT_DOUBLE_EQ(r.GetRadius(), 5);
    EXPECT_DOUBLE_EQ(r.GetTextDistance(), 2);
    ExpectNear(r.GetCircleCenter(), {-10, 0});
    EXPECT_NEAR(r.GetAngle(), 3 * kPi / 4, 1e-12);
    // The circle point is the mirror image of the old one.
    ExpectNear(r.GetHandle(0), {-10 - 5 * std::cos(kPi / 4), 5 * std::sin(kPi / 4)});
    r.Scale({0, 0}, -2);
    EXPECT_DOUBLE_EQ(r.GetRadius(), 10);
    ExpectNear(r.GetCircleCenter(), {20, 0});
    EXPECT_NEAR(r.GetAngle(), -kPi / 4, 1e-12);
    EXPECT_EQ(r.GetText(), "R10 ");

    MDiameterSizeShape d;
    d.SetCircle({0, 0}, 5, 0, 0);
    d.ScaleXY({0, 0}, 2, -8);
    EXPECT_DOUBLE_EQ(d.GetRadius(), 20);
    d.ScaleXY({0, 0}, 0, 8);  // a vanishing factor does nothing
    EXPECT_DOUBLE_EQ(d.GetRadius(), 20);
}

TEST_F(RadiusShapeTest, TransformsTurnTheDirection) {
    MRadiusSizeShape r;
    r.SetCircle({10, 0}, 5, 0, 2);
    r.Rotate(0, 0, kPi / 2);
    ExpectNear(r.GetCircleCenter(), {0, 10});
    EXPECT_NEAR(r.GetAngle(), kPi / 2, 1e-12);
    r.MirrorX(5, 0);
    ExpectNear(r.GetCircleCenter(), {10, 10});
    EXPECT_NEAR(r.GetAngle(), kPi / 2, 1e-12);
    r.MirrorY(0, 0);
    ExpectNear(r.GetCircleCenter(), {10, -10});
    EXPECT_NEAR(r.GetAngle(), -kPi / 2, 1e-12);
    r.Move({1, 1});
    ExpectNear(r.GetCircleCenter(), {11, -9});
    MSnapPoint snap;
    r.SnapPoints(snap, {11, -9}, MFloatRect(-100, -100, 100, 100), kSnapCenter, DBL_MAX);
    EXPECT_EQ(snap.kind, kSnapCenter);
    EXPECT_EQ(snap.GetPoint(), MFloatPoint(11, -9));
}

TEST_F(RadiusShapeTest, BothFormsRoundTrip) {
    MRadiusSizeShape r;
    r.SetCircle({1.5, -2.25}, 7.5, 0.25, 12.5);
    r.SetFlags(MCircleSizeShape::kLineFromCentre);
    r.SetColor(RGB(10, 20, 30));
    r.SetTextColor(RGB(40, 50, 60));
    r.UpdateText();
    MDiameterSizeShape d;
    d.SetCircle({3, 4}, 2, -1, 1);
    d.UpdateText();
    for (MCircleSizeShape* s : {static_cast<MCircleSizeShape*>(&r), static_cast<MCircleSizeShape*>(&d)}) {
        auto check = [&](MCadShape* shape) {
            auto* c = dynamic_cast<MCircleSizeShape*>(shape);
            ASSERT_TRUE(c);
            EXPECT_EQ(c->GetTypeId(), s->GetTypeId());
            EXPECT_EQ(c->GetCircleCenter(), s->GetCircleCenter());
            EXPECT_EQ(c->GetRadius(), s->GetRadius());
            EXPECT_EQ(c->GetAngle(), s->GetAngle());
            EXPECT_EQ(c->GetTextDistance(), s->GetTextDistance());
            EXPECT_EQ(c->GetFlags(), s->GetFlags());
            EXPECT_EQ(c->GetText(), s->GetText());
            EXPECT_EQ(c->GetColor(), s->GetColor());
            EXPECT_EQ(c->GetTextColor(), s->GetTextColor());
        };
        std::unique_ptr<MCadShape> loaded(LoadObject<MCadShape>(StoreObject(s)));
        check(loaded.get());
        check(ReadShape(ShapeText(*s)).get());
    }
}
