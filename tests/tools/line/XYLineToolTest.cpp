// The XY line through the view: the direction snaps to multiples of the step (90 degrees unless
// dialog 265 chose another), halves rounding away from zero; a step that is no finite number or
// too small to divide by is 90 degrees and never reaches the drawing as NaN.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "model/geometry/Geometry.h"
#include "tests/tools/line/LineTestSupport.h"
#include "tools/line/LineDialogs.h"
#include "tools/line/XYLineTool.h"

using namespace linetest;
using namespace tooltest;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

struct XYHarness : LineHarness {
    XYHarness() : LineHarness(ID_TOOL_XYLINE) {
        tool = As<MXYLineTool>();
        GetOptionRecord().m_snap = 0;
    }
    // A line from the middle of the view to a pointer at the angle (degrees), in pixels.
    MLineShape* DrawAt(double degrees, double pixels = 200) {
        const CPoint a(400, 300);
        const double r = degrees * kPi / 180;
        const CPoint b(a.x + static_cast<int>(std::lround(pixels * std::cos(r))),
                       a.y - static_cast<int>(std::lround(pixels * std::sin(r))));
        PressAt(a);
        ReleaseAt(a);
        MoveToClient(b);
        PressAt(b);
        ReleaseAt(b);
        const auto lines = LinesOf(doc);
        return lines.empty() ? nullptr : lines.back();
    }
    static double Degrees(const MLineShape& line) {
        return (line.m_end - line.m_start).GetAngle() * 180 / kPi;
    }
    void TypeStep(const std::string& step) {
        dialogs.Script(IDD_XYLINE_INPUT, DialogScript().SetText(IDC_SNAP_ANGLE, step).Ok());
        RightClick(At(0, 0), MK_CONTROL);
    }
    MXYLineTool* tool;
};

}  // namespace

TEST(XYLineTool, ThirtyDegreesGiveAHorizontalLineAndFortyFiveAVerticalOne) {
    XYHarness h;
    // The first use turns the unchosen step into 90 degrees, a tool setting outside the history.
    MLineShape* line = h.DrawAt(30);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->m_end.y, line->m_start.y);
    EXPECT_GT(line->m_end.x, line->m_start.x);
    h.ExpectOneUndoStep([&] { h.DrawAt(45); });
    line = LinesOf(h.doc).back();
    EXPECT_NEAR(line->m_end.x, line->m_start.x, 1e-9) << "half a step rounds away from zero";
    EXPECT_GT(line->m_end.y, line->m_start.y);
    line = h.DrawAt(-135);
    EXPECT_NEAR(std::fabs(XYHarness::Degrees(*line)), 180, 1e-9);
}

TEST(XYLineTool, AStepOfFifteenTurnsFortyDegreesIntoFortyFive) {
    XYHarness h;
    EXPECT_FALSE(h.ItemState(ID_TOUCH).first);
    h.TypeStep("15");
    EXPECT_NEAR(h.tool->GetAngleStep(), kPi / 12, 1e-15);
    MLineShape* line = h.DrawAt(40);
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR(XYHarness::Degrees(*line), 45, 1e-9);
}

TEST(XYLineTool, TheNumberAStepBeginsWithIsTheStep) {
    const struct {
        const char* text;
        double degrees;
    } cases[] = {{"45°", 45}, {" 15 度", 15}, {"30deg", 30}, {"+5.5x", 5.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        XYHarness h;
        h.TypeStep(c.text);
        EXPECT_NEAR(h.tool->GetAngleStep(), c.degrees * kPi / 180, 1e-15);
    }
}

TEST(XYLineTool, StepsThatAreNoNumberGiveNinetyDegreesAndNoNaN) {
    for (const char* step : {"0", "abc", "nan", "1e999", "1e-300"}) {
        XYHarness h;
        h.TypeStep(step);
        EXPECT_TRUE(std::isfinite(h.tool->GetAngleStep())) << step;
        MLineShape* line = h.DrawAt(30);
        ASSERT_NE(line, nullptr) << step;
        EXPECT_EQ(line->m_end.y, line->m_start.y) << step;
        line = h.DrawAt(60);
        EXPECT_NEAR(line->m_end.x, line->m_start.x, 1e-9) << step;
        const std::string text = h.NativeText();
        EXPECT_THAT(text, Not(HasSubstr("nan"))) << step;
        EXPECT_THAT(text, Not(HasSubstr("inf"))) << step;
    }
}

TEST(XYLineTool, AStepOfZeroBecomesNinetyDegreesAtItsFirstUseAndIsSavedSo) {
    XYHarness h;
    h.TypeStep("0");
    MLineShape* line = h.DrawAt(30);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->m_end.y, line->m_start.y);
    EXPECT_EQ(h.tool->GetAngleStep(), kPi / 2);
    EXPECT_THAT(h.NativeText(), HasSubstr("XYLINE\n\t\n\t100 1.5707963267948966\n"));
}

TEST(XYLineTool, ATinyStepNeedsNoIntegerOfItsQuotient) {
    XYHarness h;
    std::istringstream in("\t100 1e-10\n");
    h.tool->LoadSettings(in);
    EXPECT_EQ(h.tool->GetAngleStep(), 1e-10);
    // 0.5 rad / 1e-10 is far past any 32-bit integer.
    const MFloatPoint foot = h.tool->ProjectPointOnLine(0, 0, 1000 * std::cos(0.5), 1000 * std::sin(0.5));
    EXPECT_NEAR(foot.x, 1000 * std::cos(0.5), 1e-4);
    EXPECT_NEAR(foot.y, 1000 * std::sin(0.5), 1e-4);
}

TEST(XYLineTool, TheDialogOpensOnTheListEntryNearestTheStep) {
    const std::vector<std::string> list = MInputXYLineDialog::StepList();
    ASSERT_EQ(list, (std::vector<std::string>{"5", "10", "15", "30", "45", "90"}));
    EXPECT_EQ(MInputXYLineDialog::InitialStepText(list, 0.0), "90") << "no step chosen: the last entry";
    EXPECT_EQ(MInputXYLineDialog::InitialStepText(list, -40 * kPi / 180), "45");
    EXPECT_EQ(MInputXYLineDialog::InitialStepText(list, 12 * kPi / 180), "10");
    EXPECT_EQ(MInputXYLineDialog::InitialStepText({}, 1.0), "90");
    EXPECT_DOUBLE_EQ(MInputXYLineDialog::ParseStep(" 15 "), 15 * kPi / 180);
    EXPECT_EQ(MInputXYLineDialog::ParseStep("1e999"), 0.0);
}
