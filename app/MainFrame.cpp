#include "app/MainFrame.h"

#include <QMainWindow>
#include <QStatusBar>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

#include "app/TessarayApp.h"
#include "document/PaperSettings.h"
#include "interchange/DxfImportUi.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/CadShape.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/WinApp.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"

namespace {

constexpr UINT kFrameResource = 128;
constexpr UINT kZoomBarResource = 187;
constexpr UINT kIdsFileBarTitle = 62769;
constexpr UINT kIdsZoomList = 62786;
constexpr UINT kIdsZoomDefault = 62787;
constexpr UINT kViewId = 59648;  // the first pane of a frame
constexpr int kZoomComboButton = 5;
constexpr double kMaxZoomPercent = 1e7;
constexpr int kWindowPlacementFields = 10;
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

// Ten integers separated by commas; false for anything else.
bool ParsePlacement(const std::string& text, long long (&v)[kWindowPlacementFields]) {
    const std::vector<std::string> parts = [&] {
        std::vector<std::string> p;
        std::string part;
        std::istringstream in(text);
        while (std::getline(in, part, ','))
            p.push_back(Trim(part));
        return p;
    }();
    if (parts.size() != kWindowPlacementFields) return false;
    for (int i = 0; i < kWindowPlacementFields; ++i) {
        const std::string& s = parts[static_cast<std::size_t>(i)];
        if (s.empty()) return false;
        std::size_t used = 0;
        try {
            v[i] = std::stoll(s, &used);
        } catch (...) {
            return false;
        }
        if (used != s.size()) return false;
    }
    return true;
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
}

MMainFrame::~MMainFrame() {
    m_view.reset();
}

BOOL MMainFrame::Create(MTessarayDoc* doc) {
    if (!LoadFrame(kFrameResource)) return FALSE;
    QWidget* window = GetWidget();
    window->resize(1024, 768);
    long long v[kWindowPlacementFields];
    if (ParsePlacement(AfxGetProfile().GetProfileString("Settings", "WindowPos"), v) && v[8] > v[6] &&
        v[9] > v[7])
        window->setGeometry(static_cast<int>(v[6]), static_cast<int>(v[7]), static_cast<int>(v[8] - v[6]),
                            static_cast<int>(v[9] - v[7]));

    if (!m_statusBar.Create(this) ||
        !m_statusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators))))
        return FALSE;
    if (!m_fileBar.Create(this) ||
        !m_fileBar.SetButtons(kFileButtons, static_cast<int>(std::size(kFileButtons))))
        return FALSE;
    m_fileBar.SetWindowText(AfxLoadString(kIdsFileBarTitle));
    if (!m_zoomBar.Create(this, kZoomBarResource) ||
        !m_zoomBar.SetButtons(kZoomButtons, static_cast<int>(std::size(kZoomButtons))))
        return FALSE;
    m_zoomBar.SetWindowText(AfxLoadString(kZoomBarResource));
    if (!m_zoomCombo.Create(CBS_DROPDOWN, &m_zoomBar, ID_ZOOM_COMBO)) return FALSE;
    m_zoomBar.SetButtonControl(kZoomComboButton, &m_zoomCombo);
    if (QWidget* combo = m_zoomCombo.GetWidget()) combo->setMinimumWidth(80);
    // Any zoom the view can reach is shown; the view itself refuses the steps past its limit.
    m_zoomCombo.SetMaximum(kMaxZoomPercent);
    for (const std::string& item : SplitCommas(AfxLoadString(kIdsZoomList)))
        m_zoomCombo.AddString(item);
    std::string zoom = Trim(AfxGetProfile().GetProfileString("ZOOM", "ZOOMPERCENT"));
    if (zoom.empty()) zoom = AfxLoadString(kIdsZoomDefault);
    m_zoomCombo.SetValue(AtoF(zoom));

    m_view = std::make_unique<MTessarayView>();
    m_view->SetDocument(doc);
    if (!m_view->Create(this, kViewId)) return FALSE;
    SetCentralWindow(m_view->GetFrameWindow());
    SetActiveView(m_view.get());

    PrintBlackWhite = AfxGetProfile().GetProfileInt("PRINT", "BLACKWHITE", 0) ? 1 : 0;
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
    long long v[kWindowPlacementFields];
    if (!ParsePlacement(AfxGetProfile().GetProfileString("Settings", "WindowPos"), v)) {
        ShowWindow(showCommand);
        return;
    }
    if (v[8] > v[6] && v[9] > v[7])
        window->setGeometry(static_cast<int>(v[6]), static_cast<int>(v[7]), static_cast<int>(v[8] - v[6]),
                            static_cast<int>(v[9] - v[7]));
    const int show =
        (showCommand == -1 || showCommand == SW_SHOWNORMAL) ? static_cast<int>(v[1]) : showCommand;
    ShowWindow(show == SW_SHOWMINIMIZED || show == SW_SHOWMAXIMIZED ? show : SW_SHOWNORMAL);
}

std::string MMainFrame::FormatWindowPlacement() const {
    QWidget* window = GetWidget();
    if (!window) return std::string();
    const bool maximised = window->isMaximized();
    const bool minimised = window->isMinimized();
    const QRect normal = (maximised || minimised) ? window->normalGeometry() : window->geometry();
    const unsigned flags = maximised ? WPF_RESTORETOMAXIMIZED : 0;
    const unsigned show = maximised ? SW_SHOWMAXIMIZED : minimised ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    char text[160];
    std::snprintf(text, sizeof text, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", flags, show, -1, -1, -1, -1,
                  normal.left(), normal.top(), normal.left() + normal.width(),
                  normal.top() + normal.height());
    return text;
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
    profile.WriteProfileInt("PRINT", "BLACKWHITE", PrintBlackWhite);
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
