#include "platform/gdi/GdiRaster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// A segment wholly inside the target, from its first pixel, without its last: at each step
// along the major axis the minor coordinate is ceil((2 k dv - n) / 2n) past the start (the
// nearest, halves down), walked with e = n at first and steps of 2dv where |dv| <= n.
template <bool Xor>
inline void Put(std::uint32_t* pixel, std::uint32_t colour) {
    if constexpr (Xor)
        *pixel = (*pixel ^ colour) | 0xFF000000u;
    else
        *pixel = colour;
}

template <bool Xor = false>
inline void Line(std::uint32_t* pixels, std::ptrdiff_t stride, std::int64_t x0, std::int64_t y0,
                 std::int64_t dx, std::int64_t dy, std::uint32_t colour) {
    const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const bool xMajor = adx >= ady;
    const std::int64_t n = xMajor ? adx : ady, dv = xMajor ? dy : dx;
    const std::ptrdiff_t uStep = xMajor ? (dx > 0 ? 1 : -1) : (dy > 0 ? stride : -stride);
    const std::ptrdiff_t vStep = xMajor ? stride : 1;
    const std::int64_t den = 2 * n;
    std::int64_t e = n, stepQ, stepR;
    if (dv == n)
        stepQ = 1, stepR = 0;
    else if (dv == -n)
        stepQ = -1, stepR = 0;
    else if (dv >= 0)
        stepQ = 0, stepR = 2 * dv;
    else
        stepQ = -1, stepR = 2 * dv + den;
    std::uint32_t* pixel = pixels + stride * y0 + x0;
    const std::ptrdiff_t step = uStep + stepQ * vStep;
    // Without branches: the extra step across comes as often as the slope says, which a
    // prediction cannot follow.
    for (std::int64_t k = 0; k < n; ++k) {
        Put<Xor>(pixel, colour);
        e -= stepR;
        const std::int64_t across = e >> 63;  // all ones when e < 0
        pixel += step + (vStep & across);
        e += den & across;
    }
}

// Pixels [left, right) of a row, mostly a few: two stores each overlapping, no loop.
inline void ShortSpan(std::uint32_t* line, std::int64_t left, std::int64_t right, std::uint32_t colour) {
    const std::int64_t length = right - left;
    if (length <= 0) return;
    if (length <= 2) {
        line[left] = colour;
        line[right - 1] = colour;
    } else if (length <= 4) {
        const std::uint64_t two = std::uint64_t(colour) * 0x100000001ull;
        std::memcpy(line + left, &two, sizeof two);
        std::memcpy(line + right - 2, &two, sizeof two);
    } else {
        std::fill(line + left, line + right, colour);
    }
}

}  // namespace

bool GdiRaster::IsOnGrid(const GdiPointF* points, int count, double grid) {
    const double scale = 1.0 / grid;
    for (int i = 0; i < count; ++i) {
        const double x = points[i].x * scale, y = points[i].y * scale;
        if (!(std::fabs(x) < kMaxCoordinate && std::fabs(y) < kMaxCoordinate)) return false;
        if (x != double(std::int64_t(x)) || y != double(std::int64_t(y))) return false;
    }
    return true;
}

bool GdiRaster::Admit(const GdiPointF* points, int count, double grid) const {
    if (count <= 0) return true;
    const double scale = 1.0 / grid;
    constexpr auto kLimit = static_cast<std::int64_t>(kMaxCoordinate);
    std::int64_t l = INT64_MAX, t = INT64_MAX, r = INT64_MIN, b = INT64_MIN;
    for (int i = 0; i < count; ++i) {
        // A cast back and forth keeps whole numbers only (and turns NaN and huge values into
        // a number that differs).
        const double gx = points[i].x * scale, gy = points[i].y * scale;
        const auto ix = static_cast<std::int64_t>(gx), iy = static_cast<std::int64_t>(gy);
        if (double(ix) != gx || double(iy) != gy) return false;
        l = std::min(l, ix), r = std::max(r, ix);
        t = std::min(t, iy), b = std::max(b, iy);
    }
    if (l <= -kLimit || t <= -kLimit || r >= kLimit || b >= kLimit) return false;
    // Small figures only: a large one goes through its rows in order anyway.
    const auto top = std::max<std::int64_t>(m_clip.top, std::int64_t(t * grid));
    const auto bottom = std::min<std::int64_t>(m_clip.bottom - 1, std::int64_t(b * grid));
    const auto left = std::max<std::int64_t>(m_clip.left, std::int64_t(l * grid));
    const auto right = std::min<std::int64_t>(m_clip.right - 1, std::int64_t(r * grid));
    if (bottom - top > 64 || right - left > 256 || top > bottom || left > right) return true;
    for (auto y = top; y <= bottom; ++y) {
        const std::uint32_t* row = m_pixels + m_stride * y;
        __builtin_prefetch(row + left, 1);
        __builtin_prefetch(row + right, 1);
    }
    return true;
}

