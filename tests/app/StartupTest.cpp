// The start: the command line's switches and paths, and the first view of a drawing opened from
// the command line, which is the one File > Open gives; the zoom box past 1000 percent.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <fstream>

#include "app/MainFrame.h"
#include "app/TessarayApp.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/Profile.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/Idle.h"
#include "tests/support/TestSupport.h"
#include "view/TessarayView.h"
#include "widgets/SizeComboBox.h"

namespace {

MCommandLineInfo Parsed(const std::vector<std::string>& args) {
    MCommandLineInfo info;
    info.ParseCommandLine(args);
    return info;
}

TEST(CommandLine, SlashBeginsASwitchOnlyForTheSwitchWords) {
    MCommandLineInfo info = Parsed({"/home/user/plan.dxf"});
    EXPECT_EQ(info.m_strFileName, "/home/user/plan.dxf");
    EXPECT_FALSE(info.m_unregister);
    info = Parsed({"/p", "-nologo", "/Unregister", "/tmp/図面 1.qfd"});
    EXPECT_EQ(info.m_strFileName, "/tmp/図面 1.qfd");
    EXPECT_TRUE(info.m_unregister);
    info = Parsed({"plans/plan.qfd", "/P"});
    EXPECT_EQ(info.m_strFileName, "plans/plan.qfd");
    EXPECT_TRUE(MCommandLineInfo::IsSwitch("/pt"));
    EXPECT_TRUE(MCommandLineInfo::IsSwitch("-anything"));
    EXPECT_FALSE(MCommandLineInfo::IsSwitch("/p/plan.qfd"));
    EXPECT_FALSE(MCommandLineInfo::IsSwitch("/"));
}

// The program as it starts: window created, nothing opened yet, the window's placement saved.
class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        m_previousProfile = AfxSetProfile(CreateMemoryProfile());
        GetOptionRecord() = MOptionRecord();
        AfxGetProfile().WriteProfileString("Settings", "WindowPos", "0,1,-1,-1,-1,-1,40,50,1040,750");
        MTessarayApp::InitProgram();
        ASSERT_TRUE(app.CreateMainWindow());
        dir = MakeTempDir("startup");
    }
    void TearDown() override { AfxSetProfile(std::move(m_previousProfile)); }

    // A native drawing with a few shapes, written by a document of its own.
    std::string WriteDrawing(const std::string& name) {
        MTessarayDoc doc;
        doc.OnNewDocument();
        doc.AddShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(20000, 15000)), -1);
        auto* circle = new MCircleShape();
        circle->SetCircle(10000, 8000, 3000);
        doc.AddShape(circle, -1);
        const std::string path = dir + "/" + name;
        EXPECT_TRUE(doc.OnSaveDocument(path));
        return path;
    }

    struct FirstView {
        double zoom;
        CPoint scroll;
        CPoint centre;
    };
    FirstView Current() {
        QApplication::processEvents();
        MTessarayView* view = app.GetView();
        return {view->GetZoom(), view->GetScrollPosition(), view->GetCentreOffset()};
    }

    MTessarayApp app;
    std::string dir;

private:
    std::unique_ptr<CProfile> m_previousProfile;
};

TEST_F(Startup, AnAbsolutePathOpensThatDrawingWithTheFirstViewOfFileOpen) {
    const std::string path = WriteDrawing("図面 one.qfd");
    ASSERT_TRUE(std::filesystem::path(path).is_absolute());
    const MCommandLineInfo info = Parsed({path});
    ASSERT_EQ(info.m_strFileName, path);
    ASSERT_TRUE(app.ProcessShellCommand(info));
    EXPECT_EQ(app.GetDocument()->GetPathName(), path);
    EXPECT_EQ(app.GetDocument()->GetLayers()->GetLayer(0)->GetSize(), 2);
    const FirstView started = Current();

    ASSERT_TRUE(app.OpenFile(path));
    const FirstView opened = Current();
    EXPECT_NEAR(started.zoom, opened.zoom, 1e-9);
    EXPECT_EQ(started.scroll, opened.scroll);
    EXPECT_EQ(started.centre, opened.centre);
    // The whole sheet fills the window in its tighter dimension.
    EXPECT_GT(started.zoom, 0.2);
    EXPECT_TRUE(started.centre.x == 0 || started.centre.y == 0);
}

TEST_F(Startup, ARelativePathOpens) {
    const std::string path = WriteDrawing("relative.qfd");
    const std::string relative = std::filesystem::relative(path).string();
    ASSERT_FALSE(std::filesystem::path(relative).is_absolute());
    ASSERT_TRUE(app.ProcessShellCommand(Parsed({relative})));
    EXPECT_EQ(app.GetDocument()->GetLayers()->GetLayer(0)->GetSize(), 2);
}

TEST_F(Startup, TheZoomBoxShowsZoomsPastAThousandPercentAndKeepsTheLastAtTheLimit) {
    ASSERT_TRUE(app.ProcessShellCommand(Parsed({WriteDrawing("zoom.qfd")})));
    MTessarayView* view = app.GetView();
    MMainFrame* frame = app.GetMainFrame();
    double last = view->GetZoom();
    for (int step = 0; step < 16; ++step) {
        view->ZoomAt(view->GetClientCentre(), 2.0, TRUE);
        AfxRunIdleNow();
        const double zoom = view->GetZoom();
        EXPECT_GE(zoom, last) << "a step past the limit is refused, never halved";
        EXPECT_EQ(frame->GetZoomPercent(), std::max(1.0, std::floor(zoom * 100.0)));
        EXPECT_FALSE(frame->GetZoomCombo().GetWindowText().empty());
        last = zoom;
    }
    EXPECT_GT(last, 10.0);
}

TEST_F(Startup, AnImportedDrawingLiesOnTheSheetAfterYes) {
    // Limits left at their default, the drawing far away at negative coordinates.
    const std::string path = dir + "/far.dxf";
    std::ofstream(path, std::ios::binary)
        << "0\nSECTION\n2\nHEADER\n9\n$LIMMIN\n10\n0\n20\n0\n9\n$LIMMAX\n10\n"
           "420\n20\n297\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
           "0\nLINE\n10\n-90000\n20\n-70000\n11\n-30000\n21\n-40000\n"
           "0\nCIRCLE\n10\n-60000\n20\n-55000\n40\n8000\n0\nENDSEC\n0\nEOF\n";
    MessageBoxRecorder yes(IDYES);
    DialogRunner runner;
    runner.Script(178, DialogScript().Ok());
    ASSERT_TRUE(app.ProcessShellCommand(Parsed({path})));
    QApplication::processEvents();
    MTessarayView* view = app.GetView();
    MTessarayDoc* doc = app.GetDocument();
    const MFloatRect e = view->DocToPaperRect(doc->GetLayers()->GetExtent());
    const MFloatSize paper = doc->GetPaperInfo().GetSize();
    EXPECT_GE(std::min(e.left, e.right), 0.0);
    EXPECT_LE(std::max(e.left, e.right), paper.cx);
    EXPECT_GE(std::min(e.top, e.bottom), -paper.cy);
    EXPECT_LE(std::max(e.top, e.bottom), 0.0);
}

}  // namespace
