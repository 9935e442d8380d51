#include "model/helpers/FormatNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/TextFile.h"

namespace {

// Integer digits of a non-negative whole number held in a double, exactly.
std::string WholeDigits(double v) {
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 0);
    return std::string(buf, r.ptr);
}

// floor(q + 0.5) for q >= 0, where a half written in decimal counts as a half: 1.005 / 0.01 is
// 100.49999999999999 in binary, a few units of the last place below the 100.5 the user means.
double RoundHalfUp(double q) {
    const double k = std::floor(q + 0.5);
    const double tolerance = 8 * std::numeric_limits<double>::epsilon() * std::max(1.0, q);
    return q + 0.5 - k >= 1.0 - tolerance ? k + 1 : k;
}

void InsertThousands(std::string& digits) {
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(static_cast<std::size_t>(i), 1, ',');
}

}  // namespace

std::string FormatNumber(double value, double step, BOOL thousands, BOOL keepZeros) {
    if (!std::isfinite(value)) return FormatG(value);
    step = std::fabs(step);
    if (step == 0.0 || !std::isfinite(step)) step = 0.000001;

    // The magnitude is rounded, halves away from zero, and the value's sign kept.
    const bool negative = value < 0;
    const double r = RoundHalfUp(std::fabs(value) / step) * step;  // the magnitude of the rounded value
    int decimals = static_cast<int>(std::ceil(-std::log10(step)));
    if (decimals < 0) decimals = 0;
    if (decimals > 30) decimals = 30;

    std::string whole, fraction;
    const double scale = std::pow(10.0, decimals);
    if (decimals <= 15 && r * scale < 9.0e15) {
        // Exact in 64-bit integers: round once to the shown digits, so that no digit can carry past 9.
        const auto n = static_cast<std::uint64_t>(RoundHalfUp(r * scale));
        const auto unit = static_cast<std::uint64_t>(scale);
        whole = std::to_string(n / unit);
        if (decimals > 0) {
            fraction = std::to_string(n % unit);
            fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
        }
    } else {
        // Too large for exact integers: digit by digit, half a unit of the last digit added first.
        double intPart = std::floor(r);
        double f = r - intPart + (decimals > 0 ? 0.5 / scale : 0.0);
        if (f >= 1.0) {
            intPart += 1.0;
            f -= 1.0;
        }
        whole = WholeDigits(intPart);
        for (int i = 0; i < decimals; ++i) {
            f *= 10;
            int digit = static_cast<int>(f);
            if (digit > 9) digit = 9;
            f -= digit;
            fraction += static_cast<char>('0' + digit);
        }
    }

    const bool zero = whole.find_first_not_of('0') == std::string::npos &&
                      fraction.find_first_not_of('0') == std::string::npos;
    if (!keepZeros) {
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
    }
    if (thousands) InsertThousands(whole);

    std::string text;
    if (negative && !zero) text += '-';
    text += whole;
    if (!fraction.empty()) {
        text += '.';
        text += fraction;
    }
    return text;
}
