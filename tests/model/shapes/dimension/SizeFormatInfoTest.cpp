#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <locale>
#include <sstream>
#include <string>

#include "model/helpers/FormatNumber.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "model/shapes/dimension/SizeStyle.h"
#include "platform/Exceptions.h"
#include "platform/TextFile.h"

namespace {
MSizeFormatInfo Fmt(double step, BOOL comma = FALSE, BOOL keepZeros = FALSE) {
    return MSizeFormatInfo("t", "", "", step, comma, keepZeros, MSizeFormatInfo::kUserFormat);
}

std::string Written() {
    TextOutput os;
    WriteSizeSettings(os);
    return os.str();
}

// The program-wide formats and style are shared by all tests: every test starts from the defaults
// and leaves them behind.
class SizeFormats : public ::testing::Test {
protected:
    void SetUp() override { Restore(); }
    void TearDown() override { Restore(); }
    static void Restore() {
        ResetSizeFormats();
        GetDefaultSizeStyle() = MSizeStyle();
        SetSizeFormatListPosition(0);
    }
};
}  // namespace

TEST(SizeFormatInfo, StepsDecimalsAndTrailingZeros) {
    EXPECT_EQ(Fmt(0.1).Format(12.46, FALSE, FALSE), "12.5");
    EXPECT_EQ(Fmt(0.1).Format(12, FALSE, FALSE), "12");
    EXPECT_EQ(Fmt(0.1, FALSE, TRUE).Format(12, FALSE, FALSE), "12.0");
    EXPECT_EQ(Fmt(0.5).Format(7.3, FALSE, FALSE), "7.5");
    EXPECT_EQ(Fmt(5).Format(12, FALSE, FALSE), "10");
    EXPECT_EQ(Fmt(5).Format(13, FALSE, FALSE), "15");
    EXPECT_EQ(Fmt(0.25).Format(0.25, FALSE, FALSE), "0.3");  // one decimal, rounded again
    EXPECT_EQ(Fmt(0.01).Format(3.0, FALSE, FALSE), "3");     // no bare decimal point
    EXPECT_EQ(Fmt(0.01, FALSE, TRUE).Format(3.0, FALSE, FALSE), "3.00");
    EXPECT_EQ(Fmt(0).Format(2.5, FALSE, FALSE), "2.5");  // step 0 counts as 0.000001
    EXPECT_EQ(Fmt(0, FALSE, TRUE).Format(2.5, FALSE, FALSE), "2.500000");
    EXPECT_EQ(Fmt(0).Format(1.0 / 3.0, FALSE, FALSE), "0.333333");
}

TEST(SizeFormatInfo, ThousandsSeparators) {
    EXPECT_EQ(Fmt(1, TRUE).Format(1234, FALSE, FALSE), "1,234");
    EXPECT_EQ(Fmt(1, TRUE).Format(1234567, FALSE, FALSE), "1,234,567");
    EXPECT_EQ(Fmt(1, TRUE).Format(999, FALSE, FALSE), "999");
    EXPECT_EQ(Fmt(1, TRUE).Format(999.7, FALSE, FALSE), "1,000");
    EXPECT_EQ(Fmt(0.01, TRUE).Format(1234567.891, FALSE, FALSE), "1,234,567.89");
    EXPECT_EQ(Fmt(0.1, TRUE).Format(-1234.5, FALSE, FALSE), "-1,234.5");
    EXPECT_EQ(Fmt(1, FALSE).Format(1234567, FALSE, FALSE), "1234567");
}

TEST(SizeFormatInfo, NegativeValuesAndZeroWithoutSign) {
    EXPECT_EQ(Fmt(0.1).Format(-1.24, FALSE, FALSE), "-1.2");
    EXPECT_EQ(Fmt(1).Format(-2.4, FALSE, FALSE), "-2");
    EXPECT_EQ(Fmt(0.1).Format(0.04, FALSE, FALSE), "0");
    EXPECT_EQ(Fmt(0.1).Format(0.06, FALSE, FALSE), "0.1");
    EXPECT_EQ(Fmt(0.1).Format(-0.04, FALSE, FALSE), "0");
    EXPECT_EQ(Fmt(0.1, FALSE, TRUE).Format(-0.04, FALSE, FALSE), "0.0");
}

