#include "console/StateFile.h"

// Placeholder definitions until the profile-file layer lands.
namespace console {
std::string StateFilePath(const std::string& executablePath) { return executablePath + ".INI"; }
void LoadState(plant::Plant&, const std::string&) {}
bool SaveState(plant::Plant&, const std::string&, char) { return false; }
}  // namespace console
