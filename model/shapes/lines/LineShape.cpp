#include "model/shapes/lines/LineShape.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <ostream>

#include "model/CadView.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/render/PolyLine.h"
#include "model/shapes/ShapeTypes.h"
#include "platform/Archive.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"

IMPLEMENT_SERIAL(MLineShape, MCadShape, 1)

MLineShape::MLineShape() = default;
MLineShape::MLineShape(const MFloatPoint& start, const MFloatPoint& end) : m_start(start), m_end(end) {}
MLineShape::~MLineShape() = default;

void MLineShape::Serialize(CArchive& ar) {
    MCadShape::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_stroke << m_arrows << m_start << m_end;
    } else {
        ar >> m_stroke >> m_arrows >> m_start >> m_end;
    }
}

BOOL MLineShape::IsClosed() const {
    return FALSE;
}

const MFloatPointArray& MLineShape::GetPoints() const {
    MFloatPointArray& points = ScratchPoints();
    points.SetSize(2);
    points[0] = m_start;
    points[1] = m_end;
    return points;
}

int MLineShape::GetHandleCount() const {
    return 2;
}
MFloatPoint MLineShape::GetHandle(int index) const {
    return index == 0 ? m_start : m_end;
}

void MLineShape::MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect) {
    if (*index != 0 && *index != 1) return;
    MFloatPoint& moved = *index == 0 ? m_start : m_end;
    const MFloatPoint fixed = *index == 0 ? m_end : m_start;
    if (!keepRatio) {
        moved = to;
    } else {
        const double d = (to - fixed).GetLength();
        const double alpha = (m_end - m_start).GetAngle();
        const double beta = (to - fixed).GetAngle();
        const double direction =
            std::fabs(NormalizeAngle(alpha - beta)) < kPi / 2 ? alpha : NormalizeAngle(alpha + kPi);
        moved = fixed + MFloatPoint(std::cos(direction), std::sin(direction)) * d;
    }
    m_extent = MFloatRect(m_start, m_end);
    m_extent.Normalize();
    if (rect) *rect = m_extent;
}

void MLineShape::DrawLine(MCadView* view, CDC* dc, int lineStyle) const {
    const MFloatPoint points[2] = {m_start, m_end};
    GetPolyLineRenderer().Draw(view, dc, points, 2, m_stroke.width, lineStyle, FALSE);
    if ((m_end - m_start).GetLength() == 0.0) return;
    const double theta = GetAngle();
    if (m_arrows.startStyle != kArrowNone)
        DrawArrowHead(this, view, dc, m_start, theta, m_arrows.startStyle, m_arrows.GetStartSize());
    if (m_arrows.endStyle != kArrowNone)
        DrawArrowHead(this, view, dc, m_end, theta + kPi, m_arrows.endStyle, m_arrows.GetEndSize());
}

void MLineShape::Render(MCadView* view, CDC* dc, MDrawMode mode) {
    switch (mode) {
        case MDrawMode::kNormal: {
            if (GetColor() >= kNoColor && !m_stroke.IsAuxiliary()) return;
            const COLORREF color = MapColorForMono(dc, GetColor());
            CPen pen(PS_SOLID, 1, color);
            CBrush brush(color);
            CSelectScope selectPen(dc, &pen);
            CSelectScope selectBrush(dc, m_stroke.width != 0.0 ? &brush : nullptr);
            return DrawLine(view, dc, m_stroke.style);
        }
        case MDrawMode::kTracking: {
            // As a thin solid line draws (its end pixel included), so that the highlight covers the
            // line.
            const MFloatPoint points[2] = {m_start, m_end};
            return GetPolyLineRenderer().DrawStyled(view, dc, points, 2, 0.0, nullptr, FALSE, FALSE);
        }
        case MDrawMode::kHighlight: {
            CSelectScope selectBrush(dc, BLACK_BRUSH);
            CSelectScope selectPen(dc, BLACK_PEN);
            return DrawLine(view, dc, 0);
        }
        case MDrawMode::kGrayed: {
            const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
            CPen pen(PS_SOLID, 1, grey);
            CBrush brush(grey);
            CSelectScope selectPen(dc, &pen);
            CSelectScope selectBrush(dc, &brush);
            return DrawLine(view, dc, m_stroke.style);
        }
    }
}

