#include "console/ClockRandom.h"

#include <chrono>

namespace console {

ClockRandom::ClockRandom() : ClockRandom(&ClockRandom::SystemClockSeed) {}

ClockRandom::ClockRandom(SeedClock clock) : clock_(std::move(clock)) {
    Reseed();
}

uint64_t ClockRandom::SystemClockSeed() {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(since).count());
}

void ClockRandom::Reseed() {
    const uint64_t value = clock_();
    // Both halves of the clock reach the seed, so reseeds a second apart differ.
    std::seed_seq seed{static_cast<uint32_t>(value), static_cast<uint32_t>(value >> 32)};
    engine_.seed(seed);
}

int ClockRandom::Next(int bound) {
    if (bound <= 1) return 0;
    std::uniform_int_distribution<int> draw(0, bound - 1);
    return draw(engine_);
}

}  // namespace console
