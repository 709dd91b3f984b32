#include "state/SectionValue.h"

#include "platform/core/ProfileValue.h"

namespace state {

std::optional<int32_t> SectionInteger(const std::string& key, const std::string& value,
                                      int32_t lowest, int32_t highest, std::string& error) {
    const std::optional<int32_t> number = platform::ParseProfileInteger(value);
    if (number && *number >= lowest && *number <= highest) return number;
    error = key + "=" + value + " - ожидается целое число от " + std::to_string(lowest) + " до " +
            std::to_string(highest);
    return std::nullopt;
}

}  // namespace state
