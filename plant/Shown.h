#pragma once

#include <array>
#include <cstdint>

#include "plant/OneBased.h"
#include "plant/Outlets.h"
#include "plant/Plant.h"

namespace plant {

// Set only on change. The plant puts a value on the screen only when it differs
// from the one it put there last, and it remembers that value here, one Shown
// per indicator, and nowhere else: the outlets are write-only, and the screens
// behind them set what they are given without comparing. So a quiet plant
// calls no setter and formats no text, and a value the screen cannot show (a
// mode from an edited state file) is offered once, not at every tick.
// A value starts unknown, so the first time it is offered it reaches the
// screen whatever the screen showed before. Only the silo zones start known,
// as the working zone the window opens with: entering a zone is journalled,
// and the first cycle reports only the silos outside it; and the alarms start
// known as off, as the window opens, so a plant without faults never sets one.
template <typename T>
class Shown {
public:
    Shown() = default;
    // What the screen shows before anything has been set.
    explicit constexpr Shown(const T& initial) : value_(initial), known_(true) {}

    // Whether showing `value` changes the screen; if so, it counts as shown.
    // Nothing else is asked of it: what the plant needs to know is in the
    // plant's tables, never read back from what the screen shows.
    bool Changes(const T& value) {
        if (known_ && value_ == value) return false;
        value_ = value;
        known_ = true;
        return true;
    }

private:
    T value_{};
    bool known_ = false;
};

// A route list entry's look follows from these two.
struct RouteLookKey {
    int32_t state = kRouteStopped;
    bool permitted = true;
    bool operator==(const RouteLookKey&) const = default;
};

// Everything the controller cycle has put on the diagram and the silo page.
struct DiagramShown {
    DiagramShown() {
        for (Shown<LevelZone>& z : zone) z = Shown<LevelZone>(LevelZone::Working);
        for (Shown<bool>& a : symbolAlarm) a = Shown<bool>(false);
    }

    // Device symbols by device number: valves show mode and angle, drives mode
    // and state.
    OneBased<Shown<int32_t>, kDeviceCount> symbolMode, symbolState, symbolUngle;
    OneBased<Shown<bool>, kDeviceCount> symbolAlarm;
    Shown<bool> emergencyStop{false};                 // the alarm board's emergency stop line red
    std::array<Shown<bool>, kPipeCount> pipeColored;  // by PipeId
    OneBased<Shown<RouteLookKey>, kRouteCount> routeLook;
    // A silo's stock panel, gauge, filling and mass texts follow from its stock.
    OneBased<Shown<double>, kSiloCount> stock;
    OneBased<Shown<LevelZone>, kSiloCount> zone;
    Shown<double> totalStock;   // Sum1_4 and its board
    Shown<int64_t> throughput;  // PanelSpeed, t/h
    Shown<double> shipped;      // the shipped-tonnage board
};

// Everything the wagon and temperature timer has put on the window. A wagon's
// picture is shown exactly while the plant has it on the track
// (Plant::WagonOnTrack).
struct WagonsShown {
    OneBased<Shown<bool>, kWagonCount> wagon;
    OneBased<Shown<uint32_t>, kSiloCount> siloColour;
    Shown<bool> temperatureAlarm;  // the alarm board's temperature line red
    Shown<double> unloadingBoard;
};

}  // namespace plant
