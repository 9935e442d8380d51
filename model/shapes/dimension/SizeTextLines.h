// Line readers shared by the "SIZE" block and the dimension style's text form: value lines that
// start with a separator character, and lines of blank-separated numbers. Numbers are parsed in the
// C locale and must fill their whole token.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace size_text {

// The rest of the line after its first character (the TAB), then a following "#" comment line is
// skipped. False when the stream has no line left.
bool ReadValueLine(std::istream& is, std::string& out);
// The blank-separated tokens of one line, then a following comment line is skipped.
bool ReadTokenLine(std::istream& is, std::vector<std::string>& tokens);
bool ParseFiniteDouble(std::string_view token, double& out);
bool ParseInt(std::string_view token, int& out);

// TAB, the value with line breaks turned into blanks (a break would split the record), "\n".
void WriteValueLine(std::ostream& os, std::string_view value);
// Shortest exact text of a double and plain decimal text of an int, whatever the stream's locale.
std::string DoubleText(double value);
std::string IntText(int value);

}  // namespace size_text
