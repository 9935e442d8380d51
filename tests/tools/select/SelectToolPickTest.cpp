// The select tool's picking: clicks, Shift, rubber bands, Select All, snap points, the handles on
// screen and decide.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document/DocShapeArray.h"
#include "model/settings/OptionRecord.h"
#include "tests/tools/select/SelectTestSupport.h"
#include "tools/AttributeChange.h"

using namespace selecttest;

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

TEST(SelectTool, IsTheRegisteredSelectToolAndAnswersTheView) {
    SelectHarness h;
    ASSERT_NE(h.Select(), nullptr);
    EXPECT_TRUE(h.Select()->IsSelectTool());
    h.Line(0, 0, 200, 0);
    h.Click(h.P(100, 0));
    EXPECT_EQ(h.Select()->GetSelectionCount(), 1);
    EXPECT_TRUE(h.view->HasSelection());
}

TEST(SelectTool, ClickPicksAndShowsTheHandlesWithoutAnUndoStep) {
    SelectHarness h;
    MLineShape* line = h.Line(0, 0, 200, 0);
    ExpectNoChange(h, [&] { h.Click(h.P(100, 0)); });
    ASSERT_EQ(h.Picks(), 1);
    EXPECT_EQ(h.Pick(0), line);
    EXPECT_TRUE(h.Select()->Handles().IsShown());
    // A line reshapes: its handles are black squares with a white outline.
    // (Beside the centre: the cross hair runs through the pointer's row.)
    EXPECT_EQ(h.PixelAt(h.P(2, 2)), kBlack);
    EXPECT_EQ(h.PixelAt(h.P(198, -2)), kBlack);
    EXPECT_TRUE(h.NoXorResidue());
    // With handles that move instead, they are white with a black outline.
    h.view->SendCommand(ID_HANDLE_MOVE);
    EXPECT_EQ(h.PixelAt(h.P(2, 2)), kWhite);
    const CPoint c = h.ToClient(h.P(0, 0));
    EXPECT_EQ(h.Surface().pixel(c.x + 4, c.y - 2), kBlack) << "the outline";
    EXPECT_TRUE(h.NoXorResidue());
    EXPECT_EQ(h.ItemState(ID_HANDLE_MOVE), std::make_pair(true, 1));
}

