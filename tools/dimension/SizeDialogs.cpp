#include "tools/dimension/SizeDialogs.h"

#include "model/shapes/dimension/SizeFormatInfo.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"
#include "tools/dimension/SetupFormatDialog.h"
#include "tools/input/ComboFill.h"
#include "tools/input/SizeFormatCombo.h"
#include "tools/input/StoredTextExchange.h"

namespace {

// The combo of each current format, in slot order, and the string naming its default.
struct FormatCombo {
    int id;
    UINT defaultId;
};
constexpr FormatCombo kFormatCombos[kSizeFormatSlots] = {
    {1115, 62682}, {1116, 62685}, {1113, 62687}, {1114, 62689}};

}  // namespace

// ----- 141 --------------------------------------------------------------------------------------

MToolSizeSetupDialog::MToolSizeSetupDialog(CWnd* parent, const MSizeStyle* initial) : CDialog(IDD, parent) {
    m_style = initial ? *initial : GetDefaultSizeStyle();
    Commands().OnCommand(IDC_EDIT_FORMATS, [this] { OnEditFormats(); });
}

BOOL MToolSizeSetupDialog::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    FillFontNames();
    FillArrowStyleCombo(*GetDlgItemAs<CComboBox>(IDC_ARROW_STYLE), m_style.m_arrowStyle);
    FillFormatCombos(FALSE);
    return result;
}

void MToolSizeSetupDialog::FillFontNames() {
    // A font this machine lacks stays the dimension's font: OK must not lose its name.
    FillFontComboSelecting(*GetDlgItemAs<CComboBox>(IDC_FONT), m_style.m_fontName);
}

void MToolSizeSetupDialog::FillFormatCombos(BOOL keep) {
    for (int slot = 0; slot < kSizeFormatSlots; ++slot) {
        auto* combo = GetDlgItemAs<CComboBox>(kFormatCombos[slot].id);
        const std::string shown = keep ? SelectedComboText(*combo) : std::string();
        if (!shown.empty() && FillSizeFormatCombo(combo, shown) < combo->GetCount()) continue;
        SelectSizeFormatInCombo(combo, GetCurrentSizeFormat(slot), kFormatCombos[slot].defaultId);
    }
}

void MToolSizeSetupDialog::OnEditFormats() {
    MSetupFormatDialog dialog(this);
    dialog.DoModal();
    // The list may have changed whatever the dialog answered.
    FillFormatCombos(TRUE);
}

void MToolSizeSetupDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_TEXT_HEIGHT, m_style.m_textHeight);
    DDX_Text(pDX, IDC_TEXT_GAP, m_style.m_textGap);
    DDX_Text(pDX, IDC_EXTENSION_GAP, m_style.m_extensionGap);
    DDX_Text(pDX, IDC_EXTENSION_OVERSHOOT, m_style.m_extensionOvershoot);
    DDX_Text(pDX, IDC_OUTSIDE_LEADER, m_style.m_outsideLeader);
    DDX_Text(pDX, IDC_ARROW_SIZE, m_style.m_arrowSize);
}

void MToolSizeSetupDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    if (const int sel = GetDlgItemAs<CComboBox>(IDC_ARROW_STYLE)->GetCurSel(); sel >= 0)
        m_style.m_arrowStyle = sel;
    const std::string font = SelectedComboText(*GetDlgItemAs<CComboBox>(IDC_FONT));
    if (!font.empty()) m_style.m_fontName = font;
    for (int slot = 0; slot < kSizeFormatSlots; ++slot)
        SetCurrentSizeFormat(
            slot, FindSizeFormat(SelectedComboText(*GetDlgItemAs<CComboBox>(kFormatCombos[slot].id))));
    GetDefaultSizeStyle() = m_style;
    EndDialog(IDOK);
}

// ----- 161 --------------------------------------------------------------------------------------

MInputSizeDialog::MInputSizeDialog(CWnd* parent) : CDialog(IDD, parent) {
    TickOnEdit(IDC_LENGTH, IDC_FIXED_LENGTH);
    TickOnEdit(IDC_TEXT, IDC_USER_TEXT);
    Commands().OnCommand(IDC_OPTIONS, [this] {
        MToolSizeSetupDialog setup(this, nullptr);
        setup.DoModal();
    });
}

void MInputSizeDialog::SetValues(double length, BOOL fixedLength, BOOL autoTextPosition,
                                 const std::string& text, BOOL userText, BOOL keep) {
    m_length = length;
    m_fixedLength = fixedLength ? 1 : 0;
    m_autoTextPosition = autoTextPosition ? 1 : 0;
    m_text = text;
    m_userText = userText ? 1 : 0;
    m_keep = keep ? 1 : 0;
}

void MInputSizeDialog::DoDataExchange(CDataExchange* pDX) {
    // The edits first: filling them ticks their boxes, which then take their own values.
    DDX_Text(pDX, IDC_LENGTH, m_length);
    DDX_StoredText(pDX, IDC_TEXT, m_text);
    DDX_Check(pDX, IDC_FIXED_LENGTH, m_fixedLength);
    DDX_Check(pDX, IDC_USER_TEXT, m_userText);
    DDX_Check(pDX, IDC_KEEP, m_keep);
    DDX_Check(pDX, IDC_AUTO_TEXT_POSITION, m_autoTextPosition);
}

// ----- 263 --------------------------------------------------------------------------------------

MToolInputSizeTextDialog::MToolInputSizeTextDialog(CWnd* parent) : CDialog(IDD, parent) {
    TickOnEdit(IDC_TEXT, IDC_USER_TEXT);
    Commands().OnCommand(IDC_OPTIONS, [this] {
        MToolSizeSetupDialog setup(this, m_style);
        if (setup.DoModal() == IDOK && m_style) *m_style = setup.m_style;
    });
}

void MToolInputSizeTextDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_StoredText(pDX, IDC_TEXT, m_text);
    DDX_Check(pDX, IDC_USER_TEXT, m_userText);
}
