// The colour swatch list (the wall settings pick their colour here): an owner-drawn list box of 71
// colours (item data), in columns as wide as the items are high. Create it with
// LBS_OWNERDRAWFIXED | LBS_MULTICOLUMN, or bind a template's list with DDX_Control.
#pragma once

#include "platform/ui/Controls.h"

class MColorListBox : public CListBox {
public:
    // Adds the 71 colours (no colour first) and makes the columns as wide as the items are high.
    void FillColors();
    // The selected colour, or `none` when nothing is selected.
    COLORREF GetCurColor(COLORREF none = kNoColor) const;
    // Selects the first item of the colour; a colour no item has clears the selection.
    void SelectColor(COLORREF color);

    void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) override;
};
