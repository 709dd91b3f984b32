#include "archive/Schema.h"

#include <array>
#include <string>

namespace archive {

namespace {

// Version 1. Entries are kept small: their texts and sources are stored once
// each in tables of their own, and everything else is a small integer. The
// time index carries the columns the journal's filters test, so a filter runs
// through the index and reads only the rows it shows; the subject index gives
// a device's entries over a range of time in time order, all that the figures
// per device (starts, running hours, strokes, commands, faults) read.
// last_ms is the time of a text's or source's last use, to a day, so that
// retention can drop the ones no kept entry needs.
constexpr const char* kVersion1 = R"sql(
CREATE TABLE texts (
    id INTEGER PRIMARY KEY,
    text TEXT NOT NULL UNIQUE,
    folded TEXT NOT NULL,
    last_ms INTEGER NOT NULL
);
CREATE TABLE sources (
    id INTEGER PRIMARY KEY,
    text TEXT NOT NULL UNIQUE,
    last_ms INTEGER NOT NULL
);
CREATE TABLE entries (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    utc_ms INTEGER NOT NULL,
    offset_min INTEGER NOT NULL,
    colour INTEGER NOT NULL,
    kind INTEGER NOT NULL,
    subject INTEGER NOT NULL,
    detail INTEGER NOT NULL,
    source_id INTEGER REFERENCES sources(id),
    text_id INTEGER NOT NULL REFERENCES texts(id)
);
CREATE INDEX entries_by_time ON entries(utc_ms, id, kind, subject, colour, text_id);
CREATE INDEX entries_by_subject ON entries(subject, utc_ms, kind, detail);
CREATE TABLE samples (
    utc_ms INTEGER PRIMARY KEY,
    offset_min INTEGER NOT NULL,
    silo1 INTEGER NOT NULL,
    silo2 INTEGER NOT NULL,
    silo3 INTEGER NOT NULL,
    silo4 INTEGER NOT NULL,
    total INTEGER NOT NULL,
    throughput INTEGER NOT NULL,
    shipped INTEGER NOT NULL,
    unloading INTEGER NOT NULL
) WITHOUT ROWID;
CREATE VIEW journal AS
SELECT e.id,
       strftime('%Y-%m-%d %H:%M:%S', e.utc_ms / 1000 + e.offset_min * 60, 'unixepoch') AS local_time,
       e.utc_ms, e.offset_min, e.colour, e.kind, e.subject, e.detail,
       s.text AS source, t.text AS text, t.folded AS folded
FROM entries AS e
JOIN texts AS t ON t.id = e.text_id
LEFT JOIN sources AS s ON s.id = e.source_id;
)sql";

DbError CreateVersion1(Db& db) {
    return db.Exec(kVersion1);
}

// Step i takes a file from version i to version i + 1.
using Step = DbError (*)(Db&);
const std::array<Step, kSchemaVersion> kSteps = {&CreateVersion1};

}  // namespace

Inspection Inspect(Db& db) {
    Inspection seen;
    int64_t application = 0, tables = 0;
    if ((seen.error = db.QueryInt("PRAGMA application_id", application))) return seen;
    if ((seen.error = db.QueryInt("PRAGMA user_version", seen.version))) return seen;
    if ((seen.error = db.QueryInt("SELECT count(*) FROM sqlite_schema", tables))) return seen;
    if (application == 0 && seen.version == 0 && tables == 0)
        seen.state = FileState::New;
    else if (application != kApplicationId || seen.version < 1)
        seen.state = FileState::Foreign;
    else if (seen.version > kSchemaVersion)
        seen.state = FileState::Newer;
    else
        seen.state = seen.version < kSchemaVersion ? FileState::Older : FileState::Current;
    return seen;
}

Inspection Upgrade(Db& db) {
    for (;;) {
        Inspection seen;
        if ((seen.error = db.Exec("BEGIN IMMEDIATE"))) return seen;
        // Looked at again under the write lock: another program may have
        // upgraded the file in the meantime.
        seen = Inspect(db);
        if (!seen.error && (seen.state == FileState::New || seen.state == FileState::Older)) {
            const int64_t version = seen.state == FileState::New ? 0 : seen.version;
            seen.error = kSteps[static_cast<std::size_t>(version)](db);
            const std::string stamp = "PRAGMA user_version = " + std::to_string(version + 1) +
                                      "; PRAGMA application_id = " + std::to_string(kApplicationId);
            if (!seen.error) seen.error = db.Exec(stamp.c_str());
            if (!seen.error) seen.error = db.Exec("COMMIT");
            if (!seen.error) continue;
        }
        db.RollbackQuietly();
        return seen;
    }
}

}  // namespace archive
