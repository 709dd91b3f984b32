#include <gtest/gtest.h>

#include "tests/plant/SoakDriver.h"

namespace {

// A shortened soak; the full 24 hours of plant time (288,000 cycles) runs as the
// benchmark bench_plant_soak.
class SoakTest : public ::testing::TestWithParam<uint32_t> {};

TEST_P(SoakTest, InvariantsHoldAfterEveryCycle) {
    plant_test::SoakDriver driver(GetParam());
    for (int i = 0; i < 30000; ++i) {
        ASSERT_TRUE(driver.Step()) << driver.Failure();
    }
    EXPECT_GT(driver.RouteStarts(), 5);
    EXPECT_GT(driver.Entries(), 100);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SoakTest, ::testing::Values(1u, 20260306u));

}  // namespace
