#include "model/render/RenderClip.h"

#include <algorithm>
#include <cmath>

#include "model/CadView.h"
#include "platform/gdi/DC.h"

namespace {

// Pixels added around the visible area so that cut edges never show.
constexpr double kMarginPixels = 8.0;

bool Inside(const MFloatPoint& p, const MFloatRect& r) {
    return p.x >= r.left && p.x <= r.right && p.y >= r.bottom && p.y <= r.top;
}

void Append(MCadView* view, const MFloatPoint& p, std::vector<POINT>& out) {
    const CPoint q = view->DocToLogical(p);
    out.push_back(q);
}

// Logical coordinates up to this far from zero reach the device context uncut: it takes thin solid
// lines exactly up to 2^27, and the scroll position and centring add less than 2^26.
constexpr double kSafeLogical = double(1 << 26);

// The drawing rectangle whose points map within the safe range; all zero without a scale.
MFloatRect SafeDocRect(const MCadView* view) {
    MFloatRect r;
    r.SetNull();
    const double sx = view->unitScaleX, sy = view->unitScaleY;
    if (sx == 0.0 || sy == 0.0 || !std::isfinite(sx) || !std::isfinite(sy)) return r;
    const double x0 = -kSafeLogical / sx - view->OriginOffsetX(),
                 x1 = kSafeLogical / sx - view->OriginOffsetX();
    const double y0 = -kSafeLogical / sy - view->OriginOffsetY(),
                 y1 = kSafeLogical / sy - view->OriginOffsetY();
    r.left = std::min(x0, x1);
    r.right = std::max(x0, x1);
    r.bottom = std::min(y0, y1);
    r.top = std::max(y0, y1);
    return r;
}

// Whether the ring's bounds meet the rectangle.
bool Meets(const MFloatPoint* ring, int n, const MFloatRect& r) {
    if (n <= 0) return false;
    double left = ring[0].x, right = ring[0].x, bottom = ring[0].y, top = ring[0].y;
    for (int i = 1; i < n; ++i) {
        left = std::min(left, ring[i].x), right = std::max(right, ring[i].x);
        bottom = std::min(bottom, ring[i].y), top = std::max(top, ring[i].y);
    }
    return left <= r.right && right >= r.left && bottom <= r.top && top >= r.bottom;
}

// Sutherland-Hodgman against the four edges of the rectangle; the ring that is left goes to a.
void ClipRing(const MFloatPoint* ring, int n, const MFloatRect& rect, std::vector<MFloatPoint>& a,
              std::vector<MFloatPoint>& b) {
    a.assign(ring, ring + n);
    for (int edge = 0; edge < 4 && !a.empty(); ++edge) {
        auto in = [&](const MFloatPoint& p) {
            switch (edge) {
                case 0:
                    return p.x >= rect.left;
                case 1:
                    return p.x <= rect.right;
                case 2:
                    return p.y >= rect.bottom;
                default:
                    return p.y <= rect.top;
            }
        };
        auto cut = [&](const MFloatPoint& p, const MFloatPoint& q) {
            double t;
            switch (edge) {
                case 0:
                    t = (rect.left - p.x) / (q.x - p.x);
                    break;
                case 1:
                    t = (rect.right - p.x) / (q.x - p.x);
                    break;
                case 2:
                    t = (rect.bottom - p.y) / (q.y - p.y);
                    break;
                default:
                    t = (rect.top - p.y) / (q.y - p.y);
                    break;
            }
            return p + (q - p) * t;
        };
        b.clear();
        for (std::size_t i = 0; i < a.size(); ++i) {
            const MFloatPoint& p = a[i];
            const MFloatPoint& q = a[(i + 1) % a.size()];
            const bool pi = in(p), qi = in(q);
            if (pi) b.push_back(p);
            if (pi != qi) b.push_back(cut(p, q));
        }
        a.swap(b);
    }
}

}  // namespace

bool VisibleDocRect(MCadView* view, CDC* dc, double margin, MFloatRect& out) {
    out.SetNull();
    RECT box;
    const int kind = dc->GetClipBox(&box);
    if (kind == NULLREGION) return false;
    if (kind == RGN_ERROR || view->unitScaleX == 0.0 || view->unitScaleY == 0.0) return true;
    out = view->LogicalToDocRect(CRect(box));
    out.Normalize();
    const double px = std::max(std::fabs(view->unitInvX), std::fabs(view->unitInvY)) * kMarginPixels;
    const double m = std::fabs(margin) + px;
    if (!std::isfinite(m)) {
        out.SetNull();
        return true;
    }
    out.Inflate(m, m);
    if (out.IsNull()) out.Inflate(px, px);  // keep "all zero" meaning "no clipping" only
    return true;
}

