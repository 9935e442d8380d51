#include "tools/edit/TrimTool.h"

#include <memory>
#include <vector>

#include "model/geometry/Trim.h"
#include "model/shapes/lines/LineShape.h"
#include "resources/ResourceIds.h"
#include "tools/edit/CutReplacements.h"

MTrimTool::MTrimTool(int toolId) : MDrawTool(toolId) {
    LoadPrompt(0, IDS_TRIM_PICKS);
}

MCadShape* MTrimTool::FilterPickTarget(MCadShape* shape) {
    return dynamic_cast<MLineShape*>(shape);
}

void MTrimTool::PickAt(MTessarayView* view, double x, double y, UINT) {
    std::vector<MFloatSegment> lines;
    lines.reserve(static_cast<std::size_t>(Lists().PickCount()));
    for (int i = 0; i < Lists().PickCount(); ++i) {
        const auto* line = static_cast<const MLineShape*>(Lists().Pick(i));
        lines.push_back({line->m_start, line->m_end});
    }
    const std::vector<MTrimOutcome> outcomes = TrimLines(lines, Tracker().Anchor(), MFloatPoint(x, y));
    MCutReplacements pieces;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (!outcomes[i].changed) continue;
        const int pick = static_cast<int>(i);
        MCadShape* line = Lists().Pick(pick);
        std::vector<std::unique_ptr<MCadShape>> made;
        for (const MFloatSegment& s : outcomes[i].pieces) {
            const MFloatPoint run[2] = {s.start, s.end};
            made.push_back(MakeRunPiece(*line, run));
        }
        pieces.Replace(line, Lists().PickLayer(pick), std::move(made));
    }
    Lists().ClearPicks();
    pieces.Commit(*this, view);
    Reset();
}
