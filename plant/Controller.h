#pragma once

#include <cstdint>

#include "plant/DeviceStage.h"
#include "plant/Outlets.h"
#include "plant/Plant.h"
#include "plant/RouteStage.h"
#include "plant/Shown.h"
#include "plant/SiloStock.h"

namespace plant {

// Period of the controller cycle in milliseconds: the console's TimerEmulCPU
// and grain-sim --serve run a cycle this often, and the plant's rates (the
// throughput shown) are worked out from it.
constexpr int kEmulatorIntervalMs = 300;

// The emulated programmable controller. It advances only through EmulatorTick();
// the console's 300 ms timer calls it, tests call it by hand.
class Controller {
public:
    // `decimalSeparator` is the one the silo texts use: the console passes the
    // regional setting's, the headless runner and tests '.'.
    Controller(Plant& plant, Outlets outlets, char decimalSeparator = '.');

    // One controller cycle, in this fixed order: silo stock and limit stops,
    // silo indicators, total stock, device stage, route stage, vessel loading,
    // shipped-tonnage board, pipe colouring.
    void EmulatorTick();

    // The plant's cycle count (Plant::Cycles), which each cycle advances as it
    // begins.
    uint64_t Cycles() const { return plant_.Cycles; }
    // The vessel loading throughput in t/h as PanelSpeed shows it (0 before the
    // first cycle).
    int64_t Throughput() const { return plant_.Throughput; }

private:
    Plant& plant_;
    DiagramShown shown_;  // what the cycle has put on the screen
    SiloStock silos_;
    DeviceStage devices_;
    RouteStage routes_;
};

}  // namespace plant
