// The graph of outline vertices that AND, OR and minus of two closed outlines are computed on.
#pragma once

#include <cstdint>
#include <vector>

#include "model/geometry/FloatPoint.h"

// Outlines are numbered 0 (the first pick) and 1 (the second).
inline constexpr int kFusionShapeCount = 2;

// One node: a position, the outlines through it and its undirected edges. An edge records how many
// times each outline runs along it, so a piece two outlines share is one edge carrying both.
class MFusionVertex {
public:
    MFusionVertex(const MFloatPoint& position, int shape);

    const MFloatPoint& GetPosition() const { return m_position; }
    // How many outlines pass through the vertex.
    int GetShapeCount() const;
    bool HasShape(int shape) const { return (m_shapes >> shape) & 1u; }
    // Appends the outline when absent.
    void AddShape(int shape) { m_shapes |= 1u << shape; }

    int GetNeighbourCount() const { return static_cast<int>(m_links.size()); }
    // The vertex index at the other end of edge i.
    int GetNeighbour(int i) const { return m_links[i].vertex; }
    // How many times outline shape runs along edge i.
    int GetEdgeRuns(int i, int shape) const { return m_links[i].runs[shape]; }
    // Position in the neighbour list, or -1.
    int FindNeighbour(int vertex) const;
    // Drops the edge to vertex from this end only; its former position in the list, or -1.
    int RemoveNeighbour(int vertex);

private:
    friend class MFusionVertexArray;
    struct Link {
        int vertex;
        std::uint16_t runs[kFusionShapeCount];
    };

    MFloatPoint m_position;
    unsigned m_shapes = 0;
    std::vector<Link> m_links;
};

// The vertices, found by position through a hash grid: positions closer than the merge tolerance
// (0: only equal bits) are one vertex, which keeps the position it was first added with.
class MFusionVertexArray {
public:
    explicit MFusionVertexArray(double mergeTolerance = 0.0);

    int GetSize() const { return static_cast<int>(m_vertices.size()); }
    const MFusionVertex& operator[](int i) const { return m_vertices[i]; }
    MFusionVertex& operator[](int i) { return m_vertices[i]; }
    double GetMergeTolerance() const { return m_tolerance; }

    // The nearest vertex within the merge tolerance, or -1.
    int Find(const MFloatPoint& p) const;
    // The vertex at p (carrying shape from now on), new when there is none.
    int AddVertex(const MFloatPoint& p, int shape);
    // Nothing when a and b are one vertex. Otherwise both vertices carry shape and the edge a-b
    // gets one more run of shape (a new edge when they were not yet joined).
    void AddEdge(const MFloatPoint& a, const MFloatPoint& b, int shape);
    void AddEdgeBetween(int a, int b, int shape);
    // Deletes the vertex and every edge to it, and closes the gap: indices above it drop by one.
    // Linear in the size of the graph.
    void RemoveAt(int index);

    // Sorts every vertex's edges counter-clockwise by direction, starting at the positive x axis.
    // FALSE when two edges of one vertex leave in exactly the same direction (unsplit overlap).
    bool SortNeighboursByAngle();

private:
    struct CellKey {
        std::int64_t x, y;
        bool operator==(const CellKey&) const = default;
    };
    // One cell of the open-addressing table: its key and its first vertex (-1: an empty slot).
    struct Slot {
        CellKey key;
        int first = -1;
    };

    CellKey CellOf(const MFloatPoint& p) const;
    std::size_t SlotOf(const CellKey& key) const;
    int FirstInCell(const CellKey& key) const { return m_slots.empty() ? -1 : m_slots[SlotOf(key)].first; }
    void Index(int vertex);
    void RebuildIndex();

    double m_tolerance;
    std::vector<MFusionVertex> m_vertices;
    std::vector<Slot> m_slots;      // a power of two of them, at most half used
    std::vector<int> m_nextInCell;  // the rest of a cell's vertices, chained by vertex
    std::size_t m_usedSlots = 0;
};
