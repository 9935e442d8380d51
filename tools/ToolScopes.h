// The tools' paired calls as scopes, so that no path forgets the second half.
#pragma once

#include <exception>

class CDC;
class MDrawTool;
class MTessarayDoc;
class MTessarayView;

// Erases the tool's XOR tracker for the scope and draws it again at its end, so that the state may
// change in between. Scopes nest: only the outermost erases and draws. When an exception leaves the
// scope the tracker is not drawn: the tool is then reset and the view repainted.
class MTrackerScope {
public:
    MTrackerScope(MDrawTool& tool, MTessarayView* view, CDC* dc);
    ~MTrackerScope() noexcept(false);
    MTrackerScope(const MTrackerScope&) = delete;
    MTrackerScope& operator=(const MTrackerScope&) = delete;

private:
    MDrawTool& m_tool;
    MTessarayView* m_view;
    CDC* m_dc;
    int m_exceptions;
};

// One user operation's undo pack. Open() opens it before the first change (an operation that
// changes nothing leaves the undo and redo rings alone); the end of the scope pushes whatever pack
// is open, while an exception leaving the scope rolls the open pack back instead.
class MUndoScope {
public:
    MUndoScope(MTessarayDoc* doc, MTessarayView* view);
    ~MUndoScope();
    MUndoScope(const MUndoScope&) = delete;
    MUndoScope& operator=(const MUndoScope&) = delete;

    void Open();

private:
    MTessarayDoc* m_doc;
    MTessarayView* m_view;
    int m_exceptions;
};
