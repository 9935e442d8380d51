#include "interchange/DxfText.h"

#include <algorithm>
#include <cctype>

#include "platform/Cp932.h"
#include "platform/TextFile.h"

namespace {

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool IsDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t len;
        unsigned cp;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b >> 5) == 6) {
            len = 2, cp = b & 0x1F;
        } else if ((b >> 4) == 14) {
            len = 3, cp = b & 0x0F;
        } else if ((b >> 3) == 30) {
            len = 4, cp = b & 0x07;
        } else {
            return false;
        }
        if (i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c >> 6) != 2) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF.
        if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
            cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Four hex digits at text[at]; -1 when there are none.
long Hex4(std::string_view text, std::size_t at) {
    if (at + 4 > text.size()) return -1;
    long v = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        const int h = HexValue(text[at + k]);
        if (h < 0) return -1;
        v = v * 16 + h;
    }
    return v;
}

// The code pages of the "\M+n" escapes.
const char* MultiByteCodePage(char n) {
    switch (n) {
        case '1':
            return "CP932";
        case '2':
            return "BIG5";
        case '3':
            return "CP949";
        case '4':
            return "JOHAB";
        case '5':
            return "GB2312";
        default:
            return nullptr;
    }
}

// "\U+XXXX" (with surrogate pairs) and "\M+nXXXX"; an escaped backslash stays as it is.
std::string ResolveEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\\' || i + 1 >= text.size()) {
            out += c;
            ++i;
            continue;
        }
        const char next = text[i + 1];
        if (next == '\\') {
            out.append(text.substr(i, 2));
            i += 2;
            continue;
        }
        if ((next == 'U' || next == 'u') && i + 2 < text.size() && text[i + 2] == '+') {
            long cp = Hex4(text, i + 3);
            if (cp >= 0) {
                std::size_t used = 7;
                if (cp >= 0xD800 && cp <= 0xDBFF && i + 14 <= text.size() &&
                    text.substr(i + 7, 3) == "\\U+") {
                    const long low = Hex4(text, i + 10);
                    if (low >= 0xDC00 && low <= 0xDFFF) {
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                        used = 14;
                    }
                }
                AppendUtf8(out, static_cast<unsigned>(cp));
                i += used;
                continue;
            }
        }
        if ((next == 'M' || next == 'm') && i + 3 < text.size() && text[i + 2] == '+') {
            const char* codePage = MultiByteCodePage(text[i + 3]);
            const long code = Hex4(text, i + 4);
            if (codePage && code >= 0) {
                const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
                std::string converted;
                const std::string_view in =
                    code > 0xFF ? std::string_view(bytes, 2) : std::string_view(bytes + 1, 1);
                if (ConvertEncoding(in, codePage, "UTF-8", converted) && !converted.empty() &&
                    converted != "?")
                    out += converted;
                else
                    AppendUtf8(out, 0xFFFD);
                i += 8;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

std::size_t SequenceLength(std::string_view text, std::size_t at) {
    return std::min(text.size() - at, Utf8SequenceLength(static_cast<unsigned char>(text[at])));
}

const char* PercentSymbol(char c) {
    switch (c) {
        case 'c':
        case 'C':
            return "\xCE\xA6";  // diameter, code page 932 0x83B3
        case 'd':
        case 'D':
            return "\xC2\xB0";  // degree, 0x818B
        case 'p':
        case 'P':
            return "\xC2\xB1";  // plus-minus, 0x817D
        case '%':
            return "%";
        default:
            return nullptr;
    }
}

// "%%nnn" at text[at] (at points at the first digit): the code point, or -1.
int PercentNumber(std::string_view text, std::size_t at) {
    if (at + 3 > text.size() || !IsDigits(text.substr(at, 3))) return -1;
    return (text[at] - '0') * 100 + (text[at + 1] - '0') * 10 + (text[at + 2] - '0');
}

}  // namespace

void AppendUtf8(std::string& out, unsigned cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void MDXFEncoding::SetVersion(std::string_view version) {
    const std::string v = Upper(Trim(version));
    // "AC1021" and later; the digits compare as numbers.
    if (v.size() >= 6 && v.compare(0, 2, "AC") == 0 && IsDigits(std::string_view(v).substr(2, 4)))
        m_utf8 = std::stoi(v.substr(2, 4)) >= 1021;
}

void MDXFEncoding::SetCodePage(std::string_view name) {
    const std::string n = Upper(Trim(name));
    std::string codePage;
    if (n.rfind("ANSI_", 0) == 0 && IsDigits(std::string_view(n).substr(5))) {
        codePage = "CP" + n.substr(5);
    } else if (n.rfind("DOS", 0) == 0 && IsDigits(std::string_view(n).substr(3))) {
        codePage = "CP" + n.substr(3);
    } else if (n == "UTF8" || n == "UTF-8") {
        m_utf8 = true;
        return;
    } else if (n == "MACINTOSH" || n == "BIG5" || n == "GB2312" || n == "JOHAB") {
        codePage = n;
    } else if (n == "KSC5601") {
        codePage = "CP949";
    } else if (n.rfind("ISO8859-", 0) == 0 && IsDigits(std::string_view(n).substr(8))) {
        codePage = "ISO-8859-" + n.substr(8);
    } else {
        return;
    }
    std::string probe;
    if (ConvertEncoding("A", codePage.c_str(), "UTF-8", probe)) m_codePage = codePage;
}

std::string MDXFEncoding::Decode(std::string_view raw) const {
    const bool ascii = IsAscii(raw);
    if (ascii && raw.find('\\') == std::string_view::npos) return std::string(raw);
    std::string text;
    if (ascii || (m_utf8 && IsValidUtf8(raw))) {
        text.assign(raw);
    } else if (m_utf8 || m_codePage == "CP932") {
        text = Cp932ToUtf8(raw);
    } else if (!ConvertEncoding(raw, m_codePage.c_str(), "UTF-8", text)) {
        text = Cp932ToUtf8(raw);
    }
    if (text.find('\\') == std::string::npos) return text;
    return ResolveEscapes(text);
}

std::string DecodeDxfPercentCodes(std::string_view text) {
    if (text.find("%%") == std::string_view::npos) return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '%' || i + 1 >= text.size() || text[i + 1] != '%') {
            out += text[i++];
            continue;
        }
        if (i + 2 >= text.size()) break;  // a "%%" at the end is dropped
        const char c = text[i + 2];
        if (const char* symbol = PercentSymbol(c)) {
            out += symbol;
            i += 3;
        } else if (const int code = PercentNumber(text, i + 2); code >= 0) {
            if (code > 0) AppendUtf8(out, static_cast<unsigned>(code));
            i += 5;
        } else {
            i += 2 + SequenceLength(text, i + 2);
        }
    }
    return out;
}

