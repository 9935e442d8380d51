#include "widgets/GradationPreview.h"

#include <algorithm>
#include <cmath>

#include "model/FillStyle.h"
#include "model/render/PolyFace.h"
#include "platform/gdi/DC.h"

namespace {

// The colour `step` of `steps` on the way from a to b, channels truncated toward zero.
COLORREF Between(COLORREF a, COLORREF b, int step, int steps) {
    auto channel = [&](int ca, int cb) { return ca + (cb - ca) * step / steps; };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

// count bands of `width` pixels each from x (edges truncated), colours from a to b.
double Bands(CDC* dc, const CRect& rect, double x, double width, int count, COLORREF a, COLORREF b) {
    for (int i = 0; i < count; ++i) {
        const int left = static_cast<int>(x);
        x += width;
        const int right = static_cast<int>(x);
        if (right > left)
            dc->FillSolidRect(left, rect.top, right - left, rect.Height(), Between(a, b, i, count - 1));
    }
    return x;
}

}  // namespace

void DrawGradationRamp(CDC* dc, const CRect& rect, const GradationColors& colors) {
    const double unit = rect.Width() / 32.0;
    if (!colors.middleOn) {
        Bands(dc, rect, rect.left, unit, 32, colors.start, colors.end);
        return;
    }
    const double middle = std::isfinite(colors.middle) ? std::clamp(colors.middle, 0.0, 1.0) : 0.5;
    const double x = Bands(dc, rect, rect.left, unit * middle * 2, 16, colors.start, colors.middleColor);
    Bands(dc, rect, x, unit * (1 - middle) * 2, 16, colors.middleColor, colors.end);
}

MGradationBar::MGradationBar() {
    m_colors.start = 0xFFFFFF;
    m_colors.end = 0;
}

void MGradationBar::DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) {
    DrawGradationRamp(lpDrawItemStruct->hDC, lpDrawItemStruct->rcItem, m_colors);
}

MGradationWindow::MGradationWindow() {
    m_colors.start = 0xFFFFFF;
    m_colors.end = 0;
}

void MGradationWindow::DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) {
    const GradationColors& c = m_colors;
    const COLORREF three[] = {c.start, c.middleColor, c.end};
    const COLORREF two[] = {c.start, c.end};
    DrawGradation(lpDrawItemStruct->hDC, lpDrawItemStruct->rcItem, 32, kFillLinear + m_type,
                  c.middleOn ? three : two, c.middleOn ? 3 : 2, c.middle, m_angle, m_centerX, m_centerY);
}
