// What a drawing keeps through the file and through its own copies: numbers exactly, texts
// byte for byte, characters code page 932 has not, and a file cut short told as such.
#include <gtest/gtest.h>

#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Cp932.h"
#include "tests/document/DocumentTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace doctest;

namespace {

class NativeFidelity : public DocumentTest {
protected:
    void SetUp() override {
        DocumentTest::SetUp();
        dir = MakeTempDir("native_fidelity_" +
                          std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    }
    MTextShape* AddText(MTessarayDoc& doc, const std::string& string, double size) {
        auto* text = new MTextShape();
        text->SetString(string);
        text->SetTextSize(size);
        text->MoveTo(doc.GetOffscreenView(), MFloatPoint(1000.0 / 3.0, 0.1 + 0.2));
        doc.AddShape(text, -1);
        return text;
    }
    std::string dir;
};

TEST_F(NativeFidelity, SaveOpenSaveOfTextsGivesTheSameBytesAndTheSameNumbers) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    AddText(doc, "Room 1", 7.0 / 3.0);
    AddText(doc, "寝室", 0.1 + 0.7);
    doc.AddShape(Line(0.1 + 0.2, 1.0 / 3.0, 2.0 / 3.0, 1e-17 + 5), -1);
    const std::string first = dir + "/first.qfd";
    ASSERT_TRUE(doc.OnSaveDocument(first));

    MTessarayDoc again;
    ASSERT_TRUE(again.OnOpenDocument(first));
    again.RecalcAll(nullptr);
    const MLayer* layer = again.GetLayers()->GetLayer(0);
    ASSERT_EQ(layer->GetSize(), 3);
    EXPECT_EQ(layer->GetAt(0)->TextStyle().size, 7.0 / 3.0);
    EXPECT_EQ(static_cast<MTextShape*>(layer->GetAt(1))->GetPoint(), MFloatPoint(1000.0 / 3.0, 0.1 + 0.2));
    EXPECT_EQ(static_cast<MLineShape*>(layer->GetAt(2))->m_start, MFloatPoint(0.1 + 0.2, 1.0 / 3.0));
    const std::string second = dir + "/second.qfd";
    ASSERT_TRUE(again.OnSaveDocument(second));
    EXPECT_EQ(ReadBytes(second), ReadBytes(first));
}

TEST_F(NativeFidelity, AFileCutShortIsToldAndOpensUntitled) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.AddShape(Line(0, 0, 10, 10), -1);
    doc.AddLayer(new MLayer("second", TRUE, TRUE, TRUE));
    doc.AddShape(Line(5, 5, 10, 10), 1);
    const std::string path = dir + "/whole.qfd";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const std::string bytes = ReadBytes(path);
    const std::string cut = dir + "/cut.qfd";
    WriteBytes(cut, bytes.substr(0, bytes.find("[LAYER]\r\n\tsecond")));

    MessageBoxRecorder boxes;
    MTessarayDoc part;
    ASSERT_TRUE(part.OnOpenDocument(cut));
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_NE(boxes.Messages()[0].text.find("cut.qfd"), std::string::npos);
    part.SetPathName(cut);
    EXPECT_TRUE(part.GetPathName().empty()) << "a save must ask for a name, not overwrite the file";
    EXPECT_EQ(part.GetLayers()->GetLayerCount(), 1);

    // The whole file opens under its name without a word.
    MessageBoxRecorder quiet;
    MTessarayDoc whole;
    ASSERT_TRUE(whole.OnOpenDocument(path));
    whole.SetPathName(path);
    EXPECT_EQ(whole.GetPathName(), path);
    EXPECT_TRUE(quiet.Messages().empty());
}

TEST_F(NativeFidelity, CopiesKeepEveryCharacterAndASaveThatReplacesSomeSaysSoOnce) {
    const std::string special = "∅ ≈ Ω m² 😀";
    MTessarayDoc doc;
    doc.OnNewDocument();
    MTextShape* text = AddText(doc, special, 2.5);
    std::unique_ptr<MCadShape> copy(text->Duplicate());
    EXPECT_EQ(static_cast<MTextShape*>(copy.get())->GetString(), special);
    std::unique_ptr<MLayer> layer(doc.GetLayers()->GetLayer(0)->Clone(&doc));
    EXPECT_EQ(static_cast<MTextShape*>(layer->GetAt(0))->GetString(), special);

    AddText(doc, "Ω again", 2.5);
    MessageBoxRecorder boxes;
    const std::string path = dir + "/special.qfd";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(boxes.Messages().size(), 1u);
    EXPECT_EQ(text->GetString(), special) << "the drawing keeps its characters";
    EXPECT_NE(ReadBytes(path).find(Utf8ToCp932("∅ ≈ Ω m")), std::string::npos);
}

}  // namespace
