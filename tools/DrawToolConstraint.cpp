// The tool base: the constraint modes of the right-click menu, the typed coordinates (the
// coordinate-entry dialog and the partial entries that constrain the next point), and the
// constrained snap of the tools' locks.
#include "document/ToolSettings.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/MessageTranslation.h"
#include "resources/ResourceIds.h"
#include "tools/ConstrainedSnap.h"
#include "tools/DrawTool.h"
#include "tools/input/JumpDialog.h"
#include "view/TessarayView.h"

namespace {

// Each mode's command; a mode's command is enabled while the tool offers the mode.
struct MConstraintCommand {
    UINT id;
    MConstraintMode mode;
};
constexpr MConstraintCommand kConstraintCommands[] = {
    {ID_PARALLEL, kModeParallel},
    {ID_ANGLE_CONSTRAINT, kModeAngle},
    {ID_PERPENDICULAR, kModePerpendicular},
    {ID_TANGENT, kModeTangent},
    {ID_TOUCH, kModeTouch},
};

}  // namespace

void MDrawTool::RegisterConstraintCommands() {
    CCommandMap& map = Commands();
    for (const MConstraintCommand& command : kConstraintCommands) {
        const MConstraintMode mode = command.mode;
        map.OnCommand(
            command.id, [this, mode] { OnConstraintMode(m_view, mode); },
            [this, mode](CCmdUI* ui) { ui->Enable((GetConstraintModes() & mode) != 0); });
    }
    // The item shows for a partial coordinate entry too, and then releases it.
    map.OnCommand(
        ID_RELEASE_CONSTRAINT,
        [this] {
            ReleaseConstraint();
            m_pointConstraint.ClearEntry();
        },
        [this](CCmdUI* ui) { ui->Enable(IsConstrained() || m_pointConstraint.HasEntry()); });
}

// ----- constrained points -----------------------------------------------------------------------

BOOL MDrawTool::ApplyConstraint(MTessarayView* view, int, int, MFloatPoint* pt, UINT) {
    if (!m_pointConstraint.HasEntry()) return FALSE;
    const MPointConstraint::Entry& entry = m_pointConstraint.GetEntry();
    if (!m_moved) {
        *pt = entry.base;
        m_snapper.SetRecord(MSnapPoint(*pt, 0));
    } else if (m_pointConstraint.FixesCoordinate()) {
        *pt = SnapOnCoordinate(m_snapper, view, GetSnapFlags(view), entry.base, *pt, entry.dx, entry.xGiven,
                               entry.dy, entry.yGiven);
    } else {
        *pt = ConstrainAngleLength(view, entry.base, *pt, entry.distance, entry.distanceGiven, entry.angle,
                                   entry.angleGiven, 0);
    }
    return TRUE;
}

MFloatPoint MDrawTool::ConstrainAngleLength(MTessarayView* view, const MFloatPoint& base, MFloatPoint pt,
                                            double length, BOOL bLength, double angle, BOOL bAngle,
                                            UINT flags) {
    return SnapOnAngleLength(m_snapper, view, GetSnapFlags(view), base, pt, length, bLength, angle, bAngle,
                             flags);
}

// ----- typed coordinates ------------------------------------------------------------------------

void MDrawTool::OnCoordinateInput(MTessarayView* view, const CPoint* click, UINT flags) {
    MFloatPoint clickPoint;
    if (click) clickPoint = Snap(view, click->x, click->y, 0).point;
    MJumpDialog dialog(view, FALSE);
    dialog.SetOffsetAllowed(click != nullptr);
    if (dialog.DoModal() != IDOK) {
        m_pointConstraint.ClearEntry();
        return;
    }
    m_pointConstraint.TakeEntry(view, GetCoordinateEntry(), clickPoint);
    if (!m_pointConstraint.HasEntry()) return;
    // The simulated press happens where the user is: its dead zone is measured from there.
    CPoint press;
    if (click) {
        press = *click;
    } else {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        press = view->DocToDevice(dc.get(), GetCurrentPoint());
    }
    OnLButtonDown(view, press.x, press.y, flags);
    if (m_pointConstraint.IsEntryComplete()) {
        m_moved = TRUE;
        OnLButtonUp(view, press.x, press.y, flags);
    }
}
