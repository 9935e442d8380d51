// The base class of the interactive tools. A tool is a long-lived command target owned by the
// program-wide tool array; the view hands it mouse events and routes commands to it. The base holds
// the work state that every tool shares (construction step, snapped and current points, rubber
// band, coordinate-entry constraint, lists of new, edited and picked shapes, identity, prompts, a
// fixed angle) and gives the base behaviour of the operations that the concrete tools override:
// the road from a mouse message to a snapped drawing point and a construction step, the XOR
// tracker, ending, resetting, the prompt and a plain commit of the new shapes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/SnapPoint.h"
#include "model/geometry/FloatPoint.h"
#include "view/ViewTool.h"

class CDC;
class CMenu;
class MCadShape;
class MLShapeArray;
class MTessarayDoc;

// A tool's picked shapes with their layer and the point where each was picked.
class MLPointShapeArray {
public:
    struct Entry {
        MCadShape* shape;
        int layer;
        MFloatPoint point;
    };
    int GetSize() const { return static_cast<int>(m_entries.size()); }
    // Index errors raise the invalid-argument exception.
    const Entry& GetAt(int index) const;
    int Add(MCadShape* shape, int layer, const MFloatPoint& point);
    void RemoveAt(int index);
    // The index of the last entry holding the shape, or -1.
    int Find(const MCadShape* shape) const;
    void RemoveAll() { m_entries.clear(); }

private:
    std::vector<Entry> m_entries;
};

class MDrawTool;

// The tool's XOR tracker drawn at both ends of a scope. Drawn twice a figure disappears, so around
// a change of the tool the scope erases the old figure on entry and draws the new one on exit; around
// a pause while nothing is shown it shows the figure and erases it on exit. Dismiss() skips the exit
// (the construction was committed or ended); an exception skips it too, leaving the tracker off the
// screen for the tool's error handling.
class MXorTrackerScope {
public:
    // shownNow: whether the tracker is on the screen, i.e. whether the entry pass erases it.
    MXorTrackerScope(MDrawTool& tool, MTessarayView* view, CDC* dc, bool shownNow = true);
    // Drawing may raise a class-library exception, which reaches the tool's handler.
    ~MXorTrackerScope() noexcept(false);
    MXorTrackerScope(const MXorTrackerScope&) = delete;
    MXorTrackerScope& operator=(const MXorTrackerScope&) = delete;

    void Dismiss() { m_dismissed = true; }

private:
    MDrawTool& m_tool;
    MTessarayView* m_view;
    CDC* m_dc;
    const int m_exceptions;
    bool m_dismissed = false;
};

class MDrawTool : public MViewTool {
public:
    explicit MDrawTool(int toolId);
    ~MDrawTool() override;

    // ----- identity -----------------------------------------------------------------------------
    // The title is the text after the first newline of the command's string; empty without one.
    void SetCommandInfo(UINT cmdId, BOOL autoLayer, const CString& key);
    // Step and pick prompts: the strings split at "\n" (empty ones skipped); id 0 gives none.
    virtual void LoadPrompt(UINT stepPromptsId, UINT pickPromptsId);
    UINT GetCommandId() const override { return m_commandId; }
    int GetToolId() const { return m_toolId; }
    CString GetKey() const override { return m_key; }
    CString GetTitle() const override { return m_title; }
    BOOL IsAutoLayerCapable() const override { return m_autoLayer; }
    CString GetAutoLayerName() const override { return m_autoLayerName; }
    void SetAutoLayerName(const CString& name) override { m_autoLayerName = name; }
    virtual BOOL IsRadialDimensionTool() { return FALSE; }
    const std::vector<CString>& GetStepPrompts() const { return m_stepPrompts; }
    const std::vector<CString>& GetPickPrompts() const { return m_pickPrompts; }
    // The prompt UpdatePrompt shows now (empty for none).
    CString GetPromptText();

    // ----- lifecycle ----------------------------------------------------------------------------
    void End(MTessarayView* view, BOOL switching) override;
    void Reset() override;
    virtual void ReleaseConstraint() { ClearConstraint(); }
    virtual void ClearConstraint() { ClearFixedAngle(); }
    BOOL ReturnsToPreviousTool() override { return FALSE; }

