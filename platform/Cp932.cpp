#include "platform/Cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace {

// iconv descriptors are costly to open; keep one per direction and thread.
class Converter {
public:
    Converter(const char* from, const char* to) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (Valid()) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts input into out (replacing it); on an invalid or unconvertible sequence calls
    // onBad(input, out) which must consume at least one byte of input and may append a replacement.
    template <class OnBad>
    void Run(std::string_view input, std::string& out, OnBad onBad) {
        out.clear();
        out.reserve(input.size() * 2 + 8);
        Append(input, out, onBad);
    }

    // As Run, appending to out.
    template <class OnBad>
    void Append(std::string_view input, std::string& out, OnBad onBad) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char buffer[4096];
        while (inLeft > 0) {
            char* o = buffer;
            std::size_t oLeft = sizeof buffer;
            const std::size_t rc = iconv(m_cd, &in, &inLeft, &o, &oLeft);
            out.append(buffer, o - buffer);
            if (rc != static_cast<std::size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL (truncated sequence at the end)
            const std::size_t used = onBad(std::string_view(in, inLeft), out);
            in += used;
            inLeft -= used;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        char* o = buffer;
        std::size_t oLeft = sizeof buffer;
        iconv(m_cd, nullptr, nullptr, &o, &oLeft);
        out.append(buffer, o - buffer);
    }

private:
    iconv_t m_cd;
};

Converter& GetConverter(const char* from, const char* to) {
    thread_local std::map<std::pair<std::string, std::string>, std::unique_ptr<Converter>> cache;
    auto& slot = cache[{from, to}];
    if (!slot) slot = std::make_unique<Converter>(from, to);
    return *slot;
}

std::size_t SkipOneByteWithReplacement(std::string_view, std::string& out) {
    out += "\xEF\xBF\xBD";
    return 1;
}

// The bytes of the UTF-8 sequence at the start of rest that failed to convert: its lead byte and
// the continuation bytes that belong to it, so that a broken sequence never takes the next
// character (a line end, say) with it.
std::size_t BadUtf8SequenceLength(std::string_view rest) {
    const std::size_t length = std::min(rest.size(), Utf8SequenceLength(static_cast<unsigned char>(rest[0])));
    std::size_t used = 1;
    while (used < length && (static_cast<unsigned char>(rest[used]) & 0xC0) == 0x80)
        ++used;
    return used;
}

std::size_t SkipUtf8SequenceWithQuestionMark(std::string_view rest, std::string& out) {
    out += '?';
    return BadUtf8SequenceLength(rest);
}

std::size_t AsciiRunLength(std::string_view s, std::size_t from) {
    std::size_t i = from;
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80)
        ++i;
    return i - from;
}

// Text files are mostly ASCII, which both encodings share: only the runs of other bytes go through
// iconv, so a few Japanese names do not make every byte of a file pay for it.
// runEnd(s, i) gives the end of the non-ASCII run starting at i.
template <class RunEnd, class OnBad>
std::string ConvertNonAsciiRuns(std::string_view input, Converter& converter, RunEnd runEnd, OnBad onBad) {
    std::string out;
    out.reserve(input.size() + input.size() / 2 + 8);
    std::size_t i = 0;
    while (i < input.size()) {
        const std::size_t ascii = AsciiRunLength(input, i);
        out.append(input.data() + i, ascii);
        i += ascii;
        if (i == input.size()) break;
        const std::size_t end = runEnd(input, i);
        converter.Append(input.substr(i, end - i), out, onBad);
        i = end;
    }
    return out;
}

}  // namespace

bool IsAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

std::string Cp932ToUtf8(std::string_view cp932) {
    if (IsAscii(cp932)) return std::string(cp932);
    thread_local Converter& converter = GetConverter("CP932", "UTF-8");
    // A two-byte character's trail byte may be ASCII (0x40 to 0x7E): it stays with its lead byte.
    const auto runEnd = [](std::string_view s, std::size_t i) {
        while (i < s.size() && static_cast<unsigned char>(s[i]) >= 0x80)
            i += IsCp932LeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
        return i;
    };
    return ConvertNonAsciiRuns(cp932, converter, runEnd, SkipOneByteWithReplacement);
}

std::string Utf8ToCp932(std::string_view utf8, std::size_t* replaced) {
    if (IsAscii(utf8)) return std::string(utf8);
    thread_local Converter& converter = GetConverter("UTF-8", "CP932");
    // Every byte of a multi-byte UTF-8 sequence is 0x80 or above.
    const auto runEnd = [](std::string_view s, std::size_t i) {
        while (i < s.size() && static_cast<unsigned char>(s[i]) >= 0x80)
            ++i;
        return i;
    };
    if (!replaced) return ConvertNonAsciiRuns(utf8, converter, runEnd, SkipUtf8SequenceWithQuestionMark);
    return ConvertNonAsciiRuns(utf8, converter, runEnd, [replaced](std::string_view rest, std::string& out) {
        ++*replaced;
        return SkipUtf8SequenceWithQuestionMark(rest, out);
    });
}

std::string Utf16LeToUtf8(std::string_view utf16le) {
    std::string out;
    GetConverter("UTF-16LE", "UTF-8").Run(utf16le, out, [](std::string_view rest, std::string& o) {
        o += "\xEF\xBF\xBD";
        return std::min<std::size_t>(rest.size(), 2);
    });
    return out;
}

std::string Utf8ToUtf16Le(std::string_view utf8) {
    std::string out;
    GetConverter("UTF-8", "UTF-16LE").Run(utf8, out, [](std::string_view rest, std::string& o) {
        o += std::string("\xFD\xFF", 2);
        return BadUtf8SequenceLength(rest);
    });
    return out;
}

bool ConvertEncoding(std::string_view input, const char* from, const char* to, std::string& out) {
    Converter& c = GetConverter(from, to);
    if (!c.Valid()) {
        out.assign(input);
        return false;
    }
    c.Run(input, out, [](std::string_view, std::string& o) {
        o += '?';
        return std::size_t{1};
    });
    return true;
}

std::size_t Cp932Length(std::string_view utf8) {
    if (IsAscii(utf8)) return utf8.size();
    return Utf8ToCp932(utf8).size();
}

std::string Cp932Cut(std::string_view utf8, std::size_t maxBytes) {
    std::size_t bytes = 0, pos = 0;
    while (pos < utf8.size()) {
        const std::size_t len =
            std::min(utf8.size() - pos, Utf8SequenceLength(static_cast<unsigned char>(utf8[pos])));
        const std::size_t w = len == 1 ? 1 : Utf8ToCp932(utf8.substr(pos, len)).size();
        if (bytes + w > maxBytes) break;
        bytes += w;
        pos += len;
    }
    return std::string(utf8.substr(0, pos));
}
