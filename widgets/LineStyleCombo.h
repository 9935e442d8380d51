// The owner-drawn combo of line styles (figure-style toolbar, tool dialogs): one item per entry of
// the line-style table, whose data is its line-style word, then the auxiliary dotted line (136,
// shown with the label "補助"). Each item shows the style's sample.
#pragma once

#include "widgets/OwnerDrawnItem.h"

class MLineStyleCombo : public MPickerCombo {
public:
    // The auxiliary line: style 8 with the auxiliary bit.
    static constexpr int kAuxiliaryDotted = 0x88;

    // Adds the items (data 0..8, then 136) and sets the height of the items and of the field.
    void FillStyles(int itemHeight);
    // The selected item's line-style word, or -1 when nothing is selected (never a style).
    int GetCurStyle() const;
    // Selects the first item of that word; -1 or a word no item has clears the selection.
    void SelectStyle(int style);

protected:
    void DrawSample(CDC* dc, const CRect& item, int style) override;
};
