// The records of a JW_CAD drawing as the shapes export them, and their lists. Every record
// serialises itself little-endian and packed, exactly in the file's layout, so the writer only
// concatenates and tests can compare bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WinTypes.h"

// Coordinates are 4-byte floats in the file; values beyond a float's range are clamped and a value
// that is not a number becomes 0, so no record carries an infinity or NaN.
float ToJWCFloat(double value);
// The file's little-endian pieces, for the records and the writer's header.
void AppendJwc16(std::string& out, std::uint16_t v);
void AppendJwcFloat(std::string& out, float v);
// An angle in radians as JW_CAD's 1/65536 degree, negative angles taken one turn up.
LONG ToJWCAngle(double angle);

// Line record, 22 bytes: x1, y1, x2, y2, line type, pen, layer, 3 unused bytes.
struct MJWCLine {
    static constexpr std::size_t kSize = 22;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // drawing coordinates times the export factor
    BYTE lineType = 0;                     // 0 none, 9 auxiliary, else line-style index + 1
    BYTE pen = 0;
    BYTE layer = 0;
    void AppendTo(std::string& bytes) const;
};

// Arc or circle record, 32 bytes: centre x, centre y, radius, flatness, start, end, tilt, line
// type, pen, layer, 3 unused bytes.
struct MJWCArc {
    static constexpr std::size_t kSize = 32;
    static constexpr WORD kCircleFlatness = 10000;
    float cx = 0, cy = 0, radius = 0;
    WORD flatness = kCircleFlatness;  // minor / major radius times 10000
    LONG startAngle = 0;              // 1/65536 degree; start and end both 0 is a full circle
    LONG endAngle = 0;
    LONG tilt = 0;  // rotation of the major axis, 1/65536 degree; the writer's shapes leave it 0
    BYTE lineType = 0;
    BYTE pen = 0;
    BYTE layer = 0;
    void AppendTo(std::string& bytes) const;
};

// Text record, 24 bytes: base line start x, y, end x, y, string offset, string segment, size
// kind, layer, flags.
struct MJWCString {
    static constexpr std::size_t kSize = 24;
    static constexpr WORD kStringSegment = 0x6834;
    static constexpr WORD kVertical = 0x20;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    WORD offset = 0;  // in the writer's string block (MJWCStringList::Add gives it)
    WORD segment = kStringSegment;
    BYTE sizeKind = 1;  // 1..10, see FindJWCTextKind
    BYTE layer = 0;
    WORD flags = 0;
    void AppendTo(std::string& bytes) const;
};

// Mark entry, 9 bytes: x, y, layer. In the file the entries stand column by column (see
// MJWCVPointArray::AppendMarkBlockTo).
struct MJWCVPoint {
    static constexpr std::size_t kSize = 9;
    float x = 0, y = 0;
    BYTE layer = 0;
    void AppendTo(std::string& bytes) const;
};

// An owning list of records in export order; the records are freed with the list.
template <class Record>
class MJWCRecordArray {
public:
    MJWCRecordArray() = default;
    MJWCRecordArray(const MJWCRecordArray&) = delete;
    MJWCRecordArray& operator=(const MJWCRecordArray&) = delete;

    // Takes ownership; returns the record's index. A null record is ignored and gives -1.
    int Add(Record* record) { return Add(std::unique_ptr<Record>(record)); }
    int Add(std::unique_ptr<Record> record) {
        if (!record) return -1;
        m_records.push_back(std::move(record));
        return GetSize() - 1;
    }
    // A fresh record (default values) appended to the list.
    Record& AddNew() { return *m_records[Add(std::make_unique<Record>())]; }

    int GetSize() const { return static_cast<int>(m_records.size()); }
    bool IsEmpty() const { return m_records.empty(); }
    // An index outside the list raises CInvalidArgException.
    Record& GetAt(int i) const;
    Record& operator[](int i) const { return GetAt(i); }
    void RemoveAll() { m_records.clear(); }

    // The records' bytes, one after the other.
    void AppendTo(std::string& bytes) const {
        bytes.reserve(bytes.size() + m_records.size() * Record::kSize);
        for (const auto& r : m_records)
            r->AppendTo(bytes);
    }

private:
    std::vector<std::unique_ptr<Record>> m_records;
};

[[noreturn]] void ThrowJWCIndexError();

template <class Record>
Record& MJWCRecordArray<Record>::GetAt(int i) const {
    if (i < 0 || i >= GetSize()) ThrowJWCIndexError();
    return *m_records[static_cast<std::size_t>(i)];
}

class MJWCLineArray : public MJWCRecordArray<MJWCLine> {};
class MJWCArcArray : public MJWCRecordArray<MJWCArc> {};
class MJWCStringArray : public MJWCRecordArray<MJWCString> {};
class MJWCVPointArray : public MJWCRecordArray<MJWCVPoint> {
public:
    // The file's mark block holds exactly this many entries (entry 0 stays empty).
    static constexpr int kMarkBlockEntries = 101;
    // The fixed 909-byte mark block: the x of every entry, then every y, then every layer byte;
    // missing entries are zero. Returns how many entries did not fit and were left out.
    int AppendMarkBlockTo(std::string& bytes) const;
};

// The texts of the text records and the string block they make: each text in code page 932 with
// a terminating NUL, addressed by a 16-bit offset. The block's length is written as four hex digits,
// so it holds at most 0xFFFF bytes; a text that does not fit is refused rather than letting the
// offsets wrap and point into other texts.
class MJWCStringList {
public:
    static constexpr int kMaxBlockLength = 0xFFFF;

    // Appends the text (cut at a NUL it may hold) and gives the offset for its record. FALSE when
    // the block has no room for it: nothing is added, the caller writes no record for it, and
    // HasOverflowed turns TRUE so the writer can report that texts were left out.
    BOOL Add(std::string_view utf8, WORD& offset);

    int GetCount() const { return static_cast<int>(m_texts.size()); }
    // The text as added (UTF-8); an index outside the list raises CInvalidArgException.
    const std::string& GetAt(int i) const;
    // The offset the next text gets: the block's length so far, NULs included.
    int GetRunningOffset() const { return static_cast<int>(m_block.size()); }
    BOOL HasOverflowed() const { return m_overflowed; }
    // Characters of the texts added that code page 932 lacks (written as '?').
    std::size_t GetReplacedCount() const { return m_replaced; }
    // The string block: every text in code page 932, each followed by a NUL.
    const std::string& GetBlock() const { return m_block; }
    void AppendTo(std::string& bytes) const { bytes += m_block; }
    void RemoveAll();

private:
    std::vector<std::string> m_texts;
    std::string m_block;
    BOOL m_overflowed = FALSE;
    std::size_t m_replaced = 0;
};

// The JW_CAD pen number of a colour: by which channels exceed 128, black, red and white give 2,
// blue 6, magenta 5, green 3, cyan 1, yellow 4; no colour (0x1000000 and above) gives 2.
int GetJWCColorNumber(COLORREF color);

// The JW_CAD line type of a line-style word: 0 for none (negative), 9 for an auxiliary line
// (bit 0x80), otherwise the style index (low 7 bits) + 1.
int GetJWCLineType(int lineStyleWord);

// Character heights of the text kinds 0..10 that the writer hands to the text exporters.
extern const double kJWCTextKindHeights[11];
// The text kind (1..10) whose height is nearest to the given height; the lower kind on a tie.
int FindJWCTextKind(double height, const double heights[11]);
