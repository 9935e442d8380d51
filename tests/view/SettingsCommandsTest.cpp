// The view's settings commands driven through their dialogs: grid pitch, paper, options with the
// undo rings, automatic layers, the dimension dialog of the tools, and select all and delete through
// the select tool. Invalid entries are refused and change nothing.
#include "document/PaperSettings.h"
#include "model/shapes/ShapeDialogs.h"
#include "platform/Profile.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DialogRunner.h"
#include "resources/ResourceIds.h"
#include "tests/support/TestSupport.h"
#include "tests/view/ViewTestSupport.h"
#include "view/dialogs/PaperDialog.h"
#include "view/ViewSelectAll.h"
#include "view/ViewSelection.h"

using namespace viewtest;

namespace {

enum : UINT {
    kGridDialog = 144,
    kPaperDialog = 178,
    kOptionDialog = 243,
    kAutoLayerDialog = 218,
    ID_SHOW_GRID = 32797,
};

BOOL Enabled(MTessarayView& view, UINT id) {
    CTestCmdUI ui;
    ui.m_nID = id;
    ui.DoUpdate(&view, TRUE);
    return ui.m_bEnabled;
}

// A drawing tool that may be bound to a layer.
class BindableTool : public RecordingTool {
public:
    using RecordingTool::RecordingTool;
    BOOL IsAutoLayerCapable() const override { return TRUE; }
    CString GetAutoLayerName() const override { return layer; }
    void SetAutoLayerName(const CString& name) override { layer = name; }
    CString layer;
};

// The select tool as the view's edit commands see it.
class FakeSelectTool : public RecordingTool, public MSelectAllService, public MSelectionServices {
public:
    FakeSelectTool() : RecordingTool(ID_TOOL_SELECT, "図形選択") {}
    BOOL IsSelectTool() const override { return TRUE; }
    int GetSelectionCount() const override { return selected; }
    void SelectAll(MTessarayView*) override {
        ++selectAlls;
        selected = 3;
    }
    int GetSelectedCount() const override { return selected; }
    MCadShape* GetSelectedShape(int) const override { return nullptr; }
    MPackShape* CreateSelectionPack(MTessarayView*) override { return nullptr; }
    void DeleteSelection(MTessarayView*) override {
        ++deletes;
        selected = 0;
    }
    void InsertShape(MTessarayView*, MCadShape*) override {}
    int selectAlls = 0;
    int deletes = 0;
    int selected = 0;
};

class CountingSizeDialog : public MSizeSetupDialog {
public:
    explicit CountingSizeDialog(int* opened) : m_opened(opened) {}
    int DoModal() override {
        ++*m_opened;
        return 1;
    }

private:
    int* m_opened;
};

class DimensionDialogs : public MShapeDialogFactory {
public:
    std::unique_ptr<MSizeSetupDialog> CreateSizeSetupDialog(MCadView* parent, const MSizeStyle*) override {
        parents.push_back(parent);
        return std::make_unique<CountingSizeDialog>(&opened);
    }
    int opened = 0;
    std::vector<MCadView*> parents;
};

class SettingsCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        m_previousProfile = AfxSetProfile(CreateMemoryProfile());
        m_savedDefaults = GetDefaultPaper();
        m_previousTools = SetDocumentToolArray(&tools);
        line = tools.Add(ID_TOOL_LINE, "直線");
        RecentTools()[0] = line;
    }
    void TearDown() override {
        SetDocumentToolArray(m_previousTools);
        ClearToolSwitching();
        GetDefaultPaper() = m_savedDefaults;
        AfxSetProfile(std::move(m_previousProfile));
    }
    BindableTool* AddBindable(UINT id, const CString& title) {
        tools.tools.push_back(std::make_unique<BindableTool>(id, title));
        return static_cast<BindableTool*>(tools.tools.back().get());
    }
    static void AddUndoSteps(MTessarayDoc& doc, int n) {
        for (int i = 0; i < n; ++i) {
            doc.BeginUndo();
            doc.AddShape(new MLineShape(MFloatPoint(0, i), MFloatPoint(10, i)), 0);
            doc.EndUndo();
        }
    }
    static int UndoDepth(MTessarayDoc& doc) {
        int n = 0;
        while (doc.CanUndo()) {
            doc.Undo(nullptr);
            ++n;
        }
        return n;
    }

    FakeToolArray tools;
    RecordingTool* line = nullptr;
    MessageBoxRecorder boxes;

