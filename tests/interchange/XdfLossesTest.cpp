// What an XDF import cannot keep is told, and what it keeps reads back from the saved drawing.
#include <string>
#include <vector>

#include "model/helpers/ImportLosses.h"
#include "model/helpers/StoredText.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/curves/SplineShapeBase.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/text/TextShape.h"
#include "tests/interchange/ImportTestSupport.h"
#include "tests/interchange/XdfTestSupport.h"

namespace {

class XdfLosses : public xdftest::XdfTest {
protected:
    std::string Told() const { return messages.Messages().empty() ? "" : messages.Messages()[0].text; }
    // The shapes of every layer, top level only.
    std::vector<MCadShape*> Shapes() {
        std::vector<MCadShape*> all;
        for (int i = 0; i < doc.GetLayers()->GetLayerCount(); ++i)
            for (int j = 0; j < doc.GetLayers()->GetLayer(i)->GetSize(); ++j)
                all.push_back(doc.GetLayers()->GetLayer(i)->GetAt(j));
        return all;
    }
};

TEST_F(XdfLosses, FileWideValuesBeyondTheRangeOfNumbersAreReplacedAndTold) {
    // Each gave every shape infinite coordinates, or collapsed them into one point.
    const struct {
        const char* sections;
        const char* told;
    } cases[] = {
        {"[SCALE]\n1e-320\n", "[SCALE]"},
        {"[SCALE]\n1e9\n", "[SCALE]"},
        {"[SCALE]\nabc\n", "[SCALE]"},
        {"[ORIGIN]\n1e308 1e308\n", "[ORIGIN]"},
        {"[ORIGIN]\n1e10 0\n[SCALE]\n1e-6\n", "[ORIGIN]"},  // fits until the scale divides it
        {"[PAPER]\nA0 1e308 1e308\n", "[PAPER]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sections);
        doc.DeleteContents();
        doc.SetPaper(MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("1:1", 1), TRUE);
        MessageBoxRecorder told;
        ASSERT_EQ(Read(std::string(c.sections) + "[ELEMENT]\nLINE\n1 2 3 4 0 0 0 0\n[END]\n"), 1);
        ASSERT_EQ(told.Messages().size(), 1u);
        EXPECT_NE(told.Messages()[0].text.find(c.told), std::string::npos) << told.Messages()[0].text;
        auto* line = dynamic_cast<MLineShape*>(Shape("Layer1", 0));
        ASSERT_NE(line, nullptr);
        EXPECT_TRUE(line->HasFiniteValues());
        EXPECT_NEAR(line->m_end.x - line->m_start.x, 2, 1e-6);
        EXPECT_NEAR(line->m_end.y - line->m_start.y, 2, 1e-6);
        importtest::ExpectReadsBackWhole(doc, "xdf-file-wide");
    }
}

TEST_F(XdfLosses, RecordsThatGiveNoShapeAreToldByKind) {
    const struct {
        std::string records;
        std::size_t kept;
        std::string told;
    } cases[] = {
        // The keyword in place of the missing data line begins the next element.
        {"LINE\nCIRCLE\n5 5 2 1 1\n", 1, "LINE 1"},
        {"LINE\n0 0 1 nan 0 0 0 0\nARC\n0 0 1 0 1 100 0 0 0\n", 0, "ARC 1\n    LINE 1"},
        {"CIRCLE\n1.7e308 0 1.7e308 0 0\n", 0, "CIRCLE 1"},  // an outline beyond the range of numbers
        {"STRING\n0 0 6 1e300 0 0 0\n x\n", 0, "STRING 1"},  // a box no number holds
        {"STRING\n0 0 6 5 0 0 0\n", 0, "STRING 1"},          // the section ends before the text
        // A record lost inside a group still takes its place there.
        {"GROUP\n2\nLINE\n0 0 1 inf 0 0 0 0\nLINE\n0 0 1 1 0 0 0 0\nLINE\n0 0 2 2 0 0 0 0\n", 2, "LINE 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.records);
        doc.DeleteContents();
        MessageBoxRecorder told;
        ASSERT_EQ(Read("[ELEMENT]\n" + c.records + "[END]\n"), 1);
        EXPECT_EQ(Shapes().size(), c.kept);
        ASSERT_EQ(told.Messages().size(), 1u);
        EXPECT_EQ(told.Messages()[0].text, "次の図形は読み込めませんでした:\n    " + c.told);
    }
}

TEST_F(XdfLosses, UnfinishedGroupsAndSplinesKeepWhatTheyRead) {
    const std::string line = "LINE\n0 0 1 1 0 0 0 0\n";
    const struct {
        std::string records;
        std::size_t kept;
        int parts;  // members of the first shape's group, or its control points
        std::string told;
    } cases[] = {
        {"GROUP\n5\n" + line + line + line, 1, 3, "グループ (1個)"},
        {"GROUP\n2\nGROUP\n3\n" + line, 1, 1, "グループ (2個)"},
        {"SPLINE\n5 0 0\n0 0\n1 1\n2 0\n" + line, 2, 3, "スプライン (1個)"},
        {"LOOP\n4 0 0\n0 0\n1 1\n2 0\n", 1, 3, "スプライン (1個)"},
        {"SPLINE\n3 0 0\n0 0\n", 0, 0, "SPLINE 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.records);
        doc.DeleteContents();
        MessageBoxRecorder told;
        ASSERT_EQ(Read("[ELEMENT]\n" + c.records + "[END]\n"), 1);
        ASSERT_EQ(Shapes().size(), c.kept);
        if (c.kept > 0) {
            auto* group = dynamic_cast<MGroupShape*>(Shapes()[0]);
            auto* spline = dynamic_cast<MSplineShapeBase*>(Shapes()[0]);
            EXPECT_EQ(group ? group->GetShapeCount() : spline ? spline->GetControlPointCount() : -1, c.parts);
        }
        ASSERT_EQ(told.Messages().size(), 1u);
        EXPECT_NE(told.Messages()[0].text.find(c.told), std::string::npos) << told.Messages()[0].text;
    }
}

TEST_F(XdfLosses, LongLinesAreSkippedAndLongTextsCut) {
    // A record's line past the limit took any memory; reading goes on after it.
    const std::string wide = "LINE\n0 0 5 0 0 0 0 0" + std::string(MXDFReader::kMaxLine, ' ') + "9\n";
    ASSERT_EQ(Read("[ELEMENT]\n" + wide + "LINE\n0 0 6 0 0 0 0 0\n[END]\n"), 1);
    ASSERT_EQ(Shapes().size(), 1u);
    EXPECT_EQ(dynamic_cast<MLineShape*>(Shapes()[0])->m_end, At(6, 0));
    EXPECT_EQ(Told(), "長すぎる行 (1行) は読み飛ばしました。\n\n次の図形は読み込めませんでした:\n    LINE 1");

    // Saved whole, the drawing lost the text's end when it was opened again.
    const struct {
        std::string text;
        std::size_t kept;
    } texts[] = {
        {std::string(100003, 'a'), kMaxStoredTextBytes},
        {"a" +
             [] {
                 std::string many;
                 for (std::size_t i = 0; i < MXDFReader::kMaxLine / 3 + 10; ++i)
                     many += "日";
                 return many;
             }(),
         1 + (kMaxStoredTextBytes - 1) / 2 * 3},  // between two characters, two bytes each in the file
    };
    for (const auto& t : texts) {
        doc.DeleteContents();
        MessageBoxRecorder told;
        ASSERT_EQ(Read("[ELEMENT]\nSTRING\n0 0 6 5 0 0 0\n " + t.text + "\n[END]\n"), 1);
        auto* text = dynamic_cast<MTextShape*>(Shape("Layer1", 0));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->GetString(), t.text.substr(0, t.kept));
        ASSERT_EQ(told.Messages().size(), 1u);
        EXPECT_EQ(told.Messages()[0].text, kTextsCutNote);
        importtest::ExpectReadsBackWhole(doc, "xdf-long-text");
    }
}

}  // namespace
