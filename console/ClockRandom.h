#pragma once

#include <cstdint>
#include <functional>
#include <random>

#include "plant/Outlets.h"

namespace console {

// Uniform random draws for the controller and the wagon timer, seeded from the
// system clock. The clock can be injected so a test can repeat a sequence.
class ClockRandom : public plant::RandomOutlet {
public:
    using SeedClock = std::function<uint64_t()>;

    ClockRandom();
    explicit ClockRandom(SeedClock clock);

    // A uniform integer in 0 .. bound-1; 0 when the bound leaves no choice.
    int Next(int bound) override;
    // Seeds the generator afresh from the clock.
    void Reseed();

    // Nanoseconds of the system clock.
    static uint64_t SystemClockSeed();

private:
    SeedClock clock_;
    std::mt19937 engine_;
};

}  // namespace console
