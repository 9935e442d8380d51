#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/PaperInfo.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/TextFile.h"

namespace {

const MPaperSizeInfo kA3("A3", " 420mm×297mm", 420, 297);

std::string WriteText(const MPaperInfo& p) {
    TextOutput os;
    p.WriteText(os);
    return os.str();
}

MPaperInfo ReadText(const std::string& text, std::string* rest = nullptr) {
    TextInput is(text);
    MPaperInfo p;
    p.ReadText(is);
    EXPECT_FALSE(is.bad());
    if (rest) std::getline(is, *rest);
    return p;
}

std::vector<BYTE> Store(MPaperInfo& p) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        p.Serialize(ar);
    }
    return file.Detach();
}

}  // namespace

TEST(PaperInfo, DefaultsAndOrientedSize) {
    const MPaperInfo p;
    EXPECT_EQ(p.GetSizeInfo().m_name, "A4");
    EXPECT_EQ(p.GetSizeInfo().m_sizeText, "297mm×210mm");
    EXPECT_EQ(p.GetScaleInfo().m_name, "1 : 100");
    EXPECT_EQ(p.GetScale(), 0.01);
    EXPECT_EQ(p.GetHorizontal(), 1);
    EXPECT_EQ(p.GetOriginPosition(), 0);
    EXPECT_EQ(p.GetOriginOffset(), MFloatPoint(0, 0));
    EXPECT_EQ(p.GetSize(), MFloatSize(297, 210));

    const MPaperInfo portrait(MPaperSizeInfo(), MPaperScaleInfo(), 0, 6);
    EXPECT_EQ(portrait.GetSize(), MFloatSize(210, 297));
}

TEST(PaperInfo, OriginCodesPlaceTheOriginOnTheSheet) {
    MPaperInfo p;  // A4 landscape, 1 : 100
    p.SetOriginPosition(6);
    EXPECT_DOUBLE_EQ(p.GetOriginOffset().x, 0.0);
    EXPECT_DOUBLE_EQ(p.GetOriginOffset().y, -21000.0);
    p.SetOriginPosition(4);
    EXPECT_DOUBLE_EQ(p.GetOriginOffset().x, 14850.0);
    EXPECT_DOUBLE_EQ(p.GetOriginOffset().y, -10500.0);
    p.SetOriginPosition(2);
    EXPECT_DOUBLE_EQ(p.GetOriginOffset().x, 29700.0);
    EXPECT_DOUBLE_EQ(p.GetOriginOffset().y, 0.0);

    // The offset follows the scale, the orientation and the size.
    p.SetOriginPosition(8);
    p.SetScale("1 : 1", 1.0);
    EXPECT_EQ(p.GetScaleInfo().m_name, "1 : 1");
    EXPECT_DOUBLE_EQ(p.GetOriginOffset().x, 297.0);
    EXPECT_DOUBLE_EQ(p.GetOriginOffset().y, -210.0);
    p.SetHorizontal(0);
    EXPECT_DOUBLE_EQ(p.GetOriginOffset().x, 210.0);
    EXPECT_DOUBLE_EQ(p.GetOriginOffset().y, -297.0);
    p.SetSizeInfo(kA3);
    EXPECT_DOUBLE_EQ(p.GetOriginOffset().x, 297.0);
    EXPECT_DOUBLE_EQ(p.GetOriginOffset().y, -420.0);

    const MPaperInfo built(kA3, MPaperScaleInfo("1 : 50", 0.02), 1, 4);
    EXPECT_DOUBLE_EQ(built.GetOriginOffset().x, 10500.0);
    EXPECT_DOUBLE_EQ(built.GetOriginOffset().y, -7425.0);
}

TEST(PaperInfo, ValuesThatWouldBreakTheConversionsAreRefused) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    MPaperInfo p(kA3, MPaperScaleInfo("1 : 50", 0.02), 1, 6);
    for (double bad : {0.0, -0.01, nan, inf}) {
        p.SetScale("bad", bad);
        EXPECT_EQ(p.GetScale(), 0.02);
        EXPECT_EQ(p.GetScaleInfo().m_name, "1 : 50");
        p.SetSizeInfo(MPaperSizeInfo("bad", "", bad, 100));
        EXPECT_EQ(p.GetSizeInfo().m_name, "A3");
    }
    EXPECT_TRUE(std::isfinite(p.GetOriginOffset().y));

    // Unknown codes put the origin at the bottom left, as a new drawing has it.
    p.SetOriginPosition(9);
    EXPECT_EQ(p.GetOriginPosition(), 6);
    p.SetOriginPosition(-1);
    EXPECT_EQ(p.GetOriginPosition(), 6);

    const MPaperInfo fromBad(MPaperSizeInfo("X", "", 0, 10), MPaperScaleInfo("Y", -1), 7, 3);
    EXPECT_EQ(fromBad.GetSizeInfo().m_name, "A4");
    EXPECT_EQ(fromBad.GetScaleInfo().m_name, "1 : 100");
    EXPECT_EQ(fromBad.GetHorizontal(), 1);
    EXPECT_EQ(fromBad.GetOriginPosition(), 3);
}

