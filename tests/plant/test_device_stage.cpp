#include <gtest/gtest.h>

#include "tests/plant/PlantRig.h"

namespace {

using namespace plant;
using plant_test::PlantRig;

constexpr int kValveM1 = 1;
constexpr int kConveyor31 = 13;
constexpr int kConveyor33 = 15;

class DeviceStageTest : public ::testing::Test {
protected:
    DeviceStageTest() { rig.Tick(); }  // the first tick brings the silo indicators up to date
    void Post(int dev, int32_t command, int32_t source = kSourceOperator) {
        ASSERT_TRUE(PostCommand(rig.plant, dev, command, source));
    }
    void Remote(int dev) { rig.plant.Dev[dev].Mode = kModeRemote; }
    // Entries written from now on.
    void Mark() { rig.ClearRecords(); }
    TDiscret& Dev(int i) { return rig.plant.Dev[i]; }

    PlantRig rig;
};

TEST_F(DeviceStageTest, ValveOpensInThirtyOneTicks) {
    Remote(kValveM1);
    Mark();
    Post(kValveM1, kCmdOpen);
    rig.Tick();  // T0: announcement only
    EXPECT_EQ(Dev(kValveM1).Ungle, 0);
    EXPECT_EQ(Dev(kValveM1).CommandStep, 1);
    for (int t = 1; t <= 30; ++t) {
        rig.Tick();
        ASSERT_EQ(Dev(kValveM1).Ungle, 3 * t) << "T" << t;
        ASSERT_EQ(Dev(kValveM1).State, t == 1 ? kStateClosed : kStateIntermediate) << "T" << t;
    }
    EXPECT_EQ(Dev(kValveM1).ActiveCommand, kCmdOpen);
    rig.Tick();  // T31
    EXPECT_EQ(Dev(kValveM1).State, kStateOpen);
    EXPECT_EQ(Dev(kValveM1).ActiveCommand, kCmdNone);

    const int t0 = rig.ticks - 31;
    ASSERT_EQ(rig.journal.entries.size(), 3u);
    EXPECT_EQ(rig.journal.entries[0].tick, t0);
    EXPECT_EQ(rig.journal.entries[0].body, " Задвижка М1 Получена команда - \r\t\"ОТКРЫТЬ\"");
    EXPECT_EQ(rig.journal.entries[1].tick, t0 + 2);
    EXPECT_EQ(rig.journal.entries[1].body,
              " Задвижка М1 Изменение состояния - \r\t\"ПРОМЕЖУТОЧНОЕ ПОЛОЖЕНИЕ\"");
    EXPECT_EQ(rig.journal.entries[2].tick, t0 + 31);
    EXPECT_EQ(rig.journal.entries[2].body, " Задвижка М1 Изменение состояния - \r\t\"ОТКРЫТО\"");
    for (const auto& e : rig.journal.entries) EXPECT_EQ(e.colour, JournalColour::Default);
}

TEST_F(DeviceStageTest, ValveClosesAsTheMirrorImage) {
    Remote(kValveM1);
    Dev(kValveM1).Ungle = 90;
    rig.Tick();
    Mark();
    Post(kValveM1, kCmdClose);
    rig.Tick(32);  // T0 .. T31
    EXPECT_EQ(Dev(kValveM1).Ungle, 0);
    EXPECT_EQ(Dev(kValveM1).State, kStateClosed);
    EXPECT_EQ(Dev(kValveM1).ActiveCommand, kCmdNone);
    const std::vector<std::string> expected = {
        " Задвижка М1 Получена команда - \r\t\"ЗАКРЫТЬ\"",
        " Задвижка М1 Изменение состояния - \r\t\"ПРОМЕЖУТОЧНОЕ ПОЛОЖЕНИЕ\"",
        " Задвижка М1 Изменение состояния - \r\t\"ЗАКРЫТО\""};
    ASSERT_EQ(rig.Bodies(), expected);
    EXPECT_EQ(rig.journal.entries[2].tick, rig.ticks);
}

TEST_F(DeviceStageTest, DriveStartsAndStopsInThreeTicks) {
    Remote(kConveyor31);
    Mark();
    Post(kConveyor31, kCmdOpen);
    rig.Tick();
    EXPECT_EQ(Dev(kConveyor31).State, kStateStop);
    rig.Tick();
    EXPECT_EQ(Dev(kConveyor31).State, kStateAcceleration);
    rig.Tick();
    EXPECT_EQ(Dev(kConveyor31).State, kStateRun);
    EXPECT_EQ(Dev(kConveyor31).ActiveCommand, kCmdOpen);
    rig.Tick();
    EXPECT_EQ(Dev(kConveyor31).ActiveCommand, kCmdNone);

    Post(kConveyor31, kCmdClose);
    rig.Tick(2);
    EXPECT_EQ(Dev(kConveyor31).State, kStateAcceleration);
    rig.Tick(2);
    EXPECT_EQ(Dev(kConveyor31).State, kStateStop);
    EXPECT_EQ(Dev(kConveyor31).ActiveCommand, kCmdNone);

    const std::vector<std::string> expected = {
        " Конвейер 3.1 Получена команда - \r\t\"ВКЛЮЧИТЬ\"",
        " Конвейер 3.1 Изменение состояния - \r\t\"ВКЛЮЧЕНО\"",
        " Конвейер 3.1 Получена команда - \r\t\"ВЫКЛЮЧИТЬ\"",
        " Конвейер 3.1 Изменение состояния - \r\t\"ВЫКЛЮЧЕНО\""};
    EXPECT_EQ(rig.Bodies(), expected);
}

TEST_F(DeviceStageTest, OpenOnAnOpenValveEndsNextTickWithoutStateEntry) {
    Remote(kValveM1);
    Dev(kValveM1).Ungle = 90;
    rig.Tick();
    Mark();
    Post(kValveM1, kCmdOpen);
    rig.Tick(2);
    EXPECT_EQ(Dev(kValveM1).ActiveCommand, kCmdNone);
    ASSERT_EQ(rig.journal.entries.size(), 1u);
    EXPECT_EQ(rig.journal.entries[0].body, " Задвижка М1 Получена команда - \r\t\"ОТКРЫТЬ\"");
}

TEST_F(DeviceStageTest, SwitchOnARunningDriveReportsOnInTheNextTick) {
    Remote(kConveyor31);
    Dev(kConveyor31).State = kStateRun;
    rig.Tick();
    Mark();
    Post(kConveyor31, kCmdOpen);
    rig.Tick(2);
    const std::vector<std::string> expected = {
        " Конвейер 3.1 Получена команда - \r\t\"ВКЛЮЧИТЬ\"",
        " Конвейер 3.1 Изменение состояния - \r\t\"ВКЛЮЧЕНО\""};
    EXPECT_EQ(rig.Bodies(), expected);
    EXPECT_EQ(rig.journal.entries[1].tick, rig.ticks);
    EXPECT_EQ(Dev(kConveyor31).ActiveCommand, kCmdNone);
}

TEST_F(DeviceStageTest, CloseWhileOpeningReversesFromTheCurrentAngle) {
    Remote(kValveM1);
    Post(kValveM1, kCmdOpen);
    rig.Tick(6);  // T0 + 5 steps
    ASSERT_EQ(Dev(kValveM1).Ungle, 15);
    Post(kValveM1, kCmdClose);
    rig.Tick();  // taken over at once, announced
    EXPECT_EQ(Dev(kValveM1).ActiveCommand, kCmdClose);
    EXPECT_EQ(Dev(kValveM1).Ungle, 15);
    rig.Tick();
    EXPECT_EQ(Dev(kValveM1).Ungle, 12);
}

TEST_F(DeviceStageTest, StopLeavesATravellingValveIntermediate) {
    Remote(kValveM1);
    Post(kValveM1, kCmdOpen);
    rig.Tick(5);
    Mark();
    Post(kValveM1, kCmdStop);
    rig.Tick(10);
    EXPECT_EQ(Dev(kValveM1).Ungle, 12);
    EXPECT_EQ(Dev(kValveM1).State, kStateIntermediate);
    EXPECT_EQ(Dev(kValveM1).ActiveCommand, kCmdNone);
    const std::vector<std::string> expected = {
        " Задвижка М1 Получена команда - \r\t\"ОСТАНОВИТЬ\""};
    EXPECT_EQ(rig.Bodies(), expected);
}

TEST_F(DeviceStageTest, StopFreezesADriveInAccelerationWithoutEntry) {
    Remote(kConveyor31);
    Post(kConveyor31, kCmdOpen);
    rig.Tick(2);
    ASSERT_EQ(Dev(kConveyor31).State, kStateAcceleration);
    Mark();
    Post(kConveyor31, kCmdStop);
    rig.Tick(20);
    EXPECT_EQ(Dev(kConveyor31).State, kStateAcceleration);
    EXPECT_TRUE(rig.journal.entries.empty());
    Post(kConveyor31, kCmdOpen);
    rig.Tick(2);
    EXPECT_EQ(Dev(kConveyor31).State, kStateRun);
}

TEST_F(DeviceStageTest, ServiceCommandWaitsForTheMotionCommandToEnd) {
    Remote(kConveyor31);
    Post(kConveyor31, kCmdOpen);
    rig.Tick();
    Post(kConveyor31, kCmdLocal);
    rig.Tick(2);
    EXPECT_EQ(Dev(kConveyor31).Command, kCmdLocal);  // still pending
    EXPECT_EQ(Dev(kConveyor31).Mode, kModeRemote);
    rig.Tick();  // the motion command ends in this tick's execution step
    EXPECT_EQ(Dev(kConveyor31).Command, kCmdLocal);
    rig.Tick();
    EXPECT_EQ(Dev(kConveyor31).Command, kCmdNone);
    EXPECT_EQ(Dev(kConveyor31).Mode, kModeLocal);
}

TEST_F(DeviceStageTest, NothingReplacesAPendingServiceCommandButItRunsWhenIdle) {
    Post(kConveyor31, kCmdReset);
    Dev(kConveyor31).ErrorText = "Перегрев";
    Mark();
    rig.Tick();
    EXPECT_EQ(Dev(kConveyor31).ErrorText, "");
    EXPECT_EQ(Dev(kConveyor31).ActiveCommand, kCmdNone);
    const std::vector<std::string> expected = {
        " Конвейер 3.1 Получена команда - \r\t\"СБРОСИТЬ ФЛАГ АВАРИИ\""};
    EXPECT_EQ(rig.Bodies(), expected);
}

struct RefusalCase {
    int32_t mode;
    const char* body;
};
void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << "mode " << c.mode;
}

