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
