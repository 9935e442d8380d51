#include "tools/circle/EllipseTools.h"

#include <algorithm>
#include <cmath>

#include "model/geometry/Geometry.h"
#include "model/shapes/curves/EllipseShape.h"
#include "platform/Strings.h"
#include "platform/ui/MessageTranslation.h"
#include "resources/ResourceIds.h"
#include "tools/SettingLine.h"

namespace {
// Lengths below kZeroTolerance of the larger one count as zero.
bool IsFlat(double rx, double ry) {
    const double small = std::min(std::fabs(rx), std::fabs(ry));
    const double large = std::max(std::fabs(rx), std::fabs(ry));
    return !(small > kZeroTolerance * large);
}
}  // namespace

// ----- shared -----------------------------------------------------------------------------------

MCadShape* MEllipseToolBase::NewShape(MTessarayView*) {
    return new MEllipseShape();
}

MEllipseShape* MEllipseToolBase::Shape() const {
    return dynamic_cast<MEllipseShape*>(Lists().NewShape(0));
}

void MEllipseToolBase::DecideAndReset(MTessarayView* view) {
    const MEllipseShape* shape = Shape();
    if (shape && IsFlat(shape->m_radiusX, shape->m_radiusY)) {
        Reset();
        return;
    }
    MDrawTool::DecideAndReset(view);
}

// ----- centre and radii -------------------------------------------------------------------------

MEllipseTool::MEllipseTool(int toolId) : MEllipseToolBase(toolId) {
    DeclareSteps(IDS_ELLIPSE_STEPS, 0,
                 {MToolStep(), MToolStep::SkippedWhen([this] { return IsRxFixed() != FALSE; }),
                  MToolStep::SkippedWhen([this] { return IsRyFixed() != FALSE; })});
    ClearConstraint();
    SetLockedValues({IDD_ELLIPSE_INPUT,
                     {{.value = &m_entry.rx,
                       .lock = &m_entry.rxFixed,
                       .editId = IDC_ELLIPSE_RX,
                       .checkId = IDC_ELLIPSE_RX_CHECK,
                       .fallback = kDefaultRadius,
                       .positiveMessage = IDS_ELLIPSE_RADIUS_NOT_POSITIVE},
                      {.value = &m_entry.ry,
                       .lock = &m_entry.ryFixed,
                       .editId = IDC_ELLIPSE_RY,
                       .checkId = IDC_ELLIPSE_RY_CHECK,
                       .fallback = kDefaultRadius,
                       .positiveMessage = IDS_ELLIPSE_RADIUS_NOT_POSITIVE}},
                     true});
}

void MEllipseTool::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT flags) {
    const double x = cursor.x, y = cursor.y;
    double a = 0.0, b = 0.0;
    if (GetStep() <= 0) {
        m_centre = cursor;
        if (m_entry.rxFixed) a = m_entry.rx;
        if (m_entry.ryFixed) b = m_entry.ry;
    }
    if (GetStep() == 1) {
        // While the horizontal radius is chosen the preview is a circle.
        m_currentRx = std::fabs(x - m_centre.x);
        b = m_entry.ryFixed ? m_entry.ry : m_currentRx;
        a = m_currentRx;
    }
    if (GetStep() == 2) {
        // A horizontal radius passed over is its fixed value.
        if (!Steps().HasPoint(1)) m_currentRx = m_entry.rx;
        a = m_currentRx;
        if (m_entry.ryFixed)
            b = m_entry.ry;
        else
            b = (flags & MK_SHIFT) ? m_currentRx : std::fabs(y - m_centre.y);
    }
    if (MEllipseShape* shape = Shape()) shape->SetEllipse(m_centre.x, m_centre.y, a, b);
}

// ----- two corners ------------------------------------------------------------------------------

MEllipseExtentTool::MEllipseExtentTool(int toolId) : MEllipseToolBase(toolId) {
    // A fixed size: one click places the ellipse.
    DeclareSteps(IDS_ELLIPSEEXTENT_STEPS, 0,
                 {MToolStep(), MToolStep::SkippedWhen([this] { return IsConstrained() != FALSE; })});
    ClearConstraint();
    SetLockedValues({IDD_2P_ELLIPSE_INPUT,
                     {{.value = &m_entry.rx,
                       .lock = &m_sizeFixed,
                       .editId = IDC_ELLIPSE_RX,
                       .positiveMessage = IDS_ELLIPSE_RADIUS_NOT_POSITIVE},
                      {.value = &m_entry.ry,
                       .lock = &m_sizeFixed,
                       .editId = IDC_ELLIPSE_RY,
                       .positiveMessage = IDS_ELLIPSE_RADIUS_NOT_POSITIVE}}});
}

void MEllipseExtentTool::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT flags) {
    const double x = cursor.x, y = cursor.y;
    MEllipseShape* shape = Shape();
    if (!shape) return;
    if (m_sizeFixed) {
        const int column = m_entry.anchor % 3, row = m_entry.anchor / 3;
        const double rx = std::fabs(m_entry.rx), ry = std::fabs(m_entry.ry);
        // The y axis points up: the top row puts the centre below the click.
        shape->SetEllipse(x + (1 - column) * rx, y + (row - 1) * ry, rx, ry);
        return;
    }
    if (GetStep() <= 0) {
        m_corner1 = cursor;
        shape->SetEllipse(x, y, 0.0, 0.0);
        return;
    }
    double hx = (x - m_corner1.x) / 2.0, hy = (y - m_corner1.y) / 2.0;
    if (flags & MK_SHIFT) {
        // The circle inside the dragged rectangle, on the side of each drag direction.
        if (std::fabs(hy) > std::fabs(hx))
            hy = std::copysign(std::fabs(hx), hy);
        else
            hx = std::copysign(std::fabs(hy), hx);
    }
    shape->SetEllipse(m_corner1.x + hx, m_corner1.y + hy, std::fabs(hx), std::fabs(hy));
}

void MEllipseExtentTool::AddDialogExtras(MNumericEntryDialog& dialog) {
    m_anchorShown = m_entry.anchor;
    dialog.AddRadio(IDC_ELLIPSE_ANCHOR, &m_anchorShown);
}

bool MEllipseExtentTool::AcceptLockedValues() {
    if (m_anchorShown < 0 || m_anchorShown > 8) return false;
    m_entry.anchor = m_anchorShown;
    return true;
}

void MEllipseExtentTool::SaveSettings(std::ostream& os) {
    WriteSettingLine(os, {m_entry.rx, m_entry.ry, static_cast<double>(m_entry.anchor)});
}

void MEllipseExtentTool::LoadSettings(std::istream& is) {
    const auto values = ReadSettingLine(is, 3);
    m_entry.rx = LoadedRadius(values[0], kDefaultRadius);
    m_entry.ry = LoadedRadius(values[1], kDefaultRadius);
    // Any other anchor would put the click outside the bounding box.
    const double anchor = values[2].value_or(0.0);
    m_entry.anchor =
        anchor >= 0.0 && anchor <= 8.0 && anchor == std::floor(anchor) ? static_cast<int>(anchor) : 0;
}