class RefusalTest : public DeviceStageTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, MotionCommandIsRefusedInBlueAndChangesNothing) {
    Dev(kValveM1).Mode = GetParam().mode;
    for (int32_t command : {kCmdOpen, kCmdClose, kCmdStop}) {
        Mark();
        Post(kValveM1, command);
        rig.Tick(3);
        ASSERT_EQ(rig.journal.entries.size(), 1u);
        EXPECT_EQ(rig.journal.entries[0].body, GetParam().body);
        EXPECT_EQ(rig.journal.entries[0].colour, JournalColour::Blue);
        EXPECT_EQ(Dev(kValveM1).Ungle, 0);
        EXPECT_EQ(Dev(kValveM1).ActiveCommand, kCmdNone);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, RefusalTest,
    ::testing::Values(
        RefusalCase{kModeLocal,
                    " Задвижка М1 Команда управления \r\tотклонена - устройство в местном "
                    "режиме\r\tуправления"},
        RefusalCase{kModeAuto,
                    " Задвижка М1 Команда управления\r\tотклонена - устройство в "
                    "автоматическом\r\tрежиме управления"},
        RefusalCase{kModeRepair,
                    " Задвижка М1 Команда управления\r\tотклонена - устройство в "
                    "ремонтном\r\tрежиме"}));

struct ModeCase {
    int32_t command;
    int32_t mode;
    std::vector<std::string> bodies;
};
void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << "command " << c.command;
}

