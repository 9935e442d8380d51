// What the select-all command of the view asks of the select tool (command 32791), which lives in
// the tools layer above: the select tool implements this besides MViewTool. Until a registered
// select tool does, the command stays disabled.
#pragma once

class MTessarayView;
class MViewTool;

class MSelectAllService {
public:
    virtual ~MSelectAllService() = default;
    // Selects every shape of the editable layers.
    virtual void SelectAll(MTessarayView* view) = 0;
};

// The tool's select-all service, or null when the tool has none.
MSelectAllService* GetSelectAllService(MViewTool* tool);
