// Ordered lists of shapes. Shapes are drawn from the first to the last (the last is on top) and
// every search for the shape under the cursor runs from the last to the first. An owning array
// deletes its shapes; a non-owning one (work lists, selections, packs) only forgets them.
#pragma once

#include <iosfwd>
#include <string>

#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatRect.h"
#include "model/shapes/CadShape.h"
#include "platform/Object.h"
#include "platform/WinTypes.h"

class CArchive;
class CDC;
class MPackShape;
class CDocument;
class MCadView;

class MShapeArray : public CObject, public CObArray {
    DECLARE_SERIAL(MShapeArray)
public:
    // Dynamic creation (archive loading) makes an owning array.
    MShapeArray() : MShapeArray(TRUE) {}
    explicit MShapeArray(BOOL owns) : m_owns(owns) {}
    // Deletes the shapes when owning.
    ~MShapeArray() override;
    MShapeArray(const MShapeArray&) = delete;
    MShapeArray& operator=(const MShapeArray&) = delete;

    // Archive form: the element count, each shape as an object (class name, schema, fields), then
    // the owns flag as a 32-bit int. Loading empties the array first (deleting the shapes it owns)
    // and reads every shape as a new object of the archive; a pack among them is replaced by its
    // members. When loading fails, an owning array keeps (and owns) the shapes read so far; a
    // non-owning one deletes them, since nobody else knows them.
    void Serialize(CArchive& ar) override;

    // Takes the last entry that is shape out of the array without deleting it; its index or -1.
    virtual int Remove(MCadShape* shape);
    virtual void DrawAll(MCadView* view, CDC* dc);
    // Draw of every shape whose draw extent (inflated by 2 pixels) is visible in the DC.
    virtual void DrawClipped(MCadView* view, CDC* dc);
    virtual void DrawTrackingAll(MCadView* view, CDC* dc);
    virtual void DrawHighlightAll(MCadView* view, CDC* dc);
    // The grayed mode of every shape whose draw extent overlaps the DC's clip box (inflated by 2 pixels).
    virtual void DrawGrayedVisible(MCadView* view, CDC* dc);

    // Typed access; an index outside the array raises the invalid-argument exception.
    MCadShape* GetAt(int index) const;
    MCadShape* operator[](int index) const { return GetAt(index); }
    void SetAt(int index, MCadShape* shape);
    int Add(MCadShape* shape) { return CObArray::Add(shape); }
    void InsertAt(int index, MCadShape* shape, int count = 1);
    void InsertAt(int index, MShapeArray* other);

    BOOL IsOwner() const { return m_owns; }
    void SetOwner(BOOL owns) { m_owns = owns; }

    // Index of the last entry that is shape; -1 when absent.
    int Find(const MCadShape* shape) const;
    // Unions of the shapes' extents / draw extents; the all-zero rectangle when there is none.
    MFloatRect GetExtent() const;
    MFloatRect GetDrawExtent() const;
    void RecalcAll(MCadView* view);
    // After a change of the view's scale, only the shapes whose extent may follow it (dimensions,
    // labels, marks, pictures) are recalculated, and groups of plain shapes take their members' new extents:
    // the extents are then those RecalcAll would give, other caches wait for the next RecalcAll.
    void RecalcScaledExtents(MCadView* view);
    void FreeCacheAll(MCadView* view);
    // Every shape, from the last to the first.
    void Move(const MFloatPoint& offset);
    // Deletes every shape and empties the array (whatever the owns flag).
    void DeleteAll();

    // The topmost shape whose pixel test meets the square of the tolerance around (x, y). Points and
    // rectangles are in the view's logical pixels (see MCadShape's hit-test contract).
    MCadShape* HitTest(MCadView* view, int x, int y, int tolerance) const;
    MCadShape* HitTestDeviceRect(MCadView* view, const CRect& rect) const;
    // area is the same rectangle in drawing units.
    MCadShape* HitTestRect(MCadView* view, const CRect& rect, const MFloatRect& area) const;

