// The three-point circle and arc tools: a circle through three clicked points, and an arc from its
// start to its end point through a third. With a radius fixed by numeric input the third point
// only chooses among the circles (or arcs) of that radius through the first two.
#pragma once

#include <iosfwd>
#include <vector>

#include "tools/DrawTool.h"
#include "tools/LockedValueTool.h"

struct MCircleFit {
    MFloatPoint centre;
    double radius = 0.0;
};

// The circle through three points, computed from the differences to p1 so that points far from the
// origin keep their digits. Collinear or coincident points (a cross product below 1e-12 of the
// product of the two lengths) give the circle on p1-p2 as its diameter.
MCircleFit CircleThroughPoints(const MFloatPoint& p1, const MFloatPoint& p2, const MFloatPoint& p3);

// The construction both tools share: three points, an optional fixed radius (dialog 153; a ticked
// radius not above 0 is refused and the dialog stays open) and its settings line (a radius that is
// missing, not finite or not above 0 reads as 100).
class M3PointCircleBase : public MLockedValueTool<MDrawTool> {
public:
    M3PointCircleBase(int toolId, UINT prompts);

    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;

    double GetRadius() const { return m_entry.radius; }
    BOOL IsRadiusFixed() const { return m_entry.radiusFixed; }

    static constexpr double kDefaultRadius = 100.0;

protected:
    // With a fixed radius, in the frame of the chord (x along point1 -> point2, y to its left):
    // the third points at x = half the chord that choose each solution; k is the distance of the
    // centres from the chord. The first is the preview's while the end point moves.
    virtual std::vector<double> CandidateHeights(double k, double radius) const = 0;
    virtual void ShowCircle(const MCircleFit& circle) = 0;
    // A fixed radius shorter than half the chord of the two points given is refused once they are
    // (message 210) and nothing changes.
    bool AcceptLockedValues() override;

    MFloatPoint m_point1;
    MFloatPoint m_point2;
    MFloatPoint m_point3;

private:
    MFloatPoint FixedThirdPoint(const MFloatPoint& cursor, bool preview) const;

    struct Entry {
        double radius;
        BOOL radiusFixed;
    };
    Entry m_entry{kDefaultRadius, FALSE};
};

class M3PCircleTool : public M3PointCircleBase {
public:
    explicit M3PCircleTool(int toolId);
    MCadShape* NewShape(MTessarayView* view) override;

protected:
    // The far points of the two circles.
    std::vector<double> CandidateHeights(double k, double radius) const override;
    void ShowCircle(const MCircleFit& circle) override;
};

class M3PCircleArcTool : public M3PointCircleBase {
public:
    explicit M3PCircleArcTool(int toolId);
    MCadShape* NewShape(MTessarayView* view) override;

protected:
    // The middles of the four arcs, the minor arc on the right first.
    std::vector<double> CandidateHeights(double k, double radius) const override;
    // The arc from one clicked end to the other through the third point. Coincident first points
    // give radius 0, which the commit drops.
    void ShowCircle(const MCircleFit& circle) override;
};
