#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>

#include "plant/SiloZones.h"
#include "tests/plant/PlantRig.h"

namespace {

using namespace plant;
using plant_test::PlantRig;

class SiloStockTest : public ::testing::Test {
protected:
    TRoute& Route(int r) { return rig.plant.Route[r]; }
    double& Tank(int n) { return rig.plant.Tank[n]; }
    // A route taken as running, as a saved state brings it back.
    void Running(int r) {
        Route(r).State = kRouteRunning;
        Route(r).Step = 0;
    }

    PlantRig rig;
};

TEST_F(SiloStockTest, FirstTickShowsEverySiloAndReportsOnlyThoseOutsideTheWorkingZone) {
    rig.Tick();
    ASSERT_EQ(rig.journal.entries.size(), 1u);
    EXPECT_EQ(rig.journal.entries[0].body,
              " Уровень в силосе №1 -\r\t Параметр вошел в верхнюю аварийную зону");
    EXPECT_EQ(rig.journal.entries[0].colour, JournalColour::Red);
    EXPECT_EQ(rig.diagram.TankZone(1), LevelZone::UpperAlarm);

    const auto& silo1 = rig.diagram.Tank(1);
    EXPECT_EQ(silo1.caption, "15000");
    EXPECT_EQ(silo1.gauge, 100);
    EXPECT_EQ(silo1.filling, "100.0%");
    EXPECT_EQ(silo1.mass, "15000.0");
    const auto& silo2 = rig.diagram.Tank(2);
    EXPECT_EQ(silo2.caption, "4500");
    EXPECT_EQ(silo2.gauge, 30);
    EXPECT_EQ(silo2.filling, "30.0%");
    EXPECT_EQ(silo2.mass, "4500.0");
    EXPECT_EQ(rig.diagram.Tank(3).filling, "75.0%");
    EXPECT_EQ(rig.diagram.Tank(4).gauge, 50);
    EXPECT_EQ(rig.diagram.TotalStockText(), "38250.0");
    EXPECT_EQ(rig.diagram.TotalStockBoard(), 38250.0);
    EXPECT_EQ(rig.diagram.ThroughputText(), "0");
    EXPECT_EQ(rig.diagram.ShippedBoard(), 0.0);
}

TEST_F(SiloStockTest, TextsUseTheGivenDecimalSeparator) {
    Plant plant;
    FillDefinitions(plant);
    MemoryDiagram diagram;
    plant_test::RecordingJournal journal;
    int tick = 0;
    journal.tick = &tick;
    plant_test::RecordingSound sound;
    plant_test::FixedRandom random;
    plant.Tank[1] = 4499.97;
    Controller controller(plant, {diagram, journal, sound, random}, ',');
    controller.EmulatorTick();
    EXPECT_EQ(diagram.Tank(1).mass, "4500,0");
    EXPECT_EQ(diagram.Tank(1).filling, "30,0%");
    EXPECT_EQ(diagram.Tank(1).caption, "4500");
    EXPECT_EQ(diagram.TotalStockText(), "27750,0");
}

TEST_F(SiloStockTest, GaugeAndCaptionRoundHalvesToEven) {
    Tank(1) = 75.0;    // 0.5 %
    Tank(2) = 225.0;   // 1.5 %
    Tank(3) = 4500.5;  // caption tie
    Tank(4) = 4501.5;
    rig.Tick();
    EXPECT_EQ(rig.diagram.Tank(1).gauge, 0);
    EXPECT_EQ(rig.diagram.Tank(2).gauge, 2);
    EXPECT_EQ(rig.diagram.Tank(3).caption, "4500");
    EXPECT_EQ(rig.diagram.Tank(4).caption, "4502");
    EXPECT_EQ(rig.diagram.Tank(1).filling, "0.5%");
}

// Filling percentages that fall exactly on a tie at the second decimal round as
// every other exact tie of the silo texts does (away from zero, as the mass does
// for 0.25 t), not by the binary error of stock / 150; their neighbours do not move.
struct FillingCase {
    double stock;
    const char* filling;
};
void PrintTo(const FillingCase& c, std::ostream* os) {
    *os << c.stock << " t";
}

class FillingTieTest : public ::testing::TestWithParam<FillingCase> {};

TEST_P(FillingTieTest, FillingTextRoundsTheExactPercentage) {
    PlantRig rig;
    rig.plant.Tank[2] = GetParam().stock;
    rig.Tick();
    EXPECT_EQ(rig.diagram.Tank(2).filling, GetParam().filling);
}

INSTANTIATE_TEST_SUITE_P(Ties, FillingTieTest,
                         ::testing::Values(FillingCase{9382.5, "62.6%"}, FillingCase{52.5, "0.4%"},
                                           FillingCase{37.5, "0.3%"}, FillingCase{7.5, "0.1%"},
                                           FillingCase{22.5, "0.2%"}, FillingCase{1537.5, "10.3%"},
                                           FillingCase{14992.5, "100.0%"},
                                           FillingCase{-7.5, "-0.1%"},
                                           FillingCase{9382.49, "62.5%"},
                                           FillingCase{52.51, "0.4%"}, FillingCase{37.49, "0.2%"},
                                           FillingCase{1.5e6 - 7.5, "10000.0%"},
                                           FillingCase{1.5e6 + 75.0, "10001.0%"},
                                           FillingCase{1.5e6 + 225.0, "10002.0%"}));

struct ZoneCase {
    double stock;
    LevelZone zone;
};
void PrintTo(const ZoneCase& c, std::ostream* os) {
    std::ostringstream stock;
    stock << std::setprecision(10) << c.stock;
    *os << stock.str() << " t";
}

class ZoneBoundaryTest : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(ZoneBoundaryTest, StockFallsIntoItsZone) {
    EXPECT_EQ(ZoneOfStock(GetParam().stock), GetParam().zone);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, ZoneBoundaryTest,
    ::testing::Values(ZoneCase{-5.0, LevelZone::LowerAlarm}, ZoneCase{99.99, LevelZone::LowerAlarm},
                      ZoneCase{100.0, LevelZone::Minimum}, ZoneCase{199.99, LevelZone::Minimum},
                      ZoneCase{200.0, LevelZone::Working}, ZoneCase{14900.0, LevelZone::Working},
                      ZoneCase{14900.01, LevelZone::Maximum}, ZoneCase{14950.0, LevelZone::Maximum},
                      ZoneCase{14950.01, LevelZone::UpperAlarm},
                      ZoneCase{20000.0, LevelZone::UpperAlarm}));

TEST_F(SiloStockTest, OneEntryPerZoneChangeInTheZonesColour) {
    rig.Tick();
    rig.ClearRecords();
    struct Step {
        double stock;
        const char* text;  // nullptr: no entry
        JournalColour colour;
    };
    const Step steps[] = {
        {4400.0, nullptr, JournalColour::Default},
        {14920.0, " Параметр вошел в зону максимума", JournalColour::Blue},
        {14930.0, nullptr, JournalColour::Default},
        {14960.0, " Параметр вошел в верхнюю аварийную зону", JournalColour::Red},
        {200.0, " Параметр вошел в рабочую зону", JournalColour::Default},
        {150.0, " Параметр вошел в зону минимума", JournalColour::Blue},
        {100.0, nullptr, JournalColour::Default},
        {50.0, " Параметр вошел в нижнюю аварийную зону", JournalColour::Red},
        {0.0, nullptr, JournalColour::Default},
    };
    for (const Step& step : steps) {
        rig.ClearRecords();
        Tank(2) = step.stock;
        rig.Tick();
        if (step.text == nullptr) {
            EXPECT_TRUE(rig.journal.entries.empty()) << step.stock;
        } else {
            ASSERT_EQ(rig.journal.entries.size(), 1u) << step.stock;
            EXPECT_EQ(rig.journal.entries[0].body,
                      std::string(" Уровень в силосе №2 -\r\t") + step.text);
            EXPECT_EQ(rig.journal.entries[0].colour, step.colour);
        }
        EXPECT_EQ(rig.diagram.TankZone(2), ZoneOfStock(step.stock));
    }
}

TEST_F(SiloStockTest, ShippingRouteIsStoppedBelowTwoHundredTonnes) {
    Tank(1) = 200.05;
    Running(1);
    rig.Tick();
    EXPECT_DOUBLE_EQ(Tank(1), 200.02);
    EXPECT_EQ(Route(1).State, kRouteRunning);
    rig.Tick();
    EXPECT_EQ(Route(1).State, kRouteStopping);
    EXPECT_NEAR(Tank(1), 199.99, 1e-9);
    rig.Tick(3);
    EXPECT_NEAR(Tank(1), 199.99, 1e-9);  // grain stops from the next tick on
}

TEST_F(SiloStockTest, IntakeIntoAFullSiloIsStoppedInItsFirstRunningTick) {
    rig.Tick();
    Route(5).Command = kRouteCmdStart;
    rig.TickUntil([&] { return Route(5).State == kRouteRunning; });
    EXPECT_EQ(Tank(1), 15000.0);
    rig.ClearRecords();
    rig.Tick();
    EXPECT_EQ(Route(5).State, kRouteStopping);
    EXPECT_DOUBLE_EQ(Tank(1), 15000.02);
    ASSERT_FALSE(rig.journal.entries.empty());
    EXPECT_EQ(rig.journal.entries[0].body,
              " Технологическое событие \r\t Получена команда на останов\r\tмаршрута №5");
}

TEST_F(SiloStockTest, RailIntakeAddsGrainAndStopsAboveTheMaximum) {
    Tank(4) = 14899.99;
    Running(12);
    rig.Tick();
    EXPECT_EQ(Route(12).State, kRouteStopping);
    EXPECT_NEAR(Tank(4), 14900.01, 1e-9);
    EXPECT_EQ(rig.diagram.TankZone(4), LevelZone::Maximum);
}

TEST_F(SiloStockTest, ShippingFromAFullSiloPassesIntoTheWorkingZoneWithoutEntriesBetween) {
    Running(1);
    rig.Tick();
    rig.ClearRecords();
    int ticks = 1;
    while (rig.diagram.TankZone(1) != LevelZone::Maximum) {
        rig.Tick();
        ++ticks;
    }
    EXPECT_GE(ticks, 1666);
    EXPECT_LE(ticks, 1668);
    EXPECT_EQ(rig.journal.entries.size(), 1u);
    while (rig.diagram.TankZone(1) != LevelZone::Working) {
        rig.Tick();
        ++ticks;
    }
    EXPECT_GE(ticks, 3333);
    EXPECT_LE(ticks, 3335);
    EXPECT_EQ(rig.journal.entries.size(), 2u);
}

class ThroughputTest : public SiloStockTest, public ::testing::WithParamInterface<int> {};

TEST_P(ThroughputTest, Conveyor33AloneLoadsTheVessel) {
    rig.random.value = GetParam();
    rig.plant.Dev[15].Mode = kModeRemote;
    rig.plant.Dev[15].Command = kCmdOpen;
    rig.TickUntil([&] { return rig.plant.Dev[15].State == kStateRun; });
    const double shipped = rig.plant.ShippingMassa;
    rig.Tick(10);
    EXPECT_NEAR(rig.plant.ShippingMassa, shipped + 0.3, 1e-9);
    EXPECT_EQ(rig.diagram.ShippedBoard(), rig.plant.ShippingMassa);
    EXPECT_EQ(rig.diagram.ThroughputText(), std::to_string(358 + GetParam()));
    EXPECT_EQ(Tank(1), 15000.0);
    EXPECT_EQ(Tank(2), 4500.0);
    EXPECT_EQ(Tank(3), 11250.0);
    EXPECT_EQ(Tank(4), 7500.0);
}

INSTANTIATE_TEST_SUITE_P(Jitter, ThroughputTest, ::testing::Values(0, 1, 2, 3, 4));

TEST_F(SiloStockTest, ThroughputFallsBackToZeroAndShippedTotalStays) {
    Running(2);
    rig.Tick(3);
    EXPECT_EQ(rig.diagram.ThroughputText(), "360");
    Route(2).State = kRouteStopped;
    rig.Tick();
    EXPECT_EQ(rig.diagram.ThroughputText(), "0");
    EXPECT_NEAR(rig.plant.ShippingMassa, 0.09, 1e-12);
}

TEST_F(SiloStockTest, ResetShowsZeroOnTheBoardFromTheNextTick) {
    rig.plant.ShippingMassa = 123.45;
    rig.Tick();
    EXPECT_EQ(rig.diagram.ShippedBoard(), 123.45);
    rig.plant.ShippingMassa = 0;
    rig.Tick();
    EXPECT_EQ(rig.diagram.ShippedBoard(), 0.0);
}

TEST_F(SiloStockTest, StockOutsideTheSiloIsShownAsItIs) {
    Tank(3) = -5.0;
    Tank(4) = 1234567.8;
    rig.Tick();
    EXPECT_EQ(rig.diagram.Tank(3).caption, "-5");
    EXPECT_EQ(rig.diagram.Tank(3).mass, "-5.0");
    EXPECT_EQ(rig.diagram.TankZone(3), LevelZone::LowerAlarm);
    EXPECT_EQ(rig.diagram.Tank(4).mass, "1.23457E6");
    EXPECT_EQ(rig.diagram.Tank(4).filling, "8230.5%");
}

}  // namespace
