// The arc and sector tools (centre, radius, start and end direction) and the half and quarter
// circle tools (an anchor, a radius with its direction, then the side). Each can fix its values by
// numeric input; every fixed value saves a click.
#pragma once

#include <iosfwd>

#include "tools/DrawTool.h"
#include "tools/LockedValueTool.h"

class MCircleArcShape;

// The fixed radius, start and end directions (radians, shown in degrees; dialog 154) and their
// settings line: a radius not finite or not above 0 reads as 100, an angle not finite as its
// default. A ticked radius not above 0 is refused and the dialog stays open.
class MCircleArcTool : public MLockedValueTool<MDrawTool> {
public:
    explicit MCircleArcTool(int toolId);

    void ReleaseConstraint() override;
    MCadShape* NewShape(MTessarayView* view) override;
    // The radius is the larger of the radius point's two coordinate differences from the centre.
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;

    double GetRadius() const { return m_entry.radius; }
    double GetStartAngle() const { return m_entry.startAngle; }
    double GetEndAngle() const { return m_entry.endAngle; }
    BOOL IsRadiusFixed() const { return m_entry.radiusFixed; }
    BOOL IsStartFixed() const { return m_entry.startFixed; }
    BOOL IsEndFixed() const { return m_entry.endFixed; }

    static constexpr double kDefaultRadius = 100.0;
    static constexpr double kDefaultEndAngle = 6.283185307179586;

private:
    struct Entry {
        double radius;
        double startAngle;
        double endAngle;
        BOOL radiusFixed;
        BOOL startFixed;
        BOOL endFixed;
    };
    Entry m_entry{kDefaultRadius, 0.0, kDefaultEndAngle, FALSE, FALSE, FALSE};
    MFloatPoint m_centre;
    double m_currentStart = 0.0;
    double m_currentRadius = 0.0;
};

// The arc tool making sectors.
class MCircleFanTool : public MCircleArcTool {
public:
    using MCircleArcTool::MCircleArcTool;
    MCadShape* NewShape(MTessarayView* view) override;
};

// What the half and quarter circle tools share: the anchor, the radius and direction of the second
// click (Shift keeps it on an axis), the fixed values and their dialog and settings line (radius,
// direction in radians, shown in -360 ... 360 degrees; dialog 155).
class MAnchoredArcTool : public MLockedValueTool<MDrawTool> {
public:
    MAnchoredArcTool(int toolId, UINT prompts);

    MCadShape* NewShape(MTessarayView* view) override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;

    double GetRadius() const { return m_entry.radius; }
    double GetAngle() const { return m_entry.angle; }
    BOOL IsRadiusFixed() const { return m_entry.radiusFixed; }
    BOOL IsAngleFixed() const { return m_entry.angleFixed; }

    static constexpr double kDefaultRadius = 100.0;

protected:
    // The radius that a second click at distance d from the anchor gives.
    virtual double RadiusOf(double distance) const = 0;
    // The arc while the second point moves, and once the third chooses the side.
    virtual void ShowPreview(MCircleArcShape* shape) = 0;
    virtual void ShowSide(MCircleArcShape* shape, const MFloatPoint& cursor) = 0;

    double m_currentRadius = 0.0;
    double m_direction = 0.0;
    MFloatPoint m_anchor;

private:
    struct Entry {
        double radius;
        double angle;
        BOOL radiusFixed;
        BOOL angleFixed;
    };
    Entry m_entry{kDefaultRadius, 0.0, FALSE, FALSE};
};

// A half circle on a diameter from the anchor; the third point chooses the side.
class MHalfCircleTool : public MAnchoredArcTool {
public:
    explicit MHalfCircleTool(int toolId);

protected:
    double RadiusOf(double distance) const override { return distance / 2.0; }
    void ShowPreview(MCircleArcShape* shape) override;
    // The side by the sign of the turn from the diameter to the cursor, which holds across ±180°.
    void ShowSide(MCircleArcShape* shape, const MFloatPoint& cursor) override;

private:
    MFloatPoint Centre() const;
};

// A quarter circle about the anchor from the radius direction; the third point chooses the side.
class MQuadCircleTool : public MAnchoredArcTool {
public:
    explicit MQuadCircleTool(int toolId);

protected:
    double RadiusOf(double distance) const override { return distance; }
    void ShowPreview(MCircleArcShape* shape) override;
    void ShowSide(MCircleArcShape* shape, const MFloatPoint& cursor) override;
};
