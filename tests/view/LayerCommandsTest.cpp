// The layer commands of the view driven through their dialogs: settings and rename, insert and
// append, move, copy, delete and display, with undo and redo, refused names, and the tab row that
// must always show one tab per layer.
#include "platform/ui/Controls.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/Menu.h"
#include "tests/support/TestSupport.h"
#include "tests/view/ViewTestSupport.h"
#include "view/dialogs/LayerDialogs.h"

using namespace viewtest;

namespace {

constexpr UINT kIdsBadLayerName = 62699;
enum : UINT {
    kNameDialog = 154,
    kMoveDialog = 155,
    kCopyDialog = 103,
    kShowDialog = 262,
};

class LayerCommands : public ::testing::Test {
protected:
    void SetUp() override { ResetProgramState(); }

    static std::vector<std::string> LayerNames(MTessarayDoc& doc) {
        std::vector<std::string> names;
        for (int i = 0; i < doc.GetLayers()->GetLayerCount(); ++i)
            names.push_back(doc.GetLayers()->GetLayer(i)->m_name);
        return names;
    }
    static std::vector<std::string> TabNames(MTessarayView& view) {
        std::vector<std::string> names;
        for (int i = 0; i < view.GetTabCount(); ++i)
            names.push_back(view.GetTabName(i));
        return names;
    }
    static std::vector<int> ShapeCounts(MTessarayDoc& doc) {
        std::vector<int> counts;
        for (int i = 0; i < doc.GetLayers()->GetLayerCount(); ++i)
            counts.push_back(doc.GetLayers()->GetLayer(i)->GetSize());
        return counts;
    }
    // Tab i stands for layer i, and the tab row and the document agree on the current layer.
    static void ExpectTabsFollowLayers(ViewHarness& h) {
        EXPECT_EQ(TabNames(*h.view), LayerNames(h.doc));
        EXPECT_EQ(h.view->GetCurrentTab(), h.doc.GetLayers()->GetCurrentLayerIndex());
    }
    // Three layers "A", "B", "C" with 1, 2 and 3 lines; B is not printable.
    static void MakeThreeLayers(ViewHarness& h) {
        MDocShapeArray* layers = h.doc.GetLayers();
        const char* names[] = {"A", "B", "C"};
        for (int i = 0; i < 3; ++i) {
            layers->GetLayer(i)->m_name = names[i];
            h.view->SetTabName(i, names[i]);
            for (int k = 0; k <= i; ++k)
                h.AddLine(0, k * 100.0, 1000, k * 100.0, i);
        }
        layers->GetLayer(1)->SetPrintable(FALSE);
    }
    static void Send(ViewHarness& h, UINT id) { h.view->SendCommand(id); }

    MessageBoxRecorder boxes;
};

}  // namespace

TEST_F(LayerCommands, InsertPutsTheNamedLayerAtTheCurrentTabAndUndoTakesItAway) {
    ViewHarness h(640, 480, 2);
    h.view->OnTabSelect(1, 0, 0, 0);
    DialogRunner runner;
    std::string proposed;
    runner.Script(kNameDialog,
                  DialogScript().Read(1060, &proposed).SetText(1060, "  壁 ").SetCheck(1063, 0).Ok());
    Send(h, ID_LAYER_INSERT);
    EXPECT_EQ(proposed, "Layer3");
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"Layer1", "壁", "Layer2"}));
    const MLayer* inserted = h.doc.GetLayers()->GetLayer(1);
    EXPECT_TRUE(inserted->IsVisible());
    EXPECT_TRUE(inserted->IsPrintable());
    EXPECT_FALSE(inserted->IsSelectable());
    EXPECT_EQ(h.view->GetCurrentTab(), 1);
    ExpectTabsFollowLayers(h);
    EXPECT_TRUE(h.doc.IsModified());

    Send(h, ID_EDIT_UNDO);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"Layer1", "Layer2"}));
    ExpectTabsFollowLayers(h);
    Send(h, ID_EDIT_REDO);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"Layer1", "壁", "Layer2"}));
    EXPECT_EQ(h.doc.GetLayers()->GetLayer(1), inserted);
    ExpectTabsFollowLayers(h);
    EXPECT_TRUE(boxes.Messages().empty());
}