bool ClipSegmentToRect(const MFloatPoint& a, const MFloatPoint& b, const MFloatRect& r, double& t0,
                       double& t1) {
    t0 = 0.0, t1 = 1.0;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - r.left, r.right - a.x, a.y - r.bottom, r.top - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    return t0 <= t1;
}

void ClipAndConvertPolygons(MCadView* view, const MFloatRect& rect, const std::vector<MFloatPoint>& points,
                            const std::vector<int>& counts, std::vector<POINT>& out,
                            std::vector<int>& outCounts, std::vector<MFloatPoint>& a,
                            std::vector<MFloatPoint>& b) {
    const bool clip = !rect.IsNull();
    // As for lines: a ring the visible area does not meet is left out, one it meets is cut only
    // where it leaves the safe range. Corners cut at the visible area and rounded to pixels would
    // tilt the edges by the area painted, and a figure painted in strips would show seams.
    const MFloatRect cut = clip ? SafeDocRect(view) : rect;
    std::size_t k = 0;
    for (int n : counts) {
        const MFloatPoint* ring = points.data() + k;
        k += static_cast<std::size_t>(n);
        if (clip && !Meets(ring, n, rect)) continue;
        bool inside = true;
        for (int i = 0; !cut.IsNull() && i < n && inside; ++i)
            inside = Inside(ring[i], cut);
        if (inside) {
            for (int i = 0; i < n; ++i)
                Append(view, ring[i], out);
            outCounts.push_back(n);
            continue;
        }
        ClipRing(ring, n, cut, a, b);
        if (a.size() >= 3) {
            for (const MFloatPoint& p : a)
                Append(view, p, out);
            outCounts.push_back(static_cast<int>(a.size()));
        }
    }
}

void ClipAndConvertLines(MCadView* view, const MFloatRect& rect, const std::vector<MFloatPoint>& points,
                         const std::vector<int>& counts, std::vector<POINT>& out,
                         std::vector<int>& outCounts) {
    const bool clip = !rect.IsNull();
    // A segment the visible area does not meet is left out; one it meets is cut only where it
    // leaves the safe range. Cutting at the visible area would round the cut ends to pixels that
    // depend on the area painted: a line would change its pixels with the paint region and the
    // scroll position, and a figure drawn twice in XOR would not cancel.
    const MFloatRect cut = clip ? SafeDocRect(view) : rect;
    std::size_t k = 0;
    for (int n : counts) {
        const MFloatPoint* run = points.data() + k;
        k += static_cast<std::size_t>(n);
        if (n < 2) continue;
        bool inside = true;
        for (int i = 0; clip && i < n && inside; ++i)
            inside = Inside(run[i], rect);
        if (inside) {
            for (int i = 0; i < n; ++i)
                Append(view, run[i], out);
            outCounts.push_back(n);
            continue;
        }
        int open = 0;
        for (int i = 0; i + 1 < n; ++i) {
            double t0, t1;
            bool shown = ClipSegmentToRect(run[i], run[i + 1], rect, t0, t1);
            if (shown && cut.IsNull())
                t0 = 0.0, t1 = 1.0;
            else if (shown)
                shown = ClipSegmentToRect(run[i], run[i + 1], cut, t0, t1);
            if (!shown) {
                if (open >= 2)
                    outCounts.push_back(open);
                else
                    out.resize(out.size() - open);
                open = 0;
                continue;
            }
            const MFloatPoint d = run[i + 1] - run[i];
            if (!open || t0 > 0.0) {
                if (open >= 2)
                    outCounts.push_back(open);
                else
                    out.resize(out.size() - open);
                Append(view, t0 > 0.0 ? run[i] + d * t0 : run[i], out);
                open = 1;
            }
            Append(view, t1 < 1.0 ? run[i] + d * t1 : run[i + 1], out);
            ++open;
            if (t1 < 1.0) {
                outCounts.push_back(open);
                open = 0;
            }
        }
        if (open >= 2)
            outCounts.push_back(open);
        else
            out.resize(out.size() - open);
    }
}
