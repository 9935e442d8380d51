// The program as the desktop meets it: a print from the command line by the built program, the
// "Unregister" road that leaves nothing behind, About and Help, the window's icon and a placement
// saved on a screen that is gone, and the frame's print settings.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

#include "app/HelpPage.h"
#include "app/MainFrame.h"
#include "app/WindowPlacement.h"
#include "platform/ShellFileTypes.h"
#include "platform/ui/DialogRunner.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ShellTestSupport.h"
#include "tests/interchange/DxfTestSupport.h"

namespace {

namespace fs = std::filesystem;

constexpr UINT kPaperDialog = 178;
constexpr UINT kAboutDialog = 100;
constexpr int kAboutIcon = 1000;
constexpr int kAboutText = 1001;
constexpr UINT kPrintDialog = 1538;
constexpr int kBlackWhiteBox = 1324;
constexpr UINT ID_HELP = 33080;
constexpr UINT kIdsCannotOpen = 62700;
constexpr UINT ID_PRINT_SETTINGS = 33106;

// A grey map of the first page (pdftoppm's PGM), or an empty one.
struct GreyPage {
    int width = 0, height = 0;
    std::string pixels;
    unsigned char At(int x, int y) const {
        return static_cast<unsigned char>(pixels[static_cast<std::size_t>(y) * width + x]);
    }
    // Dark pixels along a row (or column) within two pixels of `at`.
    int Dark(bool row, int at) const {
        const int length = row ? width : height;
        const int across = row ? height : width;
        int n = 0;
        for (int i = 0; i < length; ++i)
            for (int d = -2; d <= 2; ++d) {
                const int j = at + d;
                if (j >= 0 && j < across && (row ? At(i, j) : At(j, i)) < 128) {
                    ++n;
                    break;
                }
            }
        return n;
    }
};

GreyPage ReadPgm(const std::string& path) {
    GreyPage page;
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> page.width >> page.height >> maxValue;
    in.get();
    if (magic != "P5" || maxValue != 255 || page.width <= 0 || page.height <= 0) return GreyPage();
    page.pixels.resize(static_cast<std::size_t>(page.width) * page.height);
    in.read(page.pixels.data(), static_cast<std::streamsize>(page.pixels.size()));
    return in ? page : GreyPage();
}

using ProgramRun = ShellStart;

TEST_F(ProgramRun, TheBuiltProgramPrintsADrawingIntoAPdfAndExitsWithZero) {
    const std::string drawing = WriteCross("plan.qfd");
    const std::string pdf = dir + "/out.pdf";
    const int status = RunProgram({TESSARAY_PROGRAM, "-pt", drawing, pdf}, ProgramEnvironment(),
                                  std::chrono::seconds(240));
    ASSERT_EQ(status, 0);
    ASSERT_EQ(ReadFile(pdf).substr(0, 4), "%PDF");
    // Nothing of the start stays but the desktop's registration.
    EXPECT_FALSE(fs::exists(SettingsFile()));
    EXPECT_TRUE(fs::exists(data + "/applications/tessaray.desktop"));

    if (dxftest::RunCommand("command -v pdftoppm", nullptr) != 0)
        GTEST_SKIP() << "poppler-utils is not installed";
    ASSERT_EQ(dxftest::RunCommand("pdftoppm -gray -r 30 -f 1 -l 1 -singlefile " + dxftest::Quoted(pdf) + " " +
                                      dxftest::Quoted(dir + "/page"),
                                  nullptr),
              0);
    const GreyPage page = ReadPgm(dir + "/page.pgm");
    ASSERT_GT(page.width, 0);
    // The landscape sheet prints on a landscape A4 page, each millimetre where it is on the sheet
    // (the page and the print area both start at the unprinted margin).
    EXPECT_GT(page.width, page.height);
    const int row = static_cast<int>(kCrossY / 210.0 * page.height + 0.5);
    const int column = static_cast<int>(kCrossX / 297.0 * page.width + 0.5);
    EXPECT_GT(page.Dark(true, row), page.width * 8 / 10);
    EXPECT_GT(page.Dark(false, column), page.height * 8 / 10);
    // Elsewhere only the other line crosses.
    EXPECT_LE(page.Dark(true, row / 2), 5);
    EXPECT_GE(page.Dark(true, row / 2), 1);
    EXPECT_LE(page.Dark(false, column / 2), 5);
}

using Unregistering = ShellStart;

TEST_F(Unregistering, AfterAFirstStartAndACloseNothingOfTheProgramIsLeft) {
    const std::string other = data + "/applications/another.desktop";
    fs::create_directories(data + "/applications");
    std::ofstream(other) << "[Desktop Entry]\nName=Another program\nMimeType=application/x-other;\n";
    {
        DialogRunner runner;
        runner.Script(kPaperDialog, DialogScript().Ok());
        MTessarayApp& first = Start({});
        ASSERT_TRUE(first.InitInstance());
        // Closed as the user closes it (not as the main window: the tests' application goes on).
        first.m_pMainWnd = nullptr;
        first.GetMainFrame()->OnClose();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(first.ExitInstance(), 0);
    }
    ASSERT_TRUE(fs::exists(SettingsFile()));
    EXPECT_NE(ReadFile(SettingsFile()).find("Setting=1"), std::string::npos);
    ASSERT_TRUE(fs::exists(data + "/applications/tessaray.desktop"));
    ASSERT_TRUE(fs::exists(data + "/icons/hicolor/scalable/apps/tessaray.svg"));

    MTessarayApp& second = Start({"-Unregister"});
    EXPECT_FALSE(second.InitInstance());
    EXPECT_EQ(second.GetMainFrame(), nullptr);
    EXPECT_EQ(second.ExitInstance(), 0);
    EXPECT_FALSE(fs::exists(SettingsFile()));
    EXPECT_FALSE(fs::exists(config + "/kel-vo"));
    EXPECT_FALSE(fs::exists(data + "/applications/tessaray.desktop"));
    EXPECT_FALSE(fs::exists(data + "/mime/packages/tessaray.xml"));
    EXPECT_FALSE(fs::exists(data + "/icons/hicolor/scalable/apps/tessaray.svg"));
    EXPECT_FALSE(fs::exists(data + "/icons/hicolor/scalable/mimetypes/application-x-tessaray-document.svg"));
    EXPECT_TRUE(fs::exists(other));
}

TEST_F(Unregistering, TheFrameworksUnregisterRemovesTheSameAndKeepsTheCompanysOtherFiles) {
    fs::create_directories(config + "/kel-vo");
    std::ofstream(SettingsFile()) << "[General]\nSetting=1\n\n[OPION]\nSNAP=7\n";
    std::ofstream(config + "/kel-vo/Other.ini") << "[General]\nkept=1\n";
    MessageBoxRecorder boxes;
    MTessarayApp& program = Start({"-unregister"});
    EXPECT_FALSE(program.InitInstance());
    EXPECT_EQ(program.ExitInstance(), 0);
    EXPECT_TRUE(boxes.Messages().empty());
    EXPECT_FALSE(fs::exists(SettingsFile()));
    EXPECT_TRUE(fs::exists(config + "/kel-vo/Other.ini"));
    EXPECT_FALSE(fs::exists(data + "/applications/tessaray.desktop"));
    EXPECT_FALSE(fs::exists(data + "/mime/packages/tessaray.xml"));
}

// Keeps the files of a folder from being removed while it lives: by the immutable flag for root,
// who may remove any file otherwise, else by the folder's permissions.
class Undeletable {
public:
    explicit Undeletable(const std::string& folder) : m_folder(folder) {
        m_holds = ::geteuid() == 0 ? SetImmutable(true) : ::chmod(folder.c_str(), 0555) == 0;
    }
    ~Undeletable() {
        if (!m_holds) return;
        if (::geteuid() == 0)
            SetImmutable(false);
        else
            ::chmod(m_folder.c_str(), 0755);
    }
    Undeletable(const Undeletable&) = delete;
    Undeletable& operator=(const Undeletable&) = delete;
    bool Holds() const { return m_holds; }

private:
    bool SetImmutable(bool on) const {
        const int fd = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return ok;
    }

