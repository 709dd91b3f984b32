#include "console/LocalClock.h"

#include <chrono>
#include <ctime>

namespace console {

QDateTime LocalNow() {
    const int64_t utcMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();
    const std::time_t seconds = static_cast<std::time_t>(utcMs / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::OffsetFromUTC,
                                          static_cast<int>(local.tm_gmtoff));
}

}  // namespace console
