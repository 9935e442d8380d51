// Zoom, scroll sizes, centring, wheel and keys of the drawing view, the zoom combo's percent and
// fitting the paper scale to an imported drawing.
#include "document/PaperSettings.h"
#include "model/shapes/text/TextShape.h"
#include "platform/ui/WinApp.h"
#include "tests/view/ViewTestSupport.h"
#include "view/ViewFrame.h"

using namespace viewtest;

namespace {

class ZoomScroll : public ::testing::Test {
protected:
    void SetUp() override { ResetProgramState(); }
};

// A stand-in for the main frame's zoom combo.
class FakeFrame : public CWnd, public MViewFrame {
public:
    double GetZoomPercent() override { return percent; }
    void SetZoomPercent(double p) override {
        percent = std::max(1.0, std::floor(p));
        ++sets;
    }
    CWnd* GetZoomEdit() override { return &edit; }
    double percent = 100.0;
    int sets = 0;
    CWnd edit;
};

MFloatSize SheetPixels(MTessarayView& view) {
    const MFloatSize size = view.GetPaperInfo()->GetSize();
    return MFloatSize(size.cx * view.paperScaleX, -size.cy * view.paperScaleY);
}

}  // namespace

TEST_F(ZoomScroll, WholePaperFillsTheTighterSideAndCentresTheOther) {
    ViewHarness h(1000, 400);
    // The initial update ends with the whole-paper zoom.
    CRect client;
    h.view->GetClientRect(&client);
    const MFloatSize sheet = SheetPixels(*h.view);
    EXPECT_NEAR(sheet.cy, client.Height(), 2.0);
    EXPECT_LT(sheet.cx, client.Width());
    EXPECT_EQ(h.view->GetScrollPosition(), CPoint(0, 0));
    const CPoint offset = h.view->GetCentreOffset();
    std::unique_ptr<CDC> dc = h.view->GetPreparedClientDC();
    MFloatRect paper;
    paper.left = 0;
    paper.top = 0;
    paper.right = h.view->GetPaperInfo()->GetSize().cx;
    paper.bottom = -h.view->GetPaperInfo()->GetSize().cy;
    const CRect onScreen = h.view->PaperToDeviceRect(dc.get(), paper);
    EXPECT_EQ(onScreen.left, offset.x);
    EXPECT_LE(std::abs((client.right - onScreen.right) - onScreen.left), 1);
}

TEST_F(ZoomScroll, CommandsAndCtrlWheelZoomAboutTheClientCentre) {
    ViewHarness h(800, 600);
    const double fit = h.view->GetZoom();
    h.view->SendCommand(ID_ZOOM_IN);
    EXPECT_NEAR(h.view->GetZoom(), fit * 2, 1e-12);
    h.view->SendCommand(ID_ZOOM_OUT);
    EXPECT_NEAR(h.view->GetZoom(), fit, 1e-12);

    h.Wheel(-120, Qt::ControlModifier);
    EXPECT_NEAR(h.view->GetZoom(), fit * 0.8, 1e-12);
    h.view->ZoomAt(h.view->GetClientCentre(), fit, FALSE);
    h.Wheel(-240, Qt::ControlModifier);
    EXPECT_NEAR(h.view->GetZoom(), fit * 0.4, 1e-12);
    h.view->ZoomAt(h.view->GetClientCentre(), fit, FALSE);
    h.Wheel(240, Qt::ControlModifier);
    EXPECT_NEAR(h.view->GetZoom(), fit * 2.4, 1e-12);

    // The point at the client centre stays at the centre when zooming in.
    const MFloatPoint centre = h.view->GetClientCentre();
    h.view->SendCommand(ID_ZOOM_IN);
    const MFloatPoint after = h.view->GetClientCentre();
    EXPECT_NEAR(after.x, centre.x, 2 * std::fabs(h.view->unitInvX));
    EXPECT_NEAR(after.y, centre.y, 2 * std::fabs(h.view->unitInvY));
}

