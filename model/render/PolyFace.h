// The renderer of faces of closed polygons: with the caller's pen and brush, or by a fill
// record as a plain colour or a gradation clipped to the polygon.
#pragma once

#include <vector>

#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatRect.h"
#include "platform/WinTypes.h"

class CDC;
class MCadView;
class MFillStyle;

class MPolyFace {
public:
    MPolyFace() = default;
    virtual ~MPolyFace() = default;

    // The face with the pen, brush and fill mode selected in dc.
    virtual void Draw(MCadView* view, CDC* dc, const MFloatPoint* points, int count);
    // The face filled by the record; extent is the shape's extent, over which gradations run.
    virtual void DrawFill(MCadView* view, CDC* dc, const MFloatPoint* points, int count,
                          const MFloatRect& extent, const MFillStyle& fill);

    // Every gradation of the program is painted in this many bands.
    static constexpr int kBands = 32;

private:
    // The face sequence (midpoint of the closing edge first and last), clipped and in logical points.
    bool FaceToLogical(MCadView* view, CDC* dc, const MFloatPoint* points, int count);

    std::vector<MFloatPoint> m_sequence;
    std::vector<int> m_counts;
    std::vector<POINT> m_logical;
    std::vector<int> m_logicalCounts;
    std::vector<MFloatPoint> m_clipA, m_clipB;
};

// The program's renderer, shared by all shapes.
MPolyFace& GetPolyFaceRenderer();

// Paints a gradation over rect (logical units) in steps bands with the pen and clip of dc. kind
// 256 linear, 257 square, 258 circular; colors holds count colours (two or three are used; a
// single colour paints plainly). Other kinds and an empty list paint nothing.
void DrawGradation(CDC* dc, RECT rect, int steps, int kind, const COLORREF* colors, int count, double middle,
                   double angle, double centerX, double centerY);
