#include "model/shapes/curves/EllipseShape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <istream>
#include <ostream>

#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/render/BezierOutline.h"
#include "model/shapes/ShapeTypes.h"
#include "model/shapes/curves/CircleShape.h"
#include "platform/Archive.h"

IMPLEMENT_SERIAL(MEllipseShape, MPolygonShape, 1)

MEllipseShape::MEllipseShape() : MPolygonShape(TRUE) {
    SetVertexSnap(FALSE);
    ComputeOutlineOnDemand();
}
MEllipseShape::~MEllipseShape() = default;

void MEllipseShape::Serialize(CArchive& ar) {
    MCadShape::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_center << m_radiusX << m_radiusY << m_stroke << m_fill;
        return;
    }
    ar >> m_center >> m_radiusX >> m_radiusY >> m_stroke >> m_fill;
    UpdatePoints();
}

void MEllipseShape::SetEllipse(double cx, double cy, double rx, double ry) {
    m_center = {cx, cy};
    m_radiusX = rx;
    m_radiusY = ry;
    UpdatePoints();
}

BOOL MEllipseShape::GetOutlineCurve(std::vector<MFloatPoint>& run) const {
    const MVertexList v(*this);
    if (v.GetSize() != kOutlinePoints || !std::isfinite(m_radiusX) || !std::isfinite(m_radiusY)) return FALSE;
    // Moves shift the vertices and the centre separately: the two agree within rounding.
    const double tolerance = 1e-9 * (std::fabs(m_radiusX) + std::fabs(m_radiusY) + std::fabs(m_center.x) +
                                     std::fabs(m_center.y) + 1.0);
    if ((v[0] - MFloatPoint(m_center.x + m_radiusX, m_center.y)).GetLength() > tolerance) return FALSE;
    AppendArcPieces(run, m_center, m_radiusX, m_radiusY, 0.0, 2 * kPi);
    return TRUE;
}

void MEllipseShape::UpdatePoints() {
    ComputeOutlineOnDemand();
}

int MEllipseShape::ComputeOutline(MFloatPoint* out) const {
    if (!out) return kOutlinePoints;
    // The circle's directions are these cosines and sines, worked out once.
    static_assert(kOutlinePoints == MCircleShape::kOutlinePoints &&
                  kOutlineStep == MCircleShape::kOutlineStep);
    const MFloatPoint* directions = MCircleShape::OutlineDirections();
    const MFloatPoint& c = OutlineOrigin(m_center);
    for (int k = 0; k < kOutlinePoints; ++k)
        out[k] = {c.x + m_radiusX * directions[k].x, c.y + m_radiusY * directions[k].y};
    return kOutlinePoints;
}

int MEllipseShape::GetHandleCount() const {
    return PointEditFlag ? 4 : 8;
}

MFloatPoint MEllipseShape::GetHandle(int index) const {
    if (!PointEditFlag) return MCadShape::GetHandle(index);
    const MFloatPoint& c = m_center;
    switch (index) {
        case 0:
            return {c.x, c.y + m_radiusY};
        case 1:
            return {c.x + m_radiusX, c.y};
        case 2:
            return {c.x, c.y - m_radiusY};
        case 3:
            return {c.x - m_radiusX, c.y};
        default:
            return c;
    }
}

void MEllipseShape::MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect) {
    if (!PointEditFlag) {
        MCadShape::MoveHandle(index, to, keepRatio, rect);
        UpdatePoints();
        return;
    }
    double rx = m_radiusX, ry = m_radiusY;
    if (*index == 0 || *index == 2)
        ry = std::fabs(to.y - m_center.y);
    else if (*index == 1 || *index == 3)
        rx = std::fabs(to.x - m_center.x);
    else
        return;
    if (!(rx >= kZeroTolerance && ry >= kZeroTolerance)) return;
    m_radiusX = rx;
    m_radiusY = ry;
    UpdatePoints();
}

