#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <span>

#include "modbus/RegisterImage.h"
#include "plant/Plant.h"

namespace modbus {

// What passes between the thread of the controller cycle and the server's:
// the register image the cycle publishes, and the commands clients write,
// waiting for the next cycle. The cycle stays the only one to touch the
// tables: the server reads the last image and queues what it is asked to do.
//
// Both sides take one short lock; the controller's side allocates nothing.
class PlantExchange {
public:
    explicit PlantExchange(plant::Plant& plant);

    // --- The controller's thread ---

    // At the start of a cycle: posts every command written since the last one,
    // as the operator's, through the plant's posting functions, each naming
    // the client that wrote it.
    void TakeCommands();
    // After a cycle and after a wagon tick (and once before serving starts):
    // the tables become the image the server reads.
    void Publish();

    // --- The server's thread ---

    // Input registers from `address` on out of the last image. A command
    // waiting for its cycle (queued, or taken by a cycle still under way)
    // shows in its device's or route's outcome registers as pending.
    void ReadInput(int address, std::span<uint16_t> out) const;
    // The fault-code registers of devices first, first + 1, ...: a fault
    // waiting for its cycle, else what the last image says.
    void ReadFaultCodes(int first, std::span<uint16_t> out) const;

    // Queue for devices first, first + 1, ... for the next cycle, replacing
    // what waits for the same device; the codes are checked by the caller. A
    // device command 0 ("no command") queues nothing and leaves what waits.
    // `origin` is who wrote them.
    void QueueDeviceCommands(int first, std::span<const uint16_t> codes,
                             const plant::Origin& origin = {});
    void QueueFaults(int first, std::span<const uint16_t> faults, const plant::Origin& origin = {});
    // Queues the route commands only when route `first`, `first + 1`, ... each
    // takes its command (plant::RouteTakes) by the last image; 0 passes and
    // queues nothing. False, and nothing queued, otherwise.
    bool QueueRouteCommands(int first, std::span<const uint16_t> commands,
                            const plant::Origin& origin = {});

private:
    // Codes waiting for a cycle, by device or route; kNothing where none waits.
    static constexpr int32_t kNothing = -1;
    struct Waiting {
        std::array<int32_t, plant::kDeviceCount> device;
        std::array<int32_t, plant::kRouteCount> route;
        std::array<int32_t, plant::kDeviceCount> fault;
        void Clear();
    };
    // Who wrote what waits in the same places; held in place, no allocation.
    struct Origins {
        std::array<plant::Origin, plant::kDeviceCount> device;
        std::array<plant::Origin, plant::kRouteCount> route;
        std::array<plant::Origin, plant::kDeviceCount> fault;
    };
    static int32_t Either(int32_t later, int32_t earlier) {
        return later != kNothing ? later : earlier;
    }

    plant::Plant& plant_;
    RegisterImage scratch_;  // the controller's own, filled outside the lock
    Waiting posting_{};      // the controller's own: what TakeCommands posts
    Origins postingOrigins_;

    mutable std::mutex mutex_;
    RegisterImage published_;
    Waiting queued_{};  // written by clients since the last TakeCommands
    Origins queuedOrigins_;
    Waiting taken_{};  // posted by TakeCommands, not yet in a published image
};

}  // namespace modbus