void GdiRaster::Span(int y, std::int64_t left, std::int64_t right, std::uint32_t colour) {
    left = std::max<std::int64_t>(left, m_clip.left);
    right = std::min<std::int64_t>(right, m_clip.right);
    if (left >= right) return;
    std::uint32_t* row = m_pixels + m_stride * y;
    std::fill(row + left, row + right, colour);
}

void GdiRaster::FillRect(const CRect& rect, std::uint32_t colour) {
    const int top = std::max(rect.top, m_clip.top), bottom = std::min(rect.bottom, m_clip.bottom);
    for (int y = top; y < bottom; ++y)
        Span(y, rect.left, rect.right, colour);
}

bool GdiRaster::FillMonotone(const GdiPointF* points, int n, double offset, std::uint32_t colour) {
    constexpr int kMaxPoints = 16;
    if (n > kMaxPoints) return false;
    std::int64_t X[kMaxPoints], Y[kMaxPoints];
    const double shift = 2.0 * offset;
    std::int64_t xLow = INT64_MAX, xHigh = INT64_MIN;
    for (int i = 0; i < n; ++i) {
        X[i] = std::int64_t(2.0 * points[i].x + shift);
        Y[i] = std::int64_t(2.0 * points[i].y + shift);
        xLow = std::min(xLow, X[i]), xHigh = std::max(xHigh, X[i]);
    }
    // Crossings lie between the leftmost and rightmost points: inside the clip there, the spans
    // need no clipping.
    const bool inside = ((xLow + 1) >> 1) >= m_clip.left && ((xHigh + 1) >> 1) <= m_clip.right;
    return FillMonotone(X, Y, n, 1, inside, colour);
}

bool GdiRaster::FillMonotone(const std::int64_t* X, const std::int64_t* Y, int n, int half, bool inside,
                             std::uint32_t colour) {
    int low = 0, high = 0;
    for (int i = 1; i < n; ++i) {
        if (Y[i] < Y[low]) low = i;
        if (Y[i] > Y[high]) high = i;
    }
    if (Y[low] == Y[high]) return true;  // flat: no row inside
    if (n > 3) {
        // Monotone in y: going round, y turns from rising to falling and back exactly once each
        // (a triangle always does).
        int turns = 0, first = 0, last = 0;
        for (int i = 0; i < n; ++i) {
            const std::int64_t d = Y[i + 1 == n ? 0 : i + 1] - Y[i];
            if (!d) continue;
            const int sign = d > 0 ? 1 : -1;
            if (sign == last) continue;
            if (last)
                ++turns;
            else
                first = sign;
            last = sign;
        }
        if (first != last) ++turns;
        if (turns != 2) return false;
    }

    // Rows y with y0 <= y < y1 between the lowest and the highest point: the top one is in,
    // the bottom one out. In doubled coordinates (half = 1) that is y0 <= 2y < y1.
    const int top = std::max(static_cast<int>((Y[low] + half) >> half), m_clip.top);
    const int end = std::min(static_cast<int>((Y[high] + half) >> half), m_clip.bottom);
    // Two chains run from the lowest y to the highest, one each way round; every row inside has
    // one crossing on each, at x0 + (y - y0) dx / dy, whose first pixel at or right of it is
    // x0 + ceil((y - y0) dx / dy); doubled, floor(x0 / 2) + ceil(((x0 & 1) dy + (2y - y0) dx) / 2dy).
    int atA = low, atB = low, endA = top, endB = top;
    Walk a, b;
    for (int row = top; row < end; ++row) {
        while (row >= endA) {
            const int next = atA + 1 == n ? 0 : atA + 1;
            endA = static_cast<int>((Y[next] + half) >> half);
            if (endA > row) a = EdgeWalk(X[atA], Y[atA], X[next], Y[next], row, half);
            atA = next;
        }
        while (row >= endB) {
            const int next = atB == 0 ? n - 1 : atB - 1;
            endB = static_cast<int>((Y[next] + half) >> half);
            if (endB > row) b = EdgeWalk(X[atB], Y[atB], X[next], Y[next], row, half);
            atB = next;
        }
        const std::int64_t left = std::min(a.value, b.value), right = std::max(a.value, b.value);
        if (inside) {
            std::uint32_t* line = m_pixels + m_stride * row;
            for (std::int64_t x = left; x < right; ++x)
                line[x] = colour;
        } else {
            Span(row, left, right, colour);
        }
        a.Next();
        b.Next();
    }
    return true;
}

