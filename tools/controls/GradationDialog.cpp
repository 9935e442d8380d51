#include "tools/controls/GradationDialog.h"

#include <algorithm>
#include <cmath>

#include "model/geometry/Geometry.h"
#include "platform/TextFile.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/SliderCtrl.h"

namespace {

constexpr COLORREF kNoGradationColor = static_cast<COLORREF>(-1);

double FiniteOr(double value, double fallback) {
    return std::isfinite(value) ? value : fallback;
}

}  // namespace

MGradationDialog::MGradationDialog(CWnd* pOwner) : CDialog(IDD, pOwner), m_owner(pOwner) {
    Commands().OnCommand(kMiddleOn, [this] { OnMiddleOn(); });
    for (int id : {kStartColor, kEndColor, kMiddleColor})
        Commands().OnNotify(NM_CLICK, static_cast<UINT>(id), [this, id](NMHDR*, LRESULT*) { OnColor(id); });
    Commands().OnCommand(kLine, [this] { OnType(0); });
    Commands().OnCommand(kRectangle, [this] { OnType(1); });
    Commands().OnCommand(kCircle, [this] { OnType(2); });
    Commands().OnControl(EN_CHANGE, kCenterX, [this] { OnCenterChange(kCenterX); });
    Commands().OnControl(EN_CHANGE, kCenterY, [this] { OnCenterChange(kCenterY); });
    Commands().OnControl(EN_CHANGE, kAngle, [this] { OnAngleChange(); });
    Commands().OnCommand(kApply, [this] { OnApply(); });
}

void MGradationDialog::SetFill(const MFillStyle& fill) {
    const int kind = fill.GetKind();
    if (fill.IsNone() || kind == kFillPlain || !(kind & 0x100) || fill.GetColorCount() < 2 ||
        fill.GetColor(0) == kNoGradationColor)
        return;
    // A kind with more bits than the three types (0x1FF from a file) has no radio button.
    m_type = kind - kFillLinear;
    if (m_type < 0 || m_type > 2) m_type = 0;
    if (m_type != 2) m_angle = FiniteOr(fill.GetAngle() * 180 / kPi, 0.0);
    if (m_type != 0) {
        m_centerX = FiniteOr(fill.GetCenterX() * 100, 50.0);
        m_centerY = FiniteOr(fill.GetCenterY() * 100, 50.0);
    }
    if (fill.GetColorCount() >= 3) {
        m_middleOn = 1;
        // The slider holds 0..100: a middle of 5.0 would otherwise give bands of negative width.
        m_middlePosition = static_cast<int>(std::clamp(FiniteOr(fill.GetMiddle() * 100, 50.0), 0.0, 100.0));
        m_startColor = fill.GetColor(0);
        m_middleColor = fill.GetColor(1);
        m_endColor = fill.GetColor(2);
    } else {
        m_middleOn = 0;
        m_middlePosition = 50;
        m_startColor = fill.GetColor(0);
        m_endColor = fill.GetColor(1);
    }
}

void MGradationDialog::GetFill(MFillStyle& out) const {
    const int kind = kFillLinear + std::clamp(m_type, 0, 2);
    const double angle = m_angle / 180 * kPi;
    const double cx = m_centerX * 0.01, cy = m_centerY * 0.01;
    const GradationColors& c = m_preview.Colors();
    if (c.middleOn)
        out = MFillStyle(kind, angle, cx, cy, c.start, c.middleColor, c.end, c.middle);
    else
        out = MFillStyle(kind, angle, cx, cy, c.start, c.end);
}

void MGradationDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, kStartColor, m_startButton);
    DDX_Control(pDX, kEndColor, m_endButton);
    DDX_Control(pDX, kMiddleColor, m_middleButton);
    DDX_Control(pDX, kRamp, m_ramp);
    DDX_Control(pDX, kPreview, m_preview);
    DDX_Radio(pDX, kLine, m_type);
    DDX_Text(pDX, kAngle, m_angle);
    DDX_Text(pDX, kCenterX, m_centerX);
    DDX_Text(pDX, kCenterY, m_centerY);
    DDX_Check(pDX, kMiddleOn, m_middleOn);
    DDX_Slider(pDX, kMiddlePosition, m_middlePosition);
}

