// The select tool: the user picks shapes of the drawing (click, Shift+click, rubber band, Select
// All, the shape under a snap point) and edits them. The selection is the base's pick list; the
// tool adds the handles around it, the pick rules of a press, moving and copying by dragging,
// reshaping by the handles, point edit, and redirects the drawing attributes to the selection.
//
// SelectToolPick.cpp: handles, the press, the tracker, the cursor, decide and cancel.
// SelectToolDrag.cpp: moves, handle drags, point edit, the parts-bar drag, follow mode, typed moves
// and the tool's own commands. SelectToolEdit.cpp: delete, the clipboard pack and insertion (the
// view's selection services). SelectToolMenu.cpp: the context menu. SelectToolAttributes.cpp: the
// attributes of the selection. The edits of the selection (transforms, order, group, join, ...)
// are MSelectionEdits (SelectionEdits.h); the kinds that may be picked, MSelectFilter.
//
// Nothing derives from this class: the view reaches it through the selection services and its
// command map; EditShape is the double click's hook.
#pragma once

#include <memory>
#include <vector>

#include "model/shapes/CadShape.h"
#include "tools/DrawTool.h"
#include "tools/select/SelectFilter.h"
#include "view/ViewSelectAll.h"
#include "view/ViewSelection.h"

class MSelectionEdits;

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
    void OnDoubleClickHook(MTessarayView* view) override;
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

    // ----- the context menu (SelectToolMenu.cpp) ------------------------------------------------
    // Popup 1 of menu 238 without a selection, 3 in point edit, else 2, each followed by the
    // standard items; with a selection the reference-point and mirror-copy items at the top.
    void BuildContextMenu(MTessarayView* view, MDrawMenu* menu, int x, int y) override;

    // ----- the edits of the selection (SelectionEdits.h) -----------------------------------------
    MSelectionEdits& Edits() { return *m_edits; }

    // ----- the view's selection services (SelectToolEdit.cpp) -------------------------------------
    int GetSelectedCount() const override { return GetPickCount(); }
    MCadShape* GetSelectedShape(int index) const override { return GetPickShape(index); }
    MPackShape* CreateSelectionPack(MTessarayView* view) override;
    void DeleteSelection(MTessarayView* view) override;
    void InsertShape(MTessarayView* view, MCadShape* shape) override;

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
    // Drops the copies of a typed move that was cancelled: nothing moves, the handles return.
    void AbandonCopies(MTessarayView* view);

    int m_handle = -1;
    BOOL m_handlesDeform = TRUE;
    MFloatPoint m_dragOrigin;
    MFloatPoint m_previous;
    MFloatRect m_frame;
    BOOL m_copyOnDrop = FALSE;
    MSelectFilter m_filter;
    BOOL m_handlesShown = FALSE;
    MCadShape* m_justPicked = nullptr;
    // Works over the selection with the base's lists and commits, as the tool's own code does.
    std::unique_ptr<MSelectionEdits> m_edits;

    friend class MSelectionEdits;
};
