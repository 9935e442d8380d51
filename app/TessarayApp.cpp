#include "app/TessarayApp.h"

#include <QCoreApplication>
#include <algorithm>
#include <sstream>

#include "app/FilePrompt.h"
#include "app/MainFrame.h"
#include "app/interchange/InterchangeDialogs.h"
#include "document/ClassRegistry.h"
#include "document/PaperSettings.h"
#include "document/TessarayDoc.h"
#include "document/parts/CadParts.h"
#include "interchange/InterchangeFactory.h"
#include "model/ClassRegistry.h"
#include "model/settings/LineStyle.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "platform/Profile.h"
#include "platform/ShellFileTypes.h"
#include "platform/StartupMarks.h"
#include "platform/Strings.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Menu.h"
#include "resources/ProgramIcon.h"
#include "resources/ResourceIds.h"
#include "tools/DrawToolArray.h"
#include "view/ClassRegistry.h"
#include "view/TessarayView.h"
#include "view/dialogs/PaperDialog.h"
#include "view/dialogs/PrintBWDialog.h"
#include "widgets/MenuBitmaps.h"

namespace {

// The view on which parts without a usable icon are drawn: the main window's view, when there is one.
MCadView* ActiveCadView() {
    auto* frame = dynamic_cast<MMainFrame*>(AfxGetMainWnd());
    return frame ? frame->GetView() : nullptr;
}

// All pages, the printer's own copies, no page numbers, no print-to-file, no selection (0x14000C).
constexpr DWORD kHidePrintToFile = 0x100000;
constexpr DWORD kPrintSetupFlags =
    PD_ALLPAGES | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOPAGENUMS | kHidePrintToFile | PD_NOSELECTION;
constexpr const char* kRegistryKey = "kel-vo";
// The File menu's stand-in while no file has been opened or saved.
constexpr const char* kRecentFilePlaceholder = "最近使ったファイル";
constexpr UINT kRecentFileCount = 4;
}  // namespace

MTessarayApp::MTessarayApp() : CWinApp("Tessaray") {
    CCommandMap& map = Commands();
    map.OnCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    map.OnCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    map.OnCommand(ID_FILE_SAVE, [this] { SaveDocument(); });
    map.OnCommand(ID_FILE_SAVE_AS, [this] { SaveDocumentAs(); });
    map.OnCommand(ID_HELP, [this] { OnHelp(); });
    map.OnCommand(ID_APP_ABOUT, [this] { OnAbout(); });
    map.OnCommand(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
    map.OnCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE1 + kRecentFileCount - 1,
                       [this](UINT id) { OnOpenRecentFile(id); });
    map.OnUpdate(ID_FILE_MRU_FILE1, [this](CCmdUI* ui) { OnUpdateRecentFileMenu(ui); });
}

MTessarayApp::~MTessarayApp() {
    if (m_recentFiles) AfxSetRecentFileHandler(std::move(m_previousRecentHandler));
    m_printView.reset();
    m_frame.reset();
    m_document.reset();
}

void MTessarayApp::InitProgram() {
    InitDrawingProgram();
    InitMenuPictures();
}

void MTessarayApp::InitDrawingProgram() {
    RegisterModelClasses();
    RegisterDocumentClasses();
    RegisterViewClasses();
    InitLineStyles();
    GetPaperSizeTable();
    GetPaperScaleTable();
    LoadDefaultPaper();
    ResetSizeFormats();
    CreateDrawTools();
    // DXF first: the JW_CAD and XDF factory puts itself in front of it and passes DXF on.
    InstallInterchangeFactory();
    InstallJWCXDFImportUi();
    InstallDXFImportUi();
    SetPartsViewProvider(ActiveCadView);
}

void MTessarayApp::InitMenuPictures() {
    // Drawn with the menu font: the first text measure of a start loads the font database.
    InitLineStyleBitmaps();
    InitColorSwatchBitmaps();
}

ShellFileType MTessarayApp::DrawingFileType() {
    // The document string: title, -, name, filter, extension, type id, type name.
    std::vector<std::string> fields;
    std::istringstream text(AfxLoadString(IDR_MAINFRAME));
    for (std::string field; std::getline(text, field, '\n');)
        fields.push_back(field);
    fields.resize(7);
    ShellFileType type;
    type.typeId = fields[5];
    type.fileName = "tessaray";
    type.appName = fields[2];
    type.description = fields[6];
    type.mimeType = "application/x-tessaray-document";
    type.extension = fields[4];
    type.magic = "$$TessarayText$$";
    type.command = QCoreApplication::applicationFilePath().toStdString();
    type.printAction = "印刷";
    type.iconSvg = std::string(ProgramIconSvg());
    return type;
}

