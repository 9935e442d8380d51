// Reproducible random line pairs, some on a coarse grid (exact parallels, crossings on end points), some
// far from the origin: every result an edit produces must be sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "model/geometry/Geometry.h"
#include "model/geometry/LineEdit.h"

namespace {

class LinePairs : public ::testing::Test {
protected:
    std::mt19937_64 rng{20240611};

    double Uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }

    MFloatPoint RandomPoint(bool grid, double offset) {
        if (grid) {
            std::uniform_int_distribution<int> g(0, 12);
            return MFloatPoint(g(rng) * 5.0, g(rng) * 5.0) + MFloatPoint(offset, offset);
        }
        return MFloatPoint(Uniform(1, 1e5), Uniform(1, 1e5)) + MFloatPoint(offset, offset);
    }

    // A line through x, its ends on either side of it.
    MLineEnds Through(const MFloatPoint& x) {
        const double angle = Uniform(-kPi, kPi);
        const MFloatPoint d(std::cos(angle), std::sin(angle));
        return {x - d * Uniform(1, 5e4), x + d * Uniform(1, 5e4)};
    }

    // Pairs 0, 4, 8 ... lie on the grid, pairs 2, 6, 10 ... cross inside both lines, the others are
    // anywhere; every third pair is moved 1e6 from the origin.
    std::pair<MLineEnds, MLineEnds> Pair(int i) {
        const bool grid = i % 4 == 0;
        const double offset = i % 3 == 0 ? 1e6 : 0.0;
        if (i % 4 == 2) {
            const MFloatPoint x = RandomPoint(false, offset);
            return {Through(x), Through(x)};
        }
        return {{RandomPoint(grid, offset), RandomPoint(grid, offset)},
                {RandomPoint(grid, offset), RandomPoint(grid, offset)}};
    }

    // A point near the corner, within the lines' own size.
    MFloatPoint Near(const MLineCorner& c) {
        const double size = std::min(c.line0.Direction().GetLength(), c.line1.Direction().GetLength());
        const double angle = Uniform(-kPi, kPi);
        return c.crossing.point + MFloatPoint(std::cos(angle), std::sin(angle)) * (size * Uniform(0, 0.25));
    }

    MFloatPoint OnLine(const MLineEnds& l) { return l.At(Uniform(0, 1)); }
};

double Size(const MLineCorner& c) {
    double s = 0;
    for (const MFloatPoint& p : {c.line0.start, c.line0.end, c.line1.start, c.line1.end})
        s = std::max(s, (p - c.crossing.point).GetLength());
    return s;
}

// A copy is a part of the original's line and of the original widened towards the crossing only,
// it keeps one original end and has a length.
void ExpectSoundCopy(const MLineEnds& copy, const MLineEnds& original, double tCrossing,
                     const MFloatPoint& moved, double tol) {
    const bool keepsStart = copy.start == original.start && copy.end == moved;
    const bool keepsEnd = copy.end == original.end && copy.start == moved;
    EXPECT_TRUE(keepsStart || keepsEnd);
    EXPECT_GT(copy.Direction().GetLength(), 0.0);
    EXPECT_LE(GetDistanceToLine(original, moved), tol);
    const double t = GetLineParameter(original, moved);
    const double slack = 1e-9;
    EXPECT_GE(t, std::min(0.0, tCrossing) - slack);
    EXPECT_LE(t, std::max(1.0, tCrossing) + slack);
}

void ExpectSoundFillet(const MFillet& f, const MLineCorner& c) {
    ASSERT_TRUE(std::isfinite(f.centre.x) && std::isfinite(f.centre.y) && std::isfinite(f.radius));
    const double tol = 1e-9 * std::max(f.radius, Size(c));
    EXPECT_NEAR(GetDistanceToLine(f.line0, f.centre), f.radius, tol);
    EXPECT_NEAR(GetDistanceToLine(f.line1, f.centre), f.radius, tol);
    EXPECT_NEAR((f.tangent0 - f.centre).GetLength(), f.radius, tol);
    EXPECT_NEAR((f.tangent1 - f.centre).GetLength(), f.radius, tol);
    ExpectSoundCopy(f.line0, c.line0, c.crossing.t0, f.tangent0, tol);
    ExpectSoundCopy(f.line1, c.line1, c.crossing.t1, f.tangent1, tol);
    // The arc runs the short way from one tangent point to the other.
    EXPECT_GE(f.endAngle - f.startAngle, 0.0);
    EXPECT_LE(f.endAngle - f.startAngle, kPi + 1e-12);
    const MFloatPoint s = f.centre + MFloatPoint(std::cos(f.startAngle), std::sin(f.startAngle)) * f.radius;
    const MFloatPoint e = f.centre + MFloatPoint(std::cos(f.endAngle), std::sin(f.endAngle)) * f.radius;
    const double d0 = std::min((s - f.tangent0).GetLength(), (e - f.tangent0).GetLength());
    const double d1 = std::min((s - f.tangent1).GetLength(), (e - f.tangent1).GetLength());
    EXPECT_LE(d0, tol);
    EXPECT_LE(d1, tol);
}

