// What start-up installs besides the window: the interchange formats by extension (DXF, and the
// JW_CAD and XDF factory in front of it), the parts classes and the view that draws part icons.
#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>
#include <fstream>

#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "document/parts/CadParts.h"
#include "interchange/DxfReader.h"
#include "interchange/DxfWriter.h"
#include "interchange/JwcReader.h"
#include "interchange/JwcWriter.h"
#include "interchange/XdfReader.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/Object.h"
#include "platform/Profile.h"
#include "platform/ui/DialogRunner.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/TestSupport.h"
#include "view/TessarayView.h"

namespace {

class StartupInterchange : public StartedProgram {
protected:
    void SetUp() override {
        StartedProgram::SetUp();
        dir = MakeTempDir("startup_interchange");
    }

    // The drawing with one line, saved (exported) under the name.
    std::string SaveOneLine(const std::string& name) {
        Doc().AddShape(new MLineShape(MFloatPoint(1000, 2000), MFloatPoint(5000, 2000)), 0);
        const std::string path = dir + "/" + name;
        EXPECT_TRUE(Doc().OnSaveDocument(path));
        return path;
    }

    std::string dir;
    MessageBoxRecorder boxes;
};

}  // namespace

TEST_F(StartupInterchange, EachExtensionReachesItsReaderAndWriter) {
    MInterchangeFactory* factory = GetInterchangeFactory();
    ASSERT_NE(factory, nullptr);
    EXPECT_NE(dynamic_cast<MDXFReader*>(factory->CreateReader(MInterchangeFormat::kDxf, Doc()).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<MJWCReader*>(factory->CreateReader(MInterchangeFormat::kJwc, Doc()).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<MXDFReader*>(factory->CreateReader(MInterchangeFormat::kXdf, Doc()).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<MDXFWriter*>(factory->CreateWriter(MInterchangeFormat::kDxf, Doc()).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<MJWCWriter*>(factory->CreateWriter(MInterchangeFormat::kJwc, Doc()).get()),
              nullptr);
    // Starting again (a second run of the start-up) keeps one chain, not a loop.
    MTessarayApp::InitProgram();
    EXPECT_EQ(GetInterchangeFactory(), factory);
    EXPECT_NE(dynamic_cast<MDXFReader*>(factory->CreateReader(MInterchangeFormat::kDxf, Doc()).get()),
              nullptr);
}

TEST_F(StartupInterchange, DxfOpensAsAnUntitledImport) {
    const std::string path = SaveOneLine("drawing.dxf");
    ASSERT_TRUE(app.NewDocument());
    ASSERT_EQ(ShapeCount(), 0);
    DialogRunner runner;
    runner.Script(178, DialogScript().Ok());
    ASSERT_TRUE(app.OpenDocumentFile(path));
    EXPECT_TRUE(runner.Opened(178));
    EXPECT_EQ(ShapeCount(), 1);
    EXPECT_EQ(GetImported(), 1);
    EXPECT_TRUE(Doc().GetPathName().empty());
    // The view shows one tab per imported layer.
    EXPECT_EQ(app.GetView()->GetTabCount(), Doc().GetLayers()->GetLayerCount());
}

TEST_F(StartupInterchange, JwcOpensThroughThePenSettingsDialog) {
    const std::string path = SaveOneLine("drawing.jwc");
    ASSERT_TRUE(app.NewDocument());
    DialogRunner runner;
    runner.Script(261, DialogScript().Ok());
    app.OpenDocumentFile(path);
    EXPECT_TRUE(runner.Opened(261));
    EXPECT_EQ(ShapeCount(), 1);
    EXPECT_EQ(GetImported(), 1);
    EXPECT_EQ(app.GetView()->GetTabCount(), Doc().GetLayers()->GetLayerCount());
}

TEST_F(StartupInterchange, XdfOpensByItsExtension) {
    const std::string path = dir + "/drawing.XDF";
    std::ofstream(path, std::ios::binary)
        << "[ELEMENT]\nLINE\n0 0 10 0 0 0 0 0\nLINE\n0 0 0 10 1 0 0 0\n[END]\n";
    ASSERT_TRUE(app.OpenDocumentFile(path));
    EXPECT_EQ(ShapeCount(), 2);
    EXPECT_EQ(GetImported(), 1);
    EXPECT_EQ(Doc().GetLayers()->GetLayerCount(), 2);
    EXPECT_EQ(app.GetView()->GetTabCount(), 2);
}

TEST_F(StartupInterchange, PartsAreRegisteredAndDrawnOnTheMainView) {
    const auto& classes = AfxRegisteredClasses();
    const auto named = [&](const char* name) {
        return std::find_if(classes.begin(), classes.end(),
                            [&](const CRuntimeClass* c) { return std::string(c->m_lpszClassName) == name; });
    };
    ASSERT_NE(named("MCadParts"), classes.end());
    // After the document's classes, as the registry's order requires.
    EXPECT_GT(named("MCadParts") - classes.begin(), named("MDocShapeArray") - classes.begin());
    // The view's embedded objects come after the document's classes.
    ASSERT_NE(named("MOleClientShape"), classes.end());
    EXPECT_GT(named("MOleClientShape") - classes.begin(), named("MDocShapeArray") - classes.begin());
    EXPECT_EQ(GetPartsIconView(), static_cast<MCadView*>(app.GetView()));
}

// The main menu and the tab row's context menu (owned by the main window) reach the view's dialogs.
TEST_F(StartupInterchange, MenusReachTheViewsLayerAndSettingsDialogs) {
    DialogRunner runner;
    runner.Script(154, DialogScript().SetText(1060, "Walls").Ok());
    app.GetMainFrame()->SendCommand(32824);
    ASSERT_EQ(Doc().GetLayers()->GetLayerCount(), 2);
    EXPECT_EQ(Doc().GetLayers()->GetLayer(0)->m_name, "Walls");

    runner.Script(144, DialogScript().SetText(1039, "250").SetText(1040, "250").Ok());
    app.GetMainFrame()->SendCommand(32798);
    EXPECT_EQ(Doc().m_gridX, 250.0);

    runner.ScriptPopupMenu(32832);
    runner.Script(103, DialogScript().Select(1065, 0).Select(1066, 2).SetText(1103, "Walls 2").Ok());
    app.GetView()->OnTabRClick(0, 0, 5, 5);
    QApplication::processEvents();
    ASSERT_EQ(Doc().GetLayers()->GetLayerCount(), 3);
    EXPECT_EQ(Doc().GetLayers()->GetLayer(2)->m_name, "Walls 2");
    EXPECT_EQ(app.GetView()->GetTabCount(), 3);

    app.GetMainFrame()->SendCommand(57643);
    EXPECT_EQ(Doc().GetLayers()->GetLayerCount(), 2);
    EXPECT_EQ(app.GetView()->GetTabCount(), 2);
}
