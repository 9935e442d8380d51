// The drawing attributes: the commands of menus and toolbars and the frame's controls reach the
// current tool through the view's routing and set the program-wide values that new shapes take.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <set>

#include "model/shapes/text/TextShape.h"
#include "tests/tools/FakeAttributeControls.h"
#include "tests/tools/TestTools.h"
#include "tests/tools/ToolTestSupport.h"
#include "tools/AttributeCommands.h"
#include "tools/input/AttributeControls.h"

using namespace tooltest;

namespace {

MDrawAttributes& Attr() {
    return GetDrawAttributes();
}

// A text at the press, committed at the release.
class TextTestTool : public MDrawTool {
public:
    explicit TextTestTool(int toolId = 2) : MDrawTool(toolId) {}
    MCadShape* NewShape(MTessarayView*) override {
        auto* text = new MTextShape();
        text->SetString("ABC");
        return text;
    }
    int OnPoint(MTessarayView* view, double x, double y, int phase, UINT) override {
        static_cast<MTextShape*>(Lists().NewShape(0))->MoveTo(view, MFloatPoint(x, y));
        return phase == kPhaseTest;
    }
};

// The frame's controls as the tools see them: values by id, the focus, and what was written.
struct AttributeHarness : ToolHarness {
    AttributeHarness() { Use(new RecordingLineTool(), ID_TOOL_LINE); }
    void Notify(UINT id, int code) { NotifyControl(*view, id, code); }
    MCadShape* Committed(int index) { return doc.GetLayers()->GetLayer(0)->GetAt(index); }
};

// One row of the command map: the state before, the command, what it sets.
struct CommandRow {
    UINT id;
    std::function<void()> before;
    std::function<bool()> set;
};

std::vector<CommandRow> CommandRows() {
    const auto nothing = [] {};
    return {
        {ID_BOLD, nothing, [] { return Attr().bold == TRUE; }},
        {ID_ITALIC, nothing, [] { return Attr().italic == TRUE; }},
        {ID_UNDERLINE, nothing, [] { return Attr().underline == TRUE; }},
        {ID_TEXT_FRAME, nothing, [] { return Attr().textFrame == TRUE; }},
        {ID_TEXT_ALIGN_LEFT, [] { Attr().alignment = 2 | 8; }, [] { return Attr().alignment == 8; }},
        {ID_TEXT_ALIGN_CENTER, [] { Attr().alignment = 4; }, [] { return Attr().alignment == (1 | 4); }},
        {ID_TEXT_ALIGN_RIGHT, nothing, [] { return Attr().alignment == 2; }},
        {ID_TEXT_ALIGN_TOP, [] { Attr().alignment = 1 | 8; }, [] { return Attr().alignment == 1; }},
        {ID_TEXT_ALIGN_MIDDLE, [] { Attr().alignment = 2; }, [] { return Attr().alignment == (2 | 4); }},
        {ID_TEXT_ALIGN_BOTTOM, nothing, [] { return Attr().alignment == 8; }},
        {ID_LINE_SOLID, [] { Attr().lineType = 3; }, [] { return Attr().lineType == 0; }},
        {ID_LINE_DASHED, nothing, [] { return Attr().lineType == 1; }},
        {ID_LINE_DOTTED, nothing, [] { return Attr().lineType == 2; }},
        {ID_LINE_CHAIN, nothing, [] { return Attr().lineType == 3; }},
        {ID_LINE_DOUBLE_CHAIN, nothing, [] { return Attr().lineType == 4; }},
        {ID_LINE_STYLE_FIRST + 6, nothing, [] { return Attr().lineType == 6; }},
        {ID_LINE_STYLE_LAST, nothing, [] { return Attr().lineType == 99; }},
        {ID_WIDTH_THIN, [] { Attr().lineWidth = 0.3; }, [] { return Attr().lineWidth == 0.0; }},
        {ID_WIDTH_MEDIUM, nothing, [] { return Attr().lineWidth == 0.2; }},
        {ID_WIDTH_THICK, nothing, [] { return Attr().lineWidth == 0.5; }},
        {ID_LINE_COLOR_FIRST + 2, nothing, [] { return Attr().lineColor == 0x0000FF; }},
        {ID_LINE_COLOR_FIRST + 14, nothing, [] { return Attr().lineColor == 0x808080; }},
        {ID_LINE_COLOR_LAST, nothing, [] { return Attr().lineColor == kNoColor; }},
        {ID_FACE_COLOR_FIRST + 4, nothing,
         [] { return !Attr().faceFill.IsNone() && Attr().faceFill.GetColor(0) == 0x00FF00; }},
        {ID_FACE_COLOR_LAST, [] { Attr().faceFill = MFillStyle(0xFF); },
         [] { return Attr().faceFill.IsNone() == TRUE; }},
    };
}

}  // namespace

