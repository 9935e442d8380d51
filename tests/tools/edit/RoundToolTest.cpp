// The fillet tool through the view: two picked lines, then the arc through the cursor or of a
// fixed radius, each result one undo step.
#include <cmath>
#include <sstream>

#include <gmock/gmock.h>

#include "model/SnapPoint.h"
#include "model/settings/OptionRecord.h"
#include "tests/tools/edit/EditTestSupport.h"
#include "tools/edit/RoundTool.h"

using namespace tooltest;
using namespace edittest;
using ::testing::HasSubstr;

namespace {

class RoundTool : public ::testing::Test {
protected:
    RoundTool() : at(h) {
        tool = dynamic_cast<MRoundTool*>(h.Choose(ID_TOOL_ROUND));
        c = at(0, 0);
    }
    // A line along +x from `from` pixels and one along +y, both to 200 pixels, picked on both.
    void PickCorner(int from0 = 0, int from1 = 0) {
        at.AddLine(at(from0, 0), at(200, 0));
        at.AddLine(at(0, from1), at(0, 200));
        h.Repaint();
        h.Click(at(120, 0));
        h.Click(at(0, 120));
    }
    void FixRadius(const char* radius) {
        h.dialogs.Script(IDD_ROUND_INPUT, DialogScript().SetText(IDC_ROUND_RADIUS, radius).Ok());
        h.RightClick(at(60, 60), MK_CONTROL);
    }
    ToolHarness h;
    PixelGrid at;
    MFloatPoint c;  // the corner
    MRoundTool* tool = nullptr;
};

}  // namespace

TEST_F(RoundTool, TheArcThroughTheCursorIsTheLargerCircleAndTheLinesEndAtItsTangentPoints) {
    ASSERT_NE(tool, nullptr);
    PickCorner();
    const MFloatPoint q = at(20, 20);
    const double a = q.x - c.x, b = q.y - c.y;
    const double r = a + b + std::sqrt(2 * a * b);  // 20 px · (2 + √2)
    h.ExpectOneUndoStep([&] {
        h.MoveTo(q);
        EXPECT_TRUE(h.NoXorResidue());
        h.Click(q);
    });
    const std::string text = h.NativeText();
    const std::vector<Values> arcs = Records(text, "ARC");
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_NEAR(arcs[0][0], c.x + r, 1e-6);
    EXPECT_NEAR(arcs[0][1], c.y + r, 1e-6);
    EXPECT_NEAR(arcs[0][2], r, 1e-6);
    EXPECT_TRUE(HasLine(text, {c.x + r, c.y}, at(200, 0)));
    EXPECT_TRUE(HasLine(text, {c.x, c.y + r}, at(0, 200)));
    EXPECT_EQ(Lines(text).size(), 2u);
    EXPECT_TRUE(h.NoXorResidue());
    EXPECT_EQ(tool->Lists().NewCount(), 0);
}

TEST_F(RoundTool, AFixedRadiusIsMadeAtOnceAndLengthensLinesEndingShortOfTheCrossing) {
    FixRadius("5");
    ASSERT_TRUE(tool->HasFixedRadius());
    const double r = tool->GetRadius();
    EXPECT_EQ(r, 5.0);
    at.AddLine(at(40, 0), at(200, 0));
    at.AddLine(at(0, 60), at(0, 200));
    h.Repaint();
    h.Click(at(120, 0));
    h.ExpectOneUndoStep([&] { h.Click(at(0, 120)); });
    const std::string text = h.NativeText();
    const std::vector<Values> arcs = Records(text, "ARC");
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_NEAR(arcs[0][2], r, 1e-9);
    EXPECT_TRUE(HasLine(text, {c.x + r, c.y}, at(200, 0))) << "lengthened";
    EXPECT_TRUE(HasLine(text, {c.x, c.y + r}, at(0, 200))) << "lengthened";
    EXPECT_TRUE(h.NoXorResidue());
    EXPECT_EQ(tool->Lists().NewCount(), 0);
}

