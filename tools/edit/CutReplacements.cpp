#include "tools/edit/CutReplacements.h"

#include "model/ArrowInfo.h"
#include "model/geometry/ReplacementOrder.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "tools/DrawTool.h"

void MCutReplacements::Replace(MCadShape* original, int layer,
                               std::vector<std::unique_ptr<MCadShape>> pieces) {
    m_entries.push_back({original, layer, std::move(pieces)});
}

int MCutReplacements::Commit(MDrawTool& tool, MTessarayView* view, BOOL select) {
    if (m_entries.empty()) return 0;
    std::vector<int> counts;
    counts.reserve(m_entries.size());
    for (const Entry& e : m_entries)
        counts.push_back(static_cast<int>(e.pieces.size()));
    const MReplacementOrder order = OrderReplacements(counts);
    for (int i : order.originals) {
        const Entry& e = m_entries[static_cast<std::size_t>(i)];
        tool.Lists().AddEdited(e.original, e.layer);
    }
    for (const MPieceRef& ref : order.pieces) {
        Entry& e = m_entries[static_cast<std::size_t>(ref.original)];
        std::unique_ptr<MCadShape>& piece = e.pieces[static_cast<std::size_t>(ref.piece)];
        tool.Lists().AddNewExpanded(piece.get(), e.layer);
        piece.release();
    }
    m_entries.clear();
    return tool.CommitPairs(view, order.pairs, select);
}

namespace {

// The source's own ends, or none for a closed outline (it has no arrows).
bool OwnEnds(const MCadShape& source, MFloatPoint* first, MFloatPoint* last) {
    if (const auto* line = dynamic_cast<const MLineShape*>(&source)) {
        *first = line->m_start;
        *last = line->m_end;
        return true;
    }
    const auto* outline = dynamic_cast<const MPolygonShape*>(&source);
    if (!outline || outline->IsClosed() || outline->GetPointCount() < 2) return false;
    *first = outline->GetPoint(0);
    *last = outline->GetPoint(outline->GetPointCount() - 1);
    return true;
}

MArrowInfo RunArrows(const MCadShape& source, std::span<const MFloatPoint> run) {
    MArrowInfo arrows = source.GetArrows();
    MFloatPoint first, last;
    const bool ends = OwnEnds(source, &first, &last);
    if (!ends || run.front() != first) arrows.startStyle = kArrowNone;
    if (!ends || run.back() != last) arrows.endStyle = kArrowNone;
    return arrows;
}

}  // namespace

std::unique_ptr<MCadShape> MakeRunPiece(const MCadShape& source, std::span<const MFloatPoint> run) {
    std::unique_ptr<MCadShape> piece;
    if (run.size() == 2) {
        piece = std::make_unique<MLineShape>(run.front(), run.back());
    } else {
        auto outline = std::make_unique<MPolygonShape>(FALSE);
        for (const MFloatPoint& p : run)
            outline->AddPoint(p);
        piece = std::move(outline);
    }
    piece->CopyStyleFrom(&source);
    piece->SetFillStyle(MFillStyle());
    piece->SetArrows(RunArrows(source, run));
    return piece;
}
