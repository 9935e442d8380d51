// What the user fixed about a tool's next point: a typed coordinate entry and a fixed direction.
// The tool owns one (MDrawTool::GetPointConstraint) and its snapping reads it.
//
// A typed entry gives some or all of x and y, or of an angle and a distance, measured from a base
// point; a complete one is the point, a partial one holds the point on a line or a circle until the
// next release. The fixed direction comes from a constraint mode of the right-click menu (the
// snapped shape's direction, its normal, a tangent); it lasts until the tool clears it.
#pragma once

#include "model/geometry/FloatPoint.h"

struct MCoordinateEntry;
struct MSnapResult;
class MTessarayView;

// The constraint modes of the right-click menu, one bit each: a tool answers the modes it offers
// now as one mask (MDrawTool::GetConstraintModes) and takes the chosen one in one handler
// (MDrawTool::OnConstraintMode).
enum MConstraintMode : unsigned {
    kModeParallel = 0x01,       // "平行": along the snapped shape's direction
    kModeAngle = 0x02,          // "角度...": that direction turned by the angle dialog's angle
    kModePerpendicular = 0x04,  // "垂直": along the snapped shape's normal
    kModeTangent = 0x08,        // "接線"
    kModeTouch = 0x10,          // "接する"
};

class MPointConstraint {
public:
    // The typed values in drawing units (the angle in radians); a value counts only when given.
    struct Entry {
        MFloatPoint base;
        bool xGiven = false, yGiven = false, angleGiven = false, distanceGiven = false;
        double dx = 0.0, dy = 0.0, angle = 0.0, distance = 0.0;
    };

    // ----- typed entry ------------------------------------------------------------------------------
    const Entry& GetEntry() const { return m_entry; }
    // Some value was typed.
    bool HasEntry() const {
        return m_entry.xGiven || m_entry.yGiven || m_entry.angleGiven || m_entry.distanceGiven;
    }
    // Both values of one kind were typed: the entry is a point (EntryPoint).
    bool IsEntryComplete() const {
        return (m_entry.xGiven && m_entry.yGiven) || (m_entry.angleGiven && m_entry.distanceGiven);
    }
    // x or y was typed (when only one was, the point keeps to a line).
    bool FixesCoordinate() const { return m_entry.xGiven || m_entry.yGiven; }
    // The point of a complete entry: the base moved by the typed values.
    MFloatPoint EntryPoint() const;
    // The values the user checked in the coordinate dialog, in drawing units; the others are
    // cleared. The base is the user origin, the view's anchor point or offsetBase, as the entry
    // says.
    void TakeEntry(MTessarayView* view, const MCoordinateEntry& entry, const MFloatPoint& offsetBase);
    // The values are forgotten (the base and the values stay, none counts).
    void ClearEntry() {
        m_entry.xGiven = m_entry.yGiven = m_entry.angleGiven = m_entry.distanceGiven = false;
    }

    // ----- fixed direction --------------------------------------------------------------------------
    bool HasFixedAngle() const { return m_fixedAngleSet; }
    // Radians; the last one set, also once cleared.
    double GetFixedAngle() const { return m_fixedAngle; }
    void SetFixedAngle(double radians) {
        m_fixedAngleSet = true;
        m_fixedAngle = radians;
    }
    void ClearFixedAngle() { m_fixedAngleSet = false; }

    // ----- the direction modes --------------------------------------------------------------------
    // What the last snap offers: parallel and angle on a shape with a direction, perpendicular on
    // one with a normal; none when the view does not mark the snap.
    static unsigned DirectionModes(const MSnapResult& last);
    // Fixes the direction the mode takes from the last snap (the angle mode asks the angle dialog
    // first). FALSE when nothing was snapped, the shape gives no direction there, the dialog was
    // cancelled, or the mode is not a direction mode.
    bool TakeDirection(MConstraintMode mode, const MSnapResult& last, MTessarayView* view);

private:
    Entry m_entry;
    bool m_fixedAngleSet = false;
    double m_fixedAngle = 0.0;
};
