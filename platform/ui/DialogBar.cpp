#include "platform/ui/DialogBar.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QPointer>

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
    return TRUE;
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
    const bool hidden = dock->isHidden();
    dock->setFloating(false);
    window->addDockWidget(Qt::LeftDockWidgetArea, dock);
    dock->setHidden(hidden);
}

void CDialogBar::Float(CPoint point) {
    QDockWidget* dock = m_dock->widget;
    if (!dock) return;
    const bool hidden = dock->isHidden();
    dock->setFloating(true);
    dock->move(point.x, point.y);
    dock->setHidden(hidden);
}

void CDialogBar::ShowBar(BOOL bShow) {
    if (QDockWidget* dock = m_dock->widget) dock->setVisible(bShow != FALSE);
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
