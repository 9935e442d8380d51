// The frame's parts commands: tabs added, inserted, renamed, moved and deleted, parts renamed and
// deleted, parts taken into the current list; every change written to its file at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>

#include "platform/ui/Controls.h"
#include "tests/app/parts/PartsTestSupport.h"

namespace {

namespace fs = std::filesystem;

class PartsCommands : public PartsBarProgram {
protected:
    // Three tabs on three files, the first selected.
    void ThreeTabs() {
        LoadFromProfile(
            {{"0", WriteList("a.qfp", "A")}, {"1", WriteList("b.qfp", "B")}, {"2", WriteList("c.qfp", "C")}});
    }
    void MoveTab(int from, int to) {
        dialogs.Script(IDD_PARTS_TAB_MOVE,
                       DialogScript().Select(IDC_PARTS_TAB_FROM, from).Select(IDC_PARTS_TAB_TO, to).Ok());
        Command(ID_PARTS_TAB_MOVE);
    }
    void PressKey(CWnd* wnd, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(wnd->GetWidget(), &press);
    }
    // Renames the selected part in place, ending with the key.
    void RenameInPlace(const std::string& text, int key) {
        Command(ID_PARTS_RENAME);
        CEdit* edit = Bar().GetListCtrl().GetEditControl();
        ASSERT_NE(edit, nullptr);
        edit->SetWindowText(text);
        PressKey(edit, key);
    }
    static bool InOrder(const std::string& text, const std::vector<std::string>& pieces) {
        std::size_t at = 0;
        for (const std::string& piece : pieces) {
            at = text.find(piece, at);
            if (at == std::string::npos) return false;
            at += piece.size();
        }
        return true;
    }
};

}  // namespace

TEST_F(PartsCommands, ANewFileIsNamedInTheListDialogAndWrittenAtOnce) {
    AnswerFile(PathOf("new"));
    std::string proposed;
    dialogs.Script(
        IDD_PARTS_LIST_NAME,
        DialogScript().Read(IDC_PARTS_LIST_NAME, &proposed).SetText(IDC_PARTS_LIST_NAME, "tools").Ok());
    Command(ID_PARTS_TAB_ADD);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].filters, std::vector<std::string>{"Parts File(*.qfp)"});
    EXPECT_TRUE(shown[0].createPrompt);
    EXPECT_EQ(proposed, "new");
    EXPECT_EQ(Tabs(), std::vector<std::string>{"tools"});
    const std::string text = FileText(PathOf("new.qfp"));
    EXPECT_TRUE(InOrder(text, {"$$TessarayPart$$", "2", "[NAME]", "\ttools", "[SIZE]", "\t0", "[EOF]"}))
        << text;
    EXPECT_EQ(Bar().GetCurrentList()->m_modified, 0);
}

TEST_F(PartsCommands, AnExistingFileIsLoadedOnceAndAnInsertedTabGoesBeforeTheSelectedOne) {
    const std::string a = WriteList("a.qfp", "A", {"ボルト"});
    const std::string b = WriteList("b.qfp", "B");
    const std::string c = WriteList("c.qfp", "C");
    AnswerFile(a);
    Command(ID_PARTS_TAB_ADD);
    AnswerFile(b);
    Command(ID_PARTS_TAB_ADD);
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(Bar().GetTabCtrl().GetCurSel(), 1);

    // The same file by another way of writing its path.
    MessageBoxRecorder messages;
    AnswerFile(dir + "/./a.qfp");
    Command(ID_PARTS_TAB_ADD);
    EXPECT_TRUE(messages.Saw(IDS_PARTS_ALREADY_LOADED));
    EXPECT_EQ(Tabs().size(), 2u);

    AnswerFile(c);
    Command(ID_PARTS_TAB_INSERT);
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"A", "C", "B"}));
    EXPECT_EQ(Bar().GetTabCtrl().GetCurSel(), 1);
    EXPECT_EQ(Bar().GetCurrentList()->GetName(), "C");
}

TEST_F(PartsCommands, ANewFileThatCannotBeWrittenAddsNoTab) {
    MessageBoxRecorder messages;
    AnswerFile(PathOf("missing/new.qfp"));
    dialogs.Script(IDD_PARTS_LIST_NAME, DialogScript().Ok());
    Command(ID_PARTS_TAB_ADD);
    EXPECT_TRUE(messages.Saw(IDS_PARTS_CREATE_FAILED));
    EXPECT_TRUE(Tabs().empty());
    EXPECT_EQ(Bar().GetListCount(), 0);
}

TEST_F(PartsCommands, ABlankTabNameIsRefusedAndANewOneWritten) {
    LoadFromProfile({{"0", WriteList("a.qfp", "A")}});
    MessageBoxRecorder messages;
    dialogs.Script(IDD_PARTS_TAB_NAME, DialogScript().SetText(IDC_PARTS_TAB_NAME, "   ").Ok());
    Command(ID_PARTS_TAB_RENAME);
    EXPECT_TRUE(messages.Saw(IDS_NAME_EMPTY));
    ASSERT_EQ(dialogs.Dialogs().size(), 1u);
    EXPECT_TRUE(dialogs.Dialogs()[0].leftOpen);
    EXPECT_EQ(Tabs(), std::vector<std::string>{"A"});

    dialogs.Script(IDD_PARTS_TAB_NAME, DialogScript().SetText(IDC_PARTS_TAB_NAME, " machine ").Ok());
    Command(ID_PARTS_TAB_RENAME);
    EXPECT_EQ(Tabs(), std::vector<std::string>{"machine"});
    EXPECT_EQ(PartNames(PathOf("a.qfp")), std::vector<std::string>{"machine"});
}

