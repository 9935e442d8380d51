#include "platform/ui/KeyLocks.h"

#include "platform/ui/KeyLocksX11.h"

CProgramSlot<KeyLockSource>& AfxKeyLockSourceSlot() {
    static auto& slot = *new CProgramSlot<KeyLockSource>();
    return slot;
}

KeyLockState AfxGetKeyLockState(KeyLock lock) {
    const KeyLockSource& source = AfxKeyLockSourceSlot().Get();
    // The toolkit does not report lock states: X11 tells them through its keyboard indicators,
    // elsewhere they stay unknown.
    return source ? source(lock) : ReadX11KeyLock(lock);
}
