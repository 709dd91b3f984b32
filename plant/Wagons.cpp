#include "plant/Wagons.h"

#include <string>

#include "platform/core/Palette.h"

namespace plant {

Wagons::Wagons(Plant& plant, WagonsOutlet& screen, JournalOutlet& journal, SoundOutlet& sound,
               RandomOutlet& random)
    : plant_(plant), screen_(screen), journal_(journal), sound_(sound), random_(random) {}

void Wagons::Tick() {
    switch (phase_) {
        case 0:
            Draw();
            break;
        // Wagons arrive from the left, one per second...
        case 1:
            ShowWagon(1, true, 2);
            break;
        case 2:
            ShowWagon(2, true, 3);
            break;
        case 3:
            ShowWagon(3, true, 0);
            break;
        // ...and leave from the right, one per second.
        case 4:
            ShowWagon(3, false, 5);
            break;
        case 5:
            ShowWagon(2, false, 6);
            break;
        case 6:
            ShowWagon(1, false, 0);
            break;
    }
    const bool alarm = AnyOverheat();
    if (shown_.temperatureAlarm.Changes(alarm)) screen_.SetTemperatureAlarmShown(alarm);
    const double unloading = kTonnesPerWagon * WagonsOnTrack();
    if (shown_.unloadingBoard.Changes(unloading)) screen_.SetUnloadingBoard(unloading);
}

void Wagons::Draw() {
    const int r = random_.Next(200);
    if (r == 1 || r == 11 || r == 21 || r == 31) {
        phase_ = 1;
    } else if (r == 2 || r == 12 || r == 22 || r == 32) {
        phase_ = 4;
    } else if (r >= 3 && r <= 6) {
        TemperatureEvent(r - 2);
    }
}

// A movement towards a state that already holds changes nothing.
void Wagons::ShowWagon(int wagon, bool visible, int32_t nextPhase) {
    plant_.WagonOnTrack[wagon] = visible;
    if (shown_.wagon[wagon].Changes(visible)) screen_.SetWagonVisible(wagon, visible);
    phase_ = nextPhase;
}

void Wagons::TemperatureEvent(int silo) {
    // A rise needs a standing fan; an alarm once on clears whatever the fan does.
    const bool fanStopped = plant_.Dev[FanOf(silo)].State == kStateStop;
    if (!fanStopped && !plant_.TankOverheat[silo]) return;
    plant_.TankOverheat[silo] = !plant_.TankOverheat[silo];
    if (plant_.TankOverheat[silo]) {
        TemperatureRises(silo);
    } else {
        TemperatureNormal(silo);
    }
}

void Wagons::TemperatureRises(int silo) {
    const std::string n = std::to_string(silo);
    SetSiloColour(silo, palette::SiloOverheated);
    journal_.Append(" Повышение температуры в силосе №" + n, JournalColour::Red,
                    SiloTag(EntryKind::TemperatureAlarm, silo, 1));
    // Silo and entry are on screen before the sounds hold the thread.
    screen_.RepaintNow();
    if (!sound_.SoundOn()) return;
    sound_.Play("Alarm.wav");
    sound_.Play("Attention.wav");
    sound_.Play("TempSilos" + n + ".wav");
}

void Wagons::TemperatureNormal(int silo) {
    SetSiloColour(silo, palette::Black);
    journal_.Append(
        " Температура в силосе №" + std::to_string(silo) + " в зоне\r\tдопустимых значений",
        JournalColour::Default, SiloTag(EntryKind::TemperatureAlarm, silo, 0));
}

void Wagons::SetSiloColour(int silo, uint32_t colour) {
    if (shown_.siloColour[silo].Changes(colour)) screen_.SetSiloColour(silo, colour);
}

bool Wagons::AnyOverheat() const {
    for (const bool overheated : plant_.TankOverheat) {
        if (overheated) return true;
    }
    return false;
}

int Wagons::WagonsOnTrack() const {
    return plant::WagonsOnTrack(plant_);
}

}  // namespace plant
