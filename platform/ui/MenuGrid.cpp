#include "platform/ui/detail/MenuGrid.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "platform/gdi/DC.h"
#include "platform/gdi/QtGdi.h"
#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/OwnerDraw.h"
#include "platform/ui/Wnd.h"
#include "platform/ui/detail/WndImpl.h"

namespace ui_detail {

namespace {

constexpr int kFrame = 2;        // the popup's raised border
constexpr int kBarGap = 5;       // the room of an MF_MENUBARBREAK line between two columns
constexpr int kSeparator = 8;    // height of a separator
constexpr int kTextPadding = 3;  // around a text item

QString ItemText(const CMenu::Item& item) {
    QString text = QString::fromUtf8(item.text.data(), static_cast<int>(item.text.size()));
    text.remove(QLatin1Char('&'));
    return text.section(QLatin1Char('\t'), 0, 0);
}

bool Selectable(const CMenu::Item& item) {
    return !(item.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)) && !item.popup;
}

class GridPopup final : public QWidget {
public:
    GridPopup(CMenu* menu, CWnd* owner, QWidget* parent)
        : QWidget(parent, Qt::Popup), m_menu(menu), m_owner(owner ? owner->GetWidget() : nullptr) {
        setAttribute(Qt::WA_DeleteOnClose, false);
        setMouseTracking(true);
        Layout();
    }

    UINT Chosen() const { return m_chosen; }
    void SetLoop(QEventLoop* loop) { m_loop = loop; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect all = rect();
        painter.fillRect(all, ToQColor(GetSysColor(COLOR_MENU)));
        DrawBorder(painter, all);
        for (const Column& column : m_columns) {
            if (!column.bar) continue;
            const int x = column.left - kBarGap / 2 - 1;
            painter.fillRect(QRect(x, kFrame, 1, all.height() - 2 * kFrame),
                             ToQColor(GetSysColor(COLOR_BTNSHADOW)));
            painter.fillRect(QRect(x + 1, kFrame, 1, all.height() - 2 * kFrame),
                             ToQColor(GetSysColor(COLOR_BTNHIGHLIGHT)));
        }
        for (std::size_t i = 0; i < m_cells.size(); ++i)
            PaintCell(painter, static_cast<int>(i));
    }
    void mouseMoveEvent(QMouseEvent* e) override { SetHot(HitTest(e->position().toPoint())); }
    void mouseReleaseEvent(QMouseEvent* e) override {
        const int hit = HitTest(e->position().toPoint());
        if (hit >= 0 && Selectable(Item(hit))) Choose(hit);
    }
    void leaveEvent(QEvent*) override { SetHot(-1); }
    void keyPressEvent(QKeyEvent* e) override {
        switch (e->key()) {
            case Qt::Key_Escape:
                close();
                return;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (m_hot >= 0 && Selectable(Item(m_hot))) Choose(m_hot);
                return;
            case Qt::Key_Down:
            case Qt::Key_Up:
                Step(e->key() == Qt::Key_Down ? 1 : -1);
                return;
            case Qt::Key_Left:
            case Qt::Key_Right:
                Across(e->key() == Qt::Key_Right ? 1 : -1);
                return;
            default:
                QWidget::keyPressEvent(e);
        }
    }
    void hideEvent(QHideEvent* e) override {
        QWidget::hideEvent(e);
        if (m_loop) m_loop->quit();
    }

private:
    struct Cell {
        QRect rect;
        int column = 0;
        int row = 0;
    };
    struct Column {
        int left = 0;
        int width = 0;
        bool bar = false;
    };

    const CMenu::Item& Item(int index) const { return m_menu->Items()[static_cast<std::size_t>(index)]; }
    CWnd* Owner() const { return CWnd::FromWidget(m_owner); }

    QSize MeasureCell(const CMenu::Item& item) const {
        if (item.flags & MF_SEPARATOR) return QSize(1, kSeparator);
        const CSize check = GetMenuCheckMarkDimensions();
        if (item.flags & MF_OWNERDRAW) {
            MEASUREITEMSTRUCT mis;
            mis.CtlType = ODT_MENU;
            mis.itemID = item.id;
            mis.itemData = item.data;
            mis.menu = m_menu;
            AfxTryCall([&] {
                if (CWnd* owner = Owner())
                    owner->OnMeasureItem(0, &mis);
                else
                    m_menu->MeasureItem(&mis);
            });
            // As Windows does, the item is widened by the room of a check mark.
            return QSize(static_cast<int>(mis.itemWidth) + check.cx,
                         std::max(1, static_cast<int>(mis.itemHeight)));
        }
        const QFontMetrics metrics = fontMetrics();
        return QSize(2 * kTextPadding + check.cx + metrics.horizontalAdvance(ItemText(item)) + 12,
                     std::max<int>(metrics.height(), check.cy) + 2 * kTextPadding);
    }