TEST_F(LayerCommands, AppendAddsAfterTheLastLayerAndMakesItCurrent) {
    ViewHarness h(640, 480, 2);
    DialogRunner runner;
    runner.Script(kNameDialog, DialogScript().SetText(1060, "Notes").Ok());
    Send(h, ID_LAYER_APPEND);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"Layer1", "Layer2", "Notes"}));
    EXPECT_EQ(h.view->GetCurrentTab(), 2);
    ExpectTabsFollowLayers(h);
    Send(h, ID_EDIT_UNDO);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"Layer1", "Layer2"}));
    ExpectTabsFollowLayers(h);
}

TEST_F(LayerCommands, EmptyOrUsedNamesAreRefusedAndChangeNothing) {
    ViewHarness h(640, 480, 2);
    // An earlier step that can be redone: a refused name must not open a pack (which would clear it).
    h.doc.BeginUndo();
    h.doc.AddShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(10, 10)), 0);
    h.doc.EndUndo();
    Send(h, ID_EDIT_UNDO);
    ASSERT_TRUE(h.doc.CanRedo());

    DialogRunner runner;
    for (const char* name : {"", "   ", "Layer2", " Layer1\t", "a\nb"})
        runner.Script(kNameDialog, DialogScript().SetText(1060, name).Ok());
    for (int i = 0; i < 5; ++i)
        Send(h, i % 2 ? ID_LAYER_APPEND : ID_LAYER_INSERT);
    runner.Script(kNameDialog, DialogScript().SetText(1060, "").Ok());
    Send(h, ID_LAYER_RENAME);

    EXPECT_EQ(boxes.Messages().size(), 6u);
    for (const auto& m : boxes.Messages())
        EXPECT_EQ(m.text, AfxLoadString(kIdsBadLayerName));
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"Layer1", "Layer2"}));
    ExpectTabsFollowLayers(h);
    EXPECT_FALSE(h.doc.CanUndo());
    EXPECT_TRUE(h.doc.CanRedo());
}

TEST_F(LayerCommands, RenameAcceptsTheOwnNameAndIsNoUndoStep) {
    ViewHarness h(640, 480, 2);
    h.view->OnTabSelect(1, 0, 0, 0);
    DialogRunner runner;
    std::string shown;
    runner.Script(kNameDialog, DialogScript().Read(1060, &shown).SetText(1060, "Layer2").Ok());
    Send(h, ID_LAYER_RENAME);
    EXPECT_EQ(shown, "Layer2");
    EXPECT_TRUE(boxes.Messages().empty());
    EXPECT_FALSE(h.doc.CanUndo());  // nothing changed, nothing to undo

    runner.Script(kNameDialog, DialogScript().SetText(1060, "Layer1").Ok());
    Send(h, ID_LAYER_SETTINGS);
    EXPECT_TRUE(boxes.Saw(kIdsBadLayerName));

    // One shape step to undo and one to redo on either side of the rename.
    for (int i = 0; i < 2; ++i) {
        h.doc.BeginUndo();
        h.doc.AddShape(new MLineShape(MFloatPoint(0, i), MFloatPoint(10, i)), 1);
        h.doc.EndUndo();
    }
    Send(h, ID_EDIT_UNDO);
    h.doc.SetModifiedFlag(FALSE);
    runner.Script(kNameDialog, DialogScript().SetText(1060, " 寸法 ").SetCheck(1062, 0).Ok());
    Send(h, ID_LAYER_RENAME);
    const MLayer* layer = h.doc.GetLayers()->GetLayer(1);
    EXPECT_EQ(layer->m_name, "寸法");
    EXPECT_FALSE(layer->IsPrintable());
    ExpectTabsFollowLayers(h);
    EXPECT_TRUE(h.doc.IsModified()) << "a rename is asked about before it is lost";

    // Undo and redo step over the rename to the shapes' steps.
    ASSERT_TRUE(h.doc.CanRedo());
    Send(h, ID_EDIT_REDO);
    EXPECT_EQ(layer->GetSize(), 2);
    Send(h, ID_EDIT_UNDO);
    Send(h, ID_EDIT_UNDO);
    EXPECT_FALSE(h.doc.CanUndo());
    EXPECT_EQ(layer->GetSize(), 0);
    EXPECT_EQ(layer->m_name, "寸法");
    EXPECT_FALSE(layer->IsPrintable());
    ExpectTabsFollowLayers(h);
}

