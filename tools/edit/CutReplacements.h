// Edits that cut shapes of the drawing into pieces (partial erase, trim): each original with the
// pieces that take its place, handed to one commit so that every piece lands in its own original's
// place and on its layer, whatever was erased whole beside it.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "model/geometry/FloatPoint.h"

class MCadShape;
class MDrawTool;
class MTessarayView;

class MCutReplacements {
public:
    // The original (a shape of the drawing on `layer`) goes; its pieces (none: erased whole) come
    // in its place, the first one where it was.
    void Replace(MCadShape* original, int layer, std::vector<std::unique_ptr<MCadShape>> pieces);
    bool IsEmpty() const { return m_entries.empty(); }
    // The originals and pieces into the tool's lists, then its commit: one undo step. The number of
    // shapes handed over; nothing is recorded when nothing was collected. With select the new
    // shapes become the tool's picks.
    int Commit(MDrawTool& tool, MTessarayView* view, BOOL select = FALSE);

private:
    struct Entry {
        MCadShape* original = nullptr;
        int layer = -1;
        std::vector<std::unique_ptr<MCadShape>> pieces;
    };
    std::vector<Entry> m_entries;
};

// A piece of a line or outline through the points of `run` (at least two) with the source's colour,
// width and line style: two points make a line, more an open polyline without fill. An end that is
// the source's own end (the same bits) keeps its arrow head; an end made by a cut gets none.
std::unique_ptr<MCadShape> MakeRunPiece(const MCadShape& source, std::span<const MFloatPoint> run);
