// The parallel and rotated copy tools through the view: picks, the reference point and dialog on
// the right button, the placing clicks; every placement one undo step.
#include <cmath>

#include <gmock/gmock.h>

#include "platform/Exceptions.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/edit/EditTestSupport.h"
#include "tools/edit/CopyDialogs.h"
#include "tools/edit/CopyTools.h"

using namespace tooltest;
using namespace edittest;

namespace {

constexpr double kPi = 3.14159265358979323846;

// A line whose copies run out of memory after the first few.
class ScarceLine : public MLineShape {
public:
    ScarceLine(const MFloatPoint& a, const MFloatPoint& b, int copies) : MLineShape(a, b), m_left(copies) {}
    MCadShape* Duplicate() const override {
        if (m_left-- <= 0) AfxThrowMemoryException();
        return MLineShape::Duplicate();
    }

private:
    mutable int m_left;
};

class CopyTools : public ::testing::Test {
protected:
    CopyTools() : at(h) {}
    // Two short upright lines, picked: their lower ends at (0, 0) and (5, 0) pixels.
    void PickTwoLines(UINT tool) {
        h.Choose(tool);
        originals = {{at(0, 0), at(0, 20)}, {at(5, 0), at(5, 20)}};
        for (const auto& l : originals)
            at.AddLine(l[0], l[1]);
        h.Repaint();
        h.Click(at(0, 10));
        h.Click(at(5, 10));
        ASSERT_EQ(h.Tool()->GetPickCount(), 2);
    }
    void OpenDialog(UINT id, DialogScript script) {
        h.dialogs.Script(id, std::move(script));
        h.RightClick(at(0, 0));
    }
    // The copies (the lines after the two originals), in commit order.
    std::vector<Segment> Copies() {
        std::vector<Segment> lines = Lines(h.NativeText());
        return std::vector<Segment>(lines.begin() + 2, lines.end());
    }
    // Copy (i, j) is original j turned by angle about the reference (0, 0) and moved to p.
    void ExpectCopy(const Segment& s, int j, const MFloatPoint& p, double angle, double tolerance = 1e-6) {
        const MFloatPoint r = at(0, 0);
        const auto turn = [&](const MFloatPoint& q) {
            const double x = q.x - r.x, y = q.y - r.y;
            return MFloatPoint(p.x + x * std::cos(angle) - y * std::sin(angle),
                               p.y + x * std::sin(angle) + y * std::cos(angle));
        };
        const MFloatPoint a = turn(originals[j][0]), b = turn(originals[j][1]);
        EXPECT_NEAR(s.x0, a.x, tolerance);
        EXPECT_NEAR(s.y0, a.y, tolerance);
        EXPECT_NEAR(s.x1, b.x, tolerance);
        EXPECT_NEAR(s.y1, b.y, tolerance);
    }
    ToolHarness h;
    PixelGrid at;
    std::vector<std::array<MFloatPoint, 2>> originals;
};

}  // namespace

TEST_F(CopyTools, TwoClicksSpreadFourCopiesOfEachPickAlongTheRow) {
    PickTwoLines(ID_TOOL_COPYLINE);
    OpenDialog(IDD_LINECOPY_INPUT, DialogScript().Ok());
    ASSERT_EQ(h.Tool()->GetNewCount(), 8);
    EXPECT_FALSE(h.Tool()->IsPickMode());
    h.Click(at(10, 0));
    EXPECT_TRUE(h.NoXorResidue());
    h.ExpectOneUndoStep([&] { h.Click(at(40, 0)); });
    const std::vector<Segment> copies = Copies();
    ASSERT_EQ(copies.size(), 8u);
    const MFloatPoint start = at(10, 0), step((at(40, 0).x - start.x) / 3, 0.0);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 2; ++j)
            ExpectCopy(copies[i * 2 + j], j, MFloatPoint(start.x + i * step.x, start.y), 0.0);
    EXPECT_TRUE(h.NoXorResidue());
    EXPECT_EQ(h.Tool()->GetPickCount(), 0);
    EXPECT_TRUE(h.Tool()->IsPickMode());
}

TEST_F(CopyTools, AFixedSpacingAndAngleMakeTheRowWhateverTheSecondClick) {
    PickTwoLines(ID_TOOL_COPYLINE);
    OpenDialog(IDD_LINECOPY_INPUT, DialogScript()
                                       .SetText(IDC_LINECOPY_SPACING, "5")
                                       .SetCheck(IDC_LINECOPY_SPACING_CHECK, 1)
                                       .SetText(IDC_LINECOPY_ANGLE, "90")
                                       .SetCheck(IDC_LINECOPY_ANGLE_CHECK, 1)
                                       .Ok());
    EXPECT_TRUE(h.Tool()->IsConstrained());
    h.Click(at(10, 0));
    h.ExpectOneUndoStep([&] { h.Click(at(70, -30)); });
    const std::vector<Segment> copies = Copies();
    ASSERT_EQ(copies.size(), 8u);
    const MFloatPoint start = at(10, 0);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 2; ++j)
            ExpectCopy(copies[i * 2 + j], j, MFloatPoint(start.x, start.y + 5.0 * i), 0.0, 1e-9);
    EXPECT_EQ(GetLineCopyValues().spacing, 5.0) << "the values stay for the next use";
}

