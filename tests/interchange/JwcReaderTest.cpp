// The JW_CAD drawing import on files built by hand from the layout.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "document/ClassRegistry.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "interchange/JwcPenSettings.h"
#include "interchange/JwcReader.h"
#include "interchange/JwcXdfInterchange.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/MarkShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Cp932.h"
#include "platform/Profile.h"
#include "tests/interchange/JwcTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using jwtest::ArcRecord;
using jwtest::JwcBuilder;
using jwtest::LineRecord;
using jwtest::PointRecord;
using jwtest::TextRecord;

constexpr std::uint32_t kDegree = 65536;

class JwcReaderTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterDocumentClasses(); }

    int Read(const std::string& bytes) {
        MJWCReader reader(doc);
        reader.SetPenSettings(pens);
        reader.m_fontName = "Font";
        return reader.ReadBytes(bytes);
    }
    // Refused with the message and without touching the document.
    void ExpectRefused(const std::string& bytes, UINT id) {
        MessageBoxRecorder recorder;
        EXPECT_EQ(Read(bytes), 0);
        EXPECT_TRUE(recorder.Saw(id)) << id;
        EXPECT_EQ(doc.GetLayers()->GetLayerCount(), 0);
    }
    MCadShape* Shape(int layer, int index) { return doc.GetLayers()->GetLayer(layer)->GetAt(index); }
    int ShapeCount(int layer) { return doc.GetLayers()->GetLayer(layer)->GetSize(); }

    MTessarayDoc doc;
    MJWCPenSettings pens;
};

TEST_F(JwcReaderTest, FilesThatAreNoJwcDrawingsAreRefused) {
    JwcBuilder b;
    std::string bytes = b.Build();
    bytes[3] = 'X';
    ExpectRefused(bytes, 249);
    ExpectRefused("jw_cad", 249);
    ExpectRefused("", 249);
    b.variant = "b...m...............";
    ExpectRefused(b.Build(), 206);
    std::string sym = JwcBuilder().Build();
    sym.replace(0, 20, "jw_cad(c)sym........");
    ExpectRefused(sym, 249);
}

TEST_F(JwcReaderTest, DamagedFilesAreRefusedAsAWhole) {
    JwcBuilder good;
    good.lines.push_back(LineRecord(0, 0, 10, 0, 1, 2, 0));
    good.block = std::string("ab\0", 3);
    good.texts.push_back(TextRecord(0, 0, 1, 0, 0, 0x1000, 3, 0, 0));
    ASSERT_EQ(Read(good.Build()), 1);
    doc.DeleteContents();
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 0);

    std::string truncated = good.Build();
    truncated.pop_back();
    ExpectRefused(truncated, 62700);
    ExpectRefused(good.Build().substr(0, 900), 62700);

    JwcBuilder b = good;
    b.settingsOverride = "5,0,1,0,0,3,2,1,1,1,0,3,2,1,0,0,5,10,100,0,0,0,1,2,3,5,5,0,0,0,420,0";
    ExpectRefused(b.Build(), 62700);  // more lines than the file holds
    b.settingsOverride = "1,0,1,0,0,3,2,1,1,1,0,3,2,1,0,0,5,10,100,0,0,0,1,2,3,5,5,0,0,0,420,0";
    ASSERT_EQ(Read(b.Build()), 1);  // the same counts, spelled out, read
    doc.DeleteContents();
    b.settingsOverride = "1,0,1,0,x,3,2,1,1,1,0,3,2,1,0,0,5,10,100,0,0,0,1,2,3,5,5,0,0,0,420,0";
    ExpectRefused(b.Build(), 62700);
    b.settingsOverride = "-1,0,1,0,0,3,2,1,1,1,0,3,2,1,0,0,5,10,100,0,0,0,1,2,3,5,5,0,0,0,420,0";
    ExpectRefused(b.Build(), 62700);
    b.settingsOverride = "1,0,1";
    ExpectRefused(b.Build(), 62700);

    b = good;
    b.markCountOverride = 101;  // the arrays hold entries 1..100
    ExpectRefused(b.Build(), 62700);
    b = good;
    b.texts[0] = TextRecord(0, 0, 1, 0, 0, 0x1000, 11, 0, 0);  // kinds are 0..10
    ExpectRefused(b.Build(), 62700);
    b.texts[0] = TextRecord(0, 0, 1, 0, 3, 0x1000, 3, 0, 0);  // one past the block
    ExpectRefused(b.Build(), 62700);
    b.texts[0] = TextRecord(0, 0, 1, 0, 0, 0x0FFF, 3, 0, 0);  // before the block
    ExpectRefused(b.Build(), 62700);
    b = good;
    b.range = "1000:0000";
    ExpectRefused(b.Build(), 62700);
    b.range = "1000:0010,1000:0000";
    ExpectRefused(b.Build(), 62700);
    b.range = "1000:0000,1000:zz03";
    ExpectRefused(b.Build(), 62700);
    b = good;
    b.paperUnits = 0;
    ExpectRefused(b.Build(), 62700);
    b.paperUnits = 1e-300;  // every coordinate beyond the range of numbers
    ExpectRefused(b.Build(), 62700);
    b.paperUnits = 1e300;  // every shape a point
    ExpectRefused(b.Build(), 62700);
}