    void Layout() {
        std::vector<QSize> sizes;
        for (const CMenu::Item& item : m_menu->Items())
            sizes.push_back(MeasureCell(item));
        int x = kFrame;
        int y = kFrame;
        int bottom = kFrame;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            const CMenu::Item& item = m_menu->Items()[i];
            const bool breaks = (item.flags & (MF_MENUBREAK | MF_MENUBARBREAK)) != 0;
            if (m_columns.empty() || (breaks && i > 0)) {
                if (!m_columns.empty()) x = m_columns.back().left + m_columns.back().width;
                Column column;
                column.bar = !m_columns.empty() && (item.flags & MF_MENUBARBREAK);
                column.left = x + (column.bar ? kBarGap : 0);
                m_columns.push_back(column);
                y = kFrame;
            }
            Column& column = m_columns.back();
            column.width = std::max(column.width, sizes[i].width());
            Cell cell;
            cell.column = static_cast<int>(m_columns.size()) - 1;
            cell.row = y;
            cell.rect = QRect(0, y, 0, sizes[i].height());
            m_cells.push_back(cell);
            y += sizes[i].height();
            bottom = std::max(bottom, y);
        }
        for (Cell& cell : m_cells) {
            const Column& column = m_columns[static_cast<std::size_t>(cell.column)];
            cell.rect.setLeft(column.left);
            cell.rect.setWidth(column.width);
        }
        const int right = m_columns.empty() ? kFrame : m_columns.back().left + m_columns.back().width;
        setFixedSize(right + kFrame, bottom + kFrame);
    }

    void DrawBorder(QPainter& painter, const QRect& all) {
        const QColor light = ToQColor(GetSysColor(COLOR_3DLIGHT)),
                     white = ToQColor(GetSysColor(COLOR_BTNHIGHLIGHT));
        const QColor shadow = ToQColor(GetSysColor(COLOR_BTNSHADOW)),
                     dark = ToQColor(GetSysColor(COLOR_3DDKSHADOW));
        const int r = all.right(), b = all.bottom();
        painter.fillRect(QRect(0, 0, all.width(), 1), light);
        painter.fillRect(QRect(0, 0, 1, all.height()), light);
        painter.fillRect(QRect(1, 1, all.width() - 2, 1), white);
        painter.fillRect(QRect(1, 1, 1, all.height() - 2), white);
        painter.fillRect(QRect(0, b, all.width(), 1), dark);
        painter.fillRect(QRect(r, 0, 1, all.height()), dark);
        painter.fillRect(QRect(1, b - 1, all.width() - 2, 1), shadow);
        painter.fillRect(QRect(r - 1, 1, 1, all.height() - 2), shadow);
    }

    void PaintCell(QPainter& painter, int index) {
        const CMenu::Item& item = Item(index);
        const QRect r = m_cells[static_cast<std::size_t>(index)].rect;
        const bool grey = (item.flags & (MF_GRAYED | MF_DISABLED)) != 0;
        if (item.flags & MF_SEPARATOR) {
            const int y = r.top() + r.height() / 2 - 1;
            painter.fillRect(QRect(r.left() + 1, y, r.width() - 2, 1),
                             ToQColor(GetSysColor(COLOR_BTNSHADOW)));
            painter.fillRect(QRect(r.left() + 1, y + 1, r.width() - 2, 1),
                             ToQColor(GetSysColor(COLOR_BTNHIGHLIGHT)));
            return;
        }
        if (item.flags & MF_OWNERDRAW) {
            PaintOwnerDrawn(painter, index, r, grey);
            return;
        }
        const bool hot = index == m_hot && !grey;
        if (hot) painter.fillRect(r, ToQColor(GetSysColor(COLOR_HIGHLIGHT)));
        painter.setPen(ToQColor(GetSysColor(grey  ? COLOR_GRAYTEXT
                                            : hot ? COLOR_HIGHLIGHTTEXT
                                                  : COLOR_MENUTEXT)));
        const CSize check = GetMenuCheckMarkDimensions();
        if (item.flags & MF_CHECKED)
            painter.drawText(QRect(r.left() + kTextPadding, r.top(), check.cx, r.height()), Qt::AlignCenter,
                             QString(QChar(0x2713)));
        painter.drawText(r.adjusted(kTextPadding + check.cx + 2, 0, -kTextPadding, 0),
                         Qt::AlignVCenter | Qt::AlignLeft, ItemText(item));
    }

