#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "archive/Entry.h"
#include "plant/Plant.h"

namespace archive {

class Reader;

// A device's state as an entry changed it: a state change (its detail the new
// state), or a drive's trip (kind TrainerFault), which stops the drive.
struct StateSeen {
    int64_t utcMs = 0;
    Kind kind = Kind::StateChange;
    int detail = 0;
    bool operator==(const StateSeen&) const = default;
};

// What the archive says of one device over a range of time (docs/archive.md,
// "Equipment figures"). Durations in milliseconds.
struct DeviceFigures {
    int device = 0;      // 1–18
    bool valve = false;  // a gate valve; else a drive
    // Drives.
    int64_t runningMs = 0;
    int starts = 0;
    // Gate valves.
    int strokes = 0;  // full strokes: from one end position to the other
    int64_t openMs = 0;
    // Every device.
    int commandsTaken = 0;
    int commandsRefused = 0;
    int faults = 0;  // trainer faults: trips and jams
    int64_t alarmMs = 0;
    // The newest change of state up to the range's end, also before the range.
    std::optional<StateSeen> lastChange;
    bool operator==(const DeviceFigures&) const = default;
};

struct EquipmentFigures {
    int64_t fromMs = 0;
    int64_t toMs = 0;
    std::array<DeviceFigures, plant::kDeviceCount> devices{};
    std::string error;  // the file could not be read; the figures are incomplete

    // A valve's time open as a share of the range, 0–1.
    double OpenShare(const DeviceFigures& figures) const;
};

// The figures of the 18 devices from `fromMs` on and before `toMs`, read from
// the entries of each device and the program's start-ups.
EquipmentFigures ReadEquipmentFigures(Reader& reader, int64_t fromMs, int64_t toMs);

}  // namespace archive
