// The select tool: the user picks shapes of the drawing (click, Shift+click, rubber band, Select
// All, the shape under a snap point) and edits them. The selection is the base's pick list; the
// tool adds the handles around it, the pick rules of a press, moving and copying by dragging,
// reshaping by the handles, point edit, and redirects the drawing attributes to the selection.
//
// SelectToolPick.cpp: handles, the press, the tracker, the cursor, decide and cancel.
// SelectToolCommands.cpp: the command table and its enabling rules. SelectToolArrange.cpp: group,
// ungroup, flips, rotations, order, align, distribute and explode. SelectToolEdit.cpp: delete,
// the clipboard pack and insertion (the view's selection services).
// SelectToolDrag.cpp: moves, handle drags, point edit, the parts-bar drag, follow mode and typed
// moves. SelectToolAttributes.cpp: the attributes of the selection. SelectFilter.cpp: the kinds
// that may be picked.
//
// Nothing derives from this class: the view reaches it through the selection services and its
// command map; EditShape is the double click's hook.
#pragma once

#include <vector>

#include "model/shapes/CadShape.h"
#include "tools/DrawTool.h"
#include "tools/select/SelectFilter.h"
#include "view/ViewSelectAll.h"
#include "view/ViewSelection.h"

class MLineShape;

class MSelectTool final : public MDrawTool, public MSelectAllService, public MSelectionServices {
public:
    // Half the side of a handle square and the pixels of the hit test around the cursor.
    static constexpr int kHandleHalf = 4;
    static constexpr int kPickTolerance = 3;
    // The frame handles of several shapes (right-top, right-bottom, left-bottom, left-top, then
    // the middles of the right, bottom, left and top edges).
    static constexpr int kFrameHandleCount = 8;

    explicit MSelectTool(int toolId);
    ~MSelectTool() override;

    // ----- identity and lifecycle ---------------------------------------------------------------
    BOOL IsSelectTool() const override { return TRUE; }
    int GetSelectionCount() const override { return GetPickCount(); }
    void End(MTessarayView* view, BOOL switching) override;
    void Reset() override;
    void ReleaseConstraint() override;

    // ----- handles ------------------------------------------------------------------------------
    // One shape: its own handles; several: the eight of their frame; none: no handles.
    int GetSelectionHandleCount() const;
    // The handle's drawing point; (0, 0) with an empty selection.
    MFloatPoint GetSelectionHandle(int index) const;
    // One shape: its centre; several: the centre of their frame.
    MFloatPoint GetSelectionCenter() const;
    // 1 + the first handle within kHandleHalf pixels of the device point in x and y; 0 for none.
    int HitTestHandle(MTessarayView* view, int x, int y) const;
    void InvalidateHandles(MTessarayView* view);
    void HideHandles(MTessarayView* view);
    // Handles shown from now on (the end of a completed operation).
    void ShowHandles(MTessarayView* view);
    BOOL HandlesShown() const { return m_handlesShown; }
    // The selection may be reshaped by its handles (the handles are black then).
    BOOL HandlesReshape() const;

    // ----- the mouse ----------------------------------------------------------------------------
    int OnPickAt(MTessarayView* view, double x, double y, UINT flags) override;
    int OnPoint(MTessarayView* view, double x, double y, int phase, UINT flags) override;
    void OnDoubleClickHook(MTessarayView* view) override { EditShape(view); }
    void PaintTracker(MTessarayView* view, CDC* dc) override;
    BOOL OnSetCursor(MTessarayView* view, int x, int y, UINT hitTest) override;
    WORD GetSnapFlags(MTessarayView* view) override;
    BOOL IsPickMode() override { return GetNewCount() == 0; }
    BOOL CanPickByRect() override { return TRUE; }
    void PickInRect(MTessarayView* view, double x0, double y0, double x1, double y1, UINT flags) override;
    void SelectAll(MTessarayView* view) override;
    void ApplyAttributes(MTessarayView*) override {}
    BOOL MarksPicks() override;
    void OnDecide(MTessarayView* view) override;
    void OnCancel(MTessarayView* view) override;
    void DecideAndReset(MTessarayView* view) override;

