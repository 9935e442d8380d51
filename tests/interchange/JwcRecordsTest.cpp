#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "interchange/JwcRecords.h"
#include "platform/Exceptions.h"

namespace {
std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

// A record that counts its living instances, to see what the owning list frees.
int g_alive = 0;
struct CountedRecord {
    static constexpr std::size_t kSize = 1;
    CountedRecord() { ++g_alive; }
    ~CountedRecord() { --g_alive; }
    void AppendTo(std::string& bytes) const { bytes += 'r'; }
};
}  // namespace

TEST(JwcRecords, LineRecordIs22PackedLittleEndianBytes) {
    MJWCLine line;
    line.x1 = 1.0f;
    line.y1 = 2.0f;
    line.x2 = -1.5f;
    line.y2 = 0.5f;
    line.lineType = 9;
    line.pen = 3;
    line.layer = 0x25;
    std::string bytes;
    line.AppendTo(bytes);
    EXPECT_EQ(bytes, Bytes({0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0xC0,
                            0xBF, 0x00, 0x00, 0x00, 0x3F, 0x09, 0x03, 0x25, 0x00, 0x00, 0x00}));
    EXPECT_EQ(bytes.size(), MJWCLine::kSize);
}

TEST(JwcRecords, ArcRecordIs32BytesAndNewArcsAreCircles) {
    MJWCArc fresh;
    std::string bytes;
    fresh.AppendTo(bytes);
    std::string zeroCircle(32, '\0');
    zeroCircle[12] = static_cast<char>(0x10);  // 10000 = 0x2710
    zeroCircle[13] = static_cast<char>(0x27);
    EXPECT_EQ(bytes, zeroCircle);

    MJWCArc arc;
    arc.cx = 1.0f;
    arc.cy = 2.0f;
    arc.radius = 0.5f;
    arc.flatness = 5000;          // 0x1388
    arc.startAngle = 90 * 65536;  // 0x005A0000
    arc.endAngle = 180 * 65536;   // 0x00B40000
    arc.tilt = -1;                // all bits set
    arc.lineType = 1;
    arc.pen = 2;
    arc.layer = 255;
    bytes.clear();
    arc.AppendTo(bytes);
    EXPECT_EQ(bytes, Bytes({0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00,
                            0x3F, 0x88, 0x13, 0x00, 0x00, 0x5A, 0x00, 0x00, 0x00, 0xB4, 0x00,
                            0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x02, 0xFF, 0x00, 0x00, 0x00}));
}

TEST(JwcRecords, TextAndMarkRecords) {
    MJWCString text;
    text.x1 = 1.0f;
    text.y1 = 2.0f;
    text.x2 = 0.5f;
    text.y2 = -1.5f;
    text.offset = 0x0102;
    text.sizeKind = 10;
    text.layer = 7;
    text.flags = MJWCString::kVertical;
    std::string bytes;
    text.AppendTo(bytes);
    EXPECT_EQ(bytes, Bytes({0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x3F,
                            0x00, 0x00, 0xC0, 0xBF, 0x02, 0x01, 0x34, 0x68, 0x0A, 0x07, 0x20, 0x00}));
    EXPECT_EQ(bytes.size(), MJWCString::kSize);

    MJWCVPoint mark;
    mark.x = 2.0f;
    mark.y = 1.0f;
    mark.layer = 4;
    bytes.clear();
    mark.AppendTo(bytes);
    EXPECT_EQ(bytes, Bytes({0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x80, 0x3F, 0x04}));
}

TEST(JwcRecords, ListsOwnTheirRecordsAndSerialiseInOrder) {
    {
        MJWCRecordArray<CountedRecord> list;
        list.Add(new CountedRecord);
        list.Add(std::make_unique<CountedRecord>());
        EXPECT_EQ(list.Add(static_cast<CountedRecord*>(nullptr)), -1);
        EXPECT_EQ(g_alive, 2);
        list.RemoveAll();
        EXPECT_EQ(g_alive, 0);
        list.AddNew();
        EXPECT_EQ(g_alive, 1);
    }
    EXPECT_EQ(g_alive, 0);  // the destructor freed the last one

    MJWCLineArray lines;
    lines.Add(new MJWCLine);
    lines.AddNew().layer = 5;
    EXPECT_EQ(lines.GetSize(), 2);
    std::string bytes;
    lines.AppendTo(bytes);
    ASSERT_EQ(bytes.size(), 2 * MJWCLine::kSize);
    EXPECT_EQ(bytes[18], 0);
    EXPECT_EQ(bytes[22 + 18], 5);
    EXPECT_EQ(lines[1].layer, 5);
    EXPECT_THROW(lines.GetAt(2), CInvalidArgException);
    EXPECT_THROW(lines.GetAt(-1), CInvalidArgException);

    MJWCArcArray arcs;
    EXPECT_EQ(arcs.AddNew().flatness, MJWCArc::kCircleFlatness);
    bytes.clear();
    arcs.AppendTo(bytes);
    EXPECT_EQ(bytes.size(), MJWCArc::kSize);
}

TEST(JwcRecords, MarkBlockIsColumnsOfExactly101Entries) {
    MJWCVPointArray marks;
    marks.AddNew();  // entry 0 stays empty
    MJWCVPoint& m = marks.AddNew();
    m.x = 1.0f;
    m.y = 2.0f;
    m.layer = 3;
    std::string bytes;
    EXPECT_EQ(marks.AppendMarkBlockTo(bytes), 0);
    ASSERT_EQ(bytes.size(), 909u);
    EXPECT_EQ(bytes.substr(4, 4), Bytes({0x00, 0x00, 0x80, 0x3F}));        // x of entry 1
    EXPECT_EQ(bytes.substr(404 + 4, 4), Bytes({0x00, 0x00, 0x00, 0x40}));  // y of entry 1
    EXPECT_EQ(bytes[808 + 1], 3);                                          // layer of entry 1
    EXPECT_EQ(bytes.substr(808 + 2), std::string(99, '\0'));

    // More marks than the block holds: the block keeps its size and reports what was left out.
    for (int i = 0; i < 105; ++i)
        marks.AddNew();
    bytes.clear();
    EXPECT_EQ(marks.AppendMarkBlockTo(bytes), 6);
    EXPECT_EQ(bytes.size(), 909u);
}