TEST_F(JwcReaderTest, PensGiveColourWidthAndLineStyle) {
    pens.widths[0] = 5;
    pens.colors[4] = kNoColor;  // pen 5 switched off
    JwcBuilder b;
    b.lines.push_back(LineRecord(0, 0, 10, 0, 9, 3, 0));   // pen 3, auxiliary type
    b.lines.push_back(LineRecord(0, 1, 10, 1, 2, 1, 0));   // pen 1, dashed type 2
    b.lines.push_back(LineRecord(0, 2, 10, 2, 2, 0, 0));   // pen 0
    b.lines.push_back(LineRecord(0, 3, 10, 3, 2, 7, 0));   // pen 7
    b.lines.push_back(LineRecord(0, 4, 10, 4, 3, 9, 0));   // pen 9
    b.lines.push_back(LineRecord(0, 5, 10, 5, 3, 5, 0));   // pen 5 without colour
    b.lines.push_back(LineRecord(0, 6, 10, 6, 12, 2, 0));  // unknown type
    b.lines.push_back(LineRecord(3, 3, 3, 3, 1, 2, 0));    // zero length: dropped
    ASSERT_EQ(Read(b.Build()), 1);
    ASSERT_EQ(ShapeCount(0), 7);
    EXPECT_EQ(Shape(0, 0)->GetLineStyle(), 0x88);
    EXPECT_EQ(Shape(0, 0)->GetColor(), kNoColor);  // auxiliary lines report no colour
    EXPECT_EQ(Shape(0, 1)->GetLineStyle(), 1);
    EXPECT_EQ(Shape(0, 1)->GetColor(), 0xFFFF00u);
    EXPECT_DOUBLE_EQ(Shape(0, 1)->GetLineWidth(), 0.5);
    EXPECT_EQ(Shape(0, 2)->GetLineStyle(), 0x88);
    EXPECT_EQ(Shape(0, 3)->GetLineStyle(), 0x88);
    EXPECT_EQ(Shape(0, 4)->GetLineStyle(), 2);
    EXPECT_EQ(Shape(0, 4)->GetColor(), 0u);
    EXPECT_DOUBLE_EQ(Shape(0, 4)->GetLineWidth(), 0.0);
    EXPECT_EQ(Shape(0, 5)->GetLineStyle(), 0x88);
    EXPECT_EQ(Shape(0, 6)->GetLineStyle(), 0);
    auto* line = dynamic_cast<MLineShape*>(Shape(0, 1));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->m_end, MFloatPoint(10, 1));
}

