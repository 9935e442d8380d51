// The arc, sector, half and quarter circle tools through the view: clicks, fixed values that save
// clicks, and the side a half circle takes across the wrap of the angles.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "model/shapes/curves/ArcShape.h"
#include "tests/tools/circle/CircleFamilyHarness.h"
#include "tools/circle/ArcTools.h"

using namespace circletest;

namespace {

using ArcHarness = FamilyHarness<MCircleArcTool>;
using HalfHarness = FamilyHarness<MHalfCircleTool>;
using QuadHarness = FamilyHarness<MQuadCircleTool>;

// The arc dialog with the values given ("" leaves a field unticked).
void FixArc(ArcHarness& h, const std::string& radius, const std::string& start, const std::string& end) {
    DialogScript script;
    if (!radius.empty()) script.SetText(IDC_ARC_RADIUS, radius).SetCheck(IDC_ARC_RADIUS_CHECK, 1);
    if (!start.empty()) script.SetText(IDC_ARC_START, start).SetCheck(IDC_ARC_START_CHECK, 1);
    if (!end.empty()) script.SetText(IDC_ARC_END, end).SetCheck(IDC_ARC_END_CHECK, 1);
    h.Numeric(IDD_CIRCLE_ARC_INPUT, script.Ok());
}

template <class H>
void FixHalf(H& h, const std::string& radius, const std::string& angle) {
    h.Numeric(IDD_HALF_CIRCLE_INPUT, DialogScript()
                                         .SetText(IDC_HALF_RADIUS, radius)
                                         .SetCheck(IDC_HALF_RADIUS_CHECK, 1)
                                         .SetText(IDC_HALF_ANGLE, angle)
                                         .SetCheck(IDC_HALF_ANGLE_CHECK, 1)
                                         .Ok());
}

}  // namespace

TEST(ArcTool, CentreRadiusAndTwoDirectionsMakeTheArcInOneUndoStep) {
    ArcHarness h(ID_TOOL_CIRCLEARC);
    ASSERT_NE(h.tool, nullptr);
    EXPECT_EQ(h.Prompt(), "[円弧]:中心点（Ctrl+右ボタンで数値入力）");
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        // The radius is the larger of the two coordinate differences, not the distance.
        h.Click(At(3000, 4000));
        EXPECT_EQ(h.Prompt(), "[円弧]:始点（Ctrl+右ボタンで数値入力）");
        h.MoveTo(At(0, -6000));
        EXPECT_TRUE(h.NoXorResidue()) << "the guide line from the centre";
        h.Click(At(10000, 0));
        EXPECT_EQ(h.Prompt(), "[円弧]:終点（Ctrl+右ボタンで数値入力）");
        h.MoveTo(At(-4000, 4000));
        EXPECT_TRUE(h.NoXorResidue());
        h.Click(At(0, 10000));
    });
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {kBase.x, kBase.y, 4000, 0, kPi / 2}));
    EXPECT_TRUE(h.NoXorResidue());

    h.Click(At(0, 0));
    h.Click(At(3000, 4000));
    h.Click(At(0, -10000));
    h.Click(At(10000, 0));
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {kBase.x, kBase.y, 4000, -kPi / 2, 0}));
    // Differences below zero count by their size.
    h.Click(At(0, 0));
    h.Click(At(-2000, -7000));
    h.Click(At(10000, 0));
    h.Click(At(0, 10000));
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {kBase.x, kBase.y, 7000, 0, kPi / 2}));
}

