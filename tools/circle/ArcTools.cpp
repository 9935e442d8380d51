#include "tools/circle/ArcTools.h"

#include <algorithm>
#include <cmath>

#include "model/geometry/Geometry.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/FanShape.h"
#include "platform/Strings.h"
#include "platform/ui/MessageTranslation.h"
#include "resources/ResourceIds.h"

namespace {

// The direction from a to b, 0 when they coincide. atan2 keeps full precision near 0 and π, so an
// end snapped to a point of the drawing lies on the ray through it.
double Direction(const MFloatPoint& a, const MFloatPoint& b) {
    return std::atan2(b.y - a.y, b.x - a.x);
}
}  // namespace

// ----- arc and sector ---------------------------------------------------------------------------

MCircleArcTool::MCircleArcTool(int toolId) : MLockedValueTool(toolId) {
    DeclareSteps(IDS_CIRCLEARC_STEPS, 0,
                 {MToolStep(), MToolStep::SkippedWhen([this] { return IsRadiusFixed() != FALSE; }),
                  MToolStep::SkippedWhen([this] { return IsStartFixed() != FALSE; }),
                  MToolStep::SkippedWhen([this] { return IsEndFixed() != FALSE; })});
    ClearConstraint();
    SetLockedValues({IDD_CIRCLE_ARC_INPUT,
                     {{.value = &m_entry.radius,
                       .lock = &m_entry.radiusFixed,
                       .editId = IDC_ARC_RADIUS,
                       .checkId = IDC_ARC_RADIUS_CHECK,
                       .fallback = kDefaultRadius,
                       .positiveMessage = IDS_RADIUS_NOT_POSITIVE},
                      {.value = &m_entry.startAngle,
                       .lock = &m_entry.startFixed,
                       .editId = IDC_ARC_START,
                       .checkId = IDC_ARC_START_CHECK,
                       .kind = MNumericEntryDialog::kAngle,
                       .fallback = 0.0},
                      {.value = &m_entry.endAngle,
                       .lock = &m_entry.endFixed,
                       .editId = IDC_ARC_END,
                       .checkId = IDC_ARC_END_CHECK,
                       .kind = MNumericEntryDialog::kAngle,
                       .fallback = kDefaultEndAngle}},
                     true});
}

void MCircleArcTool::ReleaseConstraint() {
    MLockedValueTool::ReleaseConstraint();
    Tracker().guideLineShown = FALSE;
}

MCadShape* MCircleArcTool::NewShape(MTessarayView*) {
    return new MCircleArcShape();
}

void MCircleArcTool::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT) {
    double s = 0.0, e = kTwoPi;
    if (GetStep() <= 0) {
        m_centre = cursor;
        m_currentRadius = m_entry.radiusFixed ? m_entry.radius : 0.0;
        if (m_entry.startFixed) s = m_entry.startAngle;
        if (m_entry.endFixed) e = m_entry.endAngle;
    } else if (GetStep() == 1) {
        m_currentRadius = std::max(std::fabs(cursor.x - m_centre.x), std::fabs(cursor.y - m_centre.y));
        if (m_entry.startFixed && m_entry.endFixed) {
            // The arc that this step's release commits.
            s = m_entry.startAngle;
            e = m_entry.endAngle;
        }
    } else if (!Steps().HasPoint(1)) {
        // A radius passed over is its fixed value.
        m_currentRadius = m_entry.radius;
    }
    if (GetStep() == 2) {
        s = Direction(m_centre, cursor);
        e = m_entry.endFixed ? m_entry.endAngle : s + kTwoPi;
        m_currentStart = s;
    }
    if (GetStep() == 3) {
        if (!Steps().HasPoint(2)) m_currentStart = m_entry.startAngle;
        s = m_currentStart;
        e = m_entry.endFixed ? m_entry.endAngle : Direction(m_centre, cursor);
    }
    // The guide line from the centre shows while a direction follows the cursor.
    Tracker().guideLineShown =
        (GetStep() == 2 && !m_entry.startFixed) || (GetStep() == 3 && !m_entry.endFixed);
    Tracker().guideLine[0] = m_centre;
    Tracker().guideLine[1] = cursor;
    if (s > e) e += kTwoPi;
    if (auto* shape = dynamic_cast<MCircleArcShape*>(Lists().NewShape(0)))
        shape->SetArc(m_centre.x, m_centre.y, m_currentRadius, s, e);
}

MCadShape* MCircleFanTool::NewShape(MTessarayView*) {
    return new MCircleFanShape();
}

