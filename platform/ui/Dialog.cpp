#include "platform/ui/Dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <map>

#include "platform/Strings.h"
#include "platform/ui/CheckListBox.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/SliderCtrl.h"
#include "platform/ui/detail/WndImpl.h"

namespace {

std::map<unsigned int, std::vector<DialogTemplateItem>>& RuntimeTemplates() {
    static std::map<unsigned int, std::vector<DialogTemplateItem>> templates;
    return templates;
}

const DialogTemplateItem* LookupTemplate(unsigned int id) {
    auto it = RuntimeTemplates().find(id);
    if (it != RuntimeTemplates().end() && !it->second.empty()) return it->second.data();
    return FindDialogTemplate(id);
}

QString ToQ(const char* s) {
    return QString::fromUtf8(s ? s : "");
}

// The dialog window: Escape, the close box and Enter become the dialog's IDCANCEL and IDOK commands.
class DialogWidget : public QDialog {
public:
    DialogWidget(CDialog* dialog, QWidget* parent) : QDialog(parent), m_dialog(dialog) {}
    void reject() override { Command(IDCANCEL); }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
        if (enter && e->modifiers() == Qt::NoModifier && !qobject_cast<QPlainTextEdit*>(focusWidget())) {
            for (QPushButton* b : findChildren<QPushButton*>())
                if (b->isDefault() && b->isVisible() && b->isEnabled()) return QDialog::keyPressEvent(e);
            Command(IDOK);
            return;
        }
        QDialog::keyPressEvent(e);
    }

private:
    void Command(int id) {
        CWnd* button = m_dialog->GetDlgItem(id);
        if (button && !button->IsWindowEnabled()) return;
        m_dialog->SendCommand(static_cast<UINT>(id), BN_CLICKED, button);
    }
    CDialog* m_dialog;
};

// Places controls into the grid of one container (the dialog or a group box).
struct GridBuilder {
    QGridLayout* grid;
    int row = 0;
    int col = 0;
    QWidget* pending = nullptr;
    int span = 1;

    void Flush() {
        if (!pending) return;
        grid->addWidget(pending, row, col, 1, span);
        col += span;
        pending = nullptr;
        span = 1;
    }
    void Put(QWidget* w) {
        Flush();
        pending = w;
    }
};

}  // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParent) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParent) {
    Commands().OnCommand(IDOK, [this] { OnOK(); });
    Commands().OnCommand(IDCANCEL, [this] { OnCancel(); });
}

CDialog::~CDialog() {
    TearDown();
}

void CDialog::RegisterTemplate(unsigned int id, std::vector<DialogTemplateItem> items) {
    RuntimeTemplates()[id] = std::move(items);
}

