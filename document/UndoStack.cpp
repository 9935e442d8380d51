#include "document/UndoStack.h"

MUndoStack::MUndoStack(int capacity)
    : m_slots(static_cast<std::size_t>(capacity > 0 ? capacity : 1), nullptr), m_top(GetCapacity() - 1) {}

MUndoStack::~MUndoStack() {
    for (MUndoPack* pack : m_slots)
        delete pack;
}

void MUndoStack::Push(MUndoPack* pack) {
    m_top = (m_top + 1) % GetCapacity();
    MUndoPack*& slot = m_slots[static_cast<std::size_t>(m_top)];
    delete slot;
    slot = pack;
}

MUndoPack* MUndoStack::Pop() {
    MUndoPack*& slot = m_slots[static_cast<std::size_t>(m_top)];
    MUndoPack* pack = slot;
    slot = nullptr;
    m_top = (m_top - 1 + GetCapacity()) % GetCapacity();
    return pack;
}

void MUndoStack::RemoveAll() {
    for (MUndoPack*& pack : m_slots) {
        delete pack;
        pack = nullptr;
    }
    m_top = GetCapacity() - 1;
}

void MUndoStack::Resize(int n) {
    const int capacity = GetCapacity();
    if (n <= 0 || n == capacity) return;
    std::vector<MUndoPack*> slots(static_cast<std::size_t>(n), nullptr);
    if (n > capacity) {
        for (int i = 0; i <= m_top; ++i)
            slots[static_cast<std::size_t>(i)] = m_slots[static_cast<std::size_t>(i)];
        for (int i = m_top + 1; i < capacity; ++i)
            slots[static_cast<std::size_t>(n - capacity + i)] = m_slots[static_cast<std::size_t>(i)];
    } else {
        for (int k = 0; k < n; ++k) {
            const int from = ((m_top - n + 1 + k) % capacity + capacity) % capacity;
            slots[static_cast<std::size_t>(k)] = m_slots[static_cast<std::size_t>(from)];
            m_slots[static_cast<std::size_t>(from)] = nullptr;
        }
        for (MUndoPack* dropped : m_slots)
            delete dropped;
        m_top = n - 1;
    }
    m_slots = std::move(slots);
}

MUndoPack* MUndoStack::GetSlot(int index) const {
    return index >= 0 && index < GetCapacity() ? m_slots[static_cast<std::size_t>(index)] : nullptr;
}

int MUndoStack::GetCount() const {
    int count = 0;
    for (const MUndoPack* pack : m_slots)
        count += pack != nullptr;
    return count;
}
