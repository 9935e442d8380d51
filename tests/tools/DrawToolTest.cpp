// The tool base on its own: identity from the command string, the lists, the pick list, the
// projection of the axis snap, and the tool array.
#include "model/shapes/containers/PackShape.h"
#include "platform/Exceptions.h"
#include "tests/tools/TestTools.h"
#include "tests/tools/ToolTestSupport.h"
#include "tools/ConstrainedSnap.h"

using namespace tooltest;

namespace {

class DrawTools : public ::testing::Test {
protected:
    void SetUp() override {
        ::ResetProgramState();
        GetDrawToolArray().RemoveAll();
    }
    void TearDown() override { GetDrawToolArray().RemoveAll(); }
};

}  // namespace

TEST_F(DrawTools, IdentityComesFromTheCommandString) {
    RecordingLineTool tool;
    tool.SetCommandInfo(ID_TOOL_CIRCLE, TRUE, "CIRCLE");
    EXPECT_EQ(tool.GetTitle(), "中心円");
    EXPECT_EQ(tool.GetCommandId(), static_cast<UINT>(ID_TOOL_CIRCLE));
    EXPECT_EQ(tool.GetKey(), "CIRCLE");
    EXPECT_TRUE(tool.IsAutoLayerCapable());
    EXPECT_FALSE(tool.HasSettings());
    tool.SetAutoLayerName("補助線");
    EXPECT_TRUE(tool.HasSettings());
    // A string without a newline, or none at all, gives no title.
    tool.SetCommandInfo(62787, FALSE, "X");
    EXPECT_EQ(tool.GetTitle(), "");
    tool.SetCommandInfo(9, FALSE, "X");
    EXPECT_EQ(tool.GetTitle(), "");
    EXPECT_FALSE(tool.HasSettings()) << "a tool that draws nothing has no layer to keep";
}

TEST_F(DrawTools, ListsGuardTheirIndicesAndSetNewShapeReplacesTheShape) {
    RecordingLineTool tool;
    EXPECT_THROW(tool.Lists().SetNewShape(0, nullptr, 0), CInvalidArgException);
    EXPECT_THROW(tool.Lists().Pick(0), CInvalidArgException);
    EXPECT_THROW(tool.Lists().RemovePickAt(0), CInvalidArgException);
    tool.Lists().AddNewExpanded(new MLineShape(MFloatPoint(0, 0), MFloatPoint(1, 0)), 2);
    auto* other = new MLineShape(MFloatPoint(0, 0), MFloatPoint(2, 0));
    tool.Lists().SetNewShape(0, other, 3);
    EXPECT_EQ(tool.Lists().NewShape(0), other);
    EXPECT_EQ(tool.Lists().NewLayer(0), 3);
    // Members of packs inside packs come in member order, at the position asked.
    MPackShape inner, outer;
    auto* a = new MLineShape(MFloatPoint(0, 0), MFloatPoint(1, 1));
    auto* b = new MLineShape(MFloatPoint(0, 0), MFloatPoint(2, 2));
    auto* c = new MLineShape(MFloatPoint(0, 0), MFloatPoint(3, 3));
    inner.AddShape(b);
    inner.AddShape(c);
    outer.AddShape(a);
    outer.AddShape(&inner);
    tool.Lists().InsertNewExpanded(0, &outer, 1);
    ASSERT_EQ(tool.Lists().NewCount(), 4);
    EXPECT_EQ(tool.Lists().NewShape(0), a);
    EXPECT_EQ(tool.Lists().NewShape(1), b);
    EXPECT_EQ(tool.Lists().NewShape(2), c);
    EXPECT_EQ(tool.Lists().NewShape(3), other);
    inner.GetMembers().RemoveAll();
    outer.GetMembers().RemoveAll();
    tool.Reset();
    EXPECT_EQ(tool.Lists().NewCount(), 0);
}

TEST_F(DrawTools, ThePickListKeepsShapesAndPointsTogether) {
    MLPointShapeArray picks;
    MLineShape a(MFloatPoint(0, 0), MFloatPoint(1, 0)), b(MFloatPoint(0, 0), MFloatPoint(0, 1));
    a.SetColor(0xFF);
    b.SetColor(0xFF);
    picks.Add(&a, MFloatPoint(1, 2), 3);
    picks.Add(&b, MFloatPoint(4, 5), -1);
    EXPECT_EQ(picks.GetColor(), 0xFFu);
    b.SetColor(0xFF00);
    EXPECT_EQ(picks.GetColor(), static_cast<COLORREF>(-1)) << "mixed colours";
    EXPECT_EQ(picks.Remove(&a), 0);
    EXPECT_EQ(picks.Remove(&a), -1);
    ASSERT_EQ(picks.GetSize(), 1);
    EXPECT_EQ(picks.GetShape(0), &b);
    EXPECT_TRUE(picks.GetPoint(0).IsEqual(MFloatPoint(4, 5)));
    EXPECT_EQ(picks.GetLayer(0), -1);
    EXPECT_THROW(picks.RemoveAt(1), CInvalidArgException);
}

TEST_F(DrawTools, ProjectingKeepsTheLargerDifference) {
    EXPECT_EQ(AlongNearerAxis({0, 0}, {10, 3}), MFloatPoint(10, 0));
    EXPECT_EQ(AlongNearerAxis({0, 0}, {3, -10}), MFloatPoint(0, -10));
    EXPECT_EQ(AlongNearerAxis({1, 1}, {5, 5}), MFloatPoint(5, 1));
}

TEST_F(DrawTools, TheArrayFindsToolsFromTheLastAndReplacesInPlace) {
    auto* first = new RecordingLineTool(1);
    auto* second = new RecordingLineTool(2);
    RegisterDrawTool(first, ID_TOOL_CIRCLE, TRUE, "A");
    RegisterDrawTool(second, ID_TOOL_CIRCLE, TRUE, "B");
    MDrawToolArray& tools = GetDrawToolArray();
    EXPECT_EQ(tools.FindByCommand(ID_TOOL_CIRCLE), second);
    EXPECT_EQ(tools.FindByCommand(1), nullptr);
    EXPECT_EQ(FindToolByCommand(ID_TOOL_CIRCLE), second);
    EXPECT_EQ(tools.FindByKey("A"), first);
    EXPECT_EQ(tools.FindByTitle("中心円"), second);
    EXPECT_EQ(GetDocumentToolArray(), &tools);
    RecentTools()[2] = second;
    PreviousTool() = second;
    auto* third = new RecordingLineTool(3);
    third->SetCommandInfo(ID_TOOL_CIRCLE, TRUE, "C");
    tools.Replace(third);
    EXPECT_EQ(tools.GetToolAt(1), third);
    EXPECT_EQ(RecentTools()[2], third);
    EXPECT_EQ(PreviousTool(), third);
    tools.RemoveAll();
    EXPECT_EQ(tools.GetToolCount(), 0);
    EXPECT_EQ(RecentTools()[2], nullptr);
}