TEST_F(LinePairs, EveryFilletTouchesBothCopiesWhichStayOnTheirLines) {
    int through = 0, fixed = 0, corners = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto [l0, l1] = Pair(i);
        const auto corner = MakeLineCorner(l0, l1);
        if (!corner) {
            EXPECT_TRUE(AreDirectionsParallel(l0.Direction(), l1.Direction()));
            continue;
        }
        ++corners;
        const MFloatPoint q = Near(*corner);
        if (const auto f = FilletThroughPoint(*corner, q)) {
            ++through;
            SCOPED_TRACE(i);
            ExpectSoundFillet(*f, *corner);
            EXPECT_NEAR((q - f->centre).GetLength(), f->radius, 1e-9 * std::max(f->radius, Size(*corner)));
        }
        const double radius = Uniform(0, 0.5) * Size(*corner);
        if (const auto f = FilletWithRadius(*corner, q, radius)) {
            ++fixed;
            SCOPED_TRACE(i);
            ExpectSoundFillet(*f, *corner);
            EXPECT_NEAR(f->radius, radius, 0);
        }
    }
    // Enough of the pairs give fillets for the checks to mean something.
    EXPECT_GT(corners, 1800);
    EXPECT_GT(through, 300);
    EXPECT_GT(fixed, 300);
}

TEST_F(LinePairs, ChamfersCutOnlyTheKeptParts) {
    int made = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto [l0, l1] = Pair(i);
        const auto corner = MakeLineCorner(l0, l1);
        if (!corner) continue;
        const MFloatPoint click0 = OnLine(l0), click1 = OnLine(l1);
        const double size = Size(*corner);
        for (const auto& c : {ChamferWithLengths(*corner, click0, click1, Uniform(0, size), Uniform(0, size)),
                              ChamferThroughPoint(*corner, click0, click1, Near(*corner))}) {
            if (!c) continue;
            ++made;
            SCOPED_TRACE(i);
            const double tol = 1e-9 * size;
            ExpectSoundCopy(c->line0, l0, corner->crossing.t0, c->chamfer.start, tol);
            ExpectSoundCopy(c->line1, l1, corner->crossing.t1, c->chamfer.end, tol);
            // The picked part stays: the kept end lies on the click's side of the crossing.
            const MFloatPoint kept = c->line0.start == c->chamfer.start ? c->line0.end : c->line0.start;
            const double tClick = std::clamp(GetLineParameter(l0, click0), 0.0, 1.0);
            const double tX = corner->crossing.t0;
            EXPECT_GE((tClick - tX) * (GetLineParameter(l0, kept) - tX), -1e-9);
        }
    }
    EXPECT_GT(made, 600);
}

TEST_F(LinePairs, ExtendingKeepsThePickedPartAndEndsOnTheBoundary) {
    int made = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto [line, boundary] = Pair(i);
        const MFloatPoint click = OnLine(line);
        const auto e = ExtendToLine(line, click, boundary);
        if (!e) continue;
        ++made;
        SCOPED_TRACE(i);
        const bool keepsStart = e->start == line.start;
        EXPECT_TRUE(keepsStart || e->end == line.end);
        const MFloatPoint moved = keepsStart ? e->end : e->start;
        const double size = std::max(line.Direction().GetLength(), (moved - line.start).GetLength());
        EXPECT_LE(GetDistanceToLine(boundary, moved),
                  1e-9 * std::max(size, boundary.Direction().GetLength()));
        EXPECT_LE(GetDistanceToLine(line, moved), 1e-9 * size);
        const double tClick = GetLineParameter(line, click);
        const double tMoved = GetLineParameter(line, moved);
        EXPECT_GE((keepsStart ? 1.0 : -1.0) * (tMoved - tClick), -1e-12);
    }
    EXPECT_GT(made, 1500);
}

TEST_F(LinePairs, CutPiecesMeetOnTheCutter) {
    int made = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto [line, cutter] = Pair(i);
        const auto cut = CutAtCrossing(line, cutter);
        if (!cut) continue;
        ++made;
        EXPECT_EQ(cut->first.start, line.start);
        EXPECT_EQ(cut->second.end, line.end);
        EXPECT_EQ(cut->first.end, cut->second.start);
        EXPECT_GT(cut->first.Direction().GetLength(), 0.0);
        EXPECT_GT(cut->second.Direction().GetLength(), 0.0);
        const double size = std::max(line.Direction().GetLength(), cutter.Direction().GetLength());
        EXPECT_LE(GetDistanceToLine(cutter, cut->point), 1e-9 * size);
        EXPECT_LE(GetDistanceToLine(line, cut->point), 1e-9 * size);
    }
    EXPECT_GT(made, 400);
}

}  // namespace