private:
    std::unique_ptr<CProfile> m_previousProfile;
    MDefaultPaper m_savedDefaults;
    MDocumentToolArray* m_previousTools = nullptr;
};

}  // namespace

// ----- grid -------------------------------------------------------------------------------------

TEST_F(SettingsCommands, GridDialogSetsThePitchOfViewAndDocumentWithoutModifying) {
    ViewHarness h(640, 480);
    DialogRunner runner;
    std::string width;
    runner.Script(kGridDialog,
                  DialogScript().Read(1039, &width).SetText(1039, "500").SetText(1040, "250").Ok());
    h.view->SendCommand(ID_GRID_SETTINGS);
    EXPECT_EQ(width, "1000");
    EXPECT_EQ(h.view->GetGridPitch().x, 500.0);
    EXPECT_EQ(h.view->GetGridPitch().y, 250.0);
    EXPECT_EQ(h.doc.m_gridX, 500.0);
    EXPECT_EQ(h.doc.m_gridY, 250.0);
    ASSERT_NE(h.view->GetGrid(), nullptr);
    EXPECT_EQ(h.view->GetGrid()->m_pitchX, 500.0);
    EXPECT_EQ(h.view->GetGrid()->m_pitchY, 250.0);
    EXPECT_FALSE(h.doc.IsModified());
    EXPECT_FALSE(h.doc.CanUndo());

    // The grid display toggles and the sheet is repainted with or without its points.
    const QImage withGrid = h.Repaint();
    h.view->SendCommand(ID_SHOW_GRID);
    EXPECT_EQ(GetOptionRecord().m_show & MOptionRecord::kShowGrid, 0);
    EXPECT_GT(DifferentPixels(withGrid, h.Repaint()), 0);
    h.view->SendCommand(ID_SHOW_GRID);
    EXPECT_EQ(DifferentPixels(withGrid, h.Repaint()), 0);
}

TEST_F(SettingsCommands, GridDialogRefusesPitchesOutOfRange) {
    ViewHarness h(640, 480);
    DialogRunner runner;
    for (const char* text : {"0", "-5", "1e11", "abc", ""})
        runner.Script(kGridDialog, DialogScript().SetText(1040, text).Ok());
    for (int i = 0; i < 5; ++i)
        h.view->SendCommand(ID_GRID_SETTINGS);
    EXPECT_EQ(boxes.Messages().size(), 5u);
    for (const auto& record : runner.Dialogs())
        EXPECT_TRUE(record.leftOpen);
    EXPECT_EQ(h.view->GetGridPitch().y, 1000.0);
    EXPECT_EQ(h.doc.m_gridY, 1000.0);
}

// ----- paper ------------------------------------------------------------------------------------

