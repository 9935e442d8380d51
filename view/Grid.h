// The view's grid: paints the sheet white, draws the grid points at a step that stays readable at
// every zoom, and snaps a point to the grid. The grid origin is the view's user origin (its copy
// of the drawing origin).
#pragma once

#include "model/geometry/FloatPoint.h"
#include "platform/WinTypes.h"

class CDC;
class MCadView;

class MGrid {
public:
    // Paper size in millimetres as oriented; pitch in drawing units.
    MGrid(double paperWidth, double paperHeight, double pitchX, double pitchY);
    virtual ~MGrid();

    // The drawing point of a device point (client coordinates of the view's prepared DC) brought to
    // the nearest grid point of the true pitch.
    virtual MFloatPoint SnapToGrid(MCadView* view, const CPoint& devicePoint);
    // The white sheet, and the grid points when showGrid is set.
    virtual void Draw(MCadView* view, CDC* dc, BOOL showGrid);

    // The nearest grid point of a drawing point (the rule of SnapToGrid without the conversion).
    MFloatPoint SnapDocPoint(const MCadView* view, const MFloatPoint& point) const;
    // The displayed step along x and y: the pitch times 1, 2, 8, 64, ... until it spans at least
    // 16 logical pixels. 0 when no readable step exists (an unusable pitch or scale).
    double DisplayStepX(const MCadView* view) const;
    double DisplayStepY(const MCadView* view) const;

    double m_pitchX;
    double m_pitchY;
    double m_paperWidth;
    double m_paperHeight;
};
