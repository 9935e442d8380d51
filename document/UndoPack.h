// The records of one user operation. Each record says that an object (a shape or a layer) was put
// into the document or taken out of it, and where. Records hold the objects themselves, never
// copies: an object taken out of the document lives on inside its record.
//
// Ownership: the records own an object exactly while it is outside the document. One pack may hold
// several records of the same object (a shape moved to another layer is taken out and put back;
// a layer is removed and inserted elsewhere), so the pack, not the single record, decides: the
// object's last record in effect tells where the object is now, and destroying the pack deletes
// each object that is outside, once.
#pragma once

#include <string>
#include <vector>

#include "model/PaperInfo.h"
#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatRect.h"
#include "platform/Object.h"

class MCadShape;
class MLayer;

class MUndoNode {
public:
    // undone starts at 0.
    MUndoNode(CObject* object, int layer, int added, int position);
    // Leaves the object alone: its pack deletes it when it is outside the document.
    virtual ~MUndoNode();
    MUndoNode(const MUndoNode&) = delete;
    MUndoNode& operator=(const MUndoNode&) = delete;

    CObject* GetObject() const { return m_object; }
    // The object as a shape or a layer; null when it is of the other kind. The Added and Removed
    // variants answer only for a record of that direction.
    MCadShape* GetShape() const;
    MLayer* GetLayer() const;
    MCadShape* GetAddedShape() const { return m_added ? GetShape() : nullptr; }
    MCadShape* GetRemovedShape() const { return m_added ? nullptr : GetShape(); }
    MLayer* GetAddedLayer() const { return m_added ? GetLayer() : nullptr; }
    MLayer* GetRemovedLayer() const { return m_added ? nullptr : GetLayer(); }

    BOOL IsAdded() const { return m_added; }
    BOOL IsTakenOut() const { return !m_added; }
    BOOL IsUndone() const { return m_undone; }
    void SetUndone() { m_undone = 1; }
    void ClearUndone() { m_undone = 0; }

    int GetLayerIndex() const { return m_layer; }
    int GetPosition() const { return m_position; }
    void SetPosition(int position) { m_position = position; }

    // The area a replay repaints: the shape's draw extent, the union of a layer's shapes' draw
    // extents, all zero for anything else.
    virtual MFloatRect GetExtent() const;

private:
    CObject* m_object;
    int m_layer;  // for a shape, the layer that holds it; for a layer, its own index (-1: last)
    int m_added;  // 1: put into the document; 0: taken out
    int m_undone = 0;
    int m_position;  // the shape's index in its layer; -1 appends
};

// A change of a layer's name and flags, which the layer keeps: the record never owns the layer.
// Undo gives the layer its old settings, redo the new ones.
class MUndoLayerSettingsNode : public MUndoNode {
public:
    MUndoLayerSettingsNode(MLayer* layer, std::string oldName, int oldFlags, std::string newName,
                           int newFlags);

    MLayer* GetSettingsLayer() const { return m_target; }
    const std::string& GetName(bool old) const { return old ? m_oldName : m_newName; }
    int GetFlags(bool old) const { return old ? m_oldFlags : m_newFlags; }
    MFloatRect GetExtent() const override;

private:
    MLayer* m_target;
    std::string m_oldName;
    int m_oldFlags;
    std::string m_newName;
    int m_newFlags;
};

// The document's paper with what follows it: the drawing origin (which a new paper moves) and the
// grid pitch chosen with it.
struct MPaperState {
    MPaperInfo paper;
    MFloatPoint origin;
    double gridX = 1000.0;
    double gridY = 1000.0;
};

// A change of the paper. The record holds values only and never owns an object. Undo gives the
// document the old state, redo the new one.
class MUndoPaperNode : public MUndoNode {
public:
    MUndoPaperNode(const MPaperState& oldState, const MPaperState& newState);

    const MPaperState& GetState(bool old) const { return old ? m_old : m_new; }
    // All zero: a new paper moves every shape on the sheet, so the view repaints as a whole.
    MFloatRect GetExtent() const override { return {}; }

private:
    MPaperState m_old;
    MPaperState m_new;
};

class MUndoPack {
public:
    MUndoPack() = default;
    // Destroys every record and deletes, once each, the objects that are outside the document.
    virtual ~MUndoPack();
    MUndoPack(const MUndoPack&) = delete;
    MUndoPack& operator=(const MUndoPack&) = delete;

    void RecordInsertAt(CObject* object, int layer, int position);
    void RecordRemoveAt(CObject* object, int layer, int position);
    // Layer records: the layer's own index, position -1.
    void RecordInsert(CObject* object, int index);
    void RecordRemove(CObject* object, int index);
    // A layer's name and flags changed from old to new.
    void RecordLayerSettings(MLayer* layer, const std::string& oldName, int oldFlags,
                             const std::string& newName, int newFlags);
    // The paper (with origin and grid) changed from old to new.
    void RecordPaper(const MPaperState& oldState, const MPaperState& newState);

    int GetCount() const { return static_cast<int>(m_nodes.size()); }
    MUndoNode* GetAt(int index) const { return m_nodes[static_cast<std::size_t>(index)]; }
    // Union of the records' extents, from the last to the first; all zero for an empty pack.
    MFloatRect GetExtent() const;
    // Whether the object is outside the document in the pack's present state, so that the pack owns
    // it. The object's last record in effect (not undone) tells: added means inside. With every
    // record of it undone, its first record tells where it was before the pack: an addition means
    // outside. Replay undoes a suffix and redoes a prefix of the records, so this also holds while a
    // replay is under way. FALSE for an object the pack does not record.
    BOOL OwnsObject(const CObject* object) const;

private:
    // The objects the pack owns now, each once, in order of their first record. May throw
    // std::bad_alloc.
    std::vector<CObject*> OwnedObjects() const;

    std::vector<MUndoNode*> m_nodes;
};
