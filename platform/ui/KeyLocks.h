// The lock keys' states for the status bar's panes: caps, num, scroll and kana lock. The window
// system is asked where it tells them; elsewhere (Wayland, offscreen) they are unknown and the panes
// stay blank. Tests install a source of their own.
#pragma once

#include <functional>

#include "platform/ProgramState.h"

enum class KeyLock { Caps, Num, Scroll, Kana };
enum class KeyLockState { Unknown, Off, On };

using KeyLockSource = std::function<KeyLockState(KeyLock)>;

// An empty source means the window system's.
CProgramSlot<KeyLockSource>& AfxKeyLockSourceSlot();
KeyLockState AfxGetKeyLockState(KeyLock lock);
