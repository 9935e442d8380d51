// The DXF reader on small hand-made files: sections and tables, entities, blocks, colours and line
// types, text decoding, the import entry's questions and cancelling.
#include <cmath>

#include "DxfTestSupport.h"
#include "interchange/DxfColor.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/SplineShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Cp932.h"
#include "platform/Profile.h"

using namespace dxftest;

namespace {

constexpr double kPi = 3.141592653589793;

std::string Entities(const std::string& pairs) {
    return Dxf("0|SECTION|2|ENTITIES|" + pairs + "|0|ENDSEC|0|EOF");
}

MLineShape* AsLine(MCadShape* s) {
    return dynamic_cast<MLineShape*>(s);
}
MTextShape* AsText(MCadShape* s) {
    return dynamic_cast<MTextShape*>(s);
}

class DxfReader : public DxfTest {};

TEST_F(DxfReader, FileWithoutSectionsGivesOneDefaultLayer) {
    EXPECT_EQ(Read(Dxf("999|just a comment")), 1);
    ASSERT_EQ(doc.GetLayers()->GetLayerCount(), 1);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetName(), "Layer1");
    EXPECT_EQ(ShapeCount(), 0);
}

TEST_F(DxfReader, LinesGoToTheirLayersAndEmptyTableLayersAreRemoved) {
    const std::string text =
        Dxf("0|SECTION|2|TABLES|0|TABLE|2|LAYER|70|2|"
            "0|LAYER|2|WALLS|70|0|62|1|6|CONTINUOUS|"
            "0|LAYER|2|EMPTY|70|0|62|3|6|CONTINUOUS|0|ENDTAB|0|ENDSEC|"
            "0|SECTION|2|ENTITIES|"
            "0|LINE|8|WALLS|10|1.5|20|2|30|0|11|4|21|6|"
            "0|LINE|8|NEW|62|5|10|0|20|0|11|1|21|0|"
            "0|ENDSEC|0|EOF");
    EXPECT_EQ(Read(text), 1);
    const MDocShapeArray* layers = doc.GetLayers();
    ASSERT_EQ(layers->GetLayerCount(), 2);
    EXPECT_EQ(layers->GetLayer(0)->GetName(), "WALLS");
    EXPECT_EQ(layers->GetLayer(1)->GetName(), "NEW");
    MLineShape* line = AsLine(layers->GetLayer(0)->GetAt(0));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->m_start, MFloatPoint(1.5, 2));
    EXPECT_EQ(line->m_end, MFloatPoint(4, 6));
    EXPECT_EQ(line->GetColor(), GetDXFTableColor(1));  // by layer: red
    EXPECT_EQ(line->GetLineStyle(), 0);
    EXPECT_EQ(line->GetLineWidth(), 0.0);
    EXPECT_EQ(layers->GetLayer(1)->GetAt(0)->GetColor(), GetDXFTableColor(5));
}

TEST_F(DxfReader, SectionNamedEofEndsReading) {
    EXPECT_EQ(Read(Dxf("0|SECTION|2|EOF|0|SECTION|2|ENTITIES|0|LINE|10|0|20|0|11|1|21|1|0|ENDSEC")), 1);
    EXPECT_EQ(ShapeCount(), 0);
}

TEST_F(DxfReader, StructureNamesMayCarryBlanks) {
    EXPECT_EQ(Read(Dxf("  0|SECTION |  2| ENTITIES|  0|LINE  |10|0|20|0|11|1|21|1|0|ENDSEC|0|EOF")), 1);
    EXPECT_EQ(ShapeCount(), 1);
}

