#include "view/dialogs/PaperDialog.h"

#include <charconv>
#include <cmath>

#include "model/PaperInfo.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"

namespace {

// One number with blanks around it and nothing else, in the C locale.
bool ParseNumber(const std::string& text, double& value) {
    const std::size_t b = text.find_first_not_of(" \t");
    if (b == std::string::npos) return false;
    const std::size_t e = text.find_last_not_of(" \t");
    const char* first = text.data() + b;
    const char* last = text.data() + e + 1;
    if (*first == '+') ++first;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && ptr == last && std::isfinite(value);
}

template <class Entry, class Same>
int FindEntry(const std::vector<Entry>& table, Same same) {
    for (std::size_t i = 0; i < table.size(); ++i)
        if (same(table[i])) return static_cast<int>(i);
    return -1;
}

}  // namespace

MPaperSetupDialog::MPaperSetupDialog(CWnd* parent, int choice, BOOL showTemplate, BOOL showOpen)
    : CDialog(IDD_PAPER_SETUP, parent),
      m_paper(GetDefaultPaper()),
      m_choice(choice),
      m_showTemplate(showTemplate),
      m_showOpen(showOpen) {
    CCommandMap& map = Commands();
    map.OnControl(LBN_SELCHANGE, IDC_SIZE_LIST, [this] { OnSizeSelected(); });
    map.OnControl(LBN_SELCHANGE, IDC_SCALE_LIST, [this] { OnScaleSelected(); });
    map.OnControl(EN_CHANGE, IDC_SCALE_EDIT, [this] { OnScaleEdited(); });
    map.OnCommand(IDC_TEMPLATE, [this] { CloseWithChoice(kChoiceTemplate); });
    map.OnCommand(IDC_OPEN, [this] { CloseWithChoice(kChoiceOpen); });
}

void MPaperSetupDialog::SetFromPaper(const MPaperInfo& paper, double gridWidth, double gridHeight) {
    const MPaperSizeInfo& size = paper.GetSizeInfo();
    const MPaperScaleInfo& scale = paper.GetScaleInfo();
    m_paper.sizeIndex = FindEntry(GetPaperSizeTable(), [&](const MPaperSizeInfo& e) { return e == size; });
    m_paper.scaleIndex =
        FindEntry(GetPaperScaleTable(), [&](const MPaperScaleInfo& e) { return e == scale; });
    m_paper.scale = scale.m_scale;
    m_paper.horizontal = paper.GetHorizontal() ? 1 : 0;
    m_paper.gridWidth = gridWidth;
    m_paper.gridHeight = gridHeight;
}

BOOL MPaperSetupDialog::OnInitDialog() {
    if (auto* sizes = GetDlgItemAs<CListBox>(IDC_SIZE_LIST)) {
        sizes->ResetContent();
        for (const MPaperSizeInfo& e : GetPaperSizeTable())
            sizes->AddString(e.m_name + " " + e.m_sizeText);
        sizes->SetCurSel(m_paper.sizeIndex);
    }
    if (auto* scales = GetDlgItemAs<CListBox>(IDC_SCALE_LIST)) {
        scales->ResetContent();
        for (const MPaperScaleInfo& e : GetPaperScaleTable())
            scales->AddString(e.m_name);
        scales->SetCurSel(m_paper.scaleIndex);
    }
    if (CWnd* button = GetDlgItem(IDC_TEMPLATE)) button->ShowWindow(m_showTemplate ? SW_SHOW : SW_HIDE);
    if (CWnd* button = GetDlgItem(IDC_OPEN)) button->ShowWindow(m_showOpen ? SW_SHOW : SW_HIDE);
    // Writing the value keeps the list as chosen above.
    m_writingScale = true;
    const BOOL result = CDialog::OnInitDialog();
    m_writingScale = false;
    return result;
}

void MPaperSetupDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_SCALE_EDIT, m_paper.scale);
    DDV_MinMaxDouble(pDX, m_paper.scale, kMinPaperScale, kMaxPaperScale);
    DDX_Radio(pDX, IDC_PORTRAIT, m_paper.horizontal);
    DDX_Text(pDX, IDC_GRID_WIDTH, m_paper.gridWidth);
    DDX_Text(pDX, IDC_GRID_HEIGHT, m_paper.gridHeight);
}

void MPaperSetupDialog::OnSizeSelected() {
    if (auto* sizes = GetDlgItemAs<CListBox>(IDC_SIZE_LIST)) m_paper.sizeIndex = sizes->GetCurSel();
}

void MPaperSetupDialog::OnScaleSelected() {
    auto* scales = GetDlgItemAs<CListBox>(IDC_SCALE_LIST);
    if (!scales) return;
    const int i = scales->GetCurSel();
    const auto& table = GetPaperScaleTable();
    if (i < 0 || static_cast<std::size_t>(i) >= table.size()) return;
    m_paper.scaleIndex = i;
    m_writingScale = true;
    SetDlgItemText(IDC_SCALE_EDIT, FormatG(table[static_cast<std::size_t>(i)].m_scale, 6));
    m_writingScale = false;
}

void MPaperSetupDialog::OnScaleEdited() {
    if (m_writingScale) return;
    auto* scales = GetDlgItemAs<CListBox>(IDC_SCALE_LIST);
    double value = 0.0;
    int found = -1;
    if (ParseNumber(GetDlgItemText(IDC_SCALE_EDIT), value))
        found = FindEntry(GetPaperScaleTable(), [&](const MPaperScaleInfo& e) { return e.m_scale == value; });
    m_paper.scaleIndex = found;
    if (scales) scales->SetCurSel(found);
}

void MPaperSetupDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    if (!(m_paper.gridWidth > 0.0) || !(m_paper.gridHeight > 0.0)) {
        AfxMessageBox(IDS_GRID_NOT_POSITIVE, MB_OK | MB_ICONEXCLAMATION);
        if (CWnd* edit = GetDlgItem(m_paper.gridWidth > 0.0 ? IDC_GRID_HEIGHT : IDC_GRID_WIDTH))
            edit->SetFocus();
        return;
    }
    GetDefaultPaper() = m_paper;
    EndDialog(IDOK);
}

void MPaperSetupDialog::CloseWithChoice(int choice) {
    OnOK();
    if (!IsRunning()) m_choice = choice;
}
