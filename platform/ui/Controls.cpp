#include "platform/ui/Controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "platform/gdi/QtGdi.h"
#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/detail/ControlsQt.h"
#include "platform/ui/detail/WndImpl.h"

namespace ui_detail {
void NotifyCommand(CWnd* self, int code) {
    CWnd* target = CWnd::FromWidget(self->GetWidget());
    if (!target) target = self;
    if (AfxTryCallOr(FALSE, [&] { return target->OnReflectedCommand(code); })) return;
    if (CWnd* owner = target->GetOwner()) owner->SendCommand(target->GetDlgCtrlID(), code, target);
}
}  // namespace ui_detail

namespace {

using ui_detail::ControlStyle;
using ui_detail::NotifyCommand;
using ui_detail::SetControlStyle;

QString ToQ(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

QObject* Ctx(const CWnd* w) {
    return w->GetImpl().context.get();
}

// Makes `self` stand for `widget` as control nID of pParent.
void Adopt(CWnd* self, QWidget* widget, CWnd* pParent, UINT nID) {
    self->Attach(widget, !pParent || !pParent->GetWidget());
    self->SetDlgCtrlID(nID);
    // Controls nobody addresses (id 0 or -1) are not registered under that shared id.
    if (pParent && nID != 0 && nID != static_cast<UINT>(kIdStatic))
        pParent->RegisterDlgItem(nID, self);
    else if (pParent)
        self->SetOwner(pParent);
}

// Focus notifications of a control (and of its inner line edit, for editable combos).
class FocusWatcher : public QObject {
public:
    FocusWatcher(CWnd* self, int setCode, int killCode, QObject* parent)
        : QObject(parent), m_self(self), m_set(setCode), m_kill(killCode) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::FocusIn)
            NotifyCommand(m_self, m_set);
        else if (e->type() == QEvent::FocusOut)
            NotifyCommand(m_self, m_kill);
        return false;
    }

private:
    CWnd* m_self;
    int m_set, m_kill;
};

void WatchFocus(CWnd* self, QWidget* w, int setCode, int killCode) {
    w->installEventFilter(new FocusWatcher(self, setCode, killCode, Ctx(self)));
}

// Tab, Shift+Tab and a label's mnemonic bring the focus to an edit with its whole text chosen, as
// the dialog manager brings it; a click places the caret instead.
class ChooseTextOnTab : public QObject {
public:
    ChooseTextOnTab(CEdit* edit, QObject* parent) : QObject(parent), m_edit(edit) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::FocusIn) return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::ShortcutFocusReason)
            m_edit->SetSel(0, -1);
        return false;
    }

private:
    CEdit* m_edit;
};

template <class Box>
int FindIn(const Box& box, int count, int nStartAfter, std::string_view text, bool exact,
           QString (*itemText)(const Box&, int)) {
    if (count <= 0) return -1;
    const QString t = ToQ(text);
    const int start = (nStartAfter < -1 || nStartAfter >= count) ? 0 : nStartAfter + 1;
    for (int k = 0; k < count; ++k) {
        const int i = (start + k) % count;
        const QString s = itemText(box, i);
        if (exact ? s.compare(t, Qt::CaseInsensitive) == 0 : s.startsWith(t, Qt::CaseInsensitive)) return i;
    }
    return -1;
}

// The index at which `text` keeps a sorted list sorted (case-insensitive, after equal items).
template <class TextAt>
int SortedPosition(int count, const QString& text, TextAt textAt) {
    int pos = 0;
    while (pos < count && textAt(pos).compare(text, Qt::CaseInsensitive) <= 0)
        ++pos;
    return pos;
}

// Owner-drawn item heights: the list's (nIndex >= 0) and the selection field's (-1), kept on the
// widget; until one is set, MeasureItem decides for owner-drawn controls.
bool StoreItemHeight(QWidget* widget, int nIndex, UINT height) {
    if (!widget || height == 0 || height > 255) return false;
    widget->setProperty(nIndex < 0 ? "fieldHeight" : "itemHeight", height);
    ui_detail::ItemHeightsChanged(widget);
    return true;
}

template <class Measure>
int OwnerItemHeight(const CWnd* self, UINT ctlType, int nIndex, bool ownerDrawn, Measure measure) {
    QWidget* widget = self->GetWidget();
    if (!widget) return -1;
    const QVariant set = widget->property(nIndex < 0 ? "fieldHeight" : "itemHeight");
    if (set.isValid()) return set.toInt();
    MEASUREITEMSTRUCT mis;
    mis.CtlType = ctlType;
    mis.CtlID = self->GetDlgCtrlID();
    mis.itemID = static_cast<UINT>(nIndex);
    mis.itemHeight = static_cast<UINT>(widget->fontMetrics().height());
    if (ownerDrawn) measure(&mis);
    return static_cast<int>(mis.itemHeight);
}

}  // namespace

// ----- CButton ---------------------------------------------------------------------------------

