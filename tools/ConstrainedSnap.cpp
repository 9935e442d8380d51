#include "tools/ConstrainedSnap.h"

#include <cmath>

#include "model/geometry/Geometry.h"
#include "model/shapes/CadShape.h"
#include "platform/ui/MessageTranslation.h"
#include "tools/Snapper.h"

namespace {

// Directions that differ by less than this are the same.
constexpr double kAngleTolerance = 1.3951473992034527e-14;
// A distance equals a typed length within this share of the length.
constexpr double kLengthTolerance = 2.220446e-16 * 10;

bool SameDirection(const MFloatPoint& d, double angle) {
    if (d.x == 0.0 && d.y == 0.0) return false;
    return std::fabs(MRadian(std::atan2(d.y, d.x) - angle)) <= kAngleTolerance;
}

double Length(const MFloatPoint& d) {
    return std::hypot(d.x, d.y);
}

// A point that a search on a locus found becomes the point and the record of the road.
bool TakeLocusSnap(MSnapper& snapper, const MSnapPoint& found, MFloatPoint& pt) {
    if (!found.kind) return false;
    snapper.SetRecord(found);
    pt = found.GetPoint();
    return true;
}

}  // namespace

MFloatPoint SnapOnCoordinate(MSnapper& snapper, MTessarayView* view, WORD kinds, const MFloatPoint& base,
                             MFloatPoint pt, double dx, BOOL bX, double dy, BOOL bY) {
    MFloatPoint free(1.0, 0.0);
    if (bX) {
        pt.x = base.x + dx;
        free = MFloatPoint(0.0, 1.0);
    }
    if (bY) {
        pt.y = base.y + dy;
        free = MFloatPoint(1.0, 0.0);
    }
    if (bX != bY) {
        const MFloatPoint linePoint = pt;
        // A snap point counts when it keeps the fixed coordinate.
        const auto onLine = [&](const MFloatPoint& p) {
            return bX ? std::fabs(p.x - linePoint.x) <= kZeroTolerance
                      : std::fabs(p.y - linePoint.y) <= kZeroTolerance;
        };
        const auto crossings = [&](MCadShape* shape, MFloatPointArray* out) {
            shape->IntersectSegment(linePoint, linePoint + free, out, kBoundedA);
        };
        if (TakeLocusSnap(snapper, snapper.FindOnLocus(view, kinds, pt, onLine, crossings), pt)) return pt;
        const double direction = std::atan2(pt.y - base.y, pt.x - base.x);
        const auto sameDirection = [&](const MFloatPoint& g) { return SameDirection(g - base, direction); };
        if (TakeLocusSnap(snapper, snapper.FindGridOnLocus(view, kinds, pt, sameDirection), pt)) return pt;
    }
    snapper.SetRecord(MSnapPoint(pt, 0));
    return pt;
}

MFloatPoint SnapOnAngleLength(MSnapper& snapper, MTessarayView* view, WORD kinds, const MFloatPoint& base,
                              MFloatPoint pt, double length, BOOL bLength, double angle, BOOL bAngle,
                              UINT flags) {
    const MFloatPoint d = pt - base;
    const double r = Length(d);
    BOOL angleGiven = bAngle;
    MFloatPoint u;
    if (!bAngle) {
        // On the base point there is no direction to keep: the point is the base.
        if (r == 0.0) {
            snapper.SetRecord(MSnapPoint(base, 0));
            return base;
        }
        u = MFloatPoint(d.x / r, d.y / r);
        if (flags & MK_SHIFT) {
            u = std::fabs(u.y) <= std::fabs(u.x) ? MFloatPoint(u.x < 0 ? -1.0 : 1.0, 0.0)
                                                 : MFloatPoint(0.0, u.y < 0 ? -1.0 : 1.0);
            angleGiven = TRUE;
        }
    } else {
        // The ray on the cursor's side: the difference is taken within -pi..pi, so that 170 and
        // -170 degrees count as 20 apart.
        if (r != 0.0 && std::fabs(MRadian(angle - std::atan2(d.y, d.x))) >= kPi / 2) angle += kPi;
        u = MFloatPoint(std::cos(angle), std::sin(angle));
    }
    pt = bLength ? base + u * length : base + u * (d.x * u.x + d.y * u.y);
    const double direction = std::atan2(u.y, u.x);
    // A typed negative distance still gives a circle of positive radius and tolerance.
    const double radius = std::fabs(length);
    const double tolerance = radius * kLengthTolerance;
    const auto onCircle = [&](const MFloatPoint& p) {
        return std::fabs(Length(p - base) - radius) <= tolerance;
    };
    const auto onLine = [&](const MFloatPoint& p) {
        const MFloatPoint q = p - base;
        return std::fabs(q.x * u.y - q.y * u.x) <= kAngleTolerance * Length(q);
    };
    if (bLength && !angleGiven) {
        const MFloatPoint cursor = pt;
        const auto crossings = [&](MCadShape* shape, MFloatPointArray* out) {
            shape->IntersectCircle(base.x, base.y, cursor.x, cursor.y, radius, out);
        };
        if (TakeLocusSnap(snapper, snapper.FindOnLocus(view, kinds, pt, onCircle, crossings), pt) ||
            TakeLocusSnap(snapper, snapper.FindGridOnLocus(view, kinds, pt, onCircle), pt))
            return pt;
    } else if (angleGiven && !bLength) {
        const auto crossings = [&](MCadShape* shape, MFloatPointArray* out) {
            shape->IntersectSegment(base, base + u, out, kBoundedA);
        };
        const auto sameDirection = [&](const MFloatPoint& g) { return SameDirection(g - base, direction); };
        if (TakeLocusSnap(snapper, snapper.FindOnLocus(view, kinds, pt, onLine, crossings), pt) ||
            TakeLocusSnap(snapper, snapper.FindGridOnLocus(view, kinds, pt, sameDirection), pt))
            return pt;
    }
    snapper.SetRecord(MSnapPoint(pt, 0));
    return pt;
}
