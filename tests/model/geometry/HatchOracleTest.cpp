// The hatch pieces against Clipper's clipping of open paths by the same region.
#include <gtest/gtest.h>

#include <clipper.hpp>
#include <cmath>
#include <random>

#include "model/geometry/Hatch.h"

namespace {

namespace cl = ClipperLib;

// 2^40 units per drawing unit: grid coordinates stay exact and Clipper's rounding of crossings
// stays near 1e-12.
constexpr double kScale = 1099511627776.0;

using Outline = std::vector<MFloatPoint>;

cl::IntPoint ToInt(const MFloatPoint& p) {
    return {std::llround(p.x * kScale), std::llround(p.y * kScale)};
}

cl::Path ToPath(const Outline& points) {
    cl::Path path;
    for (const MFloatPoint& p : points)
        path.push_back(ToInt(p));
    return path;
}

bool Inside(const Outline& outline, const MFloatPoint& p) {
    MFloatPointArray ring;
    for (const MFloatPoint& v : outline)
        ring.Add(v);
    return ring.IsPointInside(p);
}

double DistanceToEdges(const std::vector<Outline>& outlines, const MFloatPoint& p) {
    double best = HUGE_VAL;
    for (const Outline& o : outlines)
        for (std::size_t i = 0; i < o.size(); ++i) {
            const MFloatPoint a = o[i], d = o[(i + 1) % o.size()] - a;
            const double t = d.Dot(d) > 0 ? std::clamp((p - a).Dot(d) / d.Dot(d), 0.0, 1.0) : 0.0;
            best = std::min(best, (a + d * t - p).GetLength());
        }
    return best;
}

struct HatchCase {
    std::vector<Outline> outlines;  // all closed
    MFloatPoint through;
    MFloatPoint side;
    MHatchSettings settings;
    int direction = 0;
};

// Mode 0: the even-odd region of the outlines. Mode 1: inside each outline the side point is
// inside, outside the others.
cl::Paths OracleRegion(const HatchCase& c, cl::PolyFillType* fill) {
    if (c.settings.mode == 0) {
        *fill = cl::pftEvenOdd;
        cl::Paths all;
        for (const Outline& o : c.outlines)
            all.push_back(ToPath(o));
        return all;
    }
    *fill = cl::pftNonZero;
    cl::Paths region{ToPath({{-1000, -1000}, {1000, -1000}, {1000, 1000}, {-1000, 1000}})};
    for (const Outline& o : c.outlines) {
        cl::Clipper clipper;
        clipper.AddPaths(region, cl::ptSubject, true);
        clipper.AddPath(ToPath(o), cl::ptClip, true);
        cl::Paths next;
        clipper.Execute(Inside(o, c.side) ? cl::ctIntersection : cl::ctDifference, next, cl::pftNonZero,
                        cl::pftEvenOdd);
        region.swap(next);
    }
    return region;
}

double ClippedLength(const MFloatPoint& a, const MFloatPoint& b, const cl::Paths& region,
                     cl::PolyFillType fill) {
    cl::Clipper clipper;
    clipper.AddPath({ToInt(a), ToInt(b)}, cl::ptSubject, false);
    clipper.AddPaths(region, cl::ptClip, true);
    cl::PolyTree tree;
    clipper.Execute(cl::ctIntersection, tree, cl::pftNonZero, fill);
    cl::Paths open;
    cl::OpenPathsFromPolyTree(tree, open);
    double length = 0;
    for (const cl::Path& path : open)
        for (std::size_t i = 1; i < path.size(); ++i)
            length +=
                std::hypot(double(path[i].X - path[i - 1].X), double(path[i].Y - path[i - 1].Y)) / kScale;
    return length;
}

struct Frame {
    MFloatPoint direction, step;
};
// The step table: horizontal lines step up, vertical ones right, falling ones along (1, 1),
// rising ones along (1, -1).
constexpr Frame kFrames[4] = {{{1, 0}, {0, 1}}, {{0, 1}, {1, 0}}, {{1, -1}, {1, 1}}, {{1, 1}, {1, -1}}};

void CheckCase(const HatchCase& c) {
    const Frame f = kFrames[c.direction];
    const std::vector<MHatchBoundary> boundaries = [&] {
        std::vector<MHatchBoundary> b;
        for (const Outline& o : c.outlines)
            b.push_back(MHatchBoundary::Outline(o, true));
        return b;
    }();
    const std::vector<MFloatSegment> pieces = LayHatch(boundaries, c.through, c.side, c.settings);
    // Clicked outside every outline, mode 1 asks for an unbounded region: pieces only run between
    // crossings, so the oracle does not apply.
    if (c.settings.mode == 1 && std::none_of(c.outlines.begin(), c.outlines.end(),
                                             [&](const Outline& o) { return Inside(o, c.side); }))
        return;
    MFloatRect box(c.outlines[0][0], c.outlines[0][0]);
    for (const Outline& o : c.outlines)
        for (const MFloatPoint& p : o)
            box.AddPoint(p);
    const double diagonal = std::hypot(box.GetWidth(), box.GetHeight());
    auto level = [&](const MFloatPoint& p) { return f.direction.Cross(p - c.through); };
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    for (const MFloatPoint& corner : {box.TopLeft(), box.TopRight(), box.BottomLeft(), box.BottomRight()})
        lo = std::min(lo, level(corner)), hi = std::max(hi, level(corner));

    cl::PolyFillType fill;
    const cl::Paths region = OracleRegion(c, &fill);
    const MFloatPoint normal = MFloatPoint(-f.direction.y, f.direction.x) / f.direction.GetLength();
    const double factor = f.direction.Cross(f.step);
    const MHatchSettings& s = c.settings;
    std::size_t matched = 0;
    std::vector<double> seen;
    for (int g = -400; g <= 400; ++g) {
        for (int m = 0; m < s.lineCount; ++m) {
            const double t = g * s.pitch + m * s.spacing, offset = t * factor;
            if (!(offset > lo && offset < hi) || std::find(seen.begin(), seen.end(), offset) != seen.end())
                continue;
            seen.push_back(offset);
            // A line along an outline edge counts as lying just on its positive side.
            bool alongEdge = false;
            for (const Outline& o : c.outlines)
                for (std::size_t i = 0; i < o.size(); ++i)
                    alongEdge |= level(o[i]) == offset && level(o[(i + 1) % o.size()]) == offset;
            const MFloatPoint shift = alongEdge ? normal * (16 / kScale) : MFloatPoint();
            const MFloatPoint on = c.through + f.step * t + shift;
            const double oracle = ClippedLength(on - f.direction * (4 * diagonal + 100),
                                                on + f.direction * (4 * diagonal + 100), region, fill);
            double mine = 0;
            for (const MFloatSegment& p : pieces) {
                if (std::fabs(level(p.start) - offset) > 1e-9 * (1 + diagonal)) continue;
                ++matched;
                mine += (p.end - p.start).GetLength();
                const MFloatPoint mid = (p.start + p.end) / 2 + (alongEdge ? normal * 1e-7 : MFloatPoint());
                if (DistanceToEdges(c.outlines, mid) < 1e-9) continue;
                int count = 0;
                bool sides = true;
                for (const Outline& o : c.outlines) {
                    count += Inside(o, mid);
                    sides &= Inside(o, mid) == Inside(o, c.side);
                }
                EXPECT_TRUE(s.mode == 0 ? count % 2 == 1 : sides)
                    << "piece outside the region at offset " << offset;
            }
            EXPECT_NEAR(mine, oracle, 1e-9 * diagonal) << "line at offset " << offset;
        }
    }
    EXPECT_EQ(matched, pieces.size()) << "pieces off the hatch lines";
    for (const MFloatSegment& p : pieces) {
        EXPECT_LT(DistanceToEdges(c.outlines, p.start), 1e-9 * (1 + diagonal));
        EXPECT_LT(DistanceToEdges(c.outlines, p.end), 1e-9 * (1 + diagonal));
    }
}

class CaseMaker {
public:
    explicit CaseMaker(unsigned start) : m_random(start) {}

