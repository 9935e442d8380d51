// Rendering of the drawing view on its persistent surface, the crosshair and marker, the tool
// dispatch of mouse input and commands, and tool switching.
#include <cstdio>

#include "resources/ResourceIds.h"
#include "tests/view/ViewTestSupport.h"

using namespace viewtest;

namespace {

class RenderDispatch : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        m_previous = SetDocumentToolArray(&tools);
        line = tools.Add(ID_TOOL_LINE, "直線");
        circle = tools.Add(32772, "中心円");
        select = tools.Add(ID_TOOL_SELECT, "図形選択");
        printArea = tools.Add(32962, "印刷領域設定");
        printArea->returnsToPrevious = TRUE;
        zoom = tools.Add(32867, "拡大･縮小");
        RecentTools()[0] = line;
    }
    void TearDown() override {
        SetDocumentToolArray(m_previous);
        ClearToolSwitching();
    }

    FakeToolArray tools;
    RecordingTool* line = nullptr;
    RecordingTool* circle = nullptr;
    RecordingTool* select = nullptr;
    RecordingTool* printArea = nullptr;
    RecordingTool* zoom = nullptr;

private:
    MDocumentToolArray* m_previous = nullptr;
};

}  // namespace

TEST_F(RenderDispatch, SurfaceShowsWhatAnImageContextRenders) {
    ViewHarness h(640, 480, 2);
    h.AddLine(-5000, -5000, 20000, 12000);
    h.AddCircle(10000, 8000, 4000);
    h.AddLine(0, 0, 15000, 0, 1);
    const QImage surface = h.Repaint();
    const QImage reference = h.RenderReference();
    EXPECT_EQ(DifferentPixels(surface, reference), 0);
    // The drawing is really there: something other than the background and the white sheet.
    int ink = 0;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            if ((surface.pixel(x, y) & 0xFFFFFF) == 0) ++ink;
    EXPECT_GT(ink, 100);
    // The window shows its surface.
    const QImage grabbed = h.Client()->grab().toImage();
    EXPECT_EQ(DifferentPixels(grabbed, surface), 0);

    // The same after zooming in and scrolling.
    h.view->ZoomAt(MFloatPoint(10000, 8000), 3.0, TRUE);
    h.view->OnScrollBy(CSize(37, 21), TRUE);
    EXPECT_EQ(DifferentPixels(h.Repaint(), h.RenderReference()), 0);
}

TEST_F(RenderDispatch, ScrollingMovesTheDrawingWithTheSurface) {
    ViewHarness h(640, 480);
    // The dotted origin cross and print-area frame are cut near the painted strip: their dots
    // must still meet the moved part without a seam.
    GetOptionRecord().m_show =
        MOptionRecord::kShowGrid | MOptionRecord::kShowOrigin | MOptionRecord::kShowPrintArea;
    h.AddCircle(14000, 10000, 1000);
    h.AddLine(13000, 9500, 15500, 10500);
    h.view->ZoomAt(MFloatPoint(14000, 10000), 2.0, TRUE);
    h.Repaint();
    ASSERT_TRUE(h.view->OnScrollBy(CSize(37, 21), TRUE));
    // Only the uncovered strips were painted; the rest moved. Together they are a fresh rendering.
    EXPECT_EQ(DifferentPixels(h.Surface(), h.RenderReference()), 0);
    h.Key(Qt::Key_Up);
    h.Key(Qt::Key_Left);
    EXPECT_EQ(DifferentPixels(h.Surface(), h.RenderReference()), 0);
}

TEST_F(RenderDispatch, PaintOrderGridLayersOverlays) {
    ViewHarness h(640, 480);
    GetOptionRecord().m_show = 0;
    const QImage bare = h.Repaint();
    // Background outside the sheet, white sheet inside.
    const CPoint corner(2, 2);
    EXPECT_EQ(PixelAt(bare, corner.x, corner.y), GetSysColor(COLOR_APPWORKSPACE));
    std::unique_ptr<CDC> dc = h.view->GetPreparedClientDC();
    const CPoint origin = h.view->DocToDevice(dc.get(), h.view->userOrigin);
    dc.reset();
    GetOptionRecord().m_show = MOptionRecord::kShowOrigin;
    const QImage withCross = h.Repaint();
    EXPECT_GT(DifferentPixels(bare, withCross), 0);
    // The dotted blue cross runs through the user origin.
    int blue = 0;
    for (int x = 0; x < withCross.width(); ++x)
        if (PixelAt(withCross, x, origin.y) == RGB(0, 0, 255)) ++blue;
    EXPECT_GT(blue, 20);
    // The grid adds black points on the sheet.
    GetOptionRecord().m_show = MOptionRecord::kShowGrid;
    EXPECT_GT(DifferentPixels(bare, h.Repaint()), 0);
}

