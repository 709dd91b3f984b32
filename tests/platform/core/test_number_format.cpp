#include <gtest/gtest.h>

#include <iomanip>
#include <limits>
#include <sstream>

#include "platform/core/NumberFormat.h"

namespace {

using platform::FormatFixed;

struct FormatCase {
    long double value;
    int precision;
    int decimals;
    char separator;
    const char* text;
};
// The value and the text, and the decimals where they are not the usual one.
void PrintTo(const FormatCase& c, std::ostream* os) {
    std::ostringstream value;
    value << std::setprecision(10) << c.value;
    *os << value.str() << " as \"" << c.text << '"';
    if (c.decimals != 1) *os << " with " << c.decimals << " decimals";
}

class FixedText : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FixedText, Writes) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatFixed(c.value, c.precision, c.decimals, c.separator), c.text)
        << "value " << static_cast<double>(c.value);
}

// The boards and labels: six or five significant digits, one decimal.
INSTANTIATE_TEST_SUITE_P(
    BoardAndLabelTexts, FixedText,
    ::testing::Values(
        FormatCase{0.0L, 6, 1, '.', "0.0"}, FormatCase{12345.6L, 6, 1, '.', "12345.6"},
        FormatCase{-5.0L, 6, 1, '.', "-5.0"}, FormatCase{123456.7L, 6, 1, '.', "123457.0"},
        FormatCase{1234567.8L, 6, 1, '.', "1.23457E6"}, FormatCase{4499.97, 6, 1, '.', "4500.0"},
        FormatCase{12345.6L, 6, 1, ',', "12345,6"}, FormatCase{1234567.8L, 6, 1, ',', "1,23457E6"},
        FormatCase{100.0L, 5, 1, '.', "100.0"}, FormatCase{12345.67L, 5, 1, '.', "12346.0"},
        FormatCase{123456.0L, 5, 1, '.', "1.2346E5"}, FormatCase{99999.96L, 5, 1, '.', "1E5"},
        FormatCase{1200000.0L, 6, 1, '.', "1.2E6"},
        FormatCase{-1234567.8L, 6, 1, '.', "-1.23457E6"}, FormatCase{12.5L, 6, 0, '.', "13"}));

// Digits come from the exact binary value; only an exact tie rounds away from zero.
INSTANTIATE_TEST_SUITE_P(
    Rounding, FixedText,
    ::testing::Values(FormatCase{0.25L, 5, 1, '.', "0.3"}, FormatCase{-0.25L, 5, 1, '.', "-0.3"},
                      FormatCase{2.5L, 5, 0, '.', "3"}, FormatCase{0.125L, 5, 2, '.', "0.13"},
                      FormatCase{0.35, 5, 1, '.', "0.3"},    // 0.34999999999999997...
                      FormatCase{2.675, 6, 2, '.', "2.67"},  // 2.67499999999999982...
                      FormatCase{0.45, 6, 1, '.', "0.5"},    // 0.45000000000000001...
                      FormatCase{9.96L, 6, 1, '.', "10.0"}, FormatCase{0.96L, 6, 0, '.', "1"},
                      FormatCase{0.04L, 6, 0, '.', "0"}, FormatCase{-0.04L, 6, 1, '.', "0.0"},
                      FormatCase{-0.0L, 6, 1, '.', "0.0"}, FormatCase{0.06L, 6, 1, '.', "0.1"}));

// Large precision and decimals, exponent digits, and extreme values.
INSTANTIATE_TEST_SUITE_P(
    Limits, FixedText,
    ::testing::Values(
        FormatCase{0.1, 18, 18, '.', "0.100000000000000006"},
        FormatCase{123.456, 18, 18, '.', "123.456000000000003000"},
        FormatCase{1e-5, 18, 18, '.', "0.000010000000000000"},
        FormatCase{1234567.8L, 6, 3, '.', "1.23457E006"},
        FormatCase{1234567.8L, 6, 5, '.', "1.23457E6"},
        FormatCase{1234567.8L, 6, 0, '.', "1.23457E6"}, FormatCase{1e20L, 18, 1, '.', "1E20"},
        FormatCase{123456789012345678.0L, 18, 1, '.', "123456789012345678.0"},
        FormatCase{5.0L, 30, 40, '.', "5.000000000000000000"},
        FormatCase{std::numeric_limits<long double>::max(), 6, 1, '.', "1.18973E4932"},
        FormatCase{std::numeric_limits<long double>::denorm_min(), 6, 1, '.', "0.0"},
        FormatCase{std::numeric_limits<long double>::quiet_NaN(), 6, 1, '.', "NAN"},
        FormatCase{std::numeric_limits<long double>::infinity(), 6, 1, '.', "INF"},
        FormatCase{-std::numeric_limits<long double>::infinity(), 6, 1, '.', "-INF"}));

}  // namespace
