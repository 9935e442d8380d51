#include "platform/TextFile.h"

#include <locale.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <system_error>

#include "platform/Cp932.h"

std::string DecodeTextFile(std::string_view bytes) {
    // No trail byte of a two-byte character is a CR or an LF, so the line ends of the converted text
    // are those of the bytes.
    std::string text = Cp932ToUtf8(bytes);
    char* const data = text.data();
    const std::size_t size = text.size();
    char* cr = static_cast<char*>(std::memchr(data, '\r', size));
    if (!cr) return text;
    // Drops each CR before an LF, moving the text between them down in place.
    char* to = cr;
    const char* from = cr;
    const char* const end = data + size;
    while (from < end) {
        const char* next = static_cast<const char*>(std::memchr(from + 1, '\r', end - from - 1));
        if (!next) next = end;
        const bool drop = from + 1 < end && from[1] == '\n';
        const char* keep = drop ? from + 1 : from;
        std::memmove(to, keep, next - keep);
        to += next - keep;
        from = next;
    }
    text.resize(to - data);
    return text;
}

std::string EncodeTextFile(std::string_view text, std::size_t* replaced) {
    const std::size_t lines = std::count(text.begin(), text.end(), '\n');
    std::string crlf(text.size() + lines, '\0');
    char* to = crlf.data();
    unsigned char seen = 0;
    for (char c : text) {
        seen |= static_cast<unsigned char>(c);
        if (c == '\n') *to++ = '\r';
        *to++ = c;
    }
    return seen < 0x80 ? crlf : Utf8ToCp932(crlf, replaced);
}

namespace {

constexpr auto kFormatting =
    std::ios_base::floatfield | std::ios_base::showpos | std::ios_base::showpoint | std::ios_base::uppercase;

constexpr int kExactPrecision = 15;

class FastNumPut : public std::num_put<char> {
protected:
    iter_type do_put(iter_type out, std::ios_base& io, char fill, double v) const override {
        if ((io.flags() & kFormatting) || io.width() != 0)
            return std::num_put<char>::do_put(out, io, fill, v);
        char buffer[64];
        const auto precision = static_cast<int>(std::min<std::streamsize>(io.precision(), 40));
        auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, precision);
        if (r.ec != std::errc()) return std::num_put<char>::do_put(out, io, fill, v);
        // Files ask for 15 digits to get their numbers back: where 15 are not enough, the shortest
        // text that reads back exactly.
        if (precision >= kExactPrecision && std::isfinite(v)) {
            double back = 0.0;
            std::from_chars(buffer, r.ptr, back);
            if (back != v) r = std::to_chars(buffer, buffer + sizeof buffer, v);
        }
        for (const char* p = buffer; p != r.ptr; ++p)
            *out++ = *p;
        return out;
    }
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The characters of one number: on the stack unless the number is unusually long.
class NumberText {
public:
    void Add(char c) {
        if (m_size < sizeof m_small) {
            m_small[m_size++] = c;
            return;
        }
        if (m_large.empty()) m_large.assign(m_small, m_size);
        m_large += c;
        ++m_size;
    }
    const char* Data() const { return m_size <= sizeof m_small ? m_small : m_large.data(); }
    std::size_t Size() const { return m_size; }

private:
    char m_small[64];
    std::size_t m_size = 0;
    std::string m_large;
};

// Takes the characters the classic locale's reader takes for a double: a sign, digits, one decimal
// point, and an exponent after a mantissa; then converts the whole of them or fails.
class FastNumGet : public std::num_get<char> {
protected:
    iter_type do_get(iter_type in, iter_type end, std::ios_base&, std::ios_base::iostate& err,
                     double& v) const override {
        NumberText text;
        const auto take = [&] {
            text.Add(*in);
            ++in;
        };
        if (in != end && (*in == '+' || *in == '-')) take();
        bool mantissa = false;
        while (in != end && IsDigit(*in))
            take(), mantissa = true;
        if (in != end && *in == '.') {
            take();
            while (in != end && IsDigit(*in))
                take(), mantissa = true;
        }
        if (mantissa && in != end && (*in == 'e' || *in == 'E')) {
            take();
            if (in != end && (*in == '+' || *in == '-')) take();
            while (in != end && IsDigit(*in))
                take();
        }
        if (in == end) err |= std::ios_base::eofbit;

        const char* first = text.Data();
        const char* last = first + text.Size();
        if (first != last && *first == '+') ++first;  // from_chars takes no plus sign
        double value = 0.0;
        const auto r = std::from_chars(first, last, value);
        if (r.ec == std::errc() && r.ptr == last) {
            v = value;
        } else if (r.ec == std::errc::result_out_of_range && r.ptr == last) {
            // As the classic reader does: too large fails with the largest value, too small is kept.
            static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
            const std::string whole(text.Data(), text.Size());
            const double huge = strtod_l(whole.c_str(), nullptr, c);
            if (huge == std::numeric_limits<double>::infinity() ||
                huge == -std::numeric_limits<double>::infinity()) {
                v = huge > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
                err |= std::ios_base::failbit;
            } else {
                v = huge;
            }
        } else {
            v = 0.0;
            err |= std::ios_base::failbit;
        }
        return in;
    }
};

}  // namespace

const std::locale& FastNumberLocale() {
    static const std::locale locale(std::locale(std::locale::classic(), new FastNumPut), new FastNumGet);
    return locale;
}

TextInput::TextInput(std::string text) : std::istringstream(std::move(text)) {
    imbue(FastNumberLocale());
}

TextOutput::TextOutput() {
    imbue(FastNumberLocale());
}

std::string FormatG(double value, int precision) {
    char buf[64];
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general,
                           precision < 1 ? 1 : precision);
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
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
        ++i;
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
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
        ++i;
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
