#include <gtest/gtest.h>

#include "document/AutoLayer.h"
#include "document/DocumentItem.h"
#include "document/Interchange.h"
#include "document/PaperSettings.h"
#include "platform/Document.h"
#include "platform/ProcessEnd.h"
#include "tests/document/DocumentTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace doctest;

namespace {

// Readers and writers as the interchange layer will give them.
class FakeInterchange : public MInterchangeFactory {
public:
    struct Reader : MDocumentReader {
        Reader(FakeInterchange& owner, MTessarayDoc& doc) : owner(owner), doc(doc) {}
        int Read(const std::string& path) override {
            owner.readPaths.push_back(path);
            if (owner.addLayer) {
                doc.AddLayer(new MLayer("DXF0", TRUE, TRUE, TRUE));
                doc.AppendShape(Line(0, 0, 5, 5), 0);
            }
            return owner.readResult;
        }
        int GetFitOnFirstUpdate() const override { return 1; }
        int GetExtentsValid() const override { return 1; }
        MFloatRect GetExtents() const override { return MFloatRect(0, 0, 5, 5); }
        FakeInterchange& owner;
        MTessarayDoc& doc;
    };
    struct Writer : MDocumentWriter {
        explicit Writer(FakeInterchange& owner) : owner(owner) {}
        int Write(const std::string& path) override {
            owner.writePaths.push_back(path);
            return owner.writeResult;
        }
        FakeInterchange& owner;
    };
    std::unique_ptr<MDocumentReader> CreateReader(MInterchangeFormat, MTessarayDoc& doc) override {
        return std::make_unique<Reader>(*this, doc);
    }
    std::unique_ptr<MDocumentWriter> CreateWriter(MInterchangeFormat, MTessarayDoc&) override {
        return std::make_unique<Writer>(*this);
    }
    std::vector<std::string> readPaths;
    std::vector<std::string> writePaths;
    bool addLayer = false;
    int readResult = 1;
    int writeResult = 1;
};

class Document : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        previous = SetInterchangeFactory(&interchange);
        AfxSetRecentFileHandler([this](const std::string& p) { recent.push_back(p); });
    }
    void TearDown() override {
        SetInterchangeFactory(previous);
        AfxSetRecentFileHandler(nullptr);
        DocumentTest::TearDown();
    }
    FakeInterchange interchange;
    MInterchangeFactory* previous = nullptr;
    std::vector<std::string> recent;
};

}  // namespace

TEST_F(Document, NewDocumentHasOneLayerTheDefaultPaperAndGrid) {
    MTessarayDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 1);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->m_name, "Layer1");
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->m_flags, 7);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPaperInfo().GetOriginPosition(), MPaperInfo::kOriginBottomLeft);
    EXPECT_EQ(doc.GetPaperInfo().GetSizeInfo(), GetDefaultPaperSize());
    EXPECT_EQ(doc.m_gridX, GetDefaultPaper().gridWidth);
    EXPECT_EQ(doc.GetOrigin(), doc.ComputePaperOrigin());
    EXPECT_EQ(doc.GetUndoCount(), GetOptionRecord().m_undoCount);
}

TEST_F(Document, PaperOriginSitsAtTheCentreOfTheSheet) {
    MTessarayDoc doc;
    doc.SetPaper(MPaperSizeInfo(), MPaperScaleInfo(), TRUE);  // A4 landscape, 1 : 100
    EXPECT_EQ(doc.GetPaperInfo().GetOriginOffset(), MFloatPoint(0, -21000));
    EXPECT_EQ(doc.GetOrigin(), MFloatPoint(14850, 10500));
    doc.SetPaperSize(MPaperSizeInfo(), FALSE);
    EXPECT_EQ(doc.GetOrigin().x, 10500);
}

TEST_F(Document, NewLayerNameTakesTheFirstFreeNumber) {
    MTessarayDoc doc;
    doc.AddLayer(new MLayer("Layer1", TRUE, TRUE, TRUE));
    doc.AddLayer(new MLayer("Layer3", TRUE, TRUE, TRUE));
    EXPECT_EQ(doc.NewLayerName(), "Layer2");
    doc.AddLayer(new MLayer("layer2", TRUE, TRUE, TRUE));
    EXPECT_EQ(doc.NewLayerName(), "Layer2");
}

