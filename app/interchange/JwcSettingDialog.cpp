#include "app/interchange/JwcSettingDialog.h"

#include <QColor>
#include <QColorDialog>
#include <cstdio>

#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/WinApp.h"
#include "resources/ResourceIds.h"

namespace {

BOOL ChooseWithToolkit(COLORREF& color, CWnd* parent) {
    const QColor initial =
        color == kNoColor ? QColor(Qt::white) : QColor(GetRValue(color), GetGValue(color), GetBValue(color));
    const QColor chosen = QColorDialog::getColor(initial, parent ? parent->GetWidget() : nullptr);
    if (!chosen.isValid()) return FALSE;
    color = RGB(chosen.red(), chosen.green(), chosen.blue());
    return TRUE;
}

MJWCSettingDialog::ColorChooser& Chooser() {
    static MJWCSettingDialog::ColorChooser chooser = ChooseWithToolkit;
    return chooser;
}

}  // namespace

std::string FormatPenColor(COLORREF color) {
    if (color >= kNoColor) return "なし";
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

MJWCSettingDialog::ColorChooser MJWCSettingDialog::SetColorChooser(ColorChooser chooser) {
    ColorChooser previous = Chooser();
    Chooser() = chooser ? std::move(chooser) : ColorChooser(ChooseWithToolkit);
    return previous;
}

MJWCSettingDialog::MJWCSettingDialog(CWnd* pParent) : CDialog(IDD_JWC_SETTINGS, pParent) {
    for (int i = 0; i < MJWCPenSettings::kPens; ++i)
        Commands().OnCommand(IDC_PEN1_COLOR + i, [this, i] { OnColorButton(i); });
    Commands().OnCommand(IDC_PEN_DEFAULTS, [this] { OnDefault(); });
}

BOOL MJWCSettingDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int i = 0; i < MJWCPenSettings::kPens; ++i)
        ShowColor(i);
    return TRUE;
}

void MJWCSettingDialog::DoDataExchange(CDataExchange* pDX) {
    for (int i = 0; i < MJWCPenSettings::kPens; ++i) {
        DDX_Text(pDX, IDC_PEN1_WIDTH + i, m_settings.widths[i]);
        DDV_MinMaxInt(pDX, m_settings.widths[i], 0, MJWCPenSettings::kMaxWidth);
    }
}

void MJWCSettingDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    m_settings.Save(AfxGetProfile());
    EndDialog(IDOK);
}

void MJWCSettingDialog::OnColorButton(int index) {
    COLORREF color = m_settings.colors[index];
    if (!Chooser()(color, this)) return;
    m_settings.colors[index] = color;
    ShowColor(index);
}

void MJWCSettingDialog::OnDefault() {
    m_settings.SetDefaults();
    UpdateData(FALSE);
    for (int i = 0; i < MJWCPenSettings::kPens; ++i)
        ShowColor(i);
}

void MJWCSettingDialog::ShowColor(int index) {
    if (CWnd* button = GetDlgItem(IDC_PEN1_COLOR + index))
        button->SetWindowText(FormatPenColor(m_settings.colors[index]));
}

BOOL MJWCSettingDialogPrompt::AskPenSettings(MJWCPenSettings& settings) {
    MJWCSettingDialog dialog(AfxGetMainWnd());
    dialog.m_settings = settings;
    if (dialog.DoModal() != IDOK) return FALSE;
    settings = dialog.m_settings;
    return TRUE;
}
