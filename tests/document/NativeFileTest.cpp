#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "document/MirrorOStream.h"
#include "document/PaperSettings.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/curves/ArcShape.h"
#include "platform/Cp932.h"
#include "tests/document/DocumentTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace doctest;

namespace {

// Tools with settings of their own and a layer binding, so that [TOOLS] has a body.
class SettingsTool : public CountingTool {
public:
    BOOL HasSettings() const override { return TRUE; }
    void SaveSettings(std::ostream& os) override { os << '\t' << radius << '\n'; }
    void LoadSettings(std::istream& is) override {
        is >> radius;
        SkipTextLine(is);
    }
    double radius = 100.0;
};

class Tools : public MDocumentToolArray {
public:
    Tools() {
        circle.key = "CIRCLE";
        circle.title = "中心円";
        line.layer = "壁";
    }
    int GetToolCount() const override { return 2; }
    MDocumentTool* GetToolAt(int i) const override {
        return i == 0   ? static_cast<MDocumentTool*>(const_cast<CountingTool*>(&line))
               : i == 1 ? const_cast<SettingsTool*>(&circle)
                        : nullptr;
    }
    CountingTool line;
    SettingsTool circle;
};

// A drawing with two layers, a polygon and a line, non-default paper, origin, grid and tools.
void FillDrawing(MTessarayDoc& doc) {
    doc.OnNewDocument();
    doc.SetPaper(MPaperSizeInfo("A3", "420mm×297mm", 420, 297), MPaperScaleInfo("1 : 50", 0.02), FALSE);
    doc.SetOrigin(MFloatPoint(123.25, -0.1));
    doc.m_gridX = 500;
    doc.m_gridY = 0.3;
    doc.AddShape(Line(0, 0, 1000.5, 2000.125), 0);
    doc.AddLayer(new MLayer(" 壁 と 柱", TRUE, FALSE, TRUE));
    doc.AddShape(Triangle(1e-7, 3.3, 1234567.891), 1);
    doc.GetLayers()->SetCurrentLayer(1);
    GetDrawAttributes().lineColor = 0xFF;
    GetDrawAttributes().lineWidth = 0.25;
    GetCoordinateEntry().distance = 0.1;
}

std::string Section(const std::string& text, const std::string& name) {
    const auto begin = text.find("[" + name + "]\n");
    if (begin == std::string::npos) return {};
    const auto end = text.find("\n[", begin + 1);
    return text.substr(begin, end == std::string::npos ? std::string::npos : end + 1 - begin);
}

class NativeFile : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        SetDocumentToolArray(&tools);
        dir = MakeTempDir("native_" +
                          std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    }
    Tools tools;
    std::string dir;
};

}  // namespace

TEST_F(NativeFile, SaveAndOpenGiveTheSameBytesWithEverySection) {
    MTessarayDoc doc;
    FillDrawing(doc);
    const std::string path = dir + "/plan.qfd";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_FALSE(doc.IsModified());
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.substr(0, 21), "$$TessarayText$$\r\n1\r\n");
    const std::string text = DecodeTextFile(bytes);
    for (const char* name : {"PAPER", "ORIGIN", "GRID", "TOOL", "TOOLS", "LAYERS", "LAYER", "EOF"})
        EXPECT_FALSE(Section(text, name).empty()) << name;
    EXPECT_EQ(Section(text, "ORIGIN"), "[ORIGIN]\n\t123.25 -0.1\n");
    EXPECT_EQ(Section(text, "GRID"), "[GRID]\n\t500 0.3\n");
    EXPECT_EQ(Section(text, "TOOLS"), "[TOOLS]\n\t2\nLINE\n\t壁\nCIRCLE\n\t\n\t100\n");
    EXPECT_NE(text.find("[LAYERS]\n\t1\n\t2\n[LAYER]\n\tLayer1\n\t7\n\t1\nLINE\n"), std::string::npos);

    // Everything the file carries comes back, so a second save writes the same bytes.
    ResetToolSettings();
    tools.line.layer.clear();
    tools.circle.radius = 1;
    MTessarayDoc other;
    other.OnNewDocument();
    ASSERT_TRUE(other.OnOpenDocument(path));
    EXPECT_FALSE(other.IsModified());
    EXPECT_EQ(tools.line.layer, "壁");
    EXPECT_EQ(GetDrawAttributes().lineWidth, 0.25);
    EXPECT_EQ(other.GetLayers()->GetLayer(1)->m_name, "壁 と 柱") << "leading blanks of a name are lost";
    other.GetLayers()->GetLayer(1)->m_name = " 壁 と 柱";
    const std::string again = dir + "/again.qfd";
    ASSERT_TRUE(other.OnSaveDocument(again));
    EXPECT_EQ(ReadBytes(again), bytes);
}

