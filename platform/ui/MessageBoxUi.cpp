#include "platform/ui/MessageBoxUi.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

#include "platform/Strings.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/detail/WndImpl.h"

int AfxMessageBoxEscapeAnswer(unsigned int type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
        case MB_YESNOCANCEL:
        case MB_RETRYCANCEL:
            return IDCANCEL;
        case MB_YESNO:
            return IDNO;
        case MB_ABORTRETRYIGNORE:
            return IDABORT;
        default:
            return IDOK;
    }
}

namespace {

int ShowMessageBox(const std::string& text, UINT type) {
    struct Choice {
        int id;
        const char* label;
        QMessageBox::ButtonRole role;
    };
    std::vector<Choice> choices;
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            choices = {{IDOK, "OK", QMessageBox::AcceptRole},
                       {IDCANCEL, "キャンセル", QMessageBox::RejectRole}};
            break;
        case MB_ABORTRETRYIGNORE:
            choices = {{IDABORT, "中止(&A)", QMessageBox::RejectRole},
                       {IDRETRY, "再試行(&R)", QMessageBox::AcceptRole},
                       {IDIGNORE, "無視(&I)", QMessageBox::AcceptRole}};
            break;
        case MB_YESNOCANCEL:
            choices = {{IDYES, "はい(&Y)", QMessageBox::YesRole},
                       {IDNO, "いいえ(&N)", QMessageBox::NoRole},
                       {IDCANCEL, "キャンセル", QMessageBox::RejectRole}};
            break;
        case MB_YESNO:
            choices = {{IDYES, "はい(&Y)", QMessageBox::YesRole}, {IDNO, "いいえ(&N)", QMessageBox::NoRole}};
            break;
        case MB_RETRYCANCEL:
            choices = {{IDRETRY, "再試行(&R)", QMessageBox::AcceptRole},
                       {IDCANCEL, "キャンセル", QMessageBox::RejectRole}};
            break;
        default:
            choices = {{IDOK, "OK", QMessageBox::AcceptRole}};
            break;
    }
    QMessageBox box(ui_detail::DialogParent(nullptr));
    CWinApp* app = AfxGetApp();
    box.setWindowTitle(QString::fromStdString(app ? app->m_pszAppName : std::string("Tessaray")));
    box.setText(QString::fromStdString(text));
    switch (type & MB_ICONMASK) {
        case MB_ICONSTOP:
            box.setIcon(QMessageBox::Critical);
            break;
        case MB_ICONQUESTION:
            box.setIcon(QMessageBox::Question);
            break;
        case MB_ICONEXCLAMATION:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB_ICONINFORMATION:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    std::vector<QPushButton*> buttons;
    for (const Choice& c : choices)
        buttons.push_back(box.addButton(QString::fromUtf8(c.label), c.role));
    const std::size_t def = (type & MB_DEFBUTTON2) && buttons.size() > 1 ? 1 : 0;
    box.setDefaultButton(buttons[def]);
    const int escape = AfxMessageBoxEscapeAnswer(type);
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (choices[i].id == escape) box.setEscapeButton(buttons[i]);
    const CModalLoopScope modal;
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (box.clickedButton() == buttons[i]) return choices[i].id;
    return escape;
}

}  // namespace

void AfxInstallMessageBoxUi() {
    AfxSetMessageBoxHandler(ShowMessageBox);
}
