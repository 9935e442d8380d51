#include "app/interchange/JwcSettingDialog.h"

#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/WinApp.h"
#include "resources/ResourceIds.h"

MJWCSettingDialog::MJWCSettingDialog(CWnd* pParent) : CDialog(IDD_JWC_SETTINGS, pParent) {
    Commands().OnCommand(IDC_PEN_DEFAULTS, [this] { OnDefault(); });
}

void MJWCSettingDialog::DoDataExchange(CDataExchange* pDX) {
    for (int i = 0; i < MJWCPenSettings::kPens; ++i) {
        DDX_Text(pDX, IDC_PEN1_WIDTH + i, m_settings.widths[i]);
        DDV_MinMaxInt(pDX, m_settings.widths[i], 0, MJWCPenSettings::kMaxWidth);
    }
    for (int i = 0; i < MJWCPenSettings::kPens; ++i) {
        DDX_Control(pDX, IDC_PEN1_COLOR + i, m_colorButtons[i]);
        if (pDX->m_bSaveAndValidate)
            m_settings.colors[i] = m_colorButtons[i].GetColor();
        else
            m_colorButtons[i].SetColor(m_settings.colors[i]);
    }
}

void MJWCSettingDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    m_settings.Save(AfxGetProfile());
    EndDialog(IDOK);
}

void MJWCSettingDialog::OnDefault() {
    m_settings.SetDefaults();
    UpdateData(FALSE);
}

BOOL MJWCSettingDialogPrompt::AskPenSettings(MJWCPenSettings& settings) {
    MJWCSettingDialog dialog(AfxGetMainWnd());
    dialog.m_settings = settings;
    if (dialog.DoModal() != IDOK) return FALSE;
    settings = dialog.m_settings;
    return TRUE;
}