void CDialog::Build(const DialogTemplateItem* tmpl) {
    auto* dialog = new DialogWidget(this, ui_detail::DialogParent(m_pParentWnd));
    dialog->setWindowTitle(ToQ(tmpl->text));
    Attach(dialog, true);
    auto* outer = new QVBoxLayout(dialog);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    auto* top = new QGridLayout;
    outer->addLayout(top);
    QHBoxLayout* buttons = nullptr;

    std::vector<GridBuilder> stack{GridBuilder{top}};
    QLabel* pendingBuddyLabel = nullptr;
    CWnd* lastControl = nullptr;
    QButtonGroup* radioGroup = nullptr;
    const QFontMetrics metrics(dialog->font());
    auto charsWide = [&](int chars) { return metrics.averageCharWidth() * chars + 12; };

    auto place = [&](CWnd* ctrl) {
        QWidget* w = ctrl->GetWidget();
        if (buttons)
            buttons->addWidget(w);
        else
            stack.back().Put(w);
        if (pendingBuddyLabel && !dynamic_cast<CStatic*>(ctrl)) {
            pendingBuddyLabel->setBuddy(w);
            pendingBuddyLabel = nullptr;
        }
        lastControl = ctrl;
    };
    auto own = [&](std::unique_ptr<CWnd> ctrl) -> CWnd* {
        CWnd* raw = ctrl.get();
        m_controls.push_back(std::move(ctrl));
        return raw;
    };

    for (const DialogTemplateItem* p = tmpl + 1; p->op != DlgOp::EndDialog && p->op != DlgOp::Dialog; ++p) {
        const UINT id = static_cast<UINT>(p->id);
        switch (p->op) {
            case DlgOp::Row:
                if (!buttons) {
                    stack.back().Flush();
                    ++stack.back().row;
                    stack.back().col = 0;
                }
                break;
            case DlgOp::Buttons:
                for (GridBuilder& g : stack)
                    g.Flush();
                stack.resize(1);
                buttons = new QHBoxLayout;
                buttons->addStretch(1);
                outer->addLayout(buttons);
                break;
            case DlgOp::GroupBegin: {
                auto* box = new QGroupBox(ToQ(p->text), dialog);
                auto* grid = new QGridLayout(box);
                if (buttons)
                    buttons->addWidget(box);
                else
                    stack.back().Put(box);
                stack.push_back(GridBuilder{grid});
                break;
            }
            case DlgOp::GroupEnd:
                if (stack.size() > 1) {
                    stack.back().Flush();
                    stack.pop_back();
                }
                break;
            case DlgOp::Span:
                if (!buttons && stack.back().pending) stack.back().span = std::max(1, p->width);
                break;
            case DlgOp::Label: {
                auto ctrl = std::make_unique<CStatic>();
                ctrl->Create(p->text ? p->text : "", this, id);
                auto* label = qobject_cast<QLabel*>(ctrl->GetWidget());
                label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                CWnd* raw = own(std::move(ctrl));
                place(raw);
                if (label->text().contains(QLatin1Char('&'))) pendingBuddyLabel = label;
                break;
            }
            case DlgOp::Edit: {
                auto ctrl = std::make_unique<CEdit>();
                ctrl->Create(p->style, this, id);
                if (p->width > 0) ctrl->GetWidget()->setMinimumWidth(charsWide(p->width));
                if (p->height > 0) ctrl->GetWidget()->setMinimumHeight(metrics.lineSpacing() * p->height + 8);
                place(own(std::move(ctrl)));
                break;
            }
            case DlgOp::Check:
            case DlgOp::RadioFirst:
            case DlgOp::Radio:
            case DlgOp::PushButton:
            case DlgOp::DefPushButton: {
                const CButton::Kind kind = p->op == DlgOp::Check           ? CButton::Kind::Check
                                           : p->op == DlgOp::PushButton    ? CButton::Kind::Push
                                           : p->op == DlgOp::DefPushButton ? CButton::Kind::DefPush
                                                                           : CButton::Kind::Radio;
                auto ctrl = std::make_unique<CButton>();
                ctrl->Create(p->text ? p->text : "", kind, this, id, p->style);
                if ((p->style & 0xF) == BS_OWNERDRAW && (p->width > 0 || p->height > 0))
                    ctrl->GetWidget()->setMinimumSize(std::max(0, p->width), std::max(0, p->height));
                if (kind == CButton::Kind::Radio) {
                    auto& groups = GetImpl().radioGroups;
                    if (p->op == DlgOp::RadioFirst || !radioGroup) {
                        radioGroup = new QButtonGroup(dialog);
                        groups.emplace_back();
                    }
                    radioGroup->addButton(qobject_cast<QAbstractButton*>(ctrl->GetWidget()));
                    groups.back().push_back(id);
                }
                place(own(std::move(ctrl)));
                break;
            }
            case DlgOp::Combo: {
                auto ctrl = std::make_unique<CComboBox>();
                ctrl->Create(p->style ? p->style : CBS_DROPDOWNLIST, this, id);
                if (p->text) {
                    const QStringList items = ToQ(p->text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
                    for (const QString& item : items)
                        ctrl->AddString(item.toStdString());
                }
                if (p->width > 0) ctrl->GetWidget()->setMinimumWidth(charsWide(p->width) + 20);
                place(own(std::move(ctrl)));
                break;
            }
            case DlgOp::ListBox:
            case DlgOp::ListView: {
                std::unique_ptr<CWnd> ctrl;
                constexpr UINT kCheckList = LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
                if (p->op == DlgOp::ListBox && (p->style & kCheckList) == kCheckList) {
                    auto list = std::make_unique<CCheckListBox>();
                    list->Create(p->style, this, id);
                    ctrl = std::move(list);
                } else if (p->op == DlgOp::ListBox) {
                    auto list = std::make_unique<CListBox>();
                    list->Create(p->style, this, id);
                    ctrl = std::move(list);
                } else {
                    auto list = std::make_unique<CListCtrl>();
                    list->Create(p->style, this, id);
                    ctrl = std::move(list);
                }
                QWidget* w = ctrl->GetWidget();
                if (p->width > 0) w->setMinimumWidth(charsWide(p->width));
                w->setMinimumHeight(metrics.lineSpacing() * (p->height > 0 ? p->height : 6) + 8);
                place(own(std::move(ctrl)));
                break;
            }
            case DlgOp::Spin: {
                auto ctrl = std::make_unique<CSpinButtonCtrl>();
                ctrl->Create(this, id);
                CWnd* buddy = lastControl;
                GridBuilder& g = stack.back();
                if (buddy && !buttons && g.pending == buddy->GetWidget()) {
                    // The arrows sit against the buddy, in its cell.
                    auto* holder = new QWidget(dialog);
                    auto* row = new QHBoxLayout(holder);
                    row->setContentsMargins(0, 0, 0, 0);
                    row->setSpacing(0);
                    row->addWidget(buddy->GetWidget());
                    row->addWidget(ctrl->GetWidget());
                    g.pending = holder;
                    ctrl->SetBuddy(buddy);
                    own(std::move(ctrl));
                } else {
                    if (buddy) ctrl->SetBuddy(buddy);
                    CWnd* raw = own(std::move(ctrl));
                    if (buttons)
                        buttons->addWidget(raw->GetWidget());
                    else
                        g.Put(raw->GetWidget());
                }
                break;
            }
            case DlgOp::Slider: {
                auto ctrl = std::make_unique<CSliderCtrl>();
                ctrl->Create(p->style, this, id);
                if (p->width > 0) ctrl->GetWidget()->setMinimumWidth(charsWide(p->width));
                place(own(std::move(ctrl)));
                break;
            }
            case DlgOp::Custom: {
                auto ctrl = std::make_unique<CWnd>();
                auto* frame = new QFrame(dialog);
                frame->setMinimumSize(std::max(0, p->width), std::max(0, p->height));
                ctrl->Attach(frame, false);
                ctrl->SetDlgCtrlID(id);
                if (p->id != kIdStatic) RegisterDlgItem(id, ctrl.get());
                place(own(std::move(ctrl)));
                break;
            }
            case DlgOp::Dialog:
            case DlgOp::EndDialog:
                break;
        }
    }
    for (GridBuilder& g : stack)
        g.Flush();
}

void CDialog::TearDown() {
    m_running = false;
    GetImpl().items.clear();
    GetImpl().radioGroups.clear();
    m_controls.clear();
    if (QWidget* w = Detach()) delete w;
}

int CDialog::DoModal() {
    const DialogTemplateItem* tmpl = LookupTemplate(m_nIDTemplate);
    DialogRunner* runner = DialogRunner::Active();
    if (!tmpl) {
        if (runner) runner->RecordDialog({m_nIDTemplate, -1, false, false});
        return -1;
    }
    const CModalLoopScope modal;
    TearDown();
    Build(tmpl);
    m_ended = false;
    m_nModalResult = -1;
    m_running = true;

    int result = -1;
    bool scripted = false;
    bool leftOpen = false;
    BOOL focusFirst = TRUE;
    const bool initialised = AfxTryCall([&] { focusFirst = OnInitDialog(); });
    // Unless the initialisation chose a control itself, the first one takes the focus.
    if (initialised && !m_ended && focusFirst) GotoDlgCtrl(FirstTabStop());
    if (!initialised) {
        result = -1;
    } else if (m_ended) {
        result = m_nModalResult;
    } else if (AfxIsUnattended()) {
        // Nobody answers: the values shown are taken as Enter takes them.
        AfxTryCall([&] { OnOK(); });
        if (!m_ended) EndDialog(IDCANCEL);
        result = m_nModalResult;
    } else if (runner) {
        AfxTryCall([&] { OnShowWindow(TRUE, 0); });
        DialogScript script;
        scripted = runner->TakeScript(m_nIDTemplate, script);
        for (const DialogScript::Step& step : script.Steps()) {
            if (m_ended) break;
            AfxTryCall([&] { step(*this); });
        }
        if (!m_ended) {
            leftOpen = scripted;
            EndDialog(IDCANCEL);
        }
        result = m_nModalResult;
    } else {
        auto* dialog = static_cast<QDialog*>(GetWidget());
        // Once the loop runs the window is up and the toolkit has given the first focus.
        QTimer::singleShot(0, dialog, [this] {
            if (IsRunning()) AfxTryCall([&] { OnShowWindow(TRUE, 0); });
        });
        dialog->exec();
        result = m_ended ? m_nModalResult : IDCANCEL;
    }
    if (runner) runner->RecordDialog({m_nIDTemplate, result, scripted, leftOpen});
    TearDown();
    return result;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_ended = true;
    if (auto* dialog = qobject_cast<QDialog*>(GetWidget())) dialog->done(nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    return AfxTryCall([&] { DoDataExchange(&dx); });
}

void CDialog::GotoDlgCtrl(CWnd* pCtrl) {
    if (!pCtrl) return;
    pCtrl->SetFocus();
    // An edit given the focus so shows its whole text chosen: typing replaces it.
    if (auto* edit = dynamic_cast<CEdit*>(pCtrl)) edit->SetSel(0, -1);
}

CWnd* CDialog::FirstTabStop() const {
    const QWidget* dialog = GetWidget();
    for (const std::unique_ptr<CWnd>& ctrl : m_controls) {
        const QWidget* w = ctrl->GetWidget();
        if (w && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(dialog))
            return ctrl.get();
    }
    return nullptr;
}

void CDialog::TickOnEdit(int editId, int checkId) {
    Commands().OnControl(EN_CHANGE, static_cast<UINT>(editId),
                         [this, checkId] { CheckDlgButton(checkId, BST_CHECKED); });
}

void CDialog::TickOnFocus(int editId, int checkId) {
    Commands().OnControl(EN_SETFOCUS, static_cast<UINT>(editId),
                         [this, checkId] { CheckDlgButton(checkId, BST_CHECKED); });
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}
