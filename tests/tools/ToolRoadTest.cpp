// The road from the mouse to a tool: dead zone, phases, prompts, snapping and its cursors, the XOR
// tracker, and what a failing action leaves behind.
#include <gmock/gmock.h>

#include "model/shapes/curves/CircleShape.h"
#include "platform/Strings.h"
#include "platform/ui/Cursor.h"
#include "tests/tools/TestTools.h"
#include "tests/tools/ToolTestSupport.h"
#include "view/Grid.h"

using namespace tooltest;

namespace {

HCURSOR CurrentCursor() {
    const HCURSOR c = SetCursor(nullptr);
    SetCursor(c);
    return c;
}

// The line tool declines its shape at the press, so that the first release makes it.
class LateLineTool : public RecordingLineTool {
public:
    LateLineTool() { LoadPrompt(128, 253); }
    MCadShape* NewShape(MTessarayView* view) override {
        return pressed++ == 0 ? nullptr : RecordingLineTool::NewShape(view);
    }
    int OnPoint(MTessarayView* view, double x, double y, int phase, UINT flags) override {
        if (phase == kPhaseTest) {
            stepAtTest = GetStep();
            promptAtTest = GetPromptText();
        }
        return RecordingLineTool::OnPoint(view, x, y, phase, flags);
    }
    int pressed = 0;
    int stepAtTest = 99;
    std::string promptAtTest;
};

}  // namespace

TEST(ToolRoad, MovesInsideTheDeadZoneAreDroppedAndEightPixelsPass) {
    ToolHarness h;
    auto* tool = h.Use(new RecordingLineTool, ID_TOOL_LINE);
    const CPoint c(200, 200);
    h.PressAt(c);
    h.MoveToClient(CPoint(c.x + 6, c.y + 5));  // 7.8 pixels
    h.MoveToClient(CPoint(c.x + 5, c.y - 6));
    EXPECT_EQ(tool->phases, (std::vector<int>{MDrawTool::kPhasePress}));
    EXPECT_FALSE(tool->HasMoved());
    h.MoveToClient(CPoint(c.x + 8, c.y));  // exactly 8
    EXPECT_EQ(tool->phases.size(), 2u);
    // Once out, every move passes until the release, also back near the press.
    h.MoveToClient(CPoint(c.x + 1, c.y));
    EXPECT_EQ(tool->phases, (std::vector<int>{0, 1, 1}));
    h.ReleaseAt(CPoint(c.x + 1, c.y));
    EXPECT_FALSE(tool->HasMoved());
}

