#include "model/shapes/curves/SplineShape.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <typeinfo>

#include "model/helpers/TextStream.h"
#include "model/shapes/ShapeTypes.h"
#include "platform/Archive.h"
#include "platform/TextFile.h"

IMPLEMENT_SERIAL(MSplineShape, MSplineShapeBase, 1)

MSplineShape::MSplineShape() : MSplineShapeBase(FALSE) {}
MSplineShape::~MSplineShape() = default;

void MSplineShape::Serialize(CArchive& ar) {
    MCadShape::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_stroke << m_arrows << m_fill << m_controlPoints;
        return;
    }
    ar >> m_stroke >> m_arrows >> m_fill >> m_controlPoints;
    RecomputeCurve();
}

MCadShape* MSplineShape::Duplicate() const {
    // A fill no file can hold makes the stored way fail.
    if (typeid(*this) != typeid(MSplineShape) || !m_fill.IsStorable()) return MCadShape::Duplicate();
    auto* copy = new MSplineShape;
    copy->m_stroke = m_stroke;
    copy->m_arrows = m_arrows;
    // Loading clears a record without colours to the plain default.
    if (!m_fill.IsNone()) copy->m_fill = m_fill;
    copy->m_controlPoints = m_controlPoints;
    copy->RecomputeCurve();
    copy->CopyExtentsFrom(*this);
    return copy;
}

void MSplineShape::RecomputeCurve() {
    m_points.RemoveAll();
    if (m_controlPoints.GetSize() < 2) return;
    BuildSpline();
    const int k = m_knots.GetSize();
    if (k < 2) return;
    const int divisions = (k - 1) * SamplesPerInterval(k - 1);
    SampleCurve(divisions + 1, divisions);
}

short MSplineShape::GetTypeId() const {
    return kShapeSpline;
}
MCadShape* MSplineShape::CreateNew() const {
    return new MSplineShape;
}

void MSplineShape::WriteText(CDocument*, std::ostream& os) const {
    os << '\t';
    WriteStrokeText(os, m_stroke);
    os << ' ';
    WriteArrowInfoText(os, m_arrows);
    os << ' ';
    WriteFillStyleText(os, m_fill);
    os << '\n';
    m_controlPoints.WriteText(os);
}

void MSplineShape::ReadText(CDocument*, std::istream& is) {
    MStroke stroke;
    MArrowInfo arrows;
    ReadStrokeText(is, stroke);
    ReadArrowInfoText(is, arrows);
    if (is.fail()) return;
    // Older lines end after the arrows; such a spline keeps the constructor's fill.
    std::string rest;
    ReadTextString(is, rest, FALSE);
    const auto first = rest.find_first_not_of(" \t");
    MFillStyle fill = m_fill;
    if (first != std::string::npos) {
        TextInput fillText(rest.substr(first));
        ReadFillStyleText(fillText, fill);
        if (fillText.fail()) is.setstate(std::ios::failbit);
    }
    MFloatPointArray points;
    points.ReadText(is);
    if (is.fail()) return;
    m_stroke = stroke;
    m_arrows = arrows;
    m_fill = fill;
    m_controlPoints = std::move(points);
    RecomputeCurve();
}
