// The selection's handles: where they are, their repaint and drawing, and the drag of the held
// one, which reshapes the copies that follow the mouse.
#include "tools/select/SelectionHandles.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "model/shapes/CadShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"
#include "tools/DrawTool.h"
#include "tools/PickList.h"
#include "view/TessarayView.h"

namespace {

// Handle index of the frame r of several shapes.
MFloatPoint FrameHandle(const MFloatRect& r, int index) {
    const double midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    switch (index) {
        case 0:
            return MFloatPoint(r.right, r.top);
        case 1:
            return MFloatPoint(r.right, r.bottom);
        case 2:
            return MFloatPoint(r.left, r.bottom);
        case 3:
            return MFloatPoint(r.left, r.top);
        case 4:
            return MFloatPoint(r.right, midY);
        case 5:
            return MFloatPoint(midX, r.bottom);
        case 6:
            return MFloatPoint(r.left, midY);
        default:
            return MFloatPoint(midX, r.top);
    }
}

// The handle of a frame after it flipped: left and right (sx < 0) or top and bottom (sy < 0)
// exchange, so that the held handle stays under the cursor.
int MirrorFrameHandle(int handle, double sx, double sy) {
    static constexpr int kFlipX[] = {3, 2, 1, 0, 6, 5, 4, 7};
    static constexpr int kFlipY[] = {1, 0, 3, 2, 4, 7, 6, 5};
    if (handle < 0 || handle >= MSelectionHandles::kFrameHandleCount) return handle;
    if (sx < 0) handle = kFlipX[handle];
    if (sy < 0) handle = kFlipY[handle];
    return handle;
}

}  // namespace

// ----- where they are ---------------------------------------------------------------------------

int MSelectionHandles::Count() const {
    const int count = m_tool.Lists().PickCount();
    if (count == 0) return 0;
    return count == 1 ? m_tool.Lists().Pick(0)->GetHandleCount() : kFrameHandleCount;
}

MFloatPoint MSelectionHandles::At(int index) const {
    const int count = m_tool.Lists().PickCount();
    if (count == 0) return MFloatPoint(0.0, 0.0);
    if (count == 1) return m_tool.Lists().Pick(0)->GetHandle(index);
    return FrameHandle(m_tool.Lists().Picks().GetShapes().GetExtent(), index);
}

std::vector<MFloatPoint> MSelectionHandles::All() const {
    // The frame of a large selection is its union extent: measured once for all eight handles.
    std::vector<MFloatPoint> handles;
    const int count = Count();
    if (m_tool.Lists().PickCount() > 1) {
        const MFloatRect frame = m_tool.Lists().Picks().GetShapes().GetExtent();
        for (int i = 0; i < count; ++i)
            handles.push_back(FrameHandle(frame, i));
    } else {
        for (int i = 0; i < count; ++i)
            handles.push_back(At(i));
    }
    return handles;
}

