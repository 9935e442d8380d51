// What the program's owner-drawn pickers share (line styles and arrow heads here, colours next):
// the ink of a sample, black or grey 0x808080 for a disabled item; the selection frame (black when
// selected, else the window colour); the focus frame (grey inside the item, then the dotted focus
// rectangle). The frames answer the ODA_SELECT and ODA_FOCUS steps of DrawItem.
#pragma once

#include "platform/gdi/DC.h"
#include "platform/ui/Controls.h"

// 0x808080 for an item drawn with ODS_GRAYED or ODS_DISABLED, black otherwise.
COLORREF ItemInkColor(const DRAWITEMSTRUCT& dis);

// Selects a solid 1-pixel pen, a solid brush and the text colour of the item's ink into its DC
// for the lifetime of the object, with transparent text.
class ItemInk {
public:
    explicit ItemInk(const DRAWITEMSTRUCT& dis);
    ~ItemInk();
    ItemInk(const ItemInk&) = delete;
    ItemInk& operator=(const ItemInk&) = delete;

private:
    CDC* m_dc;
    CPen m_pen;
    CBrush m_brush;
    CPen* m_oldPen;
    CBrush* m_oldBrush;
    COLORREF m_oldText;
    int m_oldBkMode;
};

// The swatch of "no colour": rect filled with `face` and outlined in `outline`, with both
// diagonals (a cross).
void DrawNoColorCross(CDC* dc, const CRect& rect, COLORREF outline, COLORREF face);

// The ODA_SELECT and ODA_FOCUS steps of an owner-drawn picker item; FALSE for other actions.
BOOL DrawItemFrames(const DRAWITEMSTRUCT& dis);

// The base of the owner-drawn picker combos: one item height for the list and the field, the
// selection read and written by item data, and items drawn as their sample (in the item's ink)
// with the selection and focus frames.
class MPickerCombo : public CComboBox {
public:
    void MeasureItem(MEASUREITEMSTRUCT* lpMeasureItemStruct) override;
    // ODA_DRAWENTIRE: DrawSample of an item whose data is not negative; the frames otherwise.
    void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) override;

protected:
    // The sample of item data `data` in the item's rectangle, with the ink selected.
    virtual void DrawSample(CDC* dc, const CRect& item, int data) = 0;
    // Stores the height and sets it for the items and for the selection field.
    void SetPickerItemHeight(int itemHeight);
    // The selected item's data, or `none` when nothing is selected.
    int GetSelectedData(int none) const;
    // Selects the first item with the data; `none`, a negative value or data no item has clear
    // the selection.
    void SelectData(int data, int none);

private:
    int m_itemHeight = 0;
};
