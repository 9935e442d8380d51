// The linear dimension (type id 11, keyword "SIZE"): the distance C-D along a dimension line of
// any direction, with extension lines from the measured points A and B to the line's ends C and D
// and the text at E on the line. C and D stay the feet of A and B on the line.
#pragma once

#include "model/shapes/dimension/SizeBaseShape.h"

class MSizeShape : public MSizeBaseShape {
    DECLARE_SERIAL(MSizeShape)
public:
    MSizeShape();
    ~MSizeShape() override;

    // A, B, C, D, E, then the dimension part.
    void Serialize(CArchive& ar) override;
    // 0 A, 1 B, 2 C, 3 D, 4 the midpoint of A and B, any other E.
    int GetHandleCount() const override;
    MFloatPoint GetHandle(int index) const override;
    // Keeps C and D the feet of A and B and E at its relative place; refused moves change no
    // point. Every move but that of E recomputes the text.
    void MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect = nullptr) override;
    // Scales the points, then keeps the extension lines perpendicular to the dimension line.
    void ScaleBy(const MShapeScale& scale) override;
    // Members, extents and the five points.
    void Move(const MFloatPoint& offset) override;
    // The midpoint of A and B.
    MFloatPoint GetCenter() const override;
    // A, C, B, D as end points.
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    // |D - C| above the zero tolerance.
    BOOL IsValid() const override;
    bool HasFiniteValues() const override;
    // The transforms move the points and leave the dimension stale; the text stays.
    void MirrorX(double x, double y) override;
    void MirrorY(double x, double y) override;
    void Rotate(double cx, double cy, double angle) override;
    // One line TAB A B C D E colour style width flags text-colour fill; the style's two lines;
    // the text lines.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;
    void Rebuild(MCadView* view) override;
    // The linear format applied to |D - C|.
    void UpdateText() override;

    void SetPoints(const MFloatPoint& a, const MFloatPoint& b, const MFloatPoint& c, const MFloatPoint& d,
                   const MFloatPoint& e);
    const MFloatPoint& GetA() const { return m_a; }
    const MFloatPoint& GetB() const { return m_b; }
    const MFloatPoint& GetC() const { return m_c; }
    const MFloatPoint& GetD() const { return m_d; }
    const MFloatPoint& GetE() const { return m_e; }

private:
    MFloatPoint m_a, m_b, m_c, m_d, m_e;
};
