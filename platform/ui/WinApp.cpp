#include "platform/ui/WinApp.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <QWidget>
#include <clocale>
#include <vector>

#include "platform/ProcessEnd.h"
#include "platform/Profile.h"
#include "platform/StartupMarks.h"
#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Idle.h"
#include "platform/ui/MessageBoxUi.h"
#include "platform/ui/detail/WndImpl.h"
#include "resources/ResourceIds.h"

namespace {
CWinApp* g_app = nullptr;

// Exceptions must never unwind through Qt's event dispatch: whatever an entry point did not catch
// is reported here.
class GuardedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            AfxReportCurrentException();
            return false;
        }
    }
};
}  // namespace

CWinApp::CWinApp(std::string_view appName) : m_pszAppName(appName) {
    g_app = this;
    Commands().OnCommand(ID_APP_EXIT, [this] { OnAppExit(); });
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

int CWinApp::ExitInstance() {
    AfxGetProfile().Sync();
    return 0;
}

BOOL CWinApp::OnIdle(LONG lCount) {
    if (lCount == 0) CFrameWnd::IdleUpdateAllFrames();
    return FALSE;
}

int CWinApp::Run() {
    AfxInstallIdleHook();
    AfxRequestIdle();
    QApplication::exec();
    AfxSetProcessEnding();
    return ExitInstance();
}

void CWinApp::SetRegistryKey(std::string_view company) {
    m_pszRegistryKey = std::string(company);
    AfxSetProfile(CreateUserProfile());
}

void CWinApp::BeginWaitCursor() {
    ++m_waitCursors;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void CWinApp::EndWaitCursor() {
    if (m_waitCursors <= 0) return;
    --m_waitCursors;
    QGuiApplication::restoreOverrideCursor();
}

int CWinApp::GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) {
    return AfxGetProfile().GetProfileInt(section, entry, defaultValue);
}

BOOL CWinApp::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
    return AfxGetProfile().WriteProfileInt(section, entry, value);
}

std::string CWinApp::GetProfileString(std::string_view section, std::string_view entry,
                                      std::string_view defaultValue) {
    return AfxGetProfile().GetProfileString(section, entry, defaultValue);
}

BOOL CWinApp::WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) {
    return AfxGetProfile().WriteProfileString(section, entry, value);
}

void CWinApp::OnAppExit() {
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
        frame->OnClose();
    else
        QCoreApplication::quit();
}

CWinApp* AfxGetApp() {
    return g_app;
}
CWnd* AfxGetMainWnd() {
    return g_app ? g_app->m_pMainWnd : nullptr;
}

namespace ui_detail {
QWidget* DialogParent(CWnd* pWnd) {
    if (pWnd && pWnd->GetWidget()) return pWnd->GetWidget()->window();
    if (CWnd* main = AfxGetMainWnd(); main && main->GetWidget()) return main->GetWidget()->window();
    return QApplication::activeWindow();
}
}  // namespace ui_detail

BOOL AfxInstallToolkitTranslations() {
    // The toolkit's own dialogs (files, printing, preview) speak the language of the menus.
    static QTranslator* translator = nullptr;
    if (translator) return TRUE;
    auto* loaded = new QTranslator(QCoreApplication::instance());
    if (!loaded->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return FALSE;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
    return TRUE;
}

void AfxSetToolkitLocale() {
    // Dates, sizes and words of the toolkit's own dialogs follow the menus' language whatever the
    // user's locale. The program formats no number through the toolkit's locale: files and the
    // screen show numbers in the C locale.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    AfxInstallToolkitTranslations();
}

int AfxWinMain(int argc, char* argv[]) {
    GuardedApplication qapp(argc, argv);
    AfxStartupMark("qt");
    AfxSetToolkitLocale();
    // Qt adopts the user's locale; numbers in files and dimensions must never see a decimal comma.
    std::setlocale(LC_NUMERIC, "C");
    // The main frame decides when the program ends (its OnClose), not the last window to close.
    QApplication::setQuitOnLastWindowClosed(false);
    AfxInstallMessageBoxUi();
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    for (int i = 1; i < argc; ++i)
        app->m_args.emplace_back(argv[i]);
    QCoreApplication::setApplicationName(QString::fromStdString(app->m_pszAppName));
    int code;
    if (!AfxTryCallOr(FALSE, [&] { return app->InitInstance(); })) {
        AfxSetProcessEnding();
        code = AfxTryCallOr(1, [&] { return app->ExitInstance(); });
    } else {
        code = AfxTryCallOr(1, [&] { return app->Run(); });
    }
    // Windows still open go before the QApplication does; their CWnd objects see them gone.
    std::vector<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows.emplace_back(w);
    for (QPointer<QWidget>& w : windows)
        delete w.data();  // a window may have taken its children along
    return code;
}
