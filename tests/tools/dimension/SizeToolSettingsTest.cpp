// The linear dimension tools' values in a drawing's [TOOLS] section.
#include <sstream>

#include "tests/tools/dimension/DimensionTestSupport.h"
#include "tools/dimension/SizeTool.h"

using namespace dimtest;

namespace {

MSizeTool* SizeToolOf(UINT command) {
    return dynamic_cast<MSizeTool*>(GetDrawToolArray().FindByCommand(command));
}

}  // namespace

TEST(SizeToolSettings, LengthPlacementAndTextTravelWithTheDrawing) {
    ToolHarness h;
    MSizeTool* size = SizeToolOf(ID_TOOL_SIZE);
    MSizeTool* sizeX = SizeToolOf(ID_TOOL_SIZEX);
    MSizeTool* sizeY = SizeToolOf(ID_TOOL_SIZEY);
    ASSERT_TRUE(size && sizeX && sizeY);
    size->m_length = 12.5;
    size->m_autoTextPosition = FALSE;
    size->m_text = "";  // a cleared text
    sizeX->m_text = "  先頭の空白";
    sizeY->m_length = 1e-7;
    GetDrawToolArray().FindByCommand(ID_TOOL_RADIUS)->SetAutoLayerName("寸法");
    const std::string saved = SavedTools();
    EXPECT_THAT(saved, ::testing::HasSubstr("SIZE\n\t\n\t12.5 0\n\t\nSIZEX\n"));

    size->m_length = sizeY->m_length = 1;
    size->m_autoTextPosition = TRUE;
    size->m_text = sizeX->m_text = "x";
    GetDrawToolArray().FindByCommand(ID_TOOL_RADIUS)->SetAutoLayerName("");
    LoadTools(saved);
    EXPECT_EQ(size->m_length, 12.5);
    EXPECT_FALSE(size->m_autoTextPosition);
    EXPECT_EQ(size->m_text, "");
    EXPECT_EQ(sizeX->m_text, "  先頭の空白");
    EXPECT_EQ(sizeY->m_length, 1e-7);
    EXPECT_EQ(GetDrawToolArray().FindByCommand(ID_TOOL_RADIUS)->GetAutoLayerName(), "寸法");
    EXPECT_EQ(SavedTools(), saved);
}

TEST(SizeToolSettings, ADamagedLengthGivesTheDefault) {
    ToolHarness h;
    MSizeTool* size = SizeToolOf(ID_TOOL_SIZE);
    for (const char* length : {"nan", "inf", "1e999", "x"}) {
        size->m_length = 7;
        LoadTools(std::string("\t53\nSIZE\n\t\n\t") + length + " 1\n\tT\n[LAYERS]\n");
        EXPECT_EQ(size->m_length, MSizeTool::kDefaultLength) << length;
        EXPECT_EQ(size->m_text, "T") << length;
    }
}