TEST_F(RenderDispatch, XorCrosshairAndTrackerLeaveNoResidue) {
    ViewHarness h(640, 480);
    h.AddLine(0, 0, 30000, 20000);
    {
        std::unique_ptr<CDC> dc = h.view->GetPreparedClientDC();
        line->trackerFrom = h.view->DeviceToDoc(dc.get(), CPoint(100, 100));
    }
    line->current = line->trackerFrom;
    line->tracker = true;
    h.Repaint();
    h.Move(CPoint(100, 100));
    for (int i = 0; i < 12; ++i)
        h.Move(CPoint(120 + i * 23, 90 + i * 17));
    // The pointer ends where the tracker's edge and the crosshair lie on the dotted origin cross.
    std::unique_ptr<CDC> prepared = h.view->GetPreparedClientDC();
    const CPoint origin = h.view->DocToDevice(prepared.get(), h.view->userOrigin);
    prepared.reset();
    ASSERT_GT(origin.x, 0);
    ASSERT_LT(origin.x, 600);
    h.Move(CPoint(origin.x, 250));
    const QImage afterMoves = h.Surface();
    // A repaint draws the grid, layers, tracker and crosshair at their current places again.
    const QImage repainted = h.Repaint();
    EXPECT_EQ(DifferentPixels(afterMoves, repainted), 0);
    // The crosshair is on screen: blue (XOR on white) along the pointer's row.
    EXPECT_NE(PixelAt(repainted, 10, 250), PixelAt(h.RenderReference(), 10, 251));

    // Drawing and erasing the tracker in XOR gives back the very same pixels.
    std::unique_ptr<CDC> dc = h.view->GetPreparedClientDC();
    line->DrawTracker(h.view.get(), dc.get());
    dc.reset();
    EXPECT_GT(DifferentPixels(repainted, h.Surface()), 0);
    dc = h.view->GetPreparedClientDC();
    line->DrawTracker(h.view.get(), dc.get());
    dc.reset();
    EXPECT_EQ(DifferentPixels(repainted, h.Surface()), 0);
}

TEST_F(RenderDispatch, MarkerFollowsTheToolsSnapFlag) {
    ViewHarness h(640, 480);
    h.Repaint();
    line->mark = 1;
    h.Move(CPoint(200, 200));
    const QImage marked = h.Surface();
    line->mark = 0;
    h.Move(CPoint(260, 230));
    const QImage unmarked = h.Surface();
    // The marker ring around (200, 200) is gone, and a repaint agrees.
    EXPECT_EQ(DifferentPixels(unmarked, h.Repaint()), 0);
    EXPECT_NE(PixelAt(marked, 196, 200), PixelAt(unmarked, 196, 200));
}

