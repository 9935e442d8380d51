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

// The arrows step the count within the range the dialog accepts.
void SetCountSpin(CDialog& dialog, int count) {
    if (auto* spin = dialog.GetDlgItemAs<CSpinButtonCtrl>(IDC_COPY_COUNT_SPIN)) {
        spin->SetRange32(kMinCopies, kMaxCopies);
        spin->SetPos32(count);
    }
}

}  // namespace

MLineCopyValues& GetLineCopyValues() {
    return LineCopySlot().Get();
}

MRotCopyValues& GetRotCopyValues() {
    return RotCopySlot().Get();
}

MInputLineCopyDialog::MInputLineCopyDialog(MTessarayView* view)
    : MNumericEntryDialog(IDD_LINECOPY_INPUT, view, nullptr) {
    MLineCopyValues& v = GetLineCopyValues();
    AddField(IDC_COPY_COUNT, &v.count, kMinCopies, kMaxCopies);
    AddFocusField(IDC_LINECOPY_SPACING, IDC_LINECOPY_SPACING_CHECK, kPlain, &v.spacing, &v.spacingFixed);
    AddFocusField(IDC_LINECOPY_ANGLE, IDC_LINECOPY_ANGLE_CHECK, kPlain, &v.angle, &v.angleFixed);
    RequireRange(IDC_LINECOPY_ANGLE, 0.0, 360.0);
    AddCheck(IDC_COPY_ROTATE, &v.rotate);
}

BOOL MInputLineCopyDialog::OnInitDialog() {
    const BOOL result = MNumericEntryDialog::OnInitDialog();
    SetCountSpin(*this, GetLineCopyValues().count);
    return result;
}

MInputRotCopyDialog::MInputRotCopyDialog(MTessarayView* view)
    : MNumericEntryDialog(IDD_ROTCOPY_INPUT, view, nullptr) {
    MRotCopyValues& v = GetRotCopyValues();
    AddField(IDC_COPY_COUNT, &v.count, kMinCopies, kMaxCopies);
    AddFocusField(IDC_ROTCOPY_RADIUS, IDC_ROTCOPY_RADIUS_CHECK, kPlain, &v.radius, &v.radiusFixed);
    AddFocusField(IDC_ROTCOPY_START, IDC_ROTCOPY_START_CHECK, kPlain, &v.startAngle, &v.startFixed);
    RequireRange(IDC_ROTCOPY_START, 0.0, 360.0);
    AddFocusField(IDC_ROTCOPY_END, IDC_ROTCOPY_END_CHECK, kPlain, &v.endAngle, &v.endFixed);
    RequireRange(IDC_ROTCOPY_END, 0.0, 360.0);
    AddCheck(IDC_COPY_ROTATE, &v.rotate);
}

BOOL MInputRotCopyDialog::OnInitDialog() {
    const BOOL result = MNumericEntryDialog::OnInitDialog();
    SetCountSpin(*this, GetRotCopyValues().count);
    return result;
}
