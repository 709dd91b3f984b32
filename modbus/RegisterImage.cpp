#include "modbus/RegisterImage.h"

#include <algorithm>
#include <limits>

#include "plant/SiloZones.h"
#include "plant/Wagons.h"
#include "platform/core/Rounding.h"

namespace modbus {

namespace {

using namespace layout;

// A signed value in one register, two's complement; values beyond 16 bits are
// held at the nearest limit.
uint16_t Signed16(int64_t value) {
    const int64_t held = std::clamp<int64_t>(value, std::numeric_limits<int16_t>::min(),
                                             std::numeric_limits<int16_t>::max());
    return static_cast<uint16_t>(static_cast<int16_t>(held));
}

// Tonnes as a signed 32-bit count of tenths, rounded halves to even and held
// at the 32-bit limits (an edited state file may hold anything).
uint32_t Tenths(double tonnes) {
    const int64_t tenths = platform::RoundHalfEven(static_cast<long double>(tonnes) * 10.0L);
    const int64_t held = std::clamp<int64_t>(tenths, std::numeric_limits<int32_t>::min(),
                                             std::numeric_limits<int32_t>::max());
    return static_cast<uint32_t>(static_cast<int32_t>(held));
}

// 32-bit values take two registers, the high word first.
void Put32(uint16_t* at, uint32_t value) {
    at[0] = static_cast<uint16_t>(value >> 16);
    at[1] = static_cast<uint16_t>(value & 0xFFFFu);
}

uint16_t ZoneCode(plant::LevelZone zone) {
    switch (zone) {
        case plant::LevelZone::Maximum:
            return kZoneMaximum;
        case plant::LevelZone::Minimum:
            return kZoneMinimum;
        case plant::LevelZone::UpperAlarm:
            return kZoneUpperAlarm;
        case plant::LevelZone::LowerAlarm:
            return kZoneLowerAlarm;
        case plant::LevelZone::Working:
            break;
    }
    return kZoneWorking;
}

void PutOutcome(uint16_t* at, const plant::TOutcome& outcome) {
    at[kOutcomeCommand] = Signed16(outcome.Command);
    at[kOutcomeResult] = Signed16(outcome.Result);
    Put32(at + kOutcomeCycle, static_cast<uint32_t>(outcome.Cycle));
}

}  // namespace

void CaptureImage(const plant::Plant& plant, RegisterImage& image) {
    uint16_t* in = image.input.data();
    const auto cycles = static_cast<uint32_t>(plant.Cycles);
    for (const InputBlock& block : {kDeviceBlock, kRouteBlock, kSiloBlock, kTotalsBlock,
                                    kFaultFlagBlock, kDeviceOutcomeBlock, kRouteOutcomeBlock}) {
        in[block.CycleWord()] = static_cast<uint16_t>(cycles & 0xFFFFu);
    }

    for (int i = 1; i <= plant::kDeviceCount; ++i) {
        const plant::TDiscret& dev = plant.Dev[i];
        uint16_t* at = in + kDevices + kDeviceStride * (i - 1);
        at[kDeviceMode] = Signed16(dev.Mode);
        at[kDeviceState] = Signed16(dev.State);
        at[kDeviceAngle] = Signed16(dev.Ungle);
        at[kDeviceAlarm] = dev.ErrorText.empty() ? 0 : 1;
        const plant::TFault& fault = plant.Faults[i];
        in[kFaultFlags + i - 1] = fault.Kind != plant::kFaultNone ? 1 : 0;
        image.faultCodes[static_cast<std::size_t>(i - 1)] =
            static_cast<uint16_t>(fault.Pending ? fault.Posted : fault.Kind);
        PutOutcome(in + kDeviceOutcomes + kOutcomeStride * (i - 1), plant.DeviceOutcome[i]);
    }

    for (int r = 1; r <= plant::kRouteCount; ++r) {
        const plant::TRoute& route = plant.Route[r];
        uint16_t* at = in + kRoutes + kRouteStride * (r - 1);
        at[kRouteState] = Signed16(route.State);
        at[kRouteStep] = Signed16(route.Step);
        at[kRoutePosition] = Signed16(route.Position);
        at[kRoutePermitted] = route.Permitted ? 1 : 0;
        PutOutcome(in + kRouteOutcomes + kOutcomeStride * (r - 1), plant.RouteOutcome[r]);
    }

    double total = 0.0;
    for (int n = 1; n <= plant::kSiloCount; ++n) {
        const double stock = plant.Tank[n];
        uint16_t* at = in + kSilos + kSiloStride * (n - 1);
        Put32(at + kSiloStock, Tenths(stock));
        at[kSiloZone] = ZoneCode(plant::ZoneOfStock(stock));
        at[kSiloOverheat] = plant.TankOverheat[n] ? 1 : 0;
        total += stock;
    }

    const int onTrack = plant::WagonsOnTrack(plant);
    Put32(in + kCycles, cycles);
    Put32(in + kTotalStock, Tenths(total));
    Put32(in + kShipped, Tenths(plant.ShippingMassa));
    in[kThroughput] = Signed16(plant.Throughput);
    in[kWagonsOnTrack] = static_cast<uint16_t>(onTrack);
    in[kUnloadingTonnes] =
        static_cast<uint16_t>(platform::RoundHalfEven(plant::kTonnesPerWagon * onTrack));
}

}  // namespace modbus
