#include "model/shapes/lines/PolygonShape.h"

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <cmath>
#include <istream>
#include <memory>
#include <ostream>
#include <typeinfo>

#include "model/CadView.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/render/PolyFace.h"
#include "model/render/PolyLine.h"
#include "model/shapes/ShapeTypes.h"
#include "platform/Archive.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"

BOOL PointEditFlag = FALSE;

IMPLEMENT_SERIAL(MPolygonShape, MCadShape, 1)

MPolygonShape::MPolygonShape() = default;
MPolygonShape::MPolygonShape(BOOL closed) : m_flags(closed ? (kClosed | kVertexSnap) : kVertexSnap) {}
MPolygonShape::MPolygonShape(int count, BOOL closed) : MPolygonShape(closed) {
    m_points.SetSize(count);
}
MPolygonShape::~MPolygonShape() = default;

MPolygonShape::MVertexList::MVertexList(const MPolygonShape& shape) {
    if (shape.m_outlineComputed && shape.m_points.IsEmpty()) {
        m_size = shape.GenerateOutline(m_buffer.points);
        m_data = m_buffer.points;
        return;
    }
    m_data = shape.m_points.GetData();
    m_size = shape.m_points.GetSize();
}

const MFloatPoint& MPolygonShape::MVertexList::GetAt(int i) const {
    if (i < 0 || i >= m_size) AfxThrowInvalidArgException();
    return m_data[i];
}

int MPolygonShape::ComputeOutline(MFloatPoint*) const {
    return 0;
}

int MPolygonShape::ComputeOutlineExtremes(MFloatPoint*) const {
    return 0;
}

bool MPolygonShape::ComputedOutlineBox(MFloatRect& box) const {
    if (!m_outlineComputed || !m_points.IsEmpty()) return false;
    MFloatPoint points[kMaxComputedPoints];
    const int n = ComputeOutlineExtremes(points);
    if (n <= 0) return false;
    // Rounding keeps the order of values, so the shifts move the extremes as they move the rest.
    for (int k = 0; k < m_pendingMoves; ++k)
        for (int i = 0; i < n; ++i)
            points[i] += m_pendingShifts[k];
    box = MFloatRect(points[0], points[0]);
    for (int i = 1; i < n; ++i)
        box.AddPoint(points[i]);
    box.Normalize();
    // Which of equal zeros (+0, -0) a box takes depends on the order of all the points.
    for (const double v : {box.left, box.top, box.right, box.bottom})
        if (!std::isfinite(v) || v == 0.0) return false;
    return true;
}

int MPolygonShape::GenerateOutline(MFloatPoint* out) const {
    const int n = ComputeOutline(out);
    if (!out) return n;
    // Shift by shift, as a move shifts kept vertices: the sum of the shifts would round otherwise.
    for (int k = 0; k < m_pendingMoves; ++k)
        for (int i = 0; i < n; ++i)
            out[i] += m_pendingShifts[k];
    return n;
}

namespace {

// Outlines kept worked out: an arc's is about 800 bytes, so at most about 16 MB of them (a
// drawing of a million shapes stays within its 400 MB).
constexpr int kMaxKeptOutlines = 20480;
std::atomic<int> g_keptOutlines{0};

}  // namespace

bool MPolygonShape::MKeptOutline::Take() {
    if (m_held) return true;
    if (g_keptOutlines.fetch_add(1, std::memory_order_relaxed) >= kMaxKeptOutlines) {
        g_keptOutlines.fetch_sub(1, std::memory_order_relaxed);
        return false;
    }
    return m_held = true;
}

void MPolygonShape::MKeptOutline::Release() {
    if (!m_held) return;
    m_held = false;
    g_keptOutlines.fetch_sub(1, std::memory_order_relaxed);
}

void MPolygonShape::ComputeOutlineOnDemand() {
    m_keptOutline.Release();
    m_outlineComputed = true;
    m_pendingMoves = 0;
    m_points = MFloatPointArray();
}

