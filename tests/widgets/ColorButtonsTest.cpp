// The colour buttons: their menus through the runner, the choice coming back to the button alone,
// the colour dialog with the profile's custom colours, fills and gradations, and their pictures.
#include <gtest/gtest.h>

#include "platform/Profile.h"
#include "platform/ui/ColorDialog.h"
#include "platform/ui/DialogRunner.h"
#include "tests/widgets/ControlsTestSupport.h"
#include "widgets/ColorButtons.h"
#include "widgets/ColorPalette.h"

using namespace controlstest;

namespace {

constexpr UINT kButtonId = 1269;
constexpr COLORREF kFace = 0xC0C0C0;
constexpr COLORREF kShadow = 0x808080;

// The owner of the buttons: records every command and notification that reaches its route.
class Spy : public CWnd {
public:
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
        if (!pHandlerInfo && nCode == CN_COMMAND) commands.push_back(nID);
        if (!pHandlerInfo && nCode == CN_NOTIFY(NM_CLICK)) clicks.push_back(nID);
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    std::vector<UINT> commands;
    std::vector<UINT> clicks;
};

class ColorButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousProfile = AfxSetProfile(CreateMemoryProfile());
        owner.Create(nullptr, 0);
        ASSERT_TRUE(line.Create(&owner, CRect(0, 0, 46, 22), kButtonId, 1000));
        ASSERT_TRUE(face.Create(&owner, CRect(0, 30, 46, 52), 1270, 500));
    }
    void TearDown() override { AfxSetProfile(std::move(previousProfile)); }

    // The flags of the popup's item with the command, as the runner saw it after the update.
    static UINT Flags(const DialogRunner& runner, UINT id) {
        for (const auto& item : runner.Popups().back().items)
            if (item.id == id && !(item.flags & MF_SEPARATOR)) return item.flags;
        return ~0u;
    }
    static int CheckedCount(const DialogRunner& runner) {
        int n = 0;
        for (const auto& item : runner.Popups().back().items)
            n += (item.flags & MF_CHECKED) != 0;
        return n;
    }

    std::unique_ptr<CProfile> previousProfile;
    Spy owner;
    MLineColorButton line;
    MFaceColorButton face;
};

TEST_F(ColorButtonTest, ALineButtonsMenuHasThePaletteInColumnsThenNoColourAndOther) {
    EXPECT_EQ(line.GetFirstId(), 1000u);
    EXPECT_EQ(line.GetLastId(), 1063u);
    DialogRunner runner;
    line.SetColor(0xFF8C8C);
    line.Click();
    ASSERT_EQ(runner.Popups().size(), 1u);
    const auto& items = runner.Popups()[0].items;
    ASSERT_EQ(items.size(), 67u);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(items[static_cast<std::size_t>(i)].id, 1000u + static_cast<UINT>(i));
        EXPECT_EQ((items[static_cast<std::size_t>(i)].flags & MF_MENUBREAK) != 0, i > 0 && i % 8 == 0);
    }
    EXPECT_EQ(items[64].flags & (MF_SEPARATOR | MF_MENUBARBREAK), MF_SEPARATOR | MF_MENUBARBREAK);
    EXPECT_EQ(items[65].id, 200u);
    EXPECT_EQ(items[65].text, "無色");
    EXPECT_EQ(items[66].id, 299u);
    EXPECT_EQ(items[66].text, "その他...");
    EXPECT_NE(Flags(runner, 1013), ~0u);
    EXPECT_NE(Flags(runner, 1013) & MF_CHECKED, 0u);  // the current colour
    EXPECT_EQ(CheckedCount(runner), 1);
    EXPECT_TRUE(owner.clicks.empty());  // dismissed: nothing happened
}

TEST_F(ColorButtonTest, NoColourIsCheckedAndAColourOutsideThePaletteChecksNothing) {
    DialogRunner runner;
    line.SetColor(kNoColor);
    line.Click();
    EXPECT_NE(Flags(runner, 200) & MF_CHECKED, 0u);
    EXPECT_EQ(CheckedCount(runner), 1);
    line.SetColor(0x123456);  // from "その他..."
    line.Click();
    EXPECT_EQ(CheckedCount(runner), 0);  // not even the separator, whose id is 0
}

