#include <gtest/gtest.h>

#include <cmath>

#include "interchange/DxfShapeExport.h"
#include "tests/model/shapes/annotation/AnnotationTestSupport.h"
#include "model/PaperInfo.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/annotation/BalloonShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/ShapeDialogs.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Exceptions.h"

using namespace shapetest;
using namespace annotationtest;

namespace {

class BalloonShapeTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureRegistered(); }

    static std::unique_ptr<MBalloonShape> Make(std::initializer_list<MFloatPoint> leader,
                                               const char* text = "12") {
        auto b = std::make_unique<MBalloonShape>();
        for (const MFloatPoint& p : leader)
            b->AddLeaderPoint(nullptr, p);
        b->SetString(text);
        return b;
    }
    TestView view;
};

void ExpectNear(const MFloatPoint& a, const MFloatPoint& b, double tolerance = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
}

}  // namespace

TEST_F(BalloonShapeTest, TheCircleContinuesTheLastSegmentAndEnclosesTheText) {
    auto b = Make({{0, 0}, {10, 0}, {10, 10}});
    EXPECT_EQ(b->GetTypeName(), "BALLOON");
    EXPECT_EQ(b->GetTypeId(), 24);
    b->Recalc(&view);
    MTextShape* text = b->GetTextMember();
    const double w = text->GetBoxWidth(), h = text->GetBoxHeight();
    const double rho = std::hypot(w, h) / 2;
    MCircleShape* circle = b->GetCircle();
    EXPECT_NEAR(circle->m_radius, rho, 1e-12);
    ExpectNear(circle->m_center, {10, 10 + rho});  // touching the leader's end
    EXPECT_EQ(text->GetAlignment(), 5);
    ExpectNear(text->GetPoint(), circle->m_center);
    // The whole text box lies inside the circle.
    MFloatPoint corners[4];
    text->GetBoxCorners(corners);
    for (const MFloatPoint& c : corners)
        EXPECT_LE((c - circle->m_center).GetLength(), rho + 1e-9);
    EXPECT_EQ(b->GetLeader()->GetArrows(), MArrowInfo(1, 3.0, 0, 0.0));
}

TEST_F(BalloonShapeTest, RadiusBounds) {
    auto b = Make({{0, 0}, {0, 10}});
    b->Recalc(&view);
    const double rho = b->GetCircle()->m_radius;
    ASSERT_GT(rho, 1.0);
    ASSERT_LT(rho, 7.0);
    b->SetRadiusBounds(7, 0);
    b->Recalc(&view);
    EXPECT_EQ(b->GetCircle()->m_radius, 7);
    ExpectNear(b->GetCircle()->m_center, {0, 17});
    b->SetRadiusBounds(0, 1);
    b->Recalc(&view);
    EXPECT_EQ(b->GetCircle()->m_radius, 1);
    b->SetRadiusBounds(7, 4);  // crossing bounds: the maximum wins
    b->Recalc(&view);
    EXPECT_EQ(b->GetCircle()->m_radius, 4);
}

TEST_F(BalloonShapeTest, ALeaderOfOnePointCentresTheCircleOnIt) {
    auto b = Make({{3, 4}});
    b->Recalc(&view);
    ExpectNear(b->GetCircle()->m_center, {3, 4});
    // Repeated last points are skipped when the direction is chosen.
    auto r = Make({{0, 0}, {10, 0}, {10, 0}});
    r->Recalc(&view);
    const double rho = r->GetCircle()->m_radius;
    ExpectNear(r->GetCircle()->m_center, {10 + rho, 0});
}

TEST_F(BalloonShapeTest, SnapsToLeaderCircleAndBasePoint) {
    auto b = Make({{0, 0}, {10, 0}});
    b->Recalc(&view);
    const MFloatRect all(-100, -100, 100, 100);
    MSnapPoint centre;
    const MFloatPoint c = b->GetCircle()->m_center;
    b->SnapPoints(centre, c + MFloatPoint(0.1, 0.1), all, kSnapCenter, DBL_MAX);
    EXPECT_EQ(centre.kind, kSnapCenter);
    EXPECT_EQ(centre.shape1, b.get());
    MSnapPoint base;
    b->SnapPoints(base, {0.1, 0}, all, kSnapBasePoint, DBL_MAX);
    EXPECT_EQ(base.GetPoint(), MFloatPoint(0, 0));
}

