#include "platform/ui/PrivateDrag.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
#include <QWidget>

#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/detail/ImageListQt.h"
#include "platform/ui/detail/WndImpl.h"

namespace {

UINT FlagsOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
    UINT flags = 0;
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (mods & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (mods & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

// Hands the drag's events of one MIME type to the handler; others are left to the parents.
class DragFilter : public QObject {
public:
    DragFilter(QWidget* widget, QString mime, PrivateDragHandler handler)
        : QObject(widget), m_mime(std::move(mime)), m_handler(std::move(handler)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(e);
                if (!drop->mimeData() || !drop->mimeData()->hasFormat(m_mime)) return false;
                if (e->type() != QEvent::DragEnter && !m_inside) return false;
                const int phase = e->type() == QEvent::DragEnter  ? kDragEnter
                                  : e->type() == QEvent::DragMove ? kDragMove
                                                                  : kDragDrop;
                const QPoint p = drop->position().toPoint();
                const std::string data = drop->mimeData()->data(m_mime).toStdString();
                const UINT flags = FlagsOf(drop->modifiers(), drop->buttons());
                const bool taken =
                    AfxTryCallOr(false, [&] { return m_handler(phase, data, flags, CPoint(p.x(), p.y())); });
                m_inside = taken && phase != kDragDrop;
                if (taken)
                    drop->acceptProposedAction();
                else
                    drop->ignore();
                return true;
            }
            case QEvent::DragLeave:
                if (!m_inside) return false;
                m_inside = false;
                AfxTryCall([&] { m_handler(kDragLeave, std::string(), 0, CPoint()); });
                return true;
            default:
                return false;
        }
    }

private:
    QString m_mime;
    PrivateDragHandler m_handler;
    bool m_inside = false;
};

}  // namespace

void AcceptPrivateDrags(CWnd* wnd, const std::string& mimeType, PrivateDragHandler handler) {
    QWidget* widget = wnd ? wnd->GetWidget() : nullptr;
    if (!widget) return;
    widget->setAcceptDrops(true);
    widget->installEventFilter(new DragFilter(widget, QString::fromStdString(mimeType), std::move(handler)));
}

CProgramSlot<PrivateDragRunner>& AfxPrivateDragSlot() {
    static auto& slot = *new CProgramSlot<PrivateDragRunner>;
    return slot;
}

BOOL DoPrivateDrag(CWnd* source, const std::string& mimeType, const std::string& data,
                   const PrivateDragPicture& picture) {
    if (const PrivateDragRunner& runner = AfxPrivateDragSlot().Get()) return runner(mimeType, data, picture);
    QWidget* widget = source ? source->GetWidget() : nullptr;
    if (!widget) return FALSE;
    auto* mime = new QMimeData;
    mime->setData(QString::fromStdString(mimeType), QByteArray::fromStdString(data));
    auto* drag = new QDrag(widget);
    drag->setMimeData(mime);
    if (picture.image && picture.image->GetImageCount() > 0) {
        drag->setPixmap(picture.image->GetData()->images.front());
        drag->setHotSpot(QPoint(picture.hotSpot.x, picture.hotSpot.y));
    }
    return drag->exec(Qt::CopyAction) == Qt::CopyAction ? TRUE : FALSE;
}

BOOL SendPrivateDragEvent(CWnd* wnd, int phase, const std::string& mimeType, const std::string& data,
                          CPoint point, UINT keys) {
    QWidget* widget = wnd ? wnd->GetWidget() : nullptr;
    if (!widget) return FALSE;
    // As in the toolkit's own loop, moves, the drop and the leave reach only a window that took the
    // enter. The toolkit keeps that window as a bare pointer: sent after it was destroyed (a drag
    // that ended without a drop or a leave), they would reach a dead object.
    static QPointer<QWidget> entered;
    if (phase != kDragEnter && entered != widget) return FALSE;
    QMimeData mime;
    mime.setData(QString::fromStdString(mimeType), QByteArray::fromStdString(data));
    const QPoint at(point.x, point.y);
    const Qt::MouseButtons buttons = phase == kDragDrop ? Qt::NoButton : Qt::LeftButton;
    Qt::KeyboardModifiers mods = Qt::NoModifier;
    if (keys & MK_SHIFT) mods |= Qt::ShiftModifier;
    if (keys & MK_CONTROL) mods |= Qt::ControlModifier;
    switch (phase) {
        case kDragEnter: {
            QDragEnterEvent e(at, Qt::CopyAction, &mime, buttons, mods);
            QApplication::sendEvent(widget, &e);
            entered = e.isAccepted() ? widget : nullptr;
            return e.isAccepted();
        }
        case kDragMove: {
            QDragMoveEvent e(at, Qt::CopyAction, &mime, buttons, mods);
            QApplication::sendEvent(widget, &e);
            return e.isAccepted();
        }
        case kDragDrop: {
            QDropEvent e(QPointF(at), Qt::CopyAction, &mime, buttons, mods);
            entered = nullptr;
            QApplication::sendEvent(widget, &e);
            return e.isAccepted();
        }
        default: {
            QDragLeaveEvent e;
            entered = nullptr;
            QApplication::sendEvent(widget, &e);
            return TRUE;
        }
    }
}