void MPolygonShape::KeepVertices() {
    if (!m_outlineComputed) return;
    m_keptOutline.Release();
    if (m_points.IsEmpty()) {
        m_points.SetSize(GenerateOutline(nullptr));
        GenerateOutline(m_points.GetData());
    }
    m_outlineComputed = false;
    m_pendingMoves = 0;
}

void MPolygonShape::MoveOutline(const MFloatPoint& origin, const MFloatPoint& offset) {
    if (!m_outlineComputed || m_pendingMoves == kMaxPendingMoves) {
        MPolygonShape::Move(offset);
        return;
    }
    if (m_pendingMoves == 0) m_unmovedOrigin = origin;
    m_pendingShifts[m_pendingMoves++] = offset;
    // The copy GetPoints handed out moves with the outline it stands for.
    for (MFloatPoint& p : m_points)
        p += offset;
}

void MPolygonShape::Serialize(CArchive& ar) {
    MCadShape::Serialize(ar);
    if (ar.IsStoring()) {
        const MVertexList v(*this);
        ar << m_stroke << m_fill << static_cast<DWORD>(m_flags) << m_arrows
           << static_cast<std::int32_t>(v.GetSize());
        for (const MFloatPoint& p : v)
            ar << p.x << p.y;
        return;
    }
    DWORD flags = 0;
    std::int32_t count = 0;
    ar >> m_stroke >> m_fill >> flags >> m_arrows >> count;
    m_flags = flags;
    if (count < 0) AfxThrowArchiveException(CArchiveException::genericException);
    ar.CheckCount(static_cast<std::uint64_t>(count), 16);
    // Loading replaces the outline; never extends one a constructor presized.
    MFloatPointArray points;
    points.SetSize(count);
    for (MFloatPoint& p : points)
        ar >> p.x >> p.y;
    m_points = std::move(points);
    m_keptOutline.Release();
    m_outlineComputed = false;
    m_pendingMoves = 0;
}

BOOL MPolygonShape::IsClosed() const {
    return IsClosedFlag();
}
const MFloatPointArray& MPolygonShape::GetPoints() const {
    if (m_outlineComputed && m_points.IsEmpty()) {
        // The copy stands for the computed outline until the shape changes, for callers that
        // hold on to the array.
        m_points.SetSize(GenerateOutline(nullptr));
        GenerateOutline(m_points.GetData());
    }
    return m_points;
}

int MPolygonShape::GetHandleCount() const {
    return PointEditFlag ? GetPointCount() : 8;
}

MFloatPoint MPolygonShape::GetHandle(int index) const {
    if (PointEditFlag) return MVertexList(*this).GetAt(index);
    return MCadShape::GetHandle(index);
}

void MPolygonShape::MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect) {
    if (PointEditFlag) {
        KeepVertices();
        m_points.SetAt(*index, to);
        return;
    }
    MCadShape::MoveHandle(index, to, keepRatio, rect);
}

void MPolygonShape::Render(MCadView* view, CDC* dc, MDrawMode mode) {
    switch (mode) {
        case MDrawMode::kNormal:
            return DrawNormal(view, dc);
        case MDrawMode::kTracking:
            return DrawTracking(view, dc);
        case MDrawMode::kHighlight:
            return DrawHighlight(view, dc);
        case MDrawMode::kGrayed:
            return DrawGrayed(view, dc);
    }
}

