// The lock states X11 shows in its keyboard indicators.
#pragma once

#include "platform/ui/KeyLocks.h"

// Unknown unless the program runs on X11 (Qt on xcb), the server speaks XKB and its keyboard has an
// indicator of that name; also unknown in a build without xcb-xkb.
KeyLockState ReadX11KeyLock(KeyLock lock);
