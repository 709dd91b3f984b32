#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace plant_test {

// The sweep that once left route 1 starting or stopping for ever: one
// operator's motion command (1 open, 2 close, 3 stop) to one of route 1's
// devices (conveyor 3.3, conveyor 3.2, valve М2), taken over in one of the
// first kSweepCycles cycles of the route's start sequence, or of its stop
// sequence. Run as a grain-sim script and through the Modbus map.
using SweepCase = std::tuple<int, int, bool>;  // device, command, during the stop sequence

constexpr int kSweepCycles = 50;
constexpr int kRoute1StartCycles = 49;  // from the start command to running

inline auto Route1SweepCases() {
    return ::testing::Combine(::testing::Values(15, 14, 2), ::testing::Values(1, 2, 3),
                              ::testing::Bool());
}

inline std::string SweepCaseName(const ::testing::TestParamInfo<SweepCase>& info) {
    const auto [device, code, stop] = info.param;
    return "Device" + std::to_string(device) + "Command" + std::to_string(code) +
           (stop ? "WhileStopping" : "WhileStarting");
}

}  // namespace plant_test
