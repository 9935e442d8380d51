// The XDF import on drawings written by hand from the format's description.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "document/ClassRegistry.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "interchange/JwcXdfInterchange.h"
#include "interchange/XdfReader.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/curves/SplineLoopShape.h"
#include "model/shapes/curves/SplineShape.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "model/shapes/dimension/SizeShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Cp932.h"
#include "platform/Strings.h"
#include "tests/interchange/XdfTestSupport.h"
#include "tests/model/shapes/ShapeTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using XdfReaderTest = xdftest::XdfTest;

TEST_F(XdfReaderTest, AFileWithoutElementsLeavesOneDefaultLayer) {
    ASSERT_EQ(Read("[START]\n[END]\n"), 1);
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 1);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetSize(), 0);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetName(), "Layer1");
}

TEST_F(XdfReaderTest, PenCodesColourTheLayers) {
    ASSERT_EQ(Read("[PEN]\n1 2\n17\n[ELEMENT]\nLINE\n0 0 10 0 0 0 0 0\nLINE\n0 0 10 0 1 0 0 0\n"
                   "LINE\n0 0 10 0 2 0 0 0\nLINE\n0 0 10 0 3 0 0 0\n[END]\n"),
              1);
    EXPECT_EQ(Shape("Layer1", 0)->GetColor(), 0xFF0000u);
    EXPECT_EQ(Shape("Layer2", 0)->GetColor(), 0x0000FFu);
    EXPECT_EQ(Shape("Layer3", 0)->GetColor(), 0x000000u);  // 17 mod 10 = 7, stored as 0
    // A layer without a pen code is drawn in black too, not in white.
    EXPECT_EQ(Shape("Layer4", 0)->GetColor(), 0x000000u);
    EXPECT_EQ(doc.GetLayers()->GetLayerCount(), 4);

    // Negative codes and entries past the hundredth layer touch nothing outside the table.
    std::string pens = "[PEN]\n-3";
    for (int i = 0; i < 120; ++i)
        pens += " 5";
    ASSERT_EQ(Read(pens + "\n[END]\n"), 1);
    EXPECT_EQ(penColors[0], 0u);  // -3 mod 10 = 7, stored as 0
    EXPECT_EQ(penColors[99], 0xFFFF00u);
}

TEST_F(XdfReaderTest, GroupsTakeTheirCountOfShapes) {
    ASSERT_EQ(Read("[ELEMENT] 4\nGROUP\n2\nLINE\n0 0 1 0 0 0 0 0\nLINE\n0 0 2 0 5 0 0 0\n"
                   "LINE\n0 0 3 0 0 0 0 0\n[END]\n"),
              1);
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 2);
    auto* group = dynamic_cast<MGroupShape*>(Shape("Layer6", 0));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->GetShapeCount(), 2);
    EXPECT_EQ(Layer("Layer1")->GetSize(), 1);
    EXPECT_NE(dynamic_cast<MLineShape*>(Shape("Layer1", 0)), nullptr);

    // Nested groups close from the inside out.
    doc.DeleteContents();
    ASSERT_EQ(Read("[ELEMENT]\nGROUP\n2\nGROUP\n2\nLINE\n0 0 1 0 3 0 0 0\nLINE\n0 0 1 0 3 0 0 0\n"
                   "LINE\n0 0 1 0 3 0 0 0\n[END]\n"),
              1);
    auto* outer = dynamic_cast<MGroupShape*>(Shape("Layer4", 0));
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(outer->GetShapeCount(), 2);
    EXPECT_NE(dynamic_cast<MGroupShape*>(outer->GetShapeAt(0)), nullptr);
}

TEST_F(XdfReaderTest, GroupsThatNeverCompleteKeepTheirMembersAndEmptyOnesHoldNoShape) {
    ASSERT_EQ(Read("[ELEMENT]\nGROUP\n0\nLINE\n0 0 1 0 0 0 0 0\nGROUP\n-2\nGROUP\n3\nLINE\n0 0 1 0 1 0 0 "
                   "0\n[END]\n"),
              1);
    // The line after the empty group stands alone; the unfinished group keeps its member.
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 2);
    EXPECT_NE(dynamic_cast<MLineShape*>(Shape("Layer1", 0)), nullptr);
    auto* group = dynamic_cast<MGroupShape*>(Shape("Layer2", 0));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->GetShapeCount(), 1);
}

