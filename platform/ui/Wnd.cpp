#include "platform/ui/Wnd.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>
#include <charconv>
#include <limits>
#include <unordered_map>

#include "platform/ui/CmdUI.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/Idle.h"
#include "platform/ui/Menu.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/OwnerDraw.h"
#include "platform/ui/detail/WndImpl.h"

namespace {

std::unordered_map<const QWidget*, CWnd*>& Registry() {
    static std::unordered_map<const QWidget*, CWnd*> registry;
    return registry;
}

CPoint ToPoint(const QPointF& p) {
    return CPoint(static_cast<LONG>(p.x()), static_cast<LONG>(p.y()));
}

}  // namespace

namespace ui_detail {

// Turns the Qt events of one widget into the window's message handlers.
class MessageTranslator : public QObject {
public:
    MessageTranslator(CWnd* wnd, QWidget* source) : m_wnd(wnd), m_source(source) {
        source->installEventFilter(this);
        source->setMouseTracking(true);
    }
    void Orphan() { m_wnd = nullptr; }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_wnd || watched != m_source) return false;
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                return Press(static_cast<QMouseEvent*>(event));
            case QEvent::MouseButtonRelease:
                return Release(static_cast<QMouseEvent*>(event));
            case QEvent::MouseMove:
                return Move(static_cast<QMouseEvent*>(event));
            case QEvent::Wheel:
                return Wheel(static_cast<QWheelEvent*>(event));
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
                return Key(static_cast<QKeyEvent*>(event));
            case QEvent::Resize: {
                // Size and focus belong to the window's own widget, not to a strip that lends it
                // its mouse messages.
                if (m_wnd->GetWidget() != m_source) return false;
                const QSize s = static_cast<QResizeEvent*>(event)->size();
                Call([&](CWnd* w) { w->OnSize(SIZE_RESTORED, s.width(), s.height()); });
                return false;
            }
            case QEvent::FocusIn:
                if (m_wnd->GetWidget() != m_source) return false;
                Call([](CWnd* w) { w->OnSetFocus(nullptr); });
                return false;
            case QEvent::FocusOut:
                if (m_wnd->GetWidget() != m_source) return false;
                Call([](CWnd* w) { w->OnKillFocus(nullptr); });
                return false;
            default:
                return false;
        }
    }

