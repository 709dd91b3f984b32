#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/Entry.h"

namespace archive {

class Db;

constexpr unsigned ColourBit(plant::JournalColour colour) {
    return 1u << static_cast<unsigned>(colour);
}
constexpr unsigned KindBit(Kind kind) {
    return 1u << static_cast<unsigned>(kind);
}
constexpr unsigned kAllColours = 0b111;
constexpr unsigned kAllKinds = ((1u << (kLastKind + 1)) - 1) & ~((1u << kFirstKind) - 1);

// Which entries a query takes. Every condition must hold.
struct Filter {
    int64_t fromMs = std::numeric_limits<int64_t>::min();  // from this UTC time on
    int64_t toMs = std::numeric_limits<int64_t>::max();    // before this one
    unsigned colours = kAllColours;                        // ColourBit()s
    unsigned kinds = kAllKinds;                            // KindBit()s
    std::optional<Subject> subject;                        // this subject alone (none: any)
    std::string text;  // a part of the text, in any case; empty: any text
};

// One entry as the file holds it.
struct Row {
    int64_t id = 0;  // the order entries reached the file in; never reused
    Stamp time;
    plant::JournalColour colour = plant::JournalColour::Default;
    Kind kind = Kind::System;
    Subject subject;
    int detail = 0;
    std::string text;
    std::string source;
};

// Where a page of entries, newest first, ends: the next page starts after it.
struct Position {
    int64_t utcMs = 0;
    int64_t id = 0;
};

struct Page {
    std::vector<Row> rows;
    std::optional<Position>
        next;           // where the following page starts; none when this one was not full
    std::string error;  // the file could not be read; then no rows
};

// One entry of a subject, for the figures per device.
struct SubjectEvent {
    int64_t utcMs = 0;
    Kind kind = Kind::System;
    int detail = 0;
};

// Entries of one kind with some of its details: bit d of `details` takes
// detail d (0–31).
struct EventCodes {
    Kind kind = Kind::System;
    uint32_t details = 0;
};
constexpr uint32_t DetailBit(int detail) {
    return 1u << static_cast<unsigned>(detail);
}

// Reads an archive file: for the archive window, trends and statistics. It
// opens its own read-only connection, so it reads beside a writing archive
// (in this or another process) without holding it up. One thread at a time.
class Reader {
public:
    // Null, with the reason in `error`, when the file cannot be read as an
    // archive.
    static std::unique_ptr<Reader> Open(const std::string& path, std::string& error);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // At most `limit` entries the filter takes, newest first (by time, then by
    // id), after `after` or from the newest. Each page is one indexed query,
    // so a page deep in a large file costs what the first one does.
    Page Entries(const Filter& filter, const std::optional<Position>& after, int limit);
    // At most `limit` entries the filter takes that came in after entry
    // `afterId`, oldest first: what a live view adds at its top.
    Page Since(int64_t afterId, const Filter& filter, int limit);
    // The id of the last entry in, 0 when there is none.
    std::string LastId(int64_t& id);

    // The samples from `fromMs` on and before `toMs`, oldest first. Returns
    // the reason the file could not be read, empty when it could.
    std::string Samples(int64_t fromMs, int64_t toMs,
                        const std::function<void(const Sample&)>& take);
    // The entries of one subject of the given kinds (KindBit()s) in a time
    // range, oldest first, from the subject index alone.
    std::string SubjectEvents(Subject subject, unsigned kinds, int64_t fromMs, int64_t toMs,
                              const std::function<void(const SubjectEvent&)>& take);
    // The entry of one subject that one of `wanted` takes nearest to `atMs`:
    // the newest before it (`before`), or the oldest from it on; none when
    // there is no such entry. Returns the reason the file could not be read.
    std::string NearestSubjectEvent(Subject subject, std::span<const EventCodes> wanted,
                                    int64_t atMs, bool before, std::optional<SubjectEvent>& found);
    // The time of the newest entry or sample before `beforeMs`: the last sign
    // of life of the program that wrote them; none in an empty file.
    std::string LastRecordBefore(int64_t beforeMs, std::optional<int64_t>& found);

private:
    explicit Reader(std::unique_ptr<Db> db);
    Page Query(const std::string& order, const Filter& filter, const std::optional<Position>& after,
               int64_t afterId, int limit);

    std::unique_ptr<Db> db_;
};

}  // namespace archive