TEST_F(DxfReader, PercentCodesOfText) {
    Read(
        Entities("0|TEXT|8|T|10|1|20|2|40|3.5|50|90|1|%%c25|0|TEXT|8|T|10|0|20|0|40|1|1|end%%|"
                 "0|TEXT|8|T|10|0|20|0|40|1|1|%%d %%p %%% %%u%%176"));
    ASSERT_EQ(ShapeCount(), 3);
    MTextShape* t = AsText(Shape(0));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetString(), Cp932ToUtf8("\x83\xB3") + "25");
    EXPECT_EQ(t->GetPoint(), MFloatPoint(1, 2));
    EXPECT_DOUBLE_EQ(t->GetTextSize(), 3.5);
    EXPECT_DOUBLE_EQ(t->GetAngle(), kPi / 2);
    EXPECT_EQ(t->GetAlignment(), kAlignBottom);
    EXPECT_EQ(t->GetFontName(), AfxGetProfile().GetProfileString("DXF", "FONT"));
    EXPECT_EQ(AsText(Shape(1))->GetString(), "end");
    EXPECT_EQ(AsText(Shape(2))->GetString(), Cp932ToUtf8("\x81\x8B \x81\x7D % ") + "\xC2\xB0");
}

TEST_F(DxfReader, JustifiedTextStandsAtItsAlignmentPoint) {
    Read(
        Entities("0|TEXT|10|1|20|1|11|5|21|6|72|1|73|2|40|1|1|a|0|TEXT|10|1|20|1|11|5|21|6|72|4|40|1|1|b|"
                 "0|TEXT|10|1|20|1|11|5|21|6|73|3|40|1|1|c|0|TEXT|10|1|20|1|11|5|21|6|72|5|40|1|1|fit|"
                 "0|TEXT|10|1|20|1|72|2|40|1|1|no point 11"));
    ASSERT_EQ(ShapeCount(), 5);
    const auto check = [&](int i, int alignment, MFloatPoint p) {
        MTextShape* t = AsText(Shape(i));
        EXPECT_EQ(t->GetAlignment(), alignment) << i;
        EXPECT_EQ(t->GetPoint(), p) << i;
    };
    check(0, kAlignCentre | kAlignMiddle, MFloatPoint(5, 6));
    check(1, kAlignCentre | kAlignMiddle, MFloatPoint(5, 6));
    check(2, 0, MFloatPoint(5, 6));             // top left
    check(3, kAlignBottom, MFloatPoint(1, 1));  // fitted between the points: from the first
    check(4, kAlignBottom, MFloatPoint(1, 1));
}

TEST_F(DxfReader, FontComesFromTheProfileWithTheDefaultWrittenFirst) {
    AfxGetProfile().WriteProfileString("DXF", "FONT", "");
    { MDXFReader reader(doc); }
    EXPECT_EQ(AfxGetProfile().GetProfileString("DXF", "FONT"), "ＭＳ ゴシック");
    AfxGetProfile().WriteProfileString("DXF", "FONT", "IPAGothic");
    Read(Entities("0|TEXT|10|0|20|0|40|1|1|x"));
    EXPECT_EQ(Shape(0)->TextStyle().fontName.Name(), "IPAGothic");
    AfxGetProfile().WriteProfileString("DXF", "FONT", "");
}

TEST_F(DxfReader, VerticalTextFromItsStyle) {
    Read(
        Dxf("0|SECTION|2|TABLES|0|TABLE|2|STYLE|0|STYLE|2|TATE|70|4|0|ENDTAB|0|ENDSEC|"
            "0|SECTION|2|ENTITIES|0|TEXT|7|tate|10|0|20|0|40|1|1|a|0|TEXT|7|OTHER|10|0|20|0|40|1|1|b|"
            "0|ENDSEC|0|EOF"));
    ASSERT_EQ(ShapeCount(), 2);
    EXPECT_TRUE(Shape(0)->HasTextFlag(kTextVertical));
    EXPECT_FALSE(Shape(1)->HasTextFlag(kTextVertical));
}

