// The ellipse tools: an axis-parallel ellipse by its centre and two radii, or by two opposite
// corners of its bounding box (or one click with a fixed size and the point of the box it gives).
#pragma once

#include <iosfwd>

#include "tools/DrawTool.h"
#include "tools/circle/CircleDialogs.h"

class MEllipseShape;

// What both share: the shape, and a finished ellipse with a radius of (almost) 0 is not committed,
// since the ellipse shape counts as valid whenever its outline does and would enter the drawing
// as a doubled line.
class MEllipseToolBase : public MDrawTool {
public:
    using MDrawTool::MDrawTool;
    BOOL HasSettings() const override { return TRUE; }
    MCadShape* NewShape(MTessarayView* view) override;
    void DecideAndReset(MTessarayView* view) override;
    BOOL CanNumericInput() override { return TRUE; }

    static constexpr double kDefaultRadius = 100.0;

protected:
    MEllipseShape* Shape() const;
};

class MEllipseTool : public MEllipseToolBase {
public:
    explicit MEllipseTool(int toolId);

    void ReleaseConstraint() override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    void OnNumericInput(MTessarayView* view) override;
    BOOL IsConstrained() override { return m_entry.rxFixed || m_entry.ryFixed; }
    // One line: rx, ry.
    void SaveSettings(std::ostream& os) override;
    // A radius not finite or not above 0 reads as 100.
    void LoadSettings(std::istream& is) override;

    double GetRx() const { return m_entry.rx; }
    double GetRy() const { return m_entry.ry; }

private:
    MInputEllipseDialog::Values m_entry{kDefaultRadius, kDefaultRadius, FALSE, FALSE};
    double m_currentRx = 0.0;
    MFloatPoint m_centre;
};

class MEllipseExtentTool : public MEllipseToolBase {
public:
    explicit MEllipseExtentTool(int toolId);

    void ReleaseConstraint() override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    void OnNumericInput(MTessarayView* view) override;
    BOOL IsConstrained() override { return m_sizeFixed; }
    // One line: rx, ry, anchor.
    void SaveSettings(std::ostream& os) override;
    // A radius not finite or not above 0 reads as 100, an anchor outside 0 ... 8 as 0.
    void LoadSettings(std::istream& is) override;

    double GetRx() const { return m_entry.rx; }
    double GetRy() const { return m_entry.ry; }
    int GetAnchor() const { return m_entry.anchor; }

private:
    // The anchor is the point of the bounding box a click gives: 3 x 3, row by row from the top left.
    MInput2PEllipseDialog::Values m_entry{kDefaultRadius, kDefaultRadius, 0};
    MFloatPoint m_corner1;
    BOOL m_sizeFixed = FALSE;
};
