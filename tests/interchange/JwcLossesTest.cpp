// What a JW_CAD drawing import cannot keep is told, and what it keeps reads back from the saved
// drawing.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>

#include "document/ClassRegistry.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "model/helpers/ImportLosses.h"
#include "interchange/JwcPenSettings.h"
#include "interchange/JwcReader.h"
#include "model/helpers/StoredText.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Cp932.h"
#include "tests/interchange/ImportTestSupport.h"
#include "tests/interchange/JwcTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using jwtest::JwcBuilder;

class JwcLosses : public ::testing::Test {
protected:
    void SetUp() override { RegisterDocumentClasses(); }
    int Read(const std::string& bytes) {
        doc.DeleteContents();
        MJWCReader reader(doc);
        reader.SetPenSettings(MJWCPenSettings());
        return reader.ReadBytes(bytes);
    }
    int ShapeCount() {
        int n = 0;
        for (int i = 0; i < doc.GetLayers()->GetLayerCount(); ++i)
            n += doc.GetLayers()->GetLayer(i)->GetSize();
        return n;
    }

    MTessarayDoc doc;
};

TEST_F(JwcLosses, ScalesThatCannotBeUsedAreReadAsOneToOneAndTold) {
    // 1e308 and 1e-308 gave the paper and every shape values beyond the range of numbers; the
    // others refused the file.
    for (const char* denominator : {"1e308", "1e-308", "1e-7", "0", "-5", "nan", "x"}) {
        SCOPED_TRACE(denominator);
        JwcBuilder b;
        b.lines.push_back(jwtest::LineRecord(1, 2, 11, 2, 1, 2, 0));
        auto tokens = jwtest::Split(b.Settings(), ",");
        tokens[9] = denominator;
        for (const std::string& t : tokens)
            b.settingsOverride += t + ",";
        MessageBoxRecorder told;
        ASSERT_EQ(Read(b.Build()), 1);
        EXPECT_EQ(doc.GetPaperInfo().GetScale(), 1.0);
        ASSERT_EQ(ShapeCount(), 1);
        EXPECT_EQ(dynamic_cast<MLineShape*>(doc.GetLayers()->GetLayer(0)->GetAt(0))->m_end,
                  MFloatPoint(11, 2));
        ASSERT_EQ(told.Messages().size(), 1u);
        EXPECT_EQ(told.Messages()[0].text, "縮尺が使えない値のため、1:1 で読み込みました。");
        importtest::ExpectReadsBackWhole(doc, "jwc-scale");
    }
}

TEST_F(JwcLosses, RecordsBeyondTheRangeOfNumbersAreToldByKind) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    JwcBuilder b;
    b.lines = {jwtest::LineRecord(0, 0, 1, 1, 1, 2, 0), jwtest::LineRecord(nan, 0, 1, 1, 1, 2, 0),
               jwtest::LineRecord(0, 0, -inf, 1, 1, 2, 0)};
    b.arcs = {jwtest::ArcRecord(0, 0, inf, 10000, 0, 0, 0, 1, 2, 0),
              jwtest::ArcRecord(nan, 0, 1, 5000, 0, 0, 0, 1, 2, 0)};
    b.block = std::string("a\0", 2);
    b.texts = {jwtest::TextRecord(0, nan, 1, 0, 0, 0x1000, 3, 0, 0)};
    b.points = {jwtest::PointRecord(inf, 0, 0, 1)};
    b.markXY = {{{nan, 0}}};
    b.markLayers = {0};
    MessageBoxRecorder told;
    ASSERT_EQ(Read(b.Build()), 1);
    EXPECT_EQ(ShapeCount(), 1);
    ASSERT_EQ(told.Messages().size(), 1u);
    const std::string& text = told.Messages()[0].text;
    for (const char* kind : {"線 2", "円・円弧 2", "文字 1", "点 1", "マーク 1"})
        EXPECT_NE(text.find("\n    " + std::string(kind)), std::string::npos) << kind << "\n" << text;
}

TEST_F(JwcLosses, LongTextsAreCutBetweenCharactersAndTold) {
    // Saved whole, the drawing lost the text's end when it was opened again.
    std::string japanese = "a";
    for (int i = 0; i < 40000; ++i)
        japanese += "日";
    for (const auto& [text, kept] :
         {std::pair<std::string, std::size_t>{std::string(100003, 'a'), kMaxStoredTextBytes},
          {japanese, 1 + (kMaxStoredTextBytes - 1) / 2 * 3}}) {
        JwcBuilder b;
        b.block = Utf8ToCp932(text) + '\0';
        b.texts = {jwtest::TextRecord(0, 0, 1, 0, 0, 0x1000, 3, 0, 0)};
        MessageBoxRecorder told;
        ASSERT_EQ(Read(b.Build()), 1);
        auto* shape = dynamic_cast<MTextShape*>(doc.GetLayers()->GetLayer(0)->GetAt(0));
        ASSERT_NE(shape, nullptr);
        EXPECT_EQ(shape->GetString(), text.substr(0, kept));
        ASSERT_EQ(told.Messages().size(), 1u);
        EXPECT_EQ(told.Messages()[0].text, kTextsCutNote);
        importtest::ExpectReadsBackWhole(doc, "jwc-long-text");
    }
}

}  // namespace
