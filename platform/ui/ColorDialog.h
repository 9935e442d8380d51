// The common colour dialog: a start colour, the user's choice, and 16 custom colours that the
// caller keeps (m_cc.lpCustColors) and gets back changed, whether the dialog was confirmed or not.
// It stands on the toolkit's colour dialog. Under a DialogRunner it is recorded as dialog IDD and
// answered by its script: DialogScript::ChooseColor, or Cancel.
#pragma once

#include "platform/gdi/GdiTypes.h"
#include "platform/ui/Dialog.h"

struct CHOOSECOLOR {
    COLORREF rgbResult = 0;
    // 16 colours owned by the caller; null for none.
    COLORREF* lpCustColors = nullptr;
    DWORD Flags = 0;
};

class CColorDialog : public CDialog {
public:
    // The id under which scripts and records know the dialog (the system's colour dialog template).
    static constexpr UINT IDD = 10;
    static constexpr int kCustomColors = 16;

    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);

    int DoModal() override;
    // The chosen colour (the start colour until one is chosen).
    COLORREF GetColor() const { return m_cc.rgbResult; }
    void SetCurrentColor(COLORREF clr) { m_cc.rgbResult = clr & 0xFFFFFF; }

    CHOOSECOLOR m_cc;

private:
    CWnd* m_pParent;
};