TEST(AttributeCommands, EachCommandSetsItsValueAndChecksItsItem) {
    AttributeHarness h;
    for (const CommandRow& row : CommandRows()) {
        SCOPED_TRACE(row.id);
        ResetToolSettings();
        row.before();
        EXPECT_EQ(h.ItemState(row.id), std::make_pair(true, 0)) << "unchecked before";
        h.view->SendCommand(row.id);
        EXPECT_TRUE(row.set());
        EXPECT_EQ(h.ItemState(row.id), std::make_pair(true, 1)) << "checked after";
    }
}

TEST(AttributeCommands, TogglesRestoreAndSiblingsUncheck) {
    AttributeHarness h;
    h.view->SendCommand(ID_BOLD);
    h.view->SendCommand(ID_BOLD);
    EXPECT_FALSE(Attr().bold);
    h.view->SendCommand(ID_LINE_CHAIN);
    EXPECT_EQ(h.ItemState(ID_LINE_STYLE_FIRST + 3).second, 1) << "the style menu shows the same style";
    EXPECT_EQ(h.ItemState(ID_LINE_SOLID).second, 0);
    h.view->SendCommand(ID_LINE_COLOR_FIRST + 1);
    EXPECT_EQ(h.ItemState(ID_LINE_COLOR_FIRST).second, 0);
    EXPECT_EQ(LineColorCommand(*h.Tool()), static_cast<int>(ID_LINE_COLOR_FIRST) + 1);
}

TEST(AttributeCommands, PresetWidthsMatchWithinTheTolerance) {
    AttributeHarness h;
    Attr().lineWidth = 0.2 + 1e-15;
    EXPECT_EQ(h.ItemState(ID_WIDTH_MEDIUM).second, 1);
    Attr().lineWidth = 0.2 + 1e-14;
    EXPECT_EQ(h.ItemState(ID_WIDTH_MEDIUM).second, 0);
}

TEST(AttributeCommands, FaceColourCommandOfPlainNoneAndGradation) {
    AttributeHarness h;
    MDrawTool* tool = h.Tool();
    Attr().faceFill = MFillStyle(0x800000);
    EXPECT_EQ(FaceColorCommand(*tool), static_cast<int>(ID_FACE_COLOR_FIRST) + 8);
    Attr().faceFill = MFillStyle();
    EXPECT_EQ(FaceColorCommand(*tool), static_cast<int>(ID_FACE_COLOR_LAST));
    Attr().faceFill = MFillStyle(kFillLinear, 0.0, 0x0000FF, 0x00FF00);
    EXPECT_EQ(FaceColorCommand(*tool), -1);
    Attr().faceFill = MFillStyle(0x123456);
    EXPECT_EQ(FaceColorCommand(*tool), -1);
}

