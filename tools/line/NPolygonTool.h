// The regular polygon tool: the first press fixes the centre and asks for the number of sides and
// the locks (164); the polygon then follows the pointer (radius and direction) until the next
// click. Circumscribed, its vertices lie on the circle; otherwise its edges touch it.
#pragma once

#include <iosfwd>

#include "tools/DrawTool.h"
#include "tools/LockedValueTool.h"

// The locks are radius and angle; the dialog (with the sides between its checks) is its own.
class MNPolygonTool : public MLockedValueTool<MDrawTool> {
public:
    explicit MNPolygonTool(int toolId);

    MCadShape* NewShape(MTessarayView* view) override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    // The dialog of the first press; the shape in progress stays as it is.
    void OnNumericInput(MTessarayView* view) override;
    // One line: a TAB, radius, angle in radians, sides and the circumscribed flag.
    void SaveSettings(std::ostream& os) override;
    // Sides outside 3 ... 10,000 read as 6, a radius not above 0 or not finite as 100, an angle not
    // finite as 0.
    void LoadSettings(std::istream& is) override;

    int GetSides() const { return m_sides; }
    double GetRadius() const { return m_radius; }
    double GetAngle() const { return m_angle; }
    BOOL IsCircumscribed() const { return m_circumscribed; }

    static constexpr int kDefaultSides = 6;
    static constexpr double kDefaultRadius = 100.0;

private:
    // Dialog 164 over the tool's values; FALSE when cancelled.
    BOOL AskValues(MTessarayView* view);
    // The press on the centre: the dialog, then a polygon of the sides chosen; false when cancelled
    // (the construction ends).
    bool TakeCentre(MTessarayView* view, const MFloatPoint& p);
    // The vertices for the pointer at p.
    void PlaceVertices(MTessarayView* view, const MFloatPoint& p);

    MFloatPoint m_centre;
    double m_radius = kDefaultRadius;
    double m_angle = 0.0;
    BOOL m_radiusLocked = FALSE;
    BOOL m_angleLocked = FALSE;
    BOOL m_circumscribed = TRUE;
    int m_sides = kDefaultSides;
};
