#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Value text of an INI profile, as the profile file reads and writes it.

// A 32-bit integer: optional sign, then decimal digits, or "0x"/"0X" and
// hexadecimal digits up to FFFFFFFF (a 32-bit pattern, so 0xFFFFFFFF is -1).
// Anything else, an empty text or a decimal value beyond 32 bits gives nothing.
std::optional<int32_t> ParseProfileInteger(std::string_view text);

// A finite real: optional sign, digits with at most one decimal separator, which
// may be "." or "," whatever the regional settings (files travel between
// systems), and an optional exponent. Non-finite or out-of-range values give nothing.
std::optional<double> ParseProfileReal(std::string_view text);

// The shortest general form with up to 15 significant digits and the given
// decimal separator: 15000 -> "15000", 4499.97 -> "4499,97", 1e20 -> "1e+20".
std::string FormatProfileReal(double value, char decimalSeparator);

}  // namespace platform