TEST(AttributeCommands, CommittedLineAndTextCarryTheAttributes) {
    AttributeHarness h;
    Attr().lineColor = 0x0000FF;
    Attr().lineType = 2;
    Attr().lineWidth = 0.5;
    Attr().faceFill = MFillStyle(0x00FF00);
    Attr().arrows = MArrowInfo(0, 4.0, 2, 3.0);
    Attr().textColor = 0xFF0000;
    Attr().textFrame = TRUE;
    Attr().fontName = "Other";
    Attr().fontSize = 2.0;
    Attr().bold = TRUE;
    Attr().alignment = 1 | 4;
    h.Drag({1000, 1000}, {5000, 3000});
    MCadShape* line = h.Committed(0);
    EXPECT_EQ(line->GetColor(), 0x0000FFu);
    EXPECT_EQ(line->GetLineStyle(), 2);
    EXPECT_EQ(line->GetLineWidth(), 0.5);
    EXPECT_EQ(line->GetArrows(), MArrowInfo(0, 0.0, 2, 3.0)) << "an end of kind none has no size";

    h.Use(new TextTestTool(), ID_TOOL_TEXT);
    h.Click({3000, 6000});
    MCadShape* text = h.Committed(1);
    ASSERT_TRUE(text->IsText());
    EXPECT_EQ(text->TextStyle().color, 0xFF0000u);
    EXPECT_EQ(text->GetColor(), 0x0000FFu);
    EXPECT_EQ(text->GetFillStyle(), MFillStyle(0x00FF00));
    EXPECT_EQ(text->TextStyle().flags, 0x40) << "the frame only: bold is the text tools' own";
    EXPECT_EQ(text->TextStyle().fontName.Name(), "");
    EXPECT_EQ(text->TextStyle().size, 8.0);
    EXPECT_EQ(text->TextStyle().alignment, 0);
}

TEST(AttributeControls, NotificationsSetTheValues) {
    AttributeHarness h;
    FakeControls c;
    c.colors = {{IDC_LINE_COLOR, 0xFF}, {IDC_TEXT_COLOR, 0xFF00}};
    c.fills = {{IDC_FACE_COLOR, MFillStyle(kFillLinear, 0.0, 1, 2)}};
    c.indexes = {{IDC_LINE_STYLE, 0x88}, {IDC_START_ARROW_TYPE, 2}, {IDC_END_ARROW_TYPE, 5}};
    c.numbers = {{IDC_LINE_WIDTH, 0.354},
                 {IDC_START_ARROW_SIZE, 2.5},
                 {IDC_END_ARROW_SIZE, 1.5},
                 {IDC_FONT_SIZE, 5.0}};
    c.texts = {{IDC_FONT_NAME, "  ＭＳ 明朝\t"}};
    for (UINT id : {IDC_LINE_COLOR, IDC_TEXT_COLOR, IDC_FACE_COLOR})
        h.Notify(id, NM_CLICK);
    for (UINT id : {IDC_LINE_STYLE, IDC_START_ARROW_TYPE, IDC_END_ARROW_TYPE})
        h.Notify(id, CBN_SELENDOK);
    for (UINT id : {IDC_LINE_WIDTH, IDC_START_ARROW_SIZE, IDC_END_ARROW_SIZE, IDC_FONT_SIZE, IDC_FONT_NAME})
        h.Notify(id, NM_RETURN);
    EXPECT_EQ(Attr().lineColor, 0xFFu);
    EXPECT_EQ(Attr().textColor, 0xFF00u);
    EXPECT_TRUE(Attr().faceFill.IsGradation());
    EXPECT_EQ(Attr().lineType, 0x88) << "the auxiliary line";
    EXPECT_EQ(Attr().arrows, MArrowInfo(2, 2.5, 5, 1.5));
    EXPECT_NEAR(Attr().lineWidth, 0.35, 1e-12) << "two decimals";
    EXPECT_EQ(Attr().fontSize, 5.0);
    EXPECT_EQ(Attr().fontName, "ＭＳ 明朝");
}

