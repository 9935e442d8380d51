#include "tools/input/JumpDialog.h"

#include "platform/Strings.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"

MJumpDialog::MJumpDialog(CWnd* parent, BOOL showCopy)
    : CDialog(IDD_COORDINATE_ENTRY, parent), m_entry(GetCoordinateEntry()), m_showCopy(showCopy) {
    Commands().OnControl(BN_CLICKED, IDC_JUMP_CARTESIAN, [this] { UpdateEnabling(); });
    Commands().OnControl(BN_CLICKED, IDC_JUMP_POLAR, [this] { UpdateEnabling(); });
    Commands().OnControl(BN_CLICKED, IDC_JUMP_ABSOLUTE, [this] { UpdateEnabling(); });
    Commands().OnControl(BN_CLICKED, IDC_JUMP_RELATIVE, [this] { UpdateEnabling(); });
    Commands().OnControl(BN_CLICKED, IDC_JUMP_OFFSET, [this] { UpdateEnabling(); });
    const auto own = [this](int checkId, int editId, bool polar) {
        Commands().OnControl(BN_CLICKED, static_cast<UINT>(checkId), [this, checkId, editId, polar] {
            EnableEdit(checkId, editId, (IsDlgButtonChecked(IDC_JUMP_POLAR) != 0) == polar);
        });
    };
    own(IDC_JUMP_X_CHECK, IDC_JUMP_X, false);
    own(IDC_JUMP_Y_CHECK, IDC_JUMP_Y, false);
    own(IDC_JUMP_DISTANCE_CHECK, IDC_JUMP_DISTANCE, true);
    own(IDC_JUMP_ANGLE_CHECK, IDC_JUMP_ANGLE, true);
}

BOOL MJumpDialog::OnInitDialog() {
    if (!m_offsetAllowed && m_entry.baseMode == MCoordinateEntry::kOffset)
        m_entry.baseMode = MCoordinateEntry::kRelative;
    UpdateData(FALSE);
    if (CWnd* copy = GetDlgItem(IDC_JUMP_COPY)) copy->ShowWindow(m_showCopy ? SW_SHOW : SW_HIDE);
    UpdateEnabling();
    return TRUE;
}

void MJumpDialog::DoDataExchange(CDataExchange* pDX) {
    int xChecked = m_entry.xChecked, yChecked = m_entry.yChecked;
    int distanceChecked = m_entry.distanceChecked, angleChecked = m_entry.angleChecked;
    int copy = m_entry.copy;
    DDX_Check(pDX, IDC_JUMP_X_CHECK, xChecked);
    DDX_Check(pDX, IDC_JUMP_Y_CHECK, yChecked);
    DDX_Check(pDX, IDC_JUMP_DISTANCE_CHECK, distanceChecked);
    DDX_Check(pDX, IDC_JUMP_ANGLE_CHECK, angleChecked);
    DDX_Check(pDX, IDC_JUMP_COPY, copy);
    DDX_Text(pDX, IDC_JUMP_X, m_entry.x);
    DDX_Text(pDX, IDC_JUMP_Y, m_entry.y);
    DDX_Text(pDX, IDC_JUMP_DISTANCE, m_entry.distance);
    DDX_Text(pDX, IDC_JUMP_ANGLE, m_entry.angle);
    DDX_Radio(pDX, IDC_JUMP_CARTESIAN, m_entry.kind);
    DDX_Radio(pDX, IDC_JUMP_ABSOLUTE, m_entry.baseMode);
    m_entry.xChecked = xChecked;
    m_entry.yChecked = yChecked;
    m_entry.distanceChecked = distanceChecked;
    m_entry.angleChecked = angleChecked;
    m_entry.copy = copy;
}

void MJumpDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    GetCoordinateEntry() = m_entry;
    EndDialog(IDOK);
}

void MJumpDialog::EnableEdit(int checkId, int editId, bool kindSelected) {
    if (CWnd* edit = GetDlgItem(editId)) edit->EnableWindow(kindSelected && IsDlgButtonChecked(checkId));
}

void MJumpDialog::UpdateEnabling() {
    if (CWnd* offset = GetDlgItem(IDC_JUMP_OFFSET)) {
        offset->EnableWindow(m_offsetAllowed);
        if (!m_offsetAllowed && IsDlgButtonChecked(IDC_JUMP_OFFSET)) {
            CheckDlgButton(IDC_JUMP_OFFSET, BST_UNCHECKED);
            CheckDlgButton(IDC_JUMP_RELATIVE, BST_CHECKED);
        }
    }
    const bool polar = IsDlgButtonChecked(IDC_JUMP_POLAR) != 0;
    const int cartesianChecks[] = {IDC_JUMP_X_CHECK, IDC_JUMP_Y_CHECK};
    const int polarChecks[] = {IDC_JUMP_DISTANCE_CHECK, IDC_JUMP_ANGLE_CHECK};
    for (int id : cartesianChecks)
        if (CWnd* box = GetDlgItem(id)) box->EnableWindow(!polar);
    for (int id : polarChecks)
        if (CWnd* box = GetDlgItem(id)) box->EnableWindow(polar);
    EnableEdit(IDC_JUMP_X_CHECK, IDC_JUMP_X, !polar);
    EnableEdit(IDC_JUMP_Y_CHECK, IDC_JUMP_Y, !polar);
    EnableEdit(IDC_JUMP_DISTANCE_CHECK, IDC_JUMP_DISTANCE, polar);
    EnableEdit(IDC_JUMP_ANGLE_CHECK, IDC_JUMP_ANGLE, polar);
}
