// About (dialog 100): the program's icon, its name and version, OK.
#pragma once

#include <string>

#include "platform/ui/Dialog.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* parent = nullptr);

    // The width a title bar needs to show the whole title.
    static int TitleBarWidth(const std::string& title);

protected:
    BOOL OnInitDialog() override;
};
