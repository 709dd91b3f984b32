#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "plant/Controller.h"
#include "plant/MemoryDiagram.h"
#include "plant/Outlets.h"
#include "plant/Plant.h"

namespace plant_test {

// Drives a plant with a seeded random mix of what an operator does (device
// commands, route starts and stops through the route list, late answers to the
// route question, resets of the shipped total) and, with `faults`, what an
// instructor does (trips, jams and clears), and checks the plant's invariants
// after every controller cycle. Header-only: the soak test and the 24-hour
// benchmark share it.
class SoakDriver {
public:
    explicit SoakDriver(uint32_t seed, bool faults = false)
        : dice_(seed), random_(seed ^ 0x5a5a5a5aU), faults_(faults) {
        plant::FillDefinitions(plant);
    }

    // One operator moment and one controller cycle; false once an invariant broke.
    bool Step() {
        if (!failure_.empty()) return false;
        Operate();
        const Snapshot before = Take();
        controller_.EmulatorTick();
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

    // A route left alone starts or stops within this many cycles: at most five
    // devices, each at most a valve's full travel and the four steps around it.
    static constexpr long kLongestSequence = plant::kRouteSlots * 35 + 2;

    plant::Plant plant;

private:
    struct CountingJournal : plant::JournalOutlet {
        void Append(const std::string& body, plant::JournalColour) override {
            ++count;
            if (body.empty() || body[0] != ' ') badBody = true;
            if (body.find("Аварийный останов маршрута") != std::string::npos) ++faultStops;
        }
        long count = 0;
        long faultStops = 0;
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

    void Operate() {
        static constexpr int32_t kButtons[] = {
            plant::kCmdOpen,  plant::kCmdClose,  plant::kCmdStop,   plant::kCmdReset,
            plant::kCmdLocal, plant::kCmdRemote, plant::kCmdRemote, plant::kCmdRepair};
        if (Roll(20) == 0) {
            // With faults the operator keeps off the devices of an active route,
            // so that every sequence is timed.
            const int d = 1 + Roll(plant::kDeviceCount);
            if (!faults_ || !InActiveRoute(d)) {
                plant.Dev[d].Command = kButtons[Roll(8)];
                MarkInterference(d);
            }
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
            plant::TRoute& route = plant.Route[r];
            if (route.State == plant::kRouteStopped && route.Permitted) {
                route.Command = plant::kRouteCmdStart;
                ++routeStarts_;
            } else if (route.State == plant::kRouteRunning) {
                route.Command = plant::kRouteCmdStop;
            }
        }
        if (Roll(1000) == 0) {
            // An answer given after the route changed while the question was open.
            plant.Route[1 + Roll(plant::kRouteCount)].Command = 1 + Roll(2);
        }
        if (Roll(20000) == 0) plant.ShippingMassa = 0;
    }

    static bool Holds(const plant::TRoute& route, int device) {
        for (const int32_t d : route.Devices) {
            if (d == device) return true;
        }
        return false;
    }

    bool InActiveRoute(int device) const {
        for (const plant::TRoute& route : plant.Route) {
            if (route.State != plant::kRouteStopped && Holds(route, device)) return true;
        }
        return false;
    }

    // An operator command to a device of a starting or stopping route can hold
    // its sequence for ever, as on the real plant (the operator has taken the
    // device over, or overwritten the route's command); such a sequence is not
    // timed.
    void MarkInterference(int device) {
        for (int r = 1; r <= plant::kRouteCount; ++r) {
            const plant::TRoute& route = plant.Route[r];
            const bool sequence =
                route.State == plant::kRouteStarting || route.State == plant::kRouteStopping;
            if (sequence && Holds(route, device)) interfered_[r - 1] = true;
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
            const bool sequence =
                route.State == plant::kRouteStarting || route.State == plant::kRouteStopping;
            if (!sequence) interfered_[r - 1] = false;
            busy_[r - 1] = sequence && !interfered_[r - 1] ? busy_[r - 1] + 1 : 0;
            if (busy_[r - 1] > kLongestSequence) {
                Fail(who + " stuck in state " + std::to_string(route.State) + " at step " +
                     std::to_string(route.Step));
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
    }

    std::mt19937 dice_;
    plant::MemoryDiagram diagram_;
    CountingJournal journal_;
    SilentSound sound_;
    SeededRandom random_;
    plant::Controller controller_{plant, {diagram_, journal_, sound_, random_}};
    bool faults_;
    std::string failure_;
    long ticks_ = 0;
    long routeStarts_ = 0;
    long faultsPosted_ = 0;
    // Per route: cycles of its current start or stop sequence, and whether the
    // operator has taken one of its devices over during it.
    std::array<long, plant::kRouteCount> busy_{};
    std::array<bool, plant::kRouteCount> interfered_{};
};

}  // namespace plant_test
