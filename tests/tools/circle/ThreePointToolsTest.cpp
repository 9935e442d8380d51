// The three-point circle and arc tools through the view, and the circle through three points far
// from the origin.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "tests/tools/circle/CircleFamilyHarness.h"
#include "tools/circle/ThreePointTools.h"

using namespace circletest;

namespace {

using CircleHarness = FamilyHarness<M3PCircleTool>;
using ArcHarness = FamilyHarness<M3PCircleArcTool>;

template <class H>
void FixRadius(H& h, const std::string& radius) {
    h.Numeric(IDD_3P_ARC_INPUT,
              DialogScript().SetText(IDC_ARC_RADIUS, radius).SetCheck(IDC_ARC_RADIUS_CHECK, 1).Ok());
}

}  // namespace

TEST(ThreePointCircleTool, ThreeClicksMakeTheCircleThroughThemInOneUndoStep) {
    CircleHarness h(ID_TOOL_3PCIRCLE);
    ASSERT_NE(h.tool, nullptr);
    EXPECT_EQ(h.Prompt(), "[3点円]:通過点１（Ctrl+右ボタンで数値入力）");
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        h.MoveTo(At(8000, 0));
        EXPECT_EQ(h.Prompt(), "[3点円]:通過点２（Ctrl+右ボタンで数値入力）");
        EXPECT_TRUE(h.NoXorResidue());
        h.Click(At(10000, 0));
        h.MoveTo(At(5000, 4000));
        EXPECT_EQ(h.Prompt(), "[3点円]:通過点３（Ctrl+右ボタンで数値入力）");
        h.Click(At(5000, 5000));
    });
    const MFloatPoint c = At(5000, 0);
    EXPECT_TRUE(Near(h.Saved("CIRCLE", 3), {c.x, c.y, 5000}));
    EXPECT_EQ(h.tool->GetStep(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(ThreePointCircleTool, AFixedRadiusLetsTheThirdPointChooseTheNearerCircle) {
    CircleHarness h(ID_TOOL_3PCIRCLE);
    FixRadius(h, "5000");
    ASSERT_TRUE(h.tool->IsRadiusFixed());
    h.Click(At(0, 0));
    h.Click(At(6000, 0));
    // The two circles' far points are (3, 9) and (3, 1) in thousands: the cursor is nearer the second.
    h.ExpectOneUndoStep([&] { h.Click(At(3000, -2000)); });
    const MFloatPoint c = At(3000, -4000);
    EXPECT_TRUE(Near(h.Saved("CIRCLE", 3), {c.x, c.y, 5000}));
}

TEST(ThreePointCircleTool, ARadiusShorterThanHalfTheChordIsRefusedOnceBothPointsAreGiven) {
    CircleHarness h(ID_TOOL_3PCIRCLE);
    MessageBoxRecorder messages;
    h.Click(At(0, 0));
    h.Click(At(10000, 0));
    ASSERT_EQ(h.tool->GetStep(), 2);
    FixRadius(h, "2000");
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, "半径が小さすぎます");
    EXPECT_FALSE(h.tool->IsRadiusFixed());
    EXPECT_EQ(h.tool->GetRadius(), 100.0) << "the radius stays as it was";
}

TEST(ThreePointCircleTool, ThreeEqualClicksCommitNothing) {
    CircleHarness h(ID_TOOL_3PCIRCLE);
    for (int i = 0; i < 3; ++i)
        h.Click(At(2000, 2000));
    EXPECT_EQ(h.UndoSteps(), 0);
    EXPECT_EQ(h.ShapeCount(), 0);
    EXPECT_EQ(h.tool->GetStep(), 0);
    EXPECT_EQ(h.tool->Lists().NewCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(ThreePointCircleTool, FarFromTheOriginNearlyCollinearPointsStayOnTheirCircle) {
    // Within 0.001 of a line, a million units out: the differences keep the digits that the
    // absolute coordinates would cancel.
    const MFloatPoint p1(1e6 + 0.25, 1e6 - 0.5), p2(1e6 + 1000.125, 1e6 + 1000.375),
        p3(1e6 + 500.5, 1e6 + 499.751);
    const MCircleFit fit = CircleThroughPoints(p1, p2, p3);
    using L = long double;
    const L vx = L(p2.x) - p1.x, vy = L(p2.y) - p1.y, wx = L(p3.x) - p1.x, wy = L(p3.y) - p1.y;
    const L cross = vx * wy - vy * wx, vv = vx * vx + vy * vy, ww = wx * wx + wy * wy;
    const L cx = p1.x + (wy * vv - vy * ww) / (2 * cross), cy = p1.y + (vx * ww - wx * vv) / (2 * cross);
    const L r = std::hypot(L(p1.x) - cx, L(p1.y) - cy);
    EXPECT_NEAR(fit.centre.x, double(cx), 1e-7 * double(r));
    EXPECT_NEAR(fit.centre.y, double(cy), 1e-7 * double(r));
    for (const MFloatPoint& p : {p1, p2, p3})
        EXPECT_NEAR(std::hypot(p.x - fit.centre.x, p.y - fit.centre.y), fit.radius, 1e-7 * fit.radius);
}

TEST(ThreePointCircleTool, CollinearPointsGiveTheCircleOnTheFirstTwoAsDiameter) {
    const MCircleFit fit = CircleThroughPoints({0, 0}, {10, 0}, {30, 1e-12});
    EXPECT_DOUBLE_EQ(fit.centre.x, 5.0);
    EXPECT_DOUBLE_EQ(fit.centre.y, 0.0);
    EXPECT_DOUBLE_EQ(fit.radius, 5.0);
    EXPECT_EQ(CircleThroughPoints({3, 4}, {3, 4}, {3, 4}).radius, 0.0);
}

TEST(ThreePointArcTool, TheArcRunsFromStartToEndThroughTheThirdPoint) {
    ArcHarness h(ID_TOOL_3PCIRCLEARC);
    EXPECT_EQ(h.Prompt(), "[3点円弧]:始点（Ctrl+右ボタンで数値入力）");
    h.ExpectOneUndoStep([&] {
        h.Click(At(10000, 0));
        h.Click(At(-10000, 0));
        EXPECT_EQ(h.Prompt(), "[3点円弧]:通過点（Ctrl+右ボタンで数値入力）");
        h.MoveTo(At(0, 5000));
        EXPECT_TRUE(h.NoXorResidue());
        h.Click(At(0, 10000));
    });
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {kBase.x, kBase.y, 10000, 0, kPi}));

    h.Click(At(10000, 0));
    h.Click(At(-10000, 0));
    h.Click(At(0, -10000));
    // The lower half: from the end point counter-clockwise to the start.
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {kBase.x, kBase.y, 10000, kPi, 2 * kPi}));
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(ThreePointArcTool, AFixedRadiusChoosesAmongTheFourArcs) {
    ArcHarness h(ID_TOOL_3PCIRCLEARC);
    FixRadius(h, "5000");
    h.Click(At(0, 0));
    h.Click(At(6000, 0));
    // Nearest the minor arc on the left of the chord, whose middle is (3, 1) in thousands.
    h.ExpectOneUndoStep([&] { h.Click(At(3000, 2000)); });
    const MFloatPoint c = At(3000, -4000);
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {c.x, c.y, 5000, std::atan2(4.0, 3.0), std::atan2(4.0, -3.0)}));
}

TEST(ThreePointArcTool, TwoEqualFirstClicksEndWithTheThirdAndCommitNothing) {
    ArcHarness h(ID_TOOL_3PCIRCLEARC);
    h.Click(At(0, 0));
    h.MoveTo(At(4000, 0));
    h.Click(At(0, 0));
    h.Click(At(5000, 5000));
    EXPECT_EQ(h.UndoSteps(), 0);
    EXPECT_EQ(h.tool->GetStep(), 0) << "the tool starts again";
    EXPECT_EQ(h.Prompt(), "[3点円弧]:始点（Ctrl+右ボタンで数値入力）");
    EXPECT_TRUE(h.NoXorResidue());
    // And works again at once.
    h.ExpectOneUndoStep([&] {
        h.Click(At(10000, 0));
        h.Click(At(-10000, 0));
        h.Click(At(0, 10000));
    });
}
