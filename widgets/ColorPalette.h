// The colours the program offers, as two tables that are never mixed:
// - the 64-colour palette of the colour buttons' drop-down menus (8 columns of 8): the pure colours,
//   five shades and three tints of six hues, eight greys;
// - the 16 menu colours of the frame's colour menus and the tools' colour commands (line colours
//   200-215, fill colours 300-315), shown by the swatch pictures.
// Entries 0-7 coincide. The colour list box's 71 colours are built from the palette's rules.
#pragma once

#include <array>

#include "document/ToolSettings.h"
#include "platform/WinTypes.h"

constexpr int kPaletteColorCount = 64;
constexpr int kColorListCount = 71;

// The palette, built on first use and kept for the whole run.
const std::array<COLORREF, kPaletteColorCount>& GetColorPalette();
// The palette entry of command `id` of a menu whose commands start at firstId; kNoColor for a
// command outside the menu's 64.
COLORREF ColorOfCommand(UINT id, UINT firstId);
// firstId + the index of the first palette entry equal to the colour, or 0 when none is.
UINT CommandOfColor(COLORREF color, UINT firstId);

// The 16 menu colours (kMenuColors) as an array.
const std::array<COLORREF, kMenuColorCount>& GetMenuColors();

// The colours of the colour list box: no colour, the pure colours, nine per hue (five shades,
// tints at 128, 140, 172 and 204), the greys.
const std::array<COLORREF, kColorListCount>& GetColorListColors();