TEST_F(RoundTool, RadiusZeroGivesASharpCornerWithoutAnArc) {
    FixRadius("0");
    at.AddLine(at(40, 0), at(200, 0));
    at.AddLine(at(-60, -60), at(-20, -20));  // ends short of the crossing
    h.Repaint();
    h.Click(at(120, 0));
    h.ExpectOneUndoStep([&] { h.Click(at(-40, -40)); });
    const std::string text = h.NativeText();
    EXPECT_TRUE(Records(text, "ARC").empty());
    EXPECT_TRUE(HasLine(text, c, at(200, 0)));
    EXPECT_TRUE(HasLine(text, at(-60, -60), c));
}

TEST_F(RoundTool, NoCircleOnALineOrTheCrossingCommitsNothing) {
    PickCorner();
    ExpectNoChange(h, [&] {
        h.MoveTo(at(60, 0));
        h.Click(at(60, 0));
        h.MoveTo(at(0, 40));
        h.Click(at(0, 40));
        h.MoveTo(c);
        h.Click(c);
    });
    EXPECT_EQ(tool->Lists().NewCount(), 3) << "still following the cursor";
    EXPECT_TRUE(h.NoXorResidue());
    EXPECT_TRUE(h.EndLeavesNoResidue());
}

TEST_F(RoundTool, AClickWithoutACircleAsksForTheRadiusAgain) {
    PickCorner();
    h.MoveTo(at(60, 0));
    h.Click(at(60, 0));
    EXPECT_EQ(tool->GetStep(), 0);
    EXPECT_NE(h.Prompt().find("半径を指定"), std::string::npos) << h.Prompt();
}

TEST_F(RoundTool, TheLastValidArcIsKeptWhenTheCursorMovesOntoALine) {
    PickCorner();
    h.MoveTo(at(20, 20));
    h.MoveTo(at(60, 0));
    h.ExpectOneUndoStep([&] { h.Click(at(60, 0)); });
    EXPECT_EQ(Records(h.NativeText(), "ARC").size(), 1u);
}

TEST_F(RoundTool, ARadiusLongerThanAKeptPartCommitsNothing) {
    FixRadius("1000");  // about 19 pixels
    at.AddLine(c, at(12, 0));
    at.AddLine(c, at(0, 200));
    h.Repaint();
    ExpectNoChange(h, [&] {
        h.Click(at(9, 0));
        h.Click(at(0, 120));
        h.MoveTo(at(60, 60));
        h.Click(at(60, 60));
    });
    EXPECT_EQ(tool->Lists().NewCount(), 3) << "the immediate path fell back to the cursor";
    EXPECT_TRUE(h.NoXorResidue());
}

// The press that picks line 1 tries the fixed radius and fails (the tangent point lies beyond line
// 0's picked part); the release of that click must not try again at the cursor, whose side of line 1
// may pick another corner.
TEST_F(RoundTool, AFixedRadiusThatCannotBeMadeChangesNothingOnWhicheverSideThePickLands) {
    FixRadius("5000");
    h.AddLine(14000, 12000, 22000, 12000);
    h.AddLine(20010, 12000, 20010, 20000);
    h.Repaint();
    const CPoint onLine1 = h.ToClient({20010, 16000});
    bool left = false, right = false;
    for (int dx : {-1, 0, 1}) {
        SCOPED_TRACE(dx);
        const CPoint pixel(onLine1.x + dx, onLine1.y);
        const double x = h.ToDrawing(pixel).x;
        (x < 20010 ? left : right) = true;
        ExpectNoChange(h, [&] {
            h.Click({21500, 12000});
            h.PressAt(pixel);
            h.ReleaseAt(pixel);
        });
        EXPECT_EQ(tool->Lists().NewCount(), 3) << "line 1 was picked; the corner waits for the cursor";
        tool->End(h.view.get(), FALSE);
    }
    EXPECT_TRUE(left && right) << "picks on both sides of line 1";
}

