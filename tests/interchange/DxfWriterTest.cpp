// The DXF writer: header and tables, coordinates and text, failures, the document's export, and
// its files checked by an independent reader (ezdxf audit) and read back into equal shapes.
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "DxfTestSupport.h"
#include "document/MirrorOStream.h"
#include "interchange/DxfColor.h"
#include "interchange/DxfOutStream.h"
#include "interchange/DxfWriter.h"
#include "interchange/InterchangeFactory.h"
#include "model/settings/LineStyle.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/curves/FanShape.h"
#include "model/shapes/curves/SplineLoopShape.h"
#include "model/shapes/curves/SplineShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/MarkShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/lines/RectShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Cp932.h"

using namespace dxftest;

namespace {

constexpr double kPi = 3.141592653589793;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

MLineShape* Line(double x1, double y1, double x2, double y2, COLORREF color = 0, int style = 0) {
    auto* line = new MLineShape(MFloatPoint(x1, y1), MFloatPoint(x2, y2));
    line->SetColor(color);
    line->SetLineStyle(style);
    return line;
}

MTextShape* Text(const std::string& s, double x, double y, int alignment, double angle = 0.0) {
    auto* text = new MTextShape();
    text->SetString(s);
    text->SetTextSize(3.5);
    text->SetAlignment(alignment);
    text->SetAngle(angle);
    text->SetTextColor(0x0000FF);
    text->MoveTo(nullptr, MFloatPoint(x, y));
    return text;
}

class DxfWriter : public DxfTest {
protected:
    int AddLayer(const std::string& name) { return doc.AddLayer(new MLayer(name, TRUE, TRUE, TRUE)); }
    std::string Written() { return MDXFWriter(doc).BuildText(); }
};

TEST_F(DxfWriter, DrawingWithoutLayers) {
    const std::string text = Written();
    EXPECT_TRUE(Contains(text, "  0\nTABLE\n  2\nLAYER\n 70\n0\n  0\nENDTAB\n"));
    EXPECT_TRUE(Contains(text, "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n"));
    EXPECT_EQ(text.rfind("  0\nSECTION\n  2\nHEADER\n", 0), 0u);
}

TEST_F(DxfWriter, HeaderAndTables) {
    AddLayer("壁");
    AddLayer("");
    AddLayer("壁");
    const std::string text = Written();
    EXPECT_TRUE(Contains(text, "  9\n$ACADVER\n  1\nAC1009\n  9\n$DWGCODEPAGE\n  3\nANSI_932\n"));
    // The paper in drawing units (A4 landscape at 1:100).
    const MPaperInfo& paper = doc.GetPaperInfo();
    const std::string size = " 10\n" + FormatDxfReal(paper.GetSize().cx / paper.GetScale()) + "\n 20\n" +
                             FormatDxfReal(paper.GetSize().cy / paper.GetScale()) + "\n";
    EXPECT_NEAR(paper.GetSize().cx / paper.GetScale(), 29700, 1e-6);
    EXPECT_TRUE(Contains(text, "  9\n$EXTMIN\n 10\n0\n 20\n0\n  9\n$EXTMAX\n" + size));
    EXPECT_TRUE(Contains(text, "  9\n$LIMMAX\n" + size + "  9\n$DIMSCALE\n 40\n1\n"));
    EXPECT_TRUE(Contains(text,
                         "  0\nTABLE\n  2\nLTYPE\n 70\n9\n  0\nLTYPE\n  2\nCONTINUOUS\n 70\n64\n  3\n"
                         "----------\n 72\n65\n 73\n0\n 40\n0\n"));
    EXPECT_TRUE(Contains(text,
                         "  2\nDASHED1\n 70\n64\n  3\n--  --  --  --  --  --  --  --  \n 72\n65\n 73\n2\n"
                         " 40\n2.5\n 49\n1.25\n 49\n-1.25\n"));
    EXPECT_TRUE(Contains(text,
                         "  2\nHOJO\n 70\n64\n  3\n-   -   -   -   -   -   -   -   \n 72\n65\n 73\n2\n"
                         " 40\n2.5\n 49\n0.625\n 49\n-1.875\n  0\nENDTAB\n"));
    EXPECT_TRUE(Contains(text,
                         "  0\nSTYLE\n  2\nTATEGAKI\n 70\n68\n 40\n0\n 41\n1\n 42\n0\n 50\n0\n 71\n0\n"
                         "  3\nTXT\n  4\nEXTFONT\n"));
    // Each name once; the unnamed layer is layer "0".
    EXPECT_TRUE(Contains(text,
                         "  2\nLAYER\n 70\n2\n  0\nLAYER\n  2\n壁\n 70\n64\n 62\n7\n  6\nCONTINUOUS\n"
                         "  0\nLAYER\n  2\n0\n"));
}

TEST_F(DxfWriter, CoordinatesLoseTheOriginOffsetAndKeepEveryDigit) {
    const int layer = AddLayer("L");
    doc.AppendShape(Line(123456.789, 0.1, 1.0 / 3.0, -7.25), layer);
    auto* none = new MPolygonShape(FALSE);
    none->AddPoint(MFloatPoint(0, 0));
    none->AddPoint(MFloatPoint(1, 1));
    none->SetLineStyle(kLineStyleNone);
    doc.AppendShape(none, layer);
    MDXFWriter writer(doc);
    const MFloatPoint o = writer.GetOriginOffset();
    const MPaperInfo& paper = doc.GetPaperInfo();
    EXPECT_EQ(o.x, -paper.GetOriginOffset().x);
    EXPECT_EQ(o.y, -(paper.GetSize().cy / paper.GetScale()) - paper.GetOriginOffset().y);
    const std::string text = writer.BuildText();
    EXPECT_TRUE(Contains(text, " 10\n" + FormatDxfReal(123456.789 - o.x) + "\n 20\n" +
                                   FormatDxfReal(0.1 - o.y) + "\n 11\n" + FormatDxfReal(1.0 / 3.0 - o.x) +
                                   "\n"));
    // A shape without line style names the continuous line type.
    EXPECT_TRUE(Contains(text, "  0\nPOLYLINE\n  8\nL\n  6\nCONTINUOUS\n"));
    EXPECT_FALSE(Contains(text, "  6\n\n"));
}

TEST_F(DxfWriter, EmptyLineTypesOnlyInGroupSix) {
    std::string groups = "  0\nLINE\n  6\n\n  1\n\n  6\nDASHED1\n";
    FillEmptyLineTypes(groups);
    EXPECT_EQ(groups, "  0\nLINE\n  6\nCONTINUOUS\n  1\n\n  6\nDASHED1\n");
}

TEST_F(DxfWriter, CharactersOutsideCodePage932AreEscaped) {
    EXPECT_EQ(EscapeForCp932("日本 é ü 😀"), "日本 \\U+00E9 \\U+00FC \\U+D83D\\U+DE00");
    const int layer = AddLayer("L");
    doc.AppendShape(Text("日本語 é", 0, 0, kAlignBottom), layer);
    const std::string path = MakeTempDir("dxf-writer-escape") + "/t.dxf";
    ASSERT_EQ(MDXFWriter(doc).Write(path), 1);
    const std::string bytes = ReadFileBytes(path);
    EXPECT_TRUE(Contains(bytes, "  1\r\n" + Utf8ToCp932("日本語") + " \\U+00E9\r\n"));

    MTessarayDoc back;
    MDXFReader reader(back);
    ASSERT_EQ(reader.Read(path), 1);
    ASSERT_EQ(AllShapes(back).size(), 1u);
    EXPECT_EQ(dynamic_cast<MTextShape*>(AllShapes(back)[0])->GetString(), "日本語 é");
}

int FailRename(MMirrorOStream::Step step) {
    return step == MMirrorOStream::kStepRename ? EIO : 0;
}

TEST_F(DxfWriter, FailuresAreReportedAndLeaveTheTarget) {
    doc.AppendShape(Line(0, 0, 1, 1), AddLayer("L"));
    const std::string dir = MakeTempDir("dxf-writer-fail");
    EXPECT_EQ(MDXFWriter(doc).Write(dir + "/missing/x.dxf"), 0);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, MTessarayDoc::FileErrorText(ENOENT));

