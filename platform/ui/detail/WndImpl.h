// Internal to platform/ui: the Qt side of CWnd and helpers shared by the window classes.
#pragma once

#include <QCursor>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "platform/ui/Wnd.h"

struct CursorData {
    QCursor cursor;
};

namespace ui_detail {
class MessageTranslator;
}

struct CWnd::Impl {
    QPointer<QWidget> widget;
    bool ownsWidget = false;
    UINT id = 0;
    CWnd* owner = nullptr;
    std::map<UINT, CWnd*> items;
    std::vector<ui_detail::MessageTranslator*> translators;
    std::map<UINT_PTR, std::unique_ptr<QTimer>> timers;
    bool doubleClicks = true;
    HCURSOR classCursor = nullptr;
    // Radio groups by control id, in template order (DDX_Radio indexes into them).
    std::vector<std::vector<UINT>> radioGroups;
    QMetaObject::Connection destroyedConnection;
    // Receiver of the widget's signal connections, so that none outlives this window.
    std::unique_ptr<QObject> context = std::make_unique<QObject>();
};

namespace ui_detail {
// The widget a dialog or popup owned by pWnd should be parented to (its top-level window), or the
// main window's when pWnd is null.
QWidget* DialogParent(CWnd* pWnd);
// The widget whose cursor SetCursor changes.
void SetCursorWidget(QWidget* widget);
QWidget* CursorWidget();
// An integer as GetDlgItemInt reads it: blanks around an optional sign and digits; false for
// anything else or a value outside int (or unsigned int when !isSigned).
bool ParseWindowsInt(const std::string& text, bool isSigned, long long& value);
// Remembers where the last mouse message happened (screen coordinates), for GetCursorPos.
void NoteCursorPos(const QPoint& global);
// Shows the class cursor of wnd on its widget.
void ApplyClassCursor(CWnd* wnd, QWidget* widget);
}  // namespace ui_detail
