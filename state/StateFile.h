#pragma once

#include <optional>
#include <string>

#include "plant/Plant.h"
#include "platform/core/ProfileFile.h"

namespace state {

// The state file lies beside the executable: its full path with the last
// extension replaced by ".INI" (appended when there is none).
std::string StateFilePath(const std::string& executablePath);

// Reads every saved value into the tables; a missing file, section or key, or an
// unreadable or out-of-range value, keeps what the tables hold. No route
// sequence resumes: every route comes back with Step 0 and Position 0, and a
// route saved half-way (starting or stopping) comes back stopped.
// Returns why the file could not be read when it exists but could not be;
// nothing when it was read or is missing.
std::optional<std::string> LoadState(plant::Plant& plant, const std::string& path);
// The same, leaving the file's whole content in `profile` for its other sections.
std::optional<std::string> LoadState(plant::Plant& plant, const std::string& path,
                                     platform::ProfileFile& profile);

// Writes the saved values as a close saves them (Auto as Remote, half-way routes
// as stopped) with `decimalSeparator` in reals, leaving the tables as they are.
// The file's other content is kept, so a file that exists but cannot be read is
// not written. The file is replaced atomically where the folder allows (see
// platform::WriteWholeFile); false when it was not written.
bool WriteStateFile(const plant::Plant& plant, const std::string& path, char decimalSeparator);

// The save of a close: WriteStateFile, then the tables take the saved values
// (Auto kept as Remote, half-way routes kept as stopped). On failure the
// tables are not touched and false is returned.
bool SaveState(plant::Plant& plant, const std::string& path, char decimalSeparator);

// The saved values as text; equal texts mean a save would write the same.
std::string SavedValues(const plant::Plant& plant, char decimalSeparator);

// The two halves of LoadState and SaveState over a profile held in memory.
void ReadState(plant::Plant& plant, const platform::ProfileFile& profile);
void WriteState(const plant::Plant& plant, platform::ProfileFile& profile, char decimalSeparator);

// What saving changes in memory: a device in Auto mode goes to Remote, a route
// caught starting or stopping goes to stopped (its Step stays).
void ApplySaveAdjustments(plant::Plant& plant);

}  // namespace state
