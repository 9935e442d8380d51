// The angle dimension tools. MAngleTool: a centre, a start point, an end point (or a fixed angle)
// and, without the automatic text position, the text's direction. MLineAngleTool: two picked lines
// and the side of the cursor, which chooses the arc between the rays that holds it.
#pragma once

#include <string>

#include "tools/dimension/LinePairTool.h"

class MAngleShape;

class MAngleTool : public MDrawTool {
public:
    explicit MAngleTool(int toolId);

    void ReleaseConstraint() override;
    MCadShape* NewShape(MTessarayView* view) override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    BOOL IsStepPointSound() override;
    BOOL CanNumericInput() override { return TRUE; }
    void OnNumericInput(MTessarayView* view) override;

    BOOL m_userText = FALSE;
    BOOL m_fixedAngle = FALSE;
    double m_angle = 0.0;  // degrees
    std::string m_text;

private:
    MAngleShape* Shape() const;

    MFloatPoint m_centre;
    double m_start = 0.0;  // radians
    double m_radius = 0.0;
    double m_sweep = 0.0;  // radians, counter-clockwise from the start
    double m_textAngle = 0.0;
};

class MLineAngleTool : public MLinePairTool {
public:
    explicit MLineAngleTool(int toolId);

    void ReleaseConstraint() override;
    UINT GetPickTraits() override {
        return kPickTraitsDefault | (Lists().PickCount() < 2 ? kPicking : kNoPickTrait);
    }
    // The dimension of the two picks; lines that do not cross reset the tool.
    int CreateAndAddShape(MTessarayView* view) override;
    // Step 0: the radius and the side; step 1: the text's direction.
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    BOOL IsStepPointSound() override;
    BOOL CanNumericInput() override { return TRUE; }
    void OnNumericInput(MTessarayView* view) override;

    BOOL m_userText = FALSE;
    std::string m_text;

    static constexpr double kDefaultRadius = 50.0;

private:
    MAngleShape* Shape() const;

    MPickedLineRays m_rays;
    double m_radius = kDefaultRadius;
};
