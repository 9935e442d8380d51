// The straight line segment (type id 1, keyword "LINE"), with arrow heads at its ends.
#pragma once

#include "model/shapes/CadShape.h"

class MLineShape : public MCadShape {
    DECLARE_SERIAL(MLineShape)
public:
    // Width 0, style 0, colour 0 (black), no arrows, both ends (0, 0).
    MLineShape();
    MLineShape(const MFloatPoint& start, const MFloatPoint& end);
    ~MLineShape() override;

    // colour (DWORD), width (double), line style (int32), arrows, start, end.
    void Serialize(CArchive& ar) override;
    BOOL IsClosed() const override;
    // Start and end, in an array that belongs to this line.
    const MFloatPointArray& GetPoints() const override;
    int GetHandleCount() const override;
    // 0 start, 1 end.
    MFloatPoint GetHandle(int index) const override;
    // Moves one end (index 0 or 1); with keepRatio the end stays on the line's own direction.
    void MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect = nullptr) override;
    void Render(MCadView* view, CDC* dc, MDrawMode mode) override;
    void ScaleBy(const MShapeScale& scale) override;
    void Move(const MFloatPoint& offset) override;
    double SnapIntersection(MCadShape* other, MSnapPoint& snap, const MFloatPoint& cursor,
                            const MFloatRect& aperture, double best) override;
    double SnapIntersectionWithSegment(MCadShape* source, MSnapPoint& snap, const MFloatPoint& cursor,
                                       const MFloatRect& aperture, double best, const MFloatPoint& a,
                                       const MFloatPoint& b) override;
    int IntersectSegment(const MFloatPoint& a, const MFloatPoint& b, MFloatPointArray* out,
                         int flags) const override;
    // Whether the segment itself passes through the rectangle (edges included).
    BOOL MayMeetRect(const MFloatRect& rect) const override;
    BOOL HitTest(MCadView* view, const CPoint& point, MFloatPoint* foot, int tolerance) const override;
    int IntersectCircle(double cx, double cy, double px, double py, double radius,
                        MFloatPointArray* out) const override;
    // 1 left of start->end, -1 right, 0 on the carrier line.
    int GetSide(double x, double y) const override;
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    MCadShape* Duplicate() const override;
    // The ends differ.
    BOOL IsValid() const override;
    bool HasFiniteValues() const override;
    void Recalc(MCadView* view) override;
    // m_stroke, with the auxiliary-line rule.
    const MStroke* GetStroke() const override;
    void SetArrows(const MArrowInfo& arrows) override;
    MArrowInfo GetArrows() const override;
    void MirrorX(double x, double y) override;
    void MirrorY(double x, double y) override;
    void Rotate(double cx, double cy, double angle) override;
    int GetCapabilities() const override;
    // The direction and the normal.
    double GetAngleAt(int kind, const MFloatPoint& point, MFloatPoint* out) const override;
    // One line: TAB start.x start.y end.x end.y colour style width arrows.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;

    // Own operation: the nearest point of the segment (an end when the foot falls outside; the end
    // point on a tie).
    virtual void NearestPoint(MFloatPoint* out, const MFloatPoint& point) const;

    // Direction of end - start in [-pi, pi]; 0 for a zero-length line.
    double GetAngle() const;
    // IntersectSegments of this line with a-b.
    BOOL GetIntersection(const MFloatPoint& a, const MFloatPoint& b, MFloatPoint* out, int flags) const;
    MFloatPoint GetMid() const { return (m_start + m_end) / 2; }

    MStroke m_stroke;
    MArrowInfo m_arrows;
    MFloatPoint m_start;
    MFloatPoint m_end;

private:
    double DirectionAt(const MFloatPoint& point) const;
    // foot (when given) receives the foot on the infinite line; direction + pi/2, normalised.
    double NormalAt(const MFloatPoint& point, MFloatPoint* foot) const;
    // Segment and arrow heads with the pens and brushes the caller selected.
    void DrawLine(MCadView* view, CDC* dc, int lineStyle) const;
};