    void PaintOwnerDrawn(QPainter& painter, int index, const QRect& r, bool grey) {
        const CMenu::Item& item = Item(index);
        DRAWITEMSTRUCT dis;
        dis.CtlType = ODT_MENU;
        dis.itemID = item.id;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = (index == m_hot ? ODS_SELECTED : 0u) |
                        ((item.flags & MF_CHECKED) ? ODS_CHECKED : 0u) |
                        (grey ? ODS_GRAYED | ODS_DISABLED : 0u);
        dis.itemData = item.data;
        dis.menu = m_menu;
        dis.rcItem = CRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        painter.save();
        painter.setClipRect(r);
        {
            PainterTargetInfo info;
            info.pixelSize = CSize(width(), height());
            info.physicalSize = info.pixelSize;
            CDC dc;
            dc.AttachBackend(MakePainterBackend(&painter, info));
            dis.hDC = &dc;
            AfxTryCall([&] {
                if (CWnd* owner = Owner())
                    owner->OnDrawItem(0, &dis);
                else
                    m_menu->DrawItem(&dis);
            });
        }
        painter.restore();
    }

    int HitTest(const QPoint& p) const {
        for (std::size_t i = 0; i < m_cells.size(); ++i)
            if (m_cells[i].rect.contains(p)) return static_cast<int>(i);
        return -1;
    }
    void SetHot(int index) {
        if (index == m_hot) return;
        m_hot = index;
        update();
    }
    void Choose(int index) {
        m_chosen = Item(index).id;
        close();
    }
    // The next selectable item in menu order.
    void Step(int direction) {
        const int n = static_cast<int>(m_cells.size());
        for (int k = 1; k <= n; ++k) {
            const int i = ((m_hot < 0 ? (direction > 0 ? -1 : 0) : m_hot) + direction * k + n * 2) % n;
            if (Selectable(Item(i))) return SetHot(i);
        }
    }
    // The selectable item of the neighbouring column nearest to the current row.
    void Across(int direction) {
        if (m_hot < 0) return Step(1);
        const Cell& from = m_cells[static_cast<std::size_t>(m_hot)];
        const int column = from.column + direction;
        int best = -1;
        for (std::size_t i = 0; i < m_cells.size(); ++i) {
            if (m_cells[i].column != column || !Selectable(Item(static_cast<int>(i)))) continue;
            if (best < 0 || std::abs(m_cells[i].row - from.row) <
                                std::abs(m_cells[static_cast<std::size_t>(best)].row - from.row))
                best = static_cast<int>(i);
        }
        if (best >= 0) SetHot(best);
    }

    CMenu* m_menu;
    QPointer<QWidget> m_owner;
    std::vector<Cell> m_cells;
    std::vector<Column> m_columns;
    int m_hot = -1;
    UINT m_chosen = 0;
    QEventLoop* m_loop = nullptr;
};

}  // namespace

bool IsGridMenu(const CMenu& menu) {
    for (const CMenu::Item& item : menu.Items())
        if (item.flags & (MF_OWNERDRAW | MF_MENUBREAK | MF_MENUBARBREAK)) return true;
    return false;
}

UINT ExecGridMenu(CMenu* menu, CWnd* owner, QPoint at) {
    if (!menu) return 0;
    GridPopup popup(menu, owner, DialogParent(owner));
    // Kept on the screen, as Windows places popups.
    if (const QScreen* screen = QGuiApplication::screenAt(at) ? QGuiApplication::screenAt(at)
                                                              : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - popup.width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - popup.height())));
    }
    popup.move(at);
    QEventLoop loop;
    popup.SetLoop(&loop);
    popup.show();
    loop.exec();
    popup.SetLoop(nullptr);
    return popup.Chosen();
}

}  // namespace ui_detail
