// The select tool between a press and its release: moves and copies, handle drags, point edit,
// the parts-bar drag, the follow mode of the context point and typed moves.
#include <cmath>

#include "document/TessarayDoc.h"
#include "document/ToolSettings.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/PointEdit.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/WinApp.h"
#include "resources/ResourceIds.h"
#include "tools/PickList.h"
#include "tools/ToolScopes.h"
#include "tools/input/JumpDialog.h"
#include "tools/select/SelectionEdits.h"
#include "view/TessarayView.h"

namespace {

constexpr double kTieTolerance = 1e-9;

// Typed move: the angle of one selected line's normal in 0..180 degrees, or nothing.
BOOL LineNormalAngle(const MSelectTool& tool, double* degrees) {
    if (tool.Lists().PickCount() != 1) return FALSE;
    const auto* line = dynamic_cast<const MLineShape*>(tool.Lists().Pick(0));
    if (!line) return FALSE;
    double angle = line->GetAngle() * 180.0 / kPi + 90.0;
    if (angle < 0.0) angle += 180.0;
    if (angle > 180.0) angle -= 180.0;
    *degrees = angle;
    return TRUE;
}

}  // namespace

// ----- moves ------------------------------------------------------------------------------------

int MSelectTool::OnPoint(MTessarayView* view, double x, double y, int phase, UINT flags) {
    if (phase != kPhaseMove && phase != kPhaseTest) return 0;
    MFloatPoint point(x, y);
    if (HasMoved()) {
        if (!m_handles.IsHeld()) {
            if (flags & MK_SHIFT) {
                // Equal distances move horizontally, also when rounding made them differ a little.
                const double dx = std::fabs(x - m_dragOrigin.x), dy = std::fabs(y - m_dragOrigin.y);
                point = dy > dx * (1 + kTieTolerance) ? MFloatPoint(m_dragOrigin.x, y)
                                                      : MFloatPoint(x, m_dragOrigin.y);
            }
            Lists().NewShapes().Move(point - m_previous);
        } else {
            m_handles.Drag(point, (flags & MK_SHIFT) ? TRUE : FALSE);
        }
    }
    m_previous = point;
    if (phase != kPhaseTest) return 0;
    if (!HasMoved()) {
        ToggleOnRelease(view, point, flags);
        Lists().NewShapes().DeleteAll();
    } else if (!(flags & MK_CONTROL) && !m_copyOnDrop && Lists().NewCount() == Lists().PickCount()) {
        for (int i = 0; i < Lists().PickCount(); ++i)
            Lists().AddEdited(Lists().Pick(i), Lists().PickLayer(i));
    }
    m_copyOnDrop = FALSE;
    m_justPicked = nullptr;
    return 1;
}

void MSelectTool::ToggleOnRelease(MTessarayView* view, const MFloatPoint& p, UINT flags) {
    if (!(flags & MK_SHIFT) || m_handles.IsHeld() || m_justPicked) return;
    const CPoint logical = view->DocToLogical(p);
    int layer = -1;
    MCadShape* shape =
        FilterPickTarget(Document(view)->HitTest(view, logical.x, logical.y, &layer, kPickTolerance));
    const int index = shape ? Lists().Picks().Find(shape) : -1;
    if (index >= 0) {
        shape->Invalidate(view, TRUE);
        m_handles.Invalidate(view);
        Lists().RemovePickAt(index);
    }
}

// ----- point edit -------------------------------------------------------------------------------

void MSelectTool::OnTogglePointEdit(MTessarayView* view) {
    m_handles.Invalidate(view);
    PointEditMode = !PointEditMode;
    m_handles.Invalidate(view);
}

BOOL MSelectTool::CanPointEdit(MTessarayView* view) {
    if (!view || Lists().PickCount() != 1) return FALSE;
    auto* polygon = dynamic_cast<MPolygonShape*>(Lists().Pick(0));
    if (!polygon || !polygon->IsPointEditMode() || !Lists().Picks().SupportsEdit4()) return FALSE;
    const CPoint at = GetContextPoint();
    return m_handles.HitTest(view, at.x, at.y) > 0;
}

void MSelectTool::EditVertex(MTessarayView* view, BOOL insert) {
    if (!CanPointEdit(view)) return;
    const CPoint at = GetContextPoint();
    const int vertex = m_handles.HitTest(view, at.x, at.y) - 1;
    m_edits->ChangeSelection(
        view, [](MCadShape*) { return true; },
        [vertex, insert](MCadShape* copy) {
            auto* polygon = static_cast<MPolygonShape*>(copy);
            if (insert)
                polygon->InsertVertex(vertex);
            else
                polygon->DeleteVertex(vertex);
        },
        [] {});
}

// ----- the parts bar and the context point ------------------------------------------------------

void MSelectTool::BeginDragShape(MTessarayView* view, MCadShape* shape, int x, int y) {
    std::unique_ptr<MCadShape> owned(shape);
    if (!view || !shape) return;
    RunGuarded(view, [&] {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        MTrackerScope tracker(*this, view, dc.get());
        CWaitCursor wait;
        HoldPress(CPoint(x, y));
        const MFloatPoint p = Snap(view, x, y, 0).point;
        m_previous = m_dragOrigin = p;
        m_handles.LetGo();
        shape->Recalc(view);
        shape->Move(p - shape->GetCenter());
        Lists().AddNewExpanded(owned.release(), -1);
    });
}

