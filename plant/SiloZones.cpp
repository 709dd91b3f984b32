#include "plant/SiloZones.h"

#include <array>
#include <cstddef>

#include "platform/core/Palette.h"

namespace plant {

namespace {

// In the order of LevelZone. The working zone's entry keeps the journal's
// current colour.
constexpr std::array<ZoneLook, 5> kZoneLooks = {{
    {"AH", palette::ZoneAlarmBack, palette::ZoneAlarmFont, JournalColour::Red},
    {"WH", palette::ZoneLimitBack, palette::ZoneLimitFont, JournalColour::Blue},
    {"НОРМА", palette::White, palette::Black, JournalColour::Default},
    {"WL", palette::ZoneLimitBack, palette::ZoneLimitFont, JournalColour::Blue},
    {"AL", palette::ZoneAlarmBack, palette::ZoneAlarmFont, JournalColour::Red},
}};
static_assert(static_cast<std::size_t>(LevelZone::LowerAlarm) + 1 == kZoneLooks.size());

}  // namespace

LevelZone ZoneOfStock(double tonnes) {
    if (tonnes > kUpperAlarmLimit) return LevelZone::UpperAlarm;
    if (tonnes < kLowerAlarmLimit) return LevelZone::LowerAlarm;
    if (tonnes > kMaximumLimit) return LevelZone::Maximum;
    if (tonnes < kMinimumLimit) return LevelZone::Minimum;
    return LevelZone::Working;
}

const ZoneLook& LookOf(LevelZone zone) {
    return kZoneLooks[static_cast<std::size_t>(zone)];
}

}  // namespace plant
