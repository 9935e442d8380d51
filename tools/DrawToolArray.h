// The program-wide array of the registered tools, in registration order. It owns its tools: they
// live for the whole run and are deleted, last first, when the array goes. The registry fills it
// once at start, before the main window exists, and starts the recent-tools table with the line
// tool.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "tools/DrawTool.h"

class MDrawToolArray : public MViewToolArray {
public:
    MDrawToolArray() = default;
    ~MDrawToolArray() override;
    MDrawToolArray(const MDrawToolArray&) = delete;
    MDrawToolArray& operator=(const MDrawToolArray&) = delete;

    int GetToolCount() const override { return static_cast<int>(m_tools.size()); }
    MDrawTool* GetToolAt(int index) const override;
    // From the last registered tool to the first; null when none has the id.
    MDrawTool* FindByCommand(UINT id) const override;
    // From the last to the first; null when no title equals the text.
    MDrawTool* FindByTitle(const CString& title) const;

    // Appends a tool; the array owns it.
    void Add(MDrawTool* tool);
    // Puts the tool in the place of the one registered under its command id (which is deleted; the
    // recent tools and the previous tool follow). Appends it when there is none.
    void Replace(MDrawTool* tool);
    // Deletes every tool, the last first, and empties the tool-switching state that points at them.
    void RemoveAll();

private:
    std::vector<std::unique_ptr<MDrawTool>> m_tools;
};

// The program's tool array; installed as the document's and the view's tool array on first use.
MDrawToolArray& GetDrawToolArray();

// One row of the tool registry: the tool's key (its settings' name), tool id, command id, whether
// it draws new shapes (and so may have an automatic layer), and how it is made.
struct MToolRegistration {
    const char* key;
    int toolId;
    UINT commandId;
    BOOL autoLayer;
    MDrawTool* (*create)(int toolId);
};

// The factory of a registry row.
template <class Tool>
MDrawTool* CreateTool(int toolId) {
    return new Tool(toolId);
}

// The registry, in registration order (ToolRegistry.cpp).
std::span<const MToolRegistration> GetToolRegistry();

// SetCommandInfo on the tool, then appends it to the program's array.
void RegisterDrawTool(MDrawTool* tool, UINT cmdId, BOOL autoLayer, const CString& key);
// Start-up: loads the option record, creates and registers every tool of the registry in its order
// (an array filled before is emptied first), makes the line tool the first recent tool and returns
// it.
MDrawTool* CreateDrawTools();
// The recent-tools table as tools of this layer (null entries are empty).
MDrawTool* GetRecentTool(int index);