TEST_F(ZoomScroll, TheSheetNeverGrowsPast32767Pixels) {
    ViewHarness h(800, 600);
    h.doc.SetPaper(GetPaperSizeTable()[0], GetDefaultPaperScale(), TRUE);  // A0
    h.view->RecalcScrollSizes();
    // A step past the limit is refused as a whole: the zoom in force stays.
    const double before = h.view->GetZoom();
    h.view->ZoomAt(MFloatPoint(0, 0), 40.0, FALSE);
    EXPECT_EQ(h.view->GetZoom(), before);
    // Doubling stops at the last step that fits.
    for (int i = 0; i < 12; ++i)
        h.view->ZoomAt(MFloatPoint(0, 0), 2.0, TRUE);
    const MFloatSize sheet = SheetPixels(*h.view);
    EXPECT_LE(sheet.cx, 32767.0);
    EXPECT_LE(sheet.cy, 32767.0);
    EXPECT_GT(sheet.cx, 32767.0 / 2);
    EXPECT_LE(h.view->GetTotalSize().cx, 32767);
    const double n = std::log2(h.view->GetZoom() / before);
    EXPECT_NEAR(n, std::round(n), 1e-9);

    // Logical coordinates stay bounded far outside the sheet at this zoom.
    const CPoint far = h.view->DocToLogical(1e300, -1e300);
    EXPECT_LT(std::abs(far.x), 1 << 30);
    EXPECT_LT(std::abs(far.y), 1 << 30);
    // Painting such a view does not fail.
    h.AddLine(-1e12, -1e12, 1e12, 1e12);
    EXPECT_EQ(DifferentPixels(h.Repaint(), h.RenderReference()), 0);
}

TEST_F(ZoomScroll, TheComboShowsAndSetsThePercent) {
    CWinApp app;
    FakeFrame frame;
    app.m_pMainWnd = &frame;
    ViewHarness h(800, 600);
    h.view->ZoomAt(h.view->GetClientCentre(), 2.5, FALSE);
    CTestCmdUI ui;
    ui.m_nID = ID_ZOOM_COMBO;
    ui.DoUpdate(h.view.get(), TRUE);
    EXPECT_TRUE(ui.m_bEnabled);
    EXPECT_EQ(frame.percent, 250.0);
    // Not set again while unchanged.
    const int sets = frame.sets;
    ui.DoUpdate(h.view.get(), TRUE);
    EXPECT_EQ(frame.sets, sets);
    // A zoom below 0.01 shows 1.
    h.view->ZoomAt(h.view->GetClientCentre(), 0.004, FALSE);
    ui.DoUpdate(h.view.get(), TRUE);
    EXPECT_EQ(frame.percent, 1.0);

    // Enter in the combo zooms to its percent.
    frame.percent = 150.0;
    NMHDR nm;
    nm.idFrom = ID_ZOOM_COMBO;
    nm.code = NM_RETURN;
    h.view->SendNotify(nm);
    EXPECT_NEAR(h.view->GetZoom(), 1.5, 1e-12);
    app.m_pMainWnd = nullptr;
}

// A resize fits the paper again until the user zooms, and the box kept the old percent until the
// pointer's next move ran the bars' update pass.
TEST_F(ZoomScroll, TheComboFollowsTheZoomAResizeSets) {
    CWinApp app;
    FakeFrame frame;
    app.m_pMainWnd = &frame;
    ViewHarness h(800, 600);
    CTestCmdUI ui;
    ui.m_nID = ID_ZOOM_COMBO;
    ui.DoUpdate(h.view.get(), TRUE);
    const double before = frame.percent;
    h.Window()->resize(1400, 1000);
    QApplication::processEvents();
    const double percent = std::max(1.0, std::floor(h.view->GetZoom() * 100.0));
    ASSERT_NE(percent, before);
    EXPECT_EQ(frame.percent, percent);
    app.m_pMainWnd = nullptr;
}

TEST_F(ZoomScroll, WheelAndKeysScrollByLinesAndPages) {
    ViewHarness h(800, 600);
    h.view->ZoomAt(MFloatPoint(0, 0), 4.0, TRUE);
    h.view->ScrollToPosition(CPoint(200, 200));
    const CPoint start = h.view->GetScrollPosition();
    const CSize line = h.view->GetLineSize();
    ASSERT_GT(line.cy, 0);
    h.Wheel(-120);
    EXPECT_EQ(h.view->GetScrollPosition().y, start.y + line.cy);
    h.Wheel(120);
    EXPECT_EQ(h.view->GetScrollPosition(), start);
    h.Key(Qt::Key_Right);
    EXPECT_EQ(h.view->GetScrollPosition().x, start.x + line.cx);
    h.Key(Qt::Key_PageDown);
    EXPECT_EQ(h.view->GetScrollPosition().y, start.y + h.view->GetPageSize().cy);
    h.Key(Qt::Key_Home);
    EXPECT_EQ(h.view->GetScrollPosition().x, 0);
    h.Key(Qt::Key_End);
    EXPECT_EQ(h.view->GetScrollPosition().x, h.view->GetScrollLimit().cx);
    // Scrolling moved the surface with the drawing: it still equals a fresh rendering.
    EXPECT_EQ(DifferentPixels(h.Surface(), h.RenderReference()), 0);
}

