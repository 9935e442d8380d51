// Placements give the same drawing wherever their blocks stand in the file: random drawings of
// nested, self-placing, missing, redefined and empty blocks, read with the BLOCKS section ahead of
// the drawing and after it, with and without a tight expansion limit. And bulged polylines get the
// same points in either form, whatever vertex count they give.
#include <algorithm>
#include <random>
#include <sstream>

#include "DxfTestSupport.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/lines/PolygonShape.h"

using namespace dxftest;

namespace {

// The result, the messages, the limit flag and the native text of the document read.
std::string Outcome(const std::string& sections, std::size_t limit = MDXFReader::kDefaultExpansionLimit) {
    MTessarayDoc file;
    MessageBoxRecorder told;
    MDXFReader reader(file);
    reader.SetExpansionLimit(limit);
    std::ostringstream out;
    out << "result " << reader.ReadBytes(Dxf(sections + "0|EOF")) << " limited "
        << reader.WasExpansionLimited();
    for (const auto& message : told.Messages())
        out << "\nmessage " << message.text;
    file.WriteText(out);
    return out.str();
}

struct RandomDrawing {
    int Pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
    std::string Real(int spread) {
        return std::to_string(Pick(2 * spread + 1) - spread) + "." + std::to_string(Pick(100));
    }
    std::string Shape(bool inBlock) {
        std::string s = "8|" + std::string(inBlock && Pick(2) ? "0" : "L" + std::to_string(Pick(3))) + "|";
        s += "62|" + std::to_string(Pick(257)) + "|" + (Pick(5) ? "" : "6|BYBLOCK|") + "10|" + Real(99) +
             "|20|" + Real(99) + "|";
        switch (Pick(4)) {
            case 0:
                return "0|LINE|" + s + "11|" + Real(50) + "|21|" + Real(50) + "|";
            case 1:
                return "0|CIRCLE|" + s + "40|3|";
            case 2:
                return "0|LWPOLYLINE|" + s + "42|" + Real(1) + "|10|" + Real(9) + "|20|5|70|" +
                       std::to_string(Pick(2)) + "|";
            default:
                // Blocks that are missing, that place themselves, named in the other case.
                s = std::string(Pick(5) ? "0|INSERT|" : "0|DIMENSION|") + s + "2|" + (Pick(2) ? "B" : "b") +
                    std::to_string(Pick(6)) + "|";
                if (Pick(2)) s += "41|" + Real(2) + "|42|" + Real(2) + "|50|" + Real(180) + "|";
                return s + (Pick(6) ? "" : "230|-1|");
        }
    }
    std::string Section(const char* name, int shapes) {
        std::string s = std::string("0|SECTION|2|") + name + "|";
        for (int i = 0; i < shapes; ++i)
            s += Shape(false);
        return s + "0|ENDSEC|";
    }
    std::string Blocks() {
        std::string s = "0|SECTION|2|BLOCKS|";
        // Some names come twice: the later block replaces the earlier one.
        for (int b = 0, count = 3 + Pick(6); b < count; ++b) {
            s += "0|BLOCK|8|0|2|B" + std::to_string(b < 5 ? b : Pick(5)) + "|10|" + Real(9) + "|20|" +
                 Real(9) + "|";
            for (int m = Pick(5); m > 0; --m)
                s += Shape(true);
            s += "0|ENDBLK|";
        }
        return s + "0|ENDSEC|";
    }

