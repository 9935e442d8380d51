// A tool's settings line in a drawing's [TOOLS] section: a TAB, numbers
// separated by single blanks, a line end. Numbers are written in their shortest exact form, so a
// line read and written again is the same line.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <vector>

void WriteSettingLine(std::ostream& os, std::initializer_list<double> values);
// The first count numbers of the next line (and a following comment line is skipped): each finite
// number that fills its token, else nothing in its place.
std::vector<std::optional<double>> ReadSettingLine(std::istream& is, std::size_t count);
// A loaded radius: finite and above 0, else the fallback.
double LoadedRadius(const std::optional<double>& value, double fallback);
// A loaded angle: finite, else the fallback.
double LoadedAngle(const std::optional<double>& value, double fallback);
