// The file dialogs as the user answers them: the extension a save takes from the chosen filter,
// the question before a file is replaced, exports that leave the drawing unsaved, and the paths
// remembered for the next dialog only once a file has opened.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/FilePrompt.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/ui/DialogRunner.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/interchange/DxfTestSupport.h"

namespace {

namespace fs = std::filesystem;

constexpr UINT kIdsAskToSave = 61725;
constexpr int kDxfFilter = 1;
constexpr int kAllFilesFilter = 4;
constexpr UINT kPaperDialog = 178;
constexpr UINT kTemplateButton = 1308;

class FileDialogs : public StartedProgram {
protected:
    void SetUp() override {
        StartedProgram::SetUp();
        dir = MakeTempDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override {
        SetFilePromptHandler({});
        StartedProgram::TearDown();
    }
    // Each dialog the program opens gets the next answer: a name and a filter, or nothing (Cancel).
    void Answer(std::vector<std::pair<std::string, int>> answers) {
        m_answers = std::move(answers);
        shown.clear();
        SetFilePromptHandler([this](FileDialogState& dialog) {
            shown.push_back(dialog);
            if (shown.size() > m_answers.size() || m_answers[shown.size() - 1].first.empty()) return false;
            dialog.path = m_answers[shown.size() - 1].first;
            dialog.filter = m_answers[shown.size() - 1].second;
            return true;
        });
    }
    void AddLine() {
        Doc().AddShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(10000, 5000)), -1);
        Doc().SetModifiedFlag(TRUE);
    }

    std::string dir;
    std::vector<FileDialogState> shown;

private:
    std::vector<std::pair<std::string, int>> m_answers;
};

TEST_F(FileDialogs, SavingUnderTheDxfFilterExportsAndTheDrawingStaysUnsaved) {
    AddLine();
    Answer({{dir + "/foo", kDxfFilter}});
    MessageBoxRecorder boxes(IDCANCEL);
    Frame()->SendCommand(ID_FILE_SAVE_AS);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(shown[0].open);
    EXPECT_EQ(shown[0].filters[kDxfFilter], "DXF Files (*.dxf)");
    EXPECT_EQ(shown[0].filters.back(), "すべてのファイル (*.*)");
    ASSERT_TRUE(fs::exists(dir + "/foo.dxf"));
    EXPECT_FALSE(fs::exists(dir + "/foo"));
    EXPECT_FALSE(fs::exists(dir + "/foo.qfd"));
    EXPECT_TRUE(boxes.Messages().empty());
    // Only the export was written: the drawing is named as its own file and still unsaved.
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().GetPathName(), dir + "/foo.qfd");
    EXPECT_EQ(AfxGetProfile().GetProfileString("FILEPATH", "LASTOPEN"), dir + "/foo.dxf");
    if (dxftest::HasEzdxf()) {
        std::string out;
        EXPECT_EQ(dxftest::RunCommand(
                      std::string(dxftest::kPython) +
                          " -c 'import sys, ezdxf; print(len(ezdxf.readfile(sys.argv[1]).modelspace()))' " +
                          dxftest::Quoted(dir + "/foo.dxf"),
                      &out),
                  0)
            << out;
    }
    // Closing asks; Cancel keeps the window.
    Frame()->OnClose();
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_EQ(boxes.Messages()[0].text, AfxFormatString1(kIdsAskToSave, dir + "/foo.qfd"));
    EXPECT_TRUE(Frame()->IsWindow());
}

TEST_F(FileDialogs, AnExistingExportIsReplacedOnlyAfterYes) {
    AddLine();
    std::ofstream(dir + "/foo.dxf") << "theirs";
    // No: the dialog comes again with the final name, and its Cancel writes nothing.
    Answer({{dir + "/foo", kDxfFilter}});
    MessageBoxRecorder boxes(IDNO);
    Frame()->SendCommand(ID_FILE_SAVE_AS);
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_EQ(boxes.Messages()[0].text, "foo.dxf は既に存在します。\n上書きしますか?");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].path, dir + "/foo.dxf");
    EXPECT_EQ(ReadFile(dir + "/foo.dxf"), "theirs");
    EXPECT_TRUE(Doc().GetPathName().empty());
    EXPECT_TRUE(AfxGetProfile().GetProfileString("FILEPATH", "LASTOPEN").empty());

    // Yes replaces it.
    Answer({{dir + "/foo", kDxfFilter}});
    boxes.SetAnswer(IDYES);
    Frame()->SendCommand(ID_FILE_SAVE_AS);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_NE(ReadFile(dir + "/foo.dxf"), "theirs");
}

