#include "state/StateFile.h"

#include <filesystem>

namespace state {

namespace {

using plant::Plant;
using platform::ProfileFile;

std::string DeviceSection(int i) {
    return "Dev" + std::to_string(i);
}

constexpr const char* kLevel = "Level";
constexpr const char* kRoute = "Route";
constexpr const char* kShipping = "Shipping";

// A value outside its range keeps the default, so that nothing later indexes a
// table with it.
int32_t ReadInRange(const ProfileFile& profile, const std::string& section, const std::string& key,
                    int32_t fallback, int32_t lowest, int32_t highest) {
    const int32_t value = profile.ReadInteger(section, key, fallback);
    return value >= lowest && value <= highest ? value : fallback;
}

bool IsSequenceStep(int32_t step) {
    return step == plant::kStepIdle || plant::IsStartStep(step) || plant::IsStopStep(step);
}

int32_t SavedMode(int32_t mode) {
    return mode == plant::kModeAuto ? plant::kModeRemote : mode;
}

int32_t SavedRouteState(int32_t state) {
    const bool halfWay = state == plant::kRouteStarting || state == plant::kRouteStopping;
    return halfWay ? plant::kRouteStopped : state;
}

}  // namespace

std::string StateFilePath(const std::string& executablePath) {
    // The extension is looked for in the file name only, so a dot in a folder
    // name is left alone.
    return std::filesystem::path(executablePath).replace_extension(".INI").string();
}

void ReadState(Plant& plant, const ProfileFile& profile) {
    for (int i = 1; i <= plant::kDeviceCount; ++i) {
        plant::TDiscret& dev = plant.Dev[i];
        const std::string section = DeviceSection(i);
        dev.Name = profile.ReadString(section, "Name", dev.Name);
        dev.Mode =
            ReadInRange(profile, section, "Mode", dev.Mode, plant::kModeLocal, plant::kModeRepair);
        dev.State = ReadInRange(profile, section, "State", dev.State, 0, 2);
        dev.Ungle = ReadInRange(profile, section, "Ungle", dev.Ungle, plant::kValveClosedAngle,
                                plant::kValveOpenAngle);
    }
    for (int n = 1; n <= plant::kSiloCount; ++n) {
        plant.Tank[n] = profile.ReadReal(kLevel, "Tank" + std::to_string(n), plant.Tank[n]);
    }
    for (int r = 1; r <= plant::kRouteCount; ++r) {
        plant::TRoute& route = plant.Route[r];
        const std::string number = std::to_string(r);
        route.State = SavedRouteState(ReadInRange(profile, kRoute, "State" + number, route.State,
                                                  plant::kRouteStopped, plant::kRouteStopping));
        const int32_t step = profile.ReadInteger(kRoute, "Step" + number, route.Step);
        if (IsSequenceStep(step)) route.Step = step;
    }
    plant.ShippingMassa = profile.ReadReal(kShipping, "Massa", plant.ShippingMassa);

    // No sequence resumes after a restart: the device position it worked on is
    // not saved, so a step would act on no device. A running route comes back
    // running and idle, a route saved half-way comes back stopped (nothing
    // would ever move it on, and it would keep its conflicting routes
    // forbidden).
    for (plant::TRoute& route : plant.Route) {
        route.Step = 0;
        route.Position = 0;
    }
}

void WriteState(const Plant& plant, ProfileFile& profile, char decimalSeparator) {
    for (int i = 1; i <= plant::kDeviceCount; ++i) {
        const plant::TDiscret& dev = plant.Dev[i];
        const std::string section = DeviceSection(i);
        profile.WriteString(section, "Name", dev.Name);
        profile.WriteInteger(section, "Mode", SavedMode(dev.Mode));
        profile.WriteInteger(section, "State", dev.State);
        profile.WriteInteger(section, "Ungle", dev.Ungle);
    }
    for (int n = 1; n <= plant::kSiloCount; ++n) {
        profile.WriteReal(kLevel, "Tank" + std::to_string(n), plant.Tank[n], decimalSeparator);
    }
    for (int r = 1; r <= plant::kRouteCount; ++r) {
        const std::string number = std::to_string(r);
        profile.WriteInteger(kRoute, "State" + number, SavedRouteState(plant.Route[r].State));
        profile.WriteInteger(kRoute, "Step" + number, plant.Route[r].Step);
    }
    profile.WriteReal(kShipping, "Massa", plant.ShippingMassa, decimalSeparator);
}

void ApplySaveAdjustments(Plant& plant) {
    for (plant::TDiscret& dev : plant.Dev) dev.Mode = SavedMode(dev.Mode);
    for (plant::TRoute& route : plant.Route) route.State = SavedRouteState(route.State);
}

std::optional<std::string> LoadState(Plant& plant, const std::string& path) {
    ProfileFile profile;
    return LoadState(plant, path, profile);
}

std::optional<std::string> LoadState(Plant& plant, const std::string& path, ProfileFile& profile) {
    std::string failure;
    const bool read = profile.Load(path, &failure);  // on failure the profile is empty
    ReadState(plant, profile);
    if (read) return std::nullopt;
    return failure;
}

bool WriteStateFile(const Plant& plant, const std::string& path, char decimalSeparator) {
    ProfileFile profile;
    // The file's other content is kept, so a file that exists but cannot be
    // read is not replaced: that content would be lost.
    if (!profile.Load(path)) return false;
    WriteState(plant, profile, decimalSeparator);
    return profile.Save(path);
}

bool SaveState(Plant& plant, const std::string& path, char decimalSeparator) {
    if (!WriteStateFile(plant, path, decimalSeparator)) return false;
    ApplySaveAdjustments(plant);
    return true;
}

std::string SavedValues(const Plant& plant, char decimalSeparator) {
    ProfileFile profile;
    WriteState(plant, profile, decimalSeparator);
    return profile.Text();
}

}  // namespace state
