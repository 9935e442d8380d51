// The reader on files written by other programs, checked against an independent reader (ezdxf):
// every file imports, and the shapes of each kind are as many as ezdxf finds entities that the
// program imports, with blocks expanded.
#include <algorithm>
#include <filesystem>

#include "DxfTestSupport.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Cp932.h"

using namespace dxftest;

namespace {

std::vector<std::string> DxfFiles() {
    return TestDataFiles("dxf", "dxf");
}

class DxfRealFiles : public DxfTest {};

TEST_F(DxfRealFiles, EveryFileImports) {
    const std::vector<std::string> files = DxfFiles();
    if (files.empty()) GTEST_SKIP() << "no DXF files under " TESSARAY_TESTDATA_DIR "/dxf";
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        MTessarayDoc file;
        MDXFReader reader(file);
        MessageBoxRecorder told;
        EXPECT_EQ(reader.Read(path), 1);
        EXPECT_GE(file.GetLayers()->GetLayerCount(), 1);
        // At most the one message that lists what was left out.
        EXPECT_LE(told.Messages().size(), 1u);
        EXPECT_FALSE(told.Saw(62700));
        EXPECT_EQ(told.Messages().empty(), reader.GetSkippedKinds().empty() && !reader.WasCutShort());
    }
}

TEST_F(DxfRealFiles, ShapeCountsMatchTheIndependentReader) {
    const std::vector<std::string> files = DxfFiles();
    if (files.empty()) GTEST_SKIP() << "no DXF files under " TESSARAY_TESTDATA_DIR "/dxf";
    SKIP_WITHOUT_EZDXF();
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        std::string output;
        ASSERT_EQ(RunScript("dxf_counts.py", {path}, &output), 0) << output;
        MTessarayDoc file;
        MDXFReader reader(file);
        ASSERT_EQ(reader.Read(path), 1);
        EXPECT_EQ(FormatCounts(CountShapes(file)), FormatCounts(ParseCounts(output)));
    }
}

TEST_F(DxfRealFiles, CodePageOfTheHeaderIsTaken) {
    const std::string path = TestDataFile("dxf/small_r13.dxf");
    SKIP_WITHOUT_TESTDATA(path);
    MDXFReader reader(doc);
    ASSERT_EQ(reader.Read(path), 1);
    EXPECT_EQ(reader.GetEncoding().GetCodePage(), "CP932");  // "dos932"
    EXPECT_FALSE(reader.GetEncoding().IsUtf8());

    const std::string utf8 = TestDataFile("dxf/dimensions.dxf");
    SKIP_WITHOUT_TESTDATA(utf8);
    MTessarayDoc other;
    MDXFReader r2(other);
    ASSERT_EQ(r2.Read(utf8), 1);
    EXPECT_TRUE(r2.GetEncoding().IsUtf8());  // AC1021
}

// ezdxf writes Japanese text in code page 932 (R12 and R2000 with ANSI_932) and in UTF-8 (R2010);
// all read back.
TEST_F(DxfRealFiles, JapaneseTextFromAnotherWriter) {
    SKIP_WITHOUT_EZDXF();
    const std::string dir = MakeTempDir("dxf-japanese");
    for (const char* version : {"R12", "R2000", "R2010"}) {
        SCOPED_TRACE(version);
        const std::string path = dir + "/japanese-" + version + ".dxf";
        std::string output;
        ASSERT_EQ(RunScript("dxf_make_japanese.py", {path, version}, &output), 0) << output;
        const std::string bytes = ReadFileBytes(path);
        if (std::string(version) != "R2010") {
            // Really code page 932 on disk.
            EXPECT_NE(bytes.find(Utf8ToCp932("日本語の文字")), std::string::npos);
        }
        MTessarayDoc file;
        MDXFReader reader(file);
        ASSERT_EQ(reader.Read(path), 1);
        EXPECT_NE(file.GetLayers()->FindLayerByName("壁"), -1);
        std::vector<std::string> texts;
        for (MCadShape* s : AllShapes(file))
            if (auto* t = dynamic_cast<MTextShape*>(s)) texts.push_back(t->GetString());
        std::sort(texts.begin(), texts.end());
        std::vector<std::string> expected{"日本語の文字 ソ表", "直径Φ10"};
        if (std::string(version) != "R12") expected.push_back("一行目\n二行目");  // R12 has no MTEXT
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(texts, expected);
    }
}

}  // namespace
