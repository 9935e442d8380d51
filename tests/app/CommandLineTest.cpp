// The command line: the shell commands as the class library parses them, and printing from it,
// which opens the drawing, prints it without a window and ends with a status a script can trust.
#include <gtest/gtest.h>

#include <QWidget>
#include <algorithm>

#include "app/CommandLine.h"
#include "app/MainFrame.h"
#include "view/TessarayView.h"
#include "platform/Strings.h"
#include "platform/ui/DialogRunner.h"
#include "resources/ResourceIds.h"
#include "tests/app/ShellTestSupport.h"

namespace {

constexpr UINT kIdsCannotOpen = 62700;

MCommandLineInfo Parsed(const std::vector<std::string>& args) {
    MCommandLineInfo info;
    info.ParseCommandLine(args);
    return info;
}

TEST(CommandLineParsing, PrintSwitchesTakeTheFileAndThePrinterWithEitherSwitchCharacter) {
    for (const char* p : {"-p", "/p", "-P"}) {
        const MCommandLineInfo info = Parsed({p, "plan.qfd"});
        EXPECT_EQ(info.m_nShellCommand, MCommandLineInfo::FilePrint) << p;
        EXPECT_EQ(info.m_strFileName, "plan.qfd") << p;
    }
    const MCommandLineInfo to = Parsed({"-pt", "/home/user/plan.qfd", "office", "cups", "usb:1", "extra"});
    EXPECT_EQ(to.m_nShellCommand, MCommandLineInfo::FilePrintTo);
    EXPECT_EQ(to.m_strFileName, "/home/user/plan.qfd");
    EXPECT_EQ(to.m_strPrinterName, "office");
    EXPECT_EQ(to.m_strDriverName, "cups");
    EXPECT_EQ(to.m_strPortName, "usb:1");
    // A file alone opens, whatever switches the program does not know come with it.
    const MCommandLineInfo open = Parsed({"-nologo", "/home/user/a.qfd", "b.qfd"});
    EXPECT_EQ(open.m_nShellCommand, MCommandLineInfo::FileOpen);
    EXPECT_EQ(open.m_strFileName, "/home/user/a.qfd");
    EXPECT_TRUE(open.m_strPrinterName.empty());
    EXPECT_EQ(Parsed({}).m_nShellCommand, MCommandLineInfo::FileNew);
    EXPECT_EQ(Parsed({"-dde"}).m_nShellCommand, MCommandLineInfo::FileDDE);
}

TEST(CommandLineParsing, OnlyTheExactUnregisterIsTheProgramsFlagOtherCasesAreTheFrameworks) {
    const MCommandLineInfo own = Parsed({"-Unregister"});
    EXPECT_EQ(own.m_unregister, 1);
    EXPECT_EQ(own.m_nShellCommand, MCommandLineInfo::FileNew);
    for (const char* other : {"-unregister", "/UNREGISTER", "/UnregServer"}) {
        const MCommandLineInfo info = Parsed({other});
        EXPECT_EQ(info.m_unregister, 0) << other;
        EXPECT_EQ(info.m_nShellCommand, MCommandLineInfo::AppUnregister) << other;
    }
    // "/" before anything but a switch word is a path.
    EXPECT_EQ(Parsed({"/unregistered.qfd"}).m_strFileName, "/unregistered.qfd");
}

class CommandLinePrint : public ShellStart {};

TEST_F(CommandLinePrint, PrintingToAPdfWritesItWithoutAWindowAndEndsTheStart) {
    const std::string drawing = WriteCross("plan.qfd");
    const std::string pdf = dir + "/out.PDF";
    MessageBoxRecorder boxes;
    DialogRunner runner;
    MTessarayApp& program = Start({"-pt", drawing, pdf, "driver", "port"});
    EXPECT_FALSE(program.InitInstance());
    EXPECT_EQ(ReadFile(pdf).substr(0, 4), "%PDF");
    // Nothing is made to be shown: no main window with its menus and bars, and the print's view
    // is never on screen and never paints.
    EXPECT_EQ(program.GetMainFrame(), nullptr);
    ASSERT_NE(program.GetView(), nullptr);
    EXPECT_FALSE(program.GetView()->IsOnScreen());
    EXPECT_EQ(program.GetView()->GetPaintCount(), 0);
    EXPECT_TRUE(boxes.Messages().empty());
    EXPECT_TRUE(runner.Dialogs().empty());
    EXPECT_EQ(program.ExitInstance(), 0);
    // Nothing of this start stays: no first-start mark, and the application's printer is as it was.
    EXPECT_FALSE(CreateUserProfile()->HasEntry("", "Setting"));
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
    EXPECT_TRUE(AfxGetPrinterSettings().outputFile.empty());
}

TEST_F(CommandLinePrint, PrintingWithoutPrintersWritesTheDrawingsPdf) {
    const std::string drawing = WriteCross("図面 1.qfd");
    MessageBoxRecorder boxes;
    MTessarayApp& program = Start({"/p", drawing});
    EXPECT_FALSE(program.InitInstance());
    EXPECT_EQ(ReadFile(dir + "/図面 1.pdf").substr(0, 4), "%PDF");
    EXPECT_EQ(program.ExitInstance(), 0);
}

// Before, "-p" without printers wrote over the PDF beside the drawing and said nothing.
TEST_F(CommandLinePrint, PrintingWithoutPrintersReplacesNoFileAndSaysWhereThePdfWent) {
    const std::string drawing = WriteCross("plan.qfd");
    std::ofstream(dir + "/plan.pdf") << "mine";
    // Each print finds the names before it taken; a broken link takes its name too.
    const struct {
        const char* expected;
        const char* linkAfter;
    } prints[] = {{"plan (2).pdf", "plan (3).pdf"}, {"plan (4).pdf", nullptr}};
    for (const auto& p : prints) {
        MTessarayApp& program = Start({"-p", drawing});
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(program.InitInstance());
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(program.ExitInstance(), 0);
        const std::string pdf = dir + "/" + p.expected;
        EXPECT_EQ(ReadFile(pdf).substr(0, 4), "%PDF") << p.expected;
        EXPECT_EQ(err, "tessaray: PDFﾌｧｲﾙ \"" + pdf + "\" に印刷しました。\n");
        if (p.linkAfter) std::filesystem::create_symlink(dir + "/gone.pdf", dir + "/" + p.linkAfter);
    }
    EXPECT_EQ(ReadFile(dir + "/plan.pdf"), "mine");
    EXPECT_FALSE(std::filesystem::exists(dir + "/gone.pdf"));
}

TEST_F(CommandLinePrint, AnExchangeFilesQuestionsTakeTheirDefaultsWithoutWaitingForAnybody) {
    // A drawing far larger than any sheet at full size: only automatic scaling fits it.
    const std::string drawing = dir + "/large.dxf";
    std::ofstream(drawing) << "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n20000\n21\n15000\n"
                              "0\nENDSEC\n0\nEOF\n";
    const std::string pdf = dir + "/large.pdf";
    // Both would answer otherwise: the paper dialog unscripted with Cancel, the question with No.
    MessageBoxRecorder boxes(IDNO);
    DialogRunner runner;
    MTessarayApp& program = Start({"-pt", drawing, pdf});
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(program.InitInstance());
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(ReadFile(pdf).substr(0, 4), "%PDF");
    EXPECT_LT(program.GetDocument()->GetPaperInfo().GetScale(), 0.1);
    EXPECT_EQ(program.ExitInstance(), 0);
    ASSERT_EQ(runner.Dialogs().size(), 1u);
    EXPECT_EQ(runner.Dialogs()[0].id, static_cast<unsigned>(IDD_PAPER_SETUP));
    EXPECT_EQ(runner.Dialogs()[0].result, IDOK);
    EXPECT_TRUE(boxes.Messages().empty());
    EXPECT_NE(err.find(AfxLoadString(IDS_DXF_AUTO_SCALE)), std::string::npos) << err;
}

TEST_F(CommandLinePrint, AFileThatCannotBeOpenedIsToldOnStandardErrorAndEndsWithOne) {
    MessageBoxRecorder boxes;
    MTessarayApp& program = Start({"-p", dir + "/missing.dxf"});
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(program.InitInstance());
    const std::string err = ::testing::internal::GetCapturedStderr();
    // Told, not shown: nobody is there to close a box.
    EXPECT_TRUE(boxes.Messages().empty());
    EXPECT_NE(err.find("tessaray: " + AfxLoadString(kIdsCannotOpen)), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/missing.pdf"));
    EXPECT_EQ(program.GetMainFrame(), nullptr);
    EXPECT_EQ(program.ExitInstance(), 1);
}

TEST_F(CommandLinePrint, APrinterTheSystemDoesNotHaveFailsTheStatus) {
    const std::string drawing = WriteCross("plan.qfd");
    MessageBoxRecorder boxes;
    MTessarayApp& program = Start({"-pt", drawing, "no such printer here"});
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(program.InitInstance());
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(boxes.Messages().empty());
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(program.ExitInstance(), 1);
    EXPECT_TRUE(AfxGetPrinterSettings().printerName.empty());
}

}  // namespace