BOOL MTessarayApp::InitInstance() {
    // Until the first start has finished, settings are read as their defaults.
    const bool settingFound = CreateUserProfile()->HasEntry("", "Setting") != FALSE;
    if (settingFound) SetRegistryKey(kRegistryKey);

    MCommandLineInfo info;
    ParseCommandLine(info);
    if (info.m_unregister) {
        UnregisterFromShell();
        return FALSE;
    }

    LoadStdProfileSettings(kRecentFileCount);
    InitDrawingProgram();
    AfxStartupMark("program");
    RegisterShellFileTypes(DrawingFileType());
    // A print from the command line shows nothing: it builds no main window, menus or bars.
    const bool printing = info.m_nShellCommand == MCommandLineInfo::FilePrint ||
                          info.m_nShellCommand == MCommandLineInfo::FilePrintTo;
    if (!printing) InitMenuPictures();
    if (!(printing ? CreatePrintView() : CreateMainWindow()) || !ProcessShellCommand(info)) return FALSE;
    if (!settingFound) {
        SetRegistryKey(kRegistryKey);
        AfxGetProfile().WriteProfileInt("", "Setting", 1);
    }
    return TRUE;
}

int MTessarayApp::ExitInstance() {
    m_printView.reset();
    m_frame.reset();
    m_document.reset();
    // Only a list that was read is written: after "Unregister" the profile must stay empty.
    if (m_recentFiles) m_recentFiles->WriteList(AfxGetProfile());
    const int code = CWinApp::ExitInstance();
    if (m_unregisterStatus >= 0) return m_unregisterStatus;
    return m_printFailed ? 1 : code;
}

BOOL MTessarayApp::CreateMainWindow() {
    m_document = std::make_unique<MTessarayDoc>();
    m_frame = std::make_unique<MMainFrame>();
    if (!m_frame->Create(m_document.get())) {
        m_frame.reset();
        return FALSE;
    }
    m_pMainWnd = m_frame.get();
    AfxStartupMark("window");
    return TRUE;
}

BOOL MTessarayApp::CreatePrintView() {
    m_document = std::make_unique<MTessarayDoc>();
    m_printView = std::make_unique<MTessarayView>();
    m_printView->SetDocument(m_document.get());
    if (!m_printView->Create(nullptr, AFX_IDW_PANE_FIRST)) {
        m_printView.reset();
        return FALSE;
    }
    PrintBlackWhite() = AfxGetProfile().GetProfileInt("PRINT", "BLACKWHITE", 0) ? 1 : 0;
    AfxStartupMark("window");
    return TRUE;
}

MTessarayView* MTessarayApp::GetView() const {
    return m_frame ? m_frame->GetView() : m_printView.get();
}

void MTessarayApp::UpdateTitle() {
    if (m_frame && m_document) m_frame->SetWindowText(m_document->GetTitle() + " - " + m_pszAppName);
}

BOOL MTessarayApp::NewDocument() {
    if (!m_document) return FALSE;
    if (!m_document->OnNewDocument()) return FALSE;
    if (MTessarayView* view = GetView()) view->OnInitialUpdate();
    UpdateTitle();
    return TRUE;
}

BOOL MTessarayApp::OpenDocumentFile(const std::string& path) {
    if (!m_document) return FALSE;
    // Everything before this is start-up.
    AfxStartupMark("ready");
    const BOOL opened = m_document->OnOpenDocument(path);
    if (opened) {
        m_document->SetPathName(path);
        m_document->SetModifiedFlag(FALSE);
    }
    // Also after a failure: an import may have changed the drawing before it gave up.
    if (MTessarayView* view = GetView()) view->OnInitialUpdate();
    UpdateTitle();
    return opened;
}

void MTessarayApp::OnFileNew() {
    // The drawing that goes is asked about before anything of the new one: cancelling leaves it
    // and the default paper as they were.
    if (!SaveModified()) return;
    NewFromPaperDialog(m_pMainWnd);
}

BOOL MTessarayApp::NewFromPaperDialog(CWnd* parent) {
    // Its OK stores the default paper that the new drawing takes.
    MPaperSetupDialog paper(parent, 0, TRUE, TRUE);
    if (paper.DoModal() != IDOK) return FALSE;
    // Open makes no new drawing: the chosen file replaces the old one.
    if (paper.m_choice == MPaperSetupDialog::kChoiceOpen) return OpenChosenFile(false);
    if (!NewDocument()) return FALSE;
    if (paper.m_choice == MPaperSetupDialog::kChoiceTemplate) OpenTemplate();
    return TRUE;
}

void MTessarayApp::OpenTemplate() {
    std::string path;
    if (!PromptTemplateName(path)) return;  // the new empty drawing stays
    // The drawing starts from the file but is a new one: untitled, so saving asks for a name.
    if (m_document->OnOpenDocument(path)) {
        m_document->ClearPathName();
        m_document->SetModifiedFlag(FALSE);
        RememberTemplate(path);
    }
    if (MTessarayView* view = GetView()) view->OnInitialUpdate();
    UpdateTitle();
}

