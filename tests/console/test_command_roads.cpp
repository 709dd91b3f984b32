// The operator's two roads through the whole window: a device panel button or
// a confirmed route entry, the controller that takes the command over, and
// what the journal, the loudspeaker, the symbols and the route list show.
#include <QAbstractButton>
#include <QLabel>
#include <QTest>

#include "console/Panel.h"
#include "console/WidgetColours.h"
#include "platform/services/WavePlayer.h"
#include "symbols/Conveyor.h"
#include "symbols/Latch.h"
#include "tests/console/FrmMainFixture.h"

namespace console_test {
namespace {

class DeviceCommand : public FrmMainTest {
protected:
    void SetUp() override { RunStartup(); }

    void Click(const char* name) { QTest::mouseClick(Find(name), Qt::LeftButton); }
    QString Text(const char* name) { return Find<QLabel>(name)->text(); }
};

TEST_F(DeviceCommand, LocalModeRefusesAndRemoteModeOpens) {
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

TEST_F(DeviceCommand, RefusalColourDoesNotLeakIntoTheNextEntry) {
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

TEST_F(DeviceCommand, RunningConveyorShowsItsStateOnThePanel) {
    Click("Conveyor3");
    Click("BtnRemote");
    ControllerTicks(1);
    Click("BtnOn");
    ControllerTicks(4);
    PanelRefresh();
    EXPECT_EQ(Text("CurrentMode"), "Дистанц.");
    EXPECT_EQ(Text("CurrentState"), "Вкл.");
    EXPECT_EQ(Find<symbols::TConveyor>("Conveyor3")->State(), symbols::TState::Run);
}

// An instructor trips conveyor 3.2 and jams valve М2; the operator sees both
// symbols flash, the alarm board's emergency stop line red, the red entries and
// the error line, and "Сброс аварии" clears an alarm only once its fault is gone.
TEST_F(DeviceCommand, FaultAlarmsUntilTheOperatorResetsItAfterTheClear) {
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
    PanelRefresh();
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
    PanelRefresh();
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

class RecordingPlayer : public platform::WavePlayer {
public:
    void Play(const std::string& file) override { played.push_back(file); }
    std::vector<std::string> played;
};

class RouteCommand : public FrmMainTest {
protected:
    console::TPanel* Entry(int r) {
        return Find<console::TPanel>(QString("Route%1").arg(r).toLatin1().constData());
    }
    void ClickRoute(int r) { QTest::mouseClick(Entry(r), Qt::LeftButton); }
};

// The route announcement is not silenced by the sound switch (that mutes the
// silo temperature alarms only) and reaches the desktop's player; the
// controller repaints the entries: starting, running, and forbidden by a
// running route.
TEST_F(RouteCommand, ConfirmedStartIsAnnouncedThroughThePlayerEvenWithSoundOff) {
    RecordingPlayer player;
    services.player = &player;
    RunStartup();
    Find<QAbstractButton>("BtnEnabledSound")->click();
    ASSERT_FALSE(SoundOn());
    messages.answer = [] { return platform::MsgResult::Yes; };
    ClickRoute(3);
    EXPECT_TRUE(player.played.empty());  // the click itself is silent
    ControllerTicks(1);
    EXPECT_EQ(player.played,
              (std::vector<std::string>{"Bell.wav", "RouteStart.wav", "Route_3.wav"}));
    ControllerTicks(1);  // the tick that took the command over, then the one that shows it
    EXPECT_EQ(Entry(3)->Color(), 0xC8ECECu);
    EXPECT_EQ(Entry(3)->Hint(), "Маршрут в состоянии запуска");

    Form().plant().Route[5].State = plant::kRouteRunning;
    ControllerTicks(1);  // intake into silo 1 forbids shipping from silo 1
    EXPECT_EQ(Entry(5)->Color(), 0xC8ECC8u);
    EXPECT_EQ(Entry(5)->Hint(), "Маршрут в работе");
    EXPECT_EQ(Entry(1)->FontColor(), 0x808080u);
    EXPECT_EQ(Entry(1)->Hint(), "Маршрут запрещен");
    EXPECT_EQ(Entry(1)->toolTip(), "Маршрут запрещен");
    EXPECT_EQ(Entry(3)->FontColor(), 0x000000u);  // the active routes themselves stay black
}

}  // namespace
}  // namespace console_test

int main(int argc, char** argv) {
    return test_support::RunHeadless(argc, argv);
}