TEST(SizeFormatInfo, DecimalHalvesRoundUp) {
    // Halves written in decimal are rarely exact in binary (2.675 is 2.67499999...); they still
    // round up, as the user reads them.
    EXPECT_EQ(Fmt(0.01).Format(2.675, FALSE, FALSE), "2.68");
    EXPECT_EQ(Fmt(0.01).Format(1.005, FALSE, FALSE), "1.01");
    EXPECT_EQ(Fmt(0.1).Format(0.45, FALSE, FALSE), "0.5");
    EXPECT_EQ(Fmt(0.1).Format(1.15, FALSE, FALSE), "1.2");
    EXPECT_EQ(Fmt(0.001).Format(8.0005, FALSE, FALSE), "8.001");
    EXPECT_EQ(Fmt(1).Format(2.5, FALSE, FALSE), "3");
    EXPECT_EQ(Fmt(0.5).Format(0.25, FALSE, FALSE), "0.5");
    // Halves of negative values round away from zero (the magnitude is rounded).
    EXPECT_EQ(Fmt(0.01).Format(-2.675, FALSE, FALSE), "-2.68");
    // Just below a half stays below.
    EXPECT_EQ(Fmt(0.01).Format(2.67499, FALSE, FALSE), "2.67");
}

TEST(FormatNumberHalves, EveryDecimalHalfRoundsUp) {
    // x.xxx5 for every x.xxx below 10: parsed from its decimal text, rounded to 0.001.
    for (int i = 0; i < 10000; ++i) {
        char text[32], expected[32];
        std::snprintf(text, sizeof text, "%d.%03d5", i / 1000, i % 1000);
        std::snprintf(expected, sizeof expected, "%d.%03d", (i + 1) / 1000, (i + 1) % 1000);
        EXPECT_EQ(FormatNumber(AtoF(text), 0.001, FALSE, TRUE), expected) << text;
    }
    // The second rounding, to the decimals the step shows, treats its halves alike: 9 × 0.15 is
    // 1.3499999999999999 in binary, 3 × 0.35 is 1.0499999999999998.
    EXPECT_EQ(FormatNumber(1.35, 0.15, FALSE, TRUE), "1.4");
    EXPECT_EQ(FormatNumber(1.05, 0.35, FALSE, TRUE), "1.1");
    // Values clearly below a half are not pulled up.
    EXPECT_EQ(FormatNumber(1.00499, 0.01, FALSE, FALSE), "1");
    EXPECT_EQ(FormatNumber(0.4999999, 1, FALSE, FALSE), "0");
}

TEST(SizeFormatInfo, PrefixAndSuffixOnRequest) {
    const MSizeFormatInfo f("n", "R", "mm", 0.1, FALSE, FALSE, MSizeFormatInfo::kUserFormat);
    EXPECT_EQ(f.Format(12.34, TRUE, TRUE), "R12.3mm");
    EXPECT_EQ(f.Format(12.34, TRUE, FALSE), "R12.3");
    EXPECT_EQ(f.Format(12.34, FALSE, TRUE), "12.3mm");
    EXPECT_EQ(f.Format(12.34, FALSE, FALSE), "12.3");
}

TEST(SizeFormatInfo, StepsFromDamagedFilesCannotBreakFormatting) {
    EXPECT_EQ(Fmt(-0.1).Format(12.46, FALSE, FALSE), "12.5");
    EXPECT_EQ(Fmt(std::numeric_limits<double>::quiet_NaN()).Format(2.5, FALSE, FALSE), "2.5");
    EXPECT_EQ(Fmt(std::numeric_limits<double>::infinity()).Format(2.5, FALSE, FALSE), "2.5");
    EXPECT_FALSE(Fmt(0.1).Format(1e300, FALSE, FALSE).empty());
}

