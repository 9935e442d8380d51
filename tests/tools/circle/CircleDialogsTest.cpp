// The numeric dialogs of the circle family by script, and the tools' settings lines in a drawing's
// [TOOLS] section.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "tests/tools/circle/CircleFamilyHarness.h"
#include "tools/circle/ArcTools.h"
#include "tools/circle/EllipseTools.h"
#include "tools/circle/ThreePointTools.h"

using namespace circletest;
using ::testing::HasSubstr;

namespace {

DialogScript::Step ReadCheck(int check, UINT* out) {
    return [check, out](CDialog& dialog) { *out = dialog.IsDlgButtonChecked(check); };
}

// Opens the tool's dialog with Ctrl + right click and runs the script.
struct DialogHarness : FamilyHarness<MDrawTool> {
    explicit DialogHarness(UINT command) : FamilyHarness<MDrawTool>(command) {}
    DialogRunner::DialogRecord Run(UINT dialog, DialogScript script) {
        Numeric(dialog, std::move(script));
        return dialogs.Dialogs().back();
    }
};

}  // namespace

TEST(CircleDialogs, FocusingAnEditTicksItsBox) {
    const struct {
        UINT tool, dialog;
        int edit, check;
    } pairs[] = {
        {ID_TOOL_3PCIRCLE, IDD_3P_ARC_INPUT, IDC_ARC_RADIUS, IDC_ARC_RADIUS_CHECK},
        {ID_TOOL_CIRCLEARC, IDD_CIRCLE_ARC_INPUT, IDC_ARC_RADIUS, IDC_ARC_RADIUS_CHECK},
        {ID_TOOL_CIRCLEARC, IDD_CIRCLE_ARC_INPUT, IDC_ARC_START, IDC_ARC_START_CHECK},
        {ID_TOOL_CIRCLEARC, IDD_CIRCLE_ARC_INPUT, IDC_ARC_END, IDC_ARC_END_CHECK},
        {ID_TOOL_HALFCIRCLE, IDD_HALF_CIRCLE_INPUT, IDC_HALF_RADIUS, IDC_HALF_RADIUS_CHECK},
        {ID_TOOL_QUADCIRCLE, IDD_HALF_CIRCLE_INPUT, IDC_HALF_ANGLE, IDC_HALF_ANGLE_CHECK},
        {ID_TOOL_ELLIPSE, IDD_ELLIPSE_INPUT, IDC_ELLIPSE_RX, IDC_ELLIPSE_RX_CHECK},
        {ID_TOOL_ELLIPSE, IDD_ELLIPSE_INPUT, IDC_ELLIPSE_RY, IDC_ELLIPSE_RY_CHECK},
    };
    for (const auto& p : pairs) {
        SCOPED_TRACE(p.edit);
        DialogHarness h(p.tool);
        UINT before = 9, after = 9;
        h.Run(p.dialog, DialogScript()
                            .Do(ReadCheck(p.check, &before))
                            .Do(tooltest::FocusEdit(p.edit))
                            .Do(ReadCheck(p.check, &after))
                            .Cancel());
        EXPECT_EQ(before, 0u);
        EXPECT_EQ(after, 1u);
        EXPECT_FALSE(h.tool->IsConstrained()) << "Cancel changes nothing";
    }
}

