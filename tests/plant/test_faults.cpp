#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/plant/PlantRig.h"

namespace {

using namespace plant;
using plant_test::PlantRig;

constexpr int kValveM2 = 2;
constexpr int kConveyor32 = 14;
constexpr int kConveyor33 = 15;
constexpr int kShipping1 = 1;

const std::string kTripEntry = " Конвейер 3.2 Изменение состояния - \r\t\"АВАРИЯ\"";
const std::string kRoute1FaultStop =
    " Технологическое событие \r\t Аварийный останов маршрута №1 -\r\tавария: Конвейер 3.2";

class FaultTest : public ::testing::Test {
protected:
    using RecordingEntry = plant_test::RecordingJournal::Entry;

    FaultTest() { rig.Tick(); }  // the first tick brings the silo indicators up to date
    TDiscret& Dev(int i) { return rig.plant.Dev[i]; }
    TRoute& Route(int r) { return rig.plant.Route[r]; }
    void Post(int dev, int32_t command) { PostCommand(rig.plant, dev, command, kSourceOperator); }
    void RunRoute1() {
        Route(kShipping1).Command = kRouteCmdStart;
        rig.TickUntil([&] { return Route(kShipping1).State == kRouteRunning; });
    }
    // Ticks until route 1 is stopped; false when it has not stopped within
    // twice its longest sequence.
    bool Route1Stops() {
        rig.TickUntil([&] { return Route(kShipping1).State == kRouteStopped; }, 200);
        return Route(kShipping1).State == kRouteStopped;
    }
    std::vector<RecordingEntry> EntriesWith(const std::string& text) const {
        std::vector<RecordingEntry> out;
        for (const auto& e : rig.journal.entries) {
            if (e.body.find(text) != std::string::npos) out.push_back(e);
        }
        return out;
    }