TEST_F(PartsCommands, MovingATabTakesTheListTheDialogNamesAndSelectsIt) {
    ThreeTabs();
    MoveTab(0, 3);
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"B", "C", "A"}));
    EXPECT_EQ(Bar().GetCurrentList()->GetName(), "A");

    ThreeTabs();  // loads nothing more: the files are there already
    Bar().GetTabCtrl().ClickTab(0);
    MoveTab(0, 2);
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_EQ(Bar().GetCurrentList()->GetName(), "B");

    // The from box chooses another list than the selected one.
    MoveTab(2, 0);
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"A", "C", "B"}));
    EXPECT_EQ(Bar().GetCurrentList()->GetName(), "A");
}

TEST_F(PartsCommands, DeletingATabAsksTwiceWritesItsChangeAndLeavesTheFile) {
    LoadFromProfile({{"0", WriteList("a.qfp", "A")}, {"1", WriteList("b.qfp", "B")}});
    ASSERT_TRUE(Bar().AddPartsToCurrentList(Part("ボルト").release()));
    MessageBoxRecorder messages(IDOK);
    Command(ID_PARTS_TAB_DELETE);
    ASSERT_EQ(messages.Messages().size(), 2u);
    EXPECT_EQ(messages.Messages()[0].text, "A\nこのタブを削除してもいいですか?");
    EXPECT_EQ(messages.Messages()[1].text, "A\n保存しますか？");
    EXPECT_EQ(Tabs(), std::vector<std::string>{"B"});
    EXPECT_EQ(PartNames(PathOf("a.qfp")), (std::vector<std::string>{"A", "ボルト"}));

    // An unchanged list asks only the first question.
    Command(ID_PARTS_TAB_DELETE);
    EXPECT_EQ(messages.Messages().size(), 3u);
    EXPECT_TRUE(Tabs().empty());
    EXPECT_TRUE(fs::exists(PathOf("b.qfp")));
}

TEST_F(PartsCommands, PartsAreDeletedAndRenamedInPlaceAndEachChangeIsWritten) {
    const std::string a = WriteList("a.qfp", "A", {"ボルト", "ナット", "座金"});
    LoadFromProfile({{"0", a}});
    Bar().GetListCtrl().ClickItem(1);
    EXPECT_EQ(ItemState(ID_PARTS_DELETE).first, true);
    MessageBoxRecorder messages(IDOK);
    Command(ID_PARTS_DELETE);
    EXPECT_EQ(messages.Messages().at(0).text, "ナット\nこのﾊﾟｰﾂを削除してもいいですか?");
    EXPECT_EQ(PartNames(a), (std::vector<std::string>{"A", "ボルト", "座金"}));
    EXPECT_EQ(Bar().GetListCtrl().GetItemCount(), 2);

    Bar().GetListCtrl().ClickItem(1);
    RenameInPlace("平座金", Qt::Key_Return);
    EXPECT_EQ(Bar().GetListCtrl().GetItemText(1), "平座金");
    EXPECT_EQ(PartNames(a), (std::vector<std::string>{"A", "ボルト", "平座金"}));

    // Escape and a blank name change nothing.
    const std::string before = FileText(a);
    RenameInPlace("六角", Qt::Key_Escape);
    RenameInPlace("  ", Qt::Key_Return);
    EXPECT_TRUE(messages.Saw(IDS_NAME_EMPTY));
    EXPECT_EQ(Bar().GetListCtrl().GetItemText(1), "平座金");
    EXPECT_EQ(FileText(a), before);
}

TEST_F(PartsCommands, AddingAPartWithoutAListAsksForAFileFirst) {
    AnswerFiles({std::nullopt});
    EXPECT_FALSE(Frame()->AddPartsToCurrentList(Part("ボルト")));
    EXPECT_EQ(shown.size(), 1u);

    AnswerFile(PathOf("new.qfp"));
    dialogs.Script(IDD_PARTS_LIST_NAME, DialogScript().Ok());
    EXPECT_TRUE(Frame()->AddPartsToCurrentList(Part("ボルト")));
    EXPECT_EQ(PartNames(PathOf("new.qfp")), (std::vector<std::string>{"new", "ボルト"}));
    EXPECT_EQ(Bar().GetListCtrl().GetItemCount(), 1);
}

TEST_F(PartsCommands, APartWhoseFileCannotBeWrittenLeavesTheListAsItWas) {
    fs::create_directories(PathOf("shelf"));
    WriteList("shelf/a.qfp", "A", {"ボルト"});
    LoadFromProfile({{"0", PathOf("shelf/a.qfp")}});
    // The folder goes away: the next write cannot make its temporary file.
    fs::rename(PathOf("shelf"), PathOf("moved"));
    MessageBoxRecorder messages;
    EXPECT_FALSE(Frame()->AddPartsToCurrentList(Part("ナット")));
    EXPECT_EQ(messages.Messages().size(), 1u);
    ASSERT_EQ(Bar().GetCurrentList()->GetSize(), 1);
    EXPECT_EQ(Bar().GetListCtrl().GetItemCount(), 1);
    EXPECT_EQ(Bar().GetListCtrl().GetItemText(0), "ボルト");
    // The list's parts are all alive: refilling and closing touch each of them.
    Bar().RefillIcons();
    Frame()->SaveSettings();
}

TEST_F(PartsCommands, DoubleClickAndEnterInsertTheSelectedPartIntoTheDrawing) {
    LoadFromProfile({{"0", WriteList("a.qfp", "A", {"ボルト"})}});
    const int before = ShapeCount();
    Bar().GetListCtrl().DoubleClickItem(0);
    EXPECT_EQ(ShapeCount(), before + 1);
    Bar().GetListCtrl().PressEnter();
    EXPECT_EQ(ShapeCount(), before + 2);
}
