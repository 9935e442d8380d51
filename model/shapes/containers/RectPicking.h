// Picking, snapping and the greyed look of the shapes that stand as an upright rectangle of the
// drawing (pictures, embedded objects); the pixel hit test is shared with the marks.
#pragma once

#include "model/geometry/FloatRect.h"
#include "platform/WinTypes.h"

class CDC;
class MCadShape;
class MCadView;
struct MSnapPoint;

// The extent in logical units, normalised and one pixel larger all round.
CRect GetExtentPickRect(MCadView* view, const MFloatRect& extent);
// Whether the square of half-side tolerance around the device point meets pick (logical units).
// view must not be null.
BOOL PickSquareMeets(MCadView* view, const CPoint& point, int tolerance, const CRect& pick);
// The corners as end points, the centre, and the edge midpoints, offered for shape.
double SnapRectPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best, const MFloatRect& r, MCadShape* shape);
// The rectangle hatched in the system's grey text colour.
void DrawGrayedRect(MCadView* view, CDC* dc, const MFloatRect& r);
