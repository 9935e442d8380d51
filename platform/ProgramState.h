// Program-wide state. Every object the whole program shares (records, defaults, installed services
// and hooks) lives in one CProgramSlot: it holds its default from first use, a test can put another
// value in for a scope (Override), and AfxResetProgramState() puts every slot back to its default.
//
// A new program-wide object is a slot behind its accessor, created on first use and never destroyed
// (objects torn down at exit may still reach it):
//     CProgramSlot<MThing>& ThingSlot() {
//         static auto& slot = *new CProgramSlot<MThing>(MakeDefaultThing);
//         return slot;
//     }
//     MThing& GetThing() { return ThingSlot().Get(); }
// Services with a fallback hold a pointer (nullptr: the fallback) and the accessor supplies it.
#pragma once

#include <utility>

class CProgramSlotBase {
public:
    CProgramSlotBase(const CProgramSlotBase&) = delete;
    CProgramSlotBase& operator=(const CProgramSlotBase&) = delete;

    // Back to the default value.
    virtual void Reset() = 0;

protected:
    CProgramSlotBase();
    virtual ~CProgramSlotBase();
};

// Every slot created so far back to its default (tests start from here).
void AfxResetProgramState();

template <class T>
class CProgramSlot final : public CProgramSlotBase {
public:
    using Maker = T (*)();

    // The default is T() unless makeDefault gives another.
    explicit CProgramSlot(Maker makeDefault = nullptr) : m_makeDefault(makeDefault), m_value(MakeDefault()) {}

    T& Get() { return m_value; }
    // Puts value in; returns the one it replaces.
    T Exchange(T value) {
        std::swap(m_value, value);
        return value;
    }
    // An override in force keeps its value; the default follows when the last one ends.
    void Reset() override {
        if (m_overrides > 0)
            m_resetPending = true;
        else
            m_value = MakeDefault();
    }

    // Another value for the lifetime of the scope, then the previous one again (or the default,
    // when the program state was reset meanwhile).
    class Override {
    public:
        Override(CProgramSlot& slot, T value) : m_slot(slot), m_previous(slot.Exchange(std::move(value))) {
            ++m_slot.m_overrides;
        }
        ~Override() {
            if (--m_slot.m_overrides == 0 && m_slot.m_resetPending) {
                m_slot.m_resetPending = false;
                m_slot.m_value = m_slot.MakeDefault();
            } else {
                m_slot.m_value = std::move(m_previous);
            }
        }
        Override(const Override&) = delete;
        Override& operator=(const Override&) = delete;

    private:
        CProgramSlot& m_slot;
        T m_previous;
    };

private:
    T MakeDefault() const { return m_makeDefault ? m_makeDefault() : T(); }

    Maker m_makeDefault;
    T m_value;
    int m_overrides = 0;
    bool m_resetPending = false;
};
