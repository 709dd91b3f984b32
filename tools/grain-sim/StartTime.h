#pragma once

#include <optional>
#include <string>

#include "archive/Entry.h"

namespace grainsim {

// The moment `--start` names, in ISO 8601: a date "2026-06-12", optionally
// followed by 'T' or a blank and a time "14:05", "14:05:09" or
// "14:05:09.250", optionally followed by the offset from UTC: "Z", "+03:00",
// "+0300" or "+03". Without an offset the time is local time, and the local
// offset then is the one kept. Nothing for text that is none of these or
// names no real date and time.
std::optional<archive::Stamp> ParseStartTime(const std::string& text);

}  // namespace grainsim
