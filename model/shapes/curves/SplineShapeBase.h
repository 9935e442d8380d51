// What the open and the closed spline share: interpolating cubic splines through a list of control
// points, parameterised by cumulative chord length normalised to [0, 1] and sampled into the
// polygon's vertex array, which draws, fills, hit-tests and intersects them. Only the control
// points are stored; knots, parameters and coefficients are derived.
#pragma once

#include <vector>

#include "model/shapes/lines/PolygonShape.h"

class MSplineShapeBase : public MPolygonShape {
    DECLARE_DYNAMIC(MSplineShapeBase)
public:
    // Samples per knot interval.
    static constexpr int kSamplesPerInterval = 16;
    // The most points a computed curve takes at full sampling: a spline with more intervals than
    // this allows takes fewer samples per interval (at least one), so that its outline stays in
    // proportion to its control points.
    static constexpr int kMaxCurvePoints = 1 << 20;
    // kSamplesPerInterval, or fewer when that many would pass kMaxCurvePoints.
    static int SamplesPerInterval(int intervals);

    ~MSplineShapeBase() override;
    bool HasFiniteValues() const override;

    // The control points while PointEditFlag is set (a bad index raises the invalid-argument
    // exception), else the 8 extent handles.
    int GetHandleCount() const override;
    MFloatPoint GetHandle(int index) const override;
    void MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect* rect = nullptr) override;
    void ScaleBy(const MShapeScale& scale) override;
    // The curve moves as it is; no rebuild.
    void Move(const MFloatPoint& offset) override;
    // Only the control points, as end points (kind 1).
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override;
    // An exact spline copy whatever PointEditFlag says.
    MCadShape* Clone() const override;
    void MirrorX(double x, double y) override;
    void MirrorY(double x, double y) override;
    void Rotate(double cx, double cy, double angle) override;
    // On the control points, by the polygon's rule; nothing with fewer than 2 of them.
    void InsertVertex(int edgeIndex) override;
    // Refused (silently) with 2 or fewer control points.
    void DeleteVertex(int index) override;

    // Own operations; each change of a control point recomputes the curve.
    void AddControlPoint(const MFloatPoint& p);
    // The last three do nothing without a control point.
    void SetLastControlPoint(const MFloatPoint& p);
    void MoveLastControlPoint(const MFloatPoint& p);
    void RemoveLastControlPoint();
    // A bad index raises the invalid-argument exception.
    void SetControlPoint(int index, double x, double y);
    MFloatPoint GetControlPoint(int index) const;
    int GetControlPointCount() const { return m_controlPoints.GetSize(); }
    const MFloatPointArray& GetControlPoints() const { return m_controlPoints; }
    // Replaces all control points.
    void SetControlPoints(const MFloatPointArray& points);

    // Rebuilds the sampled outline from the control points.
    virtual void RecomputeCurve() = 0;
    // Rebuilds knots, parameters and coefficients. A degenerate set (fewer than two distinct
    // points, or chords too short to form parameters) leaves no knots.
    void BuildSpline();
    // The curve point at parameter x; the loop wraps x into its period. The first knot (or the
    // origin) when nothing is built.
    MFloatPoint EvaluateSpline(double x) const;

    int GetKnotCount() const { return m_knots.GetSize(); }
    const MFloatPointArray& GetKnots() const { return m_knots; }
    const std::vector<double>& GetParams() const { return m_params; }

protected:
    MSplineShapeBase(BOOL loop);

    // Samples the built curve: count points at 0, 1/step, 2/step, ... (accumulated).
    void SampleCurve(int count, int divisions);
    // Knots, parameters and coefficients agree.
    bool IsBuilt() const;
    // The cubic of interval i (from knot i to knot i + 1) at x, also beyond its ends.
    MFloatPoint EvaluateInterval(int i, double x) const;

    // Control points without consecutive repeats; the loop's closed by the first point again.
    MFloatPointArray m_knots;
    // Knot parameters from 0 to 1.
    std::vector<double> m_params;
    // Per knot, the second derivative divided by 6, for x and y.
    std::vector<MFloatPoint> m_coeffs;
    // The points the user placed: the only stored geometry.
    MFloatPointArray m_controlPoints;

private:
    void SolveOpen();
    void SolveLoop();
    void ClearSpline();

    const bool m_loop;
};
