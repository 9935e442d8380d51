// The base of the tools that edit picked straight lines: they pick lines only, where the user
// clicked (a snap onto an end point or a crossing must not change which line or which side is
// meant), and their copies keep the picked lines' attributes.
#pragma once

#include "model/geometry/LineEdit.h"
#include "tools/DrawTool.h"

class MLineShape;

class MLineEditTool : public MDrawTool {
public:
    explicit MLineEditTool(int toolId) : MDrawTool(toolId) {}

    MCadShape* FilterPickTarget(MCadShape* shape) override;
    // Picks at the unsnapped press point.
    int OnPickAt(MTessarayView* view, double x, double y, UINT flags) override;
    // The copies keep their own attributes; a shape the tool makes gets them when it is made.
    void ApplyAttributes(MTessarayView*) override {}
    // With m_rightButtonEnds and picks the right button ends the tool's work (drops the picks);
    // otherwise it opens the menu.
    void OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) override;

    static MLineEnds EndsOf(const MCadShape* line);
    // A copy of the line (colour, width, style, arrows) with other ends.
    static MLineShape* CopyWithEnds(const MCadShape* line, const MLineEnds& ends);

protected:
    // Pick `index` replaced by the two pieces of a cut, each keeping only the arrow of its own end.
    void AddCutPieces(int index, const MLineCut& cut);

    BOOL m_rightButtonEnds = FALSE;
};