    std::string m_folder;
    bool m_holds = false;
};

// Before, the status was 0 whatever stayed behind.
TEST_F(Unregistering, WhatCannotBeRemovedEndsTheProgramWithOne) {
    for (const std::string folder : {"config/kel-vo", "data/applications"}) {
        SCOPED_TRACE(folder);
        fs::create_directories(config + "/kel-vo");
        std::ofstream(SettingsFile()) << "[General]\nSetting=1\n";
        ASSERT_TRUE(RegisterShellFileTypes(MTessarayApp::DrawingFileType()));
        const Undeletable kept(dir + "/" + folder);
        if (!kept.Holds()) GTEST_SKIP() << "this file system cannot keep a file from being removed";
        MTessarayApp& program = Start({"-Unregister"});
        EXPECT_FALSE(program.InitInstance());
        EXPECT_EQ(program.ExitInstance(), 1);
    }
}

using ShellCommands = StartedProgram;

TEST_F(ShellCommands, AboutShowsDialogHundredWithTheIconAndTheVersion) {
    DialogRunner runner;
    std::string text;
    bool picture = false;
    int width = 0;
    std::string title;
    runner.Script(kAboutDialog, DialogScript()
                                    .Read(kAboutText, &text)
                                    .Do([&](CDialog& d) {
                                        width = d.GetWidget()->sizeHint().width();
                                        title = d.GetWidget()->windowTitle().toStdString();
                                    })
                                    .Do([&](CDialog& d) {
                                        const auto* label =
                                            d.GetDlgItem(kAboutIcon)->GetWidget()->findChild<QLabel*>();
                                        picture = label && !label->pixmap().isNull();
                                    })
                                    .Ok());
    MessageBoxRecorder boxes;
    Frame()->SendCommand(ID_APP_ABOUT);
    EXPECT_EQ(runner.OpenedIds(), std::vector<unsigned>{kAboutDialog});
    EXPECT_EQ(text, "Tessaray Version " TESSARAY_VERSION);
    EXPECT_TRUE(picture);
    // Wide enough for the whole title in a bold title bar, with the icon and three buttons.
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_EQ(title, "バージョン情報");
    EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(QString::fromStdString(title)) + 100);
    EXPECT_TRUE(boxes.Messages().empty());
    // The window shows the same icon.
    EXPECT_FALSE(Frame()->GetWidget()->windowIcon().isNull());
}

