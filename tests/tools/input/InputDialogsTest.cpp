// The user line width with its ring of recent widths, the numeric-entry base of the tools'
// dialogs, and the colour under the cursor.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "model/shapes/lines/RectShape.h"
#include "platform/TextFile.h"
#include "platform/ui/Controls.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/TestTools.h"
#include "tests/tools/ToolTestSupport.h"
#include "tools/input/NumericEntryDialog.h"
#include "tools/input/UserLineWidthDialog.h"

using namespace tooltest;

namespace {

struct WidthHarness : ToolHarness {
    WidthHarness() { Use(new RecordingLineTool(), ID_TOOL_LINE); }
    // The user-width command with the text typed and OK pressed (then Cancel, should it stay open).
    void EnterWidth(const char* text) {
        dialogs.Script(IDD_USER_LINE_WIDTH, DialogScript().SetText(IDC_USER_WIDTH, text).Ok().Cancel());
        view->SendCommand(ID_WIDTH_USER);
    }
};

}  // namespace

TEST(UserLineWidth, AcceptsUpTo25Point5AndRefusesTheRest) {
    WidthHarness h;
    MessageBoxRecorder messages;
    h.EnterWidth("25.5");
    EXPECT_EQ(GetDrawAttributes().lineWidth, 25.5);
    EXPECT_EQ(UserLineWidth(), 25.5);
    EXPECT_TRUE(messages.Messages().empty());
    for (const char* text : {"25.6", "0", "-1", "nan", "inf", "abc", "mm1.5", ""}) {
        SCOPED_TRACE(text);
        h.EnterWidth(text);
        EXPECT_TRUE(messages.Saw(IDS_WIDTH_RANGE));
        EXPECT_EQ(h.dialogs.Dialogs().back().result, IDCANCEL)
            << "OK left it open, the script's Cancel closed it";
        EXPECT_EQ(GetDrawAttributes().lineWidth, 25.5);
        EXPECT_EQ(UserLineWidth(), 25.5);
    }
    EXPECT_EQ(messages.Messages().size(), 8u);
    h.EnterWidth(" 0.25 ");
    EXPECT_EQ(GetDrawAttributes().lineWidth, 0.25);
}

TEST(UserLineWidth, TheNumberATextBeginsWithIsTheWidth) {
    const struct {
        const char* text;
        double width;
    } cases[] = {{"1.5mm", 1.5},  {" 2.5 mm", 2.5}, {"3abc", 3.0},   {"+0.75x", 0.75},
                 {"1e1mm", 10.0}, {"2.e", 2.0},     {"0.5ミリ", 0.5}};
    WidthHarness h;
    MessageBoxRecorder messages;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        h.EnterWidth(c.text);
        EXPECT_EQ(GetDrawAttributes().lineWidth, c.width);
        EXPECT_EQ(UserLineWidth(), c.width);
        EXPECT_EQ(UserLineWidthRing().Newest(0), FormatG(c.width)) << "the ring keeps the number";
    }
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(UserLineWidth, TheRingKeepsTheTenNewestOnceEach) {
    WidthHarness h;
    h.EnterWidth("0.3");
    h.EnterWidth("0.30");
    EXPECT_EQ(UserLineWidthRing().Newest(0), "0.3");
    EXPECT_EQ(UserLineWidthRing().Newest(1), "") << "the same width is one entry";
    for (int i = 1; i <= 11; ++i)
        h.EnterWidth(std::to_string(i).c_str());
    std::vector<std::string> listed;
    h.dialogs.Script(IDD_USER_LINE_WIDTH, DialogScript()
                                              .Do([&](CDialog& d) {
                                                  auto* combo = d.GetDlgItemAs<CComboBox>(IDC_USER_WIDTH);
                                                  for (int i = 0; i < combo->GetCount(); ++i)
                                                      listed.push_back(combo->GetLBText(i));
                                                  EXPECT_EQ(combo->GetWindowText(), "11") << "the user width";
                                              })
                                              .Cancel());
    h.view->SendCommand(ID_WIDTH_USER);
    EXPECT_THAT(listed, ::testing::ElementsAre("11", "10", "9", "8", "7", "6", "5", "4", "3", "2"));
}

