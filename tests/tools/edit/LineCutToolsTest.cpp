// The two cut tools through the view: at the crossing of another line and at the foot of the
// perpendicular from a clicked point.
#include <cmath>

#include "model/SnapPoint.h"
#include "model/settings/OptionRecord.h"
#include "tests/tools/edit/EditTestSupport.h"

using namespace tooltest;
using namespace edittest;

namespace {

class LineCut : public ::testing::Test {
protected:
    LineCut() : at(h) {}
    // The line to cut, red, 0.5 wide, dashed, with arrows at both ends.
    void AddCutLine() {
        MLineShape* line = at.AddLine(at(0, 0), at(200, 0));
        line->SetColor(0xFF);
        line->SetLineWidth(0.5);
        line->SetLineStyle(1);
        line->SetArrowsEx(1, 3.0, 2, 4.0);
    }
    // The two pieces meet at the cut, keep colour, width and style, and only their own end's arrow.
    void ExpectPieces(const MFloatPoint& cut) {
        const std::vector<Values> lines = Records(h.NativeText(), "LINE");
        const std::string text = h.NativeText();
        EXPECT_TRUE(HasLine(text, at(0, 0), cut));
        EXPECT_TRUE(HasLine(text, cut, at(200, 0)));
        int pieces = 0;
        for (const Values& v : lines) {
            if (v[4] != 0xFF) continue;
            ++pieces;
            EXPECT_EQ(v[5], 1);
            EXPECT_EQ(v[6], 0.5);
            const bool first = std::fabs(v[0] - at(0, 0).x) < 1e-6;
            EXPECT_EQ(v[7], first ? 1 : 0) << "start arrow";
            EXPECT_EQ(v[9], first ? 0 : 2) << "end arrow";
        }
        EXPECT_EQ(pieces, 2);
    }
    ToolHarness h;
    PixelGrid at;
};

}  // namespace

TEST_F(LineCut, AtTheCrossingOfTheSecondPickedLine) {
    h.Choose(ID_TOOL_LINELINECUT);
    AddCutLine();
    at.AddLine(at(80, -50), at(80, 50));
    h.Repaint();
    h.Click(at(150, 0));
    h.ExpectOneUndoStep([&] { h.Click(at(80, 30)); });
    ExpectPieces(at(80, 0));
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(LineCut, ACrossingAtAnEndPointChangesNothing) {
    h.Choose(ID_TOOL_LINELINECUT);
    AddCutLine();
    at.AddLine(at(0, -50), at(0, 50));
    h.Repaint();
    ExpectNoChange(h, [&] {
        h.Click(at(150, 0));
        h.Click(at(0, 30));
    });
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(LineCut, AtTheFootOfThePerpendicularFromTheSecondClick) {
    h.Choose(ID_TOOL_LINECUT);
    AddCutLine();
    h.Repaint();
    h.Click(at(150, 0));
    h.ExpectOneUndoStep([&] {
        h.MoveTo(at(70, 30));
        EXPECT_TRUE(h.NoXorResidue()) << "the cross at the cut point";
        ExpectNoChange(h, [&] { h.Click(at(70, 30)); });
        EXPECT_EQ(h.Tool()->GetStep(), 1) << "the first click after the pick ends step 0";
        h.MoveTo(at(90, -30));
        EXPECT_TRUE(h.NoXorResidue());
        h.Click(at(90, -30));
    });
    ExpectPieces(at(90, 0));
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(LineCut, AFootOutsideTheLineShowsNoCutAndCommitsNothing) {
    h.Choose(ID_TOOL_LINECUT);
    AddCutLine();
    h.Repaint();
    ExpectNoChange(h, [&] {
        h.Click(at(150, 0));
        h.MoveTo(at(260, 30));
        h.Click(at(260, 30));
    });
    EXPECT_TRUE(h.NoXorResidue());
    h.ExpectOneUndoStep([&] {
        h.MoveTo(at(40, -30));
        h.Click(at(40, -30));
        h.Click(at(260, 30));
        EXPECT_EQ(h.UndoSteps(), 0) << "nor in the step that cuts";
        h.Click(at(40, -30));
    });
    ExpectPieces(at(40, 0));
}

TEST(LineCutSnapping, PicksSnappedOntoEndPointsAndCrossingsGiveTheUnsnappedResult) {
    const auto run = [](UINT command, WORD snap) {
        ToolHarness g;
        PixelGrid at(g);
        g.Choose(command);
        at.AddLine(at(0, 0), at(200, 0));
        at.AddLine(at(80, -50), at(80, 50));
        g.Repaint();
        GetOptionRecord().m_snap = snap;
        g.Click(at(196, 0));  // beside the end point
        g.Click(at(80, 4));   // beside the crossing
        if (command == ID_TOOL_LINECUT) {
            g.MoveTo(at(120, 30));
            g.Click(at(120, 30));
        }
        GetOptionRecord().m_snap = 0;
        return g.NativeText();
    };
    for (UINT command : {ID_TOOL_LINELINECUT, ID_TOOL_LINECUT}) {
        const std::string plain = run(command, 0);
        EXPECT_EQ(Lines(plain).size(), 3u) << command;
        EXPECT_EQ(run(command, kSnapEndPoint | kSnapIntersection), plain) << command;
    }
}
