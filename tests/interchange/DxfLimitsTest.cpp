// Values at the edge of what the DXF reader takes: bulges whose arc is out of range, drawings that
// ask for more copies than the expansion limit, lines and texts too long for the reader or for the
// program's own file. What is read must survive a save and a reopening; what is left out is told.
#include <algorithm>
#include <cmath>

#include "DxfTestSupport.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Cp932.h"

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
    const int chainDepth = kMaxGroupNesting + 50;
    for (int level = 0; level < chainDepth; ++level)
        chain += Block("C" + std::to_string(level), Insert("C" + std::to_string(level + 1)));
    chain += Block("C" + std::to_string(chainDepth), line);
    const struct {
        const char* name;
        std::string blocks, entities;
        std::size_t limit;
        const char* told;
    } cases[] = {
        {"many copies", Block("TEN", tenLines), fiftyInserts, 2000, "多すぎる"},
        {"blocks placing blocks", bomb, Insert("B6"), 20000, "多すぎる"},
        // Each cell is a placement: room for six of a million.
        {"cells of an array", Block("ONE", line), "0|INSERT|2|ONE|70|1000|71|1000|44|1|45|1|", 50,
         "多すぎる"},
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

// How many groups deep the shape's members go.
int NestingOf(const MCadShape* shape) {
    const auto* group = dynamic_cast<const MGroupShape*>(shape);
    if (!group) return 0;
    int deepest = 0;
    for (int i = 0; i < group->GetShapeCount(); ++i)
        deepest = std::max(deepest, NestingOf(group->GetShapeAt(i)));
    return deepest + 1;
}

TEST_F(DxfLimits, AChainOfBlocksCostsOnlyWhatTheDrawingPlaces) {
    // Each block holds a line and places the one defined before it. Resolved in the file's order,
    // every block held a copy of the whole chain below it (nested past the limit, the copies
    // growing with the square of the chain), even when the drawing placed none.
    constexpr int kChain = 1000;
    const std::string line = "0|LINE|10|0|20|0|11|1|21|1|";
    std::string chain = Block("C0", line);
    for (int level = 1; level <= kChain; ++level)
        chain += Block("C" + std::to_string(level), line + Insert("C" + std::to_string(level - 1)));
    const struct {
        const char* name;
        std::string entities;
        std::size_t limit;
        int nesting;
        const char* told;
    } cases[] = {
        {"placed once", Insert("C" + std::to_string(kChain)), MDXFReader::kDefaultExpansionLimit,
         kMaxGroupNesting, "深すぎる"},
        {"never placed", line, 20000, 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MessageBoxRecorder told;
        MTessarayDoc file;
        MDXFReader reader(file);
        reader.SetExpansionLimit(c.limit);
        ASSERT_EQ(reader.ReadBytes(Dxf("0|SECTION|2|BLOCKS|" + chain + "0|ENDSEC|0|SECTION|2|ENTITIES|" +
                                       c.entities + "0|ENDSEC|0|EOF")),
                  1);
        EXPECT_FALSE(reader.WasExpansionLimited());
        const std::vector<MCadShape*> shapes = AllShapes(file);
        ASSERT_EQ(shapes.size(), 1u);
        EXPECT_EQ(NestingOf(shapes[0]), c.nesting);
        if (!c.told) {
            EXPECT_TRUE(told.Messages().empty());
            continue;
        }
        ASSERT_EQ(told.Messages().size(), 1u);
        EXPECT_NE(told.Messages()[0].text.find(c.told), std::string::npos) << told.Messages()[0].text;
    }
}

TEST_F(DxfLimits, ABlockPlacedAgainDeeperDownStaysWithinTheNestingLimit) {
    // A (a chain of blocks as deep as the limit) is placed first; then B, a chain whose bottom
    // places A again. Copied as first resolved, A went 100 groups past the limit under B.
    const std::string line = "0|LINE|10|0|20|0|11|1|21|1|";
    std::string blocks = Block("A0", line);
    for (int level = 1; level < kMaxGroupNesting; ++level)
        blocks += Block("A" + std::to_string(level), line + Insert("A" + std::to_string(level - 1)));
    const std::string top = "A" + std::to_string(kMaxGroupNesting - 1);
    blocks += Block("B0", line + Insert(top));
    for (int level = 1; level < 100; ++level)
        blocks += Block("B" + std::to_string(level), line + Insert("B" + std::to_string(level - 1)));
    ASSERT_EQ(Read(Dxf("0|SECTION|2|BLOCKS|" + blocks + "0|ENDSEC|0|SECTION|2|ENTITIES|" + Insert(top) +
                       Insert("B99") + "0|ENDSEC|0|EOF")),
              1);
    const std::vector<MCadShape*> shapes = AllShapes(doc);
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(NestingOf(shapes[0]), kMaxGroupNesting);
    EXPECT_EQ(NestingOf(shapes[1]), 100);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].text.find("深すぎる"), std::string::npos);
}

