#include <gtest/gtest.h>

#include "model/shapes/ShapeFactory.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "tests/model/shapes/ShapeTestSupport.h"

using namespace shapetest;

namespace {

class ShapeFactoryTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureRegistered(); }
};

// A stand-in for a class that a higher layer registers at start-up.
class FakeOleShape : public MCadShape {
public:
    short GetTypeId() const override { return kShapeOle2; }
    MCadShape* CreateNew() const override { return new FakeOleShape; }
};
MCadShape* MakeFakeOle() {
    return new FakeOleShape;
}

}  // namespace

TEST_F(ShapeFactoryTest, KnowsEveryTypeIdAndKeyword) {
    const auto& types = GetShapeTypes();
    ASSERT_EQ(types.size(), 21u);
    for (std::size_t i = 1; i < types.size(); ++i)
        EXPECT_LT(types[i - 1].id, types[i].id);
    EXPECT_STREQ(GetShapeKeyword(1), "LINE");
    EXPECT_STREQ(GetShapeKeyword(24), "BALLOON");
    EXPECT_STREQ(GetShapeKeyword(0x10012), "MULTITEXT");
    EXPECT_EQ(GetShapeKeyword(15), nullptr);
    EXPECT_EQ(GetShapeKeyword(16), nullptr);
    EXPECT_EQ(GetShapeKeyword(19), nullptr);
    EXPECT_EQ(GetShapeTypeId("SPLINELOOP"), 10);
    EXPECT_EQ(GetShapeTypeId("spline"), 0);
}

TEST_F(ShapeFactoryTest, PrototypesAreInAscendingIdOrderStartingWithTheLine) {
    MCadShapeFactory& factory = GetShapeFactory();
    const int count = factory.GetCount();
    ASSERT_GE(count, 3);
    EXPECT_LE(count, 21);
    EXPECT_NE(dynamic_cast<MLineShape*>(factory.GetAt(0)), nullptr);
    for (int i = 1; i < count; ++i)
        EXPECT_LT(factory.GetAt(i - 1)->GetTypeId(), factory.GetAt(i)->GetTypeId());
    for (int i = 0; i < count; ++i)
        EXPECT_EQ(factory.GetAt(i)->GetTypeName(), GetShapeKeyword(factory.GetAt(i)->GetTypeId()));
    EXPECT_THROW(factory.GetAt(count), CInvalidArgException);
    EXPECT_THROW(factory.GetAt(-1), CInvalidArgException);
}

TEST_F(ShapeFactoryTest, CreatesByNameExactly) {
    MCadShapeFactory& factory = GetShapeFactory();
    std::unique_ptr<MCadShape> line(factory.CreateByName("LINE"));
    ASSERT_NE(dynamic_cast<MLineShape*>(line.get()), nullptr);
    EXPECT_NE(line.get(), factory.GetAt(0));  // a new object, not the prototype
    std::unique_ptr<MCadShape> polygon(factory.CreateByName("POLYGON"));
    EXPECT_NE(dynamic_cast<MPolygonShape*>(polygon.get()), nullptr);
    std::unique_ptr<MCadShape> group(factory.CreateByName("GROUP"));
    EXPECT_NE(dynamic_cast<MGroupShape*>(group.get()), nullptr);
    EXPECT_EQ(factory.CreateByName("line"), nullptr);
    EXPECT_EQ(factory.CreateByName("LINE "), nullptr);
    EXPECT_EQ(factory.CreateByName(""), nullptr);
}

TEST_F(ShapeFactoryTest, CreatesByTheLow16BitsOfTheId) {
    MCadShapeFactory& factory = GetShapeFactory();
    for (int id : {0, 15, 16, 19, 25, -1})
        EXPECT_EQ(factory.CreateById(id), nullptr) << id;
    std::unique_ptr<MCadShape> line(factory.CreateById(0x10001));
    EXPECT_NE(dynamic_cast<MLineShape*>(line.get()), nullptr);
    std::unique_ptr<MCadShape> polygon(factory.CreateById(7));
    EXPECT_NE(dynamic_cast<MPolygonShape*>(polygon.get()), nullptr);
}

