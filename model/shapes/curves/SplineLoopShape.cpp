#include "model/shapes/curves/SplineLoopShape.h"

#include <cstdint>
#include <istream>
#include <ostream>

#include "model/helpers/TextStream.h"
#include "model/shapes/ShapeFactory.h"
#include "platform/Archive.h"

IMPLEMENT_SERIAL(MSplineLoopShape, MSplineShapeBase, 1)

MSplineLoopShape::MSplineLoopShape() : MSplineShapeBase(TRUE) {}
MSplineLoopShape::~MSplineLoopShape() = default;

void MSplineLoopShape::Serialize(CArchive& ar) {
    MPolygonShape::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(m_color) << m_width << static_cast<std::int32_t>(m_lineStyle) << m_fill
           << m_controlPoints;
        return;
    }
    DWORD color = 0;
    std::int32_t style = 0;
    ar >> color >> m_width >> style >> m_fill >> m_controlPoints;
    m_color = color;
    m_lineStyle = style;
    RecomputeCurve();
}

void MSplineLoopShape::RecomputeCurve() {
    m_points.RemoveAll();
    const int count = m_controlPoints.GetSize();
    if (count <= 1) return;
    if (count == 2) {
        m_points = m_controlPoints;
        return;
    }
    BuildSpline();
    const int k = m_knots.GetSize();
    if (k < 2) return;
    const int divisions = (k - 1) * kSamplesPerInterval - 1;
    SampleCurve(divisions, divisions);
}

CString MSplineLoopShape::GetTypeName() const {
    return "SPLINELOOP";
}
short MSplineLoopShape::GetTypeId() const {
    return kShapeSplineLoop;
}
MCadShape* MSplineLoopShape::CreateNew() const {
    return new MSplineLoopShape;
}

void MSplineLoopShape::WriteText(CDocument*, std::ostream& os) const {
    os << '\t' << static_cast<unsigned long>(m_color) << ' ' << m_lineStyle << ' ' << m_width << ' ';
    WriteFillStyleText(os, m_fill);
    os << '\n';
    m_controlPoints.WriteText(os);
}

void MSplineLoopShape::ReadText(CDocument*, std::istream& is) {
    unsigned long color = 0;
    int style = 0;
    double width = 0.0;
    MFillStyle fill;
    is >> color >> style >> width;
    ReadFillStyleText(is, fill);
    SkipTextLine(is);
    if (is.fail()) return;
    MFloatPointArray points;
    points.ReadText(is);
    if (is.fail()) return;
    m_color = static_cast<COLORREF>(color);
    m_lineStyle = style;
    m_width = width;
    m_fill = fill;
    m_controlPoints = std::move(points);
    RecomputeCurve();
}
