// Scroll bar controls and the scroll vocabulary of the class library: bar kinds, scroll codes and
// the system metrics that size scroll bars. A scroll bar reports the user's actions to its owner
// (or parent) as OnHScroll / OnVScroll with the scroll code, as WM_HSCROLL / WM_VSCROLL do.
#pragma once

#include "platform/ui/Wnd.h"

// Bars of a window.
enum : int { SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3 };
// Scroll codes.
enum : UINT {
    SB_LINEUP = 0,
    SB_LINELEFT = 0,
    SB_LINEDOWN = 1,
    SB_LINERIGHT = 1,
    SB_PAGEUP = 2,
    SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_LEFT = 6,
    SB_BOTTOM = 7,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8
};
// Scroll bar control styles.
enum : UINT { SBS_HORZ = 0x0000, SBS_VERT = 0x0001, SBS_BOTTOMALIGN = 0x0004 };

// System metrics, fixed to the classic Windows values so that layouts do not depend on the desktop.
enum : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CXHTHUMB = 10,
    SM_CYMENU = 15,
    SM_CYVSCROLL = 20,
    SM_CXHSCROLL = 21,
};
int GetSystemMetrics(int index);

struct SCROLLINFO {
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
};

class CScrollBar : public CWnd {
public:
    ~CScrollBar() override;
    // A horizontal (SBS_HORZ) or vertical (SBS_VERT) bar at rect in pParent's client coordinates;
    // pParent also receives its notifications unless another owner is set.
    BOOL Create(UINT style, const CRect& rect, CWnd* pParent, UINT nID);
    BOOL IsVertical() const { return m_vertical; }

    // Range nMin .. nMax with a page of nPage: the thumb goes from nMin to nMax - nPage + 1.
    void SetScrollInfo(const SCROLLINFO& info, BOOL bRedraw = TRUE);
    SCROLLINFO GetScrollInfo() const { return m_info; }
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    // Clamped into the range; returns the previous position.
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos() const { return m_info.nPos; }
    // The largest position the thumb can take.
    int GetScrollLimit() const;

    // As the user's action on the bar: the owner receives the code (and, for the thumb, the
    // position), then SB_ENDSCROLL.
    void SendScroll(UINT nSBCode, int nPos = 0);

private:
    void Apply();
    void Notify(UINT nSBCode, int nPos);

    SCROLLINFO m_info;
    bool m_vertical = false;
    bool m_applying = false;
};
