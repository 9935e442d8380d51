#include "view/ViewTool.h"

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
MViewTool* g_recent[kRecentToolCount] = {};
MViewTool* g_previous = nullptr;
}  // namespace

MViewTool** RecentTools() {
    return g_recent;
}

MViewTool*& PreviousTool() {
    return g_previous;
}

void NoteRecentTool(MViewTool* tool) {
    if (!tool) return;
    for (MViewTool* t : g_recent)
        if (t == tool) return;
    for (MViewTool*& t : g_recent)
        if (!t) {
            t = tool;
            return;
        }
    for (int i = kRecentToolCount - 1; i > 0; --i)
        g_recent[i] = g_recent[i - 1];
    g_recent[0] = tool;
}

void ClearToolSwitching() {
    for (MViewTool*& t : g_recent)
        t = nullptr;
    g_previous = nullptr;
}
