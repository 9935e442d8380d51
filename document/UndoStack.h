// A ring of undo packs with a fixed capacity: pushing onto a full ring drops the oldest pack.
#pragma once

#include <vector>

#include "document/UndoPack.h"

class MUndoStack {
public:
    // All slots empty, top = capacity - 1. A capacity below 1 counts as 1.
    explicit MUndoStack(int capacity);
    // Deletes every pack.
    virtual ~MUndoStack();
    MUndoStack(const MUndoStack&) = delete;
    MUndoStack& operator=(const MUndoStack&) = delete;

    // Takes ownership. top advances (wrapping); a pack still in that slot, the oldest, is deleted.
    // Empty packs are stored too.
    void Push(MUndoPack* pack);
    // The newest pack, which the caller now owns; null when the ring is empty.
    MUndoPack* Pop();
    BOOL HasTop() const { return m_slots[static_cast<std::size_t>(m_top)] != nullptr; }
    // Deletes every pack; top = capacity - 1.
    void RemoveAll();
    // Growing keeps every pack and the ring order; shrinking keeps the n newest (the newest in slot
    // n - 1) and deletes the rest. n <= 0 or n equal to the capacity changes nothing.
    void Resize(int n);

    int GetCapacity() const { return static_cast<int>(m_slots.size()); }
    int GetTop() const { return m_top; }
    // The pack in a slot (tests and the view's menu texts); null when empty or out of range.
    MUndoPack* GetSlot(int index) const;
    // Packs held.
    int GetCount() const;

private:
    std::vector<MUndoPack*> m_slots;
    int m_top;
};
