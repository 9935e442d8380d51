// The parallel and rotated copy tools through the view: picks, the reference point and dialog on
// the right button, the placing clicks; every placement one undo step.
#include <cmath>
#include <cstdlib>

#include <gmock/gmock.h>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "model/settings/OptionRecord.h"
#include "platform/Exceptions.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/edit/EditTestSupport.h"
#include "tools/edit/CopyDialogs.h"
#include "tools/edit/CopyTools.h"

using namespace tooltest;
using namespace edittest;

namespace {

constexpr double kPi = 3.14159265358979323846;

// The draw limit for the scope of a test.
class DrawLimit {
public:
    explicit DrawLimit(int limit) : m_saved(GetOptionRecord().m_drawLimit) {
        GetOptionRecord().m_drawLimit = limit;
    }
    ~DrawLimit() { GetOptionRecord().m_drawLimit = m_saved; }

private:
    int m_saved;
};

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
        ASSERT_EQ(h.Tool()->Lists().PickCount(), 2);
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
    ASSERT_EQ(h.Tool()->Lists().NewCount(), 8);
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
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 0);
    EXPECT_TRUE(h.Tool()->IsPickMode());
}

TEST_F(CopyTools, BeforeTheFirstClickOnlyTheCrossMarkFollowsThePointer) {
    PickTwoLines(ID_TOOL_COPYLINE);
    OpenDialog(IDD_LINECOPY_INPUT, DialogScript().Ok());
    h.view->UpdateWindow();
    const QImage before = h.Surface();
    h.MoveTo(at(60, 40));
    h.view->UpdateWindow();
    const QImage after = h.Surface();
    // The cross mark's box around the pointer, and nothing beside it but the view's crosshair,
    // which left the right click's point for the pointer's.
    const CPoint mark = h.ToClient(at(60, 40)), clicked = h.ToClient(at(0, 0));
    int inside = 0, outside = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x) {
            if (after.pixel(x, y) == before.pixel(x, y)) continue;
            if (x == mark.x || y == mark.y || x == clicked.x || y == clicked.y) continue;
            const bool box = std::abs(x - mark.x) <= 5 && std::abs(y - mark.y) <= 5;
            ++(box ? inside : outside);
        }
    EXPECT_GT(inside, 0) << "the cross mark";
    EXPECT_EQ(outside, 0) << "no copy shows before the first click";
    EXPECT_TRUE(h.NoXorResidue());
    // From the first click on the copies follow the row.
    h.Click(at(10, 0));
    h.MoveTo(at(40, 0));
    const MFloatRect last = h.Tool()->Lists().NewShape(7)->GetExtent();
    EXPECT_NEAR(last.left, at(45, 0).x, 1e-6) << "copy 3 of the second line at the row's end";
    EXPECT_TRUE(h.NoXorResidue());
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
    EXPECT_EQ(h.Tool()->Lists().NewCount(), 0);
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 2);
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
    EXPECT_EQ(h.Tool()->Lists().NewCount(), 0);
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
    EXPECT_EQ(h.Tool()->Lists().NewCount(), 0) << "nothing half made";
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

// ----- beyond the draw limit, layers and the dialogs' controls ---------------------------------

TEST_F(CopyTools, BeyondTheDrawLimitMovesShowTheFrameAndTheClickPlacesWhatAFullPlacingGives) {
    DrawLimit limit(3);
    PickTwoLines(ID_TOOL_COPYLINE);
    OpenDialog(IDD_LINECOPY_INPUT, DialogScript().Ok());
    h.Click(at(10, 0));
    const QImage before = h.Surface();
    for (int x = 20; x <= 100; x += 7)
        h.MoveTo(at(x, 30));
    EXPECT_TRUE(h.NoXorResidue());
    // Copy 2 of the first line would stand at (10 + 2/3 of 90, 30): only the frame shows.
    const CPoint copy = h.ToClient(at(70, 40));
    EXPECT_EQ(h.Surface().pixel(copy.x, copy.y), before.pixel(copy.x, copy.y));
    h.ExpectOneUndoStep([&] { h.Click(at(100, 30)); });
    const std::vector<Segment> copies = Copies();
    ASSERT_EQ(copies.size(), 8u);
    const MFloatPoint start = at(10, 0), end = at(100, 30);
    const MFloatPoint step((end.x - start.x) / 3, (end.y - start.y) / 3);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 2; ++j)
            ExpectCopy(copies[i * 2 + j], j, MFloatPoint(start.x + i * step.x, start.y + i * step.y), 0.0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(CopyTools, TurnedCopiesBeyondTheDrawLimitAndAnEndWhileTheyWait) {
    DrawLimit limit(3);
    PickTwoLines(ID_TOOL_COPYROTATE);
    OpenDialog(IDD_ROTCOPY_INPUT, DialogScript().SetCheck(IDC_COPY_ROTATE, 1).Ok());
    const MFloatPoint c = at(100, 100);
    h.Click(c);
    h.Click(at(110, 100));
    h.Click(at(130, 100));
    for (int k = 0; k < 12; ++k)
        h.MoveTo(at(100 + 40 - 3 * k, 100 + 4 * k));
    EXPECT_TRUE(h.NoXorResidue());
    h.ExpectOneUndoStep([&] { h.Click(at(150, 100)); });
    const std::vector<Segment> copies = Copies();
    ASSERT_EQ(copies.size(), 8u);
    const double r = at(110, 100).x - c.x;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 2; ++j) {
            const double a = i * kPi / 2;
            ExpectCopy(copies[i * 2 + j], j, MFloatPoint(c.x + r * std::cos(a), c.y + r * std::sin(a)), a);
        }
    // Ended while the copies wait for their places: the screen is the drawing's.
    PickTwoLines(ID_TOOL_COPYLINE);
    OpenDialog(IDD_LINECOPY_INPUT, DialogScript().Ok());
    h.Click(at(10, 0));
    for (int x = 20; x <= 200; x += 30)
        h.MoveTo(at(x, 60));
    EXPECT_TRUE(h.EndLeavesNoResidue());
}

