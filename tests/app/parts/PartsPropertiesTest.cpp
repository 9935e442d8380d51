// A part's name and keep-size flag changed through "ﾌﾟﾛﾊﾟﾃｨｰ", from the bar and from the parts
// list dialog; a selected group registered as a part through the frame's command route.
#include <gtest/gtest.h>

#include "app/parts/PartsDialogs.h"
#include "model/shapes/containers/GroupShape.h"
#include "platform/ui/Controls.h"
#include "tests/app/parts/PartsTestSupport.h"
#include "tools/select/SelectTool.h"

namespace {

namespace fs = std::filesystem;

class PartsProperties : public PartsBarProgram {
protected:
    // The part of a file as it reads back.
    static std::pair<std::string, int> StoredPart(const std::string& path, int index) {
        MCadPartsList list;
        LoadPartsListFile(list, path);
        const MCadParts* part = list.GetAt(index);
        return part ? std::make_pair(std::string(part->m_name), part->m_keepSize)
                    : std::make_pair(std::string(), -1);
    }
    // A list on shelf/a.qfp whose folder then goes away: its next write cannot make its file.
    std::string ListInAVanishedFolder() {
        fs::create_directories(PathOf("shelf"));
        WriteList("shelf/a.qfp", "A", {"ボルト"});
        LoadFromProfile({{"0", PathOf("shelf/a.qfp")}});
        fs::rename(PathOf("shelf"), PathOf("moved"));
        return PathOf("moved/a.qfp");
    }
    // A group of two lines in the drawing, selected by the select tool.
    void SelectedGroup() {
        auto* group = new MGroupShape();
        group->AddShape(new MLineShape({0, 0}, {1000, 0}));
        group->AddShape(new MLineShape({0, 500}, {1000, 500}));
        group->Recalc(Frame()->GetView());
        Doc().AppendShape(group, 0);
        Frame()->GetView()->SendCommand(ID_EDIT_SELECT_ALL);
        ASSERT_EQ(SelectionCount(), 1);
    }
    int SelectionCount() {
        auto* tool = dynamic_cast<MSelectTool*>(Frame()->GetView()->GetTool());
        return tool ? tool->GetSelectionCount() : -1;
    }
    void RegisterAs(const std::string& name) {
        dialogs.Script(IDD_PARTS_NAME, DialogScript().SetText(IDC_PARTS_NAME, name).Ok());
        Command(ID_ADD_PART);
    }
};

}  // namespace

TEST_F(PartsProperties, OkStoresNameAndFlagRefillsAndWritesCancelAndBlankChangeNothing) {
    const std::string a = WriteList("a.qfp", "A", {"ボルト", "ナット"});
    LoadFromProfile({{"0", a}});
    EXPECT_FALSE(ItemState(ID_PARTS_PROPERTIES).first) << "no part selected";
    Bar().GetListCtrl().ClickItem(1);
    EXPECT_TRUE(ItemState(ID_PARTS_PROPERTIES).first);

    std::string shownName;
    int shownCheck = -1;
    dialogs.Script(IDD_PARTS_NAME,
                   DialogScript()
                       .Read(IDC_PARTS_NAME, &shownName)
                       .Do([&](CDialog& d) { shownCheck = d.IsDlgButtonChecked(IDC_PARTS_FIT_SCALE); })
                       .SetText(IDC_PARTS_NAME, " 六角ナット ")
                       .SetCheck(IDC_PARTS_FIT_SCALE, 0)
                       .Ok());
    Command(ID_PARTS_PROPERTIES);
    EXPECT_EQ(shownName, "ナット");
    EXPECT_EQ(shownCheck, 1);
    EXPECT_EQ(Bar().GetListCtrl().GetItemText(1), "六角ナット");
    EXPECT_EQ(StoredPart(a, 1), std::make_pair(std::string("六角ナット"), 0));
    EXPECT_EQ(Bar().GetCurrentList()->m_modified, 0);
    ASSERT_NE(Bar().GetSelectedParts(), nullptr) << "the part stays selected";
    EXPECT_EQ(Bar().GetSelectedParts()->m_name, "六角ナット");

    const std::string before = FileText(a);
    dialogs.Script(IDD_PARTS_NAME,
                   DialogScript().SetText(IDC_PARTS_NAME, "x").SetCheck(IDC_PARTS_FIT_SCALE, 1).Cancel());
    Command(ID_PARTS_PROPERTIES);
    MessageBoxRecorder messages;
    dialogs.Script(IDD_PARTS_NAME, DialogScript().SetText(IDC_PARTS_NAME, "  ").Ok());
    Command(ID_PARTS_PROPERTIES);
    EXPECT_TRUE(messages.Saw(IDS_NAME_EMPTY));
    EXPECT_EQ(Bar().GetSelectedParts()->m_name, "六角ナット");
    EXPECT_EQ(Bar().GetSelectedParts()->m_keepSize, 0);
    EXPECT_EQ(FileText(a), before);
}

