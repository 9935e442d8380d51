// The line tool through the view: two releases, Shift, the locks of dialog 131, the direction
// commands of the context menu and the tangent construction over circles.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "model/geometry/Geometry.h"
#include "model/shapes/curves/CircleShape.h"
#include "tests/tools/line/LineTestSupport.h"
#include "tools/line/LineTool.h"
#include "tools/line/TangentLines.h"

using namespace linetest;
using namespace tooltest;
using ::testing::HasSubstr;

namespace {

struct LineToolHarness : LineHarness {
    LineToolHarness() : LineHarness(ID_TOOL_LINE) { tool = As<MLineTool>(); }
    void TypeLocks(const std::string& length, const std::string& angle, bool keep = false) {
        DialogScript script;
        // A text equal to the one shown ticks nothing: the boxes are ticked as a user would.
        if (!length.empty()) script.SetText(IDC_LENGTH_VALUE, length).SetCheck(IDC_USE_LENGTH, 1);
        if (!angle.empty()) script.SetText(IDC_ANGLE_DEGREES, angle).SetCheck(IDC_USE_ANGLE, 1);
        dialogs.Script(IDD_LINE_INPUT, script.SetCheck(IDC_KEEP_VALUES, keep).Ok());
        RightClick(At(0, 0), MK_CONTROL);
    }
    const MLineShape* Shown() const {
        return tool->Lists().NewCount() ? dynamic_cast<const MLineShape*>(tool->Lists().NewShape(0))
                                        : nullptr;
    }
    MLineShape* Last() {
        const auto lines = LinesOf(doc);
        return lines.empty() ? nullptr : lines.back();
    }
    // A line of the drawing with snapping onto shapes, where the menu's directions are taken:
    // answers its direction.
    double AddSnappedLine() {
        AddLine(kBase.x, kBase.y - 6000, kBase.x + 8000, kBase.y - 2000);
        Repaint();
        GetOptionRecord().m_snap = kSnapOnShape;
        return std::atan2(4000, 8000);
    }
    MLineTool* tool;
};

}  // namespace

TEST(LineTool, IsTheToolTheProgramStartsWith) {
    ToolHarness h;
    ASSERT_NE(dynamic_cast<MLineTool*>(h.Tool()), nullptr);
    EXPECT_EQ(h.Prompt(), "[直線]:始点（Ctrl+右ボタンで数値入力）");
}

TEST(LineTool, TheLineRunsFromTheFirstReleaseToTheSecond) {
    LineToolHarness h;
    h.ExpectOneUndoStep([&] {
        // The press point and the drag are not used: the start is where the button comes up.
        h.Drag(At(-5000, -5000), At(0, 0));
        EXPECT_EQ(h.Prompt(), "[直線]:終点（Ctrl+右ボタンで数値入力）");
        h.MoveTo(At(3000, 1000));
        EXPECT_TRUE(h.NoXorResidue());
        h.Click(At(4000, 3000));
    });
    ASSERT_EQ(LinesOf(h.doc).size(), 1u);
    EXPECT_TRUE(Near(Rel(h.Last()->m_start), {0, 0}));
    EXPECT_TRUE(Near(Rel(h.Last()->m_end), {4000, 3000}));
    EXPECT_EQ(h.tool->Lists().NewCount(), 0);
    EXPECT_EQ(h.Prompt(), "[直線]:始点（Ctrl+右ボタンで数値入力）");
    EXPECT_TRUE(h.NoXorResidue());
}

