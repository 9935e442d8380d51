#include "platform/ui/IconListCtrl.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <algorithm>

#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/detail/ImageListQt.h"
#include "platform/ui/detail/WndImpl.h"

namespace {

QListWidget* List(const CWnd* w) {
    return qobject_cast<QListWidget*>(w->GetWidget());
}

QString ToQ(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

LRESULT Notify(CWnd* self, NMHDR& nm, int code) {
    CWnd* owner = self->GetOwner();
    nm.hwndFrom = self;
    nm.idFrom = self->GetDlgCtrlID();
    nm.code = code;
    return owner ? AfxTryCallOr<LRESULT>(0, [&] { return owner->SendNotify(nm); }) : 0;
}

LRESULT NotifyItem(CWnd* self, int code, int item) {
    NMLISTVIEW nm;
    nm.iItem = item;
    return Notify(self, nm.hdr, code);
}

void NoteItemCursor(QListWidget* list, int item) {
    QListWidgetItem* it = list->item(item);
    const QPoint local = it ? list->visualItemRect(it).center() : QPoint(2, 2);
    ui_detail::NoteCursorPos(list->viewport()->mapToGlobal(local));
}

}  // namespace

// The user's mouse and keys on the list: right clicks, Enter, and the start of a drag.
struct CIconListCtrl::Watcher : QObject {
    Watcher(CIconListCtrl* self, QListWidget* list) : QObject(self->GetImpl().context.get()), m_self(self) {
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        QListWidget* list = List(m_self);
        if (!list) return false;
        switch (e->type()) {
            case QEvent::ContextMenu: {
                const QPoint p =
                    list->viewport()->mapFromGlobal(static_cast<QContextMenuEvent*>(e)->globalPos());
                ui_detail::NoteCursorPos(static_cast<QContextMenuEvent*>(e)->globalPos());
                NotifyItem(m_self, NM_RCLICK, m_self->HitTest(CPoint(p.x(), p.y())));
                return true;
            }
            case QEvent::KeyPress: {
                const int key = static_cast<QKeyEvent*>(e)->key();
                if ((key != Qt::Key_Return && key != Qt::Key_Enter) || m_self->GetEditControl()) return false;
                NotifyItem(m_self, NM_RETURN, m_self->GetNextItem(-1, LVNI_SELECTED));
                return true;
            }
            case QEvent::MouseButtonPress: {
                auto* me = static_cast<QMouseEvent*>(e);
                m_pressItem =
                    me->button() == Qt::LeftButton
                        ? m_self->HitTest(CPoint(me->position().toPoint().x(), me->position().toPoint().y()))
                        : -1;
                m_pressAt = me->position().toPoint();
                return false;
            }
            case QEvent::MouseMove: {
                auto* me = static_cast<QMouseEvent*>(e);
                if (m_pressItem < 0 || !(me->buttons() & Qt::LeftButton)) return false;
                if ((me->position().toPoint() - m_pressAt).manhattanLength() <
                    QApplication::startDragDistance())
                    return false;
                const int item = m_pressItem;
                m_pressItem = -1;
                m_self->m_dragPoint = CPoint(m_pressAt.x(), m_pressAt.y());
                AfxTryCall([&] { m_self->OnBeginDrag(item); });
                return true;
            }
            case QEvent::MouseButtonRelease:
                m_pressItem = -1;
                return false;
            default:
                return false;
        }
    }
    CIconListCtrl* m_self;
    int m_pressItem = -1;
    QPoint m_pressAt;
};

// Ends an in-place editing on Enter, Escape or when the edit loses the focus.
class LabelEditFilter : public QObject {
public:
    LabelEditFilter(std::function<void(bool)> end, QObject* parent)
        : QObject(parent), m_end(std::move(end)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_end(key == Qt::Key_Escape);
                return true;
            }
        } else if (e->type() == QEvent::FocusOut) {
            m_end(false);
        }
        return false;
    }

private:
    std::function<void(bool)> m_end;
};

CIconListCtrl::CIconListCtrl() = default;
CIconListCtrl::~CIconListCtrl() = default;

