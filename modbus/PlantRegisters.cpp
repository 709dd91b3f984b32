#include "modbus/PlantRegisters.h"

#include <algorithm>
#include <limits>

#include "plant/SiloZones.h"
#include "platform/core/Rounding.h"

namespace modbus {

namespace {

using namespace layout;

// A run of consecutive addresses that holds registers; a request is served only
// when it lies inside one block.
struct Block {
    int first;
    int end;  // one past the last address
    bool Holds(int address, std::size_t count) const {
        return address >= first && static_cast<long>(address) + static_cast<long>(count) <= end;
    }
};

constexpr Block kInputBlocks[] = {
    {kDevices, kDevices + kDeviceStride* plant::kDeviceCount},
    {kRoutes, kRoutes + kRouteStride* plant::kRouteCount},
    {kSilos, kSilos + kSiloStride* plant::kSiloCount},
    {kTotals, kTotalsEnd},
};
constexpr Block kDeviceCommandBlock{kDeviceCommands, kDeviceCommands + plant::kDeviceCount};
constexpr Block kRouteCommandBlock{kRouteCommands, kRouteCommands + plant::kRouteCount};
constexpr Block kFaultFlagBlock{kFaultFlags, kFaultFlags + plant::kDeviceCount};
constexpr Block kFaultCodeBlock{kFaultCodes, kFaultCodes + plant::kDeviceCount};

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
uint16_t Word(uint32_t value, int half) {
    return static_cast<uint16_t>(half == 0 ? value >> 16 : value & 0xFFFFu);
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

}  // namespace

PlantRegisters::PlantRegisters(plant::Plant& plant, const plant::Controller& controller,
                               const plant::Wagons* wagons)
    : plant_(plant), controller_(controller), wagons_(wagons) {}

Exception PlantRegisters::ReadInputRegisters(int address, std::span<uint16_t> out) const {
    const bool mapped = std::any_of(std::begin(kInputBlocks), std::end(kInputBlocks),
                                    [&](const Block& b) { return b.Holds(address, out.size()); });
    const bool faults = faultsEnabled_ && kFaultFlagBlock.Holds(address, out.size());
    if (!mapped && !faults) return Exception::IllegalAddress;
    for (std::size_t k = 0; k < out.size(); ++k) {
        out[k] = InputRegister(address + static_cast<int>(k));
    }
    return Exception::None;
}

uint16_t PlantRegisters::InputRegister(int address) const {
    if (address >= kFaultFlags) {
        return plant_.Faults[1 + address - kFaultFlags].Kind != plant::kFaultNone ? 1 : 0;
    }
    if (address >= kTotals) return TotalsRegister(address);
    if (address >= kSilos) return SiloRegister(address - kSilos);
    if (address >= kRoutes) return RouteRegister(address - kRoutes);
    return DeviceRegister(address - kDevices);
}

uint16_t PlantRegisters::DeviceRegister(int offset) const {
    const plant::TDiscret& dev = plant_.Dev[1 + offset / kDeviceStride];
    switch (offset % kDeviceStride) {
        case kDeviceMode:
            return Signed16(dev.Mode);
        case kDeviceState:
            return Signed16(dev.State);
        case kDeviceAngle:
            return Signed16(dev.Ungle);
        default:
            return dev.ErrorText.empty() ? 0 : 1;
    }
}

uint16_t PlantRegisters::RouteRegister(int offset) const {
    const plant::TRoute& route = plant_.Route[1 + offset / kRouteStride];
    switch (offset % kRouteStride) {
        case kRouteState:
            return Signed16(route.State);
        case kRouteStep:
            return Signed16(route.Step);
        case kRoutePosition:
            return Signed16(route.Position);
        default:
            return route.Permitted ? 1 : 0;
    }
}

uint16_t PlantRegisters::SiloRegister(int offset) const {
    const int n = 1 + offset / kSiloStride;
    const int field = offset % kSiloStride;
    if (field == kSiloZone) return ZoneCode(plant::ZoneOfStock(plant_.Tank[n]));
    if (field == kSiloOverheat) return plant_.TankOverheat[n] ? 1 : 0;
    return Word(Tenths(plant_.Tank[n]), field - kSiloStock);
}

uint16_t PlantRegisters::TotalsRegister(int address) const {
    const int wagons = wagons_ ? wagons_->WagonsOnTrack() : 0;
    switch (address) {
        case kCycles:
        case kCycles + 1:
            return Word(static_cast<uint32_t>(controller_.Cycles()), address - kCycles);
        case kTotalStock:
        case kTotalStock + 1: {
            double total = 0.0;
            for (int n = 1; n <= plant::kSiloCount; ++n) total += plant_.Tank[n];
            return Word(Tenths(total), address - kTotalStock);
        }
        case kShipped:
        case kShipped + 1:
            return Word(Tenths(plant_.ShippingMassa), address - kShipped);
        case kThroughput:
            return Signed16(controller_.Throughput());
        case kWagonsOnTrack:
            return static_cast<uint16_t>(wagons);
        default:
            return static_cast<uint16_t>(platform::RoundHalfEven(plant::kTonnesPerWagon * wagons));
    }
}

// Command registers read 0: a command is posted, never held. A fault code
// reads the fault posted for the next cycle, else the one that stands.
Exception PlantRegisters::ReadHoldingRegisters(int address, std::span<uint16_t> out) const {
    if (faultsEnabled_ && kFaultCodeBlock.Holds(address, out.size())) {
        for (std::size_t k = 0; k < out.size(); ++k) {
            const plant::TFault& f = plant_.Faults[1 + address - kFaultCodes + static_cast<int>(k)];
            out[k] = static_cast<uint16_t>(f.Pending ? f.Posted : f.Kind);
        }
        return Exception::None;
    }
    if (!kDeviceCommandBlock.Holds(address, out.size()) &&
        !kRouteCommandBlock.Holds(address, out.size())) {
        return Exception::IllegalAddress;
    }
    std::fill(out.begin(), out.end(), uint16_t{0});
    return Exception::None;
}

// A trip only for a drive, a jam only for a valve; 0 clears. All or nothing,
// as for the commands.
Exception PlantRegisters::WriteFaults(int address, std::span<const uint16_t> values) {
    const int first = 1 + address - kFaultCodes;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const int dev = first + static_cast<int>(k);
        if (!plant::FaultFits(values[k], plant::DefinedKind(dev))) return Exception::IllegalValue;
    }
    for (std::size_t k = 0; k < values.size(); ++k) {
        plant::PostFault(plant_, first + static_cast<int>(k), values[k], client_);
    }
    return Exception::None;
}

void PlantRegisters::Serving(std::string_view client) {
    // An equal address is kept as it is: a busy client costs no copy.
    if (client_.Text() != client) client_ = plant::Origin(client);
}

Exception PlantRegisters::WriteHoldingRegisters(int address, std::span<const uint16_t> values) {
    if (faultsEnabled_ && kFaultCodeBlock.Holds(address, values.size())) {
        return WriteFaults(address, values);
    }
    const bool devices = kDeviceCommandBlock.Holds(address, values.size());
    const bool routes = kRouteCommandBlock.Holds(address, values.size());
    if (!devices && !routes) return Exception::IllegalAddress;
    const int first = devices ? 1 + address - kDeviceCommands : 1 + address - kRouteCommands;
    for (std::size_t k = 0; k < values.size(); ++k) {
        const bool accepted = devices
                                  ? DeviceCommandAccepted(values[k])
                                  : RouteCommandAccepted(first + static_cast<int>(k), values[k]);
        if (!accepted) return Exception::IllegalValue;
    }
    // 0 is "no command": it leaves whatever is pending in place. A client
    // posts as the operator does.
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (values[k] == 0) continue;
        const int index = first + static_cast<int>(k);
        if (devices) {
            plant::PostCommand(plant_, index, values[k], plant::kSourceOperator, client_);
        } else {
            plant::PostRouteCommand(plant_, index, values[k], plant::kSourceOperator, client_);
        }
    }
    return Exception::None;
}

// The codes of the device panel's buttons. Auto mode (22) has no button: only a
// route's start sequence sets it.
bool PlantRegisters::DeviceCommandAccepted(uint16_t code) const {
    switch (code) {
        case plant::kCmdNone:
        case plant::kCmdOpen:
        case plant::kCmdClose:
        case plant::kCmdStop:
        case plant::kCmdReset:
        case plant::kCmdLocal:
        case plant::kCmdRemote:
        case plant::kCmdRepair:
            return true;
        default:
            return false;
    }
}

// As the route list takes a confirmed click: what the route takes now.
bool PlantRegisters::RouteCommandAccepted(int r, uint16_t code) const {
    return code == 0 || plant::RouteTakes(plant_.Route[r], code);
}

}  // namespace modbus