TEST_F(ZoomScroll, ScrollBarsFollowAndMoveThePosition) {
    ViewHarness h(800, 600);
    h.view->ZoomAt(MFloatPoint(0, 0), 4.0, TRUE);
    CScrollBar* vert = h.view->GetScrollBarCtrl(SB_VERT);
    CScrollBar* horz = h.view->GetScrollBarCtrl(SB_HORZ);
    ASSERT_TRUE(vert && horz);
    EXPECT_TRUE(vert->IsWindowEnabled());
    EXPECT_EQ(vert->GetScrollPos(), h.view->GetScrollPosition().y);
    vert->SendScroll(SB_THUMBTRACK, 333);
    EXPECT_EQ(h.view->GetScrollPosition().y, 333);
    EXPECT_EQ(vert->GetScrollPos(), 333);
    horz->SendScroll(SB_PAGERIGHT);
    EXPECT_EQ(h.view->GetScrollPosition().x,
              std::min<LONG>(h.view->GetPageSize().cx, h.view->GetScrollLimit().cx));
    // Whole paper: nothing to scroll, the bars are disabled.
    h.view->SendCommand(ID_ZOOM_ALL);
    EXPECT_EQ(h.view->GetScrollPosition(), CPoint(0, 0));
}

TEST_F(ZoomScroll, MiddleButtonBringsThePointToTheCentre) {
    ViewHarness h(800, 600);
    h.view->ZoomAt(MFloatPoint(0, 0), 4.0, TRUE);
    h.view->ScrollToPosition(CPoint(500, 500));
    h.MouseAt(QEvent::MouseButtonPress, CPoint(500, 400), Qt::MiddleButton, Qt::MiddleButton);
    h.MouseAt(QEvent::MouseButtonRelease, CPoint(500, 400), Qt::MiddleButton, Qt::NoButton);
    CRect client;
    h.view->GetClientRect(&client);
    EXPECT_EQ(h.view->GetScrollPosition(),
              CPoint(500 + 500 - client.CenterPoint().x, 500 + 400 - client.CenterPoint().y));
}

TEST_F(ZoomScroll, FittingTakesTheNextSmallerTableScaleAndCentres) {
    ViewHarness h(800, 600);
    // The drawing is as high as the sheet: the ratio is exactly the table's 1 : 1, which gives the
    // next smaller scale, 1 : 5.
    const MFloatSize paper = h.doc.GetPaperInfo().GetSize();
    h.AddLine(1000, 1000, 1000 + paper.cy / 2, 1000 + paper.cy);
    h.doc.m_fitOnFirstUpdate = 1;
    h.view->OnInitialUpdate();
    EXPECT_EQ(h.doc.m_fitOnFirstUpdate, 0);
    EXPECT_DOUBLE_EQ(h.doc.GetPaperInfo().GetScale(), 0.2);
    EXPECT_EQ(h.doc.GetPaperInfo().GetScaleInfo().m_name, "1 : 5");
    const MFloatRect extent = h.doc.GetLayers()->GetExtent();
    // The sheet that is drawn and printed spans y from -height to 0 in paper millimetres.
    MFloatRect sheet;
    sheet.left = 0;
    sheet.top = 0;
    sheet.right = paper.cx;
    sheet.bottom = -paper.cy;
    const MFloatPoint centre = h.view->PaperToDocRect(sheet).GetCenter();
    EXPECT_NEAR(extent.GetCenter().x, centre.x, 1e-6);
    EXPECT_NEAR(extent.GetCenter().y, centre.y, 1e-6);
}

// Whether the drawing's extent lies inside the sheet (paper millimetres x 0..width, y -height..0).
bool OnTheSheet(ViewHarness& h) {
    const MFloatRect e = h.view->DocToPaperRect(h.doc.GetLayers()->GetExtent());
    const MFloatSize paper = h.doc.GetPaperInfo().GetSize();
    const double tolerance = 1e-6;
    return std::min(e.left, e.right) >= -tolerance && std::max(e.left, e.right) <= paper.cx + tolerance &&
           std::min(e.top, e.bottom) >= -paper.cy - tolerance && std::max(e.top, e.bottom) <= tolerance;
}

TEST_F(ZoomScroll, FittingTakesTheDrawingWhenTheStatedLimitsDoNotHoldIt) {
    // Limits left at a default far smaller than the drawing, which lies at negative coordinates.
    ViewHarness h(800, 600);
    h.AddLine(-52000, -31000, -12000, -1000);
    h.doc.m_fitOnFirstUpdate = 1;
    h.doc.m_importedExtentsValid = 1;
    h.doc.m_importedExtents = MFloatRect(0, 0, 420, 297);
    h.view->OnInitialUpdate();
    EXPECT_TRUE(OnTheSheet(h));
    EXPECT_LT(h.doc.GetPaperInfo().GetScale(), 0.02) << "no 10 : 1 from the limits";

    // Limits that hold the drawing are the area that is fitted.
    ViewHarness g(800, 600);
    g.AddLine(100, 100, 200, 200);
    g.doc.m_fitOnFirstUpdate = 1;
    g.doc.m_importedExtentsValid = 1;
    g.doc.m_importedExtents = MFloatRect(0, 0, 42000, 29700);
    g.view->OnInitialUpdate();
    EXPECT_TRUE(OnTheSheet(g));
    EXPECT_DOUBLE_EQ(g.doc.GetPaperInfo().GetScale(), 0.005);
}

