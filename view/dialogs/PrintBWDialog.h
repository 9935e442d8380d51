// The print and print-setup dialogs with the program's black-and-white check box (1324) on the
// program's templates 1538 (print) and 1539 (setup). OK stores the check box in the program-wide
// black-and-white flag; Cancel leaves the flag as it was.
#pragma once

#include "platform/ui/Print.h"

class MPrintBWDialog : public CPrintDialog {
public:
    MPrintBWDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent);

    int m_blackWhite;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
};
