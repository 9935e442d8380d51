#include "tools/circle/CircleTool.h"

#include <cmath>

#include "model/shapes/curves/CircleShape.h"
#include "platform/Strings.h"
#include "resources/ResourceIds.h"

MCircleTool::MCircleTool(int toolId) : MLockedValueTool(toolId) {
    // A fixed radius without a first touch: the circle follows the pointer and a click places it.
    DeclareSteps(
        IDS_CIRCLE_STEPS, 0,
        {MToolStep::SkippedWhen([this] { return IsRadiusFixed() && !m_touchA.shape; }), MToolStep()});
    ClearConstraint();
    SetLockedValues({IDD_CIRCLE_INPUT,
                     {{.value = &m_radius,
                       .lock = &m_radiusFixed,
                       .editId = IDC_CIRCLE_RADIUS,
                       .fallback = kDefaultRadius,
                       .positiveMessage = IDS_RADIUS_NOT_POSITIVE}}});
}

void MCircleTool::Reset() {
    MDrawTool::Reset();
    m_touchA = m_touchB = m_touchC = Touch();
}

MCadShape* MCircleTool::NewShape(MTessarayView*) {
    return new MCircleShape();
}

std::optional<MTouchShape> MCircleTool::Read(const Touch& touch) {
    return touch.shape ? ReadTouchShape(touch.shape, touch.pick) : std::nullopt;
}

void MCircleTool::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT) {
    double r = m_radius;
    if (GetStep() == 0) m_centre = cursor;
    if (m_radiusFixed)
        m_centre = cursor;
    else
        r = std::hypot(cursor.x - m_centre.x, cursor.y - m_centre.y);
    const MTouchInput in{cursor, m_centre, r, m_radiusFixed != FALSE};
    // Without A a third shape plays no part: B alone is touched from the clicked centre.
    const std::optional<MTouchShape> c = m_touchA.shape ? Read(m_touchC) : std::nullopt;
    const MTangentCircle circle = SolveTouch(in, Read(m_touchA), Read(m_touchB), c);
    m_centre = circle.centre;
    if (auto* shape = dynamic_cast<MCircleShape*>(Lists().NewShape(0)))
        shape->SetCircle(circle.centre.x, circle.centre.y, circle.radius);
}

MCadShape* MCircleTool::FilterTouchShape(MCadShape* shape) {
    if (!shape || shape == m_touchA.shape || shape == m_touchB.shape || shape == m_touchC.shape)
        return nullptr;
    // A line of length zero has no direction to touch.
    return ReadTouchShape(shape, MFloatPoint()) ? shape : nullptr;
}

unsigned MCircleTool::GetConstraintModes() {
    if (!GetSnapMarkFlag()) return 0;
    const bool touchable =
        FilterTouchShape(GetSnapRecord().shape1) || FilterTouchShape(GetSnapRecord().shape2);
    return touchable ? kModeTouch : 0u;
}

void MCircleTool::OnConstraintMode(MTessarayView* view, MConstraintMode mode) {
    if (mode != kModeTouch || !(GetConstraintModes() & kModeTouch)) return;
    MCadShape* shape = FilterTouchShape(GetSnapRecord().shape1);
    if (!shape) shape = FilterTouchShape(GetSnapRecord().shape2);
    const MFloatPoint point = GetSnapRecord().GetPoint();
    if (Lists().NewCount() == 0) {
        m_touchA = {shape, point};
    } else if (m_touchB.shape) {
        m_touchC = {shape, point};
    } else {
        m_touchB = {shape, point};
        // The click on B places the centre again.
        if (m_touchA.shape) BeginStepAgain(0);
    }
    ClickAtPoint(view, point, 0);
}
