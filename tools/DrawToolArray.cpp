#include "tools/DrawToolArray.h"

#include "model/settings/OptionRecord.h"
#include "resources/ResourceIds.h"
#include "tools/ShapeDialogFactory.h"
#include "view/TessarayView.h"

MDrawToolArray::~MDrawToolArray() {
    RemoveAll();
    if (GetDocumentToolArray() == this) SetDocumentToolArray(nullptr);
}

MDrawTool* MDrawToolArray::GetToolAt(int index) const {
    if (index < 0 || index >= GetToolCount()) return nullptr;
    return m_tools[static_cast<std::size_t>(index)].get();
}

MDrawTool* MDrawToolArray::FindByCommand(UINT id) const {
    for (auto it = m_tools.rbegin(); it != m_tools.rend(); ++it)
        if ((*it)->GetCommandId() == id) return it->get();
    return nullptr;
}

MDrawTool* MDrawToolArray::FindByTitle(const CString& title) const {
    for (auto it = m_tools.rbegin(); it != m_tools.rend(); ++it)
        if ((*it)->GetTitle() == title) return it->get();
    return nullptr;
}

void MDrawToolArray::Add(MDrawTool* tool) {
    if (tool) m_tools.emplace_back(tool);
}

void MDrawToolArray::Replace(MDrawTool* tool) {
    if (!tool) return;
    MDrawTool* old = FindByCommand(tool->GetCommandId());
    if (!old) {
        Add(tool);
        return;
    }
    for (int i = 0; i < kRecentToolCount; ++i)
        if (RecentTools()[i] == old) RecentTools()[i] = tool;
    if (PreviousTool() == old) PreviousTool() = tool;
    for (std::unique_ptr<MDrawTool>& slot : m_tools)
        if (slot.get() == old) slot.reset(tool);
}

void MDrawToolArray::RemoveAll() {
    ClearToolSwitching();
    while (!m_tools.empty())
        m_tools.pop_back();
}

MDrawToolArray& GetDrawToolArray() {
    static MDrawToolArray tools;
    if (GetDocumentToolArray() != &tools) SetDocumentToolArray(&tools);
    return tools;
}

void RegisterDrawTool(MDrawTool* tool, UINT cmdId, BOOL autoLayer, const CString& key) {
    if (!tool) return;
    tool->SetCommandInfo(cmdId, autoLayer, key);
    GetDrawToolArray().Add(tool);
}

MDrawTool* CreateDrawTools() {
    GetOptionRecord().LoadOptions();
    MDrawToolArray& tools = GetDrawToolArray();
    tools.RemoveAll();
    for (const MToolRegistration& row : GetToolRegistry())
        RegisterDrawTool(row.create(row.toolId), row.commandId, row.autoLayer, row.key);
    ClearToolSwitching();
    // The dimension dialogs that shapes and the view open are the tools' from now on.
    InstallToolShapeDialogs();
    MDrawTool* line = tools.FindByCommand(ID_TOOL_LINE);
    RecentTools()[0] = line;
    return line;
}

MDrawTool* GetRecentTool(int index) {
    if (index < 0 || index >= kRecentToolCount) return nullptr;
    return dynamic_cast<MDrawTool*>(RecentTools()[index]);
}
