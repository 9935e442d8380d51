// The measuring tools: they show a result and change nothing of the drawing (no undo step, no
// modified flag). MMeasureLengthTool: a polyline clicked point by point, ended by a double click.
// MMeasureAngleTool: the angle between two picked lines. MMeasureAreaTool: the total area of the
// picked closed shapes, shown by the right button.
#pragma once

#include "tools/dimension/LinePairTool.h"

class MPolygonShape;

class MMeasureLengthTool : public MDrawTool {
public:
    explicit MMeasureLengthTool(int toolId);

    // The rubber polyline; never committed.
    MCadShape* NewShape(MTessarayView* view) override;
    // The first press starts the polyline, each release fixes a point and starts the next segment.
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    // The release before the double click appended a point the double click does not mean.
    void OnDoubleClickHook(MTessarayView* view) override;
    BOOL CanDecide() override;
    // Shows the distance (two points) or the report (more), then starts again.
    void OnDecide(MTessarayView* view) override;
    // Takes the last point back; with one point left the measuring ends.
    void OnCancel(MTessarayView* view) override;

private:
    MPolygonShape* Polyline() const;
    void ShowResult(MTessarayView* view, const MPolygonShape& polyline);
};

class MMeasureAngleTool : public MLinePairTool {
public:
    explicit MMeasureAngleTool(int toolId);

    UINT GetPickTraits() override { return kPickTraitsDefault | kPicking; }
    // With two picks: the angle, or for parallel lines the second pick dropped.
    int OnPickShape(MTessarayView* view, double x, double y, UINT flags) override;
};

class MMeasureAreaTool : public MDrawTool {
public:
    explicit MMeasureAreaTool(int toolId);

    UINT GetPickTraits() override { return kPickTraitsDefault | kPicking | kPickByRect; }
    // Closed polygons and the shapes built on them (rectangles, circles, ellipses, ...).
    MCadShape* FilterPickTarget(MCadShape* shape) override;
    // With picks: their area; without: the context menu.
    void OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) override;

    // The sum of the areas of the picks, each shape counted once.
    double PickedArea() const;
};
