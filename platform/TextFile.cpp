#include "platform/TextFile.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale>
#include <system_error>

#include "platform/Cp932.h"

std::string DecodeTextFile(std::string_view bytes) {
    std::string text = Cp932ToUtf8(bytes);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

std::string EncodeTextFile(std::string_view text) {
    std::string crlf;
    crlf.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    return Utf8ToCp932(crlf);
}

TextInput::TextInput(std::string text) : std::istringstream(std::move(text)) { imbue(std::locale::classic()); }

TextOutput::TextOutput() { imbue(std::locale::classic()); }

std::string FormatG(double value, int precision) {
    char buf[64];
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision < 1 ? 1 : precision);
    return std::string(buf, r.ptr);
}

std::string FormatExact(double value) {
    char buf[64];
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

bool ParseDouble(std::string_view text, double& out) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
    if (i < text.size() && text[i] == '+') ++i;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    auto r = std::from_chars(first, last, out);
    if (r.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value unchanged; strtod's answer (inf or 0) is what callers expect.
        out = std::strtod(std::string(first, r.ptr).c_str(), nullptr);
        return true;
    }
    return r.ec == std::errc();
}

double AtoF(std::string_view text) {
    double v = 0;
    return ParseDouble(text, v) ? v : 0.0;
}

int AtoI(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long v = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        v = v * 10 + (text[i++] - '0');
        if (v > 0x80000000LL) break;
    }
    if (negative) v = -v;
    if (v > 0x7FFFFFFF) v = 0x7FFFFFFF;
    if (v < -0x80000000LL) v = -0x80000000LL;
    return static_cast<int>(v);
}
