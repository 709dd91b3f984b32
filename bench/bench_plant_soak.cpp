// 24 hours of plant time (288,000 controller cycles of 300 ms) under a seeded
// random mix of operator commands and route starts and stops, with the plant's
// invariants checked after every cycle. The test suite runs a shortened soak.

#include <benchmark/benchmark.h>

#include "tests/plant/SoakDriver.h"

namespace {

constexpr long kCyclesPerDay = 24L * 60 * 60 * 1000 / 300;

void BM_SoakOneDay(benchmark::State& state) {
    for (auto _ : state) {
        plant_test::SoakDriver driver(static_cast<uint32_t>(state.range(0)));
        for (long i = 0; i < kCyclesPerDay; ++i) {
            if (!driver.Step()) {
                state.SkipWithError(driver.Failure().c_str());
                return;
            }
        }
        state.counters["cycles"] = static_cast<double>(driver.Ticks());
        state.counters["entries"] = static_cast<double>(driver.Entries());
        state.counters["route_starts"] = static_cast<double>(driver.RouteStarts());
    }
}
BENCHMARK(BM_SoakOneDay)->Arg(1)->Arg(20260306)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
