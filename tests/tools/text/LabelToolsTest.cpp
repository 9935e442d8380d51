// The label and balloon tools: a leader by clicks, the dialog by script when it is ended.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "document/ToolSettings.h"
#include "model/shapes/ShapeEditors.h"
#include "model/shapes/annotation/BalloonShape.h"
#include "model/shapes/annotation/LabelShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/text/TextTestSupport.h"
#include "tools/input/ComboFill.h"
#include "tools/text/LabelTools.h"

using namespace tooltest;
using ::testing::HasSubstr;

namespace {

struct LeaderHarness : texttest::TextHarness {
    void DrawLeader() {
        Click(At(1000, 1000));
        Click(At(3000, 1000));
        DoubleClickAt(At(3000, 3000));
    }
};

}  // namespace

TEST(LabelTool, CommitsOneLabelAlongTheLeaderWithTheToolbarFont) {
    LeaderHarness h;
    h.Choose(ID_TOOL_LABEL);
    // A first label takes the toolbar's font and size into the tool's settings, which no undo
    // step holds; the second is the one checked.
    h.dialogs.Script(162, DialogScript().SetText(1011, "引出").SetText(1015, "2").Ok());
    h.DrawLeader();
    std::string font, size;
    h.dialogs.Script(162,
                     DialogScript()
                         .Read(1012, &size)
                         .Do([&](CDialog& d) { font = SelectedComboText(*d.GetDlgItemAs<CComboBox>(1014)); })
                         .SetText(1011, "引出")
                         .SetText(1015, "2")
                         .Ok());
    h.ExpectOneUndoStep([&] { h.DrawLeader(); });
    EXPECT_EQ(size, "5");
    EXPECT_EQ(font, "ＭＳ 明朝");
    ASSERT_EQ(h.CommittedCount(), 2);
    auto* label = dynamic_cast<MLabelShape*>(h.Committed(1));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetString(), "引出");
    EXPECT_EQ(label->GetTextSize(), 250.0);
    EXPECT_EQ(label->GetTextOffset(), 100.0) << "the gap in drawing units";
    MPolygonShape* leader = label->GetLeader();
    ASSERT_EQ(leader->GetPointCount(), 3);
    EXPECT_EQ(leader->GetPoint(0), h.OnScreen(h.At(1000, 1000)));
    EXPECT_EQ(leader->GetPoint(1), h.OnScreen(h.At(3000, 1000)));
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(LabelTool, TheToolbarArrowChangesTheLeaderEndNotTheProgramWideArrow) {
    LeaderHarness h;
    const MArrowInfo before = GetDrawAttributes().arrows;
    h.Choose(ID_TOOL_LABEL);
    h.controls.indexes[IDC_START_ARROW_TYPE] = 4;
    NotifyControl(*h.view, IDC_START_ARROW_TYPE, CBN_SELENDOK);
    auto* tool = dynamic_cast<MLabelTool*>(h.Tool());
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->GetEndKind(), 4);
    EXPECT_EQ(GetDrawAttributes().arrows.startStyle, before.startStyle);
    int shown = -1;
    h.dialogs.Script(
        162,
        DialogScript().Do([&](CDialog& d) { shown = d.GetDlgItemAs<CComboBox>(1020)->GetCurSel(); }).Ok());
    h.DrawLeader();
    EXPECT_EQ(shown, 4);
    ASSERT_EQ(h.CommittedCount(), 1);
    EXPECT_EQ(h.Committed(0)->GetArrows().startStyle, 4);
}

TEST(LabelTool, ASinglePointOrCancelLeavesNothing) {
    LeaderHarness h;
    h.Choose(ID_TOOL_LABEL);
    const std::string before = h.NativeText();
    h.DoubleClickAt(h.At(1000, 1000));
    EXPECT_TRUE(h.dialogs.OpenedIds().empty());
    h.dialogs.Script(162, DialogScript().Cancel());
    h.DrawLeader();
    EXPECT_TRUE(h.dialogs.Opened(162));
    EXPECT_EQ(h.NativeText(), before);
    EXPECT_EQ(h.UndoSteps(), 0);
    EXPECT_EQ(h.Tool()->Lists().NewCount(), 0);
    EXPECT_TRUE(h.EndLeavesNoResidue());
}

TEST(LabelDialog, RefusesATextSizeNotAboveZero) {
    LeaderHarness h;
    MessageBoxRecorder messages;
    h.Choose(ID_TOOL_LABEL);
    h.dialogs.Script(162, DialogScript().SetText(1012, "0").Ok().Cancel());
    h.DrawLeader();
    EXPECT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(h.CommittedCount(), 0);
}

TEST(BalloonDialog, ChecksTheRadii) {
    LeaderHarness h;
    MessageBoxRecorder messages;
    h.Choose(ID_TOOL_BALLOON);
    h.dialogs.Script(163, DialogScript()
                              .SetText(1102, "10")
                              .SetText(1103, "5")
                              .Ok()
                              .SetText(1102, "0")
                              .SetText(1103, "20")
                              .Ok()
                              .SetCheck(1101, 0)
                              .SetText(1102, "5")
                              .SetCheck(1101, 1)
                              .SetText(1103, "5")
                              .Ok());
    h.DrawLeader();
    ASSERT_EQ(messages.Messages().size(), 2u);
    EXPECT_EQ(messages.Messages()[0].text, "最大半径は最小半径より大きくないといけません。");
    EXPECT_EQ(messages.Messages()[1].text, "半径には0より大きい値を指定してください。");
    ASSERT_EQ(h.CommittedCount(), 1) << "equal radii are accepted";
}

