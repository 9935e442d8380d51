// The main window's toolbars: the first start's layout, pictures and tips, every button and menu
// item reaching a handler, the toolbar dialog and the layout kept between runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QToolBar>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <typeinfo>

#include "platform/Strings.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/Idle.h"
#include "platform/ui/KeyLocks.h"
#include "resources/ResourceIds.h"
#include "tests/app/AppTestSupport.h"
#include "tools/DrawToolArray.h"
#include "view/TessarayView.h"

namespace {

constexpr UINT kToolbarDialog = 184;
constexpr int kToolbarList = 1294;

const char* const kTitles[] = {"ファイル", "印刷・ページ", "拡大･縮小", "スナップ", "レイヤ表示",   "レイヤ",
                               "図形",     "変形",         "線",        "円",       "多角形",       "定型",
                               "整形",     "コピー",       "計測",      "文字",     "図形スタイル", "編集"};

// The slots the frame fills with controls.
const std::set<UINT> kControlSlots = {ID_ZOOM_COMBO,        IDC_FONT_NAME,      IDC_FONT_SIZE,
                                      IDC_TEXT_COLOR,       IDC_LINE_COLOR,     IDC_FACE_COLOR,
                                      IDC_LINE_STYLE,       IDC_LINE_WIDTH,     IDC_START_ARROW_TYPE,
                                      IDC_START_ARROW_SIZE, IDC_END_ARROW_TYPE, IDC_END_ARROW_SIZE};

class MainFrameBars : public StartedProgram {
protected:
    QMainWindow* Window() { return qobject_cast<QMainWindow*>(Frame()->GetWidget()); }
    QToolBar* Bar(int index) { return qobject_cast<QToolBar*>(Frame()->GetToolBar(index).GetWidget()); }
    std::vector<UINT> ShownBars() {
        std::vector<UINT> shown;
        for (int i = 0; i < MMainFrame::kToolBarCount; ++i)
            if (!Bar(i)->isHidden()) shown.push_back(MMainFrame::kToolBarIds[static_cast<std::size_t>(i)]);
        return shown;
    }
    // Closes the window as the user does and starts the program again on the same profile.
    void Restart() {
        app.m_pMainWnd = nullptr;
        Frame()->OnClose();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        app.ExitInstance();
        ASSERT_TRUE(app.CreateMainWindow());
        ASSERT_TRUE(app.NewDocument());
    }
    void ShowAll() {
        for (int i = 0; i < MMainFrame::kToolBarCount; ++i)
            Frame()->ShowControlBar(&Frame()->GetToolBar(i), TRUE, FALSE);
    }
};

}  // namespace

TEST_F(MainFrameBars, TheFirstStartDocksEighteenBarsInRowsOfFourAndShowsFour) {
    for (int i = 0; i < MMainFrame::kToolBarCount; ++i) {
        CToolBar& bar = Frame()->GetToolBar(i);
        const UINT id = MMainFrame::kToolBarIds[static_cast<std::size_t>(i)];
        EXPECT_EQ(bar.GetDlgCtrlID(), i == 0 ? static_cast<UINT>(AFX_IDW_TOOLBAR) : id) << i;
        EXPECT_EQ(bar.GetWindowText(), kTitles[i]) << i;
        EXPECT_EQ(Window()->toolBarArea(Bar(i)), Qt::TopToolBarArea) << i;
        EXPECT_EQ(Window()->toolBarBreak(Bar(i)), i > 0 && i % 4 == 0) << i;
    }
    EXPECT_EQ(ShownBars(), (std::vector<UINT>{128, 187, 244, 247}));

    // Shown together, each row runs left to right in list order.
    ShowAll();
    Frame()->GetWidget()->resize(2400, 900);
    Frame()->ShowWindow(SW_SHOWNORMAL);
    QApplication::processEvents();
    for (int i = 1; i < MMainFrame::kToolBarCount; ++i) {
        const QRect a = Bar(i - 1)->geometry();
        const QRect b = Bar(i)->geometry();
        if (i % 4 == 0)
            EXPECT_GE(b.top(), a.bottom()) << i;
        else
            EXPECT_TRUE(b.top() == a.top() && b.left() >= a.right()) << i;
    }

    // A screenshot of the whole window with every bar.
    const std::filesystem::path dir = std::filesystem::path(TESSARAY_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "tessaray-all-toolbars.png").string();
    ASSERT_TRUE(Frame()->GetWidget()->grab().save(QString::fromStdString(file), "PNG"));
}

