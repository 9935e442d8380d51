#include "model/geometry/PolygonBoolean.h"

#include <algorithm>
#include <cmath>

#include "model/geometry/FusionCrossings.h"

namespace {

// Points closer than this fraction of the largest coordinate are one point: far above the rounding
// of computed crossings, far below any distance a drawing means.
constexpr double kMergeFraction = 0x1p-40;
// Beyond this the exact orientation products would overflow.
constexpr double kLargestCoordinate = 1e150;

double GetMagnitude(const MFloatPointArray& first, const MFloatPointArray& second) {
    double magnitude = 0.0;
    for (const MFloatPointArray* outline : {&first, &second}) {
        for (const MFloatPoint& p : *outline) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) return -1.0;
            magnitude = std::max({magnitude, std::fabs(p.x), std::fabs(p.y)});
        }
    }
    return magnitude > kLargestCoordinate ? -1.0 : magnitude;
}

// The outline as merged vertex indices, without repeats of one vertex in a row; empty when fewer
// than three distinct vertices remain.
std::vector<int> AddRing(MFusionVertexArray& graph, const MFloatPointArray& outline, int shape) {
    std::vector<int> ring;
    ring.reserve(outline.GetSize());
    for (const MFloatPoint& p : outline) {
        const int v = graph.AddVertex(p, shape);
        if (ring.empty() || ring.back() != v) ring.push_back(v);
    }
    while (ring.size() > 1 && ring.back() == ring.front())
        ring.pop_back();
    std::vector<int> distinct(ring);
    std::sort(distinct.begin(), distinct.end());
    if (std::unique(distinct.begin(), distinct.end()) - distinct.begin() < 3) ring.clear();
    return ring;
}

}  // namespace

MFusionResult CombineOutlines(const MFloatPointArray& first, const MFloatPointArray& second,
                              MFusionOperation op) {
    MFusionResult result;
    result.status = MFusionStatus::BadOutline;
    const double magnitude = GetMagnitude(first, second);
    if (!(magnitude > 0.0)) return result;

    MFusionVertexArray graph(magnitude * kMergeFraction);
    std::vector<std::vector<int>> rings{AddRing(graph, first, 0), AddRing(graph, second, 1)};
    if (rings[0].empty() || rings[1].empty()) return result;
    AddRingsCutAtCrossings(graph, rings);
    return ExtractFusionLoops(graph, op);
}
