#include <gtest/gtest.h>

#include "tests/plant/SoakDriver.h"

namespace {

struct Soak {
    const char* name;
    uint32_t seed;
    bool faults;  // an instructor trips, jams and clears at random as well
    long cycles;
};
void PrintTo(const Soak& s, std::ostream* os) {
    *os << s.name;
}

constexpr long kCyclesPerDay = 24L * 60 * 60 * 1000 / 300;

// Shortened soaks, and a whole day of plant time with faults; the plain day
// runs as the benchmark bench_plant_soak.
class SoakTest : public ::testing::TestWithParam<Soak> {};

TEST_P(SoakTest, InvariantsHoldAfterEveryCycle) {
    plant_test::SoakDriver driver(GetParam().seed, GetParam().faults);
    for (long i = 0; i < GetParam().cycles; ++i) {
        ASSERT_TRUE(driver.Step()) << driver.Failure();
    }
    EXPECT_GT(driver.RouteStarts(), 5);
    EXPECT_GT(driver.Entries(), 100);
    // The operator's commands reach routes that are starting and stopping.
    EXPECT_GT(driver.AutoRefusals(), 20);
    EXPECT_GT(driver.SequenceEnds(), 10);
    if (GetParam().faults) {
        EXPECT_GT(driver.FaultsPosted(), 100);
        EXPECT_GT(driver.FaultStops(), 10);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, SoakTest,
                         ::testing::Values(Soak{"Seed1", 1u, false, 30000},
                                           Soak{"Seed20260306", 20260306u, false, 30000},
                                           Soak{"ADayWithFaults", 7u, true, kCyclesPerDay}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
