#include <gtest/gtest.h>

#include <sstream>

#include "plant/Plant.h"
#include "tools/grain-sim/Script.h"

namespace {

using grainsim::Command;
using grainsim::ParseScript;
using Verb = grainsim::Command::Verb;

TEST(ScriptTest, ReadsEveryCommandWithItsLineNumberAndWithoutItsComment) {
    std::istringstream in(
        "# demo\r\n"
        "tick\n"
        "  tick 250  # wait\n"
        "\n"
        "dev 18 23\n"
        "route 7 start\n"
        "route 12 stop\n"
        "reset\n"
        "print\n"
        "save /tmp/state#1 file.INI\t# the plant\n"
        "vagon 0\n"
        "vagon 199\n"
        "fault 14 trip\n"
        "fault 8 jam\n"
        "fault 1 clear\n"
        "alarms");
    const grainsim::Script s = ParseScript(in);
    ASSERT_FALSE(s.error);
    ASSERT_EQ(s.commands.size(), 14u);
    EXPECT_EQ(s.commands[0].verb, Verb::Tick);
    EXPECT_EQ(s.commands[0].count, 1);
    EXPECT_EQ(s.commands[0].line, 2);
    EXPECT_EQ(s.commands[1].count, 250);
    EXPECT_EQ(s.commands[2].verb, Verb::Dev);
    EXPECT_EQ(s.commands[2].index, 18);
    EXPECT_EQ(s.commands[2].code, 23);
    EXPECT_EQ(s.commands[2].line, 5);
    EXPECT_EQ(s.commands[3].verb, Verb::RouteStart);
    EXPECT_EQ(s.commands[3].index, 7);
    EXPECT_EQ(s.commands[4].verb, Verb::RouteStop);
    EXPECT_EQ(s.commands[5].verb, Verb::Reset);
    EXPECT_EQ(s.commands[6].verb, Verb::Print);
    EXPECT_EQ(s.commands[7].verb, Verb::Save);
    EXPECT_EQ(s.commands[7].file, "/tmp/state#1 file.INI");
    EXPECT_EQ(s.commands[8].index, 0);
    EXPECT_EQ(s.commands[9].index, 199);
    EXPECT_EQ(s.commands[9].line, 12);
    for (std::size_t k = 10; k < 13; ++k) EXPECT_EQ(s.commands[k].verb, Verb::Fault);
    EXPECT_EQ(s.commands[10].index, 14);
    EXPECT_EQ(s.commands[10].code, plant::kFaultTrip);
    EXPECT_EQ(s.commands[11].index, 8);
    EXPECT_EQ(s.commands[11].code, plant::kFaultJam);
    EXPECT_EQ(s.commands[12].index, 1);
    EXPECT_EQ(s.commands[12].code, plant::kFaultNone);
    EXPECT_EQ(s.commands[13].verb, Verb::Alarms);
}

TEST(ScriptTest, LinesOfAnyWhiteSpaceAreBlankAndAnyWhiteSpaceSeparatesWords) {
    std::istringstream in("\v\n\f\n \t\r\v\f\n\vtick\f2\v\r\n");
    const grainsim::Script s = ParseScript(in);
    ASSERT_FALSE(s.error);
    ASSERT_EQ(s.commands.size(), 1u);
    EXPECT_EQ(s.commands[0].count, 2);
    EXPECT_EQ(s.commands[0].line, 4);
}

TEST(ScriptTest, OverLongLineIsAnErrorAndIsNotReadToItsEnd) {
    const std::size_t cap = grainsim::kLongestLine;
    std::istringstream in("tick\n#" + std::string(cap - 1, 'x') + "\n" + std::string(3 * cap, 'y') +
                          "\ntick\n");
    const grainsim::Script s = ParseScript(in);
    ASSERT_TRUE(s.error);
    EXPECT_EQ(s.error->line, 3);
    EXPECT_EQ(s.error->what, "longer than 4096 characters");
    std::string rest;
    std::getline(in, rest);
    EXPECT_GT(rest.size(), cap);  // the reader stopped early in the long line
}

struct BadLine {
    const char* line;
    const char* what;
};
void PrintTo(const BadLine& b, std::ostream* os) {
    *os << '"' << b.line << '"';
}

class ScriptErrorTest : public ::testing::TestWithParam<BadLine> {};

TEST_P(ScriptErrorTest, FirstBadLineIsReportedAndNothingIsKept) {
    std::istringstream in(std::string("tick\nprint\n") + GetParam().line + "\ntick\n");
    const grainsim::Script s = ParseScript(in);
    ASSERT_TRUE(s.error);
    EXPECT_EQ(s.error->line, 3);
    EXPECT_EQ(s.error->what, GetParam().what);
    EXPECT_TRUE(s.commands.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScriptErrorTest,
    ::testing::Values(BadLine{"tock", "unknown command 'tock'"},
                      BadLine{"tick -1", "malformed number '-1'"},
                      BadLine{"tick 99999999999", "malformed number '99999999999'"},
                      BadLine{"dev 5", "'dev' needs more arguments"},
                      BadLine{"dev 5 1 2", "too many arguments for 'dev'"},
                      BadLine{"dev 5 3000000000", "malformed number '3000000000'"},
                      BadLine{"dev 1 99", "device command 99 is none of 1, 2, 3, 10, 20, 21, 22, 23"},
                      BadLine{"dev 1 0", "device command 0 is none of 1, 2, 3, 10, 20, 21, 22, 23"},
                      BadLine{"tick#1", "unknown command 'tick#1'"},
                      BadLine{"route x start", "malformed number 'x'"},
                      BadLine{"vagon -1", "vagon draw -1 outside 0..199"},
                      BadLine{"save", "'save' needs more arguments"},
                      BadLine{"print now", "too many arguments for 'print'"},
                      BadLine{"fault 14 jam", "device 14 cannot jam: it is a drive"},
                      BadLine{"fault 3 trip", "device 3 cannot trip: it is a gate valve"},
                      BadLine{"fault 0 clear", "device 0 outside 1..18"},
                      BadLine{"fault 3 break", "fault 'break' is none of trip, jam, clear"},
                      BadLine{"fault 3", "'fault' needs more arguments"},
                      BadLine{"alarms 1", "too many arguments for 'alarms'"}));

}  // namespace
