// The select tool: the user picks shapes of the drawing (click, Shift+click, rubber band, Select
// All, the shape under a snap point) and edits them. The selection is the base's pick list; the
// tool adds the pick rules of a press, moving and copying by dragging, reshaping by the handles,
// point edit, and redirects the drawing attributes to the selection.
//
// SelectToolPick.cpp: the press, the tracker, the cursor, decide and cancel. SelectToolDrag.cpp:
// moves, handle drags, point edit, the parts-bar drag, follow mode, typed moves and the tool's own
// commands. SelectToolEdit.cpp: delete, the clipboard pack and insertion (the view's selection
// services). SelectToolMenu.cpp: the context menu. SelectToolAttributes.cpp: the attributes of the
// selection. Three collaborators the tool owns: MSelectionHandles (the handles around the
// selection), MSelectionEdits (transforms, order, group, join and the other edits, with their
// commands) and MSelectFilter (the kinds that may be picked).
//
// Nothing derives from this class: the view reaches it through the selection services and its
// command map.
#pragma once

#include <memory>

#include "model/shapes/CadShape.h"
#include "tools/DrawTool.h"
#include "tools/select/SelectFilter.h"
#include "tools/select/SelectionHandles.h"
#include "view/ViewSelectAll.h"
#include "view/ViewSelection.h"

class MSelectionEdits;

class MSelectTool final : public MDrawTool, public MSelectAllService, public MSelectionServices {
public:
    // The pixels of the hit test around the cursor.
    static constexpr int kPickTolerance = 3;

    explicit MSelectTool(int toolId);
    ~MSelectTool() override;

    // ----- identity and lifecycle ---------------------------------------------------------------
    BOOL IsSelectTool() const override { return TRUE; }
    int GetSelectionCount() const override { return Lists().PickCount(); }
    void End(MTessarayView* view, BOOL switching) override;
    void Reset() override;
    void ReleaseConstraint() override;

    // ----- handles (SelectionHandles.h) ----------------------------------------------------------
    MSelectionHandles& Handles() { return m_handles; }

    // ----- the mouse ----------------------------------------------------------------------------
    int OnPickAt(MTessarayView* view, double x, double y, UINT flags) override;
    int OnPoint(MTessarayView* view, double x, double y, int phase, UINT flags) override;
    void OnDoubleClickHook(MTessarayView* view) override;
    void PaintTracker(MTessarayView* view, CDC* dc) override;
    BOOL OnSetCursor(MTessarayView* view, int x, int y, UINT hitTest) override;
    WORD GetSnapFlags(MTessarayView* view) override;
    // Picking while nothing is dragged; the picks marked only when the options ask for it.
    UINT GetPickTraits() override;
    void PickInRect(MTessarayView* view, double x0, double y0, double x1, double y1, UINT flags) override;
    void SelectAll(MTessarayView* view) override;
    void ApplyAttributes(MTessarayView*) override {}
    void OnDecide(MTessarayView* view) override;
    // "取消し" is never offered: the copies that follow the pointer go with the next release, or
    // with the end of the tool.
    BOOL CanCancel() override { return FALSE; }
    void OnCancel(MTessarayView* view) override;
    void DecideAndReset(MTessarayView* view) override;

    // ----- dragging and typed moves (SelectToolDrag.cpp) ------------------------------------------
    // A part dragged in from the parts bar (x, y: client pixels); the tool owns the shape.
    void BeginDragShape(MTessarayView* view, MCadShape* shape, int x, int y);
    void OnCoordinateInput(MTessarayView* view, const CPoint* click, UINT flags) override;

    // ----- the context menu (SelectToolMenu.cpp) ------------------------------------------------
    // Popup 1 of menu 238 without a selection, 3 in point edit, else 2, each followed by the
    // standard items; with a selection the reference-point and mirror-copy items at the top.
    void BuildContextMenu(MTessarayView* view, MDrawMenu* menu, int x, int y) override;

    // ----- the edits of the selection (SelectionEdits.h) -----------------------------------------
    MSelectionEdits& Edits() { return *m_edits; }

    // ----- the view's selection services (SelectToolEdit.cpp) -------------------------------------
    int GetSelectedCount() const override { return Lists().PickCount(); }
    MCadShape* GetSelectedShape(int index) const override { return Lists().Pick(index); }
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

private:
    // Deletes the copies and prepares a duplicate of every selected shape to follow the mouse.
    void PrepareMoveCopies(MTessarayView* view);
    // The shape a press at the device point takes, with its layer; p becomes the handle's exact
    // position when a handle that does not reshape was pressed.
    MCadShape* FindPressTarget(MTessarayView* view, CPoint device, int handle, MFloatPoint* p, int* layer);
    // The shape under a snap point at the device point, when its layer may be edited.
    MCadShape* FindSnappedTarget(MTessarayView* view, CPoint device, int* layer);
    void BeginHandleDrag(MTessarayView* view, int handle, const MFloatPoint& p);
    // The release without a drag: Shift takes a selected shape out again.
    void ToggleOnRelease(MTessarayView* view, const MFloatPoint& p, UINT flags);
    // The tool's own commands: handle moves, point edit, follow mode, the filter.
    void RegisterSelectCommands();
    // The selection follows the mouse from the context point; the next release drops it, moved
    // or copied.
    void FollowHere(MTessarayView* view, BOOL copy);
    void OnTogglePointEdit(MTessarayView* view);
    // One point-editable polygon is selected and the context point is on one of its handles.
    BOOL CanPointEdit(MTessarayView* view);
    // At the handle under the context point: a vertex inserted (the midpoint of the edge from it)
    // or the vertex deleted.
    void EditVertex(MTessarayView* view, BOOL insert);
    // Drops the copies of a typed move that was cancelled: nothing moves, the handles return.
    void AbandonCopies(MTessarayView* view);

    MSelectionHandles m_handles{*this};
    MFloatPoint m_dragOrigin;
    MFloatPoint m_previous;
    BOOL m_copyOnDrop = FALSE;
    MSelectFilter m_filter;
    MCadShape* m_justPicked = nullptr;
    std::unique_ptr<MSelectionEdits> m_edits;

    // The edits replace picks, find the document and read the context point as the tool does.
    friend class MSelectionEdits;
};
