#pragma once

#include <cstdint>
#include <string>

#include "plant/OneBased.h"
#include "plant/Origin.h"

namespace plant {

constexpr int kDeviceCount = 18;
constexpr int kRouteCount = 12;
constexpr int kSiloCount = 4;
constexpr int kRouteSlots = 5;
constexpr int kWagonCount = 3;  // wagon places on the unloading track

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
constexpr bool IsDeviceCommand(int32_t code) {
    return (code >= kCmdOpen && code <= kCmdStop) || code == kCmdReset ||
           (code >= kCmdLocal && code <= kCmdRepair);
}
constexpr bool IsMotionCommand(int32_t code) {
    return code != kCmdNone && code < kFirstServiceCommand;
}

// Who posted a device command.
constexpr int32_t kSourceOperator = 0;
constexpr int32_t kSourceRoute = 1;

// Trainer faults an instructor posts: a trip stops a drive, a jam holds a
// valve where it is; "none" clears the device's fault.
constexpr int32_t kFaultNone = 0;
constexpr int32_t kFaultTrip = 1;  // drives only
constexpr int32_t kFaultJam = 2;   // gate valves only

// What became of the last command an operator (the panel, a Modbus client, a
// script) posted to a device or a route, so that a client that posts can learn
// its command's fate. Route sequences and silo limits post commands of their
// own; those are not recorded here, and never replace an operator's command.
// One record per device and per route holds the operator's last post. A post
// over an operator's command still pending replaces that command, and the
// record then names the later one: a client that reads another code than its
// own knows that its command was replaced before it was taken. So no record
// is left saying kOutcomeReplaced; the code stays reserved for that fate.
constexpr int32_t kOutcomeNone = 0;            // nothing posted yet
constexpr int32_t kOutcomePending = 1;         // posted, waiting for a cycle to take it over
constexpr int32_t kOutcomeTaken = 2;           // taken over by a cycle (and carried out)
constexpr int32_t kOutcomeReplaced = 3;        // overwritten by a later post before it was taken
constexpr int32_t kOutcomeRefusedLocal = 4;    // the device is in Local mode
constexpr int32_t kOutcomeRefusedAuto = 5;     // the device is in Auto mode or held by a route
constexpr int32_t kOutcomeRefusedRepair = 6;   // the device is in Repair mode
constexpr int32_t kOutcomeRefusedFault = 7;    // a trainer fault stands
constexpr int32_t kOutcomeRefusedState = 8;    // route: a start while not stopped, a stop while not running
constexpr int32_t kOutcomeRefusedForbidden = 9;  // route: a start forbidden by an active route

// Route states and commands.
constexpr int32_t kRouteStopped = 0, kRouteStarting = 1, kRouteRunning = 2, kRouteStopping = 3;
constexpr int32_t kRouteCmdStart = 1, kRouteCmdStop = 2;

// Steps of a route's start and stop sequences (the route's Step field).
constexpr int32_t kStepIdle = 0;
constexpr int32_t kStepToAuto = 1;      // start: hand the device to Auto mode
constexpr int32_t kStepSwitchOn = 2;    // start: open or switch it on
constexpr int32_t kStepAwaitOn = 3;     // start: wait until it is open or running
constexpr int32_t kStepNextOn = 4;      // start: on to the next device
constexpr int32_t kStepStarted = 5;     // start: the route runs
constexpr int32_t kStepSwitchOff = 11;  // stop: close or switch off the device
constexpr int32_t kStepAwaitOff = 12;   // stop: wait until it is closed or stopped
constexpr int32_t kStepToRemote = 13;   // stop: hand it back in Remote mode
constexpr int32_t kStepNextOff = 14;    // stop: on to the previous device, or done
constexpr bool IsStartStep(int32_t step) {
    return step >= kStepToAuto && step <= kStepStarted;
}
constexpr bool IsStopStep(int32_t step) {
    return step >= kStepSwitchOff && step <= kStepNextOff;
}

// A gate valve's opening in degrees: closed at 0, fully open at 90.
constexpr int32_t kValveClosedAngle = 0;
constexpr int32_t kValveOpenAngle = 90;

// Devices by their part in the grain flow. The valves come in pairs per silo:
// the inlet above it and the outlet below it.
constexpr int InletValveOf(int silo) {
    return 2 * silo - 1;  // "Задвижка М1", М3, М5, М7
}
constexpr int OutletValveOf(int silo) {
    return 2 * silo;  // "Задвижка М2", М4, М6, М8
}
constexpr int FanOf(int silo) {
    return 8 + silo;  // "Вентилятор 2.1" .. "Вентилятор 2.4" aerate silos 1..4
}
constexpr int kSiloFeedConveyor = 13;       // "Конвейер 3.1": over the silos' inlet valves
constexpr int kSiloDischargeConveyor = 14;  // "Конвейер 3.2": under the silos' outlet valves
constexpr int kVesselConveyor = 15;         // "Конвейер 3.3": discharges onto the vessel
constexpr int kRailIntakeConveyor = 16;     // "Конвейер 3.4": under the rail wagons
constexpr int kRoadIntakeConveyor = 17;     // "Конвейер 3.5": under the truck dump
constexpr int kElevator = 18;               // "Нория 1.1": lifts the intake to conveyor 3.1

// Routes in three groups of four, each indexed by silo 1..4: route n ships
// from silo n to the vessel, route n+4 fills silo n from road vehicles, route
// n+8 from rail wagons.
constexpr int ShippingRouteOf(int silo) {
    return silo;
}
constexpr int RoadIntakeRouteOf(int silo) {
    return silo + kSiloCount;
}
constexpr int RailIntakeRouteOf(int silo) {
    return silo + 2 * kSiloCount;
}
constexpr bool IsShippingRoute(int r) {
    return r >= ShippingRouteOf(1) && r <= ShippingRouteOf(kSiloCount);
}
constexpr bool IsIntakeRoute(int r) {
    return r >= RoadIntakeRouteOf(1) && r <= RailIntakeRouteOf(kSiloCount);
}
constexpr int SiloOfRoute(int r) {
    return 1 + (r - 1) % kSiloCount;
}

// One device of the plant.
struct TDiscret {
    int32_t Kind = kKindValve;
    std::string Name;
    int32_t Mode = kModeLocal;
    int32_t State = kStateClosed;
    int32_t Ungle = kValveClosedAngle;  // valve opening in degrees; 0 for drives
    std::string ErrorText;
    // Pending commands, one slot per source, written only by PostCommand: an
    // operator's post never wipes out a route's pending command, nor a route's
    // post an operator's. The next cycle takes the route's command over first;
    // the operator's waits its turn behind it, or is refused if it would move
    // a device that a route holds.
    int32_t Command = kCmdNone;       // the operator's (panel, Modbus client, script)
    int32_t RouteCommand = kCmdNone;  // the route sequence's
    int32_t ActiveCommand = kCmdNone;
    int32_t ActiveSource = kSourceOperator;  // who posted the active command
    int32_t CommandStep = 0;                 // 0 taken over, 1 announced and executing
    // Who gave each command, in words, for the journal's entries about it.
    Origin CommandOrigin;
    Origin RouteCommandOrigin;
    Origin ActiveOrigin;
    // The diagram control that draws the device and its number label, by control
    // name ("Latch_1", "LabelM1"); empty means none. The console resolves them.
    std::string Symbol;
    std::string NameLabel;
};

// A device's trainer fault. An instructor posts a fault as the panel posts a
// command, and the next controller cycle takes it over: so the cycle stays the
// only writer of the device's state. The alarm the fault raises is the
// device's ErrorText; it outlasts the fault until the operator resets it.
struct TFault {
    int32_t Kind = kFaultNone;    // the fault that stands
    int32_t Posted = kFaultNone;  // a fault or a clear waiting for the next cycle
    bool Pending = false;         // whether Posted waits
    Origin PostedOrigin;          // who posted it
};

// The fate of the last operator's command to one device or route.
struct TOutcome {
    int32_t Command = 0;            // the code posted
    int32_t Result = kOutcomeNone;  // kOutcome*
    // Plant::Cycles when the result was recorded. A cycle's result (taken, or
    // refused by the cycle) carries that cycle's number; a post's (pending,
    // or a route command refused at the post) carries the number of the last
    // cycle run before it, so the cycle that takes a pending command over is
    // Cycle + 1 at the earliest.
    uint64_t Cycle = 0;
    bool operator==(const TOutcome&) const = default;
};

// One grain route.
struct TRoute {
    std::string Panel;  // name of its entry in the route list ("Route1" ...)
    int32_t Command = 0;
    Origin CommandOrigin;  // who gave Command
    int32_t State = kRouteStopped;
    bool Permitted = false;                  // nothing may start before the start-up fill
    OneBased<int32_t, kRouteSlots> Devices;  // start order; 0 marks an empty slot at the end
    int32_t Position = 0;                    // 1-based index into Devices
    int32_t Step = kStepIdle;                // start or stop sequence step
};

// The whole in-memory picture of the terminal. One instance, owned by the
// console (or by the headless runner); tests create fresh ones.
struct Plant {
    OneBased<TDiscret, kDeviceCount> Dev;
    OneBased<TRoute, kRouteCount> Route;
    OneBased<TFault, kDeviceCount> Faults;  // by device number; never saved
    OneBased<double, kSiloCount> Tank;      // tonnes
    OneBased<bool, kSiloCount> TankOverheat;
    double ShippingMassa = 0.0;  // tonnes loaded onto the vessel since the last reset
    int32_t SelectedDev = 0;     // device whose control panel is open; 0 none
    // The number of the controller cycle under way, or of the last one run.
    // The controller counts a cycle as it begins: the first cycle after the
    // start-up fill is 1, everything cycle N does happens while Cycles is N,
    // and it stays N until cycle N+1 begins. Wraps around after 2^64.
    uint64_t Cycles = 0;
    int64_t Throughput = 0;  // vessel loading in t/h as PanelSpeed shows it; 0 while idle
    OneBased<bool, kWagonCount> WagonOnTrack;  // by wagon place, as the wagon timer moves them
    // What became of the operators' last commands.
    OneBased<TOutcome, kDeviceCount> DeviceOutcome;
    OneBased<TOutcome, kRouteCount> RouteOutcome;
};

// Start-up fill: resets every record and gives the fixed names, kinds, symbols,
// labels, route device lists and the default silo stocks.
void FillDefinitions(Plant& plant);

// The fixed kind of device `dev` (1..18), as the start-up fill gives it; -1
// outside the table.
int32_t DefinedKind(int dev);

// Whether `fault` may be posted to a device of `kind`: a trip to a drive, a
// jam to a valve, none (a clear) to either.
constexpr bool FaultFits(int32_t fault, int32_t kind) {
    return fault == kFaultNone || (fault == kFaultTrip && kind == kKindDrive) ||
           (fault == kFaultJam && kind == kKindValve);
}

// Posts `fault` for device `dev`, replacing one still waiting; the next cycle
// takes it over and names `origin` in its entry. False, and nothing posted,
// for a device outside 1..18 or a fault that does not fit the device.
bool PostFault(Plant& plant, int dev, int32_t fault, const Origin& origin = {});

// The one way to post a device command, for the panel, a Modbus client,
// grain-sim and the route stage alike: `source` is kSourceOperator or
// kSourceRoute, and the command lands in that source's slot, replacing the
// same source's command still pending there. An operator's post is recorded
// as pending in the device's outcome. `origin` says who gave it, for the
// journal's entries of the cycle that takes it over. False, and nothing
// posted, for a device outside 1..18, a code that is no device command, or an
// unknown source.
bool PostCommand(Plant& plant, int dev, int32_t code, int32_t source, const Origin& origin = {});

// The one rule of when a route takes a command, with its reason:
// kOutcomeTaken for a start of a stopped, permitted route and for a stop of a
// running one; kOutcomeRefusedForbidden for a start of a stopped route that
// an active route forbids; kOutcomeRefusedState for anything else.
int32_t RouteVerdict(const TRoute& route, int32_t command);

// Whether route r takes `command` now (RouteVerdict's yes or no). Every poster
// and the route stage's take-over go by it.
bool RouteTakes(const TRoute& route, int32_t command);

// Posts an operator's start or stop for route r when RouteTakes allows it, and
// records it in the route's outcome as pending or refused; false, and nothing
// posted, otherwise (or for a route outside 1..12 or a code that is neither).
bool PostRouteCommand(Plant& plant, int r, int32_t command);
// The same for `source`: kSourceOperator as above, kSourceRoute for the
// controller's own stop at a silo limit, which no outcome records. `origin`
// says who gave it, for the entry of the cycle that takes it over.
bool PostRouteCommand(Plant& plant, int r, int32_t command, int32_t source,
                      const Origin& origin = {});

// Wagons on the unloading track now (0..3).
int WagonsOnTrack(const Plant& plant);

// Caption of route r in the route list, leading blanks included.
const std::string& RouteCaption(int r);

constexpr double kTankCapacity = 15000.0;

}  // namespace plant