TEST_F(PartsProperties, AFailedWriteIsReportedAndThePartKeepsItsOldValues) {
    const std::string moved = ListInAVanishedFolder();
    Bar().GetListCtrl().ClickItem(0);
    MessageBoxRecorder messages;
    dialogs.Script(IDD_PARTS_NAME,
                   DialogScript().SetText(IDC_PARTS_NAME, "ナット").SetCheck(IDC_PARTS_FIT_SCALE, 0).Ok());
    Command(ID_PARTS_PROPERTIES);
    EXPECT_TRUE(messages.Saw(IDS_PARTS_SAVE_FAILED));
    MCadParts* part = Bar().GetSelectedParts();
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->m_name, "ボルト");
    EXPECT_EQ(part->m_keepSize, 1);
    EXPECT_EQ(Bar().GetListCtrl().GetItemText(0), "ボルト");
    EXPECT_EQ(Bar().GetCurrentList()->m_modified, 0) << "memory and file agree";
    EXPECT_EQ(StoredPart(moved, 0), std::make_pair(std::string("ボルト"), 1));
}

TEST_F(PartsProperties, TheListDialogsChangeButtonEditsItsCopyUntilOk) {
    MCadPartsList list("L");
    list.Add(Part("ボルト").release());
    list.Add(Part("ナット").release());
    std::string shownName;
    std::string boxText;
    int boxSelection = -1;
    const auto change = [&](const std::string& name) {
        dialogs.Script(IDD_PARTS_NAME, DialogScript()
                                           .Read(IDC_PARTS_NAME, &shownName)
                                           .SetText(IDC_PARTS_NAME, name)
                                           .SetCheck(IDC_PARTS_FIT_SCALE, 0)
                                           .Ok());
    };
    const auto readBox = [&](CDialog& d) {
        auto* box = d.GetDlgItemAs<CListBox>(IDC_PARTS_LIST_PARTS);
        boxSelection = box ? box->GetCurSel() : -1;
        if (box && boxSelection >= 0) boxText = box->GetText(boxSelection);
    };

    // Cancel leaves the list's own parts as they were.
    change("六角ナット");
    dialogs.Script(IDD_PARTS_LIST_NAME,
                   DialogScript().Select(IDC_PARTS_LIST_PARTS, 1).Click(IDC_PARTS_LIST_CHANGE).Cancel());
    MPartsListNameDialog(Frame(), &list).DoModal();
    EXPECT_EQ(shownName, "ナット");
    EXPECT_EQ(list.GetAt(1)->m_name, "ナット");
    EXPECT_EQ(list.GetAt(1)->m_keepSize, 1);

    change("六角ナット");
    dialogs.Script(
        IDD_PARTS_LIST_NAME,
        DialogScript().Select(IDC_PARTS_LIST_PARTS, 1).Click(IDC_PARTS_LIST_CHANGE).Do(readBox).Ok());
    EXPECT_EQ(MPartsListNameDialog(Frame(), &list).DoModal(), IDOK);
    EXPECT_EQ(boxText, "六角ナット");
    EXPECT_EQ(boxSelection, 1);
    ASSERT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list.GetAt(0)->m_name, "ボルト");
    EXPECT_EQ(list.GetAt(1)->m_name, "六角ナット");
    EXPECT_EQ(list.GetAt(1)->m_keepSize, 0);
    EXPECT_EQ(list.m_modified, 1);
}

