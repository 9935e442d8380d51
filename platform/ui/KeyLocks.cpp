#include "platform/ui/KeyLocks.h"

CProgramSlot<KeyLockSource>& AfxKeyLockSourceSlot() {
    static auto& slot = *new CProgramSlot<KeyLockSource>();
    return slot;
}

KeyLockState AfxGetKeyLockState(KeyLock lock) {
    const KeyLockSource& source = AfxKeyLockSourceSlot().Get();
    // The toolkit does not report lock states; without a reader of the window system's
    // indicators they stay unknown.
    return source ? source(lock) : KeyLockState::Unknown;
}
