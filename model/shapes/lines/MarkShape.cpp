#include "model/shapes/lines/MarkShape.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <ostream>

#include "model/CadView.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/render/DrawFlags.h"
#include "model/shapes/ShapeTypes.h"
#include "model/shapes/containers/RectPicking.h"
#include "platform/Archive.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"

IMPLEMENT_SERIAL(MMarkShape, MCadShape, 1)

MMarkShape::MMarkShape() {
    SetDrawExtent(MFloatRect());
}
MMarkShape::~MMarkShape() = default;

void MMarkShape::Serialize(CArchive& ar) {
    MCadShape::Serialize(ar);
    if (ar.IsStoring())
        ar << m_position << m_size;
    else
        ar >> m_position >> m_size;
}

int MMarkShape::GetHandleCount() const {
    return 1;
}
MFloatPoint MMarkShape::GetHandle(int) const {
    return m_position;
}

void MMarkShape::DrawCross(MCadView* view, CDC* dc) const {
    const double s = view->PaperToDocLength(m_size);
    const CRect r = view->DocToLogicalRect(
        MFloatRect(m_position.x - s, m_position.y - s, m_position.x + s, m_position.y + s));
    dc->MoveTo(r.left, r.top);
    dc->LineTo(r.right, r.bottom);
    dc->MoveTo(r.right, r.top);
    dc->LineTo(r.left, r.bottom);
}

void MMarkShape::Render(MCadView* view, CDC* dc, MDrawMode mode) {
    if (!view || !dc) return;
    switch (mode) {
        case MDrawMode::kNormal: {
            if (!dc->HasAttribDC() || dc->IsPrinting() || IsMetafileDrawing()) return;
            CPen pen(PS_SOLID, 1, kMarkColor);
            CSelectScope selectPen(dc, &pen);
            return DrawCross(view, dc);
        }
        case MDrawMode::kTracking:
            return DrawCross(view, dc);
        case MDrawMode::kHighlight: {
            CSelectScope selectPen(dc, BLACK_PEN);
            return DrawCross(view, dc);
        }
        case MDrawMode::kGrayed: {
            CPen pen(PS_SOLID, 1, GetSysColor(COLOR_GRAYTEXT));
            CSelectScope selectPen(dc, &pen);
            return DrawCross(view, dc);
        }
    }
}

void MMarkShape::ScaleBy(const MShapeScale& scale) {
    const MFloatPoint& c = scale.centre;
    const double sx = scale.sx, sy = scale.sy;
    if (std::fabs(sx) < kZeroTolerance || std::fabs(sy) < kZeroTolerance) return;
    m_position = {c.x + sx * (m_position.x - c.x), c.y + sy * (m_position.y - c.y)};
    m_extent = MFloatRect(m_position.x - m_size, m_position.y - m_size, m_position.x + m_size,
                          m_position.y + m_size);
    m_extent.Normalize();
}

void MMarkShape::Move(const MFloatPoint& offset) {
    m_position += offset;
}

double MMarkShape::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                              int kinds, double best) {
    if (kinds & kSnapEndPoint)
        best = OfferSnapCandidate(snap, cursor, aperture, m_position, kSnapEndPoint, best, this);
    return best;
}

CRect MMarkShape::PickRect(MCadView* view) const {
    const CPoint p = view->DocToLogical(m_position);
    CRect r(p.x - kPickHalfSide, p.y - kPickHalfSide, p.x + kPickHalfSide, p.y + kPickHalfSide);
    r.InflateRect(1, 1);
    return r;
}

void MMarkShape::DrawIfVisible(MCadView* view, CDC* dc) {
    if (!view || !dc || !dc->HasAttribDC() || dc->IsPrinting()) return;
    const CPoint p = view->DocToLogical(m_position);
    CRect r(p.x - kPickHalfSide, p.y - kPickHalfSide, p.x + kPickHalfSide, p.y + kPickHalfSide);
    r.InflateRect(2, 2);
    if (dc->RectVisible(&r)) Draw(view, dc);
}

BOOL MMarkShape::HitTestPixel(MCadView* view, const CPoint& point, int tolerance) {
    return view && PickSquareMeets(view, point, tolerance, PickRect(view));
}

BOOL MMarkShape::IntersectsDeviceRectPixel(MCadView* view, const CRect& rect) {
    if (!view) return FALSE;
    CRect overlap;
    return overlap.IntersectRect(PickRect(view), rect);
}

void MMarkShape::Recalc(MCadView* view) {
    const MFloatPoint& p = m_position;
    m_extent = MFloatRect(p.x - m_size, p.y - m_size, p.x + m_size, p.y + m_size);
    m_extent.Normalize();
    const double s = view ? view->PaperToDocLength(m_size) : m_size;
    MFloatRect drawn(p.x - s, p.y - s, p.x + s, p.y + s);
    drawn.Normalize();
    SetDrawExtent(drawn);
}

void MMarkShape::MirrorX(double x, double) {
    m_position.x = 2 * x - m_position.x;
}
void MMarkShape::MirrorY(double, double y) {
    m_position.y = 2 * y - m_position.y;
}
void MMarkShape::Rotate(double cx, double cy, double angle) {
    m_position.RotateAbout({cx, cy}, angle);
}

int MMarkShape::GetCapabilities() const {
    return kShapeCanEdit;
}

short MMarkShape::GetTypeId() const {
    return kShapeMark;
}
MCadShape* MMarkShape::CreateNew() const {
    return new MMarkShape;
}

void MMarkShape::WriteText(CDocument*, std::ostream& os) const {
    os << '\t' << m_position.x << ' ' << m_position.y << ' ' << m_size << '\n';
}

void MMarkShape::ReadText(CDocument*, std::istream& is) {
    MFloatPoint position;
    double size = 0.0;
    is >> position.x >> position.y >> size;
    SkipTextLine(is);
    if (is.fail()) return;
    m_position = position;
    m_size = size;
}

bool MMarkShape::HasFiniteValues() const {
    return IsFinite(m_position) && std::isfinite(m_size) && MCadShape::HasFiniteValues();
}
