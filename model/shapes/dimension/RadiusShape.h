// The radius (type id 12, keyword "RADIUS") and diameter (type id 13, keyword "DIAMETER")
// dimensions of a circle or arc: a centre O, a radius R, the direction theta along which the
// dimension is drawn and the distance L of the text from O along it (L <= R puts the text inside).
#pragma once

#include "model/shapes/dimension/SizeBaseShape.h"

// What the radius and diameter dimensions share: their fields, transforms and file forms.
class MCircleSizeShape : public MSizeBaseShape {
public:
    // Radius-dimension flags for a text outside the circle: no line inside it (bit 1, wins), or
    // the inside line from the centre (bit 2); otherwise the inside line is a leader long.
    static constexpr int kNoInsideLine = 0x2;
    static constexpr int kLineFromCentre = 0x4;

    ~MCircleSizeShape() override;

    // O, R, theta, L, then the dimension part.
    void Serialize(CArchive& ar) override;
    // |R| at least the zero tolerance.
    BOOL IsValid() const override;
    bool HasFiniteValues() const override;
    // O as a centre point.
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    // Members, extents and O.
    void Move(const MFloatPoint& offset) override;
    void MirrorX(double x, double y) override;
    void MirrorY(double x, double y) override;
    void Rotate(double cx, double cy, double angle) override;
    // One line TAB O R theta L colour style width flags text-colour fill; the style; the text.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;

    void SetCircle(const MFloatPoint& centre, double radius, double angle, double textDistance);
    const MFloatPoint& GetCircleCenter() const { return m_center; }
    double GetRadius() const { return m_radius; }
    double GetAngle() const { return m_angle; }
    double GetTextDistance() const { return m_textDistance; }
    // O + distance along theta.
    MFloatPoint PointAt(double distance) const;

protected:
    MCircleSizeShape();

    // O scaled about the centre; R and L by sqrt(|sx sy|); a negative factor mirrors theta as the
    // mirrors do, so that the dimension stays on the scaled circle.
    void ScaleCircle(const MFloatPoint& centre, double sx, double sy);
    // Drags the circle point (opposite: the point opposite theta) or the text along the dimension.
    void MoveCirclePoint(const MFloatPoint& to, BOOL opposite);
    void MoveTextPoint(const MFloatPoint& to);

    MFloatPoint m_center;
    double m_radius = 0.0;
    double m_angle = 0.0;
    double m_textDistance = 0.0;
};

class MRadiusSizeShape : public MCircleSizeShape {
    DECLARE_SERIAL(MRadiusSizeShape)
public:
    MRadiusSizeShape();
    ~MRadiusSizeShape() override;

    // 0 the circle point O + R (cos theta, sin theta), 1 the text point O + L (cos theta, sin theta).
    int GetHandleCount() const override;
    MFloatPoint GetHandle(int index) const override;
    void MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect = nullptr) override;
    void ScaleBy(const MShapeScale& scale) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;
    void Rebuild(MCadView* view) override;
    // The radius format applied to R.
    void UpdateText() override;
};

// The diameter dimension: the dimension line runs through O from one side of the circle to the
// other and is built as a linear dimension's without extension lines.
class MDiameterSizeShape : public MCircleSizeShape {
    DECLARE_SERIAL(MDiameterSizeShape)
public:
    MDiameterSizeShape();
    ~MDiameterSizeShape() override;

    // 0 O + R (cos theta, sin theta), 1 the opposite circle point, 2 the text point.
    int GetHandleCount() const override;
    MFloatPoint GetHandle(int index) const override;
    void MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect = nullptr) override;
    void ScaleBy(const MShapeScale& scale) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;
    void Rebuild(MCadView* view) override;
    // The diameter format applied to 2R.
    void UpdateText() override;
};
