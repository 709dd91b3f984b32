#include <gtest/gtest.h>

#include <set>

#include "tests/plant/PlantRig.h"

namespace {

using namespace plant;
using plant_test::PlantRig;

class RouteStageTest : public ::testing::Test {
protected:
    TRoute& Route(int r) { return rig.plant.Route[r]; }
    TDiscret& Dev(int i) { return rig.plant.Dev[i]; }
    int StartAndRun(int r) {
        PostRouteCommand(rig.plant, r, kRouteCmdStart);
        return rig.TickUntil([&] { return Route(r).State == kRouteRunning; });
    }
    std::set<int> Forbidden() {
        std::set<int> out;
        for (int r = 1; r <= kRouteCount; ++r) {
            if (!Route(r).Permitted) out.insert(r);
        }
        return out;
    }

    PlantRig rig;
};

TEST_F(RouteStageTest, Route1StartTakesFortyNineCycles) {
    EXPECT_EQ(StartAndRun(1), 49);
    EXPECT_EQ(Route(1).Step, 0);
    EXPECT_EQ(Route(1).Position, 0);
    for (int d : {15, 14, 2}) {
        EXPECT_EQ(Dev(d).Mode, kModeAuto) << d;
        EXPECT_EQ(Dev(d).State, kStateRun) << d;  // open valve / running drive
    }
    EXPECT_EQ(Dev(2).Ungle, 90);
    const auto& last = rig.journal.entries.back();
    EXPECT_EQ(last.tick, 49);
    EXPECT_EQ(last.body, " Технологическое событие \r\t Маршрут №1 запущен");
    EXPECT_EQ(last.colour, JournalColour::Blue);
}

TEST_F(RouteStageTest, StartedEntryComesTwoTicksAfterTheValvesLastStep) {
    Route(1).Command = kRouteCmdStart;
    int lastStep4 = 0;
    while (Route(1).State != kRouteRunning) {
        const bool atStep4 = Route(1).Step == kStepNextOn && Route(1).Position == 3;
        rig.Tick();
        if (atStep4) lastStep4 = rig.ticks;
    }
    EXPECT_EQ(lastStep4, 47);
    EXPECT_EQ(rig.ticks, lastStep4 + 2);
}

TEST_F(RouteStageTest, StartJournalsInBlueAndPlaysItsSoundsInOrder) {
    rig.Tick();
    rig.ClearRecords();
    Route(12).Command = kRouteCmdStart;
    rig.Tick();
    const std::vector<std::string> sounds = {"Bell.wav", "RouteStart.wav", "Route_12.wav"};
    EXPECT_EQ(rig.sound.played, sounds);
    ASSERT_FALSE(rig.journal.entries.empty());
    EXPECT_EQ(rig.journal.entries[0].body,
              " Технологическое событие \r\t Получена команда на запуск\r\tмаршрута №12");
    EXPECT_EQ(rig.journal.entries[0].colour, JournalColour::Blue);
    EXPECT_EQ(Route(12).State, kRouteStarting);
    EXPECT_EQ(Route(12).Command, 0);
    rig.TickUntil([&] { return Route(12).State == kRouteRunning; });
    EXPECT_EQ(rig.sound.played.back(), "RouteStarted.wav");
}

TEST_F(RouteStageTest, StartPutsDevicesIntoAutoThenSwitchesThemOnInListOrder) {
    Route(9).Command = kRouteCmdStart;
    rig.TickUntil([&] { return Route(9).State == kRouteRunning; });
    std::vector<std::string> switchedOn;
    for (const auto& e : rig.journal.entries) {
        auto at = e.body.find(" Получена команда - \r\t\"");
        if (at != std::string::npos && (e.body.find("ОТКРЫТЬ") != std::string::npos ||
                                        e.body.find("ВКЛЮЧИТЬ") != std::string::npos)) {
            switchedOn.push_back(e.body.substr(1, at - 1));
        }
    }
    const std::vector<std::string> expected = {"Задвижка М1", "Конвейер 3.1", "Нория 1.1",
                                               "Конвейер 3.4"};
    EXPECT_EQ(switchedOn, expected);
}

TEST_F(RouteStageTest, StopRunsInReverseOrderAndHandsDevicesBackInRemote) {
    StartAndRun(1);
    rig.ClearRecords();
    Route(1).Command = kRouteCmdStop;
    rig.Tick();
    EXPECT_EQ(Route(1).State, kRouteStopping);
    EXPECT_EQ(Route(1).Position, 3);  // the two empty slots are skipped at once
    EXPECT_EQ(Route(1).Step, kStepAwaitOff);
    EXPECT_EQ(rig.journal.entries[0].body,
              " Технологическое событие \r\t Получена команда на останов\r\tмаршрута №1");
    const std::vector<std::string> sounds = {"Bell.wav", "RouteStop.wav", "Route_1.wav"};
    EXPECT_EQ(rig.sound.played, sounds);

    rig.TickUntil([&] { return Route(1).State == kRouteStopped; });
    std::vector<std::string> order;
    for (const auto& e : rig.journal.entries) {
        if (e.body.find("\"ЗАКРЫТЬ\"") != std::string::npos ||
            e.body.find("\"ВЫКЛЮЧИТЬ\"") != std::string::npos) {
            order.push_back(e.body.substr(1, e.body.find(" Получена") - 1));
        }
    }
    const std::vector<std::string> expected = {"Задвижка М2", "Конвейер 3.2", "Конвейер 3.3"};
    EXPECT_EQ(order, expected);
    rig.Tick(2);  // the last Remote command is executed by the next tick
    for (int d : {15, 14, 2}) {
        EXPECT_EQ(Dev(d).Mode, kModeRemote) << d;
        EXPECT_EQ(Dev(d).State, kStateClosed) << d;  // closed valve / stopped drive
    }
    EXPECT_EQ(Route(1).Step, 0);
    EXPECT_EQ(Route(1).Position, 0);
    EXPECT_EQ(rig.sound.played.back(), "RouteStoped.wav");
    bool stoppedEntry = false;
    for (const auto& e : rig.journal.entries) {
        stoppedEntry |= e.body == " Технологическое событие \r\t Маршрут №1 остановлен";
    }
    EXPECT_TRUE(stoppedEntry);
}

struct InterlockCase {
    int route;
    std::set<int> forbidden;
};
void PrintTo(const InterlockCase& c, std::ostream* os) {
    *os << "route " << c.route;
}

class InterlockTest : public RouteStageTest, public ::testing::WithParamInterface<InterlockCase> {};

TEST_P(InterlockTest, AnActiveRouteForbidsItsGroupAndItsSilo) {
    const int r = GetParam().route;
    Route(r).Command = kRouteCmdStart;
    rig.Tick();
    EXPECT_TRUE(Forbidden().empty());  // computed before the start was taken
    rig.Tick();
    EXPECT_EQ(Forbidden(), GetParam().forbidden);
    rig.TickUntil([&] { return Route(r).State == kRouteRunning; });
    rig.Tick();
    EXPECT_EQ(Forbidden(), GetParam().forbidden);
}

INSTANTIATE_TEST_SUITE_P(Groups, InterlockTest,
                         ::testing::Values(InterlockCase{1, {2, 3, 4, 5, 9}},
                                           InterlockCase{2, {1, 3, 4, 6, 10}},
                                           InterlockCase{4, {1, 2, 3, 8, 12}},
                                           InterlockCase{5, {1, 6, 7, 8, 9, 10, 11, 12}},
                                           InterlockCase{8, {4, 5, 6, 7, 9, 10, 11, 12}},
                                           InterlockCase{9, {1, 5, 6, 7, 8, 10, 11, 12}},
                                           InterlockCase{12, {4, 5, 6, 7, 8, 9, 10, 11}}));

TEST_F(RouteStageTest, RouteListShowsAStartFromTheNextTick) {
    rig.Tick();
    Route(2).Command = kRouteCmdStart;
    rig.Tick();
    EXPECT_EQ(rig.diagram.RouteLook(2).colour, 0xFF00000Fu);
    EXPECT_EQ(rig.diagram.RouteLook(2).hint, "Маршрут остановлен");
    EXPECT_EQ(rig.diagram.RouteLook(1).fontColour, 0u);
    rig.Tick();
    EXPECT_EQ(rig.diagram.RouteLook(2).colour, 0x00C8ECECu);
    EXPECT_EQ(rig.diagram.RouteLook(2).hint, "Маршрут в состоянии запуска");
    EXPECT_EQ(rig.diagram.RouteLook(2).fontColour, 0u);
    for (int r : {1, 3, 4, 6, 10}) {
        EXPECT_EQ(rig.diagram.RouteLook(r).hint, "Маршрут запрещен") << r;
        EXPECT_EQ(rig.diagram.RouteLook(r).fontColour, 0x00808080u) << r;
        EXPECT_EQ(rig.diagram.RouteLook(r).colour, 0xFF00000Fu) << r;
    }
    rig.TickUntil([&] { return Route(2).State == kRouteRunning; });
    rig.Tick();
    EXPECT_EQ(rig.diagram.RouteLook(2).colour, 0x00C8ECC8u);
    EXPECT_EQ(rig.diagram.RouteLook(2).hint, "Маршрут в работе");
    Route(2).Command = kRouteCmdStop;
    rig.Tick(2);
    EXPECT_EQ(rig.diagram.RouteLook(2).colour, 0x00C8ECECu);
    EXPECT_EQ(rig.diagram.RouteLook(2).hint, "Маршрут в состоянии останова");
}

TEST_F(RouteStageTest, ShippingAndIntakeIntoAnotherSiloRunTogether) {
    Route(2).Command = kRouteCmdStart;
    Route(7).Command = kRouteCmdStart;
    rig.TickUntil(
        [&] { return Route(2).State == kRouteRunning && Route(7).State == kRouteRunning; });
    ASSERT_EQ(Route(2).State, kRouteRunning);
    ASSERT_EQ(Route(7).State, kRouteRunning);
    const double silo2 = rig.plant.Tank[2], silo3 = rig.plant.Tank[3];
    const double shipped = rig.plant.ShippingMassa;
    rig.Tick(100);
    EXPECT_NEAR(rig.plant.Tank[2], silo2 - 3.0, 1e-9);
    EXPECT_NEAR(rig.plant.Tank[3], silo3 + 2.0, 1e-9);
    EXPECT_NEAR(rig.plant.ShippingMassa, shipped + 3.0, 1e-9);
    EXPECT_EQ(rig.plant.Tank[1], 15000.0);
    EXPECT_EQ(rig.plant.Tank[4], 7500.0);
}

TEST_F(RouteStageTest, RunningRouteDoesNotWatchItsDevices) {
    StartAndRun(2);
    Dev(14).Command = kCmdRemote;
    rig.Tick();
    Dev(14).Command = kCmdClose;
    rig.Tick(5);
    EXPECT_EQ(Dev(14).State, kStateStop);
    EXPECT_EQ(Route(2).State, kRouteRunning);
    const double before = rig.plant.Tank[2];
    rig.Tick();
    EXPECT_LT(rig.plant.Tank[2], before);
}

const std::string kConveyor33RefusedInAuto =
    " Конвейер 3.3 Команда управления\r\tотклонена - устройство в автоматическом\r\tрежиме "
    "управления";

// The operator's command posted while the route's Auto mode command is still
// pending on the device: it runs with no borrowed authority and wipes out
// nothing; the device is the route's, so the motion command is refused.
TEST_F(RouteStageTest, OperatorMotionCommandBesideAPendingRouteCommandIsRefused) {
    Route(2).Command = kRouteCmdStart;
    rig.Tick();
    ASSERT_EQ(Dev(15).RouteCommand, kCmdAuto);
    rig.ClearRecords();
    ASSERT_TRUE(PostCommand(rig.plant, 15, kCmdClose, kSourceOperator));
    rig.Tick();
    ASSERT_FALSE(rig.journal.entries.empty());
    EXPECT_EQ(rig.journal.entries[0].body, kConveyor33RefusedInAuto);
    EXPECT_EQ(rig.journal.entries[0].colour, JournalColour::Blue);
    EXPECT_EQ(Dev(15).Mode, kModeAuto);  // the route's command, taken in the same cycle
    EXPECT_EQ(rig.plant.DeviceOutcome[15], (TOutcome{kCmdClose, kOutcomeRefusedAuto, 2}));
    rig.TickUntil([&] { return Route(2).State == kRouteRunning; }, 200);
    EXPECT_EQ(Route(2).State, kRouteRunning);
    EXPECT_EQ(rig.ticks, 49);  // no later than without the operator's command
}

// The operator's motion command posted while the route's own motion command
// runs on the device: refused in the cycle that would have taken it over, and
// the route's command runs on.
TEST_F(RouteStageTest, OperatorMotionCommandDuringTheRoutesOwnIsRefusedAndTheStartGoesOn) {
    Route(2).Command = kRouteCmdStart;
    rig.TickUntil([&] { return Dev(15).ActiveCommand == kCmdOpen; });
    rig.ClearRecords();
    ASSERT_TRUE(PostCommand(rig.plant, 15, kCmdStop, kSourceOperator));
    rig.Tick();
    EXPECT_EQ(Dev(15).ActiveCommand, kCmdOpen);
    EXPECT_EQ(Dev(15).ActiveSource, kSourceRoute);
    ASSERT_FALSE(rig.journal.entries.empty());
    EXPECT_EQ(rig.journal.entries[0].body, kConveyor33RefusedInAuto);
    EXPECT_EQ(rig.journal.entries[0].colour, JournalColour::Blue);
    rig.TickUntil([&] { return Route(2).State == kRouteRunning; }, 200);
    EXPECT_EQ(Route(2).State, kRouteRunning);
    EXPECT_EQ(rig.ticks, 49);
}

// The operator's service command never wipes out the route's pending command:
// it waits until the route's command has been taken over and the device is
// idle, then runs, and the route goes on.
TEST_F(RouteStageTest, OperatorServiceCommandWaitsBehindTheRoutesAndThenRuns) {
    Route(2).Command = kRouteCmdStart;
    rig.Tick();
    ASSERT_EQ(Dev(15).RouteCommand, kCmdAuto);
    ASSERT_TRUE(PostCommand(rig.plant, 15, kCmdRemote, kSourceOperator));
    rig.Tick();
    EXPECT_EQ(Dev(15).Mode, kModeAuto);
    EXPECT_EQ(Dev(15).Command, kCmdRemote);  // waiting its turn
    rig.TickUntil([&] { return Dev(15).Command == kCmdNone; }, 20);
    EXPECT_EQ(rig.ticks, 7);  // the cycle after the route's switch-on has ended
    EXPECT_EQ(Dev(15).Mode, kModeRemote);
    EXPECT_EQ(Dev(15).State, kStateRun);
    EXPECT_EQ(rig.plant.DeviceOutcome[15], (TOutcome{kCmdRemote, kOutcomeTaken, 7}));
    rig.TickUntil([&] { return Route(2).State == kRouteRunning; }, 200);
    EXPECT_EQ(rig.ticks, 49);
}

// A mode command to a device of a running route is taken over as ever: the
// operator can take a device out of Auto mode.
struct ModeCase {
    const char* name;
    int32_t code;
    int32_t mode;
};
void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << c.name;
}

