// The update request of one user-interface item (menu item, toolbar button, status pane, dialog
// control): update handlers enable, check or relabel it through this object.
#pragma once

#include <string>
#include <string_view>

#include "platform/WinTypes.h"

class CCmdTarget;
class CMenu;

class CCmdUI {
public:
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    // The menu holding the item, when the item is a menu item.
    CMenu* m_pMenu = nullptr;

    virtual void Enable(BOOL bOn = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual void SetCheck(int nCheck = 1);
    // A checked item shown as the chosen one of a group.
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(std::string_view text);
    // Lets the request go on to the next target after this handler.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Runs the update handler along pTarget's route. Without one (or when it did not decide the
    // enabled state) and with bDisableIfNoHandler, the item is enabled exactly when some target
    // on the route handles the command. TRUE when an update handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);

    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
};

// Answers nothing to the item; records what the handlers asked (used to test whether a command is
// enabled before running it, and by tests).
class CTestCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
    void SetRadio(BOOL bOn = TRUE) override;
    void SetText(std::string_view text) override;

    BOOL m_bEnabled = TRUE;
    int m_nCheck = 0;
    BOOL m_bRadio = FALSE;
    bool m_bTextSet = false;
    std::string m_text;
};

// TRUE when the command reaches a handler along pTarget's route and no update handler disables it.
BOOL AfxIsCommandEnabled(CCmdTarget* pTarget, UINT nID);
