#include "modbus/PlantRegisters.h"

#include <algorithm>

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

constexpr Block Of(const InputBlock& block) {
    return {block.first, block.End()};
}

constexpr Block kInputBlocks[] = {Of(kDeviceBlock),        Of(kRouteBlock),
                                  Of(kSiloBlock),          Of(kTotalsBlock),
                                  Of(kDeviceOutcomeBlock), Of(kRouteOutcomeBlock)};
constexpr Block kFaultFlagRegisters = Of(kFaultFlagBlock);
constexpr Block kDeviceCommandBlock{kDeviceCommands, kDeviceCommands + plant::kDeviceCount};
constexpr Block kRouteCommandBlock{kRouteCommands, kRouteCommands + plant::kRouteCount};
constexpr Block kFaultCodeBlock{kFaultCodes, kFaultCodes + plant::kDeviceCount};

}  // namespace

Exception PlantRegisters::ReadInputRegisters(int address, std::span<uint16_t> out) const {
    const bool mapped = std::any_of(std::begin(kInputBlocks), std::end(kInputBlocks),
                                    [&](const Block& b) { return b.Holds(address, out.size()); });
    const bool faults = faultsEnabled_ && kFaultFlagRegisters.Holds(address, out.size());
    if (!mapped && !faults) return Exception::IllegalAddress;
    exchange_.ReadInput(address, out);
    return Exception::None;
}

// Command registers read 0: a command is posted, never held. A fault code
// reads the fault posted for the next cycle, else the one that stands.
Exception PlantRegisters::ReadHoldingRegisters(int address, std::span<uint16_t> out) const {
    if (faultsEnabled_ && kFaultCodeBlock.Holds(address, out.size())) {
        exchange_.ReadFaultCodes(1 + address - kFaultCodes, out);
        return Exception::None;
    }
    if (!kDeviceCommandBlock.Holds(address, out.size()) &&
        !kRouteCommandBlock.Holds(address, out.size())) {
        return Exception::IllegalAddress;
    }
    std::fill(out.begin(), out.end(), uint16_t{0});
    return Exception::None;
}

void PlantRegisters::Serving(std::string_view client) {
    // An equal address is kept as it is: a busy client costs no copy.
    if (client_.Text() != client) client_ = plant::Origin(client);
}

// All or nothing: every value is checked before the first is queued.
Exception PlantRegisters::WriteHoldingRegisters(int address, std::span<const uint16_t> values) {
    if (faultsEnabled_ && kFaultCodeBlock.Holds(address, values.size())) {
        // A trip only for a drive, a jam only for a valve; 0 clears.
        const int first = 1 + address - kFaultCodes;
        for (std::size_t k = 0; k < values.size(); ++k) {
            const int dev = first + static_cast<int>(k);
            if (!plant::FaultFits(values[k], plant::DefinedKind(dev))) {
                return Exception::IllegalValue;
            }
        }
        exchange_.QueueFaults(first, values, client_);
        return Exception::None;
    }
    if (kRouteCommandBlock.Holds(address, values.size())) {
        return exchange_.QueueRouteCommands(1 + address - kRouteCommands, values, client_)
                   ? Exception::None
                   : Exception::IllegalValue;
    }
    if (!kDeviceCommandBlock.Holds(address, values.size())) return Exception::IllegalAddress;
    if (!std::all_of(values.begin(), values.end(), DeviceCommandAccepted)) {
        return Exception::IllegalValue;
    }
    exchange_.QueueDeviceCommands(1 + address - kDeviceCommands, values, client_);
    return Exception::None;
}

// The codes of the device panel's buttons. Auto mode (22) has no button: only a
// route's start sequence sets it.
bool PlantRegisters::DeviceCommandAccepted(uint16_t code) {
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

}  // namespace modbus
