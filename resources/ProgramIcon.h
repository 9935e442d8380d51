// The program's icon as SVG text (resources/icons/tessaray.svg, built in): the main window, the
// About dialog, the desktop entry and the drawing file type show it.
#pragma once

#include <string_view>

std::string_view ProgramIconSvg();
