// The harness of the tool tests: the 53 registered tools, a drawing view in a real (offscreen)
// window with a status bar for the prompts, and real mouse input at drawing points. A tool test
// chooses its tool by its command, drives it with a few presses, moves and releases, and asserts
// on the drawing's native text, the undo history and the screen.
//
//   ToolHarness h;
//   h.Choose(ID_TOOL_LINE);
//   h.ExpectOneUndoStep([&] { h.Drag({1000, 1000}, {5000, 3000}); });
//   EXPECT_THAT(h.NativeText(), HasSubstr("LINE"));
//   EXPECT_TRUE(h.NoXorResidue());
#pragma once

#include <QCoreApplication>
#include <QFocusEvent>
#include <QWidget>

#include <functional>
#include <sstream>
#include <string>
#include <utility>

#include "document/ToolSettings.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/WinApp.h"
#include "resources/ResourceIds.h"
#include "tests/support/TestSupport.h"
#include "tests/view/ViewTestSupport.h"
#include "tools/DrawToolArray.h"
#include "tools/PickList.h"
#include "tools/input/UserLineWidthDialog.h"

namespace tooltest {

using viewtest::DifferentPixels;

// The program the tools live in: program-wide state at its start values, every registered tool,
// and a main frame whose status bar shows the prompts. Built before the view, gone after it.
struct ToolProgram {
    ToolProgram() {
        ::ResetProgramState();
        ResetToolSettings();
        ResetUserLineWidth();
        CreateDrawTools();
        frame.Create("tools");
        static const UINT panes[] = {ID_SEPARATOR};
        bar.Create(&frame);
        bar.SetIndicators(panes, 1);
        app.m_pMainWnd = &frame;
    }
    ~ToolProgram() {
        app.m_pMainWnd = nullptr;
        GetDrawToolArray().RemoveAll();
    }
    CWinApp app;
    CFrameWnd frame;
    CStatusBar bar;
};

class ToolHarness : public ToolProgram, public viewtest::ViewHarness {
public:
    explicit ToolHarness(int width = 800, int height = 600, int layers = 1)
        : ViewHarness(width, height, layers) {
        // No snapping unless a test asks for it: points land where they are given.
        GetOptionRecord().m_snap = 0;
    }

    // ----- tools --------------------------------------------------------------------------------
    // Chooses the tool of the command as the user does (its menu command); the current tool.
    MDrawTool* Choose(UINT command) {
        view->SendCommand(command);
        return Tool();
    }
    // Puts the tool in the registry row of the command (taking that row's key and flags) and
    // chooses it.
    template <class T>
    T* Use(T* tool, UINT command) {
        for (const MToolRegistration& row : GetToolRegistry())
            if (row.commandId == command) tool->SetCommandInfo(command, row.autoLayer, row.key);
        // The view must not hold the tool that goes.
        if (view->GetTool() && view->GetTool()->GetCommandId() == command)
            Choose(command == ID_TOOL_ZOOM ? ID_TOOL_LINE : ID_TOOL_ZOOM);
        GetDrawToolArray().Replace(tool);
        Choose(command);
        return tool;
    }
    MDrawTool* Tool() const { return dynamic_cast<MDrawTool*>(view->GetTool()); }

    // ----- points -------------------------------------------------------------------------------
    CPoint ToClient(const MFloatPoint& p) {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        return view->DocToDevice(dc.get(), p);
    }
    MFloatPoint ToDrawing(CPoint client) {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        return view->DeviceToDoc(dc.get(), client);
    }

