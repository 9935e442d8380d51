#include <gtest/gtest.h>

#include "model/helpers/TextStream.h"
#include "platform/TextFile.h"

namespace {

std::string Rest(std::istream& is) {
    std::string rest, line;
    while (std::getline(is, line))
        rest += line + "\n";
    return rest;
}

TEST(TextStream, SkipTextCommentSkipsOneCommentLine) {
    TextInput in("# note\n# second\nvalue\n");
    EXPECT_EQ(SkipTextComment(in), '#');  // only the first comment line goes
    EXPECT_EQ(Rest(in), "# second\nvalue\n");

    TextInput plain("value\n");
    EXPECT_EQ(SkipTextComment(plain), 'v');
    EXPECT_EQ(Rest(plain), "value\n");
}

TEST(TextStream, ReadTextLineCutsAndSkipsAComment) {
    TextInput in("abcdef\n#comment\nnext\n");
    char buffer[4];
    EXPECT_EQ(ReadTextLine(in, buffer, sizeof buffer), 7);  // six characters and the line end
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(Rest(in), "next\n");

    TextInput last("end");
    char big[16];
    EXPECT_EQ(ReadTextLine(last, big, sizeof big), 3);
    EXPECT_STREQ(big, "end");
    EXPECT_FALSE(last.fail());
    EXPECT_EQ(ReadTextLine(last, big, sizeof big), 0);
    EXPECT_TRUE(last.fail());
}

// The string form ends where the buffer's C string would (at a NUL) and skips the comment too.
TEST(TextStream, ReadTextLineIntoAStringMatchesTheBufferForm) {
    TextInput in(std::string("key\0tail\n#comment\nnext", 23));
    EXPECT_EQ(ReadTextLine(in), "key");
    EXPECT_EQ(ReadTextLine(in), "next");
    EXPECT_FALSE(in.fail());
    EXPECT_EQ(ReadTextLine(in), "");
    EXPECT_TRUE(in.fail());
    TextInput longLine(std::string(kMaxTextLine + 10, 'x') + "\nrest\n");
    EXPECT_EQ(ReadTextLine(longLine).size(), static_cast<std::size_t>(kMaxTextLine - 1));
    EXPECT_EQ(Rest(longLine), "rest\n");
}

TEST(TextStream, CommentAsTheLastLineIsNotAFailure) {
    TextInput in("value\n# trailing comment");
    char buffer[16];
    EXPECT_EQ(ReadTextLine(in, buffer, sizeof buffer), 6);
    EXPECT_STREQ(buffer, "value");
    EXPECT_FALSE(in.fail());
}

TEST(TextStream, ReadTextString) {
    TextInput in("\tName with blanks \n#c\n\tnext\n");
    std::string s;
    ReadTextString(in, s, TRUE);
    EXPECT_EQ(s, "Name with blanks ");
    ReadTextString(in, s, FALSE);
    EXPECT_EQ(s, "\tnext");
}

TEST(TextStream, ReadTextStringKeepsAtMost64KiB) {
    TextInput in(std::string(70000, 'x') + "\nnext\n");
    std::string s;
    ReadTextString(in, s, FALSE);
    EXPECT_EQ(s.size(), static_cast<std::size_t>(kMaxTextLine));
    EXPECT_EQ(Rest(in), "next\n");  // the rest of the long line is discarded, not left behind
}

// Lines are taken a block of 4,095 characters at a time: lengths at and around the blocks' ends
// come back whole, the line end counted, with or without a last line end.
TEST(TextStream, LinesAroundTheReadersBlockSizeComeBackWhole) {
    for (const std::size_t length : {4094u, 4095u, 4096u, 8190u, 8191u}) {
        const std::string line(length, 'a');
        TextInput in(line + "\n" + line);
        char none[1];
        EXPECT_EQ(ReadTextLine(in, none, 0), static_cast<int>(length + 1)) << length;
        EXPECT_EQ(ReadTextLine(in), line) << length;
        EXPECT_TRUE(in.eof());
        EXPECT_FALSE(in.fail());
    }
}

TEST(TextStream, SkipTextLine) {
    TextInput in("\t1 2 3 junk\n# comment\n[NEXT]\n");
    int v = 0;
    in >> v;
    SkipTextLine(in);
    EXPECT_EQ(Rest(in), "[NEXT]\n");
}

TEST(TextLines, Form) {
    TextOutput out;
    WriteTextLines(out, "first\nsecond");
    EXPECT_EQ(out.str(), "\t2\n\tfirst\n\tsecond\n");
    TextOutput empty;
    WriteTextLines(empty, "");
    EXPECT_EQ(empty.str(), "\t0\n");
    TextOutput trailing;
    WriteTextLines(trailing, "a\n");
    EXPECT_EQ(trailing.str(), "\t2\n\ta\n\t\n");
}

TEST(TextLines, RoundTrips) {
    for (const std::string text :
         {"", "one", "a\n", "\n", "\n\n", "x\n\ny", "  blanks  \n\ttab", "#hash\n#x", "日本語\nﾃｷｽﾄ"}) {
        TextOutput out;
        WriteTextLines(out, text);
        TextInput in(out.str() + "AFTER\n");
        std::string back = "garbage";
        ReadTextLines(in, back);
        EXPECT_FALSE(in.fail());
        EXPECT_EQ(back, text);
        EXPECT_EQ(Rest(in), "AFTER\n");
    }
}

TEST(TextLines, DamagedInput) {
    TextInput negative("\t-3\n\tx\n");
    std::string s = "old";
    ReadTextLines(negative, s);
    EXPECT_EQ(s, "");
    EXPECT_EQ(Rest(negative), "\tx\n");

    TextInput shortData("\t1000000000\n\tonly\n");
    ReadTextLines(shortData, s);
    EXPECT_TRUE(shortData.fail());
    EXPECT_EQ(s, "only");

    TextInput notNumber("\tabc\n");
    ReadTextLines(notNumber, s);
    EXPECT_TRUE(notNumber.fail());
    EXPECT_EQ(s, "");
}

}  // namespace