TEST_F(NativeFile, CommentsCrlfUnknownSectionsAndKeysAreReadAsTheFormatSays) {
    const std::string file =
        "$$TessarayText$$ trailing\r\n"
        "7\r\n"
        "# a comment between sections\r\n"
        "[GARBAGE]\r\n"
        "[ORIGIN]\r\n"
        "\t5 6\r\n"
        "# a comment between values\r\n"
        "[NOTES]\r\n"
        "\tsome text\r\n"
        "[GRID]\r\n"
        "\t10 20 extra\r\n"
        "[TOOL]\r\n"
        "\t2\r\n"
        "STYLE\r\n"
        "\t255 1 0.5 16777216\r\n"
        "\t0 4 0 4\r\n"
        "[TOOLS]\r\n"
        "\t53\r\n"
        "LINE\r\n"
        "\tnever\r\n"
        "[LAYERS]\r\n"
        "\t0\r\n"
        "\t5\r\n"
        "[LAYER]\r\n"
        "\tA\r\n"
        "\t3\r\n"
        "\t2\r\n"
        "LINE\r\n"
        "\t0 0 1 1 0 0 0 0 0 0 0\r\n"
        "SQUIGGLE\r\n"
        "\t1 2 3\r\n"
        "[EOF]\r\n"
        "[LAYER]\r\n"
        "\tafter eof\r\n"
        "\t7\r\n"
        "\t0\r\n";
    WriteBytes(dir + "/in.qfd", file);
    MTessarayDoc doc;
    doc.OnNewDocument();
    ASSERT_TRUE(doc.OnOpenDocument(dir + "/in.qfd"));
    // "[ORIGIN]" follows an unknown section's header directly and still counts.
    EXPECT_EQ(doc.GetOrigin(), MFloatPoint(5, 6));
    EXPECT_EQ(doc.m_gridX, 10);
    EXPECT_EQ(doc.m_gridY, 20);
    // A [TOOL] version other than 1 reads no attributes and no [TOOLS] body.
    EXPECT_EQ(GetDrawAttributes().lineColor, 0u);
    EXPECT_EQ(tools.line.layer, "壁");
    MDocShapeArray* layers = doc.GetLayers();
    ASSERT_EQ(layers->GetLayerCount(), 2) << "one layer per [LAYER] section, also after [EOF]";
    EXPECT_EQ(layers->GetLayer(0)->m_name, "A");
    EXPECT_EQ(layers->GetLayer(0)->m_flags, 3);
    EXPECT_EQ(layers->GetLayer(0)->GetSize(), 1) << "the unknown shape is dropped";
    EXPECT_EQ(layers->GetLayer(1)->m_name, "after eof");
}

