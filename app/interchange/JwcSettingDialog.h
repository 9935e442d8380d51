// Dialog 261 "JW_CAD読込設定": the widths (tenths of a millimetre) and colours of JW_CAD's pens 1-6,
// asked before a drawing or parts file is imported and kept in the profile section "JWC".
#pragma once

#include <functional>

#include "interchange/JwcPenSettings.h"
#include "platform/ui/Dialog.h"

class MJWCSettingDialog : public CDialog {
public:
    explicit MJWCSettingDialog(CWnd* pParent = nullptr);

    // What a colour button asks for a new colour: TRUE with the chosen colour. The default opens the
    // toolkit's colour dialog; tests install their own.
    using ColorChooser = std::function<BOOL(COLORREF& color, CWnd* parent)>;
    static ColorChooser SetColorChooser(ColorChooser chooser);

    // The values shown on entry and chosen on OK.
    MJWCPenSettings m_settings;

protected:
    BOOL OnInitDialog() override;
    // Takes the values and stores all twelve in the profile.
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void OnColorButton(int index);
    void OnDefault();
    void ShowColor(int index);
};

// The prompt of the JW_CAD import through this dialog on the main window.
class MJWCSettingDialogPrompt : public MJWCSettingPrompt {
public:
    BOOL AskPenSettings(MJWCPenSettings& settings) override;
};

// Text of a colour button: "#RRGGBB", or "なし" for no colour.
std::string FormatPenColor(COLORREF color);