TEST_F(ColorButtonTest, AChoiceSetsTheColourAndNotifiesTheOwnerOnly) {
    DialogRunner runner;
    runner.ScriptPopupMenu(1000 + 13);
    line.Click();
    EXPECT_EQ(line.GetColor(), 0xFF8C8Cu);
    EXPECT_EQ(owner.clicks, std::vector<UINT>{kButtonId});
    runner.ScriptPopupMenu(200);
    line.Click();
    EXPECT_EQ(line.GetColor(), kNoColor);
    EXPECT_EQ(owner.clicks.size(), 2u);
    // "無色" is the button's own: the owner's route never sees command 200 (the palette's black).
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(ColorButtonTest, OtherRunsTheColourDialogWithTheProfilesCustomColours) {
    CProfile& profile = AfxGetProfile();
    profile.WriteProfileInt("ColorDialog", "3", 0x00AA00);
    profile.WriteProfileInt("ColorDialog", "4", -5);
    profile.WriteProfileInt("ColorDialog", "5", 0x7FFFFFFF);
    DialogRunner runner;
    COLORREF start = 1, custom3 = 0, custom4 = 0, custom5 = 0, custom6 = 0;
    auto look = [&](CDialog& d) {
        auto& dialog = dynamic_cast<CColorDialog&>(d);
        start = dialog.GetColor();
        custom3 = dialog.m_cc.lpCustColors[3];
        custom4 = dialog.m_cc.lpCustColors[4];
        custom5 = dialog.m_cc.lpCustColors[5];
        custom6 = dialog.m_cc.lpCustColors[6];
        dialog.m_cc.lpCustColors[7] = 0x010203;  // the user defines a custom colour
    };
    runner.ScriptPopupMenu(299);
    runner.Script(CColorDialog::IDD, DialogScript().Do(look).ChooseColor(0x336699));
    line.SetColor(kNoColor);
    line.Click();
    EXPECT_EQ(start, 0u);  // no colour starts black
    EXPECT_EQ(custom3, 0x00AA00u);
    EXPECT_EQ(custom4, 0xFFFFFFu);  // a damaged value is no colour: white
    EXPECT_EQ(custom5, 0xFFFFFFu);
    EXPECT_EQ(custom6, 0xFFFFFFu);  // missing: the default
    EXPECT_EQ(line.GetColor(), 0x336699u);
    EXPECT_EQ(owner.clicks.size(), 1u);
    EXPECT_EQ(profile.GetProfileInt("ColorDialog", "7", -1), 0x010203);
    EXPECT_EQ(profile.GetProfileInt("ColorDialog", "4", -1), 0xFFFFFF);

    // Cancel keeps the colour, tells nobody, and still writes the 16 colours back as they were.
    profile.DeleteSection("ColorDialog");
    runner.ScriptPopupMenu(299);
    runner.Script(CColorDialog::IDD, DialogScript().Do(look).Cancel());
    line.Click();
    EXPECT_EQ(start, 0x336699u);
    EXPECT_EQ(line.GetColor(), 0x336699u);
    EXPECT_EQ(owner.clicks.size(), 1u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(profile.GetProfileInt("ColorDialog", std::to_string(i), -1), i == 7 ? 0x010203 : 0xFFFFFF)
            << i;
}

TEST_F(ColorButtonTest, AFillButtonHoldsNoFillPlainColoursAndGradations) {
    EXPECT_EQ(face.GetColor(), 255u);
    DialogRunner runner;
    runner.ScriptPopupMenu(300);
    face.Click();
    EXPECT_TRUE(face.GetFillStyle().IsNone());
    EXPECT_EQ(face.GetColor(), kNoColor);
    EXPECT_NE(Flags(runner, 300), ~0u);
    EXPECT_EQ(Flags(runner, 398) & MF_CHECKED, 0u);
    EXPECT_EQ(runner.Popups().back().items.back().text, "ｸﾞﾗﾃﾞｰｼｮﾝ...");

    // 398 on no fill: there is no first colour to start from; black, and no crash.
    COLORREF start = 1;
    runner.ScriptPopupMenu(398);
    runner.Script(CColorDialog::IDD,
                  DialogScript()
                      .Do([&](CDialog& d) { start = dynamic_cast<CColorDialog&>(d).GetColor(); })
                      .ChooseColor(0x00FF00));
    face.Click();
    EXPECT_EQ(start, 0u);
    EXPECT_NE(Flags(runner, 300) & MF_CHECKED, 0u);  // it was no fill when the menu opened
    EXPECT_EQ(face.GetFillStyle(), MFillStyle(0x00FF00));

    runner.ScriptPopupMenu(399);
    runner.Script(252, DialogScript().Click(1283).Ok());
    face.Click();
    EXPECT_NE(Flags(runner, 500 + 4) & MF_CHECKED, 0u);  // green, the palette rule
    EXPECT_EQ(face.GetFillStyle().GetKind(), kFillSquare);
    EXPECT_EQ(face.GetColor(), static_cast<COLORREF>(-1));
    EXPECT_EQ(owner.clicks, (std::vector<UINT>{1270, 1270, 1270}));

    runner.ScriptPopupMenu(0);
    face.Click();
    EXPECT_NE(Flags(runner, 399) & MF_CHECKED, 0u);
    EXPECT_EQ(CheckedCount(runner), 1);
    runner.ScriptPopupMenu(500 + 2);
    face.Click();
    EXPECT_EQ(face.GetFillStyle(), MFillStyle(0x0000FF));
}

// ----- pictures ---------------------------------------------------------------------------------

std::unique_ptr<CDC> Paint(CButton& button, UINT state = 0, int width = 46, int height = 22) {
    return PaintItem(button, 0, ODA_DRAWENTIRE, state, width, height);
}

TEST_F(ColorButtonTest, TheSwatchShowsTheColourBesideTheButtonsPicture) {
    line.SetColor(0x0000FF);
    auto dc = Paint(line);
    EXPECT_EQ(dc->GetPixel(0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));  // the raised frame
    EXPECT_EQ(dc->GetPixel(45, 21), GetSysColor(COLOR_3DDKSHADOW));
    // Picture 1269 fills the 16 x 15 at the top left inside the frame; the swatch starts after it.
    EXPECT_GT(CountOther(*dc, kFace, 2, 2, 18, 17), 20);
    EXPECT_EQ(dc->GetPixel(19, 3), kShadow);     // the swatch's frame: 2 + 16 + 1
    EXPECT_EQ(dc->GetPixel(31, 11), 0x0000FFu);  // its centre
    EXPECT_EQ(dc->GetPixel(21, 5), 0x0000FFu);   // inside by 2
    EXPECT_EQ(CountColor(*dc, 0x0000FFu, 0, 0, 18, 22), 0);
    // Without a picture of its id the swatch takes the whole inside.
    MLineColorButton plain;
    ASSERT_TRUE(plain.Create(&owner, CRect(0, 60, 46, 82), 4711, 1));
    plain.SetColor(0x0000FF);
    auto whole = Paint(plain);
    EXPECT_EQ(whole->GetPixel(3, 3), kShadow);
    EXPECT_EQ(whole->GetPixel(6, 6), 0x0000FFu);
}

TEST_F(ColorButtonTest, CreatedAsAPlainPushButtonItStillDrawsItsSwatch) {
    MLineColorButton plain;
    CButton& asButton = plain;
    ASSERT_TRUE(asButton.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 60, 46, 82), &owner, 4712));
    EXPECT_EQ(plain.GetButtonStyle() & 0xFu, static_cast<UINT>(BS_OWNERDRAW));
    plain.SetColor(0x00FF00);
    auto dc = Paint(plain);
    EXPECT_EQ(dc->GetPixel(23, 11), 0x00FF00u);
}