BOOL CIconListCtrl::Create(UINT style, CWnd* pParent, UINT nID) {
    auto* list = new QListWidget(pParent ? pParent->GetWidget() : nullptr);
    list->setViewMode(QListView::IconMode);
    list->setIconSize(QSize(32, 32));
    list->setGridSize(QSize(72, 64));
    list->setWordWrap(true);
    list->setWrapping(true);
    list->setFlow(QListView::LeftToRight);
    list->setResizeMode((style & LVS_AUTOARRANGE) ? QListView::Adjust : QListView::Fixed);
    list->setMovement(QListView::Static);
    list->setDragEnabled(false);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode((style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                   : QAbstractItemView::ExtendedSelection);
    Attach(list, !pParent || !pParent->GetWidget());
    SetDlgCtrlID(nID);
    if (pParent) pParent->RegisterDlgItem(nID, this);
    new Watcher(this, list);
    QObject* ctx = GetImpl().context.get();
    QObject::connect(list, &QListWidget::itemClicked, ctx,
                     [this, list](QListWidgetItem* item) { NotifyItem(this, NM_CLICK, list->row(item)); });
    QObject::connect(list, &QListWidget::itemDoubleClicked, ctx,
                     [this, list](QListWidgetItem* item) { NotifyItem(this, NM_DBLCLK, list->row(item)); });
    return TRUE;
}

CImageList* CIconListCtrl::SetImageList(CImageList* pImageList, int /*nImageListType*/) {
    CImageList* previous = m_imageList;
    m_imageList = pImageList;
    if (QListWidget* list = List(this); list && pImageList && pImageList->GetImageSize().cx > 0)
        list->setIconSize(QSize(pImageList->GetImageSize().cx, pImageList->GetImageSize().cy));
    return previous;
}

int CIconListCtrl::InsertItem(int nItem, std::string_view text, int nImage) {
    QListWidget* list = List(this);
    if (!list) return -1;
    const int row = std::clamp(nItem, 0, list->count());
    auto* item = new QListWidgetItem(ToQ(text));
    item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    if (m_imageList && nImage >= 0 && nImage < m_imageList->GetImageCount())
        item->setIcon(QIcon(m_imageList->GetData()->images[static_cast<std::size_t>(nImage)]));
    list->insertItem(row, item);
    return row;
}

BOOL CIconListCtrl::DeleteAllItems() {
    QListWidget* list = List(this);
    if (!list) return FALSE;
    if (m_edit) EndLabelEdit(true);
    list->clear();
    return TRUE;
}

int CIconListCtrl::GetItemCount() const {
    return List(this) ? List(this)->count() : 0;
}

std::string CIconListCtrl::GetItemText(int nItem) const {
    QListWidget* list = List(this);
    QListWidgetItem* item = list ? list->item(nItem) : nullptr;
    return item ? item->text().toStdString() : std::string();
}

BOOL CIconListCtrl::SetItemText(int nItem, std::string_view text) {
    QListWidget* list = List(this);
    QListWidgetItem* item = list ? list->item(nItem) : nullptr;
    if (!item) return FALSE;
    item->setText(ToQ(text));
    return TRUE;
}

int CIconListCtrl::GetNextItem(int nItem, UINT nFlags) const {
    QListWidget* list = List(this);
    if (!list) return -1;
    for (int i = std::max(0, nItem + 1); i < list->count(); ++i)
        if (!(nFlags & LVNI_SELECTED) || list->item(i)->isSelected()) return i;
    return -1;
}

BOOL CIconListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    QListWidget* list = List(this);
    QListWidgetItem* item = list ? list->item(nItem) : nullptr;
    if (!item) return FALSE;
    if (nMask & LVIS_SELECTED) {
        if ((nState & LVIS_SELECTED) && list->selectionMode() == QAbstractItemView::SingleSelection)
            list->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
        else
            item->setSelected(nState & LVIS_SELECTED);
    }
    if ((nMask & LVIS_FOCUSED) && (nState & LVIS_FOCUSED))
        list->setCurrentItem(item, QItemSelectionModel::NoUpdate);
    return TRUE;
}

UINT CIconListCtrl::GetItemState(int nItem, UINT nMask) const {
    QListWidget* list = List(this);
    QListWidgetItem* item = list ? list->item(nItem) : nullptr;
    if (!item) return 0;
    UINT state = 0;
    if (item->isSelected()) state |= LVIS_SELECTED;
    if (list->currentItem() == item) state |= LVIS_FOCUSED;
    return state & nMask;
}

int CIconListCtrl::HitTest(CPoint point) const {
    QListWidget* list = List(this);
    QListWidgetItem* item = list ? list->itemAt(QPoint(point.x, point.y)) : nullptr;
    return item ? list->row(item) : -1;
}

BOOL CIconListCtrl::GetItemPosition(int nItem, CPoint* point) const {
    QListWidget* list = List(this);
    QListWidgetItem* item = list ? list->item(nItem) : nullptr;
    if (!item || !point) return FALSE;
    const QRect r = list->visualItemRect(item);
    *point = CPoint(r.left(), r.top());
    return TRUE;
}

