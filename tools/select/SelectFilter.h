// The select filter: the kinds of shapes the select tool may pick while the filter is on. The
// kinds are chosen in a dialog and kept in the application profile under "SELECT\Filter".
#pragma once

#include <vector>

#include "platform/WinTypes.h"

class MCadShape;

class MSelectFilter {
public:
    // Every kind the shape factory makes.
    MSelectFilter();

    // The shape when the filter is off or its kind is chosen, else null.
    MCadShape* Admit(MCadShape* shape) const;
    void Toggle() { m_on = !m_on; }
    BOOL IsOn() const { return m_on; }
    // The chosen kinds' type ids.
    std::vector<unsigned int>& Kinds() { return m_kinds; }
    // The kinds stored in the profile; FALSE (nothing read) without an application.
    BOOL LoadStoredKinds();
    // The dialog over the kinds: OK takes the ticked ones and stores them.
    void ChooseKinds();

private:
    std::vector<unsigned int> m_kinds;
    BOOL m_on = FALSE;
};
