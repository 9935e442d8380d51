// Values at the edge of what the DXF reader takes: out-of-range bulges, more copies or nesting than
// it follows, lines and texts too long. What is read survives a save and reopening; losses are told.
#include <algorithm>
#include <cmath>
#include <limits>

#include "DxfTestSupport.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Cp932.h"

using namespace dxftest;

namespace {

const std::string kLine = "0|LINE|10|0|20|0|11|1|21|1|";

std::string Block(const std::string& name, const std::string& entities) {
    return "0|BLOCK|2|" + name + "|10|0|20|0|" + entities + "0|ENDBLK|";
}

std::string Insert(const std::string& name, int x = 0) {
    return "0|INSERT|2|" + name + "|10|" + std::to_string(x) + "|20|0|";
}

std::string Drawing(const std::string& blocks, const std::string& entities) {
    return Dxf("0|SECTION|2|BLOCKS|" + blocks + "0|ENDSEC|0|SECTION|2|ENTITIES|" + entities +
               "0|ENDSEC|0|EOF");
}

// Blocks named prefix0.. each hold a line and place the one before; the first places `first`.
std::string Chain(const std::string& prefix, int count, const std::string& first) {
    std::string blocks = Block(prefix + "0", kLine + first);
    for (int i = 1; i < count; ++i)
        blocks += Block(prefix + std::to_string(i), kLine + Insert(prefix + std::to_string(i - 1)));
    return blocks;
}

// One message told, holding `what`; none for nullptr.
void ExpectTold(const MessageBoxRecorder& told, const char* what) {
    const std::string first = told.Messages().empty() ? "" : told.Messages()[0].text;
    ASSERT_EQ(told.Messages().size(), what ? 1u : 0u) << first;
    if (what) EXPECT_NE(first.find(what), std::string::npos) << first;
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

class DxfLimits : public DxfTest {
protected:
    // Saves the document as the program's own file and opens it again in `into`.
    void Reopen(MTessarayDoc& into) {
        const std::string path = MakeTempDir("dxf-limits") + "/drawing.qfd";
        ASSERT_TRUE(doc.OnSaveDocument(path));
        MessageBoxRecorder reopening;
        ASSERT_TRUE(into.OnOpenDocument(path));
        EXPECT_TRUE(reopening.Messages().empty()) << reopening.Messages()[0].text;
    }
    // Reads into a document of its own with the given expansion limit.
    int ReadLimited(MTessarayDoc& file, const std::string& bytes, std::size_t limit) {
        MDXFReader reader(file);
        reader.SetExpansionLimit(limit);
        const int result = reader.ReadBytes(bytes);
        limited = reader.WasExpansionLimited();
        return result;
    }
    bool limited = false;
};

TEST_F(DxfLimits, ABulgeWhoseArcIsOutOfRangeDrawsTheStraightSegment) {
    // 1e308 squared overflows; 1e-310 has no finite reciprocal.
    for (const char* bulge : {"1e308", "1e-310"}) {
        SCOPED_TRACE(bulge);
        doc.DeleteContents();
        ASSERT_EQ(Read(Dxf(std::string("0|SECTION|2|ENTITIES|0|LWPOLYLINE|70|0|10|0|20|0|42|") + bulge +
                           "|10|1|20|0|10|2|20|1|0|ENDSEC|0|EOF")),
                  1);
        auto* polygon = dynamic_cast<MPolygonShape*>(Shape(0));
        ASSERT_NE(polygon, nullptr);
        ASSERT_EQ(polygon->GetPoints().GetSize(), 3);
        EXPECT_EQ(polygon->GetPoints()[1], MFloatPoint(1, 0));
    }
}

TEST_F(DxfLimits, ArcsOfBulgesTakeACirclesStepsUntilTheirLimitAndStayOnTheirCircles) {
    // Three half circles of radius 1 along the x axis; one flat arc (11.4 degrees) of radius 10.025.
    const std::string halves = "10|0|20|0|42|1|10|2|20|0|42|1|10|4|20|0|42|1|10|6|20|0|";
    const struct {
        std::string vertices;
        std::size_t limit;
        int points;
        std::vector<MFloatPoint> centres;
        double radius;
        const char* told;
    } cases[] = {
        {"10|0|20|0|42|0.05|10|2|20|0|", MDXFReader::kDefaultArcPointLimit, 3, {{1, 9.975}}, 10.025, nullptr},
        {halves, MDXFReader::kDefaultArcPointLimit, 4 + 3 * 23, {{1, 0}, {3, 0}, {5, 0}}, 1, nullptr},
        // The second arc takes the points left, the third is drawn straight.
        {halves, 30, 4 + 30, {{1, 0}, {3, 0}, {5, 0}}, 1, "円弧 (2個)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.points);
        MessageBoxRecorder told;
        MTessarayDoc file;
        MDXFReader reader(file);
        reader.SetArcPointLimit(c.limit);
        ASSERT_EQ(
            reader.ReadBytes(Dxf("0|SECTION|2|ENTITIES|0|LWPOLYLINE|70|0|" + c.vertices + "0|ENDSEC|0|EOF")),
            1);
        ExpectTold(told, c.told);
        const std::vector<MCadShape*> shapes = AllShapes(file);
        ASSERT_EQ(shapes.size(), 1u);
        const MFloatPointArray& p = static_cast<const MPolygonShape*>(shapes[0])->GetPoints();
        EXPECT_EQ(p.GetSize(), c.points);
        for (int i = 0; i < p.GetSize(); ++i) {
            double off = std::numeric_limits<double>::infinity();
            for (const MFloatPoint& centre : c.centres)
                off = std::min(off, std::fabs((p[i] - centre).GetLength() - c.radius));
            EXPECT_LT(off, 1e-9) << i;
        }
    }
}

TEST_F(DxfLimits, PlacementsPastTheExpansionLimitAreTold) {
    std::string bomb = Block("B0", kLine);
    for (int level = 1; level <= 6; ++level) {  // each level places the one below ten times
        std::string inserts;
        for (int k = 0; k < 10; ++k)
            inserts += Insert("B" + std::to_string(level - 1), k);
        bomb += Block("B" + std::to_string(level), inserts);
    }
    // An array's cells are placements each: room for six of a million.
    const std::string drawings[] = {
        Drawing(bomb, Insert("B6")),
        Drawing(Block("ONE", kLine), "0|INSERT|2|ONE|70|1000|71|1000|44|1|45|1|")};
    for (const std::string& drawing : drawings) {
        MessageBoxRecorder told;
        MTessarayDoc file;
        ASSERT_EQ(ReadLimited(file, drawing, 50), 1);
        ExpectTold(told, "多すぎる");
    }
}

TEST_F(DxfLimits, CopiesOfTextsTakeFromTheLimitForEachLine) {
    // Texts hold and print far dearer than points: a copied line takes 16 of the limit.
    std::string lines, inserts;
    for (int i = 0; i < 64; ++i)
        lines += "a\\P";
    for (int i = 0; i < 200; ++i)
        inserts += Insert("M", i);
    MessageBoxRecorder told;
    MTessarayDoc file;
    const std::size_t limit = 16000;
    ASSERT_EQ(
        ReadLimited(file, Drawing(Block("M", "0|MTEXT|10|0|20|0|40|1|41|9|1|" + lines + "end|"), inserts),
                    limit),
        1);
    EXPECT_TRUE(limited);
    std::size_t copied = 0;
    for (const MCadShape* copy : AllShapes(file)) {
        const std::string& text =
            dynamic_cast<const MTextShape*>(static_cast<const MGroupShape*>(copy)->GetShapeAt(0))
                ->GetString();
        copied += 1 + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    }
    EXPECT_GT(copied, 0u);
    EXPECT_LE(copied, limit / 16);
}

TEST_F(DxfLimits, ChainsOfBlocksCostOnlyWhatIsPlacedAndStayWithinTheNestingLimit) {
    // Resolved in file order, each block held the whole chain below it, placed or not; a block
    // resolved higher up and placed again at the bottom of another chain went past the limit.
    static_assert(kMaxGroupNesting < 1000);
    const std::string chain = Chain("C", 1001, ""), top = "A" + std::to_string(kMaxGroupNesting - 1);
    const struct {
        std::string drawing;
        std::size_t limit;
        std::vector<int> nesting;
        const char* told;
    } cases[] = {
        {Drawing(chain, Insert("C1000")), MDXFReader::kDefaultExpansionLimit, {kMaxGroupNesting}, "深すぎる"},
        {Drawing(chain, kLine), 20000, {0}, nullptr},
        {Drawing(Chain("A", kMaxGroupNesting, "") + Chain("B", 100, Insert(top)),
                 Insert(top) + Insert("B99")),
         MDXFReader::kDefaultExpansionLimit,
         {kMaxGroupNesting, 100},
         "深すぎる"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.nesting));
        MessageBoxRecorder told;
        MTessarayDoc file;
        ASSERT_EQ(ReadLimited(file, c.drawing, c.limit), 1);
        EXPECT_FALSE(limited);
        std::vector<int> nesting;
        for (const MCadShape* shape : AllShapes(file))
            nesting.push_back(NestingOf(shape));
        EXPECT_EQ(nesting, c.nesting);
        ExpectTold(told, c.told);
    }
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
        ExpectTold(told, "長すぎる行");
    }
}

TEST_F(DxfLimits, TextsAndNamesLongerThanTheProgramsFileTakesAreCutBetweenCharacters) {
    // UTF-8 (after a byte order mark): the character would straddle the limit.
    const std::string cut(MDXFReader::kMaxTextBytes - 1, 'x'), longText = cut + "あい";
    std::string chunks;
    for (std::size_t i = 0; i < MDXFReader::kMaxTextBytes / 250 + 10; ++i)
        chunks += "3|" + std::string(249, 'm') + "あ|";
    ASSERT_EQ(Read("\xEF\xBB\xBF" +
                   Dxf("0|SECTION|2|ENTITIES|0|TEXT|8|" + longText + "|10|0|20|0|40|1|1|" + longText +
                       "|0|MTEXT|10|0|20|0|40|1|41|10|" + chunks + "1|end|0|ENDSEC|0|EOF")),
              1);
    ExpectTold(messages, "長すぎる文字列");
    MTessarayDoc reopened;
    Reopen(reopened);
    ASSERT_EQ(AllShapes(reopened).size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const std::string& text = dynamic_cast<MTextShape*>(Shape(i))->GetString();
        EXPECT_LE(Cp932Length(text), MDXFReader::kMaxTextBytes);
        EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(text)), text) << "cut between two characters";
        EXPECT_EQ(dynamic_cast<MTextShape*>(AllShapes(reopened)[static_cast<std::size_t>(i)])->GetString(),
                  text);
    }
    EXPECT_EQ(dynamic_cast<MTextShape*>(Shape(0))->GetString(), cut);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetName(), cut) << "the layer's name, cut alike";
    EXPECT_EQ(reopened.GetLayers()->GetLayer(0)->GetName(), cut);
}

