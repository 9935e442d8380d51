// The circular sector (type id 4, keyword "FAN"): an arc closed through its centre, outlined by the
// 49 arc vertices followed by the centre, and filled like any closed polygon.
#pragma once

#include "model/shapes/curves/ArcShape.h"

class MCircleFanShape : public MCircleArcShape {
    DECLARE_SERIAL(MCircleFanShape)
public:
    static constexpr int kFanPoints = kArcPoints + 1;

    // Closed, 50 vertices, no vertex snap.
    MCircleFanShape();
    ~MCircleFanShape() override;

    // The arc, then a hit on either radius.
    BOOL HitTest(MCadView* view, const CPoint& point, MFloatPoint* foot, int tolerance) const override;
    // The arc's points, then the midpoints of both radii (kind 4).
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    // The sector's share of the full circle.
    double GetArea() const override;
    // The arc's line without the arrows.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;
    // The arc, then both radii.
    BOOL GetOutlineCurve(std::vector<MFloatPoint>& run) const override;

protected:
    // The arc's 49 vertices, then the centre.
    int ComputeOutline(MFloatPoint* out) const override;
};
