#include <gtest/gtest.h>

#include <zlib.h>

#include <numeric>

#include "model/helpers/TextStream.h"
#include "platform/TextFile.h"

namespace {

// Restores the program-wide compression switch after each test.
class BinaryBlock : public ::testing::Test {
protected:
    void SetUp() override { m_saved = BinaryBlockCompressionEnabled(); }
    void TearDown() override { SetBinaryBlockCompression(m_saved); }

    static std::vector<BYTE> Bytes(int n, unsigned start = 1) {
        std::vector<BYTE> v(static_cast<std::size_t>(n));
        unsigned x = start;
        for (BYTE& b : v) {
            x = x * 1103515245u + 12345u;
            b = static_cast<BYTE>(x >> 16);
        }
        return v;
    }
    static std::string Write(const std::vector<BYTE>& data, BOOL compress) {
        TextOutput out;
        WriteBinaryBlock(out, data.data(), static_cast<int>(data.size()), compress);
        EXPECT_TRUE(out.good());
        return out.str();
    }
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
    // Reads a block followed by a marker line, and checks that the marker is what comes next.
    static std::vector<BYTE> ReadBack(const std::string& text, bool* ok, bool* markerNext = nullptr) {
        TextInput in(text + "MARK\n");
        int n = -1;
        std::unique_ptr<BYTE[]> data = ReadBinaryBlock(in, n);
        *ok = !in.fail();
        if (markerNext) {
            std::string line;
            in.clear();
            std::getline(in, line);
            *markerNext = line == "MARK";
        }
        if (!data) {
            EXPECT_EQ(n, 0);
            return {};
        }
        return std::vector<BYTE>(data.get(), data.get() + n);
    }

    bool m_saved = true;
};

TEST_F(BinaryBlock, FiftyFourBytesMakeOneFullLine) {
    const std::string text = Write(Bytes(54), FALSE);
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "\t54 BASE64 0");
    EXPECT_EQ(lines[1].size(), 73u);  // TAB and 72 characters
    EXPECT_EQ(lines[1][0], '\t');
    EXPECT_EQ(lines[1].find('='), std::string::npos);
}

TEST_F(BinaryBlock, FiftyFiveBytesAddAShortPaddedLine) {
    const std::string text = Write(Bytes(55), FALSE);
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "\t55 BASE64 0");
    EXPECT_EQ(lines[1].size(), 73u);
    EXPECT_EQ(lines[2].size(), 5u);
    EXPECT_EQ(lines[2].substr(3), "==");
}

TEST_F(BinaryBlock, KnownBase64Text) {
    const std::string hello = "Hello, world";
    const std::vector<BYTE> data(hello.begin(), hello.end());
    EXPECT_EQ(Write(data, FALSE), "\t12 BASE64 0\n\tSGVsbG8sIHdvcmxk\n");
}

TEST_F(BinaryBlock, PlainRoundTripsAtTheLineBoundaries) {
    for (int n : {1, 2, 3, 53, 54, 55, 107, 108, 109, 1000, 1728, 1729, 5000}) {
        const std::vector<BYTE> data = Bytes(n, static_cast<unsigned>(n));
        bool ok = false, markerNext = false;
        EXPECT_EQ(ReadBack(Write(data, FALSE), &ok, &markerNext), data) << n;
        EXPECT_TRUE(ok) << n;
        EXPECT_TRUE(markerNext) << n;
    }
}

TEST_F(BinaryBlock, CompressedRoundTrips) {
    SetBinaryBlockCompression(true);
    for (int n : {1, 54, 55, 1728, 1729, 100000}) {
        std::vector<BYTE> data = Bytes(n, 7);
        for (int i = 0; i < n; i += 3)
            data[static_cast<std::size_t>(i)] = 0;  // somewhat compressible
        const std::string text = Write(data, TRUE);
        EXPECT_EQ(Lines(text)[0], "\t" + std::to_string(n) + " BASE64 1");
        bool ok = false, markerNext = false;
        EXPECT_EQ(ReadBack(text, &ok, &markerNext), data) << n;
        EXPECT_TRUE(ok) << n;
        EXPECT_TRUE(markerNext) << n;
    }
    // Highly compressible data spans many output buffers of the writer.
    const std::vector<BYTE> zeros(300000, 0);
    bool ok = false;
    EXPECT_EQ(ReadBack(Write(zeros, TRUE), &ok), zeros);
    EXPECT_TRUE(ok);
}

TEST_F(BinaryBlock, CompressedLinesAreFullExceptTheLast) {
    SetBinaryBlockCompression(true);
    const std::string text = Write(Bytes(20000), TRUE);  // incompressible: many lines
    const auto lines = Lines(text);
    ASSERT_GT(lines.size(), 40u);
    for (std::size_t i = 1; i + 1 < lines.size(); ++i)
        EXPECT_EQ(lines[i].size(), 73u) << i;
    EXPECT_LE(lines.back().size(), 73u);
}

