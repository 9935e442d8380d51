// The figure tools in a drawing's [TOOLS] section: the rectangle's and the regular polygon's value
// lines travel with the drawing, damaged values read as their defaults, and the spline and mark
// tools write only their automatic layer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/TestSupport.h"
#include "tests/tools/line/FigureTestSupport.h"
#include "tools/line/NPolygonTool.h"
#include "tools/line/RectTool.h"

using namespace figuretest;
using ::testing::HasSubstr;

namespace {

MRectTool* RectTool() {
    return dynamic_cast<MRectTool*>(GetDrawToolArray().FindByCommand(ID_TOOL_RECT));
}
MNPolygonTool* NPolygonTool() {
    return dynamic_cast<MNPolygonTool*>(GetDrawToolArray().FindByCommand(ID_TOOL_NPOLYGON));
}

std::string Saved(MDrawTool* tool) {
    std::ostringstream out;
    tool->SaveSettings(out);
    return out.str();
}

void Load(MDrawTool* tool, const std::string& text) {
    std::istringstream in(text);
    tool->LoadSettings(in);
}

}  // namespace

TEST(FigureSettings, TheRectangleAndPolygonLinesSurviveSaveOpenAndSaveAgain) {
    FigureHarness h(ID_TOOL_RECT);
    h.dialogs.Script(IDD_RECT_INPUT, DialogScript()
                                         .SetText(IDC_RECT_WIDTH, "12.5")
                                         .SetText(IDC_RECT_HEIGHT, "-7")
                                         .SetCheck(IDC_RECT_POLYGON, 1)
                                         .Ok());
    h.RightClick(At(0, 0), MK_CONTROL);
    h.Choose(ID_TOOL_NPOLYGON);
    h.dialogs.Script(IDD_NPOLYGON_INPUT, DialogScript()
                                             .SetText(IDC_NPOLYGON_SIDES, "8")
                                             .SetCheck(IDC_NPOLYGON_CIRCUMSCRIBED, 0)
                                             .SetText(IDC_NPOLYGON_RADIUS, "25")
                                             .SetText(IDC_NPOLYGON_ANGLE, "45")
                                             .Ok());
    h.RightClick(At(0, 0), MK_CONTROL);
    const std::string before = h.NativeText();
    EXPECT_THAT(before, HasSubstr("RECT\n\t\n\t12.5 -7 1\nNPOLYGON\n\t\n\t25 0.7853981633974483 8 0\n"));

    const std::string path = MakeTempDir("figure-settings") + "/figures.qfd";
    ASSERT_TRUE(h.doc.OnSaveDocument(path));
    Load(RectTool(), "\t100 100 0\n");
    Load(NPolygonTool(), "\t100 0 6 1\n");
    ASSERT_EQ(RectPolygonFlag(), 0);
    MTessarayDoc other;
    ASSERT_TRUE(other.OnOpenDocument(path));
    EXPECT_EQ(RectTool()->GetWidth(), 12.5);
    EXPECT_EQ(RectTool()->GetHeight(), -7.0);
    EXPECT_EQ(RectPolygonFlag(), 1) << "opening a drawing sets the program-wide flag";
    EXPECT_EQ(NPolygonTool()->GetSides(), 8);
    EXPECT_FALSE(NPolygonTool()->IsCircumscribed());
    EXPECT_EQ(h.NativeText(), before) << "saved again byte for byte";
}

TEST(FigureSettings, DamagedPolygonValuesReadAsTheirDefaults) {
    FigureHarness h(ID_TOOL_NPOLYGON);
    MNPolygonTool* tool = NPolygonTool();
    for (const char* line : {"\t50 0 0 1\n", "\t50 0 -5 1\n", "\t50 0 10001 1\n", "\t50 0 x 1\n"}) {
        Load(tool, "\t20 0.5 9 0\n");
        Load(tool, line);
        EXPECT_EQ(tool->GetSides(), 6) << line;
        EXPECT_EQ(tool->GetRadius(), 50.0) << line;
    }
    for (const char* line : {"\tnan 1 5 1\n", "\t0 1 5 1\n", "\t-3 1 5 1\n", "\tinf 1 5 1\n"}) {
        Load(tool, line);
        EXPECT_EQ(tool->GetRadius(), 100.0) << line;
        EXPECT_EQ(tool->GetSides(), 5) << line;
    }
    Load(tool, "\t10 nan 3 1\n");
    EXPECT_EQ(tool->GetAngle(), 0.0);
    Load(tool, "\t10 -inf 10000 0\n");
    EXPECT_EQ(tool->GetAngle(), 0.0);
    EXPECT_EQ(tool->GetSides(), 10000);
    EXPECT_EQ(Saved(tool), "\t10 0 10000 0\n");

    // A polygon with the loaded count draws: no NaN vertex, no unbounded allocation.
    Load(tool, "\tnan nan 0 1\n");
    h.dialogs.Script(IDD_NPOLYGON_INPUT, DialogScript().SetCheck(IDC_NPOLYGON_RADIUS_LOCK, 1).Ok());
    h.Click(At(0, 0));
    h.Click(At(1000, 0));
    const auto* polygon = h.Last<MPolygonShape>();
    ASSERT_NE(polygon, nullptr);
    ASSERT_EQ(polygon->GetPointCount(), 6);
    EXPECT_TRUE(Near(polygon->GetPoint(0), At(100, 0)));
}

TEST(FigureSettings, RectangleSizesThatAreNotFiniteReadAsOneHundred) {
    FigureHarness h(ID_TOOL_RECT);
    Load(RectTool(), "\tnan inf 1\n\tnext\n");
    EXPECT_EQ(RectTool()->GetWidth(), 100.0);
    EXPECT_EQ(RectTool()->GetHeight(), 100.0);
    EXPECT_EQ(RectPolygonFlag(), 1);
    Load(RectTool(), "\t0 -20 0\n");
    EXPECT_EQ(Saved(RectTool()), "\t0 -20 0\n");
    std::istringstream in("\t5 6 1\nNPOLYGON\n");
    RectTool()->LoadSettings(in);
    EXPECT_EQ(in.peek(), 'N') << "the next tool's lines stay";
}

TEST(FigureSettings, SplineAndMarkToolsWriteOnlyTheirAutomaticLayer) {
    FigureHarness h(ID_TOOL_SPLINE);
    GetDrawToolArray().FindByCommand(ID_TOOL_SPLINE)->SetAutoLayerName("曲線");
    GetDrawToolArray().FindByCommand(ID_TOOL_SPLINELOOP)->SetAutoLayerName("閉曲線");
    GetDrawToolArray().FindByCommand(ID_TOOL_MARK)->SetAutoLayerName("点");
    const std::string text = h.NativeText();
    EXPECT_THAT(text, HasSubstr("\nCONTLINE\n\t\n\t100 0 0\nSPLINE\n\t曲線\nSPLINELOOP\n\t閉曲線\nCIRCLE\n"));
    EXPECT_THAT(text, HasSubstr("\nMARK\n\t点\nTEXT\n"));
}
