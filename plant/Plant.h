#pragma once

#include <cstdint>
#include <string>

#include "plant/OneBased.h"

namespace plant {

constexpr int kDeviceCount = 18;
constexpr int kRouteCount = 12;
constexpr int kSiloCount = 4;
constexpr int kRouteSlots = 5;

// Device kinds.
constexpr int32_t kKindValve = 0;
constexpr int32_t kKindDrive = 1;

// Control modes, the ordinals of TMode.
constexpr int32_t kModeLocal = 0;
constexpr int32_t kModeRemote = 1;
constexpr int32_t kModeAuto = 2;
constexpr int32_t kModeRepair = 3;

// Valve positions and drive states share the State field.
constexpr int32_t kStateOpen = 0, kStateIntermediate = 1, kStateClosed = 2;
constexpr int32_t kStateRun = 0, kStateAcceleration = 1, kStateStop = 2;

// Device command codes. Codes below 10 move the device; 10 and above are service commands.
constexpr int32_t kCmdNone = 0;
constexpr int32_t kCmdOpen = 1;    // open / switch on
constexpr int32_t kCmdClose = 2;   // close / switch off
constexpr int32_t kCmdStop = 3;    // stop travel / cancel
constexpr int32_t kCmdReset = 10;  // reset alarm flag
constexpr int32_t kCmdLocal = 20;
constexpr int32_t kCmdRemote = 21;
constexpr int32_t kCmdAuto = 22;
constexpr int32_t kCmdRepair = 23;
constexpr int32_t kFirstServiceCommand = 10;

// Who posted a device command.
constexpr int32_t kSourceOperator = 0;
constexpr int32_t kSourceRoute = 1;

// Route states and commands.
constexpr int32_t kRouteStopped = 0, kRouteStarting = 1, kRouteRunning = 2, kRouteStopping = 3;
constexpr int32_t kRouteCmdStart = 1, kRouteCmdStop = 2;

// One device of the plant.
struct TDiscret {
    int32_t Kind = kKindValve;
    std::string Name;
    int32_t Mode = kModeLocal;
    int32_t State = kStateClosed;
    int32_t Ungle = 0;  // valve opening in degrees, 0 closed .. 90 open; 0 for drives
    std::string ErrorText;
    int32_t Command = kCmdNone;
    int32_t CommandSource = kSourceOperator;
    int32_t ActiveCommand = kCmdNone;
    int32_t ActiveSource = kSourceOperator;
    int32_t CommandStep = 0;  // 0 taken over, 1 announced and executing
    // The diagram control that draws the device and its number label, by control
    // name ("Latch_1", "LabelM1"); empty means none. The console resolves them.
    std::string Symbol;
    std::string NameLabel;
};

// One grain route.
struct TRoute {
    std::string Panel;  // name of its entry in the route list ("Route1" ...)
    int32_t Command = 0;
    int32_t State = kRouteStopped;
    bool Permitted = false;                  // nothing may start before the start-up fill
    OneBased<int32_t, kRouteSlots> Devices;  // start order; 0 marks an empty slot at the end
    int32_t Position = 0;                    // 1-based index into Devices
    int32_t Step = 0;                        // 0 idle, 1..5 start, 11..14 stop
};

// The whole in-memory picture of the terminal. One instance, owned by the
// console (or by the headless runner); tests create fresh ones.
struct Plant {
    OneBased<TDiscret, kDeviceCount> Dev;
    OneBased<TRoute, kRouteCount> Route;
    OneBased<double, kSiloCount> Tank;  // tonnes
    OneBased<bool, kSiloCount> TankOverheat;
    double ShippingMassa = 0.0;  // tonnes loaded onto the vessel since the last reset
    int32_t SelectedDev = 0;     // device whose control panel is open; 0 none
};

// Start-up fill: resets every record and gives the fixed names, kinds, symbols,
// labels, route device lists and the default silo stocks.
void FillDefinitions(Plant& plant);

// Caption of route r in the route list, leading blanks included.
const std::string& RouteCaption(int r);

constexpr double kTankCapacity = 15000.0;

}  // namespace plant
