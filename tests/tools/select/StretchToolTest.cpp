// The stretch tool: the region, stretching grips and whole shapes, copies with Ctrl, clicks inside
// and outside, Shift and point edit.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "tests/tools/select/SelectTestSupport.h"

using namespace selecttest;

namespace {

class StretchHarness : public SelectHarness {
public:
    StretchHarness() { Choose(ID_TOOL_STRETCH); }
    MLineShape* LineAt(int index) {
        return dynamic_cast<MLineShape*>(doc.GetLayers()->GetLayer(0)->GetAt(index));
    }
    int ShapeCount() { return doc.GetLayers()->GetLayer(0)->GetSize(); }
};

TEST(StretchTool, ARegionOverHalfALineMovesOnlyItsEnd) {
    StretchHarness h;
    ASSERT_NE(h.Stretch(), nullptr);
    h.Line(0, 0, 200, 0);
    h.Drag(h.P(150, -30), h.P(250, 30));
    ASSERT_EQ(h.Picks(), 1);
    EXPECT_EQ(h.Stretch()->GetInsidePoints().size(), 1u);
    EXPECT_EQ(h.Stretch()->GetOutsidePoints().size(), 1u);
    EXPECT_TRUE(h.NoXorResidue());
    h.ExpectOneUndoStep([&] { h.Drag(h.P(200, 10), h.P(240, 50)); });
    ASSERT_EQ(h.ShapeCount(), 1);
    EXPECT_TRUE(Near(h.LineAt(0)->m_start, h.P(0, 0), 1e-9));
    EXPECT_TRUE(Near(h.LineAt(0)->m_end, h.P(240, 40), 1e-9));
}

TEST(StretchTool, ARegionOverTheWholeLineMovesItAndFollowsTheStretch) {
    StretchHarness h;
    h.Line(0, 0, 100, 0);
    h.Drag(h.P(-20, -20), h.P(120, 20));
    h.Drag(h.P(50, 0), h.P(80, 30));
    ASSERT_EQ(h.ShapeCount(), 1);
    EXPECT_TRUE(Near(h.LineAt(0)->m_start, h.P(30, 30), 1e-9));
    EXPECT_TRUE(Near(h.LineAt(0)->m_end, h.P(130, 30), 1e-9));
    // The region moved with the stretch and holds the moved line.
    const MFloatRect region = h.Stretch()->GetRegion();
    EXPECT_TRUE(region.ContainsRect(h.LineAt(0)->GetExtent()));
    ASSERT_EQ(h.Picks(), 1);
    EXPECT_EQ(h.Pick(0), h.LineAt(0));
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(StretchTool, CtrlKeepsTheOriginals) {
    StretchHarness h;
    h.Line(0, 0, 200, 0);
    h.Drag(h.P(150, -30), h.P(250, 30));
    h.Press(h.P(200, 0));
    h.MoveTo(h.P(220, 20));
    h.MoveTo(h.P(240, 40));
    h.Release(h.P(240, 40), MK_CONTROL);
    ASSERT_EQ(h.ShapeCount(), 2);
    EXPECT_TRUE(Near(h.LineAt(0)->m_end, h.P(200, 0), 1e-9));
    EXPECT_TRUE(Near(h.LineAt(1)->m_end, h.P(240, 40), 1e-9));
}

TEST(StretchTool, AClickInsideWithoutADragChangesNeitherDrawingNorRegion) {
    StretchHarness h;
    h.Line(0, 0, 200, 0);
    h.Drag(h.P(150, -30), h.P(250, 30));
    const MFloatRect region = h.Stretch()->GetRegion();
    ExpectNoChange(h, [&] {
        h.Press(h.P(200, 0));
        h.MoveTo(h.P(203, 2));
        h.Release(h.P(203, 2));
    });
    EXPECT_EQ(h.Stretch()->GetRegion(), region);
    EXPECT_EQ(h.Picks(), 1);
    // The next stretch still takes the same grip.
    h.Drag(h.P(200, 0), h.P(220, 0));
    EXPECT_TRUE(Near(h.LineAt(0)->m_start, h.P(0, 0), 1e-9));
    EXPECT_TRUE(Near(h.LineAt(0)->m_end, h.P(220, 0), 1e-9));
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(StretchTool, AClickOutsideStartsOver) {
    StretchHarness h;
    h.Line(0, 0, 200, 0);
    h.Drag(h.P(150, -30), h.P(250, 30));
    ASSERT_EQ(h.Picks(), 1);
    ExpectNoChange(h, [&] { h.Click(h.P(0, 200)); });
    EXPECT_EQ(h.Picks(), 0);
    EXPECT_TRUE(h.Stretch()->GetInsidePoints().empty());
    EXPECT_TRUE(h.NoXorResidue());
    EXPECT_TRUE(h.EndLeavesNoResidue());
}

TEST(StretchTool, ShiftConstrainsTheDirection) {
    StretchHarness h;
    h.Line(0, 0, 200, 0);
    h.Drag(h.P(150, -30), h.P(250, 30));
    h.Drag(h.P(200, 0), h.P(240, 5), MK_SHIFT);
    ASSERT_EQ(h.ShapeCount(), 1);
    EXPECT_NEAR(h.LineAt(0)->m_end.y, h.P(0, 0).y, 1e-6) << "held on the horizontal";
    EXPECT_NEAR(h.LineAt(0)->m_end.x, h.P(240, 0).x, 1e-6);
}

TEST(StretchTool, PointEditRebuildsTheMarks) {
    StretchHarness h;
    h.Circle(100, 0, 50);
    h.Drag(h.P(120, -80), h.P(200, 80));
    ASSERT_EQ(h.Picks(), 1);
    const std::size_t before = h.Stretch()->GetInsidePoints().size() + h.Stretch()->GetOutsidePoints().size();
    h.view->SendCommand(ID_POINT_EDIT);
    const std::size_t after = h.Stretch()->GetInsidePoints().size() + h.Stretch()->GetOutsidePoints().size();
    EXPECT_EQ(before, 8u);
    EXPECT_EQ(after, 4u);
    EXPECT_EQ(h.ItemState(ID_POINT_EDIT), std::make_pair(true, 1));
    EXPECT_TRUE(h.NoXorResidue());
}

}  // namespace
