#pragma once

#include <cstdint>
#include <span>

#include "modbus/RegisterMap.h"
#include "plant/Controller.h"
#include "plant/Plant.h"
#include "plant/Wagons.h"

namespace modbus {

// Where each value of the plant lies in the register map (0-based addresses;
// docs/modbus.md gives the table with the 3xxxx/4xxxx register numbers).
namespace layout {

// Input registers (function 4), one block per kind of record.
constexpr int kDevices = 0;  // device i at kDevices + kDeviceStride * (i - 1)
constexpr int kDeviceStride = 4;
constexpr int kDeviceMode = 0, kDeviceState = 1, kDeviceAngle = 2, kDeviceAlarm = 3;

constexpr int kRoutes = 100;  // route r at kRoutes + kRouteStride * (r - 1)
constexpr int kRouteStride = 4;
constexpr int kRouteState = 0, kRouteStep = 1, kRoutePosition = 2, kRoutePermitted = 3;

constexpr int kSilos = 200;  // silo n at kSilos + kSiloStride * (n - 1)
constexpr int kSiloStride = 4;
constexpr int kSiloStock = 0, kSiloZone = 2, kSiloOverheat = 3;  // stock: two registers

constexpr int kTotals = 300;
constexpr int kCycles = 300;      // two registers
constexpr int kTotalStock = 302;  // two registers
constexpr int kShipped = 304;     // two registers
constexpr int kThroughput = 306;
constexpr int kWagonsOnTrack = 307;
constexpr int kUnloadingTonnes = 308;
constexpr int kTotalsEnd = 309;

// Trainer faults, served only while they are enabled.
constexpr int kFaultFlags = 400;  // device i at kFaultFlags + i - 1: 1 while a fault stands

// Holding registers (functions 3, 6, 16).
constexpr int kDeviceCommands = 0;   // device i at kDeviceCommands + i - 1
constexpr int kRouteCommands = 100;  // route r at kRouteCommands + r - 1
constexpr int kFaultCodes = 200;     // device i at kFaultCodes + i - 1: plant::kFault*

// Values of the silo zone register.
constexpr uint16_t kZoneWorking = 0, kZoneMaximum = 1, kZoneMinimum = 2, kZoneUpperAlarm = 3,
                   kZoneLowerAlarm = 4;

}  // namespace layout

// The plant tables as Modbus registers. Reads look at the tables as they are
// now; writes only post commands, as the device panel's buttons and a confirmed
// click on the route list do, and the next controller cycle takes them over.
// Call it only on the thread that runs the controller cycle.
//
// The trainer-fault registers (a fault code per device to write, a flag per
// device to read) are there only while faults are enabled; otherwise they
// answer exception 02 as any unmapped address does.
class PlantRegisters : public RegisterMap {
public:
    // `wagons` may be null when the host runs no wagon timer: the wagon
    // registers then read 0.
    PlantRegisters(plant::Plant& plant, const plant::Controller& controller,
                   const plant::Wagons* wagons);

    // Off until switched on. The spans below cover the fault registers either
    // way, so switching never outgrows what a server sized from them.
    void SetFaultsEnabled(bool on) { faultsEnabled_ = on; }
    bool FaultsEnabled() const { return faultsEnabled_; }

    int InputRegisterSpan() const override { return layout::kFaultFlags + plant::kDeviceCount; }
    int HoldingRegisterSpan() const override { return layout::kFaultCodes + plant::kDeviceCount; }
    Exception ReadInputRegisters(int address, std::span<uint16_t> out) const override;
    Exception ReadHoldingRegisters(int address, std::span<uint16_t> out) const override;
    Exception WriteHoldingRegisters(int address, std::span<const uint16_t> values) override;
    // Commands and faults written from now on name `client` as who gave them.
    void Serving(std::string_view client) override;

private:
    uint16_t InputRegister(int address) const;
    uint16_t DeviceRegister(int offset) const;
    uint16_t RouteRegister(int offset) const;
    uint16_t SiloRegister(int offset) const;
    uint16_t TotalsRegister(int address) const;
    bool DeviceCommandAccepted(uint16_t code) const;
    bool RouteCommandAccepted(int r, uint16_t code) const;
    Exception WriteFaults(int address, std::span<const uint16_t> values);
    plant::Origin client_;

    plant::Plant& plant_;
    const plant::Controller& controller_;
    const plant::Wagons* wagons_;
    bool faultsEnabled_ = false;
};

}  // namespace modbus
