#include "tools/input/NumericEntryDialog.h"

#include <cmath>

#include "platform/Strings.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"

namespace {
constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr double kRadiansToDegrees = 57.29577951308232;
}  // namespace

MNumericEntryDialog::MNumericEntryDialog(UINT templateId, MTessarayView* view, BOOL* keepValues)
    : CDialog(templateId, view), m_view(view), m_keepValues(keepValues) {
    if (m_keepValues) m_keepShown = *m_keepValues ? 1 : 0;
}

void MNumericEntryDialog::AddField(int editId, int checkId, Kind kind, double* value, BOOL* use) {
    Field field{editId, checkId, kind, value, use, 0.0, 0};
    field.shown = ToShown(field);
    field.checked = use && *use ? 1 : 0;
    m_fields.push_back(field);
}

void MNumericEntryDialog::AddFocusField(int editId, int checkId, Kind kind, double* value, BOOL* use) {
    AddField(editId, checkId, kind, value, use);
    m_focusPairs.push_back({editId, checkId});
}

void MNumericEntryDialog::AddCheck(int checkId, BOOL* value) {
    m_choices.push_back({checkId, false, value, *value ? 1 : 0});
}

void MNumericEntryDialog::AddRadio(int firstId, int* value) {
    m_choices.push_back({firstId, true, value, *value});
}

void MNumericEntryDialog::RequireRange(int editId, double low, double high) {
    m_ranges.push_back({editId, low, high});
}

void MNumericEntryDialog::RequirePositive(int editId, int checkId, UINT messageId) {
    m_positive.push_back({editId, checkId, messageId});
}

double MNumericEntryDialog::ToShown(const Field& field) const {
    switch (field.kind) {
        case kLength:
            return m_view ? m_view->DocToUserLength(*field.value) : *field.value;
        case kAngle:
            return *field.value * kRadiansToDegrees;
        default:
            return *field.value;
    }
}

double MNumericEntryDialog::FromShown(const Field& field) const {
    switch (field.kind) {
        case kLength:
            return m_view ? m_view->UserToDocLength(field.shown) : field.shown;
        case kAngle:
            return field.shown * kDegreesToRadians;
        default:
            return field.shown;
    }
}

BOOL MNumericEntryDialog::OnInitDialog() {
    UpdateData(FALSE);
    // Ticking comes after the values are shown, so that showing them ticks nothing.
    for (const Field& field : m_fields)
        if (field.checkId) TickOnEdit(field.editId, field.checkId);
    for (const Pair& pair : m_focusPairs)
        TickOnFocus(pair.editId, pair.checkId);
    return TRUE;
}

void MNumericEntryDialog::DoDataExchange(CDataExchange* pDX) {
    for (Field& field : m_fields) {
        DDX_Text(pDX, field.editId, field.shown);
        if (field.checkId) DDX_Check(pDX, field.checkId, field.checked);
    }
    if (m_keepValues) DDX_Check(pDX, IDC_KEEP_VALUES, m_keepShown);
    for (Choice& choice : m_choices) {
        if (choice.radio)
            DDX_Radio(pDX, choice.id, choice.shown);
        else
            DDX_Check(pDX, choice.id, choice.shown);
    }
    if (!pDX->m_bSaveAndValidate) return;
    // Every number is read already; reading one again points the check at its edit.
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

void MNumericEntryDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    for (const Field& field : m_fields) {
        *field.value = FromShown(field);
        if (field.use && field.checkId) *field.use = field.checked ? TRUE : FALSE;
    }
    if (m_keepValues) *m_keepValues = m_keepShown ? TRUE : FALSE;
    for (const Choice& choice : m_choices)
        *choice.value = choice.radio ? choice.shown : (choice.shown ? TRUE : FALSE);
    EndDialog(IDOK);
}