    const std::string path = dir + "/old.dxf";
    WriteFileBytes(path, "old contents");
    MMirrorOStream::StepHook previous = MMirrorOStream::SetStepHook(FailRename);
    const int result = MDXFWriter(doc).Write(path);
    MMirrorOStream::SetStepHook(previous);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(messages.Messages().size(), 2u);
    EXPECT_EQ(ReadFileBytes(path), "old contents");
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(DxfWriter, TheDocumentExportsAndImportsThroughTheFactory) {
    MInterchangeFactory* previous = GetInterchangeFactory();
    InstallInterchangeFactory();
    doc.AppendShape(Line(0, 0, 10, 10), AddLayer("L"));
    const std::string path = MakeTempDir("dxf-document") + "/drawing.dxf";
    EXPECT_TRUE(doc.OnSaveDocument(path));
    EXPECT_TRUE(std::filesystem::exists(path));

    MTessarayDoc opened;
    EXPECT_TRUE(opened.OnOpenDocument(path));
    ASSERT_EQ(AllShapes(opened).size(), 1u);
    EXPECT_EQ(AllShapes(opened)[0]->GetTypeName(), "LINE");
    EXPECT_EQ(opened.m_importedExtentsValid, 1);
    EXPECT_NEAR(opened.m_importedExtents.right, 29700, 1e-6);
    SetInterchangeFactory(previous);
}

// A drawing of every kind the writer exports, with arrows, frames, auxiliary lines and Japanese.
void FillEveryKind(MTessarayDoc& doc) {
    const int a = doc.AddLayer(new MLayer("壁", TRUE, TRUE, TRUE));
    const int b = doc.AddLayer(new MLayer("Layer 2", TRUE, TRUE, TRUE));
    for (int style = 1; style <= 6; ++style) {
        MLineShape* line = Line(0, style * 10, 50, style * 10 + 5, 0x0000FF, style % 9);
        line->SetArrowsEx(style, 3.0, 7 - style, 2.5);
        doc.AppendShape(line, a);
        auto* poly = new MPolygonShape(FALSE);
        poly->AddPoint(MFloatPoint(100, style * 10));
        poly->AddPoint(MFloatPoint(100, style * 10));
        poly->AddPoint(MFloatPoint(120, style * 10 + 3));
        poly->AddPoint(MFloatPoint(140, style * 10));
        poly->SetArrowsEx(style, 2.0, style, 2.0);
        doc.AppendShape(poly, b);
    }
    doc.AppendShape(Line(0, -10, 30, -10, 0xFFFFFF, kAuxiliaryLine | 8), b);
    auto* circle = new MCircleShape();
    circle->SetCircle(200, 200, 25);
    doc.AppendShape(circle, a);
    auto* arc = new MCircleArcShape();
    arc->SetArc(300, 200, 20, 0.25, 4.0);
    arc->SetArrowsEx(2, 3.0, 5, 3.0);
    doc.AppendShape(arc, a);
    auto* fan = new MCircleFanShape();
    fan->SetArc(400, 200, 20, 1.0, 2.0);
    doc.AppendShape(fan, a);
    auto* ellipse = new MEllipseShape();
    ellipse->SetEllipse(500, 200, 40, 20);
    doc.AppendShape(ellipse, b);
    auto* rect = new MRectShape();
    rect->SetRect(600, 200, 30, 20);
    rect->SetFillStyle(MFillStyle(0x00FF00));
    doc.AppendShape(rect, b);
    auto* spline = new MSplineShape();
    for (int i = 0; i < 5; ++i)
        spline->AddControlPoint(MFloatPoint(700 + i * 10, 200 + (i % 2) * 15));
    doc.AppendShape(spline, b);
    auto* loop = new MSplineLoopShape();
    for (int i = 0; i < 4; ++i)
        loop->AddControlPoint(MFloatPoint(800 + (i % 2) * 20, 200 + (i / 2) * 20));
    doc.AppendShape(loop, b);
    doc.AppendShape(new MMarkShape(), b);
    MTextShape* framed = Text("枠付き %%c", 0, 300, kAlignCentre | kAlignMiddle, 0.5);
    framed->SetTextFlag(kTextFrame, TRUE);
    framed->SetColor(0x00FF00);
    doc.AppendShape(framed, a);
    MTextShape* vertical = Text("縦書き", 50, 300, kAlignRight);
    vertical->SetTextFlag(kTextVertical, TRUE);
    doc.AppendShape(vertical, a);
    auto* multi = new MMultiTextShape();
    multi->SetString("一行目\n二行目\nthird");
    multi->SetTextSize(5);
    multi->MoveTo(nullptr, MFloatPoint(100, 300));
    doc.AppendShape(multi, a);
    auto* group = new MGroupShape();
    group->AddShape(Line(0, 400, 10, 410, 0xFF0000));
    auto* inner = new MGroupShape();
    inner->AddShape(Text("in a group", 20, 400, kAlignBottom));
    group->AddShape(inner);
    doc.AppendShape(group, b);
}

TEST_F(DxfWriter, FilesPassTheIndependentReadersAudit) {
    SKIP_WITHOUT_EZDXF();
    FillEveryKind(doc);
    const std::string dir = MakeTempDir("dxf-writer-audit");
    for (double scale : {0.01, 1.0, 0.5}) {
        doc.GetPaperInfo().SetScale("s", scale);
        const std::string path = dir + "/every-kind-" + std::to_string(scale) + ".dxf";
        ASSERT_EQ(MDXFWriter(doc).Write(path), 1);
        std::string output;
        EXPECT_EQ(RunScript("dxf_audit.py", {path}, &output), 0) << output;
    }
    // An empty drawing too.
    MTessarayDoc empty;
    ASSERT_EQ(MDXFWriter(empty).Write(dir + "/empty.dxf"), 1);
    std::string output;
    EXPECT_EQ(RunScript("dxf_audit.py", {dir + "/empty.dxf"}, &output), 0) << output;
}

// A shape as its kind, numbers, colour and line style, as DXF can carry them.
std::string Describe(const MCadShape* s) {
    char buf[256];
    std::string out;
    const auto num = [&](double v) {
        std::snprintf(buf, sizeof buf, " %.9g", std::fabs(v) < 1e-9 ? 0.0 : v);
        out += buf;
    };
    const auto angle = [&](double a) {
        a = std::fmod(a, 2 * kPi);
        if (a < 0) a += 2 * kPi;
        num(a);
    };
    if (const auto* t = dynamic_cast<const MTextShape*>(s)) {
        out = "TEXT '" + t->GetString() + "'";
        num(t->GetPoint().x);
        num(t->GetPoint().y);
        num(t->GetTextSize());
        angle(t->GetAngle());
        out += " align " + std::to_string(t->GetAlignment()) + " colour " + std::to_string(t->GetTextColor());
        return out;
    }
    if (const auto* a = dynamic_cast<const MCircleArcShape*>(s)) {
        out = "ARC";
        num(a->m_center.x);
        num(a->m_center.y);
        num(a->m_radius);
        angle(a->m_startAngle);
        angle(a->m_endAngle);
    } else if (const auto* c = dynamic_cast<const MCircleShape*>(s)) {
        out = "CIRCLE";
        num(c->m_center.x);
        num(c->m_center.y);
        num(c->m_radius);
    } else if (const auto* l = dynamic_cast<const MLineShape*>(s)) {
        out = "LINE";
        num(l->m_start.x);
        num(l->m_start.y);
        num(l->m_end.x);
        num(l->m_end.y);
    } else if (const auto* p = dynamic_cast<const MPolygonShape*>(s)) {
        out = p->IsClosedFlag() ? "POLYGON closed" : "POLYGON open";
        for (const MFloatPoint& v : p->GetPoints()) {
            num(v.x);
            num(v.y);
        }
    }
    out += " colour " + std::to_string(s->GetColor()) + " style " + std::to_string(s->GetLineStyle());
    return out;
}

// What DXF makes of a colour: its colour number, read back (by block is black outside blocks).
COLORREF ThroughDxf(COLORREF c) {
    const COLORREF back = MDXFReader::ColorOfNumber(GetDXFColorNumber(c));
    return back == MDXFReader::kByBlockColor ? 0 : back;
}

// The shapes as they come back: groups flattened, curves as their outline, in DXF coordinates.
void Expect(const MCadShape* s, const MFloatPoint& o, std::vector<std::string>& out) {
    if (const auto* g = dynamic_cast<const MGroupShape*>(s)) {
        for (int i = 0; i < g->GetShapeCount(); ++i)
            Expect(g->GetShapeAt(i), o, out);
        return;
    }
    std::unique_ptr<MCadShape> copy;
    if (const auto* t = dynamic_cast<const MTextShape*>(s)) {
        auto* text = new MTextShape();
        text->SetString(t->GetString());
        text->SetTextSize(t->GetTextSize());
        text->SetAngle(t->GetAngle());
        text->SetAlignment(t->GetAlignment());
        text->SetPoint(t->GetPoint() - o);
        text->SetTextColor(ThroughDxf(t->GetTextColor()));
        copy.reset(text);
    } else if (dynamic_cast<const MCircleShape*>(s) || dynamic_cast<const MLineShape*>(s)) {
        copy.reset(s->Duplicate());
        copy->Move(MFloatPoint() - o);
    } else if (const auto* p = dynamic_cast<const MPolygonShape*>(s)) {
        auto* polygon = new MPolygonShape(p->IsClosedFlag());
        for (const MFloatPoint& v : p->GetPoints())
            polygon->AddPoint(v - o);
        copy.reset(polygon);
    }
    ASSERT_TRUE(copy);
    copy->SetLineStyle(s->GetLineStyle() == kLineStyleNone ? 0 : s->GetLineStyle());
    copy->SetColor(ThroughDxf(s->GetColor()));
    out.push_back(Describe(copy.get()));
}

TEST_F(DxfWriter, ReadsBackIntoEqualShapes) {
    const int a = AddLayer("壁");
    const int b = AddLayer("B");
    for (int k = 0; k < 9; ++k)
        doc.AppendShape(Line(k, 0, k + 0.5, 123456.789, GetDXFTableColor(k + 1), k), a);
    auto* circle = new MCircleShape();
    circle->SetCircle(1.0 / 3.0, -2.5, 7.125);
    circle->SetColor(0x808080);
    doc.AppendShape(circle, a);
    auto* arc = new MCircleArcShape();
    arc->SetArc(10, 20, 5, 0.3, 2.9);
    doc.AppendShape(arc, b);
    auto* open = new MPolygonShape(FALSE);
    for (int i = 0; i < 5; ++i)
        open->AddPoint(MFloatPoint(i * 1.1, i * i * 0.7));
    open->SetLineStyle(kLineStyleNone);
    doc.AppendShape(open, b);
    auto* rect = new MRectShape();
    rect->SetRect(5, 5, 10, 4);
    doc.AppendShape(rect, b);
    auto* spline = new MSplineShape();
    for (int i = 0; i < 4; ++i)
        spline->AddControlPoint(MFloatPoint(i * 10, (i % 2) * 5));
    doc.AppendShape(spline, b);
    for (int alignment : {0, 1, 2, 4, 5, 6, 8, 9, 10})
        doc.AppendShape(Text("文字 " + std::to_string(alignment), alignment * 10, 50, alignment, 0.25), a);
    auto* group = new MGroupShape();
    group->AddShape(Line(0, 0, 3, 4, 0x00FF00));
    group->AddShape(Text("grouped", 1, 1, kAlignBottom));
    doc.AppendShape(group, b);

    const std::string path = MakeTempDir("dxf-round-trip") + "/r.dxf";
    MDXFWriter writer(doc);
    ASSERT_EQ(writer.Write(path), 1);
    std::vector<std::string> expected;
    for (MCadShape* s : AllShapes(doc))
        Expect(s, writer.GetOriginOffset(), expected);

    MTessarayDoc back;
    MDXFReader reader(back);
    ASSERT_EQ(reader.Read(path), 1);
    std::vector<std::string> got;
    for (MCadShape* s : AllShapes(back))
        got.push_back(Describe(s));
    EXPECT_EQ(got, expected);
    ASSERT_EQ(back.GetLayers()->GetLayerCount(), 2);
    EXPECT_EQ(back.GetLayers()->GetLayer(0)->GetName(), "壁");
}

TEST_F(DxfWriter, MultiLineTextReadsBackAsItsLines) {
    auto* multi = new MMultiTextShape();
    multi->SetString("一行目\n二行目");
    multi->SetTextSize(5);
    multi->MoveTo(nullptr, MFloatPoint(100, 300));
    doc.AppendShape(multi, AddLayer("L"));
    const std::string path = MakeTempDir("dxf-multi") + "/m.dxf";
    ASSERT_EQ(MDXFWriter(doc).Write(path), 1);
    MTessarayDoc back;
    MDXFReader reader(back);
    ASSERT_EQ(reader.Read(path), 1);
    std::vector<std::string> lines;
    for (MCadShape* s : AllShapes(back))
        lines.push_back(dynamic_cast<MTextShape*>(s)->GetString());
    EXPECT_EQ(lines, (std::vector<std::string>{"一行目", "二行目"}));
}

}  // namespace
