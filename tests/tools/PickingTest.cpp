// Picking by click and by rubber band, the pick mode and its command, select all.
#include "tests/tools/TestTools.h"
#include "tests/tools/ToolTestSupport.h"

using namespace tooltest;

namespace {

class Picking : public ::testing::Test {
protected:
    Picking() {
        tool = h.Use(new PickingTool, ID_TOOL_SELECT);
        inside = h.AddLine(2000, 2000, 3000, 2500);
        crossing = h.AddLine(3500, 2200, 6000, 2200);
        outside = h.AddLine(8000, 1000, 9000, 1000);
        h.Repaint();
    }
    // The picks as the lines themselves, in pick order.
    std::vector<MCadShape*> Picks() {
        std::vector<MCadShape*> out;
        for (int i = 0; i < tool->Lists().PickCount(); ++i)
            out.push_back(tool->Lists().Pick(i));
        return out;
    }
    ToolHarness h;
    PickingTool* tool;
    MLineShape* inside;
    MLineShape* crossing;
    MLineShape* outside;
};

}  // namespace

TEST_F(Picking, AClickPicksAndASecondClickUnpicks) {
    h.Click({2500, 2250});
    ASSERT_EQ(Picks(), std::vector<MCadShape*>{inside});
    EXPECT_EQ(tool->Lists().PickLayer(0), 0);
    EXPECT_EQ(tool->pickShapeCalls, 1);
    EXPECT_TRUE(h.NoXorResidue());
    h.Click({8500, 1000});
    EXPECT_EQ(Picks(), (std::vector<MCadShape*>{inside, outside}));
    h.Click({2500, 2250});
    EXPECT_EQ(Picks(), std::vector<MCadShape*>{outside});
    EXPECT_TRUE(h.NoXorResidue());
    EXPECT_TRUE(h.EndLeavesNoResidue());
    EXPECT_EQ(tool->Lists().PickCount(), 0);
}

TEST_F(Picking, ARefusedShapeIsNotPickedByClickNorByBand) {
    tool->refused = inside;
    h.Click({2500, 2250});
    EXPECT_TRUE(Picks().empty());
    h.Drag({1500, 3000}, {5000, 1500});
    EXPECT_TRUE(Picks().empty()) << "the crossing line is not inside";
    GetOptionRecord().m_intercept = 3;
    h.Drag({1500, 3000}, {5000, 1500});
    EXPECT_EQ(Picks(), std::vector<MCadShape*>{crossing});
}

TEST_F(Picking, ARubberBandPicksWhatIsInsideAndWithCrossingWhatItCrossesInEitherDirection) {
    const MFloatPoint a(1500, 3000), b(5000, 1500);
    for (const auto& [from, to] : {std::pair{a, b}, std::pair{b, a}}) {
        GetOptionRecord().m_intercept = 1;
        tool->End(h.view.get(), FALSE);
        h.Drag(from, to);
        EXPECT_EQ(Picks(), std::vector<MCadShape*>{inside});
        EXPECT_FALSE(tool->Tracker().IsBanding());
        EXPECT_TRUE(h.NoXorResidue());
        GetOptionRecord().m_intercept = 3;
        tool->End(h.view.get(), FALSE);
        h.Drag(from, to);
        EXPECT_EQ(Picks(), (std::vector<MCadShape*>{inside, crossing}));
    }
    // A second band over picked shapes picks them once.
    h.Drag(a, b);
    EXPECT_EQ(Picks(), (std::vector<MCadShape*>{inside, crossing}));
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(Picking, TheCrossingCommandTogglesTheModeUnlessAToolFixedIt) {
    GetOptionRecord().m_intercept = 1;
    EXPECT_EQ(h.ItemState(ID_PICK_CROSSING), std::make_pair(true, 0));
    h.view->SendCommand(ID_PICK_CROSSING);
    EXPECT_EQ(GetOptionRecord().m_intercept, 3);
    EXPECT_EQ(h.ItemState(ID_PICK_CROSSING), std::make_pair(true, 1));
    h.view->SendCommand(ID_PICK_CROSSING);
    EXPECT_EQ(GetOptionRecord().m_intercept, 1);
    GetOptionRecord().m_intercept = 0x83;
    EXPECT_EQ(h.ItemState(ID_PICK_CROSSING), std::make_pair(false, 1));
}

TEST_F(Picking, ABandThatTakesCrossingShapesIgnoresAndKeepsThePickMode) {
    tool->extraTraits = MDrawTool::kBandTakesCrossing;
    GetOptionRecord().m_intercept = 1;
    EXPECT_EQ(h.ItemState(ID_PICK_CROSSING), std::make_pair(false, 1));
    h.view->SendCommand(ID_PICK_CROSSING);
    EXPECT_EQ(GetOptionRecord().m_intercept, 1);
    h.Drag({1500, 3000}, {5000, 1500});
    EXPECT_EQ(Picks(), (std::vector<MCadShape*>{inside, crossing}));
}

TEST_F(Picking, SelectAllPicksEveryShapeTheToolAccepts) {
    tool->refused = crossing;
    tool->Lists().AddPick(outside, MFloatPoint(), 0);
    tool->SelectAll(h.view.get());
    EXPECT_EQ(Picks(), (std::vector<MCadShape*>{outside, inside}));
    EXPECT_TRUE(tool->Lists().PickPoint(1).IsEqual(inside->GetCenter()));
}

TEST_F(Picking, RecolouringThePicksIsOneUndoStepThatKeepsTheirPlaces) {
    h.Click({2500, 2250});
    h.Click({8500, 1000});
    h.ExpectOneUndoStep([&] {
        h.view->SendCommand(kRecolourCommand);
        // The replaced shapes are no picks any more and their marks are gone with them.
        EXPECT_EQ(tool->Lists().PickCount(), 0);
        EXPECT_TRUE(h.NoXorResidue());
    });
    const MLayer* layer = h.doc.GetLayers()->GetLayer(0);
    ASSERT_EQ(layer->GetSize(), 3);
    EXPECT_EQ(layer->GetAt(0)->GetColor(), 0xFFu);
    EXPECT_EQ(layer->GetAt(1), crossing);
    EXPECT_EQ(layer->GetAt(2)->GetColor(), 0xFFu);
}
