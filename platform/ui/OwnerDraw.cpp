#include "platform/ui/OwnerDraw.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "platform/gdi/DC.h"
#include "platform/gdi/QtGdi.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/detail/ControlsQt.h"

namespace {

const char* const kStyleProperty = "tessarayStyle";

UINT DisabledState(const QWidget* w) {
    return w->isEnabled() ? 0u : static_cast<UINT>(ODS_DISABLED | ODS_GRAYED);
}

int ItemHeight(const QWidget* control, int index) {
    CWnd* w = CWnd::FromWidget(control);
    return AfxTryCallOr(control->fontMetrics().height(), [&] {
        if (auto* combo = dynamic_cast<CComboBox*>(w)) return combo->GetItemHeight(index);
        if (auto* list = dynamic_cast<CListBox*>(w)) return list->GetItemHeight(index);
        return control->fontMetrics().height();
    });
}

enum class Steps { ListItem, Button };

// One repaint of an item: a list item is erased with the window colour and reaches DrawItem as
// Windows would have reached its state (entire, selection, focus); a button draws entire.
void PaintItem(CWnd* control, int index, UINT state, Steps steps, QPainter* painter, const QRect& rect) {
    if (!control || !painter || !painter->isActive() || rect.isEmpty()) return;
    painter->save();
    painter->setClipRect(rect, Qt::IntersectClip);
    {
        const QPaintDevice* device = painter->device();
        PainterTargetInfo info;
        info.pixelSize =
            CSize(std::max(device->width(), rect.right() + 1), std::max(device->height(), rect.bottom() + 1));
        info.physicalSize = info.pixelSize;
        CDC dc;
        dc.AttachBackend(MakePainterBackend(painter, info));
        const CRect r(rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1);
        AfxTryCall([&] {
            if (steps == Steps::Button) {
                DrawOwnerDrawItem(control, index, ODA_DRAWENTIRE, state, &dc, r);
                return;
            }
            dc.FillSolidRect(&r, GetSysColor(COLOR_WINDOW));
            DrawOwnerDrawItem(control, index, ODA_DRAWENTIRE, state, &dc, r);
            DrawOwnerDrawItem(control, index, ODA_SELECT, state, &dc, r);
            if (state & ODS_FOCUS) DrawOwnerDrawItem(control, index, ODA_FOCUS, state, &dc, r);
        });
    }
    painter->restore();
}

// Items of owner-drawn lists and of a combo's dropped-down list.
class OwnerDrawDelegate final : public QStyledItemDelegate {
public:
    explicit OwnerDrawDelegate(QWidget* control) : QStyledItemDelegate(control), m_control(control) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (!m_control) return;
        UINT state = DisabledState(m_control);
        if (option.state & QStyle::State_Selected) state |= ODS_SELECTED;
        if (option.state & QStyle::State_HasFocus) state |= ODS_FOCUS;
        PaintItem(CWnd::FromWidget(m_control), index.row(), state, Steps::ListItem, painter, option.rect);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(option.rect.width(), m_control ? ItemHeight(m_control, index.row()) : 16);
    }

private:
    QPointer<QWidget> m_control;
};

class ComboWidget final : public QComboBox {
public:
    ComboWidget(QWidget* parent, bool ownerDrawn) : QComboBox(parent), m_ownerDrawn(ownerDrawn) {
        if (ownerDrawn) setItemDelegate(new OwnerDrawDelegate(this));
    }
    void SetDropHeight(int pixels) { m_dropHeight = pixels; }