class ModeCommandOnARunningRoute : public RouteStageTest,
                                   public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ModeCommandOnARunningRoute, IsTakenOverAtTheNextCycle) {
    StartAndRun(2);
    rig.ClearRecords();
    ASSERT_TRUE(PostCommand(rig.plant, 14, GetParam().code, kSourceOperator));
    rig.Tick();
    EXPECT_EQ(Dev(14).Mode, GetParam().mode);
    EXPECT_EQ(rig.journal.entries.size(), 2u);  // the request and "Установлен"
    EXPECT_EQ(rig.plant.DeviceOutcome[14].Result, kOutcomeTaken);
    EXPECT_EQ(Dev(14).State, kStateRun);
    EXPECT_EQ(Route(2).State, kRouteRunning);
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeCommandOnARunningRoute,
                         ::testing::Values(ModeCase{"Local", kCmdLocal, kModeLocal},
                                           ModeCase{"Remote", kCmdRemote, kModeRemote},
                                           ModeCase{"Repair", kCmdRepair, kModeRepair}));

// What became of an operator's route commands, with the cycle: pending from
// the post (numbered by the last cycle run), then taken or refused by the
// cycle that took it over; refused at once when the route does not take it.
TEST_F(RouteStageTest, RouteOutcomesRecordTheFateOfTheOperatorsCommands) {
    rig.Tick(3);
    ASSERT_TRUE(PostRouteCommand(rig.plant, 1, kRouteCmdStart));
    ASSERT_TRUE(PostRouteCommand(rig.plant, 2, kRouteCmdStart));  // conflicts with route 1
    EXPECT_EQ(rig.plant.RouteOutcome[1], (TOutcome{kRouteCmdStart, kOutcomePending, 3}));
    rig.Tick();
    EXPECT_EQ(rig.plant.RouteOutcome[1], (TOutcome{kRouteCmdStart, kOutcomeTaken, 4}));
    EXPECT_EQ(rig.plant.RouteOutcome[2], (TOutcome{kRouteCmdStart, kOutcomeRefusedForbidden, 4}));
    EXPECT_FALSE(PostRouteCommand(rig.plant, 1, kRouteCmdStop));  // still starting
    EXPECT_EQ(rig.plant.RouteOutcome[1], (TOutcome{kRouteCmdStop, kOutcomeRefusedState, 4}));
    rig.Tick();
    EXPECT_FALSE(PostRouteCommand(rig.plant, 3, kRouteCmdStart));
    EXPECT_EQ(rig.plant.RouteOutcome[3], (TOutcome{kRouteCmdStart, kOutcomeRefusedForbidden, 5}));
    EXPECT_FALSE(PostRouteCommand(rig.plant, 4, 3));  // no route command: nothing recorded
    EXPECT_EQ(rig.plant.RouteOutcome[4].Result, kOutcomeNone);
}