TEST_F(ColorButtonTest, NoColourShowsACrossAndOddValuesShowNothingInside) {
    line.SetColor(kNoColor);
    auto dc = Paint(line, 0, 60, 30);
    // Swatch (19, 3) - (57, 27), its inside (21, 5) - (55, 25): outlined black, crossed.
    EXPECT_EQ(dc->GetPixel(21, 15), kBlack);
    EXPECT_EQ(dc->GetPixel(38, 8), kFace);                      // the face between the diagonals
    EXPECT_GT(CountColor(*dc, kBlack, 23, 7, 53, 23), 2 * 14);  // the diagonals
    line.SetColor(0x1000001);
    auto frameOnly = Paint(line, 0, 60, 30);
    EXPECT_EQ(frameOnly->GetPixel(19, 3), kShadow);
    EXPECT_EQ(CountOther(*frameOnly, kFace, 20, 4, 56, 26), 0);
    line.SetColor(static_cast<COLORREF>(-1));
    auto nothing = Paint(line, 0, 60, 30);
    EXPECT_EQ(CountOther(*nothing, kFace, 19, 3, 57, 27), 0);
}

TEST_F(ColorButtonTest, ADisabledButtonEmbossesItsSwatchAndAPushedOneIsSunken) {
    line.SetColor(0x0000FF);
    auto dc = Paint(line, ODS_DISABLED);
    EXPECT_EQ(CountColor(*dc, 0x0000FFu, 0, 0, 46, 22), 0);
    EXPECT_EQ(dc->GetPixel(31, 11), kShadow);  // the inked swatch in the shadow colour
    auto pushed = Paint(line, ODS_SELECTED);
    EXPECT_EQ(pushed->GetPixel(0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(pushed->GetPixel(31, 11), 0x0000FFu);
}

TEST_F(ColorButtonTest, AFillSwatchShowsItsGradationsEndsAndNoFillAsACross) {
    face.SetFillStyle(MFillStyle(kFillLinear, 0.0, 0x0000FF, 0xFF0000));
    auto dc = Paint(face, 0, 86, 22);
    // The swatch's inside runs from x = 21 to 80: red at its left end, blue at its right.
    const COLORREF left = dc->GetPixel(21, 11), right = dc->GetPixel(80, 11);
    EXPECT_GT(GetRValue(left), 200);
    EXPECT_LT(GetBValue(left), 50);
    EXPECT_GT(GetBValue(right), 200);
    EXPECT_LT(GetRValue(right), 50);
    EXPECT_EQ(dc->GetPixel(19, 11), kShadow);  // the gradation stays inside the frame
    EXPECT_EQ(dc->GetPixel(82, 11), kShadow);
    face.SetFillStyle(MFillStyle());
    auto none = Paint(face, 0, 60, 30);
    EXPECT_EQ(none->GetPixel(21, 15), kBlack);
    EXPECT_EQ(none->GetPixel(38, 8), kFace);
    EXPECT_GT(CountColor(*none, kBlack, 23, 7, 53, 23), 2 * 14);
}

}  // namespace