    QSize sizeHint() const override { return Fit(QComboBox::sizeHint()); }
    QSize minimumSizeHint() const override { return Fit(QComboBox::minimumSizeHint()); }
    void showPopup() override {
        if (m_dropHeight > 0)
            setMaxVisibleItems(std::max(1, m_dropHeight / std::max(1, ItemHeight(this, 0))));
        QComboBox::showPopup();
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        if (!OwnerDrawn()) {
            QComboBox::paintEvent(e);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        opt.currentText.clear();
        opt.currentIcon = QIcon();
        painter.drawComplexControl(QStyle::CC_ComboBox, opt);
        // An item of the field's height, in the middle of the style's edit field.
        QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
        const int height = std::min(field.height(), ItemHeight(this, -1));
        field.setTop(field.top() + (field.height() - height) / 2);
        field.setHeight(height);
        UINT state = ODS_COMBOBOXEDIT | DisabledState(this);
        if (hasFocus()) state |= ODS_SELECTED | ODS_FOCUS;
        PaintItem(CWnd::FromWidget(this), currentIndex(), state, Steps::ListItem, &painter, field);
    }

private:
    bool OwnerDrawn() const { return m_ownerDrawn && !isEditable(); }
    // The field holds an item of the field's height inside the frame.
    QSize Fit(QSize size) const {
        if (!OwnerDrawn()) return size;
        const int frame = 2 * style()->pixelMetric(QStyle::PM_ComboBoxFrameWidth, nullptr, this) + 2;
        size.setHeight(std::max(size.height(), ItemHeight(this, -1) + frame));
        return size;
    }

    bool m_ownerDrawn;
    int m_dropHeight = 0;
};

class OwnerDrawButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), ToQColor(GetSysColor(COLOR_BTNFACE)));
        UINT state = DisabledState(this);
        if (isDown()) state |= ODS_SELECTED;
        if (hasFocus()) state |= ODS_FOCUS;
        PaintItem(CWnd::FromWidget(this), 0, state, Steps::Button, &painter, rect());
    }
};

}  // namespace

namespace ui_detail {

void SetControlStyle(QWidget* widget, UINT style) {
    if (widget) widget->setProperty(kStyleProperty, QVariant::fromValue<uint>(style));
}

UINT ControlStyle(const QWidget* widget) {
    return widget ? widget->property(kStyleProperty).toUInt() : 0u;
}

QComboBox* NewComboWidget(QWidget* parent, UINT style) {
    return new ComboWidget(parent, (style & CBS_OWNERDRAWFIXED) != 0);
}

void SetComboDropHeight(QComboBox* combo, int pixels) {
    if (auto* c = dynamic_cast<ComboWidget*>(combo)) c->SetDropHeight(pixels);
}

void MakeListOwnerDrawn(QListWidget* list) {
    list->setItemDelegate(new OwnerDrawDelegate(list));
}

QPushButton* NewOwnerDrawButton(const QString& text, QWidget* parent) {
    return new OwnerDrawButton(text, parent);
}

void ItemHeightsChanged(QWidget* control) {
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        combo->updateGeometry();
        combo->view()->doItemsLayout();
        combo->update();
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        list->doItemsLayout();
        list->viewport()->update();
    }
}

}  // namespace ui_detail

BOOL DrawOwnerDrawItem(CWnd* pControl, int nIndex, UINT nAction, UINT nState, CDC* pDC, const CRect& rect) {
    if (!pControl || !pDC) return FALSE;
    // The object that stands for the window now draws (a member control bound to a dialog's).
    if (CWnd* standing = CWnd::FromWidget(pControl->GetWidget())) pControl = standing;
    DRAWITEMSTRUCT dis;
    dis.CtlID = pControl->GetDlgCtrlID();
    dis.itemID = static_cast<UINT>(nIndex);
    dis.itemAction = nAction;
    dis.itemState = nState;
    dis.hwndItem = pControl;
    dis.hDC = pDC;
    dis.rcItem = rect;
    if (auto* combo = dynamic_cast<CComboBox*>(pControl)) {
        if (!(combo->GetStyle() & CBS_OWNERDRAWFIXED)) return FALSE;
        dis.CtlType = ODT_COMBOBOX;
        dis.itemData = combo->GetItemData(nIndex);  // CB_ERR (-1) outside the items
        combo->DrawItem(&dis);
        return TRUE;
    }
    if (auto* list = dynamic_cast<CListBox*>(pControl)) {
        // With strings as well, the list is a check list box that draws its own items.
        if ((list->GetStyle() & (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS)) != LBS_OWNERDRAWFIXED) return FALSE;
        dis.CtlType = ODT_LISTBOX;
        dis.itemData = list->GetItemData(nIndex);
        list->DrawItem(&dis);
        return TRUE;
    }
    if (auto* button = dynamic_cast<CButton*>(pControl)) {
        if ((button->GetButtonStyle() & 0xF) != BS_OWNERDRAW) return FALSE;
        dis.CtlType = ODT_BUTTON;
        dis.itemID = 0;
        button->DrawItem(&dis);
        return TRUE;
    }
    return FALSE;
}
