#include "platform/ui/FrameWnd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

#include "platform/Strings.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/Idle.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/ToolBar.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/detail/MenuQt.h"
#include "platform/ui/detail/WndImpl.h"
#include "resources/ResourceFormats.h"

namespace {

std::vector<CFrameWnd*>& Frames() {
    static std::vector<CFrameWnd*> frames;
    return frames;
}

// The close box asks the frame (OnClose), which decides whether and how the window goes.
class FrameWidget : public QMainWindow {
protected:
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromWidget(this)))
            AfxTryCall([&] { frame->OnClose(); });
    }

    static std::vector<std::string> LocalFiles(const QMimeData* data) {
        std::vector<std::string> files;
        if (!data || !data->hasUrls()) return files;
        for (const QUrl& url : data->urls())
            if (url.isLocalFile()) files.push_back(url.toLocalFile().toUtf8().toStdString());
        return files;
    }
    void dragEnterEvent(QDragEnterEvent* e) override {
        if (!LocalFiles(e->mimeData()).empty()) e->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* e) override {
        if (!LocalFiles(e->mimeData()).empty()) e->acceptProposedAction();
    }
    void dropEvent(QDropEvent* e) override {
        std::vector<std::string> files = LocalFiles(e->mimeData());
        if (files.empty() || !acceptDrops()) return;
        e->acceptProposedAction();
        QMetaObject::invokeMethod(
            this,
            [this, files = std::move(files)] {
                if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromWidget(this)))
                    AfxTryCall([&] { frame->OnDropFiles(files); });
            },
            Qt::QueuedConnection);
    }
};

// Accelerators act before the focused control sees the key, in the frame's own window only (not
// in dialogs or popups), as the frame's message pre-translation does on Windows.
class AcceleratorFilter : public QObject {
public:
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (e->type() != QEvent::KeyPress || !obj->isWidgetType()) return false;
        if (QApplication::activePopupWidget()) return false;
        auto* widget = static_cast<QWidget*>(obj);
        CFrameWnd* frame = CFrameWnd::FromWindowWidget(widget->window());
        if (!frame) return false;
        auto* key = static_cast<QKeyEvent*>(e);
        const UINT vk = VirtualKeyFromQtKey(key->key(), key->modifiers() & Qt::KeypadModifier);
        if (!vk) return false;
        // The windows from the focused one up to the frame see the key first.
        const UINT keyFlags = key->isAutoRepeat() ? 0x4000u : 0u;
        for (QWidget* w = widget; w && w != frame->GetWidget(); w = w->parentWidget()) {
            CWnd* wnd = CWnd::FromWidget(w);
            if (!wnd) continue;
            const UINT route =
                AfxTryCallOr<UINT>(CWnd::kKeyHandled, [&] { return wnd->PreTranslateKeyDown(vk, keyFlags); });
            if (route == CWnd::kKeyHandled) {
                AfxRequestIdle();
                return true;
            }
            if (route == CWnd::kKeyDispatch) return false;
        }
        unsigned char mods = 0;
        if (key->modifiers() & Qt::ShiftModifier) mods |= kAccelShift;
        if (key->modifiers() & Qt::ControlModifier) mods |= kAccelControl;
        if (key->modifiers() & Qt::AltModifier) mods |= kAccelAlt;
        const UINT command = frame->FindAccelerator(vk, mods);
        if (!command) return false;
        frame->SendCommand(command);
        return true;
    }
};

void InstallAcceleratorFilter() {
    static QPointer<AcceleratorFilter> filter;
    if (filter || !QCoreApplication::instance()) return;
    filter = new AcceleratorFilter;
    filter->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

class CMenuCmdUI : public CCmdUI {
public:
    CMenuCmdUI(CMenu* menu, UINT index) : m_item(menu->FindItem(index, MF_BYPOSITION)) {
        m_pMenu = menu;
        m_nIndex = index;
        m_nID = m_item ? m_item->id : 0;
    }
    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        m_item->flags = bOn ? (m_item->flags & ~(MF_GRAYED | MF_DISABLED)) : (m_item->flags | MF_GRAYED);
    }
    void SetCheck(int nCheck) override {
        m_item->flags =
            (m_item->flags & ~(MF_CHECKED | MF_RADIOCHECK)) | (nCheck ? static_cast<UINT>(MF_CHECKED) : 0u);
    }
    void SetRadio(BOOL bOn) override {
        m_item->flags =
            (m_item->flags & ~(MF_CHECKED | MF_RADIOCHECK)) | (bOn ? MF_CHECKED | MF_RADIOCHECK : 0);
    }
    void SetText(std::string_view text) override { m_item->text = std::string(text); }

private:
    CMenu::Item* m_item;
};

QMainWindow* MainWindow(const CWnd* w) {
    return qobject_cast<QMainWindow*>(w->GetWidget());
}

}  // namespace

CFrameWnd::CFrameWnd() {
    Frames().push_back(this);
}

CFrameWnd::~CFrameWnd() {
    if (m_pStatusBar) m_pStatusBar->ForgetFrame();
    for (CToolBar* bar : m_toolBars)
        bar->ForgetFrame();
    auto& frames = Frames();
    frames.erase(std::remove(frames.begin(), frames.end(), this), frames.end());
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
}

BOOL CFrameWnd::Create(std::string_view title) {
    auto* window = new FrameWidget;
    Attach(window, true);
    SetWindowText(title);
    InstallAcceleratorFilter();
    AfxInstallIdleHook();
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource) {
    std::string title = AfxLoadString(nIDResource);
    title = title.substr(0, title.find('\n'));
    if (!Create(title)) return FALSE;
    CMenu menu;
    if (menu.LoadMenu(nIDResource)) SetMenu(std::move(menu));
    LoadAccelTable(nIDResource);
    return TRUE;
}