// ----- half and quarter circles -----------------------------------------------------------------

MAnchoredArcTool::MAnchoredArcTool(int toolId, UINT prompts) : MLockedValueTool(toolId) {
    // Radius and direction both fixed: the arc waits only for its side.
    DeclareSteps(prompts, 0,
                 {MToolStep(), MToolStep::SkippedWhen([this] { return IsRadiusFixed() && IsAngleFixed(); }),
                  MToolStep()});
    ClearConstraint();
    SetLockedValues({IDD_HALF_CIRCLE_INPUT,
                     {{.value = &m_entry.radius,
                       .lock = &m_entry.radiusFixed,
                       .editId = IDC_HALF_RADIUS,
                       .checkId = IDC_HALF_RADIUS_CHECK,
                       .fallback = kDefaultRadius,
                       .positiveMessage = IDS_RADIUS_NOT_POSITIVE},
                      {.value = &m_entry.angle,
                       .lock = &m_entry.angleFixed,
                       .editId = IDC_HALF_ANGLE,
                       .checkId = IDC_HALF_ANGLE_CHECK,
                       .kind = MNumericEntryDialog::kAngle,
                       .fallback = 0.0,
                       .limit = 360.0}},
                     true});
}

MCadShape* MAnchoredArcTool::NewShape(MTessarayView*) {
    return new MCircleArcShape();
}

void MAnchoredArcTool::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT flags) {
    if (GetStep() <= 0) {
        m_anchor = cursor;
        return;
    }
    auto* shape = dynamic_cast<MCircleArcShape*>(Lists().NewShape(0));
    if (!shape) return;
    // A radius and direction passed over are their fixed values.
    if (GetStep() != 2 || !Steps().HasPoint(1)) {
        double dx = cursor.x - m_anchor.x, dy = cursor.y - m_anchor.y;
        if (flags & MK_SHIFT) {
            if (std::fabs(dy) <= std::fabs(dx))
                dy = 0.0;
            else
                dx = 0.0;
        }
        m_currentRadius = m_entry.radiusFixed ? m_entry.radius : RadiusOf(std::hypot(dx, dy));
        m_direction = m_entry.angleFixed ? m_entry.angle : std::atan2(dy, dx);
        ShowPreview(shape);
    }
    if (GetStep() == 2) ShowSide(shape, cursor);
}

MHalfCircleTool::MHalfCircleTool(int toolId) : MAnchoredArcTool(toolId, IDS_HALFCIRCLE_STEPS) {}

MFloatPoint MHalfCircleTool::Centre() const {
    return MFloatPoint(m_anchor.x + std::cos(m_direction) * m_currentRadius,
                       m_anchor.y + std::sin(m_direction) * m_currentRadius);
}

void MHalfCircleTool::ShowPreview(MCircleArcShape* shape) {
    const MFloatPoint c = Centre();
    shape->SetArc(c.x, c.y, m_currentRadius, m_direction, m_direction + kTwoPi);
}

void MHalfCircleTool::ShowSide(MCircleArcShape* shape, const MFloatPoint& cursor) {
    const double turn =
        std::cos(m_direction) * (cursor.y - m_anchor.y) - std::sin(m_direction) * (cursor.x - m_anchor.x);
    const MFloatPoint c = Centre();
    if (turn >= 0.0)
        shape->SetArc(c.x, c.y, m_currentRadius, m_direction, m_direction + kPi);
    else
        shape->SetArc(c.x, c.y, m_currentRadius, m_direction - kPi, m_direction);
}

MQuadCircleTool::MQuadCircleTool(int toolId) : MAnchoredArcTool(toolId, IDS_QUADCIRCLE_STEPS) {}

void MQuadCircleTool::ShowPreview(MCircleArcShape* shape) {
    shape->SetArc(m_anchor.x, m_anchor.y, m_currentRadius, m_direction - kPi / 2.0, m_direction + kPi / 2.0);
}

void MQuadCircleTool::ShowSide(MCircleArcShape* shape, const MFloatPoint& cursor) {
    const double h = std::remainder(m_direction - Direction(m_anchor, cursor), kTwoPi);
    // Negative: the cursor lies counter-clockwise of the direction.
    if (h < 0.0)
        shape->SetArc(m_anchor.x, m_anchor.y, m_currentRadius, m_direction, m_direction + kPi / 2.0);
    else
        shape->SetArc(m_anchor.x, m_anchor.y, m_currentRadius, m_direction - kPi / 2.0, m_direction);
}
