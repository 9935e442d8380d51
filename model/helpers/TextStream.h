// Primitives of the program's text files: comment lines, lines and strings, multi-line strings,
// and binary blocks carried as Base64 text (optionally zlib-deflated).
//
// A line that starts with "#" directly after a value line is a comment; the readers below skip one
// such line after each line they take.
#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

// The longest line the readers take whole, in bytes of code page 932 as the file holds it; the
// readers of text cut longer ones between two characters.
inline constexpr int kMaxTextLine = 65536;

// Peeks at the next character; when it is "#" that line is read and discarded. Returns the next
// character (peeked, EOF at the end).
int SkipTextComment(std::istream& is);
// Reads the rest of the current line (at most size - 1 characters, NUL-terminated) and returns the
// number of characters taken from the stream (a line end counts), then skips a comment line.
int ReadTextLine(std::istream& is, char* buffer, int size);
// The same into a string, as the buffer of kMaxTextLine bytes would hold it (up to a NUL), without
// that buffer.
std::string ReadTextLine(std::istream& is);
// With skipSeparator, first consumes exactly one character (the TAB or blank before the value); then
// the rest of the line (up to 65,536 bytes in code page 932) goes to out; then a comment line is skipped.
void ReadTextString(std::istream& is, std::string& out, BOOL skipSeparator);
// Discards the rest of the current line, then a comment line.
void SkipTextLine(std::istream& is);
// Discards empty lines and lines that begin with white space (the value and data lines of a record
// left unread), up to a line that begins at its first column, or the end.
void SkipIndentedLines(std::istream& is);

// A multi-line string: a line TAB count, then count lines TAB text. The count is the number of "\n"
// plus one; the empty string writes count 0.
void WriteTextLines(std::ostream& os, const std::string& text);
void ReadTextLines(std::istream& is, std::string& out);

// Binary blocks: a header line TAB n " BASE64 " flag, then data lines TAB Base64 of 54 bytes each
// (the last one 1 to 54 bytes). Flag 1: the lines carry the zlib stream of the n bytes.
//
// The block is deflated only when compress is set and BinaryBlockCompressionEnabled() answers true;
// the header's flag records which. A zlib failure sets the stream's badbit.
void WriteBinaryBlock(std::ostream& os, const BYTE* data, int n, BOOL compress);
// Reads a block (also the legacy hexadecimal form: a header with the count alone, then lines of
// 32 bytes as hex digits). Returns the n bytes (the caller owns them), or null with n = 0:
// - for a count of 0 or less, with the stream still good (the header line is consumed);
// - with failbit (badbit for a zlib failure) set when the block is damaged or unusable: no count,
//   an encoding word other than BASE64, fewer than n bytes, bad Base64 or hex, a corrupt zlib
//   stream or one that yields more than n bytes, a count above kMaxBinaryBlock or above what the
//   rest of the stream could hold, a Base64 line that starts at its first column (left unread, as
//   the next record's). Nothing partial is handed out.
// Every line of the block is consumed, also the last one of a zlib stream whose trailer follows the
// data's final bytes.
std::unique_ptr<BYTE[]> ReadBinaryBlock(std::istream& is, int& n);
// The same into a vector of the block's size (empty where the above gives null), for a caller that
// keeps the bytes without a copy; a count above max is damage too.
std::vector<BYTE> ReadBinaryBlockBytes(std::istream& is, std::size_t max);
// The largest block the reader accepts (256 MiB).
inline constexpr int kMaxBinaryBlock = 256 * 1024 * 1024;

// Whether writers may deflate binary blocks: the option record's SAVECOMPRESS (read at each call).
bool BinaryBlockCompressionEnabled();
// Sets SAVECOMPRESS in the program-wide option record.
void SetBinaryBlockCompression(bool enabled);
