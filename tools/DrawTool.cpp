// The tool base: identity, lifecycle, prompt, commands and the failure guard.
#include "tools/DrawTool.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "document/TessarayDoc.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/containers/LShapeArray.h"
#include "platform/Exceptions.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/ExceptionGuard.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/WinApp.h"
#include "resources/ResourceIds.h"
#include "tools/AttributeCommands.h"
#include "tools/PickList.h"
#include "tools/ToolScopes.h"
#include "view/TessarayView.h"

namespace {

std::vector<CString> SplitPrompts(const CString& text) {
    std::vector<CString> tokens;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t nl = text.find('\n', start);
        const CString token = text.substr(start, nl == CString::npos ? CString::npos : nl - start);
        if (!token.empty()) tokens.push_back(token);
        if (nl == CString::npos) break;
        start = nl + 1;
    }
    return tokens;
}

void ReportOutOfMemory(MTessarayDoc* doc, MTessarayView* view) {
    if (doc)
        doc->ReportOutOfMemory(view);
    else
        AfxMessageBox(IDS_OUT_OF_MEMORY, MB_OK | MB_ICONEXCLAMATION);
}

constexpr int kPicksInvalidatedEach = 64;

void InvalidateDeviceRect(MTessarayView* view, CRect r, int inflate) {
    r.NormalizeRect();
    r.InflateRect(inflate, inflate);
    view->InvalidateRect(&r, TRUE);
}

// Pick mode 33024, decide and cancel.
void RegisterToolCommands(MDrawTool& tool) {
    CCommandMap& map = tool.Commands();
    map.OnCommand(
        ID_PICK_CROSSING,
        [&tool] {
            const int mode = tool.GetPickMode();
            tool.SetPickMode((mode & MDrawTool::kPickModeFixed) |
                             ((mode & MDrawTool::kPickCrossing)
                                  ? MDrawTool::kPickInside
                                  : MDrawTool::kPickInside | MDrawTool::kPickCrossing));
        },
        [&tool](CCmdUI* ui) {
            const int mode = tool.GetPickMode();
            ui->Enable(!(mode & MDrawTool::kPickModeFixed));
            ui->SetCheck((mode & MDrawTool::kPickCrossing) ? 1 : 0);
        });
    map.OnCommand(
        ID_DECIDE, [&tool] { tool.OnDecide(tool.GetView()); },
        [&tool](CCmdUI* ui) { ui->Enable(tool.CanDecide()); });
    map.OnCommand(
        ID_CANCEL_DRAWING, [&tool] { tool.OnCancel(tool.GetView()); },
        [&tool](CCmdUI* ui) { ui->Enable(tool.CanCancel()); });
}

}  // namespace

// ----- construction and identity ----------------------------------------------------------------

MDrawTool::MDrawTool(int toolId) {
    m_identity.toolId = toolId;
    ResetBase();
    RegisterToolCommands(*this);
    RegisterAttributeCommands(*this);
    RegisterConstraintCommands();
}

MDrawTool::~MDrawTool() = default;

void MDrawTool::SetCommandInfo(UINT cmdId, BOOL autoLayer, const CString& key) {
    const CString text = AfxLoadString(cmdId);
    const std::size_t nl = text.find('\n');
    if (nl == CString::npos) {
        m_identity.title.clear();
    } else {
        const std::size_t next = text.find('\n', nl + 1);
        m_identity.title = text.substr(nl + 1, next == CString::npos ? CString::npos : next - nl - 1);
    }
    m_identity.autoLayer = autoLayer;
    m_identity.commandId = cmdId;
    m_identity.key = key;
}

void MDrawTool::LoadPrompt(UINT stepPromptsId, UINT pickPromptsId) {
    m_steps.SetPrompts(stepPromptsId ? SplitPrompts(AfxLoadString(stepPromptsId)) : std::vector<CString>(),
                       pickPromptsId ? SplitPrompts(AfxLoadString(pickPromptsId)) : std::vector<CString>());
}

BOOL MDrawTool::HasSettings() const {
    return m_identity.autoLayer && !m_identity.autoLayerName.empty();
}

MTessarayDoc* MDrawTool::Document(MTessarayView* view) const {
    return view ? view->GetDocument() : nullptr;
}

// ----- lifecycle --------------------------------------------------------------------------------

void MDrawTool::ResetBase() {
    m_lists.Clear();
    m_step = 0;
    m_steps.ForgetPoints();
    m_tracker.Clear();
    m_snapper.Unmark();
    m_buttonDown = FALSE;
    m_pointConstraint.ClearEntry();
    m_pointConstraint.ClearFixedAngle();
}

void MDrawTool::Reset() {
    m_lists.Clear();
    m_step = 0;
    m_steps.ForgetPoints();
    m_tracker.Clear();
    m_snapper.Unmark();
    m_buttonDown = FALSE;
    m_pointConstraint.ClearEntry();
    ClearConstraint();
    if (!m_keepValues) ReleaseConstraint();
    UpdatePrompt();
}

