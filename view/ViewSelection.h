// What the clipboard and delete commands of the view ask of the select tool (the tool of command
// 32791), which lives in the tools layer above: the select tool implements this besides MViewTool,
// and the view reaches it with GetSelectionServices.
#pragma once

class MCadShape;
class MPackShape;
class MTessarayView;
class MViewTool;

class MSelectionServices {
public:
    virtual ~MSelectionServices() = default;

    // The selected shapes, in selection order.
    virtual int GetSelectedCount() const = 0;
    virtual MCadShape* GetSelectedShape(int index) const = 0;
    // A new pack holding the selected shapes themselves (not copies), recalculated for the view;
    // the caller deletes the pack, which leaves the shapes alone.
    virtual MPackShape* CreateSelectionPack(MTessarayView* view) = 0;
    // Removes the selected shapes from the document as one undo step and ends the operation.
    virtual void DeleteSelection(MTessarayView* view) = 0;
    // Ends the current operation, adds the shape as a new shape (a pack is taken apart into its
    // members, recursively), commits them as one undo step and keeps them selected with their
    // handles shown. The tool takes every shape, or, when it throws, none of them (the caller then
    // still owns them). The caller may delete a pack it passed afterwards.
    virtual void InsertShape(MTessarayView* view, MCadShape* shape) = 0;
};

// The tool's selection services, or null when the tool is not the select tool.
MSelectionServices* GetSelectionServices(MViewTool* tool);