TEST_F(RoundTool, AntiparallelLinesResetTheTool) {
    at.AddLine(c, at(200, 0));
    at.AddLine(at(200, 40), at(0, 40));
    h.Repaint();
    ExpectNoChange(h, [&] {
        h.Click(at(100, 0));
        h.Click(at(100, 40));
        h.MoveTo(at(60, 20));
        h.Click(at(60, 20));
    });
    EXPECT_EQ(tool->Lists().NewCount(), 0);
    EXPECT_EQ(tool->Lists().PickCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(RoundToolSnapping, PicksSnappedOntoEndPointsAndTheCrossingGiveTheUnsnappedResult) {
    const auto run = [&](WORD snap, bool fixed) {
        ToolHarness g;
        PixelGrid at(g);
        g.Choose(ID_TOOL_ROUND);
        if (fixed) {
            g.dialogs.Script(IDD_ROUND_INPUT, DialogScript().SetText(IDC_ROUND_RADIUS, "300").Ok());
            g.RightClick(at(60, 60), MK_CONTROL);
        }
        at.AddLine(at(0, 0), at(200, 0));
        at.AddLine(at(0, 0), at(0, 200));
        g.Repaint();
        GetOptionRecord().m_snap = snap;
        g.Click(at(5, 0));    // beside the crossing
        g.Click(at(0, 196));  // beside line 1's far end
        GetOptionRecord().m_snap = 0;
        g.MoveTo(at(20, 20));
        g.Click(at(20, 20));
        return g.NativeText();
    };
    for (bool fixed : {false, true}) {
        const std::string plain = run(0, fixed);
        EXPECT_EQ(Records(plain, "ARC").size(), 1u);
        EXPECT_EQ(run(kSnapEndPoint | kSnapIntersection, fixed), plain) << fixed;
    }
}

TEST_F(RoundTool, TheNewArcTakesTheCurrentAttributesAndLayerAndTheCopiesKeepTheirOwn) {
    MLineShape* line0 = at.AddLine(c, at(200, 0));
    line0->SetColor(0xFF);
    line0->SetLineWidth(0.5);
    at.AddLine(c, at(0, 200));
    GetDrawAttributes().lineColor = 0xFF0000;
    h.Repaint();
    h.Click(at(120, 0));
    h.Click(at(0, 120));
    h.MoveTo(at(20, 20));
    h.Click(at(20, 20));
    const std::string text = h.NativeText();
    const std::vector<Values> lines = Records(text, "LINE");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0][4], 0xFF);
    EXPECT_EQ(lines[0][6], 0.5);
    EXPECT_EQ(lines[1][4], 0);
    const std::vector<Values> arcs = Records(text, "ARC");
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_EQ(arcs[0][5], 0xFF0000);
}

TEST_F(RoundTool, ANegativeRadiusIsTakenAsItsSize) {
    FixRadius("-5");
    at.AddLine(c, at(200, 0));
    at.AddLine(c, at(0, 200));
    h.Repaint();
    h.Click(at(120, 0));
    h.ExpectOneUndoStep([&] { h.Click(at(0, 120)); });
    const std::vector<Values> arcs = Records(h.NativeText(), "ARC");
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_NEAR(arcs[0][0], c.x + 5, 1e-9) << "in the quadrant of the picks";
    EXPECT_NEAR(arcs[0][1], c.y + 5, 1e-9);
    EXPECT_NEAR(arcs[0][2], 5, 1e-9);
}

TEST_F(RoundTool, TheRadiusTravelsWithTheDrawingAndADamagedOneKeepsTheDefault) {
    FixRadius("12.5");
    EXPECT_THAT(h.NativeText(), HasSubstr("ROUND\n\t\n\t12.5\n"));
    MRoundTool other(32);
    std::istringstream good("\t12.5 and more\n\tnext line\n");
    other.LoadSettings(good);
    EXPECT_EQ(other.GetRadius(), 12.5);
    for (const char* damaged : {"\tnan\n", "\t12x\n", "\tinf\n", "\n", ""}) {
        MRoundTool fresh(32);
        std::istringstream in(damaged);
        fresh.LoadSettings(in);
        EXPECT_EQ(fresh.GetRadius(), 100) << damaged;
    }
}
