#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "modbus/PlantExchange.h"
#include "modbus/PlantRegisters.h"
#include "plant/Controller.h"
#include "plant/MemoryDiagram.h"
#include "plant/Outlets.h"
#include "plant/Plant.h"

namespace plant_test {

// Drives a plant with a seeded random mix of what an operator does (device
// commands, route starts and stops through the route list, late answers to the
// route question, resets of the shipped total) and, with `faults`, what an
// instructor does (trips, jams and clears), and checks the plant's invariants
// after every controller cycle. The operator's commands come as the device
// panel and the route list post them and as a Modbus client writes them, at
// any device at any time, and most often at the devices of a route that is
// starting or stopping. Header-only: the soak test and the 24-hour benchmark
// share it.
class SoakDriver {
public:
    explicit SoakDriver(uint32_t seed, bool faults = false)
        : dice_(seed), random_(seed ^ 0x5a5a5a5aU), faults_(faults) {
        plant::FillDefinitions(plant);
        exchange_.Publish();
    }

    // One operator moment and one controller cycle; false once an invariant broke.
    bool Step() {
        if (!failure_.empty()) return false;
        Operate();
        const Snapshot before = Take();
        // As the console runs a cycle: the Modbus writes in, the cycle, the image out.
        exchange_.TakeCommands();
        controller_.EmulatorTick();
        exchange_.Publish();
        ++ticks_;
        Check(before);
        return failure_.empty();
    }

    const std::string& Failure() const { return failure_; }
    long Ticks() const { return ticks_; }
    long Entries() const { return journal_.count; }
    long RouteStarts() const { return routeStarts_; }
    long FaultsPosted() const { return faultsPosted_; }
    // Routes that stopped themselves because of a fault.
    long FaultStops() const { return journal_.faultStops; }
    // Operator's commands refused because the device was in Auto mode or
    // held by a route.
    long AutoRefusals() const { return journal_.autoRefusals; }
    // Start and stop sequences that ended and had their devices checked.
    long SequenceEnds() const { return sequenceEnds_; }

    // A route starts or stops within this many cycles, whatever the operator
    // does meanwhile: at most five devices, each at most a valve's full travel
    // and the four steps around it.
    static constexpr long kLongestSequence = plant::kRouteSlots * 35 + 2;

    plant::Plant plant;

private:
    struct CountingJournal : plant::JournalOutlet {
        void Append(const std::string& body, plant::JournalColour) override {
            ++count;
            if (body.empty() || body[0] != ' ') badBody = true;
            if (body.find("Аварийный останов маршрута") != std::string::npos) ++faultStops;
            if (body.find("устройство в автоматическом") != std::string::npos) ++autoRefusals;
        }
        long count = 0;
        long faultStops = 0;
        long autoRefusals = 0;
        bool badBody = false;
    };
    struct SilentSound : plant::SoundOutlet {
        void Play(const std::string&) override {}
        bool SoundOn() const override { return true; }
    };
    struct SeededRandom : plant::RandomOutlet {
        explicit SeededRandom(uint32_t seed) : engine(seed) {}
        int Next(int bound) override {
            return std::uniform_int_distribution<int>(0, bound - 1)(engine);
        }
        std::mt19937 engine;
    };
    struct Snapshot {
        std::array<double, plant::kSiloCount> stock;
        std::array<bool, plant::kSiloCount> siloRouteRunning;
        double shipped;
        std::array<int32_t, plant::kDeviceCount> angle;
    };

    int Roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(dice_); }

    // An operator's device command, from the panel or from a Modbus client.
    void PostDevice(int d, int32_t code) {
        if (Roll(2) == 0) {
            // As DevicePanel posts a button's code.
            if (!plant::PostCommand(plant, d, code, plant::kSourceOperator)) {
                Fail("panel command refused");
            }
        } else {
            const uint16_t value[] = {static_cast<uint16_t>(code)};
            if (registers_.WriteHoldingRegisters(modbus::layout::kDeviceCommands + d - 1, value) !=
                modbus::Exception::None) {
                Fail("Modbus device command refused");
            }
        }
    }

