// The corner tool through the view: two picked lines meet at their crossing in one undo step.
#include <gmock/gmock.h>

#include "tests/tools/edit/EditTestSupport.h"
#include "tools/edit/CornerTool.h"

using namespace tooltest;
using namespace edittest;

TEST(CornerTool, TwoLinesMeetAtTheirCrossingKeepingThePickedSidesInTheirPlaces) {
    ToolHarness h;
    PixelGrid at(h);
    ASSERT_NE(dynamic_cast<MCornerTool*>(h.Choose(ID_TOOL_CORNER)), nullptr);
    // L1 (0,0)-(10,0) picked at (2,0), L2 (15,5)-(15,20) picked at (15,10), in pixel steps of 10.
    at.AddLine(at(0, 0), at(100, 0));
    at.AddLine(at(150, 50), at(150, 200));
    at.AddLine(at(0, 150), at(60, 150));  // a bystander that stays last
    h.Repaint();
    h.Click(at(20, 0));
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 1);
    h.ExpectOneUndoStep([&] { h.Click(at(150, 100)); });
    const std::vector<Segment> lines = Lines(h.NativeText());
    ASSERT_EQ(lines.size(), 3u);
    const MFloatPoint x = at(150, 0);
    EXPECT_NEAR(lines[0].x0, at(0, 0).x, 1e-9);
    EXPECT_NEAR(lines[0].x1, x.x, 1e-9);
    EXPECT_NEAR(lines[0].y1, x.y, 1e-9);
    EXPECT_NEAR(lines[1].x0, x.x, 1e-9);
    EXPECT_NEAR(lines[1].y0, x.y, 1e-9);
    EXPECT_NEAR(lines[1].y1, at(150, 200).y, 1e-9);
    EXPECT_TRUE(HasLine(h.NativeText(), at(0, 150), at(60, 150))) << "in their places";
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(CornerTool, ParallelLinesStayAsTheyAre) {
    ToolHarness h;
    PixelGrid at(h);
    h.Choose(ID_TOOL_CORNER);
    at.AddLine(at(0, 0), at(100, 0));
    at.AddLine(at(0, 40), at(100, 40));
    h.Repaint();
    ExpectNoChange(h, [&] {
        h.Click(at(50, 0));
        h.Click(at(50, 40));
    });
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}
