#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "plant/Outlets.h"

namespace archive {

// What a journal entry reports. The numbers are the codes stored in the file.
enum class Kind : uint8_t {
    CommandTaken = 1,
    CommandRefused = 2,
    StateChange = 3,
    RouteEvent = 4,
    SiloZone = 5,
    TemperatureAlarm = 6,
    Wagon = 7,
    TrainerFault = 8,
    ModbusClient = 9,
    System = 10,
};
constexpr int kFirstKind = 1;
constexpr int kLastKind = 10;

// What an entry is about, kept as one number: 0 none, 1–18 device 1–18,
// 101–112 route 1–12, 201–204 silo 1–4. A number outside its range gives none.
class Subject {
public:
    constexpr Subject() = default;
    static constexpr Subject Device(int dev) { return Make(dev, 18, 0); }
    static constexpr Subject Route(int r) { return Make(r, 12, 100); }
    static constexpr Subject Silo(int n) { return Make(n, 4, 200); }
    // From a stored code; a code outside the ranges gives none.
    static constexpr Subject FromCode(int code) {
        const Subject made = code <= 100   ? Device(code)
                             : code <= 200 ? Route(code - 100)
                                           : Silo(code - 200);
        return made.code_ == code ? made : Subject();
    }

    constexpr int Code() const { return code_; }
    constexpr bool IsNone() const { return code_ == 0; }
    constexpr bool IsDevice() const { return code_ >= 1 && code_ <= 18; }
    constexpr bool IsRoute() const { return code_ > 100 && code_ <= 112; }
    constexpr bool IsSilo() const { return code_ > 200; }
    // The device, route or silo number; 0 for none.
    constexpr int Number() const { return code_ % 100; }
    constexpr bool operator==(const Subject&) const = default;

private:
    static constexpr Subject Make(int number, int last, int base) {
        Subject subject;
        if (number >= 1 && number <= last) subject.code_ = static_cast<int16_t>(base + number);
        return subject;
    }
    int16_t code_ = 0;
};

// A moment: UTC milliseconds since 1970, and the local time's offset from UTC
// then, in minutes (+180 for Moscow time).
struct Stamp {
    int64_t utcMs = 0;
    int16_t offsetMinutes = 0;
    constexpr bool operator==(const Stamp&) const = default;
};

// The system clock and the local time zone now.
Stamp LocalNow();

// What Entry::detail holds, by kind (docs/archive.md):
//   CommandTaken, CommandRefused  the command code (plant::kCmd*)
//   StateChange                   the new state (plant::kState*), or
//                                 kModeChange + the new control mode
//   TrainerFault                  the fault taken over (plant::kFaultTrip or
//                                 kFaultJam), plant::kFaultNone when cleared
//   RouteEvent                    a RouteEvent code below
//   SiloZone                      the zone's plant::LevelZone ordinal
//   TemperatureAlarm, ModbusClient  1 raised / connected, 0 back to normal /
//                                 disconnected
//   Wagon                         0
//   System                        kStartUp for the program's start, else 0
constexpr int16_t kModeChange = 10;
// The program started: what ran before it ended with the last entry or sample
// before this one.
constexpr int16_t kStartUp = 1;
namespace route_event {
constexpr int16_t kStartCommand = 1;
constexpr int16_t kStopCommand = 2;
constexpr int16_t kStarted = 3;
constexpr int16_t kStopped = 4;
constexpr int16_t kStartRefused = 5;
constexpr int16_t kFaultStop = 6;
}  // namespace route_event

// One journal entry as the host hands it over. The texts are only looked at
// during the call, so the host may pass views of its own buffers.
struct Entry {
    Stamp time;
    plant::JournalColour colour = plant::JournalColour::Default;
    Kind kind = Kind::System;
    Subject subject;
    int16_t detail = 0;
    // The body exactly as the journal shows it after the time stamp: it starts
    // with a blank and breaks lines with CR TAB.
    std::string_view text;
    // Who gave a command: the user of the status bar, "маршрут N", a Modbus
    // client's address, a script line. Empty: none.
    std::string_view source;
};

// The plant at one moment, for trends. Tonnes, and tonnes per hour; the file
// keeps them to a tenth.
struct Sample {
    Stamp time;
    std::array<double, 4> silo{};  // stock of silos 1–4
    double total = 0.0;            // stock of the four together
    double throughput = 0.0;       // vessel loading, t/h
    double shipped = 0.0;          // shipped to the vessel since the last reset
    double unloading = 0.0;        // in the wagons under unloading
};

}  // namespace archive