BOOL CButton::Create(std::string_view text, Kind kind, CWnd* pParent, UINT nID, UINT style) {
    CREATESTRUCT cs{style, nID, pParent};
    if (!PreCreateWindow(cs)) return FALSE;
    style = cs.style;
    QWidget* parent = pParent ? pParent->GetWidget() : nullptr;
    QAbstractButton* button = nullptr;
    switch (kind) {
        case Kind::Push:
        case Kind::DefPush: {
            auto* b = (style & 0xF) == BS_OWNERDRAW ? ui_detail::NewOwnerDrawButton(ToQ(text), parent)
                                                    : new QPushButton(ToQ(text), parent);
            b->setDefault(kind == Kind::DefPush);
            button = b;
            break;
        }
        case Kind::Check: {
            if (style & BS_PUSHLIKE) {
                auto* b = new QPushButton(ToQ(text), parent);
                b->setCheckable(true);
                b->setAutoDefault(false);
                button = b;
                break;
            }
            auto* b = new QCheckBox(ToQ(text), parent);
            b->setTristate((style & 0xF) == BS_AUTO3STATE);
            button = b;
            break;
        }
        case Kind::Radio:
            button = new QRadioButton(ToQ(text), parent);
            break;
    }
    SetControlStyle(button, style);
    Adopt(this, button, pParent, nID);
    QObject::connect(button, &QAbstractButton::clicked, Ctx(this),
                     [this] { NotifyCommand(this, BN_CLICKED); });
    return TRUE;
}

BOOL CButton::Create(std::string_view text, UINT style, const CRect& rect, CWnd* pParent, UINT nID) {
    constexpr UINT kDefPush = 0x0001;  // BS_DEFPUSHBUTTON
    if (!Create(text, (style & 0xF) == kDefPush ? Kind::DefPush : Kind::Push, pParent, nID, style))
        return FALSE;
    GetWidget()->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    GetWidget()->setFixedSize(rect.Width(), rect.Height());
    return TRUE;
}

UINT CButton::GetButtonStyle() const {
    return ControlStyle(GetWidget()) & 0xFF;
}

int CButton::GetCheck() const {
    if (auto* c = qobject_cast<QCheckBox*>(GetWidget())) {
        switch (c->checkState()) {
            case Qt::Checked:
                return BST_CHECKED;
            case Qt::PartiallyChecked:
                return BST_INDETERMINATE;
            default:
                return BST_UNCHECKED;
        }
    }
    auto* b = qobject_cast<QAbstractButton*>(GetWidget());
    return b && b->isCheckable() && b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int nCheck) {
    if (auto* c = qobject_cast<QCheckBox*>(GetWidget())) {
        if (nCheck == BST_INDETERMINATE) c->setTristate(true);
        c->setCheckState(nCheck == BST_CHECKED         ? Qt::Checked
                         : nCheck == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                       : Qt::Unchecked);
        return;
    }
    auto* b = qobject_cast<QAbstractButton*>(GetWidget());
    if (!b || !b->isCheckable()) return;
    // An exclusive group refuses to clear its checked button; Windows radio groups may have none.
    QButtonGroup* group = b->group();
    if (!nCheck && group && group->exclusive() && b->isChecked()) {
        group->setExclusive(false);
        b->setChecked(false);
        group->setExclusive(true);
    } else {
        b->setChecked(nCheck != 0);
    }
}

void CButton::Click() {
    if (auto* b = qobject_cast<QAbstractButton*>(GetWidget())) b->click();
}

void CButton::SetWindowText(std::string_view text) {
    auto* b = qobject_cast<QAbstractButton*>(GetWidget());
    if (!b) return;
    if (b->property("hiddenText").isValid())
        b->setProperty("hiddenText", ToQ(text));
    else
        b->setText(ToQ(text));
}

std::string CButton::GetWindowText() const {
    auto* b = qobject_cast<QAbstractButton*>(GetWidget());
    if (!b) return std::string();
    // With BS_BITMAP the text stays the window's, unshown.
    const QVariant hidden = b->property("hiddenText");
    return (hidden.isValid() ? hidden.toString() : b->text()).toStdString();
}

const CBitmap* CButton::SetBitmap(const CBitmap* pBitmap) {
    const CBitmap* previous = m_bitmap;
    auto* b = qobject_cast<QAbstractButton*>(GetWidget());
    if (!b) return previous;
    m_bitmap = pBitmap;
    const std::shared_ptr<CBitmap::Surface> surface = pBitmap ? pBitmap->GetSurface() : nullptr;
    if (!surface) {
        b->setIcon(QIcon());
        return previous;
    }
    const QPixmap pixmap = QPixmap::fromImage(surface->image);
    b->setIcon(QIcon(pixmap));
    b->setIconSize(pixmap.size());
    if ((ControlStyle(b) & BS_BITMAP) && !b->property("hiddenText").isValid()) {
        b->setProperty("hiddenText", b->text());
        b->setText(QString());
    }
    return previous;
}

BOOL CButton::GetIdealSize(CSize* pSize) const {
    QWidget* w = GetWidget();
    if (!w || !pSize) return FALSE;
    const QSize hint = w->sizeHint();
    *pSize = CSize(hint.width(), hint.height());
    return TRUE;
}

// ----- CEdit -----------------------------------------------------------------------------------