TEST_F(XdfReaderTest, PaperScaleAndOrigin) {
    ASSERT_EQ(Read("[PAPER]\nA3 297 420\n[SCALE]\n0\n[SCALE]\n-5\n[END]\n"), 1);
    const MPaperInfo& paper = doc.GetPaperInfo();
    EXPECT_EQ(paper.GetSizeInfo().m_name, "A3");
    EXPECT_EQ(paper.GetSizeInfo().m_sizeText, "420mm×297mm");
    EXPECT_EQ(paper.GetSizeInfo().m_width, 420);
    EXPECT_EQ(paper.GetSizeInfo().m_height, 297);
    EXPECT_EQ(paper.GetHorizontal(), 0);
    EXPECT_EQ(paper.GetScale(), 1);  // scales that are not positive are not taken

    doc.DeleteContents();
    ASSERT_EQ(Read("[SCALE]\n0.5\n[ORIGIN]\n10 20\n[ELEMENT]\nLINE\n1 2 3 4 0 0 0 0\n[END]\n"), 1);
    EXPECT_EQ(doc.GetPaperInfo().GetScale(), 0.5);
    auto* line = dynamic_cast<MLineShape*>(Shape("Layer1", 0));
    ASSERT_NE(line, nullptr);
    ExpectNear(line->m_start, At(1, 2) + MFloatPoint(20, 40));
    ExpectNear(line->m_end, At(3, 4) + MFloatPoint(20, 40));
}

TEST_F(XdfReaderTest, ElementsBecomeShapes) {
    const std::string text =
        "[ARROW]\n2.5\n[ELEMENT] 9\n"
        "LINE\n0 0 10 0 0 3 3 2\n"
        "CIRCLE\n5 5 2 1 1\n"
        "ARC\n5 5 2 0.5 1.5 1 4 1 1\n"
        "HATCH\n0 0 1 1 2 2\n"
        "DAEN\n0 0 4 2 0 3 0\n"
        "DAEN\n0 0 4 2 0.5 3 0\n"
        "SPLINE\n3 4 1\n0 0\n1 1\n2 0\n"
        "LOOP\n3 4 0\n0 0\n1 1\n2 0\n"
        "[END]\n";
    ASSERT_EQ(Read(text), 1);
    auto* arrowed = dynamic_cast<MPolygonShape*>(Shape("Layer1", 0));
    ASSERT_NE(arrowed, nullptr);
    EXPECT_FALSE(arrowed->IsClosed());
    EXPECT_EQ(arrowed->GetArrows().startStyle, 8);
    EXPECT_EQ(arrowed->GetArrows().endStyle, 8);
    EXPECT_EQ(arrowed->GetArrows().startSize, 2.5);
    EXPECT_EQ(arrowed->GetLineStyle(), 3);

    auto* circle = dynamic_cast<MCircleShape*>(Shape("Layer2", 0));
    ASSERT_TRUE(circle && circle->GetTypeId() == 2);
    ExpectNear(circle->m_center, At(5, 5));
    EXPECT_EQ(circle->m_radius, 2);
    EXPECT_EQ(circle->GetLineStyle(), 1);

    auto* arc = dynamic_cast<MCircleArcShape*>(Shape("Layer2", 1));
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->m_startAngle, 0.5);
    EXPECT_EQ(arc->m_endAngle, 1.5);
    EXPECT_EQ(arc->GetArrows().startStyle, 5);  // flag 1: the start only
    EXPECT_EQ(arc->GetArrows().endStyle, 0);

    auto* hatch = dynamic_cast<MLineShape*>(Shape("Layer3", 0));
    ASSERT_NE(hatch, nullptr);
    EXPECT_EQ(hatch->GetLineStyle(), 2);

    auto* ellipse = dynamic_cast<MEllipseShape*>(Shape("Layer4", 0));
    ASSERT_NE(ellipse, nullptr);
    EXPECT_EQ(ellipse->m_radiusX, 4);
    EXPECT_TRUE(ellipse->GetFillStyle().IsNone());
    ASSERT_NE(Shape("Layer4", 1), nullptr);  // the turned one
    ExpectNear(Shape("Layer4", 1)->GetPoints()[0],
               At(0, 0) + MFloatPoint(4 * std::cos(0.5), 4 * std::sin(0.5)));

    auto* spline = dynamic_cast<MSplineShape*>(Shape("Layer5", 0));
    ASSERT_NE(spline, nullptr);
    EXPECT_EQ(spline->GetControlPointCount(), 3);
    ExpectNear(spline->GetControlPoint(1), At(1, 1));
    auto* loop = dynamic_cast<MSplineLoopShape*>(Shape("Layer5", 1));
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->GetControlPointCount(), 3);
    EXPECT_TRUE(loop->GetFillStyle().IsNone());
}