TEST_F(RenderDispatch, MouseMessagesReachTheCurrentTool) {
    ViewHarness h(640, 480);
    line->log.clear();
    h.Move(CPoint(50, 60));
    h.Click(CPoint(70, 80));
    const std::vector<std::string> expected = {"Move", "Down", "Up"};
    std::vector<std::string> got;
    for (const std::string& e : line->log)
        if (e != "Move" || got.empty()) got.push_back(e);
    EXPECT_EQ(got, expected);
    // The release point is the anchor; the panes show the current point and its offset.
    std::unique_ptr<CDC> dc = h.view->GetPreparedClientDC();
    const MFloatPoint at = h.view->DeviceToDoc(dc.get(), CPoint(70, 80));
    EXPECT_DOUBLE_EQ(h.view->GetAnchorPoint().x, at.x);
    EXPECT_EQ(h.view->FormatOffsetPane(), "(     0,      0)");
    const MFloatPoint user = h.view->DocToUser(at);
    char expectedPane[64];
    std::snprintf(expectedPane, sizeof expectedPane, "(%6g, %6g)", user.x, user.y);
    EXPECT_EQ(h.view->FormatPositionPane(), expectedPane);
    h.MouseAt(QEvent::MouseButtonPress, CPoint(90, 90), Qt::RightButton, Qt::RightButton);
    h.MouseAt(QEvent::MouseButtonRelease, CPoint(90, 90), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(line->log.back(), "RDown");
}

TEST_F(RenderDispatch, ACommandReachesTheCurrentToolBeforeTheView) {
    ViewHarness h(640, 480);
    const double before = h.view->GetZoom();
    line->handles.insert(ID_ZOOM_IN);
    h.view->SendCommand(ID_ZOOM_IN);
    EXPECT_EQ(line->commands, std::vector<UINT>{ID_ZOOM_IN});
    EXPECT_DOUBLE_EQ(h.view->GetZoom(), before);
    // Not handled by the tool: the tool sees it first, then the view zooms.
    line->handles.clear();
    h.view->SendCommand(ID_ZOOM_IN);
    EXPECT_EQ(line->commands.size(), 2u);
    EXPECT_NEAR(h.view->GetZoom(), before * 2.0, 1e-12);
}

TEST_F(RenderDispatch, ToolCommandsSwitchToolsAndKeepTheRecentTable) {
    ViewHarness h(640, 480);
    ASSERT_EQ(h.view->GetTool(), line);
    CTestCmdUI ui;
    ui.m_nID = 32772;
    ui.DoUpdate(h.view.get(), TRUE);
    EXPECT_TRUE(ui.m_bEnabled);
    EXPECT_EQ(ui.m_nCheck, 0);

    h.view->SendCommand(32772);
    EXPECT_EQ(h.view->GetTool(), circle);
    EXPECT_EQ(line->log.back(), "End(TRUE)");
    EXPECT_EQ(circle->log.back(), "Reset");
    EXPECT_EQ(PreviousTool(), line);
    EXPECT_EQ(RecentTools()[0], line);
    EXPECT_EQ(RecentTools()[1], circle);
    ui.DoUpdate(h.view.get(), TRUE);
    EXPECT_EQ(ui.m_nCheck, 1);

    // Back to the line tool: the line tool is already listed, the table keeps its order.
    h.view->SendCommand(ID_TOOL_LINE);
    EXPECT_EQ(PreviousTool(), circle);
    EXPECT_EQ(RecentTools()[0], line);
    EXPECT_EQ(RecentTools()[1], circle);

    // Choosing the current tool again restarts it.
    const int resets = line->resets;
    h.view->SendCommand(ID_TOOL_LINE);
    EXPECT_EQ(h.view->GetTool(), line);
    EXPECT_EQ(line->resets, resets + 1);
    EXPECT_EQ(PreviousTool(), circle);

    // A fifth distinct tool pushes the oldest out.
    h.view->SendCommand(ID_TOOL_SELECT);
    h.view->SendCommand(32867);
    EXPECT_EQ(RecentTools()[3], zoom);
    h.view->SendCommand(32962);
    EXPECT_EQ(RecentTools()[0], printArea);
    EXPECT_EQ(RecentTools()[1], line);
    EXPECT_EQ(RecentTools()[2], circle);
    EXPECT_EQ(RecentTools()[3], select);

    // The print-area tool chosen again hands back to the previous tool.
    h.view->SendCommand(32962);
    EXPECT_EQ(h.view->GetTool(), zoom);
    EXPECT_EQ(PreviousTool(), zoom);
}

TEST_F(RenderDispatch, CancelEndsOrCancelsTheOperation) {
    ViewHarness h(640, 480);
    line->log.clear();
    h.view->SendCommand(ID_CANCEL_EDIT);
    EXPECT_EQ(line->log, std::vector<std::string>{"End(FALSE)"});
    line->log.clear();
    line->cancellable = TRUE;
    h.view->SendCommand(ID_CANCEL_EDIT);
    EXPECT_EQ(line->log, std::vector<std::string>{"Cancel"});
}

TEST_F(RenderDispatch, InitialUpdateMakesTheLineToolCurrentAndAddsTabs) {
    ViewHarness h(640, 480, 3);
    h.view->SendCommand(32772);
    ASSERT_EQ(h.view->GetTool(), circle);
    h.doc.GetLayers()->SetCurrentLayer(2);
    h.view->OnInitialUpdate();
    EXPECT_EQ(h.view->GetTool(), line);
    ASSERT_EQ(h.view->GetTabCount(), 3);
    EXPECT_EQ(h.view->GetTabName(0), "Layer1");
    EXPECT_EQ(h.view->GetTabName(2), "Layer3");
    EXPECT_EQ(h.view->GetCurrentTab(), 2);
}

TEST_F(RenderDispatch, UpdateHintsInvalidateAShapeOrTheWholeView) {
    ViewHarness h(640, 480);
    MLineShape* shape = h.AddLine(1000, 1000, 3000, 2000);
    h.Repaint();
    h.view->OnUpdate(nullptr, 1, shape);
    CRect dirty;
    ASSERT_TRUE(h.view->GetUpdateRect(&dirty));
    CRect client;
    h.view->GetClientRect(&client);
    EXPECT_LT(dirty.Width(), client.Width());
    h.view->UpdateWindow();
    h.view->OnUpdate(nullptr, 0, nullptr);
    ASSERT_TRUE(h.view->GetUpdateRect(&dirty));
    EXPECT_EQ(dirty, client);
}

TEST_F(RenderDispatch, PrintingPaintsOnlyTheLayers) {
    ViewHarness h(640, 480);
    h.AddLine(0, 0, 10000, 10000);
    line->tracker = true;
    line->current = MFloatPoint(5000, 0);
    line->trackerFrom = MFloatPoint(0, -3000);
    GetOptionRecord().m_show = 7;
    QImage printed(640, 480, QImage::Format_RGB32);
    printed.fill(Qt::white);
    CDC printer;
    printer.AttachBackend(MakeImageBackend(&printed), true);
    ASSERT_TRUE(printer.IsPrinting());
    h.view->OnDraw(&printer);
    printer.Flush();

    CDC layersOnly;
    layersOnly.CreateImageDC(640, 480);
    h.doc.Draw(h.view.get(), &layersOnly);
    EXPECT_EQ(DifferentPixels(printed, *GetDCImage(layersOnly)), 0);
    int ink = 0;
    for (int y = 0; y < printed.height(); ++y)
        for (int x = 0; x < printed.width(); ++x)
            if ((printed.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) ++ink;
    EXPECT_GT(ink, 0);
}
