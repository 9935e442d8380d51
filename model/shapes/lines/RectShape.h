// The axis-parallel rectangle (type id 6, keyword "RECT"): an origin and a size (either may be
// negative) whose four corners the polygon computes when asked. Only origin and size are stored,
// so every in-place change keeps them and the corners in step.
#pragma once

#include "model/geometry/FloatPoint.h"
#include "model/shapes/lines/PolygonShape.h"

class MRectShape : public MPolygonShape {
    DECLARE_SERIAL(MRectShape)
public:
    static constexpr int kCorners = 4;

    // A closed four-corner outline with vertex snap (corners and edge midpoints snap).
    MRectShape();
    ~MRectShape() override;

    // origin, size, colour, width, style, fill (no arrows, no vertices).
    void Serialize(CArchive& ar) override;
    // Point-edit mode: the dragged corner follows `to` while the opposite corner stays, so the
    // shape stays a rectangle; else the base stretch.
    void MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect = nullptr) override;
    void ScaleBy(const MShapeScale& scale) override;
    void Move(const MFloatPoint& offset) override;
    // A plain closed polygon of the corners: what a tool reshapes is no longer a rectangle.
    MCadShape* Clone() const override;
    // Width and height both non-zero.
    BOOL IsValid() const override;
    bool HasFiniteValues() const override;
    void MirrorX(double x, double y) override;
    void MirrorY(double x, double y) override;
    // Quarter turns turn the rectangle exactly. An axis-parallel rectangle cannot take any other
    // angle, so then its centre turns about (cx, cy) and its size stays; callers that want the
    // turned outline use CreateRotated, which gives a polygon.
    void Rotate(double cx, double cy, double angle) override;
    BOOL IsPointEditMode() const override;
    // One line: TAB x y w h colour style width fill.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;

    void SetRect(double x, double y, double w, double h);
    // The corners follow origin and size again: clockwise from the top-left for a positive size,
    // (x, y + h), (x + w, y + h), (x + w, y), (x, y).
    void RebuildCorners();

    MFloatPoint m_origin;
    MFloatSize m_size;

protected:
    int ComputeOutline(MFloatPoint* out) const override;
};