BOOL CEdit::Create(UINT style, CWnd* pParent, UINT nID) {
    QWidget* parent = pParent ? pParent->GetWidget() : nullptr;
    if (style & ES_MULTILINE) {
        auto* e = new QPlainTextEdit(parent);
        e->setReadOnly(style & ES_READONLY);
        e->setTabChangesFocus(true);
        Adopt(this, e, pParent, nID);
        QObject::connect(e, &QPlainTextEdit::textChanged, Ctx(this),
                         [this] { NotifyCommand(this, EN_CHANGE); });
    } else {
        auto* e = new QLineEdit(parent);
        e->setReadOnly(style & ES_READONLY);
        if (style & ES_RIGHT) e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (style & ES_PASSWORD) e->setEchoMode(QLineEdit::Password);
        if (style & ES_NUMBER)
            e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
        Adopt(this, e, pParent, nID);
        QObject::connect(e, &QLineEdit::textChanged, Ctx(this), [this] { NotifyCommand(this, EN_CHANGE); });
    }
    WatchFocus(this, GetWidget(), EN_SETFOCUS, EN_KILLFOCUS);
    GetWidget()->installEventFilter(new ChooseTextOnTab(this, Ctx(this)));
    return TRUE;
}

BOOL CEdit::IsMultiLine() const {
    return qobject_cast<QPlainTextEdit*>(GetWidget()) != nullptr;
}

void CEdit::SetWindowText(std::string_view text) {
    if (auto* e = qobject_cast<QLineEdit*>(GetWidget())) {
        e->setText(ToQ(text));
    } else if (auto* m = qobject_cast<QPlainTextEdit*>(GetWidget())) {
        QString t = ToQ(text);
        t.remove(QLatin1Char('\r'));
        m->setPlainText(t);
    }
}

std::string CEdit::GetWindowText() const {
    if (auto* e = qobject_cast<QLineEdit*>(GetWidget())) return e->text().toStdString();
    if (auto* m = qobject_cast<QPlainTextEdit*>(GetWidget()))
        return m->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString();
    return {};
}

void CEdit::SetSel(int nStartChar, int nEndChar) {
    if (auto* e = qobject_cast<QLineEdit*>(GetWidget())) {
        const int len = static_cast<int>(e->text().size());
        if (nStartChar < 0) {
            e->deselect();
            return;
        }
        const int end = (nEndChar < 0 || nEndChar > len) ? len : nEndChar;
        const int start = std::min(nStartChar, end);
        e->setSelection(start, end - start);
    } else if (auto* m = qobject_cast<QPlainTextEdit*>(GetWidget())) {
        QTextCursor c = m->textCursor();
        const int len = m->document()->characterCount() - 1;
        c.setPosition(std::clamp(nStartChar, 0, len));
        c.setPosition((nEndChar < 0 || nEndChar > len) ? len : nEndChar, QTextCursor::KeepAnchor);
        m->setTextCursor(c);
    }
}

void CEdit::ReplaceSel(std::string_view text) {
    if (auto* e = qobject_cast<QLineEdit*>(GetWidget()))
        e->insert(ToQ(text));
    else if (auto* m = qobject_cast<QPlainTextEdit*>(GetWidget()))
        m->insertPlainText(ToQ(text));
}

void CEdit::SetReadOnly(BOOL bReadOnly) {
    if (auto* e = qobject_cast<QLineEdit*>(GetWidget()))
        e->setReadOnly(bReadOnly);
    else if (auto* m = qobject_cast<QPlainTextEdit*>(GetWidget()))
        m->setReadOnly(bReadOnly);
}

void CEdit::SetLimitText(UINT nMax) {
    // As the class library's: 0 lifts the limit (the edit otherwise holds 32767 characters).
    constexpr UINT kNoLimit = 0x7FFFFFFE;
    if (auto* e = qobject_cast<QLineEdit*>(GetWidget()))
        e->setMaxLength(static_cast<int>(nMax == 0 || nMax > kNoLimit ? kNoLimit : nMax));
}

// ----- CStatic ---------------------------------------------------------------------------------

BOOL CStatic::Create(std::string_view text, CWnd* pParent, UINT nID) {
    auto* label = new QLabel(ToQ(text), pParent ? pParent->GetWidget() : nullptr);
    Adopt(this, label, pParent, nID);
    return TRUE;
}

void CStatic::SetWindowText(std::string_view text) {
    if (auto* l = qobject_cast<QLabel*>(GetWidget())) l->setText(ToQ(text));
}

std::string CStatic::GetWindowText() const {
    auto* l = qobject_cast<QLabel*>(GetWidget());
    return l ? l->text().toStdString() : std::string();
}

// ----- CComboBox -------------------------------------------------------------------------------

namespace {
QComboBox* Combo(const CWnd* w) {
    return qobject_cast<QComboBox*>(w->GetWidget());
}
QString ComboText(QComboBox* const& c, int i) {
    return c->itemText(i);
}
}  // namespace

