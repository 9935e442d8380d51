#include "model/shapes/containers/GeneratedGroupShape.h"

int MGeneratedGroupShape::GetGripCount() const {
    return GetHandleCount();
}
MFloatPoint MGeneratedGroupShape::GetGrip(int index) const {
    return GetHandle(index);
}
void MGeneratedGroupShape::MoveGrip(int* index, const MFloatPoint& to, BOOL keepRatio) {
    MoveHandle(index, to, keepRatio);
}

void MGeneratedGroupShape::Render(MCadView* view, CDC* dc, MDrawMode mode) {
    EnsureMembers(view);
    MGroupShape::Render(view, dc, mode);
}
BOOL MGeneratedGroupShape::HitTest(MCadView* view, const CPoint& point, MFloatPoint* foot,
                                   int tolerance) const {
    EnsureMembers(view);
    return MGroupShape::HitTest(view, point, foot, tolerance);
}
BOOL MGeneratedGroupShape::HitTestPixel(MCadView* view, const CPoint& point, int tolerance) {
    EnsureMembers(view);
    return MGroupShape::HitTestPixel(view, point, tolerance);
}
BOOL MGeneratedGroupShape::IntersectsDeviceRectPixel(MCadView* view, const CRect& rect) {
    EnsureMembers(view);
    return MGroupShape::IntersectsDeviceRectPixel(view, rect);
}
BOOL MGeneratedGroupShape::IntersectsRectPixel(MCadView* view, const CRect& rect, const MFloatRect& area) {
    EnsureMembers(view);
    return MGroupShape::IntersectsRectPixel(view, rect, area);
}

MCadShape* MGeneratedGroupShape::Clone() const {
    return MCadShape::Duplicate();
}
MCadShape* MGeneratedGroupShape::Duplicate() const {
    return MCadShape::Duplicate();
}

MCadShape* MGeneratedGroupShape::CreateTransformed(const MShapeTransform& transform) const {
    return MCadShape::CreateTransformed(transform);
}

int MGeneratedGroupShape::GetCapabilities() const {
    return kShapeCanEdit;
}

void MGeneratedGroupShape::Rebuild(MCadView*) {}
BOOL MGeneratedGroupShape::IsPlainGroup() const {
    return FALSE;
}

void MGeneratedGroupShape::EnsureMembersForExport(double) const {
    EnsureMembers(nullptr);
}
