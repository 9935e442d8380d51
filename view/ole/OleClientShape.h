// An embedded or linked object placed in the drawing as a rectangle (type id 21, keyword "OLE2").
// The shape owns the object's container item (MCntrItem) while it belongs to a document, or the
// item's raw record while it was read without one (a parts library); either way the record is
// written back exactly as it was read. It draws the object's cached picture where the record holds
// one that can be shown, otherwise a frame with the object's class name.
//
// No object server runs on this system: creating, linking and editing objects are not available;
// its editor (registered with the view's classes) tells the user so and changes nothing.
#pragma once

#include <memory>
#include <vector>

#include "document/DocumentItem.h"
#include "model/geometry/FloatPoint.h"
#include "model/shapes/CadShape.h"

class MCntrItem;
struct MOleShown;

class MOleClientShape : public MCadShape, public MDocumentItem {
    DECLARE_SERIAL(MOleClientShape)
public:
    // No item and no bytes, position (0, 0).
    MOleClientShape();
    // Takes the item and becomes its shape.
    explicit MOleClientShape(MCntrItem* item);
    ~MOleClientShape() override;

    // position = (left, bottom), size = (right - left, top - bottom); the extent is that
    // rectangle, normalised.
    void SetRect(double left, double top, double right, double bottom);
    void SetSize(double width, double height);

    // The item's record (or the raw one), then position and size. A shape with neither writes an
    // empty record, so that what follows stays readable.
    void Serialize(CArchive& ar) override;
    void Render(MCadView* view, CDC* dc, MDrawMode mode) override;
    void ScaleBy(const MShapeScale& scale) override;
    void Move(const MFloatPoint& offset) override;
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    BOOL HitTestPixel(MCadView* view, const CPoint& point, int tolerance) override;
    BOOL IntersectsDeviceRectPixel(MCadView* view, const CRect& rect) override;
    BOOL IntersectsRectPixel(MCadView* view, const CRect& rect, const MFloatRect& area) override;
    MCadShape* Clone() const override { return Duplicate(); }
    // Same place, size and extents; the record copied byte for byte.
    MCadShape* Duplicate() const override;
    BOOL IsValid() const override;
    bool HasFiniteValues() const override;
    void Recalc(MCadView* view) override;
    int GetCapabilities() const override { return kShapeCanReshape; }
    short GetTypeId() const override;
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    MCadShape* CreateNew() const override { return new MOleClientShape; }

    void OnEnterDocument(MTessarayDoc& doc) override;
    void OnLeaveDocument(MTessarayDoc& doc) override;

    MCntrItem* GetItem() const { return m_item.get(); }
    const std::vector<BYTE>& GetRawItem() const { return m_rawItem; }
    void SetRawItem(std::vector<BYTE> bytes) { m_rawItem = std::move(bytes); }
    // The record this shape keeps: the item's, else the raw bytes; null when it has neither.
    const std::vector<BYTE>* GetRecord() const;
    // The rectangle position ... position + size, normalised.
    MFloatRect GetRect() const;

    // Width and height in drawing units.
    MFloatSize m_size;
    // The left-bottom corner.
    MFloatPoint m_position;
    // 1 while the item is out of its document because the shape left the drawing.
    int m_detached = 0;

private:
    // The modes of Render.
    void DrawNormal(MCadView* view, CDC* dc);
    void DrawTracking(MCadView* view, CDC* dc);
    void DrawGrayed(MCadView* view, CDC* dc);
    void DrawPlaceholder(MCadView* view, CDC* dc, const CRect& r);

    std::vector<BYTE> m_rawItem;
    std::unique_ptr<MCntrItem> m_item;
    // What the raw bytes show, read when first drawn.
    mutable std::unique_ptr<MOleShown> m_rawShown;
};

// Registers the shape's editor, which tells the user that objects cannot be edited here and
// answers FALSE (nothing changed).
void RegisterOleClientShapeEditor();
