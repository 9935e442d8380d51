// The wall tool through the view: outlines at the left and right widths mitred at the corners, no
// spur where clicks run in a row, the centre lines on the record's layer, and dialog 171.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/line/LineTestSupport.h"
#include "tools/line/WallTool.h"

using namespace linetest;
using namespace tooltest;

namespace {

using Segs = std::vector<std::pair<MFloatPoint, MFloatPoint>>;

Segs Segments(MTessarayDoc& doc, int layer = 0) {
    Segs out;
    for (MLineShape* line : LinesOf(doc, layer))
        out.push_back({Rel(line->m_start), Rel(line->m_end)});
    return out;
}

bool Has(const Segs& segs, MFloatPoint a, MFloatPoint b) {
    return std::any_of(segs.begin(), segs.end(), [&](const auto& s) {
        return (Near(s.first, a, 1e-6) && Near(s.second, b, 1e-6)) ||
               (Near(s.first, b, 1e-6) && Near(s.second, a, 1e-6));
    });
}

struct WallHarness : LineHarness {
    explicit WallHarness(int layers = 1) : LineHarness(ID_TOOL_WALL, layers) { tool = As<MWallTool>(); }
    void Wall(std::initializer_list<MFloatPoint> points) {
        const MFloatPoint* last = nullptr;
        for (const MFloatPoint& p : points) {
            if (last) Click(*last);
            last = &p;
        }
        DoubleClickAt(*last);
    }
    MWallTool* tool;
};

}  // namespace

TEST(WallTool, AStraightWallHasTwoOutlinesAtItsWidths) {
    WallHarness h;
    h.ExpectOneUndoStep([&] { h.Wall({At(0, 0), At(1000, 0)}); });
    const Segs segs = Segments(h.doc);
    ASSERT_EQ(segs.size(), 2u);
    EXPECT_TRUE(Has(segs, {0, 100}, {1000, 100}));
    EXPECT_TRUE(Has(segs, {0, -100}, {1000, -100}));
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(WallTool, AnLShapedWallIsMitredAtItsCorner) {
    WallHarness h;
    h.Click(At(0, 0));
    h.Click(At(1000, 0));
    h.MoveTo(At(1000, 1000));
    EXPECT_TRUE(h.NoXorResidue());
    h.DoubleClickAt(At(1000, 1000));
    const Segs segs = Segments(h.doc);
    ASSERT_EQ(segs.size(), 4u);
    EXPECT_TRUE(Has(segs, {0, 100}, {900, 100}));
    EXPECT_TRUE(Has(segs, {900, 100}, {900, 1000}));
    EXPECT_TRUE(Has(segs, {0, -100}, {1100, -100}));
    EXPECT_TRUE(Has(segs, {1100, -100}, {1100, 1000}));
}

TEST(WallTool, ClicksInARowLeaveNoSpur) {
    WallHarness h;
    h.Wall({At(0, 0), At(1000, 0), At(2000, 0), At(2000, 1000)});
    const Segs segs = Segments(h.doc);
    ASSERT_EQ(segs.size(), 6u);
    EXPECT_TRUE(Has(segs, {0, 100}, {1000, 100}));
    EXPECT_TRUE(Has(segs, {1000, 100}, {1900, 100}));
    EXPECT_TRUE(Has(segs, {1900, 100}, {1900, 1000}));
    EXPECT_TRUE(Has(segs, {1000, -100}, {2100, -100}));
    for (const auto& [a, b] : segs)
        EXPECT_FALSE(Near(a, {2000, 100}) || Near(b, {2000, 100})) << "a spur to the new end";
}

TEST(WallTool, ASecondClickOnTheSamePointAddsNoVertex) {
    WallHarness h;
    h.Click(At(0, 0));
    h.Click(At(1000, 0));
    h.Click(At(1000, 0));
    EXPECT_EQ(h.tool->Outline(2)->GetPointCount(), 3);
    h.DoubleClickAt(At(1000, 1000));
    EXPECT_EQ(Segments(h.doc).size(), 4u);
}

TEST(WallTool, CentreLinesGoToTheRecordLayerAndOutlinesToTheAutomaticOne) {
    WallHarness h(3);
    h.doc.GetLayers()->GetLayer(0)->SetName("壁");
    h.doc.GetLayers()->GetLayer(1)->SetName("芯");
    h.doc.GetLayers()->SetCurrentLayer(2);
    h.tool->SetAutoLayerName("壁");
    h.tool->Style().centreLine = TRUE;
    h.tool->Style().layer = "芯";
    h.tool->Style().color = RGB(255, 0, 0);
    h.ExpectOneUndoStep([&] { h.Wall({At(0, 0), At(1000, 0), At(1000, 1000)}); });
    EXPECT_EQ(Segments(h.doc, 1), (Segs{{{0, 0}, {1000, 0}}, {{1000, 0}, {1000, 1000}}}));
    EXPECT_EQ(LinesOf(h.doc, 1)[0]->GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(Segments(h.doc, 0).size(), 4u);
    EXPECT_TRUE(Segments(h.doc, 2).empty());

    // A layer no layer has: the centre lines go with the outlines.
    h.tool->Style().layer = "ない";
    h.Wall({At(0, 3000), At(1000, 3000)});
    EXPECT_EQ(Segments(h.doc, 0).size(), 7u);
    EXPECT_EQ(Segments(h.doc, 1).size(), 2u);
}

TEST(WallTool, CancelAtTwoVerticesEndsWithoutACommit) {
    WallHarness h;
    h.Click(At(0, 0));
    h.MoveTo(At(1000, 0));
    const int steps = h.UndoSteps();
    h.view->SendCommand(ID_CANCEL_DRAWING);
    EXPECT_EQ(h.tool->GetNewCount(), 0);
    EXPECT_EQ(h.UndoSteps(), steps);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(WallTool, TheSettingsDialogWritesTheWallEvenWhenTheLengthDialogIsCancelled) {
    WallHarness h(2);
    h.doc.GetLayers()->GetLayer(1)->SetName("芯 線");
    MessageBoxRecorder messages;
    h.dialogs.Script(IDD_WALL_SETTINGS, DialogScript()
                                            .SetText(IDC_WALL_LEFT, "150")
                                            .SetText(IDC_WALL_RIGHT, "50")
                                            .SetCheck(IDC_WALL_CENTRE_LINE, 1)
                                            .Select(IDC_WALL_LAYER, 1)
                                            .Select(IDC_WALL_STYLE, 2)
                                            .SetText(IDC_WALL_WIDTH, "101")
                                            .Ok()
                                            .SetText(IDC_WALL_WIDTH, "5")
                                            .Select(IDC_WALL_COLOR, 3)
                                            .Ok());
    h.dialogs.Script(IDD_WALL_LENGTH_INPUT, DialogScript().Click(IDC_WALL_SETUP).Cancel());
    h.RightClick(At(0, 0), MK_CONTROL);
    ASSERT_EQ(messages.Messages().size(), 1u) << "101 tenths are refused";
    const MWallStyle& style = h.tool->Style();
    EXPECT_EQ(style.leftWidth, 150);
    EXPECT_EQ(style.rightWidth, 50);
    EXPECT_TRUE(style.centreLine);
    EXPECT_EQ(style.layer, "芯 線");
    EXPECT_EQ(style.lineStyle, 2);
    EXPECT_EQ(style.width, 0.5);
    EXPECT_NE(style.color, 0u);
    EXPECT_FALSE(h.tool->IsLengthLocked());
}
