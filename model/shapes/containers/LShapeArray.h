// The list that tools keep of the shapes they work on (picked, new or replaced), with one 32-bit
// value per shape chosen by the owner (a layer index or a pick flag). It is also the attribute
// interface of a set of shapes: setters apply to every member, getters return the common value or
// a mixed marker (colour -1, line width -1.0, line style -1, text size 0.0, font "", text flags
// FALSE, alignment 0, fill a plain fill of colour -1, arrow styles 255 and sizes -1.0).
#pragma once

#include <memory>

#include "model/geometry/FloatPointArray.h"
#include "model/shapes/containers/ShapeArray.h"
#include "platform/Object.h"

class CDC;
class MCadView;

// The class library's array of 32-bit values (archive form: count, then the values).
using MDWordArray = MValueArray<DWORD>;

class MLShapeArray : public CObject {
    DECLARE_SERIAL(MLShapeArray)
public:
    // Dynamic creation makes an owning list.
    MLShapeArray() : MLShapeArray(TRUE) {}
    // Only an owning list deletes its shapes (in DeleteAll and when destroyed).
    explicit MLShapeArray(BOOL owns);
    ~MLShapeArray() override;
    MLShapeArray(const MLShapeArray&) = delete;
    MLShapeArray& operator=(const MLShapeArray&) = delete;

    // The inner shape array's form (shapes, owns flag), then the values (count, 32-bit values).
    void Serialize(CArchive& ar) override;

    // Attribute interface. "Text members" are those whose HasText is TRUE.
    virtual void SetTextSize(double size);
    virtual double GetTextSize() const;
    virtual void SetFontName(const CString& name);
    virtual CString GetFontName() const;
    // Every text member has the flag bit, and there is one; for the frame (kTextFrame) every
    // member whose IsText is TRUE.
    virtual BOOL HasTextFlag(int flag) const;
    // Over the multi-line text members: the horizontal and vertical alignment bits of the first,
    // each of the two 0 as soon as another differs in it.
    virtual int GetAlignment() const;
    virtual void SetTextColor(COLORREF color);
    virtual COLORREF GetTextColor() const;
    virtual void SetFillStyle(const MFillStyle& fill);
    virtual MFillStyle GetFillStyle() const;
    virtual void SetColor(COLORREF color);
    virtual COLORREF GetColor() const;
    virtual double GetLineWidth() const;
    virtual void SetLineWidth(double width);
    virtual int GetLineStyle() const;
    virtual void SetLineStyle(int lineStyle);
    virtual MArrowInfo GetArrows() const;
    virtual void MirrorX(double x, double y);
    virtual void MirrorY(double x, double y);
    virtual void Rotate(double cx, double cy, double angle);
    // AND over the members; FALSE for an empty list.
    virtual BOOL SupportsEdit1() const;
    virtual BOOL SupportsEdit2() const;
    virtual BOOL SupportsEdit3() const;
    virtual BOOL SupportsEdit4() const;
    // Invalidates the union of the draw extents (inflated by 2 pixels); nothing for an empty list.
    virtual void Invalidate(MCadView* view, BOOL erase);

    // List handling. Index errors raise the invalid-argument exception.
    int GetSize() const { return m_shapes->GetSize(); }
    MCadShape* GetAt(int index) const { return m_shapes->GetAt(index); }
    DWORD GetValueAt(int index) const { return m_values->GetAt(index); }
    int Add(MCadShape* shape, DWORD value);
    void InsertAt(int index, MCadShape* shape, DWORD value);
    void SetAt(int index, MCadShape* shape, DWORD value);
    // Forgets the entry; the shape is not deleted.
    void RemoveAt(int index);
    // Find, then RemoveAt; the former index or -1.
    int Remove(MCadShape* shape);
    // Searching from the end; -1 when absent.
    int Find(const MCadShape* shape) const { return m_shapes->Find(shape); }
    void SetSize(int n);
    void RemoveAll();
    void DeleteAll();
    BOOL IsOwner() const { return m_shapes->IsOwner(); }

    void Recalc(MCadView* view);
    void Move(const MFloatPoint& offset);
    MFloatRect GetExtent() const { return m_shapes->GetExtent(); }
    MFloatRect GetDrawExtent() const { return m_shapes->GetDrawExtent(); }
    // The topmost member whose pixel test meets the square around (x, y) in logical pixels.
    MCadShape* HitTest(MCadView* view, int x, int y, int tolerance) const;
    // The tracking outline of every member in green, and with DRAWSELECTEDSHAPE = 2 once more in a
    // wide yellow pen.
    void DrawMarked(MCadView* view, CDC* dc);

    MShapeArray& GetShapes() { return *m_shapes; }
    const MShapeArray& GetShapes() const { return *m_shapes; }

private:
    std::unique_ptr<MDWordArray> m_values;
    std::unique_ptr<MShapeArray> m_shapes;
};
