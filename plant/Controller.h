#pragma once

#include "plant/Outlets.h"
#include "plant/Plant.h"

namespace plant {

// Interval of the controller timer in milliseconds.
constexpr int kEmulatorIntervalMs = 300;

// The emulated programmable controller. It advances only through EmulatorTick();
// the console's 300 ms timer calls it, tests call it by hand.
class Controller {
public:
    Controller(Plant& plant, Outlets outlets);

    // One controller cycle, in this fixed order: silo stock and limit stops,
    // silo indicators, total stock, device stage, route stage, vessel loading,
    // shipped-tonnage board, pipe colouring.
    void EmulatorTick();

private:
    Plant& plant_;
    Outlets out_;
};

}  // namespace plant