TEST(ArcTool, FixedDirectionsTakeTwoClicksAndTheRadiusFollowsThePointer) {
    ArcHarness h(ID_TOOL_CIRCLEARC);
    FixArc(h, "", "0", "90");
    EXPECT_TRUE(h.ItemState(ID_RELEASE_CONSTRAINT).first);
    h.ExpectOneUndoStep([&] {
        h.Click(At(-2000, 0));
        h.MoveTo(At(-2000, 3000));
        auto* shown = dynamic_cast<const MCircleArcShape*>(h.tool->Lists().NewShape(0));
        ASSERT_NE(shown, nullptr);
        EXPECT_NEAR(shown->m_radius, 3000, 1e-6);
        EXPECT_NEAR(shown->m_endAngle - shown->m_startAngle, kPi / 2, 1e-12);
        h.Click(At(2000, 0));
    });
    const MFloatPoint c = At(-2000, 0);
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {c.x, c.y, 4000, 0, kPi / 2}));
    EXPECT_FALSE(h.tool->IsConstrained()) << "without the keep box the values go with the commit";
}

TEST(ArcTool, WithEverythingFixedOneClickAtTheCentrePlacesTheArc) {
    ArcHarness h(ID_TOOL_CIRCLEARC);
    FixArc(h, "4000", "90", "180");
    h.ExpectOneUndoStep([&] { h.Click(At(-3000, 2000)); });
    const MFloatPoint c = At(-3000, 2000);
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {c.x, c.y, 4000, kPi / 2, kPi}));
    // A fixed radius alone saves the radius click.
    FixArc(h, "4000", "", "");
    h.Click(At(0, 0));
    h.Click(At(0, 5000));
    EXPECT_EQ(h.UndoSteps(), 1);
    h.Click(At(-5000, 0));
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {kBase.x, kBase.y, 4000, kPi / 2, kPi}));
}

TEST(SectorTool, MakesTheSameConstructionAsASector) {
    FamilyHarness<MCircleFanTool> h(ID_TOOL_CIRCLEFAN);
    ASSERT_NE(h.tool, nullptr);
    EXPECT_EQ(h.Prompt(), "[扇形]:中心点（Ctrl+右ボタンで数値入力）");
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        h.Click(At(3000, 4000));
        h.Click(At(10000, 0));
        h.Click(At(0, 10000));
    });
    EXPECT_TRUE(Near(h.Saved("FAN", 5), {kBase.x, kBase.y, 4000, 0, kPi / 2}));
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(HalfCircleTool, TheThirdPointChoosesTheSideOfTheDiameter) {
    HalfHarness h(ID_TOOL_HALFCIRCLE);
    ASSERT_NE(h.tool, nullptr);
    EXPECT_EQ(h.Prompt(), "[半円]:始点（Ctrl+右ボタンで数値入力）");
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        h.Click(At(10000, 0));
        EXPECT_EQ(h.Prompt(), "[半円]:向き（Ctrl+右ボタンで数値入力）");
        h.MoveTo(At(5000, -3000));
        EXPECT_TRUE(h.NoXorResidue());
        h.Click(At(5000, 3000));
    });
    const MFloatPoint c = At(5000, 0);
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {c.x, c.y, 5000, 0, kPi}));
    h.Click(At(0, 0));
    h.Click(At(10000, 0));
    h.Click(At(5000, -3000));
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {c.x, c.y, 5000, -kPi, 0}));
}

TEST(HalfCircleTool, ShiftKeepsTheDiameterOnAnAxis) {
    HalfHarness h(ID_TOOL_HALFCIRCLE);
    h.Click(At(0, 0));
    h.Click(At(10000, 3000), MK_SHIFT);
    h.Click(At(5000, 5000));
    const MFloatPoint c = At(5000, 0);
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {c.x, c.y, 5000, 0, kPi}));
}

TEST(HalfCircleTool, AcrossTheWrapOfTheAnglesThePointedSideIsTaken) {
    HalfHarness h(ID_TOOL_HALFCIRCLE);
    // The diameter at about 169°, the third point at about -169°: just counter-clockwise of it.
    h.Click(At(0, 0));
    h.Click(At(-10000, 2000));
    h.Click(At(-10000, -2000));
    const double direction = std::atan2(2000.0, -10000.0);
    const MFloatPoint c = At(-5000, 1000);
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {c.x, c.y, std::hypot(5000, 1000), direction, direction + kPi}));
    // The same with the third point behind the anchor.
    h.Click(At(0, 0));
    h.Click(At(-10000, 2000));
    h.Click(At(3000, -2000));
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {c.x, c.y, std::hypot(5000, 1000), direction, direction + kPi}));
}

