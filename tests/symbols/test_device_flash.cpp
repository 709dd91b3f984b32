#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

#include "symbols/Conveyor.h"
#include "symbols/Latch.h"
#include "symbols/Noria.h"
#include "symbols/Pump.h"
#include "tests/symbols/DeviceSymbolTestApp.h"

using symbols::clBtnFace;
using symbols::clRed;
using symbols::TConveyor;
using symbols::TDeviceSymbol;
using symbols::TDriveSymbol;
using symbols::TFlashRate;
using symbols::TLatch;
using symbols::TNoria;
using symbols::TPump;
using symbols::TState;

namespace {

// --- Pump and gate valve: the timer runs only while in alarm ---------------

template <typename T>
class AlarmDrivenFlash : public ::testing::Test {
protected:
    symbols_test::WithApp app;
    T symbol;
};

using AlarmDrivenSymbols = ::testing::Types<TPump, TLatch>;
TYPED_TEST_SUITE(AlarmDrivenFlash, AlarmDrivenSymbols);

TYPED_TEST(AlarmDrivenFlash, RestsStoppedAtOneSecond) {
    EXPECT_FALSE(this->symbol.FlashTimer().isActive());
    EXPECT_EQ(this->symbol.FlashTimer().interval(), 1000);
    EXPECT_EQ(this->symbol.FlashInterval(), 1000);
    EXPECT_EQ(this->symbol.AlarmFlash(), TFlashRate::frMedium);
    EXPECT_EQ(this->symbol.FlashColor(), clBtnFace);
}

TYPED_TEST(AlarmDrivenFlash, AlarmTurnsRedAtOnceAndAlternatesPerTick) {
    auto& s = this->symbol;
    s.setAlarm(true);
    EXPECT_EQ(s.FlashColor(), clRed);
    EXPECT_TRUE(s.FlashTimer().isActive());
    s.FlashTimerTick();
    EXPECT_EQ(s.FlashColor(), clBtnFace);
    s.FlashTimerTick();
    EXPECT_EQ(s.FlashColor(), clRed);
    EXPECT_TRUE(s.FlashTimer().isActive());
}

TYPED_TEST(AlarmDrivenFlash, ClearingAlarmStopsTimerAndRestoresFaceAtOnce) {
    auto& s = this->symbol;
    s.setAlarm(true);
    ASSERT_EQ(s.FlashColor(), clRed);
    s.setAlarm(false);
    EXPECT_EQ(s.FlashColor(), clBtnFace);
    EXPECT_FALSE(s.FlashTimer().isActive());
    s.FlashTimerTick();  // a stray tick changes nothing
    EXPECT_EQ(s.FlashColor(), clBtnFace);
}

TYPED_TEST(AlarmDrivenFlash, SettingAlarmAgainAdvancesOnePhase) {
    auto& s = this->symbol;
    s.setAlarm(true);
    s.setAlarm(true);
    EXPECT_EQ(s.FlashColor(), clBtnFace);
    EXPECT_TRUE(s.FlashTimer().isActive());
    s.setAlarm(true);
    EXPECT_EQ(s.FlashColor(), clRed);
}

// --- Conveyor and bucket elevator: the timer runs all the time -------------

template <typename T>
class FreeRunningFlash : public ::testing::Test {
protected:
    symbols_test::WithApp app;
    T symbol;
};

using FreeRunningSymbols = ::testing::Types<TConveyor, TNoria>;
TYPED_TEST_SUITE(FreeRunningFlash, FreeRunningSymbols);

TYPED_TEST(FreeRunningFlash, TimerRunsFromCreation) {
    EXPECT_TRUE(this->symbol.FlashTimer().isActive());
    const int expected = std::is_same_v<TypeParam, TNoria> ? 500 : 1000;
    EXPECT_EQ(this->symbol.FlashTimer().interval(), expected);
    EXPECT_EQ(this->symbol.FlashInterval(), expected);
}

TYPED_TEST(FreeRunningFlash, AlarmFlashesFromTheNextTick) {
    auto& s = this->symbol;
    s.setAlarm(true);
    EXPECT_EQ(s.FlashColor(), clBtnFace);
    s.FlashTimerTick();
    EXPECT_EQ(s.FlashColor(), clRed);
    s.FlashTimerTick();
    EXPECT_EQ(s.FlashColor(), clBtnFace);
    s.FlashTimerTick();
    EXPECT_EQ(s.FlashColor(), clRed);
    s.setAlarm(false);
    EXPECT_EQ(s.FlashColor(), clRed);  // held until the next tick, but not shown
    s.FlashTimerTick();
    EXPECT_EQ(s.FlashColor(), clBtnFace);
    EXPECT_TRUE(s.FlashTimer().isActive());
}

TYPED_TEST(FreeRunningFlash, RunBlinksEveryTickAndStopsOnLeavingRun) {
    auto& s = this->symbol;
    s.setColorRun(0x123456);
    s.setState(TState::Run);
    EXPECT_EQ(s.BlinkColor(), clBtnFace);
    s.FlashTimerTick();
    EXPECT_EQ(s.BlinkColor(), 0x123456u);
    s.FlashTimerTick();
    EXPECT_EQ(s.BlinkColor(), clBtnFace);
    s.FlashTimerTick();
    EXPECT_EQ(s.BlinkColor(), 0x123456u);
    s.setState(TState::Acceleration);
    EXPECT_EQ(s.BlinkColor(), 0x123456u);
    s.FlashTimerTick();
    EXPECT_EQ(s.BlinkColor(), clBtnFace);
    s.FlashTimerTick();
    EXPECT_EQ(s.BlinkColor(), clBtnFace);
}

TYPED_TEST(FreeRunningFlash, AlarmSetterDoesNotTick) {
    auto& s = this->symbol;
    s.setState(TState::Run);
    s.setAlarm(true);
    s.setAlarm(false);
    EXPECT_EQ(s.BlinkColor(), clBtnFace);
    EXPECT_EQ(s.FlashColor(), clBtnFace);
}

// --- Flash rate ------------------------------------------------------------

struct RateCase {
    TFlashRate rate;
    int interval;
};
void PrintTo(const RateCase& c, std::ostream* os) {
    *os << c.interval << " ms";
}

class FlashRate : public ::testing::TestWithParam<RateCase> {
protected:
    symbols_test::WithApp app;
};

TEST_P(FlashRate, SetsIntervalAndTimerPeriodOnEverySymbol) {
    TPump pump;
    TLatch latch;
    TConveyor conveyor;
    TNoria noria;
    for (TDeviceSymbol* s :
         std::initializer_list<TDeviceSymbol*>{&pump, &latch, &conveyor, &noria}) {
        s->setAlarmFlash(GetParam().rate);
        EXPECT_EQ(s->AlarmFlash(), GetParam().rate);
        EXPECT_EQ(s->FlashInterval(), GetParam().interval);
        EXPECT_EQ(s->FlashTimer().interval(), GetParam().interval);
    }
    EXPECT_TRUE(conveyor.FlashTimer().isActive());
    EXPECT_FALSE(pump.FlashTimer().isActive());
}

INSTANTIATE_TEST_SUITE_P(Rates, FlashRate,
                         ::testing::Values(RateCase{TFlashRate::frSlow, 2000},
                                           RateCase{TFlashRate::frMedium, 1000},
                                           RateCase{TFlashRate::frFast, 500}));

// --- Defaults and redraw on every assignment -------------------------------

TEST(DeviceDefaults, DriveSymbolsStartWithThePublishedDefaults) {
    symbols_test::App();
    TPump pump;
    TConveyor conveyor;
    TNoria noria;
    EXPECT_EQ(pump.size(), QSize(120, 90));
    EXPECT_EQ(pump.ColorRun(), symbols::clLime);
    EXPECT_EQ(conveyor.ColorRun(), 0x96D296u);
    EXPECT_EQ(noria.ColorRun(), 0x96D296u);
    EXPECT_EQ(noria.AlarmFlash(), TFlashRate::frFast);
    EXPECT_EQ(noria.TopOpientation(), TNoria::TOrientation::noRight);
    EXPECT_EQ(noria.BottomOpientation(), TNoria::TOrientation::noLeft);
    EXPECT_EQ(conveyor.Opientation(), TConveyor::TConveyorOrientation::coRight);
    for (TDriveSymbol* s : std::initializer_list<TDriveSymbol*>{&pump, &conveyor, &noria}) {
        EXPECT_EQ(s->Mode(), symbols::TMode::Local);
        EXPECT_EQ(s->State(), TState::Stop);
        EXPECT_EQ(s->ColorLocal(), symbols::clGreen);
        EXPECT_EQ(s->ColorRemote(), symbols::clGray);
        EXPECT_EQ(s->ColorAuto(), symbols::clBlue);
        EXPECT_EQ(s->ColorRepair(), symbols::clOlive);
        EXPECT_EQ(s->ColorAccelerate(), symbols::clYellow);
        EXPECT_EQ(s->ColorStop(), symbols::clSilver);
        EXPECT_FALSE(s->Alarm());
        EXPECT_EQ(s->BlinkColor(), clBtnFace);
    }
}

// Counts the paints that reach the symbol on screen.
class CountingPump : public TPump {
public:
    void Paint(platform::Canvas& canvas) override {
        ++paints;
        TPump::Paint(canvas);
    }
    int paints = 0;
};

void Flush() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

TEST(DeviceRedraw, AssigningTheSameValueStillRedraws) {
    symbols_test::App();
    CountingPump pump;
    pump.resize(30, 22);
    pump.show();
    Flush();
    pump.paints = 0;
    pump.setMode(pump.Mode());
    Flush();
    EXPECT_EQ(pump.paints, 1);
    pump.setState(pump.State());
    pump.setColorRun(pump.ColorRun());
    Flush();
    EXPECT_EQ(pump.paints, 2);  // several assignments, one paint
}

TEST(DeviceRedraw, PropertiesAreReachableByTheirPublishedNames) {
    symbols_test::App();
    TNoria noria;
    EXPECT_TRUE(noria.setProperty("State", QVariant::fromValue(TState::Run)));
    EXPECT_TRUE(noria.setProperty("AlarmFlash", QVariant::fromValue(TFlashRate::frSlow)));
    EXPECT_TRUE(
        noria.setProperty("BottomOpientation", QVariant::fromValue(TNoria::TOrientation::noBoth)));
    EXPECT_TRUE(noria.setProperty("ColorStop", 0x0000FFu));
    EXPECT_TRUE(noria.setProperty("Tag", 7));
    EXPECT_EQ(noria.State(), TState::Run);
    EXPECT_EQ(noria.FlashInterval(), 2000);
    EXPECT_EQ(noria.BottomOpientation(), TNoria::TOrientation::noBoth);
    EXPECT_EQ(noria.ColorStop(), 0x0000FFu);
    EXPECT_EQ(noria.Tag(), 7);
}

}  // namespace
