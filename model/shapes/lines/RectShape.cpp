#include "model/shapes/lines/RectShape.h"

#include <cmath>
#include <cstdint>
#include <istream>
#include <ostream>

#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/ShapeTypes.h"
#include "platform/Archive.h"

IMPLEMENT_SERIAL(MRectShape, MPolygonShape, 1)

namespace {

// The number of quarter turns (0 to 3) that angle makes, or -1 when it is no multiple of one.
int QuarterTurns(double angle) {
    const MRadian a(angle);
    for (int i = 0; i < 4; ++i)
        if (std::fabs(MRadian(i * (kPi / 2) - a).GetValue()) < kZeroTolerance) return i;
    return -1;
}

}  // namespace

MRectShape::MRectShape() : MPolygonShape(TRUE) {
    ComputeOutlineOnDemand();
}
MRectShape::~MRectShape() = default;

void MRectShape::Serialize(CArchive& ar) {
    MCadShape::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_origin << m_size << m_stroke << m_fill;
        return;
    }
    ar >> m_origin >> m_size >> m_stroke >> m_fill;
    RebuildCorners();
}

void MRectShape::SetRect(double x, double y, double w, double h) {
    m_origin = {x, y};
    m_size = {w, h};
    RebuildCorners();
}

void MRectShape::RebuildCorners() {
    ComputeOutlineOnDemand();
}

int MRectShape::ComputeOutline(MFloatPoint* out) const {
    if (!out) return kCorners;
    const MFloatPoint& origin = OutlineOrigin(m_origin);
    const double x = origin.x, y = origin.y, w = m_size.cx, h = m_size.cy;
    out[0] = {x, y + h};
    out[1] = {x + w, y + h};
    out[2] = {x + w, y};
    out[3] = {x, y};
    return kCorners;
}

void MRectShape::MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect) {
    if (!PointEditFlag) {
        MCadShape::MoveHandle(index, to, keepRatio, rect);
        return;
    }
    // Corner i fixes one vertical and one horizontal edge; the opposite corner stays put.
    double x0 = m_origin.x, x1 = m_origin.x + m_size.cx;
    double y0 = m_origin.y, y1 = m_origin.y + m_size.cy;
    switch (*index) {
        case 0:
            x0 = to.x, y1 = to.y;
            break;
        case 1:
            x1 = to.x, y1 = to.y;
            break;
        case 2:
            x1 = to.x, y0 = to.y;
            break;
        case 3:
            x0 = to.x, y0 = to.y;
            break;
        default:
            AfxThrowInvalidArgException();
    }
    SetRect(x0, y0, x1 - x0, y1 - y0);
}

void MRectShape::ScaleBy(const MShapeScale& scale) {
    const MFloatPoint& c = scale.centre;
    const double sx = scale.sx, sy = scale.sy;
    if (std::fabs(sx) < kZeroTolerance || std::fabs(sy) < kZeroTolerance) return;
    m_origin = {c.x + sx * (m_origin.x - c.x), c.y + sy * (m_origin.y - c.y)};
    m_size = {m_size.cx * sx, m_size.cy * sy};
    RebuildCorners();
    m_extent.Scale(c, sx, sy);
    m_extent.Normalize();
}

void MRectShape::Move(const MFloatPoint& offset) {
    MoveOutline(m_origin, offset);
    m_origin += offset;
}

MCadShape* MRectShape::Clone() const {
    return CopyAsPolygon();
}

BOOL MRectShape::IsValid() const {
    return m_size.cx != 0 && m_size.cy != 0;
}

bool MRectShape::HasFiniteValues() const {
    return IsFinite(m_origin) && AllFinite({m_size.cx, m_size.cy}) && MPolygonShape::HasFiniteValues();
}

void MRectShape::MirrorX(double x, double) {
    m_origin.x = 2 * x - m_origin.x;
    m_size.cx = -m_size.cx;
    RebuildCorners();
}

void MRectShape::MirrorY(double, double y) {
    m_origin.y = 2 * y - m_origin.y;
    m_size.cy = -m_size.cy;
    RebuildCorners();
}

void MRectShape::Rotate(double cx, double cy, double angle) {
    const double w = m_size.cx, h = m_size.cy;
    const MFloatPoint pivot(cx, cy);
    switch (QuarterTurns(angle)) {
        case 0:
            m_origin.RotateAbout(pivot, angle);
            break;
        case 1:
            m_origin.RotateAbout(pivot, angle);
            m_size = {-h, w};
            break;
        case 2:
            m_origin.RotateAbout(pivot, angle);
            m_size = {-w, -h};
            break;
        case 3:
            m_origin.RotateAbout(pivot, angle);
            m_size = {h, -w};
            break;
        default: {
            const MFloatPoint half(w / 2, h / 2);
            m_origin = (m_origin + half).GetRotatedAbout(pivot, angle) - half;
            break;
        }
    }
    RebuildCorners();
}

BOOL MRectShape::IsPointEditMode() const {
    return FALSE;
}

short MRectShape::GetTypeId() const {
    return kShapeRect;
}
MCadShape* MRectShape::CreateNew() const {
    return new MRectShape;
}

void MRectShape::WriteText(CDocument*, std::ostream& os) const {
    os << '\t' << m_origin.x << ' ' << m_origin.y << ' ' << m_size.cx << ' ' << m_size.cy << ' ';
    WriteStrokeText(os, m_stroke);
    os << ' ';
    WriteFillStyleText(os, m_fill);
    os << '\n';
}

void MRectShape::ReadText(CDocument*, std::istream& is) {
    MFloatPoint origin;
    MFloatSize size;
    MStroke stroke;
    MFillStyle fill;
    is >> origin.x >> origin.y >> size.cx >> size.cy;
    ReadStrokeText(is, stroke);
    ReadFillStyleText(is, fill);
    SkipTextLine(is);
    if (is.fail()) return;
    m_origin = origin;
    m_size = size;
    m_stroke = stroke;
    m_fill = fill;
    RebuildCorners();
}
