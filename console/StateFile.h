#pragma once

#include <string>

#include "plant/Plant.h"
#include "platform/core/ProfileFile.h"

namespace console {

// The state file lies beside the executable: its full path with the last
// extension replaced by ".INI" (appended when there is none).
std::string StateFilePath(const std::string& executablePath);

// Reads every saved value into the tables; a missing file, section or key, or an
// unreadable or out-of-range value, keeps what the tables hold. No route
// sequence resumes: every route comes back with Step 0 and Position 0.
void LoadState(plant::Plant& plant, const std::string& path);

// Writes the saved values (Auto saved and kept as Remote, half-way routes saved
// and kept as stopped) with `decimalSeparator` in reals. The file is replaced
// atomically; on failure it is left as it was, the tables are not touched and
// false is returned.
bool SaveState(plant::Plant& plant, const std::string& path, char decimalSeparator);

// The two halves of LoadState and SaveState over a profile held in memory.
void ReadState(plant::Plant& plant, const platform::ProfileFile& profile);
void WriteState(const plant::Plant& plant, platform::ProfileFile& profile, char decimalSeparator);

// What saving changes in memory: a device in Auto mode goes to Remote, a route
// caught starting or stopping goes to stopped (its Step stays).
void ApplySaveAdjustments(plant::Plant& plant);

}  // namespace console