TEST_F(SettingsCommands, PaperDialogChangesThePaperAndTheViewFollowsTheNewOrigin) {
    ViewHarness h(640, 480);
    h.AddLine(0, 0, 10000, 0);
    // One step to undo and one to redo, which the paper change must leave as they are.
    AddUndoSteps(h.doc, 2);
    h.doc.Undo(nullptr);
    h.doc.SetModifiedFlag(FALSE);
    const MPaperState before = h.doc.GetPaperState();
    std::string scaleText;
    std::string sizeShown;
    DialogRunner runner;
    runner.Script(kPaperDialog, DialogScript()
                                    .Do([&](CDialog& d) {
                                        auto* sizes = d.GetDlgItemAs<CListBox>(1028);
                                        sizeShown = sizes->GetText(sizes->GetCurSel());
                                    })
                                    .Select(1028, 4)  // A4
                                    .Select(1037, 2)  // 1 : 50
                                    .Read(1036, &scaleText)
                                    .Click(1031)  // portrait
                                    .SetText(1039, "200")
                                    .SetText(1040, "300")
                                    .Ok());
    h.view->SendCommand(ID_PAPER_SETTINGS);
    EXPECT_EQ(sizeShown, "A3  420mm×297mm");  // the document's paper, not only the defaults
    EXPECT_EQ(scaleText, "0.02");
    const MPaperInfo& paper = h.doc.GetPaperInfo();
    EXPECT_EQ(paper.GetSizeInfo().m_name, "A4");
    EXPECT_EQ(paper.GetScale(), 0.02);
    EXPECT_EQ(paper.GetHorizontal(), 0);
    EXPECT_EQ(paper.GetOriginPosition(), MPaperInfo::kOriginBottomLeft);
    EXPECT_EQ(h.doc.m_gridX, 200.0);
    EXPECT_EQ(h.doc.m_gridY, 300.0);
    EXPECT_EQ(h.view->GetGridPitch().x, 200.0);
    // The view's copy of the origin follows the document's new one (grid, origin cross, user
    // coordinates).
    EXPECT_EQ(h.view->userOrigin.x, h.doc.GetOrigin().x);
    EXPECT_EQ(h.view->userOrigin.y, h.doc.GetOrigin().y);
    EXPECT_EQ(h.view->DocToUser(h.doc.GetOrigin()).x, 0.0);
    EXPECT_EQ(h.view->PaperScale(), 0.02);
    EXPECT_TRUE(h.doc.IsModified());
    // The choice is remembered for new drawings.
    EXPECT_EQ(GetDefaultPaper().sizeIndex, 4);
    EXPECT_EQ(GetDefaultPaper().horizontal, 0);

    const MPaperState after = h.doc.GetPaperState();
    const CSize sheetAfter = h.view->GetTotalSize();

    // The change is no undo step: undo and redo reach the shape steps around it, and paper, origin,
    // grid and the view's scale and sheet stay the new ones.
    const auto expectNewPaper = [&](const char* what) {
        SCOPED_TRACE(what);
        const MPaperInfo& p = h.doc.GetPaperInfo();
        EXPECT_EQ(p.GetSizeInfo().m_name, after.paper.GetSizeInfo().m_name);
        EXPECT_EQ(p.GetScale(), after.paper.GetScale());
        EXPECT_EQ(h.doc.GetOrigin().x, after.origin.x);
        EXPECT_EQ(h.doc.m_gridX, after.gridX);
        EXPECT_EQ(h.view->GetGridPitch().y, after.gridY);
        EXPECT_EQ(h.view->userOrigin.x, after.origin.x);
        EXPECT_DOUBLE_EQ(h.view->unitScaleX, h.view->paperScaleX * after.paper.GetScale());
        EXPECT_EQ(h.view->GetTotalSize().cx, sheetAfter.cx);
        EXPECT_EQ(h.view->GetTotalSize().cy, sheetAfter.cy);
    };
    ASSERT_NE(after.paper.GetScale(), before.paper.GetScale());
    ASSERT_TRUE(h.doc.CanRedo());
    h.view->SendCommand(ID_EDIT_REDO);
    expectNewPaper("redone");
    EXPECT_EQ(h.doc.GetLayers()->GetLayer(0)->GetSize(), 3);
    h.view->SendCommand(ID_EDIT_UNDO);
    h.view->SendCommand(ID_EDIT_UNDO);
    EXPECT_FALSE(h.doc.CanUndo());
    expectNewPaper("undone");
    EXPECT_EQ(h.doc.GetLayers()->GetLayer(0)->GetSize(), 1);
}

TEST_F(SettingsCommands, PaperDialogCancelAndRefusedGridChangeNothing) {
    ViewHarness h(640, 480);
    const MPaperInfo before = h.doc.GetPaperInfo();
    const MDefaultPaper defaults = GetDefaultPaper();
    DialogRunner runner;
    runner.Script(kPaperDialog, DialogScript().Select(1028, 0).Select(1037, 6).SetText(1039, "5").Cancel());
    runner.Script(kPaperDialog, DialogScript().Select(1028, 0).SetText(1039, "0").Ok());
    runner.Script(kPaperDialog, DialogScript().SetText(1036, "0").Ok());
    h.view->SendCommand(ID_PAPER_SETTINGS);
    h.view->SendCommand(ID_PAPER_SETTINGS);
    h.view->SendCommand(ID_PAPER_SETTINGS);
    ASSERT_EQ(boxes.Messages().size(), 2u);
    EXPECT_TRUE(boxes.Saw(202));
    EXPECT_TRUE(runner.Dialogs()[1].leftOpen);
    EXPECT_TRUE(runner.Dialogs()[2].leftOpen);
    EXPECT_EQ(h.doc.GetPaperInfo().GetSizeInfo().m_name, before.GetSizeInfo().m_name);
    EXPECT_EQ(h.doc.GetPaperInfo().GetScale(), before.GetScale());
    EXPECT_EQ(h.doc.m_gridX, 1000.0);
    EXPECT_EQ(GetDefaultPaper().sizeIndex, defaults.sizeIndex);
    EXPECT_EQ(GetDefaultPaper().scaleIndex, defaults.scaleIndex);
    EXPECT_EQ(GetDefaultPaper().gridWidth, defaults.gridWidth);
    EXPECT_FALSE(h.doc.IsModified());
}

