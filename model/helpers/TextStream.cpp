#include "model/helpers/TextStream.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/helpers/AsciiText.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/TextReadLosses.h"
#include "platform/Cp932.h"

namespace {

constexpr int kBytesPerLine = 54;  // 72 Base64 characters
constexpr int kHexBytesPerLine = 32;
// Deflate cannot shrink data by more than about 1032:1, so a compressed block of c bytes never
// stands for more than this many times c.
constexpr std::uint64_t kMaxDeflateRatio = 1040;

// Reads the rest of the line, keeping at most max characters and discarding the rest of a longer
// one. Returns the characters taken from the stream, the line end included. Like getline, it sets
// failbit when nothing at all could be taken.
std::size_t ReadLineBounded(std::istream& is, std::string& out, std::size_t max) {
    out.clear();
    const std::istream::sentry guard(is, true);
    if (!guard) return 0;
    // The library's getline searches its buffer for the line end a block at a time, which is much
    // faster than taking characters one by one; a block that fills up ends without the line end.
    char block[4096];
    std::size_t taken = 0;
    for (;;) {
        is.getline(block, sizeof block);
        const auto got = static_cast<std::size_t>(is.gcount());
        taken += got;
        const bool full = is.fail() && !is.eof() && got == sizeof block - 1;
        const std::size_t length = full || is.eof() ? got : got - 1;  // without the line end
        if (out.size() < max) out.append(block, std::min(length, max - out.size()));
        if (!full) break;
        is.clear(is.rdstate() & ~std::ios::failbit);
    }
    return taken;
}

// A line of text as the file's own code page holds it: at most max bytes of code page 932, cut
// between two characters (and told in the file's losses). A character takes up to three bytes here
// for its one or two there.
std::size_t ReadTextBounded(std::istream& is, std::string& out, std::size_t max) {
    const std::size_t taken = ReadLineBounded(is, out, 3 * max);
    if (out.size() > max) out = Cp932Cut(out, max);
    const std::size_t line = is.eof() ? taken : taken - 1;  // without its line end
    if (line > out.size())
        if (MTextReadLosses* losses = MTextReadLosses::Current()) losses->TextCut();
    return taken;
}

// ---- Base64 ----

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

void WriteBase64Line(std::ostream& os, const BYTE* p, int count) {
    std::string line = "\t";
    for (int i = 0; i < count; i += 3) {
        const int rest = std::min(3, count - i);
        const std::uint32_t v = (p[i] << 16) | (rest > 1 ? p[i + 1] << 8 : 0) | (rest > 2 ? p[i + 2] : 0);
        line += kAlphabet[(v >> 18) & 63];
        line += kAlphabet[(v >> 12) & 63];
        line += rest > 1 ? kAlphabet[(v >> 6) & 63] : '=';
        line += rest > 2 ? kAlphabet[v & 63] : '=';
    }
    line += '\n';
    os.write(line.data(), static_cast<std::streamsize>(line.size()));
}

// Data lines of 54 bytes, the last one with what remains.
void WriteBase64Lines(std::ostream& os, const BYTE* data, std::size_t n) {
    std::size_t o = 0;
    for (; o + kBytesPerLine < n; o += kBytesPerLine)
        WriteBase64Line(os, data + o, kBytesPerLine);
    if (o < n) WriteBase64Line(os, data + o, static_cast<int>(n - o));
}

// One data line of a block: leading white space skipped, trailing white space ignored, a comment
// line after it skipped. False at the end of the stream. A Base64 block's lines are indented: a line
// that starts at its first column is the next record's and stays where it is, so that a block cut
// short costs no more than itself.
bool ReadDataLine(std::istream& is, std::string& line, bool indented = false) {
    if (indented) {
        int c = is.peek();
        while (c == '\n' || c == '\r') {
            is.get();
            c = is.peek();
        }
        if (c != ' ' && c != '\t' && c != std::char_traits<char>::eof()) {
            is.setstate(std::ios::failbit);
            return false;
        }
    }
    is >> std::ws;
    ReadLineBounded(is, line, kMaxTextLine);
    if (is.fail()) return false;
    SkipTextComment(is);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.pop_back();
    return true;
}

// Decodes one line. A padded group ends the data (sets *ended); anything after it, a character
// outside the alphabet or a length that is not a multiple of 4 is damage.
bool DecodeBase64Line(const std::string& line, std::vector<BYTE>& out, bool* ended) {
    *ended = false;
    if (line.size() % 4 != 0) return false;
    for (std::size_t i = 0; i < line.size(); i += 4) {
        if (*ended) return false;
        const char* g = line.data() + i;
        if (g[0] == '=') {  // a group of padding alone yields nothing
            if (g[1] != '=' || g[2] != '=' || g[3] != '=') return false;
            *ended = true;
            continue;
        }
        const int a = Base64Value(g[0]), b = Base64Value(g[1]);
        if (a < 0 || b < 0) return false;
        out.push_back(static_cast<BYTE>((a << 2) | (b >> 4)));
        if (g[2] == '=') {
            if (g[3] != '=') return false;
            *ended = true;
            continue;
        }
        const int c = Base64Value(g[2]);
        if (c < 0) return false;
        out.push_back(static_cast<BYTE>(((b & 15) << 4) | (c >> 2)));
        if (g[3] == '=') {
            *ended = true;
            continue;
        }
        const int d = Base64Value(g[3]);
        if (d < 0) return false;
        out.push_back(static_cast<BYTE>(((c & 3) << 6) | d));
    }
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Characters left in a seekable stream; -1 when the stream cannot tell.
std::int64_t RemainingChars(std::istream& is) {
    const std::streampos here = is.tellg();
    if (here == std::streampos(-1)) {
        is.clear(is.rdstate() & ~std::ios::failbit);
        return -1;
    }
    is.seekg(0, std::ios::end);
    const std::streampos end = is.tellg();
    is.seekg(here);
    if (end == std::streampos(-1) || !is) {
        is.clear();
        is.seekg(here);
        return -1;
    }
    return static_cast<std::int64_t>(end - here);
}

bool Fail(std::istream& is, std::ios::iostate state = std::ios::failbit) {
    is.setstate(state);
    return false;
}

// The readers of the three forms, each into the n bytes at out.

bool ReadHexBlock(std::istream& is, BYTE* out, int n) {
    std::string line;
    for (int done = 0; done < n;) {
        const int want = std::min(kHexBytesPerLine, n - done);
        if (!ReadDataLine(is, line) || line.size() < static_cast<std::size_t>(want) * 2) return Fail(is);
        for (int i = 0; i < want; ++i) {
            const int hi = HexValue(line[2 * i]), lo = HexValue(line[2 * i + 1]);
            if (hi < 0 || lo < 0) return Fail(is);
            out[done + i] = static_cast<BYTE>((hi << 4) | lo);
        }
        done += want;
    }
    return true;
}

bool ReadPlainBlock(std::istream& is, BYTE* out, int n) {
    std::string line;
    std::vector<BYTE> bytes;
    std::size_t done = 0;
    const std::size_t total = static_cast<std::size_t>(n);
    while (done < total) {
        bytes.clear();
        bool ended = false;
        if (!ReadDataLine(is, line, true) || !DecodeBase64Line(line, bytes, &ended)) return Fail(is);
        const std::size_t take = std::min(bytes.size(), total - done);
        std::memcpy(out + done, bytes.data(), take);
        done += take;
        if (ended && done < total) return Fail(is);  // the data ended early
    }
    return true;
}

bool ReadCompressedBlock(std::istream& is, BYTE* out, int n) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return Fail(is, std::ios::badbit);
    z.next_out = out;
    z.avail_out = static_cast<uInt>(n);

    std::string line;
    std::vector<BYTE> input;
    BYTE overflow = 0;
    bool full = false;
    int result = Z_OK;
    for (;;) {
        if (z.avail_in == 0) {
            input.clear();
            bool ended = false;
            if (!ReadDataLine(is, line, true) || !DecodeBase64Line(line, input, &ended) || input.empty()) {
                inflateEnd(&z);
                return Fail(is);
            }
            z.next_in = input.data();
            z.avail_in = static_cast<uInt>(input.size());
        }
        if (z.avail_out == 0) {
            // The n bytes are complete but the stream has not ended: keep inflating so that the
            // trailer's lines are consumed too, into a byte that must stay unused.
            if (full) break;
            full = true;
            z.next_out = &overflow;
            z.avail_out = 1;
        }
        result = inflate(&z, Z_NO_FLUSH);
        if (result == Z_STREAM_END) break;
        if (result == Z_BUF_ERROR && z.avail_in == 0) continue;  // needs the next line
        if (result != Z_OK) break;
        if (full && z.avail_out == 0) break;  // more output than the header announced
    }
    const bool complete = result == Z_STREAM_END && z.total_out == static_cast<uLong>(n);
    const bool ended = inflateEnd(&z) == Z_OK;
    if (result != Z_STREAM_END && result != Z_OK && result != Z_BUF_ERROR) return Fail(is, std::ios::badbit);
    if (!ended) return Fail(is, std::ios::badbit);
    if (!complete) return Fail(is);
    return true;
}

enum class BlockForm { kHex, kPlain, kCompressed };

// The header line: the count (0 when none or not positive, the stream still good) and the form. A
// count above max, or above what the rest of the stream could hold, fails the stream.
long long ReadBlockHeader(std::istream& is, BlockForm& form, long long max) {
    long long count = 0;
    if (!(is >> count)) return 0;
    std::string header;
    ReadLineBounded(is, header, kMaxTextLine);
    SkipTextComment(is);
    if (count <= 0) return 0;
    if (count > max) {
        Fail(is);
        return 0;
    }

    std::vector<std::string> words;
    for (std::size_t i = 0; i < header.size();) {
        const std::size_t start = header.find_first_not_of(" \t\n\r", i);
        if (start == std::string::npos) break;
        const std::size_t end = header.find_first_of(" \t\n\r", start);
        words.push_back(header.substr(start, end == std::string::npos ? std::string::npos : end - start));
        i = end == std::string::npos ? header.size() : end;
    }

    form = BlockForm::kHex;
    if (!words.empty()) {
        if (AsciiUpper(words[0]) != "BASE64") {
            Fail(is);
            return 0;
        }
        form =
            words.size() > 1 && std::atoi(words[1].c_str()) != 0 ? BlockForm::kCompressed : BlockForm::kPlain;
    }

    // Refuse counts the rest of the stream cannot hold before allocating for them.
    const std::int64_t remaining = RemainingChars(is);
    if (remaining >= 0) {
        const std::uint64_t base64Bytes = static_cast<std::uint64_t>(remaining) / 4 * 3 + 3;
        const std::uint64_t limit = form == BlockForm::kHex ? static_cast<std::uint64_t>(remaining) / 2 + 1
                                    : form == BlockForm::kPlain ? base64Bytes
                                                                : base64Bytes * kMaxDeflateRatio + 64;
        if (static_cast<std::uint64_t>(count) > limit) {
            Fail(is);
            return 0;
        }
    }
    return count;
}

bool ReadBlockData(std::istream& is, BlockForm form, BYTE* out, int n) {
    switch (form) {
        case BlockForm::kHex:
            return ReadHexBlock(is, out, n);
        case BlockForm::kPlain:
            return ReadPlainBlock(is, out, n);
        default:
            return ReadCompressedBlock(is, out, n);
    }
}

}  // namespace

