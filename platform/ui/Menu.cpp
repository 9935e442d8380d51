#include "platform/ui/Menu.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <algorithm>

#include "platform/gdi/QtGdi.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/Wnd.h"
#include "platform/ui/detail/MenuGrid.h"
#include "platform/ui/detail/MenuQt.h"
#include "platform/ui/detail/PictureIcon.h"
#include "platform/ui/detail/WndImpl.h"
#include "resources/ResourceFormats.h"

CMenu::CMenu() = default;
CMenu::~CMenu() = default;
CMenu::CMenu(CMenu&&) noexcept = default;
CMenu& CMenu::operator=(CMenu&&) noexcept = default;

namespace {
// Reads one popup level of a menu template; returns the entry after its end.
const MenuTemplateItem* ReadLevel(const MenuTemplateItem* p, CMenu& menu) {
    for (;; ++p) {
        switch (p->op) {
            case MenuOp::Item:
                menu.AppendMenu(MF_STRING, p->id, p->text ? p->text : "");
                break;
            case MenuOp::Separator:
                menu.AppendMenu(MF_SEPARATOR);
                break;
            case MenuOp::Popup: {
                CMenu popup;
                popup.CreatePopupMenu();
                const std::string text = p->text ? p->text : "";
                p = ReadLevel(p + 1, popup);
                menu.AppendMenu(text, std::move(popup));
                --p;
                break;
            }
            case MenuOp::EndPopup:
            case MenuOp::EndMenu:
                return p + 1;
            case MenuOp::Begin:
                return p;  // a malformed table: the next menu starts
        }
    }
}
}  // namespace

BOOL CMenu::LoadMenu(UINT nIDResource) {
    const MenuTemplateItem* p = FindMenuTemplate(nIDResource);
    if (!p) return FALSE;
    CreateMenu();
    ReadLevel(p, *this);
    return TRUE;
}

BOOL CMenu::CreateMenu() {
    m_items.clear();
    m_valid = true;
    return TRUE;
}

BOOL CMenu::CreatePopupMenu() {
    return CreateMenu();
}

BOOL CMenu::DestroyMenu() {
    m_items.clear();
    m_valid = false;
    return TRUE;
}

UINT CMenu::GetMenuItemCount() const {
    return static_cast<UINT>(m_items.size());
}

UINT CMenu::GetMenuItemID(int nPos) const {
    if (nPos < 0 || nPos >= static_cast<int>(m_items.size())) return static_cast<UINT>(-1);
    const Item& item = m_items[static_cast<std::size_t>(nPos)];
    if (item.flags & MF_POPUP) return static_cast<UINT>(-1);
    if (item.flags & MF_SEPARATOR) return 0;
    return item.id;
}

CMenu::Item* CMenu::FindItem(UINT nPosition, UINT nFlags, CMenu** owner, int* index) {
    if (nFlags & MF_BYPOSITION) {
        if (nPosition >= m_items.size()) return nullptr;
        if (owner) *owner = this;
        if (index) *index = static_cast<int>(nPosition);
        return &m_items[nPosition];
    }
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        Item& item = m_items[i];
        if (item.popup) {
            if (Item* found = item.popup->FindItem(nPosition, nFlags, owner, index)) return found;
        } else if (!(item.flags & MF_SEPARATOR) && item.id == nPosition) {
            if (owner) *owner = this;
            if (index) *index = static_cast<int>(i);
            return &item;
        }
    }
    return nullptr;
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
    const Item* item = const_cast<CMenu*>(this)->FindItem(nID, nFlags);
    return item ? item->flags : static_cast<UINT>(-1);
}

std::string CMenu::GetMenuString(UINT nIDItem, UINT nFlags) const {
    const Item* item = const_cast<CMenu*>(this)->FindItem(nIDItem, nFlags);
    return item ? item->text : std::string();
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    if (nPos < 0 || nPos >= static_cast<int>(m_items.size())) return nullptr;
    return m_items[static_cast<std::size_t>(nPos)].popup.get();
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT nIDNewItem, std::string_view text) {
    return InsertMenu(static_cast<UINT>(-1), nFlags | MF_BYPOSITION, nIDNewItem, text);
}

