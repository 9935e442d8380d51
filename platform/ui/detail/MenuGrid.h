// Internal to platform/ui: popups laid out in columns (MF_MENUBREAK, MF_MENUBARBREAK) with owner-drawn
// items (MF_OWNERDRAW), which Qt's menus cannot show.
#pragma once

#include <QPoint>

#include "platform/ui/Menu.h"

namespace ui_detail {
// Whether the menu needs the grid: one of its items is owner-drawn or starts a column.
bool IsGridMenu(const CMenu& menu);
// Shows the menu as a grid popup at the screen point and returns the chosen command (0: none).
// Owner-drawn items are measured and drawn through the owner's OnMeasureItem / OnDrawItem (the
// menu's own MeasureItem / DrawItem without an owner). Sub-menus are not opened from a grid.
UINT ExecGridMenu(CMenu* menu, CWnd* owner, QPoint at);
}  // namespace ui_detail