bool BinaryBlockCompressionEnabled() {
    return GetOptionRecord().m_saveCompress != 0;
}
void SetBinaryBlockCompression(bool enabled) {
    GetOptionRecord().m_saveCompress = enabled ? 1 : 0;
}

int SkipTextComment(std::istream& is) {
    // Peeking at a stream that has already met its end would turn the end into a failure.
    if (!is.good()) return std::char_traits<char>::eof();
    int c = is.peek();
    if (c == '#') {
        std::string discard;
        ReadLineBounded(is, discard, 0);
        c = is.good() ? is.peek() : std::char_traits<char>::eof();
    }
    return c;
}

int ReadTextLine(std::istream& is, char* buffer, int size) {
    std::string line;
    const std::size_t taken = ReadLineBounded(is, line, size > 0 ? static_cast<std::size_t>(size - 1) : 0);
    if (size > 0) {
        std::memcpy(buffer, line.data(), line.size());
        buffer[line.size()] = '\0';
    }
    SkipTextComment(is);
    return static_cast<int>(taken);
}

std::string ReadTextLine(std::istream& is) {
    std::string line;
    ReadTextBounded(is, line, kMaxTextLine - 1);
    line.resize(std::min(line.size(), line.find('\0')));
    SkipTextComment(is);
    return line;
}

