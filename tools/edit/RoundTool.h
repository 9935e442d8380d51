// The fillet: an arc tangent to two picked lines, through the cursor or of a fixed radius, the
// lines trimmed or lengthened to its tangent points.
#pragma once

#include "tools/edit/FilletChamferTool.h"

class MRoundTool : public MFilletChamferTool {
public:
    explicit MRoundTool(int toolId);
    void OnNumericInput(MTessarayView* view) override;
    BOOL IsConstrained() override { return m_fixedRadius; }
    void ReleaseConstraint() override;
    void SaveSettings(std::ostream& os) override;
    void LoadSettings(std::istream& is) override;

    double GetRadius() const { return m_radius; }
    BOOL HasFixedRadius() const { return m_fixedRadius; }

protected:
    MCadShape* NewCornerShape() override;
    bool Follow(const MFloatPoint& q) override;
    bool HasFixedValue() const override { return m_fixedRadius; }

private:
    double m_radius = 100.0;
    BOOL m_fixedRadius = FALSE;
};
