// The gradation dialog, scripted: loading and returning fills, the editing reactions and their
// limits, "更新" on its fill button, and the ramp and preview it paints.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/Profile.h"
#include "platform/gdi/DC.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/SliderCtrl.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/ControlsTestSupport.h"
#include "widgets/GradationDialog.h"

using namespace controlstest;

namespace {

constexpr double kPi = std::numbers::pi;
using D = MGradationDialog;

// What the running dialog shows.
struct Shown {
    int type = -1;
    std::string angle, centerX, centerY;
    int middleOn = -1;
    int slider = -1;
    BOOL sliderEnabled = FALSE;
    COLORREF start = 1, end = 1, middle = 1;
};

DialogScript::Step Look(Shown* out) {
    return [out](CDialog& d) {
        out->type = d.GetCheckedRadioButton(D::kLine, D::kCircle) - D::kLine;
        out->angle = d.GetDlgItemText(D::kAngle);
        out->centerX = d.GetDlgItemText(D::kCenterX);
        out->centerY = d.GetDlgItemText(D::kCenterY);
        out->middleOn = static_cast<int>(d.IsDlgButtonChecked(D::kMiddleOn));
        auto* slider = d.GetDlgItemAs<CSliderCtrl>(D::kMiddlePosition);
        out->slider = slider ? slider->GetPos() : -2;
        out->sliderEnabled = slider ? slider->IsWindowEnabled() : FALSE;
        out->start = d.GetDlgItemAs<MLineColorButton>(D::kStartColor)->GetColor();
        out->end = d.GetDlgItemAs<MLineColorButton>(D::kEndColor)->GetColor();
        out->middle = d.GetDlgItemAs<MLineColorButton>(D::kMiddleColor)->GetColor();
    };
}

class GradationDialogTest : public ::testing::Test {
protected:
    void SetUp() override { previousProfile = AfxSetProfile(CreateMemoryProfile()); }
    void TearDown() override { AfxSetProfile(std::move(previousProfile)); }
    std::unique_ptr<CProfile> previousProfile;
    DialogRunner runner;
    MessageBoxRecorder messages;
};

TEST_F(GradationDialogTest, APlainOrEmptyFillOpensWithTheDefaults) {
    for (const MFillStyle& fill : {MFillStyle(0x123456), MFillStyle()}) {
        Shown shown;
        runner.Script(D::IDD, DialogScript().Do(Look(&shown)).Ok());
        MGradationDialog dialog(nullptr);
        dialog.SetFill(fill);
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(shown.type, 0);
        EXPECT_EQ(shown.angle, "0");
        EXPECT_EQ(shown.centerX, "50");
        EXPECT_EQ(shown.centerY, "50");
        EXPECT_EQ(shown.middleOn, 0);
        EXPECT_EQ(shown.slider, 50);
        EXPECT_FALSE(shown.sliderEnabled);
        EXPECT_EQ(shown.start, 0u);
        EXPECT_EQ(shown.end, 0xFFFFFFu);
        EXPECT_EQ(shown.middle, 0x808080u);
        MFillStyle out;
        dialog.GetFill(out);
        EXPECT_EQ(out, MFillStyle(kFillLinear, 0.0, 0x000000, 0xFFFFFF));
    }
}

TEST_F(GradationDialogTest, AThreeColourFillGoesInAndComesBackUpToTheSlidersWholePercent) {
    const MFillStyle fill(kFillSquare, 0.5, 0.3, 0.7, 0x0000FF, 0x00FF00, 0xFF0000, 0.255);
    Shown shown;
    runner.Script(D::IDD, DialogScript().Do(Look(&shown)).Ok());
    MGradationDialog dialog(nullptr);
    dialog.SetFill(fill);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(shown.type, 1);
    EXPECT_EQ(shown.slider, 25);  // 25.5 percent, truncated
    EXPECT_TRUE(shown.sliderEnabled);
    EXPECT_EQ(shown.middleOn, 1);
    EXPECT_EQ(shown.centerX, "30");
    EXPECT_EQ(shown.start, 0x0000FFu);
    EXPECT_EQ(shown.middle, 0x00FF00u);
    EXPECT_EQ(shown.end, 0xFF0000u);
    MFillStyle out;
    dialog.GetFill(out);
    EXPECT_EQ(out.GetKind(), kFillSquare);
    ASSERT_EQ(out.GetColorCount(), 3);
    EXPECT_EQ(out.GetColor(0), 0x0000FFu);
    EXPECT_EQ(out.GetColor(1), 0x00FF00u);
    EXPECT_EQ(out.GetColor(2), 0xFF0000u);
    EXPECT_NEAR(out.GetAngle(), 0.5, 1e-12);
    EXPECT_NEAR(out.GetCenterX(), 0.3, 1e-12);
    EXPECT_NEAR(out.GetCenterY(), 0.7, 1e-12);
    EXPECT_DOUBLE_EQ(out.GetMiddle(), 0.25);
}

TEST_F(GradationDialogTest, OkWithoutTheMiddleBoxGivesTwoColoursEvenWithAMiddleColourChosen) {
    runner.ScriptPopupMenu(1 + 4);  // green, for the middle colour button
    runner.Script(
        D::IDD,
        DialogScript().SetCheck(D::kMiddleOn, 1).Click(D::kMiddleColor).SetCheck(D::kMiddleOn, 0).Ok());
    MGradationDialog dialog(nullptr);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_middleColor, 0x00FF00u);
    MFillStyle out;
    dialog.GetFill(out);
    EXPECT_EQ(out.GetColorCount(), 2);
    EXPECT_EQ(out, MFillStyle(kFillLinear, 0.0, 0x000000, 0xFFFFFF));
}