class ModeCommandTest : public DeviceStageTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ModeCommandTest, SetsTheModeWithTwoEntries) {
    Dev(kConveyor33).Mode = GetParam().mode == kModeLocal ? kModeRepair : kModeLocal;
    Mark();
    Post(kConveyor33, GetParam().command);
    rig.Tick();
    EXPECT_EQ(Dev(kConveyor33).Mode, GetParam().mode);
    EXPECT_EQ(rig.Bodies(), GetParam().bodies);
    rig.Tick();
    EXPECT_EQ(rig.diagram.SymbolMode(kConveyor33), GetParam().mode);
}

TEST_P(ModeCommandTest, TheModeItAlreadyHasWritesNoEntry) {
    Dev(kConveyor33).Mode = GetParam().mode;
    Mark();
    Post(kConveyor33, GetParam().command);
    rig.Tick();
    EXPECT_TRUE(rig.journal.entries.empty());
    EXPECT_EQ(Dev(kConveyor33).ActiveCommand, kCmdNone);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ModeCommandTest,
    ::testing::Values(
        ModeCase{kCmdLocal,
                 kModeLocal,
                 {" Конвейер 3.3 Получена команда - \r\t\"Установить МЕСТНЫЙ режим управления\"",
                  " Конвейер 3.3 Установлен \r\tМЕСТНЫЙ режим управления"}},
        ModeCase{kCmdRemote,
                 kModeRemote,
                 {" Конвейер 3.3 Получена команда - \r\t\"Установить ДИСТАНЦИОННЫЙ "
                  "режим\r\tуправления\"",
                  " Конвейер 3.3 Установлен\r\tДИСТАНЦИОННЫЙ режим управления"}},
        ModeCase{kCmdAuto,
                 kModeAuto,
                 {" Конвейер 3.3 Получена команда - \r\t\"Установить АВТОМАТИЧЕСКИЙ "
                  "режим\r\tуправления\"",
                  " Конвейер 3.3 Установлен\r\tАВТОМАТИЧЕСКИЙ режим управления"}},
        ModeCase{kCmdRepair,
                 kModeRepair,
                 {" Конвейер 3.3 Получена команда - \r\t\"Установить РЕМОНТНЫЙ режим\"",
                  " Конвейер 3.3 Установлен\r\tРЕМОНТНЫЙ режим"}}));