TEST_F(CopyTools, ShiftPutsTheRowOnAnAxis) {
    PickTwoLines(ID_TOOL_COPYLINE);
    OpenDialog(IDD_LINECOPY_INPUT, DialogScript().Ok());
    h.Click(at(10, 0));
    h.Click(at(70, 6), MK_SHIFT);
    const std::vector<Segment> copies = Copies();
    ASSERT_EQ(copies.size(), 8u);
    for (const Segment& s : copies)
        EXPECT_NEAR(s.y0, at(0, 0).y, 1e-9) << "every copy on the horizontal through the first click";
}

TEST_F(CopyTools, TurnedCopiesAfterManyMovesAreTheOriginalTurnedOnce) {
    PickTwoLines(ID_TOOL_COPYLINE);
    OpenDialog(IDD_LINECOPY_INPUT, DialogScript()
                                       .SetText(IDC_LINECOPY_ANGLE, "30")
                                       .SetCheck(IDC_LINECOPY_ANGLE_CHECK, 1)
                                       .SetCheck(IDC_COPY_ROTATE, 1)
                                       .Ok());
    h.Click(at(10, 0));
    for (int k = 0; k < 500; ++k)
        h.MoveTo(at(60 + k % 37, 10 + k % 23));
    h.ExpectOneUndoStep([&] { h.Click(at(100, 40)); });
    const std::vector<Segment> copies = Copies();
    ASSERT_EQ(copies.size(), 8u);
    const double a = 30 * kPi / 180;
    const MFloatPoint start = at(10, 0), end = at(100, 40);
    const double spacing = std::hypot(end.x - start.x, end.y - start.y) / 3;
    const double size = at(0, 20).y - at(0, 0).y;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 2; ++j) {
            const MFloatPoint along =
                MFloatPoint(start.x + i * spacing * std::cos(a), start.y + i * spacing * std::sin(a));
            // The row's spacing follows the last click: compare the shape, turned by 30°.
            const Segment& s = copies[i * 2 + j];
            EXPECT_NEAR(s.x1 - s.x0, -size * std::sin(a), 1e-9 * size);
            EXPECT_NEAR(s.y1 - s.y0, size * std::cos(a), 1e-9 * size);
            ExpectCopy(s, j, along, a, 1e-9 * size * 100);
        }
}