TEST(CopyToolsLayers, EveryCopyGoesToTheLayerOfTheShapeItCopies) {
    ToolHarness h(800, 600, 2);
    PixelGrid at(h);
    h.view->SendCommand(ID_OTHER_LAYERS_EDIT);
    h.Choose(ID_TOOL_COPYLINE);
    h.AddLine(at(0, 0).x, at(0, 0).y, at(0, 20).x, at(0, 20).y, 0);
    h.AddLine(at(5, 0).x, at(5, 0).y, at(5, 20).x, at(5, 20).y, 1);
    h.Repaint();
    h.Click(at(0, 10));
    h.Click(at(5, 10));
    ASSERT_EQ(h.Tool()->Lists().PickCount(), 2);
    h.dialogs.Script(IDD_LINECOPY_INPUT, DialogScript().SetText(IDC_COPY_COUNT, "3").Ok());
    h.RightClick(at(0, 0));
    h.Click(at(10, 0));
    h.ExpectOneUndoStep([&] { h.Click(at(50, 0)); });
    const MDocShapeArray* layers = h.doc.GetLayers();
    ASSERT_EQ(layers->GetLayer(0)->GetSize(), 4);
    ASSERT_EQ(layers->GetLayer(1)->GetSize(), 4);
    for (int layer = 0; layer < 2; ++layer)
        for (int k = 1; k < 4; ++k) {
            // Copy k - 1 of the line on this layer: its own x offset within the row.
            const auto* line = dynamic_cast<const MLineShape*>(layers->GetLayer(layer)->GetAt(k));
            ASSERT_NE(line, nullptr);
            EXPECT_NEAR(line->m_start.x, at(10 + 20 * (k - 1) + 5 * layer, 0).x, 1e-6) << layer << " " << k;
        }
}

TEST_F(CopyTools, TheBoxesShowTheKeptValuesTypingTicksThemAndOkKeepsThem) {
    GetLineCopyValues().angleFixed = 1;
    GetLineCopyValues().angle = 45.0;
    PickTwoLines(ID_TOOL_COPYLINE);
    int angleBox = -1, spacingBox = -1;
    OpenDialog(IDD_LINECOPY_INPUT, DialogScript()
                                       .Do([&](CDialog& d) {
                                           angleBox = d.IsDlgButtonChecked(IDC_LINECOPY_ANGLE_CHECK);
                                           spacingBox = d.IsDlgButtonChecked(IDC_LINECOPY_SPACING_CHECK);
                                       })
                                       .SetText(IDC_LINECOPY_SPACING, "7")
                                       .SetCheck(IDC_LINECOPY_ANGLE_CHECK, 0)
                                       .Ok());
    EXPECT_EQ(angleBox, 1) << "the kept value's box";
    EXPECT_EQ(spacingBox, 0);
    EXPECT_EQ(GetLineCopyValues().spacingFixed, 1) << "typing the spacing ticked its box";
    EXPECT_EQ(GetLineCopyValues().angleFixed, 0);
    EXPECT_TRUE(h.Tool()->IsConstrained());
    h.Tool()->End(h.view.get(), FALSE);

    // The circle's boxes: a value whose box is clear is not fixed, whatever was typed.
    PickTwoLines(ID_TOOL_COPYROTATE);
    OpenDialog(IDD_ROTCOPY_INPUT, DialogScript()
                                      .SetText(IDC_ROTCOPY_RADIUS, "10")
                                      .SetCheck(IDC_ROTCOPY_RADIUS_CHECK, 0)
                                      .SetText(IDC_ROTCOPY_START, "90")
                                      .Ok());
    EXPECT_EQ(GetRotCopyValues().radiusFixed, 0);
    EXPECT_EQ(GetRotCopyValues().startFixed, 1);
    EXPECT_EQ(GetRotCopyValues().endFixed, 0);
    EXPECT_EQ(GetRotCopyValues().rotate, 0);
    // Cancel keeps the values as they were.
    h.Tool()->End(h.view.get(), FALSE);
    PickTwoLines(ID_TOOL_COPYROTATE);
    OpenDialog(IDD_ROTCOPY_INPUT,
               DialogScript().SetCheck(IDC_COPY_ROTATE, 1).SetCheck(IDC_ROTCOPY_END_CHECK, 1).Cancel());
    EXPECT_EQ(GetRotCopyValues().rotate, 0);
    EXPECT_EQ(GetRotCopyValues().endFixed, 0);
}