TEST(JwcRecords, StringListOffsetsAdvanceByTheCp932LengthPlusOne) {
    MJWCStringList texts;
    WORD offset = 0xFFFF;
    ASSERT_TRUE(texts.Add("AB", offset));
    EXPECT_EQ(offset, 0);
    ASSERT_TRUE(texts.Add("寸法", offset));  // four bytes in code page 932
    EXPECT_EQ(offset, 3);
    ASSERT_TRUE(texts.Add("", offset));
    EXPECT_EQ(offset, 8);
    EXPECT_EQ(texts.GetRunningOffset(), 9);
    EXPECT_EQ(texts.GetBlock(), std::string("AB\0\x90\xA1\x96\x40\0\0", 9));
    EXPECT_EQ(texts.GetAt(1), "寸法");
    EXPECT_EQ(texts.GetCount(), 3);
    EXPECT_THROW(texts.GetAt(3), CInvalidArgException);

    // A NUL inside a text would end it early in the file: the text is cut there.
    ASSERT_TRUE(texts.Add(std::string_view("X\0Y", 3), offset));
    EXPECT_EQ(texts.GetAt(3), "X");
    EXPECT_EQ(texts.GetRunningOffset(), 11);
}

TEST(JwcRecords, StringListRefusesTextsBeyondThe16BitBlock) {
    MJWCStringList texts;
    WORD offset = 0;
    const std::string chunk(999, 'a');  // 1000 bytes with its NUL
    for (int i = 0; i < 65; ++i)
        ASSERT_TRUE(texts.Add(chunk, offset));
    EXPECT_EQ(offset, 64000);
    // 65000 bytes used: 535 more fit exactly (534 + NUL), one more does not.
    EXPECT_FALSE(texts.Add(std::string(535, 'b'), offset));
    EXPECT_TRUE(texts.HasOverflowed());
    EXPECT_EQ(offset, 64000);  // untouched by the refused text
    EXPECT_EQ(texts.GetCount(), 65);
    ASSERT_TRUE(texts.Add(std::string(534, 'b'), offset));
    EXPECT_EQ(offset, 65000);
    EXPECT_EQ(texts.GetRunningOffset(), 0xFFFF);
    EXPECT_FALSE(texts.Add("", offset));
    std::string bytes;
    texts.AppendTo(bytes);
    EXPECT_EQ(bytes.size(), 0xFFFFu);
    texts.RemoveAll();
    EXPECT_FALSE(texts.HasOverflowed());
    EXPECT_EQ(texts.GetRunningOffset(), 0);
}

TEST(JwcRecords, PenNumbersLineTypesAndFloats) {
    EXPECT_EQ(GetJWCColorNumber(0x0000FF), 2);  // red
    EXPECT_EQ(GetJWCColorNumber(0x000000), 2);  // black
    EXPECT_EQ(GetJWCColorNumber(0xFF0000), 6);  // blue
    EXPECT_EQ(GetJWCColorNumber(0xFF00FF), 5);  // magenta
    EXPECT_EQ(GetJWCColorNumber(0x00FF00), 3);  // green
    EXPECT_EQ(GetJWCColorNumber(0xFFFF00), 1);  // cyan
    EXPECT_EQ(GetJWCColorNumber(0x00FFFF), 4);  // yellow
    EXPECT_EQ(GetJWCColorNumber(0xFFFFFF), 2);  // white
    EXPECT_EQ(GetJWCColorNumber(RGB(128, 129, 0)), 3);
    EXPECT_EQ(GetJWCColorNumber(kNoColor), 2);
    EXPECT_EQ(GetJWCColorNumber(0xFFFFFFFF), 2);

    EXPECT_EQ(GetJWCLineType(-1), 0);
    EXPECT_EQ(GetJWCLineType(0), 1);
    EXPECT_EQ(GetJWCLineType(7), 8);
    EXPECT_EQ(GetJWCLineType(0x88), 9);
    EXPECT_EQ(GetJWCLineType(0x80), 9);

    EXPECT_EQ(ToJWCFloat(1.25), 1.25f);
    EXPECT_EQ(ToJWCFloat(1e300), FLT_MAX);
    EXPECT_EQ(ToJWCFloat(-1e300), -FLT_MAX);
    EXPECT_EQ(ToJWCFloat(std::numeric_limits<double>::quiet_NaN()), 0.0f);
}

TEST(JwcRecords, TextKindIsTheNearestHeight) {
    EXPECT_EQ(FindJWCTextKind(2.0, kJWCTextKindHeights), 1);  // kinds 1 has 2.0; kind 0 is never chosen
    EXPECT_EQ(FindJWCTextKind(2.2, kJWCTextKindHeights), 1);
    EXPECT_EQ(FindJWCTextKind(2.3, kJWCTextKindHeights), 2);
    EXPECT_EQ(FindJWCTextKind(3.5, kJWCTextKindHeights), 3);  // tie between 3.0 and 4.0: the lower kind
    EXPECT_EQ(FindJWCTextKind(100.0, kJWCTextKindHeights), 10);
    EXPECT_EQ(FindJWCTextKind(0.0, kJWCTextKindHeights), 1);
}
