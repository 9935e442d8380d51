// New asks about the modified drawing before the paper; at start the paper dialog's Open ends the program
// unless a drawing opened.
#include <gtest/gtest.h>

#include <QWidget>
#include <fstream>

#include "app/FilePrompt.h"
#include "document/PaperSettings.h"
#include "platform/ui/DialogRunner.h"
#include "resources/ResourceIds.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ShellTestSupport.h"

namespace {

constexpr UINT kPaperDialog = IDD_PAPER_SETUP;

// What the paper dialog is answered with.
enum class Paper { None, OkA3, Open, Template };

DialogScript Answer(Paper paper) {
    constexpr int kTemplateButton = 1308, kOpenButton = 1309, kSizeList = 1028;
    if (paper == Paper::OkA3) return DialogScript().SelectString(kSizeList, "A3").Ok();
    if (paper == Paper::Open) return DialogScript().SelectString(kSizeList, "A3").Click(kOpenButton);
    return paper == Paper::Template ? DialogScript().Click(kTemplateButton) : DialogScript();
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
        const std::string name = Doc().GetTitle();
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

        ASSERT_EQ(boxes.Messages().size(), 1u);
        EXPECT_EQ(boxes.Messages()[0].text, AfxFormatString1(IDS_ASK_TO_SAVE, name));
        EXPECT_EQ(runner.Opened(kPaperDialog), c.paper != Paper::None);
        EXPECT_EQ(askedBeforePaper, c.paper != Paper::None ? 1u : 0u);
        EXPECT_EQ(ShapeCount(), c.shapes);
        EXPECT_EQ(Doc().IsModified() != FALSE, c.shapes == 1);
        EXPECT_EQ(Doc().GetPathName(), c.paper == Paper::Open ? other : std::string());
    }
}

using StartWithPaper = ShellStart;

TEST_F(StartWithPaper, OpenInTheFirstPaperDialogEndsTheProgramUnlessADrawingOpened) {
    const std::string drawing = WriteCross("drawing.qfd");
    const std::string broken = dir + "/broken.qfd";  // not a drawing
    std::ofstream(broken) << "not a drawing\r\n";
    const struct {
        Paper paper;
        const std::string* chosen;  // null: the file dialog is cancelled
        bool runs;
    } cases[] = {
        {Paper::Open, nullptr, false},
        {Paper::Open, &broken, false},
        {Paper::Open, &drawing, true},
        {Paper::Template, nullptr, true},  // the new empty drawing stays
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.paper));
        SetFilePromptHandler([&](FileDialogState& dialog) {
            if (!c.chosen) return false;
            dialog.path = *c.chosen;
            return true;
        });
        MessageBoxRecorder boxes;
        DialogRunner runner;
        runner.Script(kPaperDialog, Answer(c.paper));
        MTessarayApp& program = Start({});
        EXPECT_EQ(program.InitInstance() != FALSE, c.runs);
        ASSERT_NE(program.GetMainFrame(), nullptr);
        EXPECT_EQ(program.GetMainFrame()->GetWidget()->isVisible(), c.runs);
        if (c.runs && c.chosen) {
            EXPECT_EQ(program.GetDocument()->GetPathName(), drawing);
        }
        program.ExitInstance();
        SetFilePromptHandler(nullptr);
    }
}

}  // namespace
