// The JW_CAD parts import on files built by hand from the layout.
#include <gtest/gtest.h>

#include <fstream>

#include "document/ClassRegistry.h"
#include "document/parts/CadParts.h"
#include "interchange/JwcPenSettings.h"
#include "interchange/JwkReader.h"
#include "model/CadView.h"
#include "model/Dib.h"
#include "model/PaperInfo.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/text/TextShape.h"
#include "tests/interchange/JwcTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace jwtest;

// lines, arcs, points, texts, then the string block, after a header and a settings line.
std::string Jwk(const std::string& settings, const std::string& records) {
    std::string b = "jw_cad(c)sym........";
    b.resize(200, ' ');
    return b + Block(settings) + records;
}

class JwkReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDocumentClasses();
        RegisterPartsClasses();
        reader.SetPenSettings(MJWCPenSettings());
    }
    MJWKReader reader;
    MessageBoxRecorder messages;
};

TEST_F(JwkReaderTest, RecordsBecomeOneGroup) {
    const std::string records = LineRecord(0, 0, 10, 0, 1, 2, 0) +
                                ArcRecord(5, 5, 2, 10000, 0, 0, 0, 1, 3, 0) + PointRecord(1, 1, 0, 1) +
                                TextRecord(0, 0, 1, 0, 3, 0, 3, 0, 0) + std::string("ab\0cd\0", 6);
    ASSERT_EQ(reader.ReadBytes(Jwk("1,1,1,1,4,4,0,6,20", records)), 1);
    EXPECT_DOUBLE_EQ(reader.GetUnitScale(), 0.05);
    MGroupShape* group = reader.GetGroup();
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->GetShapeCount(), 4);
    EXPECT_NE(dynamic_cast<MLineShape*>(group->GetShapeAt(0)), nullptr);
    auto* circle = dynamic_cast<MCircleShape*>(group->GetShapeAt(1));
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->GetColor(), MJWCPenSettings().colors[2]);
    auto* point = dynamic_cast<MCircleShape*>(group->GetShapeAt(2));
    ASSERT_NE(point, nullptr);
    EXPECT_DOUBLE_EQ(point->m_radius, 0.5 / 0.05);
    auto* text = dynamic_cast<MTextShape*>(group->GetShapeAt(3));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetString(), "cd");
    EXPECT_DOUBLE_EQ(text->GetTextSize(), 3.0 / 0.05);  // the default height of kind 3
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(JwkReaderTest, TheSettingsLineEndsAtItsFirstMissingValue) {
    ASSERT_EQ(reader.ReadBytes(Jwk("1,0", LineRecord(0, 0, 10, 0, 1, 2, 0))), 1);
    EXPECT_EQ(reader.GetGroup()->GetShapeCount(), 1);
    EXPECT_EQ(reader.GetUnitScale(), 1.0);
    EXPECT_EQ(reader.m_refX, 0.0);
}

TEST_F(JwkReaderTest, RefusedFilesYieldNoGroup) {
    ASSERT_EQ(reader.ReadBytes(Jwk("1", LineRecord(0, 0, 10, 0, 1, 2, 0))), 1);
    std::string drawing = Jwk("1", LineRecord(0, 0, 10, 0, 1, 2, 0));
    drawing.replace(0, 20, "jw_cad(c)data.......");
    EXPECT_EQ(reader.ReadBytes(drawing), 0);
    EXPECT_TRUE(messages.Saw(62800));
    EXPECT_EQ(reader.GetGroup(), nullptr);

    const char* damaged[] = {"2", "0,0,0,1,0,0,0,0", "0,0,0,1,0,0,0,2", "1.5", "-1"};
    for (const char* settings : damaged) {
        MessageBoxRecorder recorder;
        std::string records = LineRecord(0, 0, 10, 0, 1, 2, 0);
        if (std::string(settings).find("0,0,0,1") == 0) records = TextRecord(0, 0, 1, 0, 5, 0, 3, 0, 0) + "a";
        EXPECT_EQ(reader.ReadBytes(Jwk(settings, records)), 0) << settings;
        EXPECT_TRUE(recorder.Saw(62700)) << settings;
        EXPECT_EQ(reader.GetGroup(), nullptr);
    }
    EXPECT_EQ(reader.Read(MakeTempDir("JwkMissing") + "/none.jwk"), 0);
}

TEST_F(JwkReaderTest, ValuesThatCannotBeUsedAreReplacedAndTold) {
    // The scales refused the file or gave points and texts of infinite size; the references put
    // the part's base point at infinity.
    const struct {
        const char* settings;
        const char* told;
    } cases[] = {
        {"1,0,0,0,4,4,0,0,0", "縮尺"},       {"1,0,0,0,4,4,0,0,-2", "縮尺"},
        {"1,0,0,0,4,4,0,0,1e308", "縮尺"},   {"1,0,0,0,4,4,0,0,nan", "縮尺"},
        {"1,0,0,0,1e300,4,0,0,1", "基準点"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        MessageBoxRecorder told;
        ASSERT_EQ(reader.ReadBytes(Jwk(c.settings, LineRecord(0, 0, 10, 0, 1, 2, 0))), 1);
        EXPECT_EQ(reader.GetUnitScale(), 1.0);
        ASSERT_EQ(told.Messages().size(), 1u);
        EXPECT_NE(told.Messages()[0].text.find(c.told), std::string::npos) << told.Messages()[0].text;
        MPaperInfo paper;
        MCadView view(&paper);
        std::unique_ptr<MCadParts> part(reader.CreateParts(&view, "p"));
        ASSERT_NE(part, nullptr);
        EXPECT_TRUE(part->GetShape()->HasFiniteValues());
    }
}

TEST_F(JwkReaderTest, APartIsPlacedByTheReferenceCodes) {
    ASSERT_EQ(reader.ReadBytes(Jwk("2,0,0,0,48,92,0,0,100", LineRecord(10, 20, 110, 20, 1, 2, 0) +
                                                                LineRecord(10, 20, 10, 70, 1, 2, 0))),
              1);
    MPaperInfo paper;
    MCadView view(&paper);
    std::unique_ptr<MCadParts> part(reader.CreateParts(&view, "部品"));
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->m_name, "部品");
    EXPECT_EQ(part->m_keepSize, 1);
    EXPECT_DOUBLE_EQ(part->m_registeredScale, 0.01);
    ASSERT_NE(part->GetIcon(), nullptr);
    EXPECT_EQ(part->GetIcon()->GetSize().cx, 32);
    auto* group = dynamic_cast<MGroupShape*>(part->GetShape());
    ASSERT_NE(group, nullptr);
    ASSERT_TRUE(group->HasBasePoint());
    // Extent 100 × 50 from (10, 20): c = 100, base = (10 + 100 × 44 / 88, 20 + 100 × 88 / 88).
    EXPECT_EQ(group->GetBasePoint(), MFloatPoint(60, 120));
    EXPECT_EQ(paper.GetScale(), MPaperInfo().GetScale());  // the caller's paper is untouched

    MJWKReader empty;
    EXPECT_EQ(empty.CreateParts(&view, "x"), nullptr);
}

}  // namespace
