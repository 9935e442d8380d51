#include "tools/edit/CopyDialogs.h"

#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"

namespace {

CProgramSlot<MLineCopyValues>& LineCopySlot() {
    static auto& slot = *new CProgramSlot<MLineCopyValues>();
    return slot;
}

CProgramSlot<MRotCopyValues>& RotCopySlot() {
    static auto& slot = *new CProgramSlot<MRotCopyValues>();
    return slot;
}

void ExchangeCount(CDataExchange* pDX, int& count) {
    DDX_Text(pDX, IDC_COPY_COUNT, count);
    DDV_MinMaxInt(pDX, count, kMinCopies, kMaxCopies);
}

// The arrows step the count within the range the dialog accepts.
void SetCountSpin(CDialog& dialog, int count) {
    if (auto* spin = dialog.GetDlgItemAs<CSpinButtonCtrl>(IDC_COPY_COUNT_SPIN)) {
        spin->SetRange32(kMinCopies, kMaxCopies);
        spin->SetPos32(count);
    }
}

void ExchangeAngle(CDataExchange* pDX, int id, double& angle) {
    DDX_Text(pDX, id, angle);
    DDV_MinMaxDouble(pDX, angle, 0.0, 360.0);
}

}  // namespace

MLineCopyValues& GetLineCopyValues() {
    return LineCopySlot().Get();
}

MRotCopyValues& GetRotCopyValues() {
    return RotCopySlot().Get();
}

MInputLineCopyDialog::MInputLineCopyDialog(MTessarayView* view)
    : CDialog(IDD_LINECOPY_INPUT, view), m_values(GetLineCopyValues()) {}

BOOL MInputLineCopyDialog::OnInitDialog() {
    UpdateData(FALSE);
    SetCountSpin(*this, m_values.count);
    TickOnEdit(IDC_LINECOPY_SPACING, IDC_LINECOPY_SPACING_CHECK);
    TickOnEdit(IDC_LINECOPY_ANGLE, IDC_LINECOPY_ANGLE_CHECK);
    return TRUE;
}

void MInputLineCopyDialog::DoDataExchange(CDataExchange* pDX) {
    ExchangeCount(pDX, m_values.count);
    DDX_Check(pDX, IDC_LINECOPY_SPACING_CHECK, m_values.spacingFixed);
    DDX_Text(pDX, IDC_LINECOPY_SPACING, m_values.spacing);
    DDX_Check(pDX, IDC_LINECOPY_ANGLE_CHECK, m_values.angleFixed);
    ExchangeAngle(pDX, IDC_LINECOPY_ANGLE, m_values.angle);
    DDX_Check(pDX, IDC_COPY_ROTATE, m_values.rotate);
}

void MInputLineCopyDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    GetLineCopyValues() = m_values;
    EndDialog(IDOK);
}

MInputRotCopyDialog::MInputRotCopyDialog(MTessarayView* view)
    : CDialog(IDD_ROTCOPY_INPUT, view), m_values(GetRotCopyValues()) {}

BOOL MInputRotCopyDialog::OnInitDialog() {
    UpdateData(FALSE);
    SetCountSpin(*this, m_values.count);
    TickOnEdit(IDC_ROTCOPY_RADIUS, IDC_ROTCOPY_RADIUS_CHECK);
    TickOnEdit(IDC_ROTCOPY_START, IDC_ROTCOPY_START_CHECK);
    TickOnEdit(IDC_ROTCOPY_END, IDC_ROTCOPY_END_CHECK);
    return TRUE;
}

void MInputRotCopyDialog::DoDataExchange(CDataExchange* pDX) {
    ExchangeCount(pDX, m_values.count);
    DDX_Check(pDX, IDC_ROTCOPY_RADIUS_CHECK, m_values.radiusFixed);
    DDX_Text(pDX, IDC_ROTCOPY_RADIUS, m_values.radius);
    DDX_Check(pDX, IDC_ROTCOPY_START_CHECK, m_values.startFixed);
    ExchangeAngle(pDX, IDC_ROTCOPY_START, m_values.startAngle);
    DDX_Check(pDX, IDC_ROTCOPY_END_CHECK, m_values.endFixed);
    ExchangeAngle(pDX, IDC_ROTCOPY_END, m_values.endAngle);
    DDX_Check(pDX, IDC_COPY_ROTATE, m_values.rotate);
}

void MInputRotCopyDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    GetRotCopyValues() = m_values;
    EndDialog(IDOK);
}
