#include "platform/ProgramState.h"

#include <algorithm>
#include <vector>

namespace {

// Never destroyed, like the program's slots: objects torn down at exit may still reach them.
std::vector<CProgramSlotBase*>& Slots() {
    static auto& slots = *new std::vector<CProgramSlotBase*>;
    return slots;
}

}  // namespace

CProgramSlotBase::CProgramSlotBase() {
    Slots().push_back(this);
}

CProgramSlotBase::~CProgramSlotBase() {
    std::vector<CProgramSlotBase*>& slots = Slots();
    slots.erase(std::remove(slots.begin(), slots.end(), this), slots.end());
}

void AfxResetProgramState() {
    // By index: a default may bring another slot into being.
    std::vector<CProgramSlotBase*>& slots = Slots();
    for (std::size_t i = 0; i < slots.size(); ++i)
        slots[i]->Reset();
}