BOOL CMenu::AppendMenu(std::string_view text, CMenu&& popup) {
    return InsertMenu(static_cast<UINT>(-1), MF_BYPOSITION, text, std::move(popup));
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT nIDNewItem, const CBitmap* pBmp) {
    if (!pBmp || !AppendMenu((nFlags & ~MF_BITMAP) | MF_BYPOSITION, nIDNewItem)) return FALSE;
    Item& item = m_items.back();
    item.flags |= MF_BITMAP;
    item.bitmap = pBmp;
    return TRUE;
}

BOOL CMenu::AppendOwnerDrawn(UINT nFlags, UINT nIDNewItem, std::uintptr_t itemData) {
    if (!AppendMenu((nFlags & ~MF_BITMAP) | MF_OWNERDRAW | MF_BYPOSITION, nIDNewItem)) return FALSE;
    m_items.back().data = itemData;
    return TRUE;
}

CSize GetMenuCheckMarkDimensions() {
    return CSize(13, 13);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT nIDNewItem, std::string_view text) {
    Item item;
    item.flags = nFlags & ~(MF_BYPOSITION | MF_POPUP | MF_BITMAP);
    item.id = (nFlags & MF_SEPARATOR) ? 0 : nIDNewItem;
    item.text = (nFlags & MF_SEPARATOR) ? std::string() : std::string(text);
    CMenu* owner = this;
    std::size_t at = m_items.size();
    if (nFlags & MF_BYPOSITION) {
        if (nPosition < m_items.size()) at = nPosition;
    } else {
        int index = 0;
        if (!FindItem(nPosition, nFlags, &owner, &index)) return FALSE;
        at = static_cast<std::size_t>(index);
    }
    owner->m_items.insert(owner->m_items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    m_valid = true;
    return TRUE;
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, std::string_view text, CMenu&& popup) {
    if (!InsertMenu(nPosition, nFlags & ~MF_SEPARATOR, 0, text)) return FALSE;
    // Find what was just inserted: by position it is there; by command it precedes that command.
    CMenu* owner = this;
    int index = 0;
    if (nFlags & MF_BYPOSITION) {
        index = nPosition < m_items.size() - 1 ? static_cast<int>(nPosition)
                                               : static_cast<int>(m_items.size()) - 1;
    } else {
        FindItem(nPosition, nFlags, &owner, &index);
        --index;
    }
    Item& item = owner->m_items[static_cast<std::size_t>(index)];
    item.flags |= MF_POPUP;
    item.id = 0;
    item.popup = std::make_unique<CMenu>(std::move(popup));
    item.popup->m_valid = true;
    return TRUE;
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT nIDNewItem, std::string_view text) {
    Item* item = FindItem(nPosition, nFlags);
    if (!item) return FALSE;
    item->flags = nFlags & ~(MF_BYPOSITION | MF_POPUP | MF_BITMAP);
    item->id = (nFlags & MF_SEPARATOR) ? 0 : nIDNewItem;
    item->text = (nFlags & MF_SEPARATOR) ? std::string() : std::string(text);
    item->popup.reset();
    item->bitmap = nullptr;
    return TRUE;
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT nIDNewItem, const CBitmap* pBmp) {
    if (!pBmp) return FALSE;
    Item* item = FindItem(nPosition, nFlags);
    if (!item || !ModifyMenu(nPosition, nFlags & ~MF_BITMAP, nIDNewItem)) return FALSE;
    item->flags |= MF_BITMAP;
    item->bitmap = pBmp;
    return TRUE;
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, std::string_view text, CMenu&& popup) {
    Item* item = FindItem(nPosition, nFlags);
    if (!item) return FALSE;
    item->flags = (nFlags & ~(MF_BYPOSITION | MF_SEPARATOR)) | MF_POPUP;
    item->id = 0;
    item->text = std::string(text);
    item->popup = std::make_unique<CMenu>(std::move(popup));
    item->popup->m_valid = true;
    return TRUE;
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
    CMenu* owner = nullptr;
    int index = 0;
    if (!FindItem(nPosition, nFlags, &owner, &index)) return FALSE;
    owner->m_items.erase(owner->m_items.begin() + index);
    return TRUE;
}

std::unique_ptr<CMenu> CMenu::RemoveSubMenu(UINT nPos) {
    if (nPos >= m_items.size()) return nullptr;
    std::unique_ptr<CMenu> popup = std::move(m_items[nPos].popup);
    m_items.erase(m_items.begin() + nPos);
    return popup;
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    Item* item = FindItem(nIDCheckItem, nCheck & MF_BYPOSITION);
    if (!item) return static_cast<UINT>(-1);
    const UINT old = item->flags & MF_CHECKED;
    item->flags = (item->flags & ~MF_CHECKED) | (nCheck & MF_CHECKED);
    return old;
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    Item* item = FindItem(nIDEnableItem, nEnable & MF_BYPOSITION);
    if (!item) return static_cast<UINT>(-1);
    const UINT old = item->flags & (MF_GRAYED | MF_DISABLED);
    item->flags = (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (nEnable & (MF_GRAYED | MF_DISABLED));
    return old;
}

BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
    BOOL found = FALSE;
    if (nFlags & MF_BYPOSITION) {
        for (UINT pos = nIDFirst; pos <= nIDLast && pos < m_items.size(); ++pos) {
            Item& item = m_items[pos];
            item.flags = (item.flags & ~(MF_CHECKED | MF_RADIOCHECK)) |
                         (pos == nIDItem ? MF_CHECKED | MF_RADIOCHECK : 0);
            found |= pos == nIDItem;
        }
        return found;
    }
    for (UINT id = nIDFirst; id <= nIDLast && id >= nIDFirst; ++id) {
        if (Item* item = FindItem(id, MF_BYCOMMAND)) {
            item->flags = (item->flags & ~(MF_CHECKED | MF_RADIOCHECK)) |
                          (id == nIDItem ? MF_CHECKED | MF_RADIOCHECK : 0);
            found |= id == nIDItem;
        }
        if (id == nIDLast) break;
    }
    return found;
}

// ----- Qt side ---------------------------------------------------------------------------------

namespace ui_detail {

namespace {
QString MenuText(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

// Draws the items that carry a picture and no text (MF_BITMAP) with the picture at its own size
// where the text goes, inverted while the item is active, as Windows shows bitmap items.
class BitmapMenuStyle final : public QProxyStyle {
public:
    static bool IsBitmapItem(const QStyleOption* opt) {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(opt);
        return item && item->menuItemType == QStyleOptionMenuItem::Normal && item->text.isEmpty() &&
               !item->icon.isNull();
    }
    static QSize PictureSize(const QStyleOptionMenuItem* item) {
        const QList<QSize> sizes = item->icon.availableSizes();
        return sizes.isEmpty() ? QSize() : sizes.front();
    }
    // Where the text of an item would start.
    static int TextLeft(const QStyleOptionMenuItem* item) { return std::max(item->maxIconWidth, 20) + 6; }

    QSize sizeFromContents(ContentsType type, const QStyleOption* opt, const QSize& size,
                           const QWidget* widget) const override {
        if (type != CT_MenuItem || !IsBitmapItem(opt))
            return QProxyStyle::sizeFromContents(type, opt, size, widget);
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(opt);
        const QSize picture = PictureSize(item);
        QStyleOptionMenuItem plain(*item);
        plain.icon = QIcon();
        const QSize base = QProxyStyle::sizeFromContents(type, &plain, QSize(0, size.height()), widget);
        return QSize(std::max(base.width(), TextLeft(item) + picture.width() + 8),
                     std::max(base.height(), picture.height() + 4));
    }
    void drawControl(ControlElement element, const QStyleOption* opt, QPainter* painter,
                     const QWidget* widget) const override {
        if (element != CE_MenuItem || !IsBitmapItem(opt)) {
            QProxyStyle::drawControl(element, opt, painter, widget);
            return;
        }
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(opt);
        QStyleOptionMenuItem plain(*item);
        plain.icon = QIcon();
        QProxyStyle::drawControl(element, &plain, painter, widget);
        const QSize picture = PictureSize(item);
        const QRect at(item->rect.left() + TextLeft(item),
                       item->rect.top() + (item->rect.height() - picture.height()) / 2, picture.width(),
                       picture.height());
        painter->drawPixmap(at, item->icon.pixmap(picture));
        if (item->state & State_Selected) {
            painter->save();
            painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            painter->fillRect(at, Qt::white);
            painter->restore();
        }
    }
};

QStyle* BitmapItemStyle() {
    static QPointer<QStyle> style;
    if (!style) {
        style = new BitmapMenuStyle;  // the application's style underneath
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

// The item's prompt in the owner's frame while it is highlighted (Qt reports no leaving: the
// next item's prompt, or the menu's closing, ends it).
void ShowPromptOnHover(QAction* action, QPointer<QWidget> ownerWidget, UINT id) {
    QObject::connect(action, &QAction::hovered, action, [ownerWidget, id] {
        if (CFrameWnd* frame = CFrameWnd::PromptFrameOf(ownerWidget)) frame->ShowCommandPrompt(id);
    });
}

// The menu does not highlight a disabled item and so reports no hovering: the pointer over one
// shows that item's prompt here, instead of leaving the previous item's.
class DisabledItemPrompt : public QObject {
public:
    DisabledItemPrompt(QMenu* menu, QPointer<QWidget> ownerWidget)
        : QObject(menu), m_menu(menu), m_owner(std::move(ownerWidget)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::MouseMove) return false;
        QAction* action = m_menu->actionAt(static_cast<QMouseEvent*>(e)->position().toPoint());
        if (!action || action->isEnabled() || action->isSeparator()) return false;
        const UINT id = action->menu() ? 0 : action->data().toUInt();
        if (CFrameWnd* frame = CFrameWnd::PromptFrameOf(m_owner)) frame->ShowCommandPrompt(id);
        return false;
    }

private:
    QMenu* m_menu;
    QPointer<QWidget> m_owner;
};

QIcon BitmapIcon(const CBitmap* bitmap) {
    const std::shared_ptr<CBitmap::Surface> surface = bitmap ? bitmap->GetSurface() : nullptr;
    return surface ? QIcon(QPixmap::fromImage(surface->image)) : QIcon();
}
}  // namespace

void RunMenuInit(CMenu* menu, UINT index, CWnd* owner, bool recursive) {
    if (!menu) return;
    if (owner) AfxTryCall([&] { owner->OnInitMenuPopup(menu, index, FALSE); });
    if (!recursive) return;
    for (std::size_t i = 0; i < menu->Items().size(); ++i)
        if (CMenu* sub = menu->GetSubMenu(static_cast<int>(i)))
            RunMenuInit(sub, static_cast<UINT>(i), owner, true);
}

void FillQMenu(QMenu* qmenu, CMenu* menu, QPointer<QWidget> ownerWidget, UINT index, bool connectCommands) {
    // clear() keeps sub-menus alive as children; they are rebuilt below.
    for (QAction* action : qmenu->actions())
        if (QMenu* sub = action->menu(); sub && sub->parent() == qmenu) sub->deleteLater();
    qmenu->clear();
    for (std::size_t i = 0; i < menu->Items().size(); ++i) {
        const CMenu::Item& item = menu->Items()[i];
        if (item.flags & MF_SEPARATOR) {
            qmenu->addSeparator();
        } else if (item.popup) {
            QMenu* sub = qmenu->addMenu(MenuText(item.text));
            sub->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
            ShowPromptOnHover(sub->menuAction(), ownerWidget, 0);
            AttachPopup(sub, item.popup.get(), ownerWidget, static_cast<UINT>(i), connectCommands);
        } else {
            QAction* action = qmenu->addAction(MenuText(item.text));
            if ((item.flags & MF_BITMAP) && item.bitmap) {
                action->setText(QString());
                action->setIcon(BitmapIcon(item.bitmap));
                qmenu->setStyle(BitmapItemStyle());
            } else if (const QIcon icon = PictureIcon(item.id); !icon.isNull()) {
                action->setIcon(icon);
            }
            action->setData(item.id);
            action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
            ShowPromptOnHover(action, ownerWidget, item.id);
            if (item.flags & (MF_CHECKED | MF_RADIOCHECK)) {
                action->setCheckable(true);
                action->setChecked(item.flags & MF_CHECKED);
                if (item.flags & MF_RADIOCHECK) {
                    // An exclusive group of its own draws the item as a radio mark.
                    auto* group = new QActionGroup(action);
                    group->addAction(action);
                }
            }
            if (connectCommands) {
                const UINT id = item.id;
                QObject::connect(action, &QAction::triggered, qmenu, [ownerWidget, id] {
                    if (CWnd* owner = CWnd::FromWidget(ownerWidget)) owner->SendCommand(id);
                });
            }
        }
    }
}

void AttachPopup(QMenu* qmenu, CMenu* menu, QPointer<QWidget> ownerWidget, UINT index, bool connectCommands) {
    qmenu->installEventFilter(new DisabledItemPrompt(qmenu, ownerWidget));
    // Each opening runs the owner's update pass and then shows the menu's current state.
    QObject::connect(qmenu, &QMenu::aboutToShow, qmenu, [=] {
        RunMenuInit(menu, index, CWnd::FromWidget(ownerWidget), false);
        FillQMenu(qmenu, menu, ownerWidget, index, connectCommands);
    });
    QObject::connect(qmenu, &QMenu::aboutToHide, qmenu, [ownerWidget] {
        if (CFrameWnd* frame = CFrameWnd::PromptFrameOf(ownerWidget)) frame->EndCommandPrompt();
    });
    FillQMenu(qmenu, menu, ownerWidget, index, connectCommands);
}

void BuildMenuBar(QMenuBar* bar, CMenu* menu, CWnd* owner) {
    // The old popups may be running the command that rebuilds the bar: they go later.
    for (QAction* action : bar->actions())
        if (QMenu* sub = action->menu(); sub && sub->parent() == bar) sub->deleteLater();
    bar->clear();
    if (!menu) return;
    QPointer<QWidget> ownerWidget(owner->GetWidget());
    for (std::size_t i = 0; i < menu->Items().size(); ++i) {
        const CMenu::Item& item = menu->Items()[i];
        if (item.flags & MF_SEPARATOR) {
            bar->addSeparator();
        } else if (item.popup) {
            QMenu* sub = bar->addMenu(MenuText(item.text));
            AttachPopup(sub, item.popup.get(), ownerWidget, static_cast<UINT>(i), true);
        } else {
            QAction* action = bar->addAction(MenuText(item.text));
            action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
            const UINT id = item.id;
            QObject::connect(action, &QAction::triggered, bar, [ownerWidget, id] {
                if (CWnd* w = CWnd::FromWidget(ownerWidget)) w->SendCommand(id);
            });
        }
    }
}

}  // namespace ui_detail

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd) {
    UINT chosen = 0;
    if (DialogRunner* runner = DialogRunner::Active()) {
        const CModalLoopScope modal;
        ui_detail::RunMenuInit(this, 0, pWnd, true);
        chosen = runner->ChoosePopupItem(*this);
    } else if (ui_detail::IsGridMenu(*this)) {
        const CModalLoopScope modal;
        ui_detail::RunMenuInit(this, 0, pWnd, false);
        chosen = ui_detail::ExecGridMenu(this, pWnd, QPoint(x, y));
    } else {
        QMenu qmenu(ui_detail::DialogParent(pWnd));
        ui_detail::AttachPopup(&qmenu, this, QPointer<QWidget>(pWnd ? pWnd->GetWidget() : nullptr), 0, false);
        const CModalLoopScope modal;
        QAction* action = qmenu.exec(QPoint(x, y));
        chosen = action ? action->data().toUInt() : 0;
    }
    if (nFlags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen && pWnd && !(nFlags & TPM_NONOTIFY)) pWnd->PostCommand(chosen);
    return TRUE;
}

BOOL CMenu::TrackPopupMenuResource(UINT nIDResource, int nSubMenu, UINT nFlags, int x, int y, CWnd* pWnd) {
    CMenu menu;
    if (!menu.LoadMenu(nIDResource)) return FALSE;
    CMenu* popup = menu.GetSubMenu(nSubMenu);
    return popup ? popup->TrackPopupMenu(nFlags, x, y, pWnd) : FALSE;
}
