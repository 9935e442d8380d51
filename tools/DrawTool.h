// The base class of the interactive tools. A tool is a long-lived command target owned by the
// program-wide tool array; the view hands it mouse events and routes commands to it.
//
// The base holds the road every tool shares, so that a tool writes only its figure and commands:
// - events: the button-down guard, the 8-pixel dead zone, snapping (coordinate entry, constraint,
//   the document's snap search, the grid) and the split between picking and constructing;
// - construction: NewShape makes the shape at the first point; a tool declares its steps and
//   BuildFigure makes the figure from the points so far, the base deciding which step a release
//   takes and when the construction completes (OnPoint, for tools with a drag of their own); the
//   XOR tracker shows the state between events and only DrawTracker draws or erases it;
// - lists and one commit: new shapes (owned), edited shapes (the document's, replaced or removed)
//   and picks, all in Lists(); Commit and CommitAt turn them into one undo step;
// - one guard around every entry point: an action that throws resets the tool, rolls the open undo
//   pack back and is reported, so a failing action leaves the drawing as it was.
//
// DrawTool.cpp: identity, lifecycle, prompt, the guard. DrawToolEvents.cpp: the event road,
// snapping, cursor and tracker. DrawToolSteps.cpp: the doors to the declared steps.
// DrawToolLists.cpp: the doors to the commit, picking. DrawToolAttributes.cpp: the
// drawing attributes and their commands. DrawToolMenu.cpp: the right click and its menu.
// DrawToolConstraint.cpp: direction constraints and typed coordinates. Collaborators, one class
// each: MToolSteps (ToolSteps.h), MToolLists (ToolLists.h), MToolCommit (ToolCommit.h),
// MToolTracker (ToolTracker.h), MSnapper (Snapper.h).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/ArrowInfo.h"
#include "model/FillStyle.h"
#include "model/SnapPoint.h"
#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatRect.h"
#include "tools/PointConstraint.h"
#include "tools/Snapper.h"
#include "tools/ToolLists.h"
#include "tools/ToolSteps.h"
#include "tools/ToolTracker.h"
#include "view/ViewTool.h"

class CCmdUI;
enum class MAttribute;
struct MAttributeChange;
class CDC;
class MCadShape;
class MDrawMenu;
class MTessarayDoc;

class MDrawTool;

class MDrawTool : public MViewTool {
public:
    // The phases in which OnPoint takes a point.
    enum Phase : int {
        kPhasePress = 0,    // button press with a shape: place or start the current step
        kPhaseMove = 1,     // pointer move with a shape: the rubber band follows
        kPhaseTest = 2,     // button release: nonzero when the construction is complete here
        kPhaseAdvance = 3,  // release after a zero test, the step advanced: fix the point
    };
    // Bits of the pick mode (the option INTERCEPT, or all three for a kBandTakesCrossing tool).
    enum : int { kPickInside = 0x1, kPickCrossing = 0x2, kPickModeFixed = 0x80 };

    explicit MDrawTool(int toolId);
    ~MDrawTool() override;

    // ----- identity -----------------------------------------------------------------------------
    // The title is the text after the first newline of the command's string; empty without one.
    void SetCommandInfo(UINT cmdId, BOOL autoLayer, const CString& key);
    // Step and pick prompts: the strings split at "\n" (empty ones skipped); id 0 gives none.
    void LoadPrompt(UINT stepPromptsId, UINT pickPromptsId);
    UINT GetCommandId() const override { return m_identity.commandId; }
    int GetToolId() const { return m_identity.toolId; }
    CString GetKey() const override { return m_identity.key; }
    CString GetTitle() const override { return m_identity.title; }
    BOOL IsAutoLayerCapable() const override { return m_identity.autoLayer; }
    CString GetAutoLayerName() const override { return m_identity.autoLayerName; }
    void SetAutoLayerName(const CString& name) override { m_identity.autoLayerName = name; }

