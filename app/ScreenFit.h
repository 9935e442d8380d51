// Windows open where they can be seen: a rectangle saved on a screen that is gone moves onto the
// primary screen.
#pragma once

#include <vector>

#include "platform/WinTypes.h"

// The rectangle itself when it meets one of the screens' available areas (the primary first);
// otherwise moved into the primary one, keeping its size where that fits and shrunk where not.
CRect MoveOntoScreen(const CRect& rect, const std::vector<CRect>& screens);
// The available areas (without panels and docks) of the screens, the primary first.
std::vector<CRect> AvailableScreenAreas();
