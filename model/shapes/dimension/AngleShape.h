// The angle dimension (type id 14, keyword "ANGLE"): an arc of radius r about the vertex O from
// the start angle counter-clockwise to the end angle, with arrows, and the span in degrees as text
// at the direction of the text angle. The end angle is kept in [start, start + 2 pi).
#pragma once

#include "model/shapes/dimension/SizeBaseShape.h"

class MAngleShape : public MSizeBaseShape {
    DECLARE_SERIAL(MAngleShape)
public:
    MAngleShape();
    ~MAngleShape() override;

    // O, r, start, end, text angle, then the dimension part.
    void Serialize(CArchive& ar) override;
    bool HasFiniteValues() const override;
    // O + r (cos a, sin a) for a = start (0), end (1), text angle (others).
    int GetHandleCount() const override;
    MFloatPoint GetHandle(int index) const override;
    // With keepRatio only the radius follows; otherwise the dragged end (or the text) turns.
    void MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect = nullptr) override;
    // The arc ends as end points, then O as a centre point.
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    // Members, extents and O.
    void Move(const MFloatPoint& offset) override;
    // One factor: a negative one turns the angles by pi (a point reflection); the radius stays
    // positive. Two: the radius by sqrt(|sx sy|); a negative factor mirrors the angles as the
    // mirrors do.
    void ScaleBy(const MShapeScale& scale) override;
    void MirrorX(double x, double y) override;
    void MirrorY(double x, double y) override;
    void Rotate(double cx, double cy, double angle) override;
    // One line TAB O r start end text colour style width flags text-colour fill; the style; the
    // text.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;
    void Rebuild(MCadView* view) override;
    // The angle format applied to the span in degrees (0 to 360).
    void UpdateText() override;

    // Sets the fields and normalises the angles.
    void SetAngles(const MFloatPoint& vertex, double radius, double start, double end, double textAngle);
    const MFloatPoint& GetVertex() const { return m_center; }
    double GetRadius() const { return m_radius; }
    double GetStartAngle() const { return m_start; }
    double GetEndAngle() const { return m_end; }
    double GetTextDirection() const { return m_textAngle; }

private:
    void ScaleEvenly(const MFloatPoint& centre, double factor);
    // Start and end into [-pi, pi], then the end raised by 2 pi when below the start.
    void NormalizeAngles();
    MFloatPoint PointAt(double angle) const;

    double m_radius = 0.0;
    MFloatPoint m_center;
    double m_start = 0.0;
    double m_end = 0.0;
    double m_textAngle = 0.0;
};
