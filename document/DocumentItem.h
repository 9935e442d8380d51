// Shapes that keep something registered with the document while they are in it (the embedded OLE
// object's client item). The document tells them when they enter and leave the drawing: through
// AddShape, InsertShape and the new shape of ReplaceShape, through RemoveShape and the old shape of
// ReplaceShape, and through undo and redo. The shape class derives from this besides MCadShape.
#pragma once

class MTessarayDoc;

class MDocumentItem {
public:
    virtual ~MDocumentItem() = default;
    // Registers the item again when it was detached.
    virtual void OnEnterDocument(MTessarayDoc& doc) = 0;
    // Closes the item without saving, takes it off the document's list and marks it detached.
    virtual void OnLeaveDocument(MTessarayDoc& doc) = 0;
};
