#include "model/shapes/curves/CircleShape.h"

#include <algorithm>
#include <array>
#include <cfloat>
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

IMPLEMENT_SERIAL(MCircleShape, MPolygonShape, 1)

MCircleShape::MCircleShape() : MPolygonShape(TRUE) {
    SetVertexSnap(FALSE);
    ComputeOutlineOnDemand();
}
MCircleShape::~MCircleShape() = default;

void MCircleShape::Serialize(CArchive& ar) {
    MCadShape::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_center << m_radius << m_stroke << m_fill << m_arrows;
        return;
    }
    ar >> m_center >> m_radius >> m_stroke >> m_fill >> m_arrows;
    RegeneratePoints();
}

MCadShape* MCircleShape::Duplicate() const {
    // The arc family stores more, and a fill no file can hold makes the stored way fail.
    if (typeid(*this) != typeid(MCircleShape) || !m_fill.IsStorable()) return MCadShape::Duplicate();
    auto* copy = new MCircleShape;
    CopyCircleInto(*copy);
    copy->RegeneratePoints();
    copy->CopyExtentsFrom(*this);
    return copy;
}

void MCircleShape::CopyCircleInto(MCircleShape& copy) const {
    copy.m_center = m_center;
    copy.m_radius = m_radius;
    copy.m_stroke = m_stroke;
    // Loading clears a record without colours to the plain default.
    if (!m_fill.IsNone()) copy.m_fill = m_fill;
    copy.m_arrows = m_arrows;
}

void MCircleShape::SetCircle(double cx, double cy, double r) {
    m_center = {cx, cy};
    m_radius = r;
    RegeneratePoints();
}

// The same for every circle: worked out once, not per circle.
const MFloatPoint* MCircleShape::OutlineDirections() {
    static const auto directions = [] {
        std::array<MFloatPoint, kOutlinePoints> d{};
        for (int k = 0; k < kOutlinePoints; ++k)
            d[k] = {std::cos(k * kOutlineStep), std::sin(k * kOutlineStep)};
        return d;
    }();
    return directions.data();
}

void MCircleShape::RegeneratePoints() {
    ComputeOutlineOnDemand();
}

int MCircleShape::ComputeOutline(MFloatPoint* out) const {
    if (!out) return kOutlinePoints;
    const MFloatPoint* directions = OutlineDirections();
    const MFloatPoint& c = OutlineOrigin(m_center);
    for (int k = 0; k < kOutlinePoints; ++k)
        out[k] = {c.x + m_radius * directions[k].x, c.y + m_radius * directions[k].y};
    return kOutlinePoints;
}

BOOL MCircleShape::OutlineStartsAt(const MFloatPoint& point, int count) const {
    if (GetPointCount() != count || !std::isfinite(m_radius)) return FALSE;
    // A computed outline starts at point by construction; the expression stays the same, so that
    // non-finite numbers answer as kept vertices do. After moves it starts where they shifted it.
    MFloatPoint first = point;
    if (!m_points.IsEmpty())
        first = m_points[0];
    else if (HasPendingMoves())
        first = MVertexList(*this)[0];
    // Moves shift the vertices and the centre separately: the two agree within rounding.
    const double tolerance =
        1e-9 * (std::fabs(m_radius) + std::fabs(m_center.x) + std::fabs(m_center.y) + 1.0);
    return (first - point).GetLength() <= tolerance;
}

BOOL MCircleShape::GetOutlineCurve(std::vector<MFloatPoint>& run) const {
    if (!OutlineStartsAt({m_center.x + m_radius, m_center.y}, kOutlinePoints)) return FALSE;
    AppendArcPieces(run, m_center, m_radius, m_radius, 0.0, 2 * kPi);
    return TRUE;
}

void MCircleShape::UpdateExtentFromPoints() {
    const MVertexList v(*this);
    if (v.IsEmpty()) return;
    MFloatRect r(v[0], v[0]);
    for (const MFloatPoint& p : v)
        r.AddPoint(p);
    r.Normalize();
    m_extent = r;
}

