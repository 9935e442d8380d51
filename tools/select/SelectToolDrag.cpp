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

// The handle of a frame after it flipped: left and right (sx < 0) or top and bottom (sy < 0)
// exchange, so that the held handle stays under the cursor.
int MirrorFrameHandle(int handle, double sx, double sy) {
    static constexpr int kFlipX[] = {3, 2, 1, 0, 6, 5, 4, 7};
    static constexpr int kFlipY[] = {1, 0, 3, 2, 4, 7, 6, 5};
    if (handle < 0 || handle >= MSelectTool::kFrameHandleCount) return handle;
    if (sx < 0) handle = kFlipX[handle];
    if (sy < 0) handle = kFlipY[handle];
    return handle;
}

// Typed move: the angle of one selected line's normal in 0..180 degrees, or nothing.
BOOL LineNormalAngle(const MSelectTool& tool, double* degrees) {
    if (tool.GetPickCount() != 1) return FALSE;
    const auto* line = dynamic_cast<const MLineShape*>(tool.GetPickShape(0));
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
    if (m_moved) {
        if (m_handle < 0) {
            if (flags & MK_SHIFT) {
                // Equal distances move horizontally, also when rounding made them differ a little.
                const double dx = std::fabs(x - m_dragOrigin.x), dy = std::fabs(y - m_dragOrigin.y);
                point = dy > dx * (1 + kTieTolerance) ? MFloatPoint(m_dragOrigin.x, y)
                                                      : MFloatPoint(x, m_dragOrigin.y);
            }
            m_newShapes->Move(point - m_previous);
        } else {
            DragHandle(&m_handle, point, (flags & MK_SHIFT) ? TRUE : FALSE);
        }
    }
    m_previous = point;
    if (phase != kPhaseTest) return 0;
    if (!m_moved) {
        ToggleOnRelease(view, point, flags);
        m_newShapes->DeleteAll();
    } else if (!(flags & MK_CONTROL) && !m_copyOnDrop && GetNewCount() == GetPickCount()) {
        for (int i = 0; i < GetPickCount(); ++i)
            AddOriginalShape(GetPickShape(i), GetPickLayer(i));
    }
    m_copyOnDrop = FALSE;
    m_justPicked = nullptr;
    return 1;
}

void MSelectTool::ToggleOnRelease(MTessarayView* view, const MFloatPoint& p, UINT flags) {
    if (!(flags & MK_SHIFT) || m_handle >= 0 || m_justPicked) return;
    const CPoint logical = view->DocToLogical(p);
    int layer = -1;
    MCadShape* shape =
        FilterPickTarget(Document(view)->HitTest(view, logical.x, logical.y, &layer, kPickTolerance));
    const int index = shape ? GetPickArray()->Find(shape) : -1;
    if (index >= 0) {
        shape->Invalidate(view, TRUE);
        InvalidateHandles(view);
        RemovePickAt(index);
    }
}

// ----- handle drags -----------------------------------------------------------------------------

void MSelectTool::DragHandle(int* handleIndex, const MFloatPoint& point, BOOL constrain) {
    const int count = GetNewCount();
    if (count == 0) return;
    if (count == 1) {
        GetNewShape(0)->MoveHandle(handleIndex, point, constrain, &m_frame);
        return;
    }
    DragFrameHandle(handleIndex, point, constrain);
}

