#include "app/AboutDialog.h"

#include "platform/ui/SvgPicture.h"
#include "resources/ProgramIcon.h"

namespace {

constexpr UINT kAboutTemplate = 100;
constexpr int kIconFrame = 1000;

}  // namespace

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(kAboutTemplate, parent) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AfxShowPicture(GetDlgItem(kIconFrame), ProgramIconSvg());
    return TRUE;
}