TEST_F(DxfReader, LineTypesMatchTheNearestStyle) {
    EXPECT_EQ(MDXFReader::MatchLineStyle({}), 0);
    EXPECT_EQ(MDXFReader::MatchLineStyle({0.0, 0.0}), 0);
    EXPECT_EQ(MDXFReader::MatchLineStyle({1.0, -1.0}),
              1);  // same shape as DASHED1 and DASHED2; nearer length
    EXPECT_EQ(MDXFReader::MatchLineStyle({2.5, -2.5}), 2);
    EXPECT_EQ(MDXFReader::MatchLineStyle({0.5, -1.5}), 8);  // DOT
    EXPECT_EQ(MDXFReader::MatchLineStyle({3.75, -1.25, 1.25, -1.25}), 4);

    Read(
        Dxf("0|SECTION|2|TABLES|0|TABLE|2|LTYPE|0|LTYPE|2|ZERO|49|0|49|0|"
            "0|LTYPE|2|Dashed|73|2|40|5|49|2.5|49|-2.5|0|ENDTAB|"
            "0|TABLE|2|LAYER|0|LAYER|2|D|6|DASHED|62|7|0|ENDTAB|0|ENDSEC|0|SECTION|2|ENTITIES|"
            "0|LINE|8|D|6|ZERO|10|0|20|0|11|1|21|0|"
            "0|LINE|8|D|10|0|20|0|11|1|21|0|"            // by layer, without a name
            "0|LINE|8|D|6|BYLAYER|10|0|20|0|11|1|21|0|"  // by layer, named
            "0|LINE|8|D|6|UNKNOWN|10|0|20|0|11|1|21|0|"  // not in the table
            "0|LINE|8|D|6|ByBlock|10|0|20|0|11|1|21|0|"  // by block outside a block
            "0|ENDSEC|0|EOF"));
    ASSERT_EQ(ShapeCount(), 5);
    EXPECT_EQ(Shape(0)->GetLineStyle(), 0);
    EXPECT_EQ(Shape(1)->GetLineStyle(), 2);
    EXPECT_EQ(Shape(2)->GetLineStyle(), 2);
    EXPECT_EQ(Shape(3)->GetLineStyle(), 0);
    EXPECT_EQ(Shape(4)->GetLineStyle(), 0);
}

TEST_F(DxfReader, ColourNumbers) {
    EXPECT_EQ(MDXFReader::ColorOfNumber(300), 0u);
    EXPECT_EQ(MDXFReader::ColorOfNumber(-5), kNoColor);
    EXPECT_EQ(MDXFReader::ColorOfNumber(37), RGB(0x4C, 0x39, 0x26));  // the palette's own, not a sixteenth
    EXPECT_EQ(MDXFReader::ColorOfNumber(5), 0xFF0000u);
    EXPECT_EQ(MDXFReader::ColorOfNumber(0), MDXFReader::kByBlockColor);

    // By layer through the table; a layer without an entry or with 256 gives black.
    Read(
        Dxf("0|SECTION|2|TABLES|0|TABLE|2|LAYER|0|LAYER|2|G|62|3|0|LAYER|2|OFF|62|-4|0|ENDTAB|0|ENDSEC|"
            "0|SECTION|2|ENTITIES|0|CIRCLE|8|G|10|0|20|0|40|1|0|CIRCLE|8|OFF|10|0|20|0|40|1|"
            "0|CIRCLE|8|X|10|0|20|0|40|1|0|CIRCLE|8|X|62|0|10|0|20|0|40|1|0|ENDSEC|0|EOF"));
    ASSERT_EQ(ShapeCount(), 4);
    EXPECT_EQ(Shape(0)->GetColor(), 0x00FF00u);
    EXPECT_EQ(Shape(1)->GetColor(), kNoColor);
    EXPECT_EQ(Shape(2)->GetColor(), 0u);
    EXPECT_EQ(Shape(3)->GetColor(), 0u);  // by block outside a block
}

TEST_F(DxfReader, CirclesArcsAndInvalidShapes) {
    Read(
        Entities("0|CIRCLE|10|1|20|2|40|3|0|ARC|10|0|20|0|40|2|50|0|51|90|"
                 "0|CIRCLE|10|0|20|0|40|0|0|LINE|10|1|20|1|11|1|21|1|0|TEXT|10|0|20|0|40|0|1|x"));
    ASSERT_EQ(ShapeCount(), 2);
    auto* circle = dynamic_cast<MCircleShape*>(Shape(0));
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->GetTypeName(), "CIRCLE");
    EXPECT_EQ(circle->m_center, MFloatPoint(1, 2));
    EXPECT_EQ(circle->m_radius, 3.0);
    auto* arc = dynamic_cast<MCircleArcShape*>(Shape(1));
    ASSERT_NE(arc, nullptr);
    EXPECT_DOUBLE_EQ(arc->m_endAngle, kPi / 2);
}

