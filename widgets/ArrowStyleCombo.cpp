#include "widgets/ArrowStyleCombo.h"

#include "model/shapes/CadShape.h"

void MArrowStyleCombo::FillStyles(int direction, int itemHeight) {
    m_direction = direction;
    for (int kind = 0; kind < kKindCount; ++kind)
        SetItemData(AddString({}), static_cast<DWORD_PTR>(kind));
    SetPickerItemHeight(itemHeight);
}

int MArrowStyleCombo::GetCurStyle() const {
    return GetSelectedData(kNoKind);
}

void MArrowStyleCombo::SelectStyle(int kind) {
    SelectData(kind, kNoKind);
}

void MArrowStyleCombo::DrawSample(CDC* dc, const CRect& item, int kind) {
    CRect shrunk = item;
    shrunk.DeflateRect(2, 2);
    // The end-arrow combo draws leftwards from the right end, so that its head sits there.
    const int length = m_direction == 0 ? shrunk.Width() : -shrunk.Width();
    DrawArrowSample(dc, kind, item.left, (item.top + item.bottom) / 2, length, shrunk.Height());
}
