#include "platform/ui/ToolBar.h"

#include <QAction>
#include <QEvent>
#include <QMainWindow>
#include <QToolBar>
#include <QWidgetAction>

#include "platform/Strings.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/detail/PictureIcon.h"
#include "platform/ui/detail/WndImpl.h"
#include "resources/ResourceFormats.h"

namespace {
QAction* ActionAt(const CWnd* bar, int index) {
    auto* tb = qobject_cast<QToolBar*>(bar->GetWidget());
    if (!tb || index < 0 || index >= static_cast<int>(tb->actions().size())) return nullptr;
    return tb->actions()[index];
}

// A button under the pointer shows its command's prompt in the frame's message pane.
class ButtonPrompt : public QObject {
public:
    ButtonPrompt(QWidget* button, UINT id) : QObject(button), m_id(id) { button->installEventFilter(this); }
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (e->type() != QEvent::Enter && e->type() != QEvent::Leave) return false;
        if (CFrameWnd* frame = CFrameWnd::PromptFrameOf(static_cast<QWidget*>(obj))) {
            if (e->type() == QEvent::Enter)
                frame->ShowCommandPrompt(m_id);
            else
                frame->EndCommandPrompt();
        }
        return false;
    }

private:
    UINT m_id;
};

class CToolCmdUI : public CCmdUI {
public:
    explicit CToolCmdUI(QAction* action) : m_action(action) {}
    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        m_action->setEnabled(bOn);
    }
    void SetCheck(int nCheck) override {
        m_action->setCheckable(true);
        m_action->setChecked(nCheck != 0);
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }

private:
    QAction* m_action;
};
}  // namespace

CToolBar::~CToolBar() {
    if (m_pFrame) m_pFrame->RemoveBar(this);
}

BOOL CToolBar::Create(CFrameWnd* pParent, UINT nID) {
    auto* window = qobject_cast<QMainWindow*>(pParent ? pParent->GetWidget() : nullptr);
    if (!window) return FALSE;
    auto* bar = new QToolBar(window);
    bar->setObjectName(QStringLiteral("ToolBar%1").arg(nID));
    window->addToolBar(bar);
    Attach(bar, false);
    SetDlgCtrlID(nID);
    pParent->RegisterDlgItem(nID, this);
    pParent->AddToolBar(this);
    m_pFrame = pParent;
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
    auto* bar = qobject_cast<QToolBar*>(GetWidget());
    if (!bar) return FALSE;
    bar->clear();
    m_ids.assign(lpIDArray, lpIDArray + nIDCount);
    QPointer<QWidget> frame(m_pFrame ? m_pFrame->GetWidget() : nullptr);
    for (UINT id : m_ids) {
        if (id == ID_SEPARATOR) {
            bar->addSeparator();
            continue;
        }
        const std::string text = AfxLoadString(id);
        const std::size_t nl = text.find('\n');
        const std::string tip = nl == std::string::npos ? text : text.substr(nl + 1);
        QAction* action = bar->addAction(QString::fromStdString(tip.empty() ? std::to_string(id) : tip));
        action->setData(id);
        if (const QIcon icon = ui_detail::PictureIcon(id); !icon.isNull()) action->setIcon(icon);
        QObject::connect(action, &QAction::triggered, bar, [frame, id] {
            if (CWnd* f = CWnd::FromWidget(frame)) f->SendCommand(id);
        });
        if (QWidget* button = bar->widgetForAction(action)) new ButtonPrompt(button, id);
    }
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
    const ToolbarTemplateItem* item = FindToolbarTemplate(nIDResource);
    if (!item) return FALSE;
    std::vector<UINT> ids;
    for (; item->op != ToolbarOp::End && item->op != ToolbarOp::Begin; ++item)
        ids.push_back(item->op == ToolbarOp::Button ? item->id : ID_SEPARATOR);
    if (auto* bar = qobject_cast<QToolBar*>(GetWidget())) bar->setIconSize(QSize(16, 16));
    return SetButtons(ids.data(), static_cast<int>(ids.size()));
}