TEST_F(LayerCommands, HidingInTheNameDialogGreysTheOtherAttributesButKeepsTheirMarks) {
    ViewHarness h(640, 480, 1);
    DialogRunner runner;
    bool greyed = false;
    bool enabledAgain = false;
    runner.Script(kNameDialog,
                  DialogScript()
                      .SetCheck(1062, 0)
                      .SetCheck(1061, 0)
                      .Do([&](CDialog& d) {
                          greyed = !d.GetDlgItem(1062)->IsWindowEnabled() &&
                                   !d.GetDlgItem(1063)->IsWindowEnabled() &&
                                   d.IsDlgButtonChecked(1063) == BST_CHECKED;
                      })
                      .SetCheck(1061, 1)
                      .Do([&](CDialog& d) { enabledAgain = d.GetDlgItem(1062)->IsWindowEnabled(); })
                      .SetCheck(1061, 0)
                      .Ok());
    Send(h, ID_LAYER_SETTINGS);
    EXPECT_TRUE(greyed);
    EXPECT_TRUE(enabledAgain);
    const MLayer* layer = h.doc.GetLayers()->GetLayer(0);
    EXPECT_FALSE(layer->IsVisible());
    EXPECT_FALSE(layer->IsPrintable());
    EXPECT_TRUE(layer->IsSelectable());
    // A hidden layer's tab shows grey at once.
    EXPECT_TRUE(h.view->IsTabHidden(0));
}

TEST_F(LayerCommands, MoveInsertsBeforeTheTargetOrAppendsAndUndoRestoresEverything) {
    ViewHarness h(640, 480, 3);
    MakeThreeLayers(h);
    MLayer* a = h.doc.GetLayers()->GetLayer(0);
    DialogRunner runner;
    std::vector<std::string> toEntries;
    runner.Script(kMoveDialog, DialogScript()
                                   .Do([&](CDialog& d) {
                                       auto* to = d.GetDlgItemAs<CComboBox>(1066);
                                       for (int i = 0; i < to->GetCount(); ++i)
                                           toEntries.push_back(to->GetLBText(i));
                                   })
                                   .Select(1065, 0)
                                   .Select(1066, 2)
                                   .Ok());
    Send(h, ID_LAYER_MOVE);
    EXPECT_EQ(toEntries, (std::vector<std::string>{"A", "B", "C", "最後"}));
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"B", "A", "C"}));
    EXPECT_EQ(ShapeCounts(h.doc), (std::vector<int>{2, 1, 3}));
    EXPECT_EQ(h.view->GetCurrentTab(), 1);
    ExpectTabsFollowLayers(h);

    // "最後" appends.
    runner.Script(kMoveDialog, DialogScript().Select(1065, 0).Select(1066, 3).Ok());
    Send(h, ID_LAYER_MOVE);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"A", "C", "B"}));
    EXPECT_FALSE(h.doc.GetLayers()->GetLayer(2)->IsPrintable());
    EXPECT_EQ(h.view->GetCurrentTab(), 2);
    ExpectTabsFollowLayers(h);

    Send(h, ID_EDIT_UNDO);
    Send(h, ID_EDIT_UNDO);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(ShapeCounts(h.doc), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(h.doc.GetLayers()->GetLayer(0), a);
    EXPECT_FALSE(h.doc.GetLayers()->GetLayer(1)->IsPrintable());
    ExpectTabsFollowLayers(h);
    Send(h, ID_EDIT_REDO);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"B", "A", "C"}));
    ExpectTabsFollowLayers(h);
}

