#include "tools/SettingLine.h"

#include <istream>
#include <ostream>
#include <string>

#include "model/shapes/dimension/SizeTextLines.h"

void WriteSettingLine(std::ostream& os, std::initializer_list<double> values) {
    std::string line;
    const char* separator = "\t";
    for (double value : values) {
        line += separator;
        line += size_text::DoubleText(value);
        separator = " ";
    }
    os << line << '\n';
}

std::vector<std::optional<double>> ReadSettingLine(std::istream& is, std::size_t count) {
    std::vector<std::optional<double>> values(count);
    std::vector<std::string> tokens;
    if (!size_text::ReadTokenLine(is, tokens)) return values;
    for (std::size_t i = 0; i < count && i < tokens.size(); ++i) {
        double value = 0.0;
        if (size_text::ParseFiniteDouble(tokens[i], value)) values[i] = value;
    }
    return values;
}

double LoadedRadius(const std::optional<double>& value, double fallback) {
    // A radius that cannot be drawn would make every shape of the fixed radius vanish at its commit.
    return value && *value > 0.0 ? *value : fallback;
}

double LoadedAngle(const std::optional<double>& value, double fallback) {
    return value ? *value : fallback;
}