TEST_F(NativeFile, UnreadableValuesFallBackAndKeepTheFollowingSections) {
    const std::string file =
        "$$TessarayText$$\n1\n"
        "[PAPER]\n\tA3\n\t420mm×297mm\n\t420 297\n\tzero\n\t0\n\t1 6\n"
        "[ORIGIN]\n\tnan 4\n"
        "[GRID]\n\t0 -5\n"
        "[LAYERS]\n\tx\n"
        "[LAYER]\n\tL\n\tbad\n\t1\nLINE\n\t0 0 1 1 0 0 0 0 0 0 0\n";
    WriteBytes(dir + "/in.qfd", file);
    MTessarayDoc doc;
    doc.OnNewDocument();
    const MFloatPoint origin = doc.GetOrigin();
    ASSERT_TRUE(doc.OnOpenDocument(dir + "/in.qfd"));
    EXPECT_EQ(doc.GetPaperInfo().GetSizeInfo().m_name, "A3");
    EXPECT_GT(doc.GetPaperInfo().GetScale(), 0.0) << "a zero scale falls back to the default";
    EXPECT_EQ(doc.GetOrigin(), origin);
    EXPECT_EQ(doc.m_gridX, GetDefaultPaper().gridWidth);
    EXPECT_EQ(doc.m_gridY, GetDefaultPaper().gridHeight);
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 1);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->m_flags, 7) << "damaged flags keep the default";
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetSize(), 1) << "and the shapes are still read";
}

TEST_F(NativeFile, FileWithoutLayersOrWithACurrentIndexOutsideGetsAUsableDrawing) {
    WriteBytes(dir + "/none.qfd", "$$TessarayText$$\n1\n[LAYERS]\n\t9\n\t0\n");
    MTessarayDoc doc;
    doc.OnNewDocument();
    ASSERT_TRUE(doc.OnOpenDocument(dir + "/none.qfd"));
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 1);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->m_name, "Layer1");
    EXPECT_EQ(doc.GetLayers()->GetCurrentLayerIndex(), 0);

    WriteBytes(dir + "/two.qfd",
               "$$TessarayText$$\n1\n[LAYERS]\n\t-4\n[LAYER]\n\ta\n\t7\n\t0\n[LAYER]\n\tb\n\t7\n\t0\n");
    ASSERT_TRUE(doc.OnOpenDocument(dir + "/two.qfd"));
    EXPECT_EQ(doc.GetLayers()->GetLayerCount(), 2) << "a missing count line does not cost the first layer";
    EXPECT_EQ(doc.GetLayers()->GetCurrentLayerIndex(), 0);
}

TEST_F(NativeFile, WrongSignaturesAreRefusedAndLeaveTheDrawing) {
    MTessarayDoc doc;
    FillDrawing(doc);
    doc.SetModifiedFlag(FALSE);
    const std::string before = FileText(doc);
    for (const std::string& content :
         {std::string("$$TessarayFile$$\nwhatever"), std::string("$$TessarayTex"), std::string("\n"),
          std::string("0\nSECTION\n2\nHEADER\n")}) {
        WriteBytes(dir + "/bad.qfd", content);
        MessageBoxRecorder boxes;
        EXPECT_FALSE(doc.OnOpenDocument(dir + "/bad.qfd")) << content;
        ASSERT_EQ(boxes.Messages().size(), 1u);
        EXPECT_EQ(boxes.Messages()[0].text, "\"" + dir + "/bad.qfd\"ファイルの種類が違います。");
        EXPECT_EQ(FileText(doc), before);
        EXPECT_FALSE(doc.IsModified());
    }
}

TEST_F(NativeFile, MissingFileIsReportedAndEmptyFileOpensAsANewDrawing) {
    MTessarayDoc doc;
    FillDrawing(doc);
    const std::string before = FileText(doc);
    {
        MessageBoxRecorder boxes;
        EXPECT_FALSE(doc.OnOpenDocument(dir + "/absent.qfd"));
        EXPECT_EQ(boxes.Messages().size(), 1u);
        EXPECT_EQ(FileText(doc), before);
    }
    WriteBytes(dir + "/empty.qfd", "");
    ASSERT_TRUE(doc.OnOpenDocument(dir + "/empty.qfd"));
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 1);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->m_name, "Layer1");
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetSize(), 0);
    EXPECT_EQ(doc.GetTitle(), "empty.qfd");
    EXPECT_FALSE(doc.IsModified());
}