int MCircleShape::GetHandleCount() const {
    return PointEditFlag ? 4 : 8;
}

MFloatPoint MCircleShape::GetHandle(int index) const {
    if (!PointEditFlag) return MCadShape::GetHandle(index);
    const MFloatPoint& c = m_center;
    switch (index) {
        case 0:
            return {c.x, c.y + m_radius};
        case 1:
            return {c.x + m_radius, c.y};
        case 2:
            return {c.x, c.y - m_radius};
        case 3:
            return {c.x - m_radius, c.y};
        default:
            return c;
    }
}

void MCircleShape::MoveRadiusHandle(BOOL alongY, const MFloatPoint& to) {
    const double r = alongY ? std::fabs(to.y - m_center.y) : std::fabs(to.x - m_center.x);
    if (!(r >= kZeroTolerance)) return;
    m_radius = r;
    RegeneratePoints();
}

void MCircleShape::MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect) {
    if (!PointEditFlag) {
        MCadShape::MoveHandle(index, to, keepRatio, rect);
        RegeneratePoints();
        return;
    }
    if (*index == 0 || *index == 2)
        MoveRadiusHandle(TRUE, to);
    else if (*index == 1 || *index == 3)
        MoveRadiusHandle(FALSE, to);
}

void MCircleShape::ScaleBy(const MShapeScale& scale) {
    const MFloatPoint& c = scale.centre;
    const double sx = scale.sx, sy = scale.sy;
    if (std::fabs(sx) < kZeroTolerance || std::fabs(sy) < kZeroTolerance) return;
    m_center = {c.x + sx * (m_center.x - c.x), c.y + sy * (m_center.y - c.y)};
    m_radius *= (std::fabs(sx) + std::fabs(sy)) / 2;
    RegeneratePoints();
    UpdateExtentFromPoints();
}

void MCircleShape::Move(const MFloatPoint& offset) {
    MoveOutline(m_center, offset);
    m_center += offset;
}

BOOL MCircleShape::HitTest(MCadView* view, const CPoint& point, MFloatPoint* foot, int tolerance) const {
    const MFloatPoint p = view->LogicalToDoc(point);
    const MFloatPoint v = p - m_center;
    const double d = v.GetLength();
    if (d < kZeroTolerance) return FALSE;
    const MFloatPoint nearest = m_center + v * (m_radius / d);
    if (foot) *foot = nearest;
    const CPoint logical = view->DocToLogical(nearest);
    const double dx = logical.x - point.x, dy = logical.y - point.y;
    return dx * dx + dy * dy < static_cast<double>(tolerance) * tolerance;
}

int MCircleShape::IntersectCircle(double cx, double cy, double px, double py, double r,
                                  MFloatPointArray* out) const {
    if (MFloatPoint(cx, cy).IsEqual(m_center)) {
        if (r != m_radius) return 0;
        if (out) out->Add({px, py});
        return 1;
    }
    return MPolygonShape::IntersectCircle(cx, cy, px, py, r, out);
}

double MCircleShape::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                                int kinds, double best) {
    const double cx = m_center.x, cy = m_center.y, r = m_radius;
    if (kinds & kSnapCenter)
        best = OfferSnapCandidate(snap, cursor, aperture, m_center, kSnapCenter, best, this);
    if (kinds & kSnapMidPoint) {
        const double b = r / std::sqrt(2.0);
        const MFloatPoint candidates[8] = {{cx - r, cy},     {cx + r, cy},     {cx, cy - r},
                                           {cx, cy + r},     {cx + b, cy - b}, {cx - b, cy + b},
                                           {cx - b, cy - b}, {cx + b, cy + b}};
        for (const MFloatPoint& p : candidates)
            best = OfferSnapCandidate(snap, cursor, aperture, p, kSnapMidPoint, best, this);
    }
    return best;
}

