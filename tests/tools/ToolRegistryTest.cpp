// The 53 registered tools: the table, switching by command, the recent tools, and their settings
// in the drawing file.
#include <gmock/gmock.h>

#include <set>

#include "resources/ResourceFormats.h"

#include "tests/tools/TestTools.h"
#include "tests/tools/ToolTestSupport.h"

using namespace tooltest;
using ::testing::HasSubstr;

namespace {

struct Row {
    const char* key;
    int toolId;
    UINT command;
    BOOL autoLayer;
    const char* title;
};

// clang-format off
const Row kExpected[] = {
    {"LINE", 1, 32771, 1, "直線"}, {"XYLINE", 2, 32888, 1, "水平・垂直線"}, {"CONTLINE", 3, 32837, 1, "連続線"},
    {"SPLINE", 4, 32865, 1, "スプライン"}, {"SPLINELOOP", 5, 32866, 1, "スプラインループ"},
    {"FREELINE", 51, 33037, 1, "自由曲線"}, {"CIRCLE", 6, 32772, 1, "中心円"}, {"3PCIRCLE", 7, 32846, 1, "3点円"},
    {"ELLIPSE", 8, 32774, 1, "楕円"}, {"ELLIPSEEXTENT", 50, 33022, 1, "２点楕円"},
    {"CIRCLEARC", 9, 32775, 1, "円弧"}, {"3PCIRCLEARC", 10, 32847, 1, "3点円弧"},
    {"CIRCLEFAN", 11, 32839, 1, "扇形"}, {"HALFCIRCLE", 12, 32849, 1, "半円"},
    {"QUADCIRCLE", 13, 32850, 1, "1/4円弧"}, {"RECT", 14, 32819, 1, "四角形"},
    {"NPOLYGON", 15, 32848, 1, "正ｎ角形"}, {"POLYGON", 16, 32821, 1, "ポリゴン"},
    {"SIZE", 17, 32782, 1, "寸法線"}, {"SIZEX", 18, 32868, 1, "横寸法線"}, {"SIZEY", 19, 32869, 1, "縦寸法線"},
    {"RADIUS", 20, 32871, 1, "半径"}, {"DIAMETER", 21, 32870, 1, "直径"}, {"ANGLE", 22, 32851, 1, "角度"},
    {"LINEANGLE", 23, 32852, 1, "線間角度"}, {"LABEL", 24, 32835, 1, "引き出し線"},
    {"BALLOON", 25, 32836, 1, "バルーン"}, {"WALL", 26, 32853, 1, "壁"}, {"MARK", 27, 32874, 1, "マーク"},
    {"TEXT", 28, 32781, 1, "1行文字"}, {"HATCH", 29, 32833, 1, "ハッチング"},
    {"SELECT", 30, 32791, 0, "図形選択"}, {"CORNER", 31, 32779, 0, "コーナー"}, {"ROUND", 32, 32780, 0, "角丸め"},
    {"LINEEXTEND", 33, 32820, 0, "線分延長"}, {"LINECUT", 34, 32841, 0, "線分切断"},
    {"LINELINECUT", 35, 32840, 0, "線分線切断"}, {"TRIM", 36, 32842, 0, "包絡処理"},
    {"COPYLINE", 37, 32857, 0, "線上複写"}, {"COPYROTATE", 38, 32858, 0, "円上複写"},
    {"MEASURELENGTH", 39, 32873, 0, "距離"}, {"MEASUREANGLE", 40, 32872, 0, "角度測定"},
    {"FUSION", 41, 33006, 0, "演算"}, {"ORIGIN", 42, 32799, 0, "原点"}, {"PRINTAREA", 43, 32962, 0, "印刷領域設定"},
    {"ZOOM", 44, 32867, 0, "拡大･縮小"}, {"EDGE", 46, 33008, 0, "面取り"}, {"HOLE", 47, 33010, 0, "部分消去"},
    {"HOLE2LINE", 48, 33015, 0, "2線分内消去"}, {"MULTITEXT", 49, 33016, 1, "複数行文字"},
    {"DIVID", 52, 33081, 1, "分割点"}, {"STRETCH", 53, 33087, 0, "ストレッチ"},
    {"MEASUREAREA", 54, 33098, 0, "面積測定"},
};
// clang-format on

}  // namespace