TEST_F(FileDialogs, ANameWithoutExtensionUnderAllFilesIsADrawing) {
    AddLine();
    Answer({{dir + "/foo", kAllFilesFilter}, {dir + "/bar.", kAllFilesFilter}});
    MessageBoxRecorder boxes;
    Frame()->SendCommand(ID_FILE_SAVE_AS);
    ASSERT_TRUE(fs::exists(dir + "/foo.qfd"));
    EXPECT_FALSE(fs::exists(dir + "/foo"));
    EXPECT_EQ(Doc().GetPathName(), dir + "/foo.qfd");
    EXPECT_FALSE(Doc().IsModified());
    // A name ending in a dot has no extension either.
    Frame()->SendCommand(ID_FILE_SAVE_AS);
    EXPECT_TRUE(fs::exists(dir + "/bar.qfd"));
    // The proposal shown has no extension.
    EXPECT_EQ(shown[1].path, dir + "/foo");
    EXPECT_TRUE(boxes.Messages().empty());
}

TEST_F(FileDialogs, OnlyAFileThatOpenedIsRememberedForTheNextOpen) {
    const std::string good = dir + "/good.qfd";
    ASSERT_TRUE(Doc().OnSaveDocument(good));
    const std::string broken = dir + "/broken.qfd";
    std::ofstream(broken) << "not a drawing\r\n";
    AfxGetProfile().WriteProfileString("FILEPATH", "LASTOPEN", good);
    MessageBoxRecorder boxes;
    Answer({{broken, 0}});
    Frame()->SendCommand(ID_FILE_OPEN);
    EXPECT_FALSE(boxes.Messages().empty());
    EXPECT_EQ(shown[0].path, dir + "/good");
    EXPECT_EQ(AfxGetProfile().GetProfileString("FILEPATH", "LASTOPEN"), good);
    // The next dialog starts where the last good file is.
    const std::string other = dir + "/other.qfd";
    ASSERT_TRUE(Doc().OnSaveDocument(other));
    Answer({{other, 2}, {"", 0}});
    Frame()->SendCommand(ID_FILE_OPEN);
    EXPECT_EQ(AfxGetProfile().GetProfileString("FILEPATH", "LASTOPEN"), other);
    Frame()->SendCommand(ID_FILE_OPEN);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].path, dir + "/other");
    EXPECT_EQ(shown[1].filter, 2);
}

TEST_F(FileDialogs, TheOpenDialogProposesTheLastFileWithoutExtensionAndThatNameOpensIt) {
    const std::string drawing = dir + "/plan.v2.qfd";
    ASSERT_TRUE(Doc().OnSaveDocument(drawing));
    AfxGetProfile().WriteProfileString("FILEPATH", "LASTOPEN", drawing);
    // The name as proposed, confirmed under the drawings' filter and under all files.
    for (const int filter : {0, kAllFilesFilter}) {
        shown.clear();
        SetFilePromptHandler([&](FileDialogState& dialog) {
            shown.push_back(dialog);
            dialog.filter = filter;
            return true;
        });
        MessageBoxRecorder boxes;
        Frame()->SendCommand(ID_FILE_OPEN);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].path, dir + "/plan.v2");
        EXPECT_TRUE(boxes.Messages().empty()) << filter;
        EXPECT_EQ(AfxGetProfile().GetProfileString("FILEPATH", "LASTOPEN"), drawing) << filter;
    }
}

TEST_F(FileDialogs, OnlyATemplateThatOpenedIsRemembered) {
    const std::string good = dir + "/start.qfd";
    ASSERT_TRUE(Doc().OnSaveDocument(good));
    MessageBoxRecorder boxes;
    DialogRunner runner;
    runner.Script(kPaperDialog, DialogScript().Click(kTemplateButton));
    Answer({{dir + "/missing.qfd", 0}});
    Frame()->SendCommand(ID_FILE_NEW);
    EXPECT_FALSE(boxes.Messages().empty());
    EXPECT_TRUE(AfxGetProfile().GetProfileString("FILEPATH", "TEMPLATE").empty());
    runner.Script(kPaperDialog, DialogScript().Click(kTemplateButton));
    Answer({{good, 0}});
    Frame()->SendCommand(ID_FILE_NEW);
    EXPECT_EQ(AfxGetProfile().GetProfileString("FILEPATH", "TEMPLATE"), good);
    EXPECT_TRUE(AfxGetProfile().GetProfileString("FILEPATH", "LASTOPEN").empty());
}

}  // namespace
