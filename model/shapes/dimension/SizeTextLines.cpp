#include "model/shapes/dimension/SizeTextLines.h"

#include <charconv>
#include <cmath>

#include "model/helpers/TextStream.h"
#include "platform/TextFile.h"

namespace size_text {

namespace {
bool ReadLine(std::istream& is, std::string& line) {
    if (!std::getline(is, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    SkipTextComment(is);
    return true;
}
}  // namespace

bool ReadValueLine(std::istream& is, std::string& out) {
    std::string line;
    if (!ReadLine(is, line)) return false;
    out = line.empty() ? std::string() : line.substr(1);
    return true;
}

bool ReadTokenLine(std::istream& is, std::vector<std::string>& tokens) {
    std::string line;
    if (!ReadLine(is, line)) return false;
    tokens.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start) tokens.emplace_back(line, start, i - start);
    }
    return true;
}

bool ParseFiniteDouble(std::string_view token, double& out) {
    if (!token.empty() && token.front() == '+') token.remove_prefix(1);
    double v = 0;
    auto r = std::from_chars(token.data(), token.data() + token.size(), v);
    if (r.ec != std::errc() || r.ptr != token.data() + token.size() || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool ParseInt(std::string_view token, int& out) {
    if (!token.empty() && token.front() == '+') token.remove_prefix(1);
    int v = 0;
    auto r = std::from_chars(token.data(), token.data() + token.size(), v);
    if (r.ec != std::errc() || r.ptr != token.data() + token.size()) return false;
    out = v;
    return true;
}

void WriteValueLine(std::ostream& os, std::string_view value) {
    std::string line(value);
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    os << '\t' << line << '\n';
}

std::string DoubleText(double value) {
    return FormatExact(value);
}

std::string IntText(int value) {
    return std::to_string(value);
}

}  // namespace size_text
