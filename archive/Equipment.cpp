#include "archive/Equipment.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "archive/Reader.h"
#include "plant/Controller.h"

namespace archive {

namespace {

constexpr int kUnknown = -1;
constexpr uint32_t kPositions = DetailBit(plant::kStateOpen) |
                                DetailBit(plant::kStateIntermediate) |
                                DetailBit(plant::kStateClosed);
constexpr uint32_t kEnds = DetailBit(plant::kStateOpen) | DetailBit(plant::kStateClosed);
constexpr uint32_t kFaults = DetailBit(plant::kFaultTrip) | DetailBit(plant::kFaultJam);

// A run of the program that wrote the archive ended at `endMs` (its last
// entry or sample) and the next one started at `startMs`. In between the plant
// stood still: no time counts, and the alarms were gone after the start.
struct Restart {
    int64_t endMs = 0;
    int64_t startMs = 0;
};

// The figures of one device, counted while its entries go by in time order.
class Counter {
public:
    Counter(int device, int64_t fromMs, int64_t toMs) : fromMs_(fromMs), toMs_(toMs), at_(fromMs) {
        figures_.device = device;
        figures_.valve = plant::DefinedKind(device) == plant::kKindValve;
    }

    // What held when the range began.
    void StartWith(const std::optional<StateSeen>& state, int lastEnd, bool alarm) {
        figures_.lastChange = state;
        if (state) Apply(*state, false);
        if (figures_.valve && lastEnd != kUnknown) lastEnd_ = lastEnd;
        alarm_ = alarm;
    }

    void Take(const SubjectEvent& event) {
        switch (event.kind) {
            case Kind::StateChange:
                if (event.detail >= kModeChange) return;  // the control mode, not the state
                // The plant reports a drive running or stopped in the cycle
                // after it got there; its trip, in the cycle it stops it.
                Advance(figures_.valve ? event.utcMs : event.utcMs - plant::kEmulatorIntervalMs);
                Apply({event.utcMs, event.kind, event.detail}, true);
                figures_.lastChange = StateSeen{event.utcMs, event.kind, event.detail};
                return;
            case Kind::TrainerFault:
                if (event.detail != plant::kFaultTrip && event.detail != plant::kFaultJam) return;
                Advance(event.utcMs);
                ++figures_.faults;
                alarm_ = true;
                if (!figures_.valve && event.detail == plant::kFaultTrip) {
                    running_ = false;
                    figures_.lastChange = StateSeen{event.utcMs, event.kind, event.detail};
                }
                return;
            case Kind::CommandTaken:
                ++figures_.commandsTaken;
                // Taken only once the fault is cleared: the alarm ends with it.
                if (event.detail == plant::kCmdReset) {
                    Advance(event.utcMs);
                    alarm_ = false;
                }
                return;
            case Kind::CommandRefused:
                ++figures_.commandsRefused;
                return;
            default:
                return;
        }
    }

    void Stopped(int64_t endMs) {
        Advance(endMs);
        off_ = true;
        alarm_ = false;
    }
    void Started(int64_t startMs) {
        Advance(startMs);
        off_ = false;
        alarm_ = false;
    }

    DeviceFigures Finish() {
        Advance(toMs_);
        return figures_;
    }

private:
    // Counts the time up to `ms` (within the range) in the state that held.
    void Advance(int64_t ms) {
        const int64_t until = std::clamp(ms, fromMs_, toMs_);
        if (until <= at_) return;
        const int64_t span = until - at_;
        at_ = until;
        if (off_) return;
        if (running_) figures_.runningMs += span;
        if (position_ == plant::kStateOpen) figures_.openMs += span;
        if (alarm_) figures_.alarmMs += span;
    }

    // A new state; `count` for a change within the range.
    void Apply(const StateSeen& state, bool count) {
        if (state.kind == Kind::TrainerFault) {
            running_ = false;
            return;
        }
        if (!figures_.valve) {
            // A drive journals "ВКЛЮЧЕНО" again when switched on while running:
            // no new start.
            const bool running = state.detail == plant::kStateRun;
            if (count && running && !running_) ++figures_.starts;
            running_ = running;
            return;
        }
        position_ = state.detail;
        if (state.detail == plant::kStateOpen || state.detail == plant::kStateClosed) {
            if (count && lastEnd_ != kUnknown && lastEnd_ != state.detail) ++figures_.strokes;
            lastEnd_ = state.detail;
        }
    }