TEST_F(MainFrameBars, EveryButtonHasAPictureAndATip) {
    int buttons = 0;
    for (int i = 0; i < MMainFrame::kToolBarCount; ++i) {
        CToolBar& bar = Frame()->GetToolBar(i);
        for (int b = 0; b < bar.GetCount(); ++b) {
            const UINT id = bar.GetItemID(b);
            if (id == ID_SEPARATOR || kControlSlots.count(id)) continue;
            ++buttons;
            EXPECT_TRUE(bar.HasButtonPicture(b)) << "bar " << i << " button " << id;
            const std::string tip = bar.GetButtonTip(b);
            EXPECT_FALSE(tip.empty()) << id;
            EXPECT_NE(tip, std::to_string(id));
        }
    }
    EXPECT_GT(buttons, 120);
}

// Every toolbar button and every item of the main menu reaches a handler that decides whether it
// is enabled: an update handler, or a command handler along the frame's route (the select tool
// current). Nothing is dead.
TEST_F(MainFrameBars, EveryButtonAndMenuItemHasAHandlerAlongTheRoute) {
    // The select tool's arrange commands, until its command table handles them.
    const std::set<UINT> selectTool = {
        ID_GROUP,         ID_UNGROUP,      ID_MIRROR_X,       ID_MIRROR_Y,       ID_ROTATE_LEFT,
        ID_ROTATE_RIGHT,  ID_ROTATE_ANGLE, ID_BRING_TO_FRONT, ID_SEND_TO_BACK,   ID_SCALE_SHAPES,
        ID_MOVE_SHAPES,   ID_ALIGN_LEFT,   ID_ALIGN_TOP,      ID_ALIGN_BOTTOM,   ID_ALIGN_BASE_X,
        ID_ALIGN_BASE_Y,  ID_ALIGN_RIGHT,  ID_SPACE_EVENLY_X, ID_SPACE_EVENLY_Y, ID_EXPLODE_TO_LINES,
        ID_JOIN_POLYLINE, ID_EDIT_SHAPE,   ID_POINT_EDIT,     ID_MOVE_TO_LAYER,  ID_SELECT_FILTER};
    MDrawTool* select = GetDrawToolArray().FindByCommand(ID_TOOL_SELECT);
    ASSERT_NE(select, nullptr);
    AFX_CMDHANDLERINFO probe;
    const bool arrangeLanded = select->OnCmdMsg(ID_GROUP, CN_COMMAND, nullptr, &probe);
    app.GetView()->SendCommand(ID_TOOL_SELECT);

    std::set<UINT> ids;
    for (int i = 0; i < MMainFrame::kToolBarCount; ++i)
        for (int b = 0; b < Frame()->GetToolBar(i).GetCount(); ++b)
            ids.insert(Frame()->GetToolBar(i).GetItemID(b));
    std::function<void(const CMenu&)> collect = [&](const CMenu& menu) {
        for (const CMenu::Item& item : menu.Items()) {
            if (item.popup) collect(*item.popup);
            if (!(item.flags & MF_SEPARATOR) && item.id != 0) ids.insert(item.id);
        }
    };
    collect(*Frame()->GetMenu());
    ids.erase(ID_SEPARATOR);
    EXPECT_GT(ids.size(), 150u);
    for (UINT id : ids) {
        if (!arrangeLanded && selectTool.count(id)) continue;
        CTestCmdUI ui;
        ui.m_nID = id;
        const BOOL updated = ui.DoUpdate(Frame(), FALSE);
        AFX_CMDHANDLERINFO info;
        const BOOL handled = Frame()->OnCmdMsg(id, CN_COMMAND, nullptr, &info);
        EXPECT_TRUE(updated || handled) << "no handler for " << id;
    }
}

