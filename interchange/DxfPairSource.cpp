#include "interchange/DxfPairSource.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/File.h"

namespace {

const char* FindLineEnd(const char* p, const char* end) {
    if (p >= end) return nullptr;
    return static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
}

// The line from p to its end (the '\n' or the end of the bytes), without a '\r' before the '\n'.
std::string_view Line(const char* p, const char* lineEnd) {
    std::size_t length = static_cast<std::size_t>(lineEnd - p);
    if (length > 0 && p[length - 1] == '\r') --length;
    return std::string_view(p, length);
}

}  // namespace

MDXFPairSource::MDXFPairSource(std::string_view bytes) : m_data(bytes.data()), m_size(bytes.size()) {}

MDXFPairSource::MDXFPairSource(CFile& file, std::size_t pieceSize)
    : m_file(&file), m_buffer(std::max<std::size_t>(pieceSize, 1)), m_atEnd(false) {
    m_data = m_buffer.data();
    Refill();
}

bool MDXFPairSource::Refill() {
    if (m_atEnd) return false;
    const std::size_t unread = m_size - m_pos;
    if (m_pos > 0) std::memmove(m_buffer.data(), m_buffer.data() + m_pos, unread);
    m_pos = 0;
    m_size = unread;
    // A pair longer than the buffer makes it grow.
    if (m_size == m_buffer.size()) m_buffer.resize(m_buffer.size() * 2);
    m_data = m_buffer.data();
    while (m_size < m_buffer.size()) {
        const std::size_t want = std::min<std::size_t>(m_buffer.size() - m_size, INT_MAX);
        const UINT n = m_file->Read(m_buffer.data() + m_size, static_cast<UINT>(want));
        if (n == 0) {
            m_atEnd = true;
            break;
        }
        m_size += n;
    }
    return true;
}

std::string_view MDXFPairSource::Peek(std::size_t size) {
    while (m_size - m_pos < size && Refill()) {
    }
    return std::string_view(m_data + m_pos, m_size - m_pos).substr(0, size);
}

bool MDXFPairSource::StartsWith(std::string_view prefix) {
    return Peek(prefix.size()) == prefix;
}

bool MDXFPairSource::Skip(std::string_view prefix) {
    if (!StartsWith(prefix)) return false;
    m_pos += prefix.size();
    return true;
}

int MDXFPairSource::NextPair(std::string_view& code, std::string_view& value) {
    const char* first = nullptr;
    const char* second = nullptr;
    for (;;) {
        const char* const end = m_data + m_size;
        first = FindLineEnd(m_data + m_pos, end);
        second = first ? FindLineEnd(first + 1, end) : nullptr;
        // Without two line ends in this much, one of the lines is too long.
        if (second || m_size - m_pos > 2 * (kMaxLine + 1) || !Refill()) break;
    }
    const char* const end = m_data + m_size;
    const char* p = m_data + m_pos;
    if (p >= end) return 0;
    const auto tooLong = [end](const char* line, const char* lineEnd) {
        return static_cast<std::size_t>((lineEnd ? lineEnd : end) - line) > kMaxLine;
    };
    if (tooLong(p, first) || (first && first + 1 < end && tooLong(first + 1, second))) {
        // Nothing after such a line is read, nor held.
        m_longLine = true;
        m_atEnd = true;
        m_pos = m_size;
        return 0;
    }
    code = Line(p, first ? first : end);
    p = first ? first + 1 : end;
    if (p >= end) {
        m_pos = m_size;
        return 1;
    }
    m_valuePos = static_cast<std::size_t>(p - m_data);
    value = Line(p, second ? second : end);
    p = second ? second + 1 : end;
    m_pos = static_cast<std::size_t>(p - m_data);
    return 2;
}
