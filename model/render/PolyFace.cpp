#include "model/render/PolyFace.h"

#include <algorithm>
#include <cmath>

#include "model/CadView.h"
#include "model/FillStyle.h"
#include "model/geometry/Geometry.h"
#include "model/render/RenderClip.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"

MPolyFace& GetPolyFaceRenderer() {
    static MPolyFace renderer;
    return renderer;
}

bool MPolyFace::FaceToLogical(MCadView* view, CDC* dc, const MFloatPoint* points, int count) {
    MFloatRect visible;
    if (!VisibleDocRect(view, dc, 0.0, visible)) return false;
    m_sequence.clear();
    m_sequence.push_back((points[count - 1] + points[0]) * 0.5);
    m_sequence.insert(m_sequence.end(), points, points + count);
    m_counts.assign(1, static_cast<int>(m_sequence.size()));
    m_logical.clear();
    m_logicalCounts.clear();
    ClipAndConvertPolygons(view, visible, m_sequence, m_counts, m_logical, m_logicalCounts, m_clipA, m_clipB);
    return !m_logicalCounts.empty();
}

void MPolyFace::Draw(MCadView* view, CDC* dc, const MFloatPoint* points, int count) {
    if (!view || !dc || !points || count < 3) return;
    if (!FaceToLogical(view, dc, points, count)) return;
    dc->Polygon(m_logical.data(), m_logicalCounts[0]);
}

void MPolyFace::DrawFill(MCadView* view, CDC* dc, const MFloatPoint* points, int count,
                         const MFloatRect& extent, const MFillStyle& fill) {
    if (!view || !dc || !points || count <= 2 || fill.IsNone()) return;
    const int kind = fill.GetKind();
    if (kind == kFillPlain) {
        if (!FaceToLogical(view, dc, points, count)) return;
        CBrush brush(fill.GetColor(0));
        CSelectScope selectPen(dc, NULL_PEN);
        CSelectScope selectBrush(dc, &brush);
        dc->Polygon(m_logical.data(), m_logicalCounts[0]);
        return;
    }
    if (kind < kFillLinear || kind > kFillCircular) return;
    if (!FaceToLogical(view, dc, points, count)) return;
    // The region is made in device coordinates from the clipped face.
    std::vector<POINT> device(m_logical.begin(), m_logical.begin() + m_logicalCounts[0]);
    dc->LPtoDP(device.data(), static_cast<int>(device.size()));
    const int saved = dc->SaveDC();
    CRgn region;
    region.CreatePolygonRgn(device.data(), static_cast<int>(device.size()), WINDING);
    dc->SelectClipRgn(&region, RGN_AND);
    dc->SelectStockObject(NULL_PEN);
    CRect rect = view->DocToLogicalRect(extent);
    rect.NormalizeRect();
    DrawGradation(dc, rect, kBands, kind, fill.GetColors(), fill.GetColorCount(), fill.GetMiddle(),
                  fill.GetAngle(), fill.GetCenterX(), fill.GetCenterY());
    dc->RestoreDC(saved);
}

