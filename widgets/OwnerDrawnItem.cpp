#include "widgets/OwnerDrawnItem.h"

namespace {
constexpr COLORREF kGrey = 0x808080;
constexpr COLORREF kBlack = 0x000000;
}  // namespace

COLORREF ItemInkColor(const DRAWITEMSTRUCT& dis) {
    return (dis.itemState & (ODS_GRAYED | ODS_DISABLED)) ? kGrey : kBlack;
}

ItemInk::ItemInk(const DRAWITEMSTRUCT& dis)
    : m_dc(dis.hDC), m_pen(PS_SOLID, 1, ItemInkColor(dis)), m_brush(ItemInkColor(dis)) {
    m_oldPen = m_dc->SelectObject(&m_pen);
    m_oldBrush = m_dc->SelectObject(&m_brush);
    m_oldText = m_dc->SetTextColor(ItemInkColor(dis));
    m_oldBkMode = m_dc->SetBkMode(TRANSPARENT);
}

ItemInk::~ItemInk() {
    m_dc->SetBkMode(m_oldBkMode);
    m_dc->SetTextColor(m_oldText);
    if (m_oldBrush) m_dc->SelectObject(m_oldBrush);
    if (m_oldPen) m_dc->SelectObject(m_oldPen);
}

void DrawNoColorCross(CDC* dc, const CRect& rect, COLORREF outline, COLORREF face) {
    if (!dc || rect.IsRectEmpty()) return;
    CPen pen(PS_SOLID, 1, outline);
    CBrush brush(face);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    dc->Rectangle(&rect);
    dc->MoveTo(rect.left, rect.top);
    dc->LineTo(rect.right, rect.bottom);
    dc->MoveTo(rect.right - 1, rect.top);
    dc->LineTo(rect.left - 1, rect.bottom);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

BOOL DrawItemFrames(const DRAWITEMSTRUCT& dis) {
    CDC* dc = dis.hDC;
    CRect rect = dis.rcItem;
    if (dis.itemAction == ODA_SELECT) {
        CBrush brush((dis.itemState & ODS_SELECTED) ? kBlack : GetSysColor(COLOR_WINDOW));
        dc->FrameRect(&rect, &brush);
        return TRUE;
    }
    if (dis.itemAction == ODA_FOCUS) {
        rect.DeflateRect(1, 1);
        CBrush brush((dis.itemState & ODS_FOCUS) ? kGrey : GetSysColor(COLOR_WINDOW));
        dc->FrameRect(&rect, &brush);
        dc->DrawFocusRect(&dis.rcItem);
        return TRUE;
    }
    return FALSE;
}

void MPickerCombo::MeasureItem(MEASUREITEMSTRUCT* lpMeasureItemStruct) {
    if (m_itemHeight > 0) lpMeasureItemStruct->itemHeight = static_cast<UINT>(m_itemHeight);
}

void MPickerCombo::DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) {
    const DRAWITEMSTRUCT& dis = *lpDrawItemStruct;
    if (dis.itemAction != ODA_DRAWENTIRE) {
        DrawItemFrames(dis);
        return;
    }
    const int data = static_cast<int>(dis.itemData);
    if (data < 0) return;
    const ItemInk ink(dis);
    DrawSample(dis.hDC, dis.rcItem, data);
}

void MPickerCombo::SetPickerItemHeight(int itemHeight) {
    m_itemHeight = itemHeight;
    SetItemHeight(0, static_cast<UINT>(itemHeight));
    SetItemHeight(-1, static_cast<UINT>(itemHeight));
}

int MPickerCombo::GetSelectedData(int none) const {
    const int sel = GetCurSel();
    return sel < 0 ? none : static_cast<int>(GetItemData(sel));
}

void MPickerCombo::SelectData(int data, int none) {
    int found = -1;
    for (int i = 0; data >= 0 && data != none && found < 0 && i < GetCount(); ++i)
        if (GetItemData(i) == static_cast<DWORD_PTR>(data)) found = i;
    SetCurSel(found);
}
