// The ellipse tools: an axis-parallel ellipse by its centre and two radii, or by two opposite
// corners of its bounding box (or one click with a fixed size and the point of the box it gives).
#pragma once

#include <iosfwd>

#include "tools/DrawTool.h"
#include "tools/LockedValueTool.h"

class MEllipseShape;

// What both share: the shape, and a finished ellipse with a radius of (almost) 0 is not committed,
// since the ellipse shape counts as valid whenever its outline does and would enter the drawing
// as a doubled line.
class MEllipseToolBase : public MLockedValueTool<MDrawTool> {
public:
    using MLockedValueTool::MLockedValueTool;
    MCadShape* NewShape(MTessarayView* view) override;
    void DecideAndReset(MTessarayView* view) override;

    static constexpr double kDefaultRadius = 100.0;

protected:
    MEllipseShape* Shape() const;
};

// The fixed radii (dialog 156; a ticked radius not above 0 is refused and the dialog stays open)
// and their settings line, rx and ry: a radius not finite or not above 0 reads as 100.
class MEllipseTool : public MEllipseToolBase {
public:
    explicit MEllipseTool(int toolId);

    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;

    double GetRx() const { return m_entry.rx; }
    double GetRy() const { return m_entry.ry; }
    BOOL IsRxFixed() const { return m_entry.rxFixed; }
    BOOL IsRyFixed() const { return m_entry.ryFixed; }

private:
    struct Entry {
        double rx;
        double ry;
        BOOL rxFixed;
        BOOL ryFixed;
    };
    Entry m_entry{kDefaultRadius, kDefaultRadius, FALSE, FALSE};
    double m_currentRx = 0.0;
    MFloatPoint m_centre;
};

// The size and its anchor (dialog 157, 0 ... 8, row by row from the top left; OK fixes the size).
// The radii are checked on OK only, so that a bad value loaded from a drawing does not greet the
// user as the dialog opens.
class MEllipseExtentTool : public MEllipseToolBase {
public:
    explicit MEllipseExtentTool(int toolId);

    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    // One line: rx, ry, anchor.
    void SaveSettings(std::ostream& os) override;
    // A radius not finite or not above 0 reads as 100, an anchor outside 0 ... 8 as 0.
    void LoadSettings(std::istream& is) override;

    double GetRx() const { return m_entry.rx; }
    double GetRy() const { return m_entry.ry; }
    int GetAnchor() const { return m_entry.anchor; }

protected:
    void AddDialogExtras(MNumericEntryDialog& dialog) override;
    // An anchor outside 0 ... 8 takes nothing.
    bool AcceptLockedValues() override;

private:
    struct Entry {
        double rx;
        double ry;
        // The point of the bounding box a click gives: 3 x 3, row by row from the top left.
        int anchor;
    };
    Entry m_entry{kDefaultRadius, kDefaultRadius, 0};
    int m_anchorShown = 0;
    MFloatPoint m_corner1;
    BOOL m_sizeFixed = FALSE;
};
