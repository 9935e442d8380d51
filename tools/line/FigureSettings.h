// The value lines of the figure tools in a drawing's [TOOLS] section.
#pragma once

#include <initializer_list>
#include <istream>
#include <locale>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "model/shapes/dimension/SizeTextLines.h"

// A TAB, the values separated by single spaces in six significant digits (C locale), a line end.
inline void WriteFigureSettings(std::ostream& os, std::initializer_list<double> values) {
    std::ostringstream line;
    line.imbue(std::locale::classic());
    line << '\t';
    const char* separator = "";
    for (double value : values) {
        line << separator << value;
        separator = " ";
    }
    line << '\n';
    os << line.str();
}

// The tokens of one value line, padded with empty ones to count (a missing value then reads as its
// default); false when the stream has no line left.
inline bool ReadFigureSettings(std::istream& is, std::vector<std::string>& tokens, std::size_t count) {
    if (!size_text::ReadTokenLine(is, tokens)) return false;
    if (tokens.size() < count) tokens.resize(count);
    return true;
}
