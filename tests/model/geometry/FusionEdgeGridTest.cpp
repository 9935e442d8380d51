#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "model/geometry/FusionEdgeGrid.h"

namespace {

double DistanceToSegment(const MFloatPoint& a, const MFloatPoint& b, const MFloatPoint& p) {
    const MFloatPoint d = b - a;
    const double t = std::clamp((p - a).Dot(d) / d.Dot(d), 0.0, 1.0);
    return (a + d * t - p).GetLength();
}

// Closer than pad somewhere: one end near the other edge, or a crossing.
bool Meet(const MFusionEdge& e, const MFusionEdge& f, double pad) {
    if (DistanceToSegment(e.from, e.to, f.from) <= pad || DistanceToSegment(e.from, e.to, f.to) <= pad ||
        DistanceToSegment(f.from, f.to, e.from) <= pad || DistanceToSegment(f.from, f.to, e.to) <= pad)
        return true;
    const double s1 = (e.to - e.from).Cross(f.from - e.from), s2 = (e.to - e.from).Cross(f.to - e.from);
    const double s3 = (f.to - f.from).Cross(e.from - f.from), s4 = (f.to - f.from).Cross(e.to - f.from);
    return s1 * s2 < 0 && s3 * s4 < 0;
}

TEST(FusionEdgeGrid, EveryMeetingPairIsVisitedExactlyOnce) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> coordinate(-1000, 1000), unit(0, 1);
    for (int round = 0; round < 40; ++round) {
        // Mostly short edges with some long ones across, some horizontal and vertical.
        std::vector<MFusionEdge> edges;
        for (int i = 0; i < 150; ++i) {
            const MFloatPoint a(coordinate(random), coordinate(random));
            const double length = unit(random) < 0.1 ? 2000 : 40 * unit(random) + 1;
            MFloatPoint d = MFloatPoint(1, 0).GetRotated(6.283185307179586 * unit(random)) * length;
            if (i % 10 == 0) d.y = 0;
            if (i % 10 == 1) d.x = 0;
            if (i % 3 == 2) {
                // Beside the previous edge, or stopping just short of it, closer than the pad.
                const MFusionEdge& p = edges.back();
                const MFloatPoint normal = MFloatPoint(p.from.y - p.to.y, p.to.x - p.from.x).GetUnit() * 4.0;
                const MFloatPoint start = i % 2 ? p.from + normal : (p.from + p.to) / 2 + normal;
                edges.push_back({i, i, 0, start, i % 2 ? p.to + normal : start + normal * 5});
                continue;
            }
            edges.push_back({i, i, 0, a, a + d});
        }
        const double pad = round % 2 ? 5.0 : 0.0;
        std::set<std::pair<int, int>> visited;
        MFusionEdgeGrid(edges, pad).ForEachPair([&](int i, int j) {
            EXPECT_LT(i, j);
            EXPECT_TRUE(visited.emplace(i, j).second) << i << ", " << j << " twice";
        });
        for (int i = 0; i < 150; ++i)
            for (int j = i + 1; j < 150; ++j)
                if (Meet(edges[i], edges[j], pad))
                    EXPECT_TRUE(visited.count({i, j})) << i << ", " << j << " missed";
    }
}

}  // namespace
