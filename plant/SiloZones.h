#pragma once

#include <cstdint>

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

// How a silo in a zone looks, and how entering it is journalled.
struct ZoneLook {
    const char* label;  // zone indicator of the silo table: "AH", "WH", "НОРМА", "WL", "AL"
    uint32_t panel;     // the stock panel under the silo, 0x00BBGGRR
    uint32_t font;      // the zone indicator's text
    JournalColour journal;  // the entry written on entering the zone
};
const ZoneLook& LookOf(LevelZone zone);

}  // namespace plant
