// What the view asks of the interactive tools, which live in the layer above it: the tools layer's
// MDrawTool implements MViewTool and its tool array implements MViewToolArray (installed as the
// document's tool array). The program-wide tool-switching state (the four recent tools and the
// previous tool) lives here because the view changes it when it switches tools.
#pragma once

#include "document/DocumentTool.h"
#include "model/geometry/FloatPoint.h"
#include "platform/ui/CmdTarget.h"

class CDC;
class MTessarayView;

class MViewTool : public CCmdTarget, public MDocumentTool {
public:
    // The tool's command id (its menu item and toolbar button).
    virtual UINT GetCommandId() const = 0;

    // Ends the operation in progress: erases its XOR state, keeps or drops its work. switching is
    // TRUE when the view changes tools.
    virtual void End(MTessarayView* view, BOOL switching) = 0;
    // Chosen again while current, the tool hands back to the previous one.
    virtual BOOL ReturnsToPreviousTool() { return FALSE; }
    // Routes a command through the tool's own handlers on behalf of the view; TRUE when handled.
    virtual BOOL OnViewCmdMsg(MTessarayView* view, UINT id, int code, void* extra,
                              AFX_CMDHANDLERINFO* info) = 0;
    virtual BOOL CanCancel() = 0;
    virtual void OnCancel(MTessarayView* view) = 0;

    // Client mouse messages in device pixels; the view has prepared nothing.
    virtual void OnLButtonDown(MTessarayView* view, int x, int y, UINT flags) = 0;
    virtual void OnLButtonUp(MTessarayView* view, int x, int y, UINT flags) = 0;
    virtual void OnMouseMove(MTessarayView* view, int x, int y, UINT flags) = 0;
    virtual void OnLButtonDblClk(MTessarayView* view, int x, int y, UINT flags) = 0;
    virtual void OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) = 0;
    // The release of the press just delivered will not come: a modal loop inside the press took
    // it. The tool drops its button-down guard, so that the next press is a whole click.
    virtual void ForgetPress() {}
    // TRUE when the tool set the cursor.
    virtual BOOL OnSetCursor(MTessarayView* view, int x, int y, UINT hitTest) = 0;
    // The tool's working state in XOR: a second call with the same state erases it.
    virtual void DrawTracker(MTessarayView* view, CDC* dc) = 0;
    // The view's paint: the tracker, unless the tool has it erased while its state changes (the
    // tool then draws it whole once the change is done).
    virtual void PaintTracker(MTessarayView* view, CDC* dc) { DrawTracker(view, dc); }
    // Shows the tool's prompt in the status bar.
    virtual void UpdatePrompt() = 0;

    // The current point in user coordinates, and its offset from the view's anchor point.
    virtual void GetCurrentPointDP(MFloatPoint* out, MTessarayView* view) = 0;
    virtual void GetAnchorPointDP(MFloatPoint* out, MTessarayView* view) = 0;
    // After a move or a release: 1 when the point the tool snapped to is to be marked.
    virtual int GetSnapMarkFlag() const = 0;
    // The last point the tool's snapping produced (drawing units).
    virtual MFloatPoint GetCurrentPoint() const = 0;

    // The select tool's selection (0 for every other tool).
    virtual BOOL IsSelectTool() const { return FALSE; }
    virtual int GetSelectionCount() const { return 0; }
};

class MViewToolArray : public MDocumentToolArray {
public:
    // The registered tool with that command id, searched from the last to the first; null when none.
    virtual MViewTool* FindByCommand(UINT id) const;
};

// The installed tool array as the view sees it; null when none is installed.
MViewToolArray* GetViewToolArray();
// Convenience: FindByCommand of the installed array, null without one.
MViewTool* FindToolByCommand(UINT id);

// The recent-tools table: four entries, most recent first; null entries are empty.
constexpr int kRecentToolCount = 4;
MViewTool** RecentTools();
// The tool that was current before the last switch.
MViewTool*& PreviousTool();
// Notes a tool that became current: unchanged when listed; otherwise into the first empty entry,
// or, with none empty, first, the others shifting down and the fourth dropping out.
void NoteRecentTool(MViewTool* tool);
// Empties the table and forgets the previous tool (the registry starts it again).
void ClearToolSwitching();
