// The value lines of the figure tools in a drawing's [TOOLS] section.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

#include "model/shapes/dimension/SizeTextLines.h"

// The tokens of one value line, padded with empty ones to count (a missing value then reads as its
// default); false when the stream has no line left.
inline bool ReadFigureSettings(std::istream& is, std::vector<std::string>& tokens, std::size_t count) {
    if (!size_text::ReadTokenLine(is, tokens)) return false;
    if (tokens.size() < count) tokens.resize(count);
    return true;
}
