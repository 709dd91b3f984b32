#include <QMetaEnum>

#include "symbols/Conveyor.h"
#include "symbols/Latch.h"
#include "symbols/Noria.h"
#include "symbols/Pump.h"
#include "tools/gallery/Gallery.h"

using namespace symbols;

namespace {

template <typename E>
QString Name(E value) {
    return QString::fromLatin1(QMetaEnum::fromType<E>().valueToKey(static_cast<int>(value)));
}

const TMode kModes[] = {TMode::Local, TMode::Remote, TMode::Auto, TMode::Repair};
const TState kStates[] = {TState::Run, TState::Acceleration, TState::Stop};

// Rows per symbol: every mode, every state, the alarm in both phases, and the
// orientations, at the console's size; then the console's look at twice the size.
template <typename Symbol>
void ModesAndStates(Gallery& gallery, Symbol& symbol) {
    for (TMode mode : kModes) {
        symbol.setMode(mode);
        gallery.Add(Name(mode), symbol);
    }
    symbol.setMode(TMode::Local);
    for (TState state : kStates) {
        symbol.setState(state);
        gallery.Add(Name(state), symbol);
    }
}

// Alarm phases: red, then back to the face colour, by stepping the timer.
template <typename Symbol>
void AlarmPhases(Gallery& gallery, Symbol& symbol) {
    symbol.setAlarm(true);
    if (symbol.FlashColor() != clRed) symbol.FlashTimerTick();
    gallery.Add("alarm red", symbol);
    symbol.FlashTimerTick();
    gallery.Add("alarm face", symbol);
    symbol.setAlarm(false);
    if (symbol.FlashColor() == clRed) symbol.FlashTimerTick();
}

// Run blink: arrows in ColorRun, then in the face colour.
template <typename Symbol>
void RunBlink(Gallery& gallery, Symbol& symbol) {
    symbol.setState(TState::Run);
    if (symbol.BlinkColor() != symbol.ColorRun()) symbol.FlashTimerTick();
    gallery.Add("run, blink on", symbol);
    symbol.FlashTimerTick();
    gallery.Add("run, blink off", symbol);
    symbol.setState(TState::Stop);
}

void Pumps(Gallery& gallery) {
    gallery.Section("TPump - fan 30 x 22 (console), 120 x 90 (default)");
    TPump pump;
    pump.resize(30, 22);
    ModesAndStates(gallery, pump);
    AlarmPhases(gallery, pump);
    pump.setOpientation(TPump::TPumpOrientation::poRight);
    gallery.Add("poRight", pump);
    gallery.Row();
    pump.setOpientation(TPump::TPumpOrientation::poLeft);
    pump.resize(120, 90);
    gallery.Add("120 poLeft", pump);
    pump.setOpientation(TPump::TPumpOrientation::poRight);
    pump.setState(TState::Run);
    gallery.Add("120 poRight Run", pump);
    pump.setAlarm(true);
    gallery.Add("120 alarm red", pump);
    pump.setAlarm(false);
    pump.resize(60, 45);
    pump.setState(TState::Stop);
    gallery.Add("60 (twice the fan)", pump);
    pump.resize(3, 2);
    gallery.Add("3 wide", pump);
}

void Latches(Gallery& gallery) {
    gallery.Section("TLatch - gate valve 20 x 20, CloseUngle 90, ColorRepair clYellow");
    TLatch latch;
    latch.setCloseUngle(90);
    latch.setColorRepair(clYellow);
    for (TMode mode : kModes) {
        latch.setMode(mode);
        gallery.Add(Name(mode), latch);
    }
    latch.setMode(TMode::Local);
    for (int angle : {0, 15, 30, 45, 60, 75, 90}) {
        latch.setUngle(angle);
        gallery.Add(QStringLiteral("Ungle %1").arg(angle), latch);
    }
    latch.setUngle(0);
    latch.setAlarm(true);
    gallery.Add("alarm red", latch);
    latch.FlashTimerTick();
    gallery.Add("alarm face", latch);
    latch.setAlarm(false);
    gallery.Row();
    TLatch plain;
    gallery.Add("default (CloseUngle 0)", plain);
    latch.resize(40, 40);
    latch.setUngle(45);
    gallery.Add("40 x 40, Ungle 45", latch);
}

void Conveyors(Gallery& gallery) {
    gallery.Section("TConveyor - 406 x 25 (Conveyor1), 265 x 25, 120 x 90 (default), small sizes");
    TConveyor conveyor;
    conveyor.setAlarmFlash(TFlashRate::frFast);
    conveyor.resize(406, 25);
    for (TMode mode : kModes) {
        conveyor.setMode(mode);
        gallery.Add(Name(mode), conveyor);
        if (mode == TMode::Remote) gallery.Row();
    }
    conveyor.setMode(TMode::Local);
    gallery.Row();
    for (TState state : kStates) {
        conveyor.setState(state);
        gallery.Add(Name(state), conveyor);
        if (state == TState::Run) gallery.Row();
    }
    gallery.Row();
    RunBlink(gallery, conveyor);
    gallery.Row();
    AlarmPhases(gallery, conveyor);
    gallery.Row();
    conveyor.resize(265, 25);
    conveyor.setOpientation(TConveyor::TConveyorOrientation::coLeft);
    conveyor.setState(TState::Run);
    if (conveyor.BlinkColor() != conveyor.ColorRun()) conveyor.FlashTimerTick();
    gallery.Add("265 coLeft Run", conveyor);
    TConveyor big;
    big.setState(TState::Run);
    big.FlashTimerTick();
    gallery.Add("120 x 90 -> 120 x 58", big);
    gallery.Row();
    for (QSize size : {QSize(45, 25), QSize(20, 25), QSize(8, 25), QSize(60, 0)}) {
        TConveyor small;
        small.resize(size);
        gallery.Add(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()), small);
    }
}

void Norias(Gallery& gallery) {
    gallery.Section("TNoria - 96 x 460 (Noria1) and 96 x 160, orientations");
    TNoria noria;
    noria.setBottomOpientation(TNoria::TOrientation::noRight);
    noria.resize(96, 460);
    for (TMode mode : kModes) {
        noria.setMode(mode);
        gallery.Add(Name(mode), noria);
    }
    noria.setMode(TMode::Local);
    noria.resize(96, 160);
    for (TState state : kStates) {
        noria.setState(state);
        gallery.Add(Name(state), noria);
    }
    RunBlink(gallery, noria);
    AlarmPhases(gallery, noria);
    gallery.Row();
    using O = TNoria::TOrientation;
    for (O top : {O::noLeft, O::noRight, O::noBoth}) {
        for (O bottom : {O::noLeft, O::noRight, O::noBoth}) {
            noria.setTopOpientation(top);
            noria.setBottomOpientation(bottom);
            gallery.Add(Name(top) + "/" + Name(bottom), noria);
        }
    }
}

}  // namespace

void AddFirstSymbolSet(Gallery& gallery) {
    Pumps(gallery);
    Latches(gallery);
    Conveyors(gallery);
    Norias(gallery);
}
