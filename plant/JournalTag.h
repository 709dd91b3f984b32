#pragma once

#include <cstdint>
#include <string_view>

namespace plant {

// What a journal entry reports, beside its text, in a form a program can read.
// The event archive keeps it with the entry and stores these numbers in its
// file (docs/archive.md); an outlet that only shows the entry ignores it.

enum class EntryKind : uint8_t {
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

// What an entry is about, kept as one number: 0 none, 1–18 device 1–18,
// 101–112 route 1–12, 201–204 silo 1–4. A number outside its range gives none.
class EntrySubject {
public:
    constexpr EntrySubject() = default;
    static constexpr EntrySubject Device(int dev) { return Make(dev, 18, 0); }
    static constexpr EntrySubject Route(int r) { return Make(r, 12, 100); }
    static constexpr EntrySubject Silo(int n) { return Make(n, 4, 200); }
    // From a stored code; a code outside the ranges gives none.
    static constexpr EntrySubject FromCode(int code) {
        const EntrySubject made = code <= 100   ? Device(code)
                                  : code <= 200 ? Route(code - 100)
                                                : Silo(code - 200);
        return made.code_ == code ? made : EntrySubject();
    }

    constexpr int Code() const { return code_; }
    constexpr bool IsNone() const { return code_ == 0; }
    constexpr bool IsDevice() const { return code_ >= 1 && code_ <= 18; }
    constexpr bool IsRoute() const { return code_ > 100 && code_ <= 112; }
    constexpr bool IsSilo() const { return code_ > 200; }
    // The device, route or silo number; 0 for none.
    constexpr int Number() const { return code_ % 100; }
    constexpr bool operator==(const EntrySubject&) const = default;

private:
    static constexpr EntrySubject Make(int number, int last, int base) {
        EntrySubject subject;
        if (number >= 1 && number <= last) subject.code_ = static_cast<int16_t>(base + number);
        return subject;
    }
    int16_t code_ = 0;
};

// What JournalTag::detail holds, by kind:
//   CommandTaken, CommandRefused  the command code (kCmd*)
//   StateChange                   the new state (kState*), or
//                                 kModeChange + the new control mode
//   TrainerFault                  the fault taken over (kFaultTrip or
//                                 kFaultJam), kFaultNone when cleared
//   RouteEvent                    a route_event code below
//   SiloZone                      the zone's LevelZone ordinal
//   TemperatureAlarm, ModbusClient  1 raised / connected, 0 back to normal /
//                                 disconnected; 2 a client refused (Allow=)
//   Wagon                         0
//   System                        kStartUp for the program's start, else 0
constexpr int16_t kModeChange = 10;
// The program started: what ran before it ended with its last entry or sample
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

struct JournalTag {
    EntryKind kind = EntryKind::System;
    EntrySubject subject;
    int16_t detail = 0;
    // Who gave the command an entry reports: the user at the panel, "маршрут
    // N", a Modbus client's address, a script line. Empty: none. A view of
    // text that lives at least as long as the Append call.
    std::string_view source;
};

constexpr JournalTag DeviceTag(EntryKind kind, int dev, int detail, std::string_view source = {}) {
    return {kind, EntrySubject::Device(dev), static_cast<int16_t>(detail), source};
}
constexpr JournalTag RouteTag(int r, int16_t event, std::string_view source = {}) {
    return {EntryKind::RouteEvent, EntrySubject::Route(r), event, source};
}
constexpr JournalTag SiloTag(EntryKind kind, int n, int detail) {
    return {kind, EntrySubject::Silo(n), static_cast<int16_t>(detail), {}};
}
constexpr JournalTag SystemTag(EntryKind kind = EntryKind::System, int detail = 0,
                               std::string_view source = {}) {
    return {kind, EntrySubject(), static_cast<int16_t>(detail), source};
}

}  // namespace plant
