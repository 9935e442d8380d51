#include "tools/dimension/SetupFormatDialog.h"

#include <algorithm>

#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"

namespace {

constexpr double kMaxStep = 1e9;

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

int ClampedSizeFormatListPosition() {
    return std::clamp(GetSizeFormatListPosition(), 0, std::max(GetSizeFormatCount() - 1, 0));
}

MSetupFormatDialog::MSetupFormatDialog(CWnd* parent) : CDialog(IDD, parent) {
    Commands().OnControl(LBN_SELCHANGE, IDC_FORMAT_LIST, [this] { OnSelchangeFormatList(); });
    Commands().OnCommand(IDC_ADD, [this] { OnAddFormat(); });
    Commands().OnCommand(IDC_DELETE, [this] { OnDeleteFormat(); });
    Commands().OnCommand(IDC_UPDATE, [this] { OnUpdateFormat(); });
    Load(GetSizeFormatAt(ClampedSizeFormatListPosition()));
}

void MSetupFormatDialog::Load(const MSizeFormatInfo& format) {
    m_name = format.m_name;
    m_prefix = format.m_prefix;
    m_suffix = format.m_suffix;
    m_step = format.m_step;
    m_comma = format.m_comma ? 1 : 0;
    m_keepZeros = format.m_keepZeros ? 1 : 0;
}

BOOL MSetupFormatDialog::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    auto* list = GetDlgItemAs<CListBox>(IDC_FORMAT_LIST);
    const int count = GetSizeFormatCount();
    for (int i = 0; i < count; ++i)
        list->AddString(GetSizeFormatAt(i).m_name);
    // A shorter list from another drawing leaves the position outside; no selection would leave
    // the edits of a built-in entry enabled.
    Show(ClampedSizeFormatListPosition());
    return result;
}

void MSetupFormatDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_NAME, m_name);
    DDX_Text(pDX, IDC_PREFIX, m_prefix);
    DDX_Text(pDX, IDC_SUFFIX, m_suffix);
    DDX_Text(pDX, IDC_STEP, m_step);
    DDV_MinMaxDouble(pDX, m_step, 0.0, kMaxStep);
    DDX_Check(pDX, IDC_COMMA, m_comma);
    DDX_Check(pDX, IDC_KEEP_ZEROS, m_keepZeros);
}

int MSetupFormatDialog::Selected() const {
    auto* list = GetDlgItemAs<CListBox>(IDC_FORMAT_LIST);
    return list ? list->GetCurSel() : -1;
}

void MSetupFormatDialog::Show(int index) {
    GetDlgItemAs<CListBox>(IDC_FORMAT_LIST)->SetCurSel(index);
    OnSelchangeFormatList();
}

void MSetupFormatDialog::OnSelchangeFormatList() {
    const int index = Selected();
    if (index < 0 || index >= GetSizeFormatCount()) return;
    SetSizeFormatListPosition(index);
    const MSizeFormatInfo format = GetSizeFormatAt(index);
    Load(format);
    UpdateData(FALSE);
    const BOOL editable = format.m_kind != MSizeFormatInfo::kBuiltInFormat;
    for (int id : {IDC_NAME, IDC_PREFIX, IDC_SUFFIX, IDC_STEP, IDC_COMMA, IDC_KEEP_ZEROS, IDC_ADD})
        GetDlgItem(id)->EnableWindow(editable);
    const BOOL own = format.m_kind == MSizeFormatInfo::kUserFormat;
    GetDlgItem(IDC_DELETE)->EnableWindow(own);
    GetDlgItem(IDC_UPDATE)->EnableWindow(own);
}

BOOL MSetupFormatDialog::RefuseName(UINT messageId) {
    AfxMessageBox(messageId, MB_OK | MB_ICONEXCLAMATION);
    GotoDlgCtrl(GetDlgItem(IDC_NAME));
    return FALSE;
}

BOOL MSetupFormatDialog::TakeControls(MSizeFormatInfo* format, int except) {
    if (!UpdateData(TRUE)) return FALSE;
    const std::string name = Trimmed(m_name);
    // A format without a name could never be chosen again.
    if (name.empty()) return RefuseName(IDS_SIZE_FORMAT_NAME_MISSING);
    // Formats are found by name: a second entry of a name could never be found.
    const int other = FindSizeFormatIndex(name);
    if (other >= 0 && other != except) return RefuseName(IDS_SIZE_FORMAT_NAME_TAKEN);
    *format = MSizeFormatInfo(name, m_prefix, m_suffix, m_step, m_comma ? TRUE : FALSE,
                              m_keepZeros ? TRUE : FALSE, MSizeFormatInfo::kUserFormat);
    return TRUE;
}

void MSetupFormatDialog::OnAddFormat() {
    const int index = Selected();
    if (index < 0) return;
    if (GetSizeFormatAt(index).m_kind == MSizeFormatInfo::kBuiltInFormat) return;
    MSizeFormatInfo format;
    if (!TakeControls(&format, -1)) return;
    InsertSizeFormat(index, format);
    GetDlgItemAs<CListBox>(IDC_FORMAT_LIST)->InsertString(index, format.m_name);
    Show(index);
}

void MSetupFormatDialog::OnUpdateFormat() {
    const int index = Selected();
    // Built-in entries and the template are not the user's to change.
    if (index < 0 || GetSizeFormatAt(index).m_kind != MSizeFormatInfo::kUserFormat) return;
    MSizeFormatInfo format;
    if (!TakeControls(&format, index)) return;
    auto* list = GetDlgItemAs<CListBox>(IDC_FORMAT_LIST);
    RemoveSizeFormat(index);
    InsertSizeFormat(index, format);
    list->DeleteString(index);
    list->InsertString(index, format.m_name);
    Show(index);
}

void MSetupFormatDialog::OnDeleteFormat() {
    const int index = Selected();
    if (index < 0 || GetSizeFormatAt(index).m_kind != MSizeFormatInfo::kUserFormat) return;
    RemoveSizeFormat(index);
    GetDlgItemAs<CListBox>(IDC_FORMAT_LIST)->DeleteString(index);
    Show(std::max(index - 1, 0));
}

void MSetupFormatDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    m_name = Trimmed(m_name);
    if (m_name.empty()) {
        RefuseName(IDS_SIZE_FORMAT_NAME_MISSING);
        return;
    }
    EndDialog(IDOK);
}
