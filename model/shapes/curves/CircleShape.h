// The full circle (type id 2, keyword "CIRCLE"): a centre and a radius, whose 48-point closed
// outline the polygon computes when asked, so that drawing, filling, area selection and edge
// intersections come from the polygon. Base of the arc and the sector.
#pragma once

#include "model/shapes/lines/PolygonShape.h"

class MCircleShape : public MPolygonShape {
    DECLARE_SERIAL(MCircleShape)
public:
    // Vertices of the full outline, every 7.5 degrees counter-clockwise from +x.
    static constexpr int kOutlinePoints = 48;
    static constexpr double kOutlineStep = 0.1308996938995747;

    // A closed 48-point outline without vertex snap; centre and radius stay zero until SetCircle
    // or loading.
    MCircleShape();
    ~MCircleShape() override;

    // centre, radius, colour, width, style, fill, arrows; the polygon's flags and vertices are not
    // written (the outline is rebuilt on loading).
    void Serialize(CArchive& ar) override;
    // 4 radius handles (top, right, bottom, left) while PointEditFlag is set, else the 8 extent
    // handles.
    int GetHandleCount() const override;
    MFloatPoint GetHandle(int index) const override;
    // Point-edit mode: the radius follows the dragged handle; else the base stretch.
    void MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect = nullptr) override;
    // Stays a circle: the radius takes the mean of the absolute factors.
    void ScaleBy(const MShapeScale& scale) override;
    void Move(const MFloatPoint& offset) override;
    // Only the outline counts; a cursor exactly on the centre never hits.
    BOOL HitTest(MCadView* view, const CPoint& point, MFloatPoint* foot, int tolerance) const override;
    // A coincident circle reports the reference point (px, py) as its one crossing; a concentric
    // one of another radius none.
    int IntersectCircle(double cx, double cy, double px, double py, double r,
                        MFloatPointArray* out) const override;
    // Centre (kind 8), then the quadrant and diagonal points (kind 4).
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    // A circle while PointEditFlag is set, else a plain polygon of the outline.
    MCadShape* Clone() const override;
    // What storing and loading gives (block placements copy many circles), made from the numbers.
    MCadShape* Duplicate() const override;
    BOOL IsValid() const override;
    bool HasFiniteValues() const override;
    void MirrorX(double x, double y) override;
    void MirrorY(double x, double y) override;
    void Rotate(double cx, double cy, double angle) override;
    MCadShape* CreateTransformed(const MShapeTransform& transform) const override;
    int GetCapabilities() const override;
    // The tangent; the direction and the normal of the outline as a polygon's.
    double GetAngleAt(int kind, const MFloatPoint& point, MFloatPoint* out) const override;
    BOOL IsPointEditMode() const override;
    double GetArea() const override;
    // One line: TAB cx cy radius colour style width fill (no arrows).
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;

    // Own operations.
    // The outline follows centre and radius (and, in the arc family, the angles) again.
    virtual void RegeneratePoints();
    // The full turn from +x.
    BOOL GetOutlineCurve(std::vector<MFloatPoint>& run) const override;
    // The kOutlinePoints unit directions of the outline: cos and sin of k steps.
    static const MFloatPoint* OutlineDirections();

    void SetCircle(double cx, double cy, double r);

    MFloatPoint m_center;
    double m_radius = 0.0;

protected:
    // Without a reference point (null) the tangent at the circle point nearest (x, y); with one,
    // the tangent from that outside point whose touching point lies nearer (x, y). DBL_MAX when
    // there is none.
    double TangentAt(const MFloatPoint& point, MFloatPoint* reference) const;
    // The fields a stored copy carries (centre, radius, stroke, fill, arrows), into a copy of this kind.
    void CopyCircleInto(MCircleShape& copy) const;
    int ComputeOutline(MFloatPoint* out) const override;
    // The extent as the bounding box of the vertices, so that it stays current between a transform
    // and the next Recalc as the polygon's does.
    void UpdateExtentFromPoints();
    // Whether the outline still starts where centre and radius put it (outlines of other shapes
    // stand in this class's vertex array after a plain-polygon clone or a non-uniform edit).
    // point is the first vertex as the outline computes it.
    BOOL OutlineStartsAt(const MFloatPoint& point, int count) const;
    // A radius handle dragged in point-edit mode: the new radius, or 0 when it is too small.
    void MoveRadiusHandle(BOOL alongY, const MFloatPoint& to);
};
