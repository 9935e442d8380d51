// Where and how the DXF reader places what it reads: mirrored planes, blocks used before their
// definition, MTEXT with an embedded object, bulged polyline segments, palette colours and the
// caret codes of texts.
#include <algorithm>
#include <cmath>

#include "DxfTestSupport.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"

using namespace dxftest;

namespace {

std::string Drawing(const std::string& blocks, const std::string& entities) {
    return Dxf("0|SECTION|2|BLOCKS|" + blocks + "0|ENDSEC|0|SECTION|2|ENTITIES|" + entities +
               "0|ENDSEC|0|EOF");
}

// The first line found in the shape, searching groups depth first.
MLineShape* FindLine(MCadShape* shape) {
    if (auto* line = dynamic_cast<MLineShape*>(shape)) return line;
    if (auto* group = dynamic_cast<MGroupShape*>(shape))
        for (int i = 0; i < group->GetShapeCount(); ++i)
            if (MLineShape* line = FindLine(group->GetShapeAt(i))) return line;
    return nullptr;
}

int GroupDepth(const MCadShape* shape) {
    const auto* group = dynamic_cast<const MGroupShape*>(shape);
    if (!group) return 0;
    int deepest = 0;
    for (int i = 0; i < group->GetShapeCount(); ++i)
        deepest = std::max(deepest, GroupDepth(group->GetShapeAt(i)));
    return deepest + 1;
}

class DxfPlacement : public DxfTest {};

TEST_F(DxfPlacement, ABlockPlacedWithADownwardExtrusionIsMirrored) {
    // The usual way of storing a mirrored block: the fixture right of its base lands left of the
    // mirrored insertion point (-10, 5).
    ASSERT_EQ(Read(Drawing("0|BLOCK|2|TAP|10|0|20|0|0|LINE|10|1|20|0|11|2|21|1|0|ENDBLK|",
                           "0|INSERT|2|TAP|10|10|20|5|210|0|220|0|230|-1|")),
              1);
    ASSERT_EQ(ShapeCount(), 1);
    MLineShape* line = FindLine(Shape(0));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->m_start, MFloatPoint(-11, 5));
    EXPECT_EQ(line->m_end, MFloatPoint(-12, 6));
}

TEST_F(DxfPlacement, EntitiesInAMirroredPlaneAndTiltedOnesAreCounted) {
    ASSERT_EQ(Read(Dxf("0|SECTION|2|ENTITIES|"
                       "0|CIRCLE|10|3|20|4|40|1|210|0|220|0|230|-1|"
                       "0|LWPOLYLINE|70|0|10|1|20|1|10|5|20|1|230|-1|"
                       "0|TEXT|10|2|20|0|40|1|1|A|230|-1|"
                       "0|CIRCLE|10|3|20|4|40|1|210|1|220|0|230|0|"
                       "0|ENDSEC|0|EOF")),
              1);
    ASSERT_EQ(ShapeCount(), 3);
    Shape(0)->Recalc(doc.GetOffscreenView());
    EXPECT_EQ(Shape(0)->GetCenter(), MFloatPoint(-3, 4));
    auto* polygon = dynamic_cast<MPolygonShape*>(Shape(1));
    ASSERT_NE(polygon, nullptr);
    EXPECT_EQ(polygon->GetPoints()[1], MFloatPoint(-5, 1));
    auto* text = dynamic_cast<MTextShape*>(Shape(2));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetPoint(), MFloatPoint(-2, 0));
    EXPECT_EQ(text->GetAlignment() & 3, 2) << "reads on from the other side";
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].text.find("CIRCLE (3D) 1"), std::string::npos);
}

