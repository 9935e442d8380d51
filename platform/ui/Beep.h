// The warning sound of an action that did nothing. Every beep goes through one handler: the
// program sounds the desktop's bell, a test counts.
#pragma once

#include <functional>

#include "platform/WinTypes.h"

template <class T>
class CProgramSlot;  // platform/ProgramState.h

// The type of the plain beep.
constexpr UINT kBeepDefault = 0xFFFFFFFF;

using BeepHandler = std::function<void(UINT type)>;
// The default sounds the bell of the running application (nothing without one).
CProgramSlot<BeepHandler>& MessageBeepSlot();
BOOL MessageBeep(UINT type);
