#pragma once

#include <cstdint>
#include <span>

#include "modbus/Layout.h"
#include "modbus/PlantExchange.h"
#include "modbus/RegisterMap.h"

namespace modbus {

// The plant as Modbus registers, for the server's thread. Reads come from the
// image the controller last published (PlantExchange), so a block is always
// one cycle's; writes only queue commands, as the device panel's buttons and a
// confirmed click on the route list post them, and the next controller cycle
// takes them over.
//
// The trainer-fault registers (a fault code per device to write, a flag per
// device to read) are there only while faults are enabled; otherwise they
// answer exception 02 as any unmapped address does.
class PlantRegisters : public RegisterMap {
public:
    explicit PlantRegisters(PlantExchange& exchange) : exchange_(exchange) {}

    // Off until switched on; switch before serving starts.
    void SetFaultsEnabled(bool on) { faultsEnabled_ = on; }
    bool FaultsEnabled() const { return faultsEnabled_; }

    int InputRegisterSpan() const override { return layout::kInputSpan; }
    int HoldingRegisterSpan() const override { return layout::kHoldingSpan; }
    Exception ReadInputRegisters(int address, std::span<uint16_t> out) const override;
    Exception ReadHoldingRegisters(int address, std::span<uint16_t> out) const override;
    Exception WriteHoldingRegisters(int address, std::span<const uint16_t> values) override;
    // Commands and faults written from now on name `client` as who gave them.
    void Serving(std::string_view client) override;

private:
    static bool DeviceCommandAccepted(uint16_t code);

    PlantExchange& exchange_;
    bool faultsEnabled_ = false;
    plant::Origin client_;
};

}  // namespace modbus