    // An operator's route command, from the route list or from a Modbus
    // client; both post only what the route takes now.
    bool PostRoute(int r, int32_t command) {
        if (Roll(2) == 0) return plant::PostRouteCommand(plant, r, command);
        const uint16_t value[] = {static_cast<uint16_t>(command)};
        return registers_.WriteHoldingRegisters(modbus::layout::kRouteCommands + r - 1, value) ==
               modbus::Exception::None;
    }

    void Operate() {
        static constexpr int32_t kButtons[] = {
            plant::kCmdOpen,  plant::kCmdClose,  plant::kCmdStop,   plant::kCmdReset,
            plant::kCmdLocal, plant::kCmdRemote, plant::kCmdRemote, plant::kCmdRepair};
        if (Roll(20) == 0) PostDevice(1 + Roll(plant::kDeviceCount), kButtons[Roll(8)]);
        // A device of a route that is starting or stopping, mostly with a
        // motion command.
        if (const int r = SequencingRoute(); r != 0 && Roll(8) == 0) {
            const plant::TRoute& route = plant.Route[r];
            const int d = route.Devices[1 + Roll(plant::kRouteSlots)];
            if (d != 0) PostDevice(d, Roll(4) == 0 ? kButtons[Roll(8)] : kButtons[Roll(3)]);
        }
        if (faults_ && Roll(400) == 0) {
            // An instructor trips a drive or jams a valve, or clears a fault.
            const int d = 1 + Roll(plant::kDeviceCount);
            const int32_t fault = Roll(2) == 0                             ? plant::kFaultNone
                                  : plant.Dev[d].Kind == plant::kKindDrive ? plant::kFaultTrip
                                                                           : plant::kFaultJam;
            if (!plant::PostFault(plant, d, fault)) Fail("fault refused for its own kind");
            ++faultsPosted_;
        }
        if (Roll(100) == 0) {
            // A click on the route list answered yes.
            const int r = 1 + Roll(plant::kRouteCount);
            const plant::TRoute& route = plant.Route[r];
            if (route.State == plant::kRouteStopped && route.Permitted) {
                if (!PostRoute(r, plant::kRouteCmdStart))
                    Fail("start of a permitted route refused");
                ++routeStarts_;
            } else if (route.State == plant::kRouteRunning) {
                if (!PostRoute(r, plant::kRouteCmdStop)) Fail("stop of a running route refused");
            }
        }
        if (Roll(1000) == 0) {
            // An answer given after the route changed while the question was open.
            PostRoute(1 + Roll(plant::kRouteCount), 1 + Roll(2));
        }
        if (Roll(20000) == 0) plant.ShippingMassa = 0;
    }

    // A route that is starting or stopping, 0 for none.
    int SequencingRoute() {
        const int first = 1 + Roll(plant::kRouteCount);
        for (int k = 0; k < plant::kRouteCount; ++k) {
            const int r = 1 + (first - 1 + k) % plant::kRouteCount;
            const int32_t state = plant.Route[r].State;
            if (state == plant::kRouteStarting || state == plant::kRouteStopping) return r;
        }
        return 0;
    }

    // Devices (bit d) that the operator moved or changed in the cycle just run
    // (a command of theirs taken over, or still running), or that had a fault.
    uint32_t OperatorOrFaultDevices() const {
        uint32_t bits = 0;
        for (int d = 1; d <= plant::kDeviceCount; ++d) {
            const plant::TDiscret& dev = plant.Dev[d];
            const plant::TOutcome& outcome = plant.DeviceOutcome[d];
            const bool taken =
                outcome.Result == plant::kOutcomeTaken && outcome.Cycle == plant.Cycles;
            const bool running =
                dev.ActiveCommand != plant::kCmdNone && dev.ActiveSource == plant::kSourceOperator;
            if (taken || running || plant.Faults[d].Kind != plant::kFaultNone) bits |= 1u << d;
        }
        return bits;
    }

