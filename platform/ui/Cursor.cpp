#include "platform/ui/Cursor.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <chrono>
#include <map>
#include <memory>

#include "platform/ui/Wnd.h"
#include "platform/ui/detail/WndImpl.h"
#include "resources/ResourceFormats.h"

namespace {

Qt::CursorShape ShapeOf(UINT id) {
    switch (id) {
        case IDC_IBEAM:
            return Qt::IBeamCursor;
        case IDC_WAIT:
            return Qt::WaitCursor;
        case IDC_CROSS:
            return Qt::CrossCursor;
        case IDC_UPARROW:
            return Qt::UpArrowCursor;
        case IDC_SIZENWSE:
            return Qt::SizeFDiagCursor;
        case IDC_SIZENESW:
            return Qt::SizeBDiagCursor;
        case IDC_SIZEWE:
            return Qt::SizeHorCursor;
        case IDC_SIZENS:
            return Qt::SizeVerCursor;
        case IDC_SIZEALL:
            return Qt::SizeAllCursor;
        case IDC_NO:
            return Qt::ForbiddenCursor;
        case IDC_HAND:
            return Qt::PointingHandCursor;
        case IDC_APPSTARTING:
            return Qt::BusyCursor;
        default:
            return Qt::ArrowCursor;
    }
}

// Cursors live for the whole program, as shared system cursors and resources do on Windows.
std::map<UINT, std::unique_ptr<CursorData>>& Cache() {
    static std::map<UINT, std::unique_ptr<CursorData>> cache;
    return cache;
}

QPointer<QWidget>& CursorTarget() {
    static QPointer<QWidget> target;
    return target;
}

HCURSOR g_current = nullptr;

}  // namespace

HCURSOR AfxLoadStandardCursor(UINT id) {
    const Qt::CursorShape shape = ShapeOf(id);
    const UINT key = 0x80000000u | static_cast<UINT>(shape);
    auto& slot = Cache()[key];
    if (!slot) slot = std::make_unique<CursorData>(CursorData{QCursor(shape)});
    return slot.get();
}

HCURSOR AfxLoadCursor(UINT resourceId) {
    auto it = Cache().find(resourceId);
    if (it != Cache().end()) return it->second.get();
    const CursorTemplate* t = FindCursorTemplate(resourceId);
    if (!t) return nullptr;
    QImage image(t->width, t->height, QImage::Format_ARGB32);
    for (int y = 0; y < t->height; ++y)
        for (int x = 0; x < t->width; ++x) {
            const char c = t->pixels[y * t->width + x];
            image.setPixel(x, y, c == 'X' ? 0xFF000000u : c == 'o' ? 0xFFFFFFFFu : 0x00000000u);
        }
    auto data =
        std::make_unique<CursorData>(CursorData{QCursor(QPixmap::fromImage(image), t->hotX, t->hotY)});
    HCURSOR h = data.get();
    Cache()[resourceId] = std::move(data);
    return h;
}

HCURSOR SetCursor(HCURSOR cursor) {
    const HCURSOR previous = g_current;
    g_current = cursor;
    if (QWidget* w = CursorTarget()) {
        if (cursor)
            w->setCursor(cursor->cursor);
        else
            w->setCursor(Qt::BlankCursor);
    }
    return previous;
}

namespace {
bool g_cursorPosKnown = false;
QPoint g_cursorPos;
}  // namespace

BOOL GetCursorPos(CPoint* point) {
    if (!point) return FALSE;
    const QPoint p = g_cursorPosKnown ? g_cursorPos : QCursor::pos();
    *point = CPoint(p.x(), p.y());
    return TRUE;
}

BOOL GetLivePointerPos(CPoint* point) {
    if (!point) return FALSE;
    static QPoint last;
    static std::chrono::steady_clock::time_point asked;
    const auto now = std::chrono::steady_clock::now();
    if (asked.time_since_epoch().count() == 0 || now - asked >= std::chrono::milliseconds(2)) {
        last = QCursor::pos();
        asked = now;
    }
    *point = CPoint(last.x(), last.y());
    return TRUE;
}

namespace ui_detail {
void NoteCursorPos(const QPoint& global) {
    g_cursorPos = global;
    g_cursorPosKnown = true;
}

void SetCursorWidget(QWidget* widget) {
    CursorTarget() = widget;
}
QWidget* CursorWidget() {
    return CursorTarget();
}
void ApplyClassCursor(CWnd* wnd, QWidget* widget) {
    HCURSOR c = wnd->GetImpl().classCursor ? wnd->GetImpl().classCursor : AfxLoadStandardCursor(IDC_ARROW);
    g_current = c;
    if (widget) widget->setCursor(c->cursor);
}
}  // namespace ui_detail

CWaitCursor::CWaitCursor() {
    if (QGuiApplication::instance()) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor() {
    if (QGuiApplication::instance()) QGuiApplication::restoreOverrideCursor();
}

void CWaitCursor::Restore() {
    if (QGuiApplication::instance()) QGuiApplication::changeOverrideCursor(Qt::WaitCursor);
}
