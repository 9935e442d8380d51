// A tab control: a row of captions, one selected. The user's choice of a tab reaches the owner as
// TCN_SELCHANGE and a right click as NM_RCLICK (WM_NOTIFY); programmatic selection notifies nobody.
#pragma once

#include <string>
#include <string_view>

#include "platform/ui/ControlNotify.h"
#include "platform/ui/Wnd.h"

class CTabCtrl : public CWnd {
public:
    BOOL Create(UINT style, CWnd* pParent, UINT nID);
    // Inserts a tab before nItem (clamped); its index.
    int InsertItem(int nItem, std::string_view text);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    std::string GetItemText(int nItem) const;
    // -1 when no tab is selected.
    int GetCurSel() const;
    // The previous selection; -1 for an index outside the tabs (nothing changes then).
    int SetCurSel(int nItem);
    // The tab under a point in client coordinates, or -1.
    int HitTest(CPoint point) const;
    // bLarger FALSE: the display area inside a window rectangle (client coordinates of the parent);
    // TRUE: the window rectangle around a display area.
    void AdjustRect(BOOL bLarger, CRect* rect) const;
    // As the user's click on a tab: it becomes selected, then TCN_SELCHANGE.
    void ClickTab(int nItem);
    // As the user's right click at a client point: NM_RCLICK.
    void RightClick(CPoint point);
};