    // A sequence that ends leaves the devices it worked on as it wanted them,
    // unless the operator or a fault had them meanwhile: a start leaves every
    // device in Auto mode and open or running, a stop every device from where
    // it began back in Remote mode and closed or stopped.
    void CheckSequenceEnd(int r, int32_t from, int32_t to) {
        const plant::TRoute& route = plant.Route[r];
        const bool started = from == plant::kRouteStarting && to == plant::kRouteRunning;
        const bool stopped = from == plant::kRouteStopping && to == plant::kRouteStopped;
        if (!started && !stopped) return;
        ++sequenceEnds_;
        const int32_t last = started ? plant::kRouteSlots : stopFrom_[r - 1];
        for (int slot = 1; slot <= last; ++slot) {
            const int d = route.Devices[slot];
            if (d == 0 || (touched_[r - 1] & (1u << d)) != 0) continue;
            const plant::TDiscret& dev = plant.Dev[d];
            const int32_t mode = started ? plant::kModeAuto : plant::kModeRemote;
            const int32_t state = started ? plant::kStateOpen : plant::kStateClosed;
            if (dev.Mode != mode || dev.State != state) {
                Fail("route " + std::to_string(r) + (started ? " started" : " stopped") +
                     " with device " + std::to_string(d) + " in mode " + std::to_string(dev.Mode) +
                     ", state " + std::to_string(dev.State));
            }
        }
    }

    // Times each start and stop sequence and checks how it ends.
    void FollowSequences() {
        const uint32_t taken = OperatorOrFaultDevices();
        for (int r = 1; r <= plant::kRouteCount; ++r) {
            const plant::TRoute& route = plant.Route[r];
            const int32_t from = lastState_[r - 1];
            const int32_t to = route.State;
            lastState_[r - 1] = to;
            const auto sequence = [](int32_t state) {
                return state == plant::kRouteStarting || state == plant::kRouteStopping;
            };
            if (sequence(to) && !sequence(from)) touched_[r - 1] = 0;
            if (to == plant::kRouteStopping && from != plant::kRouteStopping) {
                stopFrom_[r - 1] = route.Position;
            }
            if (sequence(to) || sequence(from)) touched_[r - 1] |= taken;
            CheckSequenceEnd(r, from, to);
            busy_[r - 1] = sequence(to) && to == from ? busy_[r - 1] + 1 : sequence(to) ? 1 : 0;
            if (busy_[r - 1] > kLongestSequence) {
                Fail("route " + std::to_string(r) + " stuck in state " + std::to_string(to) +
                     " at step " + std::to_string(route.Step));
            }
        }
    }

    Snapshot Take() const {
        Snapshot s{};
        for (int i = 1; i <= plant::kDeviceCount; ++i) s.angle[i - 1] = plant.Dev[i].Ungle;
        for (int n = 1; n <= plant::kSiloCount; ++n) {
            s.stock[n - 1] = plant.Tank[n];
            s.siloRouteRunning[n - 1] = plant.Route[n].State == plant::kRouteRunning ||
                                        plant.Route[n + 4].State == plant::kRouteRunning ||
                                        plant.Route[n + 8].State == plant::kRouteRunning;
        }
        s.shipped = plant.ShippingMassa;
        return s;
    }

    void Fail(const std::string& what) {
        if (failure_.empty()) failure_ = "tick " + std::to_string(ticks_) + ": " + what;
    }

    static bool KnownCommand(int32_t c) {
        return c == plant::kCmdNone || c == plant::kCmdOpen || c == plant::kCmdClose ||
               c == plant::kCmdStop || c == plant::kCmdReset ||
               (c >= plant::kCmdLocal && c <= plant::kCmdRepair);
    }