std::string MDXFTextDecoder::Decode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    // The position just past the next ';' from `from` (the end when there is none).
    auto pastSemicolon = [&](std::size_t from) {
        const std::size_t semi = text.find(';', from);
        return semi == std::string_view::npos ? text.size() : semi + 1;
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '%') {
            if (i + 1 < text.size() && text[i + 1] == '%') {
                if (i + 2 >= text.size()) break;
                const char k = text[i + 2];
                if (const char* symbol = PercentSymbol(k)) {
                    out += symbol;
                    i += 3;
                } else if (const int code = PercentNumber(text, i + 2); code >= 0) {
                    if (code > 0) AppendUtf8(out, static_cast<unsigned>(code));
                    i += 5;
                } else {
                    const std::size_t len = SequenceLength(text, i + 2);
                    out += "%%";
                    out.append(text.substr(i + 2, len));
                    i += 2 + len;
                }
            } else {
                // A lone percent sign is text ("50%").
                out += '%';
                ++i;
            }
            continue;
        }
        if (c == '{' || c == '}') {
            ++i;
            continue;
        }
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 >= text.size()) break;
        const char k = text[i + 1];
        switch (k) {
            case 'P':
                out += '\n';
                i += 2;
                break;
            case '~':
                out += ' ';
                i += 2;
                break;
            case '\\':
            case '{':
            case '}':
                out += k;
                i += 2;
                break;
            case 'A':
            case 'C':
            case 'c':
            case 'F':
            case 'f':
            case 'H':
            case 'T':
            case 'p':
                i = pastSemicolon(i + 2);
                break;
            case 'Q':
            case 'W': {
                const std::size_t end = pastSemicolon(i + 2);
                const std::size_t valueEnd = end > i + 2 && text[end - 1] == ';' ? end - 1 : end;
                const double value = AtoF(text.substr(i + 2, valueEnd - (i + 2)));
                (k == 'Q' ? m_obliqueAngle : m_widthFactor) = value;
                i = end;
                break;
            }
            case 'L':
            case 'l':
            case 'O':
            case 'o':
            case 'K':
            case 'k':
                i += 2;
                break;
            case 'S': {
                // Stacked text "\Snumerator^denominator;" (also with "/" or "#") reads as a fraction.
                const std::size_t end = pastSemicolon(i + 2);
                const std::size_t valueEnd = end > i + 2 && text[end - 1] == ';' ? end - 1 : end;
                for (std::size_t j = i + 2; j < valueEnd; ++j) {
                    const char s = text[j];
                    out += (s == '^' || s == '#') ? '/' : s;
                }
                i = end;
                break;
            }
            default: {
                const std::size_t len = SequenceLength(text, i + 1);
                out.append(text.substr(i + 1, len));
                i += 1 + len;
                break;
            }
        }
    }
    return out;
}

std::string DecodeDxfCarets(std::string_view text) {
    if (text.find('^') == std::string_view::npos) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (c != '^' || next == '\0') {
            out += c;
        } else if (next == ' ') {
            out += '^';
            ++i;
        } else if (next >= '@' && next <= '_') {
            // Of the control characters only tab and line feed mean something in a text.
            if (next == 'I') out += '\t';
            if (next == 'J') out += '\n';
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}
