#pragma once

#include <cstdint>

#include "plant/Plant.h"

// Where each value of the plant lies in the register map (0-based addresses;
// docs/modbus.md gives the tables with the 3xxxx/4xxxx register numbers).
namespace modbus::layout {

// Input registers (function 4) come in blocks of records. A block ends with
// one register more: the low word of the controller cycle counter of the
// image the block was read from, so that a client can tell which cycle each
// block it reads belongs to.
struct InputBlock {
    int first;   // address of the first record
    int stride;  // registers per record
    int records;
    constexpr int CycleWord() const { return first + stride * records; }
    constexpr int End() const { return CycleWord() + 1; }  // one past the cycle word
};

constexpr int kDevices = 0;  // device i at kDevices + kDeviceStride * (i - 1)
constexpr int kDeviceStride = 4;
constexpr int kDeviceMode = 0, kDeviceState = 1, kDeviceAngle = 2, kDeviceAlarm = 3;

constexpr int kRoutes = 100;  // route r at kRoutes + kRouteStride * (r - 1)
constexpr int kRouteStride = 4;
constexpr int kRouteState = 0, kRouteStep = 1, kRoutePosition = 2, kRoutePermitted = 3;

constexpr int kSilos = 200;  // silo n at kSilos + kSiloStride * (n - 1)
constexpr int kSiloStride = 4;
constexpr int kSiloStock = 0, kSiloZone = 2, kSiloOverheat = 3;  // stock: two registers

constexpr int kTotals = 300;
constexpr int kCycles = 300;      // two registers
constexpr int kTotalStock = 302;  // two registers
constexpr int kShipped = 304;     // two registers
constexpr int kThroughput = 306;
constexpr int kWagonsOnTrack = 307;
constexpr int kUnloadingTonnes = 308;
constexpr int kTotalsCount = 9;

// Trainer faults, served only while they are enabled.
constexpr int kFaultFlags = 400;  // device i at kFaultFlags + i - 1: 1 while a fault stands

// What became of the last command an operator posted to each device and route:
// the command's code, its result (plant::kOutcome*) and the cycle it happened
// in (32-bit, high word first).
constexpr int kDeviceOutcomes = 500;  // device i at kDeviceOutcomes + kOutcomeStride * (i - 1)
constexpr int kRouteOutcomes = 600;   // route r at kRouteOutcomes + kOutcomeStride * (r - 1)
constexpr int kOutcomeStride = 4;
constexpr int kOutcomeCommand = 0, kOutcomeResult = 1, kOutcomeCycle = 2;  // cycle: two registers

constexpr InputBlock kDeviceBlock{kDevices, kDeviceStride, plant::kDeviceCount};
constexpr InputBlock kRouteBlock{kRoutes, kRouteStride, plant::kRouteCount};
constexpr InputBlock kSiloBlock{kSilos, kSiloStride, plant::kSiloCount};
constexpr InputBlock kTotalsBlock{kTotals, kTotalsCount, 1};
constexpr InputBlock kFaultFlagBlock{kFaultFlags, 1, plant::kDeviceCount};
constexpr InputBlock kDeviceOutcomeBlock{kDeviceOutcomes, kOutcomeStride, plant::kDeviceCount};
constexpr InputBlock kRouteOutcomeBlock{kRouteOutcomes, kOutcomeStride, plant::kRouteCount};
// One past the highest input register.
constexpr int kInputSpan = kRouteOutcomeBlock.End();

// Holding registers (functions 3, 6, 16).
constexpr int kDeviceCommands = 0;   // device i at kDeviceCommands + i - 1
constexpr int kRouteCommands = 100;  // route r at kRouteCommands + r - 1
constexpr int kFaultCodes = 200;     // device i at kFaultCodes + i - 1: plant::kFault*
constexpr int kHoldingSpan = kFaultCodes + plant::kDeviceCount;

// Values of the silo zone register.
constexpr uint16_t kZoneWorking = 0, kZoneMaximum = 1, kZoneMinimum = 2, kZoneUpperAlarm = 3,
                   kZoneLowerAlarm = 4;

}  // namespace modbus::layout
