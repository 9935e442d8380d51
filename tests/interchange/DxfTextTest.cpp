// Text of DXF files: character sets named by the header, "%%" codes, MTEXT formatting.
#include <gtest/gtest.h>

#include "interchange/DxfText.h"
#include "platform/Cp932.h"

namespace {

TEST(DxfEncoding, DefaultsToCodePage932) {
    MDXFEncoding e;
    EXPECT_FALSE(e.IsUtf8());
    EXPECT_EQ(e.GetCodePage(), "CP932");
    EXPECT_EQ(e.Decode("plain"), "plain");
    // The second byte of ソ and 表 is a backslash; it must not start an escape.
    EXPECT_EQ(e.Decode("\x83\x5C\x95\x5C"), "ソ表");
}

TEST(DxfEncoding, VersionAndCodePageNames) {
    MDXFEncoding e;
    e.SetVersion("AC1018");
    EXPECT_FALSE(e.IsUtf8());
    e.SetCodePage("dos932");
    EXPECT_EQ(e.GetCodePage(), "CP932");
    e.SetCodePage("ANSI_1251");
    EXPECT_EQ(e.GetCodePage(), "CP1251");
    EXPECT_EQ(e.Decode("\xC4\xE0"), "Да");
    e.SetCodePage("ANSI_99999");  // no such code page: kept as it was
    EXPECT_EQ(e.GetCodePage(), "CP1251");
    e.SetCodePage("nonsense");
    EXPECT_EQ(e.GetCodePage(), "CP1251");
    e.SetVersion(" AC1021 ");
    EXPECT_TRUE(e.IsUtf8());
    EXPECT_EQ(e.Decode("日本"), "日本");
    // Bytes that are no UTF-8 are taken as code page 932.
    EXPECT_EQ(e.Decode("\x93\xFA"), "日");
}

TEST(DxfEncoding, Escapes) {
    MDXFEncoding e;
    EXPECT_EQ(e.Decode("\\U+65E5\\u+672c"), "日本");
    EXPECT_EQ(e.Decode("\\U+D83D\\U+DE00 \\U+D83D"), "😀 \xEF\xBF\xBD");
    EXPECT_EQ(e.Decode("\\M+193FA\\M+18A"), "日\\M+18A");  // a short escape stays
    EXPECT_EQ(e.Decode("\\\\U+0041 \\U+004"), "\\\\U+0041 \\U+004");
    EXPECT_EQ(e.Decode("end\\"), "end\\");
}

TEST(DxfPercentCodes, SymbolsNumbersAndDroppedCodes) {
    EXPECT_EQ(DecodeDxfPercentCodes("%%c25"), "Φ25");
    EXPECT_EQ(DecodeDxfPercentCodes("%%C %%D %%P"), "Φ ° ±");
    EXPECT_EQ(Cp932ToUtf8("\x83\xB3\x81\x8B\x81\x7D"), "Φ°±");  // the code page's own characters
    EXPECT_EQ(DecodeDxfPercentCodes("100%%%"), "100%");
    EXPECT_EQ(DecodeDxfPercentCodes("%%uunder%%u"), "under");
    EXPECT_EQ(DecodeDxfPercentCodes("%%065%%0"), "A");
    EXPECT_EQ(DecodeDxfPercentCodes("50% and %%"), "50% and ");
    EXPECT_EQ(DecodeDxfPercentCodes("%%日x"), "x");  // the whole character goes
}

TEST(DxfTextDecoder, Formatting) {
    MDXFTextDecoder d;
    EXPECT_EQ(d.Decode("one\\Ptwo"), "one\ntwo");
    EXPECT_EQ(d.Decode("{\\fArial|b0|i0|c0|p34;abc}"), "abc");
    EXPECT_EQ(d.Decode("{\\H2.5x;big} \\C1;red\\c255;"), "big red");
    EXPECT_EQ(d.Decode("a\\~b \\\\ \\{x\\}"), "a b \\ {x}");
    EXPECT_EQ(d.Decode("\\Q15;\\W0.8;slanted"), "slanted");
    EXPECT_DOUBLE_EQ(d.GetObliqueAngle(), 15);
    EXPECT_DOUBLE_EQ(d.GetWidthFactor(), 0.8);
    EXPECT_EQ(d.Decode("\\Lunder\\l \\Oover\\o \\Kstrike\\k"), "under over strike");
    EXPECT_EQ(d.Decode("\\S1^2; \\S3/4; \\S5#6;"), "1/2 3/4 5/6");
    EXPECT_EQ(d.Decode("50% %%c10 %%%"), "50% Φ10 %");
    EXPECT_EQ(d.Decode("\\X\\日"), "X日");
    EXPECT_EQ(d.Decode("\\fArial"), "");  // a code without its ';' takes the rest
    EXPECT_EQ(d.Decode("trailing\\"), "trailing");
}

}  // namespace
