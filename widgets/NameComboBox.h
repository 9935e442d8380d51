// A combo box for a name (the font of the text toolbar): it keeps the last committed name, commits
// the shown text on Enter, on a choice from the list and when it loses the focus, and tells its
// owner (the parent when it has none) with NM_RETURN. Escape shows the committed name again.
#pragma once

#include <string>

#include "platform/ui/Controls.h"

using CString = std::string;

class MNameComboBox : public CComboBox {
public:
    // Stores and shows the name without telling anybody.
    void SetName(const CString& name);
    // Shows the text, then commits it.
    void SetText(const CString& text);
    const CString& GetName() const { return m_name; }
    // The shown text becomes the name; the owner is told.
    void Commit();

    BOOL OnReflectedCommand(int nCode) override;
    UINT PreTranslateKeyDown(UINT nChar, UINT nFlags) override;

private:
    CString m_name;
};