TEST_F(DxfReader, PolylinesAndSolids) {
    Read(
        Entities("0|POLYLINE|8|P|66|1|70|1|0|VERTEX|8|P|10|0|20|0|0|VERTEX|8|P|10|4|20|0|"
                 "0|VERTEX|8|P|10|4|20|3|0|SEQEND|8|P|"
                 "0|POLYLINE|70|0|0|VERTEX|10|1|20|1|0|SEQEND|"  // one vertex: nothing
                 "0|SOLID|62|1|10|0|20|0|11|1|21|0|12|1|22|1|13|1|23|1|"
                 "0|SOLID|10|0|20|0|11|2|21|0|12|0|22|2|"  // three corners only
                 "0|LWPOLYLINE|90|3|70|1|10|0|20|0|10|1|20|0|10|1|20|1|"
                 "0|LEADER|10|0|20|0|10|5|20|5|0|LWPOLYLINE|10|0|20|0"));
    ASSERT_EQ(ShapeCount(), 5);
    auto* poly = dynamic_cast<MPolygonShape*>(Shape(0));
    ASSERT_NE(poly, nullptr);
    EXPECT_TRUE(poly->IsClosedFlag());
    ASSERT_EQ(poly->GetPoints().GetSize(), 3);
    EXPECT_EQ(poly->GetPoints()[2], MFloatPoint(4, 3));

    auto* solid = dynamic_cast<MPolygonShape*>(Shape(1));
    ASSERT_EQ(solid->GetPoints().GetSize(), 3);
    EXPECT_EQ(solid->GetFillStyle(), MFillStyle(GetDXFTableColor(1)));
    auto* three = dynamic_cast<MPolygonShape*>(Shape(2));
    ASSERT_EQ(three->GetPoints().GetSize(), 3);
    EXPECT_EQ(three->GetPoints()[2], MFloatPoint(0, 2));

    auto* lw = dynamic_cast<MPolygonShape*>(Shape(3));
    EXPECT_TRUE(lw->IsClosedFlag());
    EXPECT_EQ(lw->GetPoints().GetSize(), 3);
    auto* leader = dynamic_cast<MPolygonShape*>(Shape(4));
    EXPECT_FALSE(leader->IsClosedFlag());
    EXPECT_EQ(leader->GetPoints().GetSize(), 2);
}

TEST_F(DxfReader, PolyfaceFaceRecordsAndSplineFitVertices) {
    Read(
        Entities("0|POLYLINE|70|64|0|VERTEX|70|192|10|0|20|0|0|VERTEX|70|192|10|3|20|0|"
                 "0|VERTEX|70|192|10|3|20|3|0|VERTEX|70|128|71|1|72|2|73|3|0|SEQEND|"
                 "0|POLYLINE|70|4|0|VERTEX|70|16|10|0|20|0|0|VERTEX|70|16|10|10|20|10|"
                 "0|VERTEX|70|8|10|0|20|0|0|VERTEX|70|8|10|5|20|4|0|VERTEX|70|8|10|10|20|10|0|SEQEND"));
    ASSERT_EQ(ShapeCount(), 2);
    EXPECT_EQ(Shape(0)->GetPoints().GetSize(), 3);  // no face record at (0, 0)
    auto* spline = dynamic_cast<MSplineShape*>(Shape(1));
    ASSERT_NE(spline, nullptr);
    ASSERT_EQ(spline->GetControlPointCount(), 3);
    EXPECT_EQ(spline->GetControlPoint(1), MFloatPoint(5, 4));
}

