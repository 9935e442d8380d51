// Labelling the faces of the outline graph, choosing the edges of the result and walking its loops.
#include <algorithm>
#include <deque>

#include "model/geometry/ExactOrientation.h"
#include "model/geometry/PolygonBoolean.h"

namespace {

// The graph as half-edges: those leaving vertex v are first[v] .. first[v + 1] - 1, counter-clockwise.
struct HalfEdges {
    std::vector<int> first, from, to, twin;
    std::vector<unsigned char> odd;  // bit s: outline s runs along the edge an odd number of times

    int Count() const { return static_cast<int>(to.size()); }
    // The next half-edge round the face on the left of h: the one just clockwise of h's twin.
    int Next(int h) const {
        const int t = twin[h], v = to[h];
        const int degree = first[v + 1] - first[v];
        return first[v] + (t - first[v] + degree - 1) % degree;
    }
};

bool BuildHalfEdges(const MFusionVertexArray& graph, HalfEdges& out) {
    const int n = graph.GetSize();
    out.first.assign(n + 1, 0);
    for (int v = 0; v < n; ++v)
        out.first[v + 1] = out.first[v] + graph[v].GetNeighbourCount();
    const int count = out.first[n];
    out.from.resize(count);
    out.to.resize(count);
    out.twin.assign(count, -1);
    out.odd.resize(count);
    for (int v = 0; v < n; ++v) {
        for (int i = 0; i < graph[v].GetNeighbourCount(); ++i) {
            const int h = out.first[v] + i;
            const int w = graph[v].GetNeighbour(i);
            out.from[h] = v;
            out.to[h] = w;
            out.odd[h] = static_cast<unsigned char>((graph[v].GetEdgeRuns(i, 0) & 1) |
                                                    (graph[v].GetEdgeRuns(i, 1) & 1) << 1);
            const int other = w == v ? -1 : graph[w].FindNeighbour(v);
            if (other < 0) return false;  // an edge known at one end only
            out.twin[h] = out.first[w] + other;
        }
    }
    for (int h = 0; h < count; ++h)
        if (out.twin[out.twin[h]] != h || out.odd[out.twin[h]] != out.odd[h]) return false;
    return true;
}

class FaceLabeller {
public:
    FaceLabeller(const MFusionVertexArray& graph, const HalfEdges& half) : m_graph(graph), m_half(half) {}
    // Per face, bit s set when the face lies inside outline s; false on a contradiction.
    bool Label();
    int FaceOf(int h) const { return m_face[h]; }
    int LabelOf(int face) const { return m_label[face]; }

private:
    void TraceFaces();
    int FindComponents();
    int OuterHalfEdge(int component) const;
    int LabelAt(const MFloatPoint& p, int component) const;
    bool Spread(int face, std::deque<int>& queue);