// A file of one spline through count points on a wave (a million make some 12 MB).
std::string SplineFile(int count) {
    std::string text = "[START]\n[ELEMENT]\nSPLINE\n" + std::to_string(count) + " 0 0\n";
    for (int i = 0; i < count; ++i)
        text += std::to_string(i) + " " + std::to_string(50 * std::sin(i * 0.01)) + "\n";
    return text + "[END]\n";
}

TEST_F(XdfReaderTest, AMillionPointSplineKeepsAnOutlineInProportionToItsPoints) {
    // It kept 16 outline points per interval (256 MB), and printing copied them again.
    ASSERT_EQ(Read(SplineFile(1000000)), 1);
    auto* spline = dynamic_cast<MSplineShape*>(Shape("Layer1", 0));
    ASSERT_NE(spline, nullptr);
    EXPECT_EQ(spline->GetControlPointCount(), 1000000);
    EXPECT_EQ(spline->GetPointCount(), 1000000);
}

TEST_F(XdfReaderTest, TextsTakeTheFontAndTheFollowingLine) {
    doc.SetPaper(MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("1:10", 0.1), TRUE);
    ASSERT_EQ(Read("[ELEMENT]\nSTRING\n1 2 6 3.5 0 0.25 7\n 文字列 です\nFONT ＭＳ 明朝\tx\n-\n"
                   "STRING\n0 0 6 5 0 0 7\n xyz\n[END]\n"),
              1);
    auto* t = dynamic_cast<MTextShape*>(Shape("Layer8", 0));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetString(), "文字列 です");
    EXPECT_EQ(t->GetFontName(), "Default");
    EXPECT_DOUBLE_EQ(t->GetTextSize(), 35);
    EXPECT_EQ(t->GetAngle(), 0.25);
    EXPECT_EQ(t->GetAlignment(), 8);
    ExpectNear(t->GetPoint(), At(1, 2));
    auto* u = dynamic_cast<MTextShape*>(Shape("Layer8", 1));
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(u->GetFontName(), "ＭＳ 明朝");
    EXPECT_EQ(u->GetString(), "xyz");
}

TEST_F(XdfReaderTest, DimensionsTakeTheirStyleAndFormattedValue) {
    ASSERT_EQ(Read("[ARROW]\n4\n[ELEMENT]\nSIZE\n0 0 100 0 0 10 100 10 50 12 1.5 2.5 3.5 4.5 0 3 0 100 2 "
                   "3\n[END]\n"),
              1);
    auto* size = dynamic_cast<MSizeShape*>(Shape("Layer3", 0));
    ASSERT_NE(size, nullptr);
    ExpectNear(size->GetD(), At(100, 10));
    EXPECT_EQ(size->GetText(), GetCurrentSizeFormat(SIZEFORMAT_LINEAR).Format(100, TRUE, TRUE));
    const MSizeStyle& style = size->GetSizeStyle();
    EXPECT_EQ(style.m_fontName, "Default");
    EXPECT_EQ(style.m_textGap, 1.5);
    EXPECT_EQ(style.m_extensionGap, 2.5);
    EXPECT_EQ(style.m_extensionOvershoot, 3.5);
    EXPECT_EQ(style.m_outsideLeader, 4.5);
    EXPECT_EQ(style.m_textHeight, 3);
    EXPECT_EQ(style.m_arrowStyle, 3);
    EXPECT_EQ(style.m_arrowSize, 4);
    EXPECT_TRUE(size->IsBuilt());
}

