#include "widgets/ColorListBox.h"

#include "platform/gdi/DC.h"
#include "widgets/ColorPalette.h"
#include "widgets/OwnerDrawnItem.h"

namespace {

constexpr COLORREF kGrey = 0x808080;
constexpr COLORREF kBlack = 0;

void Frame(CDC* dc, const CRect& rect, COLORREF color) {
    CBrush brush(color);
    dc->FrameRect(&rect, &brush);
}

// The swatch of an item: no colour is a crossed box, any other colour a solid fill.
void DrawSwatch(CDC* dc, CRect rect, COLORREF color, bool disabled) {
    rect.DeflateRect(2, 2);
    if (rect.IsRectEmpty()) return;
    if (color != kNoColor) {
        dc->FillSolidRect(&rect, disabled ? kGrey : color & 0xFFFFFF);
        return;
    }
    DrawNoColorCross(dc, rect, disabled ? kGrey : kBlack, GetSysColor(COLOR_WINDOW));
}

}  // namespace

void MColorListBox::FillColors() {
    for (COLORREF color : GetColorListColors())
        SetItemData(AddString({}), color);
    SetColumnWidth(GetItemHeight(0));
}

COLORREF MColorListBox::GetCurColor(COLORREF none) const {
    const int sel = GetCurSel();
    return sel < 0 ? none : static_cast<COLORREF>(GetItemData(sel));
}

void MColorListBox::SelectColor(COLORREF color) {
    int found = -1;
    for (int i = 0; found < 0 && i < GetCount(); ++i)
        if (GetItemData(i) == color) found = i;
    SetCurSel(found);
}

void MColorListBox::DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) {
    const DRAWITEMSTRUCT& dis = *lpDrawItemStruct;
    CDC* dc = dis.hDC;
    const CRect rect = dis.rcItem;
    const bool disabled = (dis.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
    const bool selected = (dis.itemState & ODS_SELECTED) != 0;
    const bool focused = (dis.itemState & ODS_FOCUS) != 0;
    CRect inner = rect;
    inner.DeflateRect(1, 1);
    switch (dis.itemAction) {
        case ODA_DRAWENTIRE:
            DrawSwatch(dc, rect, static_cast<COLORREF>(dis.itemData), disabled);
            if (selected) Frame(dc, rect, disabled ? kGrey : kBlack);
            if (focused) Frame(dc, inner, kGrey);
            break;
        case ODA_SELECT:
            Frame(dc, rect, selected ? kBlack : GetSysColor(COLOR_WINDOW));
            break;
        case ODA_FOCUS:
            Frame(dc, inner, focused ? kGrey : GetSysColor(COLOR_WINDOW));
            break;
        default:
            break;
    }
}
