// The program's window as a whole: the main menu with its update handlers, the
// status panes, the zoom combo, the file commands of the single document, window placement, and
// a screenshot of the drawing view.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <climits>
#include <filesystem>
#include <fstream>

#include "app/FilePrompt.h"
#include "app/MainFrame.h"
#include "app/TessarayApp.h"
#include "app/WindowPlacement.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/Profile.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/QtGdi.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/Idle.h"
#include "platform/ui/Print.h"
#include "platform/ui/QtView.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tools/DrawToolArray.h"
#include "view/Grid.h"
#include "view/TessarayView.h"

Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

namespace {

constexpr UINT kPaperDialog = 178;

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        MTessarayApp::InitProgram();
        ASSERT_TRUE(app.CreateMainWindow());
        ASSERT_TRUE(app.NewDocument());
        Frame()->GetWidget()->resize(1000, 700);
        Frame()->ShowWindow(SW_SHOWNORMAL);
        QApplication::processEvents();
    }
    void TearDown() override { ResetProgramState(); }

    MMainFrame* Frame() { return app.GetMainFrame(); }
    MTessarayView* View() { return app.GetView(); }
    MTessarayDoc* Doc() { return app.GetDocument(); }

    // The popup of the main menu whose text starts with the given text.
    CMenu* Popup(const std::string& text, UINT* index = nullptr) {
        CMenu* menu = Frame()->GetMenu();
        for (UINT i = 0; i < menu->GetMenuItemCount(); ++i)
            if (menu->Items()[i].text.rfind(text, 0) == 0) {
                if (index) *index = i;
                return menu->GetSubMenu(static_cast<int>(i));
            }
        return nullptr;
    }
    // Opens the popup as the menu bar does (its update pass) and returns the item's state.
    UINT StateAfterOpening(const std::string& popup, UINT id) {
        UINT index = 0;
        CMenu* menu = Popup(popup, &index);
        if (!menu) return static_cast<UINT>(-1);
        Frame()->OnInitMenuPopup(menu, index, FALSE);
        return menu->GetMenuState(id, MF_BYCOMMAND);
    }
    void MoveMouse(CPoint client) {
        QWidget* window = Frame()->GetWidget();
        const QPoint p = View()->GetWidget()->mapTo(window, QPoint(client.x, client.y));
        static int time = 5000000;
        qt_handleMouseEvent(window->windowHandle(), QPointF(p), QPointF(window->mapToGlobal(p)), Qt::NoButton,
                            Qt::NoButton, QEvent::MouseMove, Qt::NoModifier, time += 1000);
        QApplication::processEvents();
    }

    MTessarayApp app;
};

void AddShapes(MTessarayDoc* doc) {
    doc->AppendShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(20000, 12000)), 0);
    auto* circle = new MCircleShape();
    circle->SetCircle(15000, 9000, 3000);
    doc->AppendShape(circle, 0);
}

}  // namespace

TEST_F(Shell, TheWindowHasItsMenuBarsAndView) {
    ASSERT_NE(Frame()->GetMenu(), nullptr);
    for (const char* title : {"ファイル", "編集", "表示", "図形", "スナップ", "ﾚｲﾔｰ", "ヘルプ"})
        EXPECT_NE(Popup(title), nullptr) << title;
    EXPECT_EQ(Frame()->GetActiveView(), View());
    CStatusBar& bar = Frame()->GetStatusBarCtrl();
    ASSERT_EQ(bar.GetCount(), 7);
    EXPECT_EQ(bar.GetItemID(1), 62646u);
    EXPECT_EQ(bar.GetItemID(2), 62647u);
    EXPECT_EQ(Frame()->GetZoomToolBar().GetItemID(5), static_cast<UINT>(ID_ZOOM_COMBO));
    EXPECT_EQ(Frame()->GetWindowText(), "無題 - Tessaray");
    EXPECT_EQ(View()->GetTabCount(), 1);
}

