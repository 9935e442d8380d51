#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "model/geometry/Hatch.h"

namespace {

using Boundaries = std::vector<MHatchBoundary>;

MHatchBoundary Rect(double x0, double y0, double x1, double y1) {
    const MFloatPoint corners[] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    return MHatchBoundary::Outline(corners, true);
}

MHatchSettings Settings(MHatchDirection direction, double pitch, int mode = 1) {
    MHatchSettings s;
    s.directions = {false, false, false, false};
    s.directions[static_cast<int>(direction)] = true;
    s.pitch = pitch;
    s.mode = mode;
    return s;
}

double TotalLength(const std::vector<MFloatSegment>& pieces) {
    double l = 0;
    for (const MFloatSegment& p : pieces)
        l += (p.end - p.start).GetLength();
    return l;
}

bool HasPiece(const std::vector<MFloatSegment>& pieces, const MFloatSegment& piece) {
    return std::find(pieces.begin(), pieces.end(), piece) != pieces.end();
}

TEST(LayHatch, TheDiagonalThroughTwoCornersIsDrawn) {
    const Boundaries square{Rect(0, 0, 10, 10)};
    for (int mode : {0, 1}) {
        const auto pieces = LayHatch(square, {5, 5}, {5, 5}, Settings(MHatchDirection::Rising, 2, mode));
        // Lines y = x + c for c = -8, -4, 0, 4, 8.
        EXPECT_EQ(pieces.size(), 5u);
        EXPECT_TRUE(HasPiece(pieces, {{0, 0}, {10, 10}}));
        EXPECT_NEAR(TotalLength(pieces), 26 * std::sqrt(2.0), 1e-12);
    }
}

TEST(LayHatch, ALineThroughAReflexVertexKeepsBothSidesOfTheNotch) {
    // The outline passes through (5, 5) from above to below; the line y = 5 enters the notch there.
    const MFloatPoint notched[] = {{0, 0}, {10, 0}, {10, 10}, {7, 10}, {5, 5}, {3, 2}, {0, 10}};
    const Boundaries outline{MHatchBoundary::Outline(notched, true)};
    for (int mode : {0, 1}) {
        const auto pieces = LayHatch(outline, {8, 5}, {8, 5}, Settings(MHatchDirection::Horizontal, 5, mode));
        EXPECT_EQ(pieces, (std::vector<MFloatSegment>{{{0, 5}, {1.875, 5}}, {{5, 5}, {10, 5}}}));
    }
}

TEST(LayHatch, RectanglesSharingAnEdgeAreBothHatched) {
    const Boundaries pair{Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)};
    const auto pieces = LayHatch(pair, {5, 5}, {5, 5}, Settings(MHatchDirection::Horizontal, 2, 0));
    EXPECT_EQ(pieces.size(), 10u);  // y = 1, 3, 5, 7, 9, each in both
    EXPECT_DOUBLE_EQ(TotalLength(pieces), 100);
    EXPECT_TRUE(HasPiece(pieces, {{0, 5}, {10, 5}}));
    EXPECT_TRUE(HasPiece(pieces, {{10, 5}, {20, 5}}));
}

TEST(LayHatch, TheSidesAreTakenAtTheUnsnappedPoint) {
    // The snapped point lies on the shared edge; the click itself lay in the right rectangle.
    const Boundaries pair{Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)};
    const MHatchSettings s = Settings(MHatchDirection::Horizontal, 2, 1);
    auto right = LayHatch(pair, {10, 5}, {10.3, 5.2}, s);
    EXPECT_EQ(right.size(), 5u);
    for (const MFloatSegment& p : right) {
        EXPECT_EQ(p.start.x, 10);
        EXPECT_EQ(p.end.x, 20);
    }
    EXPECT_TRUE(HasPiece(right, {{10, 5}, {20, 5}}));  // the first line runs through the snapped point
    auto left = LayHatch(pair, {10, 5}, {9.6, 5.2}, s);
    EXPECT_EQ(left.size(), 5u);
    for (const MFloatSegment& p : left)
        EXPECT_EQ(p.end.x, 10);
}

