#pragma once

#include <string>

#include "plant/Plant.h"

namespace console {

// The state file lies beside the executable: its full path with the last
// extension replaced by ".INI" (appended when there is none).
std::string StateFilePath(const std::string& executablePath);

// Reads every saved value into the tables; a missing file, section or key, or an
// unreadable or out-of-range value, keeps what the tables hold.
void LoadState(plant::Plant& plant, const std::string& path);

// Writes the saved values (Auto saved and kept as Remote, half-way routes saved
// and kept as stopped) with `decimalSeparator` in reals. The file is replaced
// atomically; on failure it is left as it was and false is returned.
bool SaveState(plant::Plant& plant, const std::string& path, char decimalSeparator);

}  // namespace console
