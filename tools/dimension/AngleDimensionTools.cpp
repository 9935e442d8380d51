#include "tools/dimension/AngleDimensionTools.h"

#include <cmath>
#include <memory>

#include "model/geometry/Geometry.h"
#include "model/shapes/dimension/AngleShape.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "resources/ResourceIds.h"
#include "tools/ToolScopes.h"
#include "tools/dimension/DimensionInputDialogs.h"
#include "tools/dimension/DimensionPlacement.h"
#include "view/TessarayView.h"

namespace {

// The direction of v, 0 for the zero vector.
double Direction(const MFloatPoint& v) {
    return v.x == 0.0 && v.y == 0.0 ? 0.0 : std::atan2(v.y, v.x);
}

// The turn from a ray counter-clockwise to the direction s, 0 to 2 pi.
double TurnFrom(double ray, double s) {
    const double d = NormalizeAngle(s - ray);
    return d < 0.0 ? d + kTwoPi : d;
}

void SetTextAndFlags(MAngleShape* shape, BOOL userText, const std::string& text) {
    shape->SetFlags(userText ? MSizeBaseShape::kUserText : 0);
    if (userText) shape->SetText(text);
}

}  // namespace

// ----- centre and points ------------------------------------------------------------------------

MAngleTool::MAngleTool(int toolId) : MDrawTool(toolId) {
    // A fixed angle passes the sweep; the automatic text position passes the text's.
    DeclareSteps(IDS_ANGLE_STEPS, 0,
                 {MToolStep(), MToolStep(), MToolStep::SkippedWhen([this] { return m_fixedAngle != FALSE; }),
                  MToolStep::SkippedWhen([] { return GetDimensionPlacement().angleAutoText != FALSE; })});
}

void MAngleTool::ReleaseConstraint() {
    ClearConstraint();
    m_fixedAngle = FALSE;
    m_userText = FALSE;
}

MCadShape* MAngleTool::NewShape(MTessarayView*) {
    return new MAngleShape();
}

MAngleShape* MAngleTool::Shape() const {
    return Lists().NewCount() > 0 ? dynamic_cast<MAngleShape*>(Lists().NewShape(0)) : nullptr;
}

BOOL MAngleTool::IsStepPointSound() {
    // An arc without a radius is no dimension: the start point is asked again.
    return GetStep() < 1 || m_radius >= kZeroTolerance;
}

void MAngleTool::BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT) {
    MAngleShape* shape = Shape();
    if (!shape || GetStep() < 0) return;
    const MFloatPoint q = cursor;
    switch (GetStep()) {
        case 0:
            m_centre = q;
            m_start = m_radius = m_sweep = 0.0;
            break;
        case 1:
            m_start = Direction(q - m_centre);
            m_radius = (q - m_centre).GetLength();
            m_sweep = 0.0;
            break;
        case 2:
            m_sweep = NormalizeAngle(Direction(q - m_centre) - m_start);
            break;
        default:
            break;
    }
    if (m_fixedAngle) m_sweep = m_angle * kPi / 180.0;
    if (GetDimensionPlacement().angleAutoText) {
        double middle = NormalizeAngle(m_sweep / 2.0);
        if (middle < 0.0) middle = NormalizeAngle(middle + kPi);
        m_textAngle = NormalizeAngle(middle + m_start);
    } else {
        m_textAngle = Direction(q - m_centre);
    }
    shape->SetAngles(m_centre, m_radius, m_start, m_start + m_sweep, m_textAngle);
    SetTextAndFlags(shape, m_userText, m_text);
    Tracker().guideLineShown = TRUE;
    Tracker().guideLine[0] = m_centre;
    Tracker().guideLine[1] = q;
    shape->UpdateText();
    shape->Rebuild(view);
}

