#include "view/PointerWatch.h"

void MPointerWatch::Reset(const CPoint& at) {
    m_position = at;
    m_count = 0;
    m_started = true;
}

bool MPointerWatch::IsStill() {
    if (!m_started) Reset(m_read ? m_read() : CPoint());
    if (m_count++ <= 100) return true;
    if (!m_read) {
        m_count = 0;
        return true;
    }
    const CPoint now = m_read();
    const double dx = now.x - m_position.x, dy = now.y - m_position.y;
    if (dx * dx + dy * dy > 36.0) return false;
    m_position = now;
    m_count = 0;
    return true;
}
