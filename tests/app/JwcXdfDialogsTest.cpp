// The pen settings dialog of the JW_CAD import and the progress window of the XDF import.
#include <gtest/gtest.h>

#include <fstream>

#include "app/interchange/JwcSettingDialog.h"
#include "app/interchange/XdfReadDialog.h"
#include "document/ClassRegistry.h"
#include "document/TessarayDoc.h"
#include "platform/Profile.h"
#include "platform/ui/ColorDialog.h"
#include "platform/ui/DialogRunner.h"
#include "tests/support/TestSupport.h"

namespace {

class JwcSettingDialogTest : public ::testing::Test {
protected:
    void SetUp() override { previousProfile = AfxSetProfile(CreateMemoryProfile()); }
    void TearDown() override { AfxSetProfile(std::move(previousProfile)); }

    // The colour of pen button `id` in the running dialog.
    static DialogScript::Step ReadColor(int id, COLORREF* out) {
        return [id, out](CDialog& d) {
            auto* button = d.GetDlgItemAs<MLineColorButton>(id);
            *out = button ? button->GetColor() : 0xDEADu;
        };
    }

    std::unique_ptr<CProfile> previousProfile;
    MessageBoxRecorder messages;
};

TEST_F(JwcSettingDialogTest, APenColourChosenThroughItsButtonIsStoredOnOk) {
    DialogRunner runner;
    std::string width1;
    COLORREF color2Before = 0, color2After = 0;
    // The button's menu offers "その他...", whose colour dialog answers 0x102030.
    runner.ScriptPopupMenu(MLineColorButton::kOtherColorCommand);
    runner.Script(CColorDialog::IDD, DialogScript().ChooseColor(0x102030));
    runner.Script(261, DialogScript()
                           .Read(1305, &width1)
                           .Do(ReadColor(1281, &color2Before))
                           .SetText(1306, "15")
                           .Click(1281)
                           .Do(ReadColor(1281, &color2After))
                           .Ok());
    MJWCSettingPrompt* previous = SetJWCSettingPrompt(nullptr);
    MJWCSettingDialogPrompt prompt;
    SetJWCSettingPrompt(&prompt);
    MJWCPenSettings settings;
    EXPECT_TRUE(AskJWCPenSettings(settings));
    SetJWCSettingPrompt(previous);

    EXPECT_EQ(width1, "0");
    EXPECT_EQ(color2Before, 0x000000u);
    EXPECT_EQ(color2After, 0x102030u);
    EXPECT_EQ(runner.OpenedIds(), (std::vector<unsigned int>{CColorDialog::IDD, 261}));
    EXPECT_EQ(settings.widths[1], 15);
    EXPECT_EQ(settings.colors[1], 0x102030u);
    EXPECT_EQ(AfxGetProfile().GetProfileInt("JWC", "PENWIDTH2", -1), 15);
    EXPECT_EQ(AfxGetProfile().GetProfileInt("JWC", "PENCOLOR2", -1), 0x102030);
    const COLORREF defaults[] = {0xFFFF00, 0x102030, 0x00FF00, 0x00FFFF, 0xFF00FF, 0xFF0000};
    for (int pen = 1; pen <= 6; ++pen)
        EXPECT_EQ(AfxGetProfile().GetProfileInt("JWC", "PENCOLOR" + std::to_string(pen), -1),
                  static_cast<int>(defaults[pen - 1]));
}

TEST_F(JwcSettingDialogTest, APaletteColourAndNoColourComeFromTheButtonsMenu) {
    DialogRunner runner;
    runner.ScriptPopupMenu(1 + 13);  // the first blue tint
    runner.ScriptPopupMenu(MLineColorButton::kNoColorCommand);
    runner.Script(261, DialogScript().Click(1280).Click(1285).Ok());
    MJWCSettingDialog dialog;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_settings.colors[0], 0xFF8C8Cu);
    EXPECT_EQ(dialog.m_settings.colors[5], kNoColor);
    EXPECT_EQ(AfxGetProfile().GetProfileInt("JWC", "PENCOLOR6", -1), static_cast<int>(kNoColor));
}

TEST_F(JwcSettingDialogTest, DefaultResetsAndCancelKeepsTheProfile) {
    MJWCPenSettings changed;
    changed.widths[0] = 30;
    changed.colors[5] = 0x123456;
    DialogRunner runner;
    std::string width;
    COLORREF shown = 0, color = 0;
    runner.Script(261, DialogScript()
                           .Do(ReadColor(1285, &shown))
                           .Click(1322)
                           .Read(1305, &width)
                           .Do(ReadColor(1285, &color))
                           .Ok());
    MJWCSettingDialog dialog;
    dialog.m_settings = changed;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(shown, 0x123456u);
    EXPECT_EQ(width, "0");
    EXPECT_EQ(color, 0xFF0000u);  // pen 6's default
    EXPECT_EQ(dialog.m_settings.colors[5], 0xFF0000u);

    AfxGetProfile().DeleteAll();
    runner.Script(261, DialogScript().SetText(1305, "7").Cancel());
    MJWCSettingDialogPrompt prompt;
    MJWCPenSettings s;
    EXPECT_FALSE(prompt.AskPenSettings(s));
    EXPECT_FALSE(AfxGetProfile().HasEntry("JWC", "PENWIDTH1"));
}

TEST_F(JwcSettingDialogTest, WidthsOutsideTheRangeAreRefused) {
    DialogRunner runner;
    runner.Script(261, DialogScript().SetText(1307, "101").Ok());
    MJWCSettingDialog dialog;
    EXPECT_NE(dialog.DoModal(), IDOK);
    ASSERT_EQ(runner.Dialogs().size(), 1u);
    EXPECT_TRUE(runner.Dialogs()[0].leftOpen);
    EXPECT_FALSE(messages.Messages().empty());
    EXPECT_FALSE(AfxGetProfile().HasEntry("JWC", "PENWIDTH3"));
}

TEST(XdfReadDialogTest, ShowsThePathAndTheElementsRead) {
    RegisterDocumentClasses();
    MXDFReadDialog dialog;
    dialog.Open("/tmp/a.xdf");
    EXPECT_TRUE(dialog.IsOpen());
    EXPECT_EQ(dialog.GetPathText(), "/tmp/a.xdf");
    EXPECT_EQ(dialog.GetRange(), 1);
    dialog.SetRange(40);
    dialog.SetPos(12);
    EXPECT_EQ(dialog.GetPos(), 12);
    dialog.Close();
    EXPECT_FALSE(dialog.IsOpen());

    struct Watching : MXDFReadDialog {
        void SetPos(int position) override {
            MXDFReadDialog::SetPos(position);
            open = open && IsOpen();
            range = GetRange();
        }
        bool open = true;
        int range = 0;
    } watching;
    MXDFProgress* previous = SetXDFProgress(&watching);
    const std::string path = MakeTempDir("XdfReadDialog") + "/b.xdf";
    std::ofstream(path) << "[ELEMENT] 2\nLINE\n0 0 1 1 0 0 0 0\nLINE\n0 0 2 2 0 0 0 0\n[END]\n";
    MTessarayDoc doc;
    {
        MXDFReader reader(doc);
        EXPECT_EQ(reader.Read(path), 1);
    }
    SetXDFProgress(previous);
    EXPECT_TRUE(watching.open);
    EXPECT_EQ(watching.range, 2);
    EXPECT_EQ(watching.GetPos(), 0);  // closed again
    EXPECT_FALSE(watching.IsOpen());
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetSize(), 2);
}

}  // namespace