TEST_F(ShellCommands, HelpOpensThePageBesideTheProgramElseTheInstalledOneElseNothing) {
    const std::string folder = MakeTempDir("help-pages");
    const std::string program = folder + "/bin.d/tessaray";
    const std::string installed = folder + "/share/tessaray";
    fs::create_directories(folder + "/bin.d");
    fs::create_directories(installed);
    EXPECT_EQ(FindHelpPage(program, installed), "");
    std::ofstream(installed + "/tessaray.htm") << "<html></html>";
    EXPECT_EQ(FindHelpPage(program, installed), installed + "/tessaray.htm");
    std::ofstream(program + ".htm") << "<html></html>";
    EXPECT_EQ(FindHelpPage(program, installed), program + ".htm");
    // The program's own extension goes; the folder's dot is no extension.
    EXPECT_EQ(FindHelpPage(folder + "/bin.d/tessaray.bin", ""), program + ".htm");

    // The command opens what is found for this program, and nothing when nothing is.
    std::vector<std::string> opened;
    const HelpOpener previous = SetHelpOpener([&](const std::string& page) {
        opened.push_back(page);
        return true;
    });
    const std::string beside =
        fs::path(QCoreApplication::applicationFilePath().toStdString()).replace_extension(".htm").string();
    fs::remove(beside);
    Frame()->SendCommand(ID_HELP);
    const std::size_t before = opened.size();
    std::ofstream(beside) << "<html></html>";
    Frame()->SendCommand(ID_HELP);
    Frame()->SendCommand(ID_HELP_FINDER);
    fs::remove(beside);
    SetHelpOpener(previous);
    ASSERT_EQ(opened.size(), before + 2);
    EXPECT_EQ(opened[before], beside);
    // The build puts the program's page beside it.
    EXPECT_EQ(FindHelpPage(TESSARAY_PROGRAM, ""), std::string(TESSARAY_PROGRAM) + ".htm");
    EXPECT_NE(ReadFile(std::string(TESSARAY_PROGRAM) + ".htm").find("スナップ"), std::string::npos);
}