void MEllipseShape::ScaleBy(const MShapeScale& scale) {
    const MFloatPoint& c = scale.centre;
    const double sx = scale.sx, sy = scale.sy;
    if (std::fabs(sx) < kZeroTolerance || std::fabs(sy) < kZeroTolerance) return;
    m_center = {c.x + sx * (m_center.x - c.x), c.y + sy * (m_center.y - c.y)};
    m_radiusX *= std::fabs(sx);
    m_radiusY *= std::fabs(sy);
    UpdatePoints();
    m_extent.Scale(c, sx, sy);
    m_extent.Normalize();
}

void MEllipseShape::Move(const MFloatPoint& offset) {
    MoveOutline(m_center, offset);
    m_center += offset;
}

MCadShape* MEllipseShape::Clone() const {
    if (PointEditFlag) return Duplicate();
    return CopyAsPolygon();
}

void MEllipseShape::MirrorX(double x, double) {
    m_center.x = 2 * x - m_center.x;
    UpdatePoints();
}

void MEllipseShape::MirrorY(double, double y) {
    m_center.y = 2 * y - m_center.y;
    UpdatePoints();
}

int MEllipseShape::QuarterTurns(double angle) {
    const MRadian a(angle);
    for (int i = 0; i < 4; ++i)
        if (std::fabs(MRadian(i * (kPi / 2) - a).GetValue()) < kZeroTolerance) return i;
    return -1;
}

void MEllipseShape::RotateQuarters(double cx, double cy, double angle, int quarters) {
    m_center.RotateAbout({cx, cy}, angle);
    if (quarters == 1 || quarters == 3) std::swap(m_radiusX, m_radiusY);
    UpdatePoints();
}

void MEllipseShape::Rotate(double cx, double cy, double angle) {
    const int quarters = QuarterTurns(angle);
    if (quarters >= 0) {
        RotateQuarters(cx, cy, angle, quarters);
        return;
    }
    m_center.RotateAbout({cx, cy}, angle);
    UpdatePoints();
}

MCadShape* MEllipseShape::CreateTransformed(const MShapeTransform& transform) const {
    // Only a polygon can hold an outline turned otherwise, also in point-edit mode. A quarter
    // turn, which Rotate makes exactly, keeps the ellipse.
    const bool keeps = transform.kind != MShapeTransform::kRotate || QuarterTurns(transform.angle) >= 0;
    MCadShape* copy = keeps ? Duplicate() : CopyAsPolygon();
    transform.ApplyTo(*copy);
    return copy;
}

int MEllipseShape::GetCapabilities() const {
    return kShapeCanEdit;
}
BOOL MEllipseShape::IsPointEditMode() const {
    return FALSE;
}

short MEllipseShape::GetTypeId() const {
    return kShapeEllipse;
}
MCadShape* MEllipseShape::CreateNew() const {
    return new MEllipseShape;
}

void MEllipseShape::WriteText(CDocument*, std::ostream& os) const {
    os << '\t' << m_center.x << ' ' << m_center.y << ' ' << m_radiusX << ' ' << m_radiusY << ' ';
    WriteStrokeText(os, m_stroke);
    os << ' ';
    WriteFillStyleText(os, m_fill);
    os << '\n';
}

void MEllipseShape::ReadText(CDocument*, std::istream& is) {
    MFloatPoint centre;
    double rx = 0.0, ry = 0.0;
    MStroke stroke;
    MFillStyle fill;
    is >> centre.x >> centre.y >> rx >> ry;
    ReadStrokeText(is, stroke);
    ReadFillStyleText(is, fill);
    SkipTextLine(is);
    if (is.fail()) return;
    m_center = centre;
    m_radiusX = rx;
    m_radiusY = ry;
    m_stroke = stroke;
    m_fill = fill;
    UpdatePoints();
}

bool MEllipseShape::HasFiniteValues() const {
    return IsFinite(m_center) && AllFinite({m_radiusX, m_radiusY}) && MPolygonShape::HasFiniteValues();
}
