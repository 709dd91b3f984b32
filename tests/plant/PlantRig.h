#pragma once

#include <string>
#include <vector>

#include "plant/Controller.h"
#include "plant/MemoryDiagram.h"
#include "plant/Outlets.h"
#include "plant/Plant.h"

namespace plant_test {

using plant::JournalColour;

// Journal entries with the number of the tick that wrote them.
class RecordingJournal : public plant::JournalOutlet {
public:
    struct Entry {
        int tick;
        std::string body;
        JournalColour colour;
    };
    void Append(const std::string& body, JournalColour colour) override {
        entries.push_back({*tick, body, colour});
    }
    const int* tick = nullptr;
    std::vector<Entry> entries;
};

class RecordingSound : public plant::SoundOutlet {
public:
    void Play(const std::string& file) override { played.push_back(file); }
    bool SoundOn() const override { return true; }
    std::vector<std::string> played;
};

// Always draws `value` (reduced into the bound).
class FixedRandom : public plant::RandomOutlet {
public:
    int Next(int bound) override { return value % bound; }
    int value = 2;
};

// A fresh plant on its built-in defaults with a controller over memory outlets.
struct PlantRig {
    PlantRig() {
        journal.tick = &ticks;
        plant::FillDefinitions(plant);
    }

    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            ++ticks;
            controller.EmulatorTick();
        }
    }

    // Ticks until `done` holds (at most `limit` ticks); returns the ticks taken.
    template <typename Done>
    int TickUntil(Done done, int limit = 100000) {
        int n = 0;
        while (!done() && n < limit) {
            Tick();
            ++n;
        }
        return n;
    }

    std::vector<std::string> Bodies() const {
        std::vector<std::string> out;
        for (const auto& e : journal.entries) out.push_back(e.body);
        return out;
    }
    void ClearRecords() {
        journal.entries.clear();
        sound.played.clear();
    }

    plant::Plant plant;
    plant::MemoryDiagram diagram;
    RecordingJournal journal;
    RecordingSound sound;
    FixedRandom random;
    int ticks = 0;
    plant::Controller controller{plant, {diagram, journal, sound, random}};
};

}  // namespace plant_test
