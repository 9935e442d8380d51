#include "platform/gdi/PrintedRuns.h"

namespace {

// b lies on the straight piece from a to c, strictly between them, the piece horizontal or
// vertical. Exact: equal coordinates compared as they are, directions by the signs of
// differences, which rounding does not change.
bool ContinuesStretch(const GdiPointF& a, const GdiPointF& b, const GdiPointF& c) {
    if (a.x == b.x && b.x == c.x) return (b.y > a.y && c.y > b.y) || (b.y < a.y && c.y < b.y);
    if (a.y == b.y && b.y == c.y) return (b.x > a.x && c.x > b.x) || (b.x < a.x && c.x < b.x);
    return false;
}

}  // namespace

int AppendPrintedRun(const GdiPointF* run, int count, std::vector<GdiPointF>& out) {
    if (count <= 0) return 0;
    const std::size_t first = out.size();
    out.push_back(run[0]);
    for (int j = 1; j < count; ++j) {
        const GdiPointF& p = run[j];
        const GdiPointF& last = out.back();
        if (p.x == last.x && p.y == last.y) continue;
        if (out.size() - first >= 2 && ContinuesStretch(out[out.size() - 2], last, p))
            out.back() = p;
        else
            out.push_back(p);
    }
    return static_cast<int>(out.size() - first);
}
