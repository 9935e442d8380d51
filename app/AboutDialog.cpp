#include "app/AboutDialog.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFontMetrics>
#include <QWidget>

#include "platform/ui/SvgPicture.h"
#include "resources/ProgramIcon.h"

namespace {

constexpr UINT kAboutTemplate = 100;
constexpr int kIconFrame = 1000;

}  // namespace

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(kAboutTemplate, parent) {}

int CAboutDlg::TitleBarWidth(const std::string& title) {
    // Window managers draw titles in a bold face of about the program's size, beside the window's
    // icon and its three buttons.
    QFont font = QApplication::font();
    font.setBold(true);
    constexpr int kIconAndButtons = 160;
    return QFontMetrics(font).horizontalAdvance(QString::fromStdString(title)) + kIconAndButtons;
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AfxShowPicture(GetDlgItem(kIconFrame), ProgramIconSvg());
    // The contents alone make a box narrower than its title, which the title bar would cut. The
    // box takes the size of its contents: a strut across it widens them.
    QWidget* window = GetWidget();
    if (auto* box = window ? qobject_cast<QBoxLayout*>(window->layout()) : nullptr) {
        const QMargins margins = box->contentsMargins();
        box->addStrut(TitleBarWidth(window->windowTitle().toStdString()) - margins.left() - margins.right());
    }
    return TRUE;
}
