// The spline tools: the control points of an open or closed spline, one per click; the last one
// follows the pointer. A double click or "決定" commits, "取消し" steps back one point.
#pragma once

#include "tools/DrawTool.h"

class MSplineShapeBase;

// What both tools share; they differ in their shape and in how many control points make a curve.
class MSplineToolBase : public MDrawTool {
public:
    // The double click's own release added a point that follows the pointer: it goes, and the
    // curve is committed when two control points are left (of either kind), else the tool ends.
    void OnDoubleClickHook(MTessarayView* view) override;
    // Shift keeps the segment from the control point before the last horizontal or vertical.
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    BOOL CanDecide() override;
    // Commits with enough control points; with fewer the tool ends and nothing is committed.
    void OnDecide(MTessarayView* view) override;
    // One point back: the one before follows the pointer; with one point left the tool ends.
    void OnCancel(MTessarayView* view) override;

    MSplineShapeBase* Spline() const;

protected:
    MSplineToolBase(int toolId, int minimumPoints, UINT prompts);

private:
    static constexpr int kDoubleClickPoints = 2;
    // Commits the curve when it has the control points, else ends the tool.
    void Finish(MTessarayView* view, int minimumPoints);

    const int m_minimumPoints;
};

// The open spline: two control points make a curve.
class MSplineTool : public MSplineToolBase {
public:
    explicit MSplineTool(int toolId);
    MCadShape* NewShape(MTessarayView* view) override;
};

// The closed spline: "決定" asks for three control points; a double click ends it at two (a
// loop there and back).
class MSplineLoopTool : public MSplineToolBase {
public:
    explicit MSplineLoopTool(int toolId);
    MCadShape* NewShape(MTessarayView* view) override;
};
