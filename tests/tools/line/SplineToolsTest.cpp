// The spline tools through the view: control points by click, the double click that ends the
// curve, Shift's axis snap, "取消し" stepping back and "決定" for the closed spline.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/shapes/curves/SplineLoopShape.h"
#include "model/shapes/curves/SplineShape.h"
#include "tests/tools/line/FigureTestSupport.h"
#include "tools/line/SplineTools.h"

using namespace figuretest;

namespace {

struct SplineHarness : FigureHarness {
    explicit SplineHarness(UINT command = ID_TOOL_SPLINE) : FigureHarness(command) {
        tool = dynamic_cast<MSplineToolBase*>(Tool());
    }
    void ExpectControlPoints(const MSplineShapeBase* spline, const std::vector<MFloatPoint>& points) {
        ASSERT_NE(spline, nullptr);
        ASSERT_EQ(spline->GetControlPointCount(), static_cast<int>(points.size()));
        for (std::size_t i = 0; i < points.size(); ++i)
            EXPECT_TRUE(Near(spline->GetControlPoint(static_cast<int>(i)), points[i])) << "point " << i;
    }
    MSplineToolBase* tool;
};

}  // namespace

TEST(SplineTool, ClickClickDoubleClickCommitsTheThreeClickedPoints) {
    SplineHarness h;
    ASSERT_NE(h.tool, nullptr);
    EXPECT_EQ(h.Prompt(), "[スプライン]:始点");
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        EXPECT_EQ(h.Prompt(), "[スプライン]:通過点(ダブルクリックで終了）");
        h.MoveTo(At(1000, 2000));
        h.ExpectControlPoints(h.tool->Spline(), {At(0, 0), At(1000, 2000)});
        EXPECT_TRUE(h.NoXorResidue());
        h.Click(At(2000, 1000));
        h.MoveTo(At(4000, 0));
        h.DoubleClickAt(At(4000, 0));
    });
    h.ExpectControlPoints(h.Last<MSplineShape>(), {At(0, 0), At(2000, 1000), At(4000, 0)});
    EXPECT_EQ(h.tool->Lists().NewCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(SplineTool, ShiftKeepsTheSegmentOnTheAxisThePointerIsNearer) {
    SplineHarness h;
    h.Click(At(0, 0));
    h.MoveTo(At(3000, 1000), MK_SHIFT);
    h.ExpectControlPoints(h.tool->Spline(), {At(0, 0), At(3000, 0)});
    h.MoveTo(At(1000, -4000), MK_SHIFT);
    h.ExpectControlPoints(h.tool->Spline(), {At(0, 0), At(0, -4000)});
    h.Click(At(1000, -4000), MK_SHIFT);
    h.DoubleClickAt(At(3000, -3000));
    h.ExpectControlPoints(h.Last<MSplineShape>(), {At(0, 0), At(0, -4000), At(3000, -3000)});
}

TEST(SplineTool, CancelStepsBackAndEndsWithOnePointLeft) {
    SplineHarness h;
    h.Click(At(0, 0));
    h.Click(At(2000, 0));
    h.MoveTo(At(3000, 3000));
    ASSERT_TRUE(h.ItemState(ID_CANCEL_DRAWING).first);
    h.view->SendCommand(ID_CANCEL_DRAWING);
    // The point before follows the pointer.
    h.ExpectControlPoints(h.tool->Spline(), {At(0, 0), At(3000, 3000)});
    EXPECT_TRUE(h.NoXorResidue());
    ExpectNoChange(h, [&] { h.view->SendCommand(ID_CANCEL_DRAWING); });
    EXPECT_EQ(h.tool->Lists().NewCount(), 0) << "one point left: the tool ended";
    EXPECT_FALSE(h.ItemState(ID_CANCEL_DRAWING).first);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(SplineTool, DecideCommitsTheCurveAsItStands) {
    SplineHarness h;
    h.Click(At(0, 0));
    h.MoveTo(At(2000, 2000));
    ASSERT_TRUE(h.ItemState(ID_DECIDE).first);
    h.ExpectOneUndoStep([&] { h.view->SendCommand(ID_DECIDE); });
    h.ExpectControlPoints(h.Last<MSplineShape>(), {At(0, 0), At(2000, 2000)});
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(SplineLoopTool, FourPointsMakeAClosedSpline) {
    SplineHarness h(ID_TOOL_SPLINELOOP);
    EXPECT_EQ(h.Prompt(), "[スプラインループ]:始点");
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        h.Click(At(2000, 0));
        h.Click(At(2000, 2000));
        h.DoubleClickAt(At(0, 2000));
    });
    h.ExpectControlPoints(h.Last<MSplineLoopShape>(), {At(0, 0), At(2000, 0), At(2000, 2000), At(0, 2000)});
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(SplineLoopTool, TwoPointsAreAClosedSplineByDoubleClickNotByDecide) {
    SplineHarness h(ID_TOOL_SPLINELOOP);
    h.Click(At(0, 0));
    h.MoveTo(At(2000, 0));
    EXPECT_FALSE(h.ItemState(ID_DECIDE).first) << "two control points";
    h.Click(At(2000, 0));
    EXPECT_TRUE(h.ItemState(ID_DECIDE).first) << "three";
    h.Choose(ID_TOOL_SPLINELOOP);
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        h.DoubleClickAt(At(2000, 0));
    });
    h.ExpectControlPoints(h.Last<MSplineLoopShape>(), {At(0, 0), At(2000, 0)});
    EXPECT_EQ(h.tool->Lists().NewCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
    // One control point is no curve: the double click ends the tool.
    ExpectNoChange(h, [&] { h.DoubleClickAt(At(3000, 0)); });
    EXPECT_EQ(h.tool->Lists().NewCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        h.Click(At(2000, 0));
        h.DoubleClickAt(At(1000, 2000));
    });
}