    // ----- dragging (SelectToolDrag.cpp) ----------------------------------------------------------
    // Reshapes the copies by the held handle: one shape by its own MoveHandle, several by scaling
    // their frame. The index may change when the frame flips.
    void DragHandle(int* handleIndex, const MFloatPoint& point, BOOL constrain);
    // A part dragged in from the parts bar (x, y: client pixels); the tool owns the shape.
    void BeginDragShape(MTessarayView* view, MCadShape* shape, int x, int y);
    // The selection follows the mouse from the context point; the next release drops it, moved
    // or (CopyHere) copied.
    void MoveHere(MTessarayView* view);
    void CopyHere(MTessarayView* view);
    void OnTogglePointEdit(MTessarayView* view);
    void OnToggleHandleMove(MTessarayView* view);
    // One point-editable polygon is selected and the context point is on one of its handles.
    BOOL CanPointEdit(MTessarayView* view);
    void AddPoint(MTessarayView* view);
    void DeletePoint(MTessarayView* view);
    void OnCoordinateInput(MTessarayView* view, const CPoint* click, UINT flags) override;
    BOOL HandlesDeform() const { return m_handlesDeform; }

    // ----- arrangement and transforms (SelectToolArrange.cpp) -------------------------------------
    // Each is one undo step with the copies selected afterwards, and does nothing with an empty
    // selection or while copies are dragged. Relative drawing order is kept by both order commands.
    void MoveToTop(MTessarayView* view);
    void MoveToBottom(MTessarayView* view);
    // About the selection centre (counter-clockwise radians).
    void RotateSelection(MTessarayView* view, double angle);
    void FlipHorizontal(MTessarayView* view);
    void FlipVertical(MTessarayView* view);
    void MoveSelection(MTessarayView* view, const MFloatPoint& offset, BOOL copy);
    void ScaleSelection(MTessarayView* view, double sx, double sy);
    // Polygons into their edges (a closed one closed, a filled one keeps a fill-only copy); every
    // piece in its polygon's layer, the first in its place.
    void ExplodeToLines(MTessarayView* view);
    void Group(MTessarayView* view);
    // Every group's members in the group's layer, the first in its place.
    void Ungroup(MTessarayView* view);
    // The align command (left, top, bottom, centres x or y, right) to the union extent.
    void Align(MTessarayView* view, UINT command);
    // Equal steps between the centres, sorted stably by the centre's y (vertical) or x.
    void Distribute(MTessarayView* view, BOOL vertical);
    // Rotations (+1 left, -1 right) and flips ('x', 'y') about the context point.
    void RotateHere(MTessarayView* view, int direction);
    void FlipHere(MTessarayView* view, char axis);
    // The double click's and the edit command's edit of the single selected shape in its dialog.
    void EditShape(MTessarayView* view);

    // ----- the context menu and its own commands (SelectToolMenu.cpp) -----------------------------
    // Popup 1 of menu 238 without a selection, 3 in point edit, else 2, each followed by the
    // standard items; with a selection the reference-point and mirror-copy items at the top.
    void BuildContextMenu(MTessarayView* view, MDrawMenu* menu, int x, int y) override;
    // One plain group is selected and the context point lies in its extent.
    BOOL CanSetReferencePoint(MTessarayView* view);
    void SetReferencePoint(MTessarayView* view);
    // Mirrored copies of the selection across the line under the context point, the originals
    // staying; the copies are selected.
    void MirrorCopyOnLine(MTessarayView* view);

    // ----- the dialogs of the selection (SelectToolDialogs.cpp) ----------------------------------
    // Rotate by an angle, scale and move by values typed in their dialogs; each one undo step.
    void RotateByDialog(MTessarayView* view);
    void ScaleByDialog(MTessarayView* view);
    void MoveByDialog(MTessarayView* view);
    // Copies of the selection appended to the layer chosen in dialog 253, the shapes removed. The
    // copies stay selected (without handles) only when that layer may be seen and picked.
    void OnMoveToLayer(MTessarayView* view);
    // A copy of the one selected group handed to the frame's current parts list under the name
    // typed in dialog 210; the drawing does not change.
    void RegisterAsPart(MTessarayView* view);

    // ----- the view's selection services (SelectToolEdit.cpp) -------------------------------------
    int GetSelectedCount() const override { return GetPickCount(); }
    MCadShape* GetSelectedShape(int index) const override { return GetPickShape(index); }
    MPackShape* CreateSelectionPack(MTessarayView* view) override;
    void DeleteSelection(MTessarayView* view) override;
    void InsertShape(MTessarayView* view, MCadShape* shape) override;
    // Lines and open polygons that touch end to end become polygons (closed when the chain
    // closes), each in the place and layer of its chain's first joined shape; one polygon-based
    // shape becomes a plain polygon. Shapes that touch nothing stay.
    void JoinIntoPolyline(MTessarayView* view);

