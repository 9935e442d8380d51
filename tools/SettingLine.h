// A tool's settings line in a drawing's [TOOLS] section: a TAB, numbers
// separated by single blanks, a line end. Numbers are written in their shortest exact form, so a
// line read and written again is the same line.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

void WriteSettingLine(std::ostream& os, std::initializer_list<double> values);
void WriteSettingLine(std::ostream& os, const std::vector<double>& values);

// How a line's values are told apart and read. kExact: blanks and TABs separate them (a CR at the
// line's end is no part of it), and a number reads when its whole value is one as written (an
// optional "+", then what std::from_chars takes) and finite. kStream: any white space separates
// them, and a number reads as a C++ stream reads it with nothing left over. The line, wall, fillet,
// chamfer and hatch lines have always been read by the second; the two differ only on oddities
// ("+-1", a vertical tab, a number so small it becomes 0), which each line keeps reading as before.
enum class MSettingRule { kExact, kStream };

// One settings line, taken from the stream when made (a following comment line is skipped).
class MSettingLineReader {
public:
    explicit MSettingLineReader(std::istream& is, MSettingRule rule = MSettingRule::kExact);

    // False when the stream had no line left; every value is then missing.
    bool HasLine() const { return m_hasLine; }
    std::optional<double> Number(std::size_t index) const;
    std::optional<int> Integer(std::size_t index) const;
    // The integer the value begins with ("12abc" and "12.5" read 12, "+12" reads none).
    std::optional<long long> LeadingInteger(std::size_t index) const;

private:
    MSettingRule m_rule;
    bool m_hasLine = false;
    std::vector<std::string> m_values;
};

// The first count numbers of the next line (and a following comment line is skipped): each finite
// number that fills its token, else nothing in its place.
std::vector<std::optional<double>> ReadSettingLine(std::istream& is, std::size_t count);
// A loaded radius: finite and above 0, else the fallback.
double LoadedRadius(const std::optional<double>& value, double fallback);
// A loaded angle: finite, else the fallback.
double LoadedAngle(const std::optional<double>& value, double fallback);
// A loaded whole number: the value cut to its whole part when that fits an int, else the fallback.
int LoadedInt(const std::optional<double>& value, int fallback);