BOOL CComboBox::Create(UINT style, CWnd* pParent, UINT nID) {
    QComboBox* c = ui_detail::NewComboWidget(pParent ? pParent->GetWidget() : nullptr, style);
    SetControlStyle(c, style);
    c->setEditable((style & 0x3) == CBS_DROPDOWN);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMaxVisibleItems(12);
    Adopt(this, c, pParent, nID);
    QObject* ctx = Ctx(this);
    QObject::connect(c, &QComboBox::currentIndexChanged, ctx, [this] { NotifyCommand(this, CBN_SELCHANGE); });
    QObject::connect(c, &QComboBox::activated, ctx, [this] { NotifyCommand(this, CBN_SELENDOK); });
    if (QLineEdit* edit = c->lineEdit()) {
        QObject::connect(edit, &QLineEdit::textEdited, ctx, [this] { NotifyCommand(this, CBN_EDITCHANGE); });
        WatchFocus(this, edit, CBN_SETFOCUS, CBN_KILLFOCUS);
    } else {
        WatchFocus(this, c, CBN_SETFOCUS, CBN_KILLFOCUS);
    }
    return TRUE;
}

BOOL CComboBox::Create(UINT style, const CRect& rect, CWnd* pParent, UINT nID) {
    if (!Create(style, pParent, nID)) return FALSE;
    QComboBox* c = Combo(this);
    c->setGeometry(rect.left, rect.top, rect.Width(), c->sizeHint().height());
    c->setFixedWidth(rect.Width());
    ui_detail::SetComboDropHeight(c, rect.Height() - c->sizeHint().height());
    return TRUE;
}

UINT CComboBox::GetStyle() const {
    return ControlStyle(GetWidget());
}

int CComboBox::SetItemHeight(int nIndex, UINT cyItemHeight) {
    return StoreItemHeight(GetWidget(), nIndex, cyItemHeight) ? 0 : CB_ERR;
}

int CComboBox::GetItemHeight(int nIndex) const {
    return OwnerItemHeight(
        this, ODT_COMBOBOX, nIndex, (GetStyle() & CBS_OWNERDRAWFIXED) != 0,
        [this](MEASUREITEMSTRUCT* mis) { const_cast<CComboBox*>(this)->MeasureItem(mis); });
}

void CComboBox::ChooseItem(int nIndex) {
    if (nIndex < 0 || nIndex >= GetCount()) return;
    const bool changed = nIndex != GetCurSel();
    SetCurSel(nIndex);
    if (changed) NotifyCommand(this, CBN_SELCHANGE);
    NotifyCommand(this, CBN_SELENDOK);
}

void CComboBox::TypeText(std::string_view text) {
    if (!IsEditable()) return;
    SetWindowText(text);
    NotifyCommand(this, CBN_EDITCHANGE);
}

BOOL CComboBox::IsEditable() const {
    return Combo(this) && Combo(this)->isEditable();
}

int CComboBox::AddString(std::string_view text) {
    QComboBox* c = Combo(this);
    if (!c) return CB_ERR;
    const QString t = ToQ(text);
    const int pos = (GetStyle() & CBS_SORT)
                        ? SortedPosition(c->count(), t, [c](int i) { return c->itemText(i); })
                        : c->count();
    return InsertString(pos, text);
}

int CComboBox::InsertString(int nIndex, std::string_view text) {
    QComboBox* c = Combo(this);
    if (!c || nIndex > c->count()) return CB_ERR;
    const int pos = nIndex < 0 ? c->count() : nIndex;
    const QString keep = c->isEditable() ? c->currentText() : QString();
    const QSignalBlocker block(c);
    c->insertItem(pos, ToQ(text));
    // Inserting into an empty combo must not select the item, as a Windows list does not.
    if (c->count() == 1) c->setCurrentIndex(-1);
    if (c->isEditable()) c->setEditText(keep);
    return pos;
}

int CComboBox::DeleteString(UINT nIndex) {
    QComboBox* c = Combo(this);
    if (!c || static_cast<int>(nIndex) >= c->count()) return CB_ERR;
    const QSignalBlocker block(c);
    c->removeItem(static_cast<int>(nIndex));
    return c->count();
}

void CComboBox::ResetContent() {
    if (QComboBox* c = Combo(this)) {
        const QSignalBlocker block(c);
        c->clear();
    }
}

int CComboBox::GetCount() const {
    return Combo(this) ? Combo(this)->count() : CB_ERR;
}
int CComboBox::GetCurSel() const {
    return Combo(this) ? Combo(this)->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int nSelect) {
    QComboBox* c = Combo(this);
    if (!c) return CB_ERR;
    const QSignalBlocker block(c);
    if (nSelect < 0 || nSelect >= c->count()) {
        c->setCurrentIndex(-1);
        if (c->isEditable()) c->setEditText(QString());
        return CB_ERR;
    }
    c->setCurrentIndex(nSelect);
    return nSelect;
}

std::string CComboBox::GetLBText(int nIndex) const {
    QComboBox* c = Combo(this);
    return c && nIndex >= 0 && nIndex < c->count() ? c->itemText(nIndex).toStdString() : std::string();
}

int CComboBox::FindString(int nStartAfter, std::string_view text) const {
    QComboBox* c = Combo(this);
    return c ? FindIn<QComboBox*>(c, c->count(), nStartAfter, text, false, ComboText) : CB_ERR;
}

int CComboBox::FindStringExact(int nStartAfter, std::string_view text) const {
    QComboBox* c = Combo(this);
    return c ? FindIn<QComboBox*>(c, c->count(), nStartAfter, text, true, ComboText) : CB_ERR;
}

