// The circular arc (type id 3, keyword "ARC"): a circle with a start and an end angle, running
// counter-clockwise from start to end, with a 49-point open outline that may carry arrow heads.
#pragma once

#include "model/shapes/curves/CircleShape.h"

class MCircleArcShape : public MCircleShape {
    DECLARE_SERIAL(MCircleArcShape)
public:
    static constexpr int kArcPoints = 49;

    // Open, 49 vertices, angles zero until SetArc or loading.
    MCircleArcShape();
    ~MCircleArcShape() override;

    // centre, radius, start, end, colour, width, style, fill, arrows.
    void Serialize(CArchive& ar) override;
    bool HasFiniteValues() const override;
    // Point-edit mode: 0 start, 1 end, 2 top, 3 right, 4 bottom, 5 left, others the centre.
    int GetHandleCount() const override;
    MFloatPoint GetHandle(int index) const override;
    // Point-edit mode: handles 0 and 1 turn their end, 2 to 5 set the radius; else the base stretch.
    void MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect = nullptr) override;
    // The circle's test, limited to the angles strictly inside the arc.
    BOOL HitTest(MCadView* view, const CPoint& point, MFloatPoint* foot, int tolerance) const override;
    // Concentric and of the same radius: the reference point, when it lies on the arc.
    int IntersectCircle(double cx, double cy, double px, double py, double r,
                        MFloatPointArray* out) const override;
    // Centre (kind 8), start and end (kind 1), the middle of the arc (kind 4).
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    void MirrorX(double x, double y) override;
    void MirrorY(double x, double y) override;
    void Rotate(double cx, double cy, double angle) override;
    // The area between the arc and its chord.
    double GetArea() const override;
    // One line: TAB cx cy radius start end colour style width fill arrows.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;
    // NormalizeArcAngles on the angles; the 49 vertices follow them.
    void RegeneratePoints() override;
    // The arc, then the chord of a closed one; none for an open arc with arrow heads.
    BOOL GetOutlineCurve(std::vector<MFloatPoint>& run) const override;

    // Own operations.
    virtual void SetArc(double cx, double cy, double r, double startAngle, double endAngle);
    // An angle strictly inside the arc (either directly or one turn up); the ends do not count.
    virtual BOOL IsAngleOnArc(double angle) const;
    // What storing and loading gives (block placements copy many arcs), made from the numbers.
    MCadShape* Duplicate() const override;

    double m_startAngle = 0.0;
    double m_endAngle = 0.0;

protected:
    // From start to end in 48 equal steps.
    int ComputeOutline(MFloatPoint* out) const override;
    // The ends and the points about each quarter turn.
    int ComputeOutlineExtremes(MFloatPoint* out) const override;
    // The text line; the sector's has no arrows.
    void WriteArcText(std::ostream& os, BOOL withArrows) const;
    void ReadArcText(std::istream& is, BOOL withArrows);
};

// The angles an arc's outline is built from: non-finite ones made defined (start 0, end the
// start), far-off ones brought near zero, then the end raised by whole turns above the start (equal
// angles make a full turn). Takes a bounded number of steps for any input.
void NormalizeArcAngles(double& start, double& end);
