// The open spline (type id 9, keyword "SPLINE"): a smooth curve through the control points with
// natural ends, which may carry arrow heads.
#pragma once

#include "model/shapes/curves/SplineShapeBase.h"

class MSplineShape : public MSplineShapeBase {
    DECLARE_SERIAL(MSplineShape)
public:
    // Open, no control points.
    MSplineShape();
    ~MSplineShape() override;

    // colour, width, style, arrows, fill, control points; loading recomputes the curve.
    void Serialize(CArchive& ar) override;
    // A line TAB colour style width arrows fill, then the control points. A line without a fill
    // reads back with no fill.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;

    // 16 samples per knot interval (fewer past kMaxCurvePoints) from the first control point to the last.
    void RecomputeCurve() override;
    // What storing and loading gives (block placements copy many splines), made from the numbers.
    MCadShape* Duplicate() const override;
};
