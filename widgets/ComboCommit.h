// When the number and name combos commit: on Enter, on a choice from the list (whose text first
// becomes the control's text) and when they lose the focus. Escape restores the stored value; the
// repeats of Enter and Escape do nothing; every other key goes to the combo at once (no
// accelerator sees it) and counts as handled.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/MessageTranslation.h"

template <class Commit, class Restore>
UINT ComboKeyDown(UINT nChar, UINT nFlags, Commit&& commit, Restore&& restore) {
    const bool repeat = (nFlags & 0x4000) != 0;
    if (nChar == VK_RETURN || nChar == VK_ESCAPE) {
        if (!repeat) nChar == VK_RETURN ? commit() : restore();
        return CWnd::kKeyHandled;
    }
    return CWnd::kKeyDispatch;
}

// The combo's own notifications that commit (they go no further); FALSE for the others.
template <class Commit>
BOOL ComboCommitsOn(CComboBox& combo, int nCode, Commit&& commit) {
    if (nCode == CBN_SELENDOK) {
        const int sel = combo.GetCurSel();
        if (sel >= 0) combo.SetWindowText(combo.GetLBText(sel));
    } else if (nCode != CBN_KILLFOCUS) {
        return FALSE;
    }
    commit();
    return TRUE;
}
