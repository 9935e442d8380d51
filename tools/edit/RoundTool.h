// The fillet: an arc tangent to two picked lines, through the cursor or of a fixed radius, the
// lines trimmed or lengthened to its tangent points.
#pragma once

#include "tools/LockedValueTool.h"
#include "tools/edit/FilletChamferTool.h"

// The fixed radius (dialog, OK fixes it) and its settings line, where a radius that does not read
// keeps the one before.
class MRoundTool : public MLockedValueTool<MFilletChamferTool> {
public:
    explicit MRoundTool(int toolId);

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
