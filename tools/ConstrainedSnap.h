// Snapping a point held to a locus: a line with one coordinate fixed, or a circle or a ray about a
// base. The point is then taken by a snap point on the locus, the crossing of the locus with the
// shape under it, or a grid point on it; the snapper records what took it (kind 0: none did).
// The typed coordinate entries and the tools' locks build on these.
#pragma once

#include <cmath>

#include "model/geometry/FloatPoint.h"
#include "platform/WinTypes.h"

class MSnapper;
class MTessarayView;

// One coordinate fixed (bX: x = base.x + dx, bY: y = base.y + dy); with both or neither fixed
// there is no line to search along.
MFloatPoint SnapOnCoordinate(MSnapper& snapper, MTessarayView* view, WORD kinds, const MFloatPoint& base,
                             MFloatPoint pt, double dx, BOOL bX, double dy, BOOL bY);
// A distance (bLength) or a direction (bAngle, radians; the ray on the cursor's side) from the base.
// With MK_SHIFT in flags and no angle the direction snaps to the nearer axis.
MFloatPoint SnapOnAngleLength(MSnapper& snapper, MTessarayView* view, WORD kinds, const MFloatPoint& base,
                              MFloatPoint pt, double length, BOOL bLength, double angle, BOOL bAngle,
                              UINT flags);
// The point that keeps the larger of the two coordinate differences from base (the axis snap).
inline MFloatPoint AlongNearerAxis(const MFloatPoint& base, const MFloatPoint& pt) {
    if (std::fabs(pt.y - base.y) > std::fabs(pt.x - base.x)) return MFloatPoint(base.x, pt.y);
    return MFloatPoint(pt.x, base.y);
}
