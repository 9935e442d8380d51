#include "tools/line/LineDialogs.h"

#include <cmath>
#include <sstream>

#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"
#include "tools/input/UserLineWidthDialog.h"

namespace {
constexpr double kStepDegreesToRadians = 0.017453292519943295;
constexpr double kStepRadiansToDegrees = 57.29577951308232;
}  // namespace

MInputLineDialog::MInputLineDialog(MTessarayView* view, double* length, BOOL* lengthLock, double* angle,
                                   BOOL* angleLock, BOOL* keepValues, UINT templateId)
    : MNumericEntryDialog(templateId, view, keepValues) {
    AddField(IDC_LENGTH_VALUE, IDC_USE_LENGTH, kLength, length, lengthLock);
    AddField(IDC_ANGLE_DEGREES, IDC_USE_ANGLE, kAngle, angle, angleLock);
}

MInputContLineDialog::MInputContLineDialog(MTessarayView* view, double* length, BOOL* lengthLock,
                                           double* angle, BOOL* angleLock, BOOL* polyline, BOOL* keepValues)
    : MInputLineDialog(view, length, lengthLock, angle, angleLock, keepValues, IDD_CONTLINE_INPUT) {
    AddCheck(IDC_POLYLINE, polyline);
}

MInputXYLineDialog::MInputXYLineDialog(MTessarayView* view, double* length, BOOL* lengthLock, double* step,
                                       BOOL* keepValues)
    : MNumericEntryDialog(IDD_XYLINE_INPUT, view, keepValues), m_step(step), m_list(StepList()) {
    AddField(IDC_LENGTH_VALUE, IDC_USE_LENGTH, kLength, length, lengthLock);
    m_text = InitialStepText(m_list, *step);
}

std::vector<std::string> MInputXYLineDialog::StepList() {
    std::vector<std::string> list;
    std::istringstream in(AfxLoadString(IDS_SNAP_ANGLES));
    std::string entry;
    while (std::getline(in, entry, ','))
        if (!entry.empty()) list.push_back(entry);
    return list;
}

std::string MInputXYLineDialog::InitialStepText(const std::vector<std::string>& list, double step) {
    if (list.empty()) return "90";
    if (step == 0.0 || !std::isfinite(step)) return list.back();
    const double degrees = std::fabs(step * kStepRadiansToDegrees);
    std::size_t best = 0;
    for (std::size_t i = 1; i < list.size(); ++i)
        if (std::fabs(ParseStep(list[i]) * kStepRadiansToDegrees - degrees) <
            std::fabs(ParseStep(list[best]) * kStepRadiansToDegrees - degrees))
            best = i;
    return list[best];
}

double MInputXYLineDialog::ParseStep(const std::string& text) {
    double degrees = 0.0;
    // "45°" is 45; "nan" or "1e999" would make every end point NaN.
    return ParseLeadingNumber(text, &degrees) ? degrees * kStepDegreesToRadians : 0.0;
}

BOOL MInputXYLineDialog::OnInitDialog() {
    MNumericEntryDialog::OnInitDialog();
    if (auto* combo = GetDlgItemAs<CComboBox>(IDC_SNAP_ANGLE)) {
        int selected = 0;
        for (std::size_t i = 0; i < m_list.size(); ++i) {
            combo->AddString(m_list[i]);
            if (m_list[i] == m_text) selected = static_cast<int>(i);
        }
        if (!m_list.empty()) combo->SetCurSel(selected);
    }
    return TRUE;
}

void MInputXYLineDialog::DoDataExchange(CDataExchange* pDX) {
    MNumericEntryDialog::DoDataExchange(pDX);
    if (!pDX->m_bSaveAndValidate) return;
    if (auto* combo = GetDlgItemAs<CComboBox>(IDC_SNAP_ANGLE)) m_text = combo->GetWindowText();
}

void MInputXYLineDialog::OnOK() {
    MNumericEntryDialog::OnOK();
    if (!IsRunning()) *m_step = ParseStep(m_text);
}
