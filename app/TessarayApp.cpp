#include "app/TessarayApp.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>
#include <cctype>
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
#include "platform/Strings.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Menu.h"
#include "resources/ResourceIds.h"
#include "tools/DrawToolArray.h"
#include "tools/controls/MenuBitmaps.h"
#include "view/ClassRegistry.h"
#include "view/TessarayView.h"
#include "view/dialogs/PaperDialog.h"
#include "view/dialogs/PrintBWDialog.h"

namespace {
constexpr UINT kIdsAskToSave = 61725;

// The view on which parts without a usable icon are drawn: the main window's view, when there is one.
MCadView* ActiveCadView() {
    auto* frame = dynamic_cast<MMainFrame*>(AfxGetMainWnd());
    return frame ? frame->GetView() : nullptr;
}

constexpr UINT ID_HELP = 33080;
// All pages, the printer's own copies, no page numbers, no print-to-file, no selection (0x14000C).
constexpr DWORD kHidePrintToFile = 0x100000;
constexpr DWORD kPrintSetupFlags =
    PD_ALLPAGES | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOPAGENUMS | kHidePrintToFile | PD_NOSELECTION;
constexpr const char* kRegistryKey = "kel-vo";
constexpr UINT kIdrDocument = 128;
// The File menu's stand-in while no file has been opened or saved.
constexpr const char* kRecentFilePlaceholder = "最近使ったファイル";
constexpr UINT kRecentFileCount = 4;
// The switches the program knows, written after "/" or "-".
constexpr const char* kSwitchWords[] = {"Unregister", "p",          "pt",        "dde",
                                        "Embedding",  "Automation", "RegServer", "UnregServer"};

bool EqualsNoCase(const std::string& a, const char* b) {
    const std::string other(b);
    return a.size() == other.size() && std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}
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
    m_frame.reset();
    m_document.reset();
}

