#include "platform/ui/DialogBar.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QPointer>
#include <algorithm>

#include "platform/ui/FrameWnd.h"
#include "platform/ui/detail/WndImpl.h"

struct CDialogBar::DockData {
    QPointer<QDockWidget> widget;
};

namespace {

Qt::DockWidgetAreas AreasOf(DWORD dockStyle) {
    Qt::DockWidgetAreas areas = Qt::NoDockWidgetArea;
    if (dockStyle & CBRS_ALIGN_LEFT) areas |= Qt::LeftDockWidgetArea;
    if (dockStyle & CBRS_ALIGN_RIGHT) areas |= Qt::RightDockWidgetArea;
    if (dockStyle & CBRS_ALIGN_TOP) areas |= Qt::TopDockWidgetArea;
    if (dockStyle & CBRS_ALIGN_BOTTOM) areas |= Qt::BottomDockWidgetArea;
    return areas;
}

}  // namespace

CDialogBar::CDialogBar() : m_dock(std::make_unique<DockData>()) {}

CDialogBar::~CDialogBar() {
    // The dock widget owns the content: take the content back first, then remove the dock.
    QDockWidget* dock = m_dock->widget.data();
    if (dock) {
        if (QWidget* content = dock->widget()) content->setParent(nullptr);
        delete dock;
    }
}

BOOL CDialogBar::Create(CFrameWnd* pParentFrame, DWORD dwStyle, UINT nID, std::string_view name) {
    auto* window = pParentFrame ? qobject_cast<QMainWindow*>(pParentFrame->GetWidget()) : nullptr;
    if (!window || !CWnd::Create(nullptr, nID)) return FALSE;
    m_frame = pParentFrame;
    m_style = dwStyle & ~static_cast<DWORD>(CBRS_FLOATING);
    SetOwner(pParentFrame);
    auto* dock = new QDockWidget(window);
    dock->setObjectName(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
    dock->setWidget(GetWidget());
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                      QDockWidget::DockWidgetFloatable);
    m_dock->widget = dock;
    window->addDockWidget(Qt::LeftDockWidgetArea, dock);
    dock->hide();
    EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    // Dragged off or back by the user: the limits at once, the bar's size once the window has its
    // new frame.
    QObject::connect(dock, &QDockWidget::topLevelChanged, dock, [this, dock] {
        ApplyBarSize(true);
        QMetaObject::invokeMethod(
            dock, [this] { ApplyBarSize(); }, Qt::QueuedConnection);
    });
    return TRUE;
}