void MPolygonShape::DrawNormal(MCadView* view, CDC* dc) {
    // The first paint keeps a dear outline for the paints and the printing after it.
    if (m_keepOutline && m_outlineComputed && m_points.IsEmpty() && m_keptOutline.Take()) GetPoints();
    const int oldMode = dc->SetPolyFillMode(WINDING);
    MFillStyle fill;
    MapFillForMono(fill, dc, GetFillStyle());
    if (!fill.IsNone()) {
        const MVertexList v(*this);
        GetPolyFaceRenderer().DrawFill(view, dc, v.GetData(), v.GetSize(), m_extent, fill);
    }
    if (GetColor() < kNoColor || m_stroke.IsAuxiliary()) {
        const COLORREF color = MapColorForMono(dc, GetColor());
        CPen pen(PS_SOLID, 1, color);
        CBrush brush(color);
        CSelectScope selectPen(dc, &pen);
        CSelectScope selectBrush(dc, m_stroke.width != 0.0 ? &brush : nullptr);
        DrawOutline(view, dc, GetLineStyle());
    }
    dc->SetPolyFillMode(oldMode);
}

void MPolygonShape::DrawTracking(MCadView* view, CDC* dc) {
    const MVertexList v(*this);
    const int n = v.GetSize();
    GetPolyLineRenderer().DrawThin(view, dc, v.GetData(), n, IsClosedFlag() && n != 2);
}

void MPolygonShape::DrawHighlight(MCadView* view, CDC* dc) {
    const int oldMode = dc->SetPolyFillMode(WINDING);
    CSelectScope selectBrush(dc, BLACK_BRUSH);
    CSelectScope selectPen(dc, BLACK_PEN);
    if (!GetFillStyle().IsNone()) {
        CSelectScope noPen(dc, NULL_PEN);
        const MVertexList v(*this);
        GetPolyFaceRenderer().Draw(view, dc, v.GetData(), v.GetSize());
    }
    DrawOutline(view, dc, 0);
    dc->SetPolyFillMode(oldMode);
}

void MPolygonShape::DrawGrayed(MCadView* view, CDC* dc) {
    const int oldMode = dc->SetPolyFillMode(WINDING);
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    CPen pen(PS_SOLID, 1, grey);
    CBrush brush(grey);
    CSelectScope selectPen(dc, &pen);
    CSelectScope selectBrush(dc, &brush);
    DrawOutline(view, dc, GetLineStyle());
    dc->SetPolyFillMode(oldMode);
}

BOOL MPolygonShape::GetOutlineCurve(std::vector<MFloatPoint>&) const {
    return FALSE;
}

void MPolygonShape::DrawOutline(MCadView* view, CDC* dc, int lineStyle) {
    // A printer takes an unfilled round outline as a few curves instead of its many vertices.
    if (dc && dc->TakesCurves() && GetFillStyle().IsNone()) {
        static std::vector<MFloatPoint> run;
        run.clear();
        if (GetOutlineCurve(run) &&
            GetPolyLineRenderer().DrawCurve(view, dc, run.data(), static_cast<int>(run.size()),
                                            m_stroke.width, lineStyle))
            return;
    }
    const MVertexList v(*this);
    const int n = v.GetSize();
    GetPolyLineRenderer().Draw(view, dc, v.GetData(), n, m_stroke.width, lineStyle, IsClosedFlag());
    if (IsClosedFlag() || n < 2) return;
    if (m_arrows.startStyle != kArrowNone) {
        if (const int i = FirstDrawnEdge(v); i >= 0)
            DrawArrowHead(this, view, dc, v[i], (v[i + 1] - v[i]).GetAngle(), m_arrows.startStyle,
                          m_arrows.GetStartSize());
    }
    if (m_arrows.endStyle != kArrowNone) {
        if (const int j = LastDrawnEdge(v); j >= 0)
            DrawArrowHead(this, view, dc, v[j + 1], (v[j + 1] - v[j]).GetAngle() + kPi, m_arrows.endStyle,
                          m_arrows.GetEndSize());
    }
}

void MPolygonShape::ScaleBy(const MShapeScale& scale) {
    const MFloatPoint& centre = scale.centre;
    const double sx = scale.sx, sy = scale.sy;
    if (std::fabs(sx) < kZeroTolerance || std::fabs(sy) < kZeroTolerance) return;
    KeepVertices();
    for (MFloatPoint& p : m_points)
        p = {centre.x + sx * (p.x - centre.x), centre.y + sy * (p.y - centre.y)};
    m_extent.Scale(centre, sx, sy);
    m_extent.Normalize();
}

