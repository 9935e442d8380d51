// The parallel and rotated copy tools: picked shapes are copied count times; the right button sets
// the reference point on the picks and opens the tool's dialog, then clicks place the copies along
// a row or around a circle. The copies keep the attributes and the layers of the shapes they copy;
// all of them are one undo step.
//
// New shapes are held copy-major: copy i of pick j at i · (shapes per copy) + j. Turned copies are
// made afresh from copy 0 as it stood at the reference point, by the whole angle each time, so a
// long placement accumulates no rounding.
#pragma once

#include <memory>
#include <vector>

#include "model/geometry/FloatPoint.h"
#include "model/shapes/CadShape.h"
#include "tools/DrawTool.h"

class MCopyTool : public MDrawTool {
public:
    explicit MCopyTool(int toolId) : MDrawTool(toolId) {}
    ~MCopyTool() override;

    BOOL IsPickMode() override { return GetNewCount() == 0; }
    BOOL CanPickByRect() override { return TRUE; }
    void ApplyAttributes(MTessarayView*) override {}
    void ReleaseConstraint() override { ClearConstraint(); }
    // With picks and no copies: the reference point and the dialog (a guarded entry point: a
    // failure resets the tool, nothing half made). Otherwise the context menu.
    void OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) override;
    // Count copies of every pick, each to its pick's layer.
    int CreateAndAddShape(MTessarayView* view) override;
    void Reset() override;

    int GetCount() const { return m_count; }
    MFloatPoint GetReference() const { return m_reference; }

protected:
    // Runs the dialog and takes its values (count included); FALSE when cancelled.
    virtual BOOL RunDialog(MTessarayView* view) = 0;
    virtual BOOL RotatesCopies() const = 0;
    // Copy index i to p (its reference point), turned by angle from the picks when copies turn.
    void PlaceCopy(int index, const MFloatPoint& p, double angle);

    int m_count = 4;

private:
    MFloatPoint m_reference;
    std::vector<MFloatPoint> m_positions;
    // Copy 0 at the reference point, unturned; only while copies turn.
    std::vector<std::unique_ptr<MCadShape>> m_templates;
    int m_perCopy = 0;
};

class MCopyLineTool : public MCopyTool {
public:
    explicit MCopyLineTool(int toolId);

    int OnPoint(MTessarayView* view, double x, double y, int phase, UINT flags) override;
    BOOL IsConstrained() override { return m_angleFixed || m_spacingFixed || m_rotate; }

protected:
    BOOL RunDialog(MTessarayView* view) override;
    BOOL RotatesCopies() const override { return m_rotate; }

private:
    MFloatPoint m_start, m_end;
    double m_spacing = 100.0;
    double m_angle = 0.0;
    BOOL m_angleFixed = FALSE, m_spacingFixed = FALSE, m_rotate = FALSE;
};

class MCopyRotateTool : public MCopyTool {
public:
    explicit MCopyRotateTool(int toolId);

    int OnPoint(MTessarayView* view, double x, double y, int phase, UINT flags) override;
    BOOL IsConstrained() override { return m_radiusFixed || m_startFixed || m_endFixed || m_rotate; }
    // The angle of copy i: evenly from start to end counter-clockwise; start and end equal modulo
    // a whole turn (within 1e-9) mean the whole circle, count copies spread evenly round it.
    static double CopyAngle(double start, double end, int count, int i);

protected:
    BOOL RunDialog(MTessarayView* view) override;
    BOOL RotatesCopies() const override { return m_rotate; }

private:
    void FollowStep(const MFloatPoint& c);

    MFloatPoint m_centre;
    double m_radius = 0.0;
    double m_startAngle = 0.0, m_endAngle = 0.0;
    BOOL m_radiusFixed = FALSE, m_startFixed = FALSE, m_endFixed = FALSE, m_rotate = FALSE;
};
