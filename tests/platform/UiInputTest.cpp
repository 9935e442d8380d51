// Mouse, wheel and key events of a real widget translated into the window's message handlers.
#include <gtest/gtest.h>

#include <QWidget>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWindow>

#include "platform/Exceptions.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/KeyLocks.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/Wnd.h"
#include "resources/ResourceIds.h"
#include "tests/support/TestSupport.h"

// Qt's own entry for mouse input from the window system (what QtTest uses); the events then take
// the path real input takes, double-click detection included.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

namespace {

class Recorder : public CWnd {
public:
    std::vector<std::string> log;
    std::function<void()> onLButtonDown;

    void Add(const char* what, UINT flags, CPoint p) {
        log.push_back(std::string(what) + " " + std::to_string(flags) + " " + std::to_string(p.x) + "," +
                      std::to_string(p.y));
    }
    void OnLButtonDown(UINT f, CPoint p) override {
        Add("LDown", f, p);
        if (onLButtonDown) onLButtonDown();
    }
    void OnLButtonUp(UINT f, CPoint p) override { Add("LUp", f, p); }
    void OnLButtonDblClk(UINT f, CPoint p) override { Add("LDbl", f, p); }
    void OnRButtonDown(UINT f, CPoint p) override { Add("RDown", f, p); }
    void OnMouseMove(UINT f, CPoint p) override { Add("Move", f, p); }
    BOOL OnMouseWheel(UINT f, short delta, CPoint) override {
        log.push_back("Wheel " + std::to_string(f) + " " + std::to_string(delta));
        return TRUE;
    }
    void OnKeyDown(UINT vk, UINT rep, UINT flags) override {
        log.push_back("Key " + std::to_string(vk) + " " + std::to_string(flags));
    }
    BOOL OnSetCursor(CWnd*, UINT hit, UINT message) override {
        ++setCursorCalls;
        lastHit = hit;
        lastMessage = message;
        return FALSE;
    }
    int setCursorCalls = 0;
    UINT lastHit = 0, lastMessage = 0;
};

void Mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint p,
           Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons, mods);
    QApplication::sendEvent(w, &e);
}

void Wheel(QWidget* w, int dy, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWheelEvent e(QPointF(5, 5), QPointF(w->mapToGlobal(QPoint(5, 5))), QPoint(), QPoint(0, dy), Qt::NoButton,
                  mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

struct Window {
    Recorder wnd;
    Window() {
        wnd.Create(nullptr, 1);
        wnd.GetWidget()->resize(200, 100);
    }
    QWidget* w() { return wnd.GetWidget(); }
};

}  // namespace

TEST(UiInput, ButtonFlagsAndDoubleClickInWindowsOrder) {
    Window win;
    QWidget* w = win.w();
    Mouse(w, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {10, 20}, Qt::ShiftModifier);
    Mouse(w, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {12, 22}, Qt::ControlModifier);
    Mouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {12, 22});
    Mouse(w, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, {12, 22});
    Mouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {12, 22});
    Mouse(w, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {3, 4}, Qt::ControlModifier);
    const std::vector<std::string> expected = {"LDown 5 10,20", "Move 9 12,22", "LUp 0 12,22",
                                               "LDbl 1 12,22",  "LUp 0 12,22",  "RDown 10 3,4"};
    EXPECT_EQ(win.wnd.log, expected);
    EXPECT_EQ(win.wnd.lastHit, HTCLIENT);
    EXPECT_EQ(win.wnd.lastMessage, WM_RBUTTONDOWN);

    // Without double clicks (no CS_DBLCLKS) the second press is a press.
    win.wnd.log.clear();
    win.wnd.SetDoubleClicks(false);
    Mouse(w, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, {1, 1});
    EXPECT_EQ(win.wnd.log, std::vector<std::string>{"LDown 1 1,1"});
}

TEST(UiInput, RealInputDoubleClickArrivesInWindowsOrder) {
    Window win;
    QWidget* w = win.w();
    w->show();
    QApplication::processEvents();
    QWindow* window = w->windowHandle();
    ASSERT_NE(window, nullptr);
    int time = 100000;
    auto send = [&](QEvent::Type type, Qt::MouseButtons state) {
        qt_handleMouseEvent(window, QPointF(7, 8), QPointF(w->mapToGlobal(QPoint(7, 8))), state,
                            Qt::LeftButton, type, Qt::NoModifier, time += 10);
        QApplication::processEvents();
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    std::vector<std::string> buttons;
    for (const std::string& entry : win.wnd.log)
        if (entry.rfind("Move", 0) != 0) buttons.push_back(entry);
    EXPECT_EQ(buttons, (std::vector<std::string>{"LDown 1 7,8", "LUp 0 7,8", "LDbl 1 7,8", "LUp 0 7,8"}));
}

TEST(UiInput, AModalLoopInsideAPressSwallowsTheRelease) {
    MessageBoxRecorder boxes;
    DialogRunner runner;
    Window win;
    QWidget* w = win.w();
    bool openDialog = true;
    win.wnd.onLButtonDown = [&] {
        if (openDialog) CDialog(237).DoModal();
    };
    Mouse(w, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {1, 1});
    Mouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {1, 1});
    openDialog = false;
    Mouse(w, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {2, 2});
    Mouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {2, 2});
    EXPECT_EQ(win.wnd.log, (std::vector<std::string>{"LDown 1 1,1", "LDown 1 2,2", "LUp 0 2,2"}));
    EXPECT_TRUE(runner.Opened(237));
}