TEST_F(Document, AddingToALayerThatDoesNotExistUsesTheCurrentLayer) {
    MTessarayDoc doc;
    MCadShape* s = Line(0, 0, 1, 0);
    EXPECT_EQ(doc.AddShape(s, 5), 0);
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 1) << "a drawing without layers gets one";
    EXPECT_EQ(doc.GetLayers()->FindLayerOf(s), 0);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(Document, PathNameBecomesQfdWithoutAnyLengthLimit) {
    MTessarayDoc doc;
    doc.SetPathName("/tmp/plans.v2/out.dxf", TRUE);
    EXPECT_EQ(doc.GetPathName(), "/tmp/plans.v2/out.qfd");
    EXPECT_EQ(doc.GetTitle(), "out.qfd");
    EXPECT_EQ(recent, std::vector<std::string>{"/tmp/plans.v2/out.qfd"});
    doc.SetPathName("/tmp/plans.v2/noext", FALSE);
    EXPECT_EQ(doc.GetPathName(), "/tmp/plans.v2/noext.qfd");
    EXPECT_EQ(recent.size(), 1u);

    const std::string longPath = "/tmp/" + std::string(300, 'a') + "/" + std::string(200, 'b') + ".dxf";
    doc.SetPathName(longPath, FALSE);
    EXPECT_EQ(doc.GetPathName(), longPath.substr(0, longPath.size() - 4) + ".qfd");
}

TEST_F(Document, ImportedDrawingIsUntitledUnmodifiedAndNotRecent) {
    const std::string dir = MakeTempDir("doc_import");
    WriteBytes(dir + "/plan.dxf", "0\nEOF\n");
    MTessarayDoc doc;
    doc.OnNewDocument();
    interchange.addLayer = true;
    ASSERT_TRUE(doc.OnOpenDocument(dir + "/plan.dxf"));
    EXPECT_EQ(interchange.readPaths, std::vector<std::string>{dir + "/plan.dxf"});
    EXPECT_EQ(GetImported(), 1);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.m_fitOnFirstUpdate, 1);
    EXPECT_EQ(doc.m_importedExtents, MFloatRect(0, 0, 5, 5));
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 1);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->m_name, "DXF0");
    EXPECT_FALSE(doc.CanUndo()) << "an import leaves no history";
    // What the framework does after a successful open.
    doc.SetPathName(dir + "/plan.dxf", TRUE);
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_EQ(doc.GetTitle(), AfxGetUntitledTitle());
    EXPECT_TRUE(recent.empty());
    // A native save clears the imported state.
    ASSERT_TRUE(doc.OnSaveDocument(dir + "/plan.qfd"));
    EXPECT_EQ(GetImported(), 0);
}

TEST_F(Document, FailedImportIsReportedAndLeavesAnUntitledDrawingWithOneLayer) {
    const std::string dir = MakeTempDir("doc_import_empty");
    WriteBytes(dir + "/plan.JWC", "x");
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.SetPathName(dir + "/before.qfd");
    interchange.readResult = 0;
    EXPECT_FALSE(doc.OnOpenDocument(dir + "/plan.JWC"));
    // Saving now must not overwrite the drawing that was open before.
    EXPECT_EQ(doc.GetPathName(), "");
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 1);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->m_name, "Layer1");
    EXPECT_EQ(doc.m_fitOnFirstUpdate, 0);
}

TEST_F(Document, AFailedExportIsNotASuccessfulSave) {
    const std::string dir = MakeTempDir("doc_export_fails");
    MTessarayDoc doc;
    doc.OnNewDocument();
    interchange.writeResult = 0;
    EXPECT_FALSE(doc.OnSaveDocument(dir + "/out.DXF"));
    EXPECT_FALSE(doc.OnSaveDocument(dir + "/out.jwc"));
}

TEST_F(Document, ExportsLeaveTheModifiedFlagAndMetafilesGoThroughTheView) {
    const std::string dir = MakeTempDir("doc_export");
    MTessarayDoc doc;
    doc.OnNewDocument();
    FakeView view(doc);
    doc.SetModifiedFlag(TRUE);
    EXPECT_TRUE(doc.OnSaveDocument(dir + "/out.DXF"));
    EXPECT_TRUE(doc.OnSaveDocument(dir + "/out.jwc"));
    EXPECT_TRUE(doc.OnSaveDocument(dir + "/out.emf"));
    EXPECT_EQ(interchange.writePaths, (std::vector<std::string>{dir + "/out.DXF", dir + "/out.jwc"}));
    EXPECT_EQ(view.metafiles, std::vector<std::string>{dir + "/out.emf"});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(std::ifstream(dir + "/out.qfd").good());
}

