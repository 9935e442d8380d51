// Trim: one dragged rectangle tidies the ends of the straight lines it touches. Overshoots are cut
// back and gaps closed at the lines' meeting points, lines inside are split where the crossed lines
// meet them; the pieces keep the style and layer of their line, all in one undo step.
#pragma once

#include "tools/DrawTool.h"

class MTrimTool : public MDrawTool {
public:
    explicit MTrimTool(int toolId);
    // Every shape the band touches, whatever the program-wide pick mode says.
    UINT GetPickTraits() override { return kPicking | kPickByRect | kMarkPicks | kBandTakesCrossing; }
    WORD GetSnapFlags(MTessarayView*) override { return 0; }
    MCadShape* FilterPickTarget(MCadShape* shape) override;
    void ApplyAttributes(MTessarayView*) override {}
    void PickAt(MTessarayView* view, double x, double y, UINT flags) override;
};