TEST_F(PartsProperties, ARegisteredGroupWithoutATabIsRefusedAndTheDrawingKeptAsItWas) {
    SelectedGroup();
    const int shapes = ShapeCount();
    const bool couldUndo = Doc().CanUndo();
    AnswerFiles({std::nullopt});
    RegisterAs("扉");
    EXPECT_EQ(shown.size(), 1u) << "a parts file was asked for first";
    EXPECT_EQ(Bar().GetListCount(), 0);
    EXPECT_EQ(ShapeCount(), shapes);
    EXPECT_EQ(Doc().CanUndo(), couldUndo);
    EXPECT_EQ(SelectionCount(), 1);
}

TEST_F(PartsProperties, ARegisteredGroupBecomesTheTabsLastIconAndIsInItsFile) {
    const std::string a = WriteList("a.qfp", "A", {"ボルト"});
    LoadFromProfile({{"0", a}});
    SelectedGroup();
    const int shapes = ShapeCount();
    RegisterAs("扉");
    ASSERT_EQ(Bar().GetListCtrl().GetItemCount(), 2);
    EXPECT_EQ(Bar().GetListCtrl().GetItemText(1), "扉");
    EXPECT_EQ(PartNames(a), (std::vector<std::string>{"A", "ボルト", "扉"}));
    MCadPartsList stored;
    LoadPartsListFile(stored, a);
    ASSERT_EQ(stored.GetSize(), 2);
    auto* group = dynamic_cast<MGroupShape*>(stored.GetAt(1)->GetShape());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->GetShapeCount(), 2);
    EXPECT_EQ(ShapeCount(), shapes);
    EXPECT_EQ(SelectionCount(), 1);
}

TEST_F(PartsProperties, ARegisteredGroupGetsItsNameTrimmedAndABlankNameIsRefused) {
    const std::string a = WriteList("a.qfp", "A", {"ボルト"});
    LoadFromProfile({{"0", a}});
    SelectedGroup();
    const std::string before = FileText(a);
    MessageBoxRecorder messages;
    RegisterAs("  \t ");
    EXPECT_TRUE(messages.Saw(IDS_NAME_EMPTY));
    EXPECT_EQ(Bar().GetListCtrl().GetItemCount(), 1);
    EXPECT_EQ(FileText(a), before);
    RegisterAs("  扉 ");
    ASSERT_EQ(Bar().GetListCtrl().GetItemCount(), 2);
    EXPECT_EQ(Bar().GetListCtrl().GetItemText(1), "扉");
}

TEST_F(PartsProperties, ARegisteredGroupWhoseFileCannotBeWrittenLosesNothing) {
    const std::string moved = ListInAVanishedFolder();
    SelectedGroup();
    const int shapes = ShapeCount();
    MessageBoxRecorder messages;
    RegisterAs("扉");
    EXPECT_FALSE(messages.Messages().empty()) << "the file error is shown";
    ASSERT_EQ(Bar().GetCurrentList()->GetSize(), 1);
    EXPECT_EQ(Bar().GetListCtrl().GetItemCount(), 1);
    EXPECT_EQ(PartNames(moved), (std::vector<std::string>{"A", "ボルト"}));
    EXPECT_EQ(ShapeCount(), shapes);
    // Every part the list holds is alive: refilling and closing touch each of them.
    Bar().RefillIcons();
    Frame()->SaveSettings();
}
