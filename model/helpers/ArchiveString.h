// The short archive string: a 16-bit length, then that many code page 932 bytes, no terminator. In
// the program's own (UTF-8) archives, a length word of 0xFFFF is followed by a 32-bit length.
#pragma once

#include <cstddef>
#include <string>

class CArchive;

// The longest string the program's own archives hold: a line a drawing keeps, four bytes a character.
inline constexpr std::size_t kMaxUtf8ArchiveString = 4 * 0xFFFF;

// Strings longer than 65,535 bytes in code page 932 (kMaxUtf8ArchiveString in the program's own
// archives) are cut there, never inside a character.
void WriteArchiveString(CArchive& ar, const char* text);
inline void WriteArchiveString(CArchive& ar, const std::string& text) {
    WriteArchiveString(ar, text.c_str());
}
void ReadArchiveString(CArchive& ar, std::string& out);
// The text as storing and loading it through an archive of the program's own (UTF-8) gives it back.
std::string Utf8ArchiveCopy(const std::string& text);
