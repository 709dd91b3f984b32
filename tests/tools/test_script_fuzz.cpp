#include <gtest/gtest.h>

#include "tests/tools/fuzz/ScriptFuzz.h"

namespace {

// A short run for every test pass; the standalone script-fuzz program runs the
// same check over as many scripts as asked.
constexpr int kScripts = 2000;

TEST(ScriptFuzz, ParserTurnsAnyInputIntoAnErrorOrCommandsWithinBounds) {
    scriptfuzz::ScriptGenerator scripts(20261206);
    for (int i = 0; i < kScripts; ++i) {
        const std::string bytes = scripts.Next();
        ASSERT_EQ(scriptfuzz::CheckParse(bytes), "") << "script " << testing::PrintToString(bytes);
    }
}

}  // namespace
