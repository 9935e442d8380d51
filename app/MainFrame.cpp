#include "app/MainFrame.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStatusBar>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <optional>
#include <sstream>
#include <vector>

#include "app/HelpPage.h"
#include "app/TessarayApp.h"
#include "app/WindowPlacement.h"
#include "document/PaperSettings.h"
#include "interchange/DxfImportUi.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/CadShape.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/SvgPicture.h"
#include "platform/ui/WinApp.h"
#include "resources/ProgramIcon.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"
#include "view/dialogs/PrintBWDialog.h"

namespace {

constexpr int kZoomComboButton = 5;
constexpr double kMaxZoomPercent = 1e7;
constexpr UINT WPF_RESTORETOMAXIMIZED = 2;

const UINT kIndicators[] = {ID_SEPARATOR,      ID_INDICATOR_POSITION, ID_INDICATOR_OFFSET, ID_INDICATOR_KANA,
                            ID_INDICATOR_CAPS, ID_INDICATOR_NUM,      ID_INDICATOR_SCRL};
const UINT kFileButtons[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE};
const UINT kZoomButtons[] = {ID_ZOOM_IN, ID_ZOOM_OUT, ID_ZOOM_ALL, ID_TOOL_ZOOM, ID_SEPARATOR, ID_ZOOM_COMBO};

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, ','))
        if (!part.empty()) parts.push_back(part);
    return parts;
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return std::string();
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// The available areas of the screens present for the window's inside, the primary first: the
// window's frame must fit on the screen too.
std::vector<CRect> ScreenAreas(QWidget* window) {
    const QMargins frame = window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
    std::vector<CRect> areas;
    QList<QScreen*> screens = QGuiApplication::screens();
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        screens.removeAll(primary);
        screens.prepend(primary);
    }
    for (QScreen* screen : screens) {
        const QRect r = screen->availableGeometry().marginsRemoved(frame);
        areas.emplace_back(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    }
    return areas;
}

// The saved placement, when there is one; its rectangle is brought onto the screens.
std::optional<MWindowPlacement> SavedPlacement(QWidget* window) {
    std::optional<MWindowPlacement> p =
        MWindowPlacement::Parse(AfxGetProfile().GetProfileString("Settings", "WindowPos"));
    if (!p) return p;
    if (const std::optional<CRect> r = p->FitToScreens(ScreenAreas(window)))
        window->setGeometry(r->left, r->top, r->Width(), r->Height());
    return p;
}

}  // namespace

MMainFrame::MMainFrame() {
    CCommandMap& map = Commands();
    map.OnUpdate(ID_INDICATOR_KANA, [](CCmdUI* ui) { ui->Enable(FALSE); });
    // The lock keys' states are not available from the window system: the panes stay blank.
    map.OnUpdate(ID_INDICATOR_CAPS, [](CCmdUI* ui) { ui->Enable(FALSE); });
    map.OnUpdate(ID_INDICATOR_NUM, [](CCmdUI* ui) { ui->Enable(FALSE); });
    map.OnUpdate(ID_INDICATOR_SCRL, [](CCmdUI* ui) { ui->Enable(FALSE); });
    map.OnCommand(
        ID_VIEW_STATUS_BAR,
        [this] {
            if (QWidget* bar = m_statusBar.GetWidget()) bar->setVisible(bar->isHidden());
        },
        [this](CCmdUI* ui) {
            QWidget* bar = m_statusBar.GetWidget();
            ui->SetCheck(bar && !bar->isHidden() ? 1 : 0);
        });
    // The toolbar dialog comes with the frame's bar commands.
    map.OnUpdate(ID_VIEW_TOOLBAR, [](CCmdUI* ui) { ui->Enable(FALSE); });
    // The print dialog for its black-and-white box; Cancel keeps the flag.
    map.OnCommand(ID_PRINT_SETTINGS, [this] {
        MPrintBWDialog dialog(FALSE, kPrintBWDialogFlags, this);
        dialog.DoModal();
    });
    map.OnCommand(ID_HELP_FINDER, [] { ShowProgramHelp(); });
}

MMainFrame::~MMainFrame() {
    m_view.reset();
}