void MPolygonShape::Move(const MFloatPoint& offset) {
    KeepVertices();
    for (MFloatPoint& p : m_points)
        p += offset;
}

int MPolygonShape::GetEdgeCount(const MVertexList& v) const {
    const int n = v.GetSize();
    if (n < 2) return 0;
    return IsClosedFlag() ? n : n - 1;
}

void MPolygonShape::GetEdge(const MVertexList& v, int index, MFloatPoint* a, MFloatPoint* b) {
    const int n = v.GetSize();
    *a = v[index];
    *b = v[index + 1 < n ? index + 1 : 0];
}

namespace {

MFloatRect EdgeBox(const MFloatPoint& a, const MFloatPoint& b) {
    MFloatRect r(a, b);
    r.Normalize();
    return r;
}

}  // namespace

double MPolygonShape::SnapIntersection(MCadShape* other, MSnapPoint& snap, const MFloatPoint& cursor,
                                       const MFloatRect& aperture, double best) {
    if (!other) return best;
    const MVertexList v(*this);
    const int edges = GetEdgeCount(v);
    for (int i = 0; i < edges; ++i) {
        MFloatPoint a, b;
        GetEdge(v, i, &a, &b);
        if (EdgeBox(a, b).Overlaps(aperture))
            best = other->SnapIntersectionWithSegment(this, snap, cursor, aperture, best, a, b);
    }
    return best;
}

double MPolygonShape::SnapIntersectionWithSegment(MCadShape* source, MSnapPoint& snap,
                                                  const MFloatPoint& cursor, const MFloatRect& aperture,
                                                  double best, const MFloatPoint& a, const MFloatPoint& b) {
    const MVertexList v(*this);
    const int edges = GetEdgeCount(v);
    for (int i = 0; i < edges; ++i) {
        MFloatPoint e0, e1, crossing;
        GetEdge(v, i, &e0, &e1);
        if (!EdgeBox(e0, e1).Overlaps(aperture)) continue;
        if (IntersectSegments(e0, e1, a, b, &crossing, kBoundedA | kBoundedB))
            best =
                OfferSnapCandidate(snap, cursor, aperture, crossing, kSnapIntersection, best, this, source);
    }
    return best;
}

int MPolygonShape::IntersectSegment(const MFloatPoint& a, const MFloatPoint& b, MFloatPointArray* out,
                                    int flags) const {
    const MVertexList v(*this);
    const int n = v.GetSize();
    int added = 0;
    auto test = [&](const MFloatPoint& e0, const MFloatPoint& e1) {
        MFloatPoint crossing;
        if (!IntersectSegments(e0, e1, a, b, &crossing, flags)) return;
        if (out) out->Add(crossing);
        ++added;
    };
    for (int i = 1; i < n; ++i)
        test(v[i], v[i - 1]);
    if (IsClosedFlag() && n >= 2) test(v[0], v[n - 1]);
    return added;
}

BOOL MPolygonShape::HitTest(MCadView* view, const CPoint& point, MFloatPoint* foot, int tolerance) const {
    const MFloatPoint cursor = view->LogicalToDoc(point);
    MFloatPointArray feet;
    if (GetPerpendicularFeet(cursor, &feet) == 0) return FALSE;
    double nearest = DBL_MAX;
    MFloatPoint best;
    for (const MFloatPoint& f : feet) {
        const double d = (f - cursor).GetLength();
        if (d < nearest) {
            nearest = d;
            best = f;
        }
    }
    if (foot) *foot = best;
    const CPoint lf = view->DocToLogical(best);
    const double dx = lf.x - point.x, dy = lf.y - point.y;
    return dx * dx + dy * dy < static_cast<double>(tolerance) * tolerance;
}

