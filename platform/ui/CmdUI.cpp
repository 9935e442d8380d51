#include "platform/ui/CmdUI.h"

#include "platform/ui/CmdTarget.h"

void CCmdUI::Enable(BOOL) {
    m_bEnableChanged = TRUE;
}
void CCmdUI::SetCheck(int) {}
void CCmdUI::SetRadio(BOOL) {}
void CCmdUI::SetText(std::string_view) {}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
    if (!pTarget || m_nID == 0) return TRUE;  // separators and the message pane have nothing to update
    m_bEnableChanged = FALSE;
    const BOOL handled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info;
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return handled;
}

void CTestCmdUI::Enable(BOOL bOn) {
    CCmdUI::Enable(bOn);
    m_bEnabled = bOn;
}
void CTestCmdUI::SetCheck(int nCheck) {
    m_nCheck = nCheck;
}
void CTestCmdUI::SetRadio(BOOL bOn) {
    m_bRadio = bOn;
    m_nCheck = bOn ? 1 : 0;
}
void CTestCmdUI::SetText(std::string_view text) {
    m_bTextSet = true;
    m_text = text;
}

BOOL AfxIsCommandEnabled(CCmdTarget* pTarget, UINT nID) {
    CTestCmdUI ui;
    ui.m_nID = nID;
    ui.DoUpdate(pTarget, TRUE);
    return ui.m_bEnabled;
}
