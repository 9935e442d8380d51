// The frame's control bars on QMainWindow's top tool bar area: rows, order and the saved layout.
#include <QByteArray>
#include <QMainWindow>
#include <QToolBar>

#include "platform/Profile.h"
#include "platform/ui/DialogBar.h"
#include "platform/ui/FrameWnd.h"

namespace {

QMainWindow* MainWindowOf(const CWnd* frame) {
    return qobject_cast<QMainWindow*>(frame->GetWidget());
}

QToolBar* ToolBarOf(const CWnd* bar) {
    return bar ? qobject_cast<QToolBar*>(bar->GetWidget()) : nullptr;
}

// Moving a bar in the layout shows or hides it on the toolkit's terms; the bar keeps its own.
class KeepShown {
public:
    explicit KeepShown(QToolBar* bar) : m_bar(bar), m_hidden(bar->isHidden()) {}
    ~KeepShown() { m_bar->setHidden(m_hidden); }
    KeepShown(const KeepShown&) = delete;
    KeepShown& operator=(const KeepShown&) = delete;

private:
    QToolBar* m_bar;
    bool m_hidden;
};

}  // namespace

void CFrameWnd::ShowControlBar(CWnd* pBar, BOOL bShow, BOOL /*bDelay*/) {
    if (QToolBar* bar = ToolBarOf(pBar))
        bar->setHidden(!bShow);
    else if (auto* dialogBar = dynamic_cast<CDialogBar*>(pBar))
        dialogBar->ShowBar(bShow);
}

void CFrameWnd::DockControlBar(CWnd* pBar) {
    QMainWindow* window = MainWindowOf(this);
    QToolBar* bar = ToolBarOf(pBar);
    if (!window || !bar) return;
    const KeepShown keep(bar);
    window->removeToolBar(bar);
    window->addToolBarBreak(Qt::TopToolBarArea);
    window->addToolBar(Qt::TopToolBarArea, bar);
}

void CFrameWnd::DockControlBarLeftOf(CWnd* pBar, CWnd* pLeftOf) {
    QMainWindow* window = MainWindowOf(this);
    QToolBar* bar = ToolBarOf(pBar);
    QToolBar* left = ToolBarOf(pLeftOf);
    if (!window || !bar || !left || bar == left) return;
    const KeepShown keepBar(bar);
    const KeepShown keepLeft(left);
    // Before the left one, then the left one before it: both in its row, in that order.
    window->insertToolBar(left, bar);
    window->insertToolBar(bar, left);
}

std::vector<BYTE> CFrameWnd::GetBarState(int version) const {
    QMainWindow* window = MainWindowOf(this);
    if (!window) return {};
    const QByteArray state = window->saveState(version);
    return std::vector<BYTE>(state.begin(), state.end());
}

BOOL CFrameWnd::SetBarState(const std::vector<BYTE>& state, int version) {
    QMainWindow* window = MainWindowOf(this);
    if (!window || state.empty()) return FALSE;
    const QByteArray before = window->saveState(version);
    const QByteArray bytes(reinterpret_cast<const char*>(state.data()), static_cast<qsizetype>(state.size()));
    if (window->restoreState(bytes, version)) return TRUE;
    // The toolkit may have taken part of a damaged layout: put the whole one back.
    window->restoreState(before, version);
    return FALSE;
}

void CFrameWnd::SaveBarState(std::string_view section, int version) const {
    const std::vector<BYTE> state = GetBarState(version);
    if (!state.empty()) AfxGetProfile().WriteProfileBinary(section, "State", state.data(), state.size());
}

BOOL CFrameWnd::LoadBarState(std::string_view section, int version) {
    std::vector<BYTE> state;
    if (!AfxGetProfile().GetProfileBinary(section, "State", state)) return FALSE;
    return SetBarState(state, version);
}
