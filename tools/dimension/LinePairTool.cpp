#include "tools/dimension/LinePairTool.h"

#include <cmath>
#include <memory>

#include "model/geometry/Geometry.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/gdi/DC.h"
#include "view/TessarayView.h"

namespace {

// Decided by the side of the pick along the line, not by comparing angles, which breaks down
// near +-pi and for nearly horizontal lines.
double RayTowards(const MLineEnds& line, const MFloatPoint& pick, const MFloatPoint& crossing) {
    const MFloatPoint d = line.Direction();
    const double ray = std::atan2(d.y, d.x);
    return (pick - crossing).Dot(d) < 0.0 ? NormalizeAngle(ray + kPi) : ray;
}

}  // namespace

std::optional<MPickedLineRays> GetRaysTowardPicks(const MLineEnds& line0, const MFloatPoint& pick0,
                                                  const MLineEnds& line1, const MFloatPoint& pick1) {
    const std::optional<MLineCrossing> x = CrossLines(line0, line1);
    if (!x) return std::nullopt;
    return MPickedLineRays{x->point, RayTowards(line0, pick0, x->point), RayTowards(line1, pick1, x->point)};
}

double GetAngleBetweenRays(double ray0, double ray1) {
    return std::fabs(NormalizeAngle(ray1 - ray0));
}

MCadShape* MLinePairTool::FilterPickTarget(MCadShape* shape) {
    return dynamic_cast<MLineShape*>(shape);
}

int MLinePairTool::OnPickAt(MTessarayView* view, double x, double y, UINT flags) {
    // A typed point has no press of its own: it is taken as given.
    if (GetPointConstraint().HasEntry()) return MDrawTool::OnPickAt(view, x, y, flags);
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    const MFloatPoint pressed = view->DeviceToDoc(dc.get(), GetPressPoint());
    dc.reset();
    return MDrawTool::OnPickAt(view, pressed.x, pressed.y, flags);
}

std::optional<MPickedLineRays> MLinePairTool::PickedRays() const {
    if (Lists().PickCount() < 2) return std::nullopt;
    const auto* a = dynamic_cast<const MLineShape*>(Lists().Pick(0));
    const auto* b = dynamic_cast<const MLineShape*>(Lists().Pick(1));
    if (!a || !b) return std::nullopt;
    return GetRaysTowardPicks({a->m_start, a->m_end}, Lists().PickPoint(0), {b->m_start, b->m_end},
                              Lists().PickPoint(1));
}