void MDrawTool::End(MTessarayView* view, BOOL) {
    if (view) {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        if (m_lists.NewCount() > 0) {
            m_lists.RecalcNew(view);
            InvalidateDeviceRect(view, view->DocToDeviceRect(dc.get(), m_lists.NewShapes().GetDrawExtent()),
                                 2);
        }
        // A few picks are repainted each on its own. Many thin marks on screen go as they came, by
        // drawing them once more: a repaint of their whole area would cost as much as the drawing.
        // Other many picks are repainted as their union, since an update region of thousands of
        // rectangles costs every later paint far more than a larger one.
        if (m_lists.PickCount() > kPicksInvalidatedEach && !m_tracker.IsHidden() &&
            (GetPickTraits() & kMarkPicks) && GetOptionRecord().m_drawSelectedShape != 2) {
            const int oldRop = dc->SetROP2(R2_XORPEN);
            m_lists.Picks().GetShapes().DrawMarked(view, dc.get());
            dc->SetROP2(oldRop);
        } else if (m_lists.PickCount() > kPicksInvalidatedEach) {
            InvalidateDeviceRect(
                view, view->DocToDeviceRect(dc.get(), m_lists.Picks().GetShapes().GetDrawExtent()), 2);
        } else
            for (int i = 0; i < m_lists.PickCount(); ++i)
                if (MCadShape* shape = m_lists.Pick(i))
                    InvalidateDeviceRect(view, view->DocToDeviceRect(dc.get(), shape->GetDrawExtent()), 2);
        m_tracker.Invalidate(view, dc.get());
    }
    Reset();
    if (view) view->UpdateWindow();
}

BOOL MDrawTool::CanCancel() {
    return m_lists.NewCount() > 0;
}

void MDrawTool::OnCancel(MTessarayView* view) {
    if (m_lists.NewCount() > 0) End(view, FALSE);
}

void MDrawTool::OnDecide(MTessarayView* view) {
    if (!CanDecide() || !view) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    DecideAndReset(view);
}

void MDrawTool::DecideAndReset(MTessarayView* view) {
    Commit(view, FALSE, FALSE);
    Reset();
}

// ----- prompt and points ------------------------------------------------------------------------

CString MDrawTool::GetPromptText() {
    const CString prompt = m_steps.Prompt(IsPickMode() != FALSE, m_step, m_lists.PickCount());
    if (prompt.empty()) return CString();
    CString text = "[" + m_identity.title + "]:" + prompt;
    if (CanNumericInput()) text += AfxLoadString(IDS_NUMERIC_INPUT_HINT);
    return text;
}

void MDrawTool::UpdatePrompt() {
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (!frame) return;
    frame->SetMessageText(GetPromptText());
}

void MDrawTool::GetCurrentPointDP(MFloatPoint* out, MTessarayView* view) {
    *out = view->DocToUser(GetCurrentPoint());
}

void MDrawTool::GetAnchorPointDP(MFloatPoint* out, MTessarayView* view) {
    // The current point minus the view's anchor point (its last released point), in user units.
    *out = view->DocToUser(GetCurrentPoint()) - view->DocToUser(view->GetAnchorPoint());
}

// ----- commands and failures --------------------------------------------------------------------

BOOL MDrawTool::OnViewCmdMsg(MTessarayView* view, UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) {
    m_view = view;
    BOOL handled = FALSE;
    RunGuarded(view, [&] {
        AFX_CMDHANDLERINFO probe;
        if (code != CN_COMMAND || info || !view || !CCmdTarget::OnCmdMsg(id, code, extra, &probe)) {
            handled = CCmdTarget::OnCmdMsg(id, code, extra, info);
            return;
        }
        // A command of the tool changes what its tracker shows: the figure goes first and comes
        // back as the new state draws it.
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        MTrackerScope tracker(*this, view, dc.get());
        handled = CCmdTarget::OnCmdMsg(id, code, extra, nullptr);
    });
    return handled;
}

void MDrawTool::RecoverFromFailure(MTessarayView* view) noexcept {
    try {
        Reset();
    } catch (...) {
    }
    MTessarayDoc* doc = Document(view);
    try {
        // The half-done change goes, so the drawing is as the action found it.
        if (doc) doc->RollbackUndo(view);
    } catch (...) {
        try {
            doc->CancelUndo();
        } catch (...) {
        }
    }
    try {
        // What the tool had drawn in XOR is no longer known: the view paints afresh.
        if (view) view->Invalidate();
        try {
            throw;
        } catch (const CMemoryException&) {
            ReportOutOfMemory(doc, view);
        } catch (const std::bad_alloc&) {
            ReportOutOfMemory(doc, view);
        } catch (...) {
            AfxReportCurrentException();
        }
    } catch (...) {
        // Reporting failed as well: nothing more can be said.
    }
}
