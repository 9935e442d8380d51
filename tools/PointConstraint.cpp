#include "tools/PointConstraint.h"

#include <cmath>

#include "document/ToolSettings.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/CadShape.h"
#include "platform/Strings.h"
#include "tools/Snapper.h"
#include "tools/input/AngleDialog.h"
#include "view/TessarayView.h"

namespace {

// The first of the snap record's shapes that has the capability, or null; none when the view does
// not mark the snap.
const MCadShape* SnappedShapeWith(const MSnapResult& last, int capability) {
    if (!last.marked) return nullptr;
    for (const MCadShape* shape : {last.record.shape1, last.record.shape2})
        if (shape && shape->HasCapability(capability)) return shape;
    return nullptr;
}

}  // namespace

MFloatPoint MPointConstraint::EntryPoint() const {
    const Entry& e = m_entry;
    if (e.angleGiven && e.distanceGiven)
        return MFloatPoint(e.base.x + e.distance * std::cos(e.angle),
                           e.base.y + e.distance * std::sin(e.angle));
    return MFloatPoint(e.base.x + e.dx, e.base.y + e.dy);
}

void MPointConstraint::TakeEntry(MTessarayView* view, const MCoordinateEntry& entry,
                                 const MFloatPoint& offsetBase) {
    switch (entry.baseMode) {
        case MCoordinateEntry::kAbsolute:
            m_entry.base = view->UserToDoc(0.0, 0.0);
            break;
        case MCoordinateEntry::kRelative:
            m_entry.base = view->GetAnchorPoint();
            break;
        default:
            m_entry.base = offsetBase;
    }
    ClearEntry();
    if (entry.kind == MCoordinateEntry::kPolar) {
        m_entry.angleGiven = entry.angleChecked;
        m_entry.distanceGiven = entry.distanceChecked;
        m_entry.angle = entry.angle * kPi / 180.0;
        m_entry.distance = view->UserToDocLength(entry.distance);
    } else {
        m_entry.xGiven = entry.xChecked;
        m_entry.yGiven = entry.yChecked;
        m_entry.dx = view->UserToDocLength(entry.x);
        m_entry.dy = view->UserToDocLength(entry.y);
    }
}

unsigned MPointConstraint::DirectionModes(const MSnapResult& last) {
    unsigned modes = 0;
    if (SnappedShapeWith(last, kShapeHasDirection)) modes |= kModeParallel | kModeAngle;
    if (SnappedShapeWith(last, kShapeHasNormal)) modes |= kModePerpendicular;
    return modes;
}

bool MPointConstraint::TakeDirection(MConstraintMode mode, const MSnapResult& last, MTessarayView* view) {
    const MFloatPoint at = last.record.GetPoint();
    if (mode == kModePerpendicular) {
        const MCadShape* shape = SnappedShapeWith(last, kShapeHasNormal);
        if (!shape) return false;
        MFloatPoint foot;
        const double angle = shape->GetNormalAngle(at, &foot);
        if (angle == kNoAnswer) return false;
        SetFixedAngle(angle);
        return true;
    }
    if (mode != kModeParallel && mode != kModeAngle) return false;
    const MCadShape* shape = SnappedShapeWith(last, kShapeHasDirection);
    if (!shape) return false;
    double turn = 0.0;
    if (mode == kModeAngle) {
        MAngleDialog dialog(view);
        if (dialog.DoModal() != IDOK) return false;
        turn = AngleDialogAngle() * kPi / 180.0;
    }
    const double direction = shape->GetDirectionAngle(at);
    if (direction == kNoAnswer) return false;
    SetFixedAngle(mode == kModeAngle ? direction + turn : direction);
    return true;
}