TEST_F(JwcReaderTest, ArcRecordsBecomeCirclesArcsEllipsesAndOutlines) {
    JwcBuilder b;
    b.arcs.push_back(ArcRecord(5, 6, 2, 10000, 0, 0, 0, 1, 2, 0));
    b.arcs.push_back(ArcRecord(5, 6, 2, 10000, 30 * kDegree, 90 * kDegree, 10 * kDegree, 1, 2, 0));
    b.arcs.push_back(ArcRecord(0, 0, 8, 5000, 0, 0, 0, 1, 2, 0));
    b.arcs.push_back(ArcRecord(0, 0, 8, 5000, 0, 90 * kDegree, 0, 1, 2, 0));
    b.arcs.push_back(ArcRecord(0, 0, 8, 5000, 270 * kDegree, 90 * kDegree, 0, 1, 2, 0));
    b.arcs.push_back(ArcRecord(0, 0, 8, 5000, 0, 0, 90 * kDegree, 1, 2, 0));
    ASSERT_EQ(Read(b.Build()), 1);
    ASSERT_EQ(ShapeCount(0), 6);

    auto* circle = dynamic_cast<MCircleShape*>(Shape(0, 0));
    ASSERT_TRUE(circle && circle->GetTypeId() == 2);
    EXPECT_EQ(circle->m_center, MFloatPoint(5, 6));
    EXPECT_EQ(circle->m_radius, 2);

    auto* arc = dynamic_cast<MCircleArcShape*>(Shape(0, 1));
    ASSERT_NE(arc, nullptr);
    EXPECT_NEAR(arc->m_startAngle, 40 * kPi / 180, 1e-12);
    EXPECT_NEAR(arc->m_endAngle, 100 * kPi / 180, 1e-12);

    auto* ellipse = dynamic_cast<MEllipseShape*>(Shape(0, 2));
    ASSERT_NE(ellipse, nullptr);
    EXPECT_EQ(ellipse->m_radiusX, 8);
    EXPECT_EQ(ellipse->m_radiusY, 4);

    auto* open = dynamic_cast<MPolygonShape*>(Shape(0, 3));
    ASSERT_TRUE(open && open->GetTypeId() == 7);
    EXPECT_FALSE(open->IsClosed());
    ASSERT_EQ(open->GetPoints().GetSize(), 49);
    EXPECT_TRUE(open->GetPoints()[0].IsEqual({8, 0}));
    EXPECT_TRUE(open->GetPoints()[48].IsEqual({0, 4}));
    EXPECT_TRUE(open->GetPoints()[24].IsEqual({8 * std::cos(kPi / 4), 4 * std::sin(kPi / 4)}));

    // An end not above the start goes one turn on: 270° to 450°.
    auto* wrapped = dynamic_cast<MPolygonShape*>(Shape(0, 4));
    ASSERT_NE(wrapped, nullptr);
    EXPECT_TRUE(wrapped->GetPoints()[0].IsEqual({0, -4}));
    EXPECT_TRUE(wrapped->GetPoints()[24].IsEqual({8, 0}));

    auto* tilted = dynamic_cast<MPolygonShape*>(Shape(0, 5));
    ASSERT_TRUE(tilted && tilted->GetTypeId() == 7);
    EXPECT_TRUE(tilted->IsClosed());
    ASSERT_EQ(tilted->GetPoints().GetSize(), 48);
    EXPECT_TRUE(tilted->GetPoints()[0].IsEqual({0, 8}));  // the major axis turned upright
    EXPECT_TRUE(tilted->GetPoints()[12].IsEqual({-4, 0}));
}

