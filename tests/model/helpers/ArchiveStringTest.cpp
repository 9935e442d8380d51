#include <gtest/gtest.h>

#include "model/helpers/ArchiveString.h"
#include "platform/Archive.h"
#include "platform/Cp932.h"
#include "platform/File.h"

namespace {

std::vector<BYTE> Store(const std::string& s, UINT mode = 0) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store | mode);
        WriteArchiveString(ar, s);
    }
    return file.Data();
}

std::string Load(const std::vector<BYTE>& bytes, UINT mode = 0) {
    CMemFile in(bytes);
    CArchive ar(&in, CArchive::load | mode);
    std::string s = "old";
    ReadArchiveString(ar, s);
    return s;
}

TEST(ArchiveString, LengthWordThenCodePage932Bytes) {
    const std::vector<BYTE> bytes = Store("ＭＳ ゴシック");
    ASSERT_EQ(bytes.size(), 2u + 13u);
    EXPECT_EQ(bytes[0], 13);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 0x82);  // "Ｍ" in code page 932
    EXPECT_EQ(Load(bytes), "ＭＳ ゴシック");
    EXPECT_EQ(Store(""), (std::vector<BYTE>{0, 0}));
    EXPECT_EQ(Load({0, 0}), "");
}

TEST(ArchiveString, OverlongStringsAreCutAtACharacter) {
    std::string longText = "aa";
    for (int i = 0; i < 40000; ++i)
        longText += "字";
    const std::vector<BYTE> bytes = Store(longText);
    const std::size_t length = bytes[0] | (bytes[1] << 8);
    EXPECT_LE(length, 0xFFFFu);
    EXPECT_EQ(length % 2, 0u);  // "aa" then whole two-byte characters
    EXPECT_EQ(bytes.size(), length + 2);
    const std::string back = Load(bytes);
    EXPECT_EQ(back, Cp932Cut(longText, 0xFFFF));
}

TEST(ArchiveString, TheProgramsOwnArchivesKeepTheLongestLineADrawingKeeps) {
    // 40,000 kanji fit a drawing's line in code page 932, but not the length word in UTF-8.
    std::string longText;
    for (int i = 0; i < 40000; ++i)
        longText += "字";
    EXPECT_EQ(Load(Store(longText, CArchive::utf8), CArchive::utf8), longText);
    EXPECT_EQ(Utf8ArchiveCopy(longText), longText);
    std::vector<BYTE> hostile{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
    EXPECT_THROW(Load(hostile, CArchive::utf8), CArchiveException);
}

TEST(ArchiveString, TruncatedDataRaisesAndWrongDirectionRaises) {
    EXPECT_THROW(Load({5, 0, 'a', 'b'}), CArchiveException);
    EXPECT_THROW(Load({5}), CArchiveException);

    CMemFile in(std::vector<BYTE>{0, 0});
    CArchive loading(&in, CArchive::load);
    EXPECT_THROW(WriteArchiveString(loading, "x"), CArchiveException);
}

}  // namespace
