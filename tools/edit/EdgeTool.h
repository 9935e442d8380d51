// The chamfer: a line across the corner of two picked lines, through the cursor or cutting fixed
// lengths off them, the lines trimmed or lengthened to its ends.
#pragma once

#include "tools/LockedValueTool.h"
#include "tools/edit/FilletChamferTool.h"

// The fixed lengths and their settings line, where a length that does not read keeps the one
// before. The dialog is on the program-wide chamfer values (GetChamferEntry).
class MEdgeTool : public MLockedValueTool<MFilletChamferTool> {
public:
    explicit MEdgeTool(int toolId);
    void OnNumericInput(MTessarayView* view) override;

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
