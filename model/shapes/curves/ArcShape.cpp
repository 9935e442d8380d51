#include "model/shapes/curves/ArcShape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <istream>
#include <ostream>
#include <typeinfo>

#include "model/CadView.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/render/BezierOutline.h"
#include "model/shapes/ShapeTypes.h"
#include "platform/Archive.h"

IMPLEMENT_SERIAL(MCircleArcShape, MCircleShape, 1)

namespace {

// Angles that differ by less than this count as the same end of an arc.
constexpr double kAngleTolerance = 1.3951473992034527e-14;
// Beyond this many turns between start and end, whole turns are removed at once rather than one
// by one (a damaged file must not make the outline loop for ever).
constexpr double kMaxTurnsByStep = 1024.0;
// Beyond this size an added turn may no longer move an angle (or move it by a rounding step), so
// such angles are brought near zero before the end is raised turn by turn.
constexpr double kMaxSteppedAngle = 1e9;

// Whether start to end sweeps one whole turn up to rounding. The text form keeps 15 significant
// digits, so a full turn reads back a few units of the last digit off 2 pi (6.28318530717959 is
// past it); the tolerance grows with the angles' size as those digits do.
bool IsFullTurn(double start, double end) {
    const double scale = std::max({1.0, std::fabs(start), std::fabs(end)});
    return std::fabs(end - start - kTwoPi) <= kAngleTolerance * scale;
}

}  // namespace

void NormalizeArcAngles(double& start, double& end) {
    if (!std::isfinite(start)) start = 0.0;
    if (!std::isfinite(end)) end = start;
    if (start - end > kMaxTurnsByStep * kTwoPi ||
        std::max(std::fabs(start), std::fabs(end)) > kMaxSteppedAngle) {
        start = std::remainder(start, kTwoPi);
        end = std::remainder(end, kTwoPi);
    }
    while (end <= start)
        end += kTwoPi;
    // Exactly one turn, so that turning or mirroring the arc later cannot leave the end a rounding
    // step past the start, which would sweep almost nothing.
    if (IsFullTurn(start, end)) end = start + kTwoPi;
}

MCircleArcShape::MCircleArcShape() {
    SetClosed(FALSE);
    KeepOutlineWorkedOut();
}

MCircleArcShape::~MCircleArcShape() = default;

void MCircleArcShape::Serialize(CArchive& ar) {
    MCadShape::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_center << m_radius << m_startAngle << m_endAngle << m_stroke << m_fill << m_arrows;
        return;
    }
    ar >> m_center >> m_radius >> m_startAngle >> m_endAngle >> m_stroke >> m_fill >> m_arrows;
    RegeneratePoints();
}

MCadShape* MCircleArcShape::Duplicate() const {
    // Sectors store more, and a fill no file can hold makes the stored way fail.
    if (typeid(*this) != typeid(MCircleArcShape) || !m_fill.IsStorable()) return MCadShape::Duplicate();
    auto* copy = new MCircleArcShape;
    CopyCircleInto(*copy);
    copy->m_startAngle = m_startAngle;
    copy->m_endAngle = m_endAngle;
    copy->RegeneratePoints();
    copy->CopyExtentsFrom(*this);
    return copy;
}

void MCircleArcShape::SetArc(double cx, double cy, double r, double startAngle, double endAngle) {
    m_center = {cx, cy};
    m_radius = r;
    m_startAngle = startAngle;
    m_endAngle = endAngle;
    RegeneratePoints();
}

void MCircleArcShape::RegeneratePoints() {
    NormalizeArcAngles(m_startAngle, m_endAngle);
    ComputeOutlineOnDemand();
}

namespace {

// One point of an arc's outline: its own and its extremes' come from this one expression.
inline MFloatPoint ArcOutlinePoint(const MFloatPoint& c, double radius, double angle) {
    return {c.x + radius * std::cos(angle), c.y + radius * std::sin(angle)};
}

}  // namespace

int MCircleArcShape::ComputeOutline(MFloatPoint* out) const {
    if (!out) return kArcPoints;
    const double step = (m_endAngle - m_startAngle) / (kArcPoints - 1);
    double angle = m_startAngle;
    const MFloatPoint& c = OutlineOrigin(m_center);
    for (int i = 0; i < kArcPoints; ++i, angle += step)
        out[i] = ArcOutlinePoint(c, m_radius, angle);
    return kArcPoints;
}