// The controller's own stop at a silo limit is no operator's command.
TEST_F(RouteStageTest, SiloLimitStopLeavesTheOperatorsOutcomeAlone) {
    StartAndRun(1);
    const TOutcome started = rig.plant.RouteOutcome[1];
    rig.plant.Tank[1] = 100.0;  // below the minimum limit
    rig.Tick();
    EXPECT_EQ(Route(1).State, kRouteStopping);
    EXPECT_EQ(rig.plant.RouteOutcome[1], started);
}

// The route list offers a start only for a stopped, permitted route, but the
// command can arrive after another route has become active: it must not start.
TEST_F(RouteStageTest, StartForbiddenEarlierInTheSameTickIsRefused) {
    Route(1).Command = kRouteCmdStart;
    Route(2).Command = kRouteCmdStart;
    rig.Tick();
    EXPECT_EQ(Route(1).State, kRouteStarting);
    EXPECT_EQ(Route(2).State, kRouteStopped);
    EXPECT_EQ(Route(2).Command, 0);
    const auto& e = rig.journal.entries.back();
    EXPECT_EQ(e.body,
              " Технологическое событие \r\t Запуск маршрута №2 отклонен -\r\tмаршрут запрещен");
    EXPECT_EQ(e.colour, JournalColour::Blue);
    const std::vector<std::string> sounds = {"Bell.wav", "RouteStart.wav", "Route_1.wav"};
    EXPECT_EQ(rig.sound.played, sounds);
}

