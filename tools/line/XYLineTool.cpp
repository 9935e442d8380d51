#include "tools/line/XYLineTool.h"

#include <cmath>

#include "model/geometry/Geometry.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/Strings.h"
#include "tools/line/LineDialogs.h"

namespace {
constexpr double kRightAngle = kPi / 2;
}  // namespace

MXYLineTool::MXYLineTool(int toolId) : MLineTool(toolId) {}

double MXYLineTool::SoundStep(double step) {
    return std::isfinite(step) && std::fabs(step) > kZeroTolerance ? step : kRightAngle;
}

MFloatPoint MXYLineTool::ProjectPointOnLine(double x0, double y0, double x1, double y1) {
    const MFloatPoint p0(x0, y0), p(x1, y1);
    const double b = (p - p0).GetAngle();
    // No step chosen (0) means 90 degrees from the first use on, and is kept and saved so.
    m_lockAngle = SoundStep(m_lockAngle);
    const double step = m_lockAngle;
    // Rounded in double: truncating a quotient of a tiny step into an integer would overflow it.
    const double e = std::round(b / step) * step;
    MFloatPoint foot;
    GetPerpendicularFoot(&foot, p0, p0 + MFloatPoint(std::cos(e), std::sin(e)), p);
    return foot;
}

MFloatPoint MXYLineTool::ConstrainAngleLength(MTessarayView* view, const MFloatPoint& base, MFloatPoint pt,
                                              double length, BOOL bLength, double, BOOL, UINT flags) {
    const MFloatPoint q = ProjectPointOnLine(base.x, base.y, pt.x, pt.y);
    return MLineTool::ConstrainAngleLength(view, base, q, length, bLength, (q - base).GetAngle(), TRUE,
                                           flags);
}

void MXYLineTool::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT) {
    MLineShape* line = Line();
    if (!line) return;
    if (GetStep() <= 0) line->m_start = cursor;
    line->m_end = cursor;
}

BOOL MXYLineTool::ApplyConstraint(MTessarayView* view, int x, int y, MFloatPoint* pt, UINT flags) {
    if (MDrawTool::ApplyConstraint(view, x, y, pt, flags)) return TRUE;
    const MLineShape* line = Line();
    if (!line || GetStep() < 1) return FALSE;
    *pt = ConstrainAngleLength(view, line->m_start, *pt, m_lockLength, m_lengthLock, 0.0, FALSE, flags);
    return TRUE;
}

void MXYLineTool::OnNumericInput(MTessarayView* view) {
    BOOL keep = KeepsValues();
    MInputXYLineDialog dialog(view, &m_lockLength, &m_lengthLock, &m_lockAngle, &keep);
    const int answer = dialog.DoModal();
    SetKeepValues(keep);
    if (answer != IDOK) return;
    SanitizeLocks();
    if (m_lockAngle != 0.0) m_lockAngle = SoundStep(m_lockAngle);
}

void MXYLineTool::LoadSettings(std::istream& is) {
    MLineTool::LoadSettings(is);
    // 0 stays until the first use: it means no step chosen.
    if (m_lockAngle != 0.0) m_lockAngle = SoundStep(m_lockAngle);
}
