#include "model/shapes/curves/SplineLoopShape.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <typeinfo>

#include "model/helpers/TextStream.h"
#include "model/shapes/ShapeTypes.h"
#include "platform/Archive.h"

IMPLEMENT_SERIAL(MSplineLoopShape, MSplineShapeBase, 1)

MSplineLoopShape::MSplineLoopShape() : MSplineShapeBase(TRUE) {}
MSplineLoopShape::~MSplineLoopShape() = default;

void MSplineLoopShape::Serialize(CArchive& ar) {
    MPolygonShape::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_stroke << m_fill << m_controlPoints;
        return;
    }
    ar >> m_stroke >> m_fill >> m_controlPoints;
    RecomputeCurve();
}

MCadShape* MSplineLoopShape::Duplicate() const {
    // A fill no file can hold makes the stored way fail.
    if (typeid(*this) != typeid(MSplineLoopShape) || !m_fill.IsStorable()) return MCadShape::Duplicate();
    auto* copy = new MSplineLoopShape;
    copy->m_stroke = m_stroke;
    // Loading clears a record without colours to the plain default.
    if (!m_fill.IsNone()) copy->m_fill = m_fill;
    copy->m_flags = m_flags;
    copy->m_arrows = m_arrows;
    copy->m_controlPoints = m_controlPoints;
    copy->RecomputeCurve();
    copy->CopyExtentsFrom(*this);
    return copy;
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
    const int divisions = (k - 1) * SamplesPerInterval(k - 1) - 1;
    SampleCurve(divisions, divisions);
}

short MSplineLoopShape::GetTypeId() const {
    return kShapeSplineLoop;
}
MCadShape* MSplineLoopShape::CreateNew() const {
    return new MSplineLoopShape;
}

void MSplineLoopShape::WriteText(CDocument*, std::ostream& os) const {
    os << '\t';
    WriteStrokeText(os, m_stroke);
    os << ' ';
    WriteFillStyleText(os, m_fill);
    os << '\n';
    m_controlPoints.WriteText(os);
}

void MSplineLoopShape::ReadText(CDocument*, std::istream& is) {
    MStroke stroke;
    MFillStyle fill;
    ReadStrokeText(is, stroke);
    ReadFillStyleText(is, fill);
    SkipTextLine(is);
    if (is.fail()) return;
    MFloatPointArray points;
    points.ReadText(is);
    if (is.fail()) return;
    m_stroke = stroke;
    m_fill = fill;
    m_controlPoints = std::move(points);
    RecomputeCurve();
}
