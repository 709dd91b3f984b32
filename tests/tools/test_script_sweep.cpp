#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/plant/Route1Sweep.h"
#include "tools/grain-sim/Runner.h"
#include "tools/grain-sim/Script.h"

// The route 1 sweep (tests/plant/Route1Sweep.h) as grain-sim scripts, one run
// for each cycle: the route still reaches running, or stopped, and a start
// leaves its devices as it wanted them. The scripts run through grain-sim's
// own parser and runner in this process; test_grain_sim runs the program.

namespace {

std::vector<std::string> RunScript(const std::string& text) {
    std::istringstream in(text);
    const grainsim::Script script = grainsim::ParseScript(in);
    EXPECT_FALSE(script.error) << text;
    std::ostringstream out, err;
    grainsim::Runner runner(out, err);
    EXPECT_FALSE(runner.Start(""));
    EXPECT_EQ(runner.Run(script.commands), 0) << err.str();
    std::vector<std::string> lines;
    std::istringstream printed(out.str());
    for (std::string line; std::getline(printed, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Starting(const std::vector<std::string>& lines,
                                  const std::vector<std::string>& prefixes) {
    std::vector<std::string> found;
    for (const std::string& prefix : prefixes) {
        for (const std::string& line : lines) {
            if (line.rfind(prefix, 0) == 0) found.push_back(line);
        }
    }
    return found;
}

class SweepTest : public ::testing::TestWithParam<plant_test::SweepCase> {};

TEST_P(SweepTest, OneScriptCommandNeverHangsIt) {
    const auto [device, code, stop, first] = GetParam();
    const std::string finished =
        stop ? "R 1 state=0 step=0 permitted=1" : "R 1 state=2 step=0 permitted=1";
    for (int cycle = first; cycle < first + plant_test::kSweepWindow; ++cycle) {
        const int k = cycle - 1;  // cycles run before the command is posted
        std::string script = "route 1 start\n";
        if (stop)
            script += "tick " + std::to_string(plant_test::kRoute1StartCycles) + "\nroute 1 stop\n";
        script += "tick " + std::to_string(k) + "\ndev " + std::to_string(device) + " " +
                  std::to_string(code) + "\ntick 200\nprint\n";
        const std::vector<std::string> lines = RunScript(script);
        EXPECT_EQ(Starting(lines, {"R 1 "}), std::vector<std::string>{finished})
            << "command taken over in cycle " << cycle << " of the sequence";
        if (stop) continue;
        const std::vector<std::string> started = {"D 2 mode=2 state=0 ungle=90",
                                                  "D 14 mode=2 state=0 ungle=0",
                                                  "D 15 mode=2 state=0 ungle=0"};
        EXPECT_EQ(Starting(lines, {"D 2 ", "D 14 ", "D 15 "}), started)
            << "command taken over in cycle " << cycle;
    }
}

INSTANTIATE_TEST_SUITE_P(Route1, SweepTest, plant_test::Route1SweepCases(),
                         plant_test::SweepCaseName);

}  // namespace
