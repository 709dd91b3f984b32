// 24 hours of plant time (288,000 controller cycles of 300 ms) under a seeded
// random mix of operator commands (from the panel and the Modbus paths, many
// of them at routes that are starting or stopping) and route starts and
// stops, without and with an instructor's random trips, jams and clears, with
// the plant's invariants (no route starting or stopping longer than a
// sequence can take, every sequence leaving its devices as it wanted them)
// checked after every cycle. The test suite runs shortened soaks and one day
// with faults.

#include <benchmark/benchmark.h>

#include "tests/plant/SoakDriver.h"

namespace {

constexpr long kCyclesPerDay = 24L * 60 * 60 * 1000 / 300;

void BM_SoakOneDay(benchmark::State& state) {
    for (auto _ : state) {
        plant_test::SoakDriver driver(static_cast<uint32_t>(state.range(0)), state.range(1) != 0);
        for (long i = 0; i < kCyclesPerDay; ++i) {
            if (!driver.Step()) {
                state.SkipWithError(driver.Failure().c_str());
                return;
            }
        }
        state.counters["cycles"] = static_cast<double>(driver.Ticks());
        state.counters["entries"] = static_cast<double>(driver.Entries());
        state.counters["route_starts"] = static_cast<double>(driver.RouteStarts());
        state.counters["faults"] = static_cast<double>(driver.FaultsPosted());
        state.counters["fault_stops"] = static_cast<double>(driver.FaultStops());
        state.counters["auto_refusals"] = static_cast<double>(driver.AutoRefusals());
        state.counters["sequence_ends"] = static_cast<double>(driver.SequenceEnds());
    }
}
// Arguments: the seed, and 1 for the instructor's faults.
BENCHMARK(BM_SoakOneDay)
    ->Args({1, 0})
    ->Args({20260306, 0})
    ->Args({1, 1})
    ->Args({20260306, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