TEST(UserLineWidth, AGivenWidthIsShownAndNotStored) {
    WidthHarness h;
    MUserLineWidthDialog dialog(nullptr, 2.5);
    std::string shown;
    h.dialogs.Script(IDD_USER_LINE_WIDTH,
                     DialogScript().Read(IDC_USER_WIDTH, &shown).SetText(IDC_USER_WIDTH, "3").Ok());
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(shown, "2.5");
    EXPECT_EQ(dialog.GetWidth(), 3.0);
    EXPECT_EQ(UserLineWidth(), 1.0);
    EXPECT_EQ(UserLineWidthRing().Newest(0), "");
}

namespace {

constexpr UINT kNumericTemplate = 9101;
enum : int {
    kLengthEdit = 1001,
    kLengthCheck = 1002,
    kAngleEdit = 1003,
    kAngleCheck = 1004,
    kCountEdit = 1005
};

void RegisterNumericTemplate() {
    CDialog::RegisterTemplate(kNumericTemplate,
                              {{DlgOp::Dialog, kNumericTemplate, "数値入力", 0, 0, 0},
                               {DlgOp::Check, kLengthCheck, "長さ", 0, 0, 0},
                               {DlgOp::Edit, kLengthEdit, nullptr, 0, 10, 0},
                               {DlgOp::Row, kIdStatic, nullptr, 0, 0, 0},
                               {DlgOp::Check, kAngleCheck, "角度", 0, 0, 0},
                               {DlgOp::Edit, kAngleEdit, nullptr, 0, 10, 0},
                               {DlgOp::Row, kIdStatic, nullptr, 0, 0, 0},
                               {DlgOp::Edit, kCountEdit, nullptr, 0, 10, 0},
                               {DlgOp::Row, kIdStatic, nullptr, 0, 0, 0},
                               {DlgOp::Check, IDC_KEEP_VALUES, "次回も同じ設定を使う", 0, 0, 0},
                               {DlgOp::Buttons, kIdStatic, nullptr, 0, 0, 0},
                               {DlgOp::DefPushButton, kIdOk, "OK", 0, 0, 0},
                               {DlgOp::PushButton, kIdCancel, "ｷｬﾝｾﾙ", 0, 0, 0},
                               {DlgOp::EndDialog, kIdStatic, nullptr, 0, 0, 0}});
}

// A tool with a length and an angle that its numeric dialog sets; constrained while one is used.
class NumericTool : public RecordingLineTool {
public:
    BOOL CanNumericInput() override { return TRUE; }
    void OnNumericInput(MTessarayView* view) override {
        BOOL keep = KeepsValues();
        MNumericEntryDialog dialog(kNumericTemplate, view, &keep);
        dialog.AddField(kLengthEdit, kLengthCheck, MNumericEntryDialog::kLength, &length, &useLength);
        dialog.AddField(kAngleEdit, kAngleCheck, MNumericEntryDialog::kAngle, &angle, &useAngle);
        dialog.AddField(kCountEdit, 0, MNumericEntryDialog::kPlain, &count, nullptr);
        dialog.DoModal();
        SetKeepValues(keep);
    }
    BOOL IsConstrained() override { return useLength || useAngle; }
    void ReleaseConstraint() override {
        useLength = useAngle = FALSE;
        RecordingLineTool::ReleaseConstraint();
    }

    double length = 100.0, angle = 0.5, count = 3.0;
    BOOL useLength = FALSE, useAngle = FALSE;
};

}  // namespace

TEST(NumericEntry, TypingTicksOkConvertsCancelKeeps) {
    RegisterNumericTemplate();
    ToolHarness h;
    auto* tool = h.Use(new NumericTool(), ID_TOOL_LINE);
    std::string shownAngle;
    int tickedBefore = -1, tickedAfter = -1;
    h.dialogs.Script(kNumericTemplate,
                     DialogScript()
                         .Read(kAngleEdit, &shownAngle)
                         .Do([&](CDialog& d) { tickedBefore = d.IsDlgButtonChecked(kLengthCheck); })
                         .SetText(kLengthEdit, "250")
                         .Do([&](CDialog& d) { tickedAfter = d.IsDlgButtonChecked(kLengthCheck); })
                         .SetText(kAngleEdit, "90")
                         .SetText(kCountEdit, "7")
                         .Ok());
    h.view->SendCommand(ID_NUMERIC_INPUT);
    EXPECT_NEAR(std::stod(shownAngle), 0.5 * 180 / 3.14159265358979323846, 1e-9) << "degrees shown";
    EXPECT_EQ(tickedBefore, 0);
    EXPECT_EQ(tickedAfter, 1) << "typing ticks the box";
    EXPECT_TRUE(tool->useLength);
    EXPECT_TRUE(tool->useAngle);
    EXPECT_EQ(tool->length, 250.0);
    EXPECT_DOUBLE_EQ(tool->angle, 90 * 0.017453292519943295);
    EXPECT_EQ(tool->count, 7.0);
    EXPECT_TRUE(h.ItemState(ID_NUMERIC_INPUT).first);

    h.dialogs.Script(kNumericTemplate,
                     DialogScript().SetText(kLengthEdit, "1").SetCheck(kAngleCheck, 0).Cancel());
    h.view->SendCommand(ID_NUMERIC_INPUT);
    EXPECT_EQ(tool->length, 250.0) << "cancel changes nothing";
    EXPECT_TRUE(tool->useAngle);
}

