// Cost of one controller cycle with outlets that do nothing, so only the plant's
// own work is measured.

#include <benchmark/benchmark.h>

#include "plant/Controller.h"
#include "plant/Outlets.h"
#include "plant/Plant.h"

namespace {

using namespace plant;

class NullDiagram : public DiagramOutlet {
public:
    void SetSymbolMode(int, int32_t) override {}
    void SetSymbolState(int, int32_t) override {}
    void SetSymbolUngle(int, int32_t) override {}
    void SetSymbolAlarm(int, bool) override {}
    void SetEmergencyStopShown(bool) override {}
    void SetPipeColored(PipeId, bool) override {}
    void SetRouteLook(int, uint32_t, const std::string&, uint32_t) override {}
    void SetTankCaption(int, const std::string&) override {}
    void SetTankGauge(int, int) override {}
    void SetTankFilling(int, const std::string&) override {}
    void SetTankMass(int, const std::string&) override {}
    void ShowTankZone(int, LevelZone) override {}
    void SetTotalStockText(const std::string&) override {}
    void SetTotalStockBoard(double) override {}
    void SetThroughputText(const std::string&) override {}
    void SetShippedBoard(double) override {}
};

class NullJournal : public JournalOutlet {
public:
    void Append(const std::string& body, JournalColour) override {
        benchmark::DoNotOptimize(body.data());
    }
};

class NullSound : public SoundOutlet {
public:
    void Play(const std::string&) override {}
    bool SoundOn() const override { return true; }
};

class CheapRandom : public RandomOutlet {
public:
    int Next(int bound) override {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<int>((state_ >> 16) % static_cast<uint32_t>(bound));
    }

private:
    uint32_t state_ = 1;
};

struct Bench {
    Bench() { FillDefinitions(plant); }
    Plant plant;
    NullDiagram diagram;
    NullJournal journal;
    NullSound sound;
    CheapRandom random;
    Controller controller{plant, {diagram, journal, sound, random}};
};

// Keeps a device moving: once it is idle it is sent back the other way.
void KeepBusy(Plant& plant, int i) {
    const TDiscret& d = plant.Dev[i];
    if (d.ActiveCommand != kCmdNone || d.Command != kCmdNone) return;
    const bool atRest = d.Kind == kKindValve ? d.Ungle == 0 : d.State == kStateStop;
    PostCommand(plant, i, atRest ? kCmdOpen : kCmdClose, kSourceOperator);
}

// All 18 devices in Remote mode, every one of them opening, closing, switching
// on or off at every tick.
void BM_TickAllDevicesBusy(benchmark::State& state) {
    Bench b;
    for (int i = 1; i <= kDeviceCount; ++i) b.plant.Dev[i].Mode = kModeRemote;
    for (auto _ : state) {
        for (int i = 1; i <= kDeviceCount; ++i) KeepBusy(b.plant, i);
        b.controller.EmulatorTick();
    }
}
BENCHMARK(BM_TickAllDevicesBusy);

// Shipping route 2 and intake route 8 running (grain moving every tick, all
// silo texts changing) while the four fans are switched on and off.
void BM_TickTwoRoutesAndFansCycling(benchmark::State& state) {
    Bench b;
    PostRouteCommand(b.plant, 2, kRouteCmdStart);
    PostRouteCommand(b.plant, 8, kRouteCmdStart);
    for (int i = 0; i < 200; ++i) b.controller.EmulatorTick();
    if (b.plant.Route[2].State != kRouteRunning || b.plant.Route[8].State != kRouteRunning) {
        state.SkipWithError("routes did not start");
        return;
    }
    for (int fan = 9; fan <= 12; ++fan) b.plant.Dev[fan].Mode = kModeRemote;
    for (auto _ : state) {
        for (int fan = 9; fan <= 12; ++fan) KeepBusy(b.plant, fan);
        // Keep both silos inside the working zone so neither route is stopped.
        if (b.plant.Tank[2] < 1000.0) b.plant.Tank[2] = 10000.0;
        if (b.plant.Tank[4] > 14000.0) b.plant.Tank[4] = 5000.0;
        b.controller.EmulatorTick();
    }
    if (b.plant.Route[2].State != kRouteRunning || b.plant.Route[8].State != kRouteRunning) {
        state.SkipWithError("a route stopped during the run");
    }
}
BENCHMARK(BM_TickTwoRoutesAndFansCycling);

// A quiet plant: nothing changes, nothing is formatted or repainted.
void BM_TickQuietPlant(benchmark::State& state) {
    Bench b;
    b.controller.EmulatorTick();
    for (auto _ : state) b.controller.EmulatorTick();
}
BENCHMARK(BM_TickQuietPlant);

}  // namespace

BENCHMARK_MAIN();
