// What the parts list takes from its files and writes to them: values the drawing could not hold
// stay out, characters the file cannot hold are told.
#include <gtest/gtest.h>

#include <cfloat>
#include <functional>

#include "document/ClassRegistry.h"
#include "document/parts/CadParts.h"
#include "document/parts/CadPartsList.h"
#include "model/CadView.h"
#include "model/Dib.h"
#include "model/PaperInfo.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/picture/BitmapShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/TextFile.h"
#include "tests/support/TestSupport.h"

namespace {

class PartsIncoming : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDocumentClasses();
        RegisterPartsClasses();
        SetPartsViewProvider(nullptr);
    }

    // A part with an icon of its own, so that writing it draws nothing.
    static MCadParts* Part(const std::string& name, MCadShape* shape, int keepSize = 1, double scale = 1.0) {
        auto* part = new MCadParts;
        part->m_name = name;
        part->m_keepSize = keepSize;
        part->m_registeredScale = scale;
        part->SetShape(shape);
        auto icon = std::make_unique<MDib>(32, 32, 4);
        icon->CreateSection(nullptr);
        part->SetIcon(std::move(icon));
        return part;
    }
    // A text whose height the file holds but whose measured box no number can.
    static MCadShape* TallText() {
        auto* text = new MTextShape;
        text->SetString("abcde");
        text->SetTextSize(DBL_MAX);
        return text;
    }
    static std::string Text(const MCadPartsList& list) {
        TextOutput os;
        os.precision(15);
        list.WritePartsFile(os);
        return os.str();
    }

    MPaperInfo paper{MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("1:1", 1.0), 1, 6};
    MCadView view{&paper};
    MessageBoxRecorder messages;
};

// Each part whose shape has a value the drawing cannot hold, as read or once measured, is left out
// and told under its kind with the count; the parts around it stay. In a group only the member goes.
TEST_F(PartsIncoming, PartsWhoseValuesAreNotFiniteAreLeftOutAndTold) {
    const struct {
        const char* name;
        std::function<MCadShape*()> shape;
    } bad[] = {
        {"text", [] { return TallText(); }},
        {"group",
         [] {
             auto* group = new MGroupShape;
             group->AddShape(new MLineShape({0, 0}, {1, 1}));
             group->AddShape(TallText());
             return group;
         }},
    };
    MCadPartsList source("s");
    source.Add(Part("first", new MLineShape({0, 0}, {5, 0})));
    for (const auto& part : bad)
        source.Add(Part(part.name, part.shape()));
    source.Add(Part("last", new MLineShape({0, 0}, {0, 5})));

    MCadPartsList list;
    list.m_path = "/x/p.qfp";
    TextInput is(Text(source));
    list.LoadPartsFile(is);
    ASSERT_EQ(list.GetSize(), 3);
    EXPECT_EQ(list.GetAt(0)->m_name, "first");
    EXPECT_EQ(list.GetAt(1)->m_name, "group");
    EXPECT_EQ(static_cast<const MGroupShape*>(list.GetAt(1)->GetShape())->GetShapeCount(), 1);
    EXPECT_EQ(list.GetAt(2)->m_name, "last");
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text,
              "\"/x/p.qfp\"\n\n次の部品は数値が正しくないため読み込みませんでした:\n    TEXT 1\n\n"
              "次の図形は読み込めませんでした:\n    TEXT 1");
}

// Pictures of a parts file that cannot be read are told together, in the program's words; the parts
// keep their shapes without them.
TEST_F(PartsIncoming, PicturesThatCannotBeReadAreToldOnce) {
    MCadPartsList source("s");
    for (const char* name : {"a", "b"}) {
        auto* picture = new MBitmapShape;
        picture->SetRect(0, 10, 10, 0);
        auto image = std::make_unique<MDib>(4, 4, 24);
        image->CreateSection(nullptr);
        picture->SetImage(std::move(image));
        source.Add(Part(name, picture));
    }
    std::string text = Text(source);
    // Each picture's 48 bytes of bits announced as 47.
    for (std::size_t at = 0; (at = text.find("\t48 BASE64", at)) != std::string::npos;)
        text.replace(at, 3, "\t47");
    MCadPartsList list;
    list.m_path = "/x/p.qfp";
    TextInput is(text);
    list.LoadPartsFile(is);
    ASSERT_EQ(list.GetSize(), 2);
    EXPECT_FALSE(static_cast<const MBitmapShape*>(list.GetAt(1)->GetShape())->HasImage());
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, "\"/x/p.qfp\"\n\n壊れている画像 (2個) は読み込めませんでした。");
}

// A registered scale so far from the paper's that the scaled shape would overflow places the part
// at its own size.
TEST_F(PartsIncoming, PlacementThatWouldOverflowKeepsThePartsOwnSize) {
    std::unique_ptr<MCadParts> part(Part("p", new MLineShape({0, 0}, {1e10, 0}), 0, 1e300));
    std::unique_ptr<MCadShape> placed(part->Instantiate(&view));
    ASSERT_NE(placed, nullptr);
    EXPECT_TRUE(placed->HasFiniteValues());
    EXPECT_DOUBLE_EQ(placed->GetExtent().GetWidth(), 1e10);
}

// Writing a character that code page 932 lacks tells it once: the next write of the same loss
// (every change writes the list) says nothing, a new loss is told again.
TEST_F(PartsIncoming, CharactersTheFileCannotHoldAreToldWhenTheyAreNew) {
    const std::string folder = MakeTempDir("parts-incoming");
    MCadPartsList list("一覧");
    list.m_path = folder + "/p.qfp";
    list.Add(Part("x∛y", new MLineShape({0, 0}, {5, 0})));
    std::size_t seen = 0;
    const auto told = [&] {
        bool said = false;
        for (; seen < messages.Messages().size(); ++seen)
            said = said ||
                   messages.Messages()[seen].text.find("「?」に置き換えて保存しました") != std::string::npos;
        return said;
    };
    ASSERT_TRUE(SavePartsListFile(list));
    EXPECT_TRUE(told());
    list.SetName("一覧2");
    ASSERT_TRUE(SavePartsListFile(list));
    EXPECT_FALSE(told());
    list.Add(Part("ä", new MLineShape({0, 0}, {5, 0})));
    ASSERT_TRUE(SavePartsListFile(list));
    EXPECT_TRUE(told());
}

}  // namespace
