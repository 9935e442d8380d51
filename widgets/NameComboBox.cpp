#include "widgets/NameComboBox.h"

#include "widgets/ComboCommit.h"

void MNameComboBox::SetName(const CString& name) {
    m_name = name;
    SetWindowText(name);
}

void MNameComboBox::SetText(const CString& text) {
    SetWindowText(text);
    Commit();
}

void MNameComboBox::Commit() {
    m_name = GetWindowText();
    SetWindowText(m_name);
    NotifyOwner(NM_RETURN);
}

BOOL MNameComboBox::OnReflectedCommand(int nCode) {
    return ComboCommitsOn(*this, nCode, [this] { Commit(); });
}

UINT MNameComboBox::PreTranslateKeyDown(UINT nChar, UINT nFlags) {
    return ComboKeyDown(
        nChar, nFlags, [this] { Commit(); }, [this] { SetWindowText(m_name); });
}
