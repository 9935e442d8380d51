// A rasterizer of our own for the common case of the drawing layer: solid fills and one-pixel
// solid lines copied onto 32-bit pixels, in pixel coordinates (pixel (x, y) is the point (x, y))
// with a rectangular clip. Fills take the pixels whose points lie inside: a point on a left or
// top edge is inside, on a right or bottom edge outside, as GDI fills. Lines take, at each step
// along their major axis, the pixel nearest to the line (halves towards smaller coordinates)
// and leave out their last pixel. With these rules a figure's outline always meets its fill.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/GdiBackend.h"

class GdiRaster {
public:
    // Coordinates whose magnitude stays below this are exact in the integer arithmetic (the
    // device context keeps its coordinates within 2^27).
    static constexpr double kMaxCoordinate = double(1 << 28);

    // Pixels (rows of stride pixels) and the rectangle that may be written (right and bottom
    // exclusive); the clip must lie within the pixels.
    void SetTarget(std::uint32_t* pixels, std::ptrdiff_t stride, const CRect& clip) {
        m_pixels = pixels;
        m_stride = stride;
        m_clip = clip;
    }

    // Whether every coordinate is a whole multiple of grid (1 or 0.5) within kMaxCoordinate.
    static bool IsOnGrid(const GdiPointF* points, int count, double grid);

    // Rings filled as one figure with the winding or the even-odd rule; offset is added to every
    // point (-0.5 takes corner coordinates). Points must lie on the half-pixel grid.
    void FillPolygons(const GdiPointF* points, const int* counts, int ringCount, bool winding,
                      std::uint32_t colour, double offset = 0.0);
    // Each ring's outline, closed. Points must be whole; rings whose points all coincide draw nothing.
    void StrokeRings(const GdiPointF* points, const int* counts, int ringCount, std::uint32_t colour);
    // Open runs of whole points, each segment without its last pixel.
    void StrokeRuns(const GdiPointF* points, const int* counts, int runCount, std::uint32_t colour);
    // The same pixels combined with the destination by exclusive or (the colour's low 24 bits; the
    // result is opaque): the tracking figures that are drawn twice to vanish.
    void XorRuns(const GdiPointF* points, const int* counts, int runCount, std::uint32_t colour);
    // A rectangle of pixels (right and bottom exclusive), clipped.
    void FillRect(const CRect& rect, std::uint32_t colour);
    // IsOnGrid for points about to be drawn on the target, asking for the pixel rows under a
    // small figure at once: figures placed at random would otherwise wait for memory per row.
    bool Admit(const GdiPointF* points, int count, double grid) const;
    // Polygons in whole pixel coordinates as one call: FillPolygons (when fill) and StrokeRings
    // (when pen), reading the points once. False, drawing nothing, when a point is off the grid.
    bool DrawPolygons(const GdiPointF* points, const int* counts, int ringCount, bool winding, bool fill,
                      std::uint32_t fillColour, bool pen, std::uint32_t penColour);

private:
    // num = q den + r with 0 <= r < den (den > 0). Doubles divide far faster than 64-bit
    // integers; the remainder puts right what their rounding missed.
    static void DivFloor(std::int64_t num, std::int64_t den, std::int64_t& q, std::int64_t& r) {
        if (num >= 0 && num < den) {
            q = 0, r = num;
            return;
        }
        if (num < 0 && num >= -den) {
            q = -1, r = num + den;
            return;
        }
        if (num == den) {
            q = 1, r = 0;
            return;
        }
        q = static_cast<std::int64_t>(static_cast<double>(num) / static_cast<double>(den));
        r = num - q * den;
        if (r < 0 || r >= den) {
            // Far beyond 2^53 the estimate may miss by more than one.
            const std::int64_t fix = r / den;
            q += fix, r -= fix * den;
            if (r < 0) --q, r += den;
        }
    }

    // base + ceil(m / den) as m grows by a step each time, exactly in integers: value is the
    // result and e = (value - base) * den - m stays within [0, den). Callers keep m small, so
    // that mostly no division is needed.
    struct Walk {
        Walk() = default;
        Walk(std::int64_t base, std::int64_t m, std::int64_t den_, std::int64_t step) : den(den_) {
            std::int64_t q, r;
            DivFloor(m, den, q, r);
            value = base + (r ? q + 1 : q);
            e = r ? den - r : 0;
            DivFloor(step, den, stepQ, stepR);
        }
        void Next() {
            value += stepQ;
            e -= stepR;
            if (e < 0) ++value, e += den;
        }
        std::int64_t value = 0, e = 0, den = 1, stepQ = 0, stepR = 0;
    };
    struct Edge {
        int top, end;                 // rows [top, end)
        int dir;                      // +1 downwards, -1 upwards
        std::int64_t x0, y0, dx, dy;  // doubled coordinates, dy > 0
    };
    struct Crossing {
        std::int64_t x;
        int dir;
    };

    static constexpr int kMaxSeparateRings = 16;
    // Whether no two rings' fills can share a pixel (their boxes are apart).
    bool RingsApart(const GdiPointF* points, const int* counts, int ringCount, double offset) const;
    // Any figure: crossings sorted per row.
    void FillFigure(const GdiPointF* points, const int* counts, int ringCount, bool winding,
                    std::uint32_t colour, double offset);
    // The crossings of the edge from (x0, y0) to (x1, y1) (y0 < y1) from the given row on, in
    // pixel coordinates or doubled ones (half = 1).
    static Walk EdgeWalk(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, int row,
                         int half) {
        const std::int64_t dx = x1 - x0, dy = y1 - y0;
        return Walk(x0 >> half, (x0 & half) * dy + ((std::int64_t(row) << half) - y0) * dx, dy << half,
                    dx << half);
    }
    // The fill of one ring that each row crosses at most twice, in pixel coordinates or doubled
    // ones (half = 1); inside: its spans need no clipping. False for other rings.
    bool FillMonotone(const std::int64_t* X, const std::int64_t* Y, int count, int half, bool inside,
                      std::uint32_t colour);
    // FillMonotone of a ring in whole pixel coordinates wholly inside the clip: 1 when filled,
    // 0 when some row crosses it more than twice, -1 when it spans more than kSmallRows rows.
    static constexpr int kSmallRows = 64;
    int FillSmallMonotone(const std::int64_t* X, const std::int64_t* Y, int count, std::uint32_t colour);
    // The same for points of the half-pixel grid moved by offset.
    bool FillMonotone(const GdiPointF* points, int count, double offset, std::uint32_t colour);
    // One ring (closed) or run of whole points; Xor combines instead of copying.
    template <bool Xor = false>
    void Stroke(const GdiPointF* points, int count, bool closed, std::uint32_t colour);
    template <bool Xor = false>
    void Segment(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, std::uint32_t colour);
    void Span(int y, std::int64_t left, std::int64_t right, std::uint32_t colour);

    std::uint32_t* m_pixels = nullptr;
    std::ptrdiff_t m_stride = 0;
    CRect m_clip;
    std::vector<Edge> m_edges;
    std::vector<int> m_rowStart;  // per row, where its crossings begin
    std::vector<Crossing> m_crossings;
};