TEST_F(DeviceStageTest, RouteCommandsRunInRemoteWhateverTheMode) {
    for (int32_t mode : {kModeLocal, kModeAuto, kModeRepair}) {
        Dev(kConveyor31).Mode = mode;
        Dev(kConveyor31).State = kStateStop;
        Post(kConveyor31, kCmdOpen, kSourceRoute);
        rig.Tick(4);
        EXPECT_EQ(Dev(kConveyor31).State, kStateRun) << "mode " << mode;
        EXPECT_EQ(Dev(kConveyor31).Mode, mode);
    }
}

// A route holds the device while its command runs there: the operator's
// motion command is refused and leaves the route's command running.
TEST_F(DeviceStageTest, OperatorMotionCommandIsRefusedAndLeavesTheRoutesCommandRunning) {
    Post(kConveyor31, kCmdOpen, kSourceRoute);
    rig.Tick(2);
    ASSERT_EQ(Dev(kConveyor31).State, kStateAcceleration);
    Mark();
    Post(kConveyor31, kCmdClose);
    rig.Tick(5);
    EXPECT_EQ(Dev(kConveyor31).ActiveCommand, kCmdNone);
    EXPECT_EQ(Dev(kConveyor31).State, kStateRun);
    ASSERT_EQ(rig.journal.entries.size(), 2u);
    EXPECT_EQ(rig.journal.entries[0].body,
              " Конвейер 3.1 Команда управления\r\tотклонена - устройство в "
              "автоматическом\r\tрежиме управления");
    EXPECT_EQ(rig.journal.entries[0].colour, JournalColour::Blue);
    EXPECT_EQ(rig.journal.entries[1].body, " Конвейер 3.1 Изменение состояния - \r\t\"ВКЛЮЧЕНО\"");
}

// What became of an operator's device command, with the cycle: pending from
// the post (numbered by the last cycle run), then taken or refused, and why,
// by the cycle that took it over.
struct OutcomeCase {
    const char* name;
    int dev;
    int32_t mode;
    int32_t fault;  // standing before the command is posted
    int32_t code;
    int32_t result;
};
void PrintTo(const OutcomeCase& c, std::ostream* os) {
    *os << c.name;
}