    // Text form: a line TAB count, then each shape that has a text form (non-null with a keyword)
    // as WriteShapeText writes it; the count is the number of shapes written.
    void WriteText(CDocument* doc, std::ostream& os) const;
    // Appends the shapes of the text form. An unreadable or unknown shape is dropped and counts as
    // one of the count; a stream that ends early leaves the shapes read so far. While a file's
    // losses are counted (MTextReadLosses), a shape whose values are not finite is dropped too.
    void ReadText(CDocument* doc, std::istream& is);
    // One shape of it, its keyword line read already (ReadShapeKeyword).
    void ReadShape(CDocument* doc, std::istream& is, const std::string& keyword);

protected:
    void WriteShapes(CDocument* doc, std::ostream& os) const;
    void ReadShapes(CDocument* doc, std::istream& is, long long count);
    // The element count, the shapes and the owns flag. Loading returns the stored flag without
    // applying it: until the caller has read its own fields too, the shapes read belong to the array
    // as it was (a non-owning one deletes them when the reading fails).
    BOOL SerializeShapes(CArchive& ar);
    // When the reading failed: the shapes read so far go unless the array owns them.
    void DeleteUnowned();
    // A pack read as an element owns none of its members: they take its place, where they have an
    // owner (a group, a layer) or are taken apart with the rest (a pack), and the pack goes.
    void TakeApart(CArchive& ar, MPackShape* pack);

    BOOL m_owns;
};

// The member list of a group: an owning shape array with an optional base point.
class MShapeArray4Group : public MShapeArray {
    DECLARE_SERIAL(MShapeArray4Group)
public:
    // Owning, no base point, the point (0, 0).
    MShapeArray4Group() : MShapeArray(TRUE) {}
    ~MShapeArray4Group() override;

    // The array's form, then has-base-point (int32) and the base point (two doubles).
    void Serialize(CArchive& ar) override;

    // The base point when one is set; otherwise the centre of the members' extents ((0, 0) when
    // there are none).
    MFloatPoint GetBasePoint() const;
    void SetBasePoint(const MFloatPoint& p) {
        m_basePoint = p;
        m_hasBasePoint = TRUE;
    }
    BOOL HasBasePoint() const { return m_hasBasePoint; }
    void ClearBasePoint() {
        m_basePoint = MFloatPoint();
        m_hasBasePoint = FALSE;
    }

    // Moves the members and a set base point.
    void Move(const MFloatPoint& offset);

    // Text form: a line TAB count; a line TAB has-base-point, x, y; then the shapes.
    void WriteText(CDocument* doc, std::ostream& os) const;
    // Also accepts the form without the base-point line (no base point, the point (0, 0)).
    void ReadText(CDocument* doc, std::istream& is);
    // Its first lines alone: sets the base point and returns the count of shapes that follow.
    long long ReadHeader(std::istream& is);

private:
    BOOL m_hasBasePoint = FALSE;
    MFloatPoint m_basePoint;
};

// Recalculating a drawing only to fit it to the sheet, where the union of the extents is all that
// counts until the next RecalcAll. Circles and arcs (exact types) first take the box of their whole
// circle; a box strictly inside the union of the other shapes whose extent ignores the scale cannot
// reach its edge, at this scale or any other, so that shape keeps it and its outline is not worked
// out. The others are recalculated as RecalcAll would, and every union comes out the same.
class MFitRecalc {
public:
    explicit MFitRecalc(MCadView* view) : m_view(view) {}
    // Every shape of the array, and the members of its groups, recalculated or boxed.
    void Add(MShapeArray& shapes);
    // Once every array is added: the boxed shapes that may reach the edge recalculated, with the
    // groups they are in.
    void Settle(MShapeArray& shapes);
    // Whether a shape whose extent may follow the scale was added (else RecalcScaledExtents would
    // change nothing).
    bool FollowsScale() const { return m_followsScale; }

private:
    void AddFixed(const MFloatRect& extent);
    bool Inside(const MFloatRect& box) const;
    bool MayReachEdge(const MShapeArray& shapes) const;

    MCadView* m_view;
    MFloatRect m_fixed;
    bool m_hasFixed = false;
    bool m_followsScale = false;
};