namespace {

COLORREF Mix(COLORREF a, COLORREF b, double f) {
    auto channel = [f](int x, int y) { return static_cast<int>(x + f * (y - x)); };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

}  // namespace

void DrawGradation(CDC* dc, RECT rect, int steps, int kind, const COLORREF* colors, int count, double middle,
                   double angle, double centerX, double centerY) {
    if (!dc || !colors || count <= 0 || steps <= 0 || kind < kFillLinear || kind > kFillCircular) return;
    steps = std::min(steps, 1024);
    if (!std::isfinite(middle)) middle = 0.5;
    if (!std::isfinite(angle)) angle = 0.0;
    if (!std::isfinite(centerX)) centerX = 0.5;
    if (!std::isfinite(centerY)) centerY = 0.5;
    const int h = steps / 2;
    const bool three = count == 3;
    // Brush colours. A list shorter than the kind needs would be read past its end: one colour
    // paints plainly.
    std::vector<COLORREF> brushColors(steps);
    for (int i = 0; i < steps; ++i) {
        if (count < 2) {
            brushColors[i] = colors[0];
        } else if (three && h > 0 && i < h) {
            brushColors[i] = Mix(colors[0], colors[1], double(i) / h);
        } else if (three && h > 0) {
            brushColors[i] = Mix(colors[1], colors[2], double(i - h) / std::max(1, steps - h));
        } else {
            brushColors[i] = Mix(colors[0], colors[1], steps > 1 ? double(i) / (steps - 1) : 0.0);
        }
    }
    auto fraction = [&](int band) {
        if (!three) return 1.0 / steps;
        return band < h ? 2.0 * middle / steps : 2.0 * (1.0 - middle) / steps;
    };

    CRect r(rect);
    r.InflateRect(1, 1);
    const double left = r.left, top = r.top, W = double(r.right) - r.left, H = double(r.bottom) - r.top;
    CSelectScope selectPen(dc, NULL_PEN);
    auto paintWith = [&](int band, auto&& paint) {
        CBrush brush(brushColors[band]);
        CSelectScope selectBrush(dc, &brush);
        paint();
    };
    auto toPoint = [](double x, double y) {
        return POINT{static_cast<LONG>(std::clamp(x, -2e9, 2e9)),
                     static_cast<LONG>(std::clamp(y, -2e9, 2e9))};
    };

    if (kind == kFillLinear) {
        const double cx = (static_cast<long long>(r.left) + r.right) / 2;
        const double cy = (static_cast<long long>(r.top) + r.bottom) / 2;
        const double D = std::max(W, H);
        const double L = D * (std::fabs(std::sin(angle)) + std::fabs(std::cos(angle)));
        const double dx = std::cos(angle), dy = -std::sin(angle);
        // Rotating by -angle in logical coordinates: (x cos a + y sin a, -x sin a + y cos a).
        auto rotated = [&](double x, double y) {
            return MFloatPoint(x * std::cos(angle) + y * std::sin(angle),
                               -x * std::sin(angle) + y * std::cos(angle));
        };
        const MFloatPoint p0 = MFloatPoint(cx, cy) + rotated(-L / 2, -L / 2);
        const MFloatPoint p1 = MFloatPoint(cx, cy) + rotated(-L / 2, L / 2);
        double offset = 0.0;
        for (int i = 0; i < steps; ++i) {
            const double next = offset + fraction(i) * L;
            const POINT quad[4] = {toPoint(p0.x + dx * offset, p0.y + dy * offset),
                                   toPoint(p1.x + dx * offset, p1.y + dy * offset),
                                   toPoint(p1.x + dx * next, p1.y + dy * next),
                                   toPoint(p0.x + dx * next, p0.y + dy * next)};
            paintWith(i, [&] { dc->Polygon(quad, 4); });
            offset = next;
        }
    } else {
        const double cx = left + W * centerX, cy = top + H * centerY;
        const double ex = centerX >= 0.5 ? W * centerX : W * (1 - centerX);
        const double ey = centerY >= 0.5 ? H * centerY : H * (1 - centerY);
        // Outside in: the last colour outermost, the first at the centre.
        std::vector<int> order;
        for (int i = steps - 1; i >= h; --i)
            order.push_back(i);
        for (int i = h - 1; i >= 0; --i)
            order.push_back(i);
        if (kind == kFillSquare) {
            const double S = std::max(ex, ey);
            double phi = std::fmod(angle, kPi / 2);
            if (phi < 0) phi += kPi / 2;
            const double T = std::sin(phi), U = std::cos(phi);
            const MFloatPoint start[4] = {MFloatPoint(1 - 2 * T * T, -1 - 2 * T * U) * S,
                                          MFloatPoint(1 + 2 * T * U, 1 - 2 * T * T) * S,
                                          MFloatPoint(2 * T * T - 1, 1 + 2 * T * U) * S,
                                          MFloatPoint(-1 - 2 * T * U, 2 * T * T - 1) * S};
            MFloatPoint corner[4] = {start[0], start[1], start[2], start[3]};
            for (int band : order) {
                POINT quad[4];
                for (int c = 0; c < 4; ++c)
                    quad[c] = toPoint(cx + corner[c].x, cy + corner[c].y);
                paintWith(band, [&] { dc->Polygon(quad, 4); });
                for (int c = 0; c < 4; ++c)
                    corner[c] -= start[c] * fraction(band);
            }
        } else {
            const double R = std::sqrt(ex * ex + ey * ey);
            double l = cx - R, t = cy - R, rr = cx + R, b = cy + R;
            for (int band : order) {
                const POINT a = toPoint(l, t), z = toPoint(rr, b);
                paintWith(band, [&] { dc->Ellipse(a.x, a.y, z.x, z.y); });
                const double shrink = fraction(band) * R;
                l += shrink, t += shrink, rr -= shrink, b -= shrink;
            }
        }
    }
}
