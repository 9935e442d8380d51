#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <sstream>

#include "platform/TextFile.h"

namespace {

struct Parsed {
    double value;
    bool fail;
    bool eof;
    std::string rest;
};

Parsed Parse(const std::string& text, const std::locale& locale) {
    std::istringstream in(text);
    in.imbue(locale);
    Parsed p{};
    in >> p.value;
    p.fail = in.fail();
    p.eof = in.eof();
    in.clear();
    std::getline(in, p.rest, '\0');
    return p;
}

std::string Format(double v, std::streamsize precision, std::ios_base::fmtflags flags,
                   const std::locale& locale) {
    std::ostringstream out;
    out.imbue(locale);
    out.precision(precision);
    out.flags(flags);
    out << v << '|' << 12345 << '|' << -7;
    return out.str();
}

}  // namespace

TEST(TextNumbers, ReadsAndRefusesExactlyWhatTheClassicLocaleDoes) {
    const char* inputs[] = {"0",
                            "-0",
                            "1.5",
                            "+2",
                            ".5",
                            "5.",
                            "1e5",
                            "1e",
                            "1e+",
                            "e5",
                            "-",
                            "+",
                            ".",
                            "1.2.3",
                            "1e999",
                            "-1e999",
                            "1e-999",
                            "abc",
                            "12abc",
                            "0x1A",
                            "inf",
                            "nan",
                            " 3",
                            "1,5",
                            "00012",
                            "1.5e-3x",
                            "2E+3\n",
                            "",
                            "\t-4.25 7",
                            "4.9e-324",
                            "-.e1",
                            "1e-5.5",
                            "123456789012345678901234567890",
                            "2.2250738585072014e-308",
                            "0.1000000000000000055511"};
    for (const char* text : inputs) {
        const Parsed classic = Parse(text, std::locale::classic());
        const Parsed fast = Parse(text, FastNumberLocale());
        EXPECT_EQ(fast.fail, classic.fail) << '"' << text << '"';
        EXPECT_EQ(fast.eof, classic.eof) << '"' << text << '"';
        EXPECT_EQ(fast.rest, classic.rest) << '"' << text << '"';
        EXPECT_EQ(std::memcmp(&fast.value, &classic.value, sizeof(double)), 0)
            << '"' << text << "\": " << fast.value << " vs " << classic.value;
    }
}

TEST(TextNumbers, WritesWhatTheClassicLocaleWrites) {
    std::mt19937_64 rng(7);
    std::vector<double> values = {0.0,          -0.0,
                                  0.1,          1.0 / 3.0,
                                  1e300,        -2.5e-300,
                                  123456789.0,  1e15,
                                  1e16,         std::numeric_limits<double>::denorm_min(),
                                  std::nan(""), std::numeric_limits<double>::infinity()};
    for (int i = 0; i < 2000; ++i) {
        std::uint64_t bits = rng();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        values.push_back(d);
        values.push_back(static_cast<double>(static_cast<std::int64_t>(rng() % 2000001) - 1000000) / 64.0);
    }
    for (double v : values)
        for (std::streamsize precision : {0, 1, 6, 15, 17})
            for (auto flags : {std::ios_base::fmtflags{}, std::ios_base::fixed, std::ios_base::scientific,
                               std::ios_base::showpos}) {
                const std::string classic = Format(v, precision, flags, std::locale::classic());
                const std::string fast = Format(v, precision, flags, FastNumberLocale());
                // Files ask for 15 digits; where those do not read back, the shortest text that does.
                const std::size_t bar = classic.find('|');
                double back = 0.0;
                if (precision == 15 && flags == std::ios_base::fmtflags{} && std::isfinite(v) &&
                    (!ParseDouble(classic.substr(0, bar), back) || back != v)) {
                    ASSERT_EQ(fast, FormatExact(v) + classic.substr(bar)) << v;
                    continue;
                }
                ASSERT_EQ(fast, classic) << v << " precision " << precision;
            }
}
