// The line tools' values in a drawing's [TOOLS] section: saved, loaded and saved again byte for byte,
// and lines a drawing cannot mean (not finite, out of range) read as the defaults and limits.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "tests/tools/line/LineTestSupport.h"
#include "tools/DrawToolArray.h"
#include "tools/line/ContLineTool.h"
#include "tools/line/WallTool.h"
#include "tools/line/XYLineTool.h"

using namespace linetest;
using namespace tooltest;
using ::testing::HasSubstr;

namespace {

std::string Saved() {
    std::ostringstream os;
    GetDrawToolArray().SaveSettings(os);
    return os.str();
}

void Load(const std::string& text) {
    std::istringstream in(text);
    GetDrawToolArray().LoadSettings(in);
}

template <class T>
T* ToolOf(UINT command) {
    return dynamic_cast<T*>(GetDrawToolArray().FindByCommand(command));
}

}  // namespace

TEST(LineToolSettings, TheSixToolsSaveLoadAndSaveAgainByteForByte) {
    ToolHarness h;
    for (UINT command :
         {ID_TOOL_LINE, ID_TOOL_XYLINE, ID_TOOL_CONTLINE, ID_TOOL_POLYGON, ID_TOOL_FREELINE, ID_TOOL_WALL})
        GetDrawToolArray().FindByCommand(command)->SetAutoLayerName("壁 ｶﾅ layer");
    std::istringstream lock("\t250.5 0.5235987755982988 1\n");
    ToolOf<MContLineTool>(ID_TOOL_CONTLINE)->LoadSettings(lock);
    MWallStyle& wall = ToolOf<MWallTool>(ID_TOOL_WALL)->Style();
    wall = {120.5, 80, TRUE, "芯 ｾﾝﾀｰ", RGB(10, 20, 30), 0.5, 3};
    const std::string first = Saved();
    EXPECT_THAT(first, HasSubstr("CONTLINE\n\t壁 ｶﾅ layer\n\t250.5 0.5235987755982988 1\n"));
    EXPECT_THAT(first, HasSubstr("FREELINE\n\t壁 ｶﾅ layer\nCIRCLE"));
    EXPECT_THAT(first, HasSubstr("WALL\n\t壁 ｶﾅ layer\n\t100 0\n\t120.5 80 1\n\t芯 ｾﾝﾀｰ\n\t1971210 3 0.5\n"));

    wall = MWallStyle();
    ToolOf<MContLineTool>(ID_TOOL_CONTLINE)->SetAutoLayerName("");
    Load(first);
    EXPECT_EQ(Saved(), first);
    EXPECT_EQ(ToolOf<MWallTool>(ID_TOOL_WALL)->Style().layer, "芯 ｾﾝﾀｰ");
    EXPECT_TRUE(ToolOf<MContLineTool>(ID_TOOL_CONTLINE)->IsPolyline());
}

TEST(LineToolSettings, ValuesADrawingCannotMeanReadAsDefaultsAndLimits) {
    ToolHarness h;
    Load(
        "\t53\nLINE\n\t\n\tnan 1e400\nXYLINE\n\t\n\t100 inf\nCONTLINE\n\t\n\t1e400 nan 1\n"
        "WALL\n\t\n\t-nan 7\n\t150 1e400 1\n\t芯\n\t255 200 -1\n[LAYERS]\n");
    auto* line = ToolOf<MLineTool>(ID_TOOL_LINE);
    EXPECT_EQ(line->GetLockLength(), MLineTool::kDefaultLength);
    EXPECT_EQ(line->GetLockAngle(), 0.0);
    EXPECT_EQ(ToolOf<MXYLineTool>(ID_TOOL_XYLINE)->GetStep(), 0.0) << "no step chosen: 90 degrees";
    EXPECT_EQ(ToolOf<MContLineTool>(ID_TOOL_CONTLINE)->GetLockLength(), MLineTool::kDefaultLength);
    auto* wallTool = ToolOf<MWallTool>(ID_TOOL_WALL);
    EXPECT_EQ(wallTool->GetLockLength(), MLineTool::kDefaultLength);
    EXPECT_EQ(wallTool->GetLockAngle(), 7.0);
    const MWallStyle& wall = wallTool->Style();
    EXPECT_EQ(wall.leftWidth, 150.0);
    EXPECT_EQ(wall.rightWidth, 100.0);
    EXPECT_EQ(wall.lineStyle, 0);
    EXPECT_EQ(wall.width, 0.0);
    EXPECT_EQ(wall.layer, "芯");
    const std::string saved = Saved();
    EXPECT_EQ(saved.find("nan"), std::string::npos);
    EXPECT_EQ(saved.find("inf"), std::string::npos);
}
