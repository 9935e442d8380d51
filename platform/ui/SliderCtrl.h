// Sliders (trackbars): a thumb on a horizontal scale from a minimum to a maximum. The user's moves
// reach the owner (or parent) as OnHScroll with a TB_ code and the position, as WM_HSCROLL does;
// the scroll-bar argument is null (read the slider itself). Setting the position in code does not
// notify.
#pragma once

#include "platform/ui/Wnd.h"

enum : UINT {
    TB_LINEUP = 0,
    TB_LINEDOWN = 1,
    TB_PAGEUP = 2,
    TB_PAGEDOWN = 3,
    TB_THUMBPOSITION = 4,
    TB_THUMBTRACK = 5,
    TB_TOP = 6,
    TB_BOTTOM = 7,
    TB_ENDTRACK = 8
};

class CSliderCtrl : public CWnd {
public:
    BOOL Create(UINT style, CWnd* pParent, UINT nID);
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    void GetRange(int& nMin, int& nMax) const;
    // Clamped into the range.
    void SetPos(int nPos);
    int GetPos() const;
    // As the user's drag of the thumb to nPos: the position changes, then the owner receives
    // TB_THUMBTRACK and TB_ENDTRACK.
    void MoveThumb(int nPos);

private:
    void Notify(UINT nCode, int nPos);
    bool m_applying = false;
};
