#include "tools/input/AngleDialog.h"

#include "document/ToolSettings.h"
#include "resources/ResourceIds.h"

MAngleDialog::MAngleDialog(CWnd* parent) : MNumericEntryDialog(IDD_ANGLE, parent) {
    AddField(IDC_ANGLE_VALUE, 0, kPlain, &AngleDialogAngle(), nullptr);
    RequireRange(IDC_ANGLE_VALUE, -360.0, 360.0);
}