    std::mt19937 rng;
};

TEST(DxfBlockOrder, BlocksAheadOfOrAfterTheDrawingPlaceAlike) {
    RegisterDocumentClasses();
    // The layers' order is that of the tables, not of the first shape on each.
    const std::string tables =
        "0|SECTION|2|TABLES|0|TABLE|2|LAYER|0|LAYER|2|0|0|LAYER|2|L0|0|LAYER|2|L1|0|LAYER|2|"
        "L2|0|ENDTAB|0|ENDSEC|";
    int limited = 0;
    for (unsigned round = 1; round <= 300; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        RandomDrawing drawing{std::mt19937(round)};
        const std::string blocks = drawing.Blocks(),
                          entities = drawing.Section("ENTITIES", 5 + drawing.Pick(30));
        const std::size_t limit = round % 3 ? MDXFReader::kDefaultExpansionLimit : 40 + round;
        const std::string ahead = Outcome(tables + blocks + entities, limit);
        EXPECT_EQ(ahead, Outcome(tables + entities + blocks, limit));
        limited += ahead.find("limited 1") != std::string::npos;
    }
    EXPECT_GT(limited, 10);
}

TEST(DxfBlockOrder, BulgedPolylinesGetTheSamePointsInEitherForm) {
    RegisterDocumentClasses();
    std::mt19937 rng(11);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 100; ++round) {
        const int n = 2 + pick(6), closed = pick(2);
        // The count of an LWPOLYLINE is only a hint: right, wrong or missing.
        std::string light = "0|LWPOLYLINE|8|L|" + (pick(3) ? "90|" + std::to_string(pick(9)) + "|" : "") +
                            "70|" + std::to_string(closed) + "|";
        std::string heavy = "0|POLYLINE|8|L|66|1|70|" + std::to_string(closed) + "|";
        std::vector<std::pair<int, int>> points;
        std::vector<bool> bulged;
        for (int i = 0; i < n; ++i) {
            // A repeated point makes a chord without length, which draws no arc.
            points.push_back(i > 0 && pick(4) == 0 ? points.back() : std::make_pair(pick(50), pick(50)));
            bulged.push_back(pick(3) != 0);
            const std::string vertex = "10|" + std::to_string(points.back().first) + "|20|" +
                                       std::to_string(points.back().second) + "|42|" +
                                       (bulged.back() ? std::to_string(pick(9) - 4) + ".25" : "0") + "|";
            light += vertex;
            heavy += "0|VERTEX|8|L|" + vertex;
        }
        int arcs = 0;
        for (int i = 0; i + 1 < n || (closed && i < n); ++i)
            arcs += bulged[i] && points[i] != points[(i + 1) % n];
        SCOPED_TRACE(light);
        const std::string read = Outcome("0|SECTION|2|ENTITIES|" + light + "0|ENDSEC|");
        EXPECT_EQ(read, Outcome("0|SECTION|2|ENTITIES|" + heavy + "0|SEQEND|0|ENDSEC|"));
        MTessarayDoc file;
        MDXFReader(file).ReadBytes(Dxf("0|SECTION|2|ENTITIES|" + light + "0|ENDSEC|0|EOF"));
        const std::vector<MCadShape*> shapes = AllShapes(file);
        // Every point alike: nothing.
        ASSERT_EQ(shapes.size(), std::count(points.begin(), points.end(), points[0]) == n ? 0u : 1u);
        if (shapes.empty()) continue;
        // Each arc adds a point at least, and no more than an arc shape has between its ends.
        const int size = static_cast<const MPolygonShape*>(shapes[0])->GetPoints().GetSize();
        EXPECT_GE(size, n + arcs);
        EXPECT_LE(size, n + arcs * (MCircleArcShape::kArcPoints - 2));
    }
}

TEST(DxfBlockOrder, TheLimitTakesPlacementsInLayerOrder) {
    RegisterDocumentClasses();
    // Each copy of B weighs 16: the limit leaves room for one. L1 comes first in the file, L0 in
    // the drawing, which places its copy; the missing block and the copy left out leave no trace.
    const std::string drawing = Dxf(
        "0|SECTION|2|TABLES|0|TABLE|2|LAYER|0|LAYER|2|L0|0|LAYER|2|L1|0|ENDTAB|0|ENDSEC|"
        "0|SECTION|2|BLOCKS|0|BLOCK|2|B|0|LINE|10|0|20|0|11|1|21|1|0|LINE|10|0|20|0|11|2|21|0|0|ENDBLK|0|"
        "ENDSEC|"
        "0|SECTION|2|ENTITIES|0|INSERT|8|L1|2|B|10|5|20|5|0|LINE|8|L0|10|0|20|0|11|9|21|9|"
        "0|INSERT|8|L0|2|NONE|0|INSERT|8|L0|2|B|10|7|20|7|0|LINE|8|L0|10|1|20|0|11|9|21|9|0|ENDSEC|0|EOF");
    MTessarayDoc file;
    MDXFReader reader(file);
    reader.SetExpansionLimit(20);
    ASSERT_EQ(reader.ReadBytes(drawing), 1);
    EXPECT_TRUE(reader.WasExpansionLimited());
    ASSERT_EQ(file.GetLayers()->GetLayerCount(), 1);
    const std::vector<MCadShape*> shapes = AllShapes(file);
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_EQ(shapes[0]->GetTypeName(), shapes[2]->GetTypeName());
    const auto* copy = dynamic_cast<const MGroupShape*>(shapes[1]);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetShapeCount(), 2);
}

}  // namespace
