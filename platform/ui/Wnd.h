// CWnd: a window of the program standing for one Qt widget. Handlers of Windows messages are
// virtual functions; a window that translates messages (Create, or EnableMessageTranslation on a
// widget such as a scroll area's viewport) receives its widget's mouse, wheel, key and size events
// through them, with Windows' flags and ordering. Every handler runs under AfxTryCall.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/WinTypes.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/Cursor.h"

class QWidget;
class CMenu;
class CScrollBar;

using UINT_PTR = std::uintptr_t;

// ShowWindow commands.
enum : int {
    SW_HIDE = 0,
    SW_SHOWNORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_SHOWMAXIMIZED = 3,
    SW_SHOW = 5,
    SW_RESTORE = 9
};
// OnSize types.
enum : UINT { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };
// Check states.
enum : UINT { BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2 };

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    // ----- the widget ---------------------------------------------------------------------------
    QWidget* GetWidget() const;
    BOOL IsWindow() const { return GetWidget() != nullptr; }
    // The window that stands for `widget`, or nullptr.
    static CWnd* FromWidget(const QWidget* widget);
    // Creates a plain child widget of pParent (or a top-level one) whose messages reach this window.
    BOOL Create(CWnd* pParent, UINT nID);
    // Makes this window stand for `widget`; with `owns` the widget is deleted with this object.
    void Attach(QWidget* widget, bool owns);
    QWidget* Detach();
    // Sends the mouse, wheel, key, focus and size events of `source` (default: the own widget) to
    // this window's handlers. Another widget (a strip beside the window) lends only its mouse,
    // wheel and key events, with positions in this window's client coordinates.
    void EnableMessageTranslation(QWidget* source = nullptr);
    virtual void DestroyWindow();

    // ----- identity and children ----------------------------------------------------------------
    UINT GetDlgCtrlID() const;
    void SetDlgCtrlID(UINT nID);
    CWnd* GetParent() const;
    // Registers `child` as the control `nID` of this window (dialogs and bars do this).
    void RegisterDlgItem(UINT nID, CWnd* child);
    CWnd* GetDlgItem(int nID) const;
    // The control as its class, or nullptr when it is missing or of another kind.
    template <class T>
    T* GetDlgItemAs(int nID) const {
        return dynamic_cast<T*>(GetDlgItem(nID));
    }

    // ----- state --------------------------------------------------------------------------------
    virtual void SetWindowText(std::string_view text);
    virtual std::string GetWindowText() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    void SetFocus();
    static CWnd* GetFocus();
    void GetClientRect(CRect* rect) const;
    void GetWindowRect(CRect* rect) const;  // in screen coordinates
    void ClientToScreen(CPoint* point) const;
    void ScreenToClient(CPoint* point) const;
    // Asks for a repaint; windows that keep their own surface (views) record the invalid area.
    virtual void Invalidate(BOOL bErase = TRUE);
    // Repaints what is invalid now, before returning.
    virtual void UpdateWindow();
    // Places the window in its parent's client coordinates.
    void MoveWindow(const CRect& rect, BOOL bRepaint = TRUE);
    void MoveWindow(int x, int y, int width, int height, BOOL bRepaint = TRUE);
    // Brings the window above its siblings.
    void BringWindowToTop();
    // The cursor shown when OnSetCursor does not set one (the window class cursor).
    void SetClassCursor(HCURSOR cursor);
    // Double clicks arrive as OnXButtonDblClk (the window class style CS_DBLCLKS); on by default.
    void SetDoubleClicks(bool on);

    // ----- controls by id -----------------------------------------------------------------------
    void SetDlgItemText(int nID, std::string_view text);
    std::string GetDlgItemText(int nID) const;
    void SetDlgItemInt(int nID, int value, BOOL bSigned = TRUE);
    int GetDlgItemInt(int nID, BOOL* pTranslated = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nID, UINT nCheck);
    UINT IsDlgButtonChecked(int nID) const;
    // Checks nIDCheck and clears the other radio buttons nIDFirst..nIDLast.
    void CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck);
    int GetCheckedRadioButton(int nIDFirst, int nIDLast) const;
    // Runs the update handlers of this window's buttons along pTarget's route (dialog bars).
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);

    // ----- messages -----------------------------------------------------------------------------
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse);
    BOOL KillTimer(UINT_PTR nIDEvent);
    // WM_COMMAND to this window, now; pCtrl is the control that sends it (none for menus and
    // accelerators). Returns what OnCommand answered.
    BOOL SendCommand(UINT nID, int nCode = CN_COMMAND, CWnd* pCtrl = nullptr);
    // WM_COMMAND to this window after the current message.
    void PostCommand(UINT nID);
    // WM_NOTIFY to this window; returns the handler's result.
    LRESULT SendNotify(NMHDR& nm);
    // Notifies the owner (the window whose controls include this one, else the parent) with code.
    LRESULT NotifyOwner(int code);
    void SetOwner(CWnd* pOwner);
    CWnd* GetOwner() const;

    // A command from a menu or an accelerator (pCtrl null, nCode CN_COMMAND) runs only when its
    // update handlers leave it enabled.
    virtual BOOL OnCommand(UINT nID, int nCode, CWnd* pCtrl);
    virtual BOOL OnNotify(NMHDR* pNMHDR, LRESULT* pResult);
    // A WM_COMMAND notification of this control (CBN_SELENDOK, EN_CHANGE, ...), offered to the
    // control itself before its owner, as the class library reflects it. TRUE consumes it.
    virtual BOOL OnReflectedCommand(int nCode) { return FALSE; }

    virtual void OnLButtonDown(UINT nFlags, CPoint point) {}
    virtual void OnLButtonUp(UINT nFlags, CPoint point) {}
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point) {}
    virtual void OnRButtonDown(UINT nFlags, CPoint point) {}
    virtual void OnRButtonUp(UINT nFlags, CPoint point) {}
    virtual void OnRButtonDblClk(UINT nFlags, CPoint point) {}
    virtual void OnMButtonDown(UINT nFlags, CPoint point) {}
    virtual void OnMButtonUp(UINT nFlags, CPoint point) {}
    virtual void OnMButtonDblClk(UINT nFlags, CPoint point) {}
    virtual void OnMouseMove(UINT nFlags, CPoint point) {}
    // zDelta: multiples of WHEEL_DELTA (partial deltas of fine wheels are collected); pt in screen
    // coordinates, as Windows gives it.
    virtual BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) { return FALSE; }
    // nFlags bit 14 (0x4000): the key was already down (auto-repeat).
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {}
    virtual void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {}
    // nChar: the Unicode code point typed.
    virtual void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {}
    // TRUE when the handler set the cursor; otherwise the class cursor is shown.
    virtual BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) { return FALSE; }
    virtual void OnSize(UINT nType, int cx, int cy) {}
    virtual void OnSetFocus(CWnd* pOldWnd) {}
    virtual void OnKillFocus(CWnd* pNewWnd) {}
    virtual void OnTimer(UINT_PTR nIDEvent) {}
    // A popup of a menu owned by this window is about to open.
    virtual void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {}
    // A scroll bar control owned by this window was used (SB_LINEUP ... SB_ENDSCROLL, ScrollBar.h).
    virtual void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {}
    virtual void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {}

    // A key going down in this window or one of its children, before the frame's accelerators
    // see it, as the message pre-translation does on Windows: from the focused window up to the
    // frame, the first answer other than kKeyContinue decides.
    enum : UINT {
        kKeyContinue = 0,  // not this window's key: ask the parent, then the accelerators
        kKeyHandled = 1,   // consumed here; nobody else sees the key
        kKeyDispatch = 2,  // the focused control gets the key as usual, the accelerators do not
    };
    virtual UINT PreTranslateKeyDown(UINT nChar, UINT nFlags) { return kKeyContinue; }

    struct Impl;
    Impl& GetImpl() const { return *m_impl; }

private:
    std::unique_ptr<Impl> m_impl;
};
