// AND, OR and minus checked against an independent clipper on random outline pairs, family by family.
#include <gtest/gtest.h>

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <cmath>
#include <random>

#include "model/geometry/ExactOrientation.h"
#include "model/geometry/PolygonBoolean.h"

namespace {

using Op = MFusionOperation;
using Outline = MFloatPointArray;
using Loops = std::vector<MFloatPointArray>;
using Random = std::mt19937_64;

// The clipper rounds its crossings to integers: coordinates scaled by 2^30 (exactly) make them fine.
constexpr double kClipperScale = 1073741824.0;
constexpr int kSamples = 500;

// Taken about a point near the loop: about the origin, far away, the terms would cancel to noise.
double SignedArea(const Outline& loop, const MFloatPoint& origin) {
    double sum = 0.0;
    for (int i = 0; i < loop.GetSize(); ++i)
        sum += (loop[i] - origin).Cross(loop[(i + 1) % loop.GetSize()] - origin);
    return sum / 2;
}

bool IsInside(const Outline& loop, const MFloatPoint& p) {
    bool inside = false;
    const MFloatPoint* v = loop.GetData();
    for (int i = 0, n = loop.GetSize(), j = n - 1; i < n; j = i++) {
        const MFloatPoint &a = v[j], &b = v[i];
        if ((a.y > p.y) != (b.y > p.y) && GetOrientationSign(a, b, p) == (b.y > a.y ? 1 : -1))
            inside = !inside;
    }
    return inside;
}

// Loops with their bounds, so that points far from a loop skip its edges.
struct Region {
    struct Box {
        double minX, minY, maxX, maxY;
    };
    explicit Region(const Loops& l) : loops(l) {
        for (const Outline& loop : loops) {
            Box b{INFINITY, INFINITY, -INFINITY, -INFINITY};
            for (const MFloatPoint& p : loop)
                b = {std::min(b.minX, p.x), std::min(b.minY, p.y), std::max(b.maxX, p.x),
                     std::max(b.maxY, p.y)};
            boxes.push_back(b);
        }
    }
    // Even-odd over all loops.
    bool Contains(const MFloatPoint& p) const {
        bool inside = false;
        for (std::size_t i = 0; i < loops.size(); ++i)
            if (p.y >= boxes[i].minY && p.y <= boxes[i].maxY && p.x <= boxes[i].maxX)
                inside ^= IsInside(loops[i], p);
        return inside;
    }
    bool IsNear(const MFloatPoint& p, double tolerance) const;

