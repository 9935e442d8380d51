// CFrameWnd: a main window on QMainWindow with a menu bar built from a menu resource, accelerators,
// a status bar and toolbars, and one window in its client area (the view). Commands from its menu,
// accelerators and bars are routed to the active view first, then to the frame's own handlers, then
// to the application. Menu items are updated as their popups open; toolbar buttons and status
// panes when idle.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Menu.h"
#include "platform/ui/Wnd.h"

class CStatusBar;
class CToolBar;

class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the (hidden) main window with the title.
    BOOL Create(std::string_view title);
    // Creates it with resource nIDResource: the menu and accelerator table of that id (where they
    // exist) and the title, the first line of string nIDResource.
    BOOL LoadFrame(UINT nIDResource);

    BOOL SetMenu(CMenu&& menu);
    CMenu* GetMenu() { return m_menu.IsMenu() ? &m_menu : nullptr; }
    // Shows the menu's current structure (after items or popups were added, removed or replaced).
    void DrawMenuBar();
    // Replaces the accelerators with table nIDResource; FALSE when it has none.
    BOOL LoadAccelTable(UINT nIDResource);
    // One more accelerator: a virtual key with modifiers (kAccelShift, kAccelControl, kAccelAlt).
    void AddAccelerator(UINT vk, unsigned char modifiers, UINT command);

    // The window shown in the client area; the frame does not own it.
    void SetCentralWindow(CWnd* pWnd);
    CWnd* GetActiveView() const { return m_pActiveView; }
    void SetActiveView(CWnd* pView) { m_pActiveView = pView; }

    // The idle text of the status bar's message pane (the tools' prompts). While a command's
    // prompt is shown it waits, and shows when the prompt ends.
    void SetMessageText(std::string_view text);
    // The prompt of command nID (the text before "\n" of its string).
    void SetMessageText(UINT nID);
    // The prompt of the command: the text before "\n" of its string ("" for 0 or no string).
    virtual void GetMessageString(UINT nID, std::string& rMessage) const;
    // While a menu item is highlighted or a toolbar button is under the pointer, the message pane
    // shows that command's prompt (nothing for a sub-menu's item, 0); ending shows the idle text.
    void ShowCommandPrompt(UINT nID);
    void EndCommandPrompt();
    CStatusBar* GetStatusBar() const { return m_pStatusBar; }
    const std::vector<CToolBar*>& GetToolBars() const { return m_toolBars; }

    // Control bars (the toolbars), docked at the top in rows.
    // Shows or hides the bar; the class library's delay flag is accepted, the change is immediate.
    void ShowControlBar(CWnd* pBar, BOOL bShow, BOOL bDelay);
    // Docks the bar at the top in a row of its own below the rows there.
    void DockControlBar(CWnd* pBar);
    // Docks the bar in the row of pLeftOf, just right of it.
    void DockControlBarLeftOf(CWnd* pBar, CWnd* pLeftOf);
    // The layout of the bars (rows, order, shown or hidden, floating) tagged with a version.
    std::vector<BYTE> GetBarState(int version) const;
    // Restores a layout of GetBarState. A layout of another version, or damaged bytes, leave the
    // layout as it was (FALSE); never a part of it.
    BOOL SetBarState(const std::vector<BYTE>& state, int version);
    // The layout as the binary profile value "State" of the section, and back.
    void SaveBarState(std::string_view section, int version) const;
    BOOL LoadBarState(std::string_view section, int version);

    // The idle update of the status panes and toolbar buttons.
    virtual void OnIdleUpdateCmdUI();
    // Default: destroys the window (and ends the program when it is the application's main window).
    virtual void OnClose();
    // Whether local files may be dropped on the window (off until asked for).
    void DragAcceptFiles(BOOL bAccept = TRUE);
    // The local files of a drop, in the order given, once the drop has finished (never inside the
    // drag's own event, so the handler may show message boxes).
    virtual void OnDropFiles(const std::vector<std::string>& paths) {}
    void DestroyWindow() override;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Runs the update handlers of the popup's items when m_bAutoMenuEnable.
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) override;

    // Items without a handler are disabled.
    BOOL m_bAutoMenuEnable = TRUE;

    // Idle update of every frame (used by the application's idle processing).
    static void IdleUpdateAllFrames();
    // The frame whose accelerators apply to a key pressed in `widget`'s window, or nullptr.
    static CFrameWnd* FromWindowWidget(const QWidget* widget);
    // The frame whose window holds `widget` (a menu's owner, a toolbar's button), or nullptr.
    static CFrameWnd* PromptFrameOf(const QWidget* widget);

    // Used by CStatusBar and CToolBar when they are created on this frame.
    void AddStatusBar(CStatusBar* bar);
    void AddToolBar(CToolBar* bar);
    void RemoveBar(CWnd* bar);
    // The command of an accelerator for a virtual key and modifiers (kAccel*), 0 when none.
    UINT FindAccelerator(UINT vk, unsigned char modifiers) const;

private:
    CMenu m_menu;
    std::string m_idleMessage;
    BOOL m_showingPrompt = FALSE;
    CWnd* m_pActiveView = nullptr;
    CStatusBar* m_pStatusBar = nullptr;
    std::vector<CToolBar*> m_toolBars;
    struct Accel {
        UINT key;
        unsigned char modifiers;
        UINT command;
    };
    std::vector<Accel> m_accelerators;
};