void CDialogBar::GetBarSizeLimits(CSize* minSize, CSize* maxSize) const {
    if (minSize) *minSize = CSize(0, 0);
    if (maxSize) *maxSize = CSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

CSize CDialogBar::GetBarSize(BOOL /*bFloating*/) {
    CRect rect;
    GetBarWindowRect(&rect);
    return CSize(rect.Width(), rect.Height());
}

void CDialogBar::ApplyBarSize(bool onlyLimits) {
    QDockWidget* dock = m_dock->widget;
    if (!dock) return;
    // The limits and sizes are of the whole window; a floating one's frame is the system's.
    const QSize frame = dock->isWindow() ? dock->frameGeometry().size() - dock->size() : QSize(0, 0);
    CSize least, most;
    GetBarSizeLimits(&least, &most);
    dock->setMinimumSize(std::max(0, least.cx - frame.width()), std::max(0, least.cy - frame.height()));
    dock->setMaximumSize(std::max(dock->minimumWidth(), most.cx - frame.width()),
                         std::max(dock->minimumHeight(), most.cy - frame.height()));
    if (!onlyLimits) ResizeBar(GetBarSize(IsFloating()));
}

void CDialogBar::ResizeBar(CSize size) {
    QDockWidget* dock = m_dock->widget;
    if (!dock || size.cx <= 0 || size.cy <= 0) return;
    const QSize frame = dock->isWindow() ? dock->frameGeometry().size() - dock->size() : QSize(0, 0);
    if (dock->isFloating()) {
        dock->resize(size.cx - frame.width(), size.cy - frame.height());
    } else if (auto* window = m_frame ? qobject_cast<QMainWindow*>(m_frame->GetWidget()) : nullptr) {
        // Docked at a side the bar keeps its width; the frame decides its height.
        const Qt::DockWidgetArea area = window->dockWidgetArea(dock);
        if (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea)
            window->resizeDocks({dock}, {size.cx}, Qt::Horizontal);
        else
            window->resizeDocks({dock}, {size.cy}, Qt::Vertical);
    }
}

void CDialogBar::EnableDocking(DWORD dwDockStyle) {
    m_dockStyle = dwDockStyle & CBRS_ALIGN_ANY;
    if (QDockWidget* dock = m_dock->widget) dock->setAllowedAreas(AreasOf(m_dockStyle));
}

DWORD CDialogBar::GetBarStyle() const {
    return IsFloating() ? (m_style | CBRS_FLOATING) : m_style;
}

void CDialogBar::SetBarStyle(DWORD dwStyle) {
    m_style = dwStyle & ~static_cast<DWORD>(CBRS_FLOATING);
}

BOOL CDialogBar::IsFloating() const {
    QDockWidget* dock = m_dock->widget;
    return dock && dock->isFloating() ? TRUE : FALSE;
}

void CDialogBar::GetBarWindowRect(CRect* rect) const {
    QDockWidget* dock = m_dock->widget;
    if (!rect) return;
    if (!dock) {
        *rect = CRect();
        return;
    }
    const QRect r = dock->frameGeometry();
    const QPoint origin = dock->isWindow() || !dock->parentWidget()
                              ? r.topLeft()
                              : dock->parentWidget()->mapToGlobal(r.topLeft());
    *rect = CRect(origin.x(), origin.y(), origin.x() + r.width(), origin.y() + r.height());
}

QWidget* CDialogBar::GetDockWidget() const {
    return m_dock->widget.data();
}

void CDialogBar::Dock() {
    QDockWidget* dock = m_dock->widget;
    auto* window = m_frame ? qobject_cast<QMainWindow*>(m_frame->GetWidget()) : nullptr;
    if (!dock || !window) return;
    // The size asked for before the toolkit moves the window (which reports sizes of its own).
    const CSize size = GetBarSize(FALSE);
    const bool hidden = dock->isHidden();
    dock->setFloating(false);
    window->addDockWidget(Qt::LeftDockWidgetArea, dock);
    dock->setHidden(hidden);
    ApplyBarSize(true);
    ResizeBar(size);
}

void CDialogBar::Float(CPoint point) {
    QDockWidget* dock = m_dock->widget;
    if (!dock) return;
    const CSize size = GetBarSize(TRUE);
    const bool hidden = dock->isHidden();
    dock->setFloating(true);
    dock->move(point.x, point.y);
    dock->setHidden(hidden);
    ApplyBarSize(true);
    ResizeBar(size);
}

void CDialogBar::ShowBar(BOOL bShow) {
    QDockWidget* dock = m_dock->widget;
    if (!dock) return;
    dock->setVisible(bShow != FALSE);
    // Its frame may have changed while it was hidden.
    if (bShow) ApplyBarSize(true);
}

BOOL CDialogBar::IsBarVisible() const {
    QDockWidget* dock = m_dock->widget;
    return dock && !dock->isHidden() ? TRUE : FALSE;
}

void CDialogBar::SetWindowText(std::string_view text) {
    if (QDockWidget* dock = m_dock->widget)
        dock->setWindowTitle(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

std::string CDialogBar::GetWindowText() const {
    QDockWidget* dock = m_dock->widget;
    return dock ? dock->windowTitle().toStdString() : std::string();
}

BOOL CDialogBar::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_frame ? m_frame->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) : FALSE;
}
