// String resources and message boxes.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/WinTypes.h"

// The text of a string-table entry; FALSE (and an empty string) when there is none.
BOOL AfxLoadString(UINT id, std::string& out);
std::string AfxLoadString(UINT id);
// Replaces "%1" (and "%2") in the string-table text, as the class library's helpers do.
std::string AfxFormatString1(UINT id, std::string_view arg1);
std::string AfxFormatString2(UINT id, std::string_view arg1, std::string_view arg2);

enum : UINT {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_TYPEMASK = 0xF,
    MB_ICONHAND = 0x10,
    MB_ICONSTOP = 0x10,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_ICONMASK = 0xF0,
    MB_DEFBUTTON2 = 0x100,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

template <class T>
class CProgramSlot;  // platform/ProgramState.h

// Every message box of the program goes through one handler: the GUI shows a dialog, tests record.
using MessageBoxHandler = std::function<int(const std::string& text, UINT type)>;
// The default writes the text to standard error and answers the cautious button (OK, Cancel or No).
CProgramSlot<MessageBoxHandler>& AfxMessageBoxSlot();
// Installs a handler and returns the previous one; an empty handler restores the default.
MessageBoxHandler AfxSetMessageBoxHandler(MessageBoxHandler handler);
int AfxMessageBox(const std::string& text, UINT type = MB_OK);
int AfxMessageBox(UINT idPrompt, UINT type = MB_OK);
// The button Enter presses: the first, or the second with MB_DEFBUTTON2.
int AfxMessageBoxDefaultAnswer(UINT type);
// The question every save of the program asks before it replaces a file ("<name> は既に存在します。
// 上書きしますか?", Yes and No). TRUE when no file has the path or the user answered Yes.
BOOL AfxConfirmReplace(const std::string& path);

// While one lives nobody is there to answer (a print from the command line): every message box
// goes to standard error after the prefix, on one line, and takes its default button, and every modal dialog
// (CDialog::DoModal) ends at once as Enter would end it, with OK, showing nothing. Nests.
class CUnattendedScope {
public:
    explicit CUnattendedScope(std::string prefix);
    ~CUnattendedScope();
    CUnattendedScope(const CUnattendedScope&) = delete;
    CUnattendedScope& operator=(const CUnattendedScope&) = delete;

private:
    MessageBoxHandler m_previous;
};
BOOL AfxIsUnattended();
