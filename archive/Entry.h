#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "plant/Outlets.h"
#include "plant/Plant.h"

namespace archive {

// What a journal entry reports and what it is about: the plant's tag types
// (plant/JournalTag.h), whose numbers are the codes stored in the file.
using Kind = plant::EntryKind;
constexpr int kFirstKind = 1;
constexpr int kLastKind = 10;
using Subject = plant::EntrySubject;

// A moment: UTC milliseconds since 1970, and the local time's offset from UTC
// then, in minutes (+180 for Moscow time).
struct Stamp {
    int64_t utcMs = 0;
    int16_t offsetMinutes = 0;
    constexpr bool operator==(const Stamp&) const = default;
};

// The system clock and the local time zone now.
Stamp LocalNow();

// What Entry::detail holds, by kind: see plant/JournalTag.h.
using plant::kModeChange;
using plant::kStartUp;
namespace route_event = plant::route_event;

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

// The entry a journal outlet hands over for one tagged Append.
constexpr Entry TaggedEntry(const Stamp& time, std::string_view text, plant::JournalColour colour,
                            const plant::JournalTag& tag) {
    return {time, colour, tag.kind, tag.subject, tag.detail, text, tag.source};
}

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

// The plant's sample at `time`.
Sample SampleOf(const plant::Plant& plant, const Stamp& time);

}  // namespace archive