    DeviceFigures figures_;
    const int64_t fromMs_;
    const int64_t toMs_;
    int64_t at_;
    bool off_ = false;
    bool running_ = false;
    int position_ = kUnknown;
    int lastEnd_ = kUnknown;
    bool alarm_ = false;
};

// The program's start-ups that matter to the range: those in it, and the first
// after it, whose run before may have ended inside it.
std::string ReadRestarts(Reader& reader, int64_t fromMs, int64_t toMs,
                         std::vector<Restart>& restarts) {
    std::vector<int64_t> starts;
    std::string error = reader.SubjectEvents(
        Subject(), KindBit(Kind::System), fromMs, toMs, [&](const SubjectEvent& event) {
            if (event.detail == kStartUp) starts.push_back(event.utcMs);
        });
    if (!error.empty()) return error;
    const EventCodes startUp[] = {{Kind::System, DetailBit(kStartUp)}};
    std::optional<SubjectEvent> next;
    error = reader.NearestSubjectEvent(Subject(), startUp, toMs, false, next);
    if (!error.empty()) return error;
    if (next) starts.push_back(next->utcMs);
    for (const int64_t start : starts) {
        std::optional<int64_t> end;
        error = reader.LastRecordBefore(start, end);
        if (!error.empty()) return error;
        if (end) restarts.push_back({*end, start});
    }
    return {};
}

// What held for device `dev` when the range began: its state, a valve's last
// end position, and whether it was in alarm (a start-up since the fault ends
// the alarm).
std::string ReadStart(Reader& reader, int dev, int64_t fromMs, Counter& counter) {
    const Subject device = Subject::Device(dev);
    const bool valve = plant::DefinedKind(dev) == plant::kKindValve;
    std::optional<SubjectEvent> found;

    const EventCodes driveState[] = {{Kind::StateChange, kPositions},
                                     {Kind::TrainerFault, DetailBit(plant::kFaultTrip)}};
    const EventCodes valveState[] = {{Kind::StateChange, kPositions}};
    std::string error = reader.NearestSubjectEvent(
        device, valve ? std::span<const EventCodes>(valveState) : driveState, fromMs, true, found);
    if (!error.empty()) return error;
    std::optional<StateSeen> state;
    if (found) state = StateSeen{found->utcMs, found->kind, found->detail};

    int lastEnd = kUnknown;
    if (valve && state) {
        if (state->detail != plant::kStateIntermediate) {
            lastEnd = state->detail;
        } else {
            const EventCodes ends[] = {{Kind::StateChange, kEnds}};
            error = reader.NearestSubjectEvent(device, ends, fromMs, true, found);
            if (!error.empty()) return error;
            if (found) lastEnd = found->detail;
        }
    }

    const EventCodes alarmEdges[] = {{Kind::TrainerFault, kFaults},
                                     {Kind::CommandTaken, DetailBit(plant::kCmdReset)}};
    error = reader.NearestSubjectEvent(device, alarmEdges, fromMs, true, found);
    if (!error.empty()) return error;
    bool alarm = found && found->kind == Kind::TrainerFault;
    if (alarm) {
        const int64_t faultMs = found->utcMs;
        const EventCodes startUp[] = {{Kind::System, DetailBit(kStartUp)}};
        error = reader.NearestSubjectEvent(Subject(), startUp, fromMs, true, found);
        if (!error.empty()) return error;
        alarm = !found || found->utcMs < faultMs;
    }
    counter.StartWith(state, lastEnd, alarm);
    return {};
}

constexpr unsigned kDeviceKinds = KindBit(Kind::CommandTaken) | KindBit(Kind::CommandRefused) |
                                  KindBit(Kind::StateChange) | KindBit(Kind::TrainerFault);

}  // namespace

double EquipmentFigures::OpenShare(const DeviceFigures& figures) const {
    return toMs > fromMs ? static_cast<double>(figures.openMs) / static_cast<double>(toMs - fromMs)
                         : 0.0;
}

EquipmentFigures ReadEquipmentFigures(Reader& reader, int64_t fromMs, int64_t toMs) {
    EquipmentFigures result;
    result.fromMs = fromMs;
    result.toMs = std::max(fromMs, toMs);
    std::vector<Restart> restarts;
    result.error = ReadRestarts(reader, fromMs, result.toMs, restarts);
    for (int dev = 1; dev <= plant::kDeviceCount && result.error.empty(); ++dev) {
        Counter counter(dev, fromMs, result.toMs);
        result.error = ReadStart(reader, dev, fromMs, counter);
        if (!result.error.empty()) break;
        // The device's entries and the restarts, merged in time order; an
        // entry at the moment a run ended still belongs to that run.
        auto restart = restarts.begin();
        auto restartsBefore = [&](int64_t ms) {
            for (; restart != restarts.end() && restart->endMs < ms; ++restart) {
                counter.Stopped(restart->endMs);
                counter.Started(restart->startMs);
            }
        };
        result.error = reader.SubjectEvents(Subject::Device(dev), kDeviceKinds, fromMs,
                                            result.toMs, [&](const SubjectEvent& event) {
                                                restartsBefore(event.utcMs);
                                                counter.Take(event);
                                            });
        restartsBefore(INT64_MAX);
        result.devices[static_cast<std::size_t>(dev - 1)] = counter.Finish();
    }
    return result;
}

}  // namespace archive
