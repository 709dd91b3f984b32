#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/core/ProfileValue.h"

namespace {

using platform::FormatProfileReal;
using platform::ParseProfileInteger;
using platform::ParseProfileReal;

struct IntegerCase {
    const char* text;
    std::optional<int32_t> expected;
};
void PrintTo(const IntegerCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class ProfileIntegerText : public testing::TestWithParam<IntegerCase> {};

TEST_P(ProfileIntegerText, ParsesOrRefuses) {
    EXPECT_EQ(ParseProfileInteger(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Decimal, ProfileIntegerText,
                         testing::Values(IntegerCase{"0", 0}, IntegerCase{"2", 2},
                                         IntegerCase{"87", 87}, IntegerCase{"-5", -5},
                                         IntegerCase{"+3", 3}, IntegerCase{"007", 7},
                                         IntegerCase{"2147483647", 2147483647},
                                         IntegerCase{"-2147483648", -2147483647 - 1},
                                         IntegerCase{"2147483648", std::nullopt},
                                         IntegerCase{"-2147483649", std::nullopt},
                                         IntegerCase{"99999999999999999999999", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    Hexadecimal, ProfileIntegerText,
    testing::Values(IntegerCase{"0x1", 1}, IntegerCase{"0X1F", 31}, IntegerCase{"0x5a", 90},
                    IntegerCase{"0x7FFFFFFF", 2147483647}, IntegerCase{"0xFFFFFFFF", -1},
                    IntegerCase{"-0x2", -2}, IntegerCase{"0x100000000", std::nullopt},
                    IntegerCase{"0x", std::nullopt}, IntegerCase{"0xG", std::nullopt},
                    IntegerCase{"0x-1", std::nullopt}, IntegerCase{"0x+1", std::nullopt}));

INSTANTIATE_TEST_SUITE_P(
    NotANumber, ProfileIntegerText,
    testing::Values(IntegerCase{"", std::nullopt}, IntegerCase{"-", std::nullopt},
                    IntegerCase{"12abc", std::nullopt}, IntegerCase{"1.0", std::nullopt},
                    IntegerCase{" 1", std::nullopt}, IntegerCase{"--1", std::nullopt},
                    IntegerCase{"$1F", std::nullopt}, IntegerCase{"one", std::nullopt}));

struct RealCase {
    const char* text;
    std::optional<double> expected;
};
void PrintTo(const RealCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class ProfileRealText : public testing::TestWithParam<RealCase> {};

TEST_P(ProfileRealText, ParsesOrRefuses) {
    EXPECT_EQ(ParseProfileReal(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(EitherSeparator, ProfileRealText,
                         testing::Values(RealCase{"15000", 15000.0}, RealCase{"4499.97", 4499.97},
                                         RealCase{"4499,97", 4499.97}, RealCase{"-0,5", -0.5},
                                         RealCase{".5", 0.5}, RealCase{"5.", 5.0},
                                         RealCase{"+2", 2.0}, RealCase{"1e3", 1000.0},
                                         RealCase{"1,5E-2", 0.015}, RealCase{"1E+20", 1e20}));

INSTANTIATE_TEST_SUITE_P(
    NotANumber, ProfileRealText,
    testing::Values(RealCase{"", std::nullopt}, RealCase{".", std::nullopt},
                    RealCase{"1.2.3", std::nullopt}, RealCase{"1,2.3", std::nullopt},
                    RealCase{"1 000", std::nullopt}, RealCase{"12t", std::nullopt},
                    RealCase{"1e", std::nullopt}, RealCase{"e5", std::nullopt},
                    RealCase{"nan", std::nullopt}, RealCase{"inf", std::nullopt},
                    RealCase{"-INF", std::nullopt}, RealCase{"0x1p3", std::nullopt},
                    RealCase{"1e999", std::nullopt}, RealCase{"-1e999", std::nullopt}));

struct FormatCase {
    double value;
    char separator;
    const char* expected;
};
void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << '"' << c.expected << "\" with '" << c.separator << '\'';
}

class ProfileRealFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(ProfileRealFormat, WritesShortestGeneralForm) {
    EXPECT_EQ(FormatProfileReal(GetParam().value, GetParam().separator), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ProfileRealFormat,
    testing::Values(FormatCase{15000.0, '.', "15000"}, FormatCase{4499.97, '.', "4499.97"},
                    FormatCase{4499.97, ',', "4499,97"}, FormatCase{0.0, '.', "0"},
                    FormatCase{-0.0, ',', "0"}, FormatCase{0.1 + 0.2, '.', "0.3"},
                    FormatCase{-12.5, ',', "-12,5"},
                    FormatCase{123456789012345.0, '.', "123456789012345"},
                    FormatCase{1e20, '.', "1e+20"}, FormatCase{0.00001, ',', "1e-05"}));

}  // namespace
