// The rectangle tool through the view: two corners, the drag that only moves the first, fixed
// sizes and the polygon flag of its dialog, Shift's square, and the flat rectangle that commits
// nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/shapes/lines/RectShape.h"
#include "tests/tools/line/FigureTestSupport.h"
#include "tools/line/RectTool.h"

using namespace figuretest;
using ::testing::HasSubstr;

namespace {

struct RectHarness : FigureHarness {
    RectHarness() : FigureHarness(ID_TOOL_RECT) { tool = dynamic_cast<MRectTool*>(Tool()); }
    // Dialog 151 by Ctrl + right click; an empty text leaves that edit (and its box) alone.
    void Type(const std::string& width, const std::string& height, int polygon, bool keep = false) {
        DialogScript script;
        if (!width.empty()) script.SetText(IDC_RECT_WIDTH, width);
        if (!height.empty()) script.SetText(IDC_RECT_HEIGHT, height);
        dialogs.Script(IDD_RECT_INPUT,
                       script.SetCheck(IDC_RECT_POLYGON, polygon).SetCheck(IDC_KEEP_VALUES, keep).Ok());
        RightClick(At(0, 0), MK_CONTROL);
    }
    void ExpectRect(const MFloatPoint& origin, double w, double h) {
        auto* rect = Last<MRectShape>();
        ASSERT_NE(rect, nullptr) << "a rectangle was committed";
        EXPECT_TRUE(Near(rect->m_origin, origin));
        EXPECT_DOUBLE_EQ(rect->m_size.cx, w);
        EXPECT_DOUBLE_EQ(rect->m_size.cy, h);
    }
    MRectTool* tool;
};

void ExpectSegment(const Segment& s, const MFloatPoint& a, const MFloatPoint& b) {
    EXPECT_TRUE(Near(MFloatPoint(s.x0, s.y0), a));
    EXPECT_TRUE(Near(MFloatPoint(s.x1, s.y1), b));
}

}  // namespace

TEST(RectTool, TwoClicksCommitFourLinesLeftTopRightBottom) {
    RectHarness h;
    ASSERT_NE(h.tool, nullptr);
    EXPECT_EQ(h.Prompt(), "[四角形]:始点（Ctrl+右ボタンで数値入力）");
    h.view->SendCommand(ID_LINE_COLOR_FIRST + 2);
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        EXPECT_EQ(h.Prompt(), "[四角形]:終点（Ctrl+右ボタンで数値入力）");
        h.MoveTo(At(1000, 4000));
        EXPECT_TRUE(h.NoXorResidue());
        h.Click(At(3000, 2000));
    });
    const std::vector<Segment> lines = Lines(h.NativeText());
    ASSERT_EQ(lines.size(), 4u);
    ExpectSegment(lines[0], At(0, 0), At(0, 2000));
    ExpectSegment(lines[1], At(0, 2000), At(3000, 2000));
    ExpectSegment(lines[2], At(3000, 2000), At(3000, 0));
    ExpectSegment(lines[3], At(3000, 0), At(0, 0));
    for (const auto& values : Records(h.NativeText(), "LINE"))
        EXPECT_EQ(values[4], kMenuColors[2]) << "the current line colour";
    EXPECT_EQ(h.tool->Lists().NewCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(RectTool, ADragOnlyMovesTheFirstCornerToItsRelease) {
    RectHarness h;
    h.Drag(At(0, 0), At(1000, 1000));
    EXPECT_EQ(h.UndoSteps(), 0);
    h.Click(At(4000, 3000));
    const std::vector<Segment> lines = Lines(h.NativeText());
    ASSERT_EQ(lines.size(), 4u);
    ExpectSegment(lines[0], At(1000, 1000), At(1000, 3000));
    ExpectSegment(lines[2], At(4000, 3000), At(4000, 1000));
}

TEST(RectTool, ThePolygonFlagCommitsOneRectangleWithTheCurrentFill) {
    RectHarness h;
    h.view->SendCommand(ID_FACE_COLOR_FIRST + 2);
    h.Type("", "", 1);
    EXPECT_EQ(RectPolygonFlag(), 1);
    EXPECT_FALSE(h.tool->IsConstrained()) << "the boxes of the sizes stayed clear";
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        h.Click(At(3000, -2000));
    });
    ASSERT_EQ(h.Shapes().size(), 1u);
    h.ExpectRect(At(0, 0), 3000, -2000);
    EXPECT_EQ(h.Last<MRectShape>()->GetFillStyle(), MFillStyle(kMenuColors[2]));
    EXPECT_TRUE(Lines(h.NativeText()).empty());
}

TEST(RectTool, ALockedWidthAndHeightPlaceTheRectangleWithOneClick) {
    RectHarness h;
    h.Type("3000", "2000", 1);
    ASSERT_TRUE(h.tool->IsWidthLocked() && h.tool->IsHeightLocked());
    EXPECT_TRUE(h.ItemState(ID_RELEASE_CONSTRAINT).first);
    h.MoveTo(At(-1000, -1000));
    EXPECT_EQ(h.tool->Lists().NewCount(), 0) << "nothing follows before the press";
    h.ExpectOneUndoStep([&] { h.Click(At(5000, 1000)); });
    h.ExpectRect(At(5000, 1000), 3000, 2000);
    EXPECT_FALSE(h.tool->IsConstrained()) << "without the keep box the sizes go with the commit";

    h.Type("3500", "", 1, true);
    EXPECT_TRUE(h.tool->IsWidthLocked());
    EXPECT_FALSE(h.tool->IsHeightLocked());
    h.Click(At(0, 0));
    h.Click(At(9000, 4000));
    h.ExpectRect(At(0, 0), 3500, 4000);
    EXPECT_TRUE(h.tool->IsWidthLocked()) << "kept";
}

TEST(RectTool, ShiftMakesASquareOfTheShorterSideKeepingSigns) {
    RectHarness h;
    RectPolygonFlag() = 1;
    h.Click(At(0, 0));
    h.Click(At(3000, -5000), MK_SHIFT);
    h.ExpectRect(At(0, 0), 3000, -3000);
}

TEST(RectTool, AFlatRectangleCommitsNothing) {
    RectHarness h;
    ExpectNoChange(h, [&] {
        h.Click(At(0, 0));
        h.Click(At(4000, 0));
    });
    EXPECT_EQ(h.tool->Lists().NewCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
    ExpectNoChange(h, [&] {
        h.Click(At(0, 0));
        h.Click(At(0, 3000), MK_SHIFT);
    });
    RectPolygonFlag() = 1;
    h.Type("0", "2000", 1);
    ExpectNoChange(h, [&] { h.Click(At(1000, 1000)); });
    // Not quite zero: too thin to see next to its length.
    h.Type("1e-12", "5000", 0);
    ExpectNoChange(h, [&] { h.Click(At(1000, 1000)); });
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        h.Click(At(1000, 1000));
    });
}

TEST(RectTool, CancelledDialogChangesNothing) {
    RectHarness h;
    h.dialogs.Script(IDD_RECT_INPUT,
                     DialogScript().SetText(IDC_RECT_WIDTH, "7").SetCheck(IDC_RECT_POLYGON, 1).Cancel());
    h.RightClick(At(0, 0), MK_CONTROL);
    EXPECT_FALSE(h.tool->IsConstrained());
    EXPECT_EQ(h.tool->GetWidth(), 100.0);
    EXPECT_EQ(RectPolygonFlag(), 0);
}
