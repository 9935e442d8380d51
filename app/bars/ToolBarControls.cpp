#include "app/bars/ToolBarControls.h"

#include "platform/ui/ScrollBar.h"

BOOL CreateToolBarComboBox(CToolBar& bar, int index, CComboBox& combo, UINT id, int widthInButtons,
                           int dropInButtons, DWORD style) {
    CRect slot;
    if (!bar.GetItemRect(index, &slot)) return FALSE;
    CRect rect = slot;
    rect.right = rect.left + widthInButtons * slot.Width() + GetSystemMetrics(SM_CXHTHUMB) + 8;
    rect.bottom += dropInButtons * slot.Height();
    if (!combo.Create(style, rect, &bar, id)) return FALSE;
    return bar.SetButtonControl(index, &combo);
}

BOOL CreateToolBarButton(CToolBar& bar, int index, CButton& button, UINT id, int widthInButtons) {
    CRect slot;
    if (!bar.GetItemRect(index, &slot)) return FALSE;
    CRect rect = slot;
    rect.right = rect.left + widthInButtons * slot.Width();
    constexpr UINT style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
    if (!button.Create("", style, rect, &bar, id)) return FALSE;
    return bar.SetButtonControl(index, &button);
}