TEST(ToolRegistry, RegistersTheFiftyThreeToolsInOrderWithTheirIdentity) {
    ToolProgram program;
    MDrawToolArray& tools = GetDrawToolArray();
    ASSERT_EQ(tools.GetToolCount(), 53);
    for (int i = 0; i < 53; ++i) {
        const Row& row = kExpected[i];
        SCOPED_TRACE(row.key);
        MDrawTool* tool = tools.GetToolAt(i);
        EXPECT_EQ(tool->GetKey(), row.key);
        EXPECT_EQ(tool->GetToolId(), row.toolId);
        EXPECT_EQ(tool->GetCommandId(), row.command);
        EXPECT_EQ(tool->IsAutoLayerCapable(), row.autoLayer);
        EXPECT_EQ(tool->GetTitle(), row.title);
        EXPECT_EQ(tools.FindByCommand(row.command), tool);
    }
    EXPECT_EQ(GetRecentTool(0), tools.FindByCommand(ID_TOOL_LINE));
    EXPECT_EQ(GetRecentTool(1), nullptr);
}

TEST(ToolRegistry, EveryToolCommandSwitchesToItsToolAndChecksOnlyItsItem) {
    ToolHarness h;
    for (const Row& row : kExpected) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(h.Choose(row.command)->GetCommandId(), row.command);
        EXPECT_EQ(h.ItemState(row.command), std::make_pair(true, 1));
        EXPECT_EQ(h.ItemState(row.command == ID_TOOL_LINE ? ID_TOOL_SELECT : ID_TOOL_LINE).second, 0);
    }
    // The main menu offers every tool.
    std::set<UINT> items;
    for (const MenuTemplateItem* item = FindMenuTemplate(128); item->op != MenuOp::EndMenu; ++item)
        items.insert(item->id);
    for (const Row& row : kExpected)
        EXPECT_TRUE(items.count(row.command)) << row.key;
}

TEST(ToolRegistry, AFifthRecentToolComesFirstAndTheLastDropsOut) {
    ToolHarness h;
    MDrawToolArray& tools = GetDrawToolArray();
    for (UINT id : {ID_TOOL_CIRCLE, ID_TOOL_RECT, ID_TOOL_TEXT})
        h.Choose(id);
    h.Choose(ID_TOOL_CIRCLE);  // listed already: nothing changes
    const UINT before[] = {ID_TOOL_LINE, ID_TOOL_CIRCLE, ID_TOOL_RECT, ID_TOOL_TEXT};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(GetRecentTool(i), tools.FindByCommand(before[i]));
    h.Choose(ID_TOOL_CIRCLEARC);
    const UINT after[] = {ID_TOOL_CIRCLEARC, ID_TOOL_LINE, ID_TOOL_CIRCLE, ID_TOOL_RECT};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(GetRecentTool(i), tools.FindByCommand(after[i]));
    EXPECT_EQ(PreviousTool(), tools.FindByCommand(ID_TOOL_CIRCLE));
}

