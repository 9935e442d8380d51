#include "tools/dimension/DimensionPlacement.h"

#include "platform/ProgramState.h"

MDimensionPlacement& GetDimensionPlacement() {
    static auto& slot = *new CProgramSlot<MDimensionPlacement>;
    return slot.Get();
}
