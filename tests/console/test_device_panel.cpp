#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "console/WidgetColours.h"
#include "symbols/Conveyor.h"
#include "symbols/Latch.h"
#include "tests/console/FrmMainFixture.h"

namespace console_test {
namespace {

constexpr platform::TColor kBlack = 0x000000;
constexpr platform::TColor kWhite = 0xFFFFFF;

class DevicePanel : public FrmMainTest {
protected:
    void SetUp() override { RunStartup(); }

    void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }
    QString Text(const char* name) { return Find<QLabel>(name)->text(); }
    void Refresh() { Form().TimerReadStateTimer(); }
};

TEST_F(DevicePanel, ValveThenConveyorSwitchesTheButtonCaptions) {
    Click("Latch_1");
    EXPECT_EQ(Form().plant().SelectedDev, 1);
    EXPECT_FALSE(Find("PanelDiscret")->isHidden());
    EXPECT_TRUE(Find<QTimer>("TimerReadState")->isActive());
    EXPECT_EQ(Find<QPushButton>("BtnOn")->text(), "Открыть");
    EXPECT_EQ(Find<QPushButton>("BtnOff")->text(), "Закрыть");
    EXPECT_TRUE(Find("BtnStop")->isEnabled());

    Click("Conveyor1");
    EXPECT_EQ(Form().plant().SelectedDev, 13);
    EXPECT_EQ(Find<QPushButton>("BtnOn")->text(), "Включить");
    EXPECT_EQ(Find<QPushButton>("BtnOff")->text(), "Выключить");
    EXPECT_FALSE(Find("BtnStop")->isEnabled());
}

TEST_F(DevicePanel, OpeningHidesTheSetupPanel) {
    Find("PanelSetup")->show();
    Click("Fan2");
    EXPECT_TRUE(Find("PanelSetup")->isHidden());
    EXPECT_EQ(Form().plant().SelectedDev, 10);
}

TEST_F(DevicePanel, RefreshShowsNameModeAndStateOfTheDevice) {
    Click("Noria1");
    EXPECT_EQ(Text("CurrentDevName"), "");  // the values come with the refresh
    Refresh();
    EXPECT_EQ(Text("CurrentDevName"), "Нория 1.1");
    EXPECT_EQ(Text("CurrentMode"), "Местный");
    EXPECT_EQ(Text("CurrentState"), "Выкл.");
    EXPECT_TRUE(Find("CurrentUngle")->isHidden());

    Form().plant().Dev[18].Mode = plant::kModeRepair;
    Form().plant().Dev[18].State = plant::kStateAcceleration;
    Refresh();
    EXPECT_EQ(Text("CurrentMode"), "Ремонтн.");
    EXPECT_EQ(Text("CurrentState"), "Вкл./Выкл.");
}

struct OpeningCase {
    int ungle;
    char separator;
    const char* text;
    const char* state;
};
void PrintTo(const OpeningCase& c, std::ostream* os) {
    *os << "angle " << c.ungle << " with '" << c.separator << '\'';
}

class ValveOpening : public DevicePanel, public ::testing::WithParamInterface<OpeningCase> {};

TEST_P(ValveOpening, ShowsPercentWithTheSystemSeparator) {
    const OpeningCase c = GetParam();
    form.reset();
    services.decimalSeparator = c.separator;
    RunStartup();
    Form().plant().Dev[4].Ungle = c.ungle;
    ControllerTicks(1);  // the position follows the angle
    Click("Latch_4");
    Refresh();
    EXPECT_FALSE(Find("CurrentUngle")->isHidden());
    EXPECT_EQ(Text("CurrentUngle"), c.text);
    EXPECT_EQ(Text("CurrentState"), c.state);
}

INSTANTIATE_TEST_SUITE_P(Angles, ValveOpening,
                         ::testing::Values(OpeningCase{0, '.', "0.0%", "Закр."},
                                           OpeningCase{30, '.', "33.3%", "Промежут."},
                                           OpeningCase{45, '.', "50.0%", "Промежут."},
                                           OpeningCase{45, ',', "50,0%", "Промежут."},
                                           OpeningCase{90, '.', "100.0%", "Откр."}));

TEST_F(DevicePanel, NumberLabelBlinksAndThePreviousOneIsLeftBlack) {
    Click("Latch_1");
    auto* m1 = Find("LabelM1");
    Refresh();
    EXPECT_EQ(console::FontColour(m1), kWhite);
    Refresh();
    EXPECT_EQ(console::FontColour(m1), kBlack);
    Refresh();
    ASSERT_EQ(console::FontColour(m1), kWhite);

    Click("Conveyor1");
    EXPECT_EQ(console::FontColour(m1), kBlack);
    Refresh();
    EXPECT_EQ(console::FontColour(Find("LabelC1")), kWhite);
    EXPECT_EQ(console::FontColour(m1), kBlack);
}

TEST_F(DevicePanel, ExitClosesThePanelAndStopsTheBlink) {
    Click("Fan1");
    Refresh();
    Click("BtnDiscretClose");
    EXPECT_EQ(Form().plant().SelectedDev, 0);
    EXPECT_TRUE(Find("PanelDiscret")->isHidden());
    EXPECT_FALSE(Find<QTimer>("TimerReadState")->isActive());
    EXPECT_EQ(console::FontColour(Find("LabelF1")), kBlack);
}

struct ButtonCode {
    const char* button;
    int32_t code;
};
void PrintTo(const ButtonCode& b, std::ostream* os) {
    *os << b.button;
}

class CommandButton : public DevicePanel, public ::testing::WithParamInterface<ButtonCode> {};

TEST_P(CommandButton, PostsItsCodeForTheOpenDevice) {
    Click("Latch_6");
    Click(GetParam().button);
    EXPECT_EQ(Form().plant().Dev[6].Command, GetParam().code);
    EXPECT_EQ(Form().plant().Dev[6].RouteCommand, 0);  // the operator's slot, not a route's
    EXPECT_EQ(Form().plant().Dev[5].Command, 0);
}

INSTANTIATE_TEST_SUITE_P(Codes, CommandButton,
                         ::testing::Values(ButtonCode{"BtnOn", 1}, ButtonCode{"BtnOff", 2},
                                           ButtonCode{"BtnStop", 3}, ButtonCode{"BtnReset", 10},
                                           ButtonCode{"BtnLocal", 20}, ButtonCode{"BtnRemote", 21},
                                           ButtonCode{"BtnRepair", 23}));

TEST_F(DevicePanel, LocalModeRefusesAndRemoteModeOpens) {
    Click("Latch_1");
    Click("BtnOn");
    ControllerTicks(3);
    EXPECT_EQ(JournalColourOf("отклонена - устройство в местном режиме"), QColor(Qt::blue));
    EXPECT_EQ(Form().plant().Dev[1].Ungle, 0);
    EXPECT_EQ(Find<symbols::TLatch>("Latch_1")->Ungle(), 0);

    Click("BtnRemote");
    ControllerTicks(1);
    Click("BtnOn");
    ControllerTicks(11);  // announcement, then ten steps of 3 degrees
    EXPECT_EQ(Form().plant().Dev[1].Ungle, 30);
    EXPECT_EQ(Find<symbols::TLatch>("Latch_1")->Ungle(), 27);  // shown from the next tick
    EXPECT_EQ(Find<symbols::TLatch>("Latch_1")->Mode(), symbols::TMode::Remote);
}

TEST_F(DevicePanel, RefusalColourDoesNotLeakIntoTheNextEntry) {
    Click("Latch_2");
    Click("BtnOn");
    ControllerTicks(1);
    Click("BtnLocal");  // already local: nothing
    Click("BtnRemote");
    ControllerTicks(1);
    EXPECT_EQ(JournalColourOf("Команда управления"), QColor(Qt::blue));
    EXPECT_EQ(JournalColourOf("Задвижка М2 Получена команда"), QColor(Qt::black));
    EXPECT_EQ(JournalColourOf("ДИСТАНЦИОННЫЙ режим управления"), QColor(Qt::black));
}

TEST_F(DevicePanel, RunningConveyorShowsItsStateOnThePanel) {
    Click("Conveyor3");
    Click("BtnRemote");
    ControllerTicks(1);
    Click("BtnOn");
    ControllerTicks(4);
    Refresh();
    EXPECT_EQ(Text("CurrentMode"), "Дистанц.");
    EXPECT_EQ(Text("CurrentState"), "Вкл.");
    EXPECT_EQ(Find<symbols::TConveyor>("Conveyor3")->State(), symbols::TState::Run);
}

// An instructor trips conveyor 3.2 and jams valve М2; the operator sees both
// symbols flash, the alarm board's emergency stop line red, the red entries and
// the error line, and "Сброс аварии" clears an alarm only once its fault is gone.
TEST_F(DevicePanel, FaultAlarmsUntilTheOperatorResetsItAfterTheClear) {
    auto* conveyor = Find<symbols::TConveyor>("Conveyor2");
    auto* latch = Find<symbols::TLatch>("Latch_2");
    auto stopLine = [this] { return console::FontColour(Find("TabloStop")); };
    ControllerTicks(1);
    EXPECT_EQ(stopLine(), palette::AlarmLineIdle);
    ASSERT_TRUE(plant::PostFault(Form().plant(), 14, plant::kFaultTrip));
    ASSERT_TRUE(plant::PostFault(Form().plant(), 2, plant::kFaultJam));
    ControllerTicks(2);  // taken over, then shown
    EXPECT_TRUE(conveyor->Alarm());
    EXPECT_TRUE(latch->Alarm());
    EXPECT_EQ(latch->FlashColor(), symbols::clRed);  // a valve flashes from the first moment
    EXPECT_TRUE(latch->FlashTimer().isActive());
    EXPECT_EQ(latch->FlashInterval(), 1000);
    EXPECT_EQ(conveyor->FlashInterval(), 500);
    EXPECT_EQ(stopLine(), palette::Red);
    EXPECT_EQ(JournalColourOf("Конвейер 3.2 Изменение состояния"), QColor(Qt::red));
    EXPECT_EQ(JournalColourOf("Задвижка М2 Изменение состояния"), QColor(Qt::red));
    Click("Conveyor2");
    Refresh();
    EXPECT_EQ(Text("CurrentError"), "Авария: отключение привода");
    EXPECT_EQ(Text("CurrentState"), "Выкл.");

    Click("BtnReset");
    ControllerTicks(1);
    EXPECT_EQ(JournalColourOf("отклонена - неисправность не"), QColor(Qt::blue));
    EXPECT_TRUE(conveyor->Alarm());
    plant::PostFault(Form().plant(), 14, plant::kFaultNone);
    ControllerTicks(1);
    Click("BtnReset");
    ControllerTicks(2);
    Refresh();
    EXPECT_EQ(Text("CurrentError"), "");
    EXPECT_FALSE(conveyor->Alarm());
    EXPECT_EQ(stopLine(), palette::Red);  // valve М2 is still in alarm

    plant::PostFault(Form().plant(), 2, plant::kFaultNone);
    ControllerTicks(1);
    Click("Latch_2");
    Click("BtnReset");
    ControllerTicks(2);
    EXPECT_FALSE(latch->Alarm());
    EXPECT_EQ(latch->FlashColor(), symbols::clBtnFace);
    EXPECT_FALSE(latch->FlashTimer().isActive());
    EXPECT_EQ(stopLine(), palette::AlarmLineIdle);
}

}  // namespace
}  // namespace console_test

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