TEST(CopyToolDialogs, FocusingAValueTicksItsBox) {
    const struct {
        UINT tool, dialog;
        int edit, check;
    } rows[] = {
        {ID_TOOL_COPYLINE, IDD_LINECOPY_INPUT, IDC_LINECOPY_SPACING, IDC_LINECOPY_SPACING_CHECK},
        {ID_TOOL_COPYLINE, IDD_LINECOPY_INPUT, IDC_LINECOPY_ANGLE, IDC_LINECOPY_ANGLE_CHECK},
        {ID_TOOL_COPYROTATE, IDD_ROTCOPY_INPUT, IDC_ROTCOPY_RADIUS, IDC_ROTCOPY_RADIUS_CHECK},
        {ID_TOOL_COPYROTATE, IDD_ROTCOPY_INPUT, IDC_ROTCOPY_START, IDC_ROTCOPY_START_CHECK},
        {ID_TOOL_COPYROTATE, IDD_ROTCOPY_INPUT, IDC_ROTCOPY_END, IDC_ROTCOPY_END_CHECK},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.edit);
        ToolHarness h;
        PixelGrid at(h);
        h.Choose(r.tool);
        at.AddLine(at(0, 0), at(0, 20));
        h.Repaint();
        h.Click(at(0, 10));
        ASSERT_EQ(h.Tool()->Lists().PickCount(), 1);
        UINT before = 9, after = 9;
        h.dialogs.Script(r.dialog, DialogScript()
                                       .Do([&](CDialog& d) { before = d.IsDlgButtonChecked(r.check); })
                                       .Do(FocusEdit(r.edit))
                                       .Do([&](CDialog& d) { after = d.IsDlgButtonChecked(r.check); })
                                       .Ok());
        h.RightClick(at(0, 0));
        EXPECT_EQ(before, 0u);
        EXPECT_EQ(after, 1u);
        EXPECT_TRUE(h.Tool()->IsConstrained()) << "OK keeps the ticked box";
    }
}

TEST_F(CopyTools, TheArrowsStepTheCountWithinTwoTo32000) {
    PickTwoLines(ID_TOOL_COPYLINE);
    std::string shown;
    OpenDialog(IDD_LINECOPY_INPUT,
               DialogScript().Spin(IDC_COPY_COUNT_SPIN, 3).Read(IDC_COPY_COUNT, &shown).Ok());
    EXPECT_EQ(shown, "7");
    EXPECT_EQ(h.Tool()->Lists().NewCount(), 14);
    h.Tool()->End(h.view.get(), FALSE);
    PickTwoLines(ID_TOOL_COPYROTATE);
    OpenDialog(IDD_ROTCOPY_INPUT,
               DialogScript().Spin(IDC_COPY_COUNT_SPIN, -10).Read(IDC_COPY_COUNT, &shown).Ok());
    EXPECT_EQ(shown, "2") << "not below the least count";
    EXPECT_EQ(GetRotCopyValues().count, 2);
    GetLineCopyValues().count = kMaxCopies - 1;
    h.Tool()->End(h.view.get(), FALSE);
    PickTwoLines(ID_TOOL_COPYLINE);
    OpenDialog(IDD_LINECOPY_INPUT,
               DialogScript().Spin(IDC_COPY_COUNT_SPIN, 5).Read(IDC_COPY_COUNT, &shown).Cancel());
    EXPECT_EQ(shown, "32000") << "nor above the most";
}
