// The handles around the select tool's selection: one shape's own handles, or the eight of the
// frame of several shapes. They are drawn opaque, by the paint only, while shown; a press on one
// holds it, and a drag of the held handle reshapes the copies that follow the mouse.
#pragma once

#include <vector>

#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatRect.h"
#include "platform/WinTypes.h"

class CDC;
class MDrawTool;
class MTessarayView;

class MSelectionHandles {
public:
    // Half the side of a handle square (the hit test's reach too).
    static constexpr int kHandleHalf = 4;
    // The frame handles of several shapes (right-top, right-bottom, left-bottom, left-top, then
    // the middles of the right, bottom, left and top edges).
    static constexpr int kFrameHandleCount = 8;

    // Over the tool's picks (the selection) and new shapes (the copies a drag reshapes).
    explicit MSelectionHandles(const MDrawTool& tool) : m_tool(tool) {}

    // ----- where they are -----------------------------------------------------------------------
    // One shape: its own handles; several: the eight of their frame; none: no handles.
    int Count() const;
    // The handle's drawing point; (0, 0) with an empty selection.
    MFloatPoint At(int index) const;
    // One shape: its centre; several: the centre of their frame.
    MFloatPoint Center() const;
    // 1 + the first handle within kHandleHalf pixels of the device point in x and y; 0 for none.
    int HitTest(MTessarayView* view, int x, int y) const;

    // ----- shown and drawn ----------------------------------------------------------------------
    BOOL IsShown() const { return m_shown; }
    // Shown from now on (the end of a completed operation), or hidden; both repaint them.
    void Show(MTessarayView* view);
    void Hide(MTessarayView* view);
    void Invalidate(MTessarayView* view);
    // Black squares when the selection may be reshaped, else white ones.
    void Draw(MTessarayView* view, CDC* dc);

    // ----- reshaping ----------------------------------------------------------------------------
    // Handle moves reshape (the "handle move" switch off: they only move the selection).
    BOOL Deforms() const { return m_deforms; }
    void ToggleDeforms(MTessarayView* view);
    // The selection may be reshaped by its handles (the handles are black then).
    BOOL CanReshape() const;
    // The press took handle index of the copies, whose frame is given; LetGo: none is held.
    void Hold(int index, const MFloatRect& frame);
    void LetGo() { m_held = -1; }
    BOOL IsHeld() const { return m_held >= 0; }
    // Reshapes the copies by the held handle: one shape by its own MoveHandle, several by scaling
    // their frame. The held index may change when the frame flips.
    void Drag(const MFloatPoint& point, BOOL constrain);
    // Hidden and let go (the tool's reset).
    void Forget();

private:
    // Every handle's drawing point, in handle order.
    std::vector<MFloatPoint> All() const;
    void DragFrame(const MFloatPoint& point, BOOL constrain);

    const MDrawTool& m_tool;
    int m_held = -1;
    BOOL m_shown = FALSE;
    BOOL m_deforms = TRUE;
    // The copies' frame while a handle is held.
    MFloatRect m_frame;
};
