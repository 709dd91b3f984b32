#pragma once

#include <string>

namespace archive {

// Why the archive cannot write its file. What it does about each is in
// docs/archive.md; in short, every one but Corrupt keeps the entries in memory
// and tries again, and Corrupt moves the damaged file aside and starts anew.
enum class Problem {
    DiskFull,      // no room on the disk, a quota, or a file size limit
    NotWritable,   // a read-only file or folder, a missing folder, no permission
    Locked,        // another program holds a write lock on the file
    InUse,         // another archive of this program has the file open
    NotADatabase,  // the file is no SQLite database, or another program's one
    NewerVersion,  // a later version of this program wrote the file
    Corrupt,       // SQLite found the file damaged
    Failed,        // any other failure of the file
};

struct Fault {
    Problem problem = Problem::Failed;
    std::string path;     // the archive's file
    std::string reason;   // SQLite's and the system's words, in English
    std::string movedTo;  // Corrupt: where the damaged file went; empty if it stayed
};

}  // namespace archive