TEST_F(LayerCommands, MovingALayerWithAnEmptyOrRepeatedNameKeepsIt) {
    ViewHarness h(640, 480, 3);
    MDocShapeArray* layers = h.doc.GetLayers();
    // Names that files and imports allow but the tab strip refuses unless forced.
    layers->GetLayer(0)->m_name = "A";
    layers->GetLayer(1)->m_name = "A";
    layers->GetLayer(2)->m_name = "";
    h.AddLine(0, 0, 100, 100, 2);
    h.view->OnInitialUpdate();
    ASSERT_EQ(h.view->GetTabCount(), 3);

    DialogRunner runner;
    runner.Script(kMoveDialog, DialogScript().Select(1065, 2).Select(1066, 0).Ok());
    runner.Script(kMoveDialog, DialogScript().Select(1065, 2).Select(1066, 0).Ok());
    Send(h, ID_LAYER_MOVE);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"", "A", "A"}));
    EXPECT_EQ(ShapeCounts(h.doc), (std::vector<int>{1, 0, 0}));
    ExpectTabsFollowLayers(h);
    Send(h, ID_LAYER_MOVE);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"A", "", "A"}));
    ExpectTabsFollowLayers(h);
    Send(h, ID_EDIT_UNDO);
    Send(h, ID_EDIT_UNDO);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"A", "A", ""}));
    EXPECT_EQ(ShapeCounts(h.doc), (std::vector<int>{0, 0, 1}));
    ExpectTabsFollowLayers(h);
}

TEST_F(LayerCommands, CopyMakesAnIndependentLayerUnderTheNewName) {
    ViewHarness h(640, 480, 3);
    MakeThreeLayers(h);
    DialogRunner runner;
    std::string proposed;
    runner.Script(
        kCopyDialog,
        DialogScript().Read(1103, &proposed).Select(1065, 1).Select(1066, 3).SetText(1103, " B2 ").Ok());
    Send(h, ID_LAYER_COPY);
    EXPECT_EQ(proposed, "Layer1");
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"A", "B", "C", "B2"}));
    EXPECT_EQ(ShapeCounts(h.doc), (std::vector<int>{1, 2, 3, 2}));
    const MLayer* source = h.doc.GetLayers()->GetLayer(1);
    const MLayer* copy = h.doc.GetLayers()->GetLayer(3);
    EXPECT_NE(copy->GetAt(0), source->GetAt(0));
    EXPECT_EQ(copy->m_flags, source->m_flags);
    EXPECT_EQ(h.view->GetCurrentTab(), 3);
    ExpectTabsFollowLayers(h);

    // Into the middle, then refused names.
    runner.Script(kCopyDialog, DialogScript().Select(1065, 0).Select(1066, 1).SetText(1103, "A2").Ok());
    Send(h, ID_LAYER_COPY);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"A", "A2", "B", "C", "B2"}));
    EXPECT_EQ(h.view->GetCurrentTab(), 1);
    runner.Script(kCopyDialog, DialogScript().SetText(1103, "C").Ok());
    runner.Script(kCopyDialog, DialogScript().SetText(1103, " ").Ok());
    Send(h, ID_LAYER_COPY);
    Send(h, ID_LAYER_COPY);
    EXPECT_EQ(boxes.Messages().size(), 2u);
    EXPECT_EQ(h.doc.GetLayers()->GetLayerCount(), 5);

    Send(h, ID_EDIT_UNDO);
    Send(h, ID_EDIT_UNDO);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"A", "B", "C"}));
    ExpectTabsFollowLayers(h);
    Send(h, ID_EDIT_REDO);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"A", "B", "C", "B2"}));
    EXPECT_EQ(ShapeCounts(h.doc), (std::vector<int>{1, 2, 3, 2}));
    ExpectTabsFollowLayers(h);
}