TEST_F(BinaryBlock, CompressionNeedsBothTheRequestAndTheOption) {
    SetBinaryBlockCompression(false);
    EXPECT_EQ(Lines(Write(Bytes(10), TRUE))[0], "\t10 BASE64 0");
    SetBinaryBlockCompression(true);
    EXPECT_EQ(Lines(Write(Bytes(10), FALSE))[0], "\t10 BASE64 0");
    EXPECT_EQ(Lines(Write(Bytes(10), TRUE))[0], "\t10 BASE64 1");
}

TEST_F(BinaryBlock, EmptyBlockIsTheHeaderAlone) {
    SetBinaryBlockCompression(true);
    EXPECT_EQ(Write({}, TRUE), "\t0 BASE64 1\n");
    EXPECT_EQ(Write({}, FALSE), "\t0 BASE64 0\n");
    bool ok = false, markerNext = false;
    EXPECT_TRUE(ReadBack("\t0 BASE64 1\n", &ok, &markerNext).empty());
    EXPECT_TRUE(ok);
    EXPECT_TRUE(markerNext);
}

TEST_F(BinaryBlock, HeaderVariants) {
    bool ok = false;
    EXPECT_EQ(ReadBack("\t3 base64 0\n\tAQID\n", &ok), (std::vector<BYTE>{1, 2, 3}));
    EXPECT_TRUE(ok);
    EXPECT_EQ(ReadBack("\t3 Base64\n\tAQID\n", &ok), (std::vector<BYTE>{1, 2, 3}));  // no flag: plain
    EXPECT_TRUE(ok);
    EXPECT_EQ(ReadBack("\t3 BASE64 0\n# comment\n\tAQID\n#another\n", &ok), (std::vector<BYTE>{1, 2, 3}));
    EXPECT_TRUE(ok);
    EXPECT_TRUE(ReadBack("\t3 UUENCODE 0\n\tAQID\n", &ok).empty());
    EXPECT_FALSE(ok);
}

TEST_F(BinaryBlock, LegacyHexForm) {
    std::vector<BYTE> data = Bytes(70);
    std::string text = "\t70\n";
    static const char* digits = "0123456789abcdef";
    for (std::size_t o = 0; o < data.size(); o += 32) {
        text += "   ";
        for (std::size_t i = o; i < std::min(data.size(), o + 32); ++i) {
            text += digits[data[i] >> 4];
            text += static_cast<char>(std::toupper(digits[data[i] & 15]));
        }
        text += '\n';
    }
    bool ok = false, markerNext = false;
    EXPECT_EQ(ReadBack(text, &ok, &markerNext), data);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(markerNext);

    EXPECT_TRUE(ReadBack("\t4\n\t01020G04\n", &ok).empty());  // not a hex digit
    EXPECT_FALSE(ok);
    EXPECT_TRUE(ReadBack("\t40\n\t0102\n", &ok).empty());  // a short line
    EXPECT_FALSE(ok);
}

TEST_F(BinaryBlock, TruncatedPlainDataFails) {
    const std::string text = Write(Bytes(200), FALSE);
    auto lines = Lines(text);
    // The last line missing: fewer than n bytes arrive.
    std::string cut;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        cut += lines[i] + "\n";
    bool ok = true;
    TextInput in(cut);
    int n = -1;
    EXPECT_EQ(ReadBinaryBlock(in, n), nullptr);
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(in.fail());

    // A line cut short in the middle of the block.
    lines[2].resize(50);
    std::string shortLine;
    for (const std::string& l : lines)
        shortLine += l + "\n";
    EXPECT_TRUE(ReadBack(shortLine, &ok).empty());
    EXPECT_FALSE(ok);
}

TEST_F(BinaryBlock, PaddingBeforeTheEndFails) {
    bool ok = true;
    // Announces 6 bytes but the data ends after 1.
    EXPECT_TRUE(ReadBack("\t6 BASE64 0\n\tAQ==\n\tAQID\n", &ok).empty());
    EXPECT_FALSE(ok);
}

TEST_F(BinaryBlock, BadBase64Fails) {
    bool ok = true;
    EXPECT_TRUE(ReadBack("\t3 BASE64 0\n\tA*ID\n", &ok).empty());
    EXPECT_FALSE(ok);
    EXPECT_TRUE(ReadBack("\t3 BASE64 0\n\tAQI\n", &ok).empty());
    EXPECT_FALSE(ok);
}

