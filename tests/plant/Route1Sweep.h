#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace plant_test {

// The sweep that once left route 1 starting or stopping for ever: one
// operator's motion command (1 open, 2 close, 3 stop) to one of route 1's
// devices (conveyor 3.3, conveyor 3.2, valve М2), taken over in one of the
// first 50 cycles of the route's start sequence, or of its stop sequence.
// Run as grain-sim scripts and through the Modbus map, in windows of
// kSweepWindow cycles so that a case that runs a program per cycle stays short.
using SweepCase = std::tuple<int, int, bool, int>;  // device, command, while stopping, first cycle

constexpr int kSweepWindow = 25;
constexpr int kRoute1StartCycles = 49;  // from the start command to running

inline auto Route1SweepCases() {
    return ::testing::Combine(::testing::Values(15, 14, 2), ::testing::Values(1, 2, 3),
                              ::testing::Bool(), ::testing::Values(1, 1 + kSweepWindow));
}

inline std::string SweepCaseName(const ::testing::TestParamInfo<SweepCase>& info) {
    const auto [device, code, stop, first] = info.param;
    return "Dev" + std::to_string(device) + "Cmd" + std::to_string(code) +
           (stop ? "Stopping" : "Starting") + std::to_string(first) + "To" +
           std::to_string(first + kSweepWindow - 1);
}

}  // namespace plant_test
