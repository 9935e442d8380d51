// The view's commands on snap modes, overlays, the other layers' display, layer flags, undo and
// redo, and the update handlers that enable and check them.
#include "tests/view/ViewTestSupport.h"

using namespace viewtest;

namespace {

class ViewCommands : public ::testing::Test {
protected:
    void SetUp() override { ResetProgramState(); }
};

CTestCmdUI Probe(MTessarayView& view, UINT id) {
    CTestCmdUI ui;
    ui.m_nID = id;
    ui.DoUpdate(&view, TRUE);
    return ui;
}

}  // namespace

TEST_F(ViewCommands, SnapModesToggleAndShowTheirState) {
    ViewHarness h(640, 480);
    EXPECT_EQ(GetOptionRecord().m_snap, 31);
    EXPECT_EQ(Probe(*h.view, 32808).m_nCheck, 1);
    EXPECT_EQ(Probe(*h.view, 32859).m_nCheck, 0);
    h.view->SendCommand(32808);
    EXPECT_EQ(GetOptionRecord().m_snap, 30);
    EXPECT_EQ(Probe(*h.view, 32808).m_nCheck, 0);
    h.view->SendCommand(32806);
    EXPECT_EQ(GetOptionRecord().m_snap, 0x103F);
    h.view->SendCommand(32812);
    EXPECT_EQ(GetOptionRecord().m_snap, 0);
    h.view->SendCommand(33073);
    EXPECT_EQ(SnapSuspended(), 1);
    EXPECT_EQ(Probe(*h.view, 33073).m_nCheck, 1);
}

TEST_F(ViewCommands, OverlaysToggleAndRepaint) {
    ViewHarness h(640, 480);
    h.Repaint();
    h.view->SendCommand(32797);
    EXPECT_EQ(GetOptionRecord().m_show, 6);
    EXPECT_TRUE(h.view->GetUpdateRect(nullptr));
    EXPECT_EQ(Probe(*h.view, 32797).m_nCheck, 0);
    EXPECT_EQ(Probe(*h.view, 32886).m_nCheck, 1);
}

TEST_F(ViewCommands, OtherLayerModesRepaintOnlyWhenTheLookChanges) {
    ViewHarness h(640, 480, 2);
    h.Repaint();
    int paints = h.view->GetPaintCount();
    h.view->SendCommand(32863);  // 12 -> 28
    EXPECT_EQ(GetOptionRecord().m_layer, 28);
    EXPECT_EQ(h.view->GetPaintCount(), paints);
    EXPECT_EQ(Probe(*h.view, 32863).m_nCheck, 1);
    EXPECT_EQ(Probe(*h.view, 32862).m_nCheck, 0);
    h.view->SendCommand(32861);  // 28 -> 2
    EXPECT_EQ(h.view->GetPaintCount(), paints + 1);
    h.view->SendCommand(32860);  // 2 -> 1
    EXPECT_EQ(h.view->GetPaintCount(), paints + 2);
    h.view->SendCommand(32860);  // 1 -> 1
    EXPECT_EQ(h.view->GetPaintCount(), paints + 2);
}

TEST_F(ViewCommands, LayerFlagsOfTheCurrentLayer) {
    ViewHarness h(640, 480, 2);
    MLayer* layer = h.doc.GetLayers()->GetLayer(0);
    EXPECT_EQ(Probe(*h.view, 32827).m_nCheck, 1);
    h.view->SendCommand(32828);
    EXPECT_FALSE(layer->IsPrintable());
    h.view->SendCommand(32827);
    EXPECT_FALSE(layer->IsVisible());
    // Printable and selectable cannot be changed on a hidden layer.
    EXPECT_FALSE(Probe(*h.view, 32828).m_bEnabled);
    EXPECT_FALSE(Probe(*h.view, 32829).m_bEnabled);
    h.view->SendCommand(32829);
    EXPECT_TRUE(layer->IsSelectable());
}

TEST_F(ViewCommands, DeletingNeedsTwoLayersAndUndoRedoFollowTheStacks) {
    ViewHarness h(640, 480, 1);
    EXPECT_FALSE(Probe(*h.view, 32825).m_bEnabled);
    h.view->SendCommand(32825);
    EXPECT_EQ(h.doc.GetLayers()->GetLayerCount(), 1);
    EXPECT_FALSE(Probe(*h.view, 57643).m_bEnabled);
    EXPECT_FALSE(Probe(*h.view, 57644).m_bEnabled);
    h.doc.AddNewLayer();
    h.view->OnInitialUpdate();
    h.view->SendCommand(32825);
    EXPECT_TRUE(Probe(*h.view, 57643).m_bEnabled);
    h.view->SendCommand(57643);
    EXPECT_TRUE(Probe(*h.view, 57644).m_bEnabled);
    EXPECT_EQ(h.doc.GetLayers()->GetLayerCount(), 2);
}

TEST_F(ViewCommands, DialogCommandsAreEnabledExceptThoseAwaitingTheirTools) {
    ViewHarness h(640, 480);
    for (UINT id : {32823u, 32826u, 32824u, 32830u, 32831u, 32832u, 33086u, 32798u, 32796u, 32972u, 33034u})
        EXPECT_TRUE(Probe(*h.view, id).m_bEnabled) << id;
    // The dimension dialog comes with the dimension tools, select all with the select tool.
    EXPECT_FALSE(Probe(*h.view, 32783).m_bEnabled);
    EXPECT_FALSE(Probe(*h.view, 57642).m_bEnabled);
    EXPECT_TRUE(Probe(*h.view, ID_ZOOM_IN).m_bEnabled);
    // A command nobody handles is disabled.
    EXPECT_FALSE(Probe(*h.view, 57634).m_bEnabled);
}
