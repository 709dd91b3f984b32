#include <gtest/gtest.h>

#include "plant/Plant.h"

namespace {

using namespace plant;

struct DeviceRow {
    int no;
    const char* name;
    int32_t kind;
    const char* symbol;
    const char* label;
};
void PrintTo(const DeviceRow& d, std::ostream* os) {
    *os << "device " << d.no;
}

class DeviceTableTest : public ::testing::TestWithParam<DeviceRow> {};

TEST_P(DeviceTableTest, FillGivesTheFixedDefinitionAndDefaults) {
    Plant plant;
    FillDefinitions(plant);
    const TDiscret& d = plant.Dev[GetParam().no];
    EXPECT_EQ(d.Name, GetParam().name);
    EXPECT_EQ(d.Kind, GetParam().kind);
    EXPECT_EQ(d.Symbol, GetParam().symbol);
    EXPECT_EQ(d.NameLabel, GetParam().label);
    EXPECT_EQ(d.Mode, kModeLocal);
    EXPECT_EQ(d.State, kStateClosed);
    EXPECT_EQ(d.Ungle, 0);
    EXPECT_EQ(d.Command, 0);
    EXPECT_EQ(d.ActiveCommand, 0);
}

INSTANTIATE_TEST_SUITE_P(Devices, DeviceTableTest,
                         ::testing::Values(DeviceRow{1, "Задвижка М1", 0, "Latch_1", "LabelM1"},
                                           DeviceRow{8, "Задвижка М8", 0, "Latch_8", "LabelM8"},
                                           DeviceRow{9, "Вентилятор 2.1", 1, "Fan1", "LabelF1"},
                                           DeviceRow{12, "Вентилятор 2.4", 1, "Fan4", "LabelF4"},
                                           DeviceRow{13, "Конвейер 3.1", 1, "Conveyor1", "LabelC1"},
                                           DeviceRow{15, "Конвейер 3.3", 1, "Conveyor3", "LabelC3"},
                                           DeviceRow{17, "Конвейер 3.5", 1, "Conveyor5", "LabelC5"},
                                           DeviceRow{18, "Нория 1.1", 1, "Noria1", "LabelN1"}));

TEST(PlantTablesTest, RoutesArePermittedOnceFilledIn) {
    Plant plant;
    for (const TRoute& route : plant.Route) EXPECT_FALSE(route.Permitted);
    FillDefinitions(plant);
    const std::vector<std::vector<int32_t>> devices = {
        {15, 14, 2, 0, 0},   {15, 14, 4, 0, 0},   {15, 14, 6, 0, 0},   {15, 14, 8, 0, 0},
        {1, 13, 18, 16, 17}, {3, 13, 18, 16, 17}, {5, 13, 18, 16, 17}, {7, 13, 18, 16, 17},
        {1, 13, 18, 16, 0},  {3, 13, 18, 16, 0},  {5, 13, 18, 16, 0},  {7, 13, 18, 16, 0}};
    for (int r = 1; r <= kRouteCount; ++r) {
        const TRoute& route = plant.Route[r];
        EXPECT_EQ(route.Panel, "Route" + std::to_string(r));
        std::vector<int32_t> got(route.Devices.begin(), route.Devices.end());
        EXPECT_EQ(got, devices[static_cast<std::size_t>(r - 1)]) << "route " << r;
        EXPECT_EQ(route.Command, 0);
        EXPECT_EQ(route.State, kRouteStopped);
        EXPECT_EQ(route.Step, 0);
        EXPECT_EQ(route.Position, 0);
        EXPECT_TRUE(route.Permitted);
    }
}

TEST(PlantTablesTest, SilosStartWithTheirDefaultStockAndNoAlarm) {
    Plant plant;
    FillDefinitions(plant);
    EXPECT_EQ(plant.Tank[1], 15000.0);
    EXPECT_EQ(plant.Tank[2], 4500.0);
    EXPECT_EQ(plant.Tank[3], 11250.0);
    EXPECT_EQ(plant.Tank[4], 7500.0);
    for (bool hot : plant.TankOverheat) EXPECT_FALSE(hot);
    EXPECT_EQ(plant.ShippingMassa, 0.0);
}

TEST(PlantTablesTest, FillResetsWhatARunLeftBehind) {
    Plant plant;
    FillDefinitions(plant);
    plant.Dev[4].Mode = kModeAuto;
    plant.Dev[4].Ungle = 45;
    // Move-assigned: assigning the literal itself draws GCC 12's false -Wrestrict
    // warning from inside std::char_traits at -O3.
    plant.Dev[4].ErrorText = std::string("Авария");
    PostCommand(plant, 4, kCmdOpen, kSourceOperator);
    PostCommand(plant, 4, kCmdAuto, kSourceRoute);
    PostRouteCommand(plant, 7, kRouteCmdStart);
    plant.Cycles = 12;
    plant.Route[7].Permitted = false;
    plant.Tank[3] = 1.0;
    plant.TankOverheat[2] = true;
    FillDefinitions(plant);
    EXPECT_EQ(plant.Dev[4].Mode, kModeLocal);
    EXPECT_EQ(plant.Dev[4].Ungle, 0);
    EXPECT_EQ(plant.Dev[4].ErrorText, "");
    EXPECT_EQ(plant.Dev[4].Command, 0);
    EXPECT_EQ(plant.Dev[4].RouteCommand, 0);
    EXPECT_EQ(plant.Route[7].Command, 0);
    EXPECT_EQ(plant.DeviceOutcome[4].Result, kOutcomeNone);
    EXPECT_EQ(plant.RouteOutcome[7].Result, kOutcomeNone);
    EXPECT_EQ(plant.Cycles, 0u);
    EXPECT_TRUE(plant.Route[7].Permitted);
    EXPECT_EQ(plant.Tank[3], 11250.0);
    EXPECT_FALSE(plant.TankOverheat[2]);
}

TEST(PlantTablesTest, RouteCaptionsKeepTheirLeadingBlanks) {
    EXPECT_EQ(RouteCaption(1), "  1. Погрузка на судно из силоса №1");
    EXPECT_EQ(RouteCaption(5), "  5. Прием зерна из автотранспорта в силос №1");
    EXPECT_EQ(RouteCaption(9), "  9. Прием зерна из ж/д транспорта в силос №1");
    EXPECT_EQ(RouteCaption(10), "10. Прием зерна из ж/д транспорта в силос №2");
    EXPECT_EQ(RouteCaption(12), "12. Прием зерна из ж/д транспорта в силос №4");
    EXPECT_EQ(RouteCaption(0), "");
    EXPECT_EQ(RouteCaption(13), "");
}

}  // namespace
