// Values at the edge of what the DXF reader takes: bulges whose arc is out of range, drawings that
// ask for more copies than the expansion limit, lines and texts too long for the reader or for the
// program's own file. What is read must survive a save and a reopening; what is left out is told.
#include <cmath>

#include "DxfTestSupport.h"
#include "model/shapes/lines/PolygonShape.h"

using namespace dxftest;

namespace {

class DxfLimits : public DxfTest {
protected:
    // Saves the document as the program's own file and opens it again in another document.
    void Reopen(MTessarayDoc& into) {
        const std::string path = MakeTempDir("dxf-limits") + "/drawing.qfd";
        ASSERT_TRUE(doc.OnSaveDocument(path));
        MessageBoxRecorder reopening;
        ASSERT_TRUE(into.OnOpenDocument(path));
        EXPECT_TRUE(reopening.Messages().empty()) << reopening.Messages()[0].text;
    }
};

TEST_F(DxfLimits, ABulgeWhoseArcIsOutOfRangeDrawsTheStraightSegment) {
    // 1e308 squared overflows; 1e-310 has no finite reciprocal.
    for (const char* bulge : {"1e308", "-1e308", "1.7976931348623157e308", "1e-310"}) {
        SCOPED_TRACE(bulge);
        MTessarayDoc reopened;
        doc.DeleteContents();
        ASSERT_EQ(Read(Dxf(std::string("0|SECTION|2|ENTITIES|0|LWPOLYLINE|70|0|10|0|20|0|42|") + bulge +
                           "|10|1|20|0|10|2|20|1|0|ENDSEC|0|EOF")),
                  1);
        ASSERT_EQ(ShapeCount(), 1);
        auto* polygon = dynamic_cast<MPolygonShape*>(Shape(0));
        ASSERT_NE(polygon, nullptr);
        ASSERT_EQ(polygon->GetPoints().GetSize(), 3);
        EXPECT_EQ(polygon->GetPoints()[1], MFloatPoint(1, 0));
        Reopen(reopened);
        ASSERT_EQ(AllShapes(reopened).size(), 1u);
        EXPECT_EQ(dynamic_cast<MPolygonShape*>(AllShapes(reopened)[0])->GetPoints().GetSize(), 3);
    }
}

std::string Block(const std::string& name, const std::string& entities) {
    return "0|BLOCK|2|" + name + "|10|0|20|0|" + entities + "0|ENDBLK|";
}

std::string Insert(const std::string& name, int x = 0) {
    return "0|INSERT|2|" + name + "|10|" + std::to_string(x) + "|20|0|";
}

TEST_F(DxfLimits, PlacementsLeftOutAreTold) {
    const std::string line = "0|LINE|10|0|20|0|11|1|21|1|";
    std::string tenLines, fiftyInserts;
    for (int i = 0; i < 10; ++i)
        tenLines += line;
    for (int i = 0; i < 50; ++i)
        fiftyInserts += Insert("TEN", i);
    // Each level places the one below ten times.
    std::string bomb = Block("B0", line);
    for (int level = 1; level <= 6; ++level) {
        std::string inserts;
        for (int k = 0; k < 10; ++k)
            inserts += Insert("B" + std::to_string(level - 1), k);
        bomb += Block("B" + std::to_string(level), inserts);
    }
    // Each block of the chain places the next; the last holds a line.
    std::string chain;
    for (int level = 0; level < 200; ++level)
        chain += Block("C" + std::to_string(level), Insert("C" + std::to_string(level + 1)));
    chain += Block("C200", line);
    const struct {
        const char* name;
        std::string blocks, entities;
        std::size_t limit;
        const char* told;
    } cases[] = {
        {"many copies", Block("TEN", tenLines), fiftyInserts, 2000, "多すぎる"},
        {"blocks placing blocks", bomb, Insert("B6"), 20000, "多すぎる"},
        {"a chain deeper than followed", chain, Insert("C0"), MDXFReader::kDefaultExpansionLimit, "深すぎる"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxRecorder told;
        MTessarayDoc file;
        MDXFReader reader(file);
        reader.SetExpansionLimit(c.limit);
        ASSERT_EQ(reader.ReadBytes(Dxf("0|SECTION|2|BLOCKS|" + c.blocks + "0|ENDSEC|0|SECTION|2|ENTITIES|" +
                                       c.entities + "0|ENDSEC|0|EOF")),
                  1);
        ASSERT_EQ(told.Messages().size(), 1u);
        EXPECT_NE(told.Messages()[0].text.find(c.told), std::string::npos) << told.Messages()[0].text;
    }
}

}  // namespace
