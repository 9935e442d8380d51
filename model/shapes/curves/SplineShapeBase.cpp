#include "model/shapes/curves/SplineShapeBase.h"

#include <algorithm>
#include <cmath>

#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"

IMPLEMENT_DYNAMIC(MSplineShapeBase, MPolygonShape)

MSplineShapeBase::MSplineShapeBase(BOOL loop) : MPolygonShape(loop), m_loop(loop != FALSE) {
    SetVertexSnap(FALSE);
}

MSplineShapeBase::~MSplineShapeBase() = default;

// ---- control points --------------------------------------------------------------------------

void MSplineShapeBase::AddControlPoint(const MFloatPoint& p) {
    m_controlPoints.Add(p);
    RecomputeCurve();
}

void MSplineShapeBase::SetLastControlPoint(const MFloatPoint& p) {
    if (m_controlPoints.IsEmpty()) return;
    m_controlPoints[m_controlPoints.GetSize() - 1] = p;
    RecomputeCurve();
}

void MSplineShapeBase::MoveLastControlPoint(const MFloatPoint& p) {
    SetLastControlPoint(p);
}

void MSplineShapeBase::RemoveLastControlPoint() {
    if (m_controlPoints.IsEmpty()) return;
    m_controlPoints.RemoveAt(m_controlPoints.GetSize() - 1);
    RecomputeCurve();
}

void MSplineShapeBase::SetControlPoint(int index, double x, double y) {
    m_controlPoints.SetAt(index, {x, y});
    RecomputeCurve();
}

MFloatPoint MSplineShapeBase::GetControlPoint(int index) const {
    return m_controlPoints.GetAt(index);
}

void MSplineShapeBase::SetControlPoints(const MFloatPointArray& points) {
    m_controlPoints = points;
    RecomputeCurve();
}

// ---- the curve -------------------------------------------------------------------------------

void MSplineShapeBase::ClearSpline() {
    m_knots.RemoveAll();
    m_params.clear();
    m_coeffs.clear();
}

void MSplineShapeBase::BuildSpline() {
    ClearSpline();
    const int count = m_controlPoints.GetSize();
    if (count < 2) return;
    m_knots.Add(m_controlPoints[0]);
    for (int j = 1; j < count; ++j)
        if ((m_controlPoints[j] - m_controlPoints[j - 1]).GetLength() != 0.0) m_knots.Add(m_controlPoints[j]);
    if (m_loop && (m_controlPoints[0] - m_controlPoints[count - 1]).GetLength() != 0.0)
        m_knots.Add(m_controlPoints[0]);

    const int k = m_knots.GetSize();
    // Without enough intervals nothing is evaluated: no knots are left for RecomputeCurve.
    if (k < 2 || (m_loop && k - 1 < 2)) {
        ClearSpline();
        return;
    }

    m_params.assign(static_cast<size_t>(k), 0.0);
    for (int i = 1; i < k; ++i)
        m_params[i] = m_params[i - 1] + (m_knots[i] - m_knots[i - 1]).GetLength();
    const double total = m_params[k - 1];
    for (int i = 1; i < k; ++i)
        m_params[i] /= total;
    // Chords that vanish next to the whole length (or points that are not numbers) leave no
    // usable parameters: no curve rather than divisions by zero.
    for (int i = 0; i + 1 < k; ++i) {
        const double h = m_params[i + 1] - m_params[i];
        if (!(h > 0.0) || !std::isfinite(h)) {
            ClearSpline();
            return;
        }
    }
    m_coeffs.assign(static_cast<size_t>(k), MFloatPoint());
    if (m_loop)
        SolveLoop();
    else
        SolveOpen();
}

// Natural ends: M_0 = M_(k-1) = 0, the inner rows a tridiagonal system solved by elimination.
void MSplineShapeBase::SolveOpen() {
    const int k = m_knots.GetSize();
    if (k <= 2) return;
    auto h = [&](int i) { return m_params[i + 1] - m_params[i]; };
    auto slope = [&](int i) { return (m_knots[i + 1] - m_knots[i]) / h(i); };
    std::vector<double> diag(static_cast<size_t>(k), 0.0);
    std::vector<MFloatPoint> rhs(static_cast<size_t>(k));
    for (int i = 1; i <= k - 2; ++i) {
        diag[i] = 2 * (h(i - 1) + h(i));
        rhs[i] = slope(i) - slope(i - 1);
    }
    for (int i = 2; i <= k - 2; ++i) {
        const double m = h(i - 1) / diag[i - 1];
        diag[i] -= m * h(i - 1);
        rhs[i] -= rhs[i - 1] * m;
    }
    m_coeffs[k - 2] = rhs[k - 2] / diag[k - 2];
    for (int i = k - 3; i >= 1; --i)
        m_coeffs[i] = (rhs[i] - m_coeffs[i + 1] * h(i)) / diag[i];
}

