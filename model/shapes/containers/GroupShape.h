// A shape made of other shapes (type id 8, keyword "GROUP"). Almost every operation forwards to the
// members; the optional base point moves, scales, mirrors and rotates with them. Base of the
// dimension, label and balloon shapes, which keep their lines and texts as members.
#pragma once

#include "model/shapes/CadShape.h"
#include "model/shapes/containers/ShapeArray.h"

class MLShapeArray;

class MGroupShape : public MCadShape {
    DECLARE_SERIAL(MGroupShape)
public:
    // No members, no base point, zero extents.
    MGroupShape();
    // A Duplicate of every shape of the selection, in list order; the selection is not touched.
    MGroupShape(MCadView* view, const MLShapeArray& selection);
    // Deletes the members.
    ~MGroupShape() override;

    // Only the member array; extents come back with Recalc. Any stored schema is accepted. Only a
    // plain group is a level of the nesting limit; a label or balloon holding a group is refused.
    void Serialize(CArchive& ar) override;
    int GetGripCount() const override;
    // An index at or past the total gives (0, 0).
    MFloatPoint GetGrip(int index) const override;
    // The member that holds *index moves its grip; *index follows a renumbering by the member.
    void MoveGrip(int* index, const MFloatPoint& to, BOOL keepRatio) override;
    void Render(MCadView* view, CDC* dc, MDrawMode mode) override;
    // Each member in the same form, then the base point and the extent.
    void ScaleBy(const MShapeScale& scale) override;
    void Move(const MFloatPoint& offset) override;
    // Hit when any member hits; foot is the hitting member's foot nearest the cursor.
    BOOL HitTest(MCadView* view, const CPoint& point, MFloatPoint* foot, int tolerance) const override;
    // The base point (the members' centre when none is set).
    MFloatPoint GetCenter() const override;
    BOOL IsInRect(const MFloatRect& rect) const override;
    // The members' snap points and the intersections between them; a snap found on a member
    // reports the group. An empty group finds nothing.
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    BOOL HitTestPixel(MCadView* view, const CPoint& point, int tolerance) override;
    BOOL IntersectsDeviceRectPixel(MCadView* view, const CRect& rect) override;
    BOOL IntersectsRectPixel(MCadView* view, const CRect& rect, const MFloatRect& area) override;
    MCadShape* Clone() const override;
    MCadShape* Duplicate() const override;
    BOOL IsValid() const override;
    bool HasFiniteValues() const override;
    void Recalc(MCadView* view) override;
    // The extents after a change of the view's scale, as MShapeArray::RecalcScaledExtents.
    void RecalcScaledExtent(MCadView* view);
    void SetFillStyle(const MFillStyle& fill) override;
    // Common values of the members, or -1 / -1.0 / a plain fill of colour -1 when they differ or
    // there are none.
    MFillStyle GetFillStyle() const override;
    MStroke GetStrokeAttributes() const override;
    void ChangeStroke(const MStrokeChange& change) override;
    // The text members' common font and size; italic, bold, underline and strike-out are the
    // members': set on each, and set on the group when it has text members and all of them have
    // it. The group has no text colour, alignment or other bits of its own.
    MTextPresence GetTextStyle(MTextStyle* style) const override;
    void ChangeTextStyle(const MTextStyleChange& change) override;
    void MirrorX(double x, double y) override;
    void MirrorY(double x, double y) override;
    // Turns the members in place; a member that cannot hold the angle (a rectangle or ellipse at
    // other than quarter turns) is replaced by its CreateRotated copy, so member pointers taken
    // before may no longer be members.
    void Rotate(double cx, double cy, double angle) override;
    // A plain group of the members' transformed copies.
    MCadShape* CreateTransformed(const MShapeTransform& transform) const override;
    // The edits every member allows.
    int GetCapabilities() const override;
    // The member array's text form, then a line "0" (a count of further lines to skip).
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;

    // Own operations.
    // Dimensions rebuild their members from their defining points; a plain group does nothing.
    virtual void Rebuild(MCadView* view);
    // TRUE for a plain group; labels, balloons and dimensions answer FALSE.
    virtual BOOL IsPlainGroup() const;
    virtual void SetBasePoint(const MFloatPoint& p);

    int GetShapeCount() const { return m_members.GetSize(); }
    // The group takes ownership; returns the member's index.
    int AddShape(MCadShape* shape) { return m_members.Add(shape); }
    // An index outside the members raises the invalid-argument exception.
    MCadShape* GetShapeAt(int index) const { return m_members.GetAt(index); }
    BOOL HasBasePoint() const { return m_members.HasBasePoint(); }
    MFloatPoint GetBasePoint() const { return m_members.GetBasePoint(); }
    MShapeArray4Group& GetMembers() { return m_members; }
    const MShapeArray4Group& GetMembers() const { return m_members; }

protected:
    // The union of the members' draw extents (a dimension not yet built: its defining points),
    // kept here.
    MFloatRect StoredDrawExtent() const override { return m_drawRect; }
    void StoreDrawExtent(const MFloatRect& rect) override { m_drawRect = rect; }

    MShapeArray4Group m_members;

private:
    MFloatRect m_drawRect;

    // The base point and the extent follow members that were scaled about centre.
    void ScaleBasePointAndExtent(const MFloatPoint& centre, double sx, double sy);
};

// Plain groups inside one another from the shape down, as kMaxGroupNesting counts them: 0 for a
// shape that is no plain group, 1 for a group holding none.
int GroupNestingOf(const MCadShape& shape);
