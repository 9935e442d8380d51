// The application: start-up (profile, program-wide tables, the tools, the one document with its
// main frame and view), the command line, the file commands of the single document, and the end.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/RecentFileList.h"
#include "platform/Document.h"
#include "platform/ui/WinApp.h"

class CCmdUI;
class MMainFrame;
struct ShellFileType;
class MTessarayDoc;
class MTessarayView;

class MTessarayApp : public CWinApp {
public:
    MTessarayApp();
    ~MTessarayApp() override;

    BOOL InitInstance() override;
    // The framework's code, or 1 after a print from the command line that did not print, or the
    // result of "Unregister": 0 when all it had to remove is gone, else 1.
    int ExitInstance() override;
    // Removes the profile (the settings file) and the company's folder when it is left empty;
    // FALSE when the settings file is still there.
    BOOL Unregister();

    // The program-wide objects, in start-up order: serializable classes (parts, then the view's
    // embedded objects included), line styles, paper tables and default paper, dimension formats,
    // the option record and the tools, the interchange readers and writers (DXF, then JW_CAD and
    // XDF in front of it) with their dialogs, and the view that draws part icons.
    static void InitProgram();
    // InitProgram in two: all that a drawing, its view and printing need, then the pictures of the
    // main window's attribute menus and combos.
    static void InitDrawingProgram();
    static void InitMenuPictures();
    // The document and its (hidden) main frame with the view.
    BOOL CreateMainWindow();
    // The document and a view that is never shown: all that printing from the command line needs.
    BOOL CreatePrintView();
    // The start's shell command on the created window: opens the file (or, without one, asks the
    // paper of a new drawing), then shows the window with its saved placement. Printing opens and
    // prints the file with nothing shown, and unregistering removes what the program left;
    // both answer FALSE, which ends the program.
    BOOL ProcessShellCommand(const MCommandLineInfo& info);

    // File commands. Each returns whether it did what it was asked.
    BOOL NewDocument();
    // Opens the file into the document; on failure the document's messages have been shown.
    BOOL OpenDocumentFile(const std::string& path);
    // What File > Open does with the chosen name: asks to save a modified drawing, then opens.
    // Also the road of the recent-file items and of files dropped on the main window.
    BOOL OpenFile(const std::string& path);
    BOOL SaveDocument();
    BOOL SaveDocumentAs();
    // Asks whether to save a modified document: FALSE when the user cancels (or saving failed).
    BOOL SaveModified();
    void OnFileOpen();
    // Asks whether to save a modified drawing, then the paper dialog (with its Open and Template
    // choices), then a new drawing on that paper.
    void OnFileNew();
    // The paper dialog and what it chose: a new drawing on the paper (from a template when chosen),
    // or the file chosen in the Open dialog. FALSE when it was cancelled or the file did not open.
    BOOL NewFromPaperDialog(CWnd* parent);
    // Opens a drawing as the start of a new, untitled one.
    void OpenTemplate();

    // Reads the recent-file list of maxFiles entries from the profile; from then on the document's
    // named paths join it and every change is written back.
    void LoadStdProfileSettings(std::size_t maxFiles = 4);
    // Null until LoadStdProfileSettings.
    const MRecentFileList* GetRecentFileList() const { return m_recentFiles.get(); }
    void AddToRecentFileList(const std::string& path);

    MTessarayDoc* GetDocument() const { return m_document.get(); }
    MMainFrame* GetMainFrame() const { return m_frame.get(); }
    MTessarayView* GetView() const;

    // Our drawings as the desktop should know them (the document string's type, the program's path).
    static ShellFileType DrawingFileType();

    // The program's arguments as the shell command they give.
    void ParseCommandLine(MCommandLineInfo& info) const { info.ParseCommandLine(m_args); }

private:
    // Opens the file and prints it on the printer the command line names (or the application's),
    // with nobody there: questions take their defaults, messages go to standard error and nothing
    // shows or waits. TRUE when the page was printed.
    BOOL PrintFromCommandLine(const MCommandLineInfo& info);
    // The Open dialog, then (after asking about a modified drawing when askToSave) the chosen file.
    // TRUE when it opened.
    BOOL OpenChosenFile(bool askToSave);
    // The desktop's file type and the program's profile go.
    void UnregisterFromShell();
    void UpdateTitle();
    BOOL DoSave(const std::string& path);
    void OnHelp();
    void OnAbout();
    // The print-setup dialog, then the view's page metrics from the (possibly new) printer.
    void OnFilePrintSetup();
    void OnOpenRecentFile(UINT id);
    // Shows the list in place of the first recent-file item (one disabled item when it is empty).
    void OnUpdateRecentFileMenu(CCmdUI* ui);

    std::unique_ptr<MTessarayDoc> m_document;
    std::unique_ptr<MMainFrame> m_frame;
    // The view of a print from the command line, which has no main frame.
    std::unique_ptr<MTessarayView> m_printView;
    // The exit status of "Unregister", -1 when it did not run.
    int m_unregisterStatus = -1;
    // A print from the command line failed (or never ran to its end).
    bool m_printFailed = false;
    std::unique_ptr<MRecentFileList> m_recentFiles;
    RecentFileHandler m_previousRecentHandler;
};