TEST_F(LayerCommands, DeletingTheFirstOfThreeMakesTheLastCurrentAndUndoBringsItBack) {
    ViewHarness h(640, 480, 3);
    MakeThreeLayers(h);
    MLayer* a = h.doc.GetLayers()->GetLayer(0);
    Send(h, ID_LAYER_DELETE);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(h.view->GetCurrentTab(), 1);
    ExpectTabsFollowLayers(h);
    Send(h, ID_EDIT_UNDO);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(h.doc.GetLayers()->GetLayer(0), a);
    EXPECT_EQ(ShapeCounts(h.doc), (std::vector<int>{1, 2, 3}));
    ExpectTabsFollowLayers(h);
    Send(h, ID_EDIT_REDO);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"B", "C"}));
    ExpectTabsFollowLayers(h);
}

TEST_F(LayerCommands, ShowDialogAppliesVisibilityWithoutUndoOrModification) {
    ViewHarness h(640, 480, 3);
    MakeThreeLayers(h);
    h.doc.SetModifiedFlag(FALSE);
    MDocShapeArray* layers = h.doc.GetLayers();
    layers->GetLayer(2)->SetVisible(FALSE);
    DialogRunner runner;
    std::vector<int> shown;
    runner.Script(kShowDialog, DialogScript()
                                   .Do([&](CDialog& d) {
                                       for (int i = 0; i < 3; ++i)
                                           shown.push_back(static_cast<int>(
                                               d.IsDlgButtonChecked(MLayerShowDialog::kFirstLayerCheck + i)));
                                   })
                                   .SetCheck(MLayerShowDialog::kFirstLayerCheck + 0, 0)
                                   .Click(1302)
                                   .SetCheck(MLayerShowDialog::kFirstLayerCheck + 1, 0)
                                   .Cancel());
    Send(h, ID_LAYER_DISPLAY);
    EXPECT_EQ(shown, (std::vector<int>{1, 1, 0}));
    // Apply counted, the change after it was cancelled.
    EXPECT_FALSE(layers->GetLayer(0)->IsVisible());
    EXPECT_TRUE(layers->GetLayer(1)->IsVisible());
    EXPECT_TRUE(h.view->IsTabHidden(0));

    runner.Script(kShowDialog, DialogScript()
                                   .SetCheck(MLayerShowDialog::kFirstLayerCheck + 0, 1)
                                   .SetCheck(MLayerShowDialog::kFirstLayerCheck + 2, 1)
                                   .Ok());
    Send(h, ID_LAYER_DISPLAY);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(layers->GetLayer(i)->IsVisible()) << i;
    // Other flags stay as they were.
    EXPECT_FALSE(layers->GetLayer(1)->IsPrintable());
    EXPECT_FALSE(h.doc.IsModified());
    EXPECT_FALSE(h.doc.CanUndo());
}

TEST_F(LayerCommands, TabContextMenuDrivesTheLayerCommands) {
    ViewHarness h(640, 480, 2);
    DialogRunner runner;
    // A right click on the second tab selects it, then renames it from the tab menu.
    runner.ScriptPopupMenu(ID_LAYER_RENAME);
    runner.Script(kNameDialog, DialogScript().SetText(1060, "Second").Ok());
    h.view->OnTabRClick(1, 0, 10, 10);
    QApplication::processEvents();  // the chosen command is posted
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"Layer1", "Second"}));
    ASSERT_EQ(runner.Popups().size(), 1u);
    bool offered = false;
    for (const auto& item : runner.Popups()[0].items)
        if (item.id == ID_LAYER_COPY) offered = !(item.flags & MF_GRAYED);
    EXPECT_TRUE(offered);

    // Beside the tabs: the short menu appends.
    runner.ScriptPopupMenu(ID_LAYER_APPEND);
    runner.Script(kNameDialog, DialogScript().Ok());
    h.view->OnTabRClick(-1, 0, 10, 10);
    QApplication::processEvents();  // the chosen command is posted
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"Layer1", "Second", "Layer2"}));
    EXPECT_EQ(h.view->GetCurrentTab(), 2);
    ExpectTabsFollowLayers(h);

    // A double click on a tab opens its settings.
    runner.Script(kNameDialog, DialogScript().SetText(1060, "First").Ok());
    h.view->OnTabDblClk(0, 0, 10, 10);
    EXPECT_EQ(LayerNames(h.doc), (std::vector<std::string>{"First", "Second", "Layer2"}));
}