BOOL CToolBar::HasButtonPicture(int nIndex) const {
    QAction* a = ActionAt(this, nIndex);
    return a && !a->icon().isNull();
}

std::string CToolBar::GetButtonTip(int nIndex) const {
    QAction* a = ActionAt(this, nIndex);
    return a ? a->toolTip().toStdString() : std::string();
}

int CToolBar::CommandToIndex(UINT nID) const {
    for (std::size_t i = 0; i < m_ids.size(); ++i)
        if (m_ids[i] == nID) return static_cast<int>(i);
    return -1;
}

UINT CToolBar::GetItemID(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_ids[static_cast<std::size_t>(nIndex)] : 0;
}

UINT CToolBar::GetButtonState(int nIndex) const {
    QAction* a = ActionAt(this, nIndex);
    if (!a) return 0;
    return (a->isEnabled() ? TBSTATE_ENABLED : 0u) | (a->isChecked() ? TBSTATE_CHECKED : 0u);
}

std::string CToolBar::GetButtonText(int nIndex) const {
    QAction* a = ActionAt(this, nIndex);
    return a ? a->text().toStdString() : std::string();
}

void CToolBar::ClickButton(int nIndex) {
    if (QAction* a = ActionAt(this, nIndex); a && a->isEnabled()) a->trigger();
}

BOOL CToolBar::SetButtonControl(int nIndex, CWnd* pControl) {
    auto* bar = qobject_cast<QToolBar*>(GetWidget());
    QAction* old = ActionAt(this, nIndex);
    if (!bar || !old || !pControl || !pControl->GetWidget()) return FALSE;
    QAction* placed = bar->insertWidget(old, pControl->GetWidget());
    placed->setData(old->data());
    bar->removeAction(old);
    old->deleteLater();
    pControl->GetWidget()->show();
    return TRUE;
}

BOOL CToolBar::GetItemRect(int nIndex, CRect* lpRect) const {
    if (!lpRect || nIndex < 0 || nIndex >= GetCount()) return FALSE;
    int x = 0;
    for (int i = 0;; ++i) {
        QAction* a = ActionAt(this, i);
        auto* placed = qobject_cast<QWidgetAction*>(a);
        const QWidget* control = placed ? placed->defaultWidget() : nullptr;
        const int width =
            control ? qBound(control->minimumWidth(), control->sizeHint().width(), control->maximumWidth())
            : m_ids[static_cast<std::size_t>(i)] == ID_SEPARATOR ? kSeparatorWidth
                                                                 : kButtonWidth;
        if (i == nIndex) {
            *lpRect = CRect(x, 0, x + width, kButtonHeight);
            return TRUE;
        }
        x += width;
    }
}

BOOL CToolBar::OnCommand(UINT nID, int nCode, CWnd* pCtrl) {
    if (pCtrl && m_pFrame) return m_pFrame->OnCommand(nID, nCode, pCtrl);
    return CWnd::OnCommand(nID, nCode, pCtrl);
}

BOOL CToolBar::OnNotify(NMHDR* pNMHDR, LRESULT* pResult) {
    if (m_pFrame) return m_pFrame->OnNotify(pNMHDR, pResult);
    return CWnd::OnNotify(pNMHDR, pResult);
}

void CToolBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
    for (int i = 0; i < GetCount(); ++i) {
        QAction* a = ActionAt(this, i);
        if (!a || a->isSeparator()) continue;
        CToolCmdUI ui(a);
        ui.m_nID = m_ids[static_cast<std::size_t>(i)];
        ui.m_nIndex = static_cast<UINT>(i);
        // A control's notifications are no commands: it stays enabled unless its update handler
        // says otherwise.
        const bool control = qobject_cast<QWidgetAction*>(a) != nullptr;
        ui.DoUpdate(pTarget, control ? FALSE : bDisableIfNoHandler);
    }
}