TEST_F(GradationDialogTest, AnglesBeyondAThousandBecomeNineHundredNinetyNine) {
    std::string high, low;
    double preview = 0;
    runner.Script(D::IDD, DialogScript()
                              .SetText(D::kAngle, "2000")
                              .Read(D::kAngle, &high)
                              .Do([&](CDialog& d) { preview = static_cast<D&>(d).Preview().m_angle; })
                              .SetText(D::kAngle, "-1500")
                              .Read(D::kAngle, &low)
                              .Ok());
    MGradationDialog dialog(nullptr);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(high, "999");
    EXPECT_EQ(low, "-999");
    EXPECT_DOUBLE_EQ(preview, 999 * kPi / 180);
    EXPECT_DOUBLE_EQ(dialog.m_angle, -999);
}

TEST_F(GradationDialogTest, TextsThatAreNoFiniteNumberLeaveThePreviewAndAreRefused) {
    MFaceColorButton owner;
    CWnd parent;
    parent.Create(nullptr, 0);
    ASSERT_TRUE(owner.Create(&parent, CRect(0, 0, 40, 20), 1270, 500));
    double angle = -1, centerX = -1;
    runner.Script(D::IDD, DialogScript()
                              .SetText(D::kAngle, "30")
                              .SetText(D::kAngle, "nan")
                              .SetText(D::kCenterX, "inf")
                              .Do([&](CDialog& d) {
                                  angle = static_cast<D&>(d).Preview().m_angle;
                                  centerX = static_cast<D&>(d).Preview().m_centerX;
                              })
                              .Click(D::kApply)
                              .Ok());
    MGradationDialog dialog(&owner);
    EXPECT_NE(dialog.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(angle, 30 * kPi / 180);
    EXPECT_DOUBLE_EQ(centerX, 0.5);
    EXPECT_TRUE(runner.Dialogs().back().leftOpen);
    EXPECT_EQ(messages.Messages().size(), 2u);         // "更新" and OK both refused the angle
    EXPECT_EQ(owner.GetFillStyle(), MFillStyle(255));  // nothing reached the button
}

TEST_F(GradationDialogTest, ApplyGivesTheOwnerButtonTheFillAndItsClickWithoutClosing) {
    struct Owner : CWnd {
        Owner() {
            Commands().OnNotify(NM_CLICK, 1270, [this](NMHDR*, LRESULT*) { ++clicks; });
        }
        int clicks = 0;
    } parent;
    parent.Create(nullptr, 0);
    MFaceColorButton button;
    ASSERT_TRUE(button.Create(&parent, CRect(0, 0, 40, 20), 1270, 500));
    int kindWhileOpen = 0;
    BOOL running = FALSE;
    runner.Script(D::IDD, DialogScript()
                              .Click(D::kCircle)
                              .Click(D::kApply)
                              .Do([&](CDialog& d) {
                                  kindWhileOpen = button.GetFillStyle().GetKind();
                                  running = d.IsRunning();
                              })
                              .Cancel());
    MGradationDialog dialog(&button);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(kindWhileOpen, kFillCircular);
    EXPECT_TRUE(running);
    EXPECT_EQ(parent.clicks, 1);
    EXPECT_EQ(button.GetFillStyle().GetKind(), kFillCircular);  // Cancel takes nothing back
}

TEST_F(GradationDialogTest, FillsAFileMayHoldOpenAsTheDialogCanShowThem) {
    MGradationDialog odd(nullptr);
    odd.SetFill(MFillStyle(0x1FF, 1.0, 0x0000FF, 0xFF0000));
    EXPECT_EQ(odd.m_type, 0);  // kind 0x1FF would give type 255: no radio button, kind 511 back
    EXPECT_EQ(odd.m_startColor, 0x0000FFu);
    Shown shown;
    runner.Script(D::IDD, DialogScript().Do(Look(&shown)).Ok());
    ASSERT_EQ(odd.DoModal(), IDOK);
    EXPECT_EQ(shown.type, 0);
    MFillStyle out;
    odd.GetFill(out);
    EXPECT_EQ(out.GetKind(), kFillLinear);

    MGradationDialog far(nullptr);
    far.SetFill(MFillStyle(kFillLinear, 0.0, 0, 0xFF, 0xFFFF, 5.0));
    EXPECT_EQ(far.m_middlePosition, 100);
    MGradationDialog below(nullptr);
    below.SetFill(MFillStyle(kFillLinear, 0.0, 0, 0xFF, 0xFFFF, -2.0));
    EXPECT_EQ(below.m_middlePosition, 0);
    MGradationDialog broken(nullptr);
    MFillStyle nan(kFillSquare, std::nan(""), std::nan(""), 0.25, 0, 0xFF, 0xFFFF, std::nan(""));
    broken.SetFill(nan);
    EXPECT_EQ(broken.m_angle, 0.0);
    EXPECT_EQ(broken.m_centerX, 50.0);
    EXPECT_EQ(broken.m_centerY, 25.0);
    EXPECT_EQ(broken.m_middlePosition, 50);
}

TEST_F(GradationDialogTest, TheSliderMovesTheMiddleOfRampAndPreview) {
    double ramp = -1, preview = -1;
    runner.Script(D::IDD, DialogScript()
                              .SetCheck(D::kMiddleOn, 1)
                              .MoveSlider(D::kMiddlePosition, 25)
                              .Do([&](CDialog& d) {
                                  ramp = static_cast<D&>(d).Ramp().Colors().middle;
                                  preview = static_cast<D&>(d).Preview().Colors().middle;
                              })
                              .Ok());
    MGradationDialog dialog(nullptr);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(ramp, 0.25);
    EXPECT_DOUBLE_EQ(preview, 0.25);
    MFillStyle out;
    dialog.GetFill(out);
    ASSERT_EQ(out.GetColorCount(), 3);
    EXPECT_DOUBLE_EQ(out.GetMiddle(), 0.25);
    EXPECT_EQ(out.GetColor(1), 0x808080u);
}

// ----- the ramp and the preview -----------------------------------------------------------------

int Runs(CDC& dc, int y, int width) {
    int runs = 1;
    for (int x = 1; x < width; ++x)
        runs += dc.GetPixel(x, y) != dc.GetPixel(x - 1, y);
    return runs;
}

TEST(GradationRamp, ThirtyTwoBandsFromStartToEnd) {
    CDC dc;
    dc.CreateImageDC(256, 8);
    GradationColors colors;
    colors.start = 0x000000;
    colors.end = 0xFFFFFF;
    DrawGradationRamp(&dc, CRect(0, 0, 256, 8), colors);
    EXPECT_EQ(Runs(dc, 4, 256), 32);
    EXPECT_EQ(dc.GetPixel(0, 0), 0x000000u);
    EXPECT_EQ(dc.GetPixel(8, 7), 0x080808u);  // 255 / 31, truncated
    EXPECT_EQ(dc.GetPixel(255, 4), 0xFFFFFFu);
}

TEST(GradationRamp, TheMiddleColourLiesAtTheMiddlePosition) {
    CDC dc;
    dc.CreateImageDC(256, 8);
    GradationColors colors;
    colors.middleOn = TRUE;
    colors.middle = 0.25;
    colors.start = 0x0000FF;
    colors.middleColor = 0x00FF00;
    colors.end = 0xFF0000;
    DrawGradationRamp(&dc, CRect(0, 0, 256, 8), colors);
    // 16 bands of 4 pixels up to a quarter of the width, then 16 of 12.
    EXPECT_EQ(dc.GetPixel(0, 4), 0x0000FFu);
    EXPECT_EQ(dc.GetPixel(60, 4), 0x00FF00u);
    EXPECT_EQ(dc.GetPixel(64, 4), 0x00FF00u);
    EXPECT_EQ(dc.GetPixel(75, 4), 0x00FF00u);
    EXPECT_NE(dc.GetPixel(59, 4), 0x00FF00u);
    EXPECT_NE(dc.GetPixel(76, 4), 0x00FF00u);
    EXPECT_EQ(dc.GetPixel(255, 4), 0xFF0000u);
    EXPECT_EQ(Runs(dc, 4, 256), 31);  // the two middle bands meet
}

TEST(GradationPreview, ThePreviewDrawsTheGradationOfItsType) {
    CWnd parent;
    parent.Create(nullptr, 0);
    MGradationWindow preview;
    ASSERT_TRUE(preview.Create("", BS_OWNERDRAW, CRect(0, 0, 64, 64), &parent, D::kPreview));
    preview.Colors().start = 0x0000FF;
    preview.Colors().end = 0xFF0000;
    preview.m_type = 2;  // a circle about the centre
    preview.m_centerX = preview.m_centerY = 0.5;
    auto dc = PaintItem(preview, 0, ODA_DRAWENTIRE, 0, 64, 64);
    // The start colour (red) at the centre, the end colour (blue) at the rim.
    const COLORREF rim = dc->GetPixel(1, 1), middle = dc->GetPixel(32, 32);
    EXPECT_GT(GetBValue(rim), 200);
    EXPECT_GT(GetRValue(middle), 200);
}

}  // namespace
