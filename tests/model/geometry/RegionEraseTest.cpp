#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "model/geometry/RegionErase.h"

namespace {

using Run = std::vector<MFloatPoint>;
using Runs = std::vector<Run>;

MCutRegion Box(double x0, double y0, double x1, double y1) {
    return MCutRegion::Rectangle({x0, y0}, {x1, y1});
}

TEST(CutOutlineByRegion, ALineCutInTheMiddleGivesTwoRuns) {
    const MRegionCut cut = CutLineByRegion({0, 0}, {10, 0}, Box(4, -1, 6, 1));
    EXPECT_TRUE(cut.reachesInside);
    EXPECT_EQ(cut.runs, (Runs{{{0, 0}, {4, 0}}, {{6, 0}, {10, 0}}}));
}

TEST(CutOutlineByRegion, AClosedRectangleCrossedOnOneSideComesBackAsOneOpenRun) {
    const MFloatPoint rect[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const MRegionCut cut = CutOutlineByRegion(rect, true, Box(4, -1, 6, 1));
    EXPECT_TRUE(cut.reachesInside);
    // The run through the first vertex is one piece, from one crossing round to the other.
    EXPECT_EQ(cut.runs, (Runs{{{6, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}, {4, 0}}}));
}

TEST(CutOutlineByRegion, AnOutlineAroundTheRegionIsNotReached) {
    const MFloatPoint around[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const MRegionCut cut = CutOutlineByRegion(around, true, Box(4, 4, 6, 6));
    EXPECT_FALSE(cut.reachesInside);
    EXPECT_TRUE(cut.runs.empty());
}

TEST(CutOutlineByRegion, APolylineThroughCornersIsCutThere) {
    const MFloatPoint zig[] = {{0, 0}, {10, 10}, {20, 0}};
    const MRegionCut cut = CutOutlineByRegion(zig, false, Box(8, 8, 12, 12));
    EXPECT_EQ(cut.runs, (Runs{{{0, 0}, {8, 8}}, {{12, 8}, {20, 0}}}));
}

TEST(CutOutlineByRegion, RunsContinueAcrossVerticesAndRepeatedPoints) {
    const MFloatPoint path[] = {{0, 0}, {5, 0}, {5, 0}, {5, 5}, {10, 5}, {10, 10}};
    const MRegionCut cut = CutOutlineByRegion(path, false, Box(6, 4, 9, 6));
    EXPECT_EQ(cut.runs, (Runs{{{0, 0}, {5, 0}, {5, 5}, {6, 5}}, {{9, 5}, {10, 5}, {10, 10}}}));
}

TEST(CutOutlineByRegion, EverythingInsideIsErasedWhole) {
    const MFloatPoint ring[] = {{1, 1}, {3, 1}, {2, 3}};
    const MRegionCut cut = CutOutlineByRegion(ring, true, Box(0, 0, 4, 4));
    EXPECT_TRUE(cut.reachesInside);
    EXPECT_TRUE(cut.runs.empty());
}

TEST(CutOutlineByRegion, AClosedOutlineCutAtItsFirstVertexKeepsItsPieces) {
    // The region erases the first vertex: the run ends before it and none wraps round.
    const MFloatPoint rect[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const MRegionCut cut = CutOutlineByRegion(rect, true, Box(-1, -1, 1, 1));
    EXPECT_EQ(cut.runs, (Runs{{{1, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 1}}}));
}

TEST(CutOutlineByRegion, TooFewPointsOrADegenerateRegionChangeNothing) {
    const MFloatPoint one[] = {{1, 1}};
    EXPECT_FALSE(CutOutlineByRegion(one, false, Box(0, 0, 4, 4)).reachesInside);
    const MFloatPoint line[] = {{-5, 2}, {5, 2}};
    EXPECT_FALSE(CutOutlineByRegion(line, false, Box(0, 0, 0, 4)).reachesInside);
}

// ---- Properties, against an independent clip of a segment by a convex region ----

double Length(const Run& run) {
    double l = 0;
    for (std::size_t i = 1; i < run.size(); ++i)
        l += (run[i] - run[i - 1]).GetLength();
    return l;
}

bool IsConvex(std::span<const MFloatPoint> poly) {
    const std::size_t n = poly.size();
    int sign = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double c = (poly[(i + 1) % n] - poly[i]).Cross(poly[(i + 2) % n] - poly[(i + 1) % n]);
        const int s = c > 0 ? 1 : (c < 0 ? -1 : 0);
        if (s == 0 || (sign != 0 && s != sign)) return false;
        sign = s;
    }
    return true;
}

// The length of a-b in the open interior of a convex polygon (Cyrus-Beck on the open half planes).
// A segment along an edge's line, within rounding, lies on the boundary: outside.
double InsideLength(const MFloatPoint& a, const MFloatPoint& b, std::span<const MFloatPoint> poly,
                    double size) {
    const std::size_t n = poly.size();
    const double orient = (poly[1] - poly[0]).Cross(poly[2] - poly[1]) > 0 ? 1 : -1;
    double lo = 0, hi = 1;
    for (std::size_t i = 0; i < n; ++i) {
        const MFloatPoint e = poly[(i + 1) % n] - poly[i];
        // f(t) = orient · e × (a + t·(b − a) − p) must be positive: a distance times |e|.
        const double f0 = orient * e.Cross(a - poly[i]), f1 = orient * e.Cross(b - poly[i]);
        const double band = 1e-12 * size * e.GetLength();
        if ((std::fabs(f0) <= band && std::fabs(f1) <= band) || (f0 <= 0 && f1 <= 0)) return 0;
        if (f0 < 0) lo = std::max(lo, f0 / (f0 - f1));
        if (f1 < 0) hi = std::min(hi, f0 / (f0 - f1));
    }
    return hi > lo ? (hi - lo) * (b - a).GetLength() : 0;
}

struct Case {
    std::vector<MFloatPoint> region;
    std::vector<MFloatPoint> path;
    bool closed = false;
};

class CaseMaker {
public:
    explicit CaseMaker(unsigned start) : m_random(start) {}

    MFloatPoint GridPoint(int lo, int hi) { return {double(Int(lo, hi)), double(Int(lo, hi))}; }
    MFloatPoint RealPoint() { return {Real(), Real()}; }

    // Grid rectangles and quadrilaterals between two grid lines; real ones half the time.
    std::vector<MFloatPoint> Region(bool grid) {
        auto point = [&] { return grid ? GridPoint(0, 8) : RealPoint(); };
        if (Int(0, 1) == 0) {
            const MCutRegion r = MCutRegion::Rectangle(point(), point());
            return {r.GetOutline().begin(), r.GetOutline().end()};
        }
        const MCutRegion r = MCutRegion::BetweenLines(point(), point(), point(), point());
        return {r.GetOutline().begin(), r.GetOutline().end()};
    }

    // Vertices often on the region's corners and edges, so contacts there are routine.
    MFloatPoint PathPoint(const std::vector<MFloatPoint>& region, bool grid) {
        const int kind = Int(0, 5);
        if (kind == 0) return region[Int(0, int(region.size()) - 1)];
        if (kind == 1) {
            const std::size_t i = Int(0, int(region.size()) - 1);
            const MFloatPoint& p = region[i];
            const MFloatPoint& q = region[(i + 1) % region.size()];
            return grid ? p + (q - p) * (Int(0, 4) / 4.0) : p + (q - p) * Real(0, 1);
        }
        return grid ? GridPoint(-2, 10) : RealPoint();
    }

    Case Make(bool grid) {
        Case c;
        c.region = Region(grid);
        const int n = Int(0, 2) == 0 ? 2 : Int(3, 7);
        for (int i = 0; i < n; ++i)
            c.path.push_back(PathPoint(c.region, grid));
        c.closed = n > 2 && Int(0, 1) == 0;
        return c;
    }

private:
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_random); }
    double Real(double lo = -2, double hi = 10) {
        return std::uniform_real_distribution<double>(lo, hi)(m_random);
    }

    std::mt19937 m_random;
};

void CheckEdge(const MFloatPoint& a, const MFloatPoint& b, const MCutRegion& region, const MSegmentCut& cut) {
    double kept = 0;
    for (const MParamSpan& s : cut.kept) {
        EXPECT_GT(s.t1 - s.t0, kCutParamTolerance);  // no zero-length piece
        EXPECT_FALSE(region.IsInside(PointAt(a, b, (s.t0 + s.t1) / 2)));
        kept += s.t1 - s.t0;
    }
    constexpr int kSamples = 64;
    bool anyInside = false;
    for (int k = 0; k < kSamples; ++k) {
        const double t = (k + 0.5) / kSamples;
        if (!region.IsInside(PointAt(a, b, t))) continue;
        anyInside = true;
        for (const MParamSpan& s : cut.kept)
            EXPECT_FALSE(t > s.t0 + 1e-9 && t < s.t1 - 1e-9) << "a point inside is kept at t = " << t;
    }
    if (anyInside) {
        EXPECT_TRUE(cut.reachesInside);
    }
    if (!cut.reachesInside) {
        EXPECT_EQ(kept, 1.0);
    }
}

void CheckCase(const Case& c) {
    const MCutRegion region(c.region);
    const std::size_t n = c.path.size();
    const std::size_t edges = c.closed ? n : n - 1;
    double total = 0, inside = 0;
    bool anyEdgeReaches = false;
    const bool convex = region.CanCut() && IsConvex(c.region);
    for (std::size_t k = 0; k < edges; ++k) {
        const MFloatPoint& a = c.path[k];
        const MFloatPoint& b = c.path[(k + 1) % n];
        SCOPED_TRACE(::testing::Message() << "region " << ::testing::PrintToString(c.region) << " edge (" << a
                                          << ") (" << b << ")");
        const MSegmentCut cut = CutSegment(a, b, region);
        CheckEdge(a, b, region, cut);
        anyEdgeReaches |= cut.reachesInside;
        total += (b - a).GetLength();
        if (convex) {
            const MFloatRect& box = region.GetBounds();
            const double oracle = InsideLength(a, b, c.region, std::hypot(box.GetWidth(), box.GetHeight()));
            double erased = 1;
            for (const MParamSpan& s : cut.kept)
                erased -= s.t1 - s.t0;
            EXPECT_NEAR(erased * (b - a).GetLength(), oracle, 1e-9 * (b - a).GetLength() + 1e-12);
            inside += oracle;
        }
    }
    const MRegionCut cut = CutOutlineByRegion(c.path, c.closed, region);
    EXPECT_EQ(cut.reachesInside, anyEdgeReaches);
    if (!cut.reachesInside) {
        EXPECT_TRUE(cut.runs.empty());
        return;
    }
    double kept = 0;
    for (const Run& run : cut.runs) {
        ASSERT_GE(run.size(), 2u);
        for (std::size_t i = 1; i < run.size(); ++i) {
            EXPECT_NE(run[i], run[i - 1]);
            EXPECT_FALSE(region.IsInside((run[i] + run[i - 1]) / 2));
        }
        kept += Length(run);
    }
    if (convex) {
        EXPECT_NEAR(kept + inside, total, 1e-9 * total);
    }
}

class EraseProperty : public ::testing::TestWithParam<bool> {};

TEST_P(EraseProperty, KeptPlusErasedIsTheWholeAndNothingInsideIsKept) {
    const bool grid = GetParam();
    CaseMaker maker(grid ? 31 : 32);
    for (int i = 0; i < 4000; ++i) {
        const Case c = maker.Make(grid);
        SCOPED_TRACE(::testing::Message() << "case " << i);
        CheckCase(c);
        if (HasFailure()) break;
    }
}

INSTANTIATE_TEST_SUITE_P(GridAndRandom, EraseProperty, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Grid" : "Random"; });

}  // namespace
