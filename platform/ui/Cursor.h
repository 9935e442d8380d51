// Cursors: the standard shapes, cursor resources, the cursor of the window under the mouse, and the
// wait cursor.
#pragma once

#include "platform/WinTypes.h"

struct CursorData;
using HCURSOR = const CursorData*;

// Standard cursor ids.
enum : UINT {
    IDC_ARROW = 32512,
    IDC_IBEAM = 32513,
    IDC_WAIT = 32514,
    IDC_CROSS = 32515,
    IDC_UPARROW = 32516,
    IDC_SIZENWSE = 32642,
    IDC_SIZENESW = 32643,
    IDC_SIZEWE = 32644,
    IDC_SIZENS = 32645,
    IDC_SIZEALL = 32646,
    IDC_NO = 32648,
    IDC_HAND = 32649,
    IDC_APPSTARTING = 32650,
};

// A standard cursor; the arrow for an unknown id.
HCURSOR AfxLoadStandardCursor(UINT id);
// A cursor resource from resources/cursors.inc; nullptr when there is none.
HCURSOR AfxLoadCursor(UINT resourceId);
// Shows the cursor over the window that is handling the current mouse message (or that handled the
// last one) and returns the previous cursor set this way.
HCURSOR SetCursor(HCURSOR cursor);

// The cursor's position in screen coordinates: where the last mouse message of the program's
// windows happened (so that synthetic input is seen as real input is), else the pointer's.
BOOL GetCursorPos(CPoint* point);
// Where the pointer is now, asked of the window system rather than taken from the last mouse
// message, for the abort test of long searches, which runs while messages wait. The window system
// is asked at most once every 2 ms; in between the last answer comes back.
BOOL GetLivePointerPos(CPoint* point);

// The hourglass for the lifetime of the object; nests.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    // Shows the wait cursor again after a message box or dialog replaced it.
    void Restore();
};