TEST_F(DxfPlacement, BlocksUsedBeforeTheirDefinitionAreAllPlaced) {
    // OUTER places INNER and a dimension block defined after it; the drawing places a block whose
    // definition comes in a BLOCKS section after ENTITIES.
    const std::string text =
        Dxf("0|SECTION|2|BLOCKS|"
            "0|BLOCK|2|OUTER|10|0|20|0|0|INSERT|2|INNER|10|5|20|0|0|DIMENSION|2|*D1|0|ENDBLK|"
            "0|BLOCK|2|INNER|10|0|20|0|0|LINE|10|0|20|0|11|1|21|0|0|ENDBLK|"
            "0|BLOCK|2|*D1|10|0|20|0|0|LINE|10|7|20|7|11|8|21|8|0|ENDBLK|0|ENDSEC|"
            "0|SECTION|2|ENTITIES|0|INSERT|2|OUTER|10|100|20|0|0|INSERT|2|LATE|10|0|20|50|0|ENDSEC|"
            "0|SECTION|2|BLOCKS|0|BLOCK|2|LATE|10|0|20|0|0|CIRCLE|10|0|20|0|40|2|0|ENDBLK|0|ENDSEC|0|EOF");
    ASSERT_EQ(Read(text), 1);
    ASSERT_EQ(ShapeCount(), 2);
    KindCounts counts = CountShapes(doc);
    EXPECT_EQ(counts["GROUP"], 4);  // OUTER, its INNER and *D1, LATE
    EXPECT_EQ(counts["LINE"], 2);
    EXPECT_EQ(counts["CIRCLE"], 1);
    EXPECT_EQ(GroupDepth(Shape(0)), 2);
    EXPECT_EQ(FindLine(Shape(0))->m_start, MFloatPoint(105, 0));
    Shape(1)->Recalc(doc.GetOffscreenView());
    EXPECT_EQ(Shape(1)->GetCenter(), MFloatPoint(0, 50));
}

TEST_F(DxfPlacement, ABlockPlacingItselfPlacesOnlyItsOwnShapes) {
    ASSERT_EQ(Read(Drawing("0|BLOCK|2|SELF|10|0|20|0|0|LINE|10|0|20|0|11|1|21|0|0|INSERT|2|SELF|10|1|20|1|"
                           "0|ENDBLK|",
                           "0|INSERT|2|SELF|10|0|20|0|")),
              1);
    ASSERT_EQ(ShapeCount(), 1);
    EXPECT_EQ(GroupDepth(Shape(0)), 1);
    EXPECT_EQ(CountShapes(doc)["LINE"], 1);
}

