// What a DXF import cannot take is told: kinds not imported, files cut short, files that are no
// DXF at all (refused before anything is asked, the open drawing kept).
#include <fstream>

#include "DxfTestSupport.h"
#include "document/Interchange.h"
#include "interchange/InterchangeFactory.h"
#include "model/shapes/lines/LineShape.h"

using namespace dxftest;

namespace {

constexpr UINT kIdsCannotOpen = 62700;

class DxfLosses : public DxfTest {};

TEST_F(DxfLosses, KindsNotImportedAreListedOnceWithCounts) {
    ASSERT_EQ(Read(Dxf("0|SECTION|2|ENTITIES|0|HATCH|8|0|0|HATCH|8|0|0|ELLIPSE|10|0|20|0|0|ENDSEC|0|EOF")),
              1);
    EXPECT_EQ(ShapeCount(), 0);
    ASSERT_EQ(messages.Messages().size(), 1u);
    const std::string& text = messages.Messages()[0].text;
    EXPECT_NE(text.find("ELLIPSE 1"), std::string::npos) << text;
    EXPECT_NE(text.find("HATCH 2"), std::string::npos) << text;
}

TEST_F(DxfLosses, KindsAreCountedAsTheDrawingWouldHaveHeldThem) {
    const std::string lost = "0|HATCH|8|0|0|ELLIPSE|10|0|20|0|0|POINT|10|0|20|0|";
    const std::string line = "0|LINE|10|0|20|0|11|1|21|1|";
    const auto block = [](const std::string& name, const std::string& entities) {
        return "0|BLOCK|2|" + name + "|10|0|20|0|" + entities + "0|ENDBLK|";
    };
    const auto insert = [](const std::string& name, const std::string& more = "") {
        return "0|INSERT|2|" + name + "|10|0|20|0|" + more;
    };
    const struct {
        std::string blocks, entities;
        std::vector<std::string> told;  // none: no message
    } cases[] = {
        {block("A", lost + line) + block("*D1", lost) + block("*U2", insert("A")), line, {}},
        {block("A", lost + line),
         insert("A") + insert("A") + insert("A"),
         {"HATCH 3", "ELLIPSE 3", "POINT 3"}},
        {block("INNER", "0|HATCH|8|0|" + line) + block("OUTER", insert("INNER") + insert("INNER")) +
             block("*D1", "0|HATCH|8|0|" + line),
         insert("OUTER") + insert("OUTER") + "0|DIMENSION|2|*D1|",
         {"HATCH 5"}},
        {block("P", "0|POINT|10|0|20|0|"), insert("P", "70|3|71|2|"), {"POINT 6"}},
        {block("T", "0|INSERT|2|A|230|0|210|1|") + block("A", line),
         insert("T") + insert("T"),
         {"INSERT (3D) 2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entities);
        MessageBoxRecorder told;
        ASSERT_EQ(Read(Dxf("0|SECTION|2|BLOCKS|" + c.blocks + "0|ENDSEC|0|SECTION|2|ENTITIES|" + c.entities +
                           "0|ENDSEC|0|EOF")),
                  1);
        doc.DeleteContents();
        const std::string text = told.Messages().empty() ? "" : told.Messages()[0].text + "\n";
        ASSERT_EQ(told.Messages().size(), c.told.empty() ? 0u : 1u) << text;
        for (const std::string& kind : c.told)
            EXPECT_NE(text.find("\n    " + kind + "\n"), std::string::npos) << text;
    }
}

TEST_F(DxfLosses, ABrokenStructureLosesNoRecordUntoldAndListsOnlyEntities) {
    // A line added or lost puts values where codes belong; a section or block may lack its end, a
    // comment stand before a section's name. What follows is read, and a value is never a kind.
    const std::string line = "0|LINE|8|0|10|0|20|0|11|1|21|1|", insert = "0|INSERT|2|B|10|5|20|5|";
    const std::string entities = "0|SECTION|2|ENTITIES|";
    const struct {
        std::string pairs;
        KindCounts shapes;
        const char* told;  // nullptr: nothing told
    } cases[] = {
        {entities + line + "999||comment|1071|12345|" + line, {{"LINE", 2}}, "読めない行 (1行)"},
        {entities + "0|LINE|8|10|0|20|0|11|1|21|1|" + line, {{"LINE", 2}}, "読めない行 (1行)"},
        {entities + line + "0|SECTION|2|OBJECTS|0|DICTIONARY|3|X|0|LAYOUT|1|y|", {{"LINE", 1}}, nullptr},
        {"0|SECTION|999|comment|2|ENTITIES|" + line, {{"LINE", 1}}, nullptr},
        {"0|SECTION|2|BLOCKS|0|BLOCK|2|B|10|0|20|0|" + line + "0|ENDSEC|" + entities + insert + line,
         {{"GROUP", 1}, {"LINE", 2}},
         "ENDBLK のないブロック (1個)"},
        {"0|SECTION|2|BLOCKS|0|BLOCK|2|A|10|0|20|0|" + line + "0|BLOCK|2|B|10|0|20|0|" + line +
             "0|ENDBLK|0|ENDSEC|" + entities + insert,
         {{"GROUP", 1}, {"LINE", 1}},
         "ENDBLK のないブロック (1個)"},
        {"0|SECTION|2|BLOCKS|0|BLOCK|2|B|10|0|20|0|" + line + entities + insert + line,
         {{"GROUP", 1}, {"LINE", 2}},
         "ENDBLK のないブロック (1個)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pairs);
        doc.DeleteContents();
        MessageBoxRecorder told;
        ASSERT_EQ(Read(Dxf(c.pairs + "0|ENDSEC|0|EOF")), 1);
        EXPECT_EQ(CountShapes(doc), c.shapes);
        const std::string text = told.Messages().empty() ? "" : told.Messages()[0].text;
        EXPECT_EQ(told.Messages().size(), c.told ? 1u : 0u) << text;
        if (!c.told) continue;
        EXPECT_NE(text.find(c.told), std::string::npos) << text;
        EXPECT_EQ(text.find('\n'), std::string::npos) << "nothing else told: " << text;
    }
}

TEST_F(DxfLosses, NothingIsToldWhenEverythingWasRead) {
    ASSERT_EQ(Read(Dxf("0|SECTION|2|BLOCKS|0|BLOCK|2|B|10|0|20|0|0|ATTDEF|1|x|0|LINE|10|0|20|0|11|1|21|1|"
                       "0|ENDBLK|0|ENDSEC|0|SECTION|2|ENTITIES|0|INSERT|2|B|10|0|20|0|0|ENDSEC|0|EOF")),
              1);
    EXPECT_EQ(ShapeCount(), 1);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(DxfLosses, AHatchFileFromAnotherProgramTellsWhatWasLeftOut) {
    const std::string path = TestDataFile("dxf/hatches_1.dxf");
    SKIP_WITHOUT_TESTDATA(path);
    ASSERT_EQ(Read(ReadFileBytes(path)), 1);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].text.find("HATCH"), std::string::npos);
}

TEST_F(DxfLosses, AFileCutShortIsReportedAndKeepsWhatWasRead) {
    for (const char* pairs : {"0|SECTION|2|ENTITIES|0|LINE|10|0|20|0|11|1|21|1|0|LINE|10|0|20|0|11|2|21|2",
                              "0|SECTION|2|ENTITIES|0|LINE|10|0|20|0|11|1|21|1|0|ENDSEC"}) {
        MessageBoxRecorder recorder;
        MTessarayDoc d;
        MDXFReader reader(d);
        ASSERT_EQ(reader.ReadBytes(Dxf(pairs)), 1);
        EXPECT_TRUE(reader.WasCutShort());
        EXPECT_GE(AllShapes(d).size(), 1u);
        ASSERT_EQ(recorder.Messages().size(), 1u);
        EXPECT_FALSE(recorder.Saw(kIdsCannotOpen));
    }
}

TEST_F(DxfLosses, BytesThatAreNoDxfAreRefused) {
    EXPECT_FALSE(MDXFReader::LooksLikeDxf(std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)));
    EXPECT_FALSE(MDXFReader::LooksLikeDxf("hello\nworld\n"));
    EXPECT_FALSE(MDXFReader::LooksLikeDxf(""));
    EXPECT_FALSE(MDXFReader::LooksLikeDxf(Dxf("0|LINE|10|0")));
    EXPECT_TRUE(MDXFReader::LooksLikeDxf(Dxf("999|made by hand|  0|SECTION|2|HEADER")));
    EXPECT_TRUE(MDXFReader::LooksLikeDxf("\xEF\xBB\xBF" + Dxf("0|EOF")));
    EXPECT_EQ(Read("\x89PNG\r\n\x1A\nIHDR"), 0);
    EXPECT_TRUE(messages.Saw(kIdsCannotOpen));
}

// The document's import road with the program's readers and a scripted window side.
class DxfRefusal : public DxfTest {
protected:
    void SetUp() override {
        DxfTest::SetUp();
        m_previous = SetInterchangeFactory(&m_factory);
        dir = MakeTempDir("dxf_refusal");
        doc.OnNewDocument();
        doc.AddShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(10, 10)), -1);
    }
    void TearDown() override { SetInterchangeFactory(m_previous); }
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = dir + "/" + name;
        WriteFileBytes(path, bytes);
        return path;
    }

    MTessarayInterchangeFactory m_factory;
    MInterchangeFactory* m_previous = nullptr;
    FakeImportUi ui;
    std::string dir;
};

