#include "model/geometry/FusionCrossings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/geometry/ExactOrientation.h"

namespace {

struct Edge {
    int a, b;
    int shape;
};

// Columns and rows at most; their product stays below 2^32.
constexpr double kMaxCells = 32767;

struct Cut {
    int edge;
    int vertex;
    double along;  // projection on the edge, for ordering
};

// Buckets the edges into square cells and lists each pair of edges that share a cell, once.
class EdgeGrid {
public:
    EdgeGrid(const MFusionVertexArray& graph, const std::vector<Edge>& edges, double pad);
    std::vector<std::uint64_t> CandidatePairs() const;

private:
    void Insert(int index, const MFloatPoint& a, const MFloatPoint& b);
    std::int64_t Column(double x) const;
    std::int64_t Row(double y) const;

    MFloatPoint m_origin;
    double m_cell = 1.0;
    double m_pad;
    std::int64_t m_columns = 1, m_rows = 1;
    std::vector<std::uint64_t> m_entries;  // cell << 32 | edge
};

EdgeGrid::EdgeGrid(const MFusionVertexArray& graph, const std::vector<Edge>& edges, double pad) : m_pad(pad) {
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY, length = 0.0;
    for (const Edge& e : edges) {
        const MFloatPoint& a = graph[e.a].GetPosition();
        const MFloatPoint& b = graph[e.b].GetPosition();
        minX = std::min({minX, a.x, b.x});
        minY = std::min({minY, a.y, b.y});
        maxX = std::max({maxX, a.x, b.x});
        maxY = std::max({maxY, a.y, b.y});
        length += std::fabs(b.x - a.x) + std::fabs(b.y - a.y);
    }
    if (edges.empty()) return;
    // Twice the mean length keeps the cell entries near the edge count, whatever the lengths are;
    // the cap on columns and rows keeps cell numbers in 32 bits.
    const double extent = std::max(maxX - minX, maxY - minY);
    m_cell = std::max({2.0 * length / static_cast<double>(edges.size()), extent / (kMaxCells - 8), 8.0 * pad});
    if (!(m_cell > 0.0)) m_cell = 1.0;
    m_origin = MFloatPoint(minX - 2 * pad, minY - 2 * pad);
    m_columns = Column(maxX + 2 * pad) + 1;
    m_rows = Row(maxY + 2 * pad) + 1;
    m_entries.reserve(edges.size() * 3);
    for (std::size_t i = 0; i < edges.size(); ++i)
        Insert(static_cast<int>(i), graph[edges[i].a].GetPosition(), graph[edges[i].b].GetPosition());
    std::sort(m_entries.begin(), m_entries.end());
}

std::int64_t EdgeGrid::Column(double x) const {
    return static_cast<std::int64_t>(std::clamp(std::floor((x - m_origin.x) / m_cell), 0.0, kMaxCells));
}

std::int64_t EdgeGrid::Row(double y) const {
    return static_cast<std::int64_t>(std::clamp(std::floor((y - m_origin.y) / m_cell), 0.0, kMaxCells));
}

void EdgeGrid::Insert(int index, const MFloatPoint& a, const MFloatPoint& b) {
    // Column by column, the rows the edge passes, widened by the pad so that near misses meet.
    const double pad = m_pad + m_cell * 1e-9;
    const double x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x);
    const double slope = a.x == b.x ? 0.0 : (b.y - a.y) / (b.x - a.x);
    const std::int64_t lastColumn = std::min(Column(x1 + pad), m_columns - 1);
    for (std::int64_t c = std::min(Column(x0 - pad), m_columns - 1); c <= lastColumn; ++c) {
        double yLow = std::min(a.y, b.y), yHigh = std::max(a.y, b.y);
        if (a.x != b.x) {
            const double xa = std::clamp(m_origin.x + static_cast<double>(c) * m_cell - pad, x0, x1);
            const double xb = std::clamp(m_origin.x + static_cast<double>(c + 1) * m_cell + pad, x0, x1);
            const double ya = a.y + (xa - a.x) * slope, yb = a.y + (xb - a.x) * slope;
            yLow = std::max(yLow, std::min(ya, yb));
            yHigh = std::min(yHigh, std::max(ya, yb));
        }
        const std::int64_t lastRow = std::min(Row(yHigh + pad), m_rows - 1);
        for (std::int64_t r = std::min(Row(yLow - pad), m_rows - 1); r <= lastRow; ++r)
            m_entries.push_back(static_cast<std::uint64_t>(r * m_columns + c) << 32 | static_cast<std::uint32_t>(index));
    }
}

std::vector<std::uint64_t> EdgeGrid::CandidatePairs() const {
    std::vector<std::uint64_t> pairs;
    pairs.reserve(m_entries.size() * 2);
    for (std::size_t begin = 0, end; begin < m_entries.size(); begin = end) {
        const std::uint64_t cell = m_entries[begin] >> 32;
        for (end = begin + 1; end < m_entries.size() && (m_entries[end] >> 32) == cell; ++end) {
        }
        for (std::size_t i = begin; i < end; ++i)
            for (std::size_t j = i + 1; j < end; ++j)
                pairs.push_back((m_entries[i] & 0xFFFFFFFFu) << 32 | (m_entries[j] & 0xFFFFFFFFu));
    }
    std::sort(pairs.begin(), pairs.end());
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
    return pairs;
}