TEST(SelectTool, HandlesOfSeveralShapesAreTheirFrame) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Line(50, 60, 150, 60);
    h.Click(h.P(50, 0));
    h.Click(h.P(100, 60), MK_SHIFT);
    ASSERT_EQ(h.Picks(), 2);
    MSelectTool* tool = h.Select();
    EXPECT_EQ(tool->Handles().Count(), 8);
    EXPECT_TRUE(Near(tool->Handles().At(0), h.P(150, 60)));
    EXPECT_TRUE(Near(tool->Handles().At(2), h.P(0, 0)));
    EXPECT_TRUE(Near(tool->Handles().At(5), h.P(75, 0)));
    EXPECT_TRUE(Near(tool->Handles().Center(), h.P(75, 30)));
    const CPoint corner = h.ToClient(h.P(0, 0));
    EXPECT_EQ(tool->Handles().HitTest(h.view.get(), corner.x + 4, corner.y - 4), 3);
    EXPECT_EQ(tool->Handles().HitTest(h.view.get(), corner.x + 5, corner.y), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(SelectTool, ShiftAddsOnThePressAndRemovesOnTheRelease) {
    SelectHarness h;
    MLineShape* a = h.Line(0, 0, 200, 0);
    MLineShape* b = h.Line(0, 50, 200, 50);
    h.Click(h.P(100, 0));
    ExpectNoChange(h, [&] {
        h.Press(h.P(100, 50), MK_SHIFT);
        EXPECT_EQ(h.Picks(), 2) << "added on the press";
        h.Release(h.P(100, 50), MK_SHIFT);
    });
    EXPECT_EQ(h.Picks(), 2) << "kept on the release";
    ExpectNoChange(h, [&] {
        // (Away from the frame's handle at the middle of its bottom edge.)
        h.Press(h.P(40, 0), MK_SHIFT);
        EXPECT_EQ(h.Picks(), 2) << "a selected shape stays until the release";
        h.Release(h.P(40, 0), MK_SHIFT);
    });
    ASSERT_EQ(h.Picks(), 1);
    EXPECT_EQ(h.Pick(0), b);
    EXPECT_NE(h.Pick(0), a);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(SelectTool, ShiftPressOnEmptyPaperClearsAndStartsARubberBand) {
    SelectHarness h;
    h.Line(0, 0, 200, 0);
    h.Line(0, 100, 40, 100);
    h.Click(h.P(100, 0));
    h.Press(h.P(-50, 50), MK_SHIFT);
    EXPECT_EQ(h.Picks(), 0);
    EXPECT_TRUE(h.Tool()->Tracker().IsBanding());
    h.MoveTo(h.P(60, 150), MK_SHIFT);
    h.Release(h.P(60, 150), MK_SHIFT);
    EXPECT_EQ(h.Picks(), 1) << "only the short line lies inside";
    EXPECT_TRUE(h.Select()->Handles().IsShown());
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(SelectTool, RubberBandPicksInsideOrCrossingByThePickMode) {
    for (int mode : {1, 3}) {
        SelectHarness h;
        GetOptionRecord().m_intercept = mode;
        h.Line(0, 0, 100, 0);
        h.Line(0, 50, 300, 50);
        // Left to right and right to left give the same band.
        h.Drag(h.P(-20, -20), h.P(150, 80));
        EXPECT_EQ(h.Picks(), mode == 1 ? 1 : 2) << "mode " << mode;
        h.Drag(h.P(150, 80), h.P(-20, -20));
        EXPECT_EQ(h.Picks(), mode == 1 ? 1 : 2) << "mode " << mode;
        EXPECT_TRUE(h.NoXorResidue());
    }
}

TEST(SelectTool, SelectAllPicksTheEditableLayersAndShowsTheHandles) {
    SelectHarness h(2);
    h.Line(0, 0, 100, 0, 0);
    h.Line(0, 50, 100, 50, 0);
    h.Line(0, 100, 100, 100, 1);
    h.Choose(ID_TOOL_LINE);
    h.view->SendCommand(ID_EDIT_SELECT_ALL);
    ASSERT_NE(h.Select(), nullptr) << "Select All makes the select tool current";
    EXPECT_EQ(h.Picks(), 2);
    EXPECT_TRUE(h.Select()->Handles().IsShown());
    EXPECT_TRUE(h.NoXorResidue());
    EXPECT_TRUE(h.EndLeavesNoResidue());
}

TEST(SelectTool, PressOnASnapPointPicksItsShape) {
    SelectHarness h;
    MLineShape* line = h.Line(0, 0, 200, 0);
    GetOptionRecord().m_snap = kSnapEndPoint;
    // Beyond the hit tolerance of the line, inside the snap aperture of its end.
    h.Click(h.P(-5, 5));
    ASSERT_EQ(h.Picks(), 1);
    EXPECT_EQ(h.Pick(0), line);
}

TEST(SelectTool, ASnapPointOnALayerThatIsOnlyShownPicksNothing) {
    SelectHarness h(2);
    h.Line(0, 0, 200, 0, 1);
    ASSERT_EQ(h.doc.GetLayers()->GetCurrentLayerIndex(), 0);
    ASSERT_FALSE(h.doc.GetLayers()->IsEditable(1));
    GetOptionRecord().m_snap = kSnapEndPoint;
    h.Click(h.P(200, 0));
    EXPECT_EQ(h.Picks(), 0);
    // Nor can it be dragged away.
    ExpectNoChange(h, [&] { h.Drag(h.P(200, 0), h.P(300, 100)); });
}

TEST(SelectTool, DecideWithoutCopiesLeavesNothingBehind) {
    SelectHarness h;
    h.Line(0, 0, 200, 0);
    MLineShape* other = h.Line(0, 50, 200, 50);
    h.Click(h.P(100, 0));
    ExpectNoChange(h, [&] { h.Select()->OnDecide(h.view.get()); });
    EXPECT_EQ(h.Tool()->Lists().EditedCount(), 0) << "no stale edited shape";
    // The next edit pairs each copy with its own shape.
    h.Click(h.P(100, 50));
    const int steps = h.UndoSteps();
    h.Select()->ApplyAttributeChange(h.view.get(), {MAttribute::kLineColor, RGB(255, 0, 0)});
    EXPECT_EQ(h.UndoSteps(), steps + 1);
    EXPECT_EQ(h.doc.GetLayers()->FindLayerOf(other), -1) << "replaced by its copy";
    ASSERT_EQ(h.Picks(), 1);
    EXPECT_EQ(h.Pick(0)->GetColor(), RGB(255, 0, 0));
    EXPECT_TRUE(Near(h.Pick(0)->GetHandle(0), h.P(0, 50)));
}

TEST(SelectTool, DrawsTheSelectionMarkedOnlyWhenAsked) {
    SelectHarness h;
    h.Line(0, 0, 200, 0);
    GetOptionRecord().m_drawSelectedShape = 0;
    h.Click(h.P(100, 0));
    const QImage plain = h.Surface();
    h.Tool()->End(h.view.get(), FALSE);
    GetOptionRecord().m_drawSelectedShape = 1;
    h.Click(h.P(100, 0));
    EXPECT_GT(tooltest::DifferentPixels(plain, h.Surface()), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

}  // namespace