TEST_F(MainFrameBars, TheToolbarDialogShowsAndHidesAndItsLayoutComesBack) {
    DialogRunner runner;
    // Cancel changes nothing.
    runner.Script(kToolbarDialog, DialogScript().CheckItem(kToolbarList, 0, 0).Cancel());
    Frame()->SendCommand(ID_VIEW_TOOLBAR);
    EXPECT_EQ(ShownBars(), (std::vector<UINT>{128, 187, 244, 247}));

    // The dialog lists all 18 by title with their state; hide the polygons, show the changes.
    std::vector<std::string> titles;
    runner.Script(kToolbarDialog,
                  DialogScript().CheckItem(kToolbarList, 10, 1).CheckItem(kToolbarList, 7, 1).Ok());
    Frame()->SendCommand(ID_VIEW_TOOLBAR);
    EXPECT_EQ(ShownBars(), (std::vector<UINT>{128, 187, 193, 197, 244, 247}));
    runner.Script(kToolbarDialog, DialogScript().CheckItem(kToolbarList, 10, 0).Ok());
    Frame()->SendCommand(ID_VIEW_TOOLBAR);
    EXPECT_EQ(ShownBars(), (std::vector<UINT>{128, 187, 193, 244, 247}));
    // The bars move too: the changes bar leaves its row for the first.
    Frame()->DockControlBarLeftOf(&Frame()->GetToolBar(7), &Frame()->GetToolBar(0));

    Restart();
    EXPECT_EQ(ShownBars(), (std::vector<UINT>{128, 187, 193, 244, 247}));
    EXPECT_FALSE(Window()->toolBarBreak(Bar(7)));
    EXPECT_EQ(AfxGetProfile().GetProfileInt("INIT", "SETTING", 0), 1);
    EXPECT_EQ(AfxGetProfile().GetProfileInt("VERSION", "TOOLBAR", 0), 2);
}

