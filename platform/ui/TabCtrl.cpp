#include "platform/ui/TabCtrl.h"

#include <QContextMenuEvent>
#include <QSignalBlocker>
#include <QTabBar>
#include <algorithm>

#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/detail/WndImpl.h"

namespace {

QTabBar* Bar(const CWnd* w) {
    return qobject_cast<QTabBar*>(w->GetWidget());
}

void Notify(CWnd* self, int code) {
    CWnd* owner = self->GetOwner();
    if (!owner) return;
    NMHDR nm;
    nm.hwndFrom = self;
    nm.idFrom = self->GetDlgCtrlID();
    nm.code = code;
    AfxTryCall([&] { owner->SendNotify(nm); });
}

// Right clicks become NM_RCLICK; the bar's own menu never shows.
class TabMenuFilter : public QObject {
public:
    TabMenuFilter(CTabCtrl* self, QObject* parent) : QObject(parent), m_self(self) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::ContextMenu) return false;
        const QPoint p = static_cast<QContextMenuEvent*>(e)->pos();
        m_self->RightClick(CPoint(p.x(), p.y()));
        return true;
    }

private:
    CTabCtrl* m_self;
};

}  // namespace

BOOL CTabCtrl::Create(UINT /*style*/, CWnd* pParent, UINT nID) {
    auto* bar = new QTabBar(pParent ? pParent->GetWidget() : nullptr);
    bar->setExpanding(false);
    bar->setDrawBase(true);
    bar->setUsesScrollButtons(true);
    Attach(bar, !pParent || !pParent->GetWidget());
    SetDlgCtrlID(nID);
    if (pParent) pParent->RegisterDlgItem(nID, this);
    bar->installEventFilter(new TabMenuFilter(this, GetImpl().context.get()));
    QObject::connect(bar, &QTabBar::tabBarClicked, GetImpl().context.get(), [this](int index) {
        if (index >= 0 && index != GetCurSel()) ClickTab(index);
    });
    return TRUE;
}

int CTabCtrl::InsertItem(int nItem, std::string_view text) {
    QTabBar* bar = Bar(this);
    if (!bar) return -1;
    const QSignalBlocker block(bar);
    const int index = std::clamp(nItem, 0, bar->count());
    return bar->insertTab(index, QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

BOOL CTabCtrl::DeleteItem(int nItem) {
    QTabBar* bar = Bar(this);
    if (!bar || nItem < 0 || nItem >= bar->count()) return FALSE;
    const QSignalBlocker block(bar);
    bar->removeTab(nItem);
    return TRUE;
}

BOOL CTabCtrl::DeleteAllItems() {
    QTabBar* bar = Bar(this);
    if (!bar) return FALSE;
    const QSignalBlocker block(bar);
    while (bar->count() > 0)
        bar->removeTab(bar->count() - 1);
    return TRUE;
}

int CTabCtrl::GetItemCount() const {
    return Bar(this) ? Bar(this)->count() : 0;
}

std::string CTabCtrl::GetItemText(int nItem) const {
    QTabBar* bar = Bar(this);
    return bar && nItem >= 0 && nItem < bar->count() ? bar->tabText(nItem).toStdString() : std::string();
}

int CTabCtrl::GetCurSel() const {
    QTabBar* bar = Bar(this);
    return bar && bar->count() > 0 ? bar->currentIndex() : -1;
}

int CTabCtrl::SetCurSel(int nItem) {
    QTabBar* bar = Bar(this);
    if (!bar || nItem < 0 || nItem >= bar->count()) return -1;
    const int previous = GetCurSel();
    const QSignalBlocker block(bar);
    bar->setCurrentIndex(nItem);
    return previous;
}

int CTabCtrl::HitTest(CPoint point) const {
    QTabBar* bar = Bar(this);
    return bar ? bar->tabAt(QPoint(point.x, point.y)) : -1;
}

void CTabCtrl::AdjustRect(BOOL bLarger, CRect* rect) const {
    QTabBar* bar = Bar(this);
    if (!bar || !rect) return;
    const int strip = bar->sizeHint().height();
    constexpr int kBorder = 2;
    if (bLarger) {
        rect->InflateRect(kBorder, kBorder);
        rect->top -= strip;
    } else {
        rect->DeflateRect(kBorder, kBorder);
        rect->top += strip;
        if (rect->bottom < rect->top) rect->bottom = rect->top;
        if (rect->right < rect->left) rect->right = rect->left;
    }
}

void CTabCtrl::ClickTab(int nItem) {
    if (nItem < 0 || nItem >= GetItemCount()) return;
    SetCurSel(nItem);
    Notify(this, TCN_SELCHANGE);
}

void CTabCtrl::RightClick(CPoint point) {
    QTabBar* bar = Bar(this);
    if (bar) {
        const QPoint global = bar->mapToGlobal(QPoint(point.x, point.y));
        ui_detail::NoteCursorPos(global);
    }
    Notify(this, NM_RCLICK);
}