void MTessarayApp::OnFileOpen() {
    OpenChosenFile(true);
}

BOOL MTessarayApp::OpenChosenFile(bool askToSave) {
    std::string path;
    if (!PromptFileName(true, path)) return FALSE;
    if (askToSave && !SaveModified()) return FALSE;
    if (!OpenDocumentFile(path)) return FALSE;
    // Only a file that opened is where the next dialog starts.
    RememberOpenedFile(path);
    return TRUE;
}

BOOL MTessarayApp::OpenFile(const std::string& path) {
    if (!SaveModified()) return FALSE;
    return OpenDocumentFile(path);
}

void MTessarayApp::LoadStdProfileSettings(std::size_t maxFiles) {
    if (!m_recentFiles)
        m_previousRecentHandler =
            AfxSetRecentFileHandler([this](const std::string& path) { AddToRecentFileList(path); });
    m_recentFiles = std::make_unique<MRecentFileList>(std::min<std::size_t>(maxFiles, kRecentFileCount));
    m_recentFiles->ReadList(AfxGetProfile());
}

void MTessarayApp::AddToRecentFileList(const std::string& path) {
    if (!m_recentFiles) return;
    m_recentFiles->Add(path);
    m_recentFiles->WriteList(AfxGetProfile());
}

void MTessarayApp::OnOpenRecentFile(UINT id) {
    if (!m_recentFiles) return;
    const std::size_t index = id - ID_FILE_MRU_FILE1;
    if (index >= m_recentFiles->GetSize()) return;
    // By name: saving the modified drawing first may reorder the list.
    const std::string path = (*m_recentFiles)[index];
    if (!SaveModified()) return;
    if (OpenDocumentFile(path)) return;
    // The failure has been reported; a file that cannot be opened leaves the list.
    if (m_recentFiles->Remove(path)) m_recentFiles->WriteList(AfxGetProfile());
}

void MTessarayApp::OnUpdateRecentFileMenu(CCmdUI* ui) {
    const std::size_t count = m_recentFiles ? m_recentFiles->GetSize() : 0;
    // Decided before the items change, so the request never touches a replaced item.
    ui->Enable(count > 0);
    CMenu* menu = ui->m_pMenu;
    if (!menu) return;
    for (UINT id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE16; ++id)
        while (menu->DeleteMenu(id, MF_BYCOMMAND)) {
        }
    const UINT at = ui->m_nIndex;
    if (count == 0) {
        menu->InsertMenu(at, MF_BYPOSITION | MF_STRING | MF_GRAYED, ID_FILE_MRU_FILE1,
                         kRecentFilePlaceholder);
        return;
    }
    for (std::size_t i = 0; i < count; ++i)
        menu->InsertMenu(at + static_cast<UINT>(i), MF_BYPOSITION | MF_STRING,
                         ID_FILE_MRU_FILE1 + static_cast<UINT>(i), m_recentFiles->GetMenuText(i));
}

BOOL MTessarayApp::DoSave(const std::string& path) {
    // The drawing's own file clears the modified flag; an export (DXF, JW_CAD, metafile) leaves
    // it, so the drawing is still asked about before it goes.
    if (!m_document->OnSaveDocument(path)) return FALSE;
    m_document->SetPathName(path);
    UpdateTitle();
    return TRUE;
}

BOOL MTessarayApp::SaveDocument() {
    if (!m_document) return FALSE;
    const std::string& path = m_document->GetPathName();
    if (path.empty()) return SaveDocumentAs();
    return DoSave(path);
}

BOOL MTessarayApp::SaveDocumentAs() {
    if (!m_document) return FALSE;
    std::string path = m_document->GetPathName().empty() ? m_document->GetTitle() : m_document->GetPathName();
    if (!PromptFileName(false, path)) return FALSE;
    return DoSave(path);
}

BOOL MTessarayApp::SaveModified() {
    if (!m_document || !m_document->IsModified()) return TRUE;
    const std::string name =
        m_document->GetPathName().empty() ? m_document->GetTitle() : m_document->GetPathName();
    switch (AfxMessageBox(AfxFormatString1(IDS_ASK_TO_SAVE, name), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
        case IDCANCEL:
            return FALSE;
        case IDYES:
            return SaveDocument();
        default:
            return TRUE;
    }
}

void MTessarayApp::OnFilePrintSetup() {
    MPrintBWDialog dialog(TRUE, kPrintBWDialogFlags, m_pMainWnd);
    dialog.DoModal();
    // Whatever the answer: the printer or its paper may have changed meanwhile.
    auto* frame = dynamic_cast<MMainFrame*>(m_pMainWnd);
    auto* view = frame ? dynamic_cast<MTessarayView*>(frame->GetActiveView()) : nullptr;
    if (!view) return;
    view->OnPrinterChanged();
    if (m_document) m_document->UpdateAllViews(nullptr);
}
