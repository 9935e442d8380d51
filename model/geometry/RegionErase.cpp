#include "model/geometry/RegionErase.h"

#include <algorithm>

namespace {

// Collects the runs edge by edge; a kept part that starts where the previous one ended continues
// its run across the vertex.
class RunBuilder {
public:
    void AddEdge(const MFloatPoint& a, const MFloatPoint& b, const MSegmentCut& cut) {
        if (cut.reachesInside) m_reachesInside = true;
        if (cut.kept.empty()) m_open = false;
        for (const MParamSpan& span : cut.kept) {
            if (!(m_open && span.t0 == 0.0)) StartRun(PointAt(a, b, span.t0));
            Append(PointAt(a, b, span.t1));
            m_open = span.t1 == 1.0;
        }
        if (!cut.kept.empty() && cut.kept.back().t1 != 1.0) m_open = false;
    }

    // For a closed outline: the run that reaches the first vertex again continues into the run that
    // left it.
    void CloseRing() {
        if (m_runs.size() < 2 || !m_open || !m_startsAtFirstVertex) return;
        std::vector<MFloatPoint>& last = m_runs.back();
        const std::vector<MFloatPoint>& first = m_runs.front();
        last.insert(last.end(), first.begin() + 1, first.end());
        m_runs.erase(m_runs.begin());
    }

    void NoteFirstEdge(const MSegmentCut& cut) {
        m_startsAtFirstVertex = !cut.kept.empty() && cut.kept.front().t0 == 0.0;
    }

    MRegionCut Take() {
        if (!m_reachesInside) return {};
        std::erase_if(m_runs, [](const std::vector<MFloatPoint>& run) { return run.size() < 2; });
        return {true, std::move(m_runs)};
    }

private:
    void StartRun(const MFloatPoint& p) { m_runs.push_back({p}); }
    void Append(const MFloatPoint& p) {
        if (m_runs.back().back() != p) m_runs.back().push_back(p);
    }

    std::vector<std::vector<MFloatPoint>> m_runs;
    bool m_open = false;
    bool m_reachesInside = false;
    bool m_startsAtFirstVertex = false;
};

// Whether the points' bounding box meets the region's: most shapes of a drawing do not.
bool Reaches(std::span<const MFloatPoint> points, const MFloatRect& bounds) {
    double x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
    for (const MFloatPoint& p : points) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    return !(x1 < bounds.left || x0 > bounds.right || y1 < bounds.bottom || y0 > bounds.top);
}

}  // namespace

MRegionCut CutLineByRegion(const MFloatPoint& a, const MFloatPoint& b, const MCutRegion& region) {
    const MFloatPoint points[] = {a, b};
    return CutOutlineByRegion(points, false, region);
}

MRegionCut CutOutlineByRegion(std::span<const MFloatPoint> points, bool closed, const MCutRegion& region) {
    RunBuilder runs;
    MSegmentCutter cutter(region);
    const std::size_t n = points.size();
    if (n < 2 || !region.CanCut() || !Reaches(points, region.GetBounds())) return {};
    const std::size_t edges = closed ? n : n - 1;
    bool first = true;
    for (std::size_t k = 0; k < edges; ++k) {
        const MFloatPoint& a = points[k];
        const MFloatPoint& b = points[(k + 1) % n];
        // A repeated vertex neither breaks a run nor adds a point.
        if (a == b && !region.IsInside(a)) continue;
        const MSegmentCut& cut = cutter.Cut(a, b);
        if (first) runs.NoteFirstEdge(cut), first = false;
        runs.AddEdge(a, b, cut);
    }
    if (closed) runs.CloseRing();
    return runs.Take();
}
