#include "view/Grid.h"

#include <algorithm>
#include <cmath>

#include "model/CadView.h"
#include "model/geometry/FloatRect.h"
#include "platform/gdi/DC.h"

namespace {

constexpr int kMinimumStepPixels = 16;
// A step that grows past this many doublings can never be readable (the scale is degenerate).
constexpr int kMaxStepRounds = 64;

MFloatRect Edges(double left, double top, double right, double bottom) {
    MFloatRect r;
    r.left = left;
    r.top = top;
    r.right = right;
    r.bottom = bottom;
    return r;
}

// p, 2p, 8p, 64p, ...: the step is multiplied by a factor that doubles each round.
template <class Pixels>
double ReadableStep(double pitch, Pixels pixels) {
    if (!(pitch > 0) || !std::isfinite(pitch)) return 0.0;
    double step = pitch;
    double factor = 1.0;
    for (int round = 0; round < kMaxStepRounds; ++round) {
        step *= factor;
        factor *= 2.0;
        if (!std::isfinite(step)) return 0.0;
        if (pixels(step) >= kMinimumStepPixels) return step;
    }
    return 0.0;
}

}  // namespace

MGrid::MGrid(double paperWidth, double paperHeight, double pitchX, double pitchY)
    : m_pitchX(pitchX), m_pitchY(pitchY), m_paperWidth(paperWidth), m_paperHeight(paperHeight) {}

MGrid::~MGrid() = default;

double MGrid::DisplayStepX(const MCadView* view) const {
    return ReadableStep(m_pitchX, [view](double s) { return view->DocToLogicalSize(s, 0.0).cx; });
}

double MGrid::DisplayStepY(const MCadView* view) const {
    return ReadableStep(m_pitchY, [view](double s) { return -view->DocToLogicalSize(0.0, s).cy; });
}

void MGrid::Draw(MCadView* view, CDC* dc, BOOL showGrid) {
    if (!view || !dc) return;
    CRect sheet = view->PaperToLogicalRect(Edges(0.0, 0.0, m_paperWidth, -m_paperHeight));
    sheet.NormalizeRect();
    dc->FillSolidRect(&sheet, RGB(255, 255, 255));
    if (!showGrid) return;

    CRect clip;
    dc->GetClipBox(&clip);
    clip.InflateRect(1, 1);
    MFloatRect area = view->LogicalToDocRect(clip);
    area.Normalize();
    MFloatRect paper = view->PaperToDocRect(Edges(0.0, 0.0, m_paperWidth, -m_paperHeight));
    paper.Normalize();
    if (!area.Overlaps(paper)) return;
    area = area.GetIntersection(paper);

    const double stepX = DisplayStepX(view);
    const double stepY = DisplayStepY(view);
    if (stepX <= 0.0 || stepY <= 0.0) return;
    const MFloatPoint& origin = view->userOrigin;
    const double firstColumn = std::ceil((area.left - origin.x) / stepX);
    const double firstRow = std::floor((area.top - origin.y) / stepY);
    if (!std::isfinite(firstColumn) || !std::isfinite(firstRow)) return;
    for (double row = firstRow;; row -= 1.0) {
        const double y = origin.y + row * stepY;
        if (!(y > area.bottom)) break;
        for (double column = firstColumn;; column += 1.0) {
            const double x = origin.x + column * stepX;
            if (!(x < area.right)) break;
            const CPoint p = view->DocToLogical(x, y);
            dc->SetPixel(p.x, p.y, RGB(0, 0, 0));
        }
    }
}

MFloatPoint MGrid::SnapDocPoint(const MCadView* view, const MFloatPoint& point) const {
    const MFloatPoint& origin = view->userOrigin;
    MFloatPoint snapped = point;
    if (m_pitchX > 0 && std::isfinite(m_pitchX))
        snapped.x = origin.x + std::floor((point.x - origin.x) / m_pitchX + 0.5) * m_pitchX;
    if (m_pitchY > 0 && std::isfinite(m_pitchY))
        snapped.y = origin.y + std::floor((point.y - origin.y) / m_pitchY + 0.5) * m_pitchY;
    return snapped;
}

MFloatPoint MGrid::SnapToGrid(MCadView* view, const CPoint& devicePoint) {
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    return SnapDocPoint(view, view->DeviceToDoc(dc.get(), devicePoint));
}