TEST_F(DxfReader, MTextLinesFormattingAndLongText) {
    std::string longText;
    for (int i = 0; i < 30; ++i)
        longText += "0123456789";
    const std::string chunk1 = longText.substr(0, 250), chunk2 = longText.substr(250);
    Read(
        Entities("0|MTEXT|10|1|20|2|40|2.5|41|30|71|5|11|0|21|1|1|first\\Psecond|"
                 "0|MTEXT|10|0|20|0|40|1|1|{\\fArial;abc}|"
                 "0|MTEXT|10|0|20|0|40|1|3|" +
                 chunk1 + "|1|" + chunk2 +
                 "|"
                 "0|MTEXT|10|0|20|0|40|1|1|{\\H2.5x;}|"  // nothing left: no shape
                 "0|MTEXT|10|0|20|0|40|1|1|50% \\Lunder\\l \\S1^2;"));
    ASSERT_EQ(ShapeCount(), 4);
    auto* multi = dynamic_cast<MMultiTextShape*>(Shape(0));
    ASSERT_NE(multi, nullptr);
    EXPECT_EQ(multi->GetString(), "first\nsecond");
    EXPECT_EQ(multi->GetAlignment(), 5);
    EXPECT_DOUBLE_EQ(multi->GetBoxWidth(), 30);
    EXPECT_DOUBLE_EQ(multi->GetBoxHeight(), -5);
    EXPECT_DOUBLE_EQ(multi->GetAngle(), kPi / 2);
    EXPECT_EQ(multi->GetPoint(), MFloatPoint(1, 2));
    EXPECT_EQ(Shape(1)->GetTypeName(), "TEXT");
    EXPECT_EQ(AsText(Shape(1))->GetString(), "abc");
    EXPECT_EQ(AsText(Shape(2))->GetString(), longText);
    EXPECT_EQ(AsText(Shape(3))->GetString(), "50% under 1/2");
}

TEST_F(DxfReader, BlocksArePlacedMovedScaledAndRotated) {
    const std::string text =
        Dxf("0|SECTION|2|BLOCKS|0|BLOCK|8|0|2|B|70|0|10|1|20|1|0|LINE|8|0|10|1|20|1|11|2|21|1|"
            "0|TEXT|8|0|10|1|20|1|40|1|1|T|0|ENDBLK|0|ENDSEC|"
            "0|SECTION|2|ENTITIES|0|INSERT|8|L|62|1|2|B|10|10|20|10|41|2|42|2|50|90|"
            "0|INSERT|8|L|2|MISSING|10|0|20|0|0|ENDSEC|0|EOF");
    Read(text);
    ASSERT_EQ(ShapeCount(), 1);
    auto* group = dynamic_cast<MGroupShape*>(Shape(0));
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->GetShapeCount(), 2);
    MLineShape* line = AsLine(group->GetShapeAt(0));
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR(line->m_start.x, 10, 1e-9);
    EXPECT_NEAR(line->m_start.y, 10, 1e-9);
    EXPECT_NEAR(line->m_end.x, 10, 1e-9);
    EXPECT_NEAR(line->m_end.y, 12, 1e-9);
    // Members on layer "0" take the placement's colour and line style.
    EXPECT_EQ(line->GetColor(), GetDXFTableColor(1));
    EXPECT_EQ(line->GetLineStyle(), 0);
    EXPECT_EQ(group->GetShapeAt(1)->TextStyle().color, GetDXFTableColor(1));
    EXPECT_DOUBLE_EQ(group->GetShapeAt(1)->TextStyle().size, 2.0);
}