void MSelectTool::DragFrameHandle(int* handleIndex, const MFloatPoint& p, BOOL constrain) {
    const MFloatRect& r = m_frame;
    const double w = r.right - r.left, h = r.top - r.bottom;
    const double midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    // The fixed point and the new width and height (0 where that edge stays) per handle.
    MFloatPoint fixed;
    double nw = 0.0, nh = 0.0;
    switch (*handleIndex) {
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
    const bool movesX = *handleIndex != 5 && *handleIndex != 7;
    const bool movesY = *handleIndex != 4 && *handleIndex != 6;
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
    if (next.left == next.right || next.top == next.bottom) return;
    next.Normalize();
    m_frame = next;
    for (int i = 0; i < GetNewCount(); ++i)
        GetNewShape(i)->ScaleAllXY(fixed, sx, sy);
    *handleIndex = MirrorFrameHandle(*handleIndex, sx, sy);
}

// ----- point edit -------------------------------------------------------------------------------

void MSelectTool::OnTogglePointEdit(MTessarayView* view) {
    InvalidateHandles(view);
    PointEditMode = !PointEditMode;
    InvalidateHandles(view);
}

void MSelectTool::OnToggleHandleMove(MTessarayView* view) {
    m_handlesDeform = !m_handlesDeform;
    InvalidateHandles(view);
}

BOOL MSelectTool::CanPointEdit(MTessarayView* view) {
    if (!view || GetPickCount() != 1) return FALSE;
    auto* polygon = dynamic_cast<MPolygonShape*>(GetPickShape(0));
    if (!polygon || !polygon->IsPointEditMode() || !GetPickArray()->SupportsEdit4()) return FALSE;
    return HitTestHandle(view, m_contextPoint.x, m_contextPoint.y) > 0;
}

void MSelectTool::AddPoint(MTessarayView* view) {
    if (!CanPointEdit(view)) return;
    const int vertex = HitTestHandle(view, m_contextPoint.x, m_contextPoint.y) - 1;
    m_edits->ChangeSelection(
        view, [](MCadShape*) { return true; },
        [vertex](MCadShape* copy) { static_cast<MPolygonShape*>(copy)->InsertVertex(vertex); }, [] {});
}

void MSelectTool::DeletePoint(MTessarayView* view) {
    if (!CanPointEdit(view)) return;
    const int vertex = HitTestHandle(view, m_contextPoint.x, m_contextPoint.y) - 1;
    m_edits->ChangeSelection(
        view, [](MCadShape*) { return true; },
        [vertex](MCadShape* copy) { static_cast<MPolygonShape*>(copy)->DeleteVertex(vertex); }, [] {});
}

// ----- the parts bar and the context point ------------------------------------------------------

void MSelectTool::BeginDragShape(MTessarayView* view, MCadShape* shape, int x, int y) {
    std::unique_ptr<MCadShape> owned(shape);
    if (!view || !shape) return;
    RunGuarded(view, [&] {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        MTrackerScope tracker(*this, view, dc.get());
        CWaitCursor wait;
        m_buttonDown = TRUE;
        m_moved = FALSE;
        m_pressPoint = CPoint(x, y);
        const MFloatPoint p = Snap(view, x, y, 0).point;
        m_previous = m_dragOrigin = p;
        m_handle = -1;
        shape->Recalc(view);
        shape->Move(p - shape->GetCenter());
        AddNewShapeExpanded(owned.release(), -1);
    });
}

void MSelectTool::MoveHere(MTessarayView* view) {
    if (!view || GetPickCount() == 0 || !IsPickMode()) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    HideHandles(view);
    m_buttonDown = TRUE;
    m_moved = FALSE;
    m_handle = -1;
    m_pressPoint = m_contextPoint;
    const MFloatPoint context = Snap(view, m_contextPoint.x, m_contextPoint.y, 0).point;
    m_previous = m_dragOrigin = context;
    PrepareMoveCopies(view);
}

void MSelectTool::CopyHere(MTessarayView* view) {
    if (!view || GetPickCount() == 0 || !IsPickMode()) return;
    m_copyOnDrop = TRUE;
    MoveHere(view);
}

// ----- typed moves ------------------------------------------------------------------------------

void MSelectTool::AbandonCopies(MTessarayView* view) {
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    m_newShapes->DeleteAll();
    m_buttonDown = FALSE;
    m_moved = FALSE;
    m_copyOnDrop = FALSE;
    ClearEntryFlags();
    ShowHandles(view);
}

void MSelectTool::OnCoordinateInput(MTessarayView* view, const CPoint* click, UINT flags) {
    if (!view || !IsPickMode()) return;
    MFloatPoint base = GetCurrentPoint();
    if (click)
        base = Snap(view, click->x, click->y, 0).point;
    else if (GetPickCount() > 0)
        base = view->GetAnchorPoint();
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    const CPoint press = view->DocToDevice(dc.get(), base);
    if (GetPickCount() == 0) {
        // Nothing selected: the press at the base point picks what lies there.
        OnLButtonDown(view, press.x, press.y, flags);
        if (GetNewCount() == 0) {
            End(view, FALSE);
            return;
        }
    } else {
        // The selection moves as it is: its copies start at the base point, nothing is picked anew.
        MTrackerScope tracker(*this, view, dc.get());
        HideHandles(view);
        m_buttonDown = TRUE;
        m_moved = FALSE;
        m_handle = -1;
        m_pressPoint = press;
        m_previous = m_dragOrigin = base;
        PrepareMoveCopies(view);
    }
    m_entryBase = base;
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
    if (entry.baseMode == MCoordinateEntry::kAbsolute)
        m_entryBase = view->UserToDoc(0.0, 0.0);
    else if (entry.baseMode == MCoordinateEntry::kRelative)
        m_entryBase = view->GetAnchorPoint();
    TakeEntryValues(view, entry);
    if (!HasCoordinateEntry()) {
        AbandonCopies(view);
        return;
    }
    if ((m_xGiven && m_yGiven) || (m_angleGiven && m_distanceGiven)) {
        m_moved = TRUE;
        OnLButtonUp(view, press.x, press.y,
                    entry.copy ? (flags | MK_CONTROL) : (flags & ~static_cast<UINT>(MK_CONTROL)));
    }
}

// ----- commands ---------------------------------------------------------------------------------

void MSelectTool::RegisterSelectCommands() {
    CCommandMap& map = Commands();
    const auto always = [](CCmdUI* ui) { ui->Enable(TRUE); };
    const auto selected = [this](CCmdUI* ui) { ui->Enable(GetPickCount() > 0); };
    map.OnCommand(
        ID_HANDLE_MOVE, [this] { OnToggleHandleMove(m_view); },
        [this](CCmdUI* ui) {
            ui->Enable(TRUE);
            ui->SetCheck(m_handlesDeform ? 0 : 1);
        });
    map.OnCommand(
        ID_POINT_EDIT, [this] { OnTogglePointEdit(m_view); },
        [](CCmdUI* ui) {
            ui->Enable(TRUE);
            ui->SetCheck(PointEditMode ? 1 : 0);
        });
    map.OnCommand(
        ID_ADD_POINT, [this] { AddPoint(m_view); }, [this](CCmdUI* ui) { ui->Enable(CanPointEdit(m_view)); });
    map.OnCommand(
        ID_DELETE_POINT, [this] { DeletePoint(m_view); },
        [this](CCmdUI* ui) { ui->Enable(CanPointEdit(m_view)); });
    map.OnCommand(
        ID_MOVE_HERE, [this] { MoveHere(m_view); }, selected);
    map.OnCommand(
        ID_COPY_HERE, [this] { CopyHere(m_view); }, selected);
    map.OnCommand(
        ID_SELECT_FILTER, [this] { m_filter.Toggle(); },
        [this](CCmdUI* ui) {
            ui->Enable(TRUE);
            ui->SetCheck(m_filter.IsOn() ? 1 : 0);
        });
    map.OnCommand(
        ID_SELECT_FILTER_OPTIONS,
        [this] {
            if (m_filter.LoadStoredKinds()) RunGuarded(m_view, [this] { m_filter.ChooseKinds(); });
        },
        always);
}
