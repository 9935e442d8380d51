// The pictures of menus: one bitmap per line style of the table, 24 mm wide at the screen's
// resolution and as high as the menu font, showing the style's sample on the menu colour. Built
// once at start-up right after the line-style table; the frame's line-style menu and the tools'
// context menu show them as MF_BITMAP items with commands 400 + index.
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
