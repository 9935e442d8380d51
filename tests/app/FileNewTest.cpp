// New asks about the modified drawing before the paper; at start the paper dialog's Open ends the program
// unless a drawing opened.
#include <gtest/gtest.h>

#include <QWidget>
#include <fstream>

#include "app/FilePrompt.h"
#include "platform/ui/DialogRunner.h"
#include "resources/ResourceIds.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ShellTestSupport.h"

namespace {

constexpr UINT kPaperDialog = IDD_PAPER_SETUP;

// What the paper dialog is answered with.
enum class Paper { None, OkA3, Open };

DialogScript Answer(Paper paper) {
    constexpr int kOpenButton = 1309, kSizeList = 1028;
    DialogScript a3 = DialogScript().SelectString(kSizeList, "A3");
    return paper == Paper::OkA3 ? a3.Ok() : paper == Paper::Open ? a3.Click(kOpenButton) : DialogScript();
}

class FileNew : public StartedProgram {
protected:
    void SetUp() override {
        StartedProgram::SetUp();
        other = MakeTempDir("file-new") + "/other.qfd";
        for (const double y : {0, 50, 100})
            Doc().AddShape(new MLineShape(MFloatPoint(0, y), MFloatPoint(100, 100 - y)), -1);
        EXPECT_TRUE(Doc().OnSaveDocument(other));
        Doc().DeleteContents();
    }
    void TearDown() override {
        SetFilePromptHandler(nullptr);
        StartedProgram::TearDown();
    }
    std::string other;
};

TEST_F(FileNew, AModifiedDrawingIsAskedAboutBeforeThePaperOfTheNewOne) {
    const struct {
        int answer;
        Paper paper;
        int shapes;  // afterwards
    } cases[] = {
        {IDCANCEL, Paper::None, 1},
        {IDNO, Paper::OkA3, 0},
        {IDNO, Paper::Open, 3},  // asked once, not again by the Open, which opens the other drawing
    };
    SetFilePromptHandler([&](FileDialogState& dialog) {
        dialog.path = other;
        return true;
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.paper));
        Doc().OnNewDocument();
        Doc().AddShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(500, 0)), -1);
        Doc().SetModifiedFlag(TRUE);
        MessageBoxRecorder boxes(c.answer);
        DialogRunner runner;
        std::size_t askedBeforePaper = 0;
        DialogScript script;
        script.Do([&](CDialog&) { askedBeforePaper = boxes.Messages().size(); });
        const DialogScript answer = Answer(c.paper);
        for (const DialogScript::Step& step : answer.Steps())
            script.Do(step);
        if (c.paper != Paper::None) runner.Script(kPaperDialog, script);
        Frame()->SendCommand(ID_FILE_NEW);

        EXPECT_EQ(boxes.Messages().size(), 1u);
        EXPECT_EQ(askedBeforePaper, c.paper != Paper::None ? 1u : 0u);
        EXPECT_EQ(ShapeCount(), c.shapes);
        EXPECT_EQ(Doc().GetPathName(), c.paper == Paper::Open ? other : std::string());
    }
}

using StartWithPaper = ShellStart;

TEST_F(StartWithPaper, OpenInTheFirstPaperDialogEndsTheProgramUnlessADrawingOpened) {
    const std::string drawing = WriteCross("drawing.qfd");
    const std::string broken = dir + "/broken.qfd";  // not a drawing
    std::ofstream(broken) << "not a drawing\r\n";
    const struct {
        const std::string* chosen;  // null: the file dialog is cancelled
        bool runs;
    } cases[] = {{nullptr, false}, {&broken, false}, {&drawing, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.runs);
        SetFilePromptHandler([&](FileDialogState& dialog) {
            if (c.chosen) dialog.path = *c.chosen;
            return c.chosen != nullptr;
        });
        MessageBoxRecorder boxes;
        DialogRunner runner;
        runner.Script(kPaperDialog, Answer(Paper::Open));
        MTessarayApp& program = Start({});
        EXPECT_EQ(program.InitInstance() != FALSE, c.runs);
        ASSERT_NE(program.GetMainFrame(), nullptr);
        EXPECT_EQ(program.GetMainFrame()->GetWidget()->isVisible(), c.runs);
        if (c.runs) {
            EXPECT_EQ(program.GetDocument()->GetPathName(), drawing);
        }
        program.ExitInstance();
        SetFilePromptHandler(nullptr);
    }
}

}  // namespace