int MPolygonShape::IntersectCircle(double cx, double cy, double, double, double radius,
                                   MFloatPointArray* out) const {
    const MVertexList v(*this);
    const int edges = GetEdgeCount(v);
    int added = 0;
    for (int i = 0; i < edges; ++i) {
        MFloatPoint a, b;
        GetEdge(v, i, &a, &b);
        const MFloatPoint d = b - a;
        const MFloatPoint q = a - MFloatPoint(cx, cy);
        double re[2] = {}, im[2] = {};
        const int roots = SolveQuadratic(d.Dot(d), 2 * d.Dot(q), q.Dot(q) - radius * radius, &re[0], &im[0],
                                         &re[1], &im[1]);
        if (roots <= 0 || im[0] != 0.0 || (roots > 1 && im[1] != 0.0)) continue;
        for (int k = 0; k < roots && k < 2; ++k) {
            if (re[k] < 0.0 || re[k] > 1.0) continue;
            if (out) out->Add(a + d * re[k]);
            ++added;
        }
    }
    return added;
}

int MPolygonShape::GetSide(double x, double y) const {
    if (!IsClosedFlag()) return 0;
    const MVertexList v(*this);
    const int n = v.GetSize();
    int crossings = 0;
    for (int i = 0; i < n; ++i) {
        const MFloatPoint& a = v[i];
        const MFloatPoint& b = v[(i + 1) % n];
        // Half-open in y, so a ray through a vertex counts the two edges that meet there once
        // together (or not at all at a peak); horizontal edges never count.
        if ((a.y > y) == (b.y > y)) continue;
        if (a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y) > x) ++crossings;
    }
    return (crossings & 1) ? 1 : -1;
}

BOOL MPolygonShape::IsInRect(const MFloatRect& rect) const {
    if (!rect.Overlaps(m_extent)) return FALSE;
    const MVertexList v(*this);
    const int n = v.GetSize();
    for (int i = 0; i + 1 < n; ++i)
        if (EdgeBox(v[i], v[i + 1]).Overlaps(rect)) return TRUE;
    if (!IsClosedFlag() || n == 0) return FALSE;
    if (EdgeBox(v[n - 1], v[0]).Overlaps(rect)) return TRUE;
    MFloatPoint sum;
    for (const MFloatPoint& p : v)
        sum += p;
    return rect.ContainsPoint(sum / n);
}

double MPolygonShape::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                                 int kinds, double best) {
    // Every point offered (vertices, edge midpoints, the vertex mean) lies inside the extent.
    if (!GetExtent().Overlaps(aperture)) return best;
    const MVertexList v(*this);
    const int n = v.GetSize();
    if ((kinds & kSnapCenter) && IsClosedFlag() && n > 0) {
        MFloatPoint sum;
        for (const MFloatPoint& p : v)
            sum += p;
        best = OfferSnapCandidate(snap, cursor, aperture, sum / n, kSnapCenter, best, this);
    }
    if (!IsVertexSnap()) return best;
    if (kinds & kSnapEndPoint)
        for (const MFloatPoint& p : v)
            best = OfferSnapCandidate(snap, cursor, aperture, p, kSnapEndPoint, best, this);
    if (kinds & kSnapMidPoint) {
        const int edges = GetEdgeCount(v);
        for (int i = 0; i < edges; ++i) {
            MFloatPoint a, b;
            GetEdge(v, i, &a, &b);
            best = OfferSnapCandidate(snap, cursor, aperture, (a + b) / 2, kSnapMidPoint, best, this);
        }
    }
    return best;
}

MCadShape* MPolygonShape::Clone() const {
    return CopyAsPolygon();
}

