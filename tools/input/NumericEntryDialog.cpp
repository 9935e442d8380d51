#include "tools/input/NumericEntryDialog.h"

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
    return TRUE;
}

void MNumericEntryDialog::DoDataExchange(CDataExchange* pDX) {
    for (Field& field : m_fields) {
        DDX_Text(pDX, field.editId, field.shown);
        if (field.checkId) DDX_Check(pDX, field.checkId, field.checked);
    }
    if (m_keepValues) DDX_Check(pDX, IDC_KEEP_VALUES, m_keepShown);
}

void MNumericEntryDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    for (const Field& field : m_fields) {
        *field.value = FromShown(field);
        if (field.use && field.checkId) *field.use = field.checked ? TRUE : FALSE;
    }
    if (m_keepValues) *m_keepValues = m_keepShown ? TRUE : FALSE;
    EndDialog(IDOK);
}
