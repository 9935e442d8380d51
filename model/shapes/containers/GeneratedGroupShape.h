// The common base of the groups whose members are generated from their own fields (labels,
// balloons, dimensions): the members are a cache, brought up to date before they are drawn, hit or
// exported. It has no runtime class of its own, so the derived classes keep the group as their
// runtime base in files and in IsKindOf.
#pragma once

#include "model/shapes/containers/GroupShape.h"

class MGeneratedGroupShape : public MGroupShape {
public:
    // The handles.
    int GetGripCount() const override;
    MFloatPoint GetGrip(int index) const override;
    void MoveGrip(int* index, const MFloatPoint& to, BOOL keepRatio) override;
    // Each brings the members up to date first.
    void Render(MCadView* view, CDC* dc, MDrawMode mode) override;
    BOOL HitTest(MCadView* view, const CPoint& point, MFloatPoint* foot, int tolerance) const override;
    BOOL HitTestPixel(MCadView* view, const CPoint& point, int tolerance) override;
    BOOL IntersectsDeviceRectPixel(MCadView* view, const CRect& rect) override;
    BOOL IntersectsRectPixel(MCadView* view, const CRect& rect, const MFloatRect& area) override;
    // Copies through the archive form: the copy carries the fields and regenerates on first use.
    MCadShape* Clone() const override;
    MCadShape* Duplicate() const override;
    // The shape base's copy (rotated or mirrored through the shape's own transforms).
    MCadShape* CreateTransformed(const MShapeTransform& transform) const override;
    int GetCapabilities() const override;
    // Nothing here; a derived class that builds its members from scratch overrides it.
    void Rebuild(MCadView* view) override;
    BOOL IsPlainGroup() const override;
    // Brings the members up to date for an export, which knows only the paper scale; by default
    // as EnsureMembers without a view.
    virtual void EnsureMembersForExport(double paperScale) const;

protected:
    // Brings stale or missing members up to date; view may be null.
    virtual void EnsureMembers(MCadView* view) const = 0;
};