MCadShape* MPolygonShape::Duplicate() const {
    // Other kinds store otherwise, and a fill no file can hold makes the stored way fail.
    if (typeid(*this) != typeid(MPolygonShape) || !m_fill.IsStorable()) return MCadShape::Duplicate();
    auto* copy = new MPolygonShape;
    copy->m_stroke = m_stroke;
    // Loading clears a record without colours to the plain default.
    if (!m_fill.IsNone()) copy->m_fill = m_fill;
    copy->m_flags = m_flags;
    copy->m_arrows = m_arrows;
    const MVertexList v(*this);
    copy->m_points.SetSize(v.GetSize());
    std::copy(v.begin(), v.end(), copy->m_points.GetData());
    copy->CopyExtentsFrom(*this);
    return copy;
}

BOOL MPolygonShape::IsValid() const {
    const MVertexList v(*this);
    const int n = v.GetSize();
    if (n < 2) return FALSE;
    for (int i = 1; i < n; ++i)
        if (!v[i].IsEqual(v[0])) return TRUE;
    return FALSE;
}

bool MPolygonShape::HasFiniteValues() const {
    for (const MFloatPoint& p : MVertexList(*this))
        if (!IsFinite(p)) return false;
    return MCadShape::HasFiniteValues();
}

void MPolygonShape::Recalc(MCadView* view) {
    MFloatRect r;
    if (!ComputedOutlineBox(r)) {
        const MVertexList v(*this);
        if (v.IsEmpty()) return;
        r = MFloatRect(v[0], v[0]);
        for (const MFloatPoint& p : v)
            r.AddPoint(p);
        r.Normalize();
    }
    m_extent = r;
    UpdateDrawExtent(view);
    const double heads = view ? view->PaperToDocLength(m_arrows.GetMaxSize()) : 0.0;
    if (heads > 0.0) GrowDrawExtent(heads);
}

void MPolygonShape::SetFillStyle(const MFillStyle& fill) {
    m_fill = fill;
}
MFillStyle MPolygonShape::GetFillStyle() const {
    return m_fill;
}
const MStroke* MPolygonShape::GetStroke() const {
    return &m_stroke;
}

void MPolygonShape::SetArrows(const MArrowInfo& arrows) {
    m_arrows = IsClosedFlag() ? MArrowInfo() : arrows;
}
MArrowInfo MPolygonShape::GetArrows() const {
    return m_arrows;
}

void MPolygonShape::MirrorX(double x, double) {
    KeepVertices();
    for (MFloatPoint& p : m_points)
        p.x = 2 * x - p.x;
}
void MPolygonShape::MirrorY(double, double y) {
    KeepVertices();
    for (MFloatPoint& p : m_points)
        p.y = 2 * y - p.y;
}
void MPolygonShape::Rotate(double cx, double cy, double angle) {
    KeepVertices();
    const MFloatPoint c(cx, cy);
    for (MFloatPoint& p : m_points)
        p = c + (p - c).GetRotated(angle);
}

int MPolygonShape::GetCapabilities() const {
    return kShapeCanEdit | kShapeHasDirection | kShapeHasNormal;
}

double MPolygonShape::GetAngleAt(int kind, const MFloatPoint& point, MFloatPoint* out) const {
    if (kind == kShapeHasDirection) return DirectionAt(point);
    if (kind == kShapeHasNormal) return NormalAt(point, out);
    return DBL_MAX;
}

double MPolygonShape::DirectionAt(const MFloatPoint& point) const {
    const int edge = GetNearestEdge(point);
    if (edge < 0) return DBL_MAX;
    const MVertexList v(*this);
    MFloatPoint a, b;
    GetEdge(v, edge, &a, &b);
    return (b - a).GetAngle();
}

double MPolygonShape::NormalAt(const MFloatPoint& point, MFloatPoint* foot) const {
    const int edge = GetNearestEdge(point);
    if (edge < 0) return DBL_MAX;
    const MVertexList v(*this);
    MFloatPoint a, b;
    GetEdge(v, edge, &a, &b);
    if (foot) GetPerpendicularFoot(foot, a, b, point);
    return NormalizeAngle((b - a).GetAngle() + kPi / 2);
}

