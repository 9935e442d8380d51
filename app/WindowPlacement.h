// The main window's placement as the profile keeps it ("Settings"/"WindowPos"): the text
// "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d" of the flags, the show command, the minimised and maximised
// positions and the normal rectangle. What is read is damaged data until shown otherwise: it is
// brought onto the screens present before the window takes it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

struct MWindowPlacement {
    static constexpr int kFields = 10;
    // A window smaller than this cannot be used; a larger screen is never needed.
    static constexpr LONG kMinWidth = 200;
    static constexpr LONG kMinHeight = 150;

    unsigned flags = 0;
    int showCommand = 1;  // SW_SHOWNORMAL
    CPoint minPosition{-1, -1};
    CPoint maxPosition{-1, -1};
    CRect normal;

    // Exactly ten integers separated by commas (blanks around them allowed); nothing otherwise.
    // Numbers beyond the range of their field are taken as its nearest value.
    static std::optional<MWindowPlacement> Parse(const std::string& text);
    std::string Format() const;

    // The normal rectangle on the screens (their available areas, the primary first): on the screen
    // it overlaps most (else the primary), no larger than that screen and no smaller than the
    // minimum, moved inside it. Nothing when the rectangle is empty or there is no screen.
    std::optional<CRect> FitToScreens(const std::vector<CRect>& screens) const;
};
