#include "state/ArchiveSection.h"

#include <filesystem>
#include <optional>

#include "state/SectionValue.h"

namespace state {

namespace {

constexpr const char* kSection = "Archive";

// A number key within lowest..highest; a missing key keeps `value`.
bool Number(const platform::ProfileFile& profile, const std::string& key, int32_t lowest,
            int32_t highest, int& value, std::string& error) {
    const std::optional<std::string> text = profile.ReadValue(kSection, key);
    if (!text) return true;
    const std::optional<int32_t> number = SectionInteger(key, *text, lowest, highest, error);
    if (number) value = *number;
    return number.has_value();
}

}  // namespace

ArchiveSection ReadArchiveSection(const platform::ProfileFile& profile,
                                  const std::string& statePath) {
    ArchiveSection section;
    if (!profile.HasSection(kSection)) return section;
    section.wanted = true;
    ArchiveSettings& settings = section.settings;
    const std::filesystem::path state(statePath);
    const std::string path = profile.ReadString(kSection, "Path", "");
    settings.path = path.empty() ? std::filesystem::path(state).replace_extension(".db").string()
                                 : (state.parent_path() / path).string();
    if (Number(profile, "Days", 0, 36500, settings.days, section.error)) {
        Number(profile, "SampleSeconds", 0, 86400, settings.sampleSeconds, section.error);
    }
    return section;
}

}  // namespace state
