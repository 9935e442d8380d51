#include "tools/input/AngleDialog.h"

#include "document/ToolSettings.h"
#include "platform/Strings.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"

MAngleDialog::MAngleDialog(CWnd* parent) : CDialog(IDD_ANGLE, parent), m_angle(AngleDialogAngle()) {}

void MAngleDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_ANGLE_VALUE, m_angle);
    DDV_MinMaxDouble(pDX, m_angle, -360.0, 360.0);
}

void MAngleDialog::OnOK() {
    // The program's angle changes only with an accepted value: a refused one leaves it as it was.
    if (!UpdateData(TRUE)) return;
    AngleDialogAngle() = m_angle;
    EndDialog(IDOK);
}
