#include "interchange/DxfImportUi.h"
#include "platform/ProgramState.h"

namespace {
CProgramSlot<MDXFImportUi*>& UiSlot() {
    static auto& slot = *new CProgramSlot<MDXFImportUi*>;
    return slot;
}
int g_pumping = 0;
}  // namespace

MDXFImportUi* GetDXFImportUi() {
    return UiSlot().Get();
}

MDXFImportUi* SetDXFImportUi(MDXFImportUi* ui) {
    return UiSlot().Exchange(ui);
}

BOOL IsDXFImportPumping() {
    return g_pumping > 0 ? TRUE : FALSE;
}

MDXFImportPumpScope::MDXFImportPumpScope() {
    ++g_pumping;
}
MDXFImportPumpScope::~MDXFImportPumpScope() {
    --g_pumping;
}