TEST(ToolRoad, AClickWithoutAMoveGivesPressThenTestAndAdvanceAtTheRelease) {
    ToolHarness h;
    auto* tool = h.Use(new RecordingLineTool, ID_TOOL_LINE);
    const std::string before = h.NativeText();
    h.Click({3000, 3000});
    EXPECT_EQ(tool->phases, (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(tool->Lists().NewCount(), 1);
    EXPECT_EQ(tool->GetStep(), 1);
    EXPECT_EQ(h.NativeText(), before);
    // The release point is the view's last released point.
    EXPECT_TRUE(h.view->GetAnchorPoint().IsEqual(tool->GetCurrentPoint()));
    // A drag to another point completes the line in one undo step.
    h.ExpectOneUndoStep([&] { h.Drag({3000, 3000}, {6000, 4000}); });
    EXPECT_EQ(tool->Lists().NewCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(ToolRoad, AShapeMadeAtTheFirstReleaseStartsAtStepMinusOneWithThePickPrompt) {
    ToolHarness h;
    auto* tool = h.Use(new LateLineTool, ID_TOOL_LINE);
    h.Click({3000, 3000});
    EXPECT_EQ(tool->phases, (std::vector<int>{2, 3}));
    EXPECT_EQ(tool->stepAtTest, -1);
    EXPECT_EQ(tool->promptAtTest, "[直線]:Tessaray図形");
    // Then the steps count from 0: the prompt of step 0.
    EXPECT_EQ(tool->GetStep(), 0);
    EXPECT_EQ(h.Prompt(), "[直線]:Tessaray");
}

TEST(ToolRoad, PromptsFollowTheStepAndAToolWithoutPickPromptsShowsNothingWhilePicking) {
    ToolHarness h;
    auto* tool = h.Use(new RecordingLineTool, ID_TOOL_LINE);
    tool->LoadPrompt(128, 0);  // "Tessaray\n\nTessaray\n...": empty pieces are skipped
    ASSERT_GE(tool->Steps().StepPrompts().size(), 2u);
    EXPECT_TRUE(tool->Steps().PickPrompts().empty());
    tool->UpdatePrompt();
    EXPECT_EQ(h.Prompt(), "[直線]:Tessaray");
    auto* picker = h.Use(new PickingTool, ID_TOOL_SELECT);
    picker->LoadPrompt(128, 0);
    picker->UpdatePrompt();
    EXPECT_EQ(h.Prompt(), "");
    // A title comes from the text after the command string's newline; none without one.
    tool->SetCommandInfo(62787, FALSE, "X");
    EXPECT_EQ(tool->GetTitle(), "");
}

TEST(ToolRoad, PickingNeverSnapsToTheGridButDrawingDoes) {
    ToolHarness h;
    GetOptionRecord().m_snap = kSnapGrid;
    const MFloatPoint off(3333, 2777);
    auto* picker = h.Use(new PickingTool, ID_TOOL_SELECT);
    h.Click(off);
    EXPECT_NEAR(picker->GetCurrentPoint().x, off.x, 100.0);
    EXPECT_NE(picker->GetCurrentPoint(), h.view->GetGrid()->SnapDocPoint(h.view.get(), off));
    auto* line = h.Use(new RecordingLineTool, ID_TOOL_LINE);
    h.Click(off);
    EXPECT_EQ(line->GetCurrentPoint(), h.view->GetGrid()->SnapDocPoint(h.view.get(), off));
    // A grid point is not marked and keeps the view's cursor.
    EXPECT_EQ(line->GetSnapMarkFlag(), 0);
    EXPECT_FALSE(line->SetToolCursor(h.view.get()));
}

TEST(ToolRoad, EachSnapKindShowsItsCursor) {
    ToolHarness h;
    h.Use(new RecordingLineTool, ID_TOOL_LINE);
    h.AddLine(1000, 1000, 5000, 1000);
    h.AddLine(2000, 0, 2000, 2000);
    h.AddCircle(8000, 5000, 1000);
    auto* base = new BasePointLine(MFloatPoint(10000, 1000), MFloatPoint(12000, 1000));
    h.doc.AppendShape(base, 0);
    base->Recalc(h.view.get());
    struct Case {
        WORD kind;
        MFloatPoint at;
        UINT cursor;
    };
    const Case cases[] = {
        {kSnapEndPoint, {5000, 1000}, IDR_SNAP_CURSOR_END_POINT},
        {kSnapIntersection, {2000, 1000}, IDR_SNAP_CURSOR_INTERSECTION},
        {kSnapMidPoint, {3000, 1000}, IDR_SNAP_CURSOR_MID_POINT},
        {kSnapCenter, {8000, 5000}, IDR_SNAP_CURSOR_CENTER},
        {kSnapOnShape, {4000, 1000}, IDR_SNAP_CURSOR_ON_SHAPE},
        {kSnapBasePoint, {11000, 1000}, IDR_SNAP_CURSOR_BASE_POINT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        GetOptionRecord().m_snap = c.kind;
        h.MoveToClient(CPoint(5, 5));
        h.MoveTo(c.at);
        EXPECT_EQ(h.Tool()->GetSnapRecord().kind, c.kind);
        EXPECT_EQ(h.Tool()->GetSnapMarkFlag(), 1);
        ASSERT_NE(AfxLoadCursor(c.cursor), nullptr);
        EXPECT_EQ(CurrentCursor(), AfxLoadCursor(c.cursor));
    }
    // The first kind in the order end point, intersection, mid point, centre, on shape, base point
    // decides.
    EXPECT_EQ(MSnapper::CursorIndex(kSnapOnShape | kSnapCenter), 4);
    EXPECT_EQ(MSnapper::CursorIndex(kSnapBasePoint | kSnapOnShape), 5);
    EXPECT_EQ(MSnapper::CursorIndex(kSnapGrid), 0);
}

TEST(ToolRoad, TheRubberBandLeavesNoTraceWhileDrawnNorAfterTheToolEnds) {
    ToolHarness h;
    h.Use(new RecordingLineTool, ID_TOOL_LINE);
    h.AddCircle(6000, 4000, 1500);
    const QImage before = h.Repaint();
    h.Click({1000, 1000});
    for (int i = 1; i <= 8; ++i)
        h.MoveTo({1000.0 + i * 900, 1000.0 + i * 500});
    EXPECT_TRUE(h.NoXorResidue());
    EXPECT_GT(DifferentPixels(before, h.Surface()), 0);
    EXPECT_TRUE(h.EndLeavesNoResidue());
    EXPECT_EQ(h.Tool()->Lists().NewCount(), 0);
}

TEST(ToolRoad, EndingAnIdleToolRepaintsNothing) {
    ToolHarness h;
    auto* tool = h.Use(new RecordingLineTool, ID_TOOL_LINE);
    h.Repaint();
    tool->End(h.view.get(), TRUE);
    EXPECT_FALSE(h.view->GetUpdateRect(nullptr));
    EXPECT_EQ(tool->GetStep(), 0);
}

// ----- failures ---------------------------------------------------------------------------------

namespace {

enum class Where { kPress, kMove, kRelease, kDoubleClick, kCommand };

struct FailureCase {
    Where where;
    Failure failure;
};

class FailingAction : public ::testing::TestWithParam<FailureCase> {};

void Perform(ToolHarness& h, RecordingLineTool* tool, Where where) {
    switch (where) {
        case Where::kPress:
            tool->failAtPhase = MDrawTool::kPhasePress;
            h.Click({4000, 4000});
            break;
        case Where::kMove:
            tool->failAtPhase = MDrawTool::kPhaseMove;
            h.Drag({4000, 4000}, {7000, 5000});
            break;
        case Where::kRelease:
            tool->failAtPhase = MDrawTool::kPhaseTest;
            h.Click({4000, 4000});
            break;
        case Where::kDoubleClick:
            tool->failOnDoubleClick = true;
            h.DoubleClickAt({4000, 4000});
            break;
        case Where::kCommand:
            h.view->SendCommand(kFailingCommand);
            break;
    }
    tool->failAtPhase = -1;
    tool->failOnDoubleClick = false;
}

std::string FailureName(const ::testing::TestParamInfo<FailureCase>& info) {
    static const char* const kWhere[] = {"Press", "Move", "Release", "DoubleClick", "Command"};
    static const char* const kFailure[] = {"None", "Memory", "BadAlloc", "InvalidArg"};
    return std::string(kWhere[static_cast<int>(info.param.where)]) +
           kFailure[static_cast<int>(info.param.failure)];
}

}  // namespace

TEST_P(FailingAction, LeavesTheDrawingAndItsHistoryAsTheyWere) {
    const FailureCase param = GetParam();
    MessageBoxRecorder boxes(IDNO);
    ToolHarness h;
    auto* tool = h.Use(new RecordingLineTool, ID_TOOL_LINE);
    tool->failure = param.failure;
    h.Drag({1000, 1000}, {3000, 2000});
    h.Drag({1000, 3000}, {3000, 5000});
    h.view->SendCommand(ID_EDIT_UNDO);
    const std::string before = h.NativeText();
    const int undo = h.UndoSteps(), redo = h.RedoSteps();
    ASSERT_EQ(redo, 1);

    Perform(h, tool, param.where);
    EXPECT_EQ(h.NativeText(), before);
    EXPECT_EQ(h.UndoSteps(), undo);
    EXPECT_EQ(h.RedoSteps(), redo) << "redo stays";
    EXPECT_EQ(h.doc.GetOpenPack(), nullptr);
    EXPECT_EQ(tool->Lists().NewCount(), 0);
    EXPECT_FALSE(tool->IsButtonDown());
    const bool memory = param.failure != Failure::kInvalidArg;
    EXPECT_EQ(boxes.Saw(IDS_OUT_OF_MEMORY_ASK), memory);
    EXPECT_EQ(boxes.Saw(IDS_OUT_OF_MEMORY), memory);
    if (!memory) {
        ASSERT_EQ(boxes.Messages().size(), 1u);
        EXPECT_EQ(boxes.Messages()[0].text, AfxLoadString(IDS_EXCEPTION_INVALID_ARG));
    }
    EXPECT_TRUE(h.NoXorResidue());

    // The next operation is a step of its own: undoing it gives the drawing before it.
    h.ExpectOneUndoStep([&] { h.Drag({5000, 1000}, {8000, 2000}); });
}

INSTANTIATE_TEST_SUITE_P(Tools, FailingAction,
                         ::testing::Values(FailureCase{Where::kPress, Failure::kMemory},
                                           FailureCase{Where::kMove, Failure::kBadAlloc},
                                           FailureCase{Where::kRelease, Failure::kMemory},
                                           FailureCase{Where::kRelease, Failure::kInvalidArg},
                                           FailureCase{Where::kDoubleClick, Failure::kMemory},
                                           FailureCase{Where::kCommand, Failure::kBadAlloc},
                                           FailureCase{Where::kCommand, Failure::kInvalidArg}),
                         FailureName);

TEST(ToolRoad, AfterADialogOpenedByAPickTheNextClickIsAWholeClick) {
    ToolHarness h;
    auto* tool = h.Use(new PickingTool, ID_TOOL_SELECT);
    tool->dialogOnPick = 237;
    MLineShape* a = h.AddLine(1000, 1000, 5000, 1000);
    MLineShape* b = h.AddLine(1000, 3000, 5000, 3000);
    h.Click({3000, 1000});
    EXPECT_TRUE(h.dialogs.Opened(237));
    EXPECT_FALSE(tool->IsButtonDown()) << "the dialog took the release";
    h.Click({3000, 3000});
    EXPECT_EQ(tool->pickShapeCalls, 2);
    ASSERT_EQ(tool->Lists().PickCount(), 2);
    EXPECT_EQ(tool->Lists().Pick(0), a);
    EXPECT_EQ(tool->Lists().Pick(1), b);
}
