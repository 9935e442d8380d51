// The pictures of menus, built once at start-up and shown as MF_BITMAP items:
// - one bitmap per line style of the table, 24 mm wide at the screen's resolution and as high as
//   the menu font, showing the style's sample on the menu colour (commands 400 + index);
// - one swatch per menu colour (ColorPalette's 16), twice as wide as "透明" in the menu font and
//   as high: the colour outlined in black, and for no colour the word "透明" on the menu colour
//   (line colours 200 + index, fill colours 300 + index).
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/GdiObjects.h"
#include "platform/ui/Menu.h"

// The first command of the line-style items (400 + style index).
constexpr UINT kLineStyleCommandFirst = 400;

// Builds the pictures once (later calls do nothing).
void InitLineStyleBitmaps();
// The pictures in style order; empty before InitLineStyleBitmaps.
const std::vector<std::unique_ptr<CBitmap>>& GetLineStyleBitmaps();
// Empties popup and fills it with one MF_BITMAP item per picture (command 400 + index). FALSE when
// the pictures have not been built.
BOOL BuildLineStyleMenu(CMenu& popup);

constexpr UINT kLineColorCommandFirst = 200;
constexpr UINT kFaceColorCommandFirst = 300;

// Builds the swatches once (later calls do nothing).
void InitColorSwatchBitmaps();
// The swatches in menu-colour order; empty before InitColorSwatchBitmaps.
const std::vector<std::unique_ptr<CBitmap>>& GetColorSwatchBitmaps();
// Empties popup and fills it with one MF_BITMAP item per swatch (command firstCommand + index).
// FALSE when the swatches have not been built.
BOOL BuildColorSwatchMenu(CMenu& popup, UINT firstCommand);