TEST_F(JwcReaderTest, TextRecordsBecomeTexts) {
    JwcBuilder b;
    b.denominator = 50;  // A3 at 1:50 with 420 file units: coordinates × 50
    b.block = std::string("abc\0\x93\xfa\x96\x7b\0xyz\0", 13);
    b.texts.push_back(TextRecord(1, 1, 2, 2, 0, 0x1000, 3, 0, 0));
    b.texts.push_back(TextRecord(0, 0, 1, 0, 4, 0x1000, 5, 0, 0x20));
    b.texts.push_back(TextRecord(0, 0, 1, 0, 9, 0x1000, 9, 0, 0));   // kind colour 7: auxiliary
    b.kinds[10] = 12;                                                // kind 10 colour pen 12
    b.texts.push_back(TextRecord(0, 0, 1, 0, 8, 0x1000, 10, 0, 0));  // the empty string after "日本"
    ASSERT_EQ(Read(b.Build()), 1);
    EXPECT_DOUBLE_EQ(doc.GetPaperInfo().GetScale(), 0.02);
    ASSERT_EQ(ShapeCount(0), 4);

    auto* t = dynamic_cast<MTextShape*>(Shape(0, 0));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetString(), "abc");
    EXPECT_EQ(t->GetFontName(), "Font");
    EXPECT_DOUBLE_EQ(t->GetTextSize(), 3.0 / 0.02);  // kind 3: 30 × 0.1 mm
    EXPECT_EQ(t->GetAlignment(), 8);
    EXPECT_EQ(t->GetPoint(), MFloatPoint(50, 50));
    EXPECT_NEAR(t->GetAngle(), kPi / 4, 1e-12);
    EXPECT_EQ(t->GetTextColor(), pens.colors[1]);  // kind 3 uses pen 2

    auto* v = dynamic_cast<MTextShape*>(Shape(0, 1));
    EXPECT_EQ(v->GetString(), "日本");
    EXPECT_TRUE(v->IsVertical());
    EXPECT_EQ(v->GetAlignment(), 0);
    EXPECT_NEAR(v->GetAngle(), kPi / 2, 1e-12);
    EXPECT_EQ(v->GetTextColor(), pens.colors[2]);  // kind 5 uses pen 3

    auto* aux = dynamic_cast<MTextShape*>(Shape(0, 2));
    EXPECT_EQ(aux->GetString(), "xyz");
    EXPECT_EQ(aux->GetLineStyle(), 0x88);
    EXPECT_TRUE(aux->HasTextFlag(kTextFrame));
    EXPECT_EQ(aux->GetTextColor(), 0xFF0000u);

    auto* none = dynamic_cast<MTextShape*>(Shape(0, 3));
    EXPECT_EQ(none->GetString(), "");
    EXPECT_EQ(none->GetTextColor(), 0u);
    EXPECT_DOUBLE_EQ(none->GetTextSize(), 10.0 / 0.02);
}

TEST_F(JwcReaderTest, PointsAndMarks) {
    JwcBuilder b;
    b.denominator = 100;
    b.points.push_back(PointRecord(1, 2, 0, 3));
    b.markXY = {{{1, 1}}, {{2, 3}}};
    b.markLayers = {0, 0x12};
    ASSERT_EQ(Read(b.Build()), 1);
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 2);
    ASSERT_EQ(ShapeCount(0), 2);  // the first mark, then the point
    auto* m1 = dynamic_cast<MMarkShape*>(Shape(0, 0));
    ASSERT_NE(m1, nullptr);
    EXPECT_EQ(m1->m_position, MFloatPoint(100, 100));
    EXPECT_EQ(m1->m_size, 2.0);
    auto* m2 = dynamic_cast<MMarkShape*>(Shape(1, 0));
    ASSERT_NE(m2, nullptr);
    EXPECT_EQ(m2->m_position, MFloatPoint(200, 300));
    auto* p = dynamic_cast<MCircleShape*>(Shape(0, 1));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->m_center, MFloatPoint(100, 200));
    EXPECT_DOUBLE_EQ(p->m_radius, 0.5 / 0.01);
    EXPECT_EQ(p->GetColor(), pens.colors[2]);
    EXPECT_EQ(p->GetPoints().GetSize(), 48);
}