private:
    template <class F>
    void Call(F&& f) {
        AfxTryCall([&] {
            if (m_wnd) f(m_wnd);
        });
    }

    static int ButtonIndex(Qt::MouseButton b) {
        switch (b) {
            case Qt::LeftButton:
                return 0;
            case Qt::RightButton:
                return 1;
            case Qt::MiddleButton:
                return 2;
            default:
                return -1;
        }
    }

    // Positions are the window's client coordinates, also for events of another widget (a strip
    // beside the window that delivers its clicks to it, with coordinates outside the client area).
    CPoint Position(const QMouseEvent* e) const {
        ui_detail::NoteCursorPos(e->globalPosition().toPoint());
        QWidget* own = m_wnd ? m_wnd->GetWidget() : nullptr;
        if (!own || own == m_source) return ToPoint(e->position());
        return ToPoint(own->mapFromGlobal(e->globalPosition()));
    }

    static UINT Flags(const QMouseEvent* e) {
        return MouseFlagsFromQt(static_cast<int>(e->buttons()), static_cast<int>(e->modifiers()));
    }

    void SetCursorFor(UINT message) {
        ui_detail::SetCursorWidget(m_source);
        Call([&](CWnd* w) {
            if (!w->OnSetCursor(w, HTCLIENT, message)) ui_detail::ApplyClassCursor(w, m_source);
        });
    }

    bool Press(QMouseEvent* e) {
        const int b = ButtonIndex(e->button());
        if (b < 0) return false;
        const bool dbl = e->type() == QEvent::MouseButtonDblClick && m_wnd->GetImpl().doubleClicks;
        const UINT flags = Flags(e);
        const CPoint pt = Position(e);
        static constexpr UINT kDown[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
        m_swallowRelease[b] = false;
        SetCursorFor(kDown[b]);
        const unsigned loopsBefore = AfxModalLoopCount();
        QPointer<MessageTranslator> self(this);
        Call([&](CWnd* w) {
            switch (b) {
                case 0:
                    dbl ? w->OnLButtonDblClk(flags, pt) : w->OnLButtonDown(flags, pt);
                    break;
                case 1:
                    dbl ? w->OnRButtonDblClk(flags, pt) : w->OnRButtonDown(flags, pt);
                    break;
                default:
                    dbl ? w->OnMButtonDblClk(flags, pt) : w->OnMButtonDown(flags, pt);
                    break;
            }
        });
        // A modal loop inside the press took the release that happened meanwhile, as on Windows.
        if (self && AfxModalLoopCount() != loopsBefore) m_swallowRelease[b] = true;
        return true;
    }

    bool Release(QMouseEvent* e) {
        const int b = ButtonIndex(e->button());
        if (b < 0) return false;
        if (m_swallowRelease[b]) {
            m_swallowRelease[b] = false;
            return true;
        }
        const UINT flags = Flags(e);
        const CPoint pt = Position(e);
        ui_detail::SetCursorWidget(m_source);
        Call([&](CWnd* w) {
            switch (b) {
                case 0:
                    w->OnLButtonUp(flags, pt);
                    break;
                case 1:
                    w->OnRButtonUp(flags, pt);
                    break;
                default:
                    w->OnMButtonUp(flags, pt);
                    break;
            }
        });
        return true;
    }

    bool Move(QMouseEvent* e) {
        const UINT flags = Flags(e);
        const CPoint pt = Position(e);
        // While a button is down the window has the capture and gets no set-cursor message.
        if (e->buttons() == Qt::NoButton)
            SetCursorFor(WM_MOUSEMOVE);
        else
            ui_detail::SetCursorWidget(m_source);
        Call([&](CWnd* w) { w->OnMouseMove(flags, pt); });
        return true;
    }

    bool Wheel(QWheelEvent* e) {
        m_wheelRemainder += e->angleDelta().y();
        const int notches = m_wheelRemainder / WHEEL_DELTA;
        if (notches == 0) return true;
        m_wheelRemainder -= notches * WHEEL_DELTA;
        const int delta = std::clamp(notches * WHEEL_DELTA, -32760, 32760);
        const UINT flags = MouseFlagsFromQt(static_cast<int>(e->buttons()), static_cast<int>(e->modifiers()));
        const CPoint pt = ToPoint(e->globalPosition());
        Call([&](CWnd* w) { w->OnMouseWheel(flags, static_cast<short>(delta), pt); });
        return true;
    }

    bool Key(QKeyEvent* e) {
        const bool press = e->type() == QEvent::KeyPress;
        const UINT vk = VirtualKeyFromQtKey(e->key(), e->modifiers() & Qt::KeypadModifier);
        const UINT flags = e->isAutoRepeat() ? 0x4000u : 0u;
        const UINT rep = static_cast<UINT>(std::max(1, e->count()));
        if (vk) {
            Call([&](CWnd* w) { press ? w->OnKeyDown(vk, rep, flags) : w->OnKeyUp(vk, rep, flags); });
        }
        if (press && m_wnd) {
            for (char32_t c : e->text().toStdU32String())
                Call([&](CWnd* w) { w->OnChar(c, rep, flags); });
        }
        return true;
    }

    CWnd* m_wnd;
    QPointer<QWidget> m_source;
    bool m_swallowRelease[3] = {false, false, false};
    int m_wheelRemainder = 0;
};

}  // namespace ui_detail

CWnd::CWnd() : m_impl(std::make_unique<Impl>()) {}

CWnd::~CWnd() {
    for (auto* t : m_impl->translators) {
        t->Orphan();
        t->deleteLater();
    }
    m_impl->translators.clear();
    m_impl->timers.clear();
    QWidget* w = Detach();
    if (w && m_impl->ownsWidget) delete w;
}

QWidget* CWnd::GetWidget() const {
    return m_impl->widget.data();
}

CWnd* CWnd::FromWidget(const QWidget* widget) {
    if (!widget) return nullptr;
    auto it = Registry().find(widget);
    return it == Registry().end() ? nullptr : it->second;
}

