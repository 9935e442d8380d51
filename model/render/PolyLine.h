// The renderer of styled polylines: wide lines become outline polygons with their own joins,
// square ends and dash pattern; thin lines become polylines dashed by the same walk.
#pragma once

#include <vector>

#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatRect.h"
#include "platform/WinTypes.h"

class CDC;
class MCadView;
class MLineStyle;

class MPolyLine {
public:
    MPolyLine() = default;
    virtual ~MPolyLine() = default;

    // width in paper millimetres (0: thin); lineStyle is a line-style word. Wide lines fill with
    // the brush and pen the caller selected, thin ones draw with its pen.
    virtual void Draw(MCadView* view, CDC* dc, const MFloatPoint* points, int count, double width,
                      int lineStyle, BOOL closed);
    // The points as one polyline with the current pen (rubber bands, outlines of tools).
    virtual void DrawThin(MCadView* view, CDC* dc, const MFloatPoint* points, int count, BOOL closed);

    // Cubic Bezier pieces (1 + 3n points, see BezierOutline.h) as curves, where the context keeps
    // them (printers), the line is thin and continuous and the outline spans kMinCurvePixels;
    // FALSE when Draw must draw the outline.
    BOOL DrawCurve(MCadView* view, CDC* dc, const MFloatPoint* points, int count, double width,
                   int lineStyle);

    // Draw with a given style instead of a table entry (auxiliary: drawn in the auxiliary colour).
    void DrawStyled(MCadView* view, CDC* dc, const MFloatPoint* points, int count, double width,
                    const MLineStyle* style, BOOL auxiliary, BOOL closed);

    static BOOL IsAuxiliaryLineStyle(int lineStyle) { return (lineStyle & 0x80) != 0; }

    // Outlines smaller than this many pixels both ways stay polylines (DrawCurve).
    static constexpr LONG kMinCurvePixels = 16;
    // A dash pattern whose period is shorter than this many pixels is drawn continuous.
    static constexpr double kMinPatternPixels = 2.0;
    // Colour of auxiliary lines (0x00BBGGRR: blue).
    static constexpr COLORREF kAuxiliaryColor = 0xFF0000;

private:
    struct Walk;
    void Outline(const MFloatPoint* points, int count, bool extendEnds, bool strictJoins);
    void Path(const MFloatPoint* points, int count, bool lengthenEnd);
    void Dashed(const MFloatPoint* seq, int count, bool wide);
    void Emit(MCadView* view, CDC* dc, bool wide, bool auxiliary);
    // Appends the rings (or runs) to the logical lists: those inside the visible rectangle
    // converted directly, the others clipped first.
    void ConvertPolygons(MCadView* view);
    void ConvertLines(MCadView* view);
    // One thin run (closed: from and to the middle of the closing edge) converted directly; false,
    // with nothing kept, when a point lies outside the visible rectangle and the run needs cutting.
    bool ThinRunToLogical(MCadView* view, const MFloatPoint* points, int count, bool closed,
                          bool lengthenEnd);
    void EmitLines(CDC* dc, bool auxiliary);

    double m_width = 0.0;          // drawing units
    double m_pixelDiagonal = 0.0;  // drawing units
    MFloatRect m_visible;          // normalised; all zero: no clipping
    // Scratch lists, reused between calls; one drawing call at a time.
    std::vector<MFloatPoint> m_sequence;
    std::vector<MFloatPoint> m_piece;
    std::vector<MFloatPoint> m_side1, m_side2;
    std::vector<MFloatPoint> m_polygonPoints;
    std::vector<int> m_polygonCounts;
    std::vector<MFloatPoint> m_linePoints;
    std::vector<int> m_lineCounts;
    std::vector<POINT> m_logical;
    std::vector<int> m_logicalCounts;
    std::vector<MFloatPoint> m_clipA, m_clipB;
    std::vector<MFloatPoint> m_one;  // one ring or run on its way to clipping
    std::vector<int> m_oneCount;
    std::vector<double> m_dashLengths;  // the style's pattern in drawing units
    std::vector<char> m_dashOn;         // whether each entry is drawn
};

// The program's renderer, shared by all shapes.
MPolyLine& GetPolyLineRenderer();

// Paints the sample of a line style in device pixels from (x, y) to right, height pixels high
// (line-style combo boxes and menus), with the selected pen. The fifth argument is the right edge,
// not a width: callers that have a width pass x + width. A style outside the table paints nothing.
void DrawLineStyleSample(CDC* dc, int lineStyle, int x, int y, int right, int height);