TEST_F(SettingsCommands, TypedScalesSelectTheirEntryOrStandAlone) {
    ViewHarness h(640, 480);
    DialogRunner runner;
    int selectedFor002 = -2;
    int selectedFor003 = -2;
    runner.Script(kPaperDialog,
                  DialogScript()
                      .SetText(1036, "0.02")
                      .Do([&](CDialog& d) { selectedFor002 = d.GetDlgItemAs<CListBox>(1037)->GetCurSel(); })
                      .SetText(1036, "0.03")
                      .Do([&](CDialog& d) { selectedFor003 = d.GetDlgItemAs<CListBox>(1037)->GetCurSel(); })
                      .Ok());
    h.view->SendCommand(ID_PAPER_SETTINGS);
    EXPECT_EQ(selectedFor002, 2);
    EXPECT_EQ(selectedFor003, -1);
    EXPECT_EQ(h.doc.GetPaperInfo().GetScale(), 0.03);
    EXPECT_EQ(h.doc.GetPaperInfo().GetScaleInfo().m_name, "0.03");
}

TEST_F(SettingsCommands, APaperSizeOutsideTheTableStaysUnlessAnotherIsChosen) {
    ViewHarness h(640, 480);
    h.doc.SetPaper(MPaperSizeInfo("Custom", "300mm×200mm", 300, 200), MPaperScaleInfo("1 : 100", 0.01), TRUE);
    DialogRunner runner;
    int sizeSelection = 0;
    runner.Script(kPaperDialog,
                  DialogScript()
                      .Do([&](CDialog& d) { sizeSelection = d.GetDlgItemAs<CListBox>(1028)->GetCurSel(); })
                      .Select(1037, 0)
                      .Ok());
    h.view->SendCommand(ID_PAPER_SETTINGS);
    EXPECT_EQ(sizeSelection, -1);
    EXPECT_EQ(h.doc.GetPaperInfo().GetSizeInfo().m_width, 300.0);
    EXPECT_EQ(h.doc.GetPaperInfo().GetScale(), 0.005);
}

TEST_F(SettingsCommands, PaperDialogTemplateAndOpenButtonsCloseWithTheirChoice) {
    DialogRunner runner;
    bool templateShown = true;
    runner.Script(
        kPaperDialog,
        DialogScript().Do([&](CDialog& d) { templateShown = d.GetDlgItem(1308)->IsWindowVisible(); }).Ok());
    MPaperSetupDialog hidden(nullptr);
    EXPECT_EQ(hidden.DoModal(), IDOK);
    EXPECT_FALSE(templateShown);
    EXPECT_EQ(hidden.m_choice, 0);

    runner.Script(kPaperDialog, DialogScript().Click(1308));
    MPaperSetupDialog withTemplate(nullptr, 0, TRUE, TRUE);
    EXPECT_EQ(withTemplate.DoModal(), IDOK);
    EXPECT_EQ(withTemplate.m_choice, MPaperSetupDialog::kChoiceTemplate);
    runner.Script(kPaperDialog, DialogScript().Click(1309));
    MPaperSetupDialog withOpen(nullptr, 0, TRUE, TRUE);
    EXPECT_EQ(withOpen.DoModal(), IDOK);
    EXPECT_EQ(withOpen.m_choice, MPaperSetupDialog::kChoiceOpen);
}

// ----- options ----------------------------------------------------------------------------------

