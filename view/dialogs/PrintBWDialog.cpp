#include "view/dialogs/PrintBWDialog.h"

#include "model/shapes/CadShape.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"

MPrintBWDialog::MPrintBWDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent)
    : CPrintDialog(printSetupOnly, flags | PD_ENABLEPRINTTEMPLATE | PD_ENABLESETUPTEMPLATE, parent, IDD_PRINT,
                   IDD_PRINT_SETUP),
      m_blackWhite(PrintBlackWhite()) {}

void MPrintBWDialog::DoDataExchange(CDataExchange* pDX) {
    CPrintDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_PRINT_BLACK_WHITE, m_blackWhite);
}

BOOL MPrintBWDialog::OnInitDialog() {
    CPrintDialog::OnInitDialog();
    if (CWnd* collate = GetDlgItem(IDC_PRINT_COLLATE_PICTURE)) collate->ShowWindow(SW_HIDE);
    return TRUE;
}

void MPrintBWDialog::OnOK() {
    CPrintDialog::OnOK();
    if (IsRunning()) return;
    PrintBlackWhite() = m_blackWhite ? 1 : 0;
}
