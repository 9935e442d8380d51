#include "app/parts/PartsDialogs.h"

#include <algorithm>

#include "document/parts/CadPartsList.h"
#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"
#include "tools/select/SelectDialogs.h"

std::string TrimmedName(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

BOOL EditPartsProperties(CWnd* parent, MCadParts& part) {
    MPartsNameDialog dialog(parent);
    dialog.SetName(part.m_name);
    dialog.SetFitToScale(part.m_keepSize);
    if (dialog.DoModal() != IDOK) return FALSE;
    // A part without a name would have no label under its icon.
    const std::string name = TrimmedName(dialog.GetName());
    if (name.empty()) {
        AfxMessageBox(IDS_NAME_EMPTY, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    part.m_name = name;
    part.m_keepSize = dialog.GetFitToScale() ? 1 : 0;
    return TRUE;
}

// ----- tab name -----------------------------------------------------------------------------------

MPartsTabNameDialog::MPartsTabNameDialog(CWnd* pParent, const std::string& name)
    : CDialog(IDD_PARTS_TAB_NAME, pParent), m_name(name) {}

void MPartsTabNameDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_PARTS_TAB_NAME, m_name);
}

void MPartsTabNameDialog::OnOK() {
    const std::string name = TrimmedName(GetDlgItemText(IDC_PARTS_TAB_NAME));
    if (name.empty()) {
        AfxMessageBox(IDS_NAME_EMPTY, MB_OK | MB_ICONEXCLAMATION);
        if (CWnd* edit = GetDlgItem(IDC_PARTS_TAB_NAME)) GotoDlgCtrl(edit);
        return;
    }
    m_name = name;
    EndDialog(IDOK);
}

// ----- tab move -----------------------------------------------------------------------------------

MPartsTabMoveDiaog::MPartsTabMoveDiaog(CWnd* pParent, std::vector<std::string> names, int selected)
    : CDialog(IDD_PARTS_TAB_MOVE, pParent), m_from(selected), m_to(selected), m_names(std::move(names)) {}

BOOL MPartsTabMoveDiaog::OnInitDialog() {
    auto* from = GetDlgItemAs<CComboBox>(IDC_PARTS_TAB_FROM);
    auto* to = GetDlgItemAs<CComboBox>(IDC_PARTS_TAB_TO);
    if (from && to) {
        for (const std::string& name : m_names) {
            from->AddString(name);
            to->AddString(name);
        }
        to->AddString("最後");
    }
    return CDialog::OnInitDialog();
}

void MPartsTabMoveDiaog::DoDataExchange(CDataExchange* pDX) {
    DDX_CBIndex(pDX, IDC_PARTS_TAB_FROM, m_from);
    DDX_CBIndex(pDX, IDC_PARTS_TAB_TO, m_to);
}

// ----- parts list ---------------------------------------------------------------------------------

MPartsListNameDialog::MPartsListNameDialog(CWnd* pParent, MCadPartsList* list)
    : CDialog(IDD_PARTS_LIST_NAME, pParent), m_list(list) {
    Commands().OnControl(BN_CLICKED, IDC_PARTS_LIST_CHANGE, [this] { OnChange(); });
    Commands().OnControl(BN_CLICKED, IDC_PARTS_LIST_DELETE, [this] { OnDelete(); });
    if (!list) return;
    m_name = list->GetName();
    for (int i = 0; i < list->GetSize(); ++i)
        m_parts.emplace_back(CloneParts(*list->GetAt(i)));
}

void MPartsListNameDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_PARTS_LIST_NAME, m_name);
}

BOOL MPartsListNameDialog::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    FillParts(0);
    return result;
}

void MPartsListNameDialog::FillParts(int select) {
    auto* box = GetDlgItemAs<CListBox>(IDC_PARTS_LIST_PARTS);
    if (!box) return;
    box->ResetContent();
    for (const auto& part : m_parts)
        box->AddString(part->m_name);
    const int count = box->GetCount();
    if (count > 0) box->SetCurSel(std::max(0, std::min(select, count - 1)));
    const BOOL any = box->GetCurSel() >= 0 ? TRUE : FALSE;
    if (CWnd* change = GetDlgItem(IDC_PARTS_LIST_CHANGE)) change->EnableWindow(any);
    if (CWnd* remove = GetDlgItem(IDC_PARTS_LIST_DELETE)) remove->EnableWindow(any);
}

int MPartsListNameDialog::SelectedPart() const {
    auto* box = GetDlgItemAs<CListBox>(IDC_PARTS_LIST_PARTS);
    const int selected = box ? box->GetCurSel() : -1;
    return selected < static_cast<int>(m_parts.size()) ? selected : -1;
}

void MPartsListNameDialog::OnChange() {
    const int selected = SelectedPart();
    if (selected < 0) return;
    // The copy changes; the list takes it only on OK.
    if (EditPartsProperties(this, *m_parts[selected])) FillParts(selected);
}

void MPartsListNameDialog::OnDelete() {
    const int selected = SelectedPart();
    if (selected < 0) return;
    m_parts.erase(m_parts.begin() + selected);
    FillParts(selected);
}

void MPartsListNameDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
    if (!m_list) return;
    m_list->RemoveAll();
    for (const auto& part : m_parts)
        m_list->Add(CloneParts(*part));
    m_list->SetName(m_name);
    m_list->m_modified = 1;
}