TEST_F(ShellCommands, AHelpPageNothingCanOpenIsToldInAMessageBox) {
    const std::string beside =
        fs::path(QCoreApplication::applicationFilePath().toStdString()).replace_extension(".htm").string();
    std::ofstream(beside) << "<html></html>";
    MessageBoxRecorder boxes;
    const HelpOpener previous = SetHelpOpener([](const std::string&) { return false; });  // no browser
    Frame()->SendCommand(ID_HELP);
    SetHelpOpener(previous);
    fs::remove(beside);
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_EQ(boxes.Messages()[0].text, AfxLoadString(kIdsCannotOpen) + "\n" + beside);
}

TEST_F(ShellCommands, PrintSettingsRunThePrintDialogWhoseBlackAndWhiteBoxSetsTheFlag) {
    const PrinterStateKept kept;
    AfxGetPrinterSettings() = CPrinterSettings();
    AfxGetPrinterSettings().outputFile = MakeTempDir("print-settings") + "/page.pdf";
    PrintBlackWhite() = 0;
    DialogRunner runner;
    runner.Script(kPrintDialog, DialogScript().SetCheck(kBlackWhiteBox, 1).Cancel());
    Frame()->SendCommand(ID_PRINT_SETTINGS);
    EXPECT_EQ(PrintBlackWhite(), 0);
    runner.Script(kPrintDialog, DialogScript().SetCheck(kBlackWhiteBox, 1).Ok());
    Frame()->SendCommand(ID_PRINT_SETTINGS);
    EXPECT_EQ(PrintBlackWhite(), 1);
    EXPECT_EQ(runner.OpenedIds(), (std::vector<unsigned>{kPrintDialog, kPrintDialog}));
    // Nothing was printed.
    EXPECT_FALSE(fs::exists(AfxGetPrinterSettings().outputFile));
}

TEST(ScreenFit, ARectangleOnAScreenThatIsGoneMovesOntoThePrimaryAtItsSize) {
    auto fit = [](const CRect& rect, const std::vector<CRect>& screens) {
        MWindowPlacement placement;
        placement.normal = rect;
        return placement.FitToScreens(screens).value_or(CRect());
    };
    const std::vector<CRect> single = {CRect(0, 0, 1920, 1080)};
    const CRect far(5000, 100, 5800, 700);
    const CRect moved = fit(far, single);
    EXPECT_EQ(moved.Size(), far.Size());
    EXPECT_EQ(moved, CRect(1120, 100, 1920, 700));
    // A window reaching past the screen's edge is pulled inside at its size.
    EXPECT_EQ(fit(CRect(1800, -20, 2600, 500), single), CRect(1120, 0, 1920, 520));
    // A second screen left of the primary keeps its windows; one larger than the screen shrinks.
    const std::vector<CRect> two = {CRect(0, 0, 1920, 1080), CRect(-1280, 0, 0, 1024)};
    EXPECT_EQ(fit(CRect(-1000, 50, -200, 650), two), CRect(-1000, 50, -200, 650));
    EXPECT_EQ(fit(CRect(-9000, -9000, -5000, -6000), two), CRect(0, 0, 1920, 1080));
    // Corners a damaged profile may hold do not overflow.
    EXPECT_EQ(fit(CRect(2147483000, 2147483000, 2147483647, 2147483647), single), CRect(1273, 433, 1920, 1080));
}

TEST_F(ShellCommands, APlacementSavedOffEveryScreenOpensOnThePrimaryOne) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const int x = screen.right() + 5000;
    AfxGetProfile().WriteProfileString(
        "Settings", "WindowPos",
        "0,1,-1,-1,-1,-1," + std::to_string(x) + ",40," + std::to_string(x + 400) + ",340");
    Frame()->RestoreWindowPlacement(SW_SHOWNORMAL);
    QApplication::processEvents();
    const QRect g = Frame()->GetWidget()->geometry();
    EXPECT_TRUE(screen.intersects(g)) << g.x() << "," << g.y();
    EXPECT_EQ(g.size(), QSize(400, 300));
}

}  // namespace
