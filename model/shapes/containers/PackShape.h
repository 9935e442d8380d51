// A bundle of shapes that belong elsewhere, so that a tool can drag, draw and invalidate a whole
// selection as one shape. The pack owns its member list but never the members: destroying it
// leaves them alive. No type id, keyword or text form of its own.
#pragma once

#include <memory>

#include "model/shapes/CadShape.h"
#include "model/shapes/containers/ShapeArray.h"

class MPackShape : public MCadShape {
    DECLARE_SERIAL(MPackShape)
public:
    // An empty, non-owning member list; zero extents.
    MPackShape();
    // Deletes the member list only.
    ~MPackShape() override;

    // The member list's archive form (members as objects, then its owns flag). Members read from
    // an archive are new objects that nobody else knows: whoever takes the pack apart takes them.
    // Null entries are not kept.
    void Serialize(CArchive& ar) override;
    bool HasFiniteValues() const override;
    // The members in their colours; the other modes draw nothing.
    void Render(MCadView* view, CDC* dc, MDrawMode mode) override;
    // Every member, the last first.
    void Move(const MFloatPoint& offset) override;
    void Invalidate(MCadView* view, BOOL erase) override;
    // Nothing when empty; else the members' Recalc and the unions of their extents.
    void Recalc(MCadView* view) override;

    int AddShape(MCadShape* shape) { return m_members->Add(shape); }
    int GetShapeCount() const { return m_members->GetSize(); }
    // An index outside the members raises the invalid-argument exception.
    MCadShape* GetShapeAt(int index) const { return m_members->GetAt(index); }
    MShapeArray& GetMembers() { return *m_members; }
    const MShapeArray& GetMembers() const { return *m_members; }

protected:
    // The union of the members' draw extents, kept here.
    MFloatRect StoredDrawExtent() const override { return m_drawRect; }
    void StoreDrawExtent(const MFloatRect& rect) override { m_drawRect = rect; }

private:
    std::unique_ptr<MShapeArray> m_members;
    MFloatRect m_drawRect;
};
