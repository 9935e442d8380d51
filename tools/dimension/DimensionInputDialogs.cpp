#include "tools/dimension/DimensionInputDialogs.h"

#include "model/shapes/dimension/SizeBaseShape.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"
#include "tools/dimension/SizeDialogs.h"
#include "tools/input/StoredTextExchange.h"

namespace {

int Bit(BOOL on) {
    return on ? 1 : 0;
}

}  // namespace

MDimensionInputDialog::MDimensionInputDialog(UINT id, CWnd* parent, const MSizeBaseShape* shape)
    : CDialog(id, parent), m_shape(shape) {
    TickOnEdit(IDC_TEXT, IDC_USER_TEXT);
    Commands().OnCommand(IDC_OPTIONS, [this] {
        MToolSizeSetupDialog setup(this, m_shape ? &m_shape->GetSizeStyle() : nullptr);
        setup.DoModal();
    });
}

void MDimensionInputDialog::DoDataExchange(CDataExchange* pDX) {
    // The edit first: filling it ticks its box, which then takes its own value.
    DDX_StoredText(pDX, IDC_TEXT, m_text);
    DDX_Check(pDX, IDC_USER_TEXT, m_userText);
    DDX_Check(pDX, IDC_AUTO_TEXT_POSITION, m_autoTextPosition);
    DDX_Check(pDX, IDC_KEEP, m_keep);
}

// ----- 231 --------------------------------------------------------------------------------------

MInputRadiusDialog::MInputRadiusDialog(CWnd* parent, const MSizeBaseShape* shape)
    : MDimensionInputDialog(IDD, parent, shape) {
    Commands().OnCommand(IDC_NO_OVERSHOOT, [this] { EnableOvershootFromCentre(); });
}

void MInputRadiusDialog::SetValues(const std::string& text, BOOL userText, BOOL autoTextPosition,
                                   BOOL noOvershoot, BOOL overshootFromCentre, BOOL keep) {
    m_text = text;
    m_userText = Bit(userText);
    m_autoTextPosition = Bit(autoTextPosition);
    m_noOvershoot = Bit(noOvershoot);
    m_overshootFromCentre = Bit(overshootFromCentre);
    m_keep = Bit(keep);
}

BOOL MInputRadiusDialog::OnInitDialog() {
    const BOOL result = MDimensionInputDialog::OnInitDialog();
    EnableOvershootFromCentre();
    return result;
}

void MInputRadiusDialog::EnableOvershootFromCentre() {
    if (CWnd* fromCentre = GetDlgItem(IDC_OVERSHOOT_FROM_CENTRE))
        fromCentre->EnableWindow(IsDlgButtonChecked(IDC_NO_OVERSHOOT) == BST_UNCHECKED);
}

void MInputRadiusDialog::DoDataExchange(CDataExchange* pDX) {
    MDimensionInputDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_NO_OVERSHOOT, m_noOvershoot);
    DDX_Check(pDX, IDC_OVERSHOOT_FROM_CENTRE, m_overshootFromCentre);
}

// ----- 174 --------------------------------------------------------------------------------------

MInputDiamterDialog::MInputDiamterDialog(CWnd* parent, const MSizeBaseShape* shape)
    : MDimensionInputDialog(IDD, parent, shape) {}

void MInputDiamterDialog::SetValues(const std::string& text, BOOL userText, BOOL autoTextPosition,
                                    BOOL keep) {
    m_text = text;
    m_userText = Bit(userText);
    m_autoTextPosition = Bit(autoTextPosition);
    m_keep = Bit(keep);
}

// ----- 170 --------------------------------------------------------------------------------------

MInputAngleDialog::MInputAngleDialog(CWnd* parent, const MSizeBaseShape* shape, int forAngleTool)
    : MDimensionInputDialog(IDD, parent, shape), m_forAngleTool(forAngleTool) {
    TickOnEdit(IDC_DIMENSION_ANGLE, IDC_FIXED_ANGLE);
}

void MInputAngleDialog::SetValues(double angle, BOOL fixedAngle, const std::string& text, BOOL userText,
                                  BOOL autoTextPosition, BOOL keep) {
    m_angle = angle;
    m_fixedAngle = Bit(fixedAngle);
    m_text = text;
    m_userText = Bit(userText);
    m_autoTextPosition = Bit(autoTextPosition);
    m_keep = Bit(keep);
}

void MInputAngleDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_DIMENSION_ANGLE, m_angle);
    DDV_MinMaxDouble(pDX, m_angle, 0.0, 360.0);
    DDX_Check(pDX, IDC_FIXED_ANGLE, m_fixedAngle);
    MDimensionInputDialog::DoDataExchange(pDX);
}