int MCircleArcShape::ComputeOutlineExtremes(MFloatPoint* out) const {
    // A sector's outline ends at its centre; others than these compute the whole.
    const int count = ComputeOutline(nullptr);
    if (count != kArcPoints && count != kArcPoints + 1) return 0;
    // Between two quarter turns cosine and sine each run one way, so the extremes of x and y lie
    // at the ends and next to the quarter turns: where the points lie far enough apart that
    // rounding cannot reorder neighbours, and the angles are small enough to place them.
    const double step = (m_endAngle - m_startAngle) / (kArcPoints - 1);
    if (!(step >= 1e-3) || !(std::fabs(m_startAngle) <= 1e3) || !(std::fabs(m_endAngle) <= 1e3)) return 0;
    double angles[kArcPoints];
    double angle = m_startAngle;
    for (int i = 0; i < kArcPoints; ++i, angle += step)
        angles[i] = angle;
    bool wanted[kArcPoints] = {};
    wanted[0] = wanted[kArcPoints - 1] = true;
    constexpr double kQuarter = kTwoPi / 4;
    for (double turn = std::ceil(m_startAngle / kQuarter) - 1;
         turn * kQuarter <= angles[kArcPoints - 1] + kQuarter; turn += 1) {
        const int near = static_cast<int>(std::floor((turn * kQuarter - m_startAngle) / step));
        for (int i = near - 1; i <= near + 2; ++i)
            if (i >= 0 && i < kArcPoints) wanted[i] = true;
    }
    const MFloatPoint& c = OutlineOrigin(m_center);
    int n = 0;
    for (int i = 0; i < kArcPoints; ++i)
        if (wanted[i]) out[n++] = ArcOutlinePoint(c, m_radius, angles[i]);
    if (count == kArcPoints + 1) out[n++] = c;
    return n;
}

BOOL MCircleArcShape::GetOutlineCurve(std::vector<MFloatPoint>& run) const {
    const BOOL closed = IsClosedFlag();
    if (!closed && (m_arrows.startStyle != kArrowNone || m_arrows.endStyle != kArrowNone)) return FALSE;
    const MFloatPoint start(m_center.x + m_radius * std::cos(m_startAngle),
                            m_center.y + m_radius * std::sin(m_startAngle));
    if (!OutlineStartsAt(start, kArcPoints)) return FALSE;
    AppendArcPieces(run, m_center, m_radius, m_radius, m_startAngle, m_endAngle - m_startAngle);
    if (closed) AppendLinePiece(run, run.front());
    return TRUE;
}

BOOL MCircleArcShape::IsAngleOnArc(double a) const {
    if (a - m_startAngle > kAngleTolerance && m_endAngle - a > kAngleTolerance) return TRUE;
    const double up = a + kTwoPi;
    return up - m_startAngle > kAngleTolerance && m_endAngle - up > kAngleTolerance;
}

int MCircleArcShape::GetHandleCount() const {
    return PointEditFlag ? 6 : 8;
}

MFloatPoint MCircleArcShape::GetHandle(int index) const {
    if (!PointEditFlag) return MCadShape::GetHandle(index);
    const MFloatPoint& c = m_center;
    MFloatPoint p;
    switch (index) {
        case 0:
            p.SetOnCircle(c.x, c.y, m_radius, m_startAngle);
            return p;
        case 1:
            p.SetOnCircle(c.x, c.y, m_radius, m_endAngle);
            return p;
        case 2:
            return {c.x, c.y + m_radius};
        case 3:
            return {c.x + m_radius, c.y};
        case 4:
            return {c.x, c.y - m_radius};
        case 5:
            return {c.x - m_radius, c.y};
        default:
            return c;
    }
}

void MCircleArcShape::MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect) {
    if (!PointEditFlag) {
        MCircleShape::MoveHandle(index, to, keepRatio, rect);
        return;
    }
    switch (*index) {
        case 0:
        case 1: {
            double start = m_startAngle, end = m_endAngle;
            (*index == 0 ? start : end) = (to - m_center).GetAngle();
            if (std::fabs(start - end) < kZeroTolerance) return;
            if (end < start) end += kTwoPi;
            m_startAngle = start;
            m_endAngle = end;
            RegeneratePoints();
            break;
        }
        case 2:
        case 4:
            MoveRadiusHandle(TRUE, to);
            break;
        case 3:
        case 5:
            MoveRadiusHandle(FALSE, to);
            break;
        default:
            break;
    }
}

BOOL MCircleArcShape::HitTest(MCadView* view, const CPoint& point, MFloatPoint* foot, int tolerance) const {
    if (!MCircleShape::HitTest(view, point, foot, tolerance)) return FALSE;
    return IsAngleOnArc((view->LogicalToDoc(point) - m_center).GetAngle());
}