BOOL CWnd::Create(CWnd* pParent, UINT nID) {
    auto* w = new QWidget(pParent ? pParent->GetWidget() : nullptr);
    w->setFocusPolicy(Qt::StrongFocus);
    Attach(w, pParent == nullptr || pParent->GetWidget() == nullptr);
    SetDlgCtrlID(nID);
    if (pParent) pParent->RegisterDlgItem(nID, this);
    EnableMessageTranslation();
    return TRUE;
}

void CWnd::Attach(QWidget* widget, bool owns) {
    if (m_impl->widget) Detach();
    m_impl->widget = widget;
    m_impl->ownsWidget = owns;
    if (!widget) return;
    Registry()[widget] = this;
    m_impl->destroyedConnection = QObject::connect(widget, &QObject::destroyed, [this, widget] {
        auto it = Registry().find(widget);
        if (it != Registry().end() && it->second == this) Registry().erase(it);
    });
}

QWidget* CWnd::Detach() {
    QWidget* w = m_impl->widget.data();
    QObject::disconnect(m_impl->destroyedConnection);
    if (w) {
        auto it = Registry().find(w);
        if (it != Registry().end() && it->second == this) Registry().erase(it);
    }
    m_impl->widget = nullptr;
    return w;
}

void CWnd::EnableMessageTranslation(QWidget* source) {
    if (!source) source = GetWidget();
    if (!source) return;
    m_impl->translators.push_back(new ui_detail::MessageTranslator(this, source));
}

void CWnd::DestroyWindow() {
    m_impl->timers.clear();
    QWidget* w = Detach();
    if (w) {
        w->hide();
        w->deleteLater();
    }
}

UINT CWnd::GetDlgCtrlID() const {
    return m_impl->id;
}
void CWnd::SetDlgCtrlID(UINT nID) {
    m_impl->id = nID;
}

CWnd* CWnd::GetParent() const {
    QWidget* w = GetWidget();
    for (QWidget* p = w ? w->parentWidget() : nullptr; p; p = p->parentWidget())
        if (CWnd* wnd = FromWidget(p)) return wnd;
    return nullptr;
}

void CWnd::RegisterDlgItem(UINT nID, CWnd* child) {
    if (!child) return;
    m_impl->items.emplace(nID, child);
    if (!child->m_impl->owner) child->m_impl->owner = this;
}

void CWnd::ReplaceDlgItem(UINT nID, CWnd* child) {
    if (child) m_impl->items[nID] = child;
}

CWnd* CWnd::GetDlgItem(int nID) const {
    auto it = m_impl->items.find(static_cast<UINT>(nID));
    return it == m_impl->items.end() ? nullptr : it->second;
}

void CWnd::SetWindowText(std::string_view text) {
    if (QWidget* w = GetWidget())
        w->setWindowTitle(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

std::string CWnd::GetWindowText() const {
    QWidget* w = GetWidget();
    return w ? w->windowTitle().toStdString() : std::string();
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    QWidget* w = GetWidget();
    if (!w) return FALSE;
    const BOOL wasDisabled = !w->isEnabled();
    w->setEnabled(bEnable);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    QWidget* w = GetWidget();
    return w && w->isEnabled();
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    QWidget* w = GetWidget();
    if (!w) return FALSE;
    const BOOL wasVisible = !w->isHidden();
    switch (nCmdShow) {
        case SW_HIDE:
            w->hide();
            break;
        case SW_SHOWMINIMIZED:
            w->showMinimized();
            break;
        case SW_SHOWMAXIMIZED:
            w->showMaximized();
            break;
        case SW_SHOWNORMAL:
        case SW_RESTORE:
            w->isWindow() ? w->showNormal() : w->show();
            break;
        default:
            w->show();
            break;
    }
    return wasVisible;
}

// Visible as Windows means it: the window's own style, whatever its parent's state.
BOOL CWnd::IsWindowVisible() const {
    QWidget* w = GetWidget();
    return w && !w->isHidden();
}

void CWnd::SetFocus() {
    if (QWidget* w = GetWidget()) w->setFocus(Qt::OtherFocusReason);
}

CWnd* CWnd::GetFocus() {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (CWnd* wnd = FromWidget(w)) return wnd;
    return nullptr;
}

void CWnd::GetClientRect(CRect* rect) const {
    QWidget* w = GetWidget();
    *rect = w ? CRect(0, 0, w->width(), w->height()) : CRect();
}

void CWnd::GetWindowRect(CRect* rect) const {
    QWidget* w = GetWidget();
    if (!w) {
        *rect = CRect();
        return;
    }
    const QPoint tl = w->mapToGlobal(QPoint(0, 0));
    *rect = CRect(tl.x(), tl.y(), tl.x() + w->width(), tl.y() + w->height());
}

void CWnd::ClientToScreen(CPoint* point) const {
    if (QWidget* w = GetWidget()) {
        const QPoint p = w->mapToGlobal(QPoint(point->x, point->y));
        *point = CPoint(p.x(), p.y());
    }
}

void CWnd::ScreenToClient(CPoint* point) const {
    if (QWidget* w = GetWidget()) {
        const QPoint p = w->mapFromGlobal(QPoint(point->x, point->y));
        *point = CPoint(p.x(), p.y());
    }
}

void CWnd::Invalidate(BOOL) {
    if (QWidget* w = GetWidget()) w->update();
}

void CWnd::UpdateWindow() {
    if (QWidget* w = GetWidget(); w && w->isVisible()) w->repaint();
}

void CWnd::MoveWindow(const CRect& rect, BOOL bRepaint) {
    MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), bRepaint);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL bRepaint) {
    QWidget* w = GetWidget();
    if (!w) return;
    w->setGeometry(x, y, std::max(0, width), std::max(0, height));
    if (bRepaint) w->update();
}