TEST_F(MainFrameBars, UncheckingEveryBarHidesAllEighteen) {
    DialogRunner runner;
    DialogScript script;
    for (int i = 0; i < MMainFrame::kToolBarCount; ++i)
        script.CheckItem(kToolbarList, i, 0);
    runner.Script(kToolbarDialog, script.Ok());
    Frame()->SendCommand(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(ShownBars().empty());
    // The dialog still lists every bar, so any can come back.
    runner.Script(kToolbarDialog, DialogScript().CheckItem(kToolbarList, 17, 1).Ok());
    Frame()->SendCommand(ID_VIEW_TOOLBAR);
    EXPECT_EQ(ShownBars(), (std::vector<UINT>{258}));
}

TEST_F(MainFrameBars, AStoredLayoutIsTakenOnlyFromACleanRunOfTheSameBars) {
    CProfile& profile = AfxGetProfile();
    // Stores the layout with every bar shown, as a clean close does, then changes the profile.
    const auto restartWith = [&](const std::function<void()>& change) {
        ShowAll();
        Frame()->SaveSettings();
        change();
        app.ExitInstance();
        ASSERT_TRUE(app.CreateMainWindow());
    };
    restartWith([] {});
    EXPECT_EQ(ShownBars().size(), 18u);
    // A profile of an older layout.
    restartWith([&] { profile.WriteProfileInt("VERSION", "TOOLBAR", 1); });
    EXPECT_EQ(ShownBars(), (std::vector<UINT>{128, 187, 244, 247}));
    // A start that broke off while restoring left INIT/SETTING at 0.
    restartWith([&] { profile.WriteProfileInt("INIT", "SETTING", 0); });
    EXPECT_EQ(ShownBars(), (std::vector<UINT>{128, 187, 244, 247}));
    EXPECT_EQ(profile.GetProfileInt("INIT", "SETTING", 0), 1);
}

TEST_F(MainFrameBars, ADamagedOrForeignLayoutKeepsTheDefault) {
    ShowAll();
    Frame()->SaveSettings();
    std::vector<BYTE> state;
    CProfile& profile = AfxGetProfile();
    ASSERT_TRUE(profile.GetProfileBinary("ToolBar", "State", state));
    ASSERT_GT(state.size(), 40u);
    const std::vector<std::vector<BYTE>> damaged = {
        std::vector<BYTE>(state.begin(), state.begin() + static_cast<long>(state.size() / 2)),
        std::vector<BYTE>(state.size(), 0xFF),
        std::vector<BYTE>{1, 2, 3},
        std::vector<BYTE>(state.begin(), state.end() - 3),
    };
    for (const std::vector<BYTE>& blob : damaged) {
        app.ExitInstance();
        profile.WriteProfileBinary("ToolBar", "State", blob.data(), blob.size());
        profile.WriteProfileInt("VERSION", "TOOLBAR", 2);
        profile.WriteProfileInt("INIT", "SETTING", 1);
        ASSERT_TRUE(app.CreateMainWindow());
        EXPECT_EQ(ShownBars(), (std::vector<UINT>{128, 187, 244, 247}));
        for (int i = 0; i < MMainFrame::kToolBarCount; ++i)
            EXPECT_EQ(Window()->toolBarBreak(Bar(i)), i > 0 && i % 4 == 0) << i;
    }
    // A layout of other bars (another version) is not taken either.
    EXPECT_FALSE(Frame()->SetBarState(state, MMainFrame::ToolBarLayoutVersion() + 1));
    EXPECT_TRUE(Frame()->SetBarState(state, MMainFrame::ToolBarLayoutVersion()));
    EXPECT_EQ(ShownBars().size(), 18u);
}

TEST_F(MainFrameBars, LockPanesShowTheirTextWhileTheLockIsOn) {
    KeyLockState caps = KeyLockState::On;
    const CProgramSlot<KeyLockSource>::Override source(AfxKeyLockSourceSlot(), [&caps](KeyLock lock) {
        return lock == KeyLock::Caps ? caps : KeyLockState::Unknown;
    });
    CStatusBar& bar = Frame()->GetStatusBarCtrl();
    AfxRunIdleNow();
    EXPECT_EQ(bar.GetItemID(4), static_cast<UINT>(ID_INDICATOR_CAPS));
    EXPECT_EQ(bar.GetPaneText(4), "CAP");
    EXPECT_TRUE(bar.IsPaneEnabled(4));
    for (int pane : {3, 5, 6})
        EXPECT_FALSE(bar.IsPaneEnabled(pane)) << "an unknown state leaves the pane blank";
    caps = KeyLockState::Off;
    AfxRunIdleNow();
    EXPECT_FALSE(bar.IsPaneEnabled(4));
}

namespace {

// Runs the event loop (and with it the idle passes it schedules) until the caps pane shows
// `shown`; a hang guard, not a speed goal.
bool CapsPaneBecomes(CStatusBar& bar, bool shown) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < end) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        if (static_cast<bool>(bar.IsPaneEnabled(4)) == shown) return true;
    }
    return false;
}

}  // namespace

// The half of the test below that runs inside the virtual X server, as a program of its own.
TEST_F(MainFrameBars, DISABLED_CapsLockOfTheXServerShowsInItsPane) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    CStatusBar& bar = Frame()->GetStatusBarCtrl();
    Frame()->ShowWindow(SW_SHOWNORMAL);
    AfxRunIdleNow();
    ASSERT_FALSE(bar.IsPaneEnabled(4)) << "a new server starts with Caps Lock off";
    ASSERT_EQ(std::system("xdotool key Caps_Lock"), 0);
    EXPECT_TRUE(CapsPaneBecomes(bar, true));
    EXPECT_EQ(bar.GetPaneText(4), "CAP");
    ASSERT_EQ(std::system("xdotool key Caps_Lock"), 0);
    EXPECT_TRUE(CapsPaneBecomes(bar, false));
}

TEST(LockPanesOnX11, CapsLockShowsCapAfterTheIdlePass) {
    if (std::system("command -v xvfb-run Xvfb xauth xdotool > /dev/null 2>&1") != 0)
        GTEST_SKIP()
            << "Xvfb (xvfb-run, xauth) or xdotool is not installed: the X11 lock reader is not tested";
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    // On xcb Qt loads the system's D-Bus library, which keeps a buffer to the end: leaks are
    // checked in the offscreen runs.
    const std::string command = "xvfb-run -a env QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0 '" + self +
                                "' --gtest_also_run_disabled_tests "
                                "--gtest_filter=MainFrameBars.DISABLED_CapsLockOfTheXServerShowsInItsPane";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}
