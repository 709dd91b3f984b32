#pragma once

#include <string>

#include "platform/core/ProfileFile.h"

namespace state {

// How the console keeps its event archive, from the state file's section
// [Archive]; the section alone, even without keys, switches the archive on:
//   Path=           the archive's file; a relative path is taken from the
//                   state file's folder; missing or empty: the state file's
//                   name with ".db" (GrainTerminal.db beside GrainTerminal.INI)
//   Days=           days entries and samples are kept, 0..36500 (0 keeps all);
//                   365 when missing
//   SampleSeconds=  seconds between samples of the plant for trends, 0..86400
//                   (0: none); 10 when missing
struct ArchiveSettings {
    std::string path;
    int days = 365;
    int sampleSeconds = 10;
};

struct ArchiveSection {
    bool wanted = false;       // the file has the section
    ArchiveSettings settings;  // what it says, when it can be used
    std::string error;         // why it cannot be used (a key and its value); empty when it can
};

ArchiveSection ReadArchiveSection(const platform::ProfileFile& profile,
                                  const std::string& statePath);

}  // namespace state
