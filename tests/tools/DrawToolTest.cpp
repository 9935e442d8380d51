// The tool base class: identity and prompts, the road from mouse messages to construction steps,
// snapping, the XOR tracker, ending and committing; the tool array and the tool registry.
#include <QApplication>
#include <sstream>

#include "platform/Exceptions.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/WinApp.h"
#include "tests/support/TestSupport.h"
#include "tests/view/ViewTestSupport.h"
#include "tools/DrawToolArray.h"

using namespace viewtest;

namespace {

// Draws a line from the press to the release: the release that ends a drag of at least one step
// completes it.
class TestLineTool : public MDrawTool {
public:
    explicit TestLineTool(int id = 1) : MDrawTool(id) {}
    MCadShape* NewShape(MTessarayView*) override { return new MLineShape(); }
    int OnPoint(MTessarayView*, double x, double y, int phase, UINT) override {
        phases.push_back(phase);
        if (throwOnPoint) AfxThrowMemoryException();
        auto* line = static_cast<MLineShape*>(GetNewShape(0));
        if (phase == 0) line->m_start = line->m_end = MFloatPoint(x, y);
        line->m_end = MFloatPoint(x, y);
        if (phase == 2) return m_step >= 0 && (line->m_start.x != x || line->m_start.y != y);
        return 0;
    }
    std::vector<int> phases;
    bool throwOnPoint = false;
};

class DrawTools : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        GetDrawToolArray().RemoveAll();
    }
    void TearDown() override { GetDrawToolArray().RemoveAll(); }
};

// A main frame with a status bar, so that prompts have somewhere to go.
struct PromptFrame {
    CWinApp app;
    CFrameWnd frame;
    CStatusBar bar;
    PromptFrame() {
        frame.Create("test");
        static const UINT panes[] = {ID_SEPARATOR};
        bar.Create(&frame);
        bar.SetIndicators(panes, 1);
        app.m_pMainWnd = &frame;
    }
    ~PromptFrame() { app.m_pMainWnd = nullptr; }
    std::string Text() { return bar.GetPaneText(0); }
};

}  // namespace

TEST_F(DrawTools, IdentityComesFromTheCommandString) {
    TestLineTool tool;
    tool.SetCommandInfo(32776, TRUE, "LINE");
    EXPECT_EQ(tool.GetTitle(), "拡大");
    EXPECT_EQ(tool.GetCommandId(), 32776u);
    EXPECT_EQ(tool.GetKey(), "LINE");
    EXPECT_TRUE(tool.IsAutoLayerCapable());
    EXPECT_FALSE(tool.HasSettings());
    tool.SetAutoLayerName("補助線");
    EXPECT_TRUE(tool.HasSettings());
    // A string without a newline (or none at all) gives no title.
    tool.SetCommandInfo(62787, FALSE, "X");
    EXPECT_EQ(tool.GetTitle(), "");
    tool.SetCommandInfo(9, FALSE, "X");
    EXPECT_EQ(tool.GetTitle(), "");
}

TEST_F(DrawTools, PromptsFollowTheStepAndThePicks) {
    PromptFrame frame;
    TestLineTool tool;
    tool.SetCommandInfo(32776, TRUE, "LINE");
    tool.LoadPrompt(128, 0);  // "Tessaray\n\nTessaray\n..." : empty entries are skipped
    ASSERT_GE(tool.GetStepPrompts().size(), 2u);
    EXPECT_EQ(tool.GetStepPrompts()[0], "Tessaray");
    EXPECT_EQ(tool.GetStepPrompts()[1], "Tessaray");
    EXPECT_TRUE(tool.GetPickPrompts().empty());
    tool.UpdatePrompt();
    EXPECT_EQ(frame.Text(), "[拡大]:Tessaray");
    // Step -1 shows the pick prompt, here none.
    tool.m_step = -1;
    tool.UpdatePrompt();
    EXPECT_EQ(frame.Text(), "");
    tool.m_step = 99;
    EXPECT_EQ(tool.GetPromptText(), "");
}