class OutcomeTest : public DeviceStageTest, public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(OutcomeTest, IsRecordedWithItsCycle) {
    const OutcomeCase& c = GetParam();
    Dev(c.dev).Mode = c.mode;
    if (c.fault != kFaultNone) {
        ASSERT_TRUE(PostFault(rig.plant, c.dev, c.fault));
    }
    rig.Tick(2);
    Post(c.dev, c.code);
    EXPECT_EQ(rig.plant.DeviceOutcome[c.dev], (TOutcome{c.code, kOutcomePending, 3}));
    rig.Tick();
    EXPECT_EQ(rig.plant.DeviceOutcome[c.dev], (TOutcome{c.code, c.result, 4}));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, OutcomeTest,
    ::testing::Values(OutcomeCase{"OpenInRemote", kValveM1, kModeRemote, kFaultNone, kCmdOpen,
                                  kOutcomeTaken},
                      OutcomeCase{"OpenInLocal", kValveM1, kModeLocal, kFaultNone, kCmdOpen,
                                  kOutcomeRefusedLocal},
                      OutcomeCase{"StopInRepair", kValveM1, kModeRepair, kFaultNone, kCmdStop,
                                  kOutcomeRefusedRepair},
                      OutcomeCase{"SwitchOffInAuto", kConveyor31, kModeAuto, kFaultNone, kCmdClose,
                                  kOutcomeRefusedAuto},
                      OutcomeCase{"SwitchOnWhileTripped", kConveyor31, kModeRemote, kFaultTrip,
                                  kCmdOpen, kOutcomeRefusedFault},
                      OutcomeCase{"ResetWhileTripped", kConveyor31, kModeRemote, kFaultTrip,
                                  kCmdReset, kOutcomeRefusedFault},
                      OutcomeCase{"LocalModeInAuto", kConveyor31, kModeAuto, kFaultNone, kCmdLocal,
                                  kOutcomeTaken}));

TEST_F(DeviceStageTest, TakingOverClearsThePostedCommandAndKeepsItsSource) {
    Remote(kConveyor31);
    Post(kConveyor31, kCmdOpen, kSourceRoute);
    rig.Tick();
    EXPECT_EQ(Dev(kConveyor31).RouteCommand, kCmdNone);
    EXPECT_EQ(Dev(kConveyor31).ActiveSource, kSourceRoute);
}

TEST_F(DeviceStageTest, SymbolShowsAChangeFromTheNextTick) {
    Remote(kConveyor31);
    rig.Tick();
    Post(kConveyor31, kCmdOpen);
    rig.Tick(2);  // T1 sets Acceleration after the symbol was refreshed
    EXPECT_EQ(Dev(kConveyor31).State, kStateAcceleration);
    EXPECT_EQ(rig.diagram.SymbolState(kConveyor31), kStateStop);
    rig.Tick();
    EXPECT_EQ(rig.diagram.SymbolState(kConveyor31), kStateAcceleration);
}

TEST_F(DeviceStageTest, QuietPlantCallsNoSetterAfterTheFirstTick) {
    PlantRig fresh;
    fresh.plant.Dev[3].Mode = kModeRemote;
    fresh.plant.Dev[3].Ungle = 42;
    fresh.plant.Dev[3].State = kStateIntermediate;
    fresh.plant.Dev[10].State = kStateRun;
    fresh.Tick();
    EXPECT_GT(fresh.diagram.SetterCalls(), 0);
    EXPECT_EQ(fresh.diagram.SymbolUngle(3), 42);
    EXPECT_EQ(fresh.diagram.SymbolMode(3), kModeRemote);
    EXPECT_EQ(fresh.diagram.SymbolState(10), kStateRun);
    fresh.diagram.ResetCount();
    fresh.ClearRecords();
    fresh.Tick(50);
    EXPECT_EQ(fresh.diagram.SetterCalls(), 0);
    EXPECT_TRUE(fresh.journal.entries.empty());
}

