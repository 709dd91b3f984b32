#pragma once

#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "archive/Archive.h"
#include "plant/Controller.h"
#include "plant/MemoryDiagram.h"
#include "plant/Outlets.h"
#include "plant/Plant.h"
#include "plant/Wagons.h"
#include "tools/grain-sim/Script.h"

namespace grainsim {

// Runs a parsed script against a plant with no screen: journal entries and
// sounds become output lines, the diagram lives in memory, and the throughput
// jitter comes from a fixed seed so that a run always prints the same.
//   J <tick> <default|red|blue> <body>   (CR written as \r, TAB as \t)
//   S <tick> <wave file>
// With an archive, every entry goes into it too, tagged, and a sample of the
// plant after every cycle (the archive keeps one per period), all stamped with
// the plant's time: the start, plus 300 ms per cycle. The commands of a script
// name their line as their source ("строка N").
class Runner {
public:
    Runner(std::ostream& out, std::ostream& err);

    // Start-up as the console's: built-in definitions, then the state file if
    // one is given (a missing file keeps the defaults). Returns why the file
    // could not be read when it exists but could not be.
    std::optional<std::string> Start(const std::string& statePath);

    // Records the run in `archive` from `start` on (the plant's time of cycle
    // 0). The archive outlives the runner's use of it.
    void RecordIn(archive::Archive& archive, const archive::Stamp& start);
    // The plant's time now: the start, plus 300 ms per cycle run.
    archive::Stamp PlantTime() const;

    // Exit status: 0, 1 when a state file could not be written, 3 when the
    // output could not be written. Either failure stops the run.
    int Run(const std::vector<Command>& commands);

    // One controller cycle; its journal and sound lines carry its number.
    void Cycle();
    // One second of the wagon timer with `draw` (0..199) as its random draw.
    void WagonTick(int draw);

    plant::Plant& Plant() { return plant_; }
    const plant::Controller& Controller() const { return controller_; }
    const plant::Wagons& WagonTimer() const { return wagonTimer_; }

private:
    class Journal : public plant::JournalOutlet {
    public:
        explicit Journal(Runner& runner) : runner_(runner) {}
        void Append(const std::string& body, plant::JournalColour colour) override;
        void Append(const std::string& body, plant::JournalColour colour,
                    const plant::JournalTag& tag) override;

    private:
        Runner& runner_;
    };
    class Sound : public plant::SoundOutlet {
    public:
        Sound(std::ostream& out, const long& tick) : out_(out), tick_(tick) {}
        void Play(const std::string& file) override;
        bool SoundOn() const override { return true; }

    private:
        std::ostream& out_;
        const long& tick_;
    };
    class SeededRandom : public plant::RandomOutlet {
    public:
        int Next(int bound) override;

    private:
        std::mt19937 engine_{20240601u};
    };
    // The draw a `vagon` line gives.
    class ScriptedDraw : public plant::RandomOutlet {
    public:
        int Next(int bound) override { return bound > 0 ? draw % bound : 0; }
        int draw = 0;
    };
    class WagonScreen : public plant::WagonsOutlet {
    public:
        void SetWagonVisible(int, bool) override {}
        void SetSiloColour(int, uint32_t) override {}
        void SetTemperatureAlarmShown(bool) override {}
        void SetUnloadingBoard(double) override {}
        void RepaintNow() override {}
    };

    bool Execute(const Command& command);
    void Print();
    void Sample();

    std::ostream& out_;
    std::ostream& err_;
    long tick_ = 0;
    plant::Plant plant_;
    plant::MemoryDiagram diagram_;
    archive::Archive* archive_ = nullptr;
    archive::Stamp start_;
    Journal journal_{*this};
    Sound sound_{out_, tick_};
    SeededRandom random_;
    ScriptedDraw draw_;
    WagonScreen wagons_;
    plant::Controller controller_{plant_, {diagram_, journal_, sound_, random_}, '.'};
    plant::Wagons wagonTimer_{plant_, wagons_, journal_, sound_, draw_};
};

// The body with each CR written as the two characters \r and each TAB as \t.
std::string EscapeBody(const std::string& body);

}  // namespace grainsim