TEST_F(JwcReaderTest, PaperAndScaleComeFromTheSettings) {
    JwcBuilder b;
    b.paperCode = 4;
    b.denominator = 50;
    b.paperUnits = 518;
    b.lines.push_back(LineRecord(0, 0, 518, 0, 1, 2, 0));
    ASSERT_EQ(Read(b.Build()), 1);
    const MPaperInfo& paper = doc.GetPaperInfo();
    EXPECT_EQ(paper.GetSizeInfo().m_name, "A4");
    EXPECT_EQ(paper.GetSizeInfo().m_sizeText, "297mm×210mm");
    EXPECT_EQ(paper.GetHorizontal(), 1);
    EXPECT_DOUBLE_EQ(paper.GetScale(), 0.02);
    EXPECT_EQ(paper.GetScaleInfo().m_name, "1:50.000000");
    EXPECT_NEAR(dynamic_cast<MLineShape*>(Shape(0, 0))->m_end.x, 297 * 50, 1e-9);

    doc.DeleteContents();
    b.denominator = 0.5;
    b.paperCode = 77;  // unknown: A3
    b.variant = "a.f.m...............";
    ASSERT_EQ(Read(b.Build()), 1);
    EXPECT_EQ(doc.GetPaperInfo().GetSizeInfo().m_name, "A3");
    EXPECT_DOUBLE_EQ(doc.GetPaperInfo().GetScale(), 2);
    EXPECT_EQ(doc.GetPaperInfo().GetScaleInfo().m_name, "2.000000:1");

    // The oldest variant has no paper width value: it is always 518 units.
    doc.DeleteContents();
    b.variant = "a...................";
    b.denominator = 1;
    b.paperUnits = 1000;
    ASSERT_EQ(Read(b.Build()), 1);
    EXPECT_NEAR(dynamic_cast<MLineShape*>(Shape(0, 0))->m_end.x, 420, 1e-9);

    struct {
        int code;
        const char* name;
        double width;
    } papers[] = {{0, "A0", 1189}, {20, "2A", 1682}, {500, "50m", 50000}, {1000, "100m", 100000}};
    for (const auto& p : papers) {
        EXPECT_EQ(GetJWCPaperSize(p.code).m_name, p.name);
        EXPECT_EQ(GetJWCPaperSize(p.code).m_width, p.width);
    }
}

TEST_F(JwcReaderTest, LayersAreMadeInJwOrderAndNamedFromTheFile) {
    {
        MJWCReader reader(doc);
        reader.AddShape(new MLineShape({0, 0}, {1, 1}), 0x25);
        reader.AddShape(new MLineShape({0, 0}, {1, 1}), 0x03);
        reader.AddShape(new MLineShape({0, 0}, {1, 1}), 0x30);
        reader.AddShape(new MLineShape({0, 0}, {1, 1}), 0x26);
        reader.AddShape(new MLineShape({0, 0}, {0, 0}), 0x40);  // not valid: no layer
        ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 4);
        EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetName(), "1-4");
        EXPECT_EQ(doc.GetLayers()->GetLayer(1)->GetName(), "3-6");
        EXPECT_EQ(doc.GetLayers()->GetLayer(2)->GetName(), "3-7");
        EXPECT_EQ(doc.GetLayers()->GetLayer(3)->GetName(), "4-1");
        EXPECT_EQ(reader.GetDocumentLayer(0x25), 1);
        EXPECT_EQ(reader.GetDocumentLayer(0x30), 3);
        EXPECT_EQ(reader.GetDocumentLayer(0x40), -1);
    }
    doc.DeleteContents();

    JwcBuilder b;
    b.lines.push_back(LineRecord(0, 0, 1, 0, 1, 2, 0x25));
    b.lines.push_back(LineRecord(0, 0, 1, 0, 1, 2, 0x03));
    b.lines.push_back(LineRecord(0, 0, 1, 0, 1, 2, 0x31));
    b.lines.push_back(LineRecord(0, 0, 1, 0, 1, 2, 0x32));
    b.groupNames[2] = Utf8ToCp932("基礎");
    b.layerNames[0x25] = Utf8ToCp932("壁");
    b.groupNames[3] = "G";
    b.layerNames[0x31] = "x";
    b.layerNames[0x32] = "x";  // the same composed name as 0x31
    ASSERT_EQ(Read(b.Build()), 1);
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 4);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetName(), "0-3");
    EXPECT_EQ(doc.GetLayers()->GetLayer(1)->GetName(), "基礎-壁");
    EXPECT_EQ(doc.GetLayers()->GetLayer(2)->GetName(), "G-x");
    EXPECT_EQ(doc.GetLayers()->GetLayer(3)->GetName(), "G-x-1");
    EXPECT_EQ(doc.GetLayers()->GetLayer(1)->GetSize(), 1);
}

