// The extend tool through the view: a boundary, then each picked line moved to it at once.
#include "model/SnapPoint.h"
#include "model/settings/OptionRecord.h"
#include "tests/tools/edit/EditTestSupport.h"

using namespace tooltest;
using namespace edittest;

namespace {

class LineExtendTool : public ::testing::Test {
protected:
    LineExtendTool() : at(h) { h.Choose(ID_TOOL_LINEEXTEND); }
    // A vertical boundary at x pixels, picked.
    void PickBoundary(int x) {
        at.AddLine(at(x, -100), at(x, 100));
        h.Repaint();
        h.Click(at(x, 80));
    }
    ToolHarness h;
    PixelGrid at;
};

}  // namespace

TEST_F(LineExtendTool, TheEndOnTheBoundarysSideMovesAndThePickedPartStays) {
    at.AddLine(at(0, 0), at(100, 0));
    PickBoundary(200);
    h.ExpectOneUndoStep([&] { h.Click(at(30, 0)); });
    EXPECT_TRUE(HasLine(h.NativeText(), at(0, 0), at(200, 0)));
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(LineExtendTool, ABoundaryAcrossTheLineShortensItOnTheSideOfThePick) {
    at.AddLine(at(0, 0), at(100, 0));
    PickBoundary(50);
    h.ExpectOneUndoStep([&] { h.Click(at(80, 0)); });
    EXPECT_TRUE(HasLine(h.NativeText(), at(50, 0), at(100, 0)));
    h.view->SendCommand(ID_EDIT_UNDO);
    // Undo and redo start the tool anew: the boundary is picked again.
    h.Click(at(50, 80));
    h.ExpectOneUndoStep([&] { h.Click(at(20, 0)); });
    EXPECT_TRUE(HasLine(h.NativeText(), at(0, 0), at(50, 0)));
}

TEST_F(LineExtendTool, SeveralLinesInTurnEachInItsOwnUndoStepUntilTheRightButton) {
    at.AddLine(at(0, 0), at(100, 0));
    at.AddLine(at(0, 30), at(60, 50));
    PickBoundary(150);
    const int steps = h.UndoSteps();
    h.Click(at(50, 0));
    EXPECT_EQ(h.UndoSteps(), steps + 1);
    const std::string first = h.NativeText();
    h.Click(at(30, 40));
    EXPECT_EQ(h.UndoSteps(), steps + 2);
    const std::string text = h.NativeText();
    EXPECT_TRUE(HasLine(text, at(0, 0), at(150, 0)));
    EXPECT_TRUE(HasLine(text, at(0, 30), at(150, 80)));
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 1) << "the boundary stays picked";
    h.RightClick(at(300, 0));
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 0) << "the right button drops it";
    EXPECT_TRUE(h.NoXorResidue());
    // The next pick is a boundary again: nothing changes.
    ExpectNoChange(h, [&] { h.Click(at(120, 0)); });
    h.view->SendCommand(ID_EDIT_UNDO);
    EXPECT_EQ(h.NativeText(), first) << "each line its own step";
}

TEST_F(LineExtendTool, AParallelLineChangesNothing) {
    at.AddLine(at(100, -50), at(100, 50));
    PickBoundary(200);
    ExpectNoChange(h, [&] { h.Click(at(100, 20)); });
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 1);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(LineExtendToolSnapping, APickSnappedOntoAnEndPointGivesTheUnsnappedResult) {
    const auto run = [](WORD snap) {
        ToolHarness g;
        PixelGrid at(g);
        g.Choose(ID_TOOL_LINEEXTEND);
        at.AddLine(at(0, 0), at(100, 0));
        at.AddLine(at(-50, -100), at(-50, 100));
        g.Repaint();
        GetOptionRecord().m_snap = snap;
        g.Click(at(-50, 60));
        g.Click(at(3, 0));  // beside the line's end point
        GetOptionRecord().m_snap = 0;
        return g.NativeText();
    };
    const std::string plain = run(0);
    ToolHarness probe;
    PixelGrid at(probe);
    EXPECT_TRUE(HasLine(plain, at(-50, 0), at(100, 0))) << "nothing of the line lost";
    EXPECT_EQ(run(kSnapEndPoint | kSnapIntersection), plain);
}
