// A list box with a check mark before each string (the class library's check list box): every
// item added has one, unchecked. The user's ticks reach the owner as CLBN_CHKCHANGE.
#pragma once

#include "platform/ui/Controls.h"

enum : int { CLBN_CHKCHANGE = 40 };

class CCheckListBox : public CListBox {
public:
    BOOL Create(UINT style, CWnd* pParent, UINT nID);
    // BST_UNCHECKED or BST_CHECKED (programmatic: no notification).
    void SetCheck(int nIndex, int nCheck);
    // The item's check state; LB_ERR for a bad index.
    int GetCheck(int nIndex) const;
    // As the user's click on the item's check mark: the mark toggles, then CLBN_CHKCHANGE.
    void ClickCheck(int nIndex);
};