TEST(LayHatch, NestedOutlinesLeaveTheRing) {
    const Boundaries nested{Rect(0, 0, 20, 20), Rect(5, 5, 15, 15)};
    for (int mode : {0, 1}) {
        const auto pieces =
            LayHatch(nested, {2, 10}, {2, 10}, Settings(MHatchDirection::Horizontal, 2, mode));
        for (const MFloatSegment& p : pieces) {
            const MFloatPoint mid = (p.start + p.end) / 2;
            EXPECT_FALSE(mid.x > 5 && mid.x < 15 && mid.y > 5 && mid.y < 15);
        }
        // Lines y = 2 ... 18: five cross the hole.
        EXPECT_DOUBLE_EQ(TotalLength(pieces), 9 * 20 - 5 * 10);
    }
    // Clicked in the hole, mode 1 hatches the hole only.
    const auto hole = LayHatch(nested, {10, 10}, {10, 10}, Settings(MHatchDirection::Horizontal, 2, 1));
    EXPECT_DOUBLE_EQ(TotalLength(hole), 5 * 10);
}

TEST(LayHatch, SeparateLinesBoundLikeAnOutline) {
    const Boundaries lines{MHatchBoundary::Line({0, 0}, {10, 0}), MHatchBoundary::Line({10, 0}, {10, 10}),
                           MHatchBoundary::Line({10, 10}, {0, 10}), MHatchBoundary::Line({0, 10}, {0, 0})};
    for (int mode : {0, 1}) {
        const auto pieces = LayHatch(lines, {5, 5}, {5, 5}, Settings(MHatchDirection::Rising, 2, mode));
        EXPECT_NEAR(TotalLength(pieces), 26 * std::sqrt(2.0), 1e-12) << "mode " << mode;
    }
    // A line dividing the square: mode 1 keeps the clicked half.
    Boundaries halves{Rect(0, 0, 10, 10), MHatchBoundary::Line({5, -1}, {5, 11})};
    const auto pieces = LayHatch(halves, {2, 5}, {2, 5}, Settings(MHatchDirection::Horizontal, 2, 1));
    for (const MFloatSegment& p : pieces)
        EXPECT_LE(p.end.x, 5);
    EXPECT_DOUBLE_EQ(TotalLength(pieces), 5 * 5);
}

TEST(LayHatch, GroupsRepeatEveryPitch) {
    MHatchSettings s = Settings(MHatchDirection::Horizontal, 3);
    s.lineCount = 3;
    s.spacing = 0.5;
    const auto pieces = LayHatch(Boundaries{Rect(0, 0, 10, 10)}, {5, 4}, {5, 4}, s);
    std::set<double> ys;
    for (const MFloatSegment& p : pieces)
        ys.insert(p.start.y);
    EXPECT_EQ(ys, (std::set<double>{1, 1.5, 2, 4, 4.5, 5, 7, 7.5, 8}));
    // Rising lines: the same rhythm along (1, -1), so √2 times apart across the lines.
    s.directions = {false, false, false, true};
    std::set<double> levels;  // y - x
    for (const MFloatSegment& p : LayHatch(Boundaries{Rect(0, 0, 10, 10)}, {5, 5}, {5, 5}, s))
        levels.insert(p.start.y - p.start.x);
    EXPECT_EQ(levels, (std::set<double>{-8, -7, -6, -2, -1, 0, 4, 5, 6}));
}

TEST(LayHatch, TheFirstLinePassesThroughTheClickedPoint) {
    const MFloatPoint s(3.3, 4.7);
    for (int k = 0; k < 4; ++k) {
        MHatchSettings settings = Settings(static_cast<MHatchDirection>(k), 1.7);
        settings.lineCount = 2;
        settings.spacing = 0.4;
        bool through = false;
        for (const MFloatSegment& p : LayHatch(Boundaries{Rect(0, 0, 10, 10)}, s, s, settings)) {
            const MFloatPoint d = p.end - p.start;
            through |=
                std::fabs(d.Cross(s - p.start)) / d.GetLength() < 1e-12 && (s - p.start).Dot(s - p.end) < 0;
        }
        EXPECT_TRUE(through) << "direction " << k;
    }
}

