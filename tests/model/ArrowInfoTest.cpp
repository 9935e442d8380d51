#include <gtest/gtest.h>

#include <cstring>

#include "model/ArrowInfo.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"

namespace {

TEST(ArrowInfo, SizesCountOnlyForEndsWithAHead) {
    const MArrowInfo a(kArrowNone, 9.0, kArrowFilled, 2.5);
    EXPECT_EQ(a.GetStartSize(), 0.0);
    EXPECT_EQ(a.GetEndSize(), 2.5);
    EXPECT_EQ(a.GetMaxSize(), 2.5);
    EXPECT_EQ(MArrowInfo().GetMaxSize(), 0.0);
    EXPECT_EQ(MArrowInfo(kArrowOpen, 4, kArrowSlash, 3).GetMaxSize(), 4.0);
}

TEST(ArrowInfo, ArchiveOrderIsStartStyleStartSizeEndStyleEndSize) {
    const MArrowInfo a(kArrowOpen, 2.5, kArrowFilledCircle, 4.0);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << a;
    }
    const std::vector<BYTE>& d = file.Data();
    ASSERT_EQ(d.size(), 24u);
    std::int32_t style = 0;
    double size = 0;
    std::memcpy(&style, d.data(), 4);
    std::memcpy(&size, d.data() + 4, 8);
    EXPECT_EQ(style, 1);
    EXPECT_EQ(size, 2.5);
    std::memcpy(&style, d.data() + 12, 4);
    std::memcpy(&size, d.data() + 16, 8);
    EXPECT_EQ(style, 6);
    EXPECT_EQ(size, 4.0);

    CMemFile in(d);
    CArchive ar(&in, CArchive::load);
    MArrowInfo b;
    ar >> b;
    EXPECT_EQ(b, a);
}

TEST(ArrowInfo, TextForm) {
    TextOutput out;
    WriteArrowInfoText(out, MArrowInfo(2, 3.5, 0, 1));
    EXPECT_EQ(out.str(), "2 3.5 0 1");
    TextInput in(out.str());
    MArrowInfo b;
    ReadArrowInfoText(in, b);
    EXPECT_EQ(b, MArrowInfo(2, 3.5, 0, 1));

    TextInput bad("2 x 0 1");
    MArrowInfo c(1, 1, 1, 1);
    ReadArrowInfoText(bad, c);
    EXPECT_FALSE(bad);
    EXPECT_EQ(c, MArrowInfo(1, 1, 1, 1));
}

TEST(ArrowInfo, StyleNamesAreInTheStringTable) {
    const char* names[] = {"なし", "矢印", "三角", "斜線", "バツ", "白丸", "黒丸"};
    for (int i = 0; i < kArrowStyleCount; ++i)
        EXPECT_EQ(AfxLoadString(kArrowStyleNameIds[i]), names[i]) << i;
}

}  // namespace
