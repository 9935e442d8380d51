// The chamfer: a line across the corner of two picked lines, through the cursor or cutting fixed
// lengths off them, the lines trimmed or lengthened to its ends.
#pragma once

#include "tools/edit/FilletChamferTool.h"

class MEdgeTool : public MFilletChamferTool {
public:
    explicit MEdgeTool(int toolId);
    void OnNumericInput(MTessarayView* view) override;
    BOOL IsConstrained() override { return m_fixedLengths; }
    void ReleaseConstraint() override;
    void SaveSettings(std::ostream& os) override;
    void LoadSettings(std::istream& is) override;

    double GetLength1() const { return m_length1; }
    double GetLength2() const { return m_length2; }

protected:
    MCadShape* NewCornerShape() override;
    bool Follow(const MFloatPoint& q) override;
    bool HasFixedValue() const override { return m_fixedLengths; }

private:
    double m_length1 = 100.0;
    double m_length2 = 100.0;
    BOOL m_fixedLengths = FALSE;
};
