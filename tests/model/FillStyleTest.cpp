#include <gtest/gtest.h>

#include "model/FillStyle.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/TextFile.h"

namespace {

std::vector<BYTE> Store(const MFillStyle& f) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << f;
    }
    return file.Data();
}

MFillStyle Load(const std::vector<BYTE>& bytes) {
    CMemFile in(bytes);
    CArchive ar(&in, CArchive::load);
    MFillStyle f(RGB(1, 2, 3));
    ar >> f;
    return f;
}

std::string Text(const MFillStyle& f) {
    TextOutput out;
    WriteFillStyleText(out, f);
    return out.str();
}

template <class T>
void Put(std::vector<BYTE>& v, T value) {
    const BYTE* p = reinterpret_cast<const BYTE*>(&value);
    v.insert(v.end(), p, p + sizeof value);
}

TEST(FillStyle, ConstructionAndPlainColour) {
    EXPECT_TRUE(MFillStyle().IsNone());
    EXPECT_THROW(MFillStyle().GetColor(0), CInvalidArgException);
    EXPECT_EQ(MFillStyle().GetColors(), nullptr);
    EXPECT_TRUE(MFillStyle(kNoColor).IsNone());
    const MFillStyle red(RGB(255, 0, 0));
    EXPECT_FALSE(red.IsNone());
    EXPECT_EQ(red.GetKind(), kFillPlain);
    EXPECT_EQ(red.GetColorCount(), 1);
    EXPECT_EQ(red.GetColor(0), RGB(255, 0, 0));
    EXPECT_THROW(red.GetColor(1), CInvalidArgException);

    MFillStyle g(kFillLinear, 0.5, 1u, 2u, 3u, 0.3);
    EXPECT_EQ(g.GetColorCount(), 3);
    EXPECT_EQ(g.GetMiddle(), 0.3);
    g.SetColor(7);
    EXPECT_EQ(g.GetKind(), kFillPlain);
    EXPECT_EQ(g.GetColorCount(), 1);
    g.SetColor(kNoColor);
    EXPECT_TRUE(g.IsNone());
    MFillStyle c(kFillCircular, 0.25, 0.75, 1u, 2u);
    c.Clear();
    EXPECT_TRUE(c.IsNone());
    EXPECT_EQ(c.GetKind(), kFillPlain);
}

TEST(FillStyle, AssigningNoFillToAGradationLeavesNoFill) {
    MFillStyle g(kFillSquare, 0.5, 0.25, 0.75, 255u, 65280u);
    g = MFillStyle();
    EXPECT_TRUE(g.IsNone());
    EXPECT_EQ(g.GetKind(), kFillPlain);
    EXPECT_EQ(g.GetColorCount(), 0);
    const MFillStyle copy(MFillStyle(kFillLinear, 1.0, 5u, 6u));
    EXPECT_EQ(copy.GetKind(), kFillLinear);
    EXPECT_EQ(copy.GetColor(1), 6u);
}

TEST(FillStyle, EqualityComparesOnlyWhatTheKindUses) {
    EXPECT_TRUE(MFillStyle() == MFillStyle(kNoColor));
    EXPECT_FALSE(MFillStyle() == MFillStyle(0u));
    MFillStyle a(5u), b(5u);
    b.SetAngle(3);
    b.SetCenter(1, 2);
    EXPECT_TRUE(a == b);  // plain colours ignore the doubles
    EXPECT_FALSE(MFillStyle(5u) == MFillStyle(6u));

    // A linear gradation ignores the centre; a circular one ignores the angle.
    EXPECT_TRUE(MFillStyle(kFillLinear, 1.0, 1u, 2u) == MFillStyle(kFillLinear, 1.0, 1u, 2u));
    MFillStyle lin(kFillLinear, 1.0, 1u, 2u);
    lin.SetCenter(0.9, 0.9);
    lin.SetMiddle(0.7);  // two colours: middle unused
    EXPECT_TRUE(lin == MFillStyle(kFillLinear, 1.0, 1u, 2u));
    EXPECT_FALSE(MFillStyle(kFillLinear, 1.0, 1u, 2u) == MFillStyle(kFillLinear, 1.5, 1u, 2u));
    MFillStyle circ(kFillCircular, 0.5, 0.5, 1u, 2u);
    circ.SetAngle(2);
    EXPECT_TRUE(circ == MFillStyle(kFillCircular, 0.5, 0.5, 1u, 2u));
    EXPECT_FALSE(circ == MFillStyle(kFillCircular, 0.5, 0.6, 1u, 2u));
    EXPECT_FALSE(MFillStyle(kFillSquare, 0.0, 0.5, 0.5, 1u, 2u) ==
                 MFillStyle(kFillSquare, 0.1, 0.5, 0.5, 1u, 2u));
    // Three colours: middle counts.
    EXPECT_FALSE(MFillStyle(kFillLinear, 0.0, 1u, 2u, 3u, 0.5) ==
                 MFillStyle(kFillLinear, 0.0, 1u, 2u, 3u, 0.4));
    EXPECT_FALSE(MFillStyle(kFillLinear, 0.0, 1u, 2u) == MFillStyle(kFillCircular, 0.0, 0.0, 1u, 2u));
}

