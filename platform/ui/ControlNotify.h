// WM_NOTIFY codes of the tab control and the icon view of a list (beside those of CmdTarget.h).
#pragma once

enum : int {
    NM_RCLICK = -5,
    LVN_BEGINDRAG = -109,
    LVN_ENDLABELEDIT = -176,
    TCN_SELCHANGE = -551,
};
