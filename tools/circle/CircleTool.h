// The circle tool: a circle from its centre and a radius point, or with one click once the radius
// is fixed by numeric input. "接する" takes the line or circle under the snapped cursor as a shape
// the circle must touch: picked before the centre the circle follows the pointer touching it; up to
// two more picked after the centre construct the circle touching them, the pick points choosing
// among the solutions (TangentCircles.h).
#pragma once

#include <iosfwd>
#include <optional>

#include "tools/DrawTool.h"
#include "tools/circle/TangentCircles.h"
#include "tools/input/NumericEntryDialog.h"

class MCircleTool : public MDrawTool {
public:
    explicit MCircleTool(int toolId);

    BOOL HasSettings() const override { return TRUE; }
    void Reset() override;
    void ReleaseConstraint() override;
    MCadShape* NewShape(MTessarayView* view) override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    BOOL CanNumericInput() override { return TRUE; }
    void OnNumericInput(MTessarayView* view) override;
    BOOL IsConstrained() override { return m_radiusFixed; }
    BOOL CanTouch() override;
    void OnTouch(MTessarayView* view) override;
    // One line: a TAB, the radius in its shortest exact form, a line end.
    void SaveSettings(std::ostream& os) override;
    // A radius that is missing, not a number, not finite or not above 0 reads as 100.
    void LoadSettings(std::istream& is) override;

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

// The fixed radius: a radius not above 0 is refused and the dialog stays open.
class MInputCircleDialog : public MNumericEntryDialog {
public:
    MInputCircleDialog(MTessarayView* view, double* radius, BOOL* keepValues);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
