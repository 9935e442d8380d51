// The linear dimension tools driven by the mouse through the view.
#include <cmath>

#include "tests/tools/dimension/DimensionTestSupport.h"
#include "tools/dimension/SizeTool.h"

using namespace dimtest;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

void ExpectPoints(const MSizeShape& s, MFloatPoint a, MFloatPoint b, MFloatPoint c, MFloatPoint d,
                  MFloatPoint e) {
    EXPECT_EQ(s.GetA() - kBase, a);
    EXPECT_EQ(s.GetB() - kBase, b);
    EXPECT_EQ(s.GetC() - kBase, c);
    EXPECT_EQ(s.GetD() - kBase, d);
    EXPECT_EQ(s.GetE() - kBase, e);
}

DialogScript FixedLength(const char* length) {
    return DialogScript().SetText(1088, length).Ok();
}

}  // namespace

TEST(SizeTool, ThreeClicksMeasureTheDistanceAlongAParallelLine) {
    DimensionHarness h;
    h.Choose(ID_TOOL_SIZE);
    EXPECT_THAT(h.Prompt(), HasSubstr("始点"));
    h.Dimension({0, 0}, {100, 0}, {50, 20});
    ASSERT_EQ(h.Dimensions().size(), 1u);
    const MSizeShape& s = *h.Dimensions()[0];
    ExpectPoints(s, {0, 0}, {100, 0}, {0, 20}, {100, 20}, {50, 20});
    EXPECT_EQ(s.GetText(), " 100 ");
    EXPECT_FALSE(s.IsUserText());

    // A slanted one: the line keeps the direction of the measured points.
    h.Dimension({0, 0}, {30, 40}, {-40, 30});
    ASSERT_EQ(h.Dimensions().size(), 2u);
    ExpectPoints(*h.Dimensions()[1], {0, 0}, {30, 40}, {-40, 30}, {-10, 70}, {-25, 50});
    EXPECT_EQ(h.Dimensions()[1]->GetText(), " 50 ");
}

TEST(SizeTool, HorizontalAndVerticalDimensionsMeasureOneAxis) {
    DimensionHarness h;
    h.Choose(ID_TOOL_SIZEX);
    h.Dimension({0, 0}, {60, 30}, {20, 50});
    ASSERT_EQ(h.Dimensions().size(), 1u);
    ExpectPoints(*h.Dimensions()[0], {0, 0}, {60, 30}, {0, 50}, {60, 50}, {30, 50});
    EXPECT_EQ(h.Dimensions()[0]->GetText(), " 60 ");

    h.Choose(ID_TOOL_SIZEY);
    h.Dimension({0, 0}, {30, -70}, {-20, 10});
    ASSERT_EQ(h.Dimensions().size(), 2u);
    ExpectPoints(*h.Dimensions()[1], {0, 0}, {30, -70}, {-20, 0}, {-20, -70}, {-20, -35});
    EXPECT_EQ(h.Dimensions()[1]->GetText(), " 70 ");
}

TEST(SizeTool, AFixedLengthPutsTheEndOnTheCursorsSide) {
    DimensionHarness h;
    h.Choose(ID_TOOL_SIZEX);
    h.NumericEntry(FixedLength("50"));
    h.Dimension({0, 0}, {-30, 10}, {-20, 40});
    ASSERT_EQ(h.Dimensions().size(), 1u);
    EXPECT_EQ(h.Dimensions()[0]->GetB().x - kBase.x, -50.0);
    EXPECT_EQ(h.Dimensions()[0]->GetText(), " 50 ");

    h.Choose(ID_TOOL_SIZEY);
    h.NumericEntry(FixedLength("50"));
    h.Dimension({0, 0}, {10, -30}, {40, -20});
    ASSERT_EQ(h.Dimensions().size(), 2u);
    EXPECT_EQ(h.Dimensions()[1]->GetB().y - kBase.y, -50.0);

    // A negative length counts as its size: the end stays on the cursor's side.
    h.Choose(ID_TOOL_SIZE);
    h.NumericEntry(FixedLength("-50"));
    h.Dimension({0, 0}, {30, 0}, {20, 20});
    ASSERT_EQ(h.Dimensions().size(), 3u);
    const MFloatPoint end = h.Dimensions()[2]->GetB() - kBase;
    EXPECT_NEAR(end.GetLength(), 50.0, 1e-9);
    EXPECT_NEAR(end.x, 50.0, 0.1);
}

TEST(SizeTool, AFixedLengthTakesAnEndPointOnItsCircle) {
    DimensionHarness h;
    const MFloatPoint end(50 * std::cos(0.3), 50 * std::sin(0.3));  // off the grid, 50 from the start
    h.AddLine(kBase.x + end.x, kBase.y + end.y, kBase.x + 200, kBase.y - 100);
    h.Repaint();
    h.Choose(ID_TOOL_SIZE);
    h.NumericEntry(FixedLength("50"));
    h.Dimension({0, 0}, end, {0, 60});
    ASSERT_EQ(h.Dimensions().size(), 1u);
    EXPECT_EQ(h.Dimensions()[0]->GetB(), kBase + end);
}

