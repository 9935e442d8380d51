#include "model/geometry/FusionCrossings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/geometry/ExactOrientation.h"

namespace {

struct Edge {
    int a, b;
    int shape;
    MFloatPoint from, to;  // the positions of a and b, kept here for the pair tests
};

// Error bound of the rounded orientation determinant, as in the exact orientation test.
constexpr double kDeterminantError = 3.3306690738754716e-16;

// Columns and rows at most; cell numbers stay below 2^30 (the sort takes 33 bits).
constexpr double kMaxCells = 32767;

struct Cut {
    int edge;
    int vertex;
    double along;  // projection on the edge, for ordering
};

// Buckets the edges into square cells; each pair of edges that share a cell is visited once.
class EdgeGrid {
public:
    EdgeGrid(const MFusionVertexArray& graph, const std::vector<Edge>& edges, double pad);
    template <class Visit>
    void ForEachPair(Visit visit) const;

private:
    void Insert(int index, const MFloatPoint& a, const MFloatPoint& b);
    std::int64_t Column(double x) const;
    std::int64_t Row(double y) const;

    MFloatPoint m_origin;
    double m_cell = 1.0;
    double m_pad;
    std::int64_t m_columns = 1, m_rows = 1;
    void SortEntries();

    // Entries (an edge in a cell) in the order added, so edge i has m_edgeFirst[i] .. m_edgeFirst[i + 1] - 1.
    std::vector<std::uint32_t> m_entryCell, m_edgeFirst;
    // The entries ordered by cell and, within a cell, by edge; m_rank maps an entry to its place.
    std::vector<std::uint32_t> m_sortedCell, m_sortedEdge, m_rank;
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
    const int n = static_cast<int>(edges.size());
    m_edgeFirst.assign(1, 0);
    if (n == 0) return;
    // Cells about twice the mean edge or the side of the area's share per edge, whichever is less:
    // few entries per edge and few edges per cell, for short and long edges alike. The cap on
    // columns and rows keeps cell numbers below 2^30.
    const double extent = std::max(maxX - minX, maxY - minY);
    const double perEdge = std::sqrt(std::max((maxX - minX) * (maxY - minY), extent * extent * 1e-6) / n);
    m_cell = std::max({2.0 * std::min(length / n, perEdge), extent / (kMaxCells - 8), 8.0 * pad});
    if (!(m_cell > 0.0)) m_cell = 1.0;
    m_origin = MFloatPoint(minX - 2 * pad, minY - 2 * pad);
    m_columns = Column(maxX + 2 * pad) + 1;
    m_rows = Row(maxY + 2 * pad) + 1;
    m_entryCell.reserve(edges.size() * 4);
    for (int i = 0; i < n; ++i) {
        Insert(i, graph[edges[i].a].GetPosition(), graph[edges[i].b].GetPosition());
        m_edgeFirst.push_back(static_cast<std::uint32_t>(m_entryCell.size()));
    }
    SortEntries();
}

// Stable by cell, so each cell's entries stay in the order added, that is by edge: a plain sort for
// a few entries, else three counting passes over 11 bits of the cell number each.
void EdgeGrid::SortEntries() {
    const std::size_t count = m_entryCell.size();
    std::vector<std::uint32_t> order(count);
    if (count < 8192) {
        std::vector<std::uint64_t> keyed(count);
        for (std::size_t k = 0; k < count; ++k)
            keyed[k] = static_cast<std::uint64_t>(m_entryCell[k]) << 32 | k;
        std::sort(keyed.begin(), keyed.end());
        for (std::size_t k = 0; k < count; ++k)
            order[k] = static_cast<std::uint32_t>(keyed[k]);
    } else {
        std::vector<std::uint32_t> buffer(count);
        for (std::size_t k = 0; k < count; ++k)
            order[k] = static_cast<std::uint32_t>(k);
        for (const int shift : {0, 11, 22}) {
            std::vector<std::uint32_t> start(2049, 0);
            for (const std::uint32_t k : order)
                ++start[((m_entryCell[k] >> shift) & 0x7FFu) + 1];
            for (std::size_t b = 1; b < start.size(); ++b)
                start[b] += start[b - 1];
            for (const std::uint32_t k : order)
                buffer[start[(m_entryCell[k] >> shift) & 0x7FFu]++] = k;
            order.swap(buffer);
        }
    }
    m_sortedCell.resize(count);
    m_sortedEdge.resize(count);
    m_rank.resize(count);
    std::uint32_t edge = 0;
    std::vector<std::uint32_t> edgeOf(count);
    for (std::size_t k = 0; k < count; ++k) {
        while (m_edgeFirst[edge + 1] <= k)
            ++edge;
        edgeOf[k] = edge;
    }
    for (std::size_t at = 0; at < count; ++at) {
        m_sortedCell[at] = m_entryCell[order[at]];
        m_sortedEdge[at] = edgeOf[order[at]];
        m_rank[order[at]] = static_cast<std::uint32_t>(at);
    }
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
            m_entryCell.push_back(static_cast<std::uint32_t>(r * m_columns + c));
    }
}