    PlantRig rig;
};

TEST_F(FaultTest, TripStopsTheRunningConveyorAtOnceAndItsRouteStopsItselfInTheSameCycle) {
    RunRoute1();
    rig.ClearRecords();
    ASSERT_TRUE(PostFault(rig.plant, kConveyor32, kFaultTrip));
    rig.Tick();
    EXPECT_EQ(Dev(kConveyor32).State, kStateStop);
    EXPECT_EQ(Dev(kConveyor32).ErrorText, "Авария: отключение привода");
    EXPECT_EQ(Route(kShipping1).State, kRouteStopping);
    ASSERT_GE(rig.journal.entries.size(), 3u);
    EXPECT_EQ(rig.journal.entries[0].body, kTripEntry);
    EXPECT_EQ(rig.journal.entries[0].colour, JournalColour::Red);
    EXPECT_EQ(rig.journal.entries[1].body, kRoute1FaultStop);
    EXPECT_EQ(rig.journal.entries[1].colour, JournalColour::Red);
    EXPECT_EQ(rig.journal.entries[2].body,
              " Технологическое событие \r\t Получена команда на останов\r\tмаршрута №1");
    const std::vector<std::string> sounds = {"Bell.wav", "RouteStop.wav", "Route_1.wav"};
    EXPECT_EQ(rig.sound.played, sounds);

    ASSERT_TRUE(Route1Stops());
    rig.Tick(2);  // the last hand-back is carried out by the next cycle
    for (int d : {kConveyor33, kConveyor32, kValveM2}) {
        EXPECT_EQ(Dev(d).Mode, kModeRemote) << d;
        EXPECT_EQ(Dev(d).State, kStateClosed) << d;  // closed valve / stopped drive
    }
    EXPECT_EQ(EntriesWith("АВАРИЯ").size(), 1u);
    EXPECT_EQ(EntriesWith("Аварийный останов").size(), 1u);
}

TEST_F(FaultTest, TrippedDriveRefusesSwitchOnAndResetUntilClearedThenItsRouteRunsAgain) {
    RunRoute1();
    PostFault(rig.plant, kConveyor32, kFaultTrip);
    rig.Tick();
    ASSERT_TRUE(Route1Stops());
    rig.Tick(2);
    rig.ClearRecords();

    Post(kConveyor32, kCmdOpen);  // Remote mode, as the stop left it
    rig.Tick(4);
    Post(kConveyor32, kCmdReset);
    rig.Tick();
    EXPECT_EQ(Dev(kConveyor32).State, kStateStop);
    EXPECT_FALSE(Dev(kConveyor32).ErrorText.empty());
    std::vector<std::string> refusals = {
        " Конвейер 3.2 Команда управления\r\tотклонена - устройство в аварийном\r\tсостоянии",
        " Конвейер 3.2 Команда управления\r\tотклонена - неисправность не\r\tустранена"};
    EXPECT_EQ(rig.Bodies(), refusals);
    for (const auto& e : rig.journal.entries) EXPECT_EQ(e.colour, JournalColour::Blue);

    // Clearing the fault leaves the alarm until the operator resets it.
    rig.ClearRecords();
    PostFault(rig.plant, kConveyor32, kFaultNone);
    rig.Tick();
    EXPECT_FALSE(Dev(kConveyor32).ErrorText.empty());
    Post(kConveyor32, kCmdReset);
    rig.Tick();
    EXPECT_EQ(Dev(kConveyor32).ErrorText, "");
    const std::vector<std::string> clearAndReset = {
        " Конвейер 3.2 Изменение состояния - \r\t\"НЕИСПРАВНОСТЬ УСТРАНЕНА\"",
        " Конвейер 3.2 Получена команда - \r\t\"СБРОСИТЬ ФЛАГ АВАРИИ\""};
    EXPECT_EQ(rig.Bodies(), clearAndReset);

    RunRoute1();
    EXPECT_EQ(Route(kShipping1).State, kRouteRunning);
    EXPECT_EQ(Dev(kConveyor32).State, kStateRun);
}

TEST_F(FaultTest, JamOfM2WhileRoute1StartsStopsTheRouteAndItsStopPassesOverTheValve) {
    Route(kShipping1).Command = kRouteCmdStart;
    rig.TickUntil([&] { return Dev(kValveM2).Ungle >= 45; });
    const int32_t angle = Dev(kValveM2).Ungle;
    PostFault(rig.plant, kValveM2, kFaultJam);
    rig.Tick();
    EXPECT_EQ(Dev(kValveM2).Ungle, angle);  // stopped where it was
    EXPECT_EQ(Dev(kValveM2).ErrorText, "Авария: заклинивание");
    EXPECT_EQ(Route(kShipping1).State, kRouteStopping);
    EXPECT_EQ(EntriesWith(" Аварийный останов маршрута №1 -\r\tавария: Задвижка М2").size(), 1u);

    ASSERT_TRUE(Route1Stops());
    rig.Tick(2);
    EXPECT_EQ(Dev(kValveM2).Ungle, angle);
    EXPECT_EQ(Dev(kValveM2).State, kStateIntermediate);
    for (int d : {kConveyor33, kConveyor32, kValveM2}) EXPECT_EQ(Dev(d).Mode, kModeRemote) << d;
    for (int d : {kConveyor33, kConveyor32}) EXPECT_EQ(Dev(d).State, kStateStop) << d;

    // Commands are taken and journalled as usual, but the valve does not move.
    rig.ClearRecords();
    Post(kValveM2, kCmdClose);
    rig.Tick(5);
    EXPECT_EQ(Dev(kValveM2).Ungle, angle);
    EXPECT_EQ(Dev(kValveM2).ActiveCommand, kCmdNone);
    const std::vector<std::string> announced = {" Задвижка М2 Получена команда - \r\t\"ЗАКРЫТЬ\""};
    EXPECT_EQ(rig.Bodies(), announced);
    // Once cleared it moves again.
    PostFault(rig.plant, kValveM2, kFaultNone);
    Post(kValveM2, kCmdClose);
    rig.TickUntil([&] { return Dev(kValveM2).State == kStateClosed; }, 40);
    EXPECT_EQ(Dev(kValveM2).Ungle, 0);
}

// A jam of an open valve in a running route, and a trip of a drive that the
// stop sequence is taking down: neither holds the stop up.
struct StopCase {
    const char* name;
    int device;
    int32_t fault;
    bool duringStop;  // injected while the stop sequence waits for the device
};

void PrintTo(const StopCase& c, std::ostream* os) {
    *os << c.name;
}

class FaultDuringStopTest : public FaultTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(FaultDuringStopTest, EveryDeviceIsHandedBack) {
    const StopCase& c = GetParam();
    RunRoute1();
    if (c.duringStop) {
        Route(kShipping1).Command = kRouteCmdStop;
        rig.TickUntil([&] {
            const TRoute& r = Route(kShipping1);
            return r.Step == kStepAwaitOff && r.Devices[r.Position] == c.device &&
                   Dev(c.device).State == kStateAcceleration;
        });
        ASSERT_EQ(Dev(c.device).State, kStateAcceleration);
    }
    PostFault(rig.plant, c.device, c.fault);
    ASSERT_TRUE(Route1Stops());
    rig.Tick(2);
    for (int d : {kConveyor33, kConveyor32, kValveM2}) EXPECT_EQ(Dev(d).Mode, kModeRemote) << d;
    EXPECT_EQ(Dev(c.device).ActiveCommand, kCmdNone);
    EXPECT_EQ(Route(kShipping1).Step, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultDuringStopTest,
    ::testing::Values(StopCase{"OpenValveJammed", kValveM2, kFaultJam, false},
                      StopCase{"DriveTrippedWhileRunningDown", kConveyor32, kFaultTrip, true},
                      StopCase{"FirstDriveTrippedRunningDown", kConveyor33, kFaultTrip, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FaultTest, SymbolAndAlarmBoardShowTheAlarmFromTheNextCycleUntilTheReset) {
    const long quiet = rig.diagram.SetterCalls();
    rig.Tick();
    EXPECT_EQ(rig.diagram.SetterCalls(), quiet);  // no fault: no alarm is ever set
    PostFault(rig.plant, kValveM2, kFaultJam);
    rig.Tick();
    EXPECT_FALSE(rig.diagram.SymbolAlarm(kValveM2));
    EXPECT_FALSE(rig.diagram.EmergencyStopShown());
    rig.Tick();
    EXPECT_TRUE(rig.diagram.SymbolAlarm(kValveM2));
    EXPECT_TRUE(rig.diagram.EmergencyStopShown());
    PostFault(rig.plant, kConveyor32, kFaultTrip);
    PostFault(rig.plant, kValveM2, kFaultNone);
    Post(kValveM2, kCmdReset);
    rig.Tick(2);
    EXPECT_FALSE(rig.diagram.SymbolAlarm(kValveM2));
    EXPECT_TRUE(rig.diagram.SymbolAlarm(kConveyor32));
    EXPECT_TRUE(rig.diagram.EmergencyStopShown());  // while any device is in alarm
    PostFault(rig.plant, kConveyor32, kFaultNone);
    rig.Tick();
    Post(kConveyor32, kCmdReset);
    rig.Tick(2);
    EXPECT_FALSE(rig.diagram.SymbolAlarm(kConveyor32));
    EXPECT_FALSE(rig.diagram.EmergencyStopShown());
}

// What may be posted: a trip to a drive, a jam to a valve, a clear to any
// device; a fault posted twice, or a clear with no fault, journals nothing more.
struct PostCase {
    int device;
    int32_t fault;
    bool taken;
    std::size_t entries;  // journalled by posting it twice
};
void PrintTo(const PostCase& c, std::ostream* os) {
    *os << "device " << c.device << " fault " << c.fault;
}

class PostFaultTest : public FaultTest, public ::testing::WithParamInterface<PostCase> {};

TEST_P(PostFaultTest, TakesOnlyWhatFitsTheDeviceAndOnlyOnce) {
    const PostCase& c = GetParam();
    rig.ClearRecords();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(PostFault(rig.plant, c.device, c.fault), c.taken);
        rig.Tick();
    }
    EXPECT_EQ(rig.journal.entries.size(), c.entries);
    if (OneBased<TFault, kDeviceCount>::Contains(c.device)) {
        EXPECT_EQ(rig.plant.Faults[c.device].Kind, c.taken ? c.fault : kFaultNone);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, PostFaultTest,
                         ::testing::Values(PostCase{kValveM2, kFaultJam, true, 1},
                                           PostCase{kConveyor32, kFaultTrip, true, 1},
                                           PostCase{18, kFaultTrip, true, 1},
                                           PostCase{kValveM2, kFaultTrip, false, 0},
                                           PostCase{kConveyor32, kFaultJam, false, 0},
                                           PostCase{kConveyor32, kFaultNone, true, 0},
                                           PostCase{kConveyor32, 3, false, 0},
                                           PostCase{0, kFaultNone, false, 0},
                                           PostCase{19, kFaultTrip, false, 0}),
                         [](const auto& info) {
                             return "Device" + std::to_string(info.param.device) + "Fault" +
                                    std::to_string(info.param.fault);
                         });

}  // namespace
