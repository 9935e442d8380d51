// The boundary of the program's text files: code page 932 with CRLF on disk, UTF-8 with "\n" inside.
// Readers parse the decoded text from a classic-locale string stream; writers build the text the
// same way and encode it once.
#pragma once

#include <locale>
#include <sstream>
#include <string>
#include <string_view>

// CP932 bytes (CRLF or LF line ends) to UTF-8 with "\n": a '\r' before '\n' is dropped.
std::string DecodeTextFile(std::string_view bytes);
// UTF-8 with "\n" to CP932 bytes with CRLF; replaced (when given) counts up the characters that
// code page 932 has not (written as '?').
std::string EncodeTextFile(std::string_view text, std::size_t* replaced = nullptr);

// The classic locale with doubles written and read without the detour through the C library's
// formatted input and output (a large drawing holds millions of numbers). The text is exactly
// what the classic locale gives ("%.*g" on output; the same numbers accepted and refused on
// input), except that a precision of 15 or more writes a number that reads back exactly: when
// "%.*g" does not, the shortest text that does. Streams of text files that are not TextInput / TextOutput
// imbue it themselves.
const std::locale& FastNumberLocale();

// String streams that never see the user's locale (FastNumberLocale).
class TextInput : public std::istringstream {
public:
    explicit TextInput(std::string text);
};
class TextOutput : public std::ostringstream {
public:
    TextOutput();
};

// printf-style "%g" and "%.*g" in the C locale, independent of the process locale.
std::string FormatG(double value, int precision = 6);
// Shortest text that reads back as the same double.
std::string FormatExact(double value);
// strtod in the C locale; false when text holds no number.
bool ParseDouble(std::string_view text, double& out);
// atof semantics in the C locale: leading blanks skipped, 0 when there is no number.
double AtoF(std::string_view text);
// atoi semantics: leading blanks and sign, digits until the first other character, 0 when none.
int AtoI(std::string_view text);