TEST_F(BalloonShapeTest, BothFormsRoundTrip) {
    auto b = Make({{0, 0}, {10, 0}, {10, 10}}, "A-1");
    b->SetRadiusBounds(2.5, 9.5);
    b->SetColor(RGB(10, 20, 30));
    b->SetTextColor(RGB(40, 50, 60));
    b->SetFillStyle(MFillStyle(RGB(255, 255, 0)));
    b->SetTextSize(3.5);
    b->SetTextFlags(kTextBold);
    b->SetFontName("ＭＳ 明朝");
    b->Recalc(&view);
    auto check = [&](MCadShape* shape) {
        auto* c = dynamic_cast<MBalloonShape*>(shape);
        ASSERT_TRUE(c);
        EXPECT_EQ(c->GetString(), "A-1");
        EXPECT_EQ(c->GetMinRadius(), 2.5);
        EXPECT_EQ(c->GetMaxRadius(), 9.5);
        EXPECT_EQ(c->GetColor(), RGB(10, 20, 30));
        EXPECT_EQ(c->GetTextColor(), RGB(40, 50, 60));
        EXPECT_EQ(c->GetFillStyle(), MFillStyle(RGB(255, 255, 0)));
        EXPECT_EQ(c->GetTextSize(), 3.5);
        EXPECT_EQ(c->GetTextFlags(), kTextBold);
        EXPECT_EQ(c->GetFontName(), "ＭＳ 明朝");
        EXPECT_EQ(c->GetLeaderPointCount(), 3);
        c->Recalc(&view);
        EXPECT_EQ(c->m_extent, b->m_extent);
        EXPECT_EQ(c->GetCircle()->GetFillStyle(), MFillStyle(RGB(255, 255, 0)));
    };
    std::unique_ptr<MCadShape> loaded(LoadObject<MCadShape>(StoreObject(b.get())));
    check(loaded.get());
    check(ReadShape(ShapeText(*b)).get());
}

TEST_F(BalloonShapeTest, AnOlderTextFormWithoutTextColourTakesTheLineColour) {
    auto read = ReadShape("BALLOON\n\t65280 0 0 1 3 16777216\n\t0 0\n\t1\n\t7\n\t0\n\t4 0\n\t1\n\t5 5\n");
    ASSERT_TRUE(read);
    auto* b = dynamic_cast<MBalloonShape*>(read.get());
    ASSERT_TRUE(b);
    EXPECT_EQ(b->GetTextColor(), 65280u);
    EXPECT_EQ(b->GetString(), "7");
    EXPECT_EQ(b->GetLeaderPointCount(), 1);
    // Never laid out, it still exports its number inside its circle.
    MDXFOutStream out;
    ExportShapeDxf(*b, out, "0", {0, 0}, 1.0);
    EXPECT_EQ(DxfValues(out.GetText(), 1), std::vector<std::string>{"7"});
    EXPECT_EQ(CountEntities(out.GetText(), "CIRCLE"), 1);
}

TEST_F(BalloonShapeTest, DrawnBalloonShowsLeaderCircleAndNumber) {
    auto b = Make({{5, 5}, {15, 5}}, "8");
    b->SetRadiusBounds(4, 0);
    Image image(view, 400, 200, {0, -5});
    b->Draw(&view, &image.dc());
    const double rho = b->GetCircle()->m_radius;
    ASSERT_EQ(rho, 4);
    // The leader touches the circle at its left.
    const CPoint touch = image.Device({15, 5});
    EXPECT_TRUE(image.IsInk(touch.x, touch.y));
    const CPoint mid = image.Device({10, 5});
    EXPECT_TRUE(image.IsInk(mid.x, mid.y));
    // The circle's far side and the number in the middle.
    const CPoint far = image.Device({23, 5});
    EXPECT_GT(image.CountInk(CRect(far.x - 2, far.y - 2, far.x + 3, far.y + 3)), 0);
    const CPoint centre = image.Device({19, 5});
    EXPECT_GT(image.CountInk(CRect(centre.x - 15, centre.y - 20, centre.x + 15, centre.y + 20)), 20);
    // Between the number and the circle: empty.
    const CPoint gap = image.Device({19, 8});
    EXPECT_EQ(image.CountInk(CRect(gap.x - 5, gap.y - 3, gap.x + 5, gap.y + 3)), 0);
}
