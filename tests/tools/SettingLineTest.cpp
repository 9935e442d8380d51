// The settings-line reader: the two rules read the oddities of a hand-edited line each as the lines
// that use it always read them, so a drawing loads and saves again as before.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>

#include "tools/SettingLine.h"

namespace {

struct Case {
    const char* line;
    std::optional<double> exact;
    std::optional<double> stream;
};

}  // namespace

TEST(SettingLine, EachRuleReadsTheOdditiesAsItsLinesAlwaysDid) {
    const Case cases[] = {
        {"\t+2.5 7\n", 2.5, 2.5},
        {"\t+-2 7\n", -2.0, std::nullopt},
        {"\t1e-400 7\n", std::nullopt, 0.0},
        {"\t1e400 7\n", std::nullopt, std::nullopt},
        {"\tnan 7\n", std::nullopt, std::nullopt},
        {"\t2\v7\n", std::nullopt, 2.0},
        {"\t2 7\r\n", 2.0, 2.0},
    };
    for (const Case& c : cases) {
        std::istringstream exact(c.line), stream(c.line);
        const MSettingLineReader e(exact), s(stream, MSettingRule::kStream);
        EXPECT_EQ(e.Number(0), c.exact) << c.line;
        EXPECT_EQ(s.Number(0), c.stream) << c.line;
        EXPECT_EQ(s.Number(1), 7.0) << c.line;
    }
}

TEST(SettingLine, IntegersAndAMissingLine) {
    std::istringstream is("\t12abc 12.5 +12 -3\n");
    const MSettingLineReader line(is);
    EXPECT_TRUE(line.HasLine());
    EXPECT_EQ(line.LeadingInteger(0), 12);
    EXPECT_EQ(line.LeadingInteger(1), 12);
    EXPECT_EQ(line.LeadingInteger(2), std::nullopt);
    EXPECT_EQ(line.Integer(1), std::nullopt);
    EXPECT_EQ(line.Integer(2), 12);
    EXPECT_EQ(line.Integer(3), -3);
    EXPECT_EQ(line.Integer(4), std::nullopt);
    const MSettingLineReader none(is, MSettingRule::kStream);
    EXPECT_FALSE(none.HasLine());
    EXPECT_EQ(none.Number(0), std::nullopt);
}
