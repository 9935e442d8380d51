// The format list dialog (169), scripted.
#include <gmock/gmock.h>

#include "model/shapes/dimension/SizeFormatInfo.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/Wnd.h"
#include "tests/support/TestSupport.h"
#include "tools/dimension/SetupFormatDialog.h"

namespace {

constexpr int kTemplateIndex = 9;  // after the nine built-in formats

class SetupFormatDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSizeFormats();
        SetSizeFormatListPosition(0);
    }
    void TearDown() override {
        ResetSizeFormats();
        SetSizeFormatListPosition(0);
    }
    int Run(DialogScript script) {
        runner.Script(MSetupFormatDialog::IDD, std::move(script));
        MSetupFormatDialog dialog(nullptr);
        return dialog.DoModal();
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int i = 0; i < GetSizeFormatCount(); ++i)
            names.push_back(GetSizeFormatAt(i).m_name);
        return names;
    }
    static DialogScript::Step Enabled(std::vector<int> ids, std::vector<bool>* out) {
        return [ids, out](CDialog& d) {
            for (int id : ids)
                out->push_back(d.GetDlgItem(id)->IsWindowEnabled() != FALSE);
        };
    }
    DialogRunner runner;
    MessageBoxRecorder messages;
};

std::vector<std::string> WithUserFormats(std::vector<std::string> user) {
    std::vector<std::string> names = {"標準",    "1,234",    "1,234.5", "1234.1°", "1,234.1°",
                                      "R1234.1", "R1,234.1", "Φ1234.1", "Φ1,234.1"};
    names.insert(names.end(), user.begin(), user.end());
    names.push_back("新規");
    return names;
}

}  // namespace

TEST_F(SetupFormatDialogTest, AddGoesBeforeTheSelectedEntryAndUpdateReplacesIt) {
    EXPECT_EQ(Run(DialogScript()
                      .Select(1123, kTemplateIndex)
                      .SetText(1126, "A")
                      .SetText(1116, "約")
                      .Click(1121)
                      .SetText(1126, " B ")
                      .Click(1121)
                      .Select(1123, kTemplateIndex + 1)
                      .SetText(1117, "mm")
                      .SetText(1115, "0.5")
                      .Click(1124)
                      .Ok()),
              IDOK);
    EXPECT_EQ(Names(), WithUserFormats({"B", "A"}));
    EXPECT_EQ(GetSizeFormatAt(kTemplateIndex + 1),
              MSizeFormatInfo("A", "約", "mm", 0.5, FALSE, FALSE, MSizeFormatInfo::kUserFormat));
    EXPECT_EQ(GetSizeFormatListPosition(), kTemplateIndex + 1);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(SetupFormatDialogTest, ANameTakenIsRefusedOnAddAndUpdate) {
    InsertSizeFormat(kTemplateIndex, MSizeFormatInfo("A", "", "", 1, 0, 0, 0));
    InsertSizeFormat(kTemplateIndex, MSizeFormatInfo("B", "", "", 1, 0, 0, 0));
    Run(DialogScript()
            .Select(1123, kTemplateIndex + 2)
            .SetText(1126, "標準")
            .Click(1121)
            .Select(1123, kTemplateIndex)
            .SetText(1126, "A")
            .Click(1124)
            .Ok());
    EXPECT_EQ(messages.Messages().size(), 2u);
    EXPECT_TRUE(messages.Saw(62694));
    EXPECT_EQ(Names(), WithUserFormats({"B", "A"}));
}

TEST_F(SetupFormatDialogTest, AnEmptyNameIsRefusedOnAddUpdateAndOk) {
    InsertSizeFormat(kTemplateIndex, MSizeFormatInfo("A", "", "", 1, 0, 0, 0));
    Run(DialogScript()
            .Select(1123, kTemplateIndex + 1)
            .SetText(1126, "  ")
            .Click(1121)
            .Select(1123, kTemplateIndex)
            .SetText(1126, "")
            .Click(1124)
            .Ok());
    EXPECT_EQ(messages.Messages().size(), 3u);
    EXPECT_TRUE(messages.Saw(62693));
    EXPECT_TRUE(runner.Dialogs().back().leftOpen);
    EXPECT_EQ(Names(), WithUserFormats({"A"}));
}

TEST_F(SetupFormatDialogTest, DeletingTheFirstEntryKeepsPositionZero) {
    InsertSizeFormat(0, MSizeFormatInfo("U", "", "", 1, 0, 0, 0));
    Run(DialogScript().Click(1122).Ok());
    EXPECT_EQ(Names(), WithUserFormats({}));
    EXPECT_EQ(GetSizeFormatListPosition(), 0);

    // Deleting further down selects the entry before.
    InsertSizeFormat(kTemplateIndex, MSizeFormatInfo("V", "", "", 1, 0, 0, 0));
    Run(DialogScript().Select(1123, kTemplateIndex).Click(1122).Ok());
    EXPECT_EQ(Names(), WithUserFormats({}));
    EXPECT_EQ(GetSizeFormatListPosition(), kTemplateIndex - 1);
}

TEST_F(SetupFormatDialogTest, BuiltInsAndTheTemplateAreDisabledAndGuarded) {
    std::vector<bool> builtIn, templ;
    const std::vector<int> ids = {1126, 1116, 1117, 1115, 1119, 1120, 1121, 1122, 1124};
    Run(DialogScript()
            .Select(1123, 0)
            .Do(Enabled(ids, &builtIn))
            .SetText(1126, "X")
            .Do([](CDialog& d) {
                d.SendCommand(1124, BN_CLICKED);
                d.SendCommand(1122, BN_CLICKED);
                d.SendCommand(1121, BN_CLICKED);
            })
            .Select(1123, kTemplateIndex)
            .Do(Enabled(ids, &templ))
            .SetText(1126, "Y")
            .Do([](CDialog& d) {
                d.SendCommand(1124, BN_CLICKED);
                d.SendCommand(1122, BN_CLICKED);
            })
            .Cancel());
    EXPECT_EQ(builtIn, std::vector<bool>(9, false));
    EXPECT_EQ(templ, (std::vector<bool>{true, true, true, true, true, true, true, false, false}));
    EXPECT_EQ(Names(), WithUserFormats({}));
}

TEST_F(SetupFormatDialogTest, APositionOutsideTheListIsClamped) {
    SetSizeFormatListPosition(42);
    std::vector<bool> enabled;
    int selected = -1;
    Run(DialogScript()
            .Do([&](CDialog& d) { selected = d.GetDlgItemAs<CListBox>(1123)->GetCurSel(); })
            .Do(Enabled({1122, 1124}, &enabled))
            .Ok());
    EXPECT_EQ(selected, kTemplateIndex);
    EXPECT_EQ(enabled, (std::vector<bool>{false, false}));
    EXPECT_EQ(GetSizeFormatListPosition(), kTemplateIndex);
}