int CComboBox::SelectString(int nStartAfter, std::string_view text) {
    const int i = FindString(nStartAfter, text);
    return i < 0 ? CB_ERR : SetCurSel(i);
}

int CComboBox::SetItemData(int nIndex, DWORD_PTR data) {
    QComboBox* c = Combo(this);
    if (!c || nIndex < 0 || nIndex >= c->count()) return CB_ERR;
    c->setItemData(nIndex, QVariant::fromValue<qulonglong>(data));
    return 0;
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const {
    QComboBox* c = Combo(this);
    if (!c || nIndex < 0 || nIndex >= c->count()) return static_cast<DWORD_PTR>(CB_ERR);
    return static_cast<DWORD_PTR>(c->itemData(nIndex).toULongLong());
}

void CComboBox::SetWindowText(std::string_view text) {
    QComboBox* c = Combo(this);
    if (!c) return;
    if (c->isEditable()) c->setEditText(ToQ(text));
}

std::string CComboBox::GetWindowText() const {
    QComboBox* c = Combo(this);
    return c ? c->currentText().toStdString() : std::string();
}

// ----- CListBox --------------------------------------------------------------------------------

namespace {
QListWidget* List(const CWnd* w) {
    return qobject_cast<QListWidget*>(w->GetWidget());
}
QString ListText(QListWidget* const& l, int i) {
    return l->item(i)->text();
}
}  // namespace

BOOL CListBox::Create(UINT style, CWnd* pParent, UINT nID) {
    auto* l = new QListWidget(pParent ? pParent->GetWidget() : nullptr);
    SetControlStyle(l, style);
    l->setSelectionMode((style & LBS_EXTENDEDSEL) ? QAbstractItemView::ExtendedSelection
                                                  : QAbstractItemView::SingleSelection);
    if ((style & LBS_OWNERDRAWFIXED) && !(style & LBS_HASSTRINGS)) ui_detail::MakeListOwnerDrawn(l);
    if (style & LBS_MULTICOLUMN) {
        l->setFlow(QListView::TopToBottom);
        l->setWrapping(true);
        l->setResizeMode(QListView::Adjust);
        l->setUniformItemSizes(true);
        l->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    Adopt(this, l, pParent, nID);
    QObject* ctx = Ctx(this);
    // After the selection has changed: a click makes the row current first and selects it after,
    // and the handler must see the new selection.
    QObject::connect(l, &QListWidget::itemSelectionChanged, ctx,
                     [this] { NotifyCommand(this, LBN_SELCHANGE); });
    QObject::connect(l, &QListWidget::itemDoubleClicked, ctx, [this] { NotifyCommand(this, LBN_DBLCLK); });
    return TRUE;
}

int CListBox::AddString(std::string_view text) {
    QListWidget* l = List(this);
    if (!l) return LB_ERR;
    const QString t = ToQ(text);
    const int pos = (GetStyle() & LBS_SORT)
                        ? SortedPosition(l->count(), t, [l](int i) { return l->item(i)->text(); })
                        : l->count();
    return InsertString(pos, text);
}

int CListBox::InsertString(int nIndex, std::string_view text) {
    QListWidget* l = List(this);
    if (!l || nIndex > l->count()) return LB_ERR;
    const int pos = nIndex < 0 ? l->count() : nIndex;
    const QSignalBlocker block(l);
    l->insertItem(pos, ToQ(text));
    return pos;
}

int CListBox::DeleteString(UINT nIndex) {
    QListWidget* l = List(this);
    if (!l || static_cast<int>(nIndex) >= l->count()) return LB_ERR;
    const QSignalBlocker block(l);
    delete l->takeItem(static_cast<int>(nIndex));
    return l->count();
}

void CListBox::ResetContent() {
    if (QListWidget* l = List(this)) {
        const QSignalBlocker block(l);
        l->clear();
    }
}

int CListBox::GetCount() const {
    return List(this) ? List(this)->count() : LB_ERR;
}

int CListBox::GetCurSel() const {
    QListWidget* l = List(this);
    if (!l) return LB_ERR;
    const int row = l->currentRow();
    return row >= 0 && l->item(row)->isSelected() ? row : LB_ERR;
}

int CListBox::SetCurSel(int nSelect) {
    QListWidget* l = List(this);
    if (!l) return LB_ERR;
    const QSignalBlocker block(l);
    if (nSelect < 0 || nSelect >= l->count()) {
        l->clearSelection();
        l->setCurrentRow(-1);
        return LB_ERR;
    }
    l->setCurrentRow(nSelect, QItemSelectionModel::ClearAndSelect);
    return nSelect;
}

std::string CListBox::GetText(int nIndex) const {
    QListWidget* l = List(this);
    return l && nIndex >= 0 && nIndex < l->count() ? l->item(nIndex)->text().toStdString() : std::string();
}

int CListBox::FindString(int nStartAfter, std::string_view text) const {
    QListWidget* l = List(this);
    return l ? FindIn<QListWidget*>(l, l->count(), nStartAfter, text, false, ListText) : LB_ERR;
}

int CListBox::FindStringExact(int nStartAfter, std::string_view text) const {
    QListWidget* l = List(this);
    return l ? FindIn<QListWidget*>(l, l->count(), nStartAfter, text, true, ListText) : LB_ERR;
}

int CListBox::SelectString(int nStartAfter, std::string_view text) {
    const int i = FindString(nStartAfter, text);
    return i < 0 ? LB_ERR : SetCurSel(i);
}

int CListBox::SetItemData(int nIndex, DWORD_PTR data) {
    QListWidget* l = List(this);
    if (!l || nIndex < 0 || nIndex >= l->count()) return LB_ERR;
    l->item(nIndex)->setData(Qt::UserRole, QVariant::fromValue<qulonglong>(data));
    return 0;
}

DWORD_PTR CListBox::GetItemData(int nIndex) const {
    QListWidget* l = List(this);
    if (!l || nIndex < 0 || nIndex >= l->count()) return static_cast<DWORD_PTR>(LB_ERR);
    return static_cast<DWORD_PTR>(l->item(nIndex)->data(Qt::UserRole).toULongLong());
}

int CListBox::GetSel(int nIndex) const {
    QListWidget* l = List(this);
    if (!l || nIndex < 0 || nIndex >= l->count()) return LB_ERR;
    return l->item(nIndex)->isSelected() ? 1 : 0;
}

int CListBox::SetSel(int nIndex, BOOL bSelect) {
    QListWidget* l = List(this);
    if (!l) return LB_ERR;
    const QSignalBlocker block(l);
    if (nIndex == -1) {
        for (int i = 0; i < l->count(); ++i)
            l->item(i)->setSelected(bSelect);
        return 0;
    }
    if (nIndex < 0 || nIndex >= l->count()) return LB_ERR;
    l->item(nIndex)->setSelected(bSelect);
    return 0;
}

void CListBox::ChooseItem(int nIndex) {
    if (nIndex < 0 || nIndex >= GetCount()) return;
    SetCurSel(nIndex);
    NotifyCommand(this, LBN_SELCHANGE);
}

int CListBox::GetSelCount() const {
    QListWidget* l = List(this);
    return l ? static_cast<int>(l->selectedItems().size()) : LB_ERR;
}

UINT CListBox::GetStyle() const {
    return ControlStyle(GetWidget());
}

int CListBox::SetItemHeight(int nIndex, UINT cyItemHeight) {
    return StoreItemHeight(GetWidget(), nIndex, cyItemHeight) ? 0 : LB_ERR;
}

void CListBox::SetColumnWidth(int cxWidth) {
    QWidget* w = GetWidget();
    if (!w || cxWidth <= 0) return;
    w->setProperty("columnWidth", cxWidth);
    ui_detail::ItemHeightsChanged(w);
}

int CListBox::GetColumnWidth() const {
    QWidget* w = GetWidget();
    const QVariant width = w ? w->property("columnWidth") : QVariant();
    return width.isValid() ? width.toInt() : 0;
}

int CListBox::GetItemHeight(int nIndex) const {
    return OwnerItemHeight(this, ODT_LISTBOX, nIndex, (GetStyle() & LBS_OWNERDRAWFIXED) != 0,
                           [this](MEASUREITEMSTRUCT* mis) { const_cast<CListBox*>(this)->MeasureItem(mis); });
}

// ----- CListCtrl -------------------------------------------------------------------------------

namespace {
QTreeWidget* Tree(const CWnd* w) {
    return qobject_cast<QTreeWidget*>(w->GetWidget());
}

void SendListNotify(CWnd* self, int code, int item, UINT newState = 0, UINT oldState = 0) {
    CWnd* owner = self->GetOwner();
    if (!owner) return;
    NMLISTVIEW nm;
    nm.hdr.hwndFrom = self;
    nm.hdr.idFrom = self->GetDlgCtrlID();
    nm.hdr.code = code;
    nm.iItem = item;
    nm.uNewState = newState;
    nm.uOldState = oldState;
    nm.uChanged = code == LVN_ITEMCHANGED ? 0x8u : 0u;  // LVIF_STATE
    owner->SendNotify(nm.hdr);
}

// Reports the selection changes of a list view item by item, and Enter as NM_RETURN.
class ListWatcher : public QObject {
public:
    ListWatcher(CWnd* self, QTreeWidget* tree)
        : QObject(self->GetImpl().context.get()), m_self(self), m_tree(tree) {
        tree->installEventFilter(this);
    }
    void SelectionChanged() {
        std::set<int> now;
        for (QTreeWidgetItem* item : m_tree->selectedItems())
            now.insert(m_tree->indexOfTopLevelItem(item));
        for (int i : m_selected)
            if (!now.count(i)) SendListNotify(m_self, LVN_ITEMCHANGED, i, 0, LVIS_SELECTED);
        for (int i : now)
            if (!m_selected.count(i)) SendListNotify(m_self, LVN_ITEMCHANGED, i, LVIS_SELECTED, 0);
        m_selected = std::move(now);
    }
    void Forget() { m_selected.clear(); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                SendListNotify(m_self, NM_RETURN, -1);
                return true;
            }
        }
        return false;
    }

private:
    CWnd* m_self;
    QTreeWidget* m_tree;
    std::set<int> m_selected;
};

ListWatcher* Watcher(const CWnd* w) {
    return w->GetImpl().context->findChild<ListWatcher*>();
}
}  // namespace

