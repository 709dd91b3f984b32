#include <gtest/gtest.h>

#include "tests/state/fuzz/StateFuzz.h"

namespace {

// A short run for every test pass; the standalone state-fuzz program runs the
// same checks over as many files as asked.
constexpr int kFiles = 10000;

TEST(StateFileFuzz, LoaderStoresOnlyUsableValuesFromAnyFile) {
    statefuzz::FileGenerator files(20261206);
    for (int i = 0; i < kFiles; ++i) {
        const std::string bytes = files.Next();
        ASSERT_EQ(statefuzz::CheckLoad(bytes), "") << "file " << testing::PrintToString(bytes);
    }
}

TEST(StateFileFuzz, SavedValuesReadBackUnchanged) {
    statefuzz::FileGenerator files(7);
    for (int i = 0; i < kFiles / 10; ++i) {
        const std::string bytes = files.Next();
        ASSERT_EQ(statefuzz::CheckRoundTrip(bytes), "") << "file " << testing::PrintToString(bytes);
    }
}

}  // namespace
