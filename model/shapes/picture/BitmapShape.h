// A raster image placed in the drawing as a rectangle (type id 22, keyword "BITMAP"). Transforms
// move the rectangle; mirrors and rotations also mirror or turn the pixels. The picture is
// stretched onto the rectangle when drawn. Bitmaps are not exported to DXF or JW_CAD.
#pragma once

#include <cstddef>
#include <memory>

#include "model/geometry/FloatPoint.h"
#include "model/shapes/CadShape.h"

class CBitmap;
class MDib;

class MBitmapShape : public MCadShape {
    DECLARE_SERIAL(MBitmapShape)
public:
    // Colour of the corners that a rotation uncovers.
    static constexpr COLORREF kRotationBackground = 0xFFFFFF;

    // No image, origin (0, 0), size (0, 0).
    MBitmapShape();
    ~MBitmapShape() override;

    // origin, size, then the image as an object reference (class "MDib").
    void Serialize(CArchive& ar) override;
    bool HasFiniteValues() const override;
    void Render(MCadView* view, CDC* dc, MDrawMode mode) override;
    // Moves the rectangle; the pixels stay as they are.
    void ScaleBy(const MShapeScale& scale) override;
    void Move(const MFloatPoint& offset) override;
    // Corners (kind 1), centre (kind 8), edge midpoints (kind 4).
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    // Draw, only when the rectangle is visible in the DC.
    void DrawIfVisible(MCadView* view, CDC* dc) override;
    // The pixel tests use the rectangle (grown by a pixel) rather than a rendering.
    BOOL HitTestPixel(MCadView* view, const CPoint& point, int tolerance) override;
    BOOL IntersectsDeviceRectPixel(MCadView* view, const CRect& rect) override;
    BOOL IntersectsRectPixel(MCadView* view, const CRect& rect, const MFloatRect& area) override;
    // The image is copied; origin, size and both extents too.
    MCadShape* Duplicate() const override;
    // Builds the image's palette and the extents from origin and size.
    void Recalc(MCadView* view) override;
    // Drops the image's palette; the next Recalc builds it again.
    void FreeCache(MCadView* view) override;
    // The rectangle is reflected; the pixels too when there is an image.
    void MirrorX(double x, double y) override;
    void MirrorY(double x, double y) override;
    // The rectangle becomes the bounds of its turned corners; the pixels turn when there is an image.
    void Rotate(double cx, double cy, double angle) override;
    int GetCapabilities() const override;
    // A line TAB origin size, then the image's three binary blocks.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;

    // Own operations.
    void SetRect(double left, double top, double right, double bottom);
    // Takes a copy of a packed DIB. The size follows from the image's resolution (the screen's when
    // the header has none) as millimetres on paper divided by scale. FALSE when the DIB is not
    // usable; the shape then has no image.
    BOOL SetDib(const void* packedDib, std::size_t bytes, double scale);
    // Copies a device-dependent bitmap into a new image of the same size and depth; the caller
    // follows with SetDefaultSize.
    BOOL SetBitmap(const CBitmap* bitmap, MCadView* view);
    // The natural size of the image in the view, shrunk when it is more than half the paper.
    void SetDefaultSize(MCadView* view);
    BOOL HasImage() const;
    MDib* GetImage() const { return m_image.get(); }
    // Takes ownership.
    void SetImage(std::unique_ptr<MDib> image);
    // The rectangle from origin and size, normalised.
    MFloatRect GetRect() const;

    // Width and height in drawing units.
    MFloatSize m_size;
    // The corner with the smallest x and y.
    MFloatPoint m_origin;

private:
    // The modes of Render.
    // The picture stretched onto the rectangle; nothing without an image or for an empty rectangle.
    void DrawNormal(MCadView* view, CDC* dc);
    // The rectangle with the DC's current pen and brush.
    void DrawTracking(MCadView* view, CDC* dc);
    // A grey hatched rectangle; nothing without an image.
    void DrawGrayed(MCadView* view, CDC* dc);
    // Origin and size from a rectangle (normalised first); the extent becomes that rectangle.
    void TakeRect(MFloatRect rect);

    std::unique_ptr<MDib> m_image;
};