BOOL CListCtrl::Create(UINT style, CWnd* pParent, UINT nID) {
    auto* t = new QTreeWidget(pParent ? pParent->GetWidget() : nullptr);
    t->setRootIsDecorated(false);
    t->setUniformRowHeights(true);
    t->setItemsExpandable(false);
    t->setColumnCount(0);
    t->setSelectionMode((style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                : QAbstractItemView::ExtendedSelection);
    t->setHeaderHidden(style & LVS_NOCOLUMNHEADER);
    Adopt(this, t, pParent, nID);
    auto* watcher = new ListWatcher(this, t);
    QObject* ctx = Ctx(this);
    QObject::connect(t, &QTreeWidget::itemSelectionChanged, ctx, [watcher] { watcher->SelectionChanged(); });
    QObject::connect(t, &QTreeWidget::itemClicked, ctx, [this, t](QTreeWidgetItem* item) {
        SendListNotify(this, NM_CLICK, t->indexOfTopLevelItem(item));
    });
    QObject::connect(t, &QTreeWidget::itemDoubleClicked, ctx, [this, t](QTreeWidgetItem* item) {
        SendListNotify(this, NM_DBLCLK, t->indexOfTopLevelItem(item));
    });
    return TRUE;
}

int CListCtrl::InsertColumn(int nCol, std::string_view heading, int nFormat, int nWidth) {
    QTreeWidget* t = Tree(this);
    if (!t) return -1;
    const int col = std::clamp(nCol, 0, t->columnCount());
    QStringList labels;
    for (int i = 0; i < t->columnCount(); ++i)
        labels << t->headerItem()->text(i);
    labels.insert(col, ToQ(heading));
    t->setColumnCount(static_cast<int>(labels.size()));
    t->setHeaderLabels(labels);
    const Qt::Alignment align = nFormat == LVCFMT_RIGHT    ? Qt::AlignRight
                                : nFormat == LVCFMT_CENTER ? Qt::AlignHCenter
                                                           : Qt::AlignLeft;
    t->headerItem()->setTextAlignment(col, align | Qt::AlignVCenter);
    if (nWidth >= 0) t->setColumnWidth(col, nWidth);
    return col;
}

int CListCtrl::InsertItem(int nItem, std::string_view text) {
    QTreeWidget* t = Tree(this);
    if (!t) return -1;
    if (t->columnCount() == 0) t->setColumnCount(1);
    const int pos = std::clamp(nItem, 0, t->topLevelItemCount());
    auto* item = new QTreeWidgetItem;
    item->setText(0, ToQ(text));
    t->insertTopLevelItem(pos, item);
    return pos;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, std::string_view text) {
    QTreeWidget* t = Tree(this);
    QTreeWidgetItem* item = t ? t->topLevelItem(nItem) : nullptr;
    if (!item || nSubItem < 0 || nSubItem >= std::max(1, t->columnCount())) return FALSE;
    item->setText(nSubItem, ToQ(text));
    return TRUE;
}

std::string CListCtrl::GetItemText(int nItem, int nSubItem) const {
    QTreeWidget* t = Tree(this);
    QTreeWidgetItem* item = t ? t->topLevelItem(nItem) : nullptr;
    return item ? item->text(nSubItem).toStdString() : std::string();
}

BOOL CListCtrl::DeleteItem(int nItem) {
    QTreeWidget* t = Tree(this);
    if (!t || nItem < 0 || nItem >= t->topLevelItemCount()) return FALSE;
    delete t->takeTopLevelItem(nItem);
    if (ListWatcher* w = Watcher(this)) w->SelectionChanged();
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems() {
    QTreeWidget* t = Tree(this);
    if (!t) return FALSE;
    {
        const QSignalBlocker block(t);
        t->clear();
    }
    if (ListWatcher* w = Watcher(this)) w->Forget();
    return TRUE;
}

int CListCtrl::GetItemCount() const {
    return Tree(this) ? Tree(this)->topLevelItemCount() : 0;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR data) {
    QTreeWidget* t = Tree(this);
    QTreeWidgetItem* item = t ? t->topLevelItem(nItem) : nullptr;
    if (!item) return FALSE;
    item->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(data));
    return TRUE;
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
    QTreeWidget* t = Tree(this);
    QTreeWidgetItem* item = t ? t->topLevelItem(nItem) : nullptr;
    return item ? static_cast<DWORD_PTR>(item->data(0, Qt::UserRole).toULongLong()) : 0;
}

int CListCtrl::GetNextItem(int nItem, UINT nFlags) const {
    QTreeWidget* t = Tree(this);
    if (!t) return -1;
    for (int i = std::max(0, nItem + 1); i < t->topLevelItemCount(); ++i)
        if (!(nFlags & LVNI_SELECTED) || t->topLevelItem(i)->isSelected()) return i;
    return -1;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    QTreeWidget* t = Tree(this);
    if (!t) return FALSE;
    auto apply = [&](QTreeWidgetItem* item) {
        if (nMask & LVIS_SELECTED) item->setSelected(nState & LVIS_SELECTED);
        if ((nMask & LVIS_FOCUSED) && (nState & LVIS_FOCUSED))
            t->setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
    };
    if (nItem == -1) {
        for (int i = 0; i < t->topLevelItemCount(); ++i)
            apply(t->topLevelItem(i));
        return TRUE;
    }
    QTreeWidgetItem* item = t->topLevelItem(nItem);
    if (!item) return FALSE;
    apply(item);
    return TRUE;
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
    QTreeWidget* t = Tree(this);
    QTreeWidgetItem* item = t ? t->topLevelItem(nItem) : nullptr;
    if (!item) return 0;
    UINT state = 0;
    if (item->isSelected()) state |= LVIS_SELECTED;
    if (t->currentItem() == item) state |= LVIS_FOCUSED;
    return state & nMask;
}

UINT CListCtrl::GetSelectedCount() const {
    QTreeWidget* t = Tree(this);
    return t ? static_cast<UINT>(t->selectedItems().size()) : 0;
}

int CListCtrl::GetSelectionMark() const {
    QTreeWidget* t = Tree(this);
    return t && t->currentItem() ? t->indexOfTopLevelItem(t->currentItem()) : -1;
}

BOOL CListCtrl::EnsureVisible(int nItem, BOOL) {
    QTreeWidget* t = Tree(this);
    QTreeWidgetItem* item = t ? t->topLevelItem(nItem) : nullptr;
    if (!item) return FALSE;
    t->scrollToItem(item);
    return TRUE;
}

void CListCtrl::ClickItem(int nItem) {
    QTreeWidget* t = Tree(this);
    QTreeWidgetItem* item = t ? t->topLevelItem(nItem) : nullptr;
    if (!item) return;
    t->setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
    SendListNotify(this, NM_CLICK, nItem);
}

// ----- CSpinButtonCtrl -------------------------------------------------------------------------

namespace {
class SpinKeys : public QObject {
public:
    SpinKeys(CSpinButtonCtrl* spin, QObject* parent) : QObject(parent), m_spin(spin) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            m_spin->Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
        return false;
    }

private:
    CSpinButtonCtrl* m_spin;
};
}  // namespace

