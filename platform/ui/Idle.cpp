#include "platform/ui/Idle.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/WinApp.h"

namespace {

class IdleDispatcher : public QObject {
public:
    IdleDispatcher() {
        m_timer.setSingleShot(true);
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, this, [] { AfxRunIdleNow(); });
    }
    void Request() {
        if (!m_timer.isActive()) m_timer.start();
    }
    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::Wheel:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::FocusIn:
            case QEvent::WindowActivate:
                Request();
                break;
            default:
                break;
        }
        return false;
    }

private:
    QTimer m_timer;
};

IdleDispatcher* Dispatcher() {
    static QPointer<IdleDispatcher> dispatcher;
    if (!dispatcher && QCoreApplication::instance()) {
        dispatcher = new IdleDispatcher;
        dispatcher->setParent(QCoreApplication::instance());
    }
    return dispatcher;
}

}  // namespace

void AfxRequestIdle() {
    if (IdleDispatcher* d = Dispatcher()) d->Request();
}

void AfxRunIdleNow() {
    if (CWinApp* app = AfxGetApp()) {
        for (LONG n = 0; n < 16; ++n)
            if (!AfxTryCallOr(FALSE, [&] { return app->OnIdle(n); })) break;
    } else {
        CFrameWnd::IdleUpdateAllFrames();
    }
}

void AfxInstallIdleHook() {
    static bool installed = false;
    IdleDispatcher* d = Dispatcher();
    if (installed || !d) return;
    QCoreApplication::instance()->installEventFilter(d);
    installed = true;
}
