// The outline GetPoints fills for shapes without a vertex list of their own belongs to the shape:
// it stays put while other shapes fill theirs and goes with the shape.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <vector>

#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/MarkShape.h"
#include "tests/model/shapes/ShapeTestSupport.h"

using namespace shapetest;

namespace {

std::vector<MFloatPoint> Expected(const MCadShape& s) {
    if (const auto* line = dynamic_cast<const MLineShape*>(&s)) return {line->m_start, line->m_end};
    const MFloatRect& r = s.m_extent;
    return {r.TopLeft(), r.TopRight(), r.BottomRight(), r.BottomLeft()};
}

std::vector<MFloatPoint> Copy(const MFloatPointArray& a) {
    return std::vector<MFloatPoint>(a.begin(), a.end());
}

TEST(ScratchOutlineTest, EachShapeKeepsItsOwnOutlineUntilItGoes) {
    EnsureRegistered();
    TestView view;
    std::mt19937 rng(11u);
    std::uniform_real_distribution<double> coord(-100.0, 100.0);
    std::vector<std::unique_ptr<MCadShape>> shapes;
    std::vector<const MFloatPointArray*> outlines;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 300; ++i) {
            std::unique_ptr<MCadShape> s;
            if (i % 2) {
                s = std::make_unique<MLineShape>(MFloatPoint(coord(rng), coord(rng)),
                                                 MFloatPoint(coord(rng), coord(rng)));
            } else {
                auto mark = std::make_unique<MMarkShape>();
                mark->m_position = {coord(rng), coord(rng)};
                s = std::move(mark);
            }
            s->Recalc(&view);
            outlines.push_back(&s->GetPoints());
            shapes.push_back(std::move(s));
        }
        // Every outline still holds its own shape's points, at its own address, and asking again
        // gives the same array.
        std::set<const MFloatPointArray*> distinct(outlines.begin(), outlines.end());
        EXPECT_EQ(distinct.size(), outlines.size());
        for (std::size_t i = 0; i < shapes.size(); ++i) {
            EXPECT_EQ(Copy(*outlines[i]), Expected(*shapes[i]));
            EXPECT_EQ(&shapes[i]->GetPoints(), outlines[i]);
        }
        // Half the shapes go (ASan reports any use of their outlines); new ones may take their
        // places in memory and must start from their own points.
        for (std::size_t i = shapes.size(); i-- > 0;)
            if (i % 2 == static_cast<std::size_t>(round % 2)) {
                shapes.erase(shapes.begin() + static_cast<std::ptrdiff_t>(i));
                outlines.erase(outlines.begin() + static_cast<std::ptrdiff_t>(i));
            }
    }
}

TEST(ScratchOutlineTest, ACopyFillsAnOutlineOfItsOwn) {
    MLineShape line({1, 2}, {3, 4});
    const MFloatPointArray& mine = line.GetPoints();
    MLineShape copy(line);
    copy.m_end = {5, 6};
    const MFloatPointArray& theirs = copy.GetPoints();
    EXPECT_NE(&mine, &theirs);
    EXPECT_EQ(Copy(mine), (std::vector<MFloatPoint>{{1, 2}, {3, 4}}));
    EXPECT_EQ(Copy(theirs), (std::vector<MFloatPoint>{{1, 2}, {5, 6}}));
}

}  // namespace
