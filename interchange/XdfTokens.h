// The values of an XDF line: tokens separated by blanks, tabs and line ends, read one after the
// other.
#pragma once

#include <cmath>
#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/TextFile.h"

namespace xdf {

inline std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (i < line.size()) {
        while (i < line.size() && blank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !blank(line[i]))
            ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

// Successive values of one record; any value that is missing or no finite number fails it.
class Values {
public:
    static constexpr int kLayers = 100;

    explicit Values(const std::vector<std::string_view>& tokens, std::size_t first = 0)
        : m_tokens(tokens), m_next(first) {}
    bool Number(double& out) {
        if (m_next >= m_tokens.size()) return false;
        double v = 0;
        if (!ParseDouble(m_tokens[m_next], v) || !std::isfinite(v)) return false;
        ++m_next;
        out = v;
        return true;
    }
    bool Integer(int& out) {
        double v = 0;
        if (!Number(v) || std::fabs(v) > 2147483647.0) return false;
        out = static_cast<int>(v);
        return true;
    }
    // A layer number 0..99; any other number fails the record, as there is no such layer.
    bool Layer(int& out) { return Integer(out) && out >= 0 && out < kLayers; }

private:
    const std::vector<std::string_view>& m_tokens;
    std::size_t m_next;
};

}  // namespace xdf