    const Loops& loops;
    std::vector<Box> boxes;
};

bool IsOnSegment(const MFloatPoint& a, const MFloatPoint& b, const MFloatPoint& p, double tolerance) {
    if (p.x < std::min(a.x, b.x) - tolerance || p.x > std::max(a.x, b.x) + tolerance ||
        p.y < std::min(a.y, b.y) - tolerance || p.y > std::max(a.y, b.y) + tolerance)
        return false;
    const MFloatPoint d = b - a;
    const double t = std::clamp((p - a).Dot(d) / d.Dot(d), 0.0, 1.0);
    const MFloatPoint off = a + d * t - p;
    return off.Dot(off) <= tolerance * tolerance;
}

Loops Clip(const Outline& a, const Outline& b, Op op) {
    const auto toPath = [](const Outline& o) {
        ClipperLib::Path path;
        for (const MFloatPoint& p : o)
            path.emplace_back(static_cast<ClipperLib::cInt>(p.x * kClipperScale),
                              static_cast<ClipperLib::cInt>(p.y * kClipperScale));
        return path;
    };
    ClipperLib::Clipper clipper;
    clipper.AddPath(toPath(a), ClipperLib::ptSubject, true);
    clipper.AddPath(toPath(b), ClipperLib::ptClip, true);
    const ClipperLib::ClipType type = op == Op::And  ? ClipperLib::ctIntersection
                                      : op == Op::Or ? ClipperLib::ctUnion
                                                     : ClipperLib::ctDifference;
    ClipperLib::Paths solution;
    EXPECT_TRUE(clipper.Execute(type, solution, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd));
    Loops loops;
    for (const ClipperLib::Path& path : solution) {
        Outline& loop = loops.emplace_back();
        for (const ClipperLib::IntPoint& p : path)
            loop.Add({static_cast<double>(p.X) / kClipperScale, static_cast<double>(p.Y) / kClipperScale});
    }
    return loops;
}

bool IsNearOutline(const Outline& o, const MFloatPoint& p, double tolerance) {
    const MFloatPoint* v = o.GetData();
    for (int i = 0, n = o.GetSize(), j = n - 1; i < n; j = i++)
        if (IsOnSegment(v[j], v[i], p, tolerance)) return true;
    return false;
}

bool Region::IsNear(const MFloatPoint& p, double tolerance) const {
    for (std::size_t i = 0; i < loops.size(); ++i) {
        const Box& b = boxes[i];
        if (p.x >= b.minX - tolerance && p.x <= b.maxX + tolerance && p.y >= b.minY - tolerance &&
            p.y <= b.maxY + tolerance && IsNearOutline(loops[i], p, tolerance))
            return true;
    }
    return false;
}

// Whether the direction from o to x lies strictly inside the counter-clockwise turn from f to t.
bool IsInTurn(const MFloatPoint& o, const MFloatPoint& f, const MFloatPoint& t, const MFloatPoint& x) {
    const bool afterFrom = CompareDirectionsAround(o, f, x) < 0,
               beforeTo = CompareDirectionsAround(o, x, t) < 0;
    return CompareDirectionsAround(o, f, t) < 0 ? afterFrom && beforeTo : afterFrom || beforeTo;
}

// Where loops meet at a point (a corner of both, or a corner of one inside an edge of the other),
// neither may pass from one side of the other to its other side.
void ExpectNoCrossingAtPoints(const Loops& loops,
                              const std::vector<std::pair<MFloatPoint, MFloatPoint>>& edges) {
    std::vector<std::pair<MFloatPoint, MFloatPoint>> passes;  // arriving from, leaving to
    for (std::size_t l = 0; l < loops.size(); ++l) {
        for (int i = 0, n = loops[l].GetSize(); i < n; ++i) {
            const MFloatPoint v = loops[l][i];
            passes.clear();
            for (const Outline& loop : loops)
                for (int k = 0, m = loop.GetSize(); k < m; ++k)
                    if (loop[k] == v) passes.emplace_back(loop[(k + m - 1) % m], loop[(k + 1) % m]);
            for (const auto& [a, b] : edges)
                if (a != v && b != v && GetOrientationSign(a, b, v) == 0 && IsOnSegment(a, b, v, 0.0))
                    passes.emplace_back(a, b);
            for (std::size_t p = 1; p < passes.size(); ++p)
                for (std::size_t q = 0; q < p; ++q)
                    if (IsInTurn(v, passes[p].first, passes[p].second, passes[q].first) !=
                        IsInTurn(v, passes[p].first, passes[p].second, passes[q].second))
                        ADD_FAILURE() << "loops cross at (" << v.x << ", " << v.y << ")";
        }
    }
}

// Each loop passes every point once and no two edges of any loops meet except at shared ends.
void ExpectSimpleLoops(const Loops& loops) {
    std::vector<std::pair<MFloatPoint, MFloatPoint>> edges;
    for (const Outline& loop : loops) {
        ASSERT_GE(loop.GetSize(), 3);
        std::vector<std::pair<double, double>> points;
        for (int i = 0; i < loop.GetSize(); ++i) {
            points.emplace_back(loop[i].x, loop[i].y);
            edges.emplace_back(loop[i], loop[(i + 1) % loop.GetSize()]);
        }
        std::sort(points.begin(), points.end());
        ASSERT_TRUE(std::adjacent_find(points.begin(), points.end()) == points.end())
            << "a loop passes a point twice";
    }
    for (std::size_t i = 0; i < edges.size(); ++i) {
        for (std::size_t j = i + 1; j < edges.size(); ++j) {
            const auto& [a, b] = edges[i];
            const auto& [c, d] = edges[j];
            const int o1 = GetOrientationSign(a, b, c), o2 = GetOrientationSign(a, b, d);
            const int o3 = GetOrientationSign(c, d, a), o4 = GetOrientationSign(c, d, b);
            const bool shareEnd = a == c || a == d || b == c || b == d;
            if (o1 * o2 < 0 && o3 * o4 < 0) ADD_FAILURE() << "two loop edges cross";
            if (o1 == 0 && o2 == 0 && !shareEnd && IsOnSegment(a, b, (c + d) / 2, 0.0))
                ADD_FAILURE() << "two loop edges overlap";
        }
    }
    ExpectNoCrossingAtPoints(loops, edges);
}

// The even-odd area of the loops, from their nesting; each loop must run counter-clockwise when it
// is an outer outline and clockwise when it is a hole.
double EvenOddArea(const Loops& loops, const MFloatPoint& origin) {
    double area = 0.0;
    for (std::size_t i = 0; i < loops.size(); ++i) {
        const Outline& loop = loops[i];
        // The middle of an edge that touches no other loop there: inside or outside them for sure.
        MFloatPoint probe;
        for (int k = 0; k < loop.GetSize(); ++k) {
            probe = (loop[k] + loop[(k + 1) % loop.GetSize()]) / 2;
            bool touches = false;
            for (std::size_t j = 0; j < loops.size() && !touches; ++j)
                touches = j != i && IsNearOutline(loops[j], probe, 0.0);
            if (!touches) break;
        }
        bool hole = false;
        for (std::size_t j = 0; j < loops.size(); ++j)
            if (j != i) hole ^= IsInside(loops[j], probe);
        const double a = SignedArea(loop, origin);
        EXPECT_EQ(a < 0, hole) << "loop " << i << " runs the wrong way";
        area += hole ? -std::fabs(a) : std::fabs(a);
    }
    return area;
}

// How the clipper's area is compared: equal, within 1e-7 of the inputs' area, or not at all (its
// loops are right but their directions are not consistent on outlines that run along themselves).
enum class Area { Exact, Close, Unchecked };

struct Pair {
    Outline a, b;
};

bool InResult(bool inA, bool inB, Op op) {
    return op == Op::And ? inA && inB : op == Op::Or ? inA || inB : inA && !inB;
}

void CheckPair(const Pair& pair, Area area, Random& random) {
    const Loops pairLoops{pair.a, pair.b};
    const Region inputs(pairLoops);
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (const Outline* o : {&pair.a, &pair.b})
        for (const MFloatPoint& p : *o) {
            minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        }
    const double extent = std::max(maxX - minX, maxY - minY);
    const double scale = std::max({std::fabs(minX), std::fabs(maxX), std::fabs(minY), std::fabs(maxY)});
    const MFloatPoint origin = pair.a[0];
    const double inputArea = std::max(
        std::fabs(SignedArea(pair.a, origin)) + std::fabs(SignedArea(pair.b, origin)), extent * extent);

    std::uniform_real_distribution<double> sx(minX - extent / 8, maxX + extent / 8),
        sy(minY - extent / 8, maxY + extent / 8);
    struct Sample {
        MFloatPoint p;
        bool inA, inB;
    };
    std::vector<Sample> samples;
    while (samples.size() < kSamples) {
        const MFloatPoint p(sx(random), sy(random));
        if (!inputs.IsNear(p, 1e-6 * extent))
            samples.push_back({p, IsInside(pair.a, p), IsInside(pair.b, p)});
    }

    for (const Op op : {Op::And, Op::Or, Op::Minus}) {
        SCOPED_TRACE(static_cast<int>(op));
        const MFusionResult ours = CombineOutlines(pair.a, pair.b, op);
        ASSERT_TRUE(ours.IsDone());
        const Loops theirs = Clip(pair.a, pair.b, op);
        ExpectSimpleLoops(ours.loops);
        double theirArea = 0.0;
        for (const Outline& loop : theirs)
            theirArea += SignedArea(loop, origin);
        const double ourArea = EvenOddArea(ours.loops, origin);
        if (area == Area::Exact)
            EXPECT_EQ(ourArea, theirArea);
        else if (area == Area::Close)
            EXPECT_NEAR(ourArea, theirArea, 1e-7 * inputArea);
        for (const Outline& loop : ours.loops)
            for (const MFloatPoint& p : loop)
                if (!inputs.IsNear(p, 1e-9 * scale))
                    ADD_FAILURE() << "(" << p.x << ", " << p.y << ") is on neither outline";
        const Region ourRegion(ours.loops), theirRegion(theirs);
        for (const auto& [p, inA, inB] : samples) {
            const bool expected = InResult(inA, inB, op);
            if (theirRegion.Contains(p) != expected)
                FAIL() << "the oracle disagrees at " << p.x << ", " << p.y;
            if (ourRegion.Contains(p) != expected) FAIL() << "wrong at " << p.x << ", " << p.y;
        }
    }
}

// Integer points round a centre at increasing angles: convex (radii equal) or star-shaped.
Outline RoundOutline(Random& random, MFloatPoint centre, double radius, int count, double minRadius) {
    std::uniform_real_distribution<double> angle(0, 2 * M_PI), r(minRadius, 1.0);
    std::vector<double> angles(count);
    for (double& a : angles)
        a = angle(random);
    std::sort(angles.begin(), angles.end());
    Outline o;
    for (const double a : angles) {
        const double k = radius * r(random);
        const MFloatPoint p(std::round(centre.x + k * std::cos(a)), std::round(centre.y + k * std::sin(a)));
        if (o.IsEmpty() || p != o[o.GetSize() - 1]) o.Add(p);
    }
    return o;
}

Pair RoundPair(Random& random, double minRadius) {
    std::uniform_real_distribution<double> centre(-5e8, 5e8), unit(0, 1);
    std::uniform_int_distribution<int> count(3, minRadius < 1 ? 40 : 24);
    const MFloatPoint c(centre(random), centre(random));
    const double r1 = std::pow(10.0, 3 + 5.6 * unit(random)), r2 = r1 * (0.2 + 1.5 * unit(random));
    const MFloatPoint offset =
        MFloatPoint(1, 0).GetRotated(2 * M_PI * unit(random)) * ((r1 + r2) * unit(random));
    return {RoundOutline(random, c, r1, count(random), minRadius),
            RoundOutline(random, c + offset, r2, count(random), minRadius)};
}

// A rectangle or a skyline (flat bottom, stepped top) on an 8 by 8 grid, in any of the square's
// eight symmetries, so that pairs share edges, corners and parts of edges.
Outline GridOutline(Random& random) {
    std::uniform_int_distribution<int> cell(0, 5), width(1, 4), height(1, 4), symmetry(0, 7);
    const int x0 = cell(random), y0 = cell(random), w = std::min(width(random), 8 - x0);
    std::vector<MFloatPoint> points{{double(x0), double(y0)}, {double(x0 + w), double(y0)}};
    const bool rectangle = cell(random) < 2;
    const int flat = std::min(height(random), 8 - y0);
    for (int i = w - 1; i >= 0; --i) {
        const int h = rectangle ? flat : std::min(height(random), 8 - y0);
        points.push_back({double(x0 + i + 1), double(y0 + h)});
        points.push_back({double(x0 + i), double(y0 + h)});
    }
    const int s = symmetry(random);
    Outline o;
    for (MFloatPoint p : points) {
        if (s & 1) p = {p.y, p.x};
        if (s & 2) p.x = 8 - p.x;
        if (s & 4) p.y = 8 - p.y;
        o.Add(p);
    }
    return o;
}

Pair NestedPair(Random& random) {
    Pair p = RoundPair(random, 0.5);
    MFloatPoint centre;
    for (const MFloatPoint& q : p.a)
        centre += q / p.a.GetSize();
    std::uniform_real_distribution<double> factor(0.1, 0.9);
    const double f = factor(random);
    p.b.RemoveAll();
    for (const MFloatPoint& q : p.a)
        p.b.Add({std::round(centre.x + (q.x - centre.x) * f), std::round(centre.y + (q.y - centre.y) * f)});
    if (random() & 1) std::swap(p.a, p.b);
    return p;
}

Pair IdenticalPair(Random& random) {
    Pair p = RoundPair(random, random() & 1 ? 1.0 : 0.3);
    p.b = p.a;
    std::rotate(p.b.begin(), p.b.begin() + random() % p.b.GetSize(), p.b.end());
    if (random() & 1) std::reverse(p.b.begin(), p.b.end());
    return p;
}

Pair RotatedPair(Random& random) {
    Pair p = RoundPair(random, random() & 1 ? 1.0 : 0.3);
    std::uniform_real_distribution<double> exponent(-6, -2), shift(-0.1, 0.1);
    const double angle = std::pow(10.0, exponent(random)) * (random() & 1 ? 1 : -1);
    MFloatPoint centre = p.a[0];
    centre += (p.a[p.a.GetSize() / 2] - p.a[0]) * shift(random);
    p.b.RemoveAll();
    for (const MFloatPoint& q : p.a) {
        const MFloatPoint r = q.GetRotatedAbout(centre, angle);
        p.b.Add({std::round(r.x), std::round(r.y)});
    }
    return p;
}

// Points in random order: outlines that cross themselves many times.
Outline TangledOutline(Random& random, double size) {
    std::uniform_real_distribution<double> coordinate(-size, size);
    std::uniform_int_distribution<int> count(3, 12);
    Outline o;
    for (int i = count(random); i > 0; --i)
        o.Add({std::round(coordinate(random)), std::round(coordinate(random))});
    return o;
}

int CountDistinct(const Outline& o) {
    std::vector<std::pair<double, double>> points;
    for (const MFloatPoint& p : o)
        points.emplace_back(p.x, p.y);
    std::sort(points.begin(), points.end());
    return static_cast<int>(std::unique(points.begin(), points.end()) - points.begin());
}

void RunFamily(int start, int pairs, Area area, Pair (*make)(Random&)) {
    Random random(start);
    for (int i = 0; i < pairs && !testing::Test::HasFatalFailure(); ++i) {
        SCOPED_TRACE(i);
        const Pair pair = make(random);
        if (CountDistinct(pair.a) < 3 || CountDistinct(pair.b) < 3) continue;
        CheckPair(pair, area, random);
    }
}

TEST(PolygonBooleanOracle, Convex) {
    RunFamily(1, 2000, Area::Close, [](Random& r) { return RoundPair(r, 1.0); });
}

TEST(PolygonBooleanOracle, StarShaped) {
    RunFamily(2, 2000, Area::Close, [](Random& r) { return RoundPair(r, 0.2); });
}

TEST(PolygonBooleanOracle, AxisAlignedOnASmallGrid) {
    RunFamily(3, 3000, Area::Exact, [](Random& r) { return Pair{GridOutline(r), GridOutline(r)}; });
}

TEST(PolygonBooleanOracle, OneInsideTheOther) {
    RunFamily(4, 2000, Area::Close, NestedPair);
}

TEST(PolygonBooleanOracle, Identical) {
    RunFamily(5, 2000, Area::Close, IdenticalPair);
}

TEST(PolygonBooleanOracle, SelfCrossing) {
    RunFamily(7, 500, Area::Close, [](Random& r) {
        return Pair{TangledOutline(r, 1e8), TangledOutline(r, 1e8)};
    });
    // On a small grid they also run along themselves and pass their own corners again.
    RunFamily(8, 500, Area::Unchecked, [](Random& r) {
        return Pair{TangledOutline(r, 3), TangledOutline(r, 3)};
    });
}

TEST(PolygonBooleanOracle, SlightlyRotatedCopy) {
    RunFamily(6, 2000, Area::Close, RotatedPair);
}

}  // namespace