TEST(PaperInfo, EntriesCompareByTheirNumbersOnly) {
    EXPECT_EQ(MPaperSizeInfo("A4", "x", 297, 210), MPaperSizeInfo());
    EXPECT_FALSE(MPaperSizeInfo("A4", "297mm×210mm", 210, 297) == MPaperSizeInfo());
    EXPECT_EQ(MPaperScaleInfo("0.01", 0.01), MPaperScaleInfo());
    EXPECT_FALSE(MPaperScaleInfo("1 : 100", 0.010000001) == MPaperScaleInfo());
}

TEST(PaperInfo, TextFormIsSixTabbedLinesAndRoundTrips) {
    const MPaperInfo p(kA3, MPaperScaleInfo("1 : 3", 1.0 / 3.0), 0, 4);
    const std::string text = WriteText(p);
    EXPECT_EQ(text,
              "\tA3\n"
              "\t 420mm×297mm\n"
              "\t420 297\n"
              "\t1 : 3\n"
              "\t0.333333333333333\n"
              "\t0 4\n");
    const MPaperInfo back = ReadText(text);
    EXPECT_EQ(back.GetSizeInfo().m_name, "A3");
    EXPECT_EQ(back.GetSizeInfo().m_sizeText, " 420mm×297mm");
    EXPECT_EQ(back.GetHorizontal(), 0);
    EXPECT_EQ(back.GetOriginPosition(), 4);
    EXPECT_NEAR(back.GetOriginOffset().x, 297 * 0.5 * 3, 1e-9);
    EXPECT_EQ(WriteText(back), text);

    const std::string defaults = WriteText(MPaperInfo());
    EXPECT_EQ(defaults, "\tA4\n\t297mm×210mm\n\t297 210\n\t1 : 100\n\t0.01\n\t1 0\n");
    EXPECT_EQ(WriteText(ReadText(defaults)), defaults);
}

TEST(PaperInfo, TextReaderSkipsCommentsAndStopsAtTheNextSection) {
    std::string rest;
    const MPaperInfo p = ReadText(
        "\tB4\n# comment\n\t 364mm×257mm\n\t364 257 extra words\n\t1 : 20\n\t0.05\n# another\n\t1 "
        "6\n[ORIGIN]\n",
        &rest);
    EXPECT_EQ(p.GetSizeInfo().m_name, "B4");
    EXPECT_EQ(p.GetSizeInfo().m_width, 364);
    EXPECT_EQ(p.GetScale(), 0.05);
    EXPECT_EQ(p.GetOriginPosition(), 6);
    EXPECT_DOUBLE_EQ(p.GetOriginOffset().y, -257 / 0.05);
    EXPECT_EQ(rest, "[ORIGIN]");

    // Names keep everything after the TAB, blanks included; blank lines are empty values.
    const MPaperInfo named = ReadText("\t  my paper \t\n\n\t100 50\n\t\n\t1\n\t1 0\n");
    EXPECT_EQ(named.GetSizeInfo().m_name, "  my paper \t");
    EXPECT_EQ(named.GetSizeInfo().m_sizeText, "");
    EXPECT_EQ(named.GetScaleInfo().m_name, "");
    EXPECT_EQ(named.GetScale(), 1.0);
}