BOOL MMainFrame::Create(MTessarayDoc* doc) {
    if (!LoadFrame(IDR_MAINFRAME)) return FALSE;
    AfxSetWindowIcon(this, ProgramIconSvg());
    QWidget* window = GetWidget();
    window->resize(1024, 768);
    SavedPlacement(window);

    if (!m_statusBar.Create(this) ||
        !m_statusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators))))
        return FALSE;
    if (!m_fileBar.Create(this) ||
        !m_fileBar.SetButtons(kFileButtons, static_cast<int>(std::size(kFileButtons))))
        return FALSE;
    m_fileBar.SetWindowText(AfxLoadString(IDS_FILE_BAR_TITLE));
    if (!m_zoomBar.Create(this, IDR_ZOOM_BAR) ||
        !m_zoomBar.SetButtons(kZoomButtons, static_cast<int>(std::size(kZoomButtons))))
        return FALSE;
    m_zoomBar.SetWindowText(AfxLoadString(IDR_ZOOM_BAR));
    if (!m_zoomCombo.Create(CBS_DROPDOWN, &m_zoomBar, ID_ZOOM_COMBO)) return FALSE;
    m_zoomBar.SetButtonControl(kZoomComboButton, &m_zoomCombo);
    if (QWidget* combo = m_zoomCombo.GetWidget()) combo->setMinimumWidth(80);
    // Any zoom the view can reach is shown; the view itself refuses the steps past its limit.
    m_zoomCombo.SetMaximum(kMaxZoomPercent);
    for (const std::string& item : SplitCommas(AfxLoadString(IDS_ZOOM_LIST)))
        m_zoomCombo.AddString(item);
    std::string zoom = Trim(AfxGetProfile().GetProfileString("ZOOM", "ZOOMPERCENT"));
    if (zoom.empty()) zoom = AfxLoadString(IDS_ZOOM_DEFAULT);
    m_zoomCombo.SetValue(AtoF(zoom));

    m_view = std::make_unique<MTessarayView>();
    m_view->SetDocument(doc);
    if (!m_view->Create(this, AFX_IDW_PANE_FIRST)) return FALSE;
    SetCentralWindow(m_view->GetFrameWindow());
    SetActiveView(m_view.get());

    PrintBlackWhite() = AfxGetProfile().GetProfileInt("PRINT", "BLACKWHITE", 0) ? 1 : 0;
    AfxGetProfile().WriteProfileInt("INIT", "SETTING", 1);
    return TRUE;
}

double MMainFrame::GetZoomPercent() {
    const double v = RoundTo(m_zoomCombo.GetValue(), -2);
    return v < 1.0 ? 1.0 : std::floor(v);
}

void MMainFrame::SetZoomPercent(double percent) {
    m_zoomCombo.SetValue(percent < 1.0 || !std::isfinite(percent) ? 1.0 : std::floor(percent));
}

void MMainFrame::RestoreWindowPlacement(int showCommand) {
    QWidget* window = GetWidget();
    if (!window) return;
    const std::optional<MWindowPlacement> p = SavedPlacement(window);
    if (!p) {
        ShowWindow(showCommand);
        return;
    }
    const int show = (showCommand == -1 || showCommand == SW_SHOWNORMAL) ? p->showCommand : showCommand;
    ShowWindow(show == SW_SHOWMINIMIZED || show == SW_SHOWMAXIMIZED ? show : SW_SHOWNORMAL);
}

std::string MMainFrame::FormatWindowPlacement() const {
    QWidget* window = GetWidget();
    if (!window) return std::string();
    const bool maximised = window->isMaximized();
    const bool minimised = window->isMinimized();
    const QRect normal = (maximised || minimised) ? window->normalGeometry() : window->geometry();
    MWindowPlacement p;
    p.flags = maximised ? WPF_RESTORETOMAXIMIZED : 0;
    p.showCommand = maximised ? SW_SHOWMAXIMIZED : minimised ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    p.normal =
        CRect(normal.left(), normal.top(), normal.left() + normal.width(), normal.top() + normal.height());
    return p.Format();
}

void MMainFrame::SaveWindowPlacement() const {
    AfxGetProfile().WriteProfileString("Settings", "WindowPos", FormatWindowPlacement());
}

void MMainFrame::SaveSettings() {
    SaveWindowPlacement();
    SaveDefaultPaper();
    GetOptionRecord().SaveOptions();
    CProfile& profile = AfxGetProfile();
    profile.WriteProfileInt("VERSION", "TOOLBAR", 2);
    profile.WriteProfileInt("PRINT", "BLACKWHITE", PrintBlackWhite());
    profile.WriteProfileInt("INIT", "SETTING", 1);
}

void MMainFrame::OnClose() {
    if (IsDXFImportPumping()) return;
    auto* app = dynamic_cast<MTessarayApp*>(AfxGetApp());
    if (app && !app->SaveModified()) return;
    SaveSettings();
    CFrameWnd::OnClose();
}

void MMainFrame::OnDropFiles(const std::vector<std::string>& paths) {
    if (paths.empty() || IsDXFImportPumping()) return;
    if (QWidget* window = GetWidget()) window->activateWindow();
    if (auto* app = dynamic_cast<MTessarayApp*>(AfxGetApp())) app->OpenFile(paths.front());
}

BOOL MMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (IsDXFImportPumping()) {
        // Menus, accelerators, bars and controls all come through here: disabled, and taken
        // without running.
        if (nCode == CN_UPDATE_COMMAND_UI && pExtra) static_cast<CCmdUI*>(pExtra)->Enable(FALSE);
        return pHandlerInfo ? FALSE : TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
