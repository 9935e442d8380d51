// The angle dimension tools driven by the mouse through the view, and the rays towards the picks
// they share with the angle measuring tool.
#include "model/geometry/Geometry.h"
#include "model/shapes/dimension/AngleShape.h"
#include "tests/tools/dimension/DimensionTestSupport.h"
#include "tools/dimension/AngleDimensionTools.h"
#include "tools/dimension/DimensionPlacement.h"

using namespace dimtest;

namespace {

struct AngleHarness : DimensionHarness {
    // Clicks at the points in turn (moving to each first): one dimension, one undo step.
    void Dimension(std::initializer_list<MFloatPoint> points) {
        ExpectOneUndoStep([&] {
            for (const MFloatPoint& p : points) {
                MoveTo(p);
                Click(p);
            }
        });
        EXPECT_TRUE(NoXorResidue());
    }
    void NumericEntry(DialogScript script) {
        dialogs.Script(170, std::move(script));
        RightClick({200, 200}, MK_CONTROL);
    }
    const MAngleShape& Last() { return *ShapesOf<MAngleShape>().back(); }
};

void ExpectArc(const MAngleShape& s, MFloatPoint vertex, double radius, double start, double end) {
    EXPECT_EQ(s.GetVertex() - kBase, vertex);
    EXPECT_NEAR(s.GetRadius(), radius, 1e-9);
    EXPECT_NEAR(s.GetStartAngle(), start, 1e-12);
    EXPECT_NEAR(s.GetEndAngle(), end, 1e-12);
}

}  // namespace

TEST(AngleTool, CentreStartAndEndGiveTheArcAndTheTextHalfWay) {
    AngleHarness h;
    h.Choose(ID_TOOL_ANGLE);
    EXPECT_THAT(h.Prompt(), ::testing::HasSubstr("中心点"));
    h.Dimension({{0, 0}, {50, 0}, {0, 50}});
    ASSERT_EQ(h.ShapesOf<MAngleShape>().size(), 1u);
    ExpectArc(h.Last(), {0, 0}, 50, 0, kPi / 2);
    EXPECT_NEAR(h.Last().GetTextDirection(), kPi / 4, 1e-12);
    EXPECT_EQ(h.Last().GetText(), " 90°");

    // Without the automatic position a fourth click gives the text's direction.
    h.NumericEntry(DialogScript().SetCheck(1091, 0).Ok());
    h.Dimension({{0, 0}, {0, 30}, {-30, 0}, {-30, -30}});
    ASSERT_EQ(h.ShapesOf<MAngleShape>().size(), 2u);
    ExpectArc(h.Last(), {0, 0}, 30, kPi / 2, kPi);
    EXPECT_NEAR(h.Last().GetTextDirection(), -3 * kPi / 4, 1e-12);
}

TEST(AngleTool, AFixedAngleCompletesOnTheStartPointsRelease) {
    AngleHarness h;
    h.Choose(ID_TOOL_ANGLE);
    h.NumericEntry(DialogScript().SetText(1054, "45").Ok());
    h.Dimension({{0, 0}, {0, 40}});
    ASSERT_EQ(h.ShapesOf<MAngleShape>().size(), 1u);
    ExpectArc(h.Last(), {0, 0}, 40, kPi / 2, 3 * kPi / 4);
    EXPECT_EQ(h.Last().GetText(), " 45°");
}

TEST(AngleTool, AnEndJustClockwiseOfTheStartGivesASmallNegativeSweep) {
    AngleHarness h;
    h.Choose(ID_TOOL_ANGLE);
    h.Dimension({{0, 0}, {50, 0}, {50, -10}});
    const double sweep = std::atan2(-10.0, 50.0);
    // The arc runs counter-clockwise from the start round to the end; the text stands halfway.
    ExpectArc(h.Last(), {0, 0}, 50, 0, 2 * kPi + sweep);
    EXPECT_NEAR(h.Last().GetTextDirection(), sweep / 2 + kPi, 1e-12);
}

TEST(AngleTool, AStartPointOnTheCentreIsAskedAgain) {
    AngleHarness h;
    MDrawTool* tool = h.Choose(ID_TOOL_ANGLE);
    h.NumericEntry(DialogScript().SetText(1054, "45").Ok());
    h.Click({0, 0});
    h.Click({0, 0});  // snapped onto the centre: no radius
    EXPECT_TRUE(h.ShapesOf<MAngleShape>().empty());
    EXPECT_EQ(tool->GetStep(), 1);
    h.Dimension({{30, 0}});
    ExpectArc(h.Last(), {0, 0}, 30, 0, kPi / 4);
}

TEST(AngleTool, AnAngleBeyond360IsRefusedWithTheRangeMessage) {
    AngleHarness h;
    auto* tool = dynamic_cast<MAngleTool*>(h.Choose(ID_TOOL_ANGLE));
    MessageBoxRecorder messages;
    h.NumericEntry(DialogScript().SetText(1054, "400").Ok());
    EXPECT_EQ(messages.Messages().size(), 1u);
    EXPECT_TRUE(h.dialogs.Dialogs().back().leftOpen);
    EXPECT_FALSE(tool->m_fixedAngle);
    EXPECT_EQ(tool->m_angle, 0.0);
}

