// About (dialog 100): the program's icon, its name and version, OK.
#pragma once

#include "platform/ui/Dialog.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
};