TEST_F(SizeFormats, TheBlockIgnoresTheStreamsLocale) {
    // A stream in a user's locale (decimal comma, grouped thousands) must neither change the numbers
    // written nor misread them.
    struct CommaPunct : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };
    const std::locale user(std::locale::classic(), new CommaPunct);
    InsertSizeFormat(0, MSizeFormatInfo("big", "", "", 1234.5, TRUE, FALSE, 0));
    const std::string plain = Written();
    std::ostringstream os;
    os.imbue(user);
    WriteSizeSettings(os);
    EXPECT_EQ(os.str(), plain);
    EXPECT_NE(plain.find("\t1234.5 1 0 0\n"), std::string::npos);

    ResetSizeFormats();
    std::istringstream is(plain);
    is.imbue(user);
    ASSERT_TRUE(ReadSizeSettings(is));
    EXPECT_EQ(GetSizeFormatAt(0).m_step, 1234.5);
    EXPECT_EQ(Written(), plain);
}

TEST_F(SizeFormats, TheListIsBuiltFromTheStringTable) {
    ASSERT_EQ(GetSizeFormatCount(), 10);
    const MSizeFormatInfo first = GetSizeFormatAt(0);
    EXPECT_EQ(first, MSizeFormatInfo("標準", " ", " ", 0.1, 0, 0, MSizeFormatInfo::kBuiltInFormat));
    EXPECT_EQ(GetSizeFormatAt(1), MSizeFormatInfo("1,234", " ", " ", 1, 1, 0, 1));
    EXPECT_EQ(GetSizeFormatAt(3), MSizeFormatInfo("1234.1°", " ", "°", 0.1, 0, 0, 1));
    EXPECT_EQ(GetSizeFormatAt(8), MSizeFormatInfo("Φ1,234.1", "Φ", " ", 0.1, 1, 0, 1));
    EXPECT_EQ(GetSizeFormatAt(9),
              MSizeFormatInfo("新規", "", "", 0.1, 0, 0, MSizeFormatInfo::kTemplateFormat));
    EXPECT_THROW(GetSizeFormatAt(10), CInvalidArgException);

    EXPECT_EQ(FindSizeFormat("R1234.1").m_prefix, "R");
    EXPECT_EQ(FindSizeFormat("no such format").m_name, "標準");
    EXPECT_EQ(FindSizeFormatIndex("新規"), 9);
    EXPECT_EQ(FindSizeFormatIndex("標準 "), -1);  // exact comparison
    EXPECT_EQ(GetDefaultSizeFormatName(62689), "Φ1234.1");
    EXPECT_EQ(GetDefaultSizeFormatName(1), "標準");
}

TEST_F(SizeFormats, DefaultsOfTheFourCurrentFormats) {
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_LINEAR).Format(25, TRUE, TRUE), " 25 ");
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_RADIUS).Format(12.34, TRUE, TRUE), "R12.3 ");
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_ANGLE).Format(45, TRUE, TRUE), " 45°");
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_DIAMETER).Format(10, TRUE, TRUE), "Φ10 ");
    EXPECT_THROW(GetCurrentSizeFormat(4), CInvalidArgException);

    // The current formats are copies: editing the list leaves them alone; a reset brings all back.
    RemoveSizeFormat(0);
    InsertSizeFormat(0, MSizeFormatInfo("標準", "", "", 1, 0, 0, 0));
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_LINEAR).m_step, 0.1);
    SetCurrentSizeFormat(SIZEFORMAT_LINEAR, FindSizeFormat("標準"));
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_LINEAR).Format(25.4, TRUE, TRUE), "25");
    ResetSizeFormats();
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_LINEAR).Format(25.4, TRUE, TRUE), " 25.4 ");
    EXPECT_EQ(GetSizeFormatCount(), 10);
}

TEST_F(SizeFormats, ListEditing) {
    InsertSizeFormat(9, MSizeFormatInfo("mine", "<", ">", 0.5, 0, 1, 0));
    EXPECT_EQ(GetSizeFormatCount(), 11);
    EXPECT_EQ(GetSizeFormatAt(9).m_name, "mine");
    EXPECT_EQ(GetSizeFormatAt(10).m_kind, MSizeFormatInfo::kTemplateFormat);  // the template stays last
    InsertSizeFormat(100, MSizeFormatInfo("end", "", "", 1, 0, 0, 0));
    EXPECT_EQ(GetSizeFormatAt(11).m_name, "end");
    RemoveSizeFormat(11);
    RemoveSizeFormat(-1);
    RemoveSizeFormat(50);
    EXPECT_EQ(GetSizeFormatCount(), 11);
    SetSizeFormatListPosition(3);
    ResetSizeFormats();  // discards user formats, keeps the dialog's position
    EXPECT_EQ(GetSizeFormatCount(), 10);
    EXPECT_EQ(GetSizeFormatListPosition(), 3);
}

