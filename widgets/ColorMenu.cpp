#include "widgets/ColorMenu.h"

#include "platform/gdi/ControlDrawing.h"
#include "platform/gdi/DC.h"
#include "widgets/ColorPalette.h"

MColorMenu::MColorMenu() {
    GetColorPalette();
    CreatePopupMenu();
}

void MColorMenu::AppendPalette(UINT firstId) {
    const auto& palette = GetColorPalette();
    for (int i = 0; i < kPaletteColorCount; ++i) {
        const UINT flags = (i > 0 && i % 8 == 0) ? MF_MENUBREAK : 0u;
        AppendOwnerDrawn(flags, firstId + static_cast<UINT>(i), palette[static_cast<std::size_t>(i)]);
    }
}

void MColorMenu::MeasureItem(MEASUREITEMSTRUCT* lpMeasureItemStruct) {
    lpMeasureItemStruct->itemWidth = 5;
    lpMeasureItemStruct->itemHeight = 5 + static_cast<UINT>(GetMenuCheckMarkDimensions().cx);
}

void MColorMenu::DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) {
    const DRAWITEMSTRUCT& dis = *lpDrawItemStruct;
    CDC* dc = dis.hDC;
    CRect r = dis.rcItem;
    const COLORREF menu = GetSysColor(COLOR_MENU);
    dc->FillSolidRect(&r, menu);
    CBrush outline((dis.itemState & ODS_SELECTED) ? GetSysColor(COLOR_HIGHLIGHT) : menu);
    dc->FrameRect(&r, &outline);
    r.DeflateRect(1, 1);
    if (dis.itemState & ODS_CHECKED)
        Draw3dRect(dc, r, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    else
        Draw3dRect(dc, r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
    r.DeflateRect(3, 3);
    const COLORREF color = static_cast<COLORREF>(dis.itemData) & 0xFFFFFF;
    const UINT state = (dis.itemState & (ODS_GRAYED | ODS_DISABLED)) ? DSS_UNION : DSS_NORMAL;
    DrawState(
        dc, r, [color](CDC& d, const CRect& rect) { d.FillSolidRect(&rect, color); }, state);
}
