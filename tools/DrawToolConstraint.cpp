// The tool base: direction constraints taken from snapped shapes, and typed coordinates (the
// coordinate-entry dialog and the partial entries that constrain the next point).
#include <cmath>

#include "document/TessarayDoc.h"
#include "document/ToolSettings.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/CadShape.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/MessageTranslation.h"
#include "resources/ResourceIds.h"
#include "tools/DrawTool.h"
#include "tools/input/AngleDialog.h"
#include "tools/input/JumpDialog.h"
#include "view/Grid.h"
#include "view/TessarayView.h"

namespace {

// Directions that differ by less than this are the same.
constexpr double kAngleTolerance = 1.3951473992034527e-14;
// A distance equals a typed length within this share of the length.
constexpr double kLengthTolerance = 2.220446e-16 * 10;

// The first of the snap record's shapes that answers the query.
MCadShape* FirstShape(const MSnapPoint& snap, BOOL (MCadShape::*has)() const) {
    if (snap.shape1 && (snap.shape1->*has)()) return snap.shape1;
    if (snap.shape2 && (snap.shape2->*has)()) return snap.shape2;
    return nullptr;
}

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

// ----- directions from the snapped shape --------------------------------------------------------

BOOL MDrawTool::CanUseDirection() const {
    return GetSnapMarkFlag() && FirstShape(GetSnapRecord(), &MCadShape::HasDirection);
}

void MDrawTool::ApplyParallel() {
    const MCadShape* shape =
        GetSnapMarkFlag() ? FirstShape(GetSnapRecord(), &MCadShape::HasDirection) : nullptr;
    if (!shape) return;
    const double angle = shape->GetDirectionAngle(GetSnapRecord().GetPoint());
    if (angle != kNoAnswer) SetFixedAngle(angle);
}

BOOL MDrawTool::CanUseNormal() const {
    return GetSnapMarkFlag() && FirstShape(GetSnapRecord(), &MCadShape::HasNormal);
}

void MDrawTool::ApplyPerpendicular() {
    const MCadShape* shape = GetSnapMarkFlag() ? FirstShape(GetSnapRecord(), &MCadShape::HasNormal) : nullptr;
    if (!shape) return;
    MFloatPoint foot;
    const double angle = shape->GetNormalAngle(GetSnapRecord().GetPoint(), &foot);
    if (angle != kNoAnswer) SetFixedAngle(angle);
}

BOOL MDrawTool::ApplyAngleDialog(MTessarayView* view) {
    const MCadShape* shape =
        GetSnapMarkFlag() ? FirstShape(GetSnapRecord(), &MCadShape::HasDirection) : nullptr;
    if (!shape) return FALSE;
    const MFloatPoint at = GetSnapRecord().GetPoint();
    MAngleDialog dialog(view);
    if (dialog.DoModal() != IDOK) return FALSE;
    const double direction = shape->GetDirectionAngle(at);
    if (direction == kNoAnswer) return FALSE;
    SetFixedAngle(direction + AngleDialogAngle() * kPi / 180.0);
    return TRUE;
}

void MDrawTool::RegisterConstraintCommands() {
    CCommandMap& map = Commands();
    map.OnCommand(
        ID_PARALLEL, [this] { OnParallel(m_view); },
        [this](CCmdUI* ui) { ui->Enable(CanAngleConstraint()); });
    map.OnCommand(
        ID_ANGLE_CONSTRAINT, [this] { OnAngle(m_view); },
        [this](CCmdUI* ui) { ui->Enable(CanAngleConstraint()); });
    map.OnCommand(
        ID_PERPENDICULAR, [this] { OnPerpendicular(m_view); },
        [this](CCmdUI* ui) { ui->Enable(CanPerpendicular()); });
    map.OnCommand(
        ID_TANGENT, [this] { OnTangent(m_view); }, [this](CCmdUI* ui) { ui->Enable(CanTangent()); });
    map.OnCommand(
        ID_TOUCH, [this] { OnTouch(m_view); }, [this](CCmdUI* ui) { ui->Enable(CanTouch()); });
    // The item shows for a partial coordinate entry too, and then releases it.
    map.OnCommand(
        ID_RELEASE_CONSTRAINT,
        [this] {
            ReleaseConstraint();
            ClearEntryFlags();
        },
        [this](CCmdUI* ui) { ui->Enable(IsConstrained() || HasCoordinateEntry()); });
}

// ----- constrained points -----------------------------------------------------------------------

BOOL MDrawTool::ApplyConstraint(MTessarayView* view, int, int, MFloatPoint* pt, UINT) {
    if (!HasCoordinateEntry()) return FALSE;
    if (!m_moved) {
        *pt = m_entryBase;
        m_snapper.SetRecord(MSnapPoint(*pt, 0));
    } else if (m_xGiven || m_yGiven) {
        *pt = ConstrainToCoordinate(view, m_entryBase, *pt, m_entryDx, m_xGiven, m_entryDy, m_yGiven);
    } else {
        *pt = ConstrainAngleLength(view, m_entryBase, *pt, m_entryDistance, m_distanceGiven, m_entryAngle,
                                   m_angleGiven, 0);
    }
    return TRUE;
}

MFloatPoint MDrawTool::ConstrainToCoordinate(MTessarayView* view, const MFloatPoint& base, MFloatPoint pt,
                                             double dx, BOOL bX, double dy, BOOL bY) {
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
        const WORD kinds = GetSnapFlags(view);
        if (TakeLocusSnap(m_snapper, m_snapper.FindOnLocus(view, kinds, pt, onLine, crossings), pt))
            return pt;
        const double direction = std::atan2(pt.y - base.y, pt.x - base.x);
        const auto sameDirection = [&](const MFloatPoint& g) { return SameDirection(g - base, direction); };
        if (TakeLocusSnap(m_snapper, m_snapper.FindGridOnLocus(view, kinds, pt, sameDirection), pt))
            return pt;
    }
    m_snapper.SetRecord(MSnapPoint(pt, 0));
    return pt;
}

