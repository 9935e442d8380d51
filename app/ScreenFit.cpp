#include "app/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace {

// Sizes in 64 bits: a damaged profile may give any corners.
LONG Fit(long long size, LONG room) {
    return static_cast<LONG>(std::clamp<long long>(size, 1, std::max<LONG>(room, 1)));
}

LONG Clamp(LONG value, LONG low, LONG high) {
    return std::max(low, std::min(value, high));
}

}  // namespace

CRect MoveOntoScreen(const CRect& rect, const std::vector<CRect>& screens) {
    if (screens.empty()) return rect;
    for (const CRect& screen : screens) {
        CRect common;
        if (common.IntersectRect(rect, screen)) return rect;
    }
    const CRect& primary = screens.front();
    const LONG width = Fit(static_cast<long long>(rect.right) - rect.left, primary.Width());
    const LONG height = Fit(static_cast<long long>(rect.bottom) - rect.top, primary.Height());
    const LONG left = Clamp(rect.left, primary.left, primary.right - width);
    const LONG top = Clamp(rect.top, primary.top, primary.bottom - height);
    return CRect(left, top, left + width, top + height);
}

std::vector<CRect> AvailableScreenAreas() {
    std::vector<CRect> areas;
    QScreen* primary = QGuiApplication::primaryScreen();
    auto add = [&](const QScreen* screen) {
        const QRect r = screen->availableGeometry();
        areas.emplace_back(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    };
    if (primary) add(primary);
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary) add(screen);
    return areas;
}