TEST_F(ShapeFactoryTest, HigherLayersRegisterTheirClassesInIdOrder) {
    MCadShapeFactory factory;
    const int before = factory.GetCount();
    EXPECT_EQ(factory.CreateByName("OLE2"), nullptr);
    factory.SetCreator(kShapeOle2, &MakeFakeOle);
    EXPECT_EQ(factory.GetCount(), before + 1);
    std::unique_ptr<MCadShape> ole(factory.CreateByName("OLE2"));
    EXPECT_NE(dynamic_cast<FakeOleShape*>(ole.get()), nullptr);
    for (int i = 1; i < factory.GetCount(); ++i)
        EXPECT_LT(factory.GetAt(i - 1)->GetTypeId(), factory.GetAt(i)->GetTypeId());
    factory.SetCreator(kShapeOle2, nullptr);
    EXPECT_EQ(factory.GetCount(), before);
    EXPECT_THROW(factory.SetCreator(15, &MakeFakeOle), CInvalidArgException);
}

TEST_F(ShapeFactoryTest, WritesTheKeywordLineBeforeTheShapesOwnLines) {
    MLineShape line({1, 2}, {3, 4});
    const std::string text = ShapeText(line);
    EXPECT_EQ(text.rfind("LINE\n\t", 0), 0u) << text;
}

TEST_F(ShapeFactoryTest, ReaderSkipsBlankLinesAndUnknownRecords) {
    TextInput in(
        "\n"
        "\n"
        "WIDGET\n"
        "\t1 2 3\n"
        "\tmore fields\n"
        "LINE\n"
        "\t0 0 10 0 255 0 0.5 0 0 0 0\n");
    std::unique_ptr<MCadShape> first(ReadShapeText(nullptr, in));
    EXPECT_EQ(first, nullptr);
    EXPECT_FALSE(in.fail());
    std::unique_ptr<MCadShape> second(ReadShapeText(nullptr, in));
    auto* line = dynamic_cast<MLineShape*>(second.get());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->m_end, MFloatPoint(10, 0));
    EXPECT_EQ(line->m_stroke.color, 255u);
}

TEST_F(ShapeFactoryTest, ReaderGivesNullAtTheEndAndForDamagedRecords) {
    TextInput empty("\n\n\t\n");
    EXPECT_EQ(ReadShapeText(nullptr, empty), nullptr);

    TextInput damaged("LINE\n\t0 0 ten 0\nLINE\n\t1 1 2 2 0 0 0 0 0 0 0\n");
    EXPECT_EQ(ReadShapeText(nullptr, damaged), nullptr);
    EXPECT_TRUE(damaged.fail());
}

// Groups past the limit fold into the deepest one kept, however deep: no shape is lost and the lines
// of every folded group are consumed.
TEST_F(ShapeFactoryTest, DeeplyNestedGroupsFoldInsteadOfExhaustingTheStack) {
    std::string text;
    const int depth = 100000;
    for (int i = 0; i < depth; ++i)
        text += "GROUP\n\t1\n\t0 0 0\n";
    text += "LINE\n\t0 0 1 1 0 0 0 0 0 0 0\n";
    for (int i = 0; i < depth; ++i)
        text += "0\n";
    text += "LINE\n\t0 0 2 2 0 0 0 0 0 0 0\n";
    ResetTextNesting();
    TextInput in(text);
    const std::unique_ptr<MCadShape> folded(ReadShapeText(nullptr, in));
    ASSERT_NE(folded, nullptr);
    EXPECT_EQ(DepthAndLines(folded.get()), std::make_pair(kMaxGroupNesting, 1));
    const std::unique_ptr<MCadShape> after(ReadShapeText(nullptr, in));
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(ShapeText(*after), "LINE\n\t0 0 2 2 0 0 0 0 0 0 0\n");

    // A moderate nesting reads fine, and the depth is back at 0 afterwards.
    std::string shallow;
    for (int i = 0; i < 20; ++i)
        shallow += "GROUP\n\t1\n\t0 0 0\n";
    shallow += "LINE\n\t0 0 1 1 0 0 0 0 0 0 0\n";
    for (int i = 0; i < 20; ++i)
        shallow += "0\n";
    ResetTextNesting();
    std::unique_ptr<MCadShape> group = ReadShape(shallow);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(ShapeText(*group), shallow);
}
