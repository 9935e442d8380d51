// One commit of a tool's lists (MToolLists) into the document, as one undo step. The tool's Commit,
// CommitPairs and CommitAt make one for the call; it works over the new shapes (owned, handed to
// the document one by one) and edited shapes (the document's, replaced or removed), leaves both
// lists empty and keeps the picks off shapes that left the drawing.
#pragma once

#include <vector>

#include "model/geometry/FloatRect.h"
#include "platform/WinTypes.h"

class MCadShape;
class MDrawTool;
class MLShapeArray;
class MTessarayDoc;
class MTessarayView;
class MToolLists;
class MUndoPackScope;

class MToolCommit {
public:
    MToolCommit(MDrawTool& tool, MTessarayView* view, MToolLists& lists);
    MToolCommit(const MToolCommit&) = delete;
    MToolCommit& operator=(const MToolCommit&) = delete;

    // The first `pairs` entries of the two lists pair up (none with noReplace): each new shape takes
    // the place of its edited shape. Edited shapes left over are removed, new shapes left over
    // appended (see AddRemaining). The number of shapes handed over.
    int Paired(int pairs, BOOL noReplace, BOOL select);
    // No pairing: edited shapes are removed, new shapes inserted at the position of their layer
    // (-1 appends), keeping their order.
    int At(int position, BOOL select);

private:
    // The value of a new-list entry whose copy was dropped.
    static constexpr int kDroppedShape = -2;

    // Both take the number of leading entries that pair up; the first answers how many still do.
    int DropInvalidNewShapes(MUndoPackScope& pack, int pairs);
    void ReplaceOriginals(MUndoPackScope& pack, int pairs);
    void AddRemaining(MUndoPackScope& pack, int position);
    int Finish(const std::vector<MCadShape*>& shapes, const MFloatRect& area, BOOL select);
    std::vector<MCadShape*> NewShapesNow() const;
    // Runs a document call that takes new shape i to the layer; the list forgets the shape as the
    // document takes it, also when the call throws after taking it.
    template <class Take>
    void HandOver(int index, int layer, Take take);
    // The edited shapes left the drawing: no pick may point at them any more.
    void ForgetPicksOf(const std::vector<const MCadShape*>& shapes);

    MDrawTool& m_tool;
    MTessarayView* m_view;
    MTessarayDoc* m_doc;
    MToolLists& m_lists;
    MLShapeArray& m_new;
    MLShapeArray& m_edited;
};