int GdiRaster::FillSmallMonotone(const std::int64_t* X, const std::int64_t* Y, int n, std::uint32_t colour) {
    // Going round, a ring rises by exactly its height when each row crosses it twice; then the
    // rising edges make one side and the falling ones the other, one crossing per row each.
    std::int64_t top = Y[0], bottom = Y[0], rise = 0;
    for (int i = 0; i < n; ++i) {
        const std::int64_t d = Y[i + 1 == n ? 0 : i + 1] - Y[i];
        rise += d > 0 ? d : 0;
        top = std::min(top, Y[i]), bottom = std::max(bottom, Y[i]);
    }
    const std::int64_t rows = bottom - top;
    if (rows > kSmallRows) return -1;
    if (rise != rows) return 0;
    if (rows == 0) return 1;
    std::int32_t xs[2][kSmallRows];
    for (int i = 0; i < n; ++i) {
        const int j = i + 1 == n ? 0 : i + 1;
        if (Y[i] == Y[j]) continue;
        // The crossings x0 + ceil((y - y0) dx / dy) from the edge's upper end (y = y0) on.
        const bool down = Y[j] > Y[i];
        const int a = down ? i : j, b = down ? j : i;
        const std::int64_t dx = X[b] - X[a], dy = Y[b] - Y[a];
        std::int32_t* out = xs[down ? 0 : 1] + (Y[a] - top);
        std::int64_t x = X[a];
        out[0] = static_cast<std::int32_t>(x);
        if (dy > 1) {
            std::int64_t q, r, e = 0;
            DivFloor(dx, dy, q, r);
            for (std::int64_t k = 1; k < dy; ++k) {
                e -= r;
                const std::int64_t carry = e >> 63;  // all ones when e < 0
                x += q - carry;
                e += dy & carry;
                out[k] = static_cast<std::int32_t>(x);
            }
        }
    }
    std::uint32_t* line = m_pixels + m_stride * top;
    for (std::int64_t row = 0; row < rows; ++row, line += m_stride) {
        const std::int32_t a = xs[0][row], b = xs[1][row];
        ShortSpan(line, std::min(a, b), std::max(a, b), colour);
    }
    return 1;
}

