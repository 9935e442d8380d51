#include "tools/SettingLine.h"

#include <charconv>
#include <istream>
#include <locale>
#include <ostream>
#include <sstream>
#include <string>

#include "model/helpers/TextStream.h"
#include "model/shapes/dimension/SizeTextLines.h"

namespace {

// A stream's reading of the whole value; none when it fails or leaves something over. A number
// the stream cannot hold fails there, so what reads is finite.
template <class T>
std::optional<T> StreamValue(const std::string& text) {
    std::istringstream number(text);
    number.imbue(std::locale::classic());
    T value{};
    if (number >> value && number.eof()) return value;
    return std::nullopt;
}

}  // namespace

void WriteSettingLine(std::ostream& os, std::initializer_list<double> values) {
    WriteSettingLine(os, std::vector<double>(values));
}

void WriteSettingLine(std::ostream& os, const std::vector<double>& values) {
    std::string line;
    const char* separator = "\t";
    for (double value : values) {
        line += separator;
        line += size_text::DoubleText(value);
        separator = " ";
    }
    os << line << '\n';
}

MSettingLineReader::MSettingLineReader(std::istream& is, MSettingRule rule) : m_rule(rule) {
    if (rule == MSettingRule::kExact) {
        m_hasLine = size_text::ReadTokenLine(is, m_values);
        return;
    }
    std::string line;
    m_hasLine = static_cast<bool>(std::getline(is, line));
    if (!m_hasLine) return;
    SkipTextComment(is);
    std::istringstream words(line);
    words.imbue(std::locale::classic());
    for (std::string word; words >> word;)
        m_values.push_back(word);
}

std::optional<double> MSettingLineReader::Number(std::size_t index) const {
    if (index >= m_values.size()) return std::nullopt;
    if (m_rule == MSettingRule::kStream) return StreamValue<double>(m_values[index]);
    double value = 0.0;
    if (!size_text::ParseFiniteDouble(m_values[index], value)) return std::nullopt;
    return value;
}

std::optional<int> MSettingLineReader::Integer(std::size_t index) const {
    if (index >= m_values.size()) return std::nullopt;
    if (m_rule == MSettingRule::kStream) return StreamValue<int>(m_values[index]);
    int value = 0;
    if (!size_text::ParseInt(m_values[index], value)) return std::nullopt;
    return value;
}

std::optional<long long> MSettingLineReader::LeadingInteger(std::size_t index) const {
    if (index >= m_values.size()) return std::nullopt;
    const std::string& text = m_values[index];
    long long value = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc()) return std::nullopt;
    return value;
}

std::vector<std::optional<double>> ReadSettingLine(std::istream& is, std::size_t count) {
    const MSettingLineReader line(is);
    std::vector<std::optional<double>> values(count);
    for (std::size_t i = 0; i < count; ++i)
        values[i] = line.Number(i);
    return values;
}

double LoadedRadius(const std::optional<double>& value, double fallback) {
    // A radius that cannot be drawn would make every shape of the fixed radius vanish at its commit.
    return value && *value > 0.0 ? *value : fallback;
}

double LoadedAngle(const std::optional<double>& value, double fallback) {
    return value ? *value : fallback;
}

int LoadedInt(const std::optional<double>& value, int fallback) {
    // Converting a number beyond int is undefined.
    return value && *value > -2147483649.0 && *value < 2147483648.0 ? static_cast<int>(*value) : fallback;
}
