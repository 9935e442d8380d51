#include "platform/ui/StatusBar.h"

#include <QFontMetrics>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include "platform/Strings.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/detail/WndImpl.h"

namespace {
class CStatusCmdUI : public CCmdUI {
public:
    CStatusCmdUI(CStatusBar* bar, int index) : m_bar(bar) {
        m_nIndex = static_cast<UINT>(index);
        m_nID = bar->GetItemID(index);
    }
    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        m_bar->EnablePane(static_cast<int>(m_nIndex), bOn);
    }
    void SetText(std::string_view text) override { m_bar->SetPaneText(static_cast<int>(m_nIndex), text); }

private:
    CStatusBar* m_bar;
};
}  // namespace

CStatusBar::~CStatusBar() {
    if (m_pFrame) m_pFrame->RemoveBar(this);
}

BOOL CStatusBar::Create(CFrameWnd* pParent, UINT nID) {
    auto* window = qobject_cast<QMainWindow*>(pParent ? pParent->GetWidget() : nullptr);
    if (!window) return FALSE;
    Attach(window->statusBar(), false);
    SetDlgCtrlID(nID);
    pParent->RegisterDlgItem(nID, this);
    pParent->AddStatusBar(this);
    m_pFrame = pParent;
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    auto* bar = qobject_cast<QStatusBar*>(GetWidget());
    if (!bar) return FALSE;
    for (Pane& p : m_panes)
        delete p.label;
    m_panes.clear();
    for (int i = 0; i < nIDCount; ++i) {
        const UINT id = lpIDArray[i];
        auto* label = new QLabel(bar);
        Pane pane{id, id == ID_SEPARATOR ? std::string() : AfxLoadString(id), true, label};
        if (id == ID_SEPARATOR) {
            bar->addWidget(label, 1);
        } else {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setAlignment(Qt::AlignCenter);
            const QFontMetrics metrics(label->font());
            label->setMinimumWidth(metrics.horizontalAdvance(QString::fromStdString(pane.text)) + 8);
            bar->addPermanentWidget(label);
        }
        m_panes.push_back(pane);
        Show(m_panes.back());
    }
    return TRUE;
}

int CStatusBar::CommandToIndex(UINT nID) const {
    for (std::size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == nID) return static_cast<int>(i);
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<std::size_t>(nIndex)].id : 0;
}

void CStatusBar::Show(const Pane& pane) const {
    if (auto* label = qobject_cast<QLabel*>(pane.label))
        label->setText(pane.enabled ? QString::fromStdString(pane.text) : QString());
}

BOOL CStatusBar::SetPaneText(int nIndex, std::string_view text) {
    if (nIndex < 0 || nIndex >= GetCount()) return FALSE;
    Pane& pane = m_panes[static_cast<std::size_t>(nIndex)];
    pane.text = std::string(text);
    Show(pane);
    return TRUE;
}

std::string CStatusBar::GetPaneText(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<std::size_t>(nIndex)].text
                                              : std::string();
}

void CStatusBar::SetPaneWidthByText(int nIndex, std::string_view text) {
    if (nIndex < 0 || nIndex >= GetCount()) return;
    QWidget* label = m_panes[static_cast<std::size_t>(nIndex)].label;
    const QFontMetrics metrics(label->font());
    label->setMinimumWidth(
        metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<int>(text.size()))) + 8);
}

void CStatusBar::EnablePane(int nIndex, BOOL bEnable) {
    if (nIndex < 0 || nIndex >= GetCount()) return;
    Pane& pane = m_panes[static_cast<std::size_t>(nIndex)];
    pane.enabled = bEnable;
    Show(pane);
}

BOOL CStatusBar::IsPaneEnabled(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() && m_panes[static_cast<std::size_t>(nIndex)].enabled;
}

void CStatusBar::OnUpdateCmdUI(CCmdTarget* pTarget) {
    for (int i = 0; i < GetCount(); ++i) {
        CStatusCmdUI ui(this, i);
        ui.DoUpdate(pTarget, FALSE);
    }
}