TEST_F(DeviceStageTest, ValveSymbolGetsModeAndAngleOnlyWhenTheyDiffer) {
    Remote(kValveM1);
    rig.diagram.ResetCount();
    rig.Tick();
    EXPECT_EQ(rig.diagram.SetterCalls(), 1);  // the mode
    Post(kValveM1, kCmdOpen);
    rig.Tick(3);  // T0, T1 (angle 3 after refresh), T2 shows 3
    rig.diagram.ResetCount();
    rig.Tick();
    EXPECT_EQ(rig.diagram.SetterCalls(), 1);  // the angle, 6
    EXPECT_EQ(rig.diagram.SymbolUngle(kValveM1), 6);
}

// A saved angle that is not a multiple of 3 used to travel past 90 or below 0
// and stay "intermediate" for ever; travel now stops at the end angles.
struct OddAngleCase {
    int32_t start;
    int32_t command;
    int32_t end;
    int32_t state;
};
void PrintTo(const OddAngleCase& c, std::ostream* os) {
    *os << "angle " << c.start << " command " << c.command;
}

class OddAngleTest : public DeviceStageTest, public ::testing::WithParamInterface<OddAngleCase> {};

TEST_P(OddAngleTest, TravelEndsExactlyOpenOrClosed) {
    Remote(kValveM1);
    Dev(kValveM1).Ungle = GetParam().start;
    rig.Tick();
    Post(kValveM1, GetParam().command);
    rig.Tick(50);
    EXPECT_EQ(Dev(kValveM1).Ungle, GetParam().end);
    EXPECT_EQ(Dev(kValveM1).State, GetParam().state);
    EXPECT_EQ(Dev(kValveM1).ActiveCommand, kCmdNone);
}

INSTANTIATE_TEST_SUITE_P(SavedAngles, OddAngleTest,
                         ::testing::Values(OddAngleCase{89, kCmdOpen, 90, kStateOpen},
                                           OddAngleCase{43, kCmdOpen, 90, kStateOpen},
                                           OddAngleCase{1, kCmdClose, 0, kStateClosed},
                                           OddAngleCase{44, kCmdClose, 0, kStateClosed},
                                           OddAngleCase{-5, kCmdOpen, 90, kStateOpen},
                                           OddAngleCase{120, kCmdClose, 0, kStateClosed}));

TEST_F(DeviceStageTest, UnknownCommandCodeIsNotPostedAndDroppedWhenWrittenByHand) {
    EXPECT_FALSE(PostCommand(rig.plant, kConveyor31, 42, kSourceOperator));
    EXPECT_FALSE(PostCommand(rig.plant, kConveyor31, 42, kSourceRoute));
    EXPECT_EQ(Dev(kConveyor31).Command, kCmdNone);
    EXPECT_EQ(rig.plant.DeviceOutcome[kConveyor31].Result, kOutcomeNone);
    Dev(kConveyor31).Command = 42;  // only a table written by hand holds one
    rig.Tick();
    EXPECT_EQ(Dev(kConveyor31).ActiveCommand, kCmdNone);
    Post(kConveyor31, kCmdRemote);
    rig.Tick();
    EXPECT_EQ(Dev(kConveyor31).Mode, kModeRemote);
}

TEST_F(DeviceStageTest, PipesShowGrainWhileTheirConveyorIsNotStopped) {
    Remote(kConveyor33);
    Post(kConveyor33, kCmdOpen);
    rig.Tick(2);  // T1: Acceleration, coloured at the end of the same tick
    EXPECT_TRUE(rig.diagram.PipeColored(PipeId::Pipe1));
    EXPECT_TRUE(rig.diagram.PipeColored(PipeId::Pipe4));
    EXPECT_TRUE(rig.diagram.PipeColored(PipeId::PipeTurn1));
    EXPECT_FALSE(rig.diagram.PipeColored(PipeId::Pipe2));
    EXPECT_FALSE(rig.diagram.PipeColored(PipeId::Pipe3));
    EXPECT_FALSE(rig.diagram.PipeColored(PipeId::Pipe9));
    Dev(14).State = kStateRun;
    Dev(16).State = kStateAcceleration;
    Dev(17).State = kStateRun;
    rig.Tick();
    EXPECT_TRUE(rig.diagram.PipeColored(PipeId::Pipe2));
    EXPECT_TRUE(rig.diagram.PipeColored(PipeId::Pipe9));
    EXPECT_TRUE(rig.diagram.PipeColored(PipeId::Pipe3));
}

}  // namespace