void MSelectTool::FollowHere(MTessarayView* view, BOOL copy) {
    if (!view || Lists().PickCount() == 0 || !IsPickMode()) return;
    if (copy) m_copyOnDrop = TRUE;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    m_handles.Hide(view);
    const CPoint contextPoint = GetContextPoint();
    HoldPress(contextPoint);
    m_handles.LetGo();
    const MFloatPoint context = Snap(view, contextPoint.x, contextPoint.y, 0).point;
    m_previous = m_dragOrigin = context;
    PrepareMoveCopies(view);
}

// ----- typed moves ------------------------------------------------------------------------------

void MSelectTool::AbandonCopies(MTessarayView* view) {
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    Lists().NewShapes().DeleteAll();
    ForgetPress();
    SetMoved(FALSE);
    m_copyOnDrop = FALSE;
    PointConstraint().ClearEntry();
    m_handles.Show(view);
}

void MSelectTool::OnCoordinateInput(MTessarayView* view, const CPoint* click, UINT flags) {
    if (!view || !IsPickMode()) return;
    MFloatPoint base = GetCurrentPoint();
    if (click)
        base = Snap(view, click->x, click->y, 0).point;
    else if (Lists().PickCount() > 0)
        base = view->GetAnchorPoint();
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    const CPoint press = view->DocToDevice(dc.get(), base);
    if (Lists().PickCount() == 0) {
        // Nothing selected: the press at the base point picks what lies there.
        OnLButtonDown(view, press.x, press.y, flags);
        if (Lists().NewCount() == 0) {
            End(view, FALSE);
            return;
        }
    } else {
        // The selection moves as it is: its copies start at the base point, nothing is picked anew.
        MTrackerScope tracker(*this, view, dc.get());
        m_handles.Hide(view);
        HoldPress(press);
        m_handles.LetGo();
        m_previous = m_dragOrigin = base;
        PrepareMoveCopies(view);
    }
    MJumpDialog dialog(view, TRUE);
    dialog.SetOffsetAllowed(TRUE);
    double angle = 0.0;
    if (LineNormalAngle(*this, &angle)) dialog.PresetAngle(angle);
    if (flags & MK_CONTROL) dialog.PresetCopy(TRUE);
    if (dialog.DoModal() != IDOK) {
        AbandonCopies(view);
        return;
    }
    const MCoordinateEntry& entry = GetCoordinateEntry();
    PointConstraint().TakeEntry(view, entry, base);
    if (!GetPointConstraint().HasEntry()) {
        AbandonCopies(view);
        return;
    }
    if (GetPointConstraint().IsEntryComplete()) {
        SetMoved(TRUE);
        OnLButtonUp(view, press.x, press.y,
                    entry.copy ? (flags | MK_CONTROL) : (flags & ~static_cast<UINT>(MK_CONTROL)));
    }
}

// ----- commands ---------------------------------------------------------------------------------

void MSelectTool::RegisterSelectCommands() {
    CCommandMap& map = Commands();
    const auto always = [](CCmdUI* ui) { ui->Enable(TRUE); };
    const auto selected = [this](CCmdUI* ui) { ui->Enable(Lists().PickCount() > 0); };
    map.OnCommand(
        ID_HANDLE_MOVE, [this] { m_handles.ToggleDeforms(GetView()); },
        [this](CCmdUI* ui) {
            ui->Enable(TRUE);
            ui->SetCheck(m_handles.Deforms() ? 0 : 1);
        });
    map.OnCommand(
        ID_POINT_EDIT, [this] { OnTogglePointEdit(GetView()); },
        [](CCmdUI* ui) {
            ui->Enable(TRUE);
            ui->SetCheck(PointEditMode ? 1 : 0);
        });
    map.OnCommand(
        ID_ADD_POINT, [this] { EditVertex(GetView(), TRUE); },
        [this](CCmdUI* ui) { ui->Enable(CanPointEdit(GetView())); });
    map.OnCommand(
        ID_DELETE_POINT, [this] { EditVertex(GetView(), FALSE); },
        [this](CCmdUI* ui) { ui->Enable(CanPointEdit(GetView())); });
    map.OnCommand(
        ID_MOVE_HERE, [this] { FollowHere(GetView(), FALSE); }, selected);
    map.OnCommand(
        ID_COPY_HERE, [this] { FollowHere(GetView(), TRUE); }, selected);
    map.OnCommand(
        ID_SELECT_FILTER, [this] { m_filter.Toggle(); },
        [this](CCmdUI* ui) {
            ui->Enable(TRUE);
            ui->SetCheck(m_filter.IsOn() ? 1 : 0);
        });
    map.OnCommand(
        ID_SELECT_FILTER_OPTIONS,
        [this] {
            if (m_filter.LoadStoredKinds()) RunGuarded(GetView(), [this] { m_filter.ChooseKinds(); });
        },
        always);
}
