// A tool's picks: document shapes chosen by a click or a rubber band, each with its layer and the
// point where it was picked. The list never owns the shapes. Through the forwarders it answers the
// attribute questions of the picked shapes as one set (the select tool's selection is one).
#pragma once

#include <memory>
#include <string>

#include "model/ArrowInfo.h"
#include "model/FillStyle.h"
#include "model/geometry/FloatPoint.h"
#include "platform/WinTypes.h"

class MCadShape;
class MCadView;
class MFloatPointArray;
class MLShapeArray;
using CString = std::string;

class MLPointShapeArray {
public:
    MLPointShapeArray();
    virtual ~MLPointShapeArray();
    MLPointShapeArray(const MLPointShapeArray&) = delete;
    MLPointShapeArray& operator=(const MLPointShapeArray&) = delete;

    // Appends the shape with its pick point; its index.
    int Add(MCadShape* shape, const MFloatPoint& point, int layer);
    // Forgets the shape and its point; the former index, or -1 when it is not picked.
    int Remove(const MCadShape* shape);
    // A bad index raises the invalid-argument exception.
    void RemoveAt(int index);
    void RemoveAll();

    int GetSize() const;
    // Index errors raise the invalid-argument exception.
    MCadShape* GetShape(int index) const;
    int GetLayer(int index) const;
    MFloatPoint GetPoint(int index) const;
    // The index of the shape, searched from the last pick; -1 when it is not picked.
    int Find(const MCadShape* shape) const;

    // The shapes (their values are the layers) and the points, index for index.
    MLShapeArray& GetShapes() { return *m_shapes; }
    const MLShapeArray& GetShapes() const { return *m_shapes; }
    MFloatPointArray& GetPoints() { return *m_points; }

    // The attribute interface of the picked shapes (common value or the shape list's mixed marker).
    virtual double GetTextSize() const;
    virtual CString GetFontName() const;
    virtual BOOL HasTextFlag(int flag) const;
    virtual int GetAlignment() const;
    virtual COLORREF GetTextColor() const;
    virtual MFillStyle GetFillStyle() const;
    virtual COLORREF GetColor() const;
    virtual double GetLineWidth() const;
    virtual int GetLineStyle() const;
    virtual MArrowInfo GetArrows() const;
    virtual BOOL SupportsEdit1() const;
    virtual BOOL SupportsEdit2() const;
    virtual BOOL SupportsEdit3() const;
    virtual BOOL SupportsEdit4() const;
    // Invalidates the union of the picked shapes' draw extents.
    virtual void Invalidate(MCadView* view, BOOL erase);

private:
    std::unique_ptr<MLShapeArray> m_shapes;
    std::unique_ptr<MFloatPointArray> m_points;
};
