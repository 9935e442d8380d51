// Dialog 252 "グラデーション": a gradation fill's type (line, rectangle, circle), its two or three
// colours, the middle colour's position, the angle and the centre, with a live ramp and preview.
// Opened by a fill colour button ("ｸﾞﾗﾃﾞｰｼｮﾝ..."), its owner: "更新" gives the owner the fill
// without closing.
#pragma once

#include "model/FillStyle.h"
#include "platform/ui/Dialog.h"
#include "widgets/ColorButtons.h"
#include "widgets/GradationPreview.h"

class MGradationDialog : public CDialog {
public:
    static constexpr UINT IDD = 252;
    enum : int {
        kPreview = 1279,
        kStartColor = 1280,
        kEndColor = 1281,
        kLine = 1282,
        kRectangle = 1283,
        kCircle = 1284,
        kAngle = 1285,
        kRamp = 1288,
        kMiddleColor = 1289,
        kMiddleOn = 1290,
        kMiddlePosition = 1291,
        kAngleSpin = 1292,
        kCenterXSpin = 1293,
        kCenterX = 1044,
        kCenterY = 1045,
        kCenterYSpin = 1107,
        kApply = 3
    };

    explicit MGradationDialog(CWnd* pOwner);

    // Loads a gradation fill (anything else leaves the defaults). Values a file may hold that the
    // dialog cannot show fall back: a type outside 0..2 opens as the line, the middle position is
    // kept within 0..100, and values that are not finite numbers take their defaults.
    void SetFill(const MFillStyle& fill);
    // The fill of the dialog's type, angle and centre with the preview's colours.
    void GetFill(MFillStyle& out) const;

    // Dialog values (type 0 line, 1 rectangle, 2 circle; degrees; percent).
    int m_type = 0;
    double m_angle = 0.0;
    double m_centerX = 50.0;
    double m_centerY = 50.0;
    int m_middleOn = 0;
    int m_middlePosition = 50;
    COLORREF m_startColor = 0;
    COLORREF m_endColor = 0xFFFFFF;
    COLORREF m_middleColor = 0x808080;

    // The previews, as they stand now.
    const MGradationBar& Ramp() const { return m_ramp; }
    const MGradationWindow& Preview() const { return m_preview; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;

private:
    void OnMiddleOn();
    void OnColor(int id);
    void OnType(int type);
    void OnCenterChange(int id);
    void OnAngleChange();
    void OnApply();
    void RepaintPreviews(bool ramp);

    CWnd* m_owner;
    MLineColorButton m_startButton, m_endButton, m_middleButton;
    MGradationBar m_ramp;
    MGradationWindow m_preview;
};
