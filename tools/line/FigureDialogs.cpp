#include "tools/line/FigureDialogs.h"

#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"

// ----- 164 --------------------------------------------------------------------------------------

MInputNPolygon::MInputNPolygon(MTessarayView* view, double* radius, BOOL* radiusLocked, double* angle,
                               BOOL* angleLocked)
    : MNumericEntryDialog(IDD_NPOLYGON_INPUT, view, nullptr) {
    AddField(IDC_NPOLYGON_RADIUS, IDC_NPOLYGON_RADIUS_LOCK, kLength, radius, radiusLocked);
    AddField(IDC_NPOLYGON_ANGLE, IDC_NPOLYGON_ANGLE_LOCK, kAngle, angle, angleLocked);
}

BOOL MInputNPolygon::OnInitDialog() {
    const BOOL result = MNumericEntryDialog::OnInitDialog();
    if (auto* spin = GetDlgItemAs<CSpinButtonCtrl>(IDC_NPOLYGON_SIDES_SPIN)) {
        spin->SetRange32(kMinSides, kMaxSides);
        spin->SetPos32(m_sides);
    }
    return result;
}

void MInputNPolygon::DoDataExchange(CDataExchange* pDX) {
    MNumericEntryDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_NPOLYGON_SIDES, m_sides);
    if (m_sides > kMaxSides) DDV_MinMaxInt(pDX, m_sides, kMinSides, kMaxSides);
    DDX_Check(pDX, IDC_NPOLYGON_CIRCUMSCRIBED, m_circumscribed);
    if (!pDX->m_bSaveAndValidate) return;
    double degrees = 0.0;
    DDX_Text(pDX, IDC_NPOLYGON_ANGLE, degrees);
    DDV_MinMaxDouble(pDX, degrees, -360.0, 360.0);
    if (m_sides < kMinSides) {
        AfxMessageBox(IDS_TOO_FEW_SIDES, MB_OK | MB_ICONEXCLAMATION);
        pDX->PrepareEditCtrl(IDC_NPOLYGON_SIDES);
        pDX->Fail();
    }
    double radius = 0.0;
    DDX_Text(pDX, IDC_NPOLYGON_RADIUS, radius);
    int locked = 0;
    DDX_Check(pDX, IDC_NPOLYGON_RADIUS_LOCK, locked);
    if (locked && !(radius > 0.0)) {
        AfxMessageBox(IDS_RADIUS_NOT_POSITIVE, MB_OK | MB_ICONEXCLAMATION);
        pDX->PrepareEditCtrl(IDC_NPOLYGON_RADIUS);
        pDX->Fail();
    }
}
