#pragma once

#include <cstdint>
#include <string>

#include "plant/JournalTag.h"

namespace plant {

// The controller cycle reaches the screen, the journal, the loudspeaker and the
// dice only through these interfaces. The console implements them over its
// widgets; tests and the headless runner implement them over plain memory.

enum class JournalColour { Default, Red, Blue };

class JournalOutlet {
public:
    virtual ~JournalOutlet() = default;
    // Appends one entry: the outlet adds the time stamp in front of `body`,
    // which starts with a blank and uses CR TAB as its line break.
    virtual void Append(const std::string& body, JournalColour colour) = 0;
    // The same entry with what it reports (plant/JournalTag.h), for an outlet
    // that keeps it; by default the entry is shown as the untagged one is.
    // The cycle and the console journal every entry through this one.
    virtual void Append(const std::string& body, JournalColour colour, const JournalTag& tag) {
        static_cast<void>(tag);
        Append(body, colour);
    }
};

class SoundOutlet {
public:
    virtual ~SoundOutlet() = default;
    // Plays a wave file by bare name to its end before returning.
    virtual void Play(const std::string& file) = 0;
    // True while the operator's sound switch is on.
    virtual bool SoundOn() const = 0;
};

class RandomOutlet {
public:
    virtual ~RandomOutlet() = default;
    // A uniform integer in 0 .. bound-1.
    virtual int Next(int bound) = 0;
};

// Pipes coloured by the conveyor feeding them.
enum class PipeId { Pipe1, Pipe2, Pipe3, Pipe4, Pipe9, PipeTurn1 };
constexpr int kPipeCount = 6;

// Level zone of a silo, as its lamps show it.
enum class LevelZone { UpperAlarm, Maximum, Working, Minimum, LowerAlarm };

// Everything the cycle shows on the diagram and the silo page. Write-only: the
// cycle calls a setter only when the value changes (plant/Shown.h), and the
// screen sets what it is given.
class DiagramOutlet {
public:
    virtual ~DiagramOutlet() = default;

    // Device symbols, by device number 1..18. Valves have Mode and Ungle,
    // drives Mode and State.
    virtual void SetSymbolMode(int dev, int32_t mode) = 0;
    virtual void SetSymbolState(int dev, int32_t state) = 0;
    virtual void SetSymbolUngle(int dev, int32_t ungle) = 0;
    // A device in alarm: its symbol flashes red at its own rate.
    virtual void SetSymbolAlarm(int dev, bool on) = 0;
    // The alarm board's emergency stop line: red while any device is in
    // alarm, grey otherwise.
    virtual void SetEmergencyStopShown(bool on) = 0;

    virtual void SetPipeColored(PipeId pipe, bool colored) = 0;

    // Route list entry r = 1..12: panel colour (0x00BBGGRR, 0xFF00000F is the
    // face colour), hint text and caption font colour.
    virtual void SetRouteLook(int r, uint32_t colour, const std::string& hint,
                              uint32_t fontColour) = 0;

    // Silo indicator set of silo n = 1..4 (ShowTankLevel).
    virtual void SetTankCaption(int n, const std::string& text) = 0;  // LevelValueN text
    virtual void SetTankGauge(int n, int percent) = 0;                // LevelN progress
    virtual void SetTankFilling(int n, const std::string& text) = 0;  // FillingRN
    virtual void SetTankMass(int n, const std::string& text) = 0;     // MassaRN
    // A zone change: the zone's lamp (none in the working zone), panel
    // colour, zone label text and colour.
    virtual void ShowTankZone(int n, LevelZone zone) = 0;

    // Totals.
    virtual void SetTotalStockText(const std::string& text) = 0;  // Sum1_4
    virtual void SetTotalStockBoard(double tonnes) = 0;           // LEDTablo3.Value
    virtual void SetThroughputText(const std::string& text) = 0;  // PanelSpeed
    virtual void SetShippedBoard(double tonnes) = 0;              // LEDTablo1.Value
};

// The four outlets together, as the controller takes them.
struct Outlets {
    DiagramOutlet& diagram;
    JournalOutlet& journal;
    SoundOutlet& sound;
    RandomOutlet& random;
};

}  // namespace plant