// Periodic: unknowns M_1 ... M_n (M_0 = M_n), each row coupling its neighbours cyclically. The
// rows 1 ... n-1 form a tridiagonal system once M_n is taken as a parameter: M_i = u_i + M_n·v_i.
// The last row then gives M_n.
void MSplineShapeBase::SolveLoop() {
    const int n = m_knots.GetSize() - 1;
    auto h = [&](int i) { return m_params[(i % n) + 1] - m_params[i % n]; };
    auto slope = [&](int i) { return (m_knots[(i % n) + 1] - m_knots[i % n]) / h(i); };
    auto sub = [&](int i) { return h(i - 1); };
    auto diagOf = [&](int i) { return 2 * (h(i - 1) + h(i)); };
    auto sup = [&](int i) { return h(i); };
    auto rhsOf = [&](int i) { return slope(i) - slope(i - 1); };

    const int m = n - 1;  // rows of the inner system, 1 ... m
    std::vector<double> diag(static_cast<size_t>(m + 1)), v(static_cast<size_t>(m + 1), 0.0);
    std::vector<MFloatPoint> u(static_cast<size_t>(m + 1));
    for (int i = 1; i <= m; ++i) {
        diag[i] = diagOf(i);
        u[i] = rhsOf(i);
    }
    v[1] -= sub(1);
    v[m] -= sup(m);
    for (int i = 2; i <= m; ++i) {
        const double f = sub(i) / diag[i - 1];
        diag[i] -= f * sup(i - 1);
        u[i] -= u[i - 1] * f;
        v[i] -= f * v[i - 1];
    }
    u[m] /= diag[m];
    v[m] /= diag[m];
    for (int i = m - 1; i >= 1; --i) {
        u[i] = (u[i] - u[i + 1] * sup(i)) / diag[i];
        v[i] = (v[i] - sup(i) * v[i + 1]) / diag[i];
    }
    const double denominator = diagOf(n) + sub(n) * v[m] + sup(n) * v[1];
    const MFloatPoint last = (rhsOf(n) - u[m] * sub(n) - u[1] * sup(n)) / denominator;
    for (int i = 1; i <= m; ++i)
        m_coeffs[i] = u[i] + last * v[i];
    m_coeffs[n] = last;
    m_coeffs[0] = last;
}

MFloatPoint MSplineShapeBase::EvaluateSpline(double x) const {
    const int k = m_knots.GetSize();
    if (!IsBuilt()) return k > 0 ? m_knots[0] : MFloatPoint();
    const double first = m_params[0], last = m_params[k - 1];
    if (m_loop && (x < first || x > last)) {
        const double period = last - first;
        x = first + std::fmod(x - first, period);
        if (x < first) x += period;
    }
    int lo = 0, hi = k - 1;
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        if (x <= m_params[mid])
            hi = mid;
        else
            lo = mid;
    }
    return EvaluateInterval(lo, x);
}

bool MSplineShapeBase::IsBuilt() const {
    const int k = m_knots.GetSize();
    return k >= 2 && static_cast<int>(m_params.size()) == k && static_cast<int>(m_coeffs.size()) == k;
}

MFloatPoint MSplineShapeBase::EvaluateInterval(int i, double x) const {
    const double d = x - m_params[i];
    const double h = m_params[i + 1] - m_params[i];
    const MFloatPoint& mi = m_coeffs[i];
    const MFloatPoint& mj = m_coeffs[i + 1];
    const MFloatPoint slope = (m_knots[i + 1] - m_knots[i]) / h;
    return m_knots[i] + (slope - (mi * 2 + mj) * h + (mi * 3 + (mj - mi) * (d / h)) * d) * d;
}

int MSplineShapeBase::SamplesPerInterval(int intervals) {
    if (intervals <= kMaxCurvePoints / kSamplesPerInterval) return kSamplesPerInterval;
    return std::max(1, kMaxCurvePoints / intervals);
}

