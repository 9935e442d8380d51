// Command routing, update handlers, menus and accelerators, idle updates, and exceptions caught at
// the entry points.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <functional>
#include <stdexcept>

#include "platform/Exceptions.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Idle.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/ToolBar.h"
#include "platform/ui/WinApp.h"
#include "resources/ResourceFormats.h"
#include "resources/ResourceIds.h"
#include "tests/support/TestSupport.h"

namespace {

using Log = std::vector<std::string>;

struct Target : CCmdTarget {
    Target(Log& log, std::string name) : m_log(log), m_name(std::move(name)) {}
    void Handle(UINT id) {
        Commands().OnCommand(id, [this, id] { m_log.push_back(m_name + ":" + std::to_string(id)); });
    }
    Log& m_log;
    std::string m_name;
};

// The drawing view's order: its own tool-switching commands, then the current tool, then the view's
// other handlers, then the document.
class DummyView : public CWnd {
public:
    DummyView(Log& log) : first(log, "view-first"), tool(log, "tool"), doc(log, "doc"), m_log(log) {}
    void Handle(UINT id) {
        Commands().OnCommand(id, [this, id] { m_log.push_back("view:" + std::to_string(id)); });
    }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
        return RouteCmdMsg({&first, currentTool}, nID, nCode, pExtra, pInfo) ||
               CWnd::OnCmdMsg(nID, nCode, pExtra, pInfo) || doc.OnCmdMsg(nID, nCode, pExtra, pInfo);
    }
    Target first, tool, doc;
    CCmdTarget* currentTool = &tool;
    Log& m_log;
};

class TestApp : public CWinApp {
public:
    explicit TestApp(Log& log) : m_log(log) {}
    void Handle(UINT id) {
        Commands().OnCommand(id, [this, id] { m_log.push_back("app:" + std::to_string(id)); });
    }
    Log& m_log;
};

class TestFrame : public CFrameWnd {
public:
    explicit TestFrame(Log& log) : m_log(log) { Create("test"); }
    void Handle(UINT id) {
        Commands().OnCommand(id, [this, id] { m_log.push_back("frame:" + std::to_string(id)); });
    }
    Log& m_log;
};

struct Chain {
    Log log;
    TestApp app{log};
    TestFrame frame{log};
    DummyView view{log};
    Chain() {
        view.Create(&frame, 0xE900);
        frame.SetCentralWindow(&view);
        frame.SetActiveView(&view);
    }
};

std::string Last(const Log& log) {
    return log.empty() ? std::string() : log.back();
}

}  // namespace

TEST(UiCommands, RoutingVisitsViewFirstThenToolViewDocumentFrameApplication) {
    Chain c;
    // id 100 + k is handled by the targets from position k of the chain on.
    std::vector<std::function<void(UINT)>> chain = {
        [&](UINT id) { c.view.first.Handle(id); }, [&](UINT id) { c.view.tool.Handle(id); },
        [&](UINT id) { c.view.Handle(id); },       [&](UINT id) { c.view.doc.Handle(id); },
        [&](UINT id) { c.frame.Handle(id); },      [&](UINT id) { c.app.Handle(id); }};
    for (UINT k = 0; k < chain.size(); ++k)
        for (UINT j = k; j < chain.size(); ++j)
            chain[j](100 + k);
    const char* expected[] = {"view-first", "tool", "view", "doc", "frame", "app"};
    for (UINT k = 0; k < chain.size(); ++k) {
        c.frame.SendCommand(100 + k);
        EXPECT_EQ(Last(c.log), std::string(expected[k]) + ":" + std::to_string(100 + k));
    }
    // Without a current tool the view's own handler is next.
    c.view.currentTool = nullptr;
    c.frame.SendCommand(101);
    EXPECT_EQ(Last(c.log), "view:101");
    // Nobody handles 199: nothing runs and the command is disabled.
    const std::size_t before = c.log.size();
    c.frame.SendCommand(199);
    EXPECT_EQ(c.log.size(), before);
    EXPECT_FALSE(AfxIsCommandEnabled(&c.frame, 199));
}