TEST_F(JwcReaderTest, ReadAsksForThePensFirst) {
    struct Prompt : MJWCSettingPrompt {
        BOOL AskPenSettings(MJWCPenSettings& s) override {
            ++asked;
            s.colors[1] = 0x123456;
            return answer;
        }
        int asked = 0;
        BOOL answer = FALSE;
    } prompt;
    MJWCSettingPrompt* previous = SetJWCSettingPrompt(&prompt);
    const std::string dir = MakeTempDir("JwcReaderRead");
    JwcBuilder b;
    b.lines.push_back(LineRecord(0, 0, 1, 0, 1, 2, 0));
    { std::ofstream(dir + "/a.jwc", std::ios::binary) << b.Build(); }
    MessageBoxRecorder recorder;
    {
        MJWCReader reader(doc);
        EXPECT_EQ(reader.Read(dir + "/a.jwc"), 0);  // cancelled: no message
    }
    EXPECT_TRUE(recorder.Messages().empty());
    EXPECT_EQ(doc.GetLayers()->GetLayerCount(), 0);
    prompt.answer = TRUE;
    {
        MJWCReader reader(doc);
        EXPECT_EQ(reader.Read(dir + "/a.jwc"), 1);
        EXPECT_EQ(Shape(0, 0)->GetColor(), 0x123456u);
        EXPECT_EQ(reader.Read(dir + "/missing.jwc"), 0);
    }
    EXPECT_TRUE(recorder.Saw(62700));
    EXPECT_EQ(prompt.asked, 3);
    SetJWCSettingPrompt(previous);
}

TEST(JwcPenSettingsTest, ProfileValuesAreCheckedWhenLoaded) {
    auto profile = CreateMemoryProfile();
    MJWCPenSettings s;
    s.Load(*profile);
    EXPECT_EQ(s.colors[0], 0xFFFF00u);
    EXPECT_EQ(s.widths[5], 0);
    s.widths[2] = 7;
    s.colors[3] = kNoColor;
    s.Save(*profile);
    EXPECT_EQ(profile->GetProfileInt("JWC", "PENWIDTH3", -1), 7);
    MJWCPenSettings t;
    t.Load(*profile);
    EXPECT_EQ(t.widths[2], 7);
    EXPECT_EQ(t.colors[3], kNoColor);
    EXPECT_DOUBLE_EQ(t.GetWidthMm(3), 0.7);
    EXPECT_EQ(t.GetWidthMm(7), 0.0);
    profile->WriteProfileInt("JWC", "PENWIDTH1", 500);
    profile->WriteProfileInt("JWC", "PENCOLOR2", 0x2000000);
    t.Load(*profile);
    EXPECT_EQ(t.widths[0], 100);
    EXPECT_EQ(t.colors[1], 0u);  // back to pen 2's default
}

TEST_F(JwcReaderTest, ARefusedFileLeavesTheOpenDrawing) {
    // Before, the drawing was emptied first and a refused file left an empty untitled one.
    MJWCXDFInterchangeFactory factory;
    MInterchangeFactory* previous = SetInterchangeFactory(&factory);
    const std::string dir = MakeTempDir("JwcRefused");
    const std::string kept = dir + "/kept.qfd";
    doc.SetPathName(kept, FALSE);
    const int layer = doc.AddLayer(new MLayer("L", TRUE, TRUE, TRUE));
    doc.AppendShape(new MLineShape({0, 0}, {1, 1}), layer);
    JwcBuilder b;
    std::string foreign = b.Build();
    foreign[3] = 'X';
    b.variant = "b...m...............";
    for (const auto& [bytes, id] : {std::pair<std::string, UINT>{foreign, 249}, {b.Build(), 206}}) {
        std::ofstream(dir + "/bad.jwc", std::ios::binary | std::ios::trunc) << bytes;
        MessageBoxRecorder recorder;
        EXPECT_FALSE(doc.OnOpenDocument(dir + "/bad.jwc"));
        EXPECT_TRUE(recorder.Saw(id));
        ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 1);
        EXPECT_EQ(ShapeCount(0), 1);
        EXPECT_EQ(doc.GetPathName(), kept);
    }
    SetInterchangeFactory(previous);
}

}  // namespace
