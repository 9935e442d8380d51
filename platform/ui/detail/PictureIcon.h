// Internal to platform/ui: the picture resource of a command as an icon for toolbars and menus.
#pragma once

#include <QIcon>

#include "platform/WinTypes.h"

namespace ui_detail {
// The picture of command `id` at 96 dpi and at the screens' pixel ratios, decoded when first drawn
// (once per run); a null icon when the command has none.
QIcon PictureIcon(UINT id);
}  // namespace ui_detail
