#include "tools/line/NPolygonTool.h"

#include <cmath>

#include "model/geometry/Geometry.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/Strings.h"
#include "resources/ResourceIds.h"
#include "tools/SettingLine.h"
#include "tools/line/FigureDialogs.h"

MNPolygonTool::MNPolygonTool(int toolId) : MLockedValueTool(toolId) {
    // No step prompts: the status bar stays empty for this tool. The press on the centre asks for
    // the values; the polygon then follows the pointer until the release.
    DeclareSteps(0, 0,
                 {MToolStep::TakenAtPress(
                      [this](MTessarayView* view, const MFloatPoint& p) { return TakeCentre(view, p); }),
                  MToolStep()});
    ClearConstraint();
    SetLockedValues({IDD_NPOLYGON_INPUT,
                     {{.value = &m_radius,
                       .lock = &m_radiusLocked,
                       .editId = IDC_NPOLYGON_RADIUS,
                       .checkId = IDC_NPOLYGON_RADIUS_LOCK},
                      {.value = &m_angle,
                       .lock = &m_angleLocked,
                       .editId = IDC_NPOLYGON_ANGLE,
                       .checkId = IDC_NPOLYGON_ANGLE_LOCK,
                       .kind = MNumericEntryDialog::kAngle}}});
}

MCadShape* MNPolygonTool::NewShape(MTessarayView*) {
    return new MPolygonShape(m_sides, TRUE);
}

BOOL MNPolygonTool::AskValues(MTessarayView* view) {
    double radius = m_radius, angle = m_angle;
    BOOL radiusLocked = m_radiusLocked, angleLocked = m_angleLocked;
    MInputNPolygon dialog(view, &radius, &radiusLocked, &angle, &angleLocked);
    dialog.m_sides = m_sides;
    dialog.m_circumscribed = m_circumscribed ? 1 : 0;
    if (dialog.DoModal() != IDOK) return FALSE;
    m_radius = radius;
    m_angle = angle;
    m_radiusLocked = radiusLocked;
    m_angleLocked = angleLocked;
    m_sides = dialog.m_sides;
    m_circumscribed = dialog.m_circumscribed ? TRUE : FALSE;
    return TRUE;
}

void MNPolygonTool::OnNumericInput(MTessarayView* view) {
    AskValues(view);
}

bool MNPolygonTool::TakeCentre(MTessarayView* view, const MFloatPoint& p) {
    m_centre = p;
    if (!AskValues(view)) {
        OnCancel(view);
        return false;
    }
    Lists().NewShapes().DeleteAll();
    CreateAndAddShape(view);
    return true;
}

void MNPolygonTool::BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT) {
    if (GetStep() == 0) m_centre = cursor;
    PlaceVertices(view, cursor);
}

void MNPolygonTool::PlaceVertices(MTessarayView* view, const MFloatPoint& p) {
    const MFloatPoint v = p - m_centre;
    double start = m_angleLocked ? m_angle : std::atan2(v.y, v.x);
    double radius = m_radiusLocked ? m_radius : std::hypot(v.x, v.y);
    const double step = 2 * kPi / m_sides;
    if (!m_circumscribed) {
        // The circle touches the edges, and an edge midpoint lies in the start direction.
        radius /= std::cos(step / 2);
        start += step / 2;
    }
    auto* polygon = Lists().NewCount() ? dynamic_cast<MPolygonShape*>(Lists().NewShape(0)) : nullptr;
    if (!polygon || polygon->GetPointCount() != m_sides) {
        Lists().NewShapes().DeleteAll();
        CreateAndAddShape(view);
        polygon = Lists().NewCount() ? dynamic_cast<MPolygonShape*>(Lists().NewShape(0)) : nullptr;
        if (!polygon) return;
    }
    for (int i = 0; i < m_sides; ++i) {
        const double a = start + i * step;
        polygon->SetPoint(i,
                          MFloatPoint(m_centre.x + radius * std::cos(a), m_centre.y + radius * std::sin(a)));
    }
}

void MNPolygonTool::SaveSettings(std::ostream& os) {
    MDrawTool::SaveSettings(os);
    WriteSettingLine(os, {m_radius, m_angle, static_cast<double>(m_sides), m_circumscribed ? 1.0 : 0.0});
}

void MNPolygonTool::LoadSettings(std::istream& is) {
    MDrawTool::LoadSettings(is);
    const MSettingLineReader line(is);
    if (!line.HasLine()) return;
    // Every value below reaches the vertex loop: a count sizes the polygon, a radius or angle that
    // is not a number would put every vertex at NaN.
    m_radius = LoadedRadius(line.Number(0), kDefaultRadius);
    m_angle = LoadedAngle(line.Number(1), 0.0);
    const auto sides = line.Integer(2);
    m_sides = sides && *sides >= MInputNPolygon::kMinSides && *sides <= MInputNPolygon::kMaxSides
                  ? *sides
                  : kDefaultSides;
    if (const auto flag = line.Integer(3)) m_circumscribed = *flag ? TRUE : FALSE;
}