TEST_F(SettingsCommands, OptionDialogWritesTheRecordAndResizesTheUndoRings) {
    ViewHarness h(640, 480);
    AddUndoSteps(h.doc, 4);
    DialogRunner runner;
    std::string undoShown;
    runner.Script(kOptionDialog, DialogScript()
                                     .Read(1142, &undoShown)
                                     .SetText(1142, "2")
                                     .SetText(1143, "50")
                                     .SetCheck(1298, 0)
                                     .Click(1306)
                                     .SetCheck(1070, 1)
                                     .SetCheck(1073, 1)
                                     .Ok());
    h.view->SendCommand(ID_OPTIONS);
    EXPECT_EQ(undoShown, "4");
    const MOptionRecord& o = GetOptionRecord();
    EXPECT_EQ(o.m_undoCount, 2);
    EXPECT_EQ(o.m_drawLimit, 50);
    EXPECT_EQ(o.m_saveCompress, 0);
    EXPECT_EQ(o.m_saveBackupMode, 1);
    EXPECT_EQ(o.m_bmpHalftone, 1);
    EXPECT_EQ(o.m_metafileRes, 1);
    EXPECT_EQ(h.doc.GetUndoCount(), 2);
    EXPECT_EQ(h.doc.GetRedoStack().GetCapacity(), 2);
    // The newest two steps are kept.
    EXPECT_EQ(UndoDepth(h.doc), 2);
    EXPECT_EQ(h.doc.GetLayers()->GetLayer(0)->GetSize(), 2);

    // The spin control steps within its range.
    runner.Script(kOptionDialog, DialogScript().Spin(1148, 3).Ok());
    h.view->SendCommand(ID_OPTIONS);
    EXPECT_EQ(o.m_undoCount, 5);
    EXPECT_EQ(h.doc.GetUndoCount(), 5);
}

TEST_F(SettingsCommands, OptionDialogRefusesOutOfRangeCountsAndKeepsTheRecord) {
    ViewHarness h(640, 480);
    const MOptionRecord before = GetOptionRecord();
    DialogRunner runner;
    runner.Script(kOptionDialog, DialogScript().SetText(1142, "0").Ok());
    runner.Script(kOptionDialog, DialogScript().SetText(1142, "1001").Ok());
    runner.Script(kOptionDialog, DialogScript().SetText(1143, "-1").Ok());
    runner.Script(kOptionDialog, DialogScript().SetText(1143, "x").SetCheck(1070, 1).Ok());
    runner.Script(kOptionDialog, DialogScript().SetText(1142, "7").Cancel());
    for (int i = 0; i < 5; ++i)
        h.view->SendCommand(ID_OPTIONS);
    EXPECT_EQ(boxes.Messages().size(), 4u);
    EXPECT_TRUE(GetOptionRecord() == before);
    EXPECT_EQ(h.doc.GetUndoCount(), before.m_undoCount);

    runner.Script(kOptionDialog, DialogScript().SetText(1142, "1").SetText(1143, "1000").Ok());
    h.view->SendCommand(ID_OPTIONS);
    EXPECT_EQ(GetOptionRecord().m_undoCount, 1);
    EXPECT_EQ(GetOptionRecord().m_drawLimit, 1000);
    EXPECT_EQ(h.doc.GetUndoCount(), 1);
}

TEST_F(SettingsCommands, ChangingTheSelectionDisplayEndsTheCurrentToolFirst) {
    ViewHarness h(640, 480);
    ASSERT_EQ(h.view->GetTool(), line);
    DialogRunner runner;
    runner.Script(kOptionDialog, DialogScript().SetText(1143, "10").Ok());
    h.view->SendCommand(ID_OPTIONS);
    const int endsBefore = line->ends;
    runner.Script(kOptionDialog, DialogScript().Click(1301).Ok());
    h.view->SendCommand(ID_OPTIONS);
    EXPECT_EQ(line->ends, endsBefore + 1);
    EXPECT_FALSE(line->lastSwitching);
    EXPECT_EQ(GetOptionRecord().m_drawSelectedShape, 2);
}

// ----- automatic layers ---------------------------------------------------------------------------