    // ----- the mouse at drawing points (keys: MK_SHIFT, MK_CONTROL) -----------------------------
    void Press(const MFloatPoint& p, UINT keys = 0) { PressAt(ToClient(p), keys); }
    void MoveTo(const MFloatPoint& p, UINT keys = 0) { MoveToClient(ToClient(p), keys); }
    void Release(const MFloatPoint& p, UINT keys = 0) { ReleaseAt(ToClient(p), keys); }
    void Click(const MFloatPoint& p, UINT keys = 0) {
        Press(p, keys);
        Release(p, keys);
    }
    // Press, moves in steps (beyond the dead zone), release.
    void Drag(const MFloatPoint& from, const MFloatPoint& to, UINT keys = 0, int steps = 4) {
        const CPoint a = ToClient(from), b = ToClient(to);
        PressAt(a, keys);
        for (int i = 1; i <= steps; ++i)
            MoveToClient(CPoint(a.x + (b.x - a.x) * i / steps, a.y + (b.y - a.y) * i / steps), keys);
        ReleaseAt(b, keys);
    }
    void DoubleClickAt(const MFloatPoint& p, UINT keys = 0) { DoubleClick(ToClient(p), Mods(keys)); }
    void RightClick(const MFloatPoint& p, UINT keys = 0) {
        const CPoint c = ToClient(p);
        MouseAt(QEvent::MouseButtonPress, c, Qt::RightButton, Qt::RightButton, Mods(keys));
        MouseAt(QEvent::MouseButtonRelease, c, Qt::RightButton, Qt::NoButton, Mods(keys));
    }
    // The same at client pixels.
    void PressAt(CPoint c, UINT keys = 0) {
        m_buttons = Qt::LeftButton;
        MouseAt(QEvent::MouseButtonPress, c, Qt::LeftButton, m_buttons, Mods(keys));
    }
    void MoveToClient(CPoint c, UINT keys = 0) {
        MouseAt(QEvent::MouseMove, c, Qt::NoButton, m_buttons, Mods(keys));
    }
    void ReleaseAt(CPoint c, UINT keys = 0) {
        m_buttons = Qt::NoButton;
        MouseAt(QEvent::MouseButtonRelease, c, Qt::LeftButton, m_buttons, Mods(keys));
    }

    // ----- what the user sees and keeps ---------------------------------------------------------
    // The drawing as its native file holds it.
    std::string NativeText() {
        std::ostringstream os;
        doc.WriteText(os);
        return os.str();
    }
    int UndoSteps() { return doc.GetUndoStack().GetCount(); }
    int RedoSteps() { return doc.GetRedoStack().GetCount(); }
    // The action adds exactly one undo step; undo gives the text before it byte for byte, redo the
    // text after it.
    void ExpectOneUndoStep(const std::function<void()>& action) {
        const std::string before = NativeText();
        const int steps = UndoSteps();
        action();
        const std::string after = NativeText();
        EXPECT_EQ(UndoSteps(), steps + 1) << "one new undo step";
        EXPECT_NE(after, before) << "the action changed the drawing";
        view->SendCommand(ID_EDIT_UNDO);
        EXPECT_EQ(NativeText(), before) << "undo gives the drawing before the action";
        view->SendCommand(ID_EDIT_REDO);
        EXPECT_EQ(NativeText(), after) << "redo gives the drawing after the action";
    }
    // The screen equals a fresh repaint: no XOR figure was left behind or erased twice.
    ::testing::AssertionResult NoXorResidue() {
        view->UpdateWindow();
        const QImage shown = Surface();
        const int differ = DifferentPixels(shown, Repaint());
        if (differ == 0) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << differ << " pixels differ from a repaint";
    }
    // After End the screen is the plain rendering of the drawing.
    ::testing::AssertionResult EndLeavesNoResidue() {
        Tool()->End(view.get(), FALSE);
        view->UpdateWindow();
        const int differ = DifferentPixels(Surface(), RenderReference());
        if (differ == 0) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << differ << " pixels differ from the drawing's rendering";
    }
    std::string Prompt() { return bar.GetPaneText(0); }
    // What the menu item of a command shows, as its update handler decides: enabled and the check
    // state (-1 when the handler does not set one).
    std::pair<bool, int> ItemState(UINT command) { return CommandItemState(view.get(), command); }

    // Scripts for the dialogs and popup menus that open meanwhile (unscripted ones are cancelled).
    DialogRunner dialogs;

private:
    static Qt::KeyboardModifiers Mods(UINT keys) {
        Qt::KeyboardModifiers mods = Qt::NoModifier;
        if (keys & MK_SHIFT) mods |= Qt::ShiftModifier;
        if (keys & MK_CONTROL) mods |= Qt::ControlModifier;
        return mods;
    }
    Qt::MouseButtons m_buttons = Qt::NoButton;
};

// A dialog step: the edit gets the keyboard focus, as when the user clicks into it or tabs to it.
inline DialogScript::Step FocusEdit(int edit) {
    return [edit](CDialog& dialog) {
        QFocusEvent event(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(dialog.GetDlgItem(edit)->GetWidget(), &event);
    };
}

}  // namespace tooltest