// A damaged binary block makes the stream bad: the open fails with a message and the drawing that
// was open stays as it was (the file is read aside first).
TEST_F(NativeFile, DamagedFileLeavesTheCurrentDrawing) {
    std::unique_ptr<MCadShape> probe(GetShapeFactory().CreateByName("BITMAP"));
    if (!probe) GTEST_SKIP() << "no bitmap shape registered yet";
    // A zlib stream that does not inflate: the block reader marks the stream bad.
    const std::string block = "\t0 0 10 10\n\t14 BASE64 1\n\tAAAAAAAAAAAAAAAAAAAA\n";
    WriteBytes(dir + "/damaged.qfd",
               "$$TessarayText$$\n1\n[LAYERS]\n\t0\n\t1\n[LAYER]\n\tx\n\t7\n\t1\nBITMAP\n" + block);
    MTessarayDoc doc;
    FillDrawing(doc);
    const std::string before = FileText(doc);
    MessageBoxRecorder boxes;
    EXPECT_FALSE(doc.OnOpenDocument(dir + "/damaged.qfd"));
    EXPECT_FALSE(boxes.Messages().empty());
    EXPECT_EQ(FileText(doc), before);
}

TEST_F(NativeFile, FailedSaveIsReportedAndKeepsTheOldFileAndTheModifiedFlag) {
    MTessarayDoc doc;
    FillDrawing(doc);
    const std::string path = dir + "/plan.qfd";
    WriteBytes(path, "old drawing\r\n");
    for (MMirrorOStream::Step step : {MMirrorOStream::kStepWrite, MMirrorOStream::kStepRename}) {
        static MMirrorOStream::Step failing;
        failing = step;
        const auto previous =
            MMirrorOStream::SetStepHook([](MMirrorOStream::Step s) { return s == failing ? ENOSPC : 0; });
        MessageBoxRecorder boxes;
        doc.SetModifiedFlag(TRUE);
        EXPECT_FALSE(doc.OnSaveDocument(path));
        MMirrorOStream::SetStepHook(previous);
        ASSERT_EQ(boxes.Messages().size(), 1u);
        // The program's own words first, the system's only as the detail.
        const std::string& text = boxes.Messages()[0].text;
        EXPECT_EQ(text.rfind(AfxLoadString(62833) + "\n\n", 0), 0u) << text;
        EXPECT_NE(text.find(Cp932Cut(std::strerror(ENOSPC), 128)), std::string::npos);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(ReadBytes(path), "old drawing\r\n");
        EXPECT_EQ(
            std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()),
            1);
    }
    MessageBoxRecorder boxes;
    EXPECT_FALSE(doc.OnSaveDocument(dir + "/missing/plan.qfd"));
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_EQ(boxes.Messages()[0].text.rfind(AfxLoadString(62834), 0), 0u) << boxes.Messages()[0].text;
}

TEST_F(NativeFile, CommonFileErrorsAreExplainedInJapanese) {
    const std::pair<int, UINT> causes[] = {{EACCES, 62832}, {EPERM, 62832},  {ENOSPC, 62833},
                                           {EDQUOT, 62833}, {ENOENT, 62834}, {EROFS, 62835},
                                           {EFBIG, 62836},  {ENOMEM, 61697}, {EIO, 62837}};
    for (const auto& [error, id] : causes) {
        const std::string text = MTessarayDoc::FileErrorText(error);
        EXPECT_EQ(text, AfxLoadString(id) + "\n\n" + Cp932Cut(std::strerror(error), 128)) << error;
        EXPECT_FALSE(AfxLoadString(id).empty());
    }
    // A file that is not there, opened.
    MTessarayDoc doc;
    MessageBoxRecorder boxes;
    EXPECT_FALSE(doc.OnOpenDocument(dir + "/nowhere.qfd"));
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_EQ(boxes.Messages()[0].text, MTessarayDoc::FileErrorText(ENOENT));
}

