// The radius and diameter dimension tools: pick a circle, arc or sector, then click where the
// dimension points (and, without the automatic text position, where its text stands).
#pragma once

#include <string>

#include "tools/DrawTool.h"

class MCircleSizeShape;

// What the two share; the subclasses give the dimension, the leader and the flags.
class MCircleDimensionTool : public MDrawTool {
public:
    MCircleDimensionTool(int toolId, UINT stepPromptsId, UINT pickPromptsId);

    BOOL HasSettings() const override { return TRUE; }
    void ReleaseConstraint() override;
    UINT GetPickTraits() override {
        return kPickTraitsDefault | (Lists().PickCount() == 0 ? kPicking : kNoPickTrait);
    }
    // Circles, arcs and sectors.
    MCadShape* FilterPickTarget(MCadShape* shape) override;
    // The dimension of the picked circle, pointing along +x, its text placed automatically.
    MCadShape* NewShape(MTessarayView* view) override;
    // Step 0: the dimension points at q; its release completes it.
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    BOOL CanNumericInput() override { return TRUE; }

    std::string m_text = "Text";
    BOOL m_userText = FALSE;

protected:
    virtual MCircleSizeShape* NewDimension() const = 0;
    // The text's distance from the centre with the cursor at distance from it.
    virtual double TextDistance(double radius, double distance) const = 0;
    // The flags beyond the user-text bit.
    virtual int PlacementFlags() const { return 0; }
    MCircleSizeShape* Shape() const;
    // After the numeric entry's OK: the new dimension takes the tool's text and the style the
    // option button may have changed.
    void AfterNumericInput(MTessarayView* view);
};

class MRadiusTool : public MCircleDimensionTool {
public:
    // Sets the program-wide placement of radius dimensions to its start values.
    explicit MRadiusTool(int toolId);

    void OnNumericInput(MTessarayView* view) override;
    // A line TAB autoTextPosition noOvershoot overshootFromCentre; a line TAB text.
    void SaveSettings(std::ostream& os) override;
    void LoadSettings(std::istream& is) override;

protected:
    MCircleSizeShape* NewDimension() const override;
    double TextDistance(double radius, double distance) const override;
    int PlacementFlags() const override;
};

class MDiameterTool : public MCircleDimensionTool {
public:
    explicit MDiameterTool(int toolId);

    void OnNumericInput(MTessarayView* view) override;
    // A line TAB autoTextPosition; a line TAB text.
    void SaveSettings(std::ostream& os) override;
    void LoadSettings(std::istream& is) override;

protected:
    MCircleSizeShape* NewDimension() const override;
    double TextDistance(double radius, double distance) const override;
};
