// The DXF and JW_CAD exports through the document's save: how they fail, what they tell, what they
// leave in the folder.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "document/ClassRegistry.h"
#include "document/Layer.h"
#include "document/MirrorOStream.h"
#include "document/TessarayDoc.h"
#include "interchange/InterchangeFactory.h"
#include "interchange/JwcXdfInterchange.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/text/TextShape.h"
#include "tests/support/TestSupport.h"

namespace {

MMirrorOStream::Step g_failing = MMirrorOStream::kStepOpen;
int FailWithNoSpace(MMirrorOStream::Step step) {
    return step == g_failing ? ENOSPC : 0;
}

class ExportFailure : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDocumentClasses();
        m_previous = GetInterchangeFactory();
        SetInterchangeFactory(&m_dxf);
        m_jwcXdf.SetNext(&m_dxf);
        SetInterchangeFactory(&m_jwcXdf);
        layer = doc.AddLayer(new MLayer("L", TRUE, TRUE, TRUE));
        doc.AppendShape(new MLineShape({0, 0}, {10, 10}), layer);
    }
    void TearDown() override { SetInterchangeFactory(m_previous); }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The texts of the messages a save into path shows.
    std::vector<std::string> Save(const std::string& path) {
        MessageBoxRecorder seen;
        doc.OnSaveDocument(path);
        std::vector<std::string> texts;
        for (const auto& m : seen.Messages())
            texts.push_back(m.text);
        return texts;
    }

    MTessarayInterchangeFactory m_dxf;
    MJWCXDFInterchangeFactory m_jwcXdf;
    MInterchangeFactory* m_previous = nullptr;
    MTessarayDoc doc;
    int layer = 0;
};

TEST_F(ExportFailure, AFullDiskIsReportedInTheNativeSavesWordsAndTheTargetStays) {
    // Before, both exports said only that the file could not be opened.
    const std::string expected = MTessarayDoc::FileErrorText(ENOSPC);
    for (const char* name : {"x.dxf", "x.jwc"}) {
        for (const auto step :
             {MMirrorOStream::kStepOpen, MMirrorOStream::kStepWrite, MMirrorOStream::kStepRename}) {
            SCOPED_TRACE(std::string(name) + " step " + std::to_string(step));
            const std::string dir = MakeTempDir("export_full");
            const std::string path = dir + "/" + name;
            std::ofstream(path, std::ios::binary) << "old";
            g_failing = step;
            const auto previous = MMirrorOStream::SetStepHook(&FailWithNoSpace);
            const std::vector<std::string> texts = Save(path);
            MMirrorOStream::SetStepHook(previous);
            EXPECT_EQ(texts, std::vector<std::string>{expected});
            EXPECT_EQ(ReadFile(path), "old");
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
        }
    }
}

TEST_F(ExportFailure, CharactersOutsideTheCodePageGetTheNativeSavesNotice) {
    auto* text = new MTextShape;
    text->SetString("\u2126 \u2300 12");  // the ohm sign and the diameter sign
    doc.AppendShape(text, layer);
    const std::string dir = MakeTempDir("export_replaced");
    const std::vector<std::string> native = Save(dir + "/x.qfd");
    ASSERT_EQ(native.size(), 1u);
    // Before, the JW_CAD file got '?' without a word.
    EXPECT_EQ(Save(dir + "/x.jwc"), native);
    // A layer name counts as well; plain text says nothing.
    text->SetString("abc 漢字");
    EXPECT_TRUE(Save(dir + "/y.jwc").empty());
    doc.GetLayers()->GetLayer(layer)->SetName("\u2300");
    EXPECT_EQ(Save(dir + "/z.jwc"), native);
}

TEST_F(ExportFailure, TemporaryFilesOfKilledSavesGoAtTheNextSaveIntoTheFolder) {
    // Before, the temporary files of killed saves stayed in the folder for ever.
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    const auto recent = std::filesystem::file_time_type::clock::now();
    struct Entry {
        const char* name;
        bool isOld;
        bool removed;
    };
    const Entry entries[] = {
        {"QFDa1B2c3", true, true},   {"QFBzz09AZ", true, true},   {"JWCabcdef", true, true},
        {"QFDa1B2c3x", true, false}, {"QFDa1B2c", true, false},   {"QFDa1.2c3", true, false},
        {"qfda1b2c3", true, false},  {"JWCrecent", false, false}, {"drawing.qfd", true, false},
        {"XYZabcdef", true, false},
    };
    for (const char* saved : {"x.qfd", "x.dxf", "x.jwc"}) {
        SCOPED_TRACE(saved);
        const std::string dir = MakeTempDir("export_stale");
        for (const Entry& e : entries) {
            const std::string path = dir + "/" + e.name;
            std::ofstream(path) << "x";
            std::filesystem::last_write_time(path, e.isOld ? old : recent);
        }
        std::filesystem::create_directory(dir + "/QFDdir123");
        std::filesystem::last_write_time(dir + "/QFDdir123", old);
        ASSERT_TRUE(Save(dir + "/" + saved).empty());
        for (const Entry& e : entries)
            EXPECT_EQ(std::filesystem::exists(dir + "/" + e.name), !e.removed) << e.name;
        EXPECT_TRUE(std::filesystem::exists(dir + "/QFDdir123"));
    }
}

}  // namespace
