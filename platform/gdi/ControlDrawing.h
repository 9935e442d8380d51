// What Windows draws for controls on any device context: push-button frames (DrawFrameControl) and
// pictures in a state (DrawState). Colours are the fixed system colours, so the results are the
// same on every desktop.
#pragma once

#include <functional>

#include "platform/gdi/GdiTypes.h"

class CDC;

// One-pixel lines along the top and left of rect in one colour, the bottom and right in the other.
void Draw3dRect(CDC* dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);

enum : UINT { DFC_BUTTON = 4 };
enum : UINT {
    DFCS_BUTTONPUSH = 0x0010,
    DFCS_INACTIVE = 0x0100,
    DFCS_PUSHED = 0x0200,
    DFCS_ADJUSTRECT = 0x2000
};

// A push-button frame (DFC_BUTTON with DFCS_BUTTONPUSH) filled with the button face: raised, or
// sunken with DFCS_PUSHED. With DFCS_ADJUSTRECT rect shrinks to the inside of the 2-pixel edge.
// FALSE for other kinds.
BOOL DrawFrameControl(CDC* dc, RECT* rect, UINT type, UINT state);

enum : UINT { DST_COMPLEX = 0x0000, DSS_NORMAL = 0x0000, DSS_UNION = 0x0010, DSS_DISABLED = 0x0020 };

// A picture drawn by `draw` into rect (logical units of dc), in a state:
// - DSS_NORMAL: as drawn;
// - DSS_DISABLED: embossed: every pixel the picture inks (any colour but white) shows in the
//   button highlight colour one pixel down and right, then in the button shadow colour in place;
// - DSS_UNION: dithered: the picture's pixels on every other position of a checkerboard (even
//   x + y from the rectangle's corner); the others keep what was there.
// Pixels the picture does not ink keep what was there (also in DSS_NORMAL, where `draw` paints
// directly).
using DrawStateProc = std::function<void(CDC& dc, const CRect& rect)>;
BOOL DrawState(CDC* dc, const CRect& rect, const DrawStateProc& draw, UINT flags);
