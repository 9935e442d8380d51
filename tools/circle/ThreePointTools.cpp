#include "tools/circle/ThreePointTools.h"

#include <cmath>

#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "platform/Strings.h"
#include "resources/ResourceIds.h"

MCircleFit CircleThroughPoints(const MFloatPoint& p1, const MFloatPoint& p2, const MFloatPoint& p3) {
    const double vx = p2.x - p1.x, vy = p2.y - p1.y;
    const double wx = p3.x - p1.x, wy = p3.y - p1.y;
    const double vv = vx * vx + vy * vy, ww = wx * wx + wy * wy;
    const double cross = vx * wy - vy * wx;
    MCircleFit fit;
    if (std::fabs(cross) <= 1e-12 * std::sqrt(vv) * std::sqrt(ww)) {
        fit.centre = MFloatPoint((p1.x + p2.x) / 2.0, (p1.y + p2.y) / 2.0);
        fit.radius = std::sqrt(vv) / 2.0;
        return fit;
    }
    const double ux = (wy * vv - vy * ww) / (2.0 * cross);
    const double uy = (vx * ww - wx * vv) / (2.0 * cross);
    fit.centre = MFloatPoint(p1.x + ux, p1.y + uy);
    fit.radius = std::hypot(ux, uy);
    return fit;
}

// ----- the shared construction ------------------------------------------------------------------

M3PointCircleBase::M3PointCircleBase(int toolId, UINT prompts) : MLockedValueTool(toolId) {
    DeclareSteps(prompts, 0, {MToolStep(), MToolStep(), MToolStep()});
    ClearConstraint();
    SetLockedValues({IDD_3P_ARC_INPUT,
                     {{.value = &m_entry.radius,
                       .lock = &m_entry.radiusFixed,
                       .editId = IDC_ARC_RADIUS,
                       .checkId = IDC_ARC_RADIUS_CHECK,
                       .fallback = kDefaultRadius,
                       .positiveMessage = IDS_RADIUS_NOT_POSITIVE}},
                     true});
}

MFloatPoint M3PointCircleBase::FixedThirdPoint(const MFloatPoint& cursor, bool preview) const {
    const double vx = m_point2.x - m_point1.x, vy = m_point2.y - m_point1.y;
    const double h = std::hypot(vx, vy) / 2.0;
    // Too short for the chord: the cursor chooses freely.
    if (h > m_entry.radius) return cursor;
    const double k = std::sqrt(m_entry.radius * m_entry.radius - h * h);
    const double theta = std::atan2(vy, vx);
    const double c = std::cos(theta), s = std::sin(theta);
    const auto place = [&](double y) {
        return MFloatPoint(m_point1.x + h * c - y * s, m_point1.y + h * s + y * c);
    };
    const std::vector<double> heights = CandidateHeights(k, m_entry.radius);
    MFloatPoint best = place(heights.front());
    if (preview) return best;
    double bestDistance = std::hypot(best.x - cursor.x, best.y - cursor.y);
    for (std::size_t i = 1; i < heights.size(); ++i) {
        const MFloatPoint p = place(heights[i]);
        const double distance = std::hypot(p.x - cursor.x, p.y - cursor.y);
        if (distance < bestDistance) {
            best = p;
            bestDistance = distance;
        }
    }
    return best;
}

void M3PointCircleBase::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT) {
    if (GetStep() <= 0) {
        m_point1 = m_point2 = m_point3 = cursor;
    } else if (GetStep() == 1) {
        // The preview of a fixed radius follows the end point as it moves.
        m_point2 = cursor;
        m_point3 = m_entry.radiusFixed ? FixedThirdPoint(cursor, true) : cursor;
    } else {
        m_point3 = m_entry.radiusFixed ? FixedThirdPoint(cursor, false) : cursor;
    }
    ShowCircle(CircleThroughPoints(m_point1, m_point2, m_point3));
}

bool M3PointCircleBase::AcceptLockedValues() {
    const double halfChord = std::hypot(m_point2.x - m_point1.x, m_point2.y - m_point1.y) / 2.0;
    if (!m_entry.radiusFixed || GetStep() != 2 || m_entry.radius >= halfChord) return true;
    AfxMessageBox(IDS_RADIUS_TOO_SMALL, MB_OK);
    return false;
}

// ----- the circle -------------------------------------------------------------------------------

M3PCircleTool::M3PCircleTool(int toolId) : M3PointCircleBase(toolId, IDS_3PCIRCLE_STEPS) {}

MCadShape* M3PCircleTool::NewShape(MTessarayView*) {
    return new MCircleShape();
}

std::vector<double> M3PCircleTool::CandidateHeights(double k, double radius) const {
    return {k + radius, radius - k};
}

void M3PCircleTool::ShowCircle(const MCircleFit& circle) {
    if (auto* shape = dynamic_cast<MCircleShape*>(Lists().NewShape(0)))
        shape->SetCircle(circle.centre.x, circle.centre.y, circle.radius);
}

// ----- the arc ----------------------------------------------------------------------------------

M3PCircleArcTool::M3PCircleArcTool(int toolId) : M3PointCircleBase(toolId, IDS_3PCIRCLEARC_STEPS) {}

MCadShape* M3PCircleArcTool::NewShape(MTessarayView*) {
    return new MCircleArcShape();
}

std::vector<double> M3PCircleArcTool::CandidateHeights(double k, double radius) const {
    return {k - radius, k + radius, -k - radius, radius - k};
}

void M3PCircleArcTool::ShowCircle(const MCircleFit& circle) {
    auto* shape = dynamic_cast<MCircleArcShape*>(Lists().NewShape(0));
    if (!shape) return;
    const MFloatPoint& c = circle.centre;
    if (circle.radius == 0.0) {
        shape->SetArc(c.x, c.y, 0.0, 0.0, 0.0);
        return;
    }
    const double a1 = std::atan2(m_point1.y - c.y, m_point1.x - c.x);
    const double a2 = std::atan2(m_point2.y - c.y, m_point2.x - c.x);
    const double a3 = std::atan2(m_point3.y - c.y, m_point3.x - c.x);
    const double low = std::min(a1, a2), high = std::max(a1, a2);
    // Counter-clockwise from start to end: the way that passes the third point.
    if (low <= a3 && a3 <= high)
        shape->SetArc(c.x, c.y, circle.radius, low, high);
    else
        shape->SetArc(c.x, c.y, circle.radius, high, low);
}
