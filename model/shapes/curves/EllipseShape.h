// The axis-parallel ellipse (type id 5, keyword "ELLIPSE"): a centre and two radii with a 48-point
// closed outline the polygon computes when asked. It has no rotation of its own; every transform
// keeps centre, radii and outline in step, since only the former are stored.
#pragma once

#include "model/shapes/lines/PolygonShape.h"

class MEllipseShape : public MPolygonShape {
    DECLARE_SERIAL(MEllipseShape)
public:
    static constexpr int kOutlinePoints = 48;
    static constexpr double kOutlineStep = 0.1308996938995747;

    // A closed 48-point outline without vertex snap; centre and radii zero until SetEllipse or loading.
    MEllipseShape();
    ~MEllipseShape() override;

    // centre, radiusX, radiusY, colour, width, style, fill (no arrows, no vertices).
    void Serialize(CArchive& ar) override;
    bool HasFiniteValues() const override;
    // Point-edit mode: 0 top, 1 right, 2 bottom, 3 left, others the centre; else the extent handles.
    int GetHandleCount() const override;
    MFloatPoint GetHandle(int index) const override;
    void MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect = nullptr) override;
    // Radii take the absolute factors.
    void ScaleBy(const MShapeScale& scale) override;
    void Move(const MFloatPoint& offset) override;
    // An ellipse while PointEditFlag is set, else a plain polygon of the outline.
    MCadShape* Clone() const override;
    void MirrorX(double x, double y) override;
    void MirrorY(double x, double y) override;
    // A quarter turn (or several) turns the ellipse exactly: the centre turns and the radii
    // exchange for odd counts. An axis-parallel ellipse cannot take any other angle, so then only
    // the centre turns about (cx, cy); callers that want the turned outline use CreateRotated.
    void Rotate(double cx, double cy, double angle) override;
    // An ellipse, but a plain polygon of the turned outline for a turn other than quarter turns.
    MCadShape* CreateTransformed(const MShapeTransform& transform) const override;
    int GetCapabilities() const override;
    BOOL IsPointEditMode() const override;
    // One line: TAB cx cy radiusX radiusY colour style width fill.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;

    void SetEllipse(double cx, double cy, double rx, double ry);
    // The 48 vertices follow centre and radii again.
    void UpdatePoints();
    // The full turn from +x, while the vertices still follow centre and radii.
    BOOL GetOutlineCurve(std::vector<MFloatPoint>& run) const override;

    MFloatPoint m_center;
    double m_radiusX = 0.0;
    double m_radiusY = 0.0;

protected:
    int ComputeOutline(MFloatPoint* out) const override;

private:
    // The number of quarter turns (0 to 3) that angle makes, or -1 when it is no multiple of one.
    static int QuarterTurns(double angle);
    // Turns centre and radii by whole quarter turns about (cx, cy).
    void RotateQuarters(double cx, double cy, double angle, int quarters);
};
