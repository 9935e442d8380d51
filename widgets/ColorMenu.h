// The drop-down of the colour buttons: the 64 palette colours as owner-drawn swatches in 8 columns
// of 8 (each item's data is its colour), shown as a grid popup. The buttons add their own items.
#pragma once

#include "platform/ui/Menu.h"
#include "platform/ui/OwnerDraw.h"

class MColorMenu : public CMenu {
public:
    // An empty popup; the palette exists from here on.
    MColorMenu();

    // Appends the 64 palette items, commands firstId .. firstId + 63; the first item of every
    // column but the first starts the column (MF_MENUBREAK).
    void AppendPalette(UINT firstId);

    // 5 wide and 5 + the check mark's width high (the menu widens it by the check mark's room).
    void MeasureItem(MEASUREITEMSTRUCT* lpMeasureItemStruct) override;
    // The menu colour, outlined in the highlight colour when selected; a sunken frame when checked,
    // a shadow frame otherwise; the colour inside, dithered when the item is disabled.
    void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) override;
};