TEST(BalloonTool, TheMaximumRadiusIsConvertedByThePaperScale) {
    LeaderHarness h;
    h.Choose(ID_TOOL_BALLOON);
    const auto script = [] {
        return DialogScript()
            .SetText(1093, "とても長い文字列とても長い文字列とても長い文字列")
            .SetCheck(1101, 1)
            .SetText(1103, "32")
            .Ok();
    };
    // The first takes the toolbar's font and size into the tool's settings, which no undo step holds.
    h.dialogs.Script(163, script());
    h.DrawLeader();
    h.dialogs.Script(163, script());
    h.ExpectOneUndoStep([&] { h.DrawLeader(); });
    h.dialogs.Script(163, script());
    h.DrawLeader();
    // Checked before any undo: the drawing's text form does not hold the radii.
    auto* balloon = dynamic_cast<MBalloonShape*>(h.Committed(2));
    ASSERT_NE(balloon, nullptr);
    EXPECT_EQ(balloon->GetMaxRadius(), 1600.0);
    EXPECT_EQ(balloon->GetMinRadius(), 0.0);
    const MFloatRect circle = balloon->GetCircle()->GetExtent();
    const double radius = (circle.right - circle.left) / 2;
    EXPECT_NEAR(radius, 1600.0, 1e-6) << "the long text is limited by the maximum";
}

TEST(LeaderToolSettings, SaveLoadAndSaveAgainByteForByte) {
    LeaderHarness h;
    h.Choose(ID_TOOL_BALLOON);
    h.dialogs.Script(163, DialogScript().SetText(1093, "かな").SetText(1102, "3").Ok());
    h.DrawLeader();
    std::ostringstream first;
    h.Tool()->SaveSettings(first);
    EXPECT_THAT(first.str(), HasSubstr("\tＭＳ 明朝\n"));
    EXPECT_THAT(first.str(), HasSubstr("\tかな\n"));
    MBalloonTool balloon(25);
    std::istringstream in(first.str());
    balloon.LoadSettings(in);
    std::ostringstream second;
    balloon.SaveSettings(second);
    EXPECT_EQ(second.str(), first.str());

    MLabelTool label(24);
    std::istringstream labelIn("\t100 0\n\tＭＳ 明朝\n\t6 1.5 2 4\n\tラベル\n");
    label.LoadSettings(labelIn);
    std::ostringstream labelOut;
    label.SaveSettings(labelOut);
    EXPECT_EQ(labelOut.str(), "\t100 0\n\tＭＳ 明朝\n\t6 1.5 2 4 \n\tラベル\n")
        << "a line without its last space reads too; the label's line ends with one";
}

TEST(LeaderToolSettings, UnknownEndKindsAndUnreadableSizesTakeTheDefaults) {
    MBalloonTool balloon(25);
    std::istringstream in("\t100 0\n\tfont\n\tnan 99 nan -1 inf 1 1\n\ttext\n");
    balloon.LoadSettings(in);
    EXPECT_EQ(balloon.GetEndKind(), 1);
    EXPECT_EQ(balloon.GetEndSize(), 3.0);
    EXPECT_EQ(balloon.GetTextSize(), 7.0);
    EXPECT_EQ(balloon.GetMaxRadius(), 32.0);
    EXPECT_EQ(balloon.GetMinRadius(), 4.0);
    EXPECT_EQ(balloon.GetText(), "text");
}

TEST(LeaderDialogs, EditACommittedLabelAndBalloonOrCancelChangesNothing) {
    LeaderHarness h;
    h.Choose(ID_TOOL_LABEL);
    h.dialogs.Script(162, DialogScript().Ok());
    h.DrawLeader();
    h.Choose(ID_TOOL_BALLOON);
    h.dialogs.Script(163, DialogScript().Ok());
    h.DrawLeader();
    ASSERT_EQ(h.CommittedCount(), 2);
    auto* label = dynamic_cast<MLabelShape*>(h.Committed(0));
    auto* balloon = dynamic_cast<MBalloonShape*>(h.Committed(1));
    ASSERT_TRUE(label && balloon);

    const std::string before = h.NativeText();
    h.dialogs.Script(162, DialogScript().SetText(1011, "x").Cancel());
    EXPECT_FALSE(EditShape(*label, h.view.get()));
    h.dialogs.Script(163, DialogScript().SetText(1093, "x").Cancel());
    EXPECT_FALSE(EditShape(*balloon, h.view.get()));
    EXPECT_EQ(h.NativeText(), before);

    h.dialogs.Script(162, DialogScript().SetText(1011, "変更").SetText(1012, "2").Ok());
    ASSERT_TRUE(EditShape(*label, h.view.get()));
    EXPECT_EQ(label->GetString(), "変更");
    EXPECT_EQ(label->GetTextSize(), 100.0);
    h.dialogs.Script(163, DialogScript().SetText(1093, "球").SetText(1102, "2").Ok());
    ASSERT_TRUE(EditShape(*balloon, h.view.get()));
    EXPECT_EQ(balloon->GetString(), "球");
    EXPECT_EQ(balloon->GetMinRadius(), 100.0);
    EXPECT_THAT(h.NativeText(), HasSubstr("変更"));
}