void MSplineShapeBase::SampleCurve(int count, int divisions) {
    m_points.SetSize(count);
    const double step = 1.0 / divisions;
    const bool built = IsBuilt();
    const int k = m_knots.GetSize();
    double x = 0.0;
    int interval = 0;
    for (int i = 0; i < count; ++i, x += step) {
        // The samples rise, so each one's interval is found by walking on from the last one's:
        // the last interval whose start lies below x, as EvaluateSpline's search finds it.
        if (!built || (m_loop && (x < m_params[0] || x > m_params[k - 1]))) {
            m_points[i] = EvaluateSpline(x);
            continue;
        }
        while (interval < k - 2 && x > m_params[interval + 1])
            ++interval;
        m_points[i] = EvaluateInterval(interval, x);
    }
}

// ---- shape operations ------------------------------------------------------------------------

int MSplineShapeBase::GetHandleCount() const {
    return PointEditFlag ? m_controlPoints.GetSize() : 8;
}

MFloatPoint MSplineShapeBase::GetHandle(int index) const {
    if (PointEditFlag) return m_controlPoints.GetAt(index);
    return MCadShape::GetHandle(index);
}

void MSplineShapeBase::MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect) {
    if (PointEditFlag)
        m_controlPoints.SetAt(*index, to);
    else
        MCadShape::MoveHandle(index, to, keepRatio, rect);
    RecomputeCurve();
}

void MSplineShapeBase::ScaleBy(const MShapeScale& scale) {
    const MFloatPoint& c = scale.centre;
    const double sx = scale.sx, sy = scale.sy;
    if (std::fabs(sx) < kZeroTolerance || std::fabs(sy) < kZeroTolerance) return;
    for (MFloatPoint& p : m_controlPoints)
        p = {c.x + sx * (p.x - c.x), c.y + sy * (p.y - c.y)};
    RecomputeCurve();
    m_extent.Scale(c, sx, sy);
    m_extent.Normalize();
}

void MSplineShapeBase::Move(const MFloatPoint& offset) {
    MPolygonShape::Move(offset);
    for (MFloatPoint& p : m_controlPoints)
        p += offset;
    // Parameters and coefficients do not change with a translation; the knots follow so that
    // EvaluateSpline stays on the moved curve.
    for (MFloatPoint& p : m_knots)
        p += offset;
}

double MSplineShapeBase::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                                    int kinds, double best) {
    if (!(kinds & kSnapEndPoint)) return best;
    for (const MFloatPoint& p : m_controlPoints)
        best = OfferSnapCandidate(snap, cursor, aperture, p, kSnapEndPoint, best, this);
    return best;
}

MCadShape* MSplineShapeBase::Clone() const {
    return Duplicate();
}

void MSplineShapeBase::MirrorX(double x, double) {
    for (MFloatPoint& p : m_controlPoints)
        p.x = 2 * x - p.x;
    RecomputeCurve();
}

void MSplineShapeBase::MirrorY(double, double y) {
    for (MFloatPoint& p : m_controlPoints)
        p.y = 2 * y - p.y;
    RecomputeCurve();
}

void MSplineShapeBase::Rotate(double cx, double cy, double angle) {
    for (MFloatPoint& p : m_controlPoints)
        p.RotateAbout({cx, cy}, angle);
    RecomputeCurve();
}

void MSplineShapeBase::InsertVertex(int edgeIndex) {
    const int n = m_controlPoints.GetSize();
    if (n < 2) return;  // no edge to split
    if (edgeIndex < n - 1)
        m_controlPoints.InsertAt(
            edgeIndex + 1, (m_controlPoints.GetAt(edgeIndex) + m_controlPoints.GetAt(edgeIndex + 1)) / 2);
    else if (m_loop)
        m_controlPoints.InsertAt(0, (m_controlPoints[n - 1] + m_controlPoints[0]) / 2);
    else
        m_controlPoints.InsertAt(n - 1, (m_controlPoints[n - 2] + m_controlPoints[n - 1]) / 2);
    RecomputeCurve();
}

void MSplineShapeBase::DeleteVertex(int index) {
    if (m_controlPoints.GetSize() <= 2) return;
    m_controlPoints.RemoveAt(index);
    RecomputeCurve();
}

bool MSplineShapeBase::HasFiniteValues() const {
    for (int i = 0; i < m_controlPoints.GetSize(); ++i)
        if (!IsFinite(m_controlPoints[i])) return false;
    return MPolygonShape::HasFiniteValues();
}
