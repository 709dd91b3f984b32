#include "archive/Entry.h"

#include <chrono>
#include <ctime>

#include "plant/Wagons.h"

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

Sample SampleOf(const plant::Plant& plant, const Stamp& time) {
    Sample sample;
    sample.time = time;
    for (int n = 1; n <= plant::kSiloCount; ++n) {
        sample.silo[static_cast<std::size_t>(n - 1)] = plant.Tank[n];
        sample.total += plant.Tank[n];
    }
    sample.throughput = static_cast<double>(plant.Throughput);
    sample.shipped = plant.ShippingMassa;
    sample.unloading = plant::kTonnesPerWagon * plant::WagonsOnTrack(plant);
    return sample;
}

}  // namespace archive