// ----- between two lines ------------------------------------------------------------------------

namespace {

struct LineAngleHarness : AngleHarness {
    LineAngleHarness() { tool = Choose(ID_TOOL_LINEANGLE); }
    // A line, shown.
    void Line(const MFloatPoint& a, const MFloatPoint& b) {
        AddLine(kBase.x + a.x, kBase.y + a.y, kBase.x + b.x, kBase.y + b.y);
        Repaint();
    }
    // Picks the lines at a and b, then clicks at the cursor point.
    void Measure(const MFloatPoint& a, const MFloatPoint& b, const MFloatPoint& cursor) {
        ExpectOneUndoStep([&] {
            Click(a);
            Click(b);
            MoveTo(cursor);
            Click(cursor);
        });
        EXPECT_TRUE(NoXorResidue());
    }
    MDrawTool* tool;
};

}  // namespace

TEST(LineAngleTool, TheArcBetweenTheRaysHoldsTheCursor) {
    LineAngleHarness h;
    h.Line({-100, 0}, {100, 0});
    h.Line({0, -100}, {0, 100});
    // Picked right and above: rays 0 and 90 degrees.
    h.Measure({60, 0}, {0, 60}, {30, 30});
    ExpectArc(h.Last(), {0, 0}, std::hypot(30, 30), 0, kPi / 2);
    EXPECT_NEAR(h.Last().GetTextDirection(), kPi / 4, 1e-12);
    EXPECT_EQ(h.Last().GetText(), " 90°");
    // The same rays with the cursor on the reflex side.
    h.Measure({60, 0}, {0, 60}, {-30, -30});
    ExpectArc(h.Last(), {0, 0}, std::hypot(30, 30), kPi / 2, 2 * kPi);
    EXPECT_EQ(h.Last().GetText(), " 270°");
    // Picked left and below, the cursor between them.
    h.Measure({-60, 0}, {0, -60}, {-20, -40});
    ExpectArc(h.Last(), {0, 0}, std::hypot(20, 40), kPi, 3 * kPi / 2);
    // Picked left and above, the cursor in the fourth quadrant: the reflex arc from left to up.
    h.Measure({-60, 0}, {0, 60}, {40, -20});
    ExpectArc(h.Last(), {0, 0}, std::hypot(40, 20), kPi, 5 * kPi / 2);
}

TEST(LineAngleTool, NearlyHorizontalLinesPointTowardsTheirPicks) {
    // The pick lies a hair below the line, on the far side of -pi from the line's direction.
    auto left = GetRaysTowardPicks({{0, 0}, {-100, 0.001}}, {-50, -0.0005}, {{0, -10}, {0, 10}}, {0, 5});
    ASSERT_TRUE(left);
    EXPECT_LT(std::cos(left->ray0), -0.999999);  // points left, towards the pick
    auto right = GetRaysTowardPicks({{0, 0}, {100, 0.001}}, {50, -0.0005}, {{0, -10}, {0, 10}}, {0, 5});
    ASSERT_TRUE(right);
    EXPECT_GT(std::cos(right->ray0), 0.999999);  // points right
    EXPECT_DOUBLE_EQ(right->ray1, kPi / 2);

    LineAngleHarness h;
    h.Line({0, 0}, {-100, 0.001});
    h.Line({0, -100}, {0, 100});
    h.Measure({-50, -0.0005}, {0, 60}, {-30, 30});
    // The arc from up round to the left: about 90 degrees.
    EXPECT_NEAR(h.Last().GetStartAngle(), kPi / 2, 1e-12);
    EXPECT_NEAR(h.Last().GetEndAngle(), kPi, 1e-4);
}

TEST(LineAngleTool, TakesOnlyLinesAndResetsOnParallelOnes) {
    LineAngleHarness h;
    h.AddCircle(kBase.x + 200, kBase.y, 20);
    h.Line({-100, 0}, {100, 0});
    h.Line({-100, 50}, {100, 50});
    h.Click({220, 0});  // the circle
    EXPECT_EQ(h.tool->Lists().PickCount(), 0);
    const std::string before = h.NativeText();
    h.Click({0, 0});
    h.Click({0, 50});
    EXPECT_EQ(h.tool->Lists().PickCount(), 0);
    EXPECT_EQ(h.tool->Lists().NewCount(), 0);
    h.MoveTo({30, 30});
    h.Click({30, 30});
    EXPECT_EQ(h.NativeText(), before);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(LineAngleTool, TheCursorOnTheCrossingMakesNoDimension) {
    LineAngleHarness h;
    GetOptionRecord().m_snap |= kSnapIntersection;
    h.Line({-100, 0}, {100, 0});
    h.Line({0, -100}, {0, 100});
    h.Click({60, 0});
    h.Click({0, 60});
    h.MoveTo({30, 30});
    h.MoveTo({0, 0});
    h.Click({0, 0});
    EXPECT_TRUE(h.ShapesOf<MAngleShape>().empty());
    EXPECT_EQ(h.tool->GetStep(), 0);
    h.ExpectOneUndoStep([&] {
        h.MoveTo({20, 20});
        h.Click({20, 20});
    });
}
