// The DXF and JW_CAD exports through the document's save: what they tell and leave in the folder.
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

// Before, both exports said only that the file could not be opened.
TEST_F(ExportFailure, AFullDiskIsReportedInTheNativeSavesWordsAndTheTargetStays) {
    for (const char* name : {"x.dxf", "x.jwc"})
        for (const auto step :
             {MMirrorOStream::kStepOpen, MMirrorOStream::kStepWrite, MMirrorOStream::kStepRename}) {
            SCOPED_TRACE(std::string(name) + " step " + std::to_string(step));
            const std::string dir = MakeTempDir("export_full"), path = dir + "/" + name;
            std::ofstream(path, std::ios::binary) << "old";
            g_failing = step;
            const auto previous = MMirrorOStream::SetStepHook(&FailWithNoSpace);
            EXPECT_EQ(Save(path), std::vector<std::string>{MTessarayDoc::FileErrorText(ENOSPC)});
            MMirrorOStream::SetStepHook(previous);
            std::ifstream in(path, std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
        }
}

TEST_F(ExportFailure, CharactersOutsideTheCodePageGetTheNativeSavesNotice) {
    auto* text = new MTextShape;
    text->SetString("\u2126 \u2300 12");  // the ohm sign and the diameter sign
    doc.AppendShape(text, layer);
    const std::string dir = MakeTempDir("export_replaced");
    const std::vector<std::string> native = Save(dir + "/x.qfd");
    ASSERT_EQ(native.size(), 1u);
    EXPECT_EQ(Save(dir + "/x.jwc"), native);  // before, '?' without a word
    // A layer name counts as well; plain text says nothing.
    text->SetString("abc 漢字");
    EXPECT_TRUE(Save(dir + "/y.jwc").empty());
    doc.GetLayers()->GetLayer(layer)->SetName("\u2300");
    EXPECT_EQ(Save(dir + "/z.jwc"), native);
}

// Before, a save removed every old file named "QFD", "QFB" or "JWC" and six letters or digits:
// the user's own files among them. Only the temporaries of the saved file (and its backup) go.
TEST_F(ExportFailure, ASaveRemovesOnlyTheTemporariesItsOwnKilledSavesLeft) {
    const auto recent = std::filesystem::file_time_type::clock::now(), old = recent - std::chrono::hours(24);
    // "*" stands for the saved file's name.
    const struct {
        const char* name;
        bool isOld;
        bool removed;
    } entries[] = {
        {"*.tessaray-a1B2c3.tmp", true, true},
        {"x.XBK.tessaray-zz09AZ.tmp", true, true},
        {"*.tessaray-Recent.tmp", false, false},
        {"QFDPLAN01", true, false},
        {"JWCHOUSE2", true, false},
        {"QFBACKUP1", true, false},
        {"QFDa1B2c3", true, false},
        {"*.tessaray-a1B2c.tmp", true, false},
        {"*.tessaray-a1.2c3.tmp", true, false},
        {"*.tessaray-a1B2c3.tmp~", true, false},
        {"y.qfd.tessaray-a1B2c3.tmp", true, false},
    };
    for (const std::string saved : {"x.qfd", "x.dxf", "x.jwc"}) {
        SCOPED_TRACE(saved);
        const std::string dir = MakeTempDir("export_stale");
        std::vector<std::string> names;
        for (const auto& e : entries) {
            std::string name = e.name;
            if (const auto star = name.find('*'); star != std::string::npos) name.replace(star, 1, saved);
            names.push_back(name);
            std::ofstream(dir + "/" + name) << "x";
            std::filesystem::last_write_time(dir + "/" + name, e.isOld ? old : recent);
        }
        const std::string folder = dir + "/" + saved + ".tessaray-dir123.tmp";
        std::filesystem::create_directory(folder);
        std::filesystem::last_write_time(folder, old);
        ASSERT_TRUE(Save(dir + "/" + saved).empty());
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(std::filesystem::exists(dir + "/" + names[i]), !entries[i].removed) << names[i];
        EXPECT_TRUE(std::filesystem::exists(folder));
    }
}

}  // namespace