TEST(SizeTool, AFixedEndOnTheStartPointGoesAlongX) {
    DimensionHarness h;
    MDrawTool* tool = h.Choose(ID_TOOL_SIZE);
    h.NumericEntry(FixedLength("50"));
    h.ExpectOneDrawingStep([&] {
        h.Click({0, 0});
        // The pointer exactly on the start point (a pixel is never exactly there).
        ASSERT_EQ(tool->GetStep(), 1);
        tool->OnPoint(h.view.get(), kBase.x, kBase.y, MDrawTool::kPhaseMove, 0);
        EXPECT_EQ(static_cast<MSizeShape*>(tool->Lists().NewShape(0))->GetB() - kBase, MFloatPoint(50, 0));
        h.Click({50, 0});
        h.MoveTo({20, 30});
        h.Click({20, 30});
    });
    ASSERT_EQ(h.Dimensions().size(), 1u);
    ExpectPoints(*h.Dimensions()[0], {0, 0}, {50, 0}, {0, 30}, {50, 30}, {25, 30});
}

TEST(SizeTool, AThirdPointOnTheMeasuredLineGivesNoOffset) {
    DimensionHarness h;
    h.Choose(ID_TOOL_SIZE);
    h.Dimension({0, 0}, {100, 100}, {50, 50});
    ASSERT_EQ(h.Dimensions().size(), 1u);
    ExpectPoints(*h.Dimensions()[0], {0, 0}, {100, 100}, {0, 0}, {100, 100}, {50, 50});
}

TEST(SizeTool, StartOnEndAddsNothing) {
    DimensionHarness h;
    h.Choose(ID_TOOL_SIZE);
    const std::string before = h.Drawing();
    h.Click({0, 0});
    h.Click({0, 0});
    h.MoveTo({50, 20});
    h.Click({50, 20});
    EXPECT_EQ(h.UndoSteps(), 0);
    EXPECT_EQ(h.Drawing(), before);
    EXPECT_EQ(h.Tool()->GetStep(), 0);
    EXPECT_TRUE(h.NoXorResidue());

    // Nor does a horizontal dimension of points above each other.
    h.Choose(ID_TOOL_SIZEX);
    h.Click({0, 0});
    h.Click({0, 40});
    h.Click({10, 60});
    EXPECT_EQ(h.UndoSteps(), 0);
    EXPECT_THAT(h.NativeText(), Not(HasSubstr("nan")));
}

TEST(SizeTool, TheUsersTextStaysWhenThePointsMove) {
    DimensionHarness h;
    h.Choose(ID_TOOL_SIZE);
    h.NumericEntry(DialogScript().SetText(1093, " 長さ ").Ok());
    h.Dimension({0, 0}, {100, 0}, {50, 20});
    // Without keeping the values, the next dimension measures again.
    h.Dimension({0, 100}, {40, 100}, {20, 120});
    ASSERT_EQ(h.Dimensions().size(), 2u);
    EXPECT_EQ(h.Dimensions()[1]->GetText(), " 40 ");

    MSizeShape& s = *h.Dimensions()[0];
    EXPECT_TRUE(s.IsUserText());
    EXPECT_EQ(s.GetText(), " 長さ ");
    int handle = 1;
    s.MoveHandle(&handle, kBase + MFloatPoint(200, 0), FALSE);
    EXPECT_EQ(s.GetText(), " 長さ ");
}

TEST(SizeTool, KeptValuesServeTheNextDimensions) {
    DimensionHarness h;
    h.Choose(ID_TOOL_SIZE);
    h.NumericEntry(DialogScript().SetText(1088, "30").SetCheck(1132, 1).SetCheck(1091, 0).Ok());
    h.Dimension({0, 0}, {30, 0}, {70, 20});
    h.Dimension({0, 100}, {0, 130}, {-20, 150});
    ASSERT_EQ(h.Dimensions().size(), 2u);
    // The text stands where the last point was given.
    ExpectPoints(*h.Dimensions()[0], {0, 0}, {30, 0}, {0, 20}, {30, 20}, {70, 20});
    EXPECT_EQ(h.Dimensions()[1]->GetB() - kBase, MFloatPoint(0, 130));
}

TEST(SizeTool, NumericEntryInTheLastStepTakesTheEndPointAgain) {
    DimensionHarness h;
    auto* tool = static_cast<MSizeTool*>(h.Choose(ID_TOOL_SIZE));
    h.Click({0, 0});
    h.MoveTo({100, 0});
    h.Click({100, 0});
    ASSERT_EQ(tool->GetStep(), 2);
    h.NumericEntry(FixedLength("30"), {100, 0});
    EXPECT_EQ(tool->GetStep(), 1);
    EXPECT_THAT(h.Prompt(), HasSubstr("終点"));
    EXPECT_TRUE(h.NoXorResidue());
    h.ExpectOneDrawingStep([&] {
        h.MoveTo({0, 30});
        h.Click({0, 30});
        h.MoveTo({-20, 10});
        h.Click({-20, 10});
    });
    ASSERT_EQ(h.Dimensions().size(), 1u);
    ExpectPoints(*h.Dimensions()[0], {0, 0}, {0, 30}, {-20, 0}, {-20, 30}, {-20, 15});

    // Cancelling the entry changes nothing.
    h.Click({0, 0});
    h.NumericEntry(DialogScript().SetText(1088, "70").Cancel());
    EXPECT_FALSE(tool->m_fixedLength);
    EXPECT_EQ(tool->GetStep(), 1);
}
