#include "tools/line/LineTool.h"

#include <cmath>
#include <istream>
#include <ostream>

#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/Strings.h"
#include "platform/ui/MessageTranslation.h"
#include "resources/ResourceIds.h"
#include "tools/SettingLine.h"
#include "tools/line/TangentLines.h"

namespace {

const MCircleShape* AsCircle(const MCadShape* shape) {
    return dynamic_cast<const MCircleShape*>(shape);
}

MTangentCircleTarget Target(const MCircleShape* circle) {
    return {circle->m_center, circle->m_radius};
}

}  // namespace

MLineTool::MLineTool(int toolId) : MLockedValueTool(toolId) {
    DeclareSteps(IDS_LINE_STEPS, 0, {MToolStep(), MToolStep()});
    SetLockedValues({IDD_LINE_INPUT,
                     {{.value = &m_lockLength,
                       .lock = &m_lengthLock,
                       .editId = IDC_LENGTH_VALUE,
                       .checkId = IDC_USE_LENGTH,
                       .fallback = kDefaultLength},
                      {.value = &m_lockAngle,
                       .lock = &m_angleLock,
                       .editId = IDC_ANGLE_DEGREES,
                       .checkId = IDC_USE_ANGLE,
                       .kind = MNumericEntryDialog::kAngle,
                       .fallback = 0.0}},
                     false,
                     MSettingRule::kStream});
}

BOOL MLineTool::IsDirectionFixed() {
    return GetPointConstraint().HasFixedAngle() || m_angleLock;
}

double MLineTool::GetFixedDirection() {
    return GetPointConstraint().HasFixedAngle() ? GetPointConstraint().GetFixedAngle() : m_lockAngle;
}

void MLineTool::ClearConstraint() {
    MDrawTool::ClearConstraint();
    m_tangent[0] = m_tangent[1] = TangentTarget();
}

MLineShape* MLineTool::Line() const {
    return Lists().NewCount() > 0 ? dynamic_cast<MLineShape*>(Lists().NewShape(0)) : nullptr;
}

MCadShape* MLineTool::NewShape(MTessarayView*) {
    return new MLineShape();
}

void MLineTool::BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) {
    MLineShape* line = Line();
    if (!line) return;
    MFloatPoint point = cursor;
    // The first release only places the start: a press and a drag before it are not used.
    if (GetStep() <= 0) {
        line->m_start = line->m_end = point;
        return;
    }
    MFloatPoint start = line->m_start;
    ApplyTangentTargets(view, &start, &point, 0, flags);
    line->m_start = start;
    line->m_end = point;
}

void MLineTool::SanitizeLocks() {
    // A lock that could not be drawn is no lock.
    if (!std::isfinite(m_lockLength)) {
        m_lockLength = kDefaultLength;
        m_lengthLock = FALSE;
    }
    if (!std::isfinite(m_lockAngle)) {
        m_lockAngle = 0.0;
        m_angleLock = FALSE;
    }
}

BOOL MLineTool::RunLockDialog(MTessarayView* view, UINT templateId) {
    if (!RunLockedDialog(view, templateId)) return FALSE;
    SanitizeLocks();
    // A typed direction replaces a chosen one and the tangents.
    if (m_angleLock) ClearConstraint();
    return TRUE;
}

void MLineTool::OnNumericInput(MTessarayView* view) {
    RunLockDialog(view, IDD_LINE_INPUT);
}

BOOL MLineTool::IsConstrained() {
    return MLockedValueTool::IsConstrained() || GetPointConstraint().HasFixedAngle();
}

MCadShape* MLineTool::TangentShape() const {
    if (!GetSnapMarkFlag()) return nullptr;
    for (MCadShape* shape : {GetSnapRecord().shape1, GetSnapRecord().shape2})
        if (shape && shape->HasTangent()) return shape;
    return nullptr;
}

