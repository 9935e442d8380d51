// The Windows message vocabulary the program's handlers expect: mouse key flags, hit-test and
// message codes, virtual keys, and the count of modal loops (a modal loop run inside a button press
// swallows the release that happens meanwhile, as on Windows).
#pragma once

#include "platform/WinTypes.h"
#include "resources/ResourceFormats.h"

// Mouse-message key flags.
enum : UINT { MK_LBUTTON = 0x01, MK_RBUTTON = 0x02, MK_SHIFT = 0x04, MK_CONTROL = 0x08, MK_MBUTTON = 0x10 };

// One wheel notch.
constexpr int WHEEL_DELTA = 120;

// Hit-test codes and the messages OnSetCursor names.
enum : UINT { HTNOWHERE = 0, HTCLIENT = 1 };
enum : UINT {
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
};

// Virtual-key codes under the names the handlers use.
enum : UINT {
    VK_BACK = kVkBack,
    VK_TAB = kVkTab,
    VK_RETURN = kVkReturn,
    VK_SHIFT = kVkShift,
    VK_CONTROL = kVkControl,
    VK_MENU = kVkMenu,
    VK_ESCAPE = kVkEscape,
    VK_SPACE = kVkSpace,
    VK_PRIOR = kVkPrior,
    VK_NEXT = kVkNext,
    VK_END = kVkEnd,
    VK_HOME = kVkHome,
    VK_LEFT = kVkLeft,
    VK_UP = kVkUp,
    VK_RIGHT = kVkRight,
    VK_DOWN = kVkDown,
    VK_INSERT = kVkInsert,
    VK_DELETE = kVkDelete,
    VK_F1 = kVkF1
};

// The virtual key of a Qt key code (Qt::Key); `keypad` for keys of the numeric keypad. 0 when the
// key has none.
UINT VirtualKeyFromQtKey(int qtKey, bool keypad);
// The mouse-message flags for Qt mouse buttons (Qt::MouseButtons) and keyboard modifiers.
UINT MouseFlagsFromQt(int qtButtons, int qtModifiers);
// The key-state bits of GetKeyState: 0x8000 (as a negative short) while Shift, Ctrl or Alt is down.
short GetKeyState(int nVirtKey);

// Modal loops run so far (dialogs, message boxes shown on screen, popup menus).
unsigned AfxModalLoopCount();
// Counts one modal loop for the lifetime of the object.
class CModalLoopScope {
public:
    CModalLoopScope();
    ~CModalLoopScope();
    CModalLoopScope(const CModalLoopScope&) = delete;
    CModalLoopScope& operator=(const CModalLoopScope&) = delete;
};
// TRUE while a modal loop runs.
BOOL AfxInModalLoop();
