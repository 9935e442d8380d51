// Shift-JIS (code page 932) byte classes.
#pragma once

#include "platform/WinTypes.h"

// Lead bytes of two-byte characters: 0x81 to 0x9F and 0xE0 to 0xFC.
inline BOOL IsShiftJisLeadByte(BYTE b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
