#include "app/bars/ToolbarDialog.h"

#include "platform/Strings.h"
#include "platform/ui/DataExchange.h"

MToolbarDialog::MToolbarDialog(CWnd* pParent) : CDialog(kTemplateId, pParent) {}

void MToolbarDialog::SetToolbar(int index, const std::string& title, int visible) {
    m_titles.at(static_cast<std::size_t>(index)) = title;
    m_visible.at(static_cast<std::size_t>(index)) = visible;
}

void MToolbarDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, kListId, m_list);
}

BOOL MToolbarDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int i = 0; i < kToolbarCount; ++i) {
        const int item = m_list.AddString(m_titles[static_cast<std::size_t>(i)]);
        m_list.SetCheck(item, m_visible[static_cast<std::size_t>(i)] ? BST_CHECKED : BST_UNCHECKED);
    }
    return TRUE;
}

void MToolbarDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    // Read before the dialog ends: its controls go with it.
    for (int i = 0; i < kToolbarCount; ++i)
        m_visible[static_cast<std::size_t>(i)] = m_list.GetCheck(i) == BST_CHECKED ? 1 : 0;
    EndDialog(IDOK);
}
