// Clipping of renderer output in drawing units before it becomes logical pixels, so that
// geometry far outside the visible area neither overflows nor distorts what is visible.
#pragma once

#include <vector>

#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatRect.h"
#include "platform/WinTypes.h"

class CDC;
class MCadView;

// The DC's clip box in drawing units, normalised and grown by margin plus a few pixels.
// FALSE when nothing of the DC is visible; an all-zero rectangle means "do not clip".
bool VisibleDocRect(MCadView* view, CDC* dc, double margin, MFloatRect& out);
// Parameters t0 <= t1 of the part of a..b inside the (normalised, y-up) rectangle.
bool ClipSegmentToRect(const MFloatPoint& a, const MFloatPoint& b, const MFloatRect& rect, double& t0,
                       double& t1);
// Polygons that meet the rectangle (all of them when it is all zero) converted to logical points,
// cut only where they leave the range the device context takes, so that their pixels do not
// depend on the area painted.
void ClipAndConvertPolygons(MCadView* view, const MFloatRect& rect, const std::vector<MFloatPoint>& points,
                            const std::vector<int>& counts, std::vector<POINT>& out,
                            std::vector<int>& outCounts, std::vector<MFloatPoint>& scratchA,
                            std::vector<MFloatPoint>& scratchB);
// Open polylines cut to the rectangle and converted; pieces of fewer than two points are dropped.
void ClipAndConvertLines(MCadView* view, const MFloatRect& rect, const std::vector<MFloatPoint>& points,
                         const std::vector<int>& counts, std::vector<POINT>& out,
                         std::vector<int>& outCounts);