MFloatPoint MSelectionHandles::Center() const {
    if (m_tool.Lists().PickCount() == 1) return m_tool.Lists().Pick(0)->GetCenter();
    const MFloatRect r = m_tool.Lists().Picks().GetShapes().GetExtent();
    return MFloatPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

int MSelectionHandles::HitTest(MTessarayView* view, int x, int y) const {
    const std::vector<MFloatPoint> handles = All();
    if (handles.empty()) return 0;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    for (int i = 0; i < static_cast<int>(handles.size()); ++i) {
        const CPoint d = view->DocToDevice(dc.get(), handles[i]);
        if (std::abs(d.x - x) <= kHandleHalf && std::abs(d.y - y) <= kHandleHalf) return i + 1;
    }
    return 0;
}

// ----- shown and drawn --------------------------------------------------------------------------

void MSelectionHandles::Invalidate(MTessarayView* view) {
    if (!view) return;
    const std::vector<MFloatPoint> handles = All();
    if (handles.empty()) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    for (const MFloatPoint& h : handles) {
        const CPoint d = view->DocToDevice(dc.get(), h);
        CRect r(d.x - kHandleHalf - 1, d.y - kHandleHalf - 1, d.x + kHandleHalf + 2, d.y + kHandleHalf + 2);
        view->InvalidateRect(&r, TRUE);
    }
}

void MSelectionHandles::Hide(MTessarayView* view) {
    m_shown = FALSE;
    Invalidate(view);
}

void MSelectionHandles::Show(MTessarayView* view) {
    m_shown = TRUE;
    Invalidate(view);
}

void MSelectionHandles::Draw(MTessarayView* view, CDC* dc) {
    const std::vector<MFloatPoint> handles = All();
    if (handles.empty()) return;
    const int oldRop = dc->SetROP2(R2_COPYPEN);
    const bool reshape = CanReshape();
    CSelectScope pen(dc, reshape ? WHITE_PEN : BLACK_PEN);
    CSelectScope brush(dc, reshape ? BLACK_BRUSH : WHITE_BRUSH);
    for (const MFloatPoint& h : handles) {
        const CPoint c = view->DocToLogical(h);
        dc->Rectangle(c.x - kHandleHalf, c.y - kHandleHalf, c.x + kHandleHalf + 1, c.y + kHandleHalf + 1);
    }
    dc->SetROP2(oldRop);
}

// ----- reshaping ---------------------------------------------------------------------------------

void MSelectionHandles::ToggleDeforms(MTessarayView* view) {
    m_deforms = !m_deforms;
    Invalidate(view);
}

BOOL MSelectionHandles::CanReshape() const {
    return m_tool.Lists().Picks().SupportsEdit4() && m_deforms;
}

void MSelectionHandles::Hold(int index, const MFloatRect& frame) {
    m_held = index;
    m_frame = frame;
}

void MSelectionHandles::Forget() {
    m_shown = FALSE;
    m_held = -1;
}

void MSelectionHandles::Drag(const MFloatPoint& point, BOOL constrain) {
    const int count = m_tool.Lists().NewCount();
    if (count == 0) return;
    if (count == 1) {
        m_tool.Lists().NewShape(0)->MoveHandle(&m_held, point, constrain, &m_frame);
        return;
    }
    DragFrame(point, constrain);
}

void MSelectionHandles::DragFrame(const MFloatPoint& p, BOOL constrain) {
    const MFloatRect& r = m_frame;
    const double w = r.right - r.left, h = r.top - r.bottom;
    const double midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    // The fixed point and the new width and height (0 where that edge stays) per handle.
    MFloatPoint fixed;
    double nw = 0.0, nh = 0.0;
    switch (m_held) {
        case 0:
            fixed = MFloatPoint(r.left, r.bottom), nw = p.x - r.left, nh = p.y - r.bottom;
            break;
        case 1:
            fixed = MFloatPoint(r.left, r.top), nw = p.x - r.left, nh = r.top - p.y;
            break;
        case 2:
            fixed = MFloatPoint(r.right, r.top), nw = r.right - p.x, nh = r.top - p.y;
            break;
        case 3:
            fixed = MFloatPoint(r.right, r.bottom), nw = r.right - p.x, nh = p.y - r.bottom;
            break;
        case 4:
            fixed = MFloatPoint(r.left, midY), nw = p.x - r.left;
            break;
        case 5:
            fixed = MFloatPoint(midX, r.top), nh = r.top - p.y;
            break;
        case 6:
            fixed = MFloatPoint(r.right, midY), nw = r.right - p.x;
            break;
        case 7:
            fixed = MFloatPoint(midX, r.bottom), nh = p.y - r.bottom;
            break;
        default:
            return;
    }
    const bool movesX = m_held != 5 && m_held != 7;
    const bool movesY = m_held != 4 && m_held != 6;
    double sx = movesX && w != 0.0 ? nw / w : 1.0;
    double sy = movesY && h != 0.0 ? nh / h : 1.0;
    if (constrain) {
        if (std::fabs(movesX ? nw : 0.0) >= std::fabs(movesY ? nh : 0.0))
            sy = sx;
        else
            sx = sy;
    }
    // The frame is the scaled frame, so that it stays the copies' frame whatever the factors.
    MFloatRect next;
    next.left = fixed.x + sx * (r.left - fixed.x);
    next.right = fixed.x + sx * (r.right - fixed.x);
    next.top = fixed.y + sy * (r.top - fixed.y);
    next.bottom = fixed.y + sy * (r.bottom - fixed.y);
    // A frame of no width (or height) keeps its factor 1 there, which no copy feels as they all
    // lie on the fixed edge; its moving edge goes to the pointer, so the frame opens and the
    // other direction scales. It has flipped when that edge went past the fixed one.
    const bool flatX = movesX && w == 0.0, flatY = movesY && h == 0.0;
    if (flatX) (m_held == 2 || m_held == 3 || m_held == 6 ? next.left : next.right) = p.x;
    if (flatY) (m_held == 1 || m_held == 2 || m_held == 5 ? next.bottom : next.top) = p.y;
    if (next.left == next.right || next.top == next.bottom) return;
    next.Normalize();
    m_frame = next;
    for (int i = 0; i < m_tool.Lists().NewCount(); ++i)
        m_tool.Lists().NewShape(i)->ScaleAllXY(fixed, sx, sy);
    m_held = MirrorFrameHandle(m_held, flatX ? nw : sx, flatY ? nh : sy);
}
