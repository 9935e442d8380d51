#include "platform/gdi/RunClip.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace gdi {

namespace {

// Every styled thin pen's pattern repeats after this many pixels along the run.
constexpr double kPenPatternPeriod = 24.0;

double Distance(const GdiPointF& a, const GdiPointF& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

// Where a piece cut from a styled run begins: moved back along the run to a whole number of
// pattern periods from the run's start, so that the dots do not restart wherever the guard cuts
// and a scrolled view joins its strips without a seam. i: the segment of the cut; at: its
// distance from the run's start. The points before the cut on earlier segments come along.
void BeginStyledPiece(const GdiPointF* pts, int i, double t0, double at, std::vector<GdiPointF>& out) {
    double back = std::fmod(at, kPenPatternPeriod);
    GdiPointF from = Lerp(pts[i], pts[i + 1], t0);
    std::size_t first = out.size();
    for (int j = i; j >= 0; --j) {
        const double length = Distance(pts[j], from);
        if (back <= length || j == 0) {
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(first),
                       length > 0.0 ? Lerp(from, pts[j], std::min(1.0, back / length)) : from);
            return;
        }
        back -= length;
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(first), pts[j]);
        from = pts[j];
    }
}

}  // namespace

// Liang-Barsky: the part of the segment inside the guard, as parameters t0 <= t1.
bool ClipSegment(const GdiPointF& a, const GdiPointF& b, const Guard& g, double& t0, double& t1) {
    t0 = 0.0, t1 = 1.0;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - g.left, g.right - a.x, a.y - g.top, g.bottom - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0) {
            if (r > t1) return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return false;
            t1 = std::min(t1, r);
        }
    }
    return t0 <= t1;
}

GdiPointF Lerp(const GdiPointF& a, const GdiPointF& b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

// Cuts an open run to the guard; the pieces go to out as separate runs. styled: the pen draws a
// pattern whose phase must survive the cut.
void ClipRun(const GdiPointF* pts, int n, const Guard& g, std::vector<GdiPointF>& out,
             std::vector<int>& counts, bool styled) {
    bool inside = true;
    for (int i = 0; i < n && inside; ++i)
        inside = g.Contains(pts[i]);
    if (inside) {
        out.insert(out.end(), pts, pts + n);
        counts.push_back(n);
        return;
    }
    int open = 0;        // points in the current piece
    double along = 0.0;  // length of the run before segment i
    for (int i = 0; i + 1 < n; ++i) {
        double t0, t1;
        const double length = styled ? Distance(pts[i], pts[i + 1]) : 0.0;
        if (!ClipSegment(pts[i], pts[i + 1], g, t0, t1)) {
            if (open) counts.push_back(open), open = 0;
            along += length;
            continue;
        }
        const GdiPointF a = t0 > 0.0 ? Lerp(pts[i], pts[i + 1], t0) : pts[i];
        const GdiPointF b = t1 < 1.0 ? Lerp(pts[i], pts[i + 1], t1) : pts[i + 1];
        if (!open || t0 > 0.0) {
            if (open) counts.push_back(open);
            const std::size_t before = out.size();
            if (styled && t0 > 0.0)
                BeginStyledPiece(pts, i, t0, along + t0 * length, out);
            else
                out.push_back(a);
            open = static_cast<int>(out.size() - before);
        }
        along += length;
        out.push_back(b);
        ++open;
        if (t1 < 1.0) counts.push_back(open), open = 0;
    }
    if (open) counts.push_back(open);
}

}  // namespace gdi
