// Entities by layer take what the layer's table entry says at the time they are read, also when
// the tables come between entities and the entities switch between layers.
#include "DxfTestSupport.h"

using namespace dxftest;

namespace {

class DxfLayerTables : public DxfTest {};

const std::string kLine = "0|LINE|8|L1|10|0|20|0|11|5|21|5|";

std::string Entities(const std::string& entities) {
    return "0|SECTION|2|ENTITIES|" + entities + "0|ENDSEC|";
}

TEST_F(DxfLayerTables, EntitiesTakeTheLayerEntryAsItStandsWhenRead) {
    ASSERT_EQ(
        Read(Dxf(Entities(kLine) +
                 "0|SECTION|2|TABLES|0|TABLE|2|LAYER|0|LAYER|2|L1|62|3|0|LAYER|2|L2|62|5|0|ENDTAB|0|ENDSEC|" +
                 Entities(kLine + "0|LINE|8|L2|10|0|20|0|11|5|21|5|" + kLine +
                          "0|LINE|8|L1|62|7|10|1|20|0|11|5|21|5|") +
                 "0|EOF")),
        1);
    const std::vector<MCadShape*> shapes = AllShapes(doc);
    ASSERT_EQ(shapes.size(), 5u);
    // Layer L1 in reading order: before its entry, after it, again after L2, with its own colour.
    EXPECT_EQ(shapes[0]->GetColor(), 0u);
    EXPECT_EQ(shapes[1]->GetColor(), MDXFReader::ColorOfNumber(3));
    EXPECT_EQ(shapes[2]->GetColor(), MDXFReader::ColorOfNumber(3));
    EXPECT_EQ(shapes[3]->GetColor(), MDXFReader::ColorOfNumber(7));
    EXPECT_EQ(shapes[4]->GetColor(), MDXFReader::ColorOfNumber(5));
    EXPECT_EQ(doc.GetLayers()->GetLayerCount(), 2);
}

TEST_F(DxfLayerTables, EntitiesTakeTheLineTypeAsItStandsWhenRead) {
    // The layer names a line type that a later table defines.
    ASSERT_EQ(Read(Dxf("0|SECTION|2|TABLES|0|TABLE|2|LAYER|0|LAYER|2|L1|6|DASHED|0|ENDTAB|0|ENDSEC|" +
                       Entities(kLine) +
                       "0|SECTION|2|TABLES|0|TABLE|2|LTYPE|0|LTYPE|2|DASHED|49|5|49|-2.5|0|ENDTAB|0|ENDSEC|" +
                       Entities(kLine + "0|LINE|8|L1|6|CONTINUOUS|10|1|20|0|11|5|21|5|") + "0|EOF")),
              1);
    const std::vector<MCadShape*> shapes = AllShapes(doc);
    ASSERT_EQ(shapes.size(), 3u);
    const int dashed = MDXFReader::MatchLineStyle({5, -2.5});
    ASSERT_NE(dashed, 0);
    EXPECT_EQ(shapes[0]->GetLineStyle(), 0);
    EXPECT_EQ(shapes[1]->GetLineStyle(), dashed);
    EXPECT_EQ(shapes[2]->GetLineStyle(), 0);
}

}  // namespace
