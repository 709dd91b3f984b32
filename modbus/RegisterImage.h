#pragma once

#include <array>
#include <cstdint>

#include "modbus/Layout.h"
#include "plant/Plant.h"

namespace modbus {

// Every register the map serves from the plant, as it stood at one moment:
// after a controller cycle or a wagon tick. Addresses between the blocks stay 0.
struct RegisterImage {
    std::array<uint16_t, layout::kInputSpan> input{};
    // The holding fault-code registers: the fault posted and not yet taken,
    // else the one that stands. (The command registers always read 0.)
    std::array<uint16_t, plant::kDeviceCount> faultCodes{};
};

// Fills `image` from the tables. Allocates nothing.
void CaptureImage(const plant::Plant& plant, RegisterImage& image);

}  // namespace modbus
