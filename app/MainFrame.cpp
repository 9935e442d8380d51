#include "app/MainFrame.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStatusBar>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <sstream>
#include <vector>

#include "app/HelpPage.h"
#include "app/TessarayApp.h"
#include "app/WindowPlacement.h"
#include "document/PaperSettings.h"
#include "document/ToolSettings.h"
#include "interchange/DxfImportUi.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/CadShape.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/KeyLocks.h"
#include "platform/ui/SvgPicture.h"
#include "platform/ui/WinApp.h"
#include "resources/ProgramIcon.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"
#include "view/dialogs/PrintBWDialog.h"

namespace {

constexpr UINT WPF_RESTORETOMAXIMIZED = 2;

const UINT kIndicators[] = {ID_SEPARATOR,      ID_INDICATOR_POSITION, ID_INDICATOR_OFFSET, ID_INDICATOR_KANA,
                            ID_INDICATOR_CAPS, ID_INDICATOR_NUM,      ID_INDICATOR_SCRL};

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
    const std::vector<CRect> areas = ScreenAreas(window);
    std::optional<CRect> r = p->FitToScreens(areas);
    if (!r) return p;
    // The window is never smaller than its bars need: that size must fit on the screen too.
    const QSize least = window->minimumSizeHint();
    if (r->Width() < least.width() || r->Height() < least.height()) {
        MWindowPlacement grown = *p;
        grown.normal = CRect(r->left, r->top, r->left + std::max<int>(r->Width(), least.width()),
                             r->top + std::max<int>(r->Height(), least.height()));
        if (const std::optional<CRect> fitted = grown.FitToScreens(areas)) r = fitted;
    }
    window->setGeometry(r->left, r->top, r->Width(), r->Height());
    return p;
}

}  // namespace

MMainFrame::MMainFrame() {
    CCommandMap& map = Commands();
    // A lock pane shows its text while the lock is on; an unknown state leaves it blank.
    const std::pair<UINT, KeyLock> locks[] = {{ID_INDICATOR_KANA, KeyLock::Kana},
                                              {ID_INDICATOR_CAPS, KeyLock::Caps},
                                              {ID_INDICATOR_NUM, KeyLock::Num},
                                              {ID_INDICATOR_SCRL, KeyLock::Scroll}};
    for (const auto& entry : locks) {
        const KeyLock lock = entry.second;
        map.OnUpdate(entry.first,
                     [lock](CCmdUI* ui) { ui->Enable(AfxGetKeyLockState(lock) == KeyLockState::On); });
    }
    map.OnCommand(
        ID_VIEW_STATUS_BAR,
        [this] {
            if (QWidget* bar = m_statusBar.GetWidget()) bar->setVisible(bar->isHidden());
        },
        [this](CCmdUI* ui) {
            QWidget* bar = m_statusBar.GetWidget();
            ui->SetCheck(bar && !bar->isHidden() ? 1 : 0);
        });
    map.OnCommand(
        ID_VIEW_TOOLBAR, [this] { OnToolbarDialog(); }, [](CCmdUI* ui) { ui->Enable(TRUE); });
    // The print dialog for its black-and-white box; Cancel keeps the flag.
    map.OnCommand(ID_PRINT_SETTINGS, [this] {
        MPrintBWDialog dialog(FALSE, kPrintBWDialogFlags, this);
        dialog.DoModal();
    });
    map.OnCommand(ID_HELP_FINDER, [] { ShowProgramHelp(); });
    RegisterPartsCommands();
}

MMainFrame::~MMainFrame() {
    if (GetAttributeControls() == this) SetAttributeControls(nullptr);
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
    if (!CreateToolBars() || !CreateControls()) return FALSE;
    SetControlFont();
    if (!CreatePartsBar()) return FALSE;
    DockToolBars();
    if (m_partsDockable)
        m_partsBar.Dock();
    else
        m_partsBar.Float(CPoint(window->x() + 40, window->y() + 80));
    PatchMenu();
    MDrawAttributes& attributes = GetDrawAttributes();
    const UINT presets[] = {ID_WIDTH_THIN, ID_WIDTH_MEDIUM, ID_WIDTH_THICK};
    for (std::size_t i = 0; i < std::size(presets); ++i)
        attributes.presetWidths[i] = AtoF(AfxLoadString(presets[i]));
    RestoreBarState();
    FillControls();
    ReadFontSettings();

    m_view = std::make_unique<MTessarayView>();
    m_view->SetDocument(doc);
    if (!m_view->Create(this, AFX_IDW_PANE_FIRST)) return FALSE;
    SetCentralWindow(m_view->GetFrameWindow());
    SetActiveView(m_view.get());
    SetAttributeControls(this);
    AcceptPartsDrags();

    DrawMenuBar();
    PrintBlackWhite() = AfxGetProfile().GetProfileInt("PRINT", "BLACKWHITE", 0) ? 1 : 0;
    AfxGetProfile().WriteProfileInt("INIT", "SETTING", 1);
    return TRUE;
}

double MMainFrame::GetZoomPercent() {
    const double v = RoundTo(m_zoomCombo.GetValue(), -2);
    return v < 1.0 ? 1.0 : std::floor(v);
}

void MMainFrame::SetZoomPercent(double percent) {
    const double shown = percent < 1.0 || !std::isfinite(percent) ? 1.0 : std::floor(percent);
    m_zoomCombo.SetValue(shown);
    // The box takes at most 1000 % typed, but zoom steps go further: it still shows the zoom in
    // force, never the last one it took.
    if (!m_zoomCombo.IsValid(shown)) m_zoomCombo.SetWindowText(FormatG(shown, 17));
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
    SaveBarState("ToolBar", ToolBarLayoutVersion());
    SaveWindowPlacement();
    SaveDefaultPaper();
    GetOptionRecord().SaveOptions();
    CProfile& profile = AfxGetProfile();
    const MDrawAttributes& attributes = GetDrawAttributes();
    profile.WriteProfileString("FONT", "FONTNAME", attributes.fontName);
    char size[32];
    const auto written =
        std::to_chars(size, size + sizeof size, attributes.fontSize, std::chars_format::general, 6);
    profile.WriteProfileString("FONT", "FONTSIZE", std::string(size, written.ptr));
    profile.WriteProfileInt("ToolBar", "PartsDialog", m_partsDockable ? 1 : 0);
    m_partsBar.SavePartsLists();
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
