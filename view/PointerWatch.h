// The cancel test of the snap searches the view starts: the pointer has left the spot the search was
// asked about. The mouse messages that would tell so are still waiting, so the pointer is read
// directly; reading it costs far more than one shape's test, so it is read only on the 102nd call
// after the last reading.
#pragma once

#include "platform/WinTypes.h"

class MPointerWatch {
public:
    // Where the pointer is now (screen pixels); null: it never moves.
    using Reader = CPoint (*)();

    explicit MPointerWatch(Reader read) : m_read(read) {}

    // Stores the pointer's position and restarts the count. The first IsStill does so with the
    // reader's answer when nothing was stored yet.
    void Reset(const CPoint& at);
    // TRUE for the first 101 calls after a reset; then, every call, FALSE when the pointer is more
    // than 6 pixels from the stored position (else the position is stored again and the count
    // restarts).
    bool IsStill();

private:
    Reader m_read;
    bool m_started = false;
    int m_count = 0;
    CPoint m_position;
};
