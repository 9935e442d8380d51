// Controls placed on toolbars in place of a button slot, as the figure-style and text toolbars
// hold them. The slot must exist: an index past the bar's items (a toolbar resource edited without
// the frame) answers FALSE and creates nothing.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/ToolBar.h"

// A combo box of the style (CBS_DROPDOWN, CBS_DROPDOWNLIST, CBS_OWNERDRAWFIXED ...) and id over
// slot `index`: widthInButtons slot widths plus a scroll-bar thumb and 8 pixels wide, its list
// dropping dropInButtons slot heights. The combo's notifications reach the frame.
BOOL CreateToolBarComboBox(CToolBar& bar, int index, CComboBox& combo, UINT id, int widthInButtons,
                           int dropInButtons, DWORD style);
// An owner-drawn push button (WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW) with an empty
// caption and the id over slot `index`, widthInButtons slot widths wide.
BOOL CreateToolBarButton(CToolBar& bar, int index, CButton& button, UINT id, int widthInButtons);