    const MFusionVertexArray& m_graph;
    const HalfEdges& m_half;
    std::vector<int> m_face, m_faceStart, m_label, m_component, m_lowest;
};

void FaceLabeller::TraceFaces() {
    m_face.assign(m_half.Count(), -1);
    for (int h = 0; h < m_half.Count(); ++h) {
        if (m_face[h] >= 0) continue;
        const int face = static_cast<int>(m_faceStart.size());
        m_faceStart.push_back(h);
        for (int g = h; m_face[g] < 0; g = m_half.Next(g))
            m_face[g] = face;
    }
}

// Connected parts of the graph; each keeps its lowest of the leftmost vertices.
int FaceLabeller::FindComponents() {
    const int n = m_graph.GetSize();
    m_component.assign(n, -1);
    std::vector<int> stack;
    for (int start = 0; start < n; ++start) {
        if (m_component[start] >= 0 || m_half.first[start] == m_half.first[start + 1]) continue;
        const int c = static_cast<int>(m_lowest.size());
        m_lowest.push_back(start);
        m_component[start] = c;
        stack.push_back(start);
        while (!stack.empty()) {
            const int v = stack.back();
            stack.pop_back();
            const MFloatPoint& p = m_graph[v].GetPosition();
            const MFloatPoint& low = m_graph[m_lowest[c]].GetPosition();
            if (p.x < low.x || (p.x == low.x && p.y < low.y)) m_lowest[c] = v;
            for (int h = m_half.first[v]; h < m_half.first[v + 1]; ++h) {
                if (m_component[m_half.to[h]] >= 0) continue;
                m_component[m_half.to[h]] = c;
                stack.push_back(m_half.to[h]);
            }
        }
    }
    return static_cast<int>(m_lowest.size());
}

// At the lowest leftmost vertex every edge leaves to the right or straight up, so the face that
// holds the direction to the left, the outside, lies left of the last edge leaving upwards (or of the
// last edge when all of them leave downwards).
int FaceLabeller::OuterHalfEdge(int component) const {
    const int v = m_lowest[component];
    const MFloatPoint& o = m_graph[v].GetPosition();
    int outer = m_half.first[v + 1] - 1;
    for (int h = m_half.first[v]; h < m_half.first[v + 1]; ++h) {
        const MFloatPoint& p = m_graph[m_half.to[h]].GetPosition();
        if (p.y > o.y || (p.y == o.y && p.x > o.x)) outer = h;
    }
    return outer;
}

// Inside which outlines p lies, counting only the edges of the other components (even-odd, exact).
int FaceLabeller::LabelAt(const MFloatPoint& p, int component) const {
    int bits = 0;
    for (int h = 0; h < m_half.Count(); ++h) {
        if (h > m_half.twin[h] || m_component[m_half.from[h]] == component || m_half.odd[h] == 0) continue;
        const MFloatPoint& a = m_graph[m_half.from[h]].GetPosition();
        const MFloatPoint& b = m_graph[m_half.to[h]].GetPosition();
        if ((a.y > p.y) == (b.y > p.y)) continue;
        if (GetOrientationSign(a, b, p) == (b.y > a.y ? 1 : -1)) bits ^= m_half.odd[h];
    }
    return bits;
}

bool FaceLabeller::Spread(int face, std::deque<int>& queue) {
    const int start = m_faceStart[face];
    int h = start;
    do {
        const int label = m_label[face] ^ m_half.odd[h];
        const int across = m_face[m_half.twin[h]];
        if (m_label[across] < 0) {
            m_label[across] = label;
            queue.push_back(across);
        } else if (m_label[across] != label) {
            return false;
        }
        h = m_half.Next(h);
    } while (h != start);
    return true;
}

bool FaceLabeller::Label() {
    TraceFaces();
    const int components = FindComponents();
    // Euler's formula per component: anything else means edges cross away from the vertices.
    std::vector<long long> vertices(components, 0), halfEdges(components, 0), faces(components, 0);
    for (int v = 0; v < m_graph.GetSize(); ++v) {
        if (m_component[v] < 0) continue;
        ++vertices[m_component[v]];
        halfEdges[m_component[v]] += m_half.first[v + 1] - m_half.first[v];
    }
    for (const int h : m_faceStart)
        ++faces[m_component[m_half.from[h]]];
    for (int c = 0; c < components; ++c)
        if (vertices[c] - halfEdges[c] / 2 + faces[c] != 2) return false;

    m_label.assign(m_faceStart.size(), -1);
    std::deque<int> queue;
    for (int c = 0; c < components; ++c) {
        const int outer = m_face[OuterHalfEdge(c)];
        m_label[outer] = LabelAt(m_graph[m_lowest[c]].GetPosition(), c);
        queue.push_back(outer);
        for (; !queue.empty(); queue.pop_front())
            if (!Spread(queue.front(), queue)) return false;
    }
    return true;
}

bool IsInResult(int label, MFusionOperation op) {
    switch (op) {
        case MFusionOperation::And:
            return label == 3;
        case MFusionOperation::Or:
            return label != 0;
        case MFusionOperation::Minus:
            return label == 1;
    }
    return false;
}

// Links the kept half-edges into loops; each is used exactly once.
class LoopWalker {
public:
    LoopWalker(const MFusionVertexArray& graph, const HalfEdges& half, std::vector<char> keep)
        : m_graph(graph), m_half(half), m_keep(std::move(keep)) {}
    bool Walk(std::vector<MFloatPointArray>& loops);

private:
    bool Link();
    bool Split(const std::vector<int>& walk, std::vector<MFloatPointArray>& loops);
    bool Emit(const int* begin, const int* end, std::vector<MFloatPointArray>& loops) const;

