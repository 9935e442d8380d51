// The JW_CAD export checked byte by byte with the independent unpacker of JwcTestSupport.h.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "document/ClassRegistry.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "interchange/JwcWriter.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/MarkShape.h"
#include "model/shapes/text/TextShape.h"
#include "resources/ResourceIds.h"
#include "tests/interchange/JwcTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using jwtest::Unpack;

class JwcWriterTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterDocumentClasses(); }

    void SetPaper(double scale, double width = 420, double height = 297) {
        doc.SetPaper(MPaperSizeInfo("P", "p", width, height), MPaperScaleInfo("s", scale), TRUE);
    }
    int AddLayer(const std::string& name) { return doc.AddLayer(new MLayer(name, TRUE, TRUE, TRUE)); }
    template <class T>
    T* Add(T* shape, int layer) {
        doc.AppendShape(shape, layer);
        return shape;
    }
    std::string Export() {
        MJWCWriter writer(doc);
        return writer.BuildFile();
    }

    MTessarayDoc doc;
    MessageBoxRecorder messages;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(JwcWriterTest, EveryRecordOfADrawingFollowsTheLayout) {
    SetPaper(0.01);  // A3 landscape at 1:100
    const int walls = AddLayer("壁");
    const int dims = AddLayer("寸法");
    Add(new MLineShape({0, 0}, {1000, 500}), walls);
    auto* circle = Add(new MCircleShape, walls);
    circle->SetCircle(200, 300, 50);
    circle->SetColor(0x00FF00);
    auto* arc = Add(new MCircleArcShape, walls);
    arc->SetArc(100, 100, 40, 0, kPi / 2);
    arc->SetColor(0xFF0000);
    auto* ellipse = Add(new MEllipseShape, walls);
    ellipse->SetEllipse(500, 500, 80, 40);
    auto* mark = Add(new MMarkShape, walls);
    mark->m_position = {10, 20};
    auto* text = Add(new MTextShape, walls);
    text->SetString("abc");
    text->SetTextSize(300);  // 3 mm on paper
    text->Recalc(doc.GetOffscreenView());
    auto* aux = Add(new MLineShape({0, 100}, {50, 100}), dims);
    aux->SetLineStyle(0x88);

    const std::string bytes = Export();
    const auto f = Unpack(bytes);
    const double k = 518.0 / 420 / 100;
    ASSERT_EQ(f.size, bytes.size());
    EXPECT_EQ(bytes.size(), 800u + 909 + 88 + 32 + 560 + 2 * 22 + 3 * 32 + 24 + 4 + 2304);

    // Header: signature, 64 zero bytes, 95 blanks, a line feed.
    EXPECT_EQ(f.header.substr(0, 40), "jw_cad(c)data.......a...m...............");
    EXPECT_EQ(f.header.substr(40, 64), std::string(64, '\0'));
    EXPECT_EQ(f.header.substr(104, 95), std::string(95, ' '));
    EXPECT_EQ(f.header[199], '\n');

    const std::string settings =
        "2,3,1,0,1,3,2,1,1,100,0,3,2,1,155.861,202.944,5,10,100,0,0,0,1,2,3,5,5,0,0,0,518,0";
    EXPECT_EQ(f.settings.substr(0, settings.size()), settings);
    EXPECT_EQ(f.settings.substr(settings.size(), 199 - settings.size()),
              std::string(199 - settings.size(), ' '));
    EXPECT_EQ(f.settings[199], '\n');
    const std::string fixed =
        "0.5,0.0,3.0,15.0,1,1,0,0,0,1,0.0,0.0,0.0,0.0,0.0,0.0,0,0,0,1000.000,1000.000,100.000,200.000,300."
        "000,"
        "500.000,0,0,1";
    EXPECT_EQ(f.fixed.substr(0, fixed.size()), fixed);
    EXPECT_EQ(f.fixed[199], '\n');
    const std::string range = "6834:0000,6834:0004,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,36,-23.45,0,0,-1,215,0";
    EXPECT_EQ(f.range.substr(0, range.size() + 1), range + " ");
    EXPECT_EQ(f.range[199], '\n');

    // One mark in entry 1; entry 0 and the rest stay empty.
    EXPECT_FLOAT_EQ(f.markX[1], static_cast<float>(10 * k));
    EXPECT_FLOAT_EQ(f.markY[1], static_cast<float>(20 * k));
    EXPECT_EQ(f.markLayer[1], 0u);
    for (int i : {0, 2, 50, 100})
        EXPECT_EQ(f.markX[i], 0.0f) << i;

    const int kinds[44] = {0,  1,  1,   2,  2,  3,  3,   4,  4,  5,  5,  20, 20, 25, 30,
                           40, 50, 60,  70, 80, 90, 100, 20, 20, 25, 30, 40, 50, 60, 70,
                           80, 90, 100, 0,  0,  0,  5,   5,  5,  10, 10, 10, 10, 10};
    for (int i = 0; i < 44; ++i)
        EXPECT_EQ(f.kinds[i], kinds[i]) << i;
    for (double s : f.groupScales)
        EXPECT_EQ(s, 100);
    EXPECT_EQ(f.groupFlags.substr(0, 544), std::string(544, '\x01'));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(static_cast<unsigned char>(f.groupFlags[544 + i]), i * 16);

    ASSERT_EQ(f.lines.size(), 2u);
    EXPECT_FLOAT_EQ(f.lines[0].x2, static_cast<float>(1000 * k));
    EXPECT_FLOAT_EQ(f.lines[0].y2, static_cast<float>(500 * k));
    EXPECT_EQ(f.lines[0].x1, 0.0f);
    EXPECT_EQ(f.lines[0].type, 1u);  // style 0
    EXPECT_EQ(f.lines[0].pen, 2u);   // black
    EXPECT_EQ(f.lines[0].layer, 0u);
    EXPECT_EQ(f.lines[1].type, 9u);  // auxiliary
    EXPECT_EQ(f.lines[1].layer, 1u);
    EXPECT_FLOAT_EQ(f.lines[1].y1, static_cast<float>(100 * k));

    ASSERT_EQ(f.arcs.size(), 3u);
    EXPECT_FLOAT_EQ(f.arcs[0].cx, static_cast<float>(200 * k));
    EXPECT_FLOAT_EQ(f.arcs[0].r, static_cast<float>(50 * k));
    EXPECT_EQ(f.arcs[0].flat, 10000u);
    EXPECT_EQ(f.arcs[0].start, 0u);
    EXPECT_EQ(f.arcs[0].end, 0u);
    EXPECT_EQ(f.arcs[0].pen, 3u);  // green
    EXPECT_EQ(f.arcs[1].flat, 10000u);
    EXPECT_NEAR(f.arcs[1].end, 90.0 * 65536, 1.0);
    EXPECT_EQ(f.arcs[1].pen, 6u);  // blue
    EXPECT_EQ(f.arcs[2].flat, 5000u);
    EXPECT_FLOAT_EQ(f.arcs[2].r, static_cast<float>(80 * k));
    EXPECT_EQ(f.arcs[2].tilt, 0u);

    ASSERT_EQ(f.texts.size(), 1u);
    EXPECT_EQ(f.texts[0].segment, 0x6834u);
    EXPECT_EQ(f.texts[0].offset, 0u);
    EXPECT_EQ(f.texts[0].kind, 3u);  // 3 mm
    EXPECT_EQ(f.texts[0].layer, 0u);
    EXPECT_EQ(f.texts[0].flags, 0u);
    EXPECT_FLOAT_EQ(f.texts[0].y1, f.texts[0].y2);
    EXPECT_NEAR(f.texts[0].x2 - f.texts[0].x1, text->GetBoxWidth() * k, 1e-4);
    EXPECT_EQ(f.block, std::string("abc\0", 4));

    EXPECT_EQ(f.layerNames[0], std::string("\x95\xc7\0\0\0\0\0\0", 8));
    EXPECT_EQ(f.layerNames[1], std::string("\x90\xa1\x96\x40\0\0\0\0", 8));
    EXPECT_EQ(f.layerNames[2], std::string(8, '\0'));
    EXPECT_EQ(f.groupNames, std::string(256, '\0'));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(JwcWriterTest, ScaleAboveOneIsWrittenAsItsExactReciprocal) {
    SetPaper(10);
    Add(new MLineShape({0, 0}, {1, 1}), AddLayer("a"));
    const std::string bytes = Export();
    const auto f = Unpack(bytes);
    ASSERT_EQ(f.size, bytes.size());
    EXPECT_EQ(f.header.substr(0, 40), "jw_cad(c)data.......a.f.m...............");
    EXPECT_EQ(f.tokens.at(9), "0.1");
    for (double s : f.groupScales)
        EXPECT_EQ(s, 0.1f);
    // Coordinate factor 518 / 420 / 0.1.
    EXPECT_FLOAT_EQ(f.lines.at(0).x2, static_cast<float>(518.0 / 420 / 0.1));

    SetPaper(3);
    EXPECT_EQ(Unpack(Export()).tokens.at(9), "0.3333333333333333");
}

TEST_F(JwcWriterTest, DenominatorIsTheSmallestWholeNumberNotBelowTheInverseScale) {
    Add(new MLineShape({0, 0}, {1, 1}), AddLayer("a"));
    SetPaper(1.0 / 300);
    EXPECT_EQ(Unpack(Export()).tokens.at(9), "300");
    SetPaper(0.003);  // 333.33...
    EXPECT_EQ(Unpack(Export()).tokens.at(9), "334");
    SetPaper(1e-7);
    const auto f = Unpack(Export());
    EXPECT_EQ(f.tokens.at(9), "30000");
    EXPECT_EQ(f.groupScales[0], 30000);
}

TEST_F(JwcWriterTest, PaperIsTheFirstJwPaperWiderThanTheDrawingsOverTenPercent) {
    Add(new MLineShape({0, 0}, {1, 1}), AddLayer("a"));
    struct Case {
        double width;
        int code;
    } cases[] = {{297, 4},  {326, 4},   {327, 3},    {420, 3},   {841, 1},
                 {1189, 0}, {5000, 50}, {6000, 100}, {200000, 3}};
    for (const Case& c : cases) {
        SetPaper(1, c.width, 100);
        EXPECT_EQ(Unpack(Export()).tokens.at(11), std::to_string(c.code)) << c.width;
    }
    SetPaper(1, 297, 210);
    EXPECT_FLOAT_EQ(Unpack(Export()).lines.at(0).x2, static_cast<float>(518.0 / 297));
}

TEST_F(JwcWriterTest, ADrawingWithoutMarksCountsNone) {
    SetPaper(0.01);
    Add(new MLineShape({0, 0}, {1, 1}), AddLayer("a"));
    const auto f = Unpack(Export());
    EXPECT_EQ(f.tokens.at(4), "0");
    for (int i = 0; i < 101; ++i)
        EXPECT_EQ(f.markX[i], 0.0f);
}

TEST_F(JwcWriterTest, LayersFrom255OnShareTheLastJwLayer) {
    SetPaper(1);
    for (int i = 0; i < 300; ++i) {
        const int layer = AddLayer("L" + std::to_string(i));
        Add(new MLineShape({0, double(i)}, {1, double(i)}), layer);
    }
    const std::string bytes = Export();
    const auto f = Unpack(bytes);
    ASSERT_EQ(f.size, bytes.size());
    ASSERT_EQ(f.lines.size(), 300u);
    EXPECT_EQ(f.lines[254].layer, 254u);
    EXPECT_EQ(f.lines[255].layer, 255u);
    EXPECT_EQ(f.lines[299].layer, 255u);
    EXPECT_EQ(f.layerNames[255], std::string("L255\0\0\0\0", 8));
}

TEST_F(JwcWriterTest, LayerNamesAreCutAtACharacterBoundary) {
    SetPaper(1);
    Add(new MLineShape({0, 0}, {1, 1}), AddLayer("あいうえお"));
    Add(new MLineShape({0, 0}, {1, 1}), AddLayer("abcdefghij"));
    const auto f = Unpack(Export());
    EXPECT_EQ(f.layerNames[0], std::string("\x82\xa0\x82\xa2\x82\xa4\0\0", 8));
    EXPECT_EQ(f.layerNames[1], std::string("abcdefg\0", 8));
}

TEST_F(JwcWriterTest, MarksBeyondTheBlockAreLeftOutWithAWarning) {
    SetPaper(1);
    const int layer = AddLayer("a");
    for (int i = 0; i < 150; ++i)
        Add(new MMarkShape, layer)->m_position = {double(i + 1), 0};
    const std::string dir = MakeTempDir("JwcWriterMarks");
    MJWCWriter writer(doc);
    EXPECT_EQ(writer.Write(dir + "/m.jwc"), 1);
    const std::string bytes = ReadFile(dir + "/m.jwc");
    const auto f = Unpack(bytes);
    ASSERT_EQ(f.size, bytes.size());
    EXPECT_EQ(f.tokens.at(4), "100");
    EXPECT_FLOAT_EQ(f.markX[100], static_cast<float>(100 * 518.0 / 420));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, AfxFormatString1(IDS_JWC_MARKS_DROPPED, "50"));
}