MFloatPoint MDrawTool::ConstrainAngleLength(MTessarayView* view, const MFloatPoint& base, MFloatPoint pt,
                                            double length, BOOL bLength, double angle, BOOL bAngle,
                                            UINT flags) {
    const MFloatPoint d = pt - base;
    const double r = Length(d);
    BOOL angleGiven = bAngle;
    MFloatPoint u;
    if (!bAngle) {
        // On the base point there is no direction to keep: the point is the base.
        if (r == 0.0) {
            m_snapper.SetRecord(MSnapPoint(base, 0));
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
        const WORD kinds = GetSnapFlags(view);
        if (TakeLocusSnap(m_snapper, m_snapper.FindOnLocus(view, kinds, pt, onCircle, crossings), pt) ||
            TakeLocusSnap(m_snapper, m_snapper.FindGridOnLocus(view, kinds, pt, onCircle), pt))
            return pt;
    } else if (angleGiven && !bLength) {
        const auto crossings = [&](MCadShape* shape, MFloatPointArray* out) {
            shape->IntersectSegment(base, base + u, out, kBoundedA);
        };
        const auto sameDirection = [&](const MFloatPoint& g) { return SameDirection(g - base, direction); };
        const WORD kinds = GetSnapFlags(view);
        if (TakeLocusSnap(m_snapper, m_snapper.FindOnLocus(view, kinds, pt, onLine, crossings), pt) ||
            TakeLocusSnap(m_snapper, m_snapper.FindGridOnLocus(view, kinds, pt, sameDirection), pt))
            return pt;
    }
    m_snapper.SetRecord(MSnapPoint(pt, 0));
    return pt;
}

// ----- typed coordinates ------------------------------------------------------------------------

void MDrawTool::TakeEntryValues(MTessarayView* view, const MCoordinateEntry& entry) {
    ClearEntryFlags();
    if (entry.kind == MCoordinateEntry::kPolar) {
        m_angleGiven = entry.angleChecked;
        m_distanceGiven = entry.distanceChecked;
        m_entryAngle = entry.angle * kPi / 180.0;
        m_entryDistance = view->UserToDocLength(entry.distance);
    } else {
        m_xGiven = entry.xChecked;
        m_yGiven = entry.yChecked;
        m_entryDx = view->UserToDocLength(entry.x);
        m_entryDy = view->UserToDocLength(entry.y);
    }
}

void MDrawTool::OnCoordinateInput(MTessarayView* view, const CPoint* click, UINT flags) {
    MFloatPoint clickPoint;
    if (click) clickPoint = Snap(view, click->x, click->y, 0).point;
    MJumpDialog dialog(view, FALSE);
    dialog.SetOffsetAllowed(click != nullptr);
    if (dialog.DoModal() != IDOK) {
        ClearEntryFlags();
        return;
    }
    const MCoordinateEntry& entry = GetCoordinateEntry();
    switch (entry.baseMode) {
        case MCoordinateEntry::kAbsolute:
            m_entryBase = view->UserToDoc(0.0, 0.0);
            break;
        case MCoordinateEntry::kRelative:
            m_entryBase = view->GetAnchorPoint();
            break;
        default:
            m_entryBase = clickPoint;
    }
    TakeEntryValues(view, entry);
    if (!HasCoordinateEntry()) return;
    // The simulated press happens where the user is: its dead zone is measured from there.
    CPoint press;
    if (click) {
        press = *click;
    } else {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        press = view->DocToDevice(dc.get(), GetCurrentPoint());
    }
    OnLButtonDown(view, press.x, press.y, flags);
    if ((m_xGiven && m_yGiven) || (m_angleGiven && m_distanceGiven)) {
        m_moved = TRUE;
        OnLButtonUp(view, press.x, press.y, flags);
    }
}
