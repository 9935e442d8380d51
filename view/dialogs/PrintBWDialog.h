// The print and print-setup dialogs with the program's black-and-white check box (1324) on the
// program's templates 1538 (print) and 1539 (setup). OK stores the check box in the program-wide
// black-and-white flag; Cancel leaves the flag as it was.
#pragma once

#include "platform/ui/Print.h"

// The flags the application's printer setup and the frame's print settings run the dialog with:
// all pages, the printer's own copies, no page numbers, no print-to-file, no selection (0x14000C).
inline constexpr DWORD kPrintBWDialogFlags =
    PD_ALLPAGES | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE | PD_NOSELECTION;

class MPrintBWDialog : public CPrintDialog {
public:
    MPrintBWDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent);

    int m_blackWhite;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
};
