#include "model/geometry/FusionCrossings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "model/geometry/ExactOrientation.h"
#include "model/geometry/FusionEdgeGrid.h"

namespace {

struct Cut {
    int edge;
    int vertex;
    double along;  // projection on the edge, for ordering
};

// Finds where two edges meet and records the cuts; see AddRingsCutAtCrossings.
class CrossingFinder {
public:
    CrossingFinder(MFusionVertexArray& graph, const std::vector<MFusionEdge>& edges)
        : m_graph(graph), m_edges(edges), m_tolerance(graph.GetMergeTolerance()) {}

    void Meet(int e, int f);
    std::vector<Cut>& GetCuts() { return m_cuts; }

private:
    const MFloatPoint& At(int vertex) const { return m_graph[vertex].GetPosition(); }
    bool IsInside(const MFusionEdge& e, int vertex) const;
    bool Apart(const MFusionEdge& e, const MFusionEdge& f) const;
    int SideBeyondTolerance(const MFusionEdge& e, const MFloatPoint& p) const;
    bool CutAtVertex(int e, int vertex);
    void AddCut(int e, int vertex);

    MFusionVertexArray& m_graph;
    const std::vector<MFusionEdge>& m_edges;
    double m_tolerance;
    std::vector<Cut> m_cuts;
};

// The bounding boxes, widened by the tolerance, do not overlap.
bool CrossingFinder::Apart(const MFusionEdge& e, const MFusionEdge& f) const {
    const MFloatPoint &a = e.from, &b = e.to, &c = f.from, &d = f.to;
    const double t = m_tolerance;
    return std::max(a.x, b.x) + t < std::min(c.x, d.x) || std::max(c.x, d.x) + t < std::min(a.x, b.x) ||
           std::max(a.y, b.y) + t < std::min(c.y, d.y) || std::max(c.y, d.y) + t < std::min(a.y, b.y);
}

// +1 or -1 when p lies, for certain, farther than the tolerance left or right of the edge's line;
// 0 when that takes a closer look.
int CrossingFinder::SideBeyondTolerance(const MFusionEdge& e, const MFloatPoint& p) const {
    const MFloatPoint &a = e.from, &b = e.to;
    const double left = (a.x - p.x) * (b.y - p.y), right = (a.y - p.y) * (b.x - p.x);
    const double det = left - right;
    const double margin = kOrientationErrorBound * (std::fabs(left) + std::fabs(right));
    const double beyond = m_tolerance * (std::fabs(b.x - a.x) + std::fabs(b.y - a.y));  // >= tol·length
    if (det > margin + beyond) return 1;
    if (-det > margin + beyond) return -1;
    return 0;
}

// The vertex lies on the edge, ends excluded: exactly, or within the tolerance of its line.
bool CrossingFinder::IsInside(const MFusionEdge& e, int vertex) const {
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
    const MFusionEdge& edge = m_edges[e];
    if (vertex == edge.a || vertex == edge.b) return;
    m_graph[vertex].AddShape(edge.shape);
    m_cuts.push_back({e, vertex, (At(vertex) - At(edge.a)).Dot(At(edge.b) - At(edge.a))});
}

void CrossingFinder::Meet(int ie, int jf) {
    const MFusionEdge& e = m_edges[ie];
    const MFusionEdge& f = m_edges[jf];
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
    std::vector<MFusionEdge> edges;
    for (std::size_t s = 0; s < rings.size(); ++s) {
        const std::vector<int>& ring = rings[s];
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const int a = ring[i], b = ring[(i + 1) % ring.size()];
            if (a != b)
                edges.push_back({a, b, static_cast<int>(s), graph[a].GetPosition(), graph[b].GetPosition()});
        }
    }
    const MFusionEdgeGrid grid(edges, graph.GetMergeTolerance());
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
