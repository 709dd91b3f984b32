#pragma once

#include <cstdint>

#include "plant/Outlets.h"
#include "plant/Plant.h"
#include "plant/Shown.h"

namespace plant {

// Grain one wagon on the unloading track brings, as the unloading board counts it.
constexpr double kTonnesPerWagon = 60.0;

// What the wagon and temperature timer shows. Write-only, as the diagram's
// outlet is (plant/Shown.h).
class WagonsOutlet {
public:
    virtual ~WagonsOutlet() = default;
    virtual void SetWagonVisible(int w, bool visible) = 0;   // Vagon1..Vagon3
    virtual void SetSiloColour(int n, uint32_t colour) = 0;  // Silo1..Silo4 Color
    virtual void SetTemperatureAlarmShown(bool on) = 0;      // TabloTemperature red / grey
    virtual void SetUnloadingBoard(double tonnes) = 0;       // LEDTablo2.Value
    virtual void RepaintNow() = 0;  // the whole window, before the alarm sounds
};

// Random rail-wagon arrivals and departures and silo temperature alarms: one
// Tick() per second. The random draw (0..199) comes from the random outlet.
class Wagons {
public:
    Wagons(Plant& plant, WagonsOutlet& screen, JournalOutlet& journal, SoundOutlet& sound,
           RandomOutlet& random);

    void Tick();
    // 0 idle, 1..3 wagons arriving, 4..6 wagons leaving.
    int32_t Phase() const { return phase_; }
    // Wagons on the unloading track now (0..3): the plant's WagonOnTrack.
    int WagonsOnTrack() const;

private:
    void Draw();  // phase 0: the random draw
    void ShowWagon(int wagon, bool visible, int32_t nextPhase);
    void TemperatureEvent(int silo);
    void TemperatureRises(int silo);
    void TemperatureNormal(int silo);
    void SetSiloColour(int silo, uint32_t colour);
    bool AnyOverheat() const;

    Plant& plant_;
    WagonsOutlet& screen_;
    JournalOutlet& journal_;
    SoundOutlet& sound_;
    RandomOutlet& random_;
    int32_t phase_ = 0;
    WagonsShown shown_;  // what the timer has put on the screen
};

}  // namespace plant
