#include "modbus/PlantExchange.h"

#include <algorithm>

namespace modbus {

using namespace layout;

void PlantExchange::Waiting::Clear() {
    device.fill(kNothing);
    route.fill(kNothing);
    fault.fill(kNothing);
}

PlantExchange::PlantExchange(plant::Plant& plant) : plant_(plant) {
    posting_.Clear();
    queued_.Clear();
    taken_.Clear();
}

void PlantExchange::TakeCommands() {
    {
        const std::lock_guard lock(mutex_);
        posting_ = queued_;
        queued_.Clear();
        // Only the origins of what was written: a quiet cycle copies none.
        for (std::size_t k = 0; k < plant::kDeviceCount; ++k) {
            if (posting_.device[k] != kNothing) {
                postingOrigins_.device[k] = queuedOrigins_.device[k];
            }
            if (posting_.fault[k] != kNothing) postingOrigins_.fault[k] = queuedOrigins_.fault[k];
        }
        for (std::size_t k = 0; k < plant::kRouteCount; ++k) {
            if (posting_.route[k] != kNothing) postingOrigins_.route[k] = queuedOrigins_.route[k];
        }
        // Still pending to a reader until the image of this cycle is out.
        for (std::size_t k = 0; k < plant::kDeviceCount; ++k) {
            taken_.device[k] = Either(posting_.device[k], taken_.device[k]);
            taken_.fault[k] = Either(posting_.fault[k], taken_.fault[k]);
        }
        for (std::size_t k = 0; k < plant::kRouteCount; ++k) {
            taken_.route[k] = Either(posting_.route[k], taken_.route[k]);
        }
    }
    for (int i = 1; i <= plant::kDeviceCount; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        if (posting_.fault[k] != kNothing) {
            plant::PostFault(plant_, i, posting_.fault[k], postingOrigins_.fault[k]);
        }
        if (posting_.device[k] != kNothing) {
            plant::PostCommand(plant_, i, posting_.device[k], plant::kSourceOperator,
                               postingOrigins_.device[k]);
        }
    }
    for (int r = 1; r <= plant::kRouteCount; ++r) {
        const auto k = static_cast<std::size_t>(r - 1);
        const int32_t command = posting_.route[k];
        if (command != kNothing) {
            plant::PostRouteCommand(plant_, r, command, plant::kSourceOperator,
                                    postingOrigins_.route[k]);
        }
    }
}

void PlantExchange::Publish() {
    CaptureImage(plant_, scratch_);
    const std::lock_guard lock(mutex_);
    published_ = scratch_;
    taken_.Clear();
}

void PlantExchange::ReadInput(int address, std::span<uint16_t> out) const {
    const std::lock_guard lock(mutex_);
    std::copy_n(published_.input.begin() + address, out.size(), out.begin());
    // The outcome registers of what waits for a cycle: pending since the cycle
    // of this image.
    const uint16_t* cycle = published_.input.data() + kCycles;
    auto overlay = [&](int base, std::size_t index, int32_t waiting) {
        if (waiting == kNothing) return;
        const int record = base + kOutcomeStride * static_cast<int>(index);
        const uint16_t values[kOutcomeStride] = {static_cast<uint16_t>(waiting),
                                                 static_cast<uint16_t>(plant::kOutcomePending),
                                                 cycle[0], cycle[1]};
        for (int k = 0; k < kOutcomeStride; ++k) {
            const int at = record + k - address;
            if (at >= 0 && at < static_cast<int>(out.size())) {
                out[static_cast<std::size_t>(at)] = values[k];
            }
        }
    };
    for (std::size_t k = 0; k < plant::kDeviceCount; ++k) {
        overlay(kDeviceOutcomes, k, Either(queued_.device[k], taken_.device[k]));
    }
    for (std::size_t k = 0; k < plant::kRouteCount; ++k) {
        overlay(kRouteOutcomes, k, Either(queued_.route[k], taken_.route[k]));
    }
}

void PlantExchange::ReadFaultCodes(int first, std::span<uint16_t> out) const {
    const std::lock_guard lock(mutex_);
    for (std::size_t k = 0; k < out.size(); ++k) {
        const std::size_t dev = static_cast<std::size_t>(first - 1) + k;
        const int32_t waiting = Either(queued_.fault[dev], taken_.fault[dev]);
        out[k] = waiting != kNothing ? static_cast<uint16_t>(waiting) : published_.faultCodes[dev];
    }
}

void PlantExchange::QueueDeviceCommands(int first, std::span<const uint16_t> codes,
                                        const plant::Origin& origin) {
    const std::lock_guard lock(mutex_);
    for (std::size_t k = 0; k < codes.size(); ++k) {
        if (codes[k] == plant::kCmdNone) continue;
        const std::size_t at = static_cast<std::size_t>(first - 1) + k;
        queued_.device[at] = codes[k];
        queuedOrigins_.device[at] = origin;
    }
}

void PlantExchange::QueueFaults(int first, std::span<const uint16_t> faults,
                                const plant::Origin& origin) {
    const std::lock_guard lock(mutex_);
    for (std::size_t k = 0; k < faults.size(); ++k) {
        const std::size_t at = static_cast<std::size_t>(first - 1) + k;
        queued_.fault[at] = faults[k];
        queuedOrigins_.fault[at] = origin;
    }
}

bool PlantExchange::QueueRouteCommands(int first, std::span<const uint16_t> commands,
                                       const plant::Origin& origin) {
    const std::lock_guard lock(mutex_);
    for (std::size_t k = 0; k < commands.size(); ++k) {
        if (commands[k] == 0) continue;
        const uint16_t* at =
            published_.input.data() + kRoutes + kRouteStride * (first - 1 + static_cast<int>(k));
        plant::TRoute seen;
        seen.State = static_cast<int16_t>(at[kRouteState]);
        seen.Permitted = at[kRoutePermitted] != 0;
        if (!plant::RouteTakes(seen, commands[k])) return false;
    }
    for (std::size_t k = 0; k < commands.size(); ++k) {
        if (commands[k] == 0) continue;
        const std::size_t at = static_cast<std::size_t>(first - 1) + k;
        queued_.route[at] = commands[k];
        queuedOrigins_.route[at] = origin;
    }
    return true;
}

}  // namespace modbus