TEST_F(SizeFormats, SizeBlockText) {
    const std::string text = Written();
    const std::string head =
        "\t10\n"
        "\t標準\n\t \n\t \n\t0.1 0 0 1\n"
        "\t1,234\n\t \n\t \n\t1 1 0 1\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    const std::string tail =
        "\t新規\n\t\n\t\n\t0.1 0 0 -1\n"
        "\tＭＳ ゴシック\n\t3 2 8 2 1 1 3\n"
        "\t標準\n\t \n\t \n\t0.1 0 0 1\n"
        "\t1234.1°\n\t \n\t°\n\t0.1 0 0 1\n"
        "\tR1234.1\n\tR\n\t \n\t0.1 0 0 1\n"
        "\tΦ1234.1\n\tΦ\n\t \n\t0.1 0 0 1\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(SizeFormats, SizeBlockRoundTripsByteForByte) {
    InsertSizeFormat(2, MSizeFormatInfo("ユーザー書式", "約", " mm", 0.0125, TRUE, TRUE, 0));
    InsertSizeFormat(0, MSizeFormatInfo("", "", "", 0, FALSE, FALSE, 0));
    SetCurrentSizeFormat(SIZEFORMAT_ANGLE, MSizeFormatInfo("角度", "∠", "度", 1.0 / 3.0, FALSE, TRUE, 0));
    MSizeStyle& style = GetDefaultSizeStyle();
    style.m_fontName = "游明朝";
    style.m_textHeight = 2.75;
    style.m_textGap = 0.1;
    style.m_arrowStyle = 6;
    style.m_arrowSize = 123456.789;
    const std::string first = Written();
    const MSizeStyle written = style;

    ResetSizeFormats();
    style = MSizeStyle();
    TextInput in(first + "[TOOLS]\n");
    ASSERT_TRUE(ReadSizeSettings(in));
    EXPECT_TRUE(in.good());
    std::string next;
    std::getline(in, next);
    EXPECT_EQ(next, "[TOOLS]");  // the reader stops right after the block

    EXPECT_EQ(Written(), first);
    EXPECT_EQ(GetDefaultSizeStyle(), written);
    EXPECT_EQ(GetSizeFormatCount(), 12);
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_ANGLE).m_step, 1.0 / 3.0);
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_ANGLE).Format(90, TRUE, TRUE), "∠90.0度");
}

TEST_F(SizeFormats, ReaderSkipsCommentsAndTakesOldNumberForms) {
    const std::string text =
        "\t1\n# list\n"
        "\tA\n\tpre\n\tsuf\n\t1e-06 0 0 0\n"
        "\tFont\n\t3.0 2.0 8.0 2.0 1.0 1 3.0 extra\n# style\n"
        "\tL\n\t\n\t\n\t0.1 0 0 0\n"
        "\tAn\n\t\n\t°\n\t1 0 0 0\n"
        "\tR\n\tR\n\t\n\t0.1 0 0 0\n"
        "\tD\n\tΦ\n\t\n\t0.1 0 0 0\n";
    TextInput in(text);
    ASSERT_TRUE(ReadSizeSettings(in));
    // The list had no template at its end: one is added, so new formats go in before it.
    ASSERT_EQ(GetSizeFormatCount(), 2);
    EXPECT_EQ(GetSizeFormatAt(1),
              MSizeFormatInfo("新規", "", "", 0.1, 0, 0, MSizeFormatInfo::kTemplateFormat));
    EXPECT_EQ(GetSizeFormatAt(0).m_step, 1e-06);
    EXPECT_EQ(GetSizeFormatAt(0).m_suffix, "suf");
    EXPECT_EQ(GetDefaultSizeStyle().m_fontName, "Font");
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_DIAMETER).m_prefix, "Φ");
}