TEST(ToolRegistry, ChoosingTheCurrentToolAgainResetsIt) {
    ToolHarness h;
    auto* tool = h.Use(new RecordingLineTool, ID_TOOL_LINE);
    h.Click({2000, 2000});
    h.MoveTo({5000, 3000});
    ASSERT_EQ(tool->Lists().NewCount(), 1);
    EXPECT_EQ(h.Choose(ID_TOOL_LINE), tool);
    EXPECT_EQ(tool->Lists().NewCount(), 0);
    EXPECT_EQ(tool->GetStep(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(ToolRegistry, ANewDrawingWritesTheToolCountAndOnlyToolsWithValuesOfTheirOwn) {
    ToolHarness h;
    const std::string dimension = "\n\t\n\t100 1\n\tText\n";
    const std::string lines = "LINE\n\t\n\t100 0\nXYLINE\n\t\n\t100 0\nCONTLINE\n\t\n\t100 0 0\n";
    const std::string arc = "\n\t\n\t100 0 6.283185307179586\n";
    const std::string circles =
        "CIRCLE\n\t\n\t100\n3PCIRCLE\n\t\n\t100\nELLIPSE\n\t\n\t100 100\nELLIPSEEXTENT\n\t\n\t100 "
        "100 0\nCIRCLEARC" +
        arc + "3PCIRCLEARC\n\t\n\t100\nCIRCLEFAN" + arc + "HALFCIRCLE\n\t\n\t100 0\nQUADCIRCLE\n\t\n\t100 0\n";
    const std::string figures = "RECT\n\t\n\t100 100 0\nNPOLYGON\n\t\n\t100 0 6 1\nPOLYGON\n\t\n\t100 0\n";
    const std::string sizes = "SIZE" + dimension + "SIZEX" + dimension + "SIZEY" + dimension +
                              "RADIUS\n\t\n\t1 0 0\n\tText\nDIAMETER\n\t\n\t1\n\tText\n";
    const std::string wall = "WALL\n\t\n\t100 0\n\t100 100 0\n\t\n\t0 0 0\n";
    const std::string leaders =
        "LABEL\n\t\n\t100 0\n\tＭＳ ゴシック\n\t10 1 1 3 \n\tText\n"
        "BALLOON\n\t\n\t100 0\n\tＭＳ ゴシック\n\t7 1 3 32 4 0 0\n\tText\n";
    const std::string text = "TEXT\n\t\n\t\n\t0 0 8 0\n\tText\n";
    const std::string multiText = "MULTITEXT\n\t\n\t0\n\t\n\t0 8 0 0\n\t1\n\tText\n";
    EXPECT_THAT(h.NativeText(),
                HasSubstr("[TOOLS]\n\t53\n" + lines + circles + figures + sizes + leaders + wall + text +
                          "HATCH\n\t\n\t1 3 1 1 0 0 0 1\nROUND\n\t\n\t100\nEDGE\n\t\n\t100 100\n" + multiText +
                          "DIVID\n\t\n\t3\n[LAYERS]\n"));
}

TEST(ToolRegistry, EveryAutomaticLayerSurvivesSaveAndOpen) {
    ToolHarness h;
    MDrawToolArray& tools = GetDrawToolArray();
    for (int i = 0; i < tools.GetToolCount(); ++i)
        tools.GetToolAt(i)->SetAutoLayerName("層 " + tools.GetToolAt(i)->GetKey());
    const std::string path = MakeTempDir("tool-layers") + "/tools.qfd";
    ASSERT_TRUE(h.doc.OnSaveDocument(path));
    for (int i = 0; i < tools.GetToolCount(); ++i)
        tools.GetToolAt(i)->SetAutoLayerName("");
    MTessarayDoc other;
    ASSERT_TRUE(other.OnOpenDocument(path));
    for (const Row& row : kExpected) {
        MDrawTool* tool = tools.FindByCommand(row.command);
        // A tool with values of its own writes its layer line too.
        const bool written = row.autoLayer || tool->HasSettings();
        EXPECT_EQ(tool->GetAutoLayerName(), written ? "層 " + std::string(row.key) : "") << row.key;
    }
}

TEST(ToolRegistry, AnUnknownKeyWithValueLinesLeavesTheToolsAfterItInStep) {
    ToolHarness h;
    MDrawToolArray& tools = GetDrawToolArray();
    std::istringstream in("\t53\nRETIRED\n\told\n\t1 2\n\t3\n\t4\nCIRCLE\n\t円\nRECT\n\t箱\n[LAYERS]\n");
    tools.LoadSettings(in);
    EXPECT_EQ(tools.FindByCommand(ID_TOOL_CIRCLE)->GetAutoLayerName(), "円");
    EXPECT_EQ(tools.FindByCommand(ID_TOOL_RECT)->GetAutoLayerName(), "箱");
    EXPECT_EQ(in.peek(), '[');
}
