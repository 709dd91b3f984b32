#include "archive/Entry.h"

#include <chrono>
#include <ctime>

namespace archive {

Stamp LocalNow() {
    const auto now = std::chrono::system_clock::now();
    const int64_t utcMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    const std::time_t seconds = static_cast<std::time_t>(utcMs / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    return {utcMs, static_cast<int16_t>(local.tm_gmtoff / 60)};
}

}  // namespace archive