// Finds where two edges meet and records the cuts; see AddRingsCutAtCrossings.
class CrossingFinder {
public:
    CrossingFinder(MFusionVertexArray& graph, const std::vector<Edge>& edges)
        : m_graph(graph), m_edges(edges), m_tolerance(graph.GetMergeTolerance()) {}

    void Meet(int e, int f);
    std::vector<Cut>& GetCuts() { return m_cuts; }

private:
    const MFloatPoint& At(int vertex) const { return m_graph[vertex].GetPosition(); }
    bool IsInside(const Edge& e, int vertex) const;
    bool CutAtVertex(int e, int vertex);
    void AddCut(int e, int vertex);

    MFusionVertexArray& m_graph;
    const std::vector<Edge>& m_edges;
    double m_tolerance;
    std::vector<Cut> m_cuts;
};

// The vertex lies on the edge, ends excluded: exactly, or within the tolerance of its line.
bool CrossingFinder::IsInside(const Edge& e, int vertex) const {
    if (vertex == e.a || vertex == e.b) return false;
    const MFloatPoint& a = At(e.a);
    const MFloatPoint d = At(e.b) - a;
    const MFloatPoint& p = At(vertex);
    const double along = (p - a).Dot(d);
    if (along <= 0.0 || along >= d.Dot(d)) return false;
    if (GetOrientationSign(a, At(e.b), p) == 0) return true;
    return std::fabs(d.Cross(p - a)) <= m_tolerance * d.GetLength();
}

bool CrossingFinder::CutAtVertex(int e, int vertex) {
    if (!IsInside(m_edges[e], vertex)) return false;
    AddCut(e, vertex);
    return true;
}

void CrossingFinder::AddCut(int e, int vertex) {
    const Edge& edge = m_edges[e];
    if (vertex == edge.a || vertex == edge.b) return;
    m_graph[vertex].AddShape(edge.shape);
    m_cuts.push_back({e, vertex, (At(vertex) - At(edge.a)).Dot(At(edge.b) - At(edge.a))});
}

void CrossingFinder::Meet(int ie, int jf) {
    const Edge& e = m_edges[ie];
    const Edge& f = m_edges[jf];
    // Touching (T-junctions, overlaps) takes the existing vertices and needs no crossing point.
    bool touching = CutAtVertex(ie, f.a);
    touching |= CutAtVertex(ie, f.b);
    touching |= CutAtVertex(jf, e.a);
    touching |= CutAtVertex(jf, e.b);
    if (touching || e.a == f.a || e.a == f.b || e.b == f.a || e.b == f.b) return;

    const MFloatPoint &a = At(e.a), &b = At(e.b), &c = At(f.a), &d = At(f.b);
    const int ca = GetOrientationSign(a, b, c), da = GetOrientationSign(a, b, d);
    if (ca == 0 || da == 0 || ca == da) return;
    const int ac = GetOrientationSign(c, d, a), bc = GetOrientationSign(c, d, b);
    if (ac == 0 || bc == 0 || ac == bc) return;

    // Computed once, in extended precision (exact determinants for integers below 2^31).
    using Wide = long double;
    const Wide ex = Wide(b.x) - a.x, ey = Wide(b.y) - a.y, fx = Wide(d.x) - c.x, fy = Wide(d.y) - c.y;
    const Wide t = ((Wide(c.x) - a.x) * fy - (Wide(c.y) - a.y) * fx) / (ex * fy - ey * fx);
    const Wide s = std::clamp<Wide>(t, 0, 1);
    const MFloatPoint p(static_cast<double>(a.x + s * ex), static_cast<double>(a.y + s * ey));
    const int vertex = m_graph.AddVertex(p, e.shape);
    AddCut(ie, vertex);
    AddCut(jf, vertex);
}

}  // namespace

void AddRingsCutAtCrossings(MFusionVertexArray& graph, const std::vector<std::vector<int>>& rings) {
    std::vector<Edge> edges;
    for (std::size_t s = 0; s < rings.size(); ++s) {
        const std::vector<int>& ring = rings[s];
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const int a = ring[i], b = ring[(i + 1) % ring.size()];
            if (a != b) edges.push_back({a, b, static_cast<int>(s)});
        }
    }
    const EdgeGrid grid(graph, edges, graph.GetMergeTolerance());
    CrossingFinder finder(graph, edges);
    for (const std::uint64_t pair : grid.CandidatePairs())
        finder.Meet(static_cast<int>(pair >> 32), static_cast<int>(pair & 0xFFFFFFFFu));

    std::vector<Cut>& cuts = finder.GetCuts();
    std::sort(cuts.begin(), cuts.end(), [](const Cut& l, const Cut& r) {
        return l.edge != r.edge ? l.edge < r.edge : l.along < r.along;
    });
    std::size_t next = 0;
    for (std::size_t e = 0; e < edges.size(); ++e) {
        int from = edges[e].a;
        for (; next < cuts.size() && cuts[next].edge == static_cast<int>(e); ++next) {
            graph.AddEdgeBetween(from, cuts[next].vertex, edges[e].shape);
            from = cuts[next].vertex;
        }
        graph.AddEdgeBetween(from, edges[e].b, edges[e].shape);
    }
}