TEST(AttributeControls, UnusableValuesAreIgnoredAndZeroWidthIsTaken) {
    AttributeHarness h;
    FakeControls c;
    const MDrawAttributes start = Attr();
    c.colors = {{IDC_LINE_COLOR, static_cast<COLORREF>(-1)}};
    c.indexes = {{IDC_LINE_STYLE, 0x7F}, {IDC_START_ARROW_TYPE, -1}};
    c.numbers = {{IDC_LINE_WIDTH, -0.1},
                 {IDC_START_ARROW_SIZE, 0.0},
                 {IDC_FONT_SIZE, 0.0},
                 {IDC_END_ARROW_SIZE, std::nan("")}};
    c.texts = {{IDC_FONT_NAME, " \t "}};
    h.Notify(IDC_LINE_COLOR, NM_CLICK);
    h.Notify(IDC_FACE_COLOR, NM_CLICK);  // no value
    h.Notify(IDC_LINE_STYLE, CBN_SELENDOK);
    h.Notify(IDC_START_ARROW_TYPE, CBN_SELENDOK);
    for (UINT id : {IDC_LINE_WIDTH, IDC_START_ARROW_SIZE, IDC_END_ARROW_SIZE, IDC_FONT_SIZE, IDC_FONT_NAME})
        h.Notify(id, NM_RETURN);
    EXPECT_EQ(Attr().lineColor, start.lineColor);
    EXPECT_EQ(Attr().faceFill, start.faceFill);
    EXPECT_EQ(Attr().lineType, start.lineType);
    EXPECT_EQ(Attr().arrows, start.arrows);
    EXPECT_EQ(Attr().lineWidth, start.lineWidth);
    EXPECT_EQ(Attr().fontSize, start.fontSize);
    EXPECT_EQ(Attr().fontName, start.fontName);

    Attr().lineWidth = 0.5;
    c.numbers[IDC_LINE_WIDTH] = 0.0;
    h.Notify(IDC_LINE_WIDTH, NM_RETURN);
    EXPECT_EQ(Attr().lineWidth, 0.0);
}

TEST(AttributeControls, UpdatesWriteBackOnlyWhereTheUserIsNotTyping) {
    AttributeHarness h;
    FakeControls c;
    Attr().lineColor = 0xFF;
    Attr().lineType = 3;
    Attr().lineWidth = 0.25;
    Attr().arrows = MArrowInfo(1, 2.0, 2, 3.0);
    Attr().fontName = "Font";
    Attr().fontSize = 6.0;
    c.numbers = {{IDC_LINE_WIDTH, 0.25004}, {IDC_FONT_SIZE, 1.0}};
    c.focused = {IDC_FONT_SIZE, IDC_END_ARROW_TYPE};
    for (UINT id : {IDC_LINE_COLOR, IDC_FACE_COLOR, IDC_TEXT_COLOR, IDC_LINE_STYLE, IDC_LINE_WIDTH,
                    IDC_START_ARROW_TYPE, IDC_END_ARROW_TYPE, IDC_START_ARROW_SIZE, IDC_END_ARROW_SIZE,
                    IDC_FONT_NAME, IDC_FONT_SIZE})
        h.ItemState(id);
    EXPECT_EQ(c.colors[IDC_LINE_COLOR], 0xFFu);
    EXPECT_EQ(c.indexes[IDC_LINE_STYLE], 3);
    EXPECT_EQ(c.indexes[IDC_START_ARROW_TYPE], 1);
    EXPECT_EQ(c.numbers[IDC_START_ARROW_SIZE], 2.0);
    EXPECT_EQ(c.texts[IDC_FONT_NAME], "Font");
    EXPECT_FALSE(c.written.count(IDC_LINE_WIDTH)) << "within 0.0001 it shows the value already";
    EXPECT_FALSE(c.written.count(IDC_FONT_SIZE)) << "focused";
    EXPECT_FALSE(c.written.count(IDC_END_ARROW_TYPE)) << "focused";
    EXPECT_EQ(c.numbers[IDC_FONT_SIZE], 1.0);
}