TEST_F(Document, DeleteContentsResetsTheCurrentToolFirst) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    FakeView view(doc);
    doc.DeleteContents();
    EXPECT_EQ(view.tool.resets, 1);
    EXPECT_EQ(doc.GetLayers()->GetLayerCount(), 0);
}

TEST_F(Document, AutomaticLayerAssignmentEditsTheBindingsOfCapableTools) {
    struct Array : MDocumentToolArray {
        int GetToolCount() const override { return 3; }
        MDocumentTool* GetToolAt(int i) const override {
            return i >= 0 && i < 3 ? const_cast<CountingTool*>(&tools[i]) : nullptr;
        }
        CountingTool tools[3];
    } array;
    array.tools[0].title = "直線";
    array.tools[0].layer = "gone";
    array.tools[1].title = "図形選択";
    array.tools[1].autoLayer = FALSE;
    array.tools[2].title = "中心円";
    array.tools[2].layer = "B";

    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.AddLayer(new MLayer("B", TRUE, TRUE, TRUE));
    MAutoLayerAssignment dialog(doc, array);
    ASSERT_EQ(dialog.GetRowCount(), 2);
    EXPECT_EQ(dialog.GetRowText(0), "gone") << "a binding to a missing layer shows its name";
    EXPECT_EQ(dialog.GetEntries(), (std::vector<CString>{"指定なし", "Layer1", "B"}));
    EXPECT_EQ(dialog.EntryForRows({0}), -1);
    EXPECT_EQ(dialog.EntryForRows({1}), 2);
    EXPECT_EQ(dialog.EntryForRows({0, 1}), -1);
    EXPECT_EQ(dialog.EntryForRows({}), MAutoLayerAssignment::kUnchanged);
    dialog.ChooseEntry({0, 1}, 0);
    EXPECT_EQ(dialog.GetRowText(1), "指定なし");
    EXPECT_EQ(dialog.EntryForRows({0, 1}), 0);
    dialog.ChooseEntry({0}, 1);
    dialog.Apply(array);
    EXPECT_EQ(array.tools[0].layer, "Layer1");
    EXPECT_EQ(array.tools[2].layer, "");
    EXPECT_EQ(doc.FindAutoLayer("Layer1"), 0);
    EXPECT_EQ(doc.FindAutoLayer(""), -1) << "no binding, even when a layer has an empty name";
}

namespace {
struct ItemShape : MLineShape, MDocumentItem {
    void OnEnterDocument(MTessarayDoc&) override { ++entered; }
    void OnLeaveDocument(MTessarayDoc&) override { ++left; }
    int entered = 0;
    int left = 0;
};
}  // namespace

TEST_F(Document, ItemsAreToldWhenTheyEnterAndLeaveTheDrawing) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    auto* a = new ItemShape;
    auto* b = new ItemShape;
    doc.BeginUndo();
    doc.AddShape(a, -1);
    doc.EndUndo();
    EXPECT_EQ(a->entered, 1);
    doc.BeginUndo();
    doc.ReplaceShape(a, b, -1);
    doc.EndUndo();
    EXPECT_EQ(a->left, 1);
    EXPECT_EQ(b->entered, 1);
    doc.Undo(nullptr);
    EXPECT_EQ(b->left, 1);
    EXPECT_EQ(a->entered, 2);
    doc.Redo(nullptr);
    EXPECT_EQ(a->left, 2);
    EXPECT_EQ(b->entered, 2);
    EXPECT_EQ(doc.RemoveShape(a, -1, TRUE), -1);
    EXPECT_EQ(a->left, 2) << "a shape that was not there does not leave";
}

namespace {

// A line that counts its deletions.
struct CountedLine : MLineShape {
    explicit CountedLine(int& deleted) : MLineShape(MFloatPoint(0, 0), MFloatPoint(1, 1)), deleted(deleted) {}
    ~CountedLine() override { ++deleted; }
    int& deleted;
};

TEST_F(DocumentTest, ADrawingIsLeftToTheEndingProcessUnlessTheBuildChecksLeaks) {
    int deleted = 0;
    const auto drawing = [&] {
        MTessarayDoc doc;
        doc.OnNewDocument();
        doc.AppendShape(new CountedLine(deleted), 0);
    };
    EXPECT_FALSE(AfxMayLeaveAtExit());
    drawing();
    EXPECT_EQ(deleted, 1) << "a running program deletes its drawings";
    AfxSetProcessEnding();
    drawing();
    EXPECT_EQ(deleted, AfxMayLeaveAtExit() ? 1 : 2);
}

}  // namespace