TEST_F(DrawTools, APressAndReleaseWithoutMoveRunTheReleasePhasesAtTheRelease) {
    auto* tool = new TestLineTool;
    RegisterDrawTool(tool, ID_TOOL_LINE, TRUE, "LINE");
    CreateDrawTools();
    ViewHarness h(640, 480);
    ASSERT_EQ(h.view->GetTool(), tool);
    GetOptionRecord().m_snap = 0;
    h.Click(CPoint(100, 100));
    // No shape before the press: created at the press (phase 0); the release tests (2) and, not
    // complete, advances (3).
    EXPECT_EQ(tool->phases, (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(tool->GetNewCount(), 1);
    EXPECT_EQ(tool->m_step, 1);
    EXPECT_EQ(h.doc.GetLayers()->GetLayer(0)->GetSize(), 0);
}

TEST_F(DrawTools, DragCommitsTheShapeInOneUndoStep) {
    auto* tool = new TestLineTool;
    RegisterDrawTool(tool, ID_TOOL_LINE, TRUE, "LINE");
    CreateDrawTools();
    ViewHarness h(640, 480);
    GetOptionRecord().m_snap = 0;
    h.MouseAt(QEvent::MouseButtonPress, CPoint(100, 100), Qt::LeftButton, Qt::LeftButton);
    h.MouseAt(QEvent::MouseMove, CPoint(104, 104), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(tool->phases, (std::vector<int>{0}));  // inside the 8-pixel dead zone
    h.MouseAt(QEvent::MouseMove, CPoint(200, 150), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(tool->phases, (std::vector<int>{0, 1}));
    h.MouseAt(QEvent::MouseButtonRelease, CPoint(200, 150), Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(h.doc.GetLayers()->GetLayer(0)->GetSize(), 1);
    EXPECT_EQ(tool->GetNewCount(), 0);
    EXPECT_TRUE(h.doc.CanUndo());
    EXPECT_TRUE(h.doc.IsModified());
    // The view shows the committed line: its repaint equals a fresh rendering.
    EXPECT_EQ(DifferentPixels(h.Repaint(), h.RenderReference()), 0);
    h.view->SendCommand(57643);
    EXPECT_EQ(h.doc.GetLayers()->GetLayer(0)->GetSize(), 0);
}

TEST_F(DrawTools, TheDeadZoneIsEightPixels) {
    auto* tool = new TestLineTool;
    RegisterDrawTool(tool, ID_TOOL_LINE, TRUE, "LINE");
    CreateDrawTools();
    ViewHarness h(640, 480);
    tool->m_pressPoint = CPoint(100, 100);
    tool->m_moved = FALSE;
    tool->OnMouseMove(h.view.get(), 105, 106, 0);  // 7.8 pixels
    EXPECT_FALSE(tool->m_moved);
    tool->OnMouseMove(h.view.get(), 108, 100, 0);  // exactly 8
    EXPECT_TRUE(tool->m_moved);
    // Once out, every move passes until the next press or release.
    tool->OnMouseMove(h.view.get(), 101, 100, 0);
    EXPECT_TRUE(tool->m_moved);
}

TEST_F(DrawTools, AnExceptionDuringAPressResetsAndReports) {
    MessageBoxRecorder boxes(IDNO);
    auto* tool = new TestLineTool;
    RegisterDrawTool(tool, ID_TOOL_LINE, TRUE, "LINE");
    CreateDrawTools();
    ViewHarness h(640, 480);
    h.doc.BeginUndo();
    tool->throwOnPoint = true;
    h.MouseAt(QEvent::MouseButtonPress, CPoint(100, 100), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(tool->GetNewCount(), 0);
    EXPECT_EQ(h.doc.GetOpenPack(), nullptr);
    EXPECT_TRUE(boxes.Saw(62788));
    EXPECT_TRUE(boxes.Saw(62789));
    tool->throwOnPoint = false;
    h.MouseAt(QEvent::MouseButtonRelease, CPoint(100, 100), Qt::LeftButton, Qt::NoButton);
}

TEST_F(DrawTools, SnappingFindsShapesThenTheGrid) {
    auto* tool = new TestLineTool;
    RegisterDrawTool(tool, ID_TOOL_LINE, TRUE, "LINE");
    CreateDrawTools();
    ViewHarness h(640, 480);
    MLineShape* line = h.AddLine(3000, 3000, 9000, 7000);
    std::unique_ptr<CDC> dc = h.view->GetPreparedClientDC();
    const CPoint end = h.view->DocToDevice(dc.get(), line->m_end);
    const CPoint free = h.view->DocToDevice(dc.get(), MFloatPoint(14480, 12530));
    dc.reset();
    MFloatPoint out;
    tool->SnapPoint(h.view.get(), end.x + 2, end.y - 1, &out, 0);
    EXPECT_EQ(out, line->m_end);
    EXPECT_EQ(tool->GetSnapRecord().kind, kSnapEndPoint);
    EXPECT_EQ(tool->GetSnapMarkFlag(), 1);
    EXPECT_EQ(tool->GetCurrentPoint(), line->m_end);
    // Away from shapes: the grid point of the true pitch, not marked.
    tool->SnapPoint(h.view.get(), free.x, free.y, &out, 0);
    EXPECT_EQ(out, h.view->GetGrid()->SnapDocPoint(h.view.get(), out));
    EXPECT_NEAR(out.x, h.view->userOrigin.x + std::round((14480 - h.view->userOrigin.x) / 1000) * 1000, 1e-6);
    EXPECT_EQ(tool->GetSnapMarkFlag(), 0);
    // Suspended snapping reports no kinds: the plain point.
    SnapSuspended() = 1;
    EXPECT_EQ(tool->GetSnapFlags(h.view.get()), 0);
    tool->SnapPoint(h.view.get(), end.x + 2, end.y - 1, &out, 0);
    EXPECT_NE(out, line->m_end);
    EXPECT_EQ(tool->GetSnapMarkFlag(), 0);
}

TEST_F(DrawTools, EndOnAnIdleToolInvalidatesNothingAndResets) {
    auto* tool = new TestLineTool;
    RegisterDrawTool(tool, ID_TOOL_LINE, TRUE, "LINE");
    CreateDrawTools();
    ViewHarness h(640, 480);
    h.Repaint();
    tool->m_step = 3;
    tool->End(h.view.get(), TRUE);
    EXPECT_FALSE(h.view->GetUpdateRect(nullptr));
    EXPECT_EQ(tool->m_step, 0);
    // With a shape under construction End repaints its area and drops it.
    GetOptionRecord().m_snap = 0;
    h.Click(CPoint(100, 100));
    h.Move(CPoint(300, 200));
    ASSERT_EQ(tool->GetNewCount(), 1);
    const int paints = h.view->GetPaintCount();
    h.view->EndCurrentOperation();
    EXPECT_EQ(tool->GetNewCount(), 0);
    EXPECT_EQ(h.view->GetPaintCount(), paints + 1);
    EXPECT_FALSE(h.view->GetUpdateRect(nullptr));
}

TEST_F(DrawTools, TheTrackerIsErasedByDrawingItAgain) {
    auto* tool = new TestLineTool;
    RegisterDrawTool(tool, ID_TOOL_LINE, TRUE, "LINE");
    CreateDrawTools();
    ViewHarness h(640, 480);
    GetOptionRecord().m_snap = 0;
    const QImage before = h.Repaint();
    h.Click(CPoint(100, 100));
    for (int i = 1; i <= 10; ++i)
        h.Move(CPoint(100 + i * 20, 100 + i * 11));
    // The rubber band and crosshair on screen are what a repaint draws.
    EXPECT_EQ(DifferentPixels(h.Surface(), h.Repaint()), 0);
    EXPECT_GT(DifferentPixels(before, h.Surface()), 0);
    // Escape ends the construction and repaints the area: no trace of the rubber band is left.
    h.view->SendCommand(ID_CANCEL_EDIT);
    EXPECT_EQ(tool->GetNewCount(), 0);
    EXPECT_EQ(DifferentPixels(h.Surface(), h.RenderReference()), 0);
}

// Each pass of the scope is one XOR drawing: both ends around a change, only the entry after a
// commit (Dismiss) or when an exception leaves the scope for the tool's handler.
TEST_F(DrawTools, TheTrackerScopeDrawsAtBothEndsUnlessDismissedOrLeftByAnException) {
    struct CountingTool : TestLineTool {
        void DrawTracker(MTessarayView*, CDC*) override { ++passes; }
        int passes = 0;
    } tool;
    {
        MXorTrackerScope tracker(tool, nullptr, nullptr);
        EXPECT_EQ(tool.passes, 1);
    }
    EXPECT_EQ(tool.passes, 2);
    { MXorTrackerScope tracker(tool, nullptr, nullptr, false); }
    EXPECT_EQ(tool.passes, 3);
    {
        MXorTrackerScope tracker(tool, nullptr, nullptr);
        tracker.Dismiss();
    }
    EXPECT_EQ(tool.passes, 4);
    try {
        MXorTrackerScope tracker(tool, nullptr, nullptr);
        AfxThrowMemoryException();
    } catch (const CException&) {
    }
    EXPECT_EQ(tool.passes, 5);
}

TEST_F(DrawTools, TheArrayFindsToolsFromTheLastAndOwnsThem) {
    auto* first = new TestLineTool(1);
    auto* second = new TestLineTool(2);
    RegisterDrawTool(first, 32772, TRUE, "A");
    RegisterDrawTool(second, 32772, TRUE, "B");
    MDrawToolArray& tools = GetDrawToolArray();
    EXPECT_EQ(tools.GetToolCount(), 2);
    EXPECT_EQ(tools.FindByCommand(32772), second);
    EXPECT_EQ(tools.FindByCommand(1), nullptr);
    EXPECT_EQ(FindToolByCommand(32772), second);
    EXPECT_EQ(tools.FindByKey("A"), first);
    EXPECT_EQ(tools.FindByTitle(""), second);
    EXPECT_EQ(tools.FindByTitle("nothing"), nullptr);
    EXPECT_EQ(GetDocumentToolArray(), &tools);
    // Without a line tool the registry leaves the recent table empty.
    EXPECT_EQ(CreateDrawTools(), nullptr);
    EXPECT_EQ(GetRecentTool(0), nullptr);
    auto* line = new TestLineTool(1);
    RegisterDrawTool(line, ID_TOOL_LINE, TRUE, "LINE");
    EXPECT_EQ(CreateDrawTools(), line);
    EXPECT_EQ(GetRecentTool(0), line);
    EXPECT_EQ(GetRecentTool(1), nullptr);
    tools.RemoveAll();
    EXPECT_EQ(tools.GetToolCount(), 0);
    EXPECT_EQ(GetRecentTool(0), nullptr);
}

TEST_F(DrawTools, ToolSettingsTravelByKeyInTheDrawingFile) {
    auto* line = new TestLineTool(1);
    auto* select = new TestLineTool(30);
    RegisterDrawTool(line, ID_TOOL_LINE, TRUE, "LINE");
    RegisterDrawTool(select, ID_TOOL_SELECT, FALSE, "SELECT");
    line->SetAutoLayerName("Layer2");
    select->SetAutoLayerName("ignored");
    std::ostringstream out;
    GetDrawToolArray().SaveSettings(out);
    EXPECT_EQ(out.str(), "\t2\nLINE\n\tLayer2\n");
    line->SetAutoLayerName("");
    std::istringstream in(out.str());
    GetDrawToolArray().LoadSettings(in);
    EXPECT_EQ(line->GetAutoLayerName(), "Layer2");
}

TEST_F(DrawTools, ProjectingKeepsTheLargerDifference) {
    TestLineTool tool;
    EXPECT_EQ(tool.ProjectPointOnLine(0, 0, 10, 3), MFloatPoint(10, 0));
    EXPECT_EQ(tool.ProjectPointOnLine(0, 0, 3, -10), MFloatPoint(0, -10));
    EXPECT_EQ(tool.ProjectPointOnLine(1, 1, 5, 5), MFloatPoint(5, 1));
}
