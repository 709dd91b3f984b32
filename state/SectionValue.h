#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace state {

// A key of a section the console reads for itself ([Modbus], [Archive]) that
// must hold a whole number in lowest..highest, read as the rest of the file
// reads integers (decimal, or hexadecimal after "0x"). Nothing when it holds
// anything else, and `error` says so: "Days=abc - ожидается целое число от 0
// до 36500".
std::optional<int32_t> SectionInteger(const std::string& key, const std::string& value,
                                      int32_t lowest, int32_t highest, std::string& error);

}  // namespace state
