#include <gtest/gtest.h>

#include "model/geometry/ExactOrientation.h"
#include "model/geometry/FusionVertexArray.h"

namespace {

TEST(ExactOrientation, SignsThatRoundedArithmeticGetsWrong) {
    // Points a few ulps off the line y = x: the rounded determinant cannot see them.
    const MFloatPoint q(12, 12), r(24, 24);
    EXPECT_EQ(GetOrientationSign(q, r, {0.5, 0.5}), 0);
    EXPECT_EQ(GetOrientationSign(q, r, {0.5000000000000001, 0.5}), -1);
    EXPECT_EQ(GetOrientationSign(q, r, {0.5, 0.5000000000000001}), 1);
    // Integers near 1e9, whose products need more than a double's 53 bits.
    const MFloatPoint a(1e9 - 3, 1e9 - 7), b(3e8 + 1, 7e8 + 3);
    const MFloatPoint c = a + (b - a) * 2.0;  // exactly on the line
    EXPECT_EQ(GetOrientationSign(a, b, c), 0);
    EXPECT_EQ(GetOrientationSign(a, b, c + MFloatPoint(0, 1)), -1);  // a -> b runs down to the left
    EXPECT_EQ(GetOrientationSign(b, a, c + MFloatPoint(0, 1)), 1);
}

TEST(ExactOrientation, DirectionsAreOrderedCounterClockwiseFromTheXAxis) {
    const MFloatPoint o(1, 1);
    EXPECT_LT(CompareDirectionsAround(o, {2, 1}, {2, 2}), 0);
    EXPECT_LT(CompareDirectionsAround(o, {1, 5}, {0, 1}), 0);
    EXPECT_LT(CompareDirectionsAround(o, {0, 1}, {1, 0}), 0);
    EXPECT_LT(CompareDirectionsAround(o, {1, 0}, {2, 0.9999999999999999}), 0);  // just below the axis
    EXPECT_GT(CompareDirectionsAround(o, {2, 0.9999999999999999}, {3, 1}), 0);
    EXPECT_EQ(CompareDirectionsAround(o, {2, 3}, {3, 5}), 0);
}

TEST(FusionVertexArray, VerticesAreFoundByPositionWithinTheTolerance) {
    MFusionVertexArray graph(1e-6);
    const int a = graph.AddVertex({1, 1}, 0);
    EXPECT_EQ(graph.AddVertex({1 + 5e-7, 1 - 5e-7}, 1), a);
    EXPECT_EQ(graph.Find({1, 1 + 9e-7}), a);
    EXPECT_EQ(graph.Find({1, 1 + 2e-6}), -1);
    EXPECT_EQ(graph[a].GetShapeCount(), 2);
    EXPECT_EQ(graph[a].GetPosition(), MFloatPoint(1, 1));  // the first position stays
    // Without a tolerance only equal bits match; -0 and +0 are one position.
    MFusionVertexArray exact;
    const int origin = exact.AddVertex({0.0, -0.0}, 0);
    EXPECT_EQ(exact.Find({-0.0, 0.0}), origin);
    EXPECT_EQ(exact.Find({0.0, 5e-324}), -1);
}

TEST(FusionVertexArray, AnEdgeTwoOutlinesShareIsOneEdgeCarryingBoth) {
    MFusionVertexArray graph;
    graph.AddEdge({0, 0}, {1, 0}, 0);
    graph.AddEdge({1, 0}, {0, 0}, 1);
    graph.AddEdge({1, 0}, {1, 0}, 1);  // a point, not an edge
    ASSERT_EQ(graph.GetSize(), 2);
    ASSERT_EQ(graph[0].GetNeighbourCount(), 1);
    ASSERT_EQ(graph[1].GetNeighbourCount(), 1);
    EXPECT_EQ(graph[0].GetNeighbour(0), 1);
    EXPECT_EQ(graph[0].GetEdgeRuns(0, 0), 1);
    EXPECT_EQ(graph[0].GetEdgeRuns(0, 1), 1);
    EXPECT_EQ(graph[1].GetEdgeRuns(0, 1), 1);
    EXPECT_EQ(graph[1].GetShapeCount(), 2);
}

TEST(FusionVertexArray, RemovingVerticesAndNeighbours) {
    MFusionVertexArray graph;
    graph.AddEdge({0, 0}, {1, 0}, 0);
    graph.AddEdge({1, 0}, {1, 1}, 0);
    graph.AddEdge({1, 1}, {0, 0}, 0);
    EXPECT_EQ(graph[2].RemoveNeighbour(0), 1);
    EXPECT_EQ(graph[2].RemoveNeighbour(0), -1);
    graph.RemoveAt(0);
    ASSERT_EQ(graph.GetSize(), 2);
    EXPECT_EQ(graph.Find({1, 1}), 1);  // indices above the removed one moved down
    EXPECT_EQ(graph.Find({0, 0}), -1);
    ASSERT_EQ(graph[0].GetNeighbourCount(), 1);
    EXPECT_EQ(graph[0].GetNeighbour(0), 1);
    EXPECT_EQ(graph[1].GetNeighbour(0), 0);
}

TEST(FusionVertexArray, NeighboursSortCounterClockwiseAndOverlapsAreReported) {
    MFusionVertexArray graph;
    graph.AddEdge({0, 0}, {0, -1}, 0);
    graph.AddEdge({0, 0}, {-1, 1}, 0);
    graph.AddEdge({0, 0}, {1, 0}, 0);
    graph.AddEdge({0, 0}, {1, 1}, 0);
    EXPECT_TRUE(graph.SortNeighboursByAngle());
    const int order[] = {graph.Find({1, 0}), graph.Find({1, 1}), graph.Find({-1, 1}), graph.Find({0, -1})};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(graph[0].GetNeighbour(i), order[i]);
    graph.AddEdge({0, 0}, {2, 2}, 1);  // along the edge to (1, 1)
    EXPECT_FALSE(graph.SortNeighboursByAngle());
}

}  // namespace