BOOL MGradationDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    m_startButton.SetColor(m_startColor);
    m_endButton.SetColor(m_endColor);
    m_middleButton.SetColor(m_middleColor);
    const GradationColors colors{m_middleOn ? TRUE : FALSE, m_middlePosition / 100.0, m_startColor,
                                 m_endColor, m_middleColor};
    m_ramp.Colors() = colors;
    m_preview.Colors() = colors;
    if (auto* slider = GetDlgItemAs<CSliderCtrl>(kMiddlePosition)) {
        slider->SetRange(0, 100);
        slider->SetPos(m_middlePosition);
    }
    if (auto* spin = GetDlgItemAs<CSpinButtonCtrl>(kAngleSpin)) spin->SetRange32(-999, 999);
    for (int id : {kCenterXSpin, kCenterYSpin})
        if (auto* spin = GetDlgItemAs<CSpinButtonCtrl>(id)) spin->SetRange32(0, 100);
    m_preview.m_type = m_type;
    m_preview.m_centerX = m_centerX / 100;
    m_preview.m_centerY = m_centerY / 100;
    m_preview.m_angle = m_angle * kPi / 180;
    OnMiddleOn();
    return TRUE;
}

void MGradationDialog::OnMiddleOn() {
    const bool on = IsDlgButtonChecked(kMiddleOn) == BST_CHECKED;
    m_middleOn = on ? 1 : 0;
    m_middleButton.EnableWindow(on);
    if (CWnd* slider = GetDlgItem(kMiddlePosition)) slider->EnableWindow(on);
    m_ramp.Colors().middleOn = on;
    m_preview.Colors().middleOn = on;
    if (on && m_middleButton.GetColor() != kNoGradationColor) {
        m_middleColor = m_middleButton.GetColor();
        m_ramp.Colors().middleColor = m_middleColor;
        m_preview.Colors().middleColor = m_middleColor;
    }
    RepaintPreviews(true);
}

void MGradationDialog::OnColor(int id) {
    MLineColorButton& button = id == kStartColor ? m_startButton
                               : id == kEndColor ? m_endButton
                                                 : m_middleButton;
    const COLORREF color = button.GetColor();
    if (color == kNoGradationColor) return;
    COLORREF& value = id == kStartColor ? m_startColor : id == kEndColor ? m_endColor : m_middleColor;
    value = color;
    for (GradationColors* c : {&m_ramp.Colors(), &m_preview.Colors()})
        (id == kStartColor ? c->start : id == kEndColor ? c->end : c->middleColor) = color;
    RepaintPreviews(true);
}

void MGradationDialog::OnType(int type) {
    m_type = type;
    m_preview.m_type = type;
    RepaintPreviews(false);
}

void MGradationDialog::OnCenterChange(int id) {
    if (!m_preview.IsWindow()) return;
    // "nan" and "inf" read as numbers: such a text leaves the preview as it was.
    const double value = AtoF(GetDlgItemText(id));
    if (!std::isfinite(value)) return;
    (id == kCenterX ? m_preview.m_centerX : m_preview.m_centerY) = value * 0.01;
    RepaintPreviews(false);
}

void MGradationDialog::OnAngleChange() {
    double value = AtoF(GetDlgItemText(kAngle));
    // NaN passes both limits below: a text that is no finite number changes nothing.
    if (!std::isfinite(value)) return;
    if (value > 1000) {
        value = 999;
        SetDlgItemText(kAngle, FormatG(value));
    } else if (value < -1000) {
        value = -999;
        SetDlgItemText(kAngle, FormatG(value));
    }
    m_preview.m_angle = value * kPi / 180;
    RepaintPreviews(false);
}

void MGradationDialog::OnHScroll(UINT, UINT, CScrollBar*) {
    auto* slider = GetDlgItemAs<CSliderCtrl>(kMiddlePosition);
    if (!slider) return;
    m_middlePosition = slider->GetPos();
    m_ramp.Colors().middle = m_middlePosition / 100.0;
    m_preview.Colors().middle = m_middlePosition / 100.0;
    RepaintPreviews(true);
}

void MGradationDialog::OnApply() {
    // The data exchange refuses what is no number, so nothing of it reaches the fill.
    if (!UpdateData(TRUE)) return;
    if (auto* button = dynamic_cast<MFaceColorButton*>(m_owner)) {
        MFillStyle fill;
        GetFill(fill);
        button->ApplyFill(fill);
    }
}

void MGradationDialog::RepaintPreviews(bool ramp) {
    if (ramp && m_ramp.IsWindow()) m_ramp.Invalidate();
    if (m_preview.IsWindow()) m_preview.Invalidate();
}