TEST(HalfCircleTool, AFixedRadiusAndAngleLeaveOnlyTheAnchorAndTheSide) {
    HalfHarness h(ID_TOOL_HALFCIRCLE);
    FixHalf(h, "3000", "90");
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        h.Click(At(-2000, 1000));
    });
    const MFloatPoint c = At(0, 3000);
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {c.x, c.y, 3000, kPi / 2, 3 * kPi / 2}));
}

TEST(QuarterCircleTool, TheThirdPointChoosesTheQuarterBesideTheRadius) {
    QuadHarness h(ID_TOOL_QUADCIRCLE);
    ASSERT_NE(h.tool, nullptr);
    EXPECT_EQ(h.Prompt(), "[1/4円弧]:中心点（Ctrl+右ボタンで数値入力）");
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        h.Click(At(10000, 0));
        h.MoveTo(At(5000, -5000));
        EXPECT_TRUE(h.NoXorResidue());
        h.Click(At(5000, 5000));
    });
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {kBase.x, kBase.y, 10000, 0, kPi / 2}));
    h.Click(At(0, 0));
    h.Click(At(10000, 0));
    h.Click(At(5000, -5000));
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {kBase.x, kBase.y, 10000, -kPi / 2, 0}));
}

TEST(ArcTool, AValueTypedMidwayShowsAtOnceWhereThePointerIs) {
    ArcHarness h(ID_TOOL_CIRCLEARC);
    h.Click(At(0, 0));
    h.MoveTo(At(3000, 4000));
    auto* shown = dynamic_cast<const MCircleArcShape*>(h.tool->Lists().NewShape(0));
    ASSERT_NE(shown, nullptr);
    EXPECT_NEAR(shown->m_radius, 4000, 1e-6);
    // The right click is where the pointer is; the fixed radius shows before any further move.
    h.dialogs.Script(IDD_CIRCLE_ARC_INPUT,
                     DialogScript().SetText(IDC_ARC_RADIUS, "2000").SetCheck(IDC_ARC_RADIUS_CHECK, 1).Ok());
    h.RightClick(At(3000, 4000), MK_CONTROL);
    EXPECT_NEAR(shown->m_radius, 2000, 1e-6);
    EXPECT_EQ(h.Prompt(), "[円弧]:始点（Ctrl+右ボタンで数値入力）") << "the radius step is done";
    EXPECT_TRUE(h.NoXorResidue());
    h.Click(At(0, -6000));
    h.ExpectOneUndoStep([&] { h.Click(At(6000, 0)); });
    EXPECT_TRUE(Near(h.Saved("ARC", 5), {kBase.x, kBase.y, 2000, -kPi / 2, 0}));
}

TEST(ArcTool, EndingMidwayLeavesNoGuideLineOnTheScreen) {
    for (UINT ending : {static_cast<UINT>(ID_CANCEL_DRAWING), static_cast<UINT>(ID_TOOL_LINE)}) {
        ArcHarness h(ID_TOOL_CIRCLEARC);
        h.Click(At(0, 0));
        h.Click(At(3000, 4000));
        h.MoveTo(At(-6000, 2000));
        ASSERT_TRUE(h.NoXorResidue());
        ASSERT_EQ(h.Prompt(), "[円弧]:始点（Ctrl+右ボタンで数値入力）")
            << "the guide line follows the pointer";
        const int steps = h.UndoSteps();
        h.view->SendCommand(ending);
        h.view->UpdateWindow();
        EXPECT_EQ(tooltest::DifferentPixels(h.Surface(), h.RenderReference()), 0) << "command " << ending;
        EXPECT_EQ(h.tool->Lists().NewCount(), 0);
        EXPECT_EQ(h.UndoSteps(), steps);
    }
}
