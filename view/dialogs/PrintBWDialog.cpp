#include "view/dialogs/PrintBWDialog.h"

#include "model/shapes/CadShape.h"
#include "platform/ui/DataExchange.h"

namespace {

constexpr UINT kPrintTemplate = 1538;
constexpr UINT kSetupTemplate = 1539;
constexpr int kBlackWhiteCheck = 1324;

}  // namespace

MPrintBWDialog::MPrintBWDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent)
    : CPrintDialog(printSetupOnly, flags | PD_ENABLEPRINTTEMPLATE | PD_ENABLESETUPTEMPLATE, parent,
                   kPrintTemplate, kSetupTemplate),
      m_blackWhite(PrintBlackWhite) {}

void MPrintBWDialog::DoDataExchange(CDataExchange* pDX) {
    CPrintDialog::DoDataExchange(pDX);
    DDX_Check(pDX, kBlackWhiteCheck, m_blackWhite);
}

BOOL MPrintBWDialog::OnInitDialog() {
    CPrintDialog::OnInitDialog();
    if (CWnd* collate = GetDlgItem(kPrintCollatePicture)) collate->ShowWindow(SW_HIDE);
    return TRUE;
}

void MPrintBWDialog::OnOK() {
    CPrintDialog::OnOK();
    if (IsRunning()) return;
    PrintBlackWhite = m_blackWhite ? 1 : 0;
}