TEST_F(SizeFormats, UnknownKindsReadAsUserFormats) {
    InsertSizeFormat(0, MSizeFormatInfo("odd", "", "", 1, 0, 0, 0));
    std::string text = Written();
    const std::string entry = "\todd\n\t\n\t\n\t1 0 0 0\n";
    ASSERT_NE(text.find(entry), std::string::npos);
    text.replace(text.find(entry), entry.size(), "\todd\n\t\n\t\n\t1 0 0 7\n");
    TextInput in(text);
    ASSERT_TRUE(ReadSizeSettings(in));
    EXPECT_EQ(GetSizeFormatAt(0).m_kind, MSizeFormatInfo::kUserFormat);
    EXPECT_EQ(GetSizeFormatAt(GetSizeFormatCount() - 1).m_kind, MSizeFormatInfo::kTemplateFormat);
}

TEST_F(SizeFormats, ACountOfZeroRebuildsTheListOnNextUse) {
    TextOutput os;
    os << "\t0\n";
    GetDefaultSizeStyle().WriteText(os);
    for (int i = 0; i < 4; ++i)
        os << "\tX\n\t\n\t\n\t1 0 0 0\n";
    TextInput in(os.str());
    ASSERT_TRUE(ReadSizeSettings(in));
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_LINEAR).m_name, "X");
    EXPECT_EQ(GetSizeFormatCount(), 10);
    EXPECT_EQ(GetSizeFormatAt(0).m_name, "標準");
}

TEST_F(SizeFormats, DamagedBlocksChangeNothing) {
    InsertSizeFormat(0, MSizeFormatInfo("keep", "", "", 1, 0, 0, 0));
    GetDefaultSizeStyle().m_textHeight = 7.5;
    const std::string before = Written();
    std::string good = before;

    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        const auto at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return s.replace(at, from.size(), to);
    };
    const std::string damaged[] = {
        "",                                                    // nothing at all
        good.substr(0, good.size() - 10),                      // cut inside the last format
        good.substr(0, good.find("\tＭＳ")),                   // ends after the list
        replaced("\t11\n", "\televen\n"),                      // count not a number
        replaced("\t11\n", "\t12\n"),                          // count larger than the list
        replaced("\t0.1 0 0 1\n", "\t0.1 0 x 1\n"),            // bad switch
        replaced("\t0.1 0 0 1\n", "\tnan 0 0 1\n"),            // step not a number
        replaced("\t0.1 0 0 1\n", "\t-0.1 0 0 1\n"),           // negative step
        replaced("\t0.1 0 0 1\n", "\t0.1 0 0\n"),              // missing kind
        replaced("\t0.1 0 0 1\n", "\t0.1x 0 0 1\n"),           // trailing garbage in a number
        replaced("\t7.5 2 8 2 1 1 3\n", "\t7.5 2 8 2 1 1\n"),  // style short of a value
        replaced("\t7.5 2 8 2 1 1 3\n", "\t7.5 2 8 2 1 1.5 3\n"),
    };
    for (const std::string& text : damaged) {
        TextInput in(text);
        EXPECT_FALSE(ReadSizeSettings(in)) << text;
        EXPECT_TRUE(in.fail());
        EXPECT_EQ(Written(), before);
    }
}

TEST(SizeStyle, TextFormRoundTripsAndRefusesDamage) {
    MSizeStyle s;
    s.m_fontName = "ＭＳ 明朝";
    s.m_outsideLeader = 12.5;
    s.m_extensionOvershoot = 0.3;
    TextOutput os;
    s.WriteText(os);
    EXPECT_EQ(os.str(), "\tＭＳ 明朝\n\t3 2 12.5 0.3 1 1 3\n");
    MSizeStyle back;
    back.m_fontName.clear();
    TextInput in(os.str());
    ASSERT_TRUE(back.ReadText(in));
    EXPECT_EQ(back, s);

    TextInput bad("\tFont\n\t3 2 8 2 1 1 x\n");
    EXPECT_FALSE(back.ReadText(bad));
    EXPECT_EQ(back, s);
    EXPECT_TRUE(bad.fail());

    // A line break in the font name cannot split the record.
    s.m_fontName = "A\nB";
    TextOutput broken;
    s.WriteText(broken);
    EXPECT_EQ(broken.str().substr(0, 5), "\tA B\n");
}
