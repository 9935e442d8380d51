#include "model/shapes/curves/FanShape.h"

#include <cfloat>
#include <cmath>
#include <istream>
#include <ostream>

#include "model/CadView.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/render/BezierOutline.h"
#include "model/shapes/ShapeTypes.h"

IMPLEMENT_SERIAL(MCircleFanShape, MCircleArcShape, 1)

MCircleFanShape::MCircleFanShape() {
    SetClosed(TRUE);
    SetVertexSnap(FALSE);
}

MCircleFanShape::~MCircleFanShape() = default;

int MCircleFanShape::ComputeOutline(MFloatPoint* out) const {
    if (!out) return kFanPoints;
    MCircleArcShape::ComputeOutline(out);
    out[kArcPoints] = OutlineOrigin(m_center);
    return kFanPoints;
}

BOOL MCircleFanShape::GetOutlineCurve(std::vector<MFloatPoint>& run) const {
    const MFloatPoint start(m_center.x + m_radius * std::cos(m_startAngle),
                            m_center.y + m_radius * std::sin(m_startAngle));
    if (!OutlineStartsAt(start, kFanPoints)) return FALSE;
    AppendArcPieces(run, m_center, m_radius, m_radius, m_startAngle, m_endAngle - m_startAngle);
    AppendLinePiece(run, m_center);
    AppendLinePiece(run, run.front());
    return TRUE;
}

BOOL MCircleFanShape::HitTest(MCadView* view, const CPoint& point, MFloatPoint* foot, int tolerance) const {
    if (MCircleArcShape::HitTest(view, point, foot, tolerance)) return TRUE;
    const MVertexList v(*this);
    const int n = v.GetSize();
    if (n < 2) return FALSE;
    const MFloatPoint p = view->LogicalToDoc(point);
    const MFloatPoint& centre = v[n - 1];
    const MFloatPoint radii[2][2] = {{v[0], centre}, {centre, v[n - 2]}};
    double nearest = DBL_MAX;
    MFloatPoint best;
    bool found = false;
    for (const auto& radius : radii) {
        MFloatPoint f;
        if (!IsPerpendicularFootOnSegment(radius[0], radius[1], p, &f)) continue;
        const double d = (f - p).GetLength();
        if (d < nearest) {
            nearest = d;
            best = f;
            found = true;
        }
    }
    if (!found) return FALSE;
    const CPoint logical = view->DocToLogical(best);
    const double dx = logical.x - point.x, dy = logical.y - point.y;
    if (!(dx * dx + dy * dy < static_cast<double>(tolerance) * tolerance)) return FALSE;
    if (foot) *foot = best;
    return TRUE;
}

double MCircleFanShape::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                                   int kinds, double best) {
    best = MCircleArcShape::SnapPoints(snap, cursor, aperture, kinds, best);
    const MVertexList v(*this);
    if ((kinds & kSnapMidPoint) && v.GetSize() >= kFanPoints) {
        best = OfferSnapCandidate(snap, cursor, aperture, (m_center + v[0]) / 2, kSnapMidPoint, best, this);
        best = OfferSnapCandidate(snap, cursor, aperture, (m_center + v[kArcPoints - 1]) / 2, kSnapMidPoint,
                                  best, this);
    }
    return best;
}

double MCircleFanShape::GetArea() const {
    double start = m_startAngle, end = m_endAngle;
    NormalizeArcAngles(start, end);
    return m_radius * m_radius * kPi * (end - start) / kTwoPi;
}

short MCircleFanShape::GetTypeId() const {
    return kShapeFan;
}
MCadShape* MCircleFanShape::CreateNew() const {
    return new MCircleFanShape;
}

void MCircleFanShape::WriteText(CDocument*, std::ostream& os) const {
    WriteArcText(os, FALSE);
}

void MCircleFanShape::ReadText(CDocument*, std::istream& is) {
    ReadArcText(is, FALSE);
}