// For each edge i, the later edges of each of its cells; a stamp per edge skips repeats.
template <class Visit>
void EdgeGrid::ForEachPair(Visit visit) const {
    const int n = static_cast<int>(m_edgeFirst.size()) - 1;
    const std::size_t count = m_sortedCell.size();
    std::vector<int> seenBy(n, -1);
    for (int i = 0; i < n; ++i) {
        for (std::uint32_t k = m_edgeFirst[i]; k < m_edgeFirst[i + 1]; ++k) {
            const std::uint32_t cell = m_entryCell[k];
            for (std::size_t next = m_rank[k] + 1; next < count && m_sortedCell[next] == cell; ++next) {
                const int j = static_cast<int>(m_sortedEdge[next]);
                if (seenBy[j] == i) continue;
                seenBy[j] = i;
                visit(i, j);
            }
        }
    }
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
    bool Apart(const Edge& e, const Edge& f) const;
    int SideBeyondTolerance(const Edge& e, const MFloatPoint& p) const;
    bool CutAtVertex(int e, int vertex);
    void AddCut(int e, int vertex);

    MFusionVertexArray& m_graph;
    const std::vector<Edge>& m_edges;
    double m_tolerance;
    std::vector<Cut> m_cuts;
};

// The bounding boxes, widened by the tolerance, do not overlap.
bool CrossingFinder::Apart(const Edge& e, const Edge& f) const {
    const MFloatPoint &a = e.from, &b = e.to, &c = f.from, &d = f.to;
    const double t = m_tolerance;
    return std::max(a.x, b.x) + t < std::min(c.x, d.x) || std::max(c.x, d.x) + t < std::min(a.x, b.x) ||
           std::max(a.y, b.y) + t < std::min(c.y, d.y) || std::max(c.y, d.y) + t < std::min(a.y, b.y);
}

// +1 or -1 when p lies, for certain, farther than the tolerance left or right of the edge's line;
// 0 when that takes a closer look.
int CrossingFinder::SideBeyondTolerance(const Edge& e, const MFloatPoint& p) const {
    const MFloatPoint &a = e.from, &b = e.to;
    const double left = (a.x - p.x) * (b.y - p.y), right = (a.y - p.y) * (b.x - p.x);
    const double det = left - right;
    const double margin = kDeterminantError * (std::fabs(left) + std::fabs(right));
    const double beyond = m_tolerance * (std::fabs(b.x - a.x) + std::fabs(b.y - a.y));  // >= tol·length
    if (det > margin + beyond) return 1;
    if (-det > margin + beyond) return -1;
    return 0;
}

// The vertex lies on the edge, ends excluded: exactly, or within the tolerance of its line.
bool CrossingFinder::IsInside(const Edge& e, int vertex) const {
    if (vertex == e.a || vertex == e.b) return false;
    const MFloatPoint& a = e.from;
    const MFloatPoint d = e.to - a;
    const MFloatPoint& p = At(vertex);
    const double along = (p - a).Dot(d);
    if (along <= 0.0 || along >= d.Dot(d)) return false;
    const double cross = d.Cross(p - a);
    if (cross * cross <= m_tolerance * m_tolerance * d.Dot(d)) return true;
    return GetOrientationSign(a, e.to, p) == 0;
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
    if (Apart(e, f)) return;
    // Both ends of f well to one side of e's line: they neither touch nor cross.
    const int side = SideBeyondTolerance(e, f.from);
    if (side != 0 && side == SideBeyondTolerance(e, f.to)) return;
    // Touching (T-junctions, overlaps) takes the existing vertices and needs no crossing point.
    bool touching = CutAtVertex(ie, f.a);
    touching |= CutAtVertex(ie, f.b);
    touching |= CutAtVertex(jf, e.a);
    touching |= CutAtVertex(jf, e.b);
    if (touching || e.a == f.a || e.a == f.b || e.b == f.a || e.b == f.b) return;

    const MFloatPoint &a = e.from, &b = e.to, &c = f.from, &d = f.to;
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
            if (a != b) edges.push_back({a, b, static_cast<int>(s), graph[a].GetPosition(), graph[b].GetPosition()});
        }
    }
    const EdgeGrid grid(graph, edges, graph.GetMergeTolerance());
    CrossingFinder finder(graph, edges);
    grid.ForEachPair([&finder](int e, int f) { finder.Meet(e, f); });

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
