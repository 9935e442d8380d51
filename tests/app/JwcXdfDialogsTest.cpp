// The pen settings dialog of the JW_CAD import and the progress window of the XDF import.
#include <gtest/gtest.h>

#include <fstream>

#include "app/interchange/JwcSettingDialog.h"
#include "app/interchange/XdfReadDialog.h"
#include "document/ClassRegistry.h"
#include "document/TessarayDoc.h"
#include "platform/Profile.h"
#include "platform/ui/DialogRunner.h"
#include "tests/support/TestSupport.h"

namespace {

class JwcSettingDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousProfile = AfxSetProfile(CreateMemoryProfile());
        previousChooser = MJWCSettingDialog::SetColorChooser([this](COLORREF& color, CWnd*) {
            ++chosen;
            if (!answer) return FALSE;
            color = answer;
            return TRUE;
        });
    }
    void TearDown() override {
        MJWCSettingDialog::SetColorChooser(previousChooser);
        AfxSetProfile(std::move(previousProfile));
    }

    std::unique_ptr<CProfile> previousProfile;
    MJWCSettingDialog::ColorChooser previousChooser;
    COLORREF answer = 0;
    int chosen = 0;
    MessageBoxRecorder messages;
};

TEST_F(JwcSettingDialogTest, OkStoresWidthsAndColoursInTheProfile) {
    DialogRunner runner;
    std::string width1, color2Before, color2After;
    answer = 0x102030;
    runner.Script(261, DialogScript()
                           .Read(1305, &width1)
                           .Read(1281, &color2Before)
                           .SetText(1306, "15")
                           .Click(1281)
                           .Read(1281, &color2After)
                           .Ok());
    MJWCSettingPrompt* previous = SetJWCSettingPrompt(nullptr);
    MJWCSettingDialogPrompt prompt;
    SetJWCSettingPrompt(&prompt);
    MJWCPenSettings settings;
    EXPECT_TRUE(AskJWCPenSettings(settings));
    SetJWCSettingPrompt(previous);

    EXPECT_EQ(width1, "0");
    EXPECT_EQ(color2Before, "#000000");
    EXPECT_EQ(color2After, "#302010");  // COLORREF 0x102030 is red 0x30, green 0x20, blue 0x10
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(settings.widths[1], 15);
    EXPECT_EQ(settings.colors[1], 0x102030u);
    EXPECT_EQ(AfxGetProfile().GetProfileInt("JWC", "PENWIDTH2", -1), 15);
    EXPECT_EQ(AfxGetProfile().GetProfileInt("JWC", "PENCOLOR2", -1), 0x102030);
    EXPECT_EQ(AfxGetProfile().GetProfileInt("JWC", "PENCOLOR1", -1), 0xFFFF00);
}

TEST_F(JwcSettingDialogTest, DefaultResetsAndCancelKeepsTheProfile) {
    MJWCPenSettings changed;
    changed.widths[0] = 30;
    changed.colors[5] = 0x123456;
    DialogRunner runner;
    std::string width, color;
    runner.Script(261, DialogScript().Click(1322).Read(1305, &width).Read(1285, &color).Ok());
    MJWCSettingDialog dialog;
    dialog.m_settings = changed;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(width, "0");
    EXPECT_EQ(color, "#0000FF");  // pen 6's default 0xFF0000 is blue
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
    EXPECT_EQ(FormatPenColor(kNoColor), "なし");
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