TEST(LayHatch, ZeroSpacingOrOverlappingGroupsLayEachLineOnce) {
    MHatchSettings s = Settings(MHatchDirection::Vertical, 2);
    s.lineCount = 3;
    s.spacing = 0;
    EXPECT_EQ(LayHatch(Boundaries{Rect(0, 0, 10, 10)}, {5, 5}, {5, 5}, s).size(), 5u);  // x = 1, 3, 5, 7, 9
    s.spacing = 2;  // each group reaches into the next
    const auto pieces = LayHatch(Boundaries{Rect(0, 0, 10, 10)}, {5, 5}, {5, 5}, s);
    std::set<double> xs;
    for (const MFloatSegment& p : pieces)
        xs.insert(p.start.x);
    EXPECT_EQ(xs.size(), pieces.size());
}

TEST(EstimateHatchLines, CountsFromTheDiagonalAndRefusesWhatCannotMove) {
    const Boundaries square{Rect(0, 0, 10, 10)};
    MHatchSettings s = Settings(MHatchDirection::Horizontal, 1);
    EXPECT_EQ(EstimateHatchLines(square, {5, 5}, s).lines, 15);  // floor(14.14) + 1
    s.lineCount = 2;
    s.directions = {true, false, false, true};
    EXPECT_NEAR(EstimateHatchLines(square, {5, 5}, s).lines, 30 + 2 * 11, 2);  // diagonals √2 apart
    // A 100 m extent at 0.0001: far above what a tool lays without asking.
    const MHatchEstimate big = EstimateHatchLines(Boundaries{Rect(0, 0, 100000, 100000)}, {1, 1},
                                                  Settings(MHatchDirection::Horizontal, 0.0001));
    EXPECT_FALSE(big.belowResolution);
    EXPECT_GT(big.lines, 1e9);
    // A pitch that does not move a line at these coordinates.
    const Boundaries far{Rect(1e9, 1e9, 1e9 + 10, 1e9 + 10)};
    const MHatchSettings tiny = Settings(MHatchDirection::Horizontal, 1e-8);
    EXPECT_TRUE(EstimateHatchLines(far, {1e9 + 5, 1e9 + 5}, tiny).belowResolution);
    EXPECT_TRUE(LayHatch(far, {1e9 + 5, 1e9 + 5}, {1e9 + 5, 1e9 + 5}, tiny).empty());
    for (double pitch : {0.0, -1.0, std::nan(""), HUGE_VAL}) {
        const MHatchSettings bad = Settings(MHatchDirection::Horizontal, pitch);
        EXPECT_TRUE(EstimateHatchLines(square, {5, 5}, bad).belowResolution);
        EXPECT_TRUE(LayHatch(square, {5, 5}, {5, 5}, bad).empty());
    }
    EXPECT_EQ(EstimateHatchLines(Boundaries{}, {5, 5}, s).lines, 0);
}

TEST(LayHatch, NothingToCutGivesNothing) {
    EXPECT_TRUE(LayHatch(Boundaries{}, {0, 0}, {0, 0}, MHatchSettings()).empty());
    const MFloatPoint single[] = {{1, 1}};
    EXPECT_TRUE(LayHatch(Boundaries{MHatchBoundary::Outline(single, true)}, {0, 0}, {0, 0}, MHatchSettings())
                    .empty());
    // Clicked outside everything in mode 1: the region outside every outline has no closing crossing.
    EXPECT_TRUE(LayHatch(Boundaries{Rect(0, 0, 10, 10)}, {20, 20}, {20, 20}, MHatchSettings()).empty());
}

}  // namespace
