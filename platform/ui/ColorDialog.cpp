#include "platform/ui/ColorDialog.h"

#include <QColor>
#include <QColorDialog>

#include "platform/Strings.h"
#include "platform/gdi/QtGdi.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/detail/WndImpl.h"

namespace {
QColor ToQ(COLORREF c) {
    return ToQColor(c & 0xFFFFFF);
}
COLORREF FromQ(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}
}  // namespace

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
    : CDialog(IDD, pParentWnd), m_pParent(pParentWnd) {
    m_cc.rgbResult = clrInit & 0xFFFFFF;
    m_cc.Flags = dwFlags;
    // What a script works on: the colour set by ChooseColor, OK and Cancel.
    CDialog::RegisterTemplate(IDD, {{DlgOp::Dialog, static_cast<int>(IDD), "色の設定", 0, 0, 0},
                                    {DlgOp::Buttons, kIdStatic, nullptr, 0, 0, 0},
                                    {DlgOp::DefPushButton, kIdOk, "OK", 0, 0, 0},
                                    {DlgOp::PushButton, kIdCancel, "ｷｬﾝｾﾙ", 0, 0, 0},
                                    {DlgOp::EndDialog, kIdStatic, nullptr, 0, 0, 0}});
}

int CColorDialog::DoModal() {
    if (DialogRunner::Active()) return CDialog::DoModal();
    QColorDialog dialog(ToQ(m_cc.rgbResult), ui_detail::DialogParent(m_pParent));
    if (m_cc.lpCustColors)
        for (int i = 0; i < kCustomColors; ++i)
            QColorDialog::setCustomColor(i, ToQ(m_cc.lpCustColors[i]));
    int result = IDCANCEL;
    {
        const CModalLoopScope modal;
        if (dialog.exec() == QDialog::Accepted) {
            m_cc.rgbResult = FromQ(dialog.selectedColor());
            result = IDOK;
        }
    }
    if (m_cc.lpCustColors)
        for (int i = 0; i < kCustomColors; ++i)
            m_cc.lpCustColors[i] = FromQ(QColorDialog::customColor(i));
    return result;
}