BOOL CSpinButtonCtrl::Create(CWnd* pParent, UINT nID) {
    auto* box = new QWidget(pParent ? pParent->GetWidget() : nullptr);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* up = new QToolButton(box);
    auto* down = new QToolButton(box);
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up, down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(16, 11);
        layout->addWidget(b);
    }
    Adopt(this, box, pParent, nID);
    QObject::connect(up, &QToolButton::clicked, Ctx(this), [this] { Step(1); });
    QObject::connect(down, &QToolButton::clicked, Ctx(this), [this] { Step(-1); });
    return TRUE;
}

void CSpinButtonCtrl::SetBuddy(CWnd* pBuddy) {
    m_pBuddy = pBuddy;
    if (pBuddy && pBuddy->GetWidget()) pBuddy->GetWidget()->installEventFilter(new SpinKeys(this, Ctx(this)));
}

CWnd* CSpinButtonCtrl::GetBuddy() const {
    return m_pBuddy;
}

void CSpinButtonCtrl::SetRange32(int nLower, int nUpper) {
    m_lower = nLower;
    m_upper = nUpper;
    m_pos = std::clamp(m_pos, std::min(nLower, nUpper), std::max(nLower, nUpper));
}

void CSpinButtonCtrl::GetRange32(int& nLower, int& nUpper) const {
    nLower = m_lower;
    nUpper = m_upper;
}