TEST_F(RouteStageTest, StartPostedWhileTheListStillShowedItPermittedIsRefused) {
    Route(5).Command = kRouteCmdStart;
    rig.Tick();
    ASSERT_TRUE(Route(1).Permitted);  // not yet recomputed
    Route(1).Command = kRouteCmdStart;
    rig.Tick();
    EXPECT_EQ(Route(1).State, kRouteStopped);
    EXPECT_EQ(Route(5).State, kRouteStarting);
}

TEST_F(RouteStageTest, StaleStopOfAStoppedRouteLeavesAnotherRouteAlone) {
    StartAndRun(2);
    rig.ClearRecords();
    Route(1).Command = kRouteCmdStop;  // route 1 shares conveyors 3.3 and 3.2
    rig.Tick(5);
    EXPECT_EQ(Route(1).State, kRouteStopped);
    EXPECT_EQ(Route(2).State, kRouteRunning);
    EXPECT_EQ(Dev(15).State, kStateRun);
    EXPECT_EQ(Dev(14).State, kStateRun);
    EXPECT_TRUE(rig.journal.entries.empty());
    EXPECT_TRUE(rig.sound.played.empty());
}

// A step restored from a saved state has no position: it must not reach past
// the device list.
struct ResumedStepCase {
    int32_t step;
    int32_t position;
    int32_t nextStep;
    int32_t nextState;
};
void PrintTo(const ResumedStepCase& c, std::ostream* os) {
    *os << "step " << c.step << " position " << c.position;
}