TEST(UiCommands, RangesDerivedOverridesContinueRoutingAndCommandEx) {
    Log log;
    Target base(log, "t");
    base.Commands().OnCommandRange(200, 215, [&](UINT id) { log.push_back("range:" + std::to_string(id)); });
    base.Handle(205);  // registered later: wins over the range, as a derived class's entry does
    EXPECT_TRUE(base.OnCmdMsg(203, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(Last(log), "range:203");
    base.OnCmdMsg(205, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(Last(log), "t:205");
    EXPECT_FALSE(base.OnCmdMsg(216, CN_COMMAND, nullptr, nullptr));

    Target next(log, "next");
    next.Handle(300);
    next.Commands().OnUpdate(300, [](CCmdUI* ui) { ui->SetCheck(1); });
    base.Commands().OnCommandEx(300, 300, [&](UINT) { return FALSE; });  // declines: routing goes on
    base.Commands().OnUpdate(300, [](CCmdUI* ui) { ui->ContinueRouting(); });
    EXPECT_TRUE(RouteCmdMsg({&base, &next}, 300, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(Last(log), "next:300");
    CTestCmdUI ui;
    ui.m_nID = 300;
    EXPECT_TRUE(RouteCmdMsg({&base, &next}, 300, CN_UPDATE_COMMAND_UI, &ui, nullptr));
    EXPECT_EQ(ui.m_nCheck, 1);
}

TEST(UiCommands, UpdateHandlersEnableCheckAndRelabelMenuItemsWhenTheMenuOpens) {
    Chain c;
    c.view.tool.Handle(401);
    c.view.tool.Commands().OnUpdate(401, [](CCmdUI* ui) { ui->SetCheck(1); });
    c.view.Handle(402);
    c.view.Commands().OnUpdate(402, [](CCmdUI* ui) { ui->Enable(FALSE); });
    c.frame.Handle(403);
    c.frame.Commands().OnUpdate(403, [](CCmdUI* ui) {
        ui->SetText("改名(&R)");
        ui->SetRadio(TRUE);
    });
    CMenu menu;
    menu.CreateMenu();
    CMenu popup;
    popup.CreatePopupMenu();
    for (UINT id : {401u, 402u, 403u, 404u})
        popup.AppendMenu(MF_STRING, id, "item" + std::to_string(id));
    popup.InsertMenu(2, MF_BYPOSITION | MF_SEPARATOR);
    menu.AppendMenu("表示(&V)", std::move(popup));
    c.frame.SetMenu(std::move(menu));

    auto* window = qobject_cast<QMainWindow*>(c.frame.GetWidget());
    QMenu* qmenu = window->menuBar()->actions().at(0)->menu();
    ASSERT_NE(qmenu, nullptr);
    emit qmenu->aboutToShow();
    const QList<QAction*> actions = qmenu->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_TRUE(actions[0]->isEnabled());  // a command handler exists further down the route
    EXPECT_TRUE(actions[0]->isChecked());
    EXPECT_FALSE(actions[1]->isEnabled());
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->text().toStdString(), "改名(&R)");
    EXPECT_TRUE(actions[3]->isChecked());
    ASSERT_NE(actions[3]->actionGroup(), nullptr);  // drawn as a radio mark
    EXPECT_FALSE(actions[4]->isEnabled());          // no handler anywhere

    // Choosing an item runs the command; a disabled command does not run even if triggered.
    actions[0]->trigger();
    EXPECT_EQ(Last(c.log), "tool:401");
    const std::size_t before = c.log.size();
    c.frame.SendCommand(402);
    EXPECT_EQ(c.log.size(), before);
}

TEST(UiCommands, NotificationsOfControlsRouteAsCommands) {
    Chain c;
    int clicks = 0, returns = 0, selections = 0;
    c.view.tool.Commands().OnNotify(NM_CLICK, 1269, [&](NMHDR* nm, LRESULT* result) {
        ++clicks;
        EXPECT_EQ(nm->code, NM_CLICK);
        *result = 7;
    });
    c.view.tool.Commands().OnNotify(NM_RETURN, 33047, [&](NMHDR*, LRESULT*) { ++returns; });
    c.view.tool.Commands().OnControl(CBN_SELENDOK, 1271, [&] { ++selections; });
    NMHDR nm;
    nm.idFrom = 1269;
    nm.code = NM_CLICK;
    EXPECT_EQ(c.frame.SendNotify(nm), 7);
    nm.idFrom = 33047;
    nm.code = NM_RETURN;
    c.frame.SendNotify(nm);
    nm.code = NM_CLICK;  // not registered for this control
    c.frame.SendNotify(nm);
    c.frame.SendCommand(1271, CBN_SELENDOK, &c.view);
    c.frame.SendCommand(1271, CBN_SELCHANGE, &c.view);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(returns, 1);
    EXPECT_EQ(selections, 1);
}

TEST(UiCommands, AcceleratorsTriggerCommandsInTheFrameOnly) {
    Chain c;
    c.frame.Handle(57600);
    c.frame.Handle(57643);
    c.frame.Commands().OnUpdate(57643, [](CCmdUI* ui) { ui->Enable(FALSE); });
    c.frame.AddAccelerator('N', kAccelControl, 57600);
    c.frame.AddAccelerator('Z', kAccelControl, 57643);
    c.frame.AddAccelerator(kVkDelete, 0, 57600);

    auto press = [](QWidget* target, int key, Qt::KeyboardModifiers mods) {
        QKeyEvent e(QEvent::KeyPress, key, mods);
        QApplication::sendEvent(target, &e);
        return e.isAccepted();
    };
    press(c.view.GetWidget(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Last(c.log), "frame:57600");
    c.log.clear();
    press(c.view.GetWidget(), Qt::Key_N, Qt::NoModifier);       // other modifiers: no accelerator
    press(c.view.GetWidget(), Qt::Key_Z, Qt::ControlModifier);  // disabled by its update handler
    EXPECT_TRUE(c.log.empty());
    press(c.view.GetWidget(), Qt::Key_Delete, Qt::NoModifier);
    EXPECT_EQ(Last(c.log), "frame:57600");
    // A key in another window is not the frame's.
    c.log.clear();
    QWidget other;
    press(&other, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(c.log.empty());
}

TEST(UiCommands, IdleUpdatesToolbarButtonsAndStatusPanes) {
    Chain c;
    CStatusBar status;
    ASSERT_TRUE(status.Create(&c.frame));
    const UINT panes[] = {ID_SEPARATOR, 62646, 59137};
    status.SetIndicators(panes, 3);
    status.SetPaneText(2, "CAP");
    CToolBar bar;
    ASSERT_TRUE(bar.Create(&c.frame));
    const UINT buttons[] = {501, ID_SEPARATOR, 502, 503};
    bar.SetButtons(buttons, 4);

    bool checked = true;
    c.view.tool.Handle(501);
    c.view.tool.Commands().OnUpdate(501, [&](CCmdUI* ui) { ui->SetCheck(checked); });
    c.frame.Handle(502);
    c.view.Commands().OnUpdate(62646, [](CCmdUI* ui) { ui->SetText("(10.0000 20.0000)"); });
    c.frame.Commands().OnUpdate(59137, [](CCmdUI* ui) { ui->Enable(FALSE); });

    AfxRequestIdle();
    QApplication::processEvents();
    EXPECT_EQ(bar.GetButtonState(0), TBSTATE_ENABLED | TBSTATE_CHECKED);
    EXPECT_EQ(bar.GetButtonState(2), TBSTATE_ENABLED);
    EXPECT_EQ(bar.GetButtonState(3), 0u);  // no handler
    EXPECT_EQ(status.GetPaneText(1), "(10.0000 20.0000)");
    EXPECT_FALSE(status.IsPaneEnabled(2));
    c.frame.SetMessageText("準備完了");
    EXPECT_EQ(status.GetPaneText(0), "準備完了");

    checked = false;
    AfxRunIdleNow();
    EXPECT_EQ(bar.GetButtonState(0), TBSTATE_ENABLED);
    bar.ClickButton(2);
    EXPECT_EQ(Last(c.log), "frame:502");
}

TEST(UiCommands, PointingAtAnItemOrAButtonShowsItsPromptAndLeavingShowsTheIdleTextAgain) {
    Chain c;
    CStatusBar status;
    ASSERT_TRUE(status.Create(&c.frame));
    const UINT panes[] = {ID_SEPARATOR};
    status.SetIndicators(panes, 1);
    CToolBar bar;
    ASSERT_TRUE(bar.Create(&c.frame));
    const UINT buttons[] = {ID_FILE_OPEN, ID_SEPARATOR, ID_EDIT_UNDO};
    bar.SetButtons(buttons, 3);
    CMenu menu, popup, sub;
    menu.CreateMenu();
    popup.CreatePopupMenu();
    sub.CreatePopupMenu();
    sub.AppendMenu(MF_STRING, ID_EDIT_REDO, "やり直し");
    popup.AppendMenu(MF_STRING, ID_FILE_OPEN, "開く");
    popup.AppendMenu("その他", std::move(sub));
    popup.AppendMenu(MF_STRING | MF_GRAYED, ID_FILE_SAVE, "上書き保存");
    menu.AppendMenu("ファイル(&F)", std::move(popup));
    c.frame.SetMenu(std::move(menu));
    c.frame.SetMessageText("[線]:始点");

    QMenu* qmenu = qobject_cast<QMainWindow*>(c.frame.GetWidget())->menuBar()->actions().at(0)->menu();
    ASSERT_NE(qmenu, nullptr);
    emit qmenu->aboutToShow();
    auto* tools = qobject_cast<QToolBar*>(bar.GetWidget());
    const auto pointAt = [tools](int index, QEvent::Type type) {
        QWidget* button = tools->widgetForAction(tools->actions().at(index));
        ASSERT_NE(button, nullptr);
        if (type == QEvent::Enter) {
            QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
            QApplication::sendEvent(button, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(button, &leave);
        }
    };
    const auto pointAtItem = [qmenu](int index) {
        if (!qmenu->isVisible()) {
            qmenu->popup(QPoint(10, 10));
            QApplication::processEvents();
        }
        QAction* item = qmenu->actions().at(index);
        ASSERT_FALSE(item->isEnabled());
        const QPointF at = qmenu->actionGeometry(item).center();
        QMouseEvent move(QEvent::MouseMove, at, qmenu->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(qmenu, &move);
    };
    const struct {
        const char* what;
        std::function<void()> act;
        std::string pane;
    } steps[] = {
        {"item", [&] { qmenu->actions().at(0)->hover(); }, "既存のﾌｧｲﾙを開く"},
        // The menu reports no highlighting of a disabled item: the previous prompt stayed.
        {"disabled item", [&] { pointAtItem(2); }, "作業中のﾌｧｲﾙを上書きして保存"},
        {"back on an item", [&] { qmenu->actions().at(0)->hover(); }, "既存のﾌｧｲﾙを開く"},
        {"disabled item again", [&] { pointAtItem(2); }, "作業中のﾌｧｲﾙを上書きして保存"},
        {"sub-menu", [&] { qmenu->actions().at(1)->hover(); }, ""},
        {"a tool's new prompt waits", [&] { c.frame.SetMessageText("[円]:中心"); }, ""},
        {"menu closed", [&] { emit qmenu->aboutToHide(); }, "[円]:中心"},
        {"button", [&] { pointAt(2, QEvent::Enter); }, "直前の操作を元に戻します"},
        {"button left", [&] { pointAt(2, QEvent::Leave); }, "[円]:中心"},
        {"left again", [&] { pointAt(0, QEvent::Leave); }, "[円]:中心"},
    };
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(status.GetPaneText(0), step.pane) << step.what;
    }
    qmenu->hide();
    EXPECT_EQ(bar.GetButtonTip(2), "元に戻す");
}

TEST(UiCommands, ExceptionsInHandlersAreReportedAndCaught) {
    MessageBoxRecorder boxes;
    Chain c;
    c.frame.Commands().OnCommand(600, [] { AfxThrowMemoryException(); });
    c.frame.Commands().OnCommand(601,
                                 [] { AfxThrowFileException(CFileException::fileNotFound, 2, "a.qfd"); });
    c.frame.Commands().OnCommand(602, [] { AfxThrowUserException(); });
    c.frame.Commands().OnCommand(603, [] { throw std::runtime_error("x"); });
    c.frame.Commands().OnUpdate(604, [](CCmdUI*) { AfxThrowInvalidArgException(); });

    c.frame.SendCommand(600);
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_TRUE(boxes.Saw(IDS_EXCEPTION_MEMORY));
    c.frame.SendCommand(601);
    ASSERT_EQ(boxes.Messages().size(), 2u);
    EXPECT_EQ(boxes.Messages()[1].text,
              CFileException(CFileException::fileNotFound, 2, "a.qfd").GetErrorMessage());
    c.frame.SendCommand(602);  // the user has been told already
    EXPECT_EQ(boxes.Messages().size(), 2u);
    c.frame.SendCommand(603);
    EXPECT_TRUE(boxes.Saw(IDS_EXCEPTION_INTERNAL));

    // An update handler that throws during the menu's update pass.
    CMenu menu, popup;
    menu.CreateMenu();
    popup.CreatePopupMenu();
    popup.AppendMenu(MF_STRING, 604, "x");
    menu.AppendMenu("x", std::move(popup));
    c.frame.SetMenu(std::move(menu));
    QMenu* qmenu = qobject_cast<QMainWindow*>(c.frame.GetWidget())->menuBar()->actions().at(0)->menu();
    emit qmenu->aboutToShow();
    EXPECT_TRUE(boxes.Saw(IDS_EXCEPTION_INVALID_ARG));
}

TEST(UiCommands, PopupMenusRunUpdateHandlersAndPostTheChosenCommand) {
    Chain c;
    c.view.tool.Handle(701);
    c.frame.Handle(702);
    c.frame.Commands().OnUpdate(702, [](CCmdUI* ui) { ui->SetCheck(1); });
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, 701, "決定");
    menu.AppendMenu(MF_SEPARATOR);
    CMenu snap;
    snap.CreatePopupMenu();
    snap.AppendMenu(MF_STRING, 702, "グリッド");
    snap.AppendMenu(MF_STRING, 703, "端点");
    menu.AppendMenu("スナップ(&S)", std::move(snap));

    DialogRunner runner;
    runner.ScriptPopupMenu(702);
    runner.ScriptPopupMenu(703);  // disabled: nothing is chosen
    runner.ScriptPopupMenu(701);
    EXPECT_TRUE(menu.TrackPopupMenu(TPM_LEFTALIGN, 10, 10, &c.frame));
    EXPECT_TRUE(c.log.empty());  // posted: runs after the caller's own work
    QApplication::processEvents();
    EXPECT_EQ(Last(c.log), "frame:702");
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &c.frame), 0);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &c.frame), 701);

    ASSERT_EQ(runner.Popups().size(), 3u);
    const auto& items = runner.Popups()[0].items;
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[3].id, 702u);
    EXPECT_EQ(items[3].depth, 1);
    EXPECT_TRUE(items[3].flags & MF_CHECKED);
    EXPECT_TRUE(items[4].flags & MF_GRAYED);
    EXPECT_FALSE(items[0].flags & MF_GRAYED);
}

TEST(UiCommands, MenusLoadFromResourcesAndChangeLikeWindowsMenus) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(128));
    ASSERT_GE(menu.GetMenuItemCount(), 1u);
    CMenu* file = menu.GetSubMenu(0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(menu.GetMenuString(0, MF_BYPOSITION), "ファイル(&F)");
    EXPECT_EQ(menu.GetMenuState(ID_APP_EXIT, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_FALSE(menu.LoadMenu(1));

    CMenu m;
    m.CreatePopupMenu();
    m.AppendMenu(MF_STRING, 10, "a");
    m.AppendMenu(MF_STRING, 30, "c");
    EXPECT_TRUE(m.InsertMenu(30, MF_BYCOMMAND, 20, "b"));  // before command 30
    EXPECT_EQ(m.GetMenuItemID(1), 20u);
    EXPECT_EQ(m.CheckMenuItem(20, MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(m.CheckMenuItem(20, MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(m.CheckMenuItem(99, MF_CHECKED), static_cast<UINT>(-1));
    CMenu sub;
    sub.CreatePopupMenu();
    sub.AppendMenu(MF_STRING, 41, "d");
    EXPECT_TRUE(m.InsertMenu(10, MF_BYCOMMAND, "sub", std::move(sub)));
    EXPECT_EQ(m.GetMenuItemID(0), static_cast<UINT>(-1));
    EXPECT_EQ(m.GetMenuState(41, MF_BYCOMMAND), MF_STRING);  // found inside the popup
    EXPECT_TRUE(m.DeleteMenu(41, MF_BYCOMMAND));
    // Taking a popup out of a loaded menu keeps it alive, as the tools' context menus do.
    const UINT popups = menu.GetMenuItemCount();
    std::unique_ptr<CMenu> taken = menu.RemoveSubMenu(0);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->GetMenuItemID(static_cast<int>(taken->GetMenuItemCount()) - 1),
              static_cast<UINT>(ID_APP_EXIT));
    EXPECT_EQ(menu.GetMenuItemCount(), popups - 1);
}

TEST(UiCommands, ContextMenusByResourceReachTheApplication) {
    DialogRunner runner;
    runner.ScriptPopupMenu(ID_APP_EXIT);
    runner.ScriptPopupMenu(ID_APP_EXIT);
    {
        Log log;
        TestFrame frame(log);  // no application object: nobody handles the command
        EXPECT_EQ(CMenu::TrackPopupMenuResource(128, 0, TPM_RETURNCMD, 0, 0, &frame), 0);
    }
    Chain c;  // the application object handles ID_APP_EXIT
    EXPECT_EQ(CMenu::TrackPopupMenuResource(128, 0, TPM_RETURNCMD, 0, 0, &c.frame),
              static_cast<int>(ID_APP_EXIT));
    EXPECT_EQ(CMenu::TrackPopupMenuResource(128, 5, TPM_RETURNCMD, 0, 0, &c.frame), FALSE);
}

TEST(UiCommands, ExitClosesTheMainWindowThroughItsCloseHandler) {
    Log log;
    TestApp app(log);
    struct Frame : TestFrame {
        using TestFrame::TestFrame;
        void OnClose() override {
            ++closes;
            if (allow) CFrameWnd::OnClose();
        }
        int closes = 0;
        bool allow = false;
    } frame(log);
    app.m_pMainWnd = &frame;
    frame.SendCommand(ID_APP_EXIT);
    EXPECT_EQ(frame.closes, 1);
    EXPECT_TRUE(frame.IsWindow());  // the handler kept it
    frame.allow = true;
    frame.GetWidget()->close();  // the close box
    EXPECT_EQ(frame.closes, 2);
    EXPECT_FALSE(frame.IsWindow());
    QApplication::processEvents();
}