TEST(PaperInfo, DamagedTextFallsBackValueByValue) {
    // Size that does not parse, scale of zero, code out of range.
    MPaperInfo p = ReadText("\tA3\n\tsize\n\tabc 297\n\t1 : 0\n\t0\n\t0 12\n");
    EXPECT_EQ(p.GetSizeInfo().m_name, "A4");
    EXPECT_EQ(p.GetSizeInfo().m_width, 297);
    EXPECT_EQ(p.GetScaleInfo().m_name, "1 : 100");
    EXPECT_EQ(p.GetScale(), 0.01);
    EXPECT_EQ(p.GetHorizontal(), 0);
    EXPECT_EQ(p.GetOriginPosition(), 6);
    EXPECT_TRUE(std::isfinite(p.GetOriginOffset().x));

    // Negative size, scale that overflows, orientation without a code.
    p = ReadText("\tA3\n\tsize\n\t420 -297\n\t1 : 0\n\t1e999\n\t0\n");
    EXPECT_EQ(p.GetSizeInfo().m_name, "A4");
    EXPECT_EQ(p.GetScale(), 0.01);
    EXPECT_EQ(p.GetHorizontal(), 0);
    EXPECT_EQ(p.GetOriginPosition(), 6);

    // A section cut short changes nothing and leaves the next section line to the caller.
    std::string rest;
    TextInput is("\tA3\n\t 420mm×297mm\n\t420 297\n[ORIGIN]\n\t1 2\n");
    MPaperInfo kept(MPaperSizeInfo("B5", "", 257, 184), MPaperScaleInfo("1 : 5", 0.2), 1, 6);
    kept.ReadText(is);
    std::getline(is, rest);
    EXPECT_EQ(rest, "[ORIGIN]");
    EXPECT_EQ(kept.GetSizeInfo().m_name, "B5");
    EXPECT_EQ(kept.GetScale(), 0.2);

    // And so does the end of the stream.
    TextInput cut("\tA3\n\t 420mm×297mm\n");
    kept.ReadText(cut);
    EXPECT_EQ(kept.GetSizeInfo().m_name, "B5");
    EXPECT_FALSE(cut.bad());
}

TEST(PaperInfo, NamesWithLineEndsCannotBreakTheSection) {
    const MPaperInfo p(MPaperSizeInfo("two\nlines", "a\r\nb", 100, 50), MPaperScaleInfo("x\ny", 0.5), 1, 0);
    std::string rest;
    const MPaperInfo back = ReadText(WriteText(p) + "[ORIGIN]\n", &rest);
    EXPECT_EQ(back.GetSizeInfo().m_name, "two lines");
    EXPECT_EQ(back.GetSizeInfo().m_sizeText, "a  b");
    EXPECT_EQ(back.GetScaleInfo().m_name, "x y");
    EXPECT_EQ(back.GetScale(), 0.5);
    EXPECT_EQ(rest, "[ORIGIN]");
}

TEST(PaperInfo, ArchiveFormRoundTripsAndValidatesOnLoading) {
    MPaperInfo p(kA3, MPaperScaleInfo("1 : 50", 0.02), 0, 8);
    const std::vector<BYTE> bytes = Store(p);
    // Strings with a byte length prefix (CP932), then doubles and two int32 values.
    const std::size_t expectedSize = (1 + 2) + (1 + 13) + 8 + 8 + (1 + 6) + 8 + 4 + 4;  // × is 2 bytes
    EXPECT_EQ(bytes.size(), expectedSize);
    EXPECT_EQ(bytes.back(), 0);
    EXPECT_EQ(bytes[bytes.size() - 4], 8);

    MPaperInfo back;
    {
        CMemFile file(bytes);
        CArchive ar(&file, CArchive::load);
        back.Serialize(ar);
    }
    EXPECT_EQ(WriteText(back), WriteText(p));
    EXPECT_EQ(back.GetOriginOffset(), p.GetOriginOffset());
    EXPECT_EQ(Store(back), bytes);

    // A zero scale and an unknown code from a damaged archive.
    MPaperInfo damaged(kA3, MPaperScaleInfo("1 : 50", 0.02), 1, 6);
    std::vector<BYTE> bad = Store(damaged);
    const std::size_t scaleAt = bad.size() - 8 - 8;
    std::fill(bad.begin() + scaleAt, bad.begin() + scaleAt + 8, 0);
    bad[bad.size() - 4] = 42;
    {
        CMemFile file(bad);
        CArchive ar(&file, CArchive::load);
        back.Serialize(ar);
    }
    EXPECT_EQ(back.GetScale(), 0.01);
    EXPECT_EQ(back.GetOriginPosition(), 6);
    EXPECT_EQ(back.GetSizeInfo().m_name, "A3");

    // A truncated archive raises and leaves the paper as it was.
    const std::vector<BYTE> cut(bytes.begin(), bytes.end() - 3);
    MPaperInfo untouched;
    CMemFile file(cut);
    CArchive ar(&file, CArchive::load);
    EXPECT_THROW(untouched.Serialize(ar), CArchiveException);
    EXPECT_EQ(untouched.GetSizeInfo().m_name, "A4");
}
