#include <gtest/gtest.h>

#include "platform/Cp932.h"
#include "platform/TextFile.h"

TEST(Cp932, RoundTripsJapaneseIncludingHalfWidthKana) {
    const std::string text = "指定されたﾌｧｲﾙを開く事ができませんでした。ABC\\~";
    const std::string bytes = Utf8ToCp932(text);
    EXPECT_EQ(Cp932ToUtf8(bytes), text);
    EXPECT_EQ(Cp932Length(text), bytes.size());
    EXPECT_EQ(Cp932Length("ﾌｧｲﾙ"), 4u);
    EXPECT_EQ(Cp932Length("用紙"), 4u);
}

TEST(Cp932, InvalidAndUnmappableInputIsReplacedNotDropped) {
    EXPECT_EQ(Cp932ToUtf8(std::string("A\x81", 2)), "A\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToCp932("a\xF0\x9F\x98\x80z"), "a?z");  // an emoji has no code page 932 form
}

TEST(Cp932, CutsNeverSplitACharacter) {
    EXPECT_EQ(Cp932Cut("用紙A", 3), "用");
    EXPECT_EQ(Cp932Cut("用紙A", 4), "用紙");
    EXPECT_EQ(Cp932Cut("ｱｲ用", 3), "ｱｲ");
    EXPECT_EQ(Cp932Cut("abc", 10), "abc");
    EXPECT_EQ(Cp932Cut("用", 1), "");
}

TEST(TextFile, DecodesCrlfAndLfAndEncodesCrlf) {
    const std::string bytes = Utf8ToCp932("一\r\n二\nthree\r\n");
    EXPECT_EQ(DecodeTextFile(bytes), "一\n二\nthree\n");
    EXPECT_EQ(EncodeTextFile("一\n二\n"), Utf8ToCp932("一\r\n二\r\n"));
}

TEST(TextFile, NumbersIgnoreTheProcessLocale) {
    EXPECT_EQ(FormatG(0.01), "0.01");
    EXPECT_EQ(FormatG(123456.789), "123457");
    EXPECT_EQ(FormatG(1e-7), "1e-07");
    EXPECT_EQ(FormatG(297), "297");
    EXPECT_EQ(FormatExact(123456.789), "123456.789");
    EXPECT_DOUBLE_EQ(AtoF("  2.5xyz"), 2.5);
    EXPECT_EQ(AtoF("abc"), 0.0);
    EXPECT_EQ(AtoI(" -12a"), -12);
    TextOutput out;
    out << 0.5;
    EXPECT_EQ(out.str(), "0.5");
}