short MPolygonShape::GetTypeId() const {
    return kShapePolygon;
}
MCadShape* MPolygonShape::CreateNew() const {
    return new MPolygonShape;
}

void MPolygonShape::WriteText(CDocument*, std::ostream& os) const {
    os << '\t';
    WriteStrokeText(os, m_stroke);
    os << ' ';
    WriteFillStyleText(os, m_fill);
    os << ' ' << static_cast<unsigned long>(m_flags) << ' ';
    WriteArrowInfoText(os, m_arrows);
    os << '\n';
    GetPoints().WriteText(os);
}

void MPolygonShape::ReadText(CDocument*, std::istream& is) {
    unsigned long flags = 0;
    MStroke stroke;
    MFillStyle fill;
    MArrowInfo arrows;
    ReadStrokeText(is, stroke);
    ReadFillStyleText(is, fill);
    is >> flags;
    ReadArrowInfoText(is, arrows);
    SkipTextLine(is);
    if (is.fail()) return;
    m_stroke = stroke;
    m_fill = fill;
    m_flags = static_cast<DWORD>(flags);
    m_arrows = arrows;
    m_points.ReadText(is);
    m_outlineComputed = false;
    m_pendingMoves = 0;
}

int MPolygonShape::FirstDrawnEdge(const MVertexList& v) {
    const int n = v.GetSize();
    for (int i = 0; i + 1 < n; ++i)
        if (v[i + 1] != v[i]) return i;
    return -1;
}

int MPolygonShape::LastDrawnEdge(const MVertexList& v) {
    for (int j = v.GetSize() - 2; j >= 0; --j)
        if (v[j + 1] != v[j]) return j;
    return -1;
}

BOOL MPolygonShape::IsClosedFlag() const {
    return (m_flags & kClosed) ? TRUE : FALSE;
}
BOOL MPolygonShape::IsVertexSnap() const {
    return (m_flags >> 1) & 1;
}

double MPolygonShape::GetArea() const {
    const MVertexList v(*this);
    const int n = v.GetSize();
    if (n < 3) return 0.0;
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
        sum += v[(i + 1) % n].y * (v[i].x - v[(i + 2) % n].x);
    return std::fabs(-0.5 * sum);
}

double MPolygonShape::GetSignedArea() const {
    const MVertexList v(*this);
    const int n = v.GetSize();
    if (n < 3) return 0.0;
    double sum = 0.0;
    for (int i = 0; i < n; ++i)
        sum += v[i].Cross(v[(i + 1) % n]);
    return 0.5 * sum;
}

void MPolygonShape::GetNearestPoint(MFloatPoint* out, const MFloatPoint& point) const {
    const MFloatPointArray& points = GetPoints();
    const int n = points.GetSize();
    if (n == 0) {
        *out = point;
        return;
    }
    if (n == 1) {
        *out = points[0];
        return;
    }
    MFloatPointArray feet;
    GetPerpendicularFeet(point, &feet);
    const MFloatPointArray& candidates = feet.IsEmpty() ? points : feet;
    double nearest = DBL_MAX;
    for (const MFloatPoint& c : candidates) {
        const double d = (c - point).GetLength();
        if (d < nearest) {
            nearest = d;
            *out = c;
        }
    }
}

BOOL MPolygonShape::IsPointEditMode() const {
    return PointEditFlag;
}

void MPolygonShape::InsertVertex(int edgeIndex) {
    KeepVertices();
    const int n = m_points.GetSize();
    if (n < 2) return;  // no edge to split
    if (edgeIndex < n - 1) {
        m_points.InsertAt(edgeIndex + 1, (m_points.GetAt(edgeIndex) + m_points.GetAt(edgeIndex + 1)) / 2);
    } else if (IsClosedFlag()) {
        m_points.InsertAt(0, (m_points[n - 1] + m_points[0]) / 2);
    } else {
        m_points.InsertAt(n - 1, (m_points[n - 2] + m_points[n - 1]) / 2);
    }
}