    // ----- the selection's attributes (SelectToolAttributes.cpp) ---------------------------------
    // With a selection: the change goes to the selected shapes that have the attribute, in one undo
    // step, and the answer is the selection's common value; with none, the program-wide one.
    void ApplyAttributeChange(MTessarayView* view, const MAttributeChange& change) override;
    MAttributeChange GetAttribute(MAttribute which) override;

    // ----- the select filter -------------------------------------------------------------------
    // The shape when its kind may be picked, else null.
    MCadShape* FilterPickTarget(MCadShape* shape) override { return m_filter.Admit(shape); }
    MSelectFilter& Filter() { return m_filter; }

protected:
    // The selection as an attribute change changes it: make(copy) changes a duplicate of each
    // selected shape that take(shape) accepts; the copies replace their shapes in one step. With
    // nothing selected the program-wide value is set (global); while copies are dragged nothing.
    template <class Take, class Make, class Global>
    void ChangeSelection(MTessarayView* view, Take take, Make make, Global global);
    // Deletes the copies and prepares a duplicate of every selected shape to follow the mouse.
    void PrepareMoveCopies(MTessarayView* view);
    // The shape a press at the device point takes, with its layer; p becomes the handle's exact
    // position when a handle that does not reshape was pressed.
    MCadShape* FindPressTarget(MTessarayView* view, CPoint device, int handle, MFloatPoint* p, int* layer);
    // The shape under a snap point at the device point, when its layer may be edited.
    MCadShape* FindSnappedTarget(MTessarayView* view, CPoint device, int* layer);
    void BeginHandleDrag(MTessarayView* view, int handle, const MFloatPoint& p);
    void DragFrameHandle(int* handleIndex, const MFloatPoint& point, BOOL constrain);
    // The release without a drag: Shift takes a selected shape out again.
    void ToggleOnRelease(MTessarayView* view, const MFloatPoint& p, UINT flags);
    void DrawHandles(MTessarayView* view, CDC* dc);
    // Every handle's drawing point, in handle order.
    std::vector<MFloatPoint> SelectionHandles() const;
    void RegisterSelectCommands();
    void RegisterArrangeCommands();
    // The replace pattern of the transforms: make(shape) gives each selected shape's copy, which
    // replaces it; the copies are selected. Nothing with an empty selection or while dragging.
    template <class Make>
    void ReplaceSelection(MTessarayView* view, Make make);
    // Copies of the selection in drawing order, inserted at the position of their layers (-1 on top).
    void MoveToPosition(MTessarayView* view, int position);
    // The context point, snapped as the context menu found it.
    MFloatPoint ContextPoint(MTessarayView* view);
    // The line under the context point that mirror copies use: not selected, not of zero length.
    const MLineShape* FindMirrorLine(MTessarayView* view);
    // Drops the copies of a typed move that was cancelled: nothing moves, the handles return.
    void AbandonCopies(MTessarayView* view);
    // Typed move: the angle of one selected line's normal in 0..180 degrees, or nothing.
    BOOL LineNormalAngle(double* degrees) const;

    int m_handle = -1;
    BOOL m_handlesDeform = TRUE;
    MFloatPoint m_dragOrigin;
    MFloatPoint m_previous;
    MFloatRect m_frame;
    BOOL m_copyOnDrop = FALSE;
    MSelectFilter m_filter;
    BOOL m_handlesShown = FALSE;
    MCadShape* m_justPicked = nullptr;
};

template <class Make>
void MSelectTool::ReplaceSelection(MTessarayView* view, Make make) {
    if (GetPickCount() == 0 || !IsPickMode() || !view) return;
    HideHandles(view);
    ReplaceEach(
        view, [&](MTessarayView*, MCadShape* shape) { return make(shape); }, TRUE);
    ShowHandles(view);
}

template <class Take, class Make, class Global>
void MSelectTool::ChangeSelection(MTessarayView* view, Take take, Make make, Global global) {
    if (GetPickCount() == 0) {
        global();
        return;
    }
    if (!IsPickMode() || !view) return;
    HideHandles(view);
    for (int i = 0; i < GetPickCount(); ++i) {
        MCadShape* shape = GetPickShape(i);
        if (!take(shape)) continue;
        MCadShape* copy = shape->Duplicate();
        AddReplacement(copy, i);
        make(copy);
    }
    if (GetNewCount() > 0) Commit(view, FALSE, TRUE);
    ShowHandles(view);
}
