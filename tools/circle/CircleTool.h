// The circle tool: a circle from its centre and a radius point, or with one click once the radius
// is fixed by numeric input. "接する" takes the line or circle under the snapped cursor as a shape
// the circle must touch: picked before the centre the circle follows the pointer touching it; up to
// two more picked after the centre construct the circle touching them, the pick points choosing
// among the solutions (TangentCircles.h).
#pragma once

#include <iosfwd>
#include <optional>

#include "tools/DrawTool.h"
#include "tools/LockedValueTool.h"
#include "tools/circle/TangentCircles.h"

// The fixed radius (dialog 130, OK fixes it; a radius not above 0 is refused and the dialog stays
// open) and its settings line: a radius that is missing, not finite or not above 0 reads as 100.
class MCircleTool : public MLockedValueTool<MDrawTool> {
public:
    explicit MCircleTool(int toolId);

    void Reset() override;
    MCadShape* NewShape(MTessarayView* view) override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    // Touch on a snapped shape the circle can touch.
    unsigned GetConstraintModes() override;
    void OnConstraintMode(MTessarayView* view, MConstraintMode mode) override;

    // The shape a touch can take: a line with a direction or a circle (arcs and sectors as their
    // full circles), and not one the circle already touches; null otherwise.
    virtual MCadShape* FilterTouchShape(MCadShape* shape);

    double GetRadius() const { return m_radius; }
    BOOL IsRadiusFixed() const { return m_radiusFixed; }

    static constexpr double kDefaultRadius = 100.0;

private:
    struct Touch {
        MCadShape* shape = nullptr;
        MFloatPoint pick;
    };
    static std::optional<MTouchShape> Read(const Touch& touch);

    BOOL m_radiusFixed = FALSE;
    double m_radius = kDefaultRadius;
    MFloatPoint m_centre;
    // The document's shapes, held only until the next reset: the view ends the tool before
    // anything could delete them.
    Touch m_touchA;  // picked before the centre
    Touch m_touchB;  // the first after it
    Touch m_touchC;  // the second after it
};