TEST_F(DxfLimits, ShapesWhoseNumbersWouldLeaveTheRangeAreLeftOutAndTold) {
    const std::string block = Block("B",
                                    "0|LINE|10|10|20|0|11|20|21|5|0|CIRCLE|10|5|20|5|40|3|"
                                    "0|TEXT|10|3|20|3|40|2|1|abc|");
    const struct {
        std::string groups;
        int placedGroups;
        const char* lost;  // as told; nullptr: nothing told
        std::string blocks = "", header = "";
    } cases[] = {
        {"41|1e308|", 0, "INSERT 1"},
        {"41|1e300|42|1e300|50|45|", 0, "INSERT 1"},
        {"10|1.7e308|", 0, "INSERT 1"},
        {"70|2|44|1e308|", 2, "INSERT 1"},  // the array's group and its first cell
        {"41|1e-320|42|1e6|", 1, nullptr},
        {"0|MTEXT|10|0|20|0|40|1e308|1|a\\Pb|", 1, "MTEXT 1"},  // a box of two lines that high has no size
        // Measured, so tall a text has no box; the circle's outline no points.
        {"0|TEXT|10|0|20|0|40|1e308|1|abc|", 1, "TEXT 1"},
        {"0|CIRCLE|10|1e308|20|0|40|1e308|", 1, "CIRCLE 1"},
        {"0|INSERT|2|T|", 2, "TEXT 1", Block("T", "0|TEXT|10|0|20|0|40|1e308|1|x|" + kLine)},
        // Limits whose centre is past the largest number would move the drawing there when fitted.
        {"", 1, "$LIMMIN", "",
         "0|SECTION|2|HEADER|9|$LIMMIN|10|1e308|20|0|9|$LIMMAX|10|1.7e308|20|1|0|ENDSEC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.groups + c.header);
        doc.DeleteContents();
        MessageBoxRecorder told;
        const std::string header = c.header.empty() ? "" : Dxf(c.header);
        ASSERT_EQ(Read(header + Drawing(block + c.blocks, kLine + "0|INSERT|2|B|10|1|20|1|" + c.groups)), 1);
        EXPECT_EQ(CountShapes(doc)["GROUP"], c.placedGroups);
        ExpectTold(told, c.lost);
        for (const MCadShape* shape : AllShapes(doc))
            EXPECT_TRUE(shape->HasFiniteValues());
        MTessarayDoc reopened;
        Reopen(reopened);
        EXPECT_EQ(CountShapes(reopened), CountShapes(doc));
    }
}

}  // namespace