void MPolygonShape::DeleteVertex(int index) {
    KeepVertices();
    if (m_points.GetSize() <= 2) return;
    m_points.RemoveAt(index);
}

void MPolygonShape::SetClosed(BOOL closed) {
    m_flags = closed ? (m_flags | kClosed) : (m_flags & ~kClosed);
}
void MPolygonShape::SetVertexSnap(BOOL on) {
    m_flags = on ? (m_flags | kVertexSnap) : (m_flags & ~kVertexSnap);
}

void MPolygonShape::AddPoint(const MFloatPoint& p) {
    KeepVertices();
    m_points.Add(p);
}
void MPolygonShape::SetPoint(int index, const MFloatPoint& p) {
    KeepVertices();
    m_points.SetAt(index, p);
}
MFloatPoint MPolygonShape::GetPoint(int index) const {
    return GetPoints().GetAt(index);
}
int MPolygonShape::GetPointCount() const {
    if (m_outlineComputed && m_points.IsEmpty()) return GenerateOutline(nullptr);
    return m_points.GetSize();
}

void MPolygonShape::SetLastPoint(const MFloatPoint& p) {
    KeepVertices();
    if (!m_points.IsEmpty()) m_points[m_points.GetSize() - 1] = p;
}
void MPolygonShape::MoveLastPoint(const MFloatPoint& p) {
    SetLastPoint(p);
}
void MPolygonShape::RemoveLastPoint() {
    KeepVertices();
    if (!m_points.IsEmpty()) m_points.RemoveAt(m_points.GetSize() - 1);
}
MFloatPoint MPolygonShape::GetLastPoint() const {
    const MVertexList v(*this);
    return v.IsEmpty() ? MFloatPoint() : v[v.GetSize() - 1];
}

BOOL MPolygonShape::ContainsPoint(const MFloatPoint& p) const {
    return IsClosedFlag() ? GetPoints().IsPointInside(p) : FALSE;
}

BOOL MPolygonShape::IsPointOnEdge(const MFloatPoint& p) const {
    const MVertexList vertices(*this);
    const int n = vertices.GetSize();
    if (!IsClosedFlag() || n < 2) return FALSE;
    for (int i = 0; i < n; ++i) {
        const MFloatPoint& v = vertices[i];
        const MFloatPoint& prev = vertices[i == 0 ? n - 1 : i - 1];
        const MFloatPoint d = v - prev;
        const double eps = 20 * 2.220446049250313e-16 * d.Dot(d);
        MFloatPoint foot;
        const double t = IntersectLines(&foot, v, p, d, MFloatPoint(-d.y, d.x));
        if (t > -eps && t < 1 + eps && (foot - p).GetLength() < eps) return TRUE;
    }
    return FALSE;
}

int MPolygonShape::GetNearestEdge(const MFloatPoint& p) const {
    if (GetPointCount() < 2) return -1;
    return FindNearestSegment(GetPoints(), IsClosedFlag(), p);
}

int MPolygonShape::GetPerpendicularFeet(const MFloatPoint& p, MFloatPointArray* out) const {
    const MVertexList v(*this);
    const int edges = GetEdgeCount(v);
    int added = 0;
    for (int i = 0; i < edges; ++i) {
        MFloatPoint a, b, foot;
        GetEdge(v, i, &a, &b);
        if (!IsPerpendicularFootOnSegment(a, b, p, &foot)) continue;
        if (out) out->Add(foot);
        ++added;
    }
    return added;
}

MPolygonShape* MPolygonShape::CopyAsPolygon() const {
    auto copy = std::make_unique<MPolygonShape>(IsClosedFlag());
    copy->m_flags = m_flags;
    const MVertexList v(*this);
    copy->m_points.SetSize(v.GetSize());
    std::copy(v.begin(), v.end(), copy->m_points.GetData());
    copy->CopyStyleFrom(this);
    copy->CopyExtentsFrom(*this);
    return copy.release();
}
