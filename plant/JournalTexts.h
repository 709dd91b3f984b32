#pragma once

#include <cstdint>
#include <string>

#include "plant/Outlets.h"

namespace plant {

// Bodies of the controller's journal entries. Each starts with a blank; CR TAB
// breaks a body into an indented continuation line. The journal outlet puts the
// time stamp in front.

// What a device reports when its position or drive state changes.
// Fault and FaultCleared are a trainer fault taken over and cleared.
enum class DeviceEvent {
    Opened,
    Intermediate,
    Closed,
    SwitchedOn,
    SwitchedOff,
    Fault,
    FaultCleared
};

std::string StateChangeText(const std::string& name, DeviceEvent event);

// "Получена команда" for command 1, 2, 3, 10 or 20..23 of a device of `kind`.
std::string CommandReceivedText(const std::string& name, int32_t kind, int32_t command);

// "Установлен" for a mode 0..3.
std::string ModeSetText(const std::string& name, int32_t mode);

// A motion command refused in Local, Auto or Repair mode.
std::string RefusalText(const std::string& name, int32_t mode);

// A switch-on refused while a trip stands, and an alarm reset refused while
// the fault stands.
enum class FaultRefusal { SwitchOn, Reset };
std::string FaultRefusalText(const std::string& name, FaultRefusal what);

// The device panel's error line for a standing trip or jam.
std::string FaultErrorText(int32_t fault);

std::string RouteCommandText(int route, bool start);
std::string RouteResultText(int route, bool started);
// A start that arrived for a route another route forbids at the moment of take-over.
std::string RouteStartRefusedText(int route);
// A route that stops itself because device `name` has a fault.
std::string RouteFaultStopText(int route, const std::string& name);

std::string LevelZoneText(int silo, LevelZone zone);

}  // namespace plant
