// The chamfer tool through the view: through the cursor, or of two fixed lengths made at once.
#include <sstream>

#include <gmock/gmock.h>

#include "document/ToolSettings.h"
#include "model/SnapPoint.h"
#include "model/settings/OptionRecord.h"
#include "tests/tools/edit/EditTestSupport.h"
#include "tools/edit/EdgeTool.h"

using namespace tooltest;
using namespace edittest;
using ::testing::HasSubstr;

namespace {

class EdgeTool : public ::testing::Test {
protected:
    EdgeTool() : at(h) {
        tool = dynamic_cast<MEdgeTool*>(h.Choose(ID_TOOL_EDGE));
        c = at(0, 0);
    }
    void AddCorner() {
        at.AddLine(c, at(200, 0));
        at.AddLine(c, at(0, 200));
        h.Repaint();
    }
    void ScriptLengths(const char* length1, const char* length2) {
        h.dialogs.Script(
            IDD_EDGE_INPUT,
            DialogScript().SetText(IDC_EDGE_LENGTH1, length1).SetText(IDC_EDGE_LENGTH2, length2).Ok());
    }
    ToolHarness h;
    PixelGrid at;
    MFloatPoint c;
    MEdgeTool* tool = nullptr;
};

}  // namespace

TEST_F(EdgeTool, FixedLengthsCutTheCornerAtOnceFromTheCrossingAlongTheKeptParts) {
    ASSERT_NE(tool, nullptr);
    ScriptLengths("10", "20");
    h.RightClick(at(60, 60), MK_CONTROL);
    EXPECT_TRUE(tool->IsConstrained());
    EXPECT_EQ(GetChamferEntry().length1, 10);
    AddCorner();
    h.Click(at(120, 0));
    h.ExpectOneUndoStep([&] { h.Click(at(0, 120)); });
    const std::string text = h.NativeText();
    EXPECT_EQ(Lines(text).size(), 3u);
    EXPECT_TRUE(HasLine(text, {c.x + 10, c.y}, {c.x, c.y + 20})) << "the chamfer";
    EXPECT_TRUE(HasLine(text, {c.x + 10, c.y}, at(200, 0)));
    EXPECT_TRUE(HasLine(text, {c.x, c.y + 20}, at(0, 200)));
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(EdgeTool, TheChamferThroughTheCursorIsSquareToTheBisector) {
    AddCorner();
    h.Click(at(120, 0));
    h.Click(at(0, 120));
    const MFloatPoint q = at(30, 10);
    const double d = (q.x - c.x) + (q.y - c.y);
    h.ExpectOneUndoStep([&] {
        h.MoveTo(q);
        EXPECT_TRUE(h.NoXorResidue());
        h.Click(q);
    });
    const std::string text = h.NativeText();
    EXPECT_TRUE(HasLine(text, {c.x + d, c.y}, {c.x, c.y + d}));
    EXPECT_TRUE(HasLine(text, {c.x + d, c.y}, at(200, 0)));
    EXPECT_TRUE(HasLine(text, {c.x, c.y + d}, at(0, 200)));
}

TEST_F(EdgeTool, TheDialogsOkWithTheShapesPresentCommitsAtOnce) {
    AddCorner();
    h.Click(at(120, 0));
    h.Click(at(0, 120));
    h.MoveTo(at(30, 30));
    ScriptLengths("10", "20");
    // The lengths written with the drawing change too, and no undo takes them back.
    const int steps = h.UndoSteps();
    h.RightClick(at(30, 30), MK_CONTROL);
    EXPECT_EQ(h.UndoSteps(), steps + 1);
    EXPECT_TRUE(HasLine(h.NativeText(), {c.x + 10, c.y}, {c.x, c.y + 20}));
    h.view->SendCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Lines(h.NativeText()).size(), 2u);
    EXPECT_TRUE(HasLine(h.NativeText(), c, at(200, 0)));
    h.view->SendCommand(ID_EDIT_REDO);
    EXPECT_EQ(tool->Lists().NewCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(EdgeTool, LengthsLongerThanAKeptPartChangeNothing) {
    ScriptLengths("10", "20000");  // line 1 is 200 pixels, about 10,700 units
    h.RightClick(at(60, 60), MK_CONTROL);
    AddCorner();
    ExpectNoChange(h, [&] {
        h.Click(at(120, 0));
        h.Click(at(0, 120));
        h.MoveTo(at(30, 30));
        h.Click(at(30, 30));
    });
    EXPECT_TRUE(h.EndLeavesNoResidue());
}

TEST_F(EdgeTool, ALinePickedOnItsEndPointKeepsThatEnd) {
    // Line 0 runs towards the corner; with the pick snapped onto its far end the kept end must
    // still be that far end, not the crossing.
    const auto run = [](WORD snap) {
        ToolHarness g;
        PixelGrid at(g);
        g.Choose(ID_TOOL_EDGE);
        g.dialogs.Script(
            IDD_EDGE_INPUT,
            DialogScript().SetText(IDC_EDGE_LENGTH1, "300").SetText(IDC_EDGE_LENGTH2, "300").Ok());
        g.RightClick(at(60, 60), MK_CONTROL);
        at.AddLine(at(200, 0), at(0, 0));
        at.AddLine(at(0, 0), at(0, 200));
        g.Repaint();
        GetOptionRecord().m_snap = snap;
        g.Click(at(197, 0));
        g.Click(at(0, 4));
        GetOptionRecord().m_snap = 0;
        return g.NativeText();
    };
    const std::string plain = run(0);
    EXPECT_EQ(Lines(plain).size(), 3u);
    EXPECT_EQ(run(kSnapEndPoint | kSnapIntersection), plain);
}

TEST_F(EdgeTool, TheLengthsTravelWithTheDrawingAndADamagedOneKeepsTheDefault) {
    ScriptLengths("10", "20.5");
    h.RightClick(at(60, 60), MK_CONTROL);
    EXPECT_THAT(h.NativeText(), HasSubstr("EDGE\n\t\n\t10 20.5\n"));
    MEdgeTool other(46);
    std::istringstream in("\t10 20.5\n");
    other.LoadSettings(in);
    EXPECT_EQ(other.GetLength1(), 10);
    EXPECT_EQ(other.GetLength2(), 20.5);
    MEdgeTool damaged(46);
    std::istringstream bad("\tnan 7\n");
    damaged.LoadSettings(bad);
    EXPECT_EQ(damaged.GetLength1(), 100);
    EXPECT_EQ(damaged.GetLength2(), 7);
}