    HatchCase Make(int kind, int direction, int mode) {
        HatchCase c;
        c.direction = direction;
        c.settings.directions = {false, false, false, false};
        c.settings.directions[direction] = true;
        c.settings.mode = mode;
        c.settings.lineCount = Int(1, 3);
        const bool grid = kind == 1 || kind == 2 || kind == 3;
        c.settings.pitch = grid ? Int(2, 6) * 0.5 : Real(0.4, 2);
        c.settings.spacing = grid ? 0.5 : Real(0.05, 0.4);
        const MFloatPoint centre =
            grid ? MFloatPoint(Int(-3, 3), Int(-3, 3)) : MFloatPoint(Real(-3, 3), Real(-3, 3));
        switch (kind) {
            case 0:
                c.outlines = {Convex(centre)};
                break;
            case 1:
                c.outlines = {Star(centre, 2, 9)};
                break;
            case 2:
                c.outlines = {Star(centre, 6, 10), Star(centre, 1, 3)};
                break;
            case 3:
                c.outlines = Tiles(centre);
                break;
            default:
                c.outlines = {Convex(centre), Convex(centre + MFloatPoint(Real(-4, 4), Real(-4, 4)))};
                break;
        }
        c.through = grid ? ClickOnGrid(c, kind == 2) : Average(c.outlines[0]);
        // The click before snapping: off the grid, so never on a grid-aligned edge.
        c.side = grid ? c.through + MFloatPoint(0.031, 0.017) : c.through;
        return c;
    }

private:
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_random); }
    double Real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(m_random); }

    Outline Convex(const MFloatPoint& centre) {
        const int n = Int(3, 12);
        std::vector<double> angles;
        for (int i = 0; i < n; ++i)
            angles.push_back(Real(0, 2 * M_PI));
        std::sort(angles.begin(), angles.end());
        const double r = Real(2, 8);
        Outline o;
        for (double a : angles)
            o.push_back(centre + MFloatPoint(std::cos(a), std::sin(a)) * r);
        return o;
    }

    static MFloatPoint Average(const Outline& o) {
        MFloatPoint sum;
        for (const MFloatPoint& p : o)
            sum += p;
        return sum / double(o.size());
    }

    // Star-shaped about the centre, vertices rounded to the grid: concave, with vertices on lines.
    Outline Star(const MFloatPoint& centre, double rMin, double rMax) {
        const int n = Int(8, 16);
        Outline o;
        for (int i = 0; i < n; ++i) {
            const double a = 2 * M_PI * (i + Real(0, 0.8)) / n, r = Real(rMin, rMax);
            o.push_back(centre + MFloatPoint(std::round(std::cos(a) * r), std::round(std::sin(a) * r)));
        }
        return o;
    }

    // Two or four grid rectangles sharing edges.
    std::vector<Outline> Tiles(const MFloatPoint& corner) {
        const double x0 = corner.x, y0 = corner.y, x1 = x0 + Int(1, 5), y1 = y0 + Int(1, 5);
        const double x2 = x1 + Int(1, 5), y2 = y1 + Int(1, 5);
        auto rect = [](double a, double b, double c, double d) {
            return Outline{{a, b}, {c, b}, {c, d}, {a, d}};
        };
        if (Int(0, 1) == 0) return {rect(x0, y0, x1, y1), rect(x1, y0, x2, y1)};
        return {rect(x0, y0, x1, y1), rect(x1, y0, x2, y1), rect(x0, y1, x1, y2), rect(x1, y1, x2, y2)};
    }

    // A grid point inside the first outline (and outside the second when asked), or on its edge.
    MFloatPoint ClickOnGrid(const HatchCase& c, bool outsideSecond) {
        MFloatRect box(c.outlines[0][0], c.outlines[0][0]);
        for (const MFloatPoint& p : c.outlines[0])
            box.AddPoint(p);
        for (int tries = 0; tries < 200; ++tries) {
            const MFloatPoint p(Int(int(box.left), int(box.right)), Int(int(box.bottom), int(box.top)));
            const MFloatPoint side = p + MFloatPoint(0.031, 0.017);
            if (Inside(c.outlines[0], side) && !(outsideSecond && Inside(c.outlines[1], side))) return p;
        }
        return box.GetCenter();
    }

    std::mt19937 m_random;
};

TEST(LayHatchOracle, PiecesMatchClippersClippingOfEachLine) {
    CaseMaker maker(173);
    for (int i = 0; i < 2000; ++i) {
        const int kind = i % 5, direction = (i / 5) % 4, mode = (i / 20) % 2;
        const HatchCase c = maker.Make(kind, direction, mode);
        SCOPED_TRACE(::testing::Message()
                     << "case " << i << " kind " << kind << " direction " << direction << " mode " << mode);
        CheckCase(c);
        if (HasFailure()) break;
    }
}

}  // namespace
