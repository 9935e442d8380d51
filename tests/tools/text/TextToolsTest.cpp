// The text and multi-line text tools through real clicks, their dialogs by script, the toolbar's
// font and size through a stand-in for the frame's controls.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numbers>
#include <sstream>

#include "document/ToolSettings.h"
#include "model/shapes/ShapeEditors.h"
#include "model/shapes/text/MultiTextShape.h"
#include "tests/tools/text/TextTestSupport.h"
#include "tools/AttributeChange.h"
#include "tools/text/TextTools.h"

using namespace tooltest;
using ::testing::HasSubstr;
using texttest::TextHarness;

namespace {

constexpr int kText = 1011, kAngle = 1013, kVertical = 1306, kWrap = 1320;
constexpr int kRightMiddle = 1046;

DialogScript EnterText(const std::string& text) {
    return DialogScript().SetText(kText, text).Ok();
}

}  // namespace

TEST(TextTool, PlacesTheEnteredTextAtTheNextClickInOneUndoStep) {
    TextHarness h;
    GetDrawAttributes().bold = TRUE;
    GetDrawAttributes().underline = TRUE;
    h.Choose(ID_TOOL_TEXT);
    h.dialogs.Script(140, DialogScript()
                              .SetText(kText, "日本語の文字")
                              .SetText(kAngle, "30")
                              .Click(kRightMiddle)
                              .SetCheck(kVertical, 1)
                              .Ok());
    h.Click(h.At(1000, 1000));
    ASSERT_TRUE(h.dialogs.Opened(140));
    ASSERT_NE(h.Floating(), nullptr);
    EXPECT_EQ(h.CommittedCount(), 0);
    h.MoveTo(h.At(3000, 2000));
    EXPECT_EQ(h.Floating()->GetPoint(), h.OnScreen(h.At(3000, 2000)));
    EXPECT_TRUE(h.NoXorResidue());

    h.ExpectOneUndoStep([&] { h.Click(h.At(4000, 2500)); });
    ASSERT_EQ(h.CommittedCount(), 1);
    auto* text = dynamic_cast<MTextShape*>(h.Committed(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetString(), "日本語の文字");
    EXPECT_EQ(text->GetPoint(), h.OnScreen(h.At(4000, 2500)));
    EXPECT_NEAR(text->GetAngle(), std::numbers::pi / 6, 1e-12);
    EXPECT_EQ(text->GetAlignment(), 6);
    EXPECT_TRUE(text->IsVertical());
    EXPECT_EQ(text->GetTextFlags() & (kTextBold | kTextItalic | kTextUnderline), kTextBold | kTextUnderline);
    EXPECT_EQ(text->GetTextSize(), 250.0);
    EXPECT_EQ(text->GetFontName(), "ＭＳ 明朝");
    EXPECT_THAT(h.NativeText(), HasSubstr("日本語の文字"));
    EXPECT_EQ(TextVerticalWriting(), 1);
    EXPECT_EQ(h.Tool()->GetStep(), 0);
}

TEST(TextTool, ToolbarChangesApplyToTheFloatingText) {
    TextHarness h;
    h.Choose(ID_TOOL_TEXT);
    h.dialogs.Script(140, EnterText("abc"));
    h.Click(h.At(1000, 1000));
    ASSERT_NE(h.Floating(), nullptr);
    ASSERT_EQ(h.Floating()->GetTextSize(), 250.0);
    const double width = h.Floating()->GetBoxWidth();
    h.controls.numbers[IDC_FONT_SIZE] = 8.0;
    NotifyControl(*h.view, IDC_FONT_SIZE, NM_RETURN);
    EXPECT_EQ(h.Floating()->GetTextSize(), 400.0);
    EXPECT_GT(h.Floating()->GetBoxWidth(), width) << "measured again";
    h.Tool()->ApplyAttributeChange(h.view.get(), {MAttribute::kItalic, TRUE});
    EXPECT_TRUE(h.Floating()->GetTextFlags() & kTextItalic);
    EXPECT_TRUE(h.NoXorResidue());
    h.Click(h.At(2000, 2000));
    ASSERT_EQ(h.CommittedCount(), 1);
    EXPECT_EQ(h.Committed(0)->TextStyle().size, 400.0);
}

TEST(TextTool, CancelOrAnEmptyTextLeavesNothing) {
    TextHarness h;
    h.Choose(ID_TOOL_TEXT);
    const std::string before = h.NativeText();
    h.dialogs.Script(140, DialogScript().SetText(kText, "x").Cancel());
    h.Click(h.At(1000, 1000));
    EXPECT_EQ(h.Tool()->Lists().NewCount(), 0);
    h.dialogs.Script(140, EnterText(""));
    h.Click(h.At(1000, 1000));
    EXPECT_EQ(h.Tool()->Lists().NewCount(), 0);
    // The next click asks again instead of placing anything.
    h.Click(h.At(1500, 1500));
    EXPECT_EQ(h.dialogs.OpenedIds(), (std::vector<unsigned>{140, 140, 140}));
    EXPECT_EQ(h.NativeText(), before);
    EXPECT_EQ(h.UndoSteps(), 0);
    EXPECT_TRUE(h.EndLeavesNoResidue());
}

TEST(TextTool, FallsBackToTheProgramWideSizeWhenTheToolbarShowsNone) {
    TextHarness h;
    h.controls.numbers[IDC_FONT_SIZE] = 0.0;
    GetDrawAttributes().fontSize = 3.0;
    h.Choose(ID_TOOL_TEXT);
    h.dialogs.Script(140, EnterText("abc"));
    h.Click(h.At(1000, 1000));
    h.Click(h.At(1000, 1000));
    ASSERT_EQ(h.CommittedCount(), 1);
    EXPECT_EQ(h.Committed(0)->TextStyle().size, 150.0);
}

TEST(TextDialog, MapsTheAlignmentWordToTheNineButtonsAndBack) {
    TextHarness h;
    MTextShape shape;
    shape.SetString("a");
    int shown = -1;
    const auto readChecked = [&](CDialog& d) {
        for (int i = 0; i < 9; ++i)
            if (d.IsDlgButtonChecked(1041 + i)) shown = i;
    };
    shape.SetAlignment(6);
    h.dialogs.Script(140, DialogScript().Do(readChecked).Ok());
    ASSERT_TRUE(EditShape(shape, h.view.get()));
    EXPECT_EQ(shown, 5) << "右中";
    EXPECT_EQ(shape.GetAlignment(), 6);
    shape.SetAlignment(3);
    h.dialogs.Script(140, DialogScript().Do(readChecked).Ok());
    ASSERT_TRUE(EditShape(shape, h.view.get()));
    EXPECT_EQ(shown, 0) << "左上";
    EXPECT_EQ(shape.GetAlignment(), 0);
}

TEST(TextDialog, EditsACommittedTextAndCancelChangesNothing) {
    TextHarness h;
    MTextShape shape;
    shape.SetString("old");
    h.dialogs.Script(140, DialogScript().SetText(kText, "新しい").SetText(kAngle, "90").Ok());
    ASSERT_TRUE(EditShape(shape, h.view.get()));
    EXPECT_EQ(shape.GetString(), "新しい");
    EXPECT_NEAR(shape.GetAngle(), std::numbers::pi / 2, 1e-12);
    std::ostringstream before;
    shape.WriteText(nullptr, before);
    h.dialogs.Script(140, DialogScript().SetText(kText, "x").Cancel());
    EXPECT_FALSE(EditShape(shape, h.view.get()));
    std::ostringstream after;
    shape.WriteText(nullptr, after);
    EXPECT_EQ(after.str(), before.str());
}

TEST(MultiTextTool, StoresTheLinesTheWrapAndBothAlignments) {
    TextHarness h;
    GetDrawAttributes().alignment = kAlignCentre | kAlignMiddle;
    h.Choose(ID_TOOL_MULTITEXT);
    h.dialogs.Script(239,
                     DialogScript().SetText(kText, "a\r\nb").SetCheck(kWrap, 1).Click(kRightMiddle).Ok());
    h.Click(h.At(1000, 1000));
    ASSERT_NE(h.Floating(), nullptr);
    h.ExpectOneUndoStep([&] { h.Click(h.At(2000, 1000)); });
    auto* text = dynamic_cast<MMultiTextShape*>(h.Committed(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetString(), "a\nb");
    EXPECT_EQ(text->GetLayoutFlags(), MMultiTextShape::kLayoutWrap | kAlignCentre | kAlignMiddle);
    EXPECT_EQ(text->GetAlignment(), 6);
    EXPECT_EQ(text->GetPoint(), h.OnScreen(h.At(2000, 1000)));

    std::ostringstream os;
    h.Tool()->SaveSettings(os);
    EXPECT_THAT(os.str(), HasSubstr("\t2\n\ta\n\tb\n"));
}

TEST(MultiTextTool, ToolbarAlignmentRealignsTheFloatingLines) {
    TextHarness h;
    h.Choose(ID_TOOL_MULTITEXT);
    h.dialogs.Script(239, EnterText("a\r\nbb"));
    h.Click(h.At(1000, 1000));
    ASSERT_NE(h.Floating(), nullptr);
    h.Tool()->ApplyAttributeChange(h.view.get(), {MAttribute::kHorzAlign, kAlignRight});
    auto* text = dynamic_cast<MMultiTextShape*>(h.Floating());
    EXPECT_EQ(text->GetLayoutFlags() & 3, kAlignRight);
    EXPECT_EQ(GetDrawAttributes().alignment & 3, kAlignRight);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(TextToolSettings, SaveLoadAndSaveAgainByteForByte) {
    TextHarness h;
    for (UINT command : {UINT(ID_TOOL_TEXT), UINT(ID_TOOL_MULTITEXT)}) {
        h.Choose(command);
        h.dialogs.Script(command == ID_TOOL_TEXT ? 140 : 239,
                         DialogScript().SetText(kText, "かな\r\n漢字").SetText(kAngle, "12.5").Ok());
        h.Click(h.At(1000, 1000));
        h.Click(h.At(1000, 1000));
        std::ostringstream first;
        h.Tool()->SaveSettings(first);
        EXPECT_THAT(first.str(), HasSubstr("ＭＳ 明朝"));
        std::unique_ptr<MTextToolBase> fresh;
        if (command == ID_TOOL_TEXT)
            fresh = std::make_unique<MTextTool>(28);
        else
            fresh = std::make_unique<MMultiTextTool>(49);
        std::istringstream in(first.str());
        fresh->LoadSettings(in);
        std::ostringstream second;
        fresh->SaveSettings(second);
        EXPECT_EQ(second.str(), first.str());
    }
}

TEST(TextToolSettings, UnreadableNumbersTakeTheDefaults) {
    TextHarness h;
    MTextTool tool(28);
    std::istringstream in("\tfont\n\t6 0 nan inf\n\ttext\n");
    tool.LoadSettings(in);
    EXPECT_EQ(tool.GetAlignmentWord(), 6);
    EXPECT_EQ(tool.GetTextSize(), MTextTool::kDefaultTextSize);
    EXPECT_EQ(tool.GetAngle(), 0.0);
    EXPECT_EQ(tool.GetText(), "text");
    EXPECT_EQ(tool.GetToolFontName(), "font");
}

TEST(TextToolSettings, AnAlignmentBeyondAWholeNumberReadsAsNone) {
    TextHarness h;
    MTextTool text(28);
    std::istringstream textLines("\tfont\n\t1e11 0 8 0\n\ttext\n");
    text.LoadSettings(textLines);
    EXPECT_EQ(text.GetAlignmentWord(), 0);
    MMultiTextTool multi(49);
    std::istringstream multiLines("\t-99999999999\n\tfont\n\t0 8 0 0\n\t0\n");
    multi.LoadSettings(multiLines);
    EXPECT_EQ(multi.GetAlignmentWord(), 0);
}

TEST(MultiTextDialog, EditsACommittedMultiLineTextWithItsLinesAndWrap) {
    TextHarness h;
    MMultiTextShape shape;
    shape.SetString("one\ntwo");
    std::string shown;
    h.dialogs.Script(
        239, DialogScript().Read(kText, &shown).SetText(kText, "x\r\ny\r\nz").SetCheck(kWrap, 1).Ok());
    ASSERT_TRUE(EditShape(shape, h.view.get()));
    EXPECT_EQ(shown, "one\r\ntwo");
    EXPECT_EQ(shape.GetString(), "x\ny\nz");
    EXPECT_TRUE(shape.IsWrap());
    h.dialogs.Script(239, DialogScript().SetText(kText, "gone").Cancel());
    EXPECT_FALSE(EditShape(shape, h.view.get()));
    EXPECT_EQ(shape.GetString(), "x\ny\nz");
}

TEST(MultiTextTool, AnEmptyTextOrOnlyLineBreaksLeaveNothing) {
    TextHarness h;
    h.Choose(ID_TOOL_MULTITEXT);
    const std::string before = h.NativeText();
    for (const char* text : {"", "\r\n\r\n"}) {
        h.dialogs.Script(239, EnterText(text));
        h.Click(h.At(1000, 1000));
        EXPECT_EQ(h.Tool()->Lists().NewCount(), 0) << "[" << text << "]";
        h.Click(h.At(1500, 1500));
    }
    EXPECT_EQ(h.CommittedCount(), 0);
    EXPECT_EQ(h.UndoSteps(), 0);
    EXPECT_TRUE(h.EndLeavesNoResidue());
}
