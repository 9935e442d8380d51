#include "document/Interchange.h"
#include "platform/ProgramState.h"

namespace {
CProgramSlot<MInterchangeFactory*>& FactorySlot() {
    static auto& slot = *new CProgramSlot<MInterchangeFactory*>;
    return slot;
}
}  // namespace

MInterchangeFactory* GetInterchangeFactory() {
    return FactorySlot().Get();
}

MInterchangeFactory* SetInterchangeFactory(MInterchangeFactory* factory) {
    return FactorySlot().Exchange(factory);
}