TEST(FillStyle, ArchiveRoundTrips) {
    const std::vector<BYTE> none = Store(MFillStyle());
    EXPECT_EQ(none.size(), 8u);  // kind 0, count 0
    EXPECT_TRUE(Load(none).IsNone());

    const MFillStyle g(kFillSquare, 0.5, 0.25, 0.75, 255u, 65280u, 1234u, 0.4);
    const std::vector<BYTE> bytes = Store(g);
    EXPECT_EQ(bytes.size(), 4u + 4u + 3 * 4u + 4 * 8u);
    const MFillStyle back = Load(bytes);
    EXPECT_TRUE(back == g);
    EXPECT_EQ(back.GetAngle(), 0.5);
    EXPECT_EQ(back.GetCenterX(), 0.25);
    EXPECT_EQ(back.GetCenterY(), 0.75);
    EXPECT_EQ(back.GetMiddle(), 0.4);
    EXPECT_TRUE(Load(Store(MFillStyle(RGB(9, 8, 7)))) == MFillStyle(RGB(9, 8, 7)));
}

TEST(FillStyle, ArchiveCountZeroMeansNoFillWhateverTheKind) {
    std::vector<BYTE> v;
    Put<std::int32_t>(v, kFillCircular);
    Put<std::int32_t>(v, 0);
    const MFillStyle f = Load(v);
    EXPECT_TRUE(f.IsNone());
    EXPECT_EQ(f.GetKind(), kFillPlain);
}

TEST(FillStyle, ArchiveRefusesCountsThatDoNotMatchTheKind) {
    struct Case {
        std::int32_t kind, count;
    } cases[] = {{kFillPlain, 2},          {kFillPlain, 3},   {kFillLinear, 1}, {kFillSquare, 4},
                 {kFillCircular, 1000000}, {kFillLinear, -1}, {7, 1},           {259, 2}};
    for (const Case& c : cases) {
        std::vector<BYTE> v;
        Put(v, c.kind);
        Put(v, c.count);
        for (int i = 0; i < 4; ++i)
            Put<DWORD>(v, 1);
        for (int i = 0; i < 4; ++i)
            Put<double>(v, 0.5);
        CMemFile in(v);
        CArchive ar(&in, CArchive::load);
        MFillStyle f(RGB(1, 2, 3));
        EXPECT_THROW(ar >> f, CArchiveException) << c.kind << " " << c.count;
        EXPECT_TRUE(f.IsNone());
    }
}

TEST(FillStyle, ArchiveTruncatedLeavesNoFill) {
    std::vector<BYTE> bytes = Store(MFillStyle(kFillLinear, 0.5, 1u, 2u));
    bytes.resize(bytes.size() - 3);
    CMemFile in(bytes);
    CArchive ar(&in, CArchive::load);
    MFillStyle f(RGB(1, 2, 3));
    EXPECT_THROW(ar >> f, CArchiveException);
    EXPECT_TRUE(f.IsNone());
}

TEST(FillStyle, TextForms) {
    EXPECT_EQ(Text(MFillStyle()), "16777216");
    EXPECT_EQ(Text(MFillStyle(RGB(255, 0, 0))), "255");
    EXPECT_EQ(Text(MFillStyle(kFillLinear, 0.5, 1u, 2u)), "G1 0.5 2 1 2");
    EXPECT_EQ(Text(MFillStyle(kFillLinear, 0.5, 1u, 2u, 3u, 0.25)), "G1 0.5 3 1 2 3 0.25");
    EXPECT_EQ(Text(MFillStyle(kFillSquare, 1.5, 0.25, 0.75, 255u, 65280u)), "G2 1.5 0.25 0.75 2 255 65280");
    EXPECT_EQ(Text(MFillStyle(kFillCircular, 0.5, 0.5, 1u, 2u, 16777215u, 0.5)),
              "G3 0.5 0.5 3 1 2 16777215 0.5");
}

