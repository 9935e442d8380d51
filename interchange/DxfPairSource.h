// The pairs of a DXF file (a group-code line, then a value line) from bytes in memory or from a file
// read a piece at a time, so that a large file is never held whole: only the piece being parsed is
// kept, and its memory is reused for the next.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

class CFile;

class MDXFPairSource {
public:
    // What is read of a file at a time.
    static constexpr std::size_t kDefaultPieceSize = std::size_t{256} << 10;
    // The longest line taken, far beyond any value a writer puts in one line (texts come in
    // chunks of 250 bytes). A longer line ends the pairs there (HitLongLine), so that a damaged
    // file never has a line of gigabytes held.
    static constexpr std::size_t kMaxLine = std::size_t{1} << 20;

    // Over bytes the caller keeps for the source's life.
    explicit MDXFPairSource(std::string_view bytes);
    // Over the file from its current position, pieceSize bytes at a time (more while one pair is
    // longer). Reading throws CFileException on an I/O error.
    explicit MDXFPairSource(CFile& file, std::size_t pieceSize = kDefaultPieceSize);
    MDXFPairSource(const MDXFPairSource&) = delete;
    MDXFPairSource& operator=(const MDXFPairSource&) = delete;

    // Up to size unread bytes, without reading them; fewer at the end. Valid until the next call.
    std::string_view Peek(std::size_t size);
    // Whether the unread bytes begin with the prefix.
    bool StartsWith(std::string_view prefix);
    // Passes over the prefix when the unread bytes begin with it.
    bool Skip(std::string_view prefix);
    // The next two lines without their line ends: 2 for a pair, 1 when only the code line is left,
    // 0 at the end, also at a line longer than kMaxLine. The views stay valid until the next call.
    int NextPair(std::string_view& code, std::string_view& value);
    // After a pair: its value line is read again, as the next pair's code line.
    void RereadValue() { m_pos = m_valuePos; }
    // Whether the pairs ended at a line longer than kMaxLine.
    bool HitLongLine() const { return m_longLine; }

private:
    // Moves the unread bytes to the front and reads more; false at the end of the file.
    bool Refill();

    CFile* m_file = nullptr;
    std::vector<char> m_buffer;
    const char* m_data = nullptr;
    std::size_t m_size = 0;      // of m_data
    std::size_t m_pos = 0;       // the first unread byte
    std::size_t m_valuePos = 0;  // where the last pair's value line begins
    bool m_atEnd = true;         // nothing more to read
    bool m_longLine = false;
};