// The preview is green in XOR: over the classic 128 grey outside the sheet it came out as 128,
// 127, 128, and a line begun there stayed invisible until its second click.
TEST(LineTool, ThePreviewShowsOutsideTheSheet) {
    ToolHarness h(900, 450);
    h.Choose(ID_TOOL_LINE);
    const COLORREF grey = GetSysColor(COLOR_APPWORKSPACE);
    const QImage bare = h.Repaint();
    ASSERT_EQ(viewtest::PixelAt(bare, 10, 100), grey) << "the left strip lies outside the sheet";
    h.Click(h.ToDrawing(CPoint(10, 100)));
    h.MoveToClient(CPoint(40, 130));
    h.MoveToClient(CPoint(110, 200));
    // Halfway along the diagonal, away from the crosshair.
    const COLORREF shown = viewtest::PixelAt(h.Surface(), 60, 150);
    EXPECT_GE(std::abs(GetGValue(shown) - GetGValue(grey)), 48) << std::hex << shown;
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(LineTool, ShiftSnapsTheLineToTheNearerAxis) {
    LineToolHarness h;
    h.Click(At(0, 0));
    h.Click(At(4000, 1000), MK_SHIFT);
    EXPECT_TRUE(Near(Rel(h.Last()->m_end), {4000, 0}));
    h.Click(At(0, 0));
    h.Click(At(-1000, -3000), MK_SHIFT);
    EXPECT_TRUE(Near(Rel(h.Last()->m_end), {0, -3000}));
}

TEST(LineTool, ALengthLockPutsTheEndAtThatDistanceTowardsThePointerAndGoesUnlessKept) {
    LineToolHarness h;
    GetOptionRecord().m_snap = 0;
    h.TypeLocks("100", "");
    ASSERT_TRUE(h.tool->IsLengthLocked());
    EXPECT_FALSE(h.tool->IsAngleLocked());
    EXPECT_TRUE(h.ItemState(ID_RELEASE_CONSTRAINT).first);
    h.Click(At(0, 0));
    const MFloatPoint start = h.Shown()->m_start;
    h.ExpectOneUndoStep([&] { h.Click(At(3000, 4000)); });
    const MLineShape* line = h.Last();
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR((line->m_end - line->m_start).GetLength(), 100.0, 1e-9);
    const MFloatPoint towards = (h.ToDrawing(h.ToClient(At(3000, 4000))) - start).GetUnit();
    EXPECT_TRUE(Near((line->m_end - line->m_start).GetUnit(), towards, 1e-9));
    EXPECT_FALSE(h.tool->IsLengthLocked()) << "without the keep box the lock goes with the line";

    h.TypeLocks("", "30", true);
    ASSERT_TRUE(h.tool->IsAngleLocked());
    for (int i = 0; i < 2; ++i) {
        h.Click(At(0, 0));
        h.Click(At(5000, 1000));
        const MFloatPoint d = h.Last()->m_end - h.Last()->m_start;
        EXPECT_NEAR(std::atan2(d.y, d.x), kPi / 6, 1e-12) << "kept for the next line too";
    }
    // Cancel changes nothing.
    h.dialogs.Script(IDD_LINE_INPUT, DialogScript().SetText(IDC_ANGLE_DEGREES, "45").Cancel());
    h.RightClick(At(0, 0), MK_CONTROL);
    EXPECT_NEAR(h.tool->GetLockAngle(), kPi / 6, 1e-12);
}

TEST(LineTool, ParallelAndPerpendicularTakeTheDirectionOfTheSnappedLine) {
    LineToolHarness h;
    const double along = h.AddSnappedLine();
    h.ChooseFromMenu(At(4000, -4000), ID_PARALLEL);
    ASSERT_TRUE(h.tool->IsConstrained());
    GetOptionRecord().m_snap = 0;
    h.Click(At(-8000, 4000));
    h.Click(At(-1000, 9000));
    MFloatPoint d = h.Last()->m_end - h.Last()->m_start;
    EXPECT_NEAR(std::sin(std::atan2(d.y, d.x) - along), 0.0, 1e-12);
    EXPECT_FALSE(h.tool->IsConstrained()) << "a menu direction lasts one line";

    GetOptionRecord().m_snap = kSnapOnShape;
    h.ChooseFromMenu(At(4000, -4000), ID_PERPENDICULAR);
    GetOptionRecord().m_snap = 0;
    h.Click(At(-8000, 4000));
    h.Click(At(-6000, 9000));
    d = h.Last()->m_end - h.Last()->m_start;
    EXPECT_NEAR(std::cos(std::atan2(d.y, d.x) - along), 0.0, 1e-12);
}

namespace {

struct TangentHarness : LineToolHarness {
    TangentHarness() {
        first = AddCircle(kBase.x, kBase.y, 1500);
        second = AddCircle(kBase.x + 9000, kBase.y + 1200, 2400);
        Repaint();
        GetOptionRecord().m_snap = kSnapOnShape;
    }
    // How far the line is from touching the circle at its end: |(other - end)·(end - centre)|.
    static double Touching(const MFloatPoint& end, const MFloatPoint& other, const MCircleShape& c) {
        return std::fabs((other - end).Dot(end - c.m_center));
    }
    MCircleShape* first;
    MCircleShape* second;
    // 1e-9 of the drawing's size, squared into the dot product's units.
    const double tolerance = 1e-9 * 20000 * 20000;
};

}  // namespace

TEST(LineTool, TangentToOneCircleStartsOnItSquareToTheRadius) {
    TangentHarness h;
    h.ChooseFromMenu(At(0, 1500), ID_TANGENT);
    ASSERT_EQ(h.tool->GetStep(), 1);
    GetOptionRecord().m_snap = 0;
    h.ExpectOneUndoStep([&] { h.Click(At(-6000, 7000)); });
    const MLineShape* line = h.Last();
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR((line->m_start - h.first->m_center).GetLength(), 1500, 1e-6);
    EXPECT_LE(TangentHarness::Touching(line->m_start, line->m_end, *h.first), h.tolerance);
    EXPECT_GT(line->m_start.y, kBase.y) << "the touching point nearer the pick";
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(LineTool, APointerInsideTheTangentCircleShrinksTheLineAndCommitsNothing) {
    TangentHarness h;
    h.ChooseFromMenu(At(0, 1500), ID_TANGENT);
    GetOptionRecord().m_snap = 0;
    h.MoveTo(At(600, 300));
    ASSERT_NE(h.Shown(), nullptr);
    EXPECT_EQ(h.Shown()->m_start, h.Shown()->m_end);
    EXPECT_TRUE(h.NoXorResidue());
    const int steps = h.UndoSteps();
    h.Click(At(600, 300));
    EXPECT_EQ(h.UndoSteps(), steps);
    EXPECT_TRUE(LinesOf(h.doc).empty());
}

TEST(LineTool, EachCommonTangentOfTwoCirclesIsReachedByItsContactPoints) {
    const MTangentCircleTarget a{At(0, 0), 1500}, b{At(9000, 1200), 2400};
    const std::vector<MTangentSegment> tangents = CommonTangents(a, b);
    ASSERT_EQ(tangents.size(), 4u);
    for (const MTangentSegment& t : tangents) {
        TangentHarness h;
        h.ChooseFromMenu(t.start, ID_TANGENT);
        h.MoveTo(t.end);
        h.ExpectOneUndoStep([&] { h.view->SendCommand(ID_TANGENT); });
        const MLineShape* line = h.Last();
        ASSERT_NE(line, nullptr);
        EXPECT_TRUE(Near(line->m_start, t.start, 1e-6));
        EXPECT_TRUE(Near(line->m_end, t.end, 1e-6));
        EXPECT_LE(TangentHarness::Touching(line->m_start, line->m_end, *h.first), h.tolerance);
        EXPECT_LE(TangentHarness::Touching(line->m_end, line->m_start, *h.second), h.tolerance);
        EXPECT_EQ(h.tool->Lists().NewCount(), 0);
    }
}

TEST(LineTool, TangentTwiceToOneCircleHasNoLineAndCommitsNothing) {
    TangentHarness h;
    h.ChooseFromMenu(At(0, 1500), ID_TANGENT);
    h.MoveTo(At(0, -1500));
    const int steps = h.UndoSteps();
    h.view->SendCommand(ID_TANGENT);
    EXPECT_EQ(h.UndoSteps(), steps) << "two equal concentric circles: the end is the start";
    EXPECT_TRUE(LinesOf(h.doc).empty());
}

TEST(LineTool, TouchingDrawsAlongTheTangentAtTheSnappedPoint) {
    TangentHarness h;
    h.ChooseFromMenu(At(0, 1500), ID_TOUCH);
    ASSERT_EQ(h.tool->GetStep(), 1);
    GetOptionRecord().m_snap = 0;
    h.Click(At(6000, 4000));
    const MLineShape* line = h.Last();
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR((line->m_start - h.first->m_center).GetLength(), 1500, 1e-6);
    EXPECT_LE(TangentHarness::Touching(line->m_start, line->m_end, *h.first), h.tolerance);
    EXPECT_GT(line->m_end.x, line->m_start.x + 1000) << "on the pointer's side";
}

TEST(LineTool, AngleFromTheMenuTurnsTheSnappedLinesDirectionByTheTypedAngle) {
    LineToolHarness h;
    const double along = h.AddSnappedLine();
    h.dialogs.Script(IDD_ANGLE, DialogScript().SetText(IDC_ANGLE_VALUE, "30").Ok());
    h.ChooseFromMenu(At(4000, -4000), ID_ANGLE_CONSTRAINT);
    ASSERT_TRUE(h.dialogs.Opened(IDD_ANGLE));
    ASSERT_TRUE(h.tool->IsConstrained());
    GetOptionRecord().m_snap = 0;
    h.ExpectOneUndoStep([&] {
        h.Click(At(-8000, 4000));
        h.Click(At(-2000, 9000));
    });
    const MFloatPoint d = h.Last()->m_end - h.Last()->m_start;
    EXPECT_NEAR(std::sin(std::atan2(d.y, d.x) - along - kPi / 6), 0.0, 1e-12);
    EXPECT_FALSE(h.tool->IsConstrained()) << "a menu direction lasts one line";

    // Cancel sets no direction.
    GetOptionRecord().m_snap = kSnapOnShape;
    h.dialogs.Script(IDD_ANGLE, DialogScript().SetText(IDC_ANGLE_VALUE, "45").Cancel());
    h.ChooseFromMenu(At(4000, -4000), ID_ANGLE_CONSTRAINT);
    EXPECT_FALSE(h.tool->IsConstrained());
}

namespace {

// A shape that offers "接する" but knows no tangent direction at the point.
struct CircleWithoutTangent : MCircleShape {
    double GetAngleAt(int kind, const MFloatPoint& point, MFloatPoint* out) const override {
        return kind == kShapeHasTangent ? DBL_MAX : MCircleShape::GetAngleAt(kind, point, out);
    }
};

}  // namespace

TEST(LineTool, TouchingWithoutATangentDirectionStartsAFreeLineAtTheSnappedPoint) {
    LineToolHarness h;
    auto* circle = new CircleWithoutTangent();
    circle->SetCircle(kBase.x, kBase.y, 1500);
    h.doc.AppendShape(circle, 0);
    circle->Recalc(h.view.get());
    h.Repaint();
    GetOptionRecord().m_snap = kSnapOnShape;
    h.ChooseFromMenu(At(0, 1500), ID_TOUCH);
    ASSERT_EQ(h.tool->GetStep(), 1) << "the line starts at the snapped point";
    EXPECT_FALSE(h.tool->IsConstrained());
    ASSERT_NE(h.Shown(), nullptr);
    const MFloatPoint start = h.Shown()->m_start;
    EXPECT_NEAR((start - circle->m_center).GetLength(), 1500, 1e-6);
    GetOptionRecord().m_snap = 0;
    h.Click(At(6000, 4000));
    const MLineShape* line = h.Last();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->m_start, start);
    EXPECT_TRUE(Near(line->m_end, h.ToDrawing(h.ToClient(At(6000, 4000))), 1e-6))
        << "the end follows the pointer";
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(LineTool, ALengthTypedMidwayShowsAtOnceTowardsThePointer) {
    LineToolHarness h;
    GetOptionRecord().m_snap = 0;
    h.Click(At(0, 0));
    h.MoveTo(At(3000, 4000));
    // The numeric entry is opened by a right click where the pointer is.
    h.dialogs.Script(IDD_LINE_INPUT,
                     DialogScript().SetText(IDC_LENGTH_VALUE, "100").SetCheck(IDC_USE_LENGTH, 1).Ok());
    h.RightClick(At(3000, 4000), MK_CONTROL);
    const MLineShape* shown = h.Shown();
    ASSERT_NE(shown, nullptr);
    EXPECT_NEAR((shown->m_end - shown->m_start).GetLength(), 100.0, 1e-9);
    EXPECT_TRUE(h.NoXorResidue());
    // Cancel shows the figure where it was.
    h.dialogs.Script(IDD_LINE_INPUT, DialogScript().Cancel());
    h.RightClick(At(3000, 4000), MK_CONTROL);
    EXPECT_NEAR((h.Shown()->m_end - h.Shown()->m_start).GetLength(), 100.0, 1e-9);
    EXPECT_TRUE(h.NoXorResidue());
    // "数値入力..." from the menu does the same: an angle of 90° turns the line upright at once.
    h.dialogs.Script(IDD_LINE_INPUT,
                     DialogScript().SetText(IDC_ANGLE_DEGREES, "90").SetCheck(IDC_USE_ANGLE, 1).Ok());
    h.ChooseFromMenu(At(3000, 4000), ID_NUMERIC_INPUT);
    ASSERT_TRUE(h.dialogs.Opened(IDD_LINE_INPUT));
    EXPECT_NEAR(h.Shown()->m_end.x, h.Shown()->m_start.x, 1e-9);
    EXPECT_NEAR(h.Shown()->m_end.y - h.Shown()->m_start.y, 100.0, 1e-9);
    EXPECT_TRUE(h.NoXorResidue());
}
