#pragma once

#include <cstdint>
#include <string>

#include "plant/Outlets.h"

namespace plant {

// Stock limits of a silo in tonnes.
constexpr double kLowerAlarmLimit = 100.0;
constexpr double kMinimumLimit = 200.0;
constexpr double kMaximumLimit = 14900.0;
constexpr double kUpperAlarmLimit = 14950.0;

// The zone a stock lies in. The alarm zones are tested first, so a stock of
// exactly 100 t is in the minimum zone and exactly 14950 t in the maximum zone.
LevelZone ZoneOfStock(double tonnes);

// The zone indicator text of the silo table: "AH", "WH", "НОРМА", "WL", "AL".
const std::string& ZoneLabel(LevelZone zone);

// Colour of the journal entry written when a silo enters `zone`.
JournalColour ZoneJournalColour(LevelZone zone);

// Look of the silo's stock panel and zone label in `zone` (0x00BBGGRR).
uint32_t ZonePanelColour(LevelZone zone);
uint32_t ZoneLabelColour(LevelZone zone);

}  // namespace plant