TEST_F(NativeFile, BackupModeKeepsThePreviousDrawing) {
    GetOptionRecord().m_saveBackupMode = MMirrorOStream::kBackup;
    MTessarayDoc doc;
    FillDrawing(doc);
    const std::string path = dir + "/plan.qfd";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const std::string first = ReadBytes(path);
    doc.AddShape(Line(1, 2, 3, 4), -1);
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(ReadBytes(dir + "/plan.XBK"), first);
    EXPECT_NE(ReadBytes(path), first);
}

// Fifteen significant digits where they read back exactly, else the shortest text that does.
TEST_F(NativeFile, NumbersUseFifteenSignificantDigitsOrAsManyAsReadBackExactly) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.SetOrigin(MFloatPoint(0.1, 1.0 / 3.0));
    const std::string text = FileText(doc);
    EXPECT_EQ(Section(text, "ORIGIN"), "[ORIGIN]\n\t0.1 0.3333333333333333\n");
}

// Every shape class the factory knows goes through the document's file unchanged.
TEST_F(NativeFile, EveryShapeKindRoundTripsThroughTheFile) {
    MTessarayDoc doc;
    FillDrawing(doc);
    MCadShapeFactory& factory = GetShapeFactory();
    for (int i = 0; i < factory.GetCount(); ++i) {
        MCadShape* shape = factory.GetAt(i)->CreateNew();
        ASSERT_TRUE(shape) << i;
        // A new arc has no angles until SetArc. A full turn from an unround start is written past
        // 2π in 15 digits and must read back as the same full turn.
        if (auto* arc = dynamic_cast<MCircleArcShape*>(shape)) arc->SetArc(0, 0, 5, 0.3, 0.3);
        shape->Move(MFloatPoint(i * 10.0, -i * 5.0));
        shape->Recalc(doc.GetOffscreenView());
        doc.AddShape(shape, i % 2);
    }
    const std::string path = dir + "/kinds.qfd";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    MTessarayDoc other;
    ASSERT_TRUE(other.OnOpenDocument(path));
    other.GetLayers()->GetLayer(1)->m_name = " 壁 と 柱";
    EXPECT_EQ(other.GetLayers()->GetLayer(0)->GetSize(), doc.GetLayers()->GetLayer(0)->GetSize());
    EXPECT_EQ(other.GetLayers()->GetLayer(1)->GetSize(), doc.GetLayers()->GetLayer(1)->GetSize());
    EXPECT_EQ(FileText(other), FileText(doc));
}

// A file cut anywhere reads as far as it goes and always leaves a drawing with a layer to draw
// into; each cut is told, and the part opens untitled.
TEST_F(NativeFile, TruncatedFilesOpenWithWhatTheyHold) {
    MTessarayDoc doc;
    FillDrawing(doc);
    const std::string path = dir + "/whole.qfd";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const std::string bytes = ReadBytes(path);
    MessageBoxRecorder boxes;
    std::size_t cuts = 0;
    for (std::size_t cut = 16; cut < bytes.size() - 7; cut += 5, ++cuts) {
        MTessarayDoc part;
        ASSERT_TRUE(part.OpenNativeBytes(std::string_view(bytes).substr(0, cut), "cut.qfd")) << cut;
        ASSERT_GE(part.GetLayers()->GetLayerCount(), 1) << cut;
        EXPECT_LT(part.GetLayers()->GetCurrentLayerIndex(), part.GetLayers()->GetLayerCount()) << cut;
        EXPECT_FALSE(FileText(part).empty());
        EXPECT_EQ(GetImported(), 1) << cut;
    }
    EXPECT_EQ(boxes.Messages().size(), cuts);
}

TEST_F(NativeFile, LayersReadWhileAPackIsOpenAreRecorded) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.BeginUndo();
    TextInput in("[LAYER]\n\tA\n\t7\n\t1\nLINE\n\t0 0 1 1 0 0 0 0 0 0 0\n[LAYER]\n\tB\n\t5\n\t0\n");
    ASSERT_TRUE(doc.ReadTextSections(in));
    doc.EndUndo();
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 3);
    EXPECT_EQ(doc.GetLayers()->GetLayer(2)->m_name, "B");
    doc.Undo(nullptr);
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 1);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->m_name, "Layer1");
}