TEST_F(CopyTools, CancelStaysInPickingAndWithoutPicksTheRightButtonShowsTheMenu) {
    h.Choose(ID_TOOL_COPYLINE);
    h.frame.SetActiveView(h.view.get());
    h.RightClick(at(0, 0));
    EXPECT_EQ(h.dialogs.Popups().size(), 1u) << "the context menu";
    EXPECT_FALSE(h.dialogs.Opened(IDD_LINECOPY_INPUT));
    PickTwoLines(ID_TOOL_COPYLINE);
    OpenDialog(IDD_LINECOPY_INPUT, DialogScript().SetText(IDC_COPY_COUNT, "9").Cancel());
    EXPECT_TRUE(h.dialogs.Opened(IDD_LINECOPY_INPUT));
    EXPECT_EQ(h.Tool()->GetNewCount(), 0);
    EXPECT_EQ(h.Tool()->GetPickCount(), 2);
    EXPECT_TRUE(h.Tool()->IsPickMode());
    EXPECT_EQ(GetLineCopyValues().count, 4);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(CopyTools, CountsOutside2To32000AreRefused) {
    MessageBoxRecorder messages;
    PickTwoLines(ID_TOOL_COPYLINE);
    OpenDialog(IDD_LINECOPY_INPUT, DialogScript().SetText(IDC_COPY_COUNT, "1").Ok().Cancel());
    OpenDialog(IDD_LINECOPY_INPUT, DialogScript().SetText(IDC_COPY_COUNT, "32001").Ok().Cancel());
    EXPECT_EQ(messages.Messages().size(), 2u);
    EXPECT_EQ(h.Tool()->GetNewCount(), 0);
}

TEST_F(CopyTools, FourCopiesAroundTheWholeCircleWhenStartAndEndPointTheSameWay) {
    PickTwoLines(ID_TOOL_COPYROTATE);
    OpenDialog(IDD_ROTCOPY_INPUT, DialogScript().Ok());
    const MFloatPoint c = at(100, 100);
    h.Click(c);
    h.Click(at(110, 100));
    h.Click(at(130, 100));
    h.ExpectOneUndoStep([&] { h.Click(at(150, 100)); });
    const std::vector<Segment> copies = Copies();
    ASSERT_EQ(copies.size(), 8u);
    const double r = at(110, 100).x - c.x;
    for (int i = 0; i < 4; ++i)
        ExpectCopy(copies[i * 2], 0,
                   MFloatPoint(c.x + r * std::cos(i * kPi / 2), c.y + r * std::sin(i * kPi / 2)), 0.0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(CopyTools, EverythingFixedCommitsAtTheCentreClickTurnedWhenAsked) {
    PickTwoLines(ID_TOOL_COPYROTATE);
    OpenDialog(IDD_ROTCOPY_INPUT, DialogScript()
                                      .SetText(IDC_COPY_COUNT, "3")
                                      .SetText(IDC_ROTCOPY_RADIUS, "10")
                                      .SetCheck(IDC_ROTCOPY_RADIUS_CHECK, 1)
                                      .SetText(IDC_ROTCOPY_START, "0")
                                      .SetCheck(IDC_ROTCOPY_START_CHECK, 1)
                                      .SetText(IDC_ROTCOPY_END, "180")
                                      .SetCheck(IDC_ROTCOPY_END_CHECK, 1)
                                      .SetCheck(IDC_COPY_ROTATE, 1)
                                      .Ok());
    const MFloatPoint c = at(100, 100);
    h.ExpectOneUndoStep([&] { h.Click(c); });
    const std::vector<Segment> copies = Copies();
    ASSERT_EQ(copies.size(), 6u);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j) {
            const double a = i * kPi / 2;
            ExpectCopy(copies[i * 2 + j], j, MFloatPoint(c.x + 10 * std::cos(a), c.y + 10 * std::sin(a)), a);
        }
}

TEST_F(CopyTools, AWholeTurnBetweenStartAndEndSpreadsTheCopiesEvenly) {
    for (const auto& [start, end] :
         {std::pair{0.0, 2 * kPi}, {2 * kPi, 0.0}, {0.5, 0.5 + 1e-12}, {0.5 + 1e-12, 0.5}}) {
        for (int i = 0; i < 4; ++i) {
            const double a = MCopyRotateTool::CopyAngle(start, end, 4, i);
            EXPECT_NEAR(std::remainder(a - start - i * kPi / 2, 2 * kPi), 0.0, 1e-9) << start << " " << end;
        }
    }
    EXPECT_NEAR(MCopyRotateTool::CopyAngle(1.5 * kPi, 0.5 * kPi, 3, 2), 2.5 * kPi, 1e-12) << "the way round";

    PickTwoLines(ID_TOOL_COPYROTATE);
    OpenDialog(IDD_ROTCOPY_INPUT, DialogScript()
                                      .SetText(IDC_ROTCOPY_RADIUS, "10")
                                      .SetCheck(IDC_ROTCOPY_RADIUS_CHECK, 1)
                                      .SetText(IDC_ROTCOPY_START, "360")
                                      .SetCheck(IDC_ROTCOPY_START_CHECK, 1)
                                      .SetText(IDC_ROTCOPY_END, "0")
                                      .SetCheck(IDC_ROTCOPY_END_CHECK, 1)
                                      .Ok());
    const MFloatPoint c = at(100, 100);
    h.Click(c);
    const std::vector<Segment> copies = Copies();
    ASSERT_EQ(copies.size(), 8u);
    for (int i = 0; i < 4; ++i)
        ExpectCopy(copies[i * 2], 0,
                   MFloatPoint(c.x + 10 * std::cos(i * kPi / 2), c.y + 10 * std::sin(i * kPi / 2)), 0.0);
}

TEST_F(CopyTools, RunningOutOfMemoryWhileCopyingMakesNothingAndSaysSo) {
    MessageBoxRecorder boxes;
    h.Choose(ID_TOOL_COPYROTATE);
    auto* scarce = new ScarceLine(at(0, 0), at(0, 20), 2);
    h.doc.AppendShape(scarce, 0);
    scarce->Recalc(h.view.get());
    at.AddLine(at(5, 0), at(5, 20));
    h.Repaint();
    h.Click(at(0, 10));
    h.Click(at(5, 10));
    ExpectNoChange(h, [&] { OpenDialog(IDD_ROTCOPY_INPUT, DialogScript().Ok()); });
    EXPECT_TRUE(boxes.Saw(IDS_OUT_OF_MEMORY_ASK));
    EXPECT_EQ(h.Tool()->GetNewCount(), 0) << "nothing half made";
    EXPECT_EQ(h.Tool()->GetPickCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}