TEST_F(DxfReader, NestedBlocksKeepTheirOwnColoursAndPassByBlockOn) {
    const std::string text =
        Dxf("0|SECTION|2|TABLES|0|TABLE|2|LTYPE|0|LTYPE|2|DASHED2|49|2.5|49|-2.5|0|ENDTAB|0|ENDSEC|"
            "0|SECTION|2|BLOCKS|"
            "0|BLOCK|2|INNER|10|0|20|0|0|LINE|8|0|10|0|20|0|11|1|21|0|0|LINE|8|X|62|3|10|0|20|1|11|1|21|1|"
            "0|SOLID|8|0|10|0|20|0|11|1|21|0|12|1|22|1|0|ENDBLK|"
            "0|BLOCK|2|OUTER|10|0|20|0|0|INSERT|8|0|2|INNER|10|0|20|0|0|INSERT|8|X|62|5|2|INNER|10|5|20|0|"
            "0|ENDBLK|0|ENDSEC|"
            "0|SECTION|2|ENTITIES|0|INSERT|8|L|62|1|6|DASHED2|2|OUTER|10|0|20|0|0|ENDSEC|0|EOF");
    Read(text);
    ASSERT_EQ(ShapeCount(), 1);
    auto* outer = dynamic_cast<MGroupShape*>(Shape(0));
    ASSERT_NE(outer, nullptr);
    ASSERT_EQ(outer->GetShapeCount(), 2);
    auto* byBlock = dynamic_cast<MGroupShape*>(outer->GetShapeAt(0));
    auto* blue = dynamic_cast<MGroupShape*>(outer->GetShapeAt(1));
    ASSERT_TRUE(byBlock && blue);
    // The inner placement is on layer "0": its by-block members take the outer placement's red.
    EXPECT_EQ(byBlock->GetShapeAt(0)->GetColor(), GetDXFTableColor(1));
    EXPECT_EQ(byBlock->GetShapeAt(0)->GetLineStyle(), 2);
    EXPECT_EQ(byBlock->GetShapeAt(1)->GetColor(), GetDXFTableColor(3));  // its own green stays
    EXPECT_EQ(byBlock->GetShapeAt(2)->GetFillStyle(), MFillStyle(GetDXFTableColor(1)));
    // The second placement is blue on its own layer.
    EXPECT_EQ(blue->GetShapeAt(0)->GetColor(), GetDXFTableColor(5));
    EXPECT_EQ(blue->GetShapeAt(0)->GetLineStyle(), 0);
    EXPECT_EQ(blue->GetShapeAt(1)->GetColor(), GetDXFTableColor(3));
    EXPECT_EQ(blue->GetShapeAt(2)->GetFillStyle(), MFillStyle(GetDXFTableColor(5)));
}

TEST_F(DxfReader, LaterBlockOfTheSameNameWins) {
    Read(
        Dxf("0|SECTION|2|BLOCKS|0|BLOCK|2|B|10|0|20|0|0|LINE|10|0|20|0|11|1|21|0|0|ENDBLK|"
            "0|BLOCK|2|b|10|0|20|0|0|CIRCLE|10|0|20|0|40|1|0|CIRCLE|10|5|20|0|40|1|0|ENDBLK|0|ENDSEC|"
            "0|SECTION|2|ENTITIES|0|INSERT|2|B|10|0|20|0|0|DIMENSION|2|B|10|0|20|0|0|ENDSEC|0|EOF"));
    ASSERT_EQ(ShapeCount(), 2);
    EXPECT_EQ(CountShapes(doc), (KindCounts{{"CIRCLE", 4}, {"GROUP", 2}}));
}

TEST_F(DxfReader, AttributesReadAsTexts) {
    Read(
        Dxf("0|SECTION|2|BLOCKS|0|BLOCK|2|B|10|0|20|0|0|LINE|10|0|20|0|11|1|21|0|0|ENDBLK|0|ENDSEC|"
            "0|SECTION|2|ENTITIES|0|INSERT|66|1|2|B|10|0|20|0|0|ATTRIB|10|1|20|1|40|1|1|value|2|TAG|"
            "0|SEQEND|0|ENDSEC|0|EOF"));
    EXPECT_EQ(CountShapes(doc), (KindCounts{{"GROUP", 1}, {"LINE", 1}, {"TEXT", 1}}));
}

TEST_F(DxfReader, HeaderLimitsAndFlags) {
    MDXFReader reader(doc);
    reader.ReadBytes(Dxf("0|SECTION|2|HEADER|9|$LIMMIN|10|-5|20|-6|9|$LIMMAX|10|420|20|297|0|ENDSEC|0|EOF"));
    const MFloatRect limits = reader.GetExtents();
    EXPECT_EQ(limits.left, -5);
    EXPECT_EQ(limits.bottom, -6);
    EXPECT_EQ(limits.right, 420);
    EXPECT_EQ(limits.top, 297);
    EXPECT_EQ(reader.GetExtentsValid(), 1);
    EXPECT_EQ(reader.GetFitOnFirstUpdate(), 0);
}

