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

MNumericEntryDialog::MNumericEntryDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

void MNumericEntryDialog::AddField(int editId, int checkId, Kind kind, double* value, BOOL* use) {
    Field field{editId, checkId, kind, value, use, 0.0, 0};
    field.shown = ToShown(field);
    field.checked = use && *use ? 1 : 0;
    m_fields.push_back(field);
}

void MNumericEntryDialog::AddField(int editId, int* value, int low, int high) {
    Field field{editId, 0, kPlain, nullptr, nullptr, 0.0, 0};
    field.intValue = value;
    field.intShown = *value;
    field.ranged = true;
    field.low = low;
    field.high = high;
    m_fields.push_back(field);
}

void MNumericEntryDialog::AddField(int editId, UINT* value, UINT low, UINT high) {
    Field field{editId, 0, kPlain, nullptr, nullptr, 0.0, 0};
    field.uintValue = value;
    field.uintShown = *value;
    field.ranged = true;
    field.low = low;
    field.high = high;
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
    for (Field& field : m_fields) {
        if (field.editId != editId) continue;
        field.ranged = true;
        field.low = low;
        field.high = high;
    }
}

void MNumericEntryDialog::RequirePositive(int editId, int checkId, UINT messageId) {
    m_positive.push_back({editId, checkId, messageId});
}

double MNumericEntryDialog::ToShown(const Field& field) const {
    if (!field.value) return 0.0;
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
        if (field.intValue) {
            DDX_Text(pDX, field.editId, field.intShown);
            if (field.ranged)
                DDV_MinMaxInt(pDX, field.intShown, static_cast<int>(field.low), static_cast<int>(field.high));
        } else if (field.uintValue) {
            DDX_Text(pDX, field.editId, field.uintShown);
            if (field.ranged)
                DDV_MinMaxUInt(pDX, field.uintShown, static_cast<UINT>(field.low),
                               static_cast<UINT>(field.high));
        } else {
            DDX_Text(pDX, field.editId, field.shown);
            if (field.ranged) DDV_MinMaxDouble(pDX, field.shown, field.low, field.high);
        }
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
        if (field.intValue) *field.intValue = field.intShown;
        if (field.uintValue) *field.uintValue = field.uintShown;
        if (!field.value) continue;
        *field.value = FromShown(field);
        if (field.use && field.checkId) *field.use = field.checked ? TRUE : FALSE;
    }
    if (m_keepValues) *m_keepValues = m_keepShown ? TRUE : FALSE;
    for (const Choice& choice : m_choices)
        *choice.value = choice.radio ? choice.shown : (choice.shown ? TRUE : FALSE);
    EndDialog(IDOK);
}