TEST_F(SettingsCommands, AutoLayerDialogBindsSelectedToolsOnOkOnly) {
    ViewHarness h(640, 480, 3);
    BindableTool* lineTool = AddBindable(32888, "水平・垂直線");
    BindableTool* circleTool = AddBindable(32772, "中心円");
    BindableTool* textTool = AddBindable(32781, "1行文字");
    circleTool->layer = "Gone";
    textTool->layer = "Layer2";

    DialogRunner runner;
    std::vector<std::string> rows;
    std::vector<std::string> entries;
    int entryForGone = -2;
    int entryForMixed = -2;
    runner.Script(kAutoLayerDialog,
                  DialogScript()
                      .Do([&](CDialog& d) {
                          auto* view = d.GetDlgItemAs<CListCtrl>(1198);
                          for (int r = 0; r < view->GetItemCount(); ++r)
                              rows.push_back(view->GetItemText(r, 0) + "|" + view->GetItemText(r, 1));
                          auto* list = d.GetDlgItemAs<CListBox>(1200);
                          for (int i = 0; i < list->GetCount(); ++i)
                              entries.push_back(list->GetText(i));
                      })
                      .Select(1198, 1)
                      .Do([&](CDialog& d) { entryForGone = d.GetDlgItemAs<CListBox>(1200)->GetCurSel(); })
                      .Do([&](CDialog& d) {
                          d.GetDlgItemAs<CListCtrl>(1198)->SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
                      })
                      .Do([&](CDialog& d) { entryForMixed = d.GetDlgItemAs<CListBox>(1200)->GetCurSel(); })
                      .Select(1200, 3)
                      .Ok());
    h.view->SendCommand(ID_AUTO_LAYER);
    EXPECT_EQ(rows, (std::vector<std::string>{"水平・垂直線|指定なし", "中心円|Gone", "1行文字|Layer2"}));
    EXPECT_EQ(entries, (std::vector<std::string>{"指定なし", "Layer1", "Layer2", "Layer3"}));
    EXPECT_EQ(entryForGone, -1);
    EXPECT_EQ(entryForMixed, -1);
    EXPECT_EQ(lineTool->layer, "");
    EXPECT_EQ(circleTool->layer, "Layer3");
    EXPECT_EQ(textTool->layer, "Layer3");

    // Three rows unbound at once; Cancel writes nothing.
    runner.Script(kAutoLayerDialog, DialogScript()
                                        .Do([](CDialog& d) {
                                            auto* view = d.GetDlgItemAs<CListCtrl>(1198);
                                            for (int r = 0; r < 3; ++r)
                                                view->SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
                                        })
                                        .Select(1200, 0)
                                        .Cancel());
    h.view->SendCommand(ID_AUTO_LAYER);
    EXPECT_EQ(circleTool->layer, "Layer3");
    runner.Script(kAutoLayerDialog, DialogScript()
                                        .Do([](CDialog& d) {
                                            auto* view = d.GetDlgItemAs<CListCtrl>(1198);
                                            for (int r = 0; r < 3; ++r)
                                                view->SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
                                        })
                                        .Select(1200, 0)
                                        .Ok());
    h.view->SendCommand(ID_AUTO_LAYER);
    EXPECT_EQ(circleTool->layer, "");
    EXPECT_EQ(textTool->layer, "");
    EXPECT_EQ(lineTool->layer, "");
}

// ----- commands served by the tools -------------------------------------------------------------

TEST_F(SettingsCommands, DimensionDialogWaitsForTheToolsFactory) {
    ViewHarness h(640, 480);
    EXPECT_FALSE(Enabled(*h.view, ID_SIZE_SETTINGS));
    DimensionDialogs factory;
    SetShapeDialogFactory(&factory);
    EXPECT_TRUE(Enabled(*h.view, ID_SIZE_SETTINGS));
    h.view->SendCommand(ID_SIZE_SETTINGS);
    EXPECT_EQ(factory.opened, 1);
    ASSERT_EQ(factory.parents.size(), 1u);
    EXPECT_EQ(factory.parents[0], static_cast<MCadView*>(h.view.get()));
    // Probing left the installed factory in place.
    EXPECT_EQ(&GetShapeDialogFactory(), &factory);
    SetShapeDialogFactory(nullptr);
    EXPECT_FALSE(Enabled(*h.view, ID_SIZE_SETTINGS));
}

TEST_F(SettingsCommands, SelectAllAndDeleteGoThroughTheSelectTool) {
    ViewHarness h(640, 480);
    EXPECT_FALSE(Enabled(*h.view, ID_EDIT_SELECT_ALL));
    auto* select = new FakeSelectTool;
    tools.tools.emplace_back(select);
    EXPECT_TRUE(Enabled(*h.view, ID_EDIT_SELECT_ALL));
    EXPECT_FALSE(Enabled(*h.view, ID_EDIT_CLEAR));

    h.view->SendCommand(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(h.view->GetTool(), select);
    EXPECT_EQ(select->selectAlls, 1);
    EXPECT_TRUE(Enabled(*h.view, ID_EDIT_CLEAR));
    h.view->SendCommand(ID_EDIT_CLEAR);
    EXPECT_EQ(select->deletes, 1);
    EXPECT_FALSE(Enabled(*h.view, ID_EDIT_CLEAR));
    // Without a selection the command does nothing.
    h.view->SendCommand(ID_EDIT_CLEAR);
    EXPECT_EQ(select->deletes, 1);
}