TEST_F(DxfLimits, ALineLongerThanAnyValueEndsTheReadingThere) {
    // The TEXT before the long line stays; the one after it is not read.
    const std::string text = "0|TEXT|10|0|20|0|40|1|1|";
    const std::string bytes =
        Dxf("0|SECTION|2|ENTITIES|" + text + "before|" + text +
            std::string(MDXFPairSource::kMaxLine + 1, 'x') + "|" + text + "after|0|ENDSEC|0|EOF");
    const std::string path = MakeTempDir("dxf-long-line") + "/long.dxf";
    WriteFileBytes(path, bytes);
    for (const std::size_t piece : {std::size_t{0}, std::size_t{4096}, MDXFPairSource::kDefaultPieceSize}) {
        SCOPED_TRACE(piece);
        MessageBoxRecorder told;
        MTessarayDoc file;
        MDXFReader reader(file);
        reader.SetPieceSize(piece);
        ASSERT_EQ(piece == 0 ? reader.ReadBytes(bytes) : reader.Read(path), 1);
        EXPECT_TRUE(reader.WasCutShort());
        const std::vector<MCadShape*> shapes = AllShapes(file);
        ASSERT_EQ(shapes.size(), 1u);
        EXPECT_EQ(dynamic_cast<MTextShape*>(shapes[0])->GetString(), "before");
        ASSERT_EQ(told.Messages().size(), 1u);
        EXPECT_NE(told.Messages()[0].text.find("長すぎる行"), std::string::npos) << told.Messages()[0].text;
    }
}

TEST_F(DxfLimits, TextsAndNamesLongerThanTheProgramsFileTakesAreCutBetweenCharacters) {
    // UTF-8 (after a byte order mark): the three-byte character would straddle the limit.
    const std::string longText = std::string(MDXFReader::kMaxTextBytes - 1, 'x') + "あい";
    std::string chunks;
    for (std::size_t i = 0; i < MDXFReader::kMaxTextBytes / 250 + 10; ++i)
        chunks += "3|" + std::string(249, 'm') + "あ|";
    ASSERT_EQ(Read("\xEF\xBB\xBF" +
                   Dxf("0|SECTION|2|ENTITIES|0|TEXT|8|" + longText + "|10|0|20|0|40|1|1|" + longText +
                       "|0|MTEXT|10|0|20|0|40|1|41|10|" + chunks + "1|end|0|ENDSEC|0|EOF")),
              1);
    ASSERT_EQ(ShapeCount(), 2);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].text.find("長すぎる文字列"), std::string::npos);
    MTessarayDoc reopened;
    Reopen(reopened);
    ASSERT_EQ(AllShapes(reopened).size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const std::string& text = dynamic_cast<MTextShape*>(Shape(i))->GetString();
        EXPECT_LE(text.size(), MDXFReader::kMaxTextBytes);
        EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(text)), text) << "cut between two characters";
        EXPECT_EQ(dynamic_cast<MTextShape*>(AllShapes(reopened)[static_cast<std::size_t>(i)])->GetString(),
                  text);
    }
    EXPECT_EQ(dynamic_cast<MTextShape*>(Shape(0))->GetString(),
              std::string(MDXFReader::kMaxTextBytes - 1, 'x'));
    // The layer's name, cut alike, comes back as well.
    const std::string layer = doc.GetLayers()->GetLayer(0)->GetName();
    EXPECT_EQ(layer, std::string(MDXFReader::kMaxTextBytes - 1, 'x'));
    EXPECT_EQ(reopened.GetLayers()->GetLayer(0)->GetName(), layer);
}

TEST_F(DxfLimits, ShapesWhoseNumbersWouldLeaveTheRangeAreLeftOutAndTold) {
    const std::string block =
        "0|SECTION|2|BLOCKS|0|BLOCK|2|B|10|0|20|0|0|LINE|10|10|20|0|11|20|21|5|0|CIRCLE|10|5|20|5|40|3|"
        "0|TEXT|10|3|20|3|40|2|1|abc|0|ENDBLK|0|ENDSEC|";
    const struct {
        const char* groups;
        int placedGroups;
        const char* lost;  // as told; empty: nothing told
    } cases[] = {
        {"41|1e308|", 0, "INSERT 1"},
        {"41|1e300|42|1e300|50|45|", 0, "INSERT 1"},
        {"10|1.7e308|", 0, "INSERT 1"},
        {"70|2|44|1e308|", 2, "INSERT 1"},  // the array's group and its first cell
        {"41|1e-320|42|1e6|", 1, ""},
        // Not a placement: an MTEXT whose box of two lines of that height has no size.
        {"0|MTEXT|10|0|20|0|40|1e308|1|a\\Pb|", 1, "MTEXT 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.groups);
        doc.DeleteContents();
        MessageBoxRecorder told;
        ASSERT_EQ(Read(Dxf(block + "0|SECTION|2|ENTITIES|0|LINE|10|0|20|0|11|1|21|1|0|INSERT|2|B|10|1|20|1|" +
                           c.groups + "0|ENDSEC|0|EOF")),
                  1);
        EXPECT_EQ(CountShapes(doc)["GROUP"], c.placedGroups);
        const std::string lost = c.lost;
        ASSERT_EQ(told.Messages().size(), lost.empty() ? 0u : 1u);
        if (!lost.empty())
            EXPECT_NE(told.Messages()[0].text.find(lost), std::string::npos) << told.Messages()[0].text;
        MTessarayDoc reopened;
        Reopen(reopened);
        EXPECT_EQ(AllShapes(reopened).size(), AllShapes(doc).size());
        EXPECT_EQ(CountShapes(reopened), CountShapes(doc));
    }
}

}  // namespace
