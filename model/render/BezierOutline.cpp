#include "model/render/BezierOutline.h"

#include <algorithm>
#include <cmath>

#include "model/geometry/Geometry.h"

namespace {

MFloatPoint OnEllipse(const MFloatPoint& c, double rx, double ry, double angle) {
    return {c.x + rx * std::cos(angle), c.y + ry * std::sin(angle)};
}

}  // namespace

void AppendLinePiece(std::vector<MFloatPoint>& run, MFloatPoint to) {
    const MFloatPoint from = run.back();
    run.push_back(from + (to - from) / 3);
    run.push_back(from + (to - from) * (2.0 / 3));
    run.push_back(to);
}

void AppendArcPieces(std::vector<MFloatPoint>& run, const MFloatPoint& centre, double rx, double ry,
                     double start, double sweep) {
    const MFloatPoint first = OnEllipse(centre, rx, ry, start);
    if (run.empty())
        run.push_back(first);
    else if (run.back().x != first.x || run.back().y != first.y)
        AppendLinePiece(run, first);
    const int pieces = std::clamp(static_cast<int>(std::ceil(std::fabs(sweep) / (kPi / 2) - 1e-9)), 1, 64);
    const double step = sweep / pieces;
    // The controls along the tangents at 4/3 tan(step / 4) of the radius put the piece's middle
    // on the ellipse.
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    double a = start;
    MFloatPoint p = first;
    for (int i = 1; i <= pieces; ++i) {
        const double b = i == pieces ? start + sweep : start + step * i;
        const MFloatPoint q = OnEllipse(centre, rx, ry, b);
        run.push_back({p.x - k * rx * std::sin(a), p.y + k * ry * std::cos(a)});
        run.push_back({q.x + k * rx * std::sin(b), q.y - k * ry * std::cos(b)});
        run.push_back(q);
        a = b;
        p = q;
    }
}
