// Dialog 261 "JW_CAD読込設定": the widths (tenths of a millimetre) and colours of JW_CAD's pens 1-6,
// asked before a drawing or parts file is imported and kept in the profile section "JWC".
#pragma once

#include "interchange/JwcPenSettings.h"
#include "platform/ui/Dialog.h"
#include "widgets/ColorButtons.h"

class MJWCSettingDialog : public CDialog {
public:
    explicit MJWCSettingDialog(CWnd* pParent = nullptr);

    // The values shown on entry and chosen on OK.
    MJWCPenSettings m_settings;

protected:
    // Takes the values and stores all twelve in the profile.
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void OnDefault();

    // The pens' colours, each chosen from the palette, "無色" or the colour dialog.
    MLineColorButton m_colorButtons[MJWCPenSettings::kPens];
};

// The prompt of the JW_CAD import through this dialog on the main window.
class MJWCSettingDialogPrompt : public MJWCSettingPrompt {
public:
    BOOL AskPenSettings(MJWCPenSettings& settings) override;
};
