// The closed spline (type id 10, keyword "SPLINELOOP"): a periodic smooth curve through the control
// points, closed through the first one, which may be filled.
#pragma once

#include "model/shapes/curves/SplineShapeBase.h"

class MSplineLoopShape : public MSplineShapeBase {
    DECLARE_SERIAL(MSplineLoopShape)
public:
    // Closed, no control points.
    MSplineLoopShape();
    ~MSplineLoopShape() override;

    // The complete polygon record, then colour, width, style, fill and the control points; loading
    // replaces the polygon's vertices by the recomputed curve.
    void Serialize(CArchive& ar) override;
    // A line TAB colour style width fill, then the control points.
    void WriteText(CDocument* doc, std::ostream& os) const override;
    void ReadText(CDocument* doc, std::istream& is) override;
    short GetTypeId() const override;
    MCadShape* CreateNew() const override;

    // Two control points give just those two vertices (drawn as a segment); three or more give 16
    // samples per knot interval (fewer past kMaxCurvePoints) round the ring, less the closing one.
    void RecomputeCurve() override;
    // What storing and loading gives (block placements copy many splines), made from the numbers.
    MCadShape* Duplicate() const override;
};