TEST_F(DxfReader, EncodingsOfTheFile) {
    const std::string japanese = "\x93\xFA\x96\x7B\x8C\xEA\x83\x5C";  // 日本語ソ in code page 932
    // Without a header: code page 932, also in layer names.
    Read(Entities("0|TEXT|8|" + japanese + "|10|0|20|0|40|1|1|" + japanese));
    ASSERT_EQ(ShapeCount(), 1);
    EXPECT_EQ(AsText(Shape(0))->GetString(), "日本語ソ");
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetName(), "日本語ソ");

    MTessarayDoc utf8;
    MDXFReader r1(utf8);
    r1.ReadBytes(
        Dxf("0|SECTION|2|HEADER|9|$ACADVER|1|AC1024|9|$DWGCODEPAGE|3|ANSI_932|0|ENDSEC|"
            "0|SECTION|2|ENTITIES|0|TEXT|10|0|20|0|40|1|1|日本語 \\U+00E9\\U+D83D\\U+DE00|0|ENDSEC"));
    EXPECT_TRUE(r1.GetEncoding().IsUtf8());
    EXPECT_EQ(AsText(AllShapes(utf8).at(0))->GetString(), "日本語 é😀");

    MTessarayDoc latin;
    MDXFReader r2(latin);
    r2.ReadBytes(
        Dxf("0|SECTION|2|HEADER|9|$ACADVER|1|AC1015|9|$DWGCODEPAGE|3|ANSI_1252|0|ENDSEC|"
            "0|SECTION|2|ENTITIES|0|TEXT|10|0|20|0|40|1|1|caf\xE9 \\M+193FA|0|ENDSEC"));
    EXPECT_EQ(r2.GetEncoding().GetCodePage(), "CP1252");
    EXPECT_EQ(AsText(AllShapes(latin).at(0))->GetString(), "café 日");
}

TEST_F(DxfReader, LongLinesAreReadWhole) {
    const std::string value(5000, 'x');
    Read(Entities("0|TEXT|10|0|20|0|40|1|1|" + value + "|0|LINE|10|0|20|0|11|1|21|1"));
    ASSERT_EQ(ShapeCount(), 2);
    EXPECT_EQ(AsText(Shape(0))->GetString(), value);
}

TEST_F(DxfReader, CrLfLineEndsAndATruncatedLastPair) {
    std::string text = Entities("0|LINE|10|0|20|0|11|1|21|1|0|LINE|10|0|20|0|11|2|21|2");
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(Read(crlf), 1);
    EXPECT_EQ(ShapeCount(), 2);

    MTessarayDoc cut;
    MDXFReader reader(cut);
    EXPECT_EQ(reader.ReadBytes("0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n0\n20\n0\n11\n5\n21\n5\n0"), 1);
    EXPECT_EQ(AllShapes(cut).size(), 0u);  // the last entity never ended
}

TEST_F(DxfReader, BinaryDxfIsRefused) {
    EXPECT_EQ(Read(std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "junk"), 0);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, "バイナリ形式のDXFファイルは読み込めません。");
}

TEST_F(DxfReader, MissingFileGives62700) {
    MDXFReader reader(doc);
    EXPECT_EQ(reader.Read(MakeTempDir("dxf-missing") + "/none.dxf"), 0);
    EXPECT_TRUE(messages.Saw(62700));
}

TEST_F(DxfReader, BlocksPlacingBlocksStopAtTheLimit) {
    // Each level places the previous one ten times: 10^7 lines if nothing stopped it.
    std::string blocks = "0|SECTION|2|BLOCKS|0|BLOCK|2|B0|10|0|20|0|0|LINE|10|0|20|0|11|1|21|0|0|ENDBLK|";
    for (int level = 1; level <= 7; ++level) {
        blocks += "0|BLOCK|2|B" + std::to_string(level) + "|10|0|20|0|";
        for (int k = 0; k < 10; ++k)
            blocks += "0|INSERT|2|B" + std::to_string(level - 1) + "|10|" + std::to_string(k) + "|20|0|";
        blocks += "0|ENDBLK|";
    }
    MDXFReader reader(doc);
    reader.SetExpansionLimit(200000);
    EXPECT_EQ(reader.ReadBytes(
                  Dxf(blocks + "0|ENDSEC|0|SECTION|2|ENTITIES|0|INSERT|2|B7|10|0|20|0|0|ENDSEC|0|EOF")),
              1);
    EXPECT_TRUE(reader.WasExpansionLimited());
    EXPECT_EQ(ShapeCount(), 0);  // the deepest levels stayed empty
}