void CWnd::BringWindowToTop() {
    if (QWidget* w = GetWidget()) w->raise();
}

void CWnd::SetClassCursor(HCURSOR cursor) {
    m_impl->classCursor = cursor;
}
void CWnd::SetDoubleClicks(bool on) {
    m_impl->doubleClicks = on;
}

void CWnd::SetDlgItemText(int nID, std::string_view text) {
    if (CWnd* item = GetDlgItem(nID)) item->SetWindowText(text);
}

std::string CWnd::GetDlgItemText(int nID) const {
    CWnd* item = GetDlgItem(nID);
    return item ? item->GetWindowText() : std::string();
}

void CWnd::SetDlgItemInt(int nID, int value, BOOL bSigned) {
    SetDlgItemText(nID, bSigned ? std::to_string(value) : std::to_string(static_cast<unsigned int>(value)));
}

bool ui_detail::ParseWindowsInt(const std::string& text, bool isSigned, long long& value) {
    const std::size_t b = text.find_first_not_of(" \t");
    if (b == std::string::npos) return false;
    const std::size_t e = text.find_last_not_of(" \t");
    const char* first = text.data() + b;
    const char* last = text.data() + e + 1;
    if (*first == '+') ++first;
    if (!isSigned && first < last && *first == '-') return false;
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last) return false;
    return isSigned ? value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max()
                    : value >= 0 && value <= std::numeric_limits<unsigned int>::max();
}

int CWnd::GetDlgItemInt(int nID, BOOL* pTranslated, BOOL bSigned) const {
    long long value = 0;
    const bool ok = ui_detail::ParseWindowsInt(GetDlgItemText(nID), bSigned, value);
    if (pTranslated) *pTranslated = ok;
    return ok ? static_cast<int>(static_cast<unsigned int>(value)) : 0;
}

void CWnd::CheckDlgButton(int nID, UINT nCheck) {
    if (auto* b = GetDlgItemAs<CButton>(nID)) b->SetCheck(static_cast<int>(nCheck));
}

UINT CWnd::IsDlgButtonChecked(int nID) const {
    auto* b = GetDlgItemAs<CButton>(nID);
    return b ? static_cast<UINT>(b->GetCheck()) : 0;
}

void CWnd::CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck) {
    for (int id = nIDFirst; id <= nIDLast; ++id)
        if (auto* b = GetDlgItemAs<CButton>(id)) b->SetCheck(id == nIDCheck ? 1 : 0);
}

int CWnd::GetCheckedRadioButton(int nIDFirst, int nIDLast) const {
    for (int id = nIDFirst; id <= nIDLast; ++id)
        if (auto* b = GetDlgItemAs<CButton>(id); b && b->GetCheck()) return id;
    return 0;
}