TEST_F(BinaryBlock, CorruptZlibFails) {
    SetBinaryBlockCompression(true);
    const std::string text = Write(Bytes(3000), TRUE);
    auto lines = Lines(text);
    // Flip a character in the middle of the deflate data.
    std::string& line = lines[lines.size() / 2];
    line[10] = line[10] == 'A' ? 'B' : 'A';
    std::string damaged;
    for (const std::string& l : lines)
        damaged += l + "\n";
    bool ok = true;
    EXPECT_TRUE(ReadBack(damaged, &ok).empty());
    EXPECT_FALSE(ok);

    // Plain data behind a compressed flag is not a zlib stream.
    EXPECT_TRUE(ReadBack("\t3 BASE64 1\n\tAQID\n", &ok).empty());
    EXPECT_FALSE(ok);
}

TEST_F(BinaryBlock, TruncatedZlibFails) {
    SetBinaryBlockCompression(true);
    const auto lines = Lines(Write(Bytes(3000), TRUE));
    std::string cut;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        cut += lines[i] + "\n";
    bool ok = true;
    EXPECT_TRUE(ReadBack(cut, &ok).empty());
    EXPECT_FALSE(ok);
}

TEST_F(BinaryBlock, ZlibStreamLongerOrShorterThanTheCountFails) {
    SetBinaryBlockCompression(true);
    const std::string text = Write(Bytes(500), TRUE);
    bool ok = true;
    std::string fewer = text;
    fewer.replace(1, 3, "400");
    EXPECT_TRUE(ReadBack(fewer, &ok).empty());
    EXPECT_FALSE(ok);
    std::string more = text;
    more.replace(1, 3, "600");
    EXPECT_TRUE(ReadBack(more, &ok).empty());
    EXPECT_FALSE(ok);
}

// The data's final bytes can come out of inflate before the stream's adler-32 trailer has been
// read; the trailer's line must still be consumed.
TEST_F(BinaryBlock, ZlibTrailerOnItsOwnLineIsConsumed) {
    const std::vector<BYTE> data = Bytes(40);
    // A stored (uncompressed) deflate block: 2 header bytes, 5 block bytes, 40 data bytes = 47,
    // then the 4-byte trailer; split so that the trailer is on a line of its own.
    std::vector<BYTE> z(compressBound(40));
    uLongf size = z.size();
    ASSERT_EQ(compress2(z.data(), &size, data.data(), 40, 0), Z_OK);
    z.resize(size);
    ASSERT_EQ(z.size(), 51u);
    auto encode = [](const BYTE* p, int n) {
        TextOutput out;
        WriteBinaryBlock(out, p, n, FALSE);
        std::string s = out.str();
        return s.substr(s.find('\n') + 1);  // the data lines only
    };
    const std::string text = "\t40 BASE64 1\n" + encode(z.data(), 47) + encode(z.data() + 47, 4);
    bool ok = false, markerNext = false;
    EXPECT_EQ(ReadBack(text, &ok, &markerNext), data);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(markerNext);
}

TEST_F(BinaryBlock, HugeCountsAreRefusedBeforeAllocating) {
    bool ok = true;
    EXPECT_TRUE(ReadBack("\t2000000000 BASE64 0\n\tAQID\n", &ok).empty());
    EXPECT_FALSE(ok);
    EXPECT_TRUE(ReadBack("\t99999999999999 BASE64 0\n\tAQID\n", &ok).empty());
    EXPECT_FALSE(ok);
    // Below the absolute limit but far more than the rest of the stream could hold.
    EXPECT_TRUE(ReadBack("\t200000000 BASE64 0\n\tAQID\n", &ok).empty());
    EXPECT_FALSE(ok);
    EXPECT_TRUE(ReadBack("\t200000000 BASE64 1\n\tAQID\n", &ok).empty());
    EXPECT_FALSE(ok);
    EXPECT_TRUE(ReadBack("\t200000000\n\t01020304\n", &ok).empty());
    EXPECT_FALSE(ok);
}

TEST_F(BinaryBlock, NonPositiveOrMissingCounts) {
    bool ok = false, markerNext = false;
    EXPECT_TRUE(ReadBack("\t-5 BASE64 0\n", &ok, &markerNext).empty());
    EXPECT_TRUE(ok);
    EXPECT_TRUE(markerNext);
    EXPECT_TRUE(ReadBack("\tjunk\n", &ok).empty());
    EXPECT_FALSE(ok);
    TextInput empty("");
    int n = 5;
    EXPECT_EQ(ReadBinaryBlock(empty, n), nullptr);
    EXPECT_EQ(n, 0);
}

TEST_F(BinaryBlock, WriterRefusesNegativeCounts) {
    TextOutput out;
    WriteBinaryBlock(out, nullptr, -1, FALSE);
    EXPECT_TRUE(out.bad());
    EXPECT_EQ(out.str(), "");
}

}  // namespace
