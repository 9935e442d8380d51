#include <gtest/gtest.h>

#include <limits>

#include "model/helpers/FormatNumber.h"

namespace {

TEST(FormatNumber, ExamplesOfTheDimensionFormats) {
    EXPECT_EQ(FormatNumber(1234567.89, 0.1, TRUE, FALSE), "1,234,567.9");
    EXPECT_EQ(FormatNumber(1234567.89, 0.1, FALSE, FALSE), "1234567.9");
    EXPECT_EQ(FormatNumber(2, 0.01, FALSE, FALSE), "2");
    EXPECT_EQ(FormatNumber(2, 0.01, FALSE, TRUE), "2.00");
    EXPECT_EQ(FormatNumber(1234.5, 1, TRUE, TRUE), "1,235");  // no decimal point for steps of 1 or more
    EXPECT_EQ(FormatNumber(1234, 10, FALSE, TRUE), "1230");
    EXPECT_EQ(FormatNumber(-2.4, 1, FALSE, FALSE), "-2");
    EXPECT_EQ(FormatNumber(0.04, 0.1, FALSE, FALSE), "0");
    EXPECT_EQ(FormatNumber(-0.04, 0.1, FALSE, TRUE), "0.0");  // a zero result has no sign
    EXPECT_EQ(FormatNumber(12.30, 0.01, FALSE, FALSE), "12.3");
    EXPECT_EQ(FormatNumber(-1234.56, 0.01, TRUE, TRUE), "-1,234.56");
    EXPECT_EQ(FormatNumber(999, 1, TRUE, FALSE), "999");
    EXPECT_EQ(FormatNumber(1000, 1, TRUE, FALSE), "1,000");
    EXPECT_EQ(FormatNumber(0.5, 1, TRUE, FALSE), "1");
}

// The magnitude is rounded and the sign kept, so a half rounds away from zero on either side.
TEST(FormatNumber, HalvesRoundTheMagnitudeUpAndKeepTheSign) {
    const struct {
        double value, step;
        const char* text;  // with keepZeros
    } kCases[] = {
        {2.5, 1, "3"},
        {-2.5, 1, "-3"},
        {0.25, 0.5, "0.5"},
        {1.25, 0.1, "1.3"},
        {-1.25, 0.1, "-1.3"},
        {-0.5, 1, "-1"},  // a half of a step is not rounded to zero
        {-0.51, 1, "-1"},
        {-0.49, 1, "0"},       // rounded to zero: no sign
        {0.125, 0.25, "0.3"},  // one decimal for a step of 0.25
        // A half written in decimal is a half on both sides of zero, whatever its binary value.
        {1.015, 0.01, "1.02"},
        {-1.015, 0.01, "-1.02"},
        {-1.235, 0.01, "-1.24"},  // 123.50000000000001 steps
        {-0.035, 0.01, "-0.04"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(FormatNumber(c.value, c.step, FALSE, TRUE), c.text) << c.value << " in steps of " << c.step;
}

TEST(FormatNumber, StepsThatAreNotPowersOfTen) {
    EXPECT_EQ(FormatNumber(0.9, 0.3, FALSE, TRUE), "0.9");
    EXPECT_EQ(FormatNumber(1.0, 0.3, FALSE, TRUE), "0.9");
    EXPECT_EQ(FormatNumber(7, 5, FALSE, TRUE), "5");
    EXPECT_EQ(FormatNumber(8, 5, FALSE, TRUE), "10");
}

TEST(FormatNumber, ZeroStepCountsAsAMillionth) {
    EXPECT_EQ(FormatNumber(1.23456789, 0, FALSE, TRUE), "1.234568");
    EXPECT_EQ(FormatNumber(1.5, 0, FALSE, FALSE), "1.5");
}

TEST(FormatNumber, NoDigitCarriesPastNine) {
    // Values just below a whole number must not produce a digit above 9.
    EXPECT_EQ(FormatNumber(2.96, 0.1, FALSE, TRUE), "3.0");
    EXPECT_EQ(FormatNumber(0.99999999, 0.01, FALSE, TRUE), "1.00");
    for (int i = 0; i < 1000; ++i) {
        const std::string s = FormatNumber(i * 0.1, 0.1, FALSE, TRUE);
        EXPECT_EQ(s.find_first_not_of("0123456789.-"), std::string::npos) << s;
        EXPECT_EQ(s, std::to_string(i / 10) + "." + std::to_string(i % 10));
    }
}

TEST(FormatNumber, LargeAndOddValues) {
    EXPECT_EQ(FormatNumber(1e20, 1, TRUE, FALSE), "100,000,000,000,000,000,000");
    EXPECT_EQ(FormatNumber(1e17, 0.5, FALSE, FALSE), "100000000000000000");
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity(), 0.1, FALSE, FALSE), "inf");
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::quiet_NaN(), 0.1, FALSE, FALSE), "nan");
}

}  // namespace
