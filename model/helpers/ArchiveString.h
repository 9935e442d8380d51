// The short archive string: a 16-bit length, then that many code page 932 bytes, no terminator.
#pragma once

#include <string>

class CArchive;

// Strings longer than 65,535 bytes in code page 932 are cut there, never inside a character.
void WriteArchiveString(CArchive& ar, const char* text);
inline void WriteArchiveString(CArchive& ar, const std::string& text) {
    WriteArchiveString(ar, text.c_str());
}
void ReadArchiveString(CArchive& ar, std::string& out);
// The text as storing and loading it through an archive of the program's own (UTF-8) gives it back.
std::string Utf8ArchiveCopy(const std::string& text);