TEST(CircleDialogs, ATickedRadiusNotAboveZeroIsRefusedAndTheDialogStaysOpen) {
    const struct {
        UINT tool, dialog;
        int edit, check;
        const char* message;
    } cases[] = {
        {ID_TOOL_3PCIRCLEARC, IDD_3P_ARC_INPUT, IDC_ARC_RADIUS, IDC_ARC_RADIUS_CHECK,
         "半径には0より大きい値を指定してください。"},
        {ID_TOOL_CIRCLEFAN, IDD_CIRCLE_ARC_INPUT, IDC_ARC_RADIUS, IDC_ARC_RADIUS_CHECK,
         "半径には0より大きい値を指定してください。"},
        {ID_TOOL_HALFCIRCLE, IDD_HALF_CIRCLE_INPUT, IDC_HALF_RADIUS, IDC_HALF_RADIUS_CHECK,
         "半径には0より大きい値を指定してください。"},
        {ID_TOOL_ELLIPSE, IDD_ELLIPSE_INPUT, IDC_ELLIPSE_RY, IDC_ELLIPSE_RY_CHECK,
         "半径には0より大きい値を指定してください。"},
        {ID_TOOL_ELLIPSEEXTENT, IDD_2P_ELLIPSE_INPUT, IDC_ELLIPSE_RY, 0,
         "半径には0より大きい値を指定してください。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialog);
        DialogHarness h(c.tool);
        MessageBoxRecorder messages;
        DialogScript script;
        if (c.check) script.SetCheck(c.check, 1);
        script.SetText(c.edit, "0").Ok().SetText(c.edit, "-2").Ok().Cancel();
        const auto record = h.Run(c.dialog, script);
        EXPECT_EQ(record.result, IDCANCEL) << "the dialog stayed open to the end";
        ASSERT_EQ(messages.Messages().size(), 2u);
        EXPECT_EQ(messages.Messages()[0].text, c.message);
        EXPECT_FALSE(h.tool->IsConstrained());
        // Unticked, the radius is not used and nothing is refused.
        if (c.check) {
            EXPECT_EQ(h.Run(c.dialog, DialogScript().SetText(c.edit, "0").SetCheck(c.check, 0).Ok()).result,
                      IDOK);
            EXPECT_EQ(messages.Messages().size(), 2u);
        }
    }
}

TEST(CircleDialogs, TheHalfCircleDialogRefusesAnAngleOutsideAFullTurn) {
    DialogHarness h(ID_TOOL_HALFCIRCLE);
    MessageBoxRecorder messages;
    const auto record = h.Run(IDD_HALF_CIRCLE_INPUT, DialogScript()
                                                         .SetText(IDC_HALF_ANGLE, "400")
                                                         .SetCheck(IDC_HALF_ANGLE_CHECK, 1)
                                                         .Ok()
                                                         .SetText(IDC_HALF_ANGLE, "-360")
                                                         .Ok());
    EXPECT_EQ(record.result, IDOK);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_THAT(messages.Messages()[0].text, HasSubstr("360"));
    auto* tool = dynamic_cast<MHalfCircleTool*>(h.tool);
    ASSERT_NE(tool, nullptr);
    EXPECT_NEAR(tool->GetAngle(), -2 * kPi, 1e-12);
}

TEST(CircleDialogs, TheTwoCornerEllipseDialogOpensQuietlyOnBadLoadedValues) {
    DialogHarness h(ID_TOOL_ELLIPSEEXTENT);
    std::istringstream line("\tnan -1 12\n");
    h.tool->LoadSettings(line);
    MessageBoxRecorder messages;
    std::string rx, ry;
    UINT topLeft = 0;
    const auto record = h.Run(IDD_2P_ELLIPSE_INPUT, DialogScript()
                                                        .Read(IDC_ELLIPSE_RX, &rx)
                                                        .Read(IDC_ELLIPSE_RY, &ry)
                                                        .Do(ReadCheck(IDC_ELLIPSE_ANCHOR, &topLeft))
                                                        .Ok());
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(record.result, IDOK);
    EXPECT_EQ(rx, "100");
    EXPECT_EQ(ry, "100");
    EXPECT_EQ(topLeft, 1u);
}

TEST(CircleToolSettings, EachToolsLineSavesLoadsAndSavesAgainByteForByte) {
    tooltest::ToolHarness h;
    MDrawToolArray& tools = GetDrawToolArray();
    const struct {
        UINT command;
        const char* line;
    } lines[] = {
        {ID_TOOL_CIRCLE, "\t123.4567\n"},
        {ID_TOOL_3PCIRCLE, "\t12.5\n"},
        {ID_TOOL_3PCIRCLEARC, "\t0.125\n"},
        {ID_TOOL_CIRCLEARC, "\t12.5 0.5 3.25\n"},
        {ID_TOOL_CIRCLEFAN, "\t7 -1.5707963267948966 1\n"},
        {ID_TOOL_HALFCIRCLE, "\t7 -1.5\n"},
        {ID_TOOL_QUADCIRCLE, "\t3 6.25\n"},
        {ID_TOOL_ELLIPSE, "\t30 10\n"},
        {ID_TOOL_ELLIPSEEXTENT, "\t20 10 8\n"},
    };
    for (const auto& l : lines) {
        std::istringstream in(l.line);
        tools.FindByCommand(l.command)->LoadSettings(in);
    }
    std::ostringstream first;
    tools.SaveSettings(first);
    for (const auto& l : lines)
        EXPECT_THAT(first.str(), HasSubstr("\n\t\n" + std::string(l.line))) << l.line;
    std::istringstream in(first.str());
    tools.LoadSettings(in);
    std::ostringstream second;
    tools.SaveSettings(second);
    EXPECT_EQ(second.str(), first.str());
}

TEST(CircleToolSettings, DamagedValuesLoadAsTheDefaults) {
    tooltest::ToolHarness h;
    MDrawToolArray& tools = GetDrawToolArray();
    const struct {
        UINT command;
        const char* bad;
        const char* loaded;
    } cases[] = {
        {ID_TOOL_3PCIRCLE, "\tnan\n", "\t100\n"},
        {ID_TOOL_3PCIRCLEARC, "\t-1\n", "\t100\n"},
        {ID_TOOL_CIRCLEARC, "\t-1 nan inf\n", "\t100 0 6.283185307179586\n"},
        {ID_TOOL_CIRCLEFAN, "\t0 1e999 x\n", "\t100 0 6.283185307179586\n"},
        {ID_TOOL_HALFCIRCLE, "\tnan nan\n", "\t100 0\n"},
        {ID_TOOL_QUADCIRCLE, "\t-1\n", "\t100 0\n"},
        {ID_TOOL_ELLIPSE, "\t-1 nan\n", "\t100 100\n"},
        {ID_TOOL_ELLIPSEEXTENT, "\tnan -1 12\n", "\t100 100 0\n"},
        {ID_TOOL_ELLIPSEEXTENT, "\t5 5 -1\n", "\t5 5 0\n"},
        {ID_TOOL_ELLIPSEEXTENT, "\t5 5 2.5\n", "\t5 5 0\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bad);
        MDrawTool* tool = tools.FindByCommand(c.command);
        std::istringstream in(std::string(c.bad) + "NEXT\n");
        tool->LoadSettings(in);
        std::ostringstream out;
        tool->SaveSettings(out);
        EXPECT_EQ(out.str(), c.loaded);
        std::string rest;
        std::getline(in, rest);
        EXPECT_EQ(rest, "NEXT") << "only the tool's own line is read";
    }
}