TEST_F(XdfReaderTest, DamagedRecordsBuildNothingAndReadingGoesOn) {
    std::string longLine = "LINE\n0 0 5 0 0 0 0 0" + std::string(400, ' ') + " 9 9\n";
    ASSERT_EQ(Read("[ELEMENT]\nLINE\n0 0 5\nLINE\n0 0 5 0 100 0 0 0\nLINE\n0 0 5 0 -1 0 0 0\n"
                   "CIRCLE\n0 0 x 0 0\nSPLINE\n0 0 0\nSPLINE\n2 0 0\n1 1\nnothing\n" +
                   longLine + "LINE\n0 0 6 0 0 0 0 0\n[END]\nLINE\n0 0 7 0 0 0 0 0\n"),
              1);
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 1);
    const MLayer* l = Layer("Layer1");
    ASSERT_EQ(l->GetSize(), 2);  // the long line and the last line before [END]
    EXPECT_EQ(dynamic_cast<MLineShape*>(l->GetAt(0))->m_end, At(5, 0));
    EXPECT_EQ(dynamic_cast<MLineShape*>(l->GetAt(1))->m_end, At(6, 0));
    // Missing values, layers that do not exist, a spline of one point.
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text,
              "次の図形は読み込めませんでした:\n    CIRCLE 1\n    LINE 3\n    SPLINE 2");
}

TEST_F(XdfReaderTest, AFileThatCannotBeOpenedIsReported) {
    MXDFReader reader(doc);
    EXPECT_EQ(reader.Read(MakeTempDir("XdfMissing") + "/none.xdf"), 0);
    EXPECT_TRUE(messages.Saw(62700));
    EXPECT_EQ(doc.GetLayers()->GetLayerCount(), 1);
}

TEST_F(XdfReaderTest, ProgressShowsTheElementsStarted) {
    struct Progress : MXDFProgress {
        void BeginWait() override { log += "wait;"; }
        void EndWait() override { log += "done;"; }
        void Open(const std::string& path) override { log += "open " + path + ";"; }
        void SetRange(int upper) override { log += "range " + std::to_string(upper) + ";"; }
        void SetPos(int position) override { last = position; }
        void Close() override { log += "close;"; }
        std::string log;
        int last = -1;
    } progress;
    MXDFProgress* previous = SetXDFProgress(&progress);
    const std::string path = MakeTempDir("XdfProgress") + "/a.xdf";
    std::ofstream(path, std::ios::binary) << Utf8ToCp932(
        "[ELEMENT] 3\r\nLINE\r\n0 0 1 0 0 0 0 0\r\nSTRING\r\n0 0 6 "
        "3 0 0 0\r\n 日本\r\n[END]\r\n");
    {
        MXDFReader reader(doc);
        EXPECT_EQ(reader.Read(path), 1);
    }
    SetXDFProgress(previous);
    EXPECT_EQ(progress.log, "wait;open " + path + ";range 1;range 3;close;done;");
    EXPECT_EQ(progress.last, 2);
    auto* t = dynamic_cast<MTextShape*>(Shape("Layer1", 1));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetString(), "日本");
}


// Unbounded, this nesting exhausted the stack.
TEST_F(XdfReaderTest, GroupsPastTheNestingLimitAreFolded) {
    const int depth = 50000;
    std::string text = "[START]\n[ELEMENT]\n";  // each group holds the next one and a line
    for (int i = 0; i < depth; ++i)
        text += "GROUP\n2\n";
    for (int i = 0; i <= depth; ++i)
        text += "LINE\n0 0 1 1 0 0 0 0\n";
    ASSERT_EQ(Read(text + "[END]\n"), 1);
    ASSERT_EQ(Layer("Layer1")->GetSize(), 1);
    EXPECT_EQ(shapetest::DepthAndLines(Shape("Layer1", 0)), std::make_pair(kMaxGroupNesting, depth + 1));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].text.find(std::to_string(depth - kMaxGroupNesting)), std::string::npos);
}