class ResumedStepTest : public RouteStageTest,
                        public ::testing::WithParamInterface<ResumedStepCase> {};

TEST_P(ResumedStepTest, StepWithoutADeviceMovesOnSafely) {
    Route(1).State = kRouteStopped;
    Route(1).Step = GetParam().step;
    Route(1).Position = GetParam().position;
    rig.Tick();
    EXPECT_EQ(Route(1).Step, GetParam().nextStep);
    EXPECT_EQ(Route(1).State, GetParam().nextState);
    for (int d = 1; d <= kDeviceCount; ++d) EXPECT_EQ(Dev(d).RouteCommand, kCmdNone) << d;
}

INSTANTIATE_TEST_SUITE_P(
    SavedSteps, ResumedStepTest,
    ::testing::Values(
        ResumedStepCase{1, 0, 5, kRouteStopped}, ResumedStepCase{2, 0, 5, kRouteStopped},
        ResumedStepCase{3, 0, 5, kRouteStopped}, ResumedStepCase{3, 7, 5, kRouteStopped},
        ResumedStepCase{4, 0, 1, kRouteStopped}, ResumedStepCase{5, 0, 0, kRouteRunning},
        ResumedStepCase{7, 0, 7, kRouteStopped}, ResumedStepCase{11, 0, 0, kRouteStopped},
        ResumedStepCase{11, -4, 0, kRouteStopped}, ResumedStepCase{12, 0, 0, kRouteStopped},
        ResumedStepCase{13, 0, 0, kRouteStopped}, ResumedStepCase{14, 0, 0, kRouteStopped}));

TEST_F(RouteStageTest, StopStepBeyondTheListStartsFromTheLastDevice) {
    Route(1).State = kRouteStopping;
    Route(1).Step = kStepSwitchOff;
    Route(1).Position = 9;
    rig.Tick();
    EXPECT_EQ(Route(1).Position, 3);
    EXPECT_EQ(Dev(2).RouteCommand, kCmdClose);
}

TEST_F(RouteStageTest, RouteCommandsLandInTheRoutesSlot) {
    Route(3).Command = kRouteCmdStart;
    rig.Tick();
    EXPECT_EQ(Dev(15).RouteCommand, kCmdAuto);
    EXPECT_EQ(Dev(15).Command, kCmdNone);
}

}  // namespace
