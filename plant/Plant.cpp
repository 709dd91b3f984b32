#include "plant/Plant.h"

#include <array>

namespace plant {

namespace {

struct DeviceDefinition {
    const char* name;
    int32_t kind;
    const char* symbol;
    const char* label;
};

const std::array<DeviceDefinition, kDeviceCount> kDevices = {{
    {"Задвижка М1", kKindValve, "Latch_1", "LabelM1"},
    {"Задвижка М2", kKindValve, "Latch_2", "LabelM2"},
    {"Задвижка М3", kKindValve, "Latch_3", "LabelM3"},
    {"Задвижка М4", kKindValve, "Latch_4", "LabelM4"},
    {"Задвижка М5", kKindValve, "Latch_5", "LabelM5"},
    {"Задвижка М6", kKindValve, "Latch_6", "LabelM6"},
    {"Задвижка М7", kKindValve, "Latch_7", "LabelM7"},
    {"Задвижка М8", kKindValve, "Latch_8", "LabelM8"},
    {"Вентилятор 2.1", kKindDrive, "Fan1", "LabelF1"},
    {"Вентилятор 2.2", kKindDrive, "Fan2", "LabelF2"},
    {"Вентилятор 2.3", kKindDrive, "Fan3", "LabelF3"},
    {"Вентилятор 2.4", kKindDrive, "Fan4", "LabelF4"},
    {"Конвейер 3.1", kKindDrive, "Conveyor1", "LabelC1"},
    {"Конвейер 3.2", kKindDrive, "Conveyor2", "LabelC2"},
    {"Конвейер 3.3", kKindDrive, "Conveyor3", "LabelC3"},
    {"Конвейер 3.4", kKindDrive, "Conveyor4", "LabelC4"},
    {"Конвейер 3.5", kKindDrive, "Conveyor5", "LabelC5"},
    {"Нория 1.1", kKindDrive, "Noria1", "LabelN1"},
}};

using RouteDevices = std::array<int32_t, kRouteSlots>;

// Devices of each route in start order, against the grain flow; the stop order
// is the reverse. Shipping starts at the vessel and ends at the silo's outlet
// valve. Intake starts at the silo's inlet valve and ends at the receiving
// conveyor: 3.4 under the rail wagons, or 3.5 under the truck dump, which
// feeds 3.4.
constexpr std::array<RouteDevices, kRouteCount> RouteDeviceTable() {
    std::array<RouteDevices, kRouteCount> table{};
    auto at = [&table](int r) -> RouteDevices& { return table[static_cast<std::size_t>(r - 1)]; };
    for (int n = 1; n <= kSiloCount; ++n) {
        at(ShippingRouteOf(n)) = {kVesselConveyor, kSiloDischargeConveyor, OutletValveOf(n), 0, 0};
        at(RoadIntakeRouteOf(n)) = {InletValveOf(n), kSiloFeedConveyor, kElevator,
                                    kRailIntakeConveyor, kRoadIntakeConveyor};
        at(RailIntakeRouteOf(n)) = {InletValveOf(n), kSiloFeedConveyor, kElevator,
                                    kRailIntakeConveyor, 0};
    }
    return table;
}
constexpr std::array<RouteDevices, kRouteCount> kRouteDevices = RouteDeviceTable();

const std::array<double, kSiloCount> kDefaultStock = {15000.0, 4500.0, 11250.0, 7500.0};

}  // namespace

void FillDefinitions(Plant& plant) {
    for (int i = 1; i <= kDeviceCount; ++i) {
        const DeviceDefinition& def = kDevices[static_cast<std::size_t>(i - 1)];
        TDiscret& dev = plant.Dev[i];
        dev = TDiscret{};
        dev.Name = def.name;
        dev.Kind = def.kind;
        dev.Symbol = def.symbol;
        dev.NameLabel = def.label;
    }
    for (int r = 1; r <= kRouteCount; ++r) {
        TRoute& route = plant.Route[r];
        route = TRoute{};
        route.Panel = "Route" + std::to_string(r);
        route.Permitted = true;
        const auto& devices = kRouteDevices[static_cast<std::size_t>(r - 1)];
        for (int slot = 1; slot <= kRouteSlots; ++slot) {
            route.Devices[slot] = devices[static_cast<std::size_t>(slot - 1)];
        }
    }
    for (TFault& fault : plant.Faults) fault = TFault{};
    for (int n = 1; n <= kSiloCount; ++n) {
        plant.Tank[n] = kDefaultStock[static_cast<std::size_t>(n - 1)];
        plant.TankOverheat[n] = false;
    }
    plant.Cycles = 0;
    plant.Throughput = 0;
    for (bool& onTrack : plant.WagonOnTrack) onTrack = false;
    for (TOutcome& outcome : plant.DeviceOutcome) outcome = TOutcome{};
    for (TOutcome& outcome : plant.RouteOutcome) outcome = TOutcome{};
}

int32_t DefinedKind(int dev) {
    if (!OneBased<TDiscret, kDeviceCount>::Contains(dev)) return -1;
    return kDevices[static_cast<std::size_t>(dev - 1)].kind;
}

bool PostFault(Plant& plant, int dev, int32_t fault, const Origin& origin) {
    if (!plant.Faults.Contains(dev) || !FaultFits(fault, DefinedKind(dev))) return false;
    TFault& f = plant.Faults[dev];
    f.Posted = fault;
    f.Pending = true;
    f.PostedOrigin = origin;
    return true;
}

bool PostCommand(Plant& plant, int dev, int32_t code, int32_t source, const Origin& origin) {
    if (!plant.Dev.Contains(dev) || !IsDeviceCommand(code)) return false;
    TDiscret& d = plant.Dev[dev];
    if (source == kSourceRoute) {
        d.RouteCommand = code;
        d.RouteCommandOrigin = origin;
        return true;
    }
    if (source != kSourceOperator) return false;
    d.Command = code;
    d.CommandOrigin = origin;
    plant.DeviceOutcome[dev] = {code, kOutcomePending, plant.Cycles};
    return true;
}

int32_t RouteVerdict(const TRoute& route, int32_t command) {
    if (command == kRouteCmdStart && route.State == kRouteStopped) {
        return route.Permitted ? kOutcomeTaken : kOutcomeRefusedForbidden;
    }
    if (command == kRouteCmdStop && route.State == kRouteRunning) return kOutcomeTaken;
    return kOutcomeRefusedState;
}

bool RouteTakes(const TRoute& route, int32_t command) {
    return RouteVerdict(route, command) == kOutcomeTaken;
}

bool PostRouteCommand(Plant& plant, int r, int32_t command) {
    return PostRouteCommand(plant, r, command, kSourceOperator);
}

bool PostRouteCommand(Plant& plant, int r, int32_t command, int32_t source, const Origin& origin) {
    if (!plant.Route.Contains(r)) return false;
    if (command != kRouteCmdStart && command != kRouteCmdStop) return false;
    if (source != kSourceOperator && source != kSourceRoute) return false;
    const int32_t verdict = RouteVerdict(plant.Route[r], command);
    if (source == kSourceOperator) {
        const int32_t result = verdict == kOutcomeTaken ? kOutcomePending : verdict;
        plant.RouteOutcome[r] = {command, result, plant.Cycles};
    }
    if (verdict != kOutcomeTaken) return false;
    plant.Route[r].Command = command;
    plant.Route[r].CommandOrigin = origin;
    return true;
}

int WagonsOnTrack(const Plant& plant) {
    int onTrack = 0;
    for (const bool wagon : plant.WagonOnTrack) onTrack += wagon ? 1 : 0;
    return onTrack;
}

const std::string& RouteCaption(int r) {
    static const std::array<std::string, kRouteCount> captions = {
        "  1. Погрузка на судно из силоса №1",
        "  2. Погрузка на судно из силоса №2",
        "  3. Погрузка на судно из силоса №3",
        "  4. Погрузка на судно из силоса №4",
        "  5. Прием зерна из автотранспорта в силос №1",
        "  6. Прием зерна из автотранспорта в силос №2",
        "  7. Прием зерна из автотранспорта в силос №3",
        "  8. Прием зерна из автотранспорта в силос №4",
        "  9. Прием зерна из ж/д транспорта в силос №1",
        "10. Прием зерна из ж/д транспорта в силос №2",
        "11. Прием зерна из ж/д транспорта в силос №3",
        "12. Прием зерна из ж/д транспорта в силос №4",
    };
    static const std::string none;
    if (r < 1 || r > kRouteCount) return none;
    return captions[static_cast<std::size_t>(r - 1)];
}

}  // namespace plant