// A line that counts its recalculations.
class CountingLine : public MLineShape {
public:
    using MLineShape::MLineShape;
    void Recalc(MCadView* view) override {
        MLineShape::Recalc(view);
        ++recalcs;
    }
    int recalcs = 0;
};

TEST_F(ZoomScroll, AFittedDrawingIsRecalculatedOncePerScaleAndAfterTheMove) {
    ViewHarness h(800, 600);
    auto* line = new CountingLine(MFloatPoint(-52000, -31000), MFloatPoint(-12000, -1000));
    h.doc.AppendShape(line, 0);
    MTextShape* text = new MTextShape;
    text->SetString("図面 Tessaray");
    text->SetTextSize(500);
    text->SetPoint(MFloatPoint(-30000, -20000));
    h.doc.AppendShape(text, 0);
    h.doc.m_fitOnFirstUpdate = 1;
    h.view->OnInitialUpdate();
    EXPECT_TRUE(OnTheSheet(h));
    // At the first scale for the extent, at the chosen one for the centre, after moving: no more.
    EXPECT_EQ(line->recalcs, 3);
    // What the first update left is what a recalculation now gives.
    const MFloatRect extent = text->GetExtent(), drawn = text->GetDrawExtent();
    h.doc.RecalcAll(h.view.get());
    EXPECT_EQ(text->GetExtent(), extent);
    EXPECT_EQ(text->GetDrawExtent(), drawn);

    // Without fitting, the first update recalculates once.
    line->recalcs = 0;
    h.view->OnInitialUpdate();
    EXPECT_EQ(line->recalcs, 1);
}

TEST_F(ZoomScroll, FittingASinglePointKeepsAPositiveScale) {
    ViewHarness h(800, 600);
    const double scale = h.doc.GetPaperInfo().GetScale();
    h.AddLine(5000, 5000, 5000, 5000);
    h.view->FitPaperScaleToDrawing();
    EXPECT_DOUBLE_EQ(h.doc.GetPaperInfo().GetScale(), scale);
    EXPECT_GT(h.doc.GetPaperInfo().GetScale(), 0.0);
}

TEST_F(ZoomScroll, PlaceAtViewCentreCentresTheShape) {
    ViewHarness h(800, 600);
    MLineShape shape(MFloatPoint(0, 0), MFloatPoint(1000, 500));
    h.view->PlaceAtViewCentre(&shape);
    std::unique_ptr<CDC> dc = h.view->GetPreparedClientDC();
    CRect client;
    h.view->GetClientRect(&client);
    const MFloatPoint centre = h.view->DeviceToDoc(dc.get(), client.CenterPoint());
    EXPECT_NEAR(shape.GetExtent().GetCenter().x, centre.x, 1e-9);
    EXPECT_NEAR(shape.GetExtent().GetCenter().y, centre.y, 1e-9);
}

TEST_F(ZoomScroll, TheFirstUpdateOfAWindowOffScreenPaintsOnlyWhenItShows) {
    RegisterModelClasses();
    RegisterDocumentClasses();
    MTessarayDoc doc;
    doc.OnNewDocument();
    auto* line = new MLineShape(MFloatPoint(0, 0), MFloatPoint(100, 60));
    doc.AppendShape(line, 0);
    MTessarayView view;
    view.SetDocument(&doc);
    view.Create(nullptr, 1);
    QWidget* window = view.GetFrameWindow()->GetWidget();
    window->resize(640, 480);
    view.OnInitialUpdate();
    EXPECT_FALSE(view.IsOnScreen());
    EXPECT_EQ(view.GetPaintCount(), 0);
    window->show();
    QApplication::processEvents();
    ASSERT_TRUE(view.IsOnScreen());
    EXPECT_GE(view.GetPaintCount(), 1);
    // It shows what a view shown before its first update shows.
    ViewHarness before(640, 480);
    before.doc.AppendShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(100, 60)), 0);
    before.view->OnInitialUpdate();
    QApplication::processEvents();
    EXPECT_TRUE(ViewSurfaceImage(view) == before.Surface());
}
