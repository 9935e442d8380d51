#include "tools/edit/HatchDialog.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"

namespace {

double ClampLength(double value, double fallback, double high) {
    if (!std::isfinite(value) || value < 0) return fallback;
    return std::min(value, high);
}

}  // namespace

void MHatchValues::Clamp() {
    const MHatchValues defaults;
    mode = std::clamp(mode, 0, 1);
    pitch = ClampLength(pitch, defaults.pitch, 10000.0);
    lineCount = std::clamp(lineCount, 1, 3);
    spacing = ClampLength(spacing, defaults.spacing, 1000.0);
    for (int& on : directions)
        on = std::clamp(on, 0, 1);
}

MHatchDialog::MHatchDialog(CWnd* parent, const MHatchValues& values)
    : CDialog(IDD_HATCH, parent), m_values(values), m_lineIndex(values.lineCount - 1) {
    for (UINT id : {IDC_HATCH_ONE_LINE, IDC_HATCH_TWO_LINES, IDC_HATCH_THREE_LINES})
        Commands().OnCommand(id, [this] { EnableSpacing(); });
}

BOOL MHatchDialog::OnInitDialog() {
    const BOOL focus = CDialog::OnInitDialog();
    EnableSpacing();
    return focus;
}

void MHatchDialog::DoDataExchange(CDataExchange* pDX) {
    static constexpr int kDirections[4] = {IDC_HATCH_HORIZONTAL, IDC_HATCH_VERTICAL, IDC_HATCH_FALLING,
                                           IDC_HATCH_RISING};
    for (int k = 0; k < 4; ++k)
        DDX_Check(pDX, kDirections[k], m_values.directions[static_cast<std::size_t>(k)]);
    DDX_Radio(pDX, IDC_HATCH_MODE1, m_values.mode);
    DDX_Radio(pDX, IDC_HATCH_ONE_LINE, m_lineIndex);
    DDX_Text(pDX, IDC_HATCH_SPACING, m_values.spacing);
    DDV_MinMaxDouble(pDX, m_values.spacing, 0.0, 1000.0);
    DDX_Text(pDX, IDC_HATCH_PITCH, m_values.pitch);
    DDV_MinMaxDouble(pDX, m_values.pitch, 0.0, 10000.0);
    m_values.lineCount = std::clamp(m_lineIndex + 1, 1, 3);
    m_values.mode = std::clamp(m_values.mode, 0, 1);
}

void MHatchDialog::EnableSpacing() {
    if (CWnd* spacing = GetDlgItem(IDC_HATCH_SPACING))
        spacing->EnableWindow(!IsDlgButtonChecked(IDC_HATCH_ONE_LINE));
}