TEST(UiInput, WheelDeltasComeInWholeNotches) {
    Window win;
    Wheel(win.w(), 120);
    Wheel(win.w(), -240, Qt::ControlModifier);
    Wheel(win.w(), 60);  // half a notch of a fine wheel: held back
    Wheel(win.w(), 60);
    EXPECT_EQ(win.wnd.log, (std::vector<std::string>{"Wheel 0 120", "Wheel 8 -240", "Wheel 0 120"}));
}

TEST(UiInput, ScrollKeysBecomeVirtualKeys) {
    Window win;
    for (int key : {Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End, Qt::Key_Left, Qt::Key_Right,
                    Qt::Key_Up, Qt::Key_Down}) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(win.w(), &e);
    }
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(win.w(), &repeat);
    EXPECT_EQ(win.wnd.log,
              (std::vector<std::string>{"Key 33 0", "Key 34 0", "Key 36 0", "Key 35 0", "Key 37 0",
                                        "Key 39 0", "Key 38 0", "Key 40 0", "Key 40 16384"}));
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_A, false), static_cast<UINT>('A'));
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_5, true), 0x65u);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Plus, true), 0x6Bu);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Escape, false), static_cast<UINT>(VK_ESCAPE));
}

TEST(UiInput, HandlerExceptionsAndTimersAreCaught) {
    MessageBoxRecorder boxes;
    struct Throwing : Recorder {
        void OnMouseMove(UINT, CPoint) override { AfxThrowArchiveException(CArchiveException::badIndex); }
        void OnTimer(UINT_PTR id) override {
            ++ticks;
            KillTimer(id);
            AfxThrowNotSupportedException();
        }
        int ticks = 0;
    } wnd;
    wnd.Create(nullptr, 1);
    Mouse(wnd.GetWidget(), QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {1, 1});
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_EQ(boxes.Messages()[0].text, CArchiveException(CArchiveException::badIndex).GetErrorMessage());
    wnd.SetTimer(5, 0);
    for (int i = 0; i < 50 && wnd.ticks == 0; ++i)
        QApplication::processEvents();
    EXPECT_EQ(wnd.ticks, 1);
    EXPECT_TRUE(boxes.Saw(IDS_EXCEPTION_NOT_SUPPORTED));
}

TEST(UiInput, CursorsFollowTheWindowUnderTheMouse) {
    Window win;
    Mouse(win.w(), QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {1, 1});
    EXPECT_GE(win.wnd.setCursorCalls, 1);
    EXPECT_EQ(win.w()->cursor().shape(), Qt::ArrowCursor);  // the class cursor
    HCURSOR cross = AfxLoadStandardCursor(IDC_CROSS);
    EXPECT_EQ(cross, AfxLoadStandardCursor(IDC_CROSS));
    SetCursor(cross);
    EXPECT_EQ(win.w()->cursor().shape(), Qt::CrossCursor);
    win.wnd.SetClassCursor(AfxLoadStandardCursor(IDC_SIZEALL));
    Mouse(win.w(), QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {2, 2});
    EXPECT_EQ(win.w()->cursor().shape(), Qt::SizeAllCursor);
    EXPECT_EQ(AfxLoadCursor(999999), nullptr);
    {
        CWaitCursor wait;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(UiInput, DialogItemIntegersReadAsWindowsDoes) {
    Window win;
    CEdit edit;
    edit.Create(0, &win.wnd, 1000);
    BOOL ok = FALSE;
    win.wnd.SetDlgItemText(1000, " -42 ");
    EXPECT_EQ(win.wnd.GetDlgItemInt(1000, &ok), -42);
    EXPECT_TRUE(ok);
    win.wnd.GetDlgItemInt(1000, &ok, FALSE);
    EXPECT_FALSE(ok);
    win.wnd.SetDlgItemText(1000, "12a");
    EXPECT_EQ(win.wnd.GetDlgItemInt(1000, &ok), 0);
    EXPECT_FALSE(ok);
    win.wnd.SetDlgItemText(1000, "99999999999");
    win.wnd.GetDlgItemInt(1000, &ok);
    EXPECT_FALSE(ok);
}

TEST(UiInput, LockStatesAreUnknownOffX11AndComeFromAnInstalledSource) {
    ResetProgramState();
    ASSERT_NE(QGuiApplication::platformName(), "xcb");
    for (KeyLock lock : {KeyLock::Caps, KeyLock::Num, KeyLock::Scroll, KeyLock::Kana})
        EXPECT_EQ(AfxGetKeyLockState(lock), KeyLockState::Unknown);
    const CProgramSlot<KeyLockSource>::Override source(AfxKeyLockSourceSlot(), [](KeyLock lock) {
        return lock == KeyLock::Num ? KeyLockState::On : KeyLockState::Off;
    });
    EXPECT_EQ(AfxGetKeyLockState(KeyLock::Num), KeyLockState::On);
    EXPECT_EQ(AfxGetKeyLockState(KeyLock::Kana), KeyLockState::Off);
}
