// A tool's three lists: the new shapes it made (owned, each with its layer, -1 for the current),
// the edited shapes (the document's, replaced or removed by the commit) and the picks (document
// shapes chosen by click or band; for the select tool they are the selection). The tool owns one
// and hands it to MToolCommit, which takes the new shapes and forgets the edited ones by index.
#pragma once

#include <memory>

#include "model/geometry/FloatPoint.h"

class MCadShape;
class MLShapeArray;
class MLPointShapeArray;
class MTessarayView;

class MToolLists {
public:
    MToolLists();
    // Deletes the new shapes left over.
    ~MToolLists();
    MToolLists(const MToolLists&) = delete;
    MToolLists& operator=(const MToolLists&) = delete;

    // Deletes the new shapes and forgets the edited shapes and the picks.
    void Clear();

    // ----- new shapes -------------------------------------------------------------------------------
    int NewCount() const;
    MCadShape* NewShape(int index) const;
    int NewLayer(int index) const;
    MLShapeArray& NewShapes() const { return *m_new; }
    // Appends a shape the list then owns.
    void AddNew(MCadShape* shape, int layer);
    // Replaces the shape (the old one is deleted) and layer at index; a bad index raises the
    // invalid-argument exception.
    void SetNewShape(int index, MCadShape* shape, int layer);
    // A pack is taken apart into its members (recursively); the pack itself is the caller's.
    void AddNewExpanded(MCadShape* shape, int layer);
    void InsertNewExpanded(int position, MCadShape* shape, int layer);
    void RecalcNew(MTessarayView* view);
    // The new shapes' list trades places with another (a stand-in while the base draws).
    void SwapNew(std::unique_ptr<MLShapeArray>& other) { m_new.swap(other); }

    // ----- edited shapes ----------------------------------------------------------------------------
    int EditedCount() const;
    MCadShape* Edited(int index) const;
    int EditedLayer(int index) const;
    MLShapeArray& EditedShapes() const { return *m_edited; }
    void AddEdited(MCadShape* shape, int layer);
    // Forgets the edited shapes (they stay in the drawing).
    void ForgetEdited();
    // The changed copy of pick pickIndex (owned from here on, null does nothing) is paired with
    // the pick as an edited shape.
    void AddReplacement(MCadShape* copy, int pickIndex);

    // ----- picks ------------------------------------------------------------------------------------
    int PickCount() const;
    MCadShape* Pick(int index) const;
    MFloatPoint PickPoint(int index) const;
    int PickLayer(int index) const;
    MLPointShapeArray& Picks() const { return *m_picks; }
    void AddPick(MCadShape* shape, const MFloatPoint& point, int layer);
    // The former index, or -1 when the shape is not picked.
    int RemovePick(MCadShape* shape);
    void RemovePickAt(int index);
    void ClearPicks();

private:
    std::unique_ptr<MLShapeArray> m_edited;
    std::unique_ptr<MLShapeArray> m_new;
    std::unique_ptr<MLPointShapeArray> m_picks;
};
