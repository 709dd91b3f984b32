#include <gtest/gtest.h>

#include "tests/users/fuzz/UsersFuzz.h"

namespace {

// A short run for every test pass; the standalone users-fuzz program runs the
// same checks over as many files as asked.
TEST(UsersFileFuzz, EveryFileIsReadSoundlyOrRefusedWithItsLine) {
    usersfuzz::FileGenerator files(20240611);
    for (int i = 0; i < 5000; ++i) {
        const std::string bytes = files.Next();
        ASSERT_EQ(usersfuzz::CheckParse(bytes), "") << "file " << testing::PrintToString(bytes);
    }
}

}  // namespace