    // ----- events -------------------------------------------------------------------------------
    void OnLButtonDown(MTessarayView* view, int x, int y, UINT flags) override;
    void OnLButtonUp(MTessarayView* view, int x, int y, UINT flags) override;
    void OnMouseMove(MTessarayView* view, int x, int y, UINT flags) override;
    void OnLButtonDblClk(MTessarayView* view, int x, int y, UINT flags) override;
    void OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) override;
    virtual void OnButtonDownAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags);
    virtual void OnButtonUpAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags);
    virtual void OnMoveAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags);
    virtual void OnDoubleClickHook(MTessarayView* view) {}
    void DrawTracker(MTessarayView* view, CDC* dc) override;
    BOOL OnSetCursor(MTessarayView* view, int x, int y, UINT hitTest) override;
    // The context menu of a right click; the base shows none.
    virtual void ShowContextMenu(MTessarayView* view, int x, int y, UINT flags) {}
    virtual void AfterContextMenu(MTessarayView* view) {}

    // ----- snapping -----------------------------------------------------------------------------
    // Device point to snapped drawing point: coordinate entry, constraint, the document's snap
    // search, the grid. Sets the snap record, snapped and the current point.
    virtual void SnapPoint(MTessarayView* view, int x, int y, MFloatPoint* out, UINT flags);
    // The enabled snap kinds: none while snapping is suspended, else the option record's SNAP.
    virtual WORD GetSnapFlags(MTessarayView* view);
    // Moves pt onto an active coordinate-entry constraint; TRUE when one applied.
    virtual BOOL ApplyConstraint(MTessarayView* view, int x, int y, MFloatPoint* pt, UINT flags);
    virtual BOOL SetToolCursor(MTessarayView* view);
    // The snap cursor index of a snap kind: 1 end point, 2 intersection, 3 mid point, 4 centre,
    // 5 on shape, 6 base point, 0 none (the grid included).
    static int SnapCursorIndex(WORD kind);

    // ----- construction and commit --------------------------------------------------------------
    virtual MCadShape* NewShape(MTessarayView* view) { return nullptr; }
    // Phases: 0 press, 1 move, 2 release test (nonzero: complete), 3 release advance.
    virtual int OnPoint(MTessarayView* view, double x, double y, int phase, UINT flags) { return 1; }
    virtual int CreateAndAddShape(MTessarayView* view);
    // New shapes go into the document as one undo step: each replaces the edited shape of the same
    // index, the others are added to their layer (the automatic layer when the tool has one).
    virtual void Commit(MTessarayView* view, BOOL noReplace, BOOL select);
    virtual void DecideAndReset(MTessarayView* view);
    virtual void OnDecide(MTessarayView* view) {}
    BOOL CanCancel() override;
    void OnCancel(MTessarayView* view) override;
    virtual BOOL CanNumericInput() { return FALSE; }
    virtual void OnNumericInput(MTessarayView* view) {}
    virtual void OnCoordinateInput(MTessarayView* view, CPoint* point, UINT flags) {}
    // A simulated click at a drawing point.
    virtual void ClickAtPoint(MTessarayView* view, const MFloatPoint& point, UINT flags);

    // ----- lists --------------------------------------------------------------------------------
    int GetNewCount() const;
    MCadShape* GetNewShape(int index) const;
    int GetNewShapeLayer(int index) const;
    MLShapeArray* GetNewShapes() const { return m_newShapes.get(); }
    // A pack is taken apart into its members (recursively).
    virtual void AddNewShapeExpanded(MCadShape* shape, int layer);
    virtual void InsertNewShapeExpanded(int position, MCadShape* shape, int layer);
    int GetOriginalCount() const;
    MCadShape* GetOriginalShape(int index) const;
    virtual void AddOriginalShape(MCadShape* shape, int layer);
    int GetPickCount() const { return m_picks->GetSize(); }
    MLPointShapeArray* GetPickArray() const { return m_picks.get(); }
    virtual void ClearPicks() { m_picks->RemoveAll(); }
    virtual BOOL IsPickMode() { return FALSE; }
    virtual BOOL NoGridSnapWhilePicking() { return TRUE; }
    virtual void OnPickAt(MTessarayView* view, double x, double y, UINT flags) {}
    virtual void BeginTrack(MTessarayView* view, double x, double y, UINT flags);
    virtual void EndTrack(MTessarayView* view, double x, double y, UINT flags);
    virtual void PickInRect(MTessarayView* view, double x0, double y0, double x1, double y1, UINT flags) {}
    virtual void PickAt(MTessarayView* view, double x, double y, UINT flags) {}

    // ----- fixed angle and geometry -------------------------------------------------------------
    virtual void ClearFixedAngle() { m_fixedAngleSet = FALSE; }
    virtual void SetFixedAngle(double radians) {
        m_fixedAngleSet = TRUE;
        m_fixedAngle = radians;
    }
    virtual double GetFixedAngle() const { return m_fixedAngle; }
    virtual BOOL HasFixedAngle() const { return m_fixedAngleSet; }
    // The point that keeps the larger of the two coordinate differences (the axis snap).
    virtual MFloatPoint ProjectPointOnLine(double x0, double y0, double x1, double y1);

    // ----- prompt and points --------------------------------------------------------------------
    void UpdatePrompt() override;
    void GetCurrentPointDP(MFloatPoint* out, MTessarayView* view) override;
    void GetAnchorPointDP(MFloatPoint* out, MTessarayView* view) override;
    virtual MFloatPoint GetUserPoint(MTessarayView* view);
    virtual MFloatPoint GetUserOffset(MTessarayView* view);
    int GetSnapMarkFlag() const override { return m_snapped ? 1 : 0; }
    MFloatPoint GetCurrentPoint() const override { return m_currentPoint; }
    const MSnapPoint& GetSnapRecord() const { return m_snap; }

    // ----- commands -----------------------------------------------------------------------------
    BOOL OnViewCmdMsg(MTessarayView* view, UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override;
    MTessarayView* GetView() const { return m_view; }

    // ----- settings in the drawing file ---------------------------------------------------------
    BOOL HasSettings() const override;

    // The shared fields, by their meaning.
    int m_step = 0;
    CPoint m_pressPoint;
    CPoint m_contextPoint;
    BOOL m_tracking = FALSE;
    double m_rubberX0 = 0.0, m_rubberY0 = 0.0, m_rubberX1 = 0.0, m_rubberY1 = 0.0;
    MFloatPoint m_trackAnchor;
    BOOL m_crossMarkShown = FALSE;
    MFloatPoint m_crossMarkPoint;
    BOOL m_guideLineShown = FALSE;
    MFloatPoint m_guideLine[2];
    BOOL m_snapped = FALSE;
    MSnapPoint m_snap;
    MFloatPoint m_currentPoint;
    MFloatPoint m_entryBase;
    BOOL m_xGiven = FALSE, m_yGiven = FALSE, m_angleGiven = FALSE, m_distanceGiven = FALSE;
    double m_entryDx = 0.0, m_entryDy = 0.0, m_entryAngle = 0.0, m_entryDistance = 0.0;
    BOOL m_buttonDown = FALSE;
    BOOL m_moved = FALSE;
    BOOL m_keepValues = FALSE;

protected:
    // Only the base's own Reset, for construction (the subclass is not built yet).
    void ResetBase();
    void ClearEntryFlags() { m_xGiven = m_yGiven = m_angleGiven = m_distanceGiven = FALSE; }
    MTessarayDoc* Document(MTessarayView* view) const;
    void RecalcNewShapes(MTessarayView* view);
    void Report(MTessarayView* view);

    UINT m_commandId = 0;
    int m_toolId;
    BOOL m_autoLayer = FALSE;
    CString m_title;
    CString m_autoLayerName;
    CString m_key;
    MTessarayView* m_view = nullptr;
    BOOL m_fixedAngleSet = FALSE;
    double m_fixedAngle = 0.0;
    std::vector<CString> m_stepPrompts;
    std::vector<CString> m_pickPrompts;
    std::unique_ptr<MLShapeArray> m_editedShapes;
    std::unique_ptr<MLShapeArray> m_newShapes;
    std::unique_ptr<MLPointShapeArray> m_picks;
};
