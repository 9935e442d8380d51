#include <gtest/gtest.h>

#include <random>
#include <vector>

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

// Only the runs of non-ASCII bytes go through iconv; the result must be what converting the whole
// text gives, also where a two-byte character's trail byte is ASCII ("ソ" is 0x83 0x5C, "表" 0x95
// 0x5C, "ー" 0x81 0x5B).
TEST(Cp932, MixedTextConvertsAsAWhole) {
    const std::vector<std::string> fragments = {"a",  "\\", "~",    "\n",   "\r\n", "0.25 ", "ソ",
                                                "表", "ー", "ﾌｧｲﾙ", "用紙", "×",    "①",     "ＭＳ ゴシック",
                                                "\t"};
    std::mt19937 rng(5);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int n = 1 + static_cast<int>(rng() % 40);
        for (int i = 0; i < n; ++i)
            text += fragments[rng() % fragments.size()];
        std::string whole;
        ASSERT_TRUE(ConvertEncoding(text, "UTF-8", "CP932", whole));
        const std::string bytes = Utf8ToCp932(text);
        ASSERT_EQ(bytes, whole) << text;
        std::string back;
        ASSERT_TRUE(ConvertEncoding(bytes, "CP932", "UTF-8", back));
        ASSERT_EQ(Cp932ToUtf8(bytes), back) << text;
        ASSERT_EQ(back, text);
    }
}

// A broken sequence becomes one replacement and never swallows the line end or letter after it.
TEST(Cp932, BrokenSequencesKeepTheCharactersAfterThem) {
    EXPECT_EQ(Cp932ToUtf8(std::string("\x81\n\x85\x40z", 5)), "\xEF\xBF\xBD\n\xEF\xBF\xBD@z");
    EXPECT_EQ(Cp932ToUtf8(std::string("\x81 A\xFF", 4)), "\xEF\xBF\xBD A\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToCp932("\xE3\x81\nabc"), "?\nabc");
    EXPECT_EQ(Utf8ToCp932("\xE3\x81z用"), "?z" + Utf8ToCp932("用"));
    EXPECT_EQ(Utf8ToCp932("x\x80\x80y"), "x??y");
    EXPECT_EQ(EncodeTextFile("\xE3\n二\n"), "?\r\n" + Utf8ToCp932("二") + "\r\n");
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
    // Only a CR right before an LF goes.
    EXPECT_EQ(DecodeTextFile("\r\r\na\rb\r\n\r"), "\r\na\rb\n\r");
    EXPECT_EQ(DecodeTextFile("\r"), "\r");
    EXPECT_EQ(DecodeTextFile(""), "");
    EXPECT_EQ(DecodeTextFile(Utf8ToCp932("ソ\r\n表\r\r\n")), "ソ\n表\r\n");
    EXPECT_EQ(EncodeTextFile("\n\nx"), "\r\n\r\nx");
    EXPECT_EQ(EncodeTextFile(""), "");
    const std::string text = "[LAYER]\n\t壁 と 柱\n\t3\nLINE\n\t0 0 1 1\n";
    EXPECT_EQ(DecodeTextFile(EncodeTextFile(text)), text);
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
