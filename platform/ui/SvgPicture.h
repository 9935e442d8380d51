// Pictures given as SVG text (the program's icon), drawn by the toolkit's SVG reader at the screen's
// pixel ratio.
#pragma once

#include <string_view>

#include "platform/WinTypes.h"

class CWnd;

// The picture as the icon of the window's top-level window (title bar, task switcher), drawn when
// the window first asks for it (none when the text cannot be read as a picture). FALSE without a
// window.
BOOL AfxSetWindowIcon(CWnd* window, std::string_view svg);
// The picture filling a dialog's picture frame (a CUSTOM template entry) at the frame's size.
BOOL AfxShowPicture(CWnd* frame, std::string_view svg);