void MLineTool::SetTangentTarget(int which, MCadShape* shape, const MFloatPoint& pick) {
    m_tangent[which].shape = shape;
    m_tangent[which].pick = pick;
}

unsigned MLineTool::GetConstraintModes() {
    unsigned modes = MPointConstraint::DirectionModes(LastSnap());
    if (TangentShape()) {
        modes |= kModeTangent;
        if (Lists().NewCount() == 0) modes |= kModeTouch;
    }
    return modes;
}

void MLineTool::OnConstraintMode(MTessarayView* view, MConstraintMode mode) {
    if (mode == kModeTangent)
        TakeTangent(view);
    else if (mode == kModeTouch)
        TakeTouch(view);
    else
        PointConstraint().TakeDirection(mode, LastSnap(), view);
}

void MLineTool::TakeTangent(MTessarayView* view) {
    MCadShape* shape = TangentShape();
    if (!shape || !view) return;
    const MFloatPoint at = GetSnapRecord().GetPoint();
    if (Lists().NewCount() == 0) {
        // The click starts the line; the start then follows the touching point.
        ClickAtPoint(view, at, 0);
        SetTangentTarget(0, shape, at);
        return;
    }
    if (Line()) {
        SetTangentTarget(1, shape, at);
        ClickAtPoint(view, at, 0);
    }
    m_tangent[0] = m_tangent[1] = TangentTarget();
}

void MLineTool::TakeTouch(MTessarayView* view) {
    MCadShape* shape = (GetConstraintModes() & kModeTouch) ? TangentShape() : nullptr;
    if (!shape || !view) return;
    const MFloatPoint at = GetSnapRecord().GetPoint();
    ClickAtPoint(view, at, 0);
    const double angle = shape->GetTangentAngle(at, nullptr);
    if (angle != DBL_MAX) PointConstraint().SetFixedAngle(angle);
}

BOOL MLineTool::GetConstraintBase(MFloatPoint* base) {
    const MLineShape* line = Line();
    if (!line || GetStep() < 1) return FALSE;
    *base = line->m_start;
    return TRUE;
}

BOOL MLineTool::ApplyConstraint(MTessarayView* view, int x, int y, MFloatPoint* pt, UINT flags) {
    if (MDrawTool::ApplyConstraint(view, x, y, pt, flags)) return TRUE;
    MFloatPoint base;
    if (!GetConstraintBase(&base)) return FALSE;
    if (!IsConstrained() && !(flags & MK_SHIFT)) return FALSE;
    *pt = ConstrainAngleLength(view, base, *pt, m_lockLength, m_lengthLock, GetFixedDirection(),
                               IsDirectionFixed(), flags);
    return TRUE;
}

void MLineTool::ApplyTangentTargets(MTessarayView*, MFloatPoint* start, MFloatPoint* point, int, UINT) {
    const MCircleShape* first = AsCircle(m_tangent[0].shape);
    const MCircleShape* second = AsCircle(m_tangent[1].shape);
    if (first && !second) {
        // Inside or on the circle there is no tangent: the line shrinks to the pointer.
        const auto touch = TangentPointNear(Target(first), *point, m_tangent[0].pick);
        *start = touch ? *touch : *point;
    } else if (second && !first) {
        const auto touch = TangentPointNear(Target(second), *start, m_tangent[1].pick);
        *point = touch ? *touch : *start;
    } else if (first && second) {
        const auto tangent = NearestCommonTangent(Target(first), Target(second), *start, *point);
        if (tangent) {
            *start = tangent->start;
            *point = tangent->end;
        } else {
            *point = *start;
        }
    }
}

void MLineTool::ReadValues(std::istream& is, std::initializer_list<std::pair<double*, double>> values) {
    const MSettingLineReader line(is, MSettingRule::kStream);
    std::size_t index = 0;
    for (const auto& [value, fallback] : values)
        *value = line.Number(index++).value_or(fallback);
}
