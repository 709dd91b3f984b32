#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace modbus {

// Modbus exception codes the server answers with; None means the request is served.
enum class Exception : uint8_t {
    None = 0,
    IllegalFunction = 1,  // function not served (or a write to a read-only server)
    IllegalAddress = 2,   // an address of the request is not in the map
    IllegalValue = 3,     // a malformed request, a quantity out of range or a refused value
};

// The registers a server publishes. Addresses are 0-based, as on the wire.
class RegisterMap {
public:
    virtual ~RegisterMap() = default;

    // One past the highest readable address of each table.
    virtual int InputRegisterSpan() const = 0;
    virtual int HoldingRegisterSpan() const = 0;

    // Fills `out` with the registers from `address` on; IllegalAddress when any
    // of them is not in the map.
    virtual Exception ReadInputRegisters(int address, std::span<uint16_t> out) const = 0;
    virtual Exception ReadHoldingRegisters(int address, std::span<uint16_t> out) const = 0;

    // All or nothing: every value is checked before the first one takes effect.
    virtual Exception WriteHoldingRegisters(int address, std::span<const uint16_t> values) = 0;

    // The requests that follow come from `client` ("127.0.0.1:50312"), until
    // the next call; a map that says who wrote a value keeps it.
    virtual void Serving(std::string_view client) { (void)client; }
};

}  // namespace modbus