// The document's import road with the program's readers, over a drawing of one line.
class XdfRefusal : public XdfReaderTest {
protected:
    void SetUp() override {
        XdfReaderTest::SetUp();
        m_previous = SetInterchangeFactory(&m_factory);
        path = MakeTempDir("xdf_refusal") + "/drawing.xdf";
    }
    void TearDown() override { SetInterchangeFactory(m_previous); }
    // Whether the document took the bytes as an .xdf file, the messages shown, and whether the line stayed.
    std::tuple<BOOL, std::vector<std::string>, bool> Open(const std::string& bytes) {
        doc.DeleteContents();
        doc.AddShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(10, 10)), -1);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        MessageBoxRecorder seen;
        const BOOL opened = doc.OnOpenDocument(path);
        std::vector<std::string> texts;
        for (const auto& m : seen.Messages())
            texts.push_back(m.text);
        const MLayer* layer = doc.GetLayers()->GetLayerCount() == 1 ? doc.GetLayers()->GetLayer(0) : nullptr;
        return {opened, texts, layer && layer->GetSize() == 1 && dynamic_cast<MLineShape*>(layer->GetAt(0))};
    }

    MJWCXDFInterchangeFactory m_factory;
    MInterchangeFactory* m_previous = nullptr;
    std::string path;
};

TEST_F(XdfRefusal, EveryCutOfAFileIsRefusedOrOpenedWithAMessage) {
    // Before, each of these opened without a word in place of the drawing.
    const std::string whole =
        "[START]\r\n[PAPER]\r\nA4 297 210\r\n[ELEMENT] 3\r\nGROUP\r\n2\r\nLINE\r\n0 0 1 0 0 0 0 0\r\n"
        "CIRCLE\r\n5 5 2 1 1\r\nSPLINE\r\n2 0 0\r\n0 0\r\n1 1\r\n[END]\r\n";
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        SCOPED_TRACE(cut);
        const auto [opened, texts, kept] = Open(whole.substr(0, cut));
        // Cut inside the end line, nothing of the drawing is missing.
        EXPECT_EQ(texts.size(), cut >= whole.find("[END") + 4 ? 0u : 1u);
        EXPECT_TRUE(opened || (kept && cut < whole.size()));
    }
}

TEST_F(XdfRefusal, BytesThatAreNoDrawingLeaveTheOpenDrawing) {
    for (const std::string& bytes :
         {std::string("\0\x01\xff\xfe\x80 binary", 12), std::string("[<html>]\nLINE\n"), std::string("\n\n")})
        EXPECT_EQ(Open(bytes), std::make_tuple(FALSE, std::vector<std::string>{AfxLoadString(62700)}, true));
    // A first section the reader skips still opens the drawing.
    EXPECT_EQ(std::get<0>(Open("\r\n[VERSION]\r\n2\r\n[START]\r\n[END]\r\n")), TRUE);
}

TEST_F(XdfRefusal, AByteOrderMarkOrLinesBeforeTheFirstSectionStillOpen) {
    // Each was refused as no drawing; only what holds no section of the format is.
    const std::string drawing = "[START]\r\n[ELEMENT]\r\nSTRING\r\n0 0 6 5 0 0 0\r\n ";
    const struct {
        std::string bytes;
        BOOL opened;
    } cases[] = {
        {"\xEF\xBB\xBF" + drawing + "日本\r\n[END]\r\n", TRUE},  // UTF-8 after the mark
        {"XDF 2.0\r\nexported by a program\r\n" + drawing + Utf8ToCp932("日本") + "\r\n[END]\r\n", TRUE},
        {"\xEF\xBB\xBF" + std::string("no section\r\n[VERSION]\r\n2\r\n"), FALSE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const auto [opened, texts, kept] = Open(c.bytes);
        ASSERT_EQ(opened, c.opened);
        if (!opened) continue;
        EXPECT_TRUE(texts.empty());
        auto* text = dynamic_cast<MTextShape*>(Shape("Layer1", 0));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->GetString(), "日本");
    }
}

TEST_F(XdfReaderTest, TextsWithoutAFontTakeTheCurrentTextFont) {
    const std::string kept = GetOptionRecord().m_fontName;
    for (const auto& [current, expected] :
         {std::pair<std::string, std::string>{"IPAゴシック", "IPAゴシック"}, {"", "ＭＳ ゴシック"}}) {
        GetOptionRecord().m_fontName = current;
        doc.DeleteContents();
        ASSERT_EQ(MXDFReader(doc).ReadText("[ELEMENT]\nSTRING\n0 0 6 5 0 0 0\n abc\n[END]\n", "f.xdf"), 1);
        auto* text = dynamic_cast<MTextShape*>(Shape("Layer1", 0));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->GetFontName(), expected);
    }
    GetOptionRecord().m_fontName = kept;
}

}  // namespace
