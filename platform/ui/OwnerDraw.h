// Owner-drawn controls: combo boxes and list boxes with CBS_OWNERDRAWFIXED / LBS_OWNERDRAWFIXED and
// push buttons with BS_OWNERDRAW paint their items through their own virtual DrawItem (the message
// reaches the control itself, as the class library reflects it). The device context is in 96-dpi
// logical units and paints at the screen's pixel ratio.
//
// A full repaint of an item reaches DrawItem as Windows would have reached that state: first
// ODA_DRAWENTIRE, then ODA_SELECT, then ODA_FOCUS when the item has the focus; the item's
// rectangle has been filled with the window colour before. The selection field of a combo box
// draws the selected item with ODS_COMBOBOXEDIT (item -1 and data -1 when nothing is selected).
// A disabled control draws its items with ODS_DISABLED | ODS_GRAYED.
#pragma once

#include <cstdint>

#include "platform/WinTypes.h"

class CDC;
class CWnd;

// Control types.
enum : UINT { ODT_MENU = 1, ODT_LISTBOX = 2, ODT_COMBOBOX = 3, ODT_BUTTON = 4 };
// What is to be drawn.
enum : UINT { ODA_DRAWENTIRE = 0x0001, ODA_SELECT = 0x0002, ODA_FOCUS = 0x0004 };
// The item's state.
enum : UINT {
    ODS_SELECTED = 0x0001,
    ODS_GRAYED = 0x0002,
    ODS_DISABLED = 0x0004,
    ODS_CHECKED = 0x0008,
    ODS_FOCUS = 0x0010,
    ODS_DEFAULT = 0x0020,
    ODS_COMBOBOXEDIT = 0x1000
};

struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;  // (UINT)-1 for none
    UINT itemAction = 0;
    UINT itemState = 0;
    CWnd* hwndItem = nullptr;
    CDC* hDC = nullptr;
    CRect rcItem;
    std::uintptr_t itemData = 0;
};

struct MEASUREITEMSTRUCT {
    UINT CtlType = 0;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    std::uintptr_t itemData = 0;
};

// Paints item nIndex of an owner-drawn combo box, list box (-1: a combo's selection field with no
// selection) or push button (any index) with one action and state into rect of dc, through the
// control's DrawItem, exactly as a repaint of the control does for that step. FALSE when the
// control is not owner-drawn. The object that stands for the control's window now draws (a
// member bound with DDX_Control). Also the entry point for tests that look at the items' pixels.
BOOL DrawOwnerDrawItem(CWnd* pControl, int nIndex, UINT nAction, UINT nState, CDC* pDC, const CRect& rect);