bool GdiRaster::DrawPolygons(const GdiPointF* points, const int* counts, int ringCount, bool winding,
                             bool fill, std::uint32_t fillColour, bool pen, std::uint32_t penColour) {
    constexpr int kMaxPoints = 64;
    int total = 0;
    for (int i = 0; i < ringCount; ++i)
        total += counts[i];
    if (total > kMaxPoints || ringCount > kMaxSeparateRings) {
        if (!Admit(points, total, 1.0)) return false;
        if (fill) FillPolygons(points, counts, ringCount, winding, fillColour);
        if (pen) StrokeRings(points, counts, ringCount, penColour);
        return true;
    }
    // Every point read once: whole numbers in range, each ring's box of pixels.
    constexpr auto kLimit = static_cast<std::int64_t>(kMaxCoordinate);
    std::int64_t X[kMaxPoints + 1], Y[kMaxPoints + 1];
    struct Box {
        std::int64_t l, t, r, b;
    } boxes[kMaxSeparateRings];
    bool apart = true, inside = true;
    int k = 0;
    for (int i = 0; i < ringCount; ++i) {
        Box box{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
        for (int j = k; j < k + counts[i]; ++j) {
            const double x = points[j].x, y = points[j].y;
            X[j] = static_cast<std::int64_t>(x), Y[j] = static_cast<std::int64_t>(y);
            if (double(X[j]) != x || double(Y[j]) != y) return false;
            box.l = std::min(box.l, X[j]), box.r = std::max(box.r, X[j]);
            box.t = std::min(box.t, Y[j]), box.b = std::max(box.b, Y[j]);
        }
        k += counts[i];
        if (box.l <= -kLimit || box.t <= -kLimit || box.r >= kLimit || box.b >= kLimit) return false;
        // Fill and outline stay within the box, its right and bottom edges included.
        for (int j = 0; j < i && apart; ++j)
            apart = box.l > boxes[j].r || boxes[j].l > box.r || box.t > boxes[j].b || boxes[j].t > box.b;
        inside = inside && box.l >= m_clip.left && box.r < m_clip.right && box.t >= m_clip.top &&
                 box.b < m_clip.bottom;
        boxes[i] = box;
        if (box.b - box.t <= 64 && box.r - box.l <= 256 && box.t >= m_clip.top && box.b < m_clip.bottom &&
            box.l >= m_clip.left && box.r < m_clip.right) {
            // A small box's row mostly lies within one line of the cache: asked for once.
            for (auto y = box.t; y <= box.b; ++y) {
                const std::uint32_t* row = m_pixels + m_stride * y;
                const auto l = reinterpret_cast<std::uintptr_t>(row + box.l),
                           r = reinterpret_cast<std::uintptr_t>(row + box.r);
                __builtin_prefetch(row + box.l, 1);
                if ((l ^ r) >= 64) __builtin_prefetch(row + box.r, 1);
            }
        }
    }
    if (m_clip.IsRectEmpty()) return true;
    if (fill) {
        if (ringCount == 1 || apart) {
            // Rings apart cannot share a pixel: each fills on its own.
            k = 0;
            for (int i = 0; i < ringCount; ++i) {
                if (counts[i] < 3) {
                } else if (const int done =
                               inside ? FillSmallMonotone(X + k, Y + k, counts[i], fillColour) : -1;
                           done == 0 ||
                           (done < 0 && !FillMonotone(X + k, Y + k, counts[i], 0, inside, fillColour))) {
                    FillFigure(points + k, counts + i, 1, winding, fillColour, 0.0);
                }
                k += counts[i];
            }
        } else {
            FillFigure(points, counts, ringCount, winding, fillColour, 0.0);
        }
    }
    if (pen) {
        k = 0;
        for (int i = 0; i < ringCount; ++i) {
            const int n = counts[i];
            for (int j = k; j < k + n; ++j) {
                const int next = j + 1 == k + n ? k : j + 1;
                if (X[j] == X[next] && Y[j] == Y[next]) continue;
                if (inside)
                    Line(m_pixels, m_stride, X[j], Y[j], X[next] - X[j], Y[next] - Y[j], penColour);
                else
                    Segment(X[j], Y[j], X[next], Y[next], penColour);
            }
            k += n;
        }
    }
    return true;
}

void GdiRaster::FillPolygons(const GdiPointF* points, const int* counts, int ringCount, bool winding,
                             std::uint32_t colour, double offset) {
    if (m_clip.IsRectEmpty()) return;
    // A ring that no row crosses more than twice (every convex one) fills between the two
    // crossings under both rules, found by walking the ring's two sides. Rings whose boxes are
    // apart cannot share a pixel, so they may be filled one by one (a renderer's dashes).
    if (ringCount == 1 && counts[0] >= 3 && FillMonotone(points, counts[0], offset, colour)) return;
    if (ringCount > 1 && ringCount <= kMaxSeparateRings && RingsApart(points, counts, ringCount, offset)) {
        int k = 0;
        for (int i = 0; i < ringCount; ++i) {
            if (counts[i] >= 3 && !FillMonotone(points + k, counts[i], offset, colour))
                FillFigure(points + k, counts + i, 1, winding, colour, offset);
            k += counts[i];
        }
        return;
    }
    FillFigure(points, counts, ringCount, winding, colour, offset);
}

bool GdiRaster::RingsApart(const GdiPointF* points, const int* counts, int ringCount, double offset) const {
    struct Box {
        double l, t, r, b;
    } boxes[kMaxSeparateRings];
    int k = 0;
    for (int i = 0; i < ringCount; ++i) {
        Box& box = boxes[i];
        box = {points[k].x, points[k].y, points[k].x, points[k].y};
        for (int j = 1; j < counts[i]; ++j) {
            const GdiPointF& p = points[k + j];
            box.l = std::min(box.l, p.x), box.r = std::max(box.r, p.x);
            box.t = std::min(box.t, p.y), box.b = std::max(box.b, p.y);
        }
        k += counts[i];
        // Every pixel the ring fills lies within whole pixels of this box.
        box = {std::floor(box.l + offset), std::floor(box.t + offset), std::ceil(box.r + offset),
               std::ceil(box.b + offset)};
        for (int j = 0; j < i; ++j)
            if (box.l <= boxes[j].r && boxes[j].l <= box.r && box.t <= boxes[j].b && boxes[j].t <= box.b)
                return false;
    }
    return true;
}

void GdiRaster::FillFigure(const GdiPointF* points, const int* counts, int ringCount, bool winding,
                           std::uint32_t colour, double offset) {
    int total = 0;
    for (int i = 0; i < ringCount; ++i)
        total += counts[i];
    if (total == 0) return;
    if (m_edges.size() < std::size_t(total)) m_edges.resize(total);
    int edges = 0, rowLow = m_clip.bottom, rowHigh = m_clip.top;
    // Doubled coordinates keep points of the half-pixel grid whole (and exact when cast).
    const double shift = 2.0 * offset;
    int k = 0;
    for (int i = 0; i < ringCount; ++i) {
        const int n = counts[i];
        for (int j = 0; j < n && n >= 3; ++j) {
            const GdiPointF& a = points[k + j];
            const GdiPointF& b = points[k + (j + 1 == n ? 0 : j + 1)];
            const auto ay = std::int64_t(2.0 * a.y + shift), by = std::int64_t(2.0 * b.y + shift);
            if (ay == by) continue;
            const auto ax = std::int64_t(2.0 * a.x + shift), bx = std::int64_t(2.0 * b.x + shift);
            const bool down = by > ay;
            Edge& e = m_edges[edges];
            e.dir = down ? 1 : -1;
            e.x0 = down ? ax : bx;
            e.y0 = down ? ay : by;
            e.dx = (down ? bx : ax) - e.x0;
            e.dy = down ? by - ay : ay - by;
            // Rows y with y0 <= 2y < y0 + dy: the top vertex's row is in, the bottom one's out.
            e.top = std::max(static_cast<int>((e.y0 + 1) >> 1), m_clip.top);
            e.end = std::min(static_cast<int>((e.y0 + e.dy + 1) >> 1), m_clip.bottom);
            if (e.end > e.top) {
                rowLow = std::min(rowLow, e.top), rowHigh = std::max(rowHigh, e.end);
                ++edges;
            }
        }
        k += n;
    }
    if (edges == 0) return;

    // Each edge drops its crossing into the rows it spans; then each row fills between its
    // crossings in order. Counting first places every row's crossings side by side.
    const int rows = rowHigh - rowLow;
    m_rowStart.assign(rows + 1, 0);
    for (int i = 0; i < edges; ++i) {
        ++m_rowStart[m_edges[i].top - rowLow];
        --m_rowStart[m_edges[i].end - rowLow];
    }
    int running = 0, offsetSum = 0;
    for (int r = 0; r <= rows; ++r) {
        running += m_rowStart[r];
        m_rowStart[r] = offsetSum;
        offsetSum += running;
    }
    if (m_crossings.size() < std::size_t(offsetSum)) m_crossings.resize(offsetSum);
    for (int i = 0; i < edges; ++i) {
        const Edge& e = m_edges[i];
        // On row y the edge crosses at (doubled) x = x0 + (2y - y0) dx / dy; the first pixel at
        // or right of it is ceil(x / 2) = floor(x0 / 2) + ceil(((x0 & 1) dy + (2y - y0) dx) / 2dy).
        Walk x(e.x0 >> 1, (e.x0 & 1) * e.dy + (2 * std::int64_t(e.top) - e.y0) * e.dx, 2 * e.dy, 2 * e.dx);
        for (int y = e.top; y < e.end; ++y) {
            // A row's slots fill from its start; the start is moved back below.
            m_crossings[m_rowStart[y - rowLow]++] = Crossing{x.value, e.dir};
            x.Next();
        }
    }
    int begin = 0;
    for (int r = 0; r < rows; ++r) {
        const int end = m_rowStart[r];
        Crossing* c = m_crossings.data() + begin;
        const int n = end - begin;
        begin = end;
        if (n < 2) continue;
        if (n == 2) {
            // The usual row of a simple figure: one span under either rule.
            Span(rowLow + r, std::min(c[0].x, c[1].x), std::max(c[0].x, c[1].x), colour);
            continue;
        }
        if (n <= 16) {
            for (int i = 1; i < n; ++i)
                for (int m = i; m > 0 && c[m - 1].x > c[m].x; --m)
                    std::swap(c[m - 1], c[m]);
        } else {
            std::sort(c, c + n, [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        }
        int wind = 0;
        for (int i = 0; i + 1 < n; ++i) {
            wind += c[i].dir;
            if (winding ? wind != 0 : (wind & 1) != 0) Span(rowLow + r, c[i].x, c[i + 1].x, colour);
        }
    }
}

template <bool Xor>
void GdiRaster::Segment(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                        std::uint32_t colour) {
    const std::int64_t dx = x1 - x0, dy = y1 - y0;
    if (dx == 0 && dy == 0) return;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    // Along the major axis u (steps k = 0 .. n-1 from u0), the minor coordinate is the nearest
    // whole number to v0 + k dv / n, halves going down: ceil((2 v0 n + 2 k dv - n) / 2n).
    const std::int64_t u0 = xMajor ? x0 : y0, v0 = xMajor ? y0 : x0;
    const std::int64_t du = xMajor ? dx : dy, dv = xMajor ? dy : dx;
    const std::int64_t n = std::llabs(du), su = du > 0 ? 1 : -1;
    const std::int64_t uLow = xMajor ? m_clip.left : m_clip.top,
                       uHigh = xMajor ? m_clip.right : m_clip.bottom;
    const std::int64_t vLow = xMajor ? m_clip.top : m_clip.left,
                       vHigh = xMajor ? m_clip.bottom : m_clip.right;
    std::int64_t kFirst, kEnd;
    if (su > 0) {
        kFirst = std::max<std::int64_t>(0, uLow - u0);
        kEnd = std::min<std::int64_t>(n, uHigh - u0);
    } else {
        kFirst = std::max<std::int64_t>(0, u0 - uHigh + 1);
        kEnd = std::min<std::int64_t>(n, u0 - uLow + 1);
    }
    if (kFirst >= kEnd) return;
    Walk v(v0, 2 * kFirst * dv - n, 2 * n, 2 * dv);
    std::int64_t u = u0 + su * kFirst;
    // The minor coordinate stays between the ends' own: inside the clip there, no test per pixel.
    // Steps along the major axis move by one pixel, across by a row of pixels or one.
    const std::ptrdiff_t uStep = xMajor ? su : su * m_stride, vStep = xMajor ? m_stride : 1;
    if (std::min(v0, v0 + dv) >= vLow && std::max(v0, v0 + dv) < vHigh) {
        std::uint32_t* pixel = xMajor ? m_pixels + m_stride * v.value + u : m_pixels + m_stride * u + v.value;
        for (std::int64_t k = kFirst; k < kEnd; ++k) {
            Put<Xor>(pixel, colour);
            pixel += uStep;
            const std::int64_t before = v.value;
            v.Next();
            pixel += (v.value - before) * vStep;
        }
        return;
    }
    for (std::int64_t k = kFirst; k < kEnd; ++k) {
        if (v.value >= vLow && v.value < vHigh) {
            Put<Xor>(xMajor ? &m_pixels[m_stride * v.value + u] : &m_pixels[m_stride * u + v.value], colour);
        }
        u += su;
        v.Next();
    }
}

template <bool Xor>
void GdiRaster::Stroke(const GdiPointF* points, int n, bool closed, std::uint32_t colour) {
    constexpr int kChunk = 32;
    std::int64_t X[kChunk], Y[kChunk];
    // Pieces of up to kChunk points, each starting where the last one ended.
    for (int start = 0; start + 1 < n;) {
        const int m = std::min(kChunk, n - start);
        std::int64_t l = INT64_MAX, t = INT64_MAX, r = INT64_MIN, b = INT64_MIN;
        for (int i = 0; i < m; ++i) {
            X[i] = static_cast<std::int64_t>(points[start + i].x);
            Y[i] = static_cast<std::int64_t>(points[start + i].y);
            l = std::min(l, X[i]), r = std::max(r, X[i]), t = std::min(t, Y[i]), b = std::max(b, Y[i]);
        }
        const bool last = start + m == n;
        const std::int64_t x1 = last && closed ? static_cast<std::int64_t>(points[0].x) : X[m - 1];
        const std::int64_t y1 = last && closed ? static_cast<std::int64_t>(points[0].y) : Y[m - 1];
        l = std::min(l, x1), r = std::max(r, x1), t = std::min(t, y1), b = std::max(b, y1);
        const bool inside = l >= m_clip.left && r < m_clip.right && t >= m_clip.top && b < m_clip.bottom;
        for (int i = 0; i + 1 < m; ++i) {
            if (X[i] == X[i + 1] && Y[i] == Y[i + 1]) continue;
            if (inside)
                Line<Xor>(m_pixels, m_stride, X[i], Y[i], X[i + 1] - X[i], Y[i + 1] - Y[i], colour);
            else
                Segment<Xor>(X[i], Y[i], X[i + 1], Y[i + 1], colour);
        }
        if (last) {
            if (closed && (X[m - 1] != x1 || Y[m - 1] != y1)) {
                if (inside)
                    Line<Xor>(m_pixels, m_stride, X[m - 1], Y[m - 1], x1 - X[m - 1], y1 - Y[m - 1], colour);
                else
                    Segment<Xor>(X[m - 1], Y[m - 1], x1, y1, colour);
            }
            break;
        }
        start += m - 1;
    }
}

void GdiRaster::StrokeRings(const GdiPointF* points, const int* counts, int ringCount, std::uint32_t colour) {
    if (m_clip.IsRectEmpty()) return;
    int k = 0;
    for (int i = 0; i < ringCount; ++i) {
        Stroke(points + k, counts[i], true, colour);
        k += counts[i];
    }
}

void GdiRaster::StrokeRuns(const GdiPointF* points, const int* counts, int runCount, std::uint32_t colour) {
    if (m_clip.IsRectEmpty()) return;
    int k = 0;
    for (int i = 0; i < runCount; ++i) {
        Stroke(points + k, counts[i], false, colour);
        k += counts[i];
    }
}

void GdiRaster::XorRuns(const GdiPointF* points, const int* counts, int runCount, std::uint32_t colour) {
    if (m_clip.IsRectEmpty()) return;
    colour &= 0xFFFFFFu;
    int k = 0;
    for (int i = 0; i < runCount; ++i) {
        Stroke<true>(points + k, counts[i], false, colour);
        k += counts[i];
    }
}
