#include "tools/PickList.h"

#include "model/geometry/FloatPointArray.h"
#include "model/shapes/containers/LShapeArray.h"
#include "platform/Exceptions.h"

MLPointShapeArray::MLPointShapeArray()
    : m_shapes(std::make_unique<MLShapeArray>(FALSE)), m_points(std::make_unique<MFloatPointArray>()) {}

MLPointShapeArray::~MLPointShapeArray() = default;

int MLPointShapeArray::Add(MCadShape* shape, const MFloatPoint& point, int layer) {
    m_points->Add(point);
    try {
        return m_shapes->Add(shape, static_cast<DWORD>(layer));
    } catch (...) {
        // The two lists stay index for index.
        m_points->RemoveAt(m_points->GetSize() - 1);
        throw;
    }
}

int MLPointShapeArray::Remove(const MCadShape* shape) {
    const int index = Find(shape);
    if (index >= 0) RemoveAt(index);
    return index;
}

void MLPointShapeArray::RemoveAt(int index) {
    if (index < 0 || index >= GetSize()) AfxThrowInvalidArgException();
    m_shapes->RemoveAt(index);
    m_points->RemoveAt(index);
}

void MLPointShapeArray::RemoveAll() {
    m_shapes->RemoveAll();
    m_points->RemoveAll();
}

int MLPointShapeArray::GetSize() const {
    return m_shapes->GetSize();
}

MCadShape* MLPointShapeArray::GetShape(int index) const {
    return m_shapes->GetAt(index);
}

int MLPointShapeArray::GetLayer(int index) const {
    return static_cast<int>(m_shapes->GetValueAt(index));
}

MFloatPoint MLPointShapeArray::GetPoint(int index) const {
    return m_points->GetAt(index);
}

int MLPointShapeArray::Find(const MCadShape* shape) const {
    return m_shapes->Find(shape);
}

double MLPointShapeArray::GetTextSize() const {
    return m_shapes->GetTextSize();
}
CString MLPointShapeArray::GetFontName() const {
    return m_shapes->GetFontName();
}
BOOL MLPointShapeArray::HasTextFlag(int flag) const {
    return m_shapes->HasTextFlag(flag);
}
int MLPointShapeArray::GetAlignment() const {
    return m_shapes->GetAlignment();
}
COLORREF MLPointShapeArray::GetTextColor() const {
    return m_shapes->GetTextColor();
}
MFillStyle MLPointShapeArray::GetFillStyle() const {
    return m_shapes->GetFillStyle();
}
COLORREF MLPointShapeArray::GetColor() const {
    return m_shapes->GetColor();
}
double MLPointShapeArray::GetLineWidth() const {
    return m_shapes->GetLineWidth();
}
int MLPointShapeArray::GetLineStyle() const {
    return m_shapes->GetLineStyle();
}
MArrowInfo MLPointShapeArray::GetArrows() const {
    return m_shapes->GetArrows();
}
BOOL MLPointShapeArray::SupportsEdit1() const {
    return m_shapes->SupportsEdit1();
}
BOOL MLPointShapeArray::SupportsEdit2() const {
    return m_shapes->SupportsEdit2();
}
BOOL MLPointShapeArray::SupportsEdit3() const {
    return m_shapes->SupportsEdit3();
}
BOOL MLPointShapeArray::SupportsEdit4() const {
    return m_shapes->SupportsEdit4();
}
void MLPointShapeArray::Invalidate(MCadView* view, BOOL erase) {
    m_shapes->Invalidate(view, erase);
}