TEST(FillStyle, TextReadsLowerCaseTag) {
    TextInput in("g2 0.5 0.25 0.75 2 255 65280");
    MFillStyle f;
    ReadFillStyleText(in, f);
    EXPECT_FALSE(in.fail());
    EXPECT_EQ(f.GetKind(), kFillSquare);
    EXPECT_EQ(f.GetAngle(), 0.5);
    EXPECT_EQ(f.GetCenterX(), 0.25);
    EXPECT_EQ(f.GetCenterY(), 0.75);
    ASSERT_EQ(f.GetColorCount(), 2);
    EXPECT_EQ(f.GetColor(0), 255u);
    EXPECT_EQ(f.GetColor(1), 65280u);
}

TEST(FillStyle, TextPlainAndNone) {
    MFillStyle f(kFillLinear, 0.5, 1u, 2u);
    TextInput none("  16777216 rest");
    ReadFillStyleText(none, f);
    EXPECT_TRUE(f.IsNone());
    EXPECT_TRUE(none);
    TextInput plain("65535");
    ReadFillStyleText(plain, f);
    EXPECT_TRUE(f == MFillStyle(65535u));
}

TEST(FillStyle, TextRoundTripsByteForByte) {
    const MFillStyle fills[] = {
        MFillStyle(),
        MFillStyle(RGB(12, 34, 56)),
        MFillStyle(kFillLinear, 0.123456789, 1u, 2u),
        MFillStyle(kFillLinear, -2.718281828, 1u, 2u, 3u, 0.333333333),
        MFillStyle(kFillSquare, 3.14159265358979, 0.1234567, 1e-7, 0xFFFFFFu, 0u),
        MFillStyle(kFillSquare, 1e20, 0.5, 0.5, 7u, 8u, 9u, 2.0 / 3),
        MFillStyle(kFillCircular, 0.987654321, 123456.789, 4u, 5u),
        MFillStyle(kFillCircular, 0.5, 0.5, 4u, 5u, 6u, 1e-300),
    };
    for (const MFillStyle& f : fills) {
        const std::string first = Text(f);
        TextInput in(first);
        MFillStyle read;
        ReadFillStyleText(in, read);
        ASSERT_FALSE(in.fail()) << first;
        EXPECT_EQ(Text(read), first);
    }
}

TEST(FillStyle, TextRefusesCountsOutsideTwoOrThree) {
    for (const char* text : {"G1 0.5 1 255", "G1 0.5 4 1 2 3 4 0.5", "G2 0 0.5 0.5 0", "G3 0.5 0.5 -2 1 2",
                             "G3 0.5 0.5 99999999 1 2", "G1 0.5"}) {
        TextInput in(text);
        MFillStyle f(RGB(1, 2, 3));
        ReadFillStyleText(in, f);
        EXPECT_TRUE(in.fail()) << text;
        EXPECT_TRUE(f.IsNone()) << text;
    }
}

TEST(FillStyle, TextWithThreeColoursReadsTheMiddle) {
    TextInput in("G1 0.5 3 1 2 3 0.75");
    MFillStyle f;
    ReadFillStyleText(in, f);
    EXPECT_FALSE(in.fail());
    EXPECT_EQ(f.GetColorCount(), 3);
    EXPECT_EQ(f.GetMiddle(), 0.75);
}

TEST(FillStyle, TextDamagedValues) {
    for (const char* text : {"G1 0.5 2 255 x", "G1 0.5 3 1 2 3", "x", "", "-5", "99999999999", "G"}) {
        TextInput in(text);
        MFillStyle f(RGB(1, 2, 3));
        ReadFillStyleText(in, f);
        EXPECT_TRUE(in.fail()) << text;
        EXPECT_TRUE(f.IsNone()) << text;
    }
    // An unknown gradation number leaves the record as it was.
    TextInput unknown("G7 1 2 3");
    MFillStyle f(RGB(1, 2, 3));
    ReadFillStyleText(unknown, f);
    EXPECT_TRUE(f == MFillStyle(RGB(1, 2, 3)));
}

}  // namespace
