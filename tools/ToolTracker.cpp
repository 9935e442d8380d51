// The tool's marks and rubber band, and the count of the scopes that hold its figure erased.
#include "tools/ToolTracker.h"

#include <memory>

#include "platform/gdi/DC.h"
#include "view/TessarayView.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
// Frames wider and higher than this are drawn side by side.
constexpr int kFrameBySides = 64;

// A dotted or solid 1-pixel white pen and no brush, selected for the scope.
class MTrackerPen {
public:
    MTrackerPen(CDC* dc, int style) : m_dc(dc), m_pen(style, 1, kWhite) {
        m_oldPen = dc->SelectObject(&m_pen);
        m_oldBrush = dc->SelectStockObject(NULL_BRUSH);
    }
    ~MTrackerPen() {
        m_dc->SelectObject(m_oldPen);
        if (m_oldBrush) m_dc->SelectObject(m_oldBrush);
    }
    MTrackerPen(const MTrackerPen&) = delete;
    MTrackerPen& operator=(const MTrackerPen&) = delete;

private:
    CDC* m_dc;
    CPen m_pen;
    CPen* m_oldPen;
    CGdiObject* m_oldBrush;
};

void InvalidateAround(MTessarayView* view, CRect r, int inflate) {
    r.NormalizeRect();
    r.InflateRect(inflate, inflate);
    view->InvalidateRect(&r, TRUE);
}

}  // namespace

void DrawTrackerFrame(CDC* dc, CRect r) {
    r.NormalizeRect();
    MTrackerPen pen(dc, PS_DOT);
    if (r.Width() <= kFrameBySides || r.Height() <= kFrameBySides) {
        dc->Rectangle(&r);
        return;
    }
    // A large frame side by side: the exclusive-or figure of a rectangle costs its whole area, a
    // side only its own pixels. Each side leaves out its last pixel, the next side's first.
    const CPoint corners[5] = {{r.left, r.top},
                               {r.right - 1, r.top},
                               {r.right - 1, r.bottom - 1},
                               {r.left, r.bottom - 1},
                               {r.left, r.top}};
    for (int i = 0; i < 4; ++i) {
        dc->MoveTo(corners[i]);
        dc->LineTo(corners[i + 1]);
    }
}

void MToolTracker::BeginBand(const MFloatPoint& anchor) {
    m_banding = TRUE;
    m_anchor = anchor;
    m_band.left = m_band.right = anchor.x;
    m_band.top = m_band.bottom = anchor.y;
}

void MToolTracker::FollowBand(const MFloatPoint& pointer) {
    m_band.left = m_anchor.x;
    m_band.top = pointer.y;
    m_band.right = pointer.x;
    m_band.bottom = m_anchor.y;
}

void MToolTracker::EndBand(const MFloatPoint& pointer) {
    m_banding = FALSE;
    FollowBand(pointer);
}

void MToolTracker::MoveBand(const MFloatPoint& offset) {
    m_band.left += offset.x;
    m_band.right += offset.x;
    m_band.top += offset.y;
    m_band.bottom += offset.y;
}

void MToolTracker::Clear() {
    guideLineShown = FALSE;
    crossMarkShown = FALSE;
    m_banding = FALSE;
}

void MToolTracker::Draw(MTessarayView* view, CDC* dc) const {
    if (guideLineShown) {
        MTrackerPen pen(dc, PS_DOT);
        dc->MoveTo(view->DocToLogical(guideLine[0]));
        dc->LineTo(view->DocToLogical(guideLine[1]));
    }
    if (crossMarkShown) {
        const CPoint p = view->DocToLogical(crossMarkPoint);
        MTrackerPen pen(dc, PS_SOLID);
        dc->MoveTo(p.x - 4, p.y - 4);
        dc->LineTo(p.x + 5, p.y + 5);
        dc->MoveTo(p.x - 4, p.y + 5);
        dc->LineTo(p.x + 5, p.y - 4);
    }
    if (m_banding) DrawTrackerFrame(dc, view->DocToLogicalRect(m_band));
}

void MToolTracker::Invalidate(MTessarayView* view, CDC* dc) const {
    if (guideLineShown)
        InvalidateAround(view,
                         CRect(view->DocToDevice(dc, guideLine[0]), view->DocToDevice(dc, guideLine[1])), 1);
    if (crossMarkShown) {
        const CPoint p = view->DocToDevice(dc, crossMarkPoint);
        InvalidateAround(view, CRect(p.x - 4, p.y - 4, p.x + 5, p.y + 5), 1);
    }
    if (m_banding) InvalidateAround(view, view->DocToDeviceRect(dc, m_band), 1);
}
