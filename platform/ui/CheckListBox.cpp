#include "platform/ui/CheckListBox.h"

#include <QListWidget>
#include <QSignalBlocker>

#include "platform/ui/detail/ControlsQt.h"
#include "platform/ui/detail/WndImpl.h"

namespace {
QListWidgetItem* Item(const CWnd* w, int index) {
    auto* l = qobject_cast<QListWidget*>(w->GetWidget());
    return l && index >= 0 && index < l->count() ? l->item(index) : nullptr;
}
}  // namespace

BOOL CCheckListBox::Create(UINT style, CWnd* pParent, UINT nID) {
    if (!CListBox::Create(style | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, pParent, nID)) return FALSE;
    auto* l = qobject_cast<QListWidget*>(GetWidget());
    QObject* ctx = GetImpl().context.get();
    // Items get their mark however they are added (also through CListBox's own functions).
    QObject::connect(l->model(), &QAbstractItemModel::rowsInserted, ctx,
                     [l](const QModelIndex&, int first, int last) {
                         const QSignalBlocker block(l);
                         for (int i = first; i <= last; ++i) {
                             QListWidgetItem* item = l->item(i);
                             item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
                             item->setCheckState(Qt::Unchecked);
                         }
                     });
    QObject::connect(l, &QListWidget::itemChanged, ctx,
                     [this] { ui_detail::NotifyCommand(this, CLBN_CHKCHANGE); });
    return TRUE;
}

void CCheckListBox::SetCheck(int nIndex, int nCheck) {
    QListWidgetItem* item = Item(this, nIndex);
    if (!item) return;
    const QSignalBlocker block(GetWidget());
    item->setCheckState(nCheck == BST_CHECKED ? Qt::Checked : Qt::Unchecked);
}

int CCheckListBox::GetCheck(int nIndex) const {
    QListWidgetItem* item = Item(this, nIndex);
    if (!item) return LB_ERR;
    return item->checkState() == Qt::Checked ? BST_CHECKED : BST_UNCHECKED;
}

void CCheckListBox::ClickCheck(int nIndex) {
    QListWidgetItem* item = Item(this, nIndex);
    if (!item || !IsWindowEnabled()) return;
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}
