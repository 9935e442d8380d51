#include "view/ViewTool.h"

#include <array>

#include "platform/ProgramState.h"

MViewTool* MViewToolArray::FindByCommand(UINT id) const {
    for (int i = GetToolCount() - 1; i >= 0; --i) {
        auto* tool = dynamic_cast<MViewTool*>(GetToolAt(i));
        if (tool && tool->GetCommandId() == id) return tool;
    }
    return nullptr;
}

MViewToolArray* GetViewToolArray() {
    return dynamic_cast<MViewToolArray*>(GetDocumentToolArray());
}

MViewTool* FindToolByCommand(UINT id) {
    MViewToolArray* tools = GetViewToolArray();
    return tools ? tools->FindByCommand(id) : nullptr;
}

namespace {

struct ToolSwitching {
    std::array<MViewTool*, kRecentToolCount> recent{};
    MViewTool* previous = nullptr;
};

CProgramSlot<ToolSwitching>& SwitchingSlot() {
    static auto& slot = *new CProgramSlot<ToolSwitching>;
    return slot;
}

}  // namespace

MViewTool** RecentTools() {
    return SwitchingSlot().Get().recent.data();
}

MViewTool*& PreviousTool() {
    return SwitchingSlot().Get().previous;
}

void NoteRecentTool(MViewTool* tool) {
    if (!tool) return;
    std::array<MViewTool*, kRecentToolCount>& recent = SwitchingSlot().Get().recent;
    for (MViewTool* t : recent)
        if (t == tool) return;
    for (MViewTool*& t : recent)
        if (!t) {
            t = tool;
            return;
        }
    for (int i = kRecentToolCount - 1; i > 0; --i)
        recent[i] = recent[i - 1];
    recent[0] = tool;
}

void ClearToolSwitching() {
    SwitchingSlot().Reset();
}
