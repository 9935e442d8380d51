// The parallel and rotated copy tools: picked shapes are copied count times; the right button sets
// the reference point on the picks and opens the tool's dialog, then clicks place the copies along
// a row or around a circle. The copies keep the attributes and the layers of the shapes they copy;
// all of them are one undo step.
//
// New shapes are held copy-major: copy i of pick j at i · (shapes per copy) + j. Turned copies are
// made afresh from copy 0 as it stood at the reference point, by the whole angle each time, so a
// long placement accumulates no rounding.
//
// Beyond DRAWLIMIT the moves show only the frame of the copies: a move then records where each
// copy goes and draws the frame of those places; the copies themselves are placed at the next
// press or release (and before the tool ends), so what is committed is what a full placing
// gives.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatRect.h"
#include "model/shapes/CadShape.h"
#include "tools/DrawTool.h"

class MCopyTool : public MDrawTool {
public:
    explicit MCopyTool(int toolId);
    ~MCopyTool() override;

    UINT GetPickTraits() override {
        return kPickTraitsDefault | kPickByRect | (Lists().NewCount() == 0 ? kPicking : kNoPickTrait);
    }
    void ApplyAttributes(MTessarayView*) override {}
    void ReleaseConstraint() override { ClearConstraint(); }
    // With picks and no copies: the reference point and the dialog (a guarded entry point: a
    // failure resets the tool, nothing half made). Otherwise the context menu.
    void OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) override;
    // Count copies of every pick, each to its pick's layer.
    int CreateAndAddShape(MTessarayView* view) override;
    void Reset() override;
    void End(MTessarayView* view, BOOL switching) override;
    void OnMoveAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) override;
    void DrawTracker(MTessarayView* view, CDC* dc) override;

    int GetCount() const { return m_count; }
    MFloatPoint GetReference() const { return m_reference; }

protected:
    // Runs the dialog and takes its values (count included); FALSE when cancelled.
    virtual BOOL RunDialog(MTessarayView* view) = 0;
    virtual BOOL RotatesCopies() const = 0;
    // The tracker draws the copies (or their frame); otherwise only the picks and the marks.
    virtual BOOL ShowsCopies() { return TRUE; }
    // Copy index i to p (its reference point), turned by angle from the picks when copies turn.
    // While only the frame is shown the place is recorded and the copy follows later.
    void PlaceCopy(int index, const MFloatPoint& p, double angle);

    int m_count = 4;

private:
    // Many copies follow the pointer as their frame only.
    BOOL ShowsFrameOnly() const;
    void ApplyPlace(int index);
    // Every copy to its recorded place.
    void PlaceWaitingCopies();
    // The union extent of the copies at their recorded places.
    MFloatRect WaitingFrame(MTessarayView* view);
    // The extent of copy 0 turned by angle about the reference point.
    MFloatRect TurnedExtent(MTessarayView* view, double angle);

    MFloatPoint m_reference;
    // Where each copy stands and where it is to go, with its turn.
    std::vector<MFloatPoint> m_positions;
    std::vector<MFloatPoint> m_targets;
    std::vector<double> m_angles;
    // Copy 0 at the reference point, unturned; only while copies turn.
    std::vector<std::unique_ptr<MCadShape>> m_templates;
    // The extent of copy 0 at the reference point, and of its turns met so far.
    MFloatRect m_extent;
    std::map<double, MFloatRect> m_turnedExtents;
    int m_perCopy = 0;
    BOOL m_deferPlacing = FALSE;
    BOOL m_waiting = FALSE;
    // Stands in for the new shapes while the base draws the rest of the tracker.
    std::unique_ptr<MLShapeArray> m_noShapes;
};

class MCopyLineTool : public MCopyTool {
public:
    explicit MCopyLineTool(int toolId);

    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    BOOL IsConstrained() override { return m_angleFixed || m_spacingFixed || m_rotate; }

protected:
    BOOL RunDialog(MTessarayView* view) override;
    BOOL RotatesCopies() const override { return m_rotate; }
    // Until the first click only the cross mark follows the pointer; the copies stay at the
    // reference point, unseen.
    BOOL ShowsCopies() override { return GetStep() >= 1; }

private:
    MFloatPoint m_start, m_end;
    double m_spacing = 100.0;
    double m_angle = 0.0;
    BOOL m_angleFixed = FALSE, m_spacingFixed = FALSE, m_rotate = FALSE;
};

class MCopyRotateTool : public MCopyTool {
public:
    explicit MCopyRotateTool(int toolId);

    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
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
