#include "tools/text/LabelDialogs.h"

#include "model/shapes/text/TextShapeBase.h"
#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"
#include "tools/input/ComboFill.h"
#include "tools/input/StoredTextExchange.h"

namespace {

// The sizes a text may take, in paper millimetres: above 0 and within reason.
constexpr double kSmallestTextSize = 0.01;
constexpr double kLargestTextSize = 10000.0;

// The font and leader end chosen; each keeps its value without a selection.
template <class Dialog>
void TakeCombos(Dialog& d, int fontId) {
    const std::string font = SelectedComboText(*d.template GetDlgItemAs<CComboBox>(fontId));
    if (!font.empty()) d.m_fontName = font;
    if (const int kind = d.template GetDlgItemAs<CComboBox>(IDC_LEADER_END_KIND)->GetCurSel(); kind >= 0)
        d.m_arrowStyle = kind;
}

}  // namespace

// ----- 162 --------------------------------------------------------------------------------------

MToolInputLabelDialog::MToolInputLabelDialog(CWnd* parent) : CDialog(IDD, parent) {
    m_string = "Text";
    m_fontName = GetDefaultTextFace();
    m_textSize = 10.0;
    m_textOffset = 1.0;
    m_arrowStyle = 1;
    m_arrowSize = 3.0;
}

BOOL MToolInputLabelDialog::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    FillFontComboSelecting(*GetDlgItemAs<CComboBox>(IDC_LABEL_FONT), m_fontName);
    FillArrowStyleCombo(*GetDlgItemAs<CComboBox>(IDC_LEADER_END_KIND), m_arrowStyle);
    return result;
}

void MToolInputLabelDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_StoredText(pDX, IDC_TEXT_STRING, m_string);
    DDX_Text(pDX, IDC_LABEL_SIZE, m_textSize);
    DDV_MinMaxDouble(pDX, m_textSize, kSmallestTextSize, kLargestTextSize);
    DDX_Text(pDX, IDC_LABEL_GAP, m_textOffset);
    DDX_Text(pDX, IDC_LEADER_END_SIZE, m_arrowSize);
}

void MToolInputLabelDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    TakeCombos(*this, IDC_LABEL_FONT);
    EndDialog(IDOK);
}

// ----- 163 --------------------------------------------------------------------------------------

MToolInputBalloonDialog::MToolInputBalloonDialog(CWnd* parent) : CDialog(IDD, parent) {
    m_string = "Text";
    m_fontName = GetDefaultTextFace();
    m_textSize = 7.0;
    m_arrowStyle = 1;
    m_arrowSize = 3.0;
    m_maxRadius = 32.0;
    m_minRadius = 4.0;
    TickOnEdit(IDC_BALLOON_MIN, IDC_BALLOON_USE_MIN);
    TickOnEdit(IDC_BALLOON_MAX, IDC_BALLOON_USE_MAX);
}

BOOL MToolInputBalloonDialog::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    FillFontComboSelecting(*GetDlgItemAs<CComboBox>(IDC_BALLOON_FONT), m_fontName);
    FillArrowStyleCombo(*GetDlgItemAs<CComboBox>(IDC_LEADER_END_KIND), m_arrowStyle);
    return result;
}

void MToolInputBalloonDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_StoredText(pDX, IDC_BALLOON_TEXT, m_string);
    DDX_Text(pDX, IDC_BALLOON_SIZE, m_textSize);
    DDV_MinMaxDouble(pDX, m_textSize, kSmallestTextSize, kLargestTextSize);
    DDX_Text(pDX, IDC_LEADER_END_SIZE, m_arrowSize);
    // The edits first: filling them ticks their boxes, which then take their own values.
    DDX_Text(pDX, IDC_BALLOON_MIN, m_minRadius);
    DDX_Text(pDX, IDC_BALLOON_MAX, m_maxRadius);
    DDX_Check(pDX, IDC_BALLOON_USE_MIN, m_useMinRadius);
    DDX_Check(pDX, IDC_BALLOON_USE_MAX, m_useMaxRadius);
}

void MToolInputBalloonDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    if ((m_useMinRadius && !(m_minRadius > 0.0)) || (m_useMaxRadius && !(m_maxRadius > 0.0))) {
        AfxMessageBox(IDS_RADIUS_NOT_POSITIVE, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (m_useMinRadius && m_useMaxRadius && m_minRadius > m_maxRadius) {
        AfxMessageBox(IDS_MAX_BELOW_MIN, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    TakeCombos(*this, IDC_BALLOON_FONT);
    EndDialog(IDOK);
}