TEST_F(Shell, MenuItemsAreEnabledAndCheckedByTheirUpdateHandlers) {
    EXPECT_EQ(StateAfterOpening("スナップ", 32808) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(StateAfterOpening("スナップ", 32859) & MF_CHECKED, 0u);
    EXPECT_EQ(StateAfterOpening("表示", 32797) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(StateAfterOpening("表示", 32776) & MF_GRAYED, 0u);
    EXPECT_EQ(StateAfterOpening("編集", 57643) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
    EXPECT_EQ(StateAfterOpening("ファイル", 57600) & MF_GRAYED, 0u);
    EXPECT_EQ(StateAfterOpening("ファイル", 57603) & MF_GRAYED, 0u);
    // The layer dialogs are available; deleting the only layer is not.
    EXPECT_EQ(StateAfterOpening("ﾚｲﾔｰ", 32823) & MF_GRAYED, 0u);
    EXPECT_EQ(StateAfterOpening("ﾚｲﾔｰ", 32825) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
    // A toggle through the menu changes the check at the next opening.
    Frame()->SendCommand(32808);
    EXPECT_EQ(StateAfterOpening("スナップ", 32808) & MF_CHECKED, 0u);
    // The other layers' modes (a sub-menu, updated as it opens) are checked by value.
    CMenu* layers = Popup("ﾚｲﾔｰ");
    ASSERT_NE(layers, nullptr);
    CMenu* others = nullptr;
    for (UINT i = 0; i < layers->GetMenuItemCount(); ++i)
        if (layers->Items()[i].popup) others = layers->GetSubMenu(static_cast<int>(i));
    ASSERT_NE(others, nullptr);
    Frame()->OnInitMenuPopup(others, 0, FALSE);
    EXPECT_EQ(others->GetMenuState(32862, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(others->GetMenuState(32860, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

TEST_F(Shell, StatusPanesFollowThePointer) {
    AfxRunIdleNow();
    MoveMouse(CPoint(200, 150));
    AfxRunIdleNow();
    std::unique_ptr<CDC> dc = View()->GetPreparedClientDC();
    // The current tool snaps the pointer to the grid, away from any shape.
    const MFloatPoint pointer = View()->DeviceToDoc(dc.get(), CPoint(200, 150));
    const MFloatPoint p = View()->DocToUser(View()->GetGrid()->SnapDocPoint(View(), pointer));
    char expected[64];
    std::snprintf(expected, sizeof expected, "(%6g, %6g)", p.x, p.y);
    EXPECT_EQ(Frame()->GetStatusBarCtrl().GetPaneText(1), expected);
    EXPECT_TRUE(Frame()->GetStatusBarCtrl().IsPaneEnabled(1));
    EXPECT_EQ(Frame()->GetStatusBarCtrl().GetPaneText(2).front(), '(');
}

TEST_F(Shell, TheZoomComboShowsAndSetsTheZoom) {
    View()->ZoomAt(View()->GetClientCentre(), 2.0, FALSE);
    AfxRunIdleNow();
    EXPECT_EQ(Frame()->GetZoomPercent(), 200.0);
    EXPECT_EQ(Frame()->GetZoomCombo().GetWindowText(), "200");
    // Typing a value and Enter zoom the view.
    auto* combo = qobject_cast<QComboBox*>(Frame()->GetZoomCombo().GetWidget());
    ASSERT_TRUE(combo && combo->lineEdit());
    combo->lineEdit()->setFocus();
    combo->lineEdit()->setText("250");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(combo->lineEdit(), &enter);
    EXPECT_NEAR(View()->GetZoom(), 2.5, 1e-12);
    // A value the combo refuses keeps the old one.
    Frame()->GetZoomCombo().SetText("5000");
    EXPECT_EQ(Frame()->GetZoomCombo().GetValue(), 250.0);
    // A choice from the list.
    Frame()->GetZoomCombo().ChooseItem(1);
    EXPECT_NEAR(View()->GetZoom(), 0.10, 1e-12);
    // The percent clamps below 1 and floors.
    Frame()->SetZoomPercent(0.2);
    EXPECT_EQ(Frame()->GetZoomPercent(), 1.0);
    Frame()->GetZoomCombo().SetValue(12.345);
    EXPECT_EQ(Frame()->GetZoomPercent(), 12.0);
}

TEST_F(Shell, TheZoomComboTakesAtMostAThousandPercentYetShowsDeeperZooms) {
    View()->ZoomAt(View()->GetClientCentre(), 2.5, FALSE);
    AfxRunIdleNow();
    const struct {
        const char* typed;
        double zoom;  // the view's zoom afterwards
    } cases[] = {{"1500", 2.5}, {"1000", 10.0}, {"1000.4", 10.0}, {"5", 0.05}};
    for (const auto& c : cases) {
        Frame()->GetZoomCombo().SetText(c.typed);
        EXPECT_NEAR(View()->GetZoom(), c.zoom, 1e-12) << c.typed;
    }
    // Past 1000 % by zoom steps: the box shows that zoom, not the last one typed.
    View()->ZoomAt(View()->GetClientCentre(), 20.0, FALSE);
    AfxRunIdleNow();
    EXPECT_NEAR(View()->GetZoom(), 20.0, 1e-12);
    EXPECT_EQ(Frame()->GetZoomPercent(), 2000.0);
    EXPECT_EQ(Frame()->GetZoomCombo().GetWindowText(), "2000");
}

TEST_F(Shell, SaveAndOpenThroughTheFileCommands) {
    MessageBoxRecorder boxes(IDNO);
    const std::string dir = MakeTempDir("app-save-open");
    const std::string path = dir + "/drawing.qfd";
    AddShapes(Doc());
    Doc()->AddNewLayer();
    Doc()->SetModifiedFlag(TRUE);
    SetFilePromptHandler([&](FileDialogState& dialog) {
        dialog.path = path;
        return true;
    });
    Frame()->SendCommand(ID_FILE_SAVE);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Frame()->GetWindowText(), "drawing.qfd - Tessaray");

    DialogRunner runner;
    runner.Script(kPaperDialog, DialogScript().Ok());
    Frame()->SendCommand(ID_FILE_NEW);
    EXPECT_EQ(Doc()->GetLayers()->GetLayer(0)->GetSize(), 0);
    EXPECT_EQ(View()->GetTabCount(), 1);

    Frame()->SendCommand(ID_FILE_OPEN);
    ASSERT_EQ(Doc()->GetLayers()->GetLayerCount(), 2);
    EXPECT_EQ(Doc()->GetLayers()->GetLayer(0)->GetSize(), 2);
    EXPECT_EQ(View()->GetTabCount(), 2);
    EXPECT_EQ(Doc()->GetPathName(), path);
    EXPECT_TRUE(boxes.Messages().empty());
    // The view shows the drawing as an image context renders it.
    View()->Invalidate();
    View()->UpdateWindow();
    CRect client;
    View()->GetClientRect(&client);
    CDC dc;
    dc.CreateImageDC(client.Width(), client.Height());
    View()->OnEraseBkgnd(&dc);
    View()->OnPrepareDC(&dc, nullptr);
    View()->OnDraw(&dc);
    EXPECT_TRUE(ViewSurfaceImage(*View()).convertToFormat(QImage::Format_RGB32) ==
                GetDCImage(dc)->convertToFormat(QImage::Format_RGB32));
}

TEST_F(Shell, NewAsksForThePaperAndCanStartFromAnotherDrawing) {
    MessageBoxRecorder boxes(IDNO);
    const std::string dir = MakeTempDir("app-new");
    const std::string source = dir + "/source.qfd";
    AddShapes(Doc());
    ASSERT_TRUE(Doc()->OnSaveDocument(source));
    std::vector<bool> prompts;  // whether each file prompt was an open dialog
    SetFilePromptHandler([&](FileDialogState& dialog) {
        prompts.push_back(dialog.open);
        dialog.path = source;
        return true;
    });

    // Cancel keeps the drawing; OK makes a new one on the chosen paper.
    DialogRunner runner;
    runner.Script(kPaperDialog, DialogScript().Cancel());
    Frame()->SendCommand(ID_FILE_NEW);
    EXPECT_EQ(Doc()->GetLayers()->GetLayer(0)->GetSize(), 2);
    runner.Script(kPaperDialog, DialogScript().SelectString(1028, "A3").Ok());
    Frame()->SendCommand(ID_FILE_NEW);
    EXPECT_EQ(Doc()->GetLayers()->GetLayer(0)->GetSize(), 0);
    EXPECT_EQ(Doc()->GetPaperInfo().GetSizeInfo().m_name, "A3");
    EXPECT_TRUE(prompts.empty());

    // Template: the other drawing's content in a new, untitled drawing.
    runner.Script(kPaperDialog, DialogScript().Click(1308));
    Frame()->SendCommand(ID_FILE_NEW);
    EXPECT_EQ(Doc()->GetLayers()->GetLayer(0)->GetSize(), 2);
    EXPECT_TRUE(Doc()->GetPathName().empty());
    EXPECT_FALSE(Doc()->IsModified());

    // Open: the file itself, under its name.
    runner.Script(kPaperDialog, DialogScript().Click(1309));
    Frame()->SendCommand(ID_FILE_NEW);
    EXPECT_EQ(Doc()->GetPathName(), source);
    EXPECT_EQ(prompts, (std::vector<bool>{true, true}));
    EXPECT_TRUE(boxes.Messages().empty());
}

TEST_F(Shell, AModifiedDrawingAsksBeforeItIsReplaced) {
    MessageBoxRecorder boxes(IDCANCEL);
    AddShapes(Doc());
    Doc()->SetModifiedFlag(TRUE);
    DialogRunner runner;
    runner.Script(kPaperDialog, DialogScript().Ok());
    runner.Script(kPaperDialog, DialogScript().Ok());
    Frame()->SendCommand(ID_FILE_NEW);
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_EQ(Doc()->GetLayers()->GetLayer(0)->GetSize(), 2);
    boxes.SetAnswer(IDNO);
    Frame()->SendCommand(ID_FILE_NEW);
    EXPECT_EQ(Doc()->GetLayers()->GetLayer(0)->GetSize(), 0);
    // Closing with changes asks too; Cancel keeps the window.
    AddShapes(Doc());
    Doc()->SetModifiedFlag(TRUE);
    boxes.SetAnswer(IDCANCEL);
    Frame()->OnClose();
    EXPECT_TRUE(Frame()->IsWindow());
}

TEST_F(Shell, AFileThatCannotBeOpenedIsReportedAndTheDrawingStays) {
    MessageBoxRecorder boxes;
    AddShapes(Doc());
    const std::string dir = MakeTempDir("app-bad-open");
    const std::string path = dir + "/broken.qfd";
    {
        std::ofstream out(path, std::ios::binary);
        out << "not a drawing\r\n";
    }
    EXPECT_FALSE(app.OpenDocumentFile(path));
    EXPECT_FALSE(boxes.Messages().empty());
    EXPECT_EQ(Doc()->GetLayers()->GetLayer(0)->GetSize(), 2);
    EXPECT_EQ(View()->GetTabCount(), Doc()->GetLayers()->GetLayerCount());
    EXPECT_FALSE(app.OpenDocumentFile(dir + "/missing.qfd"));
}

TEST_F(Shell, WindowPlacementIsSavedAndRestored) {
    QWidget* window = Frame()->GetWidget();
    window->setGeometry(40, 50, 700, 500);
    QApplication::processEvents();
    Frame()->SaveSettings();
    const std::string saved = AfxGetProfile().GetProfileString("Settings", "WindowPos");
    const QRect g = window->geometry();
    char expected[128];
    std::snprintf(expected, sizeof expected, "0,1,-1,-1,-1,-1,%d,%d,%d,%d", g.left(), g.top(),
                  g.left() + g.width(), g.top() + g.height());
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(AfxGetProfile().GetProfileInt("VERSION", "TOOLBAR", 0), 2);
    EXPECT_EQ(AfxGetProfile().GetProfileInt("OPION", "SNAP", 0), 31);

    window->setGeometry(0, 0, 300, 200);
    Frame()->RestoreWindowPlacement(SW_SHOWNORMAL);
    QApplication::processEvents();
    EXPECT_EQ(window->geometry().size(), g.size());

    // A maximised placement comes back maximised; a damaged one is ignored.
    AfxGetProfile().WriteProfileString("Settings", "WindowPos", "2,3,-1,-1,-1,-1,10,20,810,620");
    Frame()->RestoreWindowPlacement(SW_SHOWNORMAL);
    QApplication::processEvents();
    EXPECT_TRUE(window->isMaximized() || window->windowState() & Qt::WindowMaximized);
    window->showNormal();
    AfxGetProfile().WriteProfileString("Settings", "WindowPos", "1,2,3");
    Frame()->RestoreWindowPlacement(SW_SHOWNORMAL);
    EXPECT_TRUE(window->isVisible());
}

// Placements from a damaged or hand-edited profile: corners at the ends of the number range, a
// window far larger than any screen, one far off every screen. Each opens on the screen, usable.
TEST_F(Shell, AnExtremePlacementOpensOnTheScreen) {
    QWidget* window = Frame()->GetWidget();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const char* saved :
         {"0,1,-1,-1,-1,-1,-2147483648,-2147483648,2147483647,2147483647",
          "0,1,-1,-1,-1,-1,-9223372036854775808,-5,9223372036854775807,9223372036854775807",
          "0,1,-1,-1,-1,-1,-99999999999999999999999,-5,99999999999999999999999,30",
          "4294967295,4294967295,-1,-1,-1,-1,100000,100000,100005,100003",
          "0,1,-1,-1,-1,-1,-50000,20,-49000,700"}) {
        AfxGetProfile().WriteProfileString("Settings", "WindowPos", saved);
        Frame()->RestoreWindowPlacement(SW_SHOWNORMAL);
        QApplication::processEvents();
        const QRect g = window->geometry();
        EXPECT_TRUE(screen.contains(window->frameGeometry()))
            << saved << ": " << g.x() << "," << g.y() << " " << g.width() << "x" << g.height();
        EXPECT_GE(g.width(), std::min(200, screen.width())) << saved;
        EXPECT_GE(g.height(), std::min(150, screen.height())) << saved;
        window->showNormal();
    }
    // Parsed whole numbers only, clamped to their fields.
    EXPECT_FALSE(MWindowPlacement::Parse("0,1,-1,-1,-1,-1,1e3,0,10,10"));
    EXPECT_FALSE(MWindowPlacement::Parse("0,1,-1,-1,-1,-1,,0,10,10"));
    const auto p = MWindowPlacement::Parse(" 2 , 3,-1,-1,-1,-1,-99999999999,0,99999999999,10");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->flags, 2u);
    EXPECT_EQ(p->showCommand, 3);
    EXPECT_EQ(p->normal, CRect(INT_MIN, 0, INT_MAX, 10));
    EXPECT_FALSE(p->FitToScreens({}));
    EXPECT_EQ(p->FitToScreens({CRect(0, 0, 1920, 1080), CRect(1920, 0, 3200, 1024)}), CRect(0, 0, 1920, 150));
}

TEST_F(Shell, TheCommandLineNamesTheFileAndTheUnregisterFlag) {
    MCommandLineInfo info;
    info.ParseCommandLine({"/Unregister", "a.qfd", "b.qfd"});
    EXPECT_TRUE(info.m_unregister);
    EXPECT_EQ(info.m_strFileName, "a.qfd");
    MCommandLineInfo other;
    other.ParseCommandLine({"-unregister"});
    EXPECT_FALSE(other.m_unregister);
    EXPECT_EQ(other.m_strFileName, "");
}

TEST_F(Shell, AScreenshotOfTheDrawingView) {
    AddShapes(Doc());
    Doc()->AddNewLayer();
    View()->OnInitialUpdate();
    MoveMouse(CPoint(300, 200));
    QApplication::processEvents();
    const QImage shot = Frame()->GetWidget()->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    const std::filesystem::path dir = std::filesystem::path(TESSARAY_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "tessaray-main-window.png").string();
    ASSERT_TRUE(shot.save(QString::fromStdString(file), "PNG"));
    EXPECT_GT(std::filesystem::file_size(file), 1000u);
    // The view inside the window shows its surface.
    const QImage view = View()->GetWidget()->grab().toImage();
    EXPECT_TRUE(view.convertToFormat(QImage::Format_RGB32) ==
                ViewSurfaceImage(*View()).convertToFormat(QImage::Format_RGB32));
    view.save(QString::fromStdString((dir / "tessaray-view.png").string()), "PNG");
}

TEST_F(Shell, ClosingSavesTheSettingsAndTakesTheWindowDown) {
    MessageBoxRecorder boxes;
    GetOptionRecord().m_snap = 7;
    // Not as the main window: the test must not end the (shared) application.
    app.m_pMainWnd = nullptr;
    Frame()->OnClose();
    EXPECT_TRUE(boxes.Messages().empty());
    EXPECT_EQ(AfxGetProfile().GetProfileInt("OPION", "SNAP", 0), 7);
    EXPECT_EQ(AfxGetProfile().GetProfileInt("INIT", "SETTING", 0), 1);
    EXPECT_FALSE(Frame()->IsWindow());
    // The window is deleted as the event loop would, before the application object goes.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The view and document go with the application afterwards without touching the window.
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_EQ(app.GetMainFrame(), nullptr);
}

// The printer setup (dialog 1539) changes the application's printer and the black-and-white flag;
// the view's page follows the printer, also after a cancel, and the print area keeps its centre.
TEST_F(Shell, PrinterSetupChangesThePrinterAndTheViewsPage) {
    const PrinterStateKept kept;
    CPrinterSettings& printer = AfxGetPrinterSettings();
    printer = CPrinterSettings();      // PDF, A4 upright, 5 mm unprinted at each edge
    printer.orientationChosen = TRUE;  // upright whatever the sheet
    printer.outputFile = MakeTempDir("printsetup") + "/page.pdf";
    PrintBlackWhite() = 0;
    View()->UpdatePrinterPage(FALSE);
    // Qt gives paper sizes in whole points: within half a millimetre.
    ASSERT_NEAR(View()->m_pageWidth, 200, 0.5);
    const MFloatPoint centre(40, -60);  // where the print-area tool left it
    View()->m_printCentre = centre;

    DialogRunner runner;
    runner.Script(1539, DialogScript().SelectString(1137, "A3").Click(1057).SetCheck(1324, 1).Ok());
    Frame()->SendCommand(ID_FILE_PRINT_SETUP);
    ASSERT_EQ(runner.OpenedIds(), std::vector<unsigned>{1539});
    EXPECT_EQ(printer.paperName, "A3");
    EXPECT_TRUE(printer.landscape);
    EXPECT_EQ(PrintBlackWhite(), 1);
    EXPECT_NEAR(View()->m_pageWidth, 410, 0.5);
    EXPECT_NEAR(View()->m_pageHeight, 287, 0.5);
    // Another page starts again where the printable area starts on the sheet, at once.
    EXPECT_NEAR(View()->GetPrintArea().left, 5, 0.5);
    EXPECT_NEAR(View()->GetPrintArea().top, -5, 0.5);
    EXPECT_EQ(View()->m_printArea, View()->GetPrintArea());

    // Cancelled: neither the dialog's printer nor its check box is taken, but the page is read
    // again from the printer, which may have changed meanwhile.
    printer.paperName = "A5";
    printer.landscape = FALSE;
    runner.Script(1539, DialogScript().SelectString(1137, "B4").SetCheck(1324, 0).Cancel());
    Frame()->SendCommand(ID_FILE_PRINT_SETUP);
    EXPECT_EQ(printer.paperName, "A5");
    EXPECT_EQ(PrintBlackWhite(), 1);
    EXPECT_NEAR(View()->m_pageWidth, 138, 0.5);
    EXPECT_NEAR(View()->m_pageHeight, 200, 0.5);
    EXPECT_NEAR(View()->GetPrintArea().left, 5, 0.5);

    // The same page again keeps the centre the print-area tool chose.
    View()->m_printCentre = centre;
    runner.Script(1539, DialogScript().Ok());
    Frame()->SendCommand(ID_FILE_PRINT_SETUP);
    EXPECT_EQ(View()->m_printCentre, centre);
}