TEST(NumericEntry, KeepValuesDecidesWhetherResetReleasesThem) {
    RegisterNumericTemplate();
    ToolHarness h;
    auto* tool = h.Use(new NumericTool(), ID_TOOL_LINE);
    h.dialogs.Script(kNumericTemplate,
                     DialogScript().SetText(kLengthEdit, "5").SetCheck(IDC_KEEP_VALUES, 1).Ok());
    h.RightClick({3000, 3000}, MK_CONTROL);
    EXPECT_TRUE(tool->KeepsValues());
    tool->Reset();
    EXPECT_TRUE(tool->useLength) << "kept";
    h.dialogs.Script(kNumericTemplate, DialogScript().SetCheck(IDC_KEEP_VALUES, 0).Ok());
    h.RightClick({3000, 3000}, MK_CONTROL);
    tool->Reset();
    EXPECT_FALSE(tool->useLength) << "released";
    EXPECT_EQ(tool->length, 5.0);
}

namespace {
// Its figure is a diagonal line through the pointer, so the XOR figure covers the current point.
class CrossingLineTool : public MDrawTool {
public:
    explicit CrossingLineTool(int toolId = 1) : MDrawTool(toolId) {}
    MCadShape* NewShape(MTessarayView*) override { return new MLineShape(); }
    int OnPoint(MTessarayView*, double x, double y, int phase, UINT) override {
        auto* line = static_cast<MLineShape*>(Lists().NewShape(0));
        line->m_start = MFloatPoint(x - 1000, y - 1000);
        line->m_end = MFloatPoint(x + 1000, y + 1000);
        return phase == kPhaseTest;
    }
};
}  // namespace

TEST(ColorAtCursor, ReadsTheDrawingNotTheXorFigures) {
    ToolHarness h;
    h.Use(new CrossingLineTool(), ID_TOOL_LINE);
    auto* rect = new MRectShape();
    rect->SetRect(2000, 2000, 2000, 1000);
    rect->SetColor(0x0000FF);
    rect->SetFillStyle(MFillStyle(0x0000FF));
    h.doc.AppendShape(rect, 0);
    rect->Recalc(h.view.get());
    h.Repaint();
    // The figure and the cross-hair run over the point.
    h.Press({1000, 1000});
    h.MoveTo({2500, 2500});
    h.MoveTo({3000, 2600});
    const CPoint c = h.ToClient({3000, 2600});
    ASSERT_NE(h.Surface().pixelColor(c.x, c.y), QColor(255, 0, 0)) << "the screen shows XOR there";
    h.view->SendCommand(ID_COPY_COLOR_TO_LINE);
    EXPECT_EQ(GetDrawAttributes().lineColor, 0x0000FFu);
    h.view->SendCommand(ID_COPY_COLOR_TO_FACE);
    EXPECT_EQ(GetDrawAttributes().faceFill, MFillStyle(0x0000FF));
    // At a snapped end point the shape's own colour counts.
    h.AddLine(6000, 6000, 8000, 7000)->SetColor(0x00FF00);
    GetOptionRecord().m_snap = kSnapEndPoint;
    h.MoveTo({6000, 6000});
    h.view->SendCommand(ID_COPY_COLOR_TO_TEXT);
    EXPECT_EQ(GetDrawAttributes().textColor, 0x00FF00u);
    h.Release({9000, 9000});
}
