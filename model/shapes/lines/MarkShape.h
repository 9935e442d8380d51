// The point mark (type id 20, keyword "MARK"): a small X cross of a fixed size on paper. It shows
// on screen only: printers, print preview and metafiles never receive it. It has no colour, width,
// line style or fill of its own.
#pragma once

#include "model/shapes/CadShape.h"

class MMarkShape : public MCadShape {
    DECLARE_SERIAL(MMarkShape)
public:
    // The pen of the cross (blue).
    static constexpr COLORREF kMarkColor = 0xFF0000;
    static constexpr double kDefaultSize = 2.0;
    // Half the side of the square that stands for the mark in the pixel tests, in logical pixels.
    static constexpr int kPickHalfSide = 2;

    // Position (0, 0), size 2.0.
    MMarkShape();
    ~MMarkShape() override;

    // position, size.
    void Serialize(CArchive& ar) override;
    bool HasFiniteValues() const override;
    // One handle, the position.
    int GetHandleCount() const override;
    MFloatPoint GetHandle(int index) const override;
    // The blue cross; nothing without an attribute context, on a printer or into a metafile.
    // Never printed nor written to a metafile in the normal mode; tracking draws the cross with the
    // DC's current pen.
    void Render(MCadView* view, CDC* dc, MDrawMode mode) override;
    // Moves the position; the size stays (it is fixed on paper).
    void ScaleBy(const MShapeScale& scale) override;
    void Move(const MFloatPoint& offset) override;
    // The position as an end point (kind 1).
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    void DrawIfVisible(MCadView* view, CDC* dc) override;
    // The pixel tests use the small square of the position rather than a rendering.
    BOOL HitTestPixel(MCadView* view, const CPoint& point, int tolerance) override;
    BOOL IntersectsDeviceRectPixel(MCadView* view, const CRect& rect) override;
    // Extent: position +- size; draw extent: position +- size on paper.
    void Recalc(MCadView* view) override;
    void MirrorX(double x, double y) override;
    void MirrorY(double x, double y) override;
    void Rotate(double cx, double cy, double angle) override;
    int GetCapabilities() const override;
    // One line: TAB x y size.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;

    MFloatPoint m_position;
    // Half the width of the cross, paper millimetres.
    double m_size = kDefaultSize;

protected:
    // The cross's square on paper, kept here.
    MFloatRect StoredDrawExtent() const override { return m_drawRect; }
    void StoreDrawExtent(const MFloatRect& rect) override { m_drawRect = rect; }

private:
    MFloatRect m_drawRect;

    // Two strokes over the square position +- size on paper, with whatever pen is selected.
    void DrawCross(MCadView* view, CDC* dc) const;
    // The position's square in logical pixels, grown by one.
    CRect PickRect(MCadView* view) const;
};
