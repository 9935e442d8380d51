// The records of one user operation. Each record says that an object (a shape or a layer) was put
// into the document or taken out of it, and where. Records hold the objects themselves, never
// copies: an object taken out of the document lives on inside its record.
//
// Ownership: a record owns its object exactly while the object is outside the document, that is
// when (added and undone) or (taken out and not undone); destroying the record then deletes it.
#pragma once

#include <string>
#include <vector>

#include "model/geometry/FloatRect.h"
#include "platform/Object.h"

class MCadShape;
class MLayer;

class MUndoNode {
public:
    // undone starts at 0.
    MUndoNode(CObject* object, int layer, int added, int position);
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
    // Whether the record, not the document, owns the object now.
    BOOL OwnsObject() const { return (m_added && m_undone) || (!m_added && !m_undone); }

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

class MUndoPack {
public:
    MUndoPack() = default;
    // Destroys every record (and so the objects outside the document).
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

    int GetCount() const { return static_cast<int>(m_nodes.size()); }
    MUndoNode* GetAt(int index) const { return m_nodes[static_cast<std::size_t>(index)]; }
    // Union of the records' extents, from the last to the first; all zero for an empty pack.
    MFloatRect GetExtent() const;

private:
    std::vector<MUndoNode*> m_nodes;
};