TEST_F(JwcWriterTest, TextsBeyondTheStringBlockAreLeftOutWithAWarning) {
    SetPaper(1);
    const int layer = AddLayer("a");
    for (int i = 0; i < 70; ++i) {
        auto* t = Add(new MTextShape, layer);
        t->SetString(std::string(999, 'x'));
        t->SetTextSize(3);
    }
    const std::string dir = MakeTempDir("JwcWriterTexts");
    MJWCWriter writer(doc);
    EXPECT_EQ(writer.Write(dir + "/t.jwc"), 1);
    const std::string bytes = ReadFile(dir + "/t.jwc");
    const auto f = Unpack(bytes);
    ASSERT_EQ(f.size, bytes.size());
    EXPECT_EQ(f.texts.size(), 65u);  // 65 × 1000 bytes fit in 65,535
    EXPECT_EQ(f.block.size(), 65000u);
    EXPECT_EQ(f.range.substr(0, 20), "6834:0000,6834:fde8,");
    EXPECT_EQ(f.texts[64].offset, 64000u);
    EXPECT_TRUE(messages.Saw(IDS_JWC_TEXTS_DROPPED));
}

TEST_F(JwcWriterTest, AFileThatCannotBeWrittenIsReportedAndLeavesNoFile) {
    SetPaper(1);
    Add(new MLineShape({0, 0}, {1, 1}), AddLayer("a"));
    const std::string dir = MakeTempDir("JwcWriterFail");
    MJWCWriter writer(doc);
    EXPECT_EQ(writer.Write(dir + "/missing/x.jwc"), 0);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, MTessarayDoc::FileErrorText(ENOENT));
    EXPECT_TRUE(std::filesystem::is_empty(dir));

    // An existing target stays as it was when the new file cannot be put in place.
    std::filesystem::create_directory(dir + "/target.jwc");
    EXPECT_EQ(writer.Write(dir + "/target.jwc"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir + "/target.jwc"));
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir))
        files += e.is_regular_file();
    EXPECT_EQ(files, 0);  // no temporary file left behind
}

}  // namespace