MCadShape* MCircleShape::Clone() const {
    if (PointEditFlag) return Duplicate();
    return CopyAsPolygon();
}

BOOL MCircleShape::IsValid() const {
    return m_radius > 0;
}

bool MCircleShape::HasFiniteValues() const {
    return IsFinite(m_center) && std::isfinite(m_radius) && MPolygonShape::HasFiniteValues();
}

void MCircleShape::MirrorX(double x, double) {
    m_center.x = 2 * x - m_center.x;
    RegeneratePoints();
}

void MCircleShape::MirrorY(double, double y) {
    m_center.y = 2 * y - m_center.y;
    RegeneratePoints();
}

void MCircleShape::Rotate(double cx, double cy, double angle) {
    m_center.RotateAbout({cx, cy}, angle);
    RegeneratePoints();
}

// The copies keep their class whatever PointEditFlag says; the virtual transform of the copy gives
// the arc family its angle changes too.
MCadShape* MCircleShape::CreateTransformed(const MShapeTransform& transform) const {
    MCadShape* copy = Duplicate();
    transform.ApplyTo(*copy);
    return copy;
}

int MCircleShape::GetCapabilities() const {
    return kShapeCanEdit | kShapeHasTangent;
}

double MCircleShape::GetAngleAt(int kind, const MFloatPoint& point, MFloatPoint* out) const {
    if (kind == kShapeHasTangent) return TangentAt(point, out);
    return MPolygonShape::GetAngleAt(kind, point, out);
}

double MCircleShape::TangentAt(const MFloatPoint& point, MFloatPoint* reference) const {
    const double r = m_radius;
    if (!(r > kZeroTolerance)) return DBL_MAX;
    if (!reference) {
        // A point off the circle would take acos outside its domain: the nearest circle point counts.
        const double c = std::clamp((point.x - m_center.x) / r, -1.0, 1.0);
        const double a = std::acos(c) + kPi / 2;
        return point.y < m_center.y ? -a : a;
    }
    const MFloatPoint q = *reference;
    const double e = (m_center - q).GetLength();
    const double tol = std::fabs(r * 2.220446e-16 * 10);
    if (e - r <= tol || e <= tol) return DBL_MAX;
    const double base = (m_center - q).GetAngle();
    const double g = std::asin(r / e);
    const double d = std::sqrt(e * e - r * r);
    const MFloatPoint t1 = q + MFloatPoint(std::cos(base + g), std::sin(base + g)) * d;
    const MFloatPoint t2 = q + MFloatPoint(std::cos(base - g), std::sin(base - g)) * d;
    return (t2 - point).GetLength() <= (t1 - point).GetLength() ? base - g : base + g;
}

BOOL MCircleShape::IsPointEditMode() const {
    return FALSE;
}
double MCircleShape::GetArea() const {
    return kPi * m_radius * m_radius;
}

short MCircleShape::GetTypeId() const {
    return kShapeCircle;
}
MCadShape* MCircleShape::CreateNew() const {
    return new MCircleShape;
}

void MCircleShape::WriteText(CDocument*, std::ostream& os) const {
    os << '\t' << m_center.x << ' ' << m_center.y << ' ' << m_radius << ' ';
    WriteStrokeText(os, m_stroke);
    os << ' ';
    WriteFillStyleText(os, m_fill);
    os << '\n';
}

void MCircleShape::ReadText(CDocument*, std::istream& is) {
    MFloatPoint centre;
    double radius = 0.0;
    MStroke stroke;
    MFillStyle fill;
    is >> centre.x >> centre.y >> radius;
    ReadStrokeText(is, stroke);
    ReadFillStyleText(is, fill);
    SkipTextLine(is);
    if (is.fail()) return;
    m_center = centre;
    m_radius = radius;
    m_stroke = stroke;
    m_fill = fill;
    RegeneratePoints();
}
