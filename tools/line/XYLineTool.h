// The XY line: a line whose direction snaps to a multiple of a step (90 degrees unless another is
// chosen), optionally of a fixed length. The lock angle holds the step; there is no angle lock, no
// tangent and no menu direction.
#pragma once

#include "tools/line/LineTool.h"

class MXYLineTool : public MLineTool {
public:
    explicit MXYLineTool(int toolId);

    // The foot of p on the line through p0 whose direction is the multiple of the step nearest the
    // direction of p (halves away from zero). A step not chosen yet becomes 90 degrees here.
    MFloatPoint ProjectPointOnLine(double x0, double y0, double x1, double y1);
    MFloatPoint ConstrainAngleLength(MTessarayView* view, const MFloatPoint& base, MFloatPoint pt,
                                     double length, BOOL bLength, double angle, BOOL bAngle,
                                     UINT flags) override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    void OnNumericInput(MTessarayView* view) override;
    // No mode: its constraint never reads a chosen direction.
    unsigned GetConstraintModes() override { return 0; }
    BOOL ApplyConstraint(MTessarayView* view, int x, int y, MFloatPoint* pt, UINT flags) override;
    void LoadSettings(std::istream& is) override;

    double GetAngleStep() const { return m_lockAngle; }
    // A step that is not finite or is too small to divide by becomes 90 degrees.
    static double SoundStep(double step);
};