void MTessarayApp::InitProgram() {
    RegisterModelClasses();
    RegisterDocumentClasses();
    RegisterViewClasses();
    InitLineStyles();
    InitLineStyleBitmaps();
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

bool MTessarayApp::IsCommandLineSwitch(const std::string& arg) {
    if (arg.size() < 2) return false;
    if (arg[0] == '-') return true;
    // "/" also begins every absolute path: only the switch words themselves are switches.
    if (arg[0] != '/') return false;
    const std::string word = arg.substr(1);
    for (const char* known : kSwitchWords)
        if (EqualsNoCase(word, known)) return true;
    return false;
}

void MTessarayApp::ParseCommandLine(const std::vector<std::string>& args, std::string& file,
                                    bool& unregister) {
    file.clear();
    unregister = false;
    for (const std::string& a : args) {
        if (IsCommandLineSwitch(a)) {
            if (a.substr(1) == "Unregister") unregister = true;
            continue;
        }
        if (file.empty()) file = a;
    }
}

ShellFileType MTessarayApp::DrawingFileType() {
    // The document string: title, -, name, filter, extension, type id, type name.
    std::vector<std::string> fields;
    std::istringstream text(AfxLoadString(kIdrDocument));
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
    return type;
}

BOOL MTessarayApp::InitInstance() {
    // Until the first start has finished, settings are read as their defaults.
    const bool settingFound = CreateUserProfile()->HasEntry("", "Setting") != FALSE;
    if (settingFound) SetRegistryKey(kRegistryKey);

    std::string file;
    bool unregister = false;
    ParseCommandLine(m_args, file, unregister);
    if (unregister) {
        UnregisterShellFileTypes(DrawingFileType());
        if (settingFound) AfxGetProfile().DeleteAll();
        m_unregisterResult = 1;
        return FALSE;
    }

    LoadStdProfileSettings(kRecentFileCount);
    InitProgram();
    RegisterShellFileTypes(DrawingFileType());
    if (!CreateMainWindow() || !ProcessShellCommand(file)) return FALSE;
    if (!settingFound) {
        SetRegistryKey(kRegistryKey);
        AfxGetProfile().WriteProfileInt("", "Setting", 1);
    }
    return TRUE;
}

BOOL MTessarayApp::ProcessShellCommand(const std::string& file) {
    if (!file.empty()) {
        if (!OpenDocumentFile(file)) return FALSE;
    } else {
        // A new drawing starts with its paper; cancelling the first paper dialog ends the program.
        MPaperSetupDialog paper(nullptr, 0, TRUE, TRUE);
        if (paper.DoModal() != IDOK || !NewDocument()) return FALSE;
        if (paper.m_choice == MPaperSetupDialog::kChoiceOpen) OnFileOpen();
        if (paper.m_choice == MPaperSetupDialog::kChoiceTemplate) OpenTemplate();
    }
    m_frame->DragAcceptFiles(TRUE);
    // The view shows the drawing whole in the window as it gets its size.
    m_frame->RestoreWindowPlacement(SW_SHOWNORMAL);
    return TRUE;
}

int MTessarayApp::ExitInstance() {
    m_frame.reset();
    m_document.reset();
    // Only a list that was read is written: after "Unregister" the profile must stay empty.
    if (m_recentFiles) m_recentFiles->WriteList(AfxGetProfile());
    return CWinApp::ExitInstance();
}

BOOL MTessarayApp::CreateMainWindow() {
    m_document = std::make_unique<MTessarayDoc>();
    m_frame = std::make_unique<MMainFrame>();
    if (!m_frame->Create(m_document.get())) {
        m_frame.reset();
        return FALSE;
    }
    m_pMainWnd = m_frame.get();
    return TRUE;
}

MTessarayView* MTessarayApp::GetView() const {
    return m_frame ? m_frame->GetView() : nullptr;
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
    // The paper comes first: its OK stores the default paper that the new drawing takes.
    MPaperSetupDialog paper(m_pMainWnd, 0, TRUE, TRUE);
    if (paper.DoModal() != IDOK) return;
    if (paper.m_choice == MPaperSetupDialog::kChoiceOpen) {
        OnFileOpen();
        return;
    }
    if (!SaveModified() || !NewDocument()) return;
    if (paper.m_choice == MPaperSetupDialog::kChoiceTemplate) OpenTemplate();
}

void MTessarayApp::OpenTemplate() {
    std::string path;
    if (!PromptTemplateName(path)) return;  // the new empty drawing stays
    // The drawing starts from the file but is a new one: untitled, so saving asks for a name.
    if (m_document->OnOpenDocument(path)) {
        m_document->ClearPathName();
        m_document->SetModifiedFlag(FALSE);
    }
    if (MTessarayView* view = GetView()) view->OnInitialUpdate();
    UpdateTitle();
}

void MTessarayApp::OnFileOpen() {
    std::string path;
    if (!PromptFileName(true, path)) return;
    OpenFile(path);
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
    if (!m_document->OnSaveDocument(path)) return FALSE;
    m_document->SetPathName(path);
    m_document->SetModifiedFlag(FALSE);
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
    switch (AfxMessageBox(AfxFormatString1(kIdsAskToSave, name), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
        case IDCANCEL:
            return FALSE;
        case IDYES:
            return SaveDocument();
        default:
            return TRUE;
    }
}

void MTessarayApp::OnHelp() {
    // The program's own path with ".htm"; a missing file is not reported.
    const QString program = QCoreApplication::applicationFilePath();
    const QFileInfo info(program);
    const QString help =
        info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".htm");
    if (QFileInfo::exists(help)) QDesktopServices::openUrl(QUrl::fromLocalFile(help));
}

void MTessarayApp::OnAbout() {
    AfxMessageBox(m_pszAppName + " Version 0.1", MB_OK | MB_ICONINFORMATION);
}

void MTessarayApp::OnFilePrintSetup() {
    MPrintBWDialog dialog(TRUE, kPrintSetupFlags, m_pMainWnd);
    dialog.DoModal();
    // Whatever the answer: the printer or its paper may have changed meanwhile.
    auto* frame = dynamic_cast<MMainFrame*>(m_pMainWnd);
    auto* view = frame ? dynamic_cast<MTessarayView*>(frame->GetActiveView()) : nullptr;
    if (!view) return;
    view->OnPrinterChanged();
    if (m_document) m_document->UpdateAllViews(nullptr);
}
