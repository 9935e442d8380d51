#include "widgets/LineStyleCombo.h"

#include "model/render/PolyLine.h"
#include "model/settings/LineStyle.h"

void MLineStyleCombo::FillStyles(int itemHeight) {
    const int count = GetLineStyleTable().GetSize();
    for (int style = 0; style <= count; ++style)
        SetItemData(AddString({}), static_cast<DWORD_PTR>(style < count ? style : kAuxiliaryDotted));
    SetPickerItemHeight(itemHeight);
}

int MLineStyleCombo::GetCurStyle() const {
    return GetSelectedData(-1);
}

void MLineStyleCombo::SelectStyle(int style) {
    SelectData(style, -1);
}

void MLineStyleCombo::DrawSample(CDC* dc, const CRect& item, int style) {
    CRect rect = item;
    rect.DeflateRect(2, 2);
    DrawLineStyleSample(dc, style, rect.left, rect.top, rect.right, rect.Height());
}