namespace {
class CControlCmdUI : public CCmdUI {
public:
    explicit CControlCmdUI(CWnd* control) : m_control(control) {}
    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        m_control->EnableWindow(bOn);
    }
    void SetCheck(int nCheck) override {
        if (auto* b = dynamic_cast<CButton*>(m_control)) b->SetCheck(nCheck);
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
    void SetText(std::string_view text) override { m_control->SetWindowText(text); }

private:
    CWnd* m_control;
};
}  // namespace

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
    for (auto& [id, control] : m_impl->items) {
        if (id == 0 || static_cast<int>(id) == kIdStatic || !control->IsWindow()) continue;
        CControlCmdUI ui(control);
        ui.m_nID = id;
        // Only buttons are disabled for want of a handler; other controls keep their state.
        ui.DoUpdate(pTarget, bDisableIfNoHandler && dynamic_cast<CButton*>(control) != nullptr);
    }
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse) {
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(static_cast<int>(std::min<UINT>(nElapse, std::numeric_limits<int>::max())));
    QObject::connect(timer.get(), &QTimer::timeout, [this, nIDEvent] {
        AfxTryCall([&] { OnTimer(nIDEvent); });
        AfxRequestIdle();
    });
    timer->start();
    m_impl->timers[nIDEvent] = std::move(timer);
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    auto it = m_impl->timers.find(nIDEvent);
    if (it == m_impl->timers.end()) return FALSE;
    it->second->stop();
    // The timer may be the one whose signal is running now.
    it->second.release()->deleteLater();
    m_impl->timers.erase(it);
    return TRUE;
}

BOOL CWnd::SendCommand(UINT nID, int nCode, CWnd* pCtrl) {
    const BOOL handled = AfxTryCallOr(FALSE, [&] { return OnCommand(nID, nCode, pCtrl); });
    AfxRequestIdle();
    return handled;
}

void CWnd::PostCommand(UINT nID) {
    QPointer<QWidget> target(GetWidget());
    if (!target) return;
    QTimer::singleShot(0, target, [target, nID] {
        if (CWnd* wnd = FromWidget(target)) wnd->SendCommand(nID);
    });
}

LRESULT CWnd::SendNotify(NMHDR& nm) {
    LRESULT result = 0;
    AfxTryCall([&] { OnNotify(&nm, &result); });
    AfxRequestIdle();
    return result;
}

LRESULT CWnd::NotifyOwner(int code) {
    NMHDR nm;
    nm.hwndFrom = this;
    nm.idFrom = GetDlgCtrlID();
    nm.code = code;
    CWnd* target = GetOwner();
    return target ? target->SendNotify(nm) : 0;
}

void CWnd::OnMeasureItem(int, MEASUREITEMSTRUCT* lpMeasureItemStruct) {
    if (lpMeasureItemStruct && lpMeasureItemStruct->CtlType == ODT_MENU && lpMeasureItemStruct->menu)
        lpMeasureItemStruct->menu->MeasureItem(lpMeasureItemStruct);
}

void CWnd::OnDrawItem(int, DRAWITEMSTRUCT* lpDrawItemStruct) {
    if (lpDrawItemStruct && lpDrawItemStruct->CtlType == ODT_MENU && lpDrawItemStruct->menu)
        lpDrawItemStruct->menu->DrawItem(lpDrawItemStruct);
}

void CWnd::SetOwner(CWnd* pOwner) {
    m_impl->owner = pOwner;
}
CWnd* CWnd::GetOwner() const {
    return m_impl->owner ? m_impl->owner : GetParent();
}

BOOL CWnd::OnCommand(UINT nID, int nCode, CWnd* pCtrl) {
    // Menus and accelerators can be stale: a command that its handlers disable does not run.
    if (!pCtrl && nCode == CN_COMMAND && !AfxIsCommandEnabled(this, nID)) return TRUE;
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(NMHDR* pNMHDR, LRESULT* pResult) {
    AFX_NOTIFY notify{pResult, pNMHDR};
    return OnCmdMsg(pNMHDR->idFrom, CN_NOTIFY(pNMHDR->code), &notify, nullptr);
}