TEST_F(DxfRefusal, AForeignFileIsRefusedBeforeAnyQuestionAndTheDrawingStays) {
    // A DXF the program does not read is named as such.
    const struct {
        std::string bytes;
        const char* told;  // nullptr: message 62700
    } cases[] = {
        {std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), nullptr},
        {std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + std::string(64, '\0'), "バイナリ形式"},
        {"0\rSECTION\r2\rENTITIES\r0\rENDSEC\r0\rEOF\r", "CR だけ"},
    };
    for (const auto& c : cases) {
        MessageBoxRecorder told;
        EXPECT_FALSE(doc.OnOpenDocument(Write("picture.dxf", c.bytes)));
        ASSERT_EQ(told.Messages().size(), 1u);
        if (c.told)
            EXPECT_NE(told.Messages()[0].text.find(c.told), std::string::npos) << told.Messages()[0].text;
        else
            EXPECT_TRUE(told.Saw(kIdsCannotOpen));
        EXPECT_EQ(ui.paperDialogs, 0);
        EXPECT_EQ(ShapeCount(), 1) << "the open drawing is kept";
    }
}

TEST_F(DxfRefusal, CancellingThePaperDialogKeepsTheDrawing) {
    ui.paperResult = IDCANCEL;
    const std::string path =
        Write("plan.dxf", Dxf("0|SECTION|2|ENTITIES|0|CIRCLE|10|0|20|0|40|1|0|ENDSEC|0|EOF"));
    EXPECT_FALSE(doc.OnOpenDocument(path));
    EXPECT_EQ(ui.paperDialogs, 1);
    EXPECT_EQ(ShapeCount(), 1);
    EXPECT_NE(dynamic_cast<MLineShape*>(Shape(0)), nullptr);
}

TEST_F(DxfRefusal, AFileCutShortOpensWhatWasReadAndSaysSo) {
    ui.paperResult = IDRETRY;  // read without a paper or question
    const std::string path =
        Write("cut.dxf", Dxf("0|SECTION|2|ENTITIES|0|CIRCLE|10|0|20|0|40|1|0|CIRCLE|10|5"));
    EXPECT_TRUE(doc.OnOpenDocument(path));
    EXPECT_EQ(ShapeCount(), 1);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_FALSE(messages.Saw(kIdsCannotOpen));
}

}  // namespace