TEST_F(DxfReader, ProgressIsShownAndCancelRemovesEverything) {
    std::string lines;
    for (int i = 0; i < 2000; ++i)
        lines += "0|LINE|8|L|10|0|20|0|11|1|21|" + std::to_string(i + 1) + "|";
    {
        FakeProgress progress;
        MDXFReader reader(doc);
        reader.SetProgress(&progress);
        EXPECT_EQ(reader.ReadBytes(Entities(lines + "0|CIRCLE|10|0|20|0|40|1")), 1);
        ASSERT_FALSE(progress.texts.empty());
        EXPECT_EQ(progress.texts[0], "Reading...1");
        EXPECT_EQ(progress.texts[1], "Reading..." + std::to_string(1 + MDXFReader::kProgressInterval));
        EXPECT_EQ(ShapeCount(), 2001);
        // The main window is kept from commands and closing while messages are dispatched.
        EXPECT_EQ(progress.unguardedPumps, 0);
        EXPECT_FALSE(IsDXFImportPumping());
    }
    MTessarayDoc other;
    FakeProgress progress;
    progress.cancelAfter = 3;
    MDXFReader reader(other);
    reader.SetProgress(&progress);
    EXPECT_EQ(reader.ReadBytes(Entities(lines)), 0);
    ASSERT_EQ(other.GetLayers()->GetLayerCount(), 1);
    EXPECT_EQ(other.GetLayers()->GetLayer(0)->GetName(), "Layer1");
    EXPECT_EQ(AllShapes(other).size(), 0u);
}

class DxfImportEntry : public DxfTest {
protected:
    void SetUp() override {
        DxfTest::SetUp();
        path = MakeTempDir("dxf-import-entry") + "/a.dxf";
        WriteFileBytes(path, Entities("0|LINE|10|0|20|0|11|1|21|1"));
    }
    std::string path;
    FakeImportUi ui;
};

TEST_F(DxfImportEntry, PaperDialogCancelReadsNothing) {
    ui.paperResult = IDCANCEL;
    MDXFReader reader(doc);
    EXPECT_EQ(reader.Read(path), 0);
    EXPECT_EQ(ui.paperDialogs, 1);
    EXPECT_EQ(ui.progressDialogs, 0);
    EXPECT_EQ(ShapeCount(), 0);
}

TEST_F(DxfImportEntry, ScaleQuestion) {
    messages.SetAnswer(IDCANCEL);
    {
        MDXFReader reader(doc);
        EXPECT_EQ(reader.Read(path), 0);
        EXPECT_TRUE(messages.Saw(62719));
        EXPECT_EQ(ShapeCount(), 0);
    }
    messages.SetAnswer(IDYES);
    {
        MDXFReader reader(doc);
        EXPECT_EQ(reader.Read(path), 1);
        EXPECT_EQ(reader.GetFitOnFirstUpdate(), 1);
        EXPECT_EQ(ui.progressDialogs, 1);
        EXPECT_EQ(ShapeCount(), 1);
    }
    messages.SetAnswer(IDNO);
    MTessarayDoc other;
    MDXFReader reader(other);
    EXPECT_EQ(reader.Read(path), 1);
    EXPECT_EQ(reader.GetFitOnFirstUpdate(), 0);
}

TEST_F(DxfImportEntry, OkAppliesTheChosenPaperAndKeepsTheOrigin) {
    messages.SetAnswer(IDNO);
    doc.SetOrigin(MFloatPoint(12, 34));
    MDXFReader reader(doc);
    EXPECT_EQ(reader.Read(path), 1);
    EXPECT_EQ(doc.GetOrigin(), MFloatPoint(12, 34));
    EXPECT_EQ(doc.GetPaperInfo().GetOriginPosition(), MPaperInfo::kOriginBottomLeft);
}

TEST_F(DxfImportEntry, OtherDialogResultReadsWithoutAsking) {
    ui.paperResult = 99;
    MDXFReader reader(doc);
    EXPECT_EQ(reader.Read(path), 1);
    EXPECT_FALSE(messages.Saw(62719));
    EXPECT_EQ(ShapeCount(), 1);
}

}  // namespace
