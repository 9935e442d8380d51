#include "tools/ToolScopes.h"

#include "document/TessarayDoc.h"
#include "tools/DrawTool.h"
#include "view/TessarayView.h"

MTrackerScope::MTrackerScope(MDrawTool& tool, MTessarayView* view, CDC* dc)
    : m_tool(tool), m_view(view), m_dc(dc), m_exceptions(std::uncaught_exceptions()) {
    if (m_tool.Tracker().Hide()) m_tool.DrawTracker(m_view, m_dc);
}

MTrackerScope::~MTrackerScope() noexcept(false) {
    if (m_tool.Tracker().Show() && std::uncaught_exceptions() <= m_exceptions)
        m_tool.DrawTracker(m_view, m_dc);
}
