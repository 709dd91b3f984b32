#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/modbus/ModbusRig.h"
#include "tests/plant/Route1Sweep.h"

namespace {

using namespace plant;
using modbus_test::Frame;
using modbus_test::ModbusRig;
using modbus_test::RawClient;
using modbus_test::Reply;
using Registers = std::vector<uint16_t>;

Registers Slice(const Reply& reply, int offset, int count) {
    const auto first = reply.values.begin() + offset;
    return Registers(first, first + count);
}

// A signed 32-bit value from two registers, the high word first.
int32_t Int32(const Reply& reply, int offset) {
    const auto k = static_cast<std::size_t>(offset);
    return static_cast<int32_t>(static_cast<uint32_t>(reply.values[k]) << 16 | reply.values[k + 1]);
}

int32_t Tenths(double tonnes) {
    return static_cast<int32_t>(std::lround(tonnes * 10));
}

// Valve М1 opened in Remote mode, shipping route 2 running, silos in every
// zone, an alarm text on valve М7, a wagon on the track, silo 3 overheated.
TEST(PlantMapTest, EveryRegisterReadsTheTablesAfterAPlantHistory) {
    ModbusRig rig;
    Plant& t = rig.tables;
    t.Dev[1].Mode = kModeRemote;
    t.Dev[1].Command = kCmdOpen;
    t.Dev[7].ErrorText = "Перегрев";
    t.Tank[3] = 14920.0;
    t.Tank[4] = 150.0;
    t.Route[2].Command = kRouteCmdStart;
    rig.plantRig.TickUntil([&] { return t.Route[2].State == kRouteRunning; });
    rig.Tick(5);
    rig.draw.value = 1;  // the wagons start arriving...
    rig.wagons.Tick();
    rig.wagons.Tick();  // ...and the first one is on the track
    t.TankOverheat[3] = true;
    rig.Publish();
    // A command register reads 0 while its command is still pending.
    ASSERT_EQ(rig.Write(8, {kCmdRemote}).exception, 0);

    const Reply devices = rig.ReadInput(0, 73);
    ASSERT_EQ(devices.exception, 0);
    for (int i = 1; i <= kDeviceCount; ++i) {
        const TDiscret& d = t.Dev[i];
        const Registers expected = {static_cast<uint16_t>(d.Mode), static_cast<uint16_t>(d.State),
                                    static_cast<uint16_t>(d.Ungle), uint16_t{!d.ErrorText.empty()}};
        EXPECT_EQ(Slice(devices, 4 * (i - 1), 4), expected) << "device " << i;
    }
    EXPECT_EQ(Slice(devices, 0, 4), (Registers{kModeRemote, kStateOpen, 90, 0}));   // М1
    EXPECT_EQ(Slice(devices, 12, 4), (Registers{kModeAuto, kStateOpen, 90, 0}));    // М4
    EXPECT_EQ(Slice(devices, 24, 4), (Registers{kModeLocal, kStateClosed, 0, 1}));  // М7
    EXPECT_EQ(Slice(devices, 56, 4), (Registers{kModeAuto, kStateRun, 0, 0}));      // 3.3
    // Every block ends with the low word of the cycle counter.
    const auto cycleWord = static_cast<uint16_t>(rig.plantRig.ticks);
    EXPECT_EQ(devices.values[72], cycleWord);

    const Reply routes = rig.ReadInput(100, 49);
    ASSERT_EQ(routes.exception, 0);
    for (int r = 1; r <= kRouteCount; ++r) {
        const TRoute& route = t.Route[r];
        const Registers expected = {
            static_cast<uint16_t>(route.State), static_cast<uint16_t>(route.Step),
            static_cast<uint16_t>(route.Position), uint16_t{route.Permitted}};
        EXPECT_EQ(Slice(routes, 4 * (r - 1), 4), expected) << "route " << r;
    }
    EXPECT_EQ(Slice(routes, 4, 4), (Registers{kRouteRunning, 0, 0, 1}));  // route 2
    EXPECT_EQ(Slice(routes, 0, 4), (Registers{kRouteStopped, 0, 0, 0}));  // route 1, forbidden
    EXPECT_EQ(routes.values[48], cycleWord);

    const Reply silos = rig.ReadInput(200, 17);
    ASSERT_EQ(silos.exception, 0);
    EXPECT_EQ(Slice(silos, 0, 4), (Registers{0x0002, 0x49F0, 3, 0}));  // 15000 t, upper alarm
    EXPECT_EQ(Int32(silos, 4), Tenths(t.Tank[2]));
    EXPECT_LT(t.Tank[2], 4500.0);
    EXPECT_EQ(Slice(silos, 6, 2), (Registers{0, 0}));  // working zone
    EXPECT_EQ(Int32(silos, 8), 149200);
    EXPECT_EQ(Slice(silos, 10, 2), (Registers{1, 1}));  // maximum, overheated
    EXPECT_EQ(Int32(silos, 12), 1500);
    EXPECT_EQ(Slice(silos, 14, 2), (Registers{2, 0}));  // minimum
    EXPECT_EQ(silos.values[16], cycleWord);

    const Reply totals = rig.ReadInput(300, 10);
    ASSERT_EQ(totals.exception, 0);
    EXPECT_EQ(Int32(totals, 0), rig.plantRig.ticks);
    EXPECT_EQ(Int32(totals, 2), Tenths(t.Tank[1] + t.Tank[2] + t.Tank[3] + t.Tank[4]));
    EXPECT_EQ(Int32(totals, 4), Tenths(t.ShippingMassa));
    EXPECT_GT(t.ShippingMassa, 0.0);
    EXPECT_EQ(Slice(totals, 6, 4), (Registers{360, 1, 60, cycleWord}));  // t/h, wagons, tonnes

    EXPECT_EQ(rig.ReadHolding(0, 18).values, Registers(18, 0));
    EXPECT_EQ(rig.ReadHolding(100, 12).values, Registers(12, 0));
    rig.exchange.TakeCommands();
    EXPECT_EQ(t.Dev[9].Command, kCmdRemote);

    // A stock below zero from an edited file is two's complement, in the lower alarm zone.
    t.Tank[4] = -12.34;
    rig.Publish();
    EXPECT_EQ(rig.ReadInput(212, 3).values, (Registers{0xFFFF, 0xFF85, 4}));
}

TEST(PlantMapTest, DeviceCommandActsAsThePanelButton) {
    ModbusRig rig;
    plant_test::PlantRig panel;
    rig.Tick();
    panel.Tick();
    rig.plantRig.ClearRecords();
    panel.ClearRecords();

    // Valve М1 in Local mode: the same blue refusal as a click on "Открыть".
    // The write waits for the next cycle, which posts it as the operator's.
    ASSERT_EQ(rig.Write(0, {kCmdOpen}).exception, 0);
    EXPECT_EQ(rig.tables.Dev[1].Command, 0);
    rig.exchange.TakeCommands();
    EXPECT_EQ(rig.tables.Dev[1].Command, kCmdOpen);  // the operator's slot
    EXPECT_EQ(rig.tables.Dev[1].RouteCommand, kCmdNone);
    EXPECT_EQ(rig.tables.DeviceOutcome[1], (TOutcome{kCmdOpen, kOutcomePending, 1}));
    PostCommand(panel.plant, 1, kCmdOpen, kSourceOperator);
    rig.Tick();
    panel.Tick();
    ASSERT_EQ(rig.plantRig.journal.entries.size(), 1u);
    EXPECT_EQ(rig.plantRig.Bodies(), panel.Bodies());
    EXPECT_EQ(rig.plantRig.journal.entries[0].colour, JournalColour::Blue);
    EXPECT_EQ(rig.tables.Dev[1].Ungle, 0);

    // In Remote mode the same register opens it.
    ASSERT_EQ(rig.Write(0, {kCmdRemote}).exception, 0);
    rig.Tick();
    EXPECT_EQ(rig.tables.Dev[1].Mode, kModeRemote);
    ASSERT_EQ(rig.Write(0, {kCmdOpen}).exception, 0);
    rig.Tick(2);
    EXPECT_EQ(rig.tables.Dev[1].Ungle, 3);

    // Several devices at once; 0 leaves a pending command in place.
    ASSERT_EQ(rig.Write(12, {kCmdRemote, kCmdRemote, kCmdRemote}).exception, 0);
    ASSERT_EQ(rig.Write(13, {0}).exception, 0);
    rig.exchange.TakeCommands();
    for (int d : {13, 14, 15}) EXPECT_EQ(rig.tables.Dev[d].Command, kCmdRemote) << d;
}

// An instructor's client trips conveyor 3.2 and jams valve М3 through the
// fault code registers; the input registers show the faults standing and the
// alarms, which outlast the faults until the operator's reset.
TEST(PlantMapTest, FaultsWrittenByAClientStandInTheRegistersUntilClearedAndReset) {
    ModbusRig rig;
    rig.registers.SetFaultsEnabled(true);
    Plant& t = rig.tables;
    rig.Tick();
    rig.plantRig.ClearRecords();

    ASSERT_EQ(rig.Write(213, {kFaultTrip}).exception, 0);
    ASSERT_EQ(rig.Write(200, {kFaultNone, kFaultNone, kFaultJam}).exception, 0);
    EXPECT_EQ(rig.ReadHolding(200, 18).values[13], kFaultTrip);  // posted, not yet taken
    EXPECT_EQ(rig.ReadInput(400, 18).values, Registers(18, 0));
    rig.Tick();
    Registers standing(18, 0);
    standing[2] = standing[13] = 1;
    EXPECT_EQ(rig.ReadInput(400, 18).values, standing);
    const Registers codes = rig.ReadHolding(200, 18).values;
    EXPECT_EQ(codes[2], kFaultJam);
    EXPECT_EQ(codes[13], kFaultTrip);
    EXPECT_EQ(rig.ReadInput(55, 1).values, Registers{1});  // conveyor 3.2's alarm
    EXPECT_EQ(rig.plantRig.Bodies(),
              (std::vector<std::string>{" Задвижка М3 Изменение состояния - \r\t\"АВАРИЯ\"",
                                        " Конвейер 3.2 Изменение состояния - \r\t\"АВАРИЯ\""}));

    ASSERT_EQ(rig.Write(213, {kFaultNone}).exception, 0);
    rig.Tick();
    EXPECT_EQ(rig.ReadInput(413, 1).values, Registers{0});
    EXPECT_EQ(rig.ReadInput(55, 1).values, Registers{1});
    ASSERT_EQ(rig.Write(13, {kCmdReset}).exception, 0);
    rig.Tick();
    EXPECT_EQ(rig.ReadInput(55, 1).values, Registers{0});
    EXPECT_EQ(t.Dev[14].ErrorText, "");
    EXPECT_EQ(t.Faults[3].Kind, kFaultJam);
}

// The outcome registers give the fate of each device's and route's last
// operator command: its code, its result and its cycle (32-bit). A command a
// client writes reads as pending, with the cycle of the image it was written
// against, until the image of the cycle that decided it is out.
TEST(PlantMapTest, OutcomeRegistersTellACommandsFateAndItsCycle) {
    ModbusRig rig;
    Plant& t = rig.tables;
    rig.Tick(2);
    t.DeviceOutcome[3] = {kCmdOpen, kOutcomeRefusedAuto, 0x12345};
    t.RouteOutcome[12] = {kRouteCmdStart, kOutcomeRefusedForbidden, 2};
    rig.Publish();
    const Reply devices = rig.ReadInput(500, 73);
    ASSERT_EQ(devices.exception, 0);
    EXPECT_EQ(Slice(devices, 8, 4), (Registers{kCmdOpen, kOutcomeRefusedAuto, 0x0001, 0x2345}));
    EXPECT_EQ(Slice(devices, 0, 4), (Registers{0, kOutcomeNone, 0, 0}));
    EXPECT_EQ(devices.values[72], 2);
    const Reply routes = rig.ReadInput(600, 49);
    ASSERT_EQ(routes.exception, 0);
    EXPECT_EQ(Slice(routes, 44, 4), (Registers{kRouteCmdStart, kOutcomeRefusedForbidden, 0, 2}));
    EXPECT_EQ(routes.values[48], 2);

    ASSERT_EQ(rig.Write(4, {kCmdRemote}).exception, 0);
    ASSERT_EQ(rig.Write(100, {kRouteCmdStart}).exception, 0);
    const Registers pendingDevice{kCmdRemote, kOutcomePending, 0, 2};
    const Registers pendingRoute{kRouteCmdStart, kOutcomePending, 0, 2};
    EXPECT_EQ(rig.ReadInput(516, 4).values, pendingDevice);
    EXPECT_EQ(rig.ReadInput(600, 4).values, pendingRoute);
    // Taken by a cycle that is still under way (a sound may hold it for seconds).
    rig.exchange.TakeCommands();
    rig.plantRig.Tick();
    EXPECT_EQ(rig.ReadInput(516, 4).values, pendingDevice);
    EXPECT_EQ(rig.ReadInput(600, 4).values, pendingRoute);
    rig.Publish();
    EXPECT_EQ(rig.ReadInput(516, 4).values, (Registers{kCmdRemote, kOutcomeTaken, 0, 3}));
    EXPECT_EQ(rig.ReadInput(600, 4).values, (Registers{kRouteCmdStart, kOutcomeTaken, 0, 3}));

    // Both writes are answered without an exception; the outcomes tell a
    // refused command from a taken one: intake routes 6 and 7 exclude each
    // other, and valve М6 is in Local mode.
    ASSERT_EQ(rig.Write(105, {kRouteCmdStart, kRouteCmdStart}).exception, 0);
    ASSERT_EQ(rig.Write(5, {kCmdOpen}).exception, 0);
    rig.Tick();
    const Reply after = rig.ReadInput(600, 49);
    EXPECT_EQ(Slice(after, 20, 4), (Registers{kRouteCmdStart, kOutcomeTaken, 0, 4}));
    EXPECT_EQ(Slice(after, 24, 4), (Registers{kRouteCmdStart, kOutcomeRefusedForbidden, 0, 4}));
    EXPECT_EQ(rig.ReadInput(520, 4).values, (Registers{kCmdOpen, kOutcomeRefusedLocal, 0, 4}));
}

// A route command register takes what a confirmed click on the route list
// would post, and answers 03 for anything else.
struct RouteCase {
    const char* name;
    int32_t route2State;  // route 2 is put in this state first
    int route;
    uint16_t value;
    int exception;
    int32_t posted;  // the route's Command afterwards
};

class RouteCommandTest : public ::testing::TestWithParam<RouteCase> {};

TEST_P(RouteCommandTest, PostsWhatTheListWould) {
    const RouteCase& c = GetParam();
    ModbusRig rig;
    if (c.route2State == kRouteStarting) {
        rig.tables.Route[2].Step = 3;  // waiting for conveyor 3.3, which stays stopped
        rig.tables.Route[2].Position = 1;
    }
    rig.tables.Route[2].State = c.route2State;
    rig.Tick();  // the route stage works out which routes are permitted
    EXPECT_EQ(rig.Write(100 + c.route - 1, {c.value}).exception, c.exception);
    rig.exchange.TakeCommands();
    EXPECT_EQ(rig.tables.Route[c.route].Command, c.posted);
}

INSTANTIATE_TEST_SUITE_P(
    Routes, RouteCommandTest,
    ::testing::Values(
        RouteCase{"StartOfAStoppedPermittedRoute", kRouteStopped, 1, 1, 0, kRouteCmdStart},
        RouteCase{"StartBesideARouteOfAnotherSilo", kRouteRunning, 7, 1, 0, kRouteCmdStart},
        RouteCase{"StartOfAForbiddenRoute", kRouteRunning, 1, 1, 3, 0},
        RouteCase{"StartOfARunningRoute", kRouteRunning, 2, 1, 3, 0},
        RouteCase{"StartOfAStartingRoute", kRouteStarting, 2, 1, 3, 0},
        RouteCase{"StopOfARunningRoute", kRouteRunning, 2, 2, 0, kRouteCmdStop},
        RouteCase{"StopOfAStartingRoute", kRouteStarting, 2, 2, 3, 0},
        RouteCase{"StopOfAStoppedRoute", kRouteRunning, 3, 2, 3, 0},
        RouteCase{"ZeroIsNoCommand", kRouteRunning, 2, 0, 0, 0},
        RouteCase{"UnknownCode", kRouteStopped, 1, 3, 3, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// The route 1 sweep (tests/plant/Route1Sweep.h), each command written by a
// client into the device's command register, one fresh plant for each cycle:
// the route still reaches running, or stopped, and during a start the
// device's outcome says that the command was refused.
class SweepTest : public ::testing::TestWithParam<plant_test::SweepCase> {};

TEST_P(SweepTest, OneClientCommandNeverHangsIt) {
    const auto [device, code, stop, first] = GetParam();
    const int32_t finished = stop ? kRouteStopped : kRouteRunning;
    for (int cycle = first; cycle < first + plant_test::kSweepWindow; ++cycle) {
        const int k = cycle - 1;  // cycles run before the command is posted
        plant_test::PlantRig rig;
        modbus::PlantExchange exchange{rig.plant};
        modbus::PlantRegisters registers{exchange};
        exchange.Publish();
        const auto write = [&registers](int address, int value) {
            const uint16_t values[] = {static_cast<uint16_t>(value)};
            return registers.WriteHoldingRegisters(address, values);
        };
        // Cycles as a host runs them: the writes in, the cycle, the image out.
        const auto tick = [&](int n) {
            for (int c = 0; c < n; ++c) {
                exchange.TakeCommands();
                rig.Tick();
                exchange.Publish();
            }
        };
        ASSERT_EQ(write(modbus::layout::kRouteCommands, kRouteCmdStart), modbus::Exception::None);
        if (stop) {
            tick(plant_test::kRoute1StartCycles);
            ASSERT_EQ(write(modbus::layout::kRouteCommands, kRouteCmdStop),
                      modbus::Exception::None);
        }
        tick(k);
        ASSERT_EQ(write(modbus::layout::kDeviceCommands + device - 1, code),
                  modbus::Exception::None);
        tick(1);  // the cycle that takes the command over
        rig.TickUntil([&] { return rig.plant.Route[1].State == finished; }, 200);
        EXPECT_EQ(rig.plant.Route[1].State, finished)
            << "command taken over in cycle " << cycle << " of the sequence";
        if (!stop) {
            // Every device is in Local mode until the route holds it.
            const int32_t result = rig.plant.DeviceOutcome[device].Result;
            EXPECT_TRUE(result == kOutcomeRefusedLocal || result == kOutcomeRefusedAuto)
                << "result " << result << " in cycle " << cycle;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Route1, SweepTest, plant_test::Route1SweepCases(),
                         plant_test::SweepCaseName);

// Requests the server does not serve, each with the exception it answers; a
// refused request changes no table.
struct ExceptionCase {
    const char* name;
    std::vector<uint8_t> pdu;
    int exception;  // 0: served
    bool writable = true;
    bool faults = false;  // the trainer-fault registers enabled
};

class ExceptionTest : public ::testing::TestWithParam<ExceptionCase> {};

// A whole function-16 request writing `count` Remote-mode commands from address 0.
std::vector<uint8_t> WriteOf(int count) {
    std::vector<uint8_t> pdu = {
        16, 0, 0, 0, static_cast<uint8_t>(count), static_cast<uint8_t>(2 * count)};
    for (int k = 0; k < count; ++k) pdu.insert(pdu.end(), {0, kCmdRemote});
    return pdu;
}

TEST_P(ExceptionTest, AnswersItsException) {
    const ExceptionCase& c = GetParam();
    modbus::ServerOptions options = ModbusRig::Loopback();
    options.writable = c.writable;
    ModbusRig rig(options);
    rig.registers.SetFaultsEnabled(c.faults);
    RawClient client(rig.server.Port());
    ASSERT_TRUE(client.Send(Frame(c.pdu, 0x4321, 7)));
    const std::vector<uint8_t> reply = client.ReceiveFrame(rig.server);
    ASSERT_GE(reply.size(), 9u);
    // Transaction id and unit id come back as sent.
    EXPECT_EQ(std::vector<uint8_t>(reply.begin(), reply.begin() + 4),
              (std::vector<uint8_t>{0x43, 0x21, 0, 0}));
    EXPECT_EQ(reply[6], 7);
    if (c.exception == 0) {
        EXPECT_EQ(reply[7], c.pdu[0]);
    } else {
        EXPECT_EQ(reply.size(), 9u);
        EXPECT_EQ(reply[7], c.pdu[0] | 0x80);
        EXPECT_EQ(reply[8], c.exception);
        rig.exchange.TakeCommands();
        for (const TDiscret& d : rig.tables.Dev) EXPECT_EQ(d.Command, 0);
        for (const TRoute& r : rig.tables.Route) EXPECT_EQ(r.Command, 0);
        for (const TFault& f : rig.tables.Faults) EXPECT_FALSE(f.Pending);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ExceptionTest,
    ::testing::Values(
        // 01: only functions 3, 4, 6 and 16 are served.
        ExceptionCase{"ReadCoils", {1, 0, 0, 0, 1}, 1},
        ExceptionCase{"ReadDiscreteInputs", {2, 0, 0, 0, 1}, 1},
        ExceptionCase{"WriteSingleCoil", {5, 0, 0, 0xFF, 0}, 1},
        ExceptionCase{"WriteMultipleCoils", {15, 0, 0, 0, 1, 1, 1}, 1},
        ExceptionCase{"ReportServerId", {17}, 1},
        ExceptionCase{"MaskWriteRegister", {22, 0, 0, 0xFF, 0xFF, 0, 0}, 1},
        ExceptionCase{"ReadWriteRegisters", {23, 0, 0, 0, 1, 0, 0, 0, 1, 2, 0, 21}, 1},
        ExceptionCase{"DeviceIdentification", {0x2B, 0x0E, 1, 0}, 1},
        ExceptionCase{"ReadOnlyWriteSingle", {6, 0, 0, 0, 21}, 1, false},
        ExceptionCase{"ReadOnlyWriteMultiple", {16, 0, 0, 0, 1, 2, 0, 21}, 1, false},
        ExceptionCase{"ReadOnlyStillReads", {4, 0x01, 0x2C, 0, 9}, 0, false},
        // 02: addresses outside the map, and the fault registers while they are off.
        ExceptionCase{"GapAfterTheDevices", {4, 0, 73, 0, 1}, 2},
        ExceptionCase{"ReadRunningIntoAGap", {4, 0, 70, 0, 4}, 2},
        ExceptionCase{"ReadAcrossTwoBlocks", {4, 0, 0, 0, 125}, 2},
        ExceptionCase{"PastTheTotals", {4, 0x01, 0x36, 0, 1}, 2},
        ExceptionCase{"FaultFlagWhileFaultsAreOff", {4, 0x01, 0x90, 0, 1}, 2},
        ExceptionCase{"FaultFlagWhileFaultsAreOn", {4, 0x01, 0x90, 0, 19}, 0, true, true},
        ExceptionCase{"DevicesWithTheirCycleWord", {4, 0, 0, 0, 73}, 0},
        ExceptionCase{"DeviceOutcomes", {4, 0x01, 0xF4, 0, 73}, 0},
        ExceptionCase{"RouteOutcomes", {4, 0x02, 0x58, 0, 49}, 0},
        ExceptionCase{"PastTheRouteOutcomes", {4, 0x02, 0x58, 0, 50}, 2},
        ExceptionCase{"BetweenTheOutcomeBlocks", {4, 0x02, 0x45, 0, 1}, 2},
        ExceptionCase{"PastTheFaultFlags", {4, 0x01, 0x90, 0, 20}, 2, true, true},
        ExceptionCase{"BetweenTotalsAndFaultFlags", {4, 0x01, 0x8F, 0, 2}, 2, true, true},
        ExceptionCase{"TopOfTheAddressRange", {4, 0xFF, 0xFF, 0, 125}, 2},
        ExceptionCase{"HoldingGapAfterTheDevices", {3, 0, 18, 0, 1}, 2},
        ExceptionCase{"FaultCodeReadWhileFaultsAreOff", {3, 0, 200, 0, 1}, 2},
        ExceptionCase{"FaultCodeWriteWhileFaultsAreOff", {6, 0, 213, 0, 1}, 2},
        ExceptionCase{"FaultCodeWriteReadOnly", {6, 0, 213, 0, 1}, 1, false, true},
        ExceptionCase{"PastTheFaultCodes", {6, 0, 218, 0, 0}, 2, true, true},
        ExceptionCase{"PastTheRouteCommands", {6, 0, 112, 0, 1}, 2},
        ExceptionCase{"WriteRunningIntoAGap", {16, 0, 17, 0, 2, 4, 0, 21, 0, 21}, 2},
        // 03: malformed requests and values that are no command.
        ExceptionCase{"ZeroQuantity", {4, 0, 0, 0, 0}, 3},
        ExceptionCase{"QuantityBeyondTheLimit", {4, 0, 0, 0, 126}, 3},
        ExceptionCase{"ReadCutShort", {4, 0, 0}, 3},
        ExceptionCase{"ReadWithATrailingByte", {4, 0, 0, 0, 1, 0}, 3},
        ExceptionCase{"AutoModeHasNoButton", {6, 0, 0, 0, 22}, 3},
        ExceptionCase{"UnknownDeviceCode", {6, 0, 0, 0, 99}, 3},
        ExceptionCase{"MinusOne", {6, 0, 0, 0xFF, 0xFF}, 3},
        ExceptionCase{"UnknownRouteCode", {6, 0, 100, 0, 3}, 3},
        ExceptionCase{"MultipleWriteWithOneBadValue", {16, 0, 0, 0, 3, 6, 0, 21, 0, 21, 0, 99}, 3},
        ExceptionCase{"ByteCountMismatch", {16, 0, 0, 0, 2, 2, 0, 21}, 3},
        ExceptionCase{"MultipleWriteBeyondTheLimit", {16, 0, 0, 0, 124, 248}, 3},
        ExceptionCase{"MultipleWriteOf124Registers", WriteOf(124), 3},
        ExceptionCase{"MultipleWriteOf127Registers", WriteOf(127), 3},
        ExceptionCase{"MultipleWriteOf123Registers", WriteOf(123), 2},
        ExceptionCase{"TripOfAValve", {6, 0, 200, 0, 1}, 3, true, true},
        ExceptionCase{"JamOfADrive", {6, 0, 213, 0, 2}, 3, true, true},
        ExceptionCase{"UnknownFaultCode", {6, 0, 213, 0, 3}, 3, true, true},
        ExceptionCase{
            "FaultsWithOneThatDoesNotFit", {16, 0, 200, 0, 2, 4, 0, 2, 0, 1}, 3, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