    void Check(const Snapshot& before) {
        for (int i = 1; i <= plant::kDeviceCount; ++i) {
            const plant::TDiscret& d = plant.Dev[i];
            const std::string who = "device " + std::to_string(i);
            if (d.Mode < 0 || d.Mode > 3) Fail(who + " mode " + std::to_string(d.Mode));
            if (d.State < 0 || d.State > 2) Fail(who + " state " + std::to_string(d.State));
            if (d.Kind == plant::kKindValve && (d.Ungle < 0 || d.Ungle > 90)) {
                Fail(who + " angle " + std::to_string(d.Ungle));
            }
            if (d.Kind == plant::kKindDrive && d.Ungle != 0) Fail(who + " drive with an angle");
            if (!KnownCommand(d.ActiveCommand)) Fail(who + " active command");
            if (d.CommandStep < 0 || d.CommandStep > 1) Fail(who + " command step");
            const plant::TFault& f = plant.Faults[i];
            if (f.Kind != plant::kFaultNone && d.ErrorText.empty())
                Fail(who + " fault without alarm");
            if (f.Kind == plant::kFaultTrip && d.State != plant::kStateStop)
                Fail(who + " tripped but not stopped");
            if (f.Kind == plant::kFaultJam && d.Ungle != before.angle[i - 1])
                Fail(who + " jammed but moved");
        }
        std::array<int, plant::kDeviceCount + 1> owner{};
        for (int r = 1; r <= plant::kRouteCount; ++r) {
            const plant::TRoute& route = plant.Route[r];
            const std::string who = "route " + std::to_string(r);
            if (route.State < 0 || route.State > 3) Fail(who + " state");
            const bool startStep = route.Step >= 0 && route.Step <= 5;
            const bool stopStep = route.Step >= 11 && route.Step <= 14;
            if (!startStep && !stopStep) Fail(who + " step " + std::to_string(route.Step));
            if (route.Position < 0 || route.Position > plant::kRouteSlots + 1) {
                Fail(who + " position " + std::to_string(route.Position));
            }
            if ((route.State == plant::kRouteStopped || route.State == plant::kRouteRunning) &&
                route.Step != 0) {
                Fail(who + " idle with step " + std::to_string(route.Step));
            }
            if (route.State == plant::kRouteStopped) continue;
            for (int slot = 1; slot <= plant::kRouteSlots; ++slot) {
                const int d = route.Devices[slot];
                if (d == 0) continue;
                if (owner[d] != 0) {
                    Fail(who + " shares device " + std::to_string(d) + " with route " +
                         std::to_string(owner[d]));
                }
                owner[d] = r;
            }
        }
        for (int n = 1; n <= plant::kSiloCount; ++n) {
            if (plant.Tank[n] != before.stock[n - 1] && !before.siloRouteRunning[n - 1]) {
                Fail("silo " + std::to_string(n) + " stock changed with no route running");
            }
        }
        if (plant.ShippingMassa < before.shipped && plant.ShippingMassa != 0) {
            Fail("shipped total went down");
        }
        if (journal_.badBody) Fail("journal body without its leading blank");
        FollowSequences();
    }

    std::mt19937 dice_;
    plant::MemoryDiagram diagram_;
    CountingJournal journal_;
    SilentSound sound_;
    SeededRandom random_;
    plant::Controller controller_{plant, {diagram_, journal_, sound_, random_}};
    modbus::PlantExchange exchange_{plant};
    modbus::PlantRegisters registers_{exchange_};
    bool faults_;
    std::string failure_;
    long ticks_ = 0;
    long routeStarts_ = 0;
    long faultsPosted_ = 0;
    long sequenceEnds_ = 0;
    // Per route: its state after the last cycle; cycles of its current start
    // or stop sequence; devices (bit d) the operator or a fault had during it;
    // and the slot its stop sequence began from.
    std::array<int32_t, plant::kRouteCount> lastState_{};
    std::array<long, plant::kRouteCount> busy_{};
    std::array<uint32_t, plant::kRouteCount> touched_{};
    std::array<int32_t, plant::kRouteCount> stopFrom_{};
};

}  // namespace plant_test
