// The polygon tool: the continuous line's chain, committed as one closed polygon.
#pragma once

#include "tools/line/ContLineTool.h"

class MPolygonTool : public MContLineTool {
public:
    explicit MPolygonTool(int toolId);

    MCadShape* NewShape(MTessarayView* view) override;
    void OnNumericInput(MTessarayView* view) override;
    void OnDecide(MTessarayView* view) override;
    // The line tool's line: a TAB, the lock length and the lock angle, a line end.
    void SaveSettings(std::ostream& os) override { MLineTool::SaveSettings(os); }
    void LoadSettings(std::istream& is) override { MLineTool::LoadSettings(is); }
};
