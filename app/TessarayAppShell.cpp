// The application's roads from the shell: the start's command (new, open, print, print to,
// unregister), Help and About.
#include <cctype>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/AboutDialog.h"
#include "app/HelpPage.h"
#include "app/MainFrame.h"
#include "app/TessarayApp.h"
#include "platform/Profile.h"
#include "platform/ShellFileTypes.h"
#include "platform/Strings.h"
#include "platform/ui/Print.h"
#include "view/TessarayView.h"

namespace {

// The application's printer as it was: the printer a command line names is that print's only.
class PrinterKept {
public:
    PrinterKept() : m_kept(AfxGetPrinterSettings()) {}
    ~PrinterKept() { AfxGetPrinterSettings() = m_kept; }
    PrinterKept(const PrinterKept&) = delete;
    PrinterKept& operator=(const PrinterKept&) = delete;

private:
    CPrinterSettings m_kept;
};

bool EndsWithPdf(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".pdf";
}

// Beside the drawing, the first of "<name>.pdf", "<name> (2).pdf", ... that names nothing, not
// even a broken link; empty when none of the first thousands does.
std::string FreePdfName(const std::string& drawing) {
    const std::string stem = std::filesystem::path(drawing).replace_extension().string();
    for (int n = 1; n < 10000; ++n) {
        std::string name = stem + (n == 1 ? std::string() : " (" + std::to_string(n) + ")") + ".pdf";
        std::error_code error;
        if (std::filesystem::symlink_status(name, error).type() == std::filesystem::file_type::not_found)
            return name;
    }
    return std::string();
}

// "pt": the printer named, or the PDF file when the name ends in ".pdf"; "p": the application's
// printer, which without any printer writes a PDF beside the drawing that replaces no file.
// TRUE when the program chose the PDF file's name.
bool ChoosePrinter(const MCommandLineInfo& info, CPrinterSettings& printer) {
    if (info.m_nShellCommand == MCommandLineInfo::FilePrintTo) {
        if (EndsWithPdf(info.m_strPrinterName)) {
            printer.printerName.clear();
            printer.outputFile = info.m_strPrinterName;
        } else {
            printer.printerName = info.m_strPrinterName;
        }
        return false;
    }
    if (!printer.printerName.empty()) return false;
    printer.outputFile = FreePdfName(info.m_strFileName);
    return true;
}

}  // namespace

BOOL MTessarayApp::ProcessShellCommand(const MCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
        case MCommandLineInfo::FilePrint:
        case MCommandLineInfo::FilePrintTo:
            PrintFromCommandLine(info);
            return FALSE;
        case MCommandLineInfo::AppUnregister:
            UnregisterFromShell();
            return FALSE;
        default:
            break;
    }
    if (!info.m_strFileName.empty()) {
        if (!OpenDocumentFile(info.m_strFileName)) return FALSE;
    } else if (!NewFromPaperDialog(nullptr)) {
        // Cancelling the first paper dialog, or the Open dialog it led to, ends the program, as
        // does a chosen file that cannot be opened.
        return FALSE;
    }
    m_frame->DragAcceptFiles(TRUE);
    // The view shows the drawing whole in the window as it gets its size.
    m_frame->RestoreWindowPlacement(SW_SHOWNORMAL);
    return TRUE;
}

BOOL MTessarayApp::PrintFromCommandLine(const MCommandLineInfo& info) {
    // Failed until the page is out: an exception on the way must not end the program with 0.
    m_printFailed = true;
    // Nobody is there: questions take their defaults (the file's or the default paper, automatic
    // scale) and every message goes to standard error.
    const CUnattendedScope unattended("tessaray: ");
    const PrinterKept kept;
    // Before the open: the view takes its print area from the printer the drawing is printed on.
    const bool pdfNamedHere = ChoosePrinter(info, AfxGetPrinterSettings());
    if (!OpenDocumentFile(info.m_strFileName)) return FALSE;
    MTessarayView* view = GetView();
    if (!view || !view->OnFilePrint(TRUE)) return FALSE;
    m_printFailed = false;
    // Nobody asked for that name: whoever started the print learns where the pages went.
    if (pdfNamedHere)
        AfxMessageBox("PDFﾌｧｲﾙ \"" + AfxGetPrinterSettings().outputFile + "\" に印刷しました。",
                      MB_OK | MB_ICONINFORMATION);
    return TRUE;
}

void MTessarayApp::UnregisterFromShell() {
    const bool desktopFilesGone = UnregisterShellFileTypes(DrawingFileType());
    const bool profileGone = Unregister() != FALSE;
    m_unregisterStatus = desktopFilesGone && profileGone ? 0 : 1;
}

BOOL MTessarayApp::Unregister() {
    // The profile is the user's only once "Setting" was found at start.
    if (!m_pszRegistryKey.empty()) return RemoveUserProfile();
    return TRUE;
}

void MTessarayApp::OnHelp() {
    ShowProgramHelp();
}

void MTessarayApp::OnAbout() {
    CAboutDlg dialog(m_pMainWnd);
    dialog.DoModal();
}