void MAngleTool::OnNumericInput(MTessarayView* view) {
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    BOOL& autoText = GetDimensionPlacement().angleAutoText;
    MInputAngleDialog dialog(view, Shape(), 1);
    dialog.SetValues(m_angle, m_fixedAngle, m_text, m_userText, autoText, KeepsValues());
    if (dialog.DoModal() != IDOK) return;
    m_angle = dialog.m_angle;
    m_fixedAngle = dialog.m_fixedAngle != 0;
    m_text = dialog.m_text;
    m_userText = dialog.m_userText != 0;
    autoText = dialog.m_autoTextPosition != 0;
    SetKeepValues(dialog.m_keep != 0);
    BeginStepAgain(1);
    if (MAngleShape* shape = Shape()) {
        shape->SetSizeStyle(GetDefaultSizeStyle());
        OnPoint(view, GetCurrentPoint().x, GetCurrentPoint().y, kPhaseMove, 0);
        Lists().RecalcNew(view);
    }
    UpdatePrompt();
}

// ----- between two lines ------------------------------------------------------------------------

MLineAngleTool::MLineAngleTool(int toolId) : MLinePairTool(toolId) {
    // After the two lines: the radius, then the text unless its position is automatic.
    DeclareSteps(IDS_LINEANGLE_STEPS, IDS_LINEANGLE_PICKS,
                 {MToolStep(),
                  MToolStep::SkippedWhen([] { return GetDimensionPlacement().lineAngleAutoText != FALSE; })});
}

void MLineAngleTool::ReleaseConstraint() {
    ClearConstraint();
    m_radius = kDefaultRadius;
    m_userText = FALSE;
    m_text.clear();
}

MAngleShape* MLineAngleTool::Shape() const {
    return Lists().NewCount() > 0 ? dynamic_cast<MAngleShape*>(Lists().NewShape(0)) : nullptr;
}

int MLineAngleTool::CreateAndAddShape(MTessarayView*) {
    const std::optional<MPickedLineRays> rays = PickedRays();
    if (!rays) {
        Reset();
        return 0;
    }
    m_rays = *rays;
    Lists().AddNewExpanded(new MAngleShape(), -1);
    return 1;
}

BOOL MLineAngleTool::IsStepPointSound() {
    // An arc without a radius is no dimension: the radius is asked again.
    return m_radius >= kZeroTolerance;
}

void MLineAngleTool::BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT) {
    MAngleShape* shape = Shape();
    if (!shape || GetStep() < 0 || GetStep() > 1) return;
    const MFloatPoint v = cursor - m_rays.crossing;
    const double s = Direction(v);
    if (GetStep() == 0) m_radius = v.GetLength();
    // The arc between the rays that holds the cursor's direction, counter-clockwise.
    const bool fromSecond = TurnFrom(m_rays.ray0, s) > TurnFrom(m_rays.ray1, s);
    const double start = fromSecond ? m_rays.ray1 : m_rays.ray0;
    const double end = fromSecond ? m_rays.ray0 : m_rays.ray1;
    const BOOL autoText = GetDimensionPlacement().lineAngleAutoText;
    const double textAngle = !autoText && GetStep() == 1 ? s : GetBisectorAngle(start, end);
    shape->SetAngles(m_rays.crossing, m_radius, start, end, textAngle);
    SetTextAndFlags(shape, m_userText, m_text);
    shape->UpdateText();
    shape->Rebuild(view);
}

void MLineAngleTool::OnNumericInput(MTessarayView* view) {
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    BOOL& autoText = GetDimensionPlacement().lineAngleAutoText;
    MInputAngleDialog dialog(view, Shape(), 0);
    dialog.SetValues(dialog.m_angle, dialog.m_fixedAngle, m_text, m_userText, autoText, KeepsValues());
    if (dialog.DoModal() != IDOK) return;
    autoText = dialog.m_autoTextPosition != 0;
    m_userText = dialog.m_userText != 0;
    m_text = dialog.m_text;
    SetKeepValues(dialog.m_keep != 0);
    BeginStepAgain(0);
    if (MAngleShape* shape = Shape()) {
        shape->SetSizeStyle(GetDefaultSizeStyle());
        OnPoint(view, GetCurrentPoint().x, GetCurrentPoint().y, kPhaseMove, 0);
        Lists().RecalcNew(view);
    }
    UpdatePrompt();
}