BOOL CIconListCtrl::SetItemPosition(int nItem, CPoint /*point*/) {
    QListWidget* list = List(this);
    // The items stay arranged in order: the item keeps its place, and its index never changes.
    return list && list->item(nItem) ? TRUE : FALSE;
}

CEdit* CIconListCtrl::EditLabel(int nItem) {
    QListWidget* list = List(this);
    QListWidgetItem* item = list ? list->item(nItem) : nullptr;
    if (!item) return nullptr;
    if (m_edit) EndLabelEdit(false);
    m_editItem = nItem;
    m_edit = std::make_unique<CEdit>();
    m_edit->Create(0, nullptr, 0);
    QWidget* edit = m_edit->GetWidget();
    edit->setParent(list->viewport());
    const QRect r = list->visualItemRect(item);
    edit->setGeometry(r.left(), r.bottom() - edit->sizeHint().height(), std::max(r.width(), 80),
                      edit->sizeHint().height());
    m_edit->SetWindowText(GetItemText(nItem));
    if (auto* line = qobject_cast<QLineEdit*>(edit)) line->selectAll();
    edit->installEventFilter(new LabelEditFilter([this](bool cancelled) { EndLabelEdit(cancelled); }, edit));
    edit->show();
    edit->setFocus();
    return m_edit.get();
}

CEdit* CIconListCtrl::GetEditControl() const {
    return m_edit.get();
}

void CIconListCtrl::EndLabelEdit(bool cancelled) {
    if (!m_edit) return;
    // The edit goes first: a focus change while the owner reacts must not end it twice.
    std::unique_ptr<CEdit> edit = std::move(m_edit);
    const std::string text = edit->GetWindowText();
    const int item = m_editItem;
    m_editItem = -1;
    if (QWidget* w = edit->GetWidget()) {
        w->hide();
        w->deleteLater();
    }
    edit->Detach();
    NMLVDISPINFO info;
    info.item.iItem = item;
    info.item.pszText = cancelled ? nullptr : text.c_str();
    Notify(this, info.hdr, LVN_ENDLABELEDIT);
}

UINT CIconListCtrl::PreTranslateKeyDown(UINT /*nChar*/, UINT /*nFlags*/) {
    return m_edit ? kKeyDispatch : kKeyContinue;
}

void CIconListCtrl::OnBeginDrag(int nItem) {
    NotifyItem(this, LVN_BEGINDRAG, nItem);
}

void CIconListCtrl::ClickItem(int nItem) {
    if (!SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED)) return;
    NotifyItem(this, NM_CLICK, nItem);
}

void CIconListCtrl::DoubleClickItem(int nItem) {
    if (!SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED)) return;
    NotifyItem(this, NM_DBLCLK, nItem);
}

void CIconListCtrl::RightClickItem(int nItem) {
    if (QListWidget* list = List(this)) NoteItemCursor(list, nItem);
    NotifyItem(this, NM_RCLICK, nItem);
}

void CIconListCtrl::PressEnter() {
    NotifyItem(this, NM_RETURN, GetNextItem(-1, LVNI_SELECTED));
}

void CIconListCtrl::BeginItemDrag(int nItem) {
    if (nItem < 0 || nItem >= GetItemCount()) return;
    CPoint corner;
    const std::unique_ptr<CImageList> picture = CreateDragImage(nItem, &corner);
    const CSize size = picture ? picture->GetImageSize() : CSize();
    m_dragPoint = CPoint(corner.x + size.cx / 2, corner.y + size.cy / 2);
    OnBeginDrag(nItem);
}

std::unique_ptr<CImageList> CIconListCtrl::CreateDragImage(int nItem, CPoint* lpPoint) const {
    QListWidget* list = List(this);
    QListWidgetItem* item = list ? list->item(nItem) : nullptr;
    if (!item || item->icon().isNull()) return nullptr;
    const QSize size = list->iconSize();
    auto picture = std::make_unique<CImageList>();
    if (!picture->Create(size.width(), size.height(), ILC_MASK, 1, 0)) return nullptr;
    picture->GetData()->images.push_back(item->icon().pixmap(size));
    // The picture sits centred at the top of the item's cell.
    const QRect cell = list->visualItemRect(item);
    if (lpPoint) *lpPoint = CPoint(cell.left() + (cell.width() - size.width()) / 2, cell.top() + 2);
    return picture;
}
