// Colours of DXF files: the 16-entry table that turns DXF colour numbers into COLORREF values
// (read side) and the mapping of any COLORREF to the nearest DXF colour number (write side).
#pragma once

#include "platform/WinTypes.h"

// Fill the two tables. The tables are also built on first use, so calling these is optional;
// start-up calls them to keep the order of its initialisation explicit.
void InitDXFColorTable();
void InitDXFColorNumberTable();

// Entry index (0..15) of the DXF colour table; 0 (black) for an index outside it.
COLORREF GetDXFTableColor(int index);
// Entry index (0..15) of the colour-number table; 7 for an index outside it.
int GetDXFTableColorNumber(int index);
// The colour of a DXF colour number 1..255: 1..15 through the table, 16..255 the standard palette's
// own colour (white, 255, drawn black as 7 is); 0 (black) outside.
COLORREF GetDXFPaletteColor(int number);

// The DXF colour number of a colour: the eight bright colours and their eight dark shades by
// which channels exceed 128 (or, when none does, 64); white gives 0 and black and every value
// above 0xFFFFFF (no colour) give 7.
int GetDXFColorNumber(COLORREF color);
