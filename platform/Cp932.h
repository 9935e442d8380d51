// Code page 932 at the boundaries: files, clipboard, archives. Strings are UTF-8 inside.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Bytes that are not valid code page 932 become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);
// Characters without a code page 932 form become '?'; replaced (when given) counts them up.
std::string Utf8ToCp932(std::string_view utf8, std::size_t* replaced = nullptr);
std::string Utf16LeToUtf8(std::string_view utf16le);
std::string Utf8ToUtf16Le(std::string_view utf8);
// Any iconv encoding name; unknown names give the input unchanged and false.
bool ConvertEncoding(std::string_view input, const char* from, const char* to, std::string& out);

// The length of the string in code page 932 bytes.
std::size_t Cp932Length(std::string_view utf8);
// The longest prefix whose code page 932 form has at most maxBytes bytes; never splits a character.
std::string Cp932Cut(std::string_view utf8, std::size_t maxBytes);
// Lead bytes of two-byte characters: 0x81..0x9F and 0xE0..0xFC.
inline bool IsCp932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
// Length in bytes of the UTF-8 sequence that starts with b (1 for stray continuation bytes).
inline std::size_t Utf8SequenceLength(unsigned char b) {
    return b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
}
bool IsAscii(std::string_view s);
