#include "tools/circle/CircleDialogs.h"

#include <cmath>

#include "platform/Strings.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"

// ----- the shared behaviour ---------------------------------------------------------------------

void MCircleEntryDialog::AddFocusField(int editId, int checkId, Kind kind, double* value, BOOL* use) {
    AddField(editId, checkId, kind, value, use);
    m_focusPairs.push_back({editId, checkId});
}

void MCircleEntryDialog::RequirePositive(int editId, int checkId, UINT messageId) {
    m_positive.push_back({editId, checkId, messageId});
}

void MCircleEntryDialog::RequireRange(int editId, double low, double high) {
    m_ranges.push_back({editId, low, high});
}

BOOL MCircleEntryDialog::OnInitDialog() {
    const BOOL result = MNumericEntryDialog::OnInitDialog();
    for (const Pair& pair : m_focusPairs)
        TickOnFocus(pair.editId, pair.checkId);
    return result;
}

void MCircleEntryDialog::DoDataExchange(CDataExchange* pDX) {
    MNumericEntryDialog::DoDataExchange(pDX);
    if (!pDX->m_bSaveAndValidate) return;
    // The base read every number already; reading one again points the checks at its edit.
    for (const Range& range : m_ranges) {
        double value = 0.0;
        DDX_Text(pDX, range.editId, value);
        DDV_MinMaxDouble(pDX, value, range.low, range.high);
    }
    for (const Positive& positive : m_positive) {
        if (positive.checkId && !IsDlgButtonChecked(positive.checkId)) continue;
        double value = 0.0;
        DDX_Text(pDX, positive.editId, value);
        if (std::isfinite(value) && value > 0.0) continue;
        AfxMessageBox(positive.messageId, MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
}

// ----- the dialogs ------------------------------------------------------------------------------

MInput3PArcDialog::MInput3PArcDialog(MTessarayView* view, Values* values, BOOL* keepValues)
    : MCircleEntryDialog(IDD_3P_ARC_INPUT, view, keepValues) {
    AddFocusField(IDC_ARC_RADIUS, IDC_ARC_RADIUS_CHECK, kLength, &values->radius, &values->radiusFixed);
    RequirePositive(IDC_ARC_RADIUS, IDC_ARC_RADIUS_CHECK, IDS_RADIUS_NOT_POSITIVE);
}

MInputCircleArcDialog::MInputCircleArcDialog(MTessarayView* view, Values* values, BOOL* keepValues)
    : MCircleEntryDialog(IDD_CIRCLE_ARC_INPUT, view, keepValues) {
    AddFocusField(IDC_ARC_RADIUS, IDC_ARC_RADIUS_CHECK, kLength, &values->radius, &values->radiusFixed);
    AddFocusField(IDC_ARC_START, IDC_ARC_START_CHECK, kAngle, &values->startAngle, &values->startFixed);
    AddFocusField(IDC_ARC_END, IDC_ARC_END_CHECK, kAngle, &values->endAngle, &values->endFixed);
    RequirePositive(IDC_ARC_RADIUS, IDC_ARC_RADIUS_CHECK, IDS_RADIUS_NOT_POSITIVE);
}

MInputHalfCircle::MInputHalfCircle(MTessarayView* view, Values* values, BOOL* keepValues)
    : MCircleEntryDialog(IDD_HALF_CIRCLE_INPUT, view, keepValues) {
    AddFocusField(IDC_HALF_RADIUS, IDC_HALF_RADIUS_CHECK, kLength, &values->radius, &values->radiusFixed);
    AddFocusField(IDC_HALF_ANGLE, IDC_HALF_ANGLE_CHECK, kAngle, &values->angle, &values->angleFixed);
    RequireRange(IDC_HALF_ANGLE, -360.0, 360.0);
    RequirePositive(IDC_HALF_RADIUS, IDC_HALF_RADIUS_CHECK, IDS_RADIUS_NOT_POSITIVE);
}

MInputEllipseDialog::MInputEllipseDialog(MTessarayView* view, Values* values, BOOL* keepValues)
    : MCircleEntryDialog(IDD_ELLIPSE_INPUT, view, keepValues) {
    AddFocusField(IDC_ELLIPSE_RX, IDC_ELLIPSE_RX_CHECK, kLength, &values->rx, &values->rxFixed);
    AddFocusField(IDC_ELLIPSE_RY, IDC_ELLIPSE_RY_CHECK, kLength, &values->ry, &values->ryFixed);
    RequirePositive(IDC_ELLIPSE_RX, IDC_ELLIPSE_RX_CHECK, IDS_ELLIPSE_RADIUS_NOT_POSITIVE);
    RequirePositive(IDC_ELLIPSE_RY, IDC_ELLIPSE_RY_CHECK, IDS_ELLIPSE_RADIUS_NOT_POSITIVE);
}

MInput2PEllipseDialog::MInput2PEllipseDialog(MTessarayView* view, Values* values, BOOL* keepValues)
    : MCircleEntryDialog(IDD_2P_ELLIPSE_INPUT, view, keepValues), m_anchor(&values->anchor) {
    AddField(IDC_ELLIPSE_RX, 0, kLength, &values->rx, nullptr);
    AddField(IDC_ELLIPSE_RY, 0, kLength, &values->ry, nullptr);
    RequirePositive(IDC_ELLIPSE_RX, 0, IDS_ELLIPSE_RADIUS_NOT_POSITIVE);
    RequirePositive(IDC_ELLIPSE_RY, 0, IDS_ELLIPSE_RADIUS_NOT_POSITIVE);
}

void MInput2PEllipseDialog::DoDataExchange(CDataExchange* pDX) {
    MCircleEntryDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_ELLIPSE_ANCHOR, *m_anchor);
}
