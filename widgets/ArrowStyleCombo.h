// The owner-drawn combo of the seven arrow-head kinds (none, open V, filled triangle, slash, cross,
// hollow circle, filled circle): each item shows a sample line with its head at the start (left)
// for the start-arrow combo, at the end (right) for the end-arrow combo.
#pragma once

#include "widgets/OwnerDrawnItem.h"

class MArrowStyleCombo : public MPickerCombo {
public:
    static constexpr int kKindCount = 7;
    // What GetCurStyle answers when nothing is selected (never a kind).
    static constexpr int kNoKind = 255;

    // direction 0: start arrows, otherwise end arrows. Adds the items (data 0..6) and sets the
    // height of the items and of the field.
    void FillStyles(int direction, int itemHeight);
    // The selected item's kind, or kNoKind.
    int GetCurStyle() const;
    // Selects the first item of that kind; kNoKind or a kind no item has clears the selection.
    void SelectStyle(int kind);

protected:
    void DrawSample(CDC* dc, const CRect& item, int kind) override;

private:
    int m_direction = 0;
};
