#include "platform/ui/MessageTranslation.h"

#include <QGuiApplication>
#include <Qt>

UINT VirtualKeyFromQtKey(int qtKey, bool keypad) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<UINT>(qtKey);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return keypad ? kVkNumpad0 + static_cast<UINT>(qtKey - Qt::Key_0) : static_cast<UINT>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return kVkF1 + static_cast<UINT>(qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Backspace:
            return kVkBack;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return kVkTab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kVkReturn;
        case Qt::Key_Shift:
            return kVkShift;
        case Qt::Key_Control:
            return kVkControl;
        case Qt::Key_Alt:
            return kVkMenu;
        case Qt::Key_Pause:
            return kVkPause;
        case Qt::Key_CapsLock:
            return kVkCapital;
        case Qt::Key_Escape:
            return kVkEscape;
        case Qt::Key_Space:
            return kVkSpace;
        case Qt::Key_PageUp:
            return kVkPrior;
        case Qt::Key_PageDown:
            return kVkNext;
        case Qt::Key_End:
            return kVkEnd;
        case Qt::Key_Home:
            return kVkHome;
        case Qt::Key_Left:
            return kVkLeft;
        case Qt::Key_Up:
            return kVkUp;
        case Qt::Key_Right:
            return kVkRight;
        case Qt::Key_Down:
            return kVkDown;
        case Qt::Key_Insert:
            return kVkInsert;
        case Qt::Key_Delete:
            return kVkDelete;
        case Qt::Key_NumLock:
            return kVkNumLock;
        case Qt::Key_ScrollLock:
            return kVkScroll;
        case Qt::Key_Asterisk:
            return keypad ? static_cast<UINT>(kVkMultiply) : static_cast<UINT>('8');
        case Qt::Key_Plus:
            return keypad ? kVkAdd : kVkOemPlus;
        case Qt::Key_Minus:
            return keypad ? kVkSubtract : kVkOemMinus;
        case Qt::Key_Period:
            return keypad ? kVkDecimal : kVkOemPeriod;
        case Qt::Key_Slash:
            return keypad ? static_cast<UINT>(kVkDivide) : 0xBFu;
        // The remaining keys as a US layout places them, shifted or not.
        case Qt::Key_Comma:
        case Qt::Key_Less:
            return kVkOemComma;
        case Qt::Key_Greater:
            return kVkOemPeriod;
        case Qt::Key_Equal:
            return kVkOemPlus;
        case Qt::Key_Underscore:
            return kVkOemMinus;
        case Qt::Key_Semicolon:
        case Qt::Key_Colon:
            return 0xBA;
        case Qt::Key_Question:
            return 0xBF;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde:
            return 0xC0;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft:
            return 0xDB;
        case Qt::Key_Backslash:
        case Qt::Key_Bar:
            return 0xDC;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight:
            return 0xDD;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl:
            return 0xDE;
        case Qt::Key_Exclam:
            return '1';
        case Qt::Key_At:
            return '2';
        case Qt::Key_NumberSign:
            return '3';
        case Qt::Key_Dollar:
            return '4';
        case Qt::Key_Percent:
            return '5';
        case Qt::Key_AsciiCircum:
            return '6';
        case Qt::Key_Ampersand:
            return '7';
        case Qt::Key_ParenLeft:
            return '9';
        case Qt::Key_ParenRight:
            return '0';
        default:
            return 0;
    }
}

UINT MouseFlagsFromQt(int qtButtons, int qtModifiers) {
    UINT flags = 0;
    if (qtButtons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (qtButtons & Qt::RightButton) flags |= MK_RBUTTON;
    if (qtButtons & Qt::MiddleButton) flags |= MK_MBUTTON;
    if (qtModifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (qtModifiers & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

short GetKeyState(int nVirtKey) {
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    bool down = false;
    switch (nVirtKey) {
        case kVkShift:
            down = mods & Qt::ShiftModifier;
            break;
        case kVkControl:
            down = mods & Qt::ControlModifier;
            break;
        case kVkMenu:
            down = mods & Qt::AltModifier;
            break;
        default:
            break;
    }
    return down ? static_cast<short>(0x8000) : 0;
}

namespace {
unsigned g_modalLoops = 0;
int g_modalDepth = 0;
}  // namespace

unsigned AfxModalLoopCount() {
    return g_modalLoops;
}

CModalLoopScope::CModalLoopScope() {
    ++g_modalLoops;
    ++g_modalDepth;
}

CModalLoopScope::~CModalLoopScope() {
    --g_modalDepth;
}

BOOL AfxInModalLoop() {
    return g_modalDepth > 0;
}