int CSpinButtonCtrl::SetPos32(int nPos) {
    const int old = m_pos;
    m_pos = std::clamp(nPos, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
    if (m_pBuddy) m_pBuddy->SetWindowText(std::to_string(m_pos));
    return old;
}

int CSpinButtonCtrl::GetPos32(BOOL* pError) const {
    // The buddy's text is the position whenever it holds a number, as the user may have typed it.
    if (m_pBuddy) {
        long long v = 0;
        const bool ok = ui_detail::ParseWindowsInt(m_pBuddy->GetWindowText(), true, v);
        if (pError) *pError = !ok;
        return ok ? static_cast<int>(v) : m_pos;
    }
    if (pError) *pError = FALSE;
    return m_pos;
}

void CSpinButtonCtrl::Step(int steps) {
    if (!IsWindowEnabled()) return;
    const int lo = std::min(m_lower, m_upper), hi = std::max(m_lower, m_upper);
    const int pos = std::clamp(GetPos32(), lo, hi);
    const long long delta = static_cast<long long>(steps) * (m_upper >= m_lower ? 1 : -1);
    NMUPDOWN nm;
    nm.hdr.hwndFrom = this;
    nm.hdr.idFrom = GetDlgCtrlID();
    nm.hdr.code = UDN_DELTAPOS;
    nm.iPos = pos;
    nm.iDelta = static_cast<int>(delta);
    if (CWnd* owner = GetOwner(); owner && owner->SendNotify(nm.hdr) != 0) return;
    SetPos32(static_cast<int>(std::clamp<long long>(pos + delta, lo, hi)));
}