void MLineShape::ScaleBy(const MShapeScale& scale) {
    const MFloatPoint& centre = scale.centre;
    const double sx = scale.sx, sy = scale.sy;
    if (std::fabs(sx) < kZeroTolerance || std::fabs(sy) < kZeroTolerance) return;
    auto scaleAbout = [&](MFloatPoint& p) {
        p = {centre.x + sx * (p.x - centre.x), centre.y + sy * (p.y - centre.y)};
    };
    scaleAbout(m_start);
    scaleAbout(m_end);
    m_extent = MFloatRect(m_start, m_end);
    m_extent.Normalize();
}

void MLineShape::Move(const MFloatPoint& offset) {
    m_start += offset;
    m_end += offset;
}

BOOL MLineShape::MayMeetRect(const MFloatRect& rect) const {
    if (!rect.Overlaps(m_extent)) return FALSE;
    // Clip the segment's parameter range against the four slabs.
    double t0 = 0.0, t1 = 1.0;
    const double dx = m_end.x - m_start.x, dy = m_end.y - m_start.y;
    const auto clip = [&](double p, double q) {
        if (p == 0.0) return q >= 0.0;
        const double t = q / p;
        if (p < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    const double left = std::min(rect.left, rect.right), right = std::max(rect.left, rect.right);
    const double bottom = std::min(rect.bottom, rect.top), top = std::max(rect.bottom, rect.top);
    return clip(-dx, m_start.x - left) && clip(dx, right - m_start.x) && clip(-dy, m_start.y - bottom) &&
                   clip(dy, top - m_start.y)
               ? TRUE
               : FALSE;
}

double MLineShape::SnapIntersection(MCadShape* other, MSnapPoint& snap, const MFloatPoint& cursor,
                                    const MFloatRect& aperture, double best) {
    if (!other) return best;
    return other->SnapIntersectionWithSegment(this, snap, cursor, aperture, best, m_start, m_end);
}

double MLineShape::SnapIntersectionWithSegment(MCadShape* source, MSnapPoint& snap, const MFloatPoint& cursor,
                                               const MFloatRect& aperture, double best, const MFloatPoint& a,
                                               const MFloatPoint& b) {
    MFloatPoint crossing;
    if (!IntersectSegments(m_start, m_end, a, b, &crossing, kBoundedA | kBoundedB)) return best;
    return OfferSnapCandidate(snap, cursor, aperture, crossing, kSnapIntersection, best, this, source);
}

int MLineShape::IntersectSegment(const MFloatPoint& a, const MFloatPoint& b, MFloatPointArray* out,
                                 int flags) const {
    MFloatPoint crossing;
    if (!IntersectSegments(m_start, m_end, a, b, &crossing, flags)) return 0;
    if (out) out->Add(crossing);
    return 1;
}

BOOL MLineShape::HitTest(MCadView* view, const CPoint& point, MFloatPoint* foot, int tolerance) const {
    const MFloatPoint cursor = view->LogicalToDoc(point);
    MFloatPoint f;
    const BOOL onSegment = IsPerpendicularFootOnSegment(m_start, m_end, cursor, &f);
    if (foot) *foot = f;
    if (!onSegment) return FALSE;
    const CPoint lf = view->DocToLogical(f);
    const double dx = lf.x - point.x, dy = lf.y - point.y;
    return dx * dx + dy * dy < static_cast<double>(tolerance) * tolerance;
}

int MLineShape::IntersectCircle(double cx, double cy, double, double, double radius,
                                MFloatPointArray* out) const {
    const MFloatPoint d = m_end - m_start;
    const MFloatPoint q = m_start - MFloatPoint(cx, cy);
    double re[2] = {}, im[2] = {};
    const int roots =
        SolveQuadratic(d.Dot(d), 2 * d.Dot(q), q.Dot(q) - radius * radius, &re[0], &im[0], &re[1], &im[1]);
    if (roots <= 0) return 0;
    int added = 0;
    for (int i = 0; i < roots && i < 2; ++i) {
        if (im[i] != 0.0 || re[i] < 0.0 || re[i] > 1.0) continue;
        if (out) out->Add(m_start + d * re[i]);
        ++added;
    }
    return added;
}

int MLineShape::GetSide(double x, double y) const {
    const double cross = (m_end.x - m_start.x) * (y - m_start.y) - (m_end.y - m_start.y) * (x - m_start.x);
    return cross > 0 ? 1 : (cross < 0 ? -1 : 0);
}

double MLineShape::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                              int kinds, double best) {
    if (kinds & kSnapEndPoint) {
        best = OfferSnapCandidate(snap, cursor, aperture, m_start, kSnapEndPoint, best, this);
        best = OfferSnapCandidate(snap, cursor, aperture, m_end, kSnapEndPoint, best, this);
    }
    if (kinds & kSnapMidPoint)
        best = OfferSnapCandidate(snap, cursor, aperture, GetMid(), kSnapMidPoint, best, this);
    return best;
}

MCadShape* MLineShape::Duplicate() const {
    auto* copy = new MLineShape(m_start, m_end);
    copy->m_stroke = m_stroke;
    copy->SetArrows(m_arrows);
    copy->CopyExtentsFrom(*this);
    return copy;
}

BOOL MLineShape::IsValid() const {
    return m_start.IsEqual(m_end) ? FALSE : TRUE;
}

bool MLineShape::HasFiniteValues() const {
    return IsFinite(m_start) && IsFinite(m_end) && MCadShape::HasFiniteValues();
}

void MLineShape::Recalc(MCadView* view) {
    m_extent = MFloatRect(m_start, m_end);
    m_extent.Normalize();
    UpdateDrawExtent(view);
    const double heads = view ? view->PaperToDocLength(m_arrows.GetMaxSize()) : 0.0;
    if (heads > 0.0) GrowDrawExtent(heads);
}

const MStroke* MLineShape::GetStroke() const {
    return &m_stroke;
}

void MLineShape::SetArrows(const MArrowInfo& arrows) {
    m_arrows = arrows;
}
MArrowInfo MLineShape::GetArrows() const {
    return m_arrows;
}

void MLineShape::MirrorX(double x, double) {
    m_start.x = 2 * x - m_start.x;
    m_end.x = 2 * x - m_end.x;
}
void MLineShape::MirrorY(double, double y) {
    m_start.y = 2 * y - m_start.y;
    m_end.y = 2 * y - m_end.y;
}
void MLineShape::Rotate(double cx, double cy, double angle) {
    const MFloatPoint c(cx, cy);
    m_start = c + (m_start - c).GetRotated(angle);
    m_end = c + (m_end - c).GetRotated(angle);
}

int MLineShape::GetCapabilities() const {
    return kShapeCanEdit | kShapeHasDirection | kShapeHasNormal;
}
double MLineShape::GetAngleAt(int kind, const MFloatPoint& point, MFloatPoint* out) const {
    if (kind == kShapeHasDirection) return DirectionAt(point);
    if (kind == kShapeHasNormal) return NormalAt(point, out);
    return DBL_MAX;
}

double MLineShape::DirectionAt(const MFloatPoint&) const {
    return GetAngle();
}

double MLineShape::NormalAt(const MFloatPoint& point, MFloatPoint* foot) const {
    if (foot) GetPerpendicularFoot(foot, m_start, m_end, point);
    return NormalizeAngle(GetAngle() + kPi / 2);
}

short MLineShape::GetTypeId() const {
    return kShapeLine;
}
MCadShape* MLineShape::CreateNew() const {
    return new MLineShape;
}

void MLineShape::WriteText(CDocument*, std::ostream& os) const {
    os << '\t' << m_start.x << ' ' << m_start.y << ' ' << m_end.x << ' ' << m_end.y << ' ';
    WriteStrokeText(os, m_stroke);
    os << ' ';
    WriteArrowInfoText(os, m_arrows);
    os << '\n';
}

void MLineShape::ReadText(CDocument*, std::istream& is) {
    MFloatPoint start, end;
    MStroke stroke;
    MArrowInfo arrows;
    is >> start.x >> start.y >> end.x >> end.y;
    ReadStrokeText(is, stroke);
    ReadArrowInfoText(is, arrows);
    SkipTextLine(is);
    if (is.fail()) return;
    m_start = start;
    m_end = end;
    m_stroke = stroke;
    m_arrows = arrows;
}

double MLineShape::GetAngle() const {
    return (m_end - m_start).GetAngle();
}

BOOL MLineShape::GetIntersection(const MFloatPoint& a, const MFloatPoint& b, MFloatPoint* out,
                                 int flags) const {
    return IntersectSegments(m_start, m_end, a, b, out, flags);
}

void MLineShape::NearestPoint(MFloatPoint* out, const MFloatPoint& point) const {
    const MFloatPoint d = m_end - m_start;
    const MFloatPoint n(-d.y, d.x);
    MFloatPoint crossing;
    if (IntersectSegments(m_start, m_end, point, point + n, &crossing, kBoundedA)) {
        *out = crossing;
        return;
    }
    *out = (point - m_end).GetLength() > (point - m_start).GetLength() ? m_start : m_end;
}
