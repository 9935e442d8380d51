// CWinApp: the application object on QApplication. The program defines one object of a derived
// class and calls AfxWinMain from main(); InitInstance builds the program and its main window,
// OnIdle runs when the queue drains, ExitInstance gives the exit code.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/CmdTarget.h"
#include "platform/ui/Cursor.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(std::string_view appName = "Tessaray");
    ~CWinApp() override;

    // TRUE lets the message loop run; FALSE ends the program (after ExitInstance).
    virtual BOOL InitInstance() { return TRUE; }
    // The exit code.
    virtual int ExitInstance();
    // Idle processing; lCount counts the calls since the last input. Returns TRUE for more calls.
    // Default: at 0 the idle update of the frames.
    virtual BOOL OnIdle(LONG lCount);
    // The message loop; returns ExitInstance().
    virtual int Run();

    // The profile moves to the user's settings file (kel-vo/Tessaray.ini); until then it is the
    // in-memory profile, where every value reads as its default.
    void SetRegistryKey(std::string_view company);

    HCURSOR LoadStandardCursor(UINT id) const { return AfxLoadStandardCursor(id); }
    HCURSOR LoadCursor(UINT resourceId) const { return AfxLoadCursor(resourceId); }
    void BeginWaitCursor();
    void EndWaitCursor();

    int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue);
    BOOL WriteProfileInt(std::string_view section, std::string_view entry, int value);
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view defaultValue = {});
    BOOL WriteProfileString(std::string_view section, std::string_view entry, std::string_view value);

    // ID_APP_EXIT: closes the main window as its close box would.
    void OnAppExit();

    std::string m_pszAppName;
    std::string m_pszRegistryKey;
    // The command-line arguments after the program name.
    std::vector<std::string> m_args;
    CWnd* m_pMainWnd = nullptr;

private:
    int m_waitCursors = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// The program's entry: the QApplication (exceptions that reach its event dispatch are reported,
// never propagated), the toolkit's Japanese texts, the C numeric locale, on-screen message boxes,
// then the application object's InitInstance, Run and ExitInstance. Returns the exit code.
int AfxWinMain(int argc, char* argv[]);
// Installs the toolkit's Japanese translations (the "qtbase_ja" catalogue) once the application
// object exists; FALSE when the catalogue is not installed.
BOOL AfxInstallToolkitTranslations();
// The toolkit's default locale Japanese (dates, sizes), then its translations.
void AfxSetToolkitLocale();