void ReadTextString(std::istream& is, std::string& out, BOOL skipSeparator) {
    if (skipSeparator) is.get();
    ReadTextBounded(is, out, kMaxTextLine);
    SkipTextComment(is);
}

void SkipTextLine(std::istream& is) {
    std::string discard;
    ReadLineBounded(is, discard, 0);
    SkipTextComment(is);
}

void WriteTextLines(std::ostream& os, const std::string& text) {
    if (text.empty()) {
        os << "\t0\n";
        return;
    }
    os << '\t' << std::count(text.begin(), text.end(), '\n') + 1 << '\n';
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        os << '\t';
        os.write(text.data() + start,
                 static_cast<std::streamsize>((end == std::string::npos ? text.size() : end) - start));
        os << '\n';
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

void ReadTextLines(std::istream& is, std::string& out) {
    out.clear();
    int count = 0;
    is >> count;
    SkipTextLine(is);
    if (!is || count <= 0) return;
    std::string line;
    for (int i = 0; i < count; ++i) {
        is.get();  // the TAB
        ReadTextBounded(is, line, kMaxTextLine);
        if (is.fail()) return;
        SkipTextComment(is);
        if (i > 0) out += '\n';
        out += line;
    }
}

void WriteBinaryBlock(std::ostream& os, const BYTE* data, int n, BOOL compress) {
    if (n < 0 || (n > 0 && !data)) {
        os.setstate(std::ios::badbit);
        return;
    }
    const bool deflated = compress && BinaryBlockCompressionEnabled();
    std::vector<BYTE> packed;
    if (deflated && n > 0) {
        // Compressed in full before anything is written, so a zlib failure leaves no partial block.
        z_stream z{};
        if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK) {
            os.setstate(std::ios::badbit);
            return;
        }
        z.next_in = const_cast<BYTE*>(data);
        z.avail_in = static_cast<uInt>(n);
        BYTE chunk[32 * kBytesPerLine];
        int result = Z_OK;
        do {
            z.next_out = chunk;
            z.avail_out = sizeof chunk;
            result = deflate(&z, Z_FINISH);
            if (result != Z_OK && result != Z_STREAM_END) break;
            packed.insert(packed.end(), chunk, chunk + (sizeof chunk - z.avail_out));
        } while (result != Z_STREAM_END);
        if (deflateEnd(&z) != Z_OK || result != Z_STREAM_END) {
            os.setstate(std::ios::badbit);
            return;
        }
    }
    os << '\t' << n << " BASE64 " << (deflated ? 1 : 0) << '\n';
    if (n == 0) return;
    if (deflated)
        WriteBase64Lines(os, packed.data(), packed.size());
    else
        WriteBase64Lines(os, data, static_cast<std::size_t>(n));
}

std::unique_ptr<BYTE[]> ReadBinaryBlock(std::istream& is, int& n) {
    n = 0;
    BlockForm form = BlockForm::kHex;
    const long long count = ReadBlockHeader(is, form, kMaxBinaryBlock);
    if (count <= 0) return nullptr;
    auto buffer = std::make_unique<BYTE[]>(static_cast<std::size_t>(count));
    if (!ReadBlockData(is, form, buffer.get(), static_cast<int>(count))) return nullptr;
    n = static_cast<int>(count);
    return buffer;
}

std::vector<BYTE> ReadBinaryBlockBytes(std::istream& is, std::size_t max) {
    BlockForm form = BlockForm::kHex;
    const long long count =
        ReadBlockHeader(is, form, static_cast<long long>(std::min<std::size_t>(max, kMaxBinaryBlock)));
    if (count <= 0) return {};
    std::vector<BYTE> bytes(static_cast<std::size_t>(count));
    if (!ReadBlockData(is, form, bytes.data(), static_cast<int>(count))) return {};
    return bytes;
}

void SkipIndentedLines(std::istream& is) {
    while (is.good()) {
        const int c = is.peek();
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return;
        SkipTextLine(is);
    }
}
