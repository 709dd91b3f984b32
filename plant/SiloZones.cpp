#include "plant/SiloZones.h"

namespace plant {

LevelZone ZoneOfStock(double tonnes) {
    if (tonnes > kUpperAlarmLimit) return LevelZone::UpperAlarm;
    if (tonnes < kLowerAlarmLimit) return LevelZone::LowerAlarm;
    if (tonnes > kMaximumLimit) return LevelZone::Maximum;
    if (tonnes < kMinimumLimit) return LevelZone::Minimum;
    return LevelZone::Working;
}

const std::string& ZoneLabel(LevelZone zone) {
    static const std::string upper = "AH", maximum = "WH", working = "НОРМА", minimum = "WL",
                             lower = "AL";
    switch (zone) {
        case LevelZone::UpperAlarm:
            return upper;
        case LevelZone::Maximum:
            return maximum;
        case LevelZone::Minimum:
            return minimum;
        case LevelZone::LowerAlarm:
            return lower;
        case LevelZone::Working:
            break;
    }
    return working;
}

JournalColour ZoneJournalColour(LevelZone zone) {
    switch (zone) {
        case LevelZone::UpperAlarm:
        case LevelZone::LowerAlarm:
            return JournalColour::Red;
        case LevelZone::Maximum:
        case LevelZone::Minimum:
            return JournalColour::Blue;
        case LevelZone::Working:
            break;
    }
    return JournalColour::Default;
}

uint32_t ZonePanelColour(LevelZone zone) {
    switch (zone) {
        case LevelZone::UpperAlarm:
        case LevelZone::LowerAlarm:
            return 0x00A0A0F0;  // pale red
        case LevelZone::Maximum:
        case LevelZone::Minimum:
            return 0x00A0F0F0;  // pale yellow
        case LevelZone::Working:
            break;
    }
    return 0x00FFFFFF;
}

uint32_t ZoneLabelColour(LevelZone zone) {
    switch (zone) {
        case LevelZone::UpperAlarm:
        case LevelZone::LowerAlarm:
            return 0x000000FF;  // red
        case LevelZone::Maximum:
        case LevelZone::Minimum:
            return 0x00008080;  // olive
        case LevelZone::Working:
            break;
    }
    return 0x00000000;
}

}  // namespace plant