BOOL CFrameWnd::SetMenu(CMenu&& menu) {
    m_menu = std::move(menu);
    DrawMenuBar();
    return TRUE;
}

void CFrameWnd::DrawMenuBar() {
    if (QMainWindow* w = MainWindow(this)) ui_detail::BuildMenuBar(w->menuBar(), GetMenu(), this);
}

BOOL CFrameWnd::LoadAccelTable(UINT nIDResource) {
    std::size_t count = 0;
    const AcceleratorTemplate* table = AcceleratorTemplates(count);
    m_accelerators.clear();
    for (std::size_t i = 0; i < count; ++i)
        if (table[i].table == nIDResource)
            m_accelerators.push_back({table[i].key, table[i].modifiers, table[i].command});
    InstallAcceleratorFilter();
    return !m_accelerators.empty();
}

void CFrameWnd::AddAccelerator(UINT vk, unsigned char modifiers, UINT command) {
    m_accelerators.push_back({vk, modifiers, command});
    InstallAcceleratorFilter();
}

UINT CFrameWnd::FindAccelerator(UINT vk, unsigned char modifiers) const {
    for (const Accel& a : m_accelerators)
        if (a.key == vk && a.modifiers == modifiers) return a.command;
    return 0;
}

void CFrameWnd::SetCentralWindow(CWnd* pWnd) {
    QMainWindow* w = MainWindow(this);
    if (!w || !pWnd || !pWnd->GetWidget()) return;
    w->setCentralWidget(pWnd->GetWidget());
}

void CFrameWnd::SetMessageText(std::string_view text) {
    m_idleMessage = std::string(text);
    if (m_pStatusBar && !m_showingPrompt) m_pStatusBar->SetPaneText(0, text);
}

void CFrameWnd::SetMessageText(UINT nID) {
    std::string text;
    GetMessageString(nID, text);
    SetMessageText(text);
}

void CFrameWnd::GetMessageString(UINT nID, std::string& rMessage) const {
    rMessage = nID ? AfxLoadString(nID) : std::string();
    rMessage.erase(std::min(rMessage.find('\n'), rMessage.size()));
}

void CFrameWnd::ShowCommandPrompt(UINT nID) {
    std::string prompt;
    GetMessageString(nID, prompt);
    m_showingPrompt = TRUE;
    if (m_pStatusBar) m_pStatusBar->SetPaneText(0, prompt);
}

void CFrameWnd::EndCommandPrompt() {
    if (!m_showingPrompt) return;
    m_showingPrompt = FALSE;
    if (m_pStatusBar) m_pStatusBar->SetPaneText(0, m_idleMessage);
}

CFrameWnd* CFrameWnd::PromptFrameOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (CFrameWnd* frame = FromWindowWidget(w)) return frame;
    return nullptr;
}

void CFrameWnd::OnIdleUpdateCmdUI() {
    if (m_pStatusBar && m_pStatusBar->IsWindow()) m_pStatusBar->OnUpdateCmdUI(this);
    // Hidden bars wait until they are shown, as the class library's bars do.
    for (CToolBar* bar : m_toolBars)
        if (bar->IsWindow() && !bar->GetWidget()->isHidden()) bar->OnUpdateCmdUI(this, m_bAutoMenuEnable);
}

void CFrameWnd::DragAcceptFiles(BOOL bAccept) {
    if (QWidget* w = GetWidget()) w->setAcceptDrops(bAccept != FALSE);
}

void CFrameWnd::OnClose() {
    const bool mainWindow = AfxGetApp() && AfxGetApp()->m_pMainWnd == this;
    DestroyWindow();
    if (mainWindow) QCoreApplication::quit();
}

void CFrameWnd::DestroyWindow() {
    m_pActiveView = nullptr;
    CWnd::DestroyWindow();
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_pActiveView && m_pActiveView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
    if (bSysMenu || !m_bAutoMenuEnable || !pPopupMenu) return;
    for (UINT i = 0; i < pPopupMenu->GetMenuItemCount(); ++i) {
        const CMenu::Item& item = pPopupMenu->Items()[i];
        if (item.popup || (item.flags & MF_SEPARATOR) || item.id == 0) continue;
        CMenuCmdUI ui(pPopupMenu, i);
        ui.DoUpdate(this, TRUE);
    }
}

void CFrameWnd::IdleUpdateAllFrames() {
    const std::vector<CFrameWnd*> frames = Frames();
    for (CFrameWnd* frame : frames)
        if (std::find(Frames().begin(), Frames().end(), frame) != Frames().end() && frame->IsWindow())
            AfxTryCall([&] { frame->OnIdleUpdateCmdUI(); });
}

CFrameWnd* CFrameWnd::FromWindowWidget(const QWidget* widget) {
    if (!widget) return nullptr;
    for (CFrameWnd* frame : Frames())
        if (frame->GetWidget() == widget) return frame;
    return nullptr;
}

void CFrameWnd::AddStatusBar(CStatusBar* bar) {
    m_pStatusBar = bar;
}
void CFrameWnd::AddToolBar(CToolBar* bar) {
    m_toolBars.push_back(bar);
}

void CFrameWnd::RemoveBar(CWnd* bar) {
    if (m_pStatusBar == bar) m_pStatusBar = nullptr;
    m_toolBars.erase(std::remove(m_toolBars.begin(), m_toolBars.end(), bar), m_toolBars.end());
}
