#pragma once

#include <cstdint>

#include "archive/Sqlite.h"

namespace archive {

// The layout of the file this program writes (docs/archive.md). Its number is
// the file's user_version; the file is told from other SQLite files by its
// application_id.
constexpr int64_t kSchemaVersion = 1;
constexpr int64_t kApplicationId = 0x47544152;  // "GTAR"

enum class FileState {
    New,      // no tables yet: an empty or freshly created file
    Older,    // an archive of an earlier layout, to be upgraded
    Current,  // an archive of this layout
    Newer,    // an archive of a later layout: not ours to change
    Foreign,  // another program's database
};

struct Inspection {
    FileState state = FileState::New;
    int64_t version = 0;
    DbError error;  // the file could not be read (not a database, damaged, locked...)
};

// Looks at the file's header and tables without changing anything.
Inspection Inspect(Db& db);

// Brings a new or older file to kSchemaVersion: one function per step, each
// step in its own transaction together with the new version number, so a
// failure leaves the file at the last complete step. Returns what the file is
// afterwards: Current, unless it failed or is no file of ours to change.
Inspection Upgrade(Db& db);

}  // namespace archive