    const MFusionVertexArray& m_graph;
    const HalfEdges& m_half;
    std::vector<char> m_keep;
    std::vector<int> m_next, m_onStack;
};

// At each vertex a kept edge that arrives goes on with the first kept edge clockwise of where it
// came from: the sharpest left turn, round one corner of the result, so loops that touch at a vertex
// never cross there. That edge must leave the vertex, and no two arrivals may share it.
bool LoopWalker::Link() {
    m_next.assign(m_half.Count(), -1);
    std::vector<char> taken(m_half.Count(), 0);
    for (int h = 0; h < m_half.Count(); ++h) {
        if (!m_keep[h]) continue;
        const int v = m_half.to[h], t = m_half.twin[h];
        const int degree = m_half.first[v + 1] - m_half.first[v];
        for (int step = 1; step < degree && m_next[h] < 0; ++step) {
            const int g = m_half.first[v] + (t - m_half.first[v] + degree - step) % degree;
            if (m_keep[m_half.twin[g]]) return false;
            if (m_keep[g]) m_next[h] = g;
        }
        if (m_next[h] < 0 || taken[m_next[h]]) return false;
        taken[m_next[h]] = 1;
    }
    return true;
}

bool LoopWalker::Walk(std::vector<MFloatPointArray>& loops) {
    if (!Link()) return false;
    m_onStack.assign(m_graph.GetSize(), -1);
    std::vector<char> used(m_half.Count(), 0);
    std::vector<int> walk;
    for (int h = 0; h < m_half.Count(); ++h) {
        if (!m_keep[h] || used[h]) continue;
        walk.clear();
        int g = h;
        do {
            if (used[g]) return false;
            used[g] = 1;
            walk.push_back(m_half.from[g]);
            g = m_next[g];
        } while (g != h);
        if (!Split(walk, loops)) return false;
    }
    return true;
}

// A walk that comes back to a vertex is cut there into loops that each pass it once.
bool LoopWalker::Split(const std::vector<int>& walk, std::vector<MFloatPointArray>& loops) {
    std::vector<int> stack;
    for (const int v : walk) {
        const int at = m_onStack[v];
        if (at >= 0) {
            if (!Emit(stack.data() + at, stack.data() + stack.size(), loops)) return false;
            for (std::size_t i = at + 1; i < stack.size(); ++i)
                m_onStack[stack[i]] = -1;
            stack.resize(at + 1);
        } else {
            m_onStack[v] = static_cast<int>(stack.size());
            stack.push_back(v);
        }
    }
    for (const int v : stack)
        m_onStack[v] = -1;
    return Emit(stack.data(), stack.data() + stack.size(), loops);
}

bool IsStraightThrough(const MFloatPoint& a, const MFloatPoint& b, const MFloatPoint& c) {
    return GetOrientationSign(a, b, c) == 0 && (b - a).Dot(c - b) > 0;
}

// The loop without the points it runs straight through; fewer than three points left is a failure.
bool LoopWalker::Emit(const int* begin, const int* end, std::vector<MFloatPointArray>& loops) const {
    std::vector<MFloatPoint> points;
    for (const int* v = begin; v != end; ++v) {
        const MFloatPoint& p = m_graph[*v].GetPosition();
        while (points.size() >= 2 && IsStraightThrough(points[points.size() - 2], points.back(), p))
            points.pop_back();
        points.push_back(p);
    }
    for (bool changed = true; changed && points.size() >= 3;) {
        changed = false;
        if (IsStraightThrough(points[points.size() - 2], points.back(), points[0])) {
            points.pop_back();
            changed = true;
        } else if (IsStraightThrough(points.back(), points[0], points[1])) {
            points.erase(points.begin());
            changed = true;
        }
    }
    if (points.size() < 3) return false;
    MFloatPointArray& loop = loops.emplace_back();
    loop.SetSize(static_cast<int>(points.size()));
    std::copy(points.begin(), points.end(), loop.begin());
    return true;
}

}  // namespace

MFusionResult ExtractFusionLoops(MFusionVertexArray& graph, MFusionOperation op) {
    MFusionResult result;
    result.status = MFusionStatus::Inconsistent;
    HalfEdges half;
    if (!graph.SortNeighboursByAngle() || !BuildHalfEdges(graph, half)) return result;
    FaceLabeller faces(graph, half);
    if (!faces.Label()) return result;
    std::vector<char> keep(half.Count());
    for (int h = 0; h < half.Count(); ++h) {
        keep[h] = IsInResult(faces.LabelOf(faces.FaceOf(h)), op) &&
                  !IsInResult(faces.LabelOf(faces.FaceOf(half.twin[h])), op);
    }
    LoopWalker walker(graph, half, std::move(keep));
    if (!walker.Walk(result.loops)) {
        result.loops.clear();
        return result;
    }
    result.status = MFusionStatus::Done;
    return result;
}
