#include <gtest/gtest.h>

#include "symbols/SCADAType.h"

namespace {

struct RoundCase {
    long double x;
    int expected;
};
void PrintTo(const RoundCase& c, std::ostream* os) {
    *os << static_cast<double>(c.x);
}

class SymbolRound : public ::testing::TestWithParam<RoundCase> {};

TEST_P(SymbolRound, RoundsToNearestWithTiesToEven) {
    EXPECT_EQ(symbols::Round(GetParam().x), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, SymbolRound,
                         ::testing::Values(RoundCase{22.5L, 22}, RoundCase{23.5L, 24},
                                           RoundCase{53.5L, 54}, RoundCase{150.5L, 150},
                                           RoundCase{2.4999L, 2}, RoundCase{2.5001L, 3},
                                           RoundCase{0.0L, 0}, RoundCase{-0.5L, 0},
                                           RoundCase{-1.5L, -2}, RoundCase{-2.5L, -2},
                                           RoundCase{-2.6L, -3}, RoundCase{-7.0L, -7}));

TEST(SymbolScale, FactorTimesSizeRoundsOnItsOwn) {
    EXPECT_EQ(symbols::Scale(0.75L, 30), 22);     // 22.5
    EXPECT_EQ(symbols::Scale(0.0833L, 120), 10);  // 9.996
    EXPECT_EQ(symbols::Scale(0.1L, 25), 2);       // 2.5 held exactly enough to tie
    EXPECT_EQ(symbols::Scale(0.3L, 25), 8);       // 7.5
}

}  // namespace