    // ----- lifecycle ----------------------------------------------------------------------------
    // Repaints what the tool showed, then Reset.
    void End(MTessarayView* view, BOOL switching) override;
    // Drops the new shapes, forgets the edited ones and the picks, step 0, guards and marks off.
    void Reset() override;
    virtual void ReleaseConstraint() { ClearConstraint(); }
    virtual void ClearConstraint() { m_pointConstraint.ClearFixedAngle(); }
    int GetStep() const { return m_step; }

    // ----- events (the view calls these; each runs guarded) -------------------------------------
    void OnLButtonDown(MTessarayView* view, int x, int y, UINT flags) override;
    void OnLButtonUp(MTessarayView* view, int x, int y, UINT flags) override;
    void OnMouseMove(MTessarayView* view, int x, int y, UINT flags) override;
    void OnLButtonDblClk(MTessarayView* view, int x, int y, UINT flags) override;
    void OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) override;
    void ForgetPress() override { m_buttonDown = FALSE; }
    BOOL OnSetCursor(MTessarayView* view, int x, int y, UINT hitTest) override;
    // The press, release and move at the snapped drawing point (dc prepared for the view).
    virtual void OnButtonDownAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags);
    virtual void OnButtonUpAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags);
    virtual void OnMoveAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags);
    virtual void OnDoubleClickHook(MTessarayView* view) {}
    // The tool's state in XOR: picks, new shapes (their frame above DRAWLIMIT), guide line, cross
    // mark, rubber band. A second call with the same state erases it.
    void DrawTracker(MTessarayView* view, CDC* dc) override;
    // The new shapes' part of the tracker (below DRAWLIMIT): each shape in the marked pens.
    virtual void DrawNewShapes(MTessarayView* view, CDC* dc);
    void PaintTracker(MTessarayView* view, CDC* dc) override;
    // The marks and rubber band the tracker shows after the shapes, and the count of the tracker
    // scopes (MTrackerScope) that hold the figure erased.
    MToolTracker& Tracker() { return m_tracker; }
    const MToolTracker& Tracker() const { return m_tracker; }
    BOOL IsButtonDown() const { return m_buttonDown; }
    BOOL HasMoved() const { return m_moved; }
    // Device points of the last left press (the dead zone's centre) and of the last right press.
    CPoint GetPressPoint() const { return m_pressPoint; }
    CPoint GetContextPoint() const { return m_contextPoint; }

    // ----- snapping -----------------------------------------------------------------------------
    // Device point to snapped drawing point: coordinate entry, constraint, the document's snap
    // search, the grid. The result is kept as the last snap.
    MSnapResult Snap(MTessarayView* view, int x, int y, UINT flags);
    // The enabled snap kinds: none while snapping is suspended, else the option record's SNAP.
    virtual WORD GetSnapFlags(MTessarayView* view);
    // The snap cursor of the last snap kind; FALSE (the view's cursor stays) when there is none.
    BOOL SetToolCursor(MTessarayView* view);
    const MSnapResult& LastSnap() const { return m_snapper.Last(); }
    const MSnapPoint& GetSnapRecord() const { return m_snapper.Last().record; }
    int GetSnapMarkFlag() const override { return m_snapper.Last().marked ? 1 : 0; }
    MFloatPoint GetCurrentPoint() const override { return m_snapper.Last().point; }

    // ----- construction -------------------------------------------------------------------------
    // The tool's shape, made at the first point; null for a tool that does not construct.
    virtual MCadShape* NewShape(MTessarayView* view) { return nullptr; }
    // One point of the construction in its phase (Phase); the return value counts in kPhaseTest.
    // With declared steps the base runs them (BuildFigure, completion); a tool whose points are a
    // drag of its own overrides it. Without either, the first release completes.
    virtual int OnPoint(MTessarayView* view, double x, double y, int phase, UINT flags);
    // ----- declared steps (DrawToolSteps.cpp) ----------------------------------------------------
    // The declared steps, their prompts and the points their releases left (Steps().Point(i)).
    const MToolSteps& Steps() const { return m_steps; }
    // The shapes from the points so far (Steps().Point of the steps taken) and the cursor, which
    // stands for the current step's point. The rubber band (press, move) and the commit (the release
    // of the last step) both build the figure here.
    virtual void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) {}
    // FALSE when the figure at the cursor cannot take the step's point (a degenerate one): the
    // release neither completes nor advances, and the step is asked again.
    virtual BOOL IsStepPointSound() { return TRUE; }
    // NewShape, appended to the new shapes with layer -1; 1 when there was one.
    virtual int CreateAndAddShape(MTessarayView* view);
    // Before a commit: the program-wide attributes into each new shape (ApplyAttributesTo).
    // Editing tools override it with nothing.
    virtual void ApplyAttributes(MTessarayView* view);
    // Frame, text colour, colour, line style, width, fill and arrows (an end of type below 1 or
    // size not above 0 becomes none); font, size and alignment are the text tools' own.
    void ApplyAttributesTo(MTessarayView* view, MCadShape* shape);
    // A simulated click at a drawing point.
    void ClickAtPoint(MTessarayView* view, const MFloatPoint& point, UINT flags);
    // The numeric-entry dialog, then the figure in progress follows the pointer under the values
    // typed, as the next move would show it.
    void RunNumericInput(MTessarayView* view);
    virtual BOOL CanDecide() { return FALSE; }
    // Command "決定": when CanDecide, the tracker goes and the construction is committed.
    virtual void OnDecide(MTessarayView* view);
    virtual void DecideAndReset(MTessarayView* view);
    BOOL CanCancel() override;
    void OnCancel(MTessarayView* view) override;
    virtual BOOL CanNumericInput() { return FALSE; }
    virtual void OnNumericInput(MTessarayView* view) {}

    // ----- commit -------------------------------------------------------------------------------
    // The lists into the document as one undo step: each new shape replaces the edited shape of the
    // same index in its place (unless noReplace), edited shapes left over are removed, new shapes
    // left over go to the automatic layer, without one to their own (-1: the current). Invalid new
    // shapes are dropped; a paired one removes its edited shape. With select the committed shapes
    // become the picks. The number of shapes handed over.
    int Commit(MTessarayView* view, BOOL noReplace, BOOL select);
    // As Commit, but only the first `pairs` entries of the two lists pair up: the edited shapes
    // after them are removed and the new shapes after them added as by Commit (an edit that cuts
    // shapes into pieces, where a piece must never take the place of another shape).
    int CommitPairs(MTessarayView* view, int pairs, BOOL select);
    // As Commit without pairing: edited shapes are removed, new shapes inserted at the position of
    // their layer (-1 appends), keeping their order.
    int CommitAt(MTessarayView* view, int position, BOOL select);
    // The replace pattern of editing commands: for each pick, make(view, shape) returns a changed
    // copy (or null to leave it); the copies replace their picks in one commit.
    template <class Make>
    int ReplaceEach(MTessarayView* view, Make make, BOOL select);

    // ----- lists --------------------------------------------------------------------------------
    // The new, edited and picked shapes (ToolLists.h).
    MToolLists& Lists() { return m_lists; }
    const MToolLists& Lists() const { return m_lists; }

    // ----- picking ------------------------------------------------------------------------------
    // The pick mode: the program-wide INTERCEPT word, or inside and crossing, fixed, for a tool
    // with kBandTakesCrossing (setting it then changes nothing).
    int GetPickMode();
    void SetPickMode(int mode);
    // The shape a click or rubber band offers, or null to refuse it.
    virtual MCadShape* FilterPickTarget(MCadShape* shape) { return shape; }
    // After a click picked a shape: nonzero commits.
    virtual int OnPickShape(MTessarayView* view, double x, double y, UINT flags) { return 0; }
    // The press in pick mode: a click picks (or unpicks a picked shape), beside shapes a rubber band
    // starts when the tool allows it. 1 when something happened.
    virtual int OnPickAt(MTessarayView* view, double x, double y, UINT flags);
    // How the tool picks, one mask that may follow the tool's state: whether a press picks
    // (kPicking) rather than constructs, and how picking goes then.
    enum PickTrait : UINT {
        kNoPickTrait = 0,
        kPicking = 0x1,             // the press picks shapes: the tool is in pick mode
        kPickByClick = 0x2,         // a click on a shape picks it (a second one unpicks it)
        kPickByRect = 0x4,          // a press beside shapes starts a rubber band
        kGridWhilePicking = 0x8,    // the grid snaps in pick mode too
        kMarkPicks = 0x10,          // the tracker marks the picks
        kBandTakesCrossing = 0x20,  // the band takes the shapes crossing it, whatever the pick mode
        kPickTraitsDefault = kPickByClick | kMarkPicks,
    };
    virtual UINT GetPickTraits() { return kPickTraitsDefault; }
    BOOL IsPickMode() { return (GetPickTraits() & kPicking) ? TRUE : FALSE; }
    // The shapes inside the rectangle (and crossing it with pick-mode bit 0x2) become picks.
    virtual void PickInRect(MTessarayView* view, double x0, double y0, double x1, double y1, UINT flags);
    // After a rubber band picked something; the base passes on to OnPickShape.
    virtual void PickAt(MTessarayView* view, double x, double y, UINT flags);
    virtual void SelectAll(MTessarayView* view);

    // ----- drawing attributes (DrawToolAttributes.cpp) -------------------------------------------
    // The program-wide attributes new shapes receive. The commands and the frame's controls set one
    // through ApplyAttributeChange and check or show what GetAttribute answers; a tool that edits
    // a selection, or shows a figure in the making, overrides both and never re-registers them.
    virtual void ApplyAttributeChange(MTessarayView* view, const MAttributeChange& change);
    // The attribute's value, as the change that sets it.
    virtual MAttributeChange GetAttribute(MAttribute which);

    // ----- context menu (DrawToolMenu.cpp) -------------------------------------------------------
    // The tool's popup: the standard part of menu resource 238, then the view's attribute
    // sub-menus, the recent tools and the decide, cancel and constraint groups.
    virtual void BuildContextMenu(MTessarayView* view, MDrawMenu* menu, int x, int y);

    // ----- constraints (DrawToolConstraint.cpp) ----------------------------------------------------
    // The constraint modes the tool offers now (MConstraintMode bits): each shows its menu item and
    // enables its command. The direction modes are MPointConstraint::DirectionModes of the last snap.
    virtual unsigned GetConstraintModes() { return 0; }
    // The chosen mode's command; the direction modes fix the angle (MPointConstraint::TakeDirection).
    virtual void OnConstraintMode(MTessarayView* view, MConstraintMode mode) {}
    // A lock or a chosen direction holds the next point (state, not a mode: "制限解除" releases it).
    virtual BOOL IsConstrained() { return FALSE; }
    // The typed entry and the fixed direction.
    const MPointConstraint& GetPointConstraint() const { return m_pointConstraint; }
    // Moves pt onto the typed coordinates of a partial entry; TRUE when one applied. Tools with
    // constraints of their own override it.
    virtual BOOL ApplyConstraint(MTessarayView* view, int x, int y, MFloatPoint* pt, UINT flags);
    // SnapOnAngleLength with the tool's snapper and snap kinds (ConstrainedSnap.h). Sets the snap
    // record.
    virtual MFloatPoint ConstrainAngleLength(MTessarayView* view, const MFloatPoint& base, MFloatPoint pt,
                                             double length, BOOL bLength, double angle, BOOL bAngle,
                                             UINT flags);
    // Typed coordinates (command, or Shift + right click at click): a complete entry presses and
    // releases at the typed point; a partial one presses at the base and constrains the moves.
    virtual void OnCoordinateInput(MTessarayView* view, const CPoint* click, UINT flags);

    // ----- prompt and points --------------------------------------------------------------------
    // "[title]:prompt" of the step (or, picking and at step -1, of the pick count); empty for none.
    CString GetPromptText();
    void UpdatePrompt() override;
    void GetCurrentPointDP(MFloatPoint* out, MTessarayView* view) override;
    void GetAnchorPointDP(MFloatPoint* out, MTessarayView* view) override;

    // ----- commands and failures ----------------------------------------------------------------
    // The tool's own handlers (its Commands() map), guarded; the view offers every command here
    // first.
    BOOL OnViewCmdMsg(MTessarayView* view, UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override;
    MTessarayView* GetView() const { return m_view; }
    // The numeric-entry dialog's "次回も同じ設定を使う": Reset keeps the entered values.
    BOOL KeepsValues() const { return m_keepValues; }
    void SetKeepValues(BOOL keep) { m_keepValues = keep; }
    // Runs a tool action. When it throws: the tool resets, the document's open undo pack is rolled
    // back (the drawing is as before, redo kept), the view repaints, and the failure is reported:
    // lack of memory with the undo-capacity question, anything else as the class library reports
    // it. FALSE when it threw. Entry points run through it; a tool runs its dialogs' actions
    // through it too.
    template <class Action>
    BOOL RunGuarded(MTessarayView* view, Action&& action) noexcept;

    // ----- settings in the drawing file ---------------------------------------------------------
    BOOL HasSettings() const override;

protected:
    // Only the base's own Reset, for construction (the subclass is not built yet).
    void ResetBase();
    MTessarayDoc* Document(MTessarayView* view) const;
    // Called inside the catch block of a failed action (see RunGuarded).
    void RecoverFromFailure(MTessarayView* view) noexcept;
    // The tool's steps in order, with their prompts (the strings of stepPromptsId, see LoadPrompt).
    void DeclareSteps(UINT stepPromptsId, UINT pickPromptsId, std::vector<MToolStep> steps);
    // An earlier step is current again (a touch chosen after it asks for its point anew; -1: the
    // coming release takes no point, as for a shape made at a release); the points from it on are
    // forgotten.
    void BeginStepAgain(int step);
    // The view the tool's commands act on; a tool that picks outside its events sets it.
    void SetView(MTessarayView* view) { m_view = view; }
    // A press of the tool's own (a drag a command begins): the button counts as down at the device
    // point, not moved yet; SetMoved marks the pointer as past the dead zone, or back inside it.
    void HoldPress(const CPoint& at);
    void SetMoved(BOOL moved) { m_moved = moved; }
    MPointConstraint& PointConstraint() { return m_pointConstraint; }
    MSnapper& Snapper() { return m_snapper; }

private:
    // The construction step: -1 before the first point of a shape made at a release.
    int m_step = 0;
    CPoint m_pressPoint;
    CPoint m_contextPoint;
    // The device point of the last mouse message, moves inside the dead zone too.
    CPoint m_pointerPoint;
    // Snapping and the last snap.
    MSnapper m_snapper;
    // The typed coordinate entry and the fixed direction.
    MPointConstraint m_pointConstraint;
    // The left button went down over the view and its release has not come (no nesting).
    BOOL m_buttonDown = FALSE;
    // The pointer left the dead zone since the last press or release.
    BOOL m_moved = FALSE;
    BOOL m_keepValues = FALSE;

    MTessarayView* m_view = nullptr;
    MToolLists m_lists;

    // The constraint modes and coordinate input (DrawToolConstraint.cpp).
    void RegisterConstraintCommands();

    // Who the tool is: its command and number, the key of its settings, its title, and whether its
    // shapes go to an automatic layer of the name.
    struct Identity {
        UINT commandId = 0;
        int toolId = 0;
        BOOL autoLayer = FALSE;
        CString title;
        CString autoLayerName;
        CString key;
    };
    Identity m_identity;
    MToolSteps m_steps;
    MToolTracker m_tracker;
};

// The part of the context menu every tool shares (DrawToolMenu.cpp): the view's attribute
// sub-menus, the recent tools, and the constraint, decide and cancel groups the tool offers now.
void AddToolMenuItems(MDrawTool& tool, MDrawMenu* menu);

template <class Action>
BOOL MDrawTool::RunGuarded(MTessarayView* view, Action&& action) noexcept {
    try {
        action();
        return TRUE;
    } catch (...) {
        RecoverFromFailure(view);
        return FALSE;
    }
}

template <class Make>
int MDrawTool::ReplaceEach(MTessarayView* view, Make make, BOOL select) {
    for (int i = 0; i < m_lists.PickCount(); ++i)
        m_lists.AddReplacement(make(view, m_lists.Pick(i)), i);
    return Commit(view, FALSE, select);
}
