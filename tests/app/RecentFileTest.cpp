// The recent-file list: its order and profile entries, the File menu that shows it, and files
// dropped on the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <fstream>

#include "app/FilePrompt.h"
#include "app/RecentFileList.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/Menu.h"
#include "resources/ResourceIds.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr const char* kSection = "Recent File List";
constexpr UINT kPaperDialog = 178;

TEST(RecentFileList, KeepsNewestFirstOnceEachAndRoundTripsThroughTheProfile) {
    struct Case {
        const char* name;
        std::vector<std::string> added;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"newest first", {"/d/a.qfd", "/d/b.qfd"}, {"/d/b.qfd", "/d/a.qfd"}},
        {"again moves to the top", {"/d/a.qfd", "/d/b.qfd", "/d/a.qfd"}, {"/d/a.qfd", "/d/b.qfd"}},
        {"same file by another name",
         {"/d/a.qfd", "/d/x/../a.qfd", "/d/./b.qfd"},
         {"/d/./b.qfd", "/d/x/../a.qfd"}},
        {"oldest falls off",
         {"/1.qfd", "/2.qfd", "/3.qfd", "/4.qfd", "/5.qfd"},
         {"/5.qfd", "/4.qfd", "/3.qfd", "/2.qfd"}},
        {"names in Japanese", {"/図面/平面図.qfd", "/d/a.qfd"}, {"/d/a.qfd", "/図面/平面図.qfd"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MRecentFileList list(4);
        for (const std::string& p : c.added)
            list.Add(p);
        EXPECT_EQ(list.Paths(), c.expected);
        auto profile = CreateMemoryProfile();
        profile->WriteProfileString(kSection, "File4", "/stale.qfd");
        list.WriteList(*profile);
        MRecentFileList read(4);
        read.ReadList(*profile);
        EXPECT_EQ(read.Paths(), c.expected);
        EXPECT_EQ(profile->HasEntry(kSection, "File4") != FALSE, c.expected.size() == 4);
    }
    // A hand-edited profile: gaps and repeats are skipped.
    auto profile = CreateMemoryProfile();
    profile->WriteProfileString(kSection, "File1", "/d/a.qfd");
    profile->WriteProfileString(kSection, "File3", "/d/a.qfd");
    profile->WriteProfileString(kSection, "File4", "/d/c.qfd");
    MRecentFileList read(4);
    read.ReadList(*profile);
    EXPECT_EQ(read.Paths(), (std::vector<std::string>{"/d/a.qfd", "/d/c.qfd"}));

    // Menu texts: short paths whole, long ones with their outer folders left out, "&" doubled.
    const struct {
        const char* path;
        const char* shown;
    } names[] = {
        {"/d/a.qfd", "/d/a.qfd"},
        {"/home/user/drawings/2024/site/plan.qfd", "/.../2024/site/plan.qfd"},
        {"/very/long/folder/names/here/a-very-long-file-name-indeed.qfd", "a-very-long-file-name-indeed.qfd"},
        {"/projects/ｶﾀｶﾅ/図面/平面図/一階/二階の平面図.qfd", "/.../ｶﾀｶﾅ/図面/平面図/一階/二階の平面図.qfd"},
    };
    for (const auto& n : names)
        EXPECT_EQ(MRecentFileList::GetDisplayName(n.path), n.shown) << n.path;
    // A path of a damaged profile, 20,000 folders deep: as many innermost folders as fit.
    std::string deep;
    for (int i = 0; i < 20000; ++i)
        deep += "/f";
    EXPECT_EQ(MRecentFileList::GetDisplayName(deep + "/plan.qfd"), "/.../f/f/f/f/f/f/f/f/plan.qfd");
    MRecentFileList amp(4);
    amp.Add("/d/R&D.qfd");
    EXPECT_EQ(amp.GetMenuText(0), "&1 /d/R&&D.qfd");
}

class RecentFiles : public StartedProgram {
protected:
    void SetUp() override {
        StartedProgram::SetUp();
        dir = MakeTempDir("recent-files");
    }
    void TearDown() override {
        SetFilePromptHandler({});
        StartedProgram::TearDown();
    }

    // The File popup after its update pass, as the menu bar opens it.
    CMenu* OpenFileMenu() {
        CMenu* bar = Frame()->GetMenu();
        for (UINT i = 0; i < bar->GetMenuItemCount(); ++i)
            if (bar->Items()[i].text.rfind("ファイル", 0) == 0) {
                CMenu* popup = bar->GetSubMenu(static_cast<int>(i));
                Frame()->OnInitMenuPopup(popup, i, FALSE);
                return popup;
            }
        return nullptr;
    }
    void SaveAs(const std::string& path) {
        SetFilePromptHandler([path](FileDialogState& dialog) {
            dialog.path = path;
            return true;
        });
        Frame()->SendCommand(ID_FILE_SAVE_AS);
        ASSERT_TRUE(std::filesystem::exists(path));
    }
    std::string Entry(int n) {
        return AfxGetProfile().GetProfileString(kSection, "File" + std::to_string(n));
    }

    std::string dir;
};

TEST_F(RecentFiles, SavedFilesJoinTheListImportsDoNotAndTheMenuOpensThem) {
    MessageBoxRecorder boxes(IDNO);
    app.LoadStdProfileSettings();
    CMenu* menu = OpenFileMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetMenuString(ID_FILE_MRU_FILE1, MF_BYCOMMAND), "最近使ったファイル");
    EXPECT_TRUE(menu->GetMenuState(ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);

    const std::string a = dir + "/a.qfd", b = dir + "/b.qfd";
    Doc().AppendShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(100, 100)), 0);
    SaveAs(a);
    ASSERT_TRUE(app.NewDocument());
    SaveAs(b);
    EXPECT_EQ(Entry(1), b);
    EXPECT_EQ(Entry(2), a);

    // An imported drawing is untitled and stays out of the list.
    const std::string dxf = dir + "/plan.dxf";
    std::ofstream(dxf, std::ios::binary)
        << "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n5\n21\n5\n"
           "0\nENDSEC\n0\nEOF\n";
    {
        DialogRunner runner;
        runner.Script(kPaperDialog, DialogScript().Ok());
        ASSERT_TRUE(app.OpenDocumentFile(dxf));
    }
    EXPECT_TRUE(Doc().GetPathName().empty());
    const std::size_t asked = boxes.Messages().size();  // the import's own question
    ASSERT_EQ(app.GetRecentFileList()->Paths(), (std::vector<std::string>{b, a}));

    menu = OpenFileMenu();
    EXPECT_FALSE(menu->GetMenuState(ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);
    const std::string first = menu->GetMenuString(ID_FILE_MRU_FILE1, MF_BYCOMMAND);
    const std::string second = menu->GetMenuString(ID_FILE_MRU_FILE1 + 1, MF_BYCOMMAND);
    EXPECT_EQ(first.substr(0, 3), "&1 ");
    EXPECT_TRUE(first.ends_with("/b.qfd")) << first;
    EXPECT_TRUE(second.starts_with("&2 ") && second.ends_with("/a.qfd")) << second;
    EXPECT_EQ(menu->GetMenuState(ID_FILE_MRU_FILE1 + 2, MF_BYCOMMAND), static_cast<UINT>(-1));
    // The list sits before the exit item.
    const std::vector<CMenu::Item>& items = menu->Items();
    EXPECT_EQ(items[items.size() - 3].id, ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(items.back().id, ID_APP_EXIT);

    Frame()->SendCommand(ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(Doc().GetPathName(), a);
    EXPECT_EQ(ShapeCount(), 1);
    EXPECT_EQ(Entry(1), a);
    EXPECT_EQ(boxes.Messages().size(), asked);

    // A file that is gone stays listed until opening it fails; then it leaves with the message.
    std::filesystem::remove(b);
    EXPECT_EQ(app.GetRecentFileList()->GetSize(), 2u);
    Frame()->SendCommand(ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(boxes.Messages().size(), asked + 1);
    EXPECT_EQ(app.GetRecentFileList()->Paths(), std::vector<std::string>{a});
    EXPECT_EQ(Entry(2), "");
    menu = OpenFileMenu();
    EXPECT_EQ(menu->GetMenuState(ID_FILE_MRU_FILE1 + 1, MF_BYCOMMAND), static_cast<UINT>(-1));

    // Leaving writes the list too.
    AfxGetProfile().DeleteSection(kSection);
    app.ExitInstance();
    EXPECT_EQ(Entry(1), a);
}

TEST_F(RecentFiles, ADroppedFileOpensAfterTheModifiedDrawingIsSettled) {
    const std::string path = dir + "/dropped.qfd";
    Doc().AppendShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(100, 100)), 0);
    SaveAs(path);
    ASSERT_TRUE(app.NewDocument());
    Doc().AppendShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(5, 5)), 0);
    Doc().AppendShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(9, 9)), 0);
    Doc().SetModifiedFlag(TRUE);
    Frame()->DragAcceptFiles(TRUE);

    MessageBoxRecorder boxes(IDNO);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path)),
                  QUrl::fromLocalFile(QString::fromStdString(dir + "/other.qfd"))});
    // As a drag does: the window takes the entering drag, then the drop goes to it.
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame()->GetWidget(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame()->GetWidget(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    QApplication::processEvents();

    // Asked once about the changes, then the first file only.
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_EQ(Doc().GetPathName(), path);
    EXPECT_EQ(ShapeCount(), 1);
}

}  // namespace