TEST_F(DxfPlacement, MTextWithAnEmbeddedObjectKeepsItsOwnPlace) {
    ASSERT_EQ(Read(Dxf("0|SECTION|2|ENTITIES|0|MTEXT|10|5|20|6|40|2.5|41|30|71|1|11|1|21|0|1|Room|"
                       "101|Embedded Object|70|1|10|1|20|0|11|0|21|1|40|25|41|3|71|2|72|1|"
                       "0|ENDSEC|0|EOF")),
              1);
    auto* text = dynamic_cast<MTextShape*>(Shape(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetString(), "Room");
    EXPECT_EQ(text->GetPoint(), MFloatPoint(5, 6));
    EXPECT_EQ(text->GetTextSize(), 2.5);
    EXPECT_EQ(text->GetAngle(), 0.0);
    EXPECT_EQ(text->GetAlignment(), 0);
}

TEST_F(DxfPlacement, BulgedSegmentsBecomeArcs) {
    // A half circle from (0, 0) to (2, 0), counter-clockwise (below the chord), then a straight
    // segment; the POLYLINE closes with a quarter circle back to its start.
    ASSERT_EQ(
        Read(Dxf(
            "0|SECTION|2|ENTITIES|"
            "0|LWPOLYLINE|70|0|10|0|20|0|42|1|10|2|20|0|10|4|20|0|"
            "0|POLYLINE|70|1|0|VERTEX|10|0|20|0|0|VERTEX|10|10|20|0|0|VERTEX|10|10|20|10|42|-0.41421356237|"
            "0|SEQEND|0|ENDSEC|0|EOF")),
        1);
    ASSERT_EQ(ShapeCount(), 2);
    auto* open = dynamic_cast<MPolygonShape*>(Shape(0));
    ASSERT_NE(open, nullptr);
    const MFloatPointArray& p = open->GetPoints();
    ASSERT_GT(p.GetSize(), 10);
    EXPECT_EQ(p[0], MFloatPoint(0, 0));
    EXPECT_EQ(p[p.GetSize() - 1], MFloatPoint(4, 0));
    double lowest = 0.0;
    for (int i = 0; i < p.GetSize(); ++i) {
        EXPECT_LE(p[i].y, 1e-9);
        if (p[i].x < 2 - 1e-9) EXPECT_NEAR(std::hypot(p[i].x - 1, p[i].y), 1.0, 1e-9);
        lowest = std::min(lowest, p[i].y);
    }
    EXPECT_NEAR(lowest, -1.0, 0.01);

    auto* closed = dynamic_cast<MPolygonShape*>(Shape(1));
    ASSERT_NE(closed, nullptr);
    const MFloatPointArray& q = closed->GetPoints();
    ASSERT_GT(q.GetSize(), 10);
    // The closing arc, clockwise about (0, 10), stays on that circle, below the chord x = y.
    for (int i = 3; i < q.GetSize(); ++i) {
        EXPECT_NEAR(std::hypot(q[i].x, q[i].y - 10), 10.0, 1e-6);
        EXPECT_GT(q[i].x + (10 - q[i].y), 10 - 1e-6);
    }
}

TEST_F(DxfPlacement, PaletteColoursAreTheirOwn) {
    EXPECT_EQ(MDXFReader::ColorOfNumber(40), RGB(0xFF, 0xBF, 0x00));
    EXPECT_EQ(MDXFReader::ColorOfNumber(16), RGB(0x4C, 0x00, 0x00));
    EXPECT_EQ(MDXFReader::ColorOfNumber(250), RGB(0x33, 0x33, 0x33));
    EXPECT_EQ(MDXFReader::ColorOfNumber(255), 0u) << "white is drawn black, as 7";
    EXPECT_EQ(MDXFReader::ColorOfNumber(3), RGB(0, 0xFF, 0));
    ASSERT_EQ(Read(Dxf("0|SECTION|2|ENTITIES|0|CIRCLE|62|140|10|0|20|0|40|1|0|ENDSEC|0|EOF")), 1);
    EXPECT_EQ(Shape(0)->GetColor(), RGB(0x00, 0xBF, 0xFF));
}

TEST_F(DxfPlacement, CaretCodesOfTexts) {
    ASSERT_EQ(Read(Dxf("0|SECTION|2|ENTITIES|0|TEXT|10|0|20|0|40|1|1|A^IB^ C^JD|"
                       "0|MTEXT|10|0|20|0|40|1|41|20|1|one^Jtwo|0|ENDSEC|0|EOF")),
              1);
    auto* text = dynamic_cast<MTextShape*>(Shape(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetString(), "A\tB^C D");
    auto* multi = dynamic_cast<MMultiTextShape*>(Shape(1));
    ASSERT_NE(multi, nullptr);
    EXPECT_EQ(multi->GetString(), "one\ntwo");
}

// The start points of every line, groups searched depth first, rounded to 1e-9.
void LineStarts(const MCadShape* shape, std::vector<std::pair<double, double>>& starts) {
    if (const auto* line = dynamic_cast<const MLineShape*>(shape)) {
        const auto round = [](double v) { return std::round(v * 1e9) / 1e9 + 0.0; };
        starts.emplace_back(round(line->m_start.x), round(line->m_start.y));
    } else if (const auto* group = dynamic_cast<const MGroupShape*>(shape)) {
        for (int i = 0; i < group->GetShapeCount(); ++i)
            LineStarts(group->GetShapeAt(i), starts);
    }
}

TEST_F(DxfPlacement, AnInsertWithRowsAndColumnsPlacesEveryCell) {
    using Starts = std::vector<std::pair<double, double>>;
    // Columns step along the block's turned x axis and rows along its y axis, unscaled.
    const struct {
        const char* name;
        std::string groups;
        Starts starts;
    } cases[] = {
        {"2 rows of 3",
         "70|3|71|2|44|10|45|5|",
         {{100, 0}, {100, 5}, {110, 0}, {110, 5}, {120, 0}, {120, 5}}},
        {"turned a quarter, scaled",
         "70|2|71|2|44|10|45|5|41|2|42|2|50|90|",
         {{95, 0}, {95, 10}, {100, 0}, {100, 10}}},
        {"one column of 3", "71|3|45|-4|", {{100, -8}, {100, -4}, {100, 0}}},
        {"counts below one", "70|0|71|-2|44|10|45|5|", {{100, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MTessarayDoc file;
        MDXFReader reader(file);
        ASSERT_EQ(reader.ReadBytes(Drawing("0|BLOCK|2|B|10|0|20|0|0|LINE|10|0|20|0|11|1|21|0|0|ENDBLK|",
                                           "0|INSERT|2|B|10|100|20|0|" + c.groups)),
                  1);
        Starts starts;
        for (const MCadShape* shape : AllShapes(file))
            LineStarts(shape, starts);
        std::sort(starts.begin(), starts.end());
        EXPECT_EQ(starts, c.starts);
        EXPECT_TRUE(messages.Messages().empty());
    }
}

}  // namespace