int MCircleArcShape::IntersectCircle(double cx, double cy, double px, double py, double r,
                                     MFloatPointArray* out) const {
    if (MFloatPoint(cx, cy).IsEqual(m_center)) {
        if (r != m_radius) return 0;
        if (!IsAngleOnArc((MFloatPoint(px, py) - MFloatPoint(cx, cy)).GetAngle())) return 0;
        if (out) out->Add({px, py});
        return 1;
    }
    return MPolygonShape::IntersectCircle(cx, cy, px, py, r, out);
}

double MCircleArcShape::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                                   int kinds, double best) {
    const MFloatPoint& c = m_center;
    if (kinds & kSnapCenter) best = OfferSnapCandidate(snap, cursor, aperture, c, kSnapCenter, best, this);
    if (kinds & kSnapEndPoint) {
        MFloatPoint start, end;
        start.SetOnCircle(c.x, c.y, m_radius, m_startAngle);
        end.SetOnCircle(c.x, c.y, m_radius, m_endAngle);
        best = OfferSnapCandidate(snap, cursor, aperture, start, kSnapEndPoint, best, this);
        best = OfferSnapCandidate(snap, cursor, aperture, end, kSnapEndPoint, best, this);
    }
    if (kinds & kSnapMidPoint) {
        MFloatPoint mid;
        mid.SetOnCircle(c.x, c.y, m_radius, (m_startAngle + m_endAngle) / 2);
        best = OfferSnapCandidate(snap, cursor, aperture, mid, kSnapMidPoint, best, this);
    }
    return best;
}

// The normalised angles of a full turn may land a rounding step apart in either order; equal
// angles make the full turn again.
void MCircleArcShape::MirrorX(double x, double) {
    m_center.x = 2 * x - m_center.x;
    const double start = m_startAngle, end = m_endAngle;
    m_startAngle = MRadian(kPi - end);
    m_endAngle = IsFullTurn(start, end) ? m_startAngle : MRadian(kPi - start).GetValue();
    RegeneratePoints();
}

void MCircleArcShape::MirrorY(double, double y) {
    m_center.y = 2 * y - m_center.y;
    const double start = m_startAngle, end = m_endAngle;
    m_startAngle = -MRadian(end).GetValue();
    m_endAngle = IsFullTurn(start, end) ? m_startAngle : -MRadian(start).GetValue();
    RegeneratePoints();
}

void MCircleArcShape::Rotate(double cx, double cy, double angle) {
    m_center.RotateAbout({cx, cy}, angle);
    const bool full = IsFullTurn(m_startAngle, m_endAngle);
    m_startAngle = MRadian(m_startAngle + angle);
    m_endAngle = full ? m_startAngle : MRadian(m_endAngle + angle).GetValue();
    RegeneratePoints();
}

double MCircleArcShape::GetArea() const {
    return MPolygonShape::GetArea();
}

short MCircleArcShape::GetTypeId() const {
    return kShapeArc;
}
MCadShape* MCircleArcShape::CreateNew() const {
    return new MCircleArcShape;
}

void MCircleArcShape::WriteText(CDocument*, std::ostream& os) const {
    WriteArcText(os, TRUE);
}

void MCircleArcShape::ReadText(CDocument*, std::istream& is) {
    ReadArcText(is, TRUE);
}

void MCircleArcShape::WriteArcText(std::ostream& os, BOOL withArrows) const {
    os << '\t' << m_center.x << ' ' << m_center.y << ' ' << m_radius << ' ' << m_startAngle << ' '
       << m_endAngle << ' ';
    WriteStrokeText(os, m_stroke);
    os << ' ';
    WriteFillStyleText(os, m_fill);
    if (withArrows) {
        os << ' ';
        WriteArrowInfoText(os, m_arrows);
    }
    os << '\n';
}

void MCircleArcShape::ReadArcText(std::istream& is, BOOL withArrows) {
    MFloatPoint centre;
    double radius = 0.0, start = 0.0, end = 0.0;
    MStroke stroke;
    MFillStyle fill;
    MArrowInfo arrows;
    is >> centre.x >> centre.y >> radius >> start >> end;
    ReadStrokeText(is, stroke);
    ReadFillStyleText(is, fill);
    if (withArrows) ReadArrowInfoText(is, arrows);
    SkipTextLine(is);
    if (is.fail()) return;
    m_center = centre;
    m_radius = radius;
    m_startAngle = start;
    m_endAngle = end;
    m_stroke = stroke;
    m_fill = fill;
    if (withArrows) m_arrows = arrows;
    RegeneratePoints();
}

bool MCircleArcShape::HasFiniteValues() const {
    return AllFinite({m_startAngle, m_endAngle}) && MCircleShape::HasFiniteValues();
}
