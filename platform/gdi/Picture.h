// The picture resources (resources/pictures.inc) on device contexts: a button's or toolbar's
// picture, by id, drawn at its size and at the target's resolution (sharp at any pixel ratio).
#pragma once

#include "platform/gdi/GdiTypes.h"

class CDC;

// The picture's size in pixels at 96 dpi; FALSE (size untouched) when there is no picture `id`.
BOOL GetPictureSize(UINT id, CSize* size);
// Draws picture `id` with its top-left corner at (x, y), over what is there; FALSE when there is
// no such picture.
BOOL DrawPicture(CDC* dc, UINT id, int x, int y);
